// A process killed at any moment while it saves orders leaves a sound
// database holding only whole orders. Native only: it forks and kills.
//
// KV_CRASH_KILLS sets how many times the saving child is killed (default 12,
// a couple of seconds); raise it by hand for a longer run.
#include <gtest/gtest.h>

#ifndef _WIN32

#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <random>

#include "db/connection.h"
#include "db/tables.h"
#include "tests/native/order_patterns.h"
#include "tests/native/testdb.h"
#include "util/msgbuf.h"

class DbCrashTest : public DbTest {};

[[noreturn]] static void Stop(int code, const char* msg) {
    fprintf(stderr, "crash test child: %s\n", msg);
    _exit(code);
}

// The child: saves orders until killed. Each order records in its own
// columns how much it should hold, so the parent can tell a whole order from
// a part: the window count in `waga`, each window's operation count in
// `ilOkien`, the accessory count in `idWalZam`.
[[noreturn]] static void SaveForever(const std::string& path, unsigned seed) {
    char msg[KV_MSG_LEN];
    if (!DbOpen(path.c_str(), msg)) Stop(3, msg);
    strZmienne zm{};
    if (!ReadVariables(&zm, msg)) Stop(4, msg);
    std::mt19937 rng(seed);
    for (;;) {
        strZamRob z;
        InitTestOrder(&z, zm.idZam + 1, "Crash test buyer");
        const int okna = (int)(rng() % 6);
        for (int i = 0; i < okna; i++) {
            TestWindow o;
            if (rng() % 2) WindowWithSash(o);
            else WindowWithPanes(o, (int)(rng() % 5), rng() % 2);
            o.r.ilOkien = o.r.liczbaOper;
            AddTestWindow(&z, o, "P", 100);
        }
        const int dodatki = (int)(rng() % 4);
        for (int i = 0; i < dodatki; i++) AddTestAccessory(&z, i, "A", i);
        z.zam.waga = okna;
        z.zam.idWalZam = dodatki;
        int ok = SaveNewOrder(&z, &zm, msg);
        FreeOrder(&z);
        if (!ok) Stop(5, msg);
        // Now and then an order is rewritten or removed, so those are killed too.
        if (rng() % 4 == 0) {
            strZamRob w{};
            if (LoadOrder(z.zam.kluczZam, &w, msg)) {
                if (rng() % 2) OverwriteOrder(&w, msg);
                else DeleteOrder(w.zam.kluczZam, msg);
                FreeAndZeroOrder(&w);
            }
        }
    }
}

TEST_F(DbCrashTest, KilledSaverLeavesOnlyWholeOrders) {
    DbClose();
    const char* env = getenv("KV_CRASH_KILLS");
    const int kills = env && *env ? atoi(env) : 12;
    std::mt19937 rng(12345);
    int zabite = 0;
    for (int k = 0; k < kills; k++) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) SaveForever(path_, (unsigned)k);
        // 20 to 150 ms: past the child's start, inside its saving loop.
        struct timespec ts = {0, (long)(20 + rng() % 130) * 1000000L};
        nanosleep(&ts, nullptr);
        kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(pid, waitpid(pid, &status, 0));
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) zabite++;
        else ADD_FAILURE() << "the child stopped by itself, status " << status;
    }
    printf("crash test: %d kills tried, %d landed while saving\n", kills, zabite);

    ASSERT_EQ(1, DbOpen(path_.c_str(), msg_)) << msg_;
    char wynik[64] = {};
    ASSERT_EQ(kDbQueryValue, DbQueryValue("PRAGMA integrity_check", kDbText, wynik, sizeof wynik, msg_));
    EXPECT_STREQ("ok", wynik);
    const int64_t zamowienia = DbCountRows("T_Zam", nullptr, nullptr);
    EXPECT_GT(zamowienia, 0) << "the child never saved an order";
    // Windows without their order, orders missing windows or accessories,
    // windows missing operations, operations without their window.
    EXPECT_EQ(0, DbCountRows("T_Okno", nullptr, "kluczZam NOT IN (SELECT kluczZam FROM T_Zam)"));
    EXPECT_EQ(0, DbCountRows("T_DodatZam", nullptr, "kluczZam NOT IN (SELECT kluczZam FROM T_Zam)"));
    EXPECT_EQ(0, DbCountRows("T_OperRysDb", nullptr, "kluczOkno NOT IN (SELECT kluczOkno FROM T_Okno)"));
    EXPECT_EQ(0, DbCountRows("T_Zam", nullptr,
                             "waga <> (SELECT COUNT(*) FROM T_Okno o WHERE o.kluczZam = T_Zam.kluczZam)"));
    EXPECT_EQ(
        0, DbCountRows("T_Zam", nullptr,
                       "idWalZam <> (SELECT COUNT(*) FROM T_DodatZam d WHERE d.kluczZam = T_Zam.kluczZam)"));
    EXPECT_EQ(0, DbCountRows(
                     "T_Okno", nullptr,
                     "ilOkien <> (SELECT COUNT(*) FROM T_OperRysDb r WHERE r.kluczOkno = T_Okno.kluczOkno)"));
    // The last number belongs to a saved order, or to one deleted later.
    int32_t ostatni = 0, najwyzszy = 0;
    ASSERT_EQ(kDbQueryValue, DbQueryValue("SELECT idZam FROM T_Zmienne", kDbInt32, &ostatni, 4, msg_));
    ASSERT_EQ(kDbQueryValue, DbQueryValue("SELECT MAX(idZam) FROM T_Zam", kDbInt32, &najwyzszy, 4, msg_));
    EXPECT_GE(ostatni, najwyzszy);
    EXPECT_EQ(0, DbCountRows("T_Zam", nullptr, "idZam > (SELECT idZam FROM T_Zmienne)"));
}

#endif  // _WIN32
