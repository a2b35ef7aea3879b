// The sales overview on a register of 100,000 orders: the demo orders and
// their copies dated evenly over the three years before today (as
// kelvaro-mkdb --demo makes them), read by the register's one pass and
// summed by month and status for 36 months. Beside it the pass alone, with
// nothing done per order, to show where the time goes.
//
// The database is made once (about a minute) and kept at
// $TMPDIR/kv-sales-100000.db between runs.
#include <benchmark/benchmark.h>

#include <stdio.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "db/connection.h"
#include "db/newdb.h"
#include "tools/mkdb/demo.h"
#include "util/msgbuf.h"
#include "valuation/order_list.h"
#include "valuation/sales_overview.h"

namespace {

const int64_t kOrders = 100000;
const int32_t kEuro = 12;  // the demo's currency

void Open() {
    static bool open = false;
    if (open) return;
    namespace fs = std::filesystem;
    const std::string path = (fs::temp_directory_path() / "kv-sales-100000.db").string();
    char msg[KV_MSG_LEN];
    if (!fs::exists(path)) {
        const std::string part = path + ".part";
        fs::remove(part);
        if (!DbCreateFile(part.c_str(), 2026, msg) || SaveDemoOrders(part.c_str(), msg) < 0 ||
            CopyDemoOrders(part.c_str(), kOrders, msg) < 0) {
            fprintf(stderr, "sales_bench: %s\n", msg);
            exit(1);
        }
        fs::rename(part, path);
    }
    if (!DbOpen(path.c_str(), msg)) {
        fprintf(stderr, "sales_bench: %s\n", msg);
        exit(1);
    }
    open = true;
}

void BM_SalesOverview100000(benchmark::State& state) {
    Open();
    char msg[KV_MSG_LEN];
    int64_t summed = 0;
    for (auto _ : state) {
        SalesOverview s;
        if (!ComputeSalesOverview(kEuro, kSalesMaxMonths, &s, msg)) state.SkipWithError(msg);
        summed = 0;
        for (const SalesMonth& m : s.months) summed += m.allOrders;
        benchmark::DoNotOptimize(summed);
    }
    // Dated over three years back from today: all but the oldest month's few.
    if (summed < kOrders * 9 / 10) state.SkipWithError("the months hold too few orders");
    state.counters["orders"] = (double)summed;
}
BENCHMARK(BM_SalesOverview100000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

bool Nothing(const strZamRob*, void*) { return true; }

// The overview from the rows of a register that lists every order, as the
// window sums it when the register shows "All".
void BM_SalesFromRegisterRows100000(benchmark::State& state) {
    Open();
    char msg[KV_MSG_LEN];
    RegisterRows rows;
    if (!ListOrders(0, [](const strZamRob* z, void* r) { return ((RegisterRows*)r)->Append(*z); }, &rows, msg))
        state.SkipWithError(msg);
    int64_t summed = 0;
    for (auto _ : state) {
        SalesOverview s;
        SalesFromRows(rows, kEuro, kSalesMaxMonths, &s);
        for (const SalesMonth& m : s.months) summed += m.allOrders;
        benchmark::DoNotOptimize(summed);
    }
    state.counters["rows"] = (double)rows.size();
}
BENCHMARK(BM_SalesFromRegisterRows100000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_OrderPass100000(benchmark::State& state) {
    Open();
    char msg[KV_MSG_LEN];
    for (auto _ : state)
        if (!ListOrders(0, Nothing, nullptr, msg)) state.SkipWithError(msg);
}
BENCHMARK(BM_OrderPass100000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The same pass reading each window's frame alone, as the overview does.
void BM_OrderTotalsPass100000(benchmark::State& state) {
    Open();
    char msg[KV_MSG_LEN];
    for (auto _ : state)
        if (!ListOrders(0, Nothing, nullptr, msg, kListTotals)) state.SkipWithError(msg);
}
BENCHMARK(BM_OrderTotalsPass100000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
