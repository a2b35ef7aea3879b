// Windows built element by element for the model tests.
#ifndef KV_TESTS_NATIVE_SAMPLE_WINDOWS_H
#define KV_TESTS_NATIVE_SAMPLE_WINDOWS_H

#include <string.h>

#include "model/operations.h"
#include "model/window.h"
#include "util/heap.h"

// The model's builders under the short names the tests read best with.
inline uniOperRys Rama(int32_t w, int32_t h) { return OperRama(w, h); }
inline uniOperRys Slupek(bool falszywy, int32_t poz, bool poziomy, int32_t pocz, int32_t kon) {
    return OperSlupek(falszywy, poz, poziomy, pocz, kon);
}
inline uniOperRys Skrzydlo(int32_t rodzOtw, int32_t strona, int32_t l, int32_t g, int32_t p, int32_t d) {
    return OperSkrzydlo(rodzOtw, strona, l, g, p, d);
}
// A sash or filling whose four bounds are all element i (a sash's interior).
inline uniOperRys Skrzydlo(int32_t rodzOtw, int32_t strona, int32_t i) {
    return OperSkrzydlo(rodzOtw, strona, i, i, i, i);
}
inline uniOperRys Wypeln(int32_t typ, const char* nazwa, int32_t l, int32_t g, int32_t p, int32_t d) {
    return OperWypeln(typ, nazwa, l, g, p, d);
}
inline uniOperRys Wypeln(int32_t typ, const char* nazwa, int32_t i) {
    return OperWypeln(typ, nazwa, i, i, i, i);
}
inline uniOperRys Szpros(int32_t poz, bool poziomy, int32_t pocz, int32_t kon, int32_t wypeln) {
    return OperSzpros(poz, poziomy, pocz, kon, wypeln);
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

#endif  // KV_TESTS_NATIVE_SAMPLE_WINDOWS_H
