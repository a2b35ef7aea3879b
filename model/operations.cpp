// The stored form of an operation and which of its bytes define it.
#include "model/operations.h"

#include <stdio.h>
#include <string.h>

int32_t DlugoscDefinicji(uint32_t typ) {
    switch (typ) {
        case kOperRama: return 28;
        case kOperSlupekStaly:
        case kOperSlupekRuch: return 32;
        case kOperSkrzydlo: return 36;
        case kOperWypeln: return kOperBlobLen;
        case kOperSzpros: return 32;
        default: return 0;
    }
}

void OperRysNaBlob(const uniOperRys* op, unsigned char blob[kOperBlobLen]) {
    memcpy(blob, op->bajty, kOperBlobLen);
}

void BlobNaOperRys(const void* blob, int32_t dlugosc, uniOperRys* op) {
    memset(op, 0, sizeof *op);
    if (!blob || dlugosc <= 0) return;
    if (dlugosc > kOperBlobLen) dlugosc = kOperBlobLen;
    memcpy(op->bajty, blob, (size_t)dlugosc);
    // Derived values in a blob are whatever the saving version had computed,
    // possibly for another screen; dropping them means a record that is used
    // before it is rebuilt shows zeros rather than stale geometry.
    int32_t def = DlugoscDefinicji(op->typ);
    if (def > 0) memset(op->bajty + def, 0, sizeof op->bajty - (size_t)def);
}

int32_t DajNazweWypeln(const strOperWypeln* w, char nazwa[kNazwaWypelnLen]) {
    const void* nul = memchr(w->nazwa, 0, kNazwaWypelnLen);
    size_t len = nul ? (size_t)((const char*)nul - w->nazwa) : kNazwaWypelnLen - 1;
    memcpy(nazwa, w->nazwa, len);
    nazwa[len] = 0;
    return (int32_t)len;
}

// ---- Building operations ----------------------------------------------------

static uniOperRys Pusta(uint32_t typ) {
    uniOperRys op;
    memset(&op, 0, sizeof op);
    op.typ = typ;
    return op;
}

uniOperRys OperRama(int32_t szer, int32_t wys) {
    uniOperRys op = Pusta(kOperRama);
    op.rama.x1 = szer;
    op.rama.y1 = wys;
    return op;
}

uniOperRys OperSlupek(bool ruchomy, int32_t poz, bool poziomy, int32_t pocz, int32_t kon) {
    uniOperRys op = Pusta(ruchomy ? kOperSlupekRuch : kOperSlupekStaly);
    op.slupek.rodzaj = ruchomy ? 1 : 0;
    op.slupek.poz = poz;
    op.slupek.poziomy = poziomy ? 1 : 0;
    op.slupek.ogrPocz = pocz;
    op.slupek.ogrKon = kon;
    return op;
}

uniOperRys OperSkrzydlo(int32_t rodzOtw, int32_t strona, int32_t l, int32_t g, int32_t p, int32_t d) {
    uniOperRys op = Pusta(kOperSkrzydlo);
    op.skrzydlo.rodzOtw = rodzOtw;
    op.skrzydlo.stronaOtw = strona;
    op.skrzydlo.ogr[kLewa] = l;
    op.skrzydlo.ogr[kGora] = g;
    op.skrzydlo.ogr[kPrawa] = p;
    op.skrzydlo.ogr[kDol] = d;
    return op;
}

uniOperRys OperWypeln(int32_t typ, const char* nazwa, int32_t l, int32_t g, int32_t p, int32_t d) {
    uniOperRys op = Pusta(kOperWypeln);
    op.wypeln.typWypeln = typ;
    snprintf(op.wypeln.nazwa, sizeof op.wypeln.nazwa, "%s", nazwa ? nazwa : "");
    op.wypeln.ogr[kLewa] = l;
    op.wypeln.ogr[kGora] = g;
    op.wypeln.ogr[kPrawa] = p;
    op.wypeln.ogr[kDol] = d;
    return op;
}

uniOperRys OperSzpros(int32_t poz, bool poziomy, int32_t pocz, int32_t kon, int32_t wypeln) {
    uniOperRys op = Pusta(kOperSzpros);
    op.szpros.poz = poz;
    op.szpros.poziomy = poziomy ? 1 : 0;
    op.szpros.ogrPocz = pocz;
    op.szpros.ogrKon = kon;
    op.szpros.wypeln = wypeln;
    return op;
}
