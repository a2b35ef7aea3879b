// Cost of the window model's structure building and change check, on
// windows of four glazed sashes each divided by a muntin grid: the designer
// runs the change check on every mouse edit, so it bounds how large a window
// stays responsive.
#include <benchmark/benchmark.h>

#include <string.h>

#include <string>

#include "model/operations.h"
#include "model/structure.h"
#include "model/window.h"
#include "util/heap.h"
#include "util/msgbuf.h"

namespace {

struct Okno {
    strOkno r;
    Okno() {
        memset(&r, 0, sizeof r);
        r.status = 4;
        r.sGrubProf = strGrubProf{70, 80, 90, 60};
        r.grubSzpros = 20;
    }
    ~Okno() { KvFree(r.oper); }
    int32_t AddOp(const uniOperRys& op) {
        AddDrawOp(&r.oper, &r.liczbaOper, &op, nullptr);
        char msg[KV_MSG_LEN];
        ComputeElement(r.oper, r.liczbaOper, r.liczbaOper - 1, 5, &r, msg);
        return r.liczbaOper - 1;
    }
};

int32_t BarElement(Okno& o, uint32_t typ, int32_t poz, bool poziomy, int32_t pocz, int32_t kon, int32_t wypeln) {
    return o.AddOp(typ == kOpMuntin ? OpMuntin(poz, poziomy, pocz, kon, wypeln)
                                      : OpMullion(typ == kOpFalseMullion, poz, poziomy, pocz, kon));
}

// One sash in the area bounded by l, t, r, b, glazed, with g vertical muntins
// and g - 1 horizontal ones in each of the g + 1 columns.
void SashElement(Okno& o, int32_t l, int32_t t, int32_t r, int32_t b, int32_t g) {
    const int32_t si = o.AddOp(OpSash(3, 0, l, t, r, b));
    const int32_t wi = o.AddOp(OpFilling(0, "Float 4/16/4", si, si, si, si));
    const strProst in = o.r.oper[si].skrzydlo.wewn;
    const int32_t dx = (in.right - in.left) / (g + 1), dy = (in.bottom - in.top) / g;
    int32_t kol[64];
    kol[0] = si;
    for (int32_t k = 1; k <= g; k++) kol[k] = BarElement(o, kOpMuntin, in.left + k * dx, false, si, si, wi);
    kol[g + 1] = si;
    for (int32_t c = 0; c <= g; c++)
        for (int32_t k = 1; k < g; k++) BarElement(o, kOpMuntin, in.top + k * dy, true, kol[c], kol[c + 1], wi);
}

void Build(Okno& o, int32_t g) {
    o.AddOp(OpFrame(2400, 2000));
    const int32_t v = BarElement(o, kOpFixedMullion, 1200, false, 0, 0, 0);
    const int32_t hl = BarElement(o, kOpFixedMullion, 1000, true, 0, v, 0);
    const int32_t hp = BarElement(o, kOpFixedMullion, 1000, true, v, 0, 0);
    SashElement(o, 0, 0, v, hl, g);
    SashElement(o, 0, hl, v, 0, g);
    SashElement(o, v, 0, 0, hp, g);
    SashElement(o, v, hp, 0, 0, g);
}

bool Przygotuj(benchmark::State& state, Okno& o) {
    Build(o, (int32_t)state.range(0));
    char msg[KV_MSG_LEN] = "";
    if (!CheckChange(o.r.oper, o.r.liczbaOper, nullptr, -2, 5, msg)) {
        state.SkipWithError(msg);
        return false;
    }
    state.counters["elements"] = o.r.liczbaOper;
    state.SetComplexityN(o.r.liczbaOper);
    return true;
}

void BM_StructureBuilding(benchmark::State& state) {
    Okno o;
    if (!Przygotuj(state, o)) return;
    char msg[KV_MSG_LEN];
    for (auto _ : state) {
        strObsOkno* tab;
        int32_t n;
        BuildStructure(o.r.oper, o.r.liczbaOper, 0, 1, 1, &tab, &n, msg);
        benchmark::DoNotOptimize(tab);
        FreeStructure(tab);
    }
}

void BM_ChangeCheck(benchmark::State& state) {
    Okno o;
    if (!Przygotuj(state, o)) return;
    char msg[KV_MSG_LEN];
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckChange(o.r.oper, o.r.liczbaOper, nullptr, -2, 5, msg));
}

void BM_GeometryPass(benchmark::State& state) {
    Okno o;
    if (!Przygotuj(state, o)) return;
    char msg[KV_MSG_LEN];
    for (auto _ : state) benchmark::DoNotOptimize(ComputeGeometry(o.r.oper, o.r.liczbaOper, 5, &o.r, msg));
}

// The change check done literally: a fresh structure for every element. Kept
// to show what the one-pass check saves.
void BM_ChangeCheckRebuildingPrefixes(benchmark::State& state) {
    Okno o;
    if (!Przygotuj(state, o)) return;
    const uniOperRys* l = o.r.oper;
    const int32_t n = o.r.liczbaOper;
    char msg[KV_MSG_LEN];
    for (auto _ : state) {
        for (int32_t j = 1; j < n; j++) {
            strObsOkno* tab;
            int32_t c;
            BuildStructure(l, n, j, 0, l[j].typ == kOpMuntin, &tab, &c, msg);
            const int32_t i = l[j].typ == kOpSash || l[j].typ == kOpFilling
                                  ? BoundedArea(&l[j], tab, c)
                                  : DividedArea(&l[j], tab, c);
            benchmark::DoNotOptimize(CheckInsertion(l[j].typ, KindCode(&l[j]), &tab[i], l, n, 5, msg));
            FreeStructure(tab);
        }
    }
}

// Grid sizes 2 .. 16 give 32 .. 1096 elements; 8 gives 296.
#define KV_SIZES ->Arg(2)->Arg(4)->Arg(8)->Arg(12)->Arg(16)->Complexity()
BENCHMARK(BM_StructureBuilding) KV_SIZES->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChangeCheck) KV_SIZES->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GeometryPass) KV_SIZES->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChangeCheckRebuildingPrefixes) KV_SIZES->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
