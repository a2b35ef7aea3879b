// Windows built element by element for the model tests.
#ifndef KV_TESTS_NATIVE_SAMPLE_WINDOWS_H
#define KV_TESTS_NATIVE_SAMPLE_WINDOWS_H

#include <string.h>

#include "model/operations.h"
#include "model/window.h"
#include "util/heap.h"

// The model's builders under the short names the tests read best with.
inline uniOperRys DrawFrame(int32_t w, int32_t h) { return OpFrame(w, h); }
inline uniOperRys DrawMullion(bool falszywy, int32_t poz, bool poziomy, int32_t pocz, int32_t kon) {
    return OpMullion(falszywy, poz, poziomy, pocz, kon);
}
inline uniOperRys SashElement(int32_t rodzOtw, int32_t strona, int32_t l, int32_t g, int32_t p, int32_t d) {
    return OpSash(rodzOtw, strona, l, g, p, d);
}
// A sash or filling whose four bounds are all element i (a sash's interior).
inline uniOperRys SashElement(int32_t rodzOtw, int32_t strona, int32_t i) {
    return OpSash(rodzOtw, strona, i, i, i, i);
}
inline uniOperRys DrawFilling(int32_t typ, const char* nazwa, int32_t l, int32_t g, int32_t p, int32_t d) {
    return OpFilling(typ, nazwa, l, g, p, d);
}
inline uniOperRys DrawFilling(int32_t typ, const char* nazwa, int32_t i) {
    return OpFilling(typ, nazwa, i, i, i, i);
}
inline uniOperRys DrawMuntin(int32_t poz, bool poziomy, int32_t pocz, int32_t kon, int32_t wypeln) {
    return OpMuntin(poz, poziomy, pocz, kon, wypeln);
}

// Thicknesses of the test windows, mm.
enum { kTFrame = 70, kTSash = 80, kTFixed = 90, kTFalse = 60, kTMuntin = 20 };

// A window record in structure format 5 that owns its operation list.
struct TestWindow {
    strOkno r;
    TestWindow() {
        memset(&r, 0, sizeof r);
        r.status = 4;
        r.sGrubProf = strGrubProf{kTFrame, kTSash, kTFixed, kTFalse};
        r.grubSzpros = kTMuntin;
        r.ilOkien = 1;
    }
    ~TestWindow() { KvFree(r.oper); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    TestWindow& operator<<(const uniOperRys& op) {
        AddDrawOp(&r.oper, &r.liczbaOper, &op, nullptr);
        return *this;
    }
    uniOperRys& operator[](int i) { return r.oper[i]; }
    int32_t n() const { return r.liczbaOper; }
};

#endif  // KV_TESTS_NATIVE_SAMPLE_WINDOWS_H
