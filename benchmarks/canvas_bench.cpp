// canvas_bench: the design canvas's full repaint of a 300-element window
// after a change (the re-placement of every element and label, and the
// WM_PAINT that follows), in a real "obsProj" window. A plain timed loop;
// run it by hand under Wine:
//   wine build/win/bin/canvas_bench.exe [FRAMES]
// With "--show [SECONDS]" it shows a three-area window with the in-place
// editor open instead, for looking at the canvas.
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "benchmarks/bench_timer.h"
#include "model/structure.h"
#include "model/window.h"
#include "render/drawset_win.h"
#include "ui/designer/canvas_geometry.h"
#include "ui/designer/canvas_win.h"
#include "ui/designer/limits.h"
#include "util/heap.h"
#include "util/msgbuf.h"

namespace {

uniOperRys Zero() {
    uniOperRys op;
    memset(&op, 0, sizeof op);
    return op;
}

void AddOp(strOkno* o, const uniOperRys& op) {
    if (!AddDrawOp(&o->oper, &o->liczbaOper, &op, nullptr)) exit(3);
}

void ResetRecord(strOkno* o) {
    memset(o, 0, sizeof *o);
    o->status = 4;
    o->sGrubProf = strGrubProf{70, 80, 90, 60};
    o->grubSzpros = 20;
}

// A grid of `v` x `h` mullions over the frame's opening, then in every area a
// tilt & turn sash with a glass filling and two crossing muntins:
// 1 + (v + h (v + 1)) + 4 (v + 1)(h + 1) elements; 9 x 5 gives 300.
void Okno(strOkno* o, int32_t W, int32_t H, int32_t h, int32_t v) {
    ResetRecord(o);
    uniOperRys r = Zero();
    r.rama.typ = kOpFrame;
    r.rama.x1 = W;
    r.rama.y1 = H;
    AddOp(o, r);
    std::vector<uniOperRys> siatka(GridCount(h, v));
    const GridArea obs = {{0, 0, 0, 0}, 0, 0, W, H};
    BuildGrid(&obs, h, v, kOpFixedMullion, 0, 0, 1, siatka.data());
    for (const uniOperRys& s : siatka) AddOp(o, s);
    char msg[KV_MSG_LEN];
    strObsOkno* tab = nullptr;
    int32_t ile = 0;
    if (!ComputeGeometry(o->oper, o->liczbaOper, 5, o, msg) ||
        !BuildStructure(o->oper, o->liczbaOper, 0, 0, 0, &tab, &ile, msg)) {
        fprintf(stderr, "canvas_bench: %s\n", msg);
        exit(2);
    }
    for (int32_t i = 0; i < ile; i++) {
        uniOperRys sk = Zero();
        sk.skrzydlo.typ = kOpSash;
        sk.skrzydlo.rodzOtw = 3;
        sk.skrzydlo.stronaOtw = i % 2;
        memcpy(sk.skrzydlo.ogr, tab[i].ogr, sizeof sk.skrzydlo.ogr);
        const int32_t is = o->liczbaOper;
        AddOp(o, sk);
        uniOperRys f = Zero();
        f.wypeln.typ = kOpFilling;
        strcpy(f.wypeln.nazwa, i % 2 ? "4/16/4" : "4/12/4/12/4");
        for (int k = 0; k < 4; k++) f.wypeln.ogr[k] = is;
        const int32_t iw = o->liczbaOper;
        AddOp(o, f);
        for (int poziomy = 0; poziomy < 2; poziomy++) {
            uniOperRys m = Zero();
            m.szpros.typ = kOpMuntin;
            m.szpros.poz = poziomy ? (tab[i].prost.top + tab[i].prost.bottom) / 2
                                   : (tab[i].prost.left + tab[i].prost.right) / 2;
            m.szpros.poziomy = poziomy;
            m.szpros.ogrPocz = is;
            m.szpros.ogrKon = is;
            m.szpros.wypeln = iw;
            AddOp(o, m);
        }
    }
    FreeStructure(tab);
    if (!ComputeGeometry(o->oper, o->liczbaOper, 5, o, msg)) {
        fprintf(stderr, "canvas_bench: %s\n", msg);
        exit(2);
    }
}

// Three areas for looking at: a tilt & turn sash with glass on the left, a
// fixed glass pane crossed by muntins in the middle, a bottom-hung sash over
// a fixed pane on the right.
void Window3(strOkno* o) {
    ResetRecord(o);
    uniOperRys r = Zero();
    r.rama.typ = kOpFrame;
    r.rama.x1 = 2400;
    r.rama.y1 = 1500;
    AddOp(o, r);
    auto slupek = [&](int32_t poz, int32_t poziomy, int32_t a, int32_t b) {
        uniOperRys s = Zero();
        s.slupek.typ = kOpFixedMullion;
        s.slupek.poz = poz;
        s.slupek.poziomy = poziomy;
        s.slupek.ogrPocz = a;
        s.slupek.ogrKon = b;
        AddOp(o, s);
        return o->liczbaOper - 1;
    };
    auto skrzydlo = [&](int32_t rodz, int32_t strona, int32_t l, int32_t t, int32_t p, int32_t b) {
        uniOperRys s = Zero();
        s.skrzydlo.typ = kOpSash;
        s.skrzydlo.rodzOtw = rodz;
        s.skrzydlo.stronaOtw = strona;
        s.skrzydlo.ogr[0] = l;
        s.skrzydlo.ogr[1] = t;
        s.skrzydlo.ogr[2] = p;
        s.skrzydlo.ogr[3] = b;
        AddOp(o, s);
        return o->liczbaOper - 1;
    };
    auto szklo = [&](const char* nazwa, int32_t l, int32_t t, int32_t p, int32_t b) {
        uniOperRys f = Zero();
        f.wypeln.typ = kOpFilling;
        strcpy(f.wypeln.nazwa, nazwa);
        f.wypeln.ogr[0] = l;
        f.wypeln.ogr[1] = t;
        f.wypeln.ogr[2] = p;
        f.wypeln.ogr[3] = b;
        AddOp(o, f);
        return o->liczbaOper - 1;
    };
    auto szpros = [&](int32_t poz, int32_t poziomy, int32_t a, int32_t b, int32_t w) {
        uniOperRys m = Zero();
        m.szpros.typ = kOpMuntin;
        m.szpros.poz = poz;
        m.szpros.poziomy = poziomy;
        m.szpros.ogrPocz = a;
        m.szpros.ogrKon = b;
        m.szpros.wypeln = w;
        AddOp(o, m);
        return o->liczbaOper - 1;
    };
    const int32_t m1 = slupek(800, 0, 0, 0), m2 = slupek(1600, 0, 0, 0);
    const int32_t s1 = skrzydlo(3, 0, 0, 0, m1, 0);
    szklo("4/16/4", s1, s1, s1, s1);
    const int32_t g2 = szklo("4/16/4", m1, 0, m2, 0);
    const int32_t v = szpros(1200, 0, 0, 0, g2);
    szpros(500, 1, m1, v, g2);
    szpros(1000, 1, m1, v, g2);
    szpros(500, 1, v, m2, g2);
    szpros(1000, 1, v, m2, g2);
    const int32_t h = slupek(1000, 1, m2, 0);
    const int32_t s3 = skrzydlo(1, 1, m2, 0, 0, h);
    szklo("4/16/4", s3, s3, s3, s3);
    szklo("Acrylic 6", m2, h, 0, 0);
    o->oper[o->liczbaOper - 1].wypeln.typWypeln = 1;
    char msg[KV_MSG_LEN];
    if (!ComputeGeometry(o->oper, o->liczbaOper, 5, o, msg)) {
        fprintf(stderr, "canvas_bench: %s\n", msg);
        exit(2);
    }
}

strOkno g_window;

void (*showTimes)(const char*, std::vector<double>&);

LRESULT CALLBACK RodzicProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == UM_OBS_LIMITY) return AnswerLimits(&g_window, (const CanvasLimitQuery*)lp);
    if (msg == WM_CLOSE) PostQuitMessage(0);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void Pompuj() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool pokaz = argc > 1 && strcmp(argv[1], "--show") == 0;
    const int klatki = !pokaz && argc > 1 ? atoi(argv[1]) : 100;
    KvHeapCreate();
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    HINSTANCE inst = GetModuleHandleA(nullptr);
    DrawSet ds;
    if (!CreateDrawSet(inst, &ds)) return 2;
    if (pokaz) Window3(&g_window);
    else Okno(&g_window, 6000, 3000, 5, 9);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = RodzicProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = "KvCanvasBench";
    RegisterClassA(&wc);
    HWND rodzic = CreateWindowExA(0, "KvCanvasBench", "Window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1240,
                                  940, nullptr, nullptr, inst, nullptr);
    CanvasParams p;
    memset(&p, 0, sizeof p);
    p.controlId = IDC_CANVAS;
    p.iProfSch = &g_window.iProfSch;
    p.iSzpros = &g_window.iSzpros;
    p.format = 5;
    p.windowRec = &g_window;
    p.liczbaOper = &g_window.liczbaOper;
    p.oper = &g_window.oper;
    p.ds = &ds;
    p.flagi = kCanvasDesignerFlags;
    HWND obs = CreateCanvasWindow(rodzic, 0, 0, 1200, 900, &p, 1);
    if (!obs) return 2;
    Pompuj();

    if (pokaz) {
        // The editor on the first label of the bottom chain, as a click opens it.
        const strProst& r = p.dimensionSet.chainSegments[kDimensionBottom][0].tekst;
        PostMessageA(obs, WM_LBUTTONDOWN, MK_LBUTTON,
                     MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
        PostMessageA(obs, WM_LBUTTONUP, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
        const DWORD koniec = GetTickCount() + (argc > 2 ? atoi(argv[2]) : 20) * 1000;
        while ((int)(GetTickCount() - koniec) < 0) {
            Pompuj();
            Sleep(20);
        }
        DestroyWindow(rodzic);
        DestroyDrawSet(&ds);
        return 0;
    }

    printf("canvas_bench: %d elements, canvas 1200 x 900, %d frames\n", (int)g_window.liczbaOper, klatki);
    std::vector<double> czasy, zmiana, malowanie;
    for (int i = 0; i < klatki; i++) {
        // A change the designer reports: every element and label placed
        // again, then the paint.
        const double t0 = NowMs();
        SendMessageA(obs, UM_OBS_ODSWIEZ, 0, 0);
        const double t1 = NowMs();
        UpdateWindow(obs);
        const double t2 = NowMs();
        czasy.push_back(t2 - t0);
        zmiana.push_back(t1 - t0);
        malowanie.push_back(t2 - t1);
    }
    showTimes = [](const char* co, std::vector<double>& v) {
        std::sort(v.begin(), v.end());
        double suma = 0;
        for (double c : v) suma += c;
        printf("%s: median %.2f ms, mean %.2f ms, min %.2f ms, max %.2f ms\n", co, v[v.size() / 2],
               suma / v.size(), v.front(), v.back());
    };
    showTimes("repaint after a change", czasy);
    showTimes("  re-placement (WM_APP+9)", zmiana);
    showTimes("  WM_PAINT", malowanie);
    DestroyWindow(rodzic);
    DestroyDrawSet(&ds);
    KvFree(g_window.oper);

    // The limit check of the largest grid batch, as the canvas runs it for a
    // double click: 100 x 100 muntins on glass in a 10,000 mm frame.
    strOkno duze;
    ResetRecord(&duze);
    duze.sGrubProf.rama = 50;
    uniOperRys r = Zero();
    r.rama.typ = kOpFrame;
    r.rama.x1 = r.rama.y1 = kMaxFrameSize;
    AddOp(&duze, r);
    uniOperRys f = Zero();
    f.wypeln.typ = kOpFilling;
    AddOp(&duze, f);
    char msg[KV_MSG_LEN] = "";
    ComputeGeometry(duze.oper, duze.liczbaOper, 5, &duze, msg);
    std::vector<uniOperRys> partia(GridCount(100, 100));
    const GridArea calosc = {{0, 0, 0, 0}, 0, 0, kMaxFrameSize, kMaxFrameSize};
    BuildGrid(&calosc, 100, 100, kOpMuntin, 0, 1, duze.liczbaOper, partia.data());
    czasy.clear();
    for (int i = 0; i < 10; i++) {
        const double t0 = NowMs();
        const int wynik =
            CheckLimits(&duze, (int32_t)partia.size(), partia.data(), kLimAppend, nullptr, nullptr, msg);
        czasy.push_back(NowMs() - t0);
        if (!wynik) {
            fprintf(stderr, "canvas_bench: the grid was refused: %s\n", msg);
            return 2;
        }
    }
    printf("limit check of a %d-element grid batch: ", (int)partia.size());
    showTimes("accepted", czasy);
    KvFree(duze.oper);
    return 0;
}
