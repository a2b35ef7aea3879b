// Fuzz target: random operation lists through the window model.
//
// The input decodes into a window record and its operations: as raw 152-byte
// stored blobs (what a damaged database hands over), in a compact form whose
// indices and positions land near plausible values, or grown area by area so
// that large windows reach the deeper paths (areas, rules, deletion). Besides "no crash,
// no sanitizer report", it checks what must always hold: the one-pass change
// check answers as rebuilding every prefix would, a copy and a blob round
// trip compare equal, and deletion leaves a list whose indices are sound.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "model/description.h"
#include "model/operations.h"
#include "model/structure.h"
#include "model/uw.h"
#include "model/window.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/native/model_reference.h"
#include "util/heap.h"
#include "util/msgbuf.h"

namespace {

int32_t Grubosc(Wejscie& in) {
    const uint8_t b = in.U8();
    switch (b) {
        case 255: return -1;
        case 254: return INT32_MAX;
        case 253: return INT32_MIN;
        case 252: return 100000;
        default: return b;
    }
}

// An index as element j may hold it: mostly earlier elements, sometimes
// itself, a later one, negative or far out.
int32_t Indeks(Wejscie& in, int32_t j) {
    const uint8_t b = in.U8();
    switch (b) {
        case 255: return INT32_MAX;
        case 254: return INT32_MIN;
        case 253: return j + 5;
        case 252: return -1;
        case 251: return j;
        default: return j > 0 ? b % j : 0;
    }
}

int32_t Pozycja(Wejscie& in) {
    const uint16_t v = in.U16();
    if (v == 0xFFFF) return INT32_MAX;
    if (v == 0xFFFE) return INT32_MIN;
    return (int32_t)(v % 2400) - 100;
}

uniOperRys Element(Wejscie& in, int32_t j) {
    uniOperRys op;
    memset(&op, 0, sizeof op);
    const uint8_t t = in.U8();
    op.typ = j == 0 && !(t & 0x80) ? kOperRama : (uint32_t)(t % 7);
    if (op.typ == 6) op.typ = 6 + (t >> 4);
    const bool wlasna = (t & 0x40) != 0;
    switch (op.typ) {
        case kOperRama:
            op.rama.x1 = (int32_t)in.U16() - 8;
            op.rama.y1 = (int32_t)in.U16() - 8;
            op.rama.flagi = wlasna;
            op.rama.grub = Grubosc(in);
            break;
        case kOperSlupekStaly:
        case kOperSlupekRuch:
            op.slupek.rodzaj = t & 0x20 ? (int32_t)in.U8() : (int32_t)op.typ - 1;
            op.slupek.poz = Pozycja(in);
            op.slupek.poziomy = t & 8;
            op.slupek.ogrPocz = Indeks(in, j);
            op.slupek.ogrKon = Indeks(in, j);
            op.slupek.flagi = wlasna;
            op.slupek.grub = Grubosc(in);
            break;
        case kOperSkrzydlo:
            op.skrzydlo.rodzOtw = in.U8() % 5;
            op.skrzydlo.stronaOtw = t & 8 ? 1 : 0;
            for (int s = 0; s < 4; s++) op.skrzydlo.ogr[s] = Indeks(in, j);
            op.skrzydlo.flagi = wlasna;
            op.skrzydlo.grub = Grubosc(in);
            break;
        case kOperWypeln: {
            op.wypeln.typWypeln = t & 8 ? 1 : (t & 0x20 ? 7 : 0);
            const uint8_t dl = in.U8();
            if (dl == 255) {
                memset(op.wypeln.nazwa, 'N', sizeof op.wypeln.nazwa);
            } else {
                for (int k = 0; k < dl % 8; k++) op.wypeln.nazwa[k] = " \tgGlasA"[in.U8() % 8];
            }
            for (int s = 0; s < 4; s++) op.wypeln.ogr[s] = Indeks(in, j);
            break;
        }
        case kOperSzpros:
            op.szpros.poz = Pozycja(in);
            op.szpros.poziomy = t & 8;
            op.szpros.ogrPocz = Indeks(in, j);
            op.szpros.ogrKon = Indeks(in, j);
            op.szpros.wypeln = Indeks(in, j);
            op.szpros.flagi = wlasna;
            op.szpros.grub = Grubosc(in);
            break;
        default: break;
    }
    return op;
}

// An element placed in an area of the window so far (muntins dividing), as
// the designer would place it but with the rules left to the check: this
// grows windows of many sound elements, which byte-level decoding rarely does.
uniOperRys Rosnij(Wejscie& in, const strOkno& o) {
    char msg[KV_MSG_LEN];
    strObsOkno* tab;
    int32_t c;
    if (!BudujStrukture(o.oper, o.liczbaOper, 0, 0, 1, &tab, &c, msg) || c == 0)
        return Element(in, o.liczbaOper);
    const strObsOkno a = tab[in.U8() % (uint32_t)c];
    ZwolnijStrukture(tab);
    const uint8_t t = in.U8();
    const bool poziomy = (t & 8) != 0;
    const int32_t lo = a.os[poziomy ? kGora : kLewa], hi = a.os[poziomy ? kDol : kPrawa];
    const int32_t poz = hi > lo ? lo + (int32_t)(in.U16() % (uint32_t)(hi - lo + 1)) : lo;
    const int32_t pocz = a.ogr[poziomy ? kLewa : kGora], kon = a.ogr[poziomy ? kPrawa : kDol];
    uniOperRys op;
    memset(&op, 0, sizeof op);
    switch (t % 6) {
        case 0:
        case 1:
            op.slupek = strOperSlupek{
                kOperSlupekStaly + t % 2u, (int32_t)(t % 2), poz, poziomy, pocz, kon, 0, 0, {}, 0, {}};
            break;
        case 2:
            op.skrzydlo.typ = kOperSkrzydlo;
            op.skrzydlo.rodzOtw = (t >> 4) % 4;
            memcpy(op.skrzydlo.ogr, a.ogr, sizeof a.ogr);
            break;
        case 3:
            op.wypeln.typ = kOperWypeln;
            op.wypeln.typWypeln = (t >> 4) & 1;
            op.wypeln.nazwa[0] = "GgAa"[(t >> 5) & 3];
            memcpy(op.wypeln.ogr, a.ogr, sizeof a.ogr);
            break;
        case 4:
            op.szpros = strOperSzpros{kOperSzpros, poz, poziomy, pocz, kon, a.wypelniony ? a.wypeln : 0,
                                      0,           0,   {},      0,    {}};
            break;
        default: return Element(in, o.liczbaOper);
    }
    return op;
}

// Whether every index of the list names an earlier element (a muntin's
// filling an earlier filling) and the one frame comes first with a size.
bool Zdrowa(const uniOperRys* l, int32_t n) {
    auto wcz = [](int32_t i, int32_t j) { return i >= 0 && i < j; };
    for (int32_t j = 0; j < n; j++) {
        const uniOperRys& e = l[j];
        if ((j == 0) != (e.typ == kOperRama)) return false;
        switch (e.typ) {
            case kOperRama:
                if ((int64_t)e.rama.x1 - e.rama.x0 <= 0 || (int64_t)e.rama.y1 - e.rama.y0 <= 0) return false;
                break;
            case kOperSlupekStaly:
            case kOperSlupekRuch:
                if (!wcz(e.slupek.ogrPocz, j) || !wcz(e.slupek.ogrKon, j)) return false;
                break;
            case kOperSkrzydlo:
                for (int s = 0; s < 4; s++)
                    if (!wcz(e.skrzydlo.ogr[s], j)) return false;
                break;
            case kOperWypeln:
                for (int s = 0; s < 4; s++)
                    if (!wcz(e.wypeln.ogr[s], j)) return false;
                break;
            case kOperSzpros:
                if (!wcz(e.szpros.ogrPocz, j) || !wcz(e.szpros.ogrKon, j) || !wcz(e.szpros.wypeln, j) ||
                    l[e.szpros.wypeln].typ != kOperWypeln)
                    return false;
                break;
            default: break;
        }
    }
    return true;
}

void Blad(const char* co, const std::string& a, const std::string& b) {
    fprintf(stderr, "model_fuzz: %s\n  %s\n  %s\n", co, a.c_str(), b.c_str());
    abort();
}

std::string Zmiana(const uniOperRys* l, int32_t n, const uniOperRys* op, int32_t poz, int32_t format) {
    char msg[KV_MSG_LEN] = "";
    return SprawdzZmiane(l, n, op, poz, format, msg) ? "ok" : msg;
}

void Struktury(const strOkno& o) {
    char msg[KV_MSG_LEN];
    for (int dziela = 0; dziela < 2; dziela++) {
        for (int32_t limit : {0, o.liczbaOper / 2}) {
            strObsOkno* tab;
            int32_t c;
            if (!BudujStrukture(o.oper, o.liczbaOper, limit, dziela, dziela, &tab, &c, msg)) continue;
            for (int32_t i = 0; i < c; i++) {
                SprawdzPrzeswit(&tab[i], o.oper, o.liczbaOper, 20, 20);
                for (uint32_t t = kOperSlupekStaly; t <= kOperSzpros; t++)
                    SprawdzWstawienie(t, (int32_t)i & 15, &tab[i], o.oper, o.liczbaOper, 5, msg);
            }
            for (int32_t j = 0; j < o.liczbaOper; j++) {
                ObszarPodzialu(&o.oper[j], tab, c);
                ObszarOgraniczony(&o.oper[j], tab, c);
            }
            ZwolnijStrukture(tab);
        }
    }
}

void Opis(strOkno& o, Wejscie& in) {
    static strZam zam;
    zam.okna = &o;
    zam.liczbaOkien = 1;
    const size_t dl = in.U8() % sizeof o.uwagi;
    memset(o.uwagi, 0, sizeof o.uwagi);
    for (size_t k = 0; k < dl; k++) o.uwagi[k] = "ab \t\r\nxyz"[in.U8() % 9];
    if (in.U8() == 255) memset(o.uwagi, 'w', sizeof o.uwagi);
    o.iProfSch = (int8_t)in.U8();
    std::vector<char> buf(1 + in.U8() * 8u);
    OpiszOkno(&zam, 0, buf.data(), (int32_t)buf.size());
    DodajUwagiOkna(&zam, 0, buf.data(), (int32_t)buf.size(), (int8_t)in.U8());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Wejscie in{data, size};
    char msg[KV_MSG_LEN];
    const uint8_t tryb = in.U8();
    strOkno o;
    memset(&o, 0, sizeof o);
    o.status = tryb & 0x10 ? (int32_t)(in.U8() & 7) : 4;
    const int32_t format = FormatStruktury(o.status);
    o.sGrubProf = strGrubProf{Grubosc(in), Grubosc(in), Grubosc(in), Grubosc(in)};
    o.grubSzpros = Grubosc(in);

    const int32_t ile = in.U8() % 64;
    for (int32_t j = 0; j < ile && in.n; j++) {
        uniOperRys op;
        if (tryb & 1) {
            const size_t dl = in.n < (size_t)kOperBlobLen ? in.n : (size_t)kOperBlobLen;
            BlobNaOperRys(in.p, (int32_t)dl, &op);
            in.p += dl;
            in.n -= dl;
        } else if ((tryb & 6) == 6 && j > 0) {
            op = Rosnij(in, o);
        } else {
            op = Element(in, j);
        }
        if (!DodajOperRys(&o.oper, &o.liczbaOper, &op, msg)) abort();
    }
    const int32_t n = o.liczbaOper;

    ObliczGeometrie(o.oper, n, format, &o, msg);
    Struktury(o);

    const std::string zmiana = Zmiana(o.oper, n, nullptr, -2, format);
    if (Zdrowa(o.oper, n)) {
        const std::string wzorzec = ZmianaWzorcowa(o.oper, n, format);
        if (wzorzec != zmiana) Blad("change check differs from rebuilding", wzorzec, zmiana);
    }
    const uniOperRys dodany = Element(in, n);
    Zmiana(o.oper, n, &dodany, -1, format);
    if (n > 0) Zmiana(o.oper, n, &dodany, (int32_t)(in.U8() % n), format);

    // Copies and stored forms are the same window.
    strOkno* kopia = nullptr;
    if (!KopiujOkno(&kopia, &o, msg)) abort();
    bool znaneTypy = true;
    for (int32_t j = 0; j < n; j++) znaneTypy = znaneTypy && o.oper[j].typ <= kOperSzpros;
    if (PorownajOkna(kopia, &o) != (znaneTypy ? 1 : 0)) Blad("copy compares wrong", "", "");
    for (int32_t j = 0; j < n; j++) {
        unsigned char blob[kOperBlobLen];
        OperRysNaBlob(&o.oper[j], blob);
        BlobNaOperRys(blob, kOperBlobLen, &kopia->oper[j]);
    }
    if (PorownajOkna(kopia, &o) != (znaneTypy ? 1 : 0)) Blad("blob round trip compares wrong", "", "");
    ZwolnijOkno(kopia);

    // Queries.
    char nazwa[kNazwaWypelnLen];
    int32_t typ, poz = 0, rozne = 0;
    while (NastRozneWypeln(&poz, o.oper, n, nazwa, &typ)) {
        if (strlen(nazwa) >= kNazwaWypelnLen) abort();
        rozne++;
    }
    for (int32_t j = 0; j < n; j++) {
        const int32_t nr = NumerWypeln(o.oper, n, j);
        if (nr < 0 || nr > rozne)
            Blad("filling number out of range", std::to_string(nr), std::to_string(rozne));
        for (int s = 0; s < 4; s++) KrawedzElementu(j, s, o.oper, n);
    }
    WagaOkna(&o, (int32_t)in.I32());
    LiczbaRamISkrzydel(&o);
    Opis(o, in);

    // Uw: with every U factor equal and no edge term, a window that passes
    // the check is exactly that factor (its frame, mullion, sash and glass
    // areas tile it once), or cannot be computed.
    bool szklaneLubAkryl = true;
    for (int32_t j = 0; j < n; j++)
        if (o.oper[j].typ == kOperWypeln && (uint32_t)o.oper[j].wypeln.typWypeln > 1) szklaneLubAkryl = false;
    o.sWspUw = strWspUw{137, 137, 137, 137, 137, 0, 137, 0};
    const int32_t uw = OknoUw(&o);
    if (zmiana == "ok" && szklaneLubAkryl && uw != 137 && uw != -1)
        Blad("the areas of the Uw do not tile the window", std::to_string(uw), "");
    o.sWspUw = strWspUw{(int32_t)in.I32(), (int32_t)in.I32(), (int32_t)in.I32(), (int32_t)in.I32(),
                        (int32_t)in.I32(), (int32_t)in.I32(), (int32_t)in.I32(), (int32_t)in.I32()};
    OknoUw(&o);

    // Deletion: a sound list stays sound and passes the check if it did.
    if (n > 0) {
        const bool zdrowa = Zdrowa(o.oper, n);
        if (!UsunElement(&o.oper, &o.liczbaOper, (int32_t)(in.U8() % n), msg)) abort();
        if (o.liczbaOper >= n) abort();
        if (zdrowa && o.liczbaOper > 0 && !Zdrowa(o.oper, o.liczbaOper))
            Blad("deletion broke the indices", "", "");
        if (zdrowa && zmiana == "ok" && Zmiana(o.oper, o.liczbaOper, nullptr, -2, format) != "ok")
            Blad("deletion made a sound window fail", zmiana, "");
        ObliczGeometrie(o.oper, o.liczbaOper, format, &o, msg);
        Struktury(o);
    }
    KvFree(o.oper);
    return 0;
}
