// The size-limit check of the largest grid the designer lets a user ask for:
// 100 x 100 (10,200 elements) in one batch in a 10,000 x 10,000 mm frame.
// The canvas runs it once per double click and must answer well within a
// second. Muntins on glass pass every clearance (the whole check runs);
// mullions 90 mm thick leave 9 mm and are refused at the first area.
#include <benchmark/benchmark.h>

#include <string.h>

#include <vector>

#include "model/structure.h"
#include "model/window.h"
#include "ui/designer/canvas_geometry.h"
#include "ui/designer/history.h"
#include "ui/designer/limits.h"
#include "util/heap.h"
#include "util/msgbuf.h"

namespace {

struct GridCase {
    strOkno r;
    std::vector<uniOperRys> partia;
    explicit GridCase(bool szprosy) {
        memset(&r, 0, sizeof r);
        r.status = 4;
        // A 50 mm frame: the grid divides the frame from its outer edges, so the
        // first column at 99 mm keeps 39 mm clear of the frame.
        r.sGrubProf = strGrubProf{50, 80, 90, 60};
        r.grubSzpros = 20;
        uniOperRys op;
        memset(&op, 0, sizeof op);
        op.rama.typ = kOpFrame;
        op.rama.x1 = op.rama.y1 = kMaxFrameSize;
        AddDrawOp(&r.oper, &r.liczbaOper, &op, nullptr);
        if (szprosy) {
            memset(&op, 0, sizeof op);
            op.wypeln.typ = kOpFilling;
            strcpy(op.wypeln.nazwa, "4/16/4");
            AddDrawOp(&r.oper, &r.liczbaOper, &op, nullptr);
        }
        char msg[KV_MSG_LEN];
        ComputeGeometry(r.oper, r.liczbaOper, 5, &r, msg);
        const GridArea obs = {{0, 0, 0, 0}, 0, 0, kMaxFrameSize, kMaxFrameSize};
        partia.resize(GridCount(100, 100));
        BuildGrid(&obs, 100, 100, szprosy ? kOpMuntin : kOpFixedMullion, 0, 1, r.liczbaOper,
                    partia.data());
    }
    ~GridCase() { KvFree(r.oper); }
};

void RunCheck(benchmark::State& state, bool szprosy, int oczekiwany) {
    GridCase s(szprosy);
    char msg[KV_MSG_LEN];
    for (auto _ : state) {
        const int wynik =
            CheckLimits(&s.r, (int32_t)s.partia.size(), s.partia.data(), kLimAppend, nullptr, nullptr, msg);
        if (wynik != oczekiwany) {
            state.SkipWithError(msg);
            break;
        }
        benchmark::DoNotOptimize(wynik);
    }
    state.counters["elements"] = (double)s.partia.size();
}

void BM_LimitCheck_Grid100x100_MuntinsAccepted(benchmark::State& state) { RunCheck(state, true, 1); }
void BM_LimitCheck_Grid100x100_MullionsRefused(benchmark::State& state) { RunCheck(state, false, 0); }

// One step taken back and brought again on a window of 300 elements (a
// frame and 299 mullions 100 mm apart): the state put into the record and
// the geometry computed again, as the designer does before it repaints.
// The repaint itself is render_bench's 300-element drawing.
void BM_UndoRedoStep_300Elements(benchmark::State& state) {
    KvHeapCreate();
    strOkno r;
    memset(&r, 0, sizeof r);
    r.status = 4;
    r.sGrubProf = strGrubProf{70, 80, 90, 60};
    r.grubSzpros = 20;
    uniOperRys rama = OpFrame(30000, 1000);
    AddDrawOp(&r.oper, &r.liczbaOper, &rama, nullptr);
    DesignHistory h;
    h.Reset(r);
    for (int i = 1; i < 300; i++) {
        uniOperRys m = OpMullion(false, 100 * i, false, 0, 0);
        AddDrawOp(&r.oper, &r.liczbaOper, &m, nullptr);
    }
    char msg[KV_MSG_LEN] = "";
    if (!ComputeGeometry(r.oper, r.liczbaOper, 5, &r, msg)) {
        state.SkipWithError(msg);
        return;
    }
    h.Record(r);
    r.sGrubProf.slupekStaly = 80;  // the step: a thinner mullion
    ComputeGeometry(r.oper, r.liczbaOper, 5, &r, msg);
    h.Record(r);
    for (auto _ : state) {
        int ok = PutDesignState(*h.Undo(), &r, msg) && ComputeGeometry(r.oper, r.liczbaOper, 5, &r, msg) &&
                 PutDesignState(*h.Redo(), &r, msg) && ComputeGeometry(r.oper, r.liczbaOper, 5, &r, msg);
        if (!ok) {
            state.SkipWithError(msg);
            break;
        }
    }
    state.counters["elements"] = (double)r.liczbaOper;
    KvFree(r.oper);
}

}  // namespace

BENCHMARK(BM_LimitCheck_Grid100x100_MuntinsAccepted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LimitCheck_Grid100x100_MullionsRefused)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedoStep_300Elements)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
