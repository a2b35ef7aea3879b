// Loading and saving whole orders on a real database file.
//
// The 10,000-order database is made once (with synchronous=OFF, which only
// speeds up its making) and kept in the temporary folder between runs; the
// timed saves run with SQLite's default durability.
#include <benchmark/benchmark.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <filesystem>
#include <string>

#include "connection.h"
#include "msgbuf.h"
#include "newdb.h"
#include "tables.h"
#include "zam_wzory.h"

namespace fs = std::filesystem;

static std::string TempPath(const char* name) { return (fs::temp_directory_path() / name).string(); }

// An order of `okna` windows, each a frame divided into fields: 2 * slupki + 2
// operations, plus a muntin when `szpros`.
static void Zamowienie(strZamRob* z, int32_t nr, int okna, int slupki, bool szpros) {
    ZamTest(z, nr, "Benchmark buyer");
    for (int i = 0; i < okna; i++) {
        TestOkno o;
        OknoPola(o, slupki, szpros);
        DodajOknoTest(z, o, "Veka Softline 70", 40000 + i);
    }
    DodajDodatekTest(z, 0, "Window sill", 1);
    DodajDodatekTest(z, 1, "Roller blind", 2);
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
        if (!ZapiszNoweZam(&z, &zm, msg)) {
            state.SkipWithError(msg);
            break;
        }
    }
    ZwolnijZam(&z);
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
    if (!ZapiszNoweZam(&z, &zm, msg)) state.SkipWithError(msg);
    for (auto _ : state) {
        if (!NadpiszZam(&z, msg)) {
            state.SkipWithError(msg);
            break;
        }
    }
    ZwolnijZam(&z);
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
    if (!ZapiszNoweZam(&z, &zm, msg)) state.SkipWithError(msg);
    const int64_t klucz = z.zam.kluczZam;
    ZwolnijZam(&z);
    for (auto _ : state) {
        strZamRob w;
        if (!WczytajZam(klucz, &w, msg)) {
            state.SkipWithError(msg);
            break;
        }
        ZwolnijIZerujZam(&w);
    }
    DbClose();
    fs::remove(path);
}
BENCHMARK(BM_LoadOrder20x15)->Unit(benchmark::kMicrosecond);

// The order list's way: 10,000 orders of 3 windows of 10 operations, loaded
// one key at a time. The database is kept at $TMPDIR/kv-bench-10000.db.
static void BM_Load10000Orders(benchmark::State& state) {
    const std::string path = TempPath("kv-bench-10000.db");
    char msg[KV_MSG_LEN];
    if (!fs::exists(path)) {
        if (!NowaBaza(path, state)) return;
        DbExec("PRAGMA synchronous = OFF;", msg);
        strZamRob z;
        Zamowienie(&z, 1, 3, 4, false);  // 3 windows of 10 operations
        strZmienne zm{0, 2026};
        for (int i = 0; i < 10000; i++) {
            z.zam.idZam = zm.idZam + 1;
            if (!ZapiszNoweZam(&z, &zm, msg)) {
                state.SkipWithError(msg);
                ZwolnijZam(&z);
                DbClose();
                fs::remove(path);
                return;
            }
        }
        ZwolnijZam(&z);
        DbClose();
    }
    if (!DbOpen(path.c_str(), msg)) {
        state.SkipWithError(msg);
        return;
    }
    for (auto _ : state) {
        for (int64_t k = 1; k <= 10000; k++) {
            strZamRob w;
            if (!WczytajZam(k, &w, msg)) {
                state.SkipWithError(msg);
                break;
            }
            ZwolnijIZerujZam(&w);
        }
    }
    DbClose();
}
BENCHMARK(BM_Load10000Orders)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
