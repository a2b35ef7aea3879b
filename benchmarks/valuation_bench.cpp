// Cost of filling the order list: every order of the register loaded from
// the database and valued, as the main window does at start-up and on every
// change of the filter. A register of 10 000 orders of 3 windows of 10
// elements each should fill in well under a second and a half.
//
// Beside it, the same walk loading only, and the recompute alone, to show
// where the time goes.
#include <benchmark/benchmark.h>

#include <inttypes.h>
#include <sqlite3.h>
#include <stdio.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/newdb.h"
#include "db/orders.h"
#include "db/stmt.h"
#include "tests/native/sample_orders.h"
#include "util/msgbuf.h"
#include "valuation/order_list.h"
#include "valuation/register_csv.h"
#include "valuation/valuation.h"

namespace {

const int kOrderCount = 10000;

// The register, made once per run in a temporary folder through the
// program's own save path.
class BenchRegister {
public:
    BenchRegister() {
        namespace fs = std::filesystem;
        dir_ = (fs::temp_directory_path() / "kv-valuation-bench").string();
        std::error_code ec;
        fs::remove_all(dir_, ec);
        fs::create_directories(dir_);
        const std::string path = dir_ + "/bench.db";
        char msg[KV_MSG_LEN];
        if (!DbCreateFile(path.c_str(), 2010, msg) || !DbOpen(path.c_str(), msg) || !DbRegisterFunctions(msg))
            Fail(msg);
        // Each save is its own transaction; without syncing, making the
        // register takes seconds rather than minutes. Reading is unaffected.
        if (!DbExec("PRAGMA synchronous = OFF;", msg)) Fail(msg);
        for (int i = 0; i < kOrderCount; i++) {
            int64_t k = SaveTestOrder(3, 0, 1 + i % 6, msg);
            if (!k) Fail(msg);
            klucze_.push_back(k);
        }
        if (!DbExec("PRAGMA synchronous = FULL;", msg)) Fail(msg);
    }
    ~BenchRegister() {
        DbClose();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::vector<int64_t>& klucze() const { return klucze_; }

private:
    static void Fail(const char* msg) {
        fprintf(stderr, "valuation_bench: %s\n", msg);
        exit(1);
    }
    std::string dir_;
    std::vector<int64_t> klucze_;
};

BenchRegister& GetRegister() {
    static BenchRegister r;
    return r;
}

struct Licznik {
    int64_t zamowien = 0;
    int64_t brutto = 0;
};

bool Policz(const strZamRob* z, void* ctx) {
    Licznik* l = (Licznik*)ctx;
    l->zamowien++;
    l->brutto += z->sumy.zamBrutto;
    return true;
}

// The list fill: load and value every order, all statuses.
void BM_ListOrders(benchmark::State& state) {
    GetRegister();
    char msg[KV_MSG_LEN];
    for (auto _ : state) {
        Licznik l;
        if (!ListOrders(0, Policz, &l, msg) || l.zamowien != kOrderCount) state.SkipWithError(msg);
        benchmark::DoNotOptimize(l.brutto);
    }
    state.SetItemsProcessed(state.iterations() * kOrderCount);
}
BENCHMARK(BM_ListOrders)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// One status: a sixth of the register.
void BM_ListOrdersStatus(benchmark::State& state) {
    GetRegister();
    char msg[KV_MSG_LEN];
    for (auto _ : state) {
        Licznik l;
        if (!ListOrders(3, Policz, &l, msg)) state.SkipWithError(msg);
        benchmark::DoNotOptimize(l.brutto);
    }
}
BENCHMARK(BM_ListOrdersStatus)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Loading only, key by key, without the recompute.
void BM_TylkoWczytanie(benchmark::State& state) {
    const std::vector<int64_t>& klucze = GetRegister().klucze();
    char msg[KV_MSG_LEN];
    for (auto _ : state) {
        for (int64_t k : klucze) {
            strZamRob z;
            if (!LoadOrder(k, &z, msg)) state.SkipWithError(msg);
            benchmark::DoNotOptimize(z.zam.liczbaOkien);
            FreeAndZeroOrder(&z);
        }
    }
    state.SetItemsProcessed(state.iterations() * (int64_t)klucze.size());
}
BENCHMARK(BM_TylkoWczytanie)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The same inside one read transaction of the caller's: what a walk would
// gain by holding one snapshot for the whole register.
void BM_TylkoWczytanieJednaTransakcja(benchmark::State& state) {
    const std::vector<int64_t>& klucze = GetRegister().klucze();
    char msg[KV_MSG_LEN];
    for (auto _ : state) {
        if (!DbExec("BEGIN;", msg)) state.SkipWithError(msg);
        for (int64_t k : klucze) {
            strZamRob z;
            if (!LoadOrder(k, &z, msg)) state.SkipWithError(msg);
            benchmark::DoNotOptimize(z.zam.liczbaOkien);
            FreeAndZeroOrder(&z);
        }
        if (!DbExec("COMMIT;", msg)) state.SkipWithError(msg);
    }
    state.SetItemsProcessed(state.iterations() * (int64_t)klucze.size());
}
BENCHMARK(BM_TylkoWczytanieJednaTransakcja)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The recompute alone, over one loaded order of 3 windows.
void BM_RecomputeOrder(benchmark::State& state) {
    const std::vector<int64_t>& klucze = GetRegister().klucze();
    char msg[KV_MSG_LEN];
    strZamRob z;
    if (!LoadOrder(klucze[0], &z, msg)) {
        state.SkipWithError(msg);
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(RecomputeOrder(&z, kRecomputeAll));
    FreeAndZeroOrder(&z);
}
BENCHMARK(BM_RecomputeOrder);

// "Export to CSV..." of the whole register: the same walk, each order
// written as a CSV line (target under a second for 10 000 orders).
void BM_RegisterCsv(benchmark::State& state) {
    GetRegister();
    char msg[KV_MSG_LEN];
    CsvTextForm form;
    strUstUzytk settings = {};
    if (!UserCsvForm(1252, &form, msg)) {
        state.SkipWithError(msg);
        return;
    }
    std::string out;
    for (auto _ : state) {
        if (!RegisterCsv(0, settings, form, &out, msg)) {
            state.SkipWithError(msg);
            break;
        }
    }
    state.counters["bytes"] = (double)out.size();
}
BENCHMARK(BM_RegisterCsv)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
