// Windows built element by element for the model tests.
#ifndef KV_TESTS_MODEL_OKNA_H
#define KV_TESTS_MODEL_OKNA_H

#include <string.h>

#include "heap.h"
#include "okno.h"
#include "oper.h"

inline uniOperRys Rama(int32_t w, int32_t h) {
    uniOperRys op;
    memset(&op, 0, sizeof op);
    op.rama.typ = kOperRama;
    op.rama.x1 = w;
    op.rama.y1 = h;
    return op;
}

inline uniOperRys Slupek(bool falszywy, int32_t poz, bool poziomy, int32_t pocz, int32_t kon) {
    uniOperRys op;
    memset(&op, 0, sizeof op);
    op.slupek.typ = falszywy ? kOperSlupekRuch : kOperSlupekStaly;
    op.slupek.rodzaj = falszywy ? 1 : 0;
    op.slupek.poz = poz;
    op.slupek.poziomy = poziomy ? 1 : 0;
    op.slupek.ogrPocz = pocz;
    op.slupek.ogrKon = kon;
    return op;
}

inline uniOperRys Skrzydlo(int32_t rodzOtw, int32_t strona, int32_t l, int32_t g, int32_t p, int32_t d) {
    uniOperRys op;
    memset(&op, 0, sizeof op);
    op.skrzydlo.typ = kOperSkrzydlo;
    op.skrzydlo.rodzOtw = rodzOtw;
    op.skrzydlo.stronaOtw = strona;
    op.skrzydlo.ogr[0] = l;
    op.skrzydlo.ogr[1] = g;
    op.skrzydlo.ogr[2] = p;
    op.skrzydlo.ogr[3] = d;
    return op;
}

// A sash or filling whose four bounds are all element i (a sash's interior).
inline uniOperRys Skrzydlo(int32_t rodzOtw, int32_t strona, int32_t i) {
    return Skrzydlo(rodzOtw, strona, i, i, i, i);
}

inline uniOperRys Wypeln(int32_t typ, const char* nazwa, int32_t l, int32_t g, int32_t p, int32_t d) {
    uniOperRys op;
    memset(&op, 0, sizeof op);
    op.wypeln.typ = kOperWypeln;
    op.wypeln.typWypeln = typ;
    strncpy(op.wypeln.nazwa, nazwa, sizeof op.wypeln.nazwa - 1);
    op.wypeln.ogr[0] = l;
    op.wypeln.ogr[1] = g;
    op.wypeln.ogr[2] = p;
    op.wypeln.ogr[3] = d;
    return op;
}

inline uniOperRys Wypeln(int32_t typ, const char* nazwa, int32_t i) { return Wypeln(typ, nazwa, i, i, i, i); }

inline uniOperRys Szpros(int32_t poz, bool poziomy, int32_t pocz, int32_t kon, int32_t wypeln) {
    uniOperRys op;
    memset(&op, 0, sizeof op);
    op.szpros.typ = kOperSzpros;
    op.szpros.poz = poz;
    op.szpros.poziomy = poziomy ? 1 : 0;
    op.szpros.ogrPocz = pocz;
    op.szpros.ogrKon = kon;
    op.szpros.wypeln = wypeln;
    return op;
}

// Thicknesses of the test windows, mm.
enum { kTRama = 70, kTSkrz = 80, kTStaly = 90, kTRuch = 60, kTSzpros = 20 };

// A window record in structure format 5 that owns its operation list.
struct TestOkno {
    strOkno r;
    TestOkno() {
        memset(&r, 0, sizeof r);
        r.status = 4;
        r.sGrubProf = strGrubProf{kTRama, kTSkrz, kTStaly, kTRuch};
        r.grubSzpros = kTSzpros;
        r.ilOkien = 1;
    }
    ~TestOkno() { KvFree(r.oper); }
    TestOkno(const TestOkno&) = delete;
    TestOkno& operator=(const TestOkno&) = delete;

    TestOkno& operator<<(const uniOperRys& op) {
        DodajOperRys(&r.oper, &r.liczbaOper, &op, nullptr);
        return *this;
    }
    uniOperRys& operator[](int i) { return r.oper[i]; }
    int32_t n() const { return r.liczbaOper; }
};

#endif  // KV_TESTS_MODEL_OKNA_H
