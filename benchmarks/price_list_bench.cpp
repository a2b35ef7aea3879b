// The price list: the suggestion the designer recomputes after every change
// (a window of 300 elements, target well under 1 ms), and an import of a
// 10,000-line price list (target under 1 s).
#include <benchmark/benchmark.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "model/operations.h"
#include "model/window.h"
#include "tests/native/price_entries.h"
#include "util/heap.h"
#include "util/msgbuf.h"
#include "valuation/price_list.h"

namespace {

// 30,000 x 2,000 mm: 99 mullions 300 mm apart, a tilt & turn sash between
// each two, each glazed: 300 elements.
void BM_PriceSuggestion_300Elements(benchmark::State& state) {
    KvHeapCreate();
    strOkno r;
    memset(&r, 0, sizeof r);
    r.status = 4;
    r.sGrubProf = strGrubProf{70, 80, 90, 60};
    r.grubSzpros = 20;
    snprintf(r.nazProfil, sizeof r.nazProfil, "Norvel Line 70");
    snprintf(r.nazKolor, sizeof r.nazKolor, "Golden oak");
    snprintf(r.nazOkucie, sizeof r.nazOkucie, "Tilvo NT");
    snprintf(r.nazListwa, sizeof r.nazListwa, "Rounded bead");
    std::vector<uniOperRys> ops{OpFrame(30000, 2000)};
    for (int i = 1; i < 100; i++) ops.push_back(OpMullion(false, 300 * i, false, 0, 0));
    for (int i = 0; i < 100; i++) {
        const int32_t left = i == 0 ? 0 : i, right = i == 99 ? 0 : i + 1;
        ops.push_back(OpSash(3, 0, left, 0, right, 0));
        const int32_t sash = (int32_t)ops.size() - 1;
        ops.push_back(OpFilling(0, "4/16/4 Ug 1.1", sash, sash, sash, sash));
    }
    r.oper = (uniOperRys*)KvAlloc(ops.size() * sizeof(uniOperRys));
    memcpy(r.oper, ops.data(), ops.size() * sizeof(uniOperRys));
    r.liczbaOper = (int32_t)ops.size();
    PriceList list;
    size_t bad = 0;
    char msg[KV_MSG_LEN] = "";
    list.Assign({Entry(kPriceProfile, "Norvel Line 70", 2840, 3360, 2480, 1920),
                 Entry(kPriceColour, "Golden oak", 1500), Entry(kPriceFilling, "4/16/4 Ug 1.1", 7600),
                 Entry(kPriceHardware, "Tilvo NT", 8500), Entry(kPriceBead, "Rounded bead", 360),
                 Entry(kPriceWindow, "", 6000)},
                &bad, msg);
    PriceSuggestion s;
    for (auto _ : state) {
        if (!SuggestWindowPrice(&r, list, &s)) {
            state.SkipWithError("no suggestion");
            break;
        }
        benchmark::DoNotOptimize(s.net);
    }
    state.counters["elements"] = (double)r.liczbaOper;
    KvFree(r.oper);
}

// 10,000 lines: profiles, colours and fillings with names of their own, in
// the semicolon form with decimal commas and some quoted names.
void BM_ImportPriceList_10000Lines(benchmark::State& state) {
    std::string csv = "\xEF\xBB\xBFkind;name;rate1;rate2;rate3;rate4\r\n";
    for (int i = 0; i < 10000; i++) {
        char line[160];
        if (i % 10 == 0)
            snprintf(line, sizeof line, "profile;\"Profile %05d; \"\"S\"\"\";28,40;33,60;24,80;19,20\r\n", i);
        else if (i % 10 == 1) snprintf(line, sizeof line, "colour;Colour %05d;15,00\r\n", i);
        else snprintf(line, sizeof line, "filling;4/16/4 Ug 1.1 type %05d;76,%02d\r\n", i, i % 100);
        csv += line;
    }
    char msg[KV_MSG_LEN] = "";
    for (auto _ : state) {
        std::vector<PriceEntry> entries;
        PriceList list;
        size_t bad = 0;
        if (!PriceListFromCsv(csv.data(), csv.size(), 1252, &entries, msg) ||
            !list.Assign(entries, &bad, msg)) {
            state.SkipWithError(msg);
            break;
        }
        benchmark::DoNotOptimize(list.size());
    }
    state.counters["bytes"] = (double)csv.size();
}

}  // namespace

BENCHMARK(BM_PriceSuggestion_300Elements)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImportPriceList_10000Lines)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
