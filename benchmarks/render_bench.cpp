// render_bench: time to draw a 300-element window with its dimension lines
// into a 1200 x 900 memory bitmap, as the designer's canvas redraws on a
// mouse move. A plain timed loop (Google Benchmark is not built for
// Windows); run it by hand under Wine:
//   wine build/win/bin/render_bench.exe [FRAMES]
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "benchmarks/bench_timer.h"
#include "model/operations.h"
#include "model/structure.h"
#include "model/window.h"
#include "render/drawing_win.h"
#include "util/heap.h"
#include "util/msgbuf.h"
#include "util/scoped_win.h"

namespace {

void AddOp(strOkno* o, const uniOperRys& op) {
    if (!AddDrawOp(&o->oper, &o->liczbaOper, &op, nullptr)) exit(3);
}

// 10 columns by 6 rows of tilt & turn sashes, each with a glass filling and
// two crossing muntins: 1 frame + 9 + 50 mullions + 60 * 4 = 300 elements.
void Window300(strOkno* o) {
    memset(o, 0, sizeof *o);
    o->status = 4;
    o->sGrubProf = strGrubProf{70, 80, 90, 60};
    o->grubSzpros = 20;
    const int kol = 10, wier = 6, szer = 600, wys = 500;
    AddOp(o, OpFrame(kol * szer, wier * wys));
    int32_t pion[kol + 1];
    pion[0] = 0;
    pion[kol] = 0;
    for (int c = 1; c < kol; c++) {
        pion[c] = o->liczbaOper;
        AddOp(o, OpMullion(false, c * szer, false, 0, 0));
    }
    for (int c = 0; c < kol; c++) {
        int32_t gora = 0;
        for (int w = 0; w < wier; w++) {
            int32_t dol = 0;
            if (w < wier - 1) {
                dol = o->liczbaOper;
                AddOp(o, OpMullion(false, (w + 1) * wys, true, pion[c], pion[c + 1]));
            }
            int32_t is = o->liczbaOper;
            AddOp(o, OpSash(3, c % 2, pion[c], gora, pion[c + 1], dol));
            int32_t iw = o->liczbaOper;
            AddOp(o, OpFilling(0, w % 2 ? "4/16/4" : "4/12/4/12/4", is, is, is, is));
            for (int poziomy = 0; poziomy < 2; poziomy++) {
                AddOp(o, OpMuntin(poziomy ? w * wys + wys / 2 : c * szer + szer / 2, poziomy, is, is, iw));
            }
            gora = dol;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int klatki = argc > 1 ? atoi(argv[1]) : 200;
    KvHeapCreate();
    strOkno okno;
    Window300(&okno);
    char msg[KV_MSG_LEN] = "";
    strObsOkno* obs = nullptr;
    int32_t liczbaObs = 0;
    if (!ComputeGeometry(okno.oper, okno.liczbaOper, 5, &okno, msg) ||
        !BuildStructure(okno.oper, okno.liczbaOper, 0, 0, 0, &obs, &liczbaObs, msg)) {
        fprintf(stderr, "render_bench: the test window is wrong: %s\n", msg);
        return 1;
    }
    FreeStructure(obs);

    DrawSet ds;
    if (!CreateDrawSet(GetModuleHandleA(nullptr), &ds)) return 1;
    MemoryDC dc(nullptr, 1200, 900);
    const RECT cel = {0, 0, 1200, 900};

    // Whole redraw: geometry, placement, dimension set, texts, drawing.
    RoundTimes whole;
    for (int i = 0; i < klatki + 5; i++) {
        double t0 = NowMs();
        PatBlt(dc, 0, 0, 1200, 900, WHITENESS);
        if (!DrawWindowInRect(dc, &okno, &cel, 50, &ds, kStyleCanvas, kDimensionsScreen, msg)) {
            fprintf(stderr, "render_bench: %s\n", msg);
            return 1;
        }
        GdiFlush();
        double t = NowMs() - t0;
        if (i < 5) continue;  // warm-up: fonts and glyph caches
        whole.Add(t);
    }
    printf("window of %d elements, 1200 x 900 bitmap, style 0 with dimensions, %d frames:\n",
           (int)okno.liczbaOper, klatki);
    printf("  whole redraw: mean %.2f ms, best %.2f ms per frame\n", whole.Mean(), whole.best);

    // Drawing only, the placement and dimension set made once.
    DimensionSet w;
    memset(&w, 0, sizeof w);
    BuildDimensions(okno.oper, okno.liczbaOper, &w, msg);
    LayOutDimensionTextsDC(dc, &ds, &w, okno.oper, okno.liczbaOper, 1);
    RoundTimes drawing;
    for (int i = 0; i < klatki; i++) {
        double t0 = NowMs();
        PatBlt(dc, 0, 0, 1200, 900, WHITENESS);
        DrawWindow(dc, okno.oper, okno.liczbaOper, 0, 5, &w, &ds, kStyleCanvas, kDimensionsScreen);
        GdiFlush();
        drawing.Add(NowMs() - t0);
    }
    printf("  drawing only: mean %.2f ms, best %.2f ms per frame\n", drawing.Mean(), drawing.best);
    FreeDimensions(&w);
    DestroyDrawSet(&ds);
    KvFree(okno.oper);
    return 0;
}
