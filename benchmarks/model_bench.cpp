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
    int32_t Dodaj(const uniOperRys& op) {
        DodajOperRys(&r.oper, &r.liczbaOper, &op, nullptr);
        char msg[KV_MSG_LEN];
        ObliczElement(r.oper, r.liczbaOper, r.liczbaOper - 1, 5, &r, msg);
        return r.liczbaOper - 1;
    }
};

int32_t Listwa(Okno& o, uint32_t typ, int32_t poz, bool poziomy, int32_t pocz, int32_t kon, int32_t wypeln) {
    return o.Dodaj(typ == kOperSzpros ? OperSzpros(poz, poziomy, pocz, kon, wypeln)
                                      : OperSlupek(typ == kOperSlupekRuch, poz, poziomy, pocz, kon));
}

// One sash in the area bounded by l, t, r, b, glazed, with g vertical muntins
// and g - 1 horizontal ones in each of the g + 1 columns.
void Skrzydlo(Okno& o, int32_t l, int32_t t, int32_t r, int32_t b, int32_t g) {
    const int32_t si = o.Dodaj(OperSkrzydlo(3, 0, l, t, r, b));
    const int32_t wi = o.Dodaj(OperWypeln(0, "Float 4/16/4", si, si, si, si));
    const strProst in = o.r.oper[si].skrzydlo.wewn;
    const int32_t dx = (in.right - in.left) / (g + 1), dy = (in.bottom - in.top) / g;
    int32_t kol[64];
    kol[0] = si;
    for (int32_t k = 1; k <= g; k++) kol[k] = Listwa(o, kOperSzpros, in.left + k * dx, false, si, si, wi);
    kol[g + 1] = si;
    for (int32_t c = 0; c <= g; c++)
        for (int32_t k = 1; k < g; k++) Listwa(o, kOperSzpros, in.top + k * dy, true, kol[c], kol[c + 1], wi);
}

void Buduj(Okno& o, int32_t g) {
    o.Dodaj(OperRama(2400, 2000));
    const int32_t v = Listwa(o, kOperSlupekStaly, 1200, false, 0, 0, 0);
    const int32_t hl = Listwa(o, kOperSlupekStaly, 1000, true, 0, v, 0);
    const int32_t hp = Listwa(o, kOperSlupekStaly, 1000, true, v, 0, 0);
    Skrzydlo(o, 0, 0, v, hl, g);
    Skrzydlo(o, 0, hl, v, 0, g);
    Skrzydlo(o, v, 0, 0, hp, g);
    Skrzydlo(o, v, hp, 0, 0, g);
}

bool Przygotuj(benchmark::State& state, Okno& o) {
    Buduj(o, (int32_t)state.range(0));
    char msg[KV_MSG_LEN] = "";
    if (!SprawdzZmiane(o.r.oper, o.r.liczbaOper, nullptr, -2, 5, msg)) {
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
        BudujStrukture(o.r.oper, o.r.liczbaOper, 0, 1, 1, &tab, &n, msg);
        benchmark::DoNotOptimize(tab);
        ZwolnijStrukture(tab);
    }
}

void BM_ChangeCheck(benchmark::State& state) {
    Okno o;
    if (!Przygotuj(state, o)) return;
    char msg[KV_MSG_LEN];
    for (auto _ : state)
        benchmark::DoNotOptimize(SprawdzZmiane(o.r.oper, o.r.liczbaOper, nullptr, -2, 5, msg));
}

void BM_GeometryPass(benchmark::State& state) {
    Okno o;
    if (!Przygotuj(state, o)) return;
    char msg[KV_MSG_LEN];
    for (auto _ : state) benchmark::DoNotOptimize(ObliczGeometrie(o.r.oper, o.r.liczbaOper, 5, &o.r, msg));
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
            BudujStrukture(l, n, j, 0, l[j].typ == kOperSzpros, &tab, &c, msg);
            const int32_t i = l[j].typ == kOperSkrzydlo || l[j].typ == kOperWypeln
                                  ? ObszarOgraniczony(&l[j], tab, c)
                                  : ObszarPodzialu(&l[j], tab, c);
            benchmark::DoNotOptimize(SprawdzWstawienie(l[j].typ, KodRodzaju(&l[j]), &tab[i], l, n, 5, msg));
            ZwolnijStrukture(tab);
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
