// The buyers of earlier orders, read when the order window's buyer field is
// first typed into: one query over 100,000 orders of 20,000 buyers (target
// under 50 ms), and the in-memory prefix match that follows every keystroke.
//
// The database holds only the orders' rows (the query reads nothing else),
// made once by SQL and kept at $TMPDIR/kv-bench-buyers-100000.db.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "db/buyers.h"
#include "db/connection.h"
#include "db/newdb.h"
#include "util/codepage.h"
#include "util/msgbuf.h"
#include "util/suggest_list.h"

namespace fs = std::filesystem;

namespace {

const int kOrders = 100000;
const int kBuyers = 20000;

// Buyer i % 20000 on order i, dates over three years, every 49th deleted (never all of one buyer's).
const char kFillSql[] =
    "PRAGMA synchronous = OFF;"
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
    "INSERT INTO T_Zam (idZam, rok, nazwaNabyw, adresNabyw, infDodatNabyw, dataZam, status) "
    "SELECT i, 2024, 'Buyer ' || (i % 20000) || ' of the benchmark', "
    "'Street ' || (i % 977) || char(13, 10) || (10000 + i % 20000) || ' Town', 'Phone ' || (i * 7), "
    "date('2023-01-01', '+' || (i * 1095 / 100000) || ' days'), CASE WHEN i % 49 = 0 THEN -1 ELSE i % 7 END "
    "FROM n;";

bool OpenDatabase(benchmark::State& state) {
    const std::string path = (fs::temp_directory_path() / "kv-bench-buyers-100000.db").string();
    char msg[KV_MSG_LEN];
    const bool made = fs::exists(path);
    if ((!made && !DbCreateFile(path.c_str(), 2024, msg)) || !DbOpen(path.c_str(), msg) ||
        (!made && !DbExec(kFillSql, msg))) {
        state.SkipWithError(msg);
        DbClose();
        fs::remove(path);
        return false;
    }
    return true;
}

void BM_LoadBuyers_100000Orders(benchmark::State& state) {
    if (!OpenDatabase(state)) return;
    std::vector<Buyer> buyers;
    char msg[KV_MSG_LEN];
    for (auto _ : state) {
        if (!DbLoadBuyers(&buyers, msg)) {
            state.SkipWithError(msg);
            break;
        }
    }
    if (buyers.size() != (size_t)kBuyers) state.SkipWithError("not one row per buyer");
    state.counters["buyers"] = (double)buyers.size();
    DbClose();
}
BENCHMARK(BM_LoadBuyers_100000Orders)->Unit(benchmark::kMillisecond);

// A keystroke: the 20,000 names matched against a typed prefix; fewer than
// 50 match either way, so every name is compared.
void BM_MatchTypedPrefix_20000Buyers(benchmark::State& state) {
    std::vector<std::string> names;
    for (int i = 0; i < kBuyers; i++) names.push_back("Buyer " + std::to_string(i) + " of the benchmark");
    KvCodePage page;
    unsigned char upper[256];
    if (!KvLoadCodePage(1250, &page)) {
        state.SkipWithError("no code page 1250");
        return;
    }
    KvUpperCaseTable(page, upper);
    const char* typed = state.range(0) ? "buyer 1999" : "nobody";
    for (auto _ : state) {
        auto found = KvSuggestMatches(
            names.size(), [&](size_t i) { return names[i].c_str(); }, typed, upper);
        benchmark::DoNotOptimize(found.data());
    }
}
BENCHMARK(BM_MatchTypedPrefix_20000Buyers)->ArgName("matching")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
