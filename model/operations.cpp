// The stored form of an operation and which of its bytes define it.
#include "model/operations.h"

#include <stdio.h>
#include <string.h>

int32_t DefinitionLength(uint32_t typ) {
    switch (typ) {
        case kOpFrame: return 28;
        case kOpFixedMullion:
        case kOpFalseMullion: return 32;
        case kOpSash: return 36;
        case kOpFilling: return kOpBlobLen;
        case kOpMuntin: return 32;
        default: return 0;
    }
}

void DrawOpToBlob(const uniOperRys* op, unsigned char blob[kOpBlobLen]) {
    memcpy(blob, op->rawBytes, kOpBlobLen);
}

void BlobToDrawOp(const void* blob, int32_t dlugosc, uniOperRys* op) {
    memset(op, 0, sizeof *op);
    if (!blob || dlugosc <= 0) return;
    if (dlugosc > kOpBlobLen) dlugosc = kOpBlobLen;
    memcpy(op->rawBytes, blob, (size_t)dlugosc);
    // Derived values in a blob are whatever the saving version had computed,
    // possibly for another screen; dropping them means a record that is used
    // before it is rebuilt shows zeros rather than stale geometry.
    int32_t def = DefinitionLength(op->typ);
    if (def > 0) memset(op->rawBytes + def, 0, sizeof op->rawBytes - (size_t)def);
}

int32_t GetFillingName(const strOperWypeln* w, char nazwa[kFillingNameLen]) {
    const void* nul = memchr(w->nazwa, 0, kFillingNameLen);
    size_t len = nul ? (size_t)((const char*)nul - w->nazwa) : kFillingNameLen - 1;
    memcpy(nazwa, w->nazwa, len);
    nazwa[len] = 0;
    return (int32_t)len;
}

// ---- Building operations ----------------------------------------------------

static uniOperRys EmptyOp(uint32_t typ) {
    uniOperRys op;
    memset(&op, 0, sizeof op);
    op.typ = typ;
    return op;
}

uniOperRys OpFrame(int32_t szer, int32_t wys) {
    uniOperRys op = EmptyOp(kOpFrame);
    op.rama.x1 = szer;
    op.rama.y1 = wys;
    return op;
}

uniOperRys OpMullion(bool ruchomy, int32_t poz, bool poziomy, int32_t pocz, int32_t kon) {
    uniOperRys op = EmptyOp(ruchomy ? kOpFalseMullion : kOpFixedMullion);
    op.slupek.rodzaj = ruchomy ? 1 : 0;
    op.slupek.poz = poz;
    op.slupek.poziomy = poziomy ? 1 : 0;
    op.slupek.ogrPocz = pocz;
    op.slupek.ogrKon = kon;
    return op;
}

uniOperRys OpSash(int32_t rodzOtw, int32_t strona, int32_t l, int32_t g, int32_t p, int32_t d) {
    uniOperRys op = EmptyOp(kOpSash);
    op.skrzydlo.rodzOtw = rodzOtw;
    op.skrzydlo.stronaOtw = strona;
    op.skrzydlo.ogr[kSideLeft] = l;
    op.skrzydlo.ogr[kSideTop] = g;
    op.skrzydlo.ogr[kSideRight] = p;
    op.skrzydlo.ogr[kSideBottom] = d;
    return op;
}

uniOperRys OpFilling(int32_t typ, const char* nazwa, int32_t l, int32_t g, int32_t p, int32_t d) {
    uniOperRys op = EmptyOp(kOpFilling);
    op.wypeln.typWypeln = typ;
    snprintf(op.wypeln.nazwa, sizeof op.wypeln.nazwa, "%s", nazwa ? nazwa : "");
    op.wypeln.ogr[kSideLeft] = l;
    op.wypeln.ogr[kSideTop] = g;
    op.wypeln.ogr[kSideRight] = p;
    op.wypeln.ogr[kSideBottom] = d;
    return op;
}

uniOperRys OpMuntin(int32_t poz, bool poziomy, int32_t pocz, int32_t kon, int32_t wypeln) {
    uniOperRys op = EmptyOp(kOpMuntin);
    op.szpros.poz = poz;
    op.szpros.poziomy = poziomy ? 1 : 0;
    op.szpros.ogrPocz = pocz;
    op.szpros.ogrKon = kon;
    op.szpros.wypeln = wypeln;
    return op;
}
