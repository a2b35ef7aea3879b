// Loading and saving whole orders on a real database file.
//
// The 10,000-order database is made once (with synchronous=OFF, which only
// speeds up its making) and kept in the temporary folder between runs; the
// timed saves run with SQLite's default durability.
#include <benchmark/benchmark.h>

#include <sqlite3.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <filesystem>
#include <string>

#include "db/connection.h"
#include "db/newdb.h"
#include "db/tables.h"
#include "tests/native/order_patterns.h"
#include "util/msgbuf.h"

namespace fs = std::filesystem;

static std::string TempPath(const char* name) { return (fs::temp_directory_path() / name).string(); }

// An order of `okna` windows, each a frame divided into fields: 2 * slupki + 2
// operations, plus a muntin when `szpros`.
static void Zamowienie(strZamRob* z, int32_t nr, int okna, int slupki, bool szpros) {
    InitTestOrder(z, nr, "Benchmark buyer");
    for (int i = 0; i < okna; i++) {
        TestWindow o;
        WindowWithPanes(o, slupki, szpros);
        AddTestWindow(z, o, "Norvel Line 70", 40000 + i);
    }
    AddTestAccessory(z, 0, "Window sill", 1);
    AddTestAccessory(z, 1, "Roller blind", 2);
}

// A fresh database at `path`, opened as the program's connection.
static bool NowaBaza(const std::string& path, benchmark::State& state) {
    char msg[KV_MSG_LEN];
    fs::remove(path);
    fs::remove(path + "-journal");
    if (!DbCreateFile(path.c_str(), 2026, msg) || !DbOpen(path.c_str(), msg)) {
        state.SkipWithError(msg);
        return false;
    }
    return true;
}

static void BM_SaveOrder20x15(benchmark::State& state) {
    const std::string path = TempPath("kv-bench-save.db");
    if (!NowaBaza(path, state)) return;
    strZamRob z;
    Zamowienie(&z, 1, 20, 6, true);  // 20 windows of 15 operations
    if (z.zam.okna[0].liczbaOper != 15) state.SkipWithError("not 15 operations");
    strZmienne zm{0, 2026};
    char msg[KV_MSG_LEN];
    for (auto _ : state) {
        z.zam.idZam = zm.idZam + 1;
        if (!SaveNewOrder(&z, &zm, msg)) {
            state.SkipWithError(msg);
            break;
        }
    }
    FreeOrder(&z);
    DbClose();
    fs::remove(path);
}
BENCHMARK(BM_SaveOrder20x15)->Unit(benchmark::kMillisecond);

static void BM_OverwriteOrder20x15(benchmark::State& state) {
    const std::string path = TempPath("kv-bench-overwrite.db");
    if (!NowaBaza(path, state)) return;
    strZamRob z;
    Zamowienie(&z, 1, 20, 6, true);
    strZmienne zm{0, 2026};
    char msg[KV_MSG_LEN];
    if (!SaveNewOrder(&z, &zm, msg)) state.SkipWithError(msg);
    for (auto _ : state) {
        if (!OverwriteOrder(&z, msg)) {
            state.SkipWithError(msg);
            break;
        }
    }
    FreeOrder(&z);
    DbClose();
    fs::remove(path);
}
BENCHMARK(BM_OverwriteOrder20x15)->Unit(benchmark::kMillisecond);

static void BM_LoadOrder20x15(benchmark::State& state) {
    const std::string path = TempPath("kv-bench-load.db");
    if (!NowaBaza(path, state)) return;
    strZamRob z;
    Zamowienie(&z, 1, 20, 6, true);
    strZmienne zm{0, 2026};
    char msg[KV_MSG_LEN];
    if (!SaveNewOrder(&z, &zm, msg)) state.SkipWithError(msg);
    const int64_t klucz = z.zam.kluczZam;
    FreeOrder(&z);
    for (auto _ : state) {
        strZamRob w;
        if (!LoadOrder(klucz, &w, msg)) {
            state.SkipWithError(msg);
            break;
        }
        FreeAndZeroOrder(&w);
    }
    DbClose();  // kept, for timing the same rows in the sqlite3 shell
}
BENCHMARK(BM_LoadOrder20x15)->Unit(benchmark::kMicrosecond);

// The file of the 20-window order is kept at $TMPDIR/kv-bench-load.db.

// The order list's way: 10,000 orders of 3 windows of 10 operations, loaded
// one key at a time. The database is kept at $TMPDIR/kv-bench-10000.db.
static bool Database10000(const std::string& path, benchmark::State& state) {
    if (fs::exists(path)) return true;
    char msg[KV_MSG_LEN];
    if (!NowaBaza(path, state)) return false;
    DbExec("PRAGMA synchronous = OFF;", msg);
    strZamRob z;
    Zamowienie(&z, 1, 3, 4, false);  // 3 windows of 10 operations
    strZmienne zm{0, 2026};
    bool ok = true;
    for (int i = 0; i < 10000 && ok; i++) {
        z.zam.idZam = zm.idZam + 1;
        ok = SaveNewOrder(&z, &zm, msg) != 0;
    }
    FreeOrder(&z);
    DbClose();
    if (!ok) {
        state.SkipWithError(msg);
        fs::remove(path);
    }
    return ok;
}

// The same orders in a file made without the lookup indexes, as another
// tool makes it from the bare tables ($TMPDIR/kv-bench-10000-bare.db).
static bool DatabaseWithoutIndexes(const std::string& from, const std::string& path, benchmark::State& state) {
    if (fs::exists(path)) return true;
    fs::copy_file(from, path, fs::copy_options::overwrite_existing);
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
              sqlite3_exec(db,
                           "DROP INDEX IF EXISTS I_Okno_kluczZam; DROP INDEX IF EXISTS I_OperRysDb_kluczOkno;"
                           "DROP INDEX IF EXISTS I_DodatZam_kluczZam; VACUUM;",
                           nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    if (!ok) {
        state.SkipWithError("cannot make the database without indexes");
        fs::remove(path);
    }
    return ok;
}

// Opening the file (which makes the missing indexes) and loading every
// order. Argument 0: a fresh copy of the file made without the indexes each
// round (the copy is not timed); 1: the file made with them.
static void BM_OpenAndLoad10000Orders(benchmark::State& state) {
    const bool indeksy = state.range(0) != 0;
    const std::string pelna = TempPath("kv-bench-10000.db");
    const std::string bez = TempPath("kv-bench-10000-bare.db");
    const std::string kopia = TempPath("kv-bench-10000-copy.db");
    if (!Database10000(pelna, state)) return;
    if (!indeksy && !DatabaseWithoutIndexes(pelna, bez, state)) return;
    char msg[KV_MSG_LEN];
    for (auto _ : state) {
        if (!indeksy) {
            state.PauseTiming();
            fs::copy_file(bez, kopia, fs::copy_options::overwrite_existing);
            state.ResumeTiming();
        }
        if (!DbOpen(indeksy ? pelna.c_str() : kopia.c_str(), msg)) {
            state.SkipWithError(msg);
            break;
        }
        for (int64_t k = 1; k <= 10000; k++) {
            strZamRob w;
            if (!LoadOrder(k, &w, msg)) {
                state.SkipWithError(msg);
                break;
            }
            FreeAndZeroOrder(&w);
        }
        DbClose();
    }
    fs::remove(kopia);
}
BENCHMARK(BM_OpenAndLoad10000Orders)->ArgName("indexes")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
