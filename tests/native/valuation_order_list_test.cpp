// The order list's data path over a database written by the program's own
// save path.
#include <gtest/gtest.h>

#include <inttypes.h>
#include <stdio.h>

#include <random>
#include <string>
#include <vector>

#include "db/orders.h"
#include "tests/native/sample_orders.h"
#include "tests/native/testdb.h"
#include "model/operations.h"
#include "util/heap.h"
#include "util/msgbuf.h"
#include "valuation/order_list.h"
#include "valuation/valuation.h"

namespace {

struct Widziane {
    std::vector<int64_t> klucze;
    std::vector<strSumyZam> sumy;
    size_t stop = SIZE_MAX;  // stop after this many
};

bool Zbierz(const strZamRob* z, void* ctx) {
    Widziane* w = (Widziane*)ctx;
    w->klucze.push_back(z->zam.kluczZam);
    w->sumy.push_back(z->sumy);
    return w->klucze.size() < w->stop;
}

class OrderList : public DbTest {
protected:
    int64_t Store(int32_t okien, int32_t dodatkow, int32_t status) {
        int64_t k = SaveTestOrder(okien, dodatkow, status, msg_);
        EXPECT_NE(0, k) << msg_;
        return k;
    }
    std::vector<int64_t> Klucze(int32_t filtr) {
        Widziane w;
        EXPECT_EQ(1, ListOrders(filtr, Zbierz, &w, msg_)) << msg_;
        return w.klucze;
    }
};

TEST_F(OrderList, EveryOrderOrOneStatusInKeyOrder) {
    EXPECT_TRUE(Klucze(0).empty());
    const int64_t a = Store(1, 0, 2);
    const int64_t b = Store(0, 1, 0);
    const int64_t c = Store(2, 2, 2);
    const int64_t d = Store(1, 0, -1);
    const int64_t e = Store(1, 0, 6);
    // Keys out of insertion order: the list follows the key.
    char sql[128];
    snprintf(sql, sizeof sql, "UPDATE T_Zam SET kluczZam = 1000 WHERE kluczZam = %" PRId64 ";", a);
    Sql(sql);
    EXPECT_EQ((std::vector<int64_t>{b, c, d, e, 1000}), Klucze(0));
    EXPECT_EQ((std::vector<int64_t>{c, 1000}), Klucze(2));
    EXPECT_EQ((std::vector<int64_t>{e}), Klucze(6));
    EXPECT_TRUE(Klucze(5).empty());
    // Only 1-6 select a status; anything else lists everything.
    EXPECT_EQ(5u, Klucze(-1).size());
    EXPECT_EQ(5u, Klucze(7).size());
}

TEST_F(OrderList, EachOrderComesValued) {
    const int64_t k = Store(2, 3, 0);
    Widziane w;
    ASSERT_EQ(1, ListOrders(0, Zbierz, &w, msg_)) << msg_;
    ASSERT_EQ(1u, w.sumy.size());
    const strSumyZam& s = w.sumy[0];
    // Windows 1000,00 x 1 and 1100,00 x 2; accessories 25,50 x 2 each.
    EXPECT_EQ(320000, s.oknaNetto);
    EXPECT_EQ(15300, s.dodatNetto);
    EXPECT_EQ(17400u, s.dlugoscRam);  // 2 * (1500 + 1400) * 3
    // The same as the order loaded and fully recomputed by hand.
    strZamRob z;
    ASSERT_EQ(1, LoadOrder(k, &z, msg_)) << msg_;
    RecomputeOrder(&z, 0x3FF);
    EXPECT_EQ(z.sumy.zamBrutto, s.zamBrutto);
    EXPECT_EQ(z.sumy.zamNetto, s.zamNetto);
    EXPECT_EQ(z.sumy.montBrutto, s.montBrutto);
    EXPECT_NE(0, s.zamBrutto);
    FreeAndZeroOrder(&z);
}

TEST_F(OrderList, CallbackStopsTheWalk) {
    for (int i = 0; i < 4; i++) Store(1, 0, 0);
    Widziane w;
    w.stop = 2;
    EXPECT_EQ(1, ListOrders(0, Zbierz, &w, msg_));
    EXPECT_EQ(2u, w.klucze.size());
}

TEST_F(OrderList, TheWholePassStopsAtTheFirstOrderThatDoesNotLoadTheTotalsPassListsIt) {
    const int64_t a = Store(1, 0, 0);
    const int64_t b = Store(1, 0, 0);
    Store(1, 0, 0);
    // Element 3 of b's window becomes a second frame.
    char sql[256];
    snprintf(sql, sizeof sql,
             "UPDATE T_OperRysDb SET uOperRysDb = %s WHERE indeks = 3 AND kluczOkno IN "
             "(SELECT kluczOkno FROM T_Okno WHERE kluczZam = %" PRId64 ");",
             OnServer() ? "decode(repeat('00', 152), 'hex')" : "zeroblob(152)", b);
    Sql(sql);
    char oczek[KV_MSG_LEN];
    strZamRob z;
    ASSERT_EQ(0, LoadOrder(b, &z, oczek));
    Widziane w;
    EXPECT_EQ(0, ListOrders(0, Zbierz, &w, msg_));
    EXPECT_STREQ(oczek, msg_);
    EXPECT_EQ((std::vector<int64_t>{a}), w.klucze);
    // The register's pass reads the frames alone: it lists all three, and the
    // damage shows when b is opened.
    Widziane all;
    EXPECT_EQ(1, ListOrders(0, Zbierz, &all, msg_, kListTotals)) << msg_;
    EXPECT_EQ(3u, all.klucze.size());
}

TEST_F(OrderList, QueryErrors) {
    Store(1, 0, 0);
    Sql("ALTER TABLE T_Zam RENAME TO T_ZamX;");
    Widziane w;
    EXPECT_EQ(0, ListOrders(0, Zbierz, &w, msg_));
    EXPECT_EQ(0u, w.klucze.size());
    EXPECT_EQ(std::string("Error of reading orders from the database\r\n") +
                  (OnServer() ? "relation \"t_zam\" does not exist" : "no such table: T_Zam"),
              msg_);
}

// An order as bytes: its columns, each window's columns and operations
// (their derived geometry included), each accessory, and its totals.
std::string Bytes(const strZamRob& z) {
    auto add = [](std::string* s, const void* p, size_t n) { s->append((const char*)p, n); };
    std::string s;
    add(&s, &z.zam, offsetof(strZam, liczbaOkien));
    for (int32_t i = 0; i < z.zam.liczbaOkien; i++) {
        const strOkno& o = z.zam.okna[i];
        add(&s, &o, offsetof(strOkno, oper));
        add(&s, o.oper, (size_t)o.liczbaOper * sizeof(uniOperRys));
    }
    add(&s, z.zam.dodatki, (size_t)z.zam.liczbaDodat * sizeof(strDodatZam));
    add(&s, &z.sumy, sizeof z.sumy);
    return s;
}

bool Keep(const strZamRob* z, void* ctx) {
    ((std::vector<std::string>*)ctx)->push_back(Bytes(*z));
    return true;
}

// What the pass that reads only the frames must agree on: the order's
// fields and its totals.
std::string TotalsBytes(const strZamRob& z) {
    return std::string((const char*)&z.zam, offsetof(strZam, liczbaOkien)) +
           std::string((const char*)&z.sumy, sizeof z.sumy);
}

bool KeepTotals(const strZamRob* z, void* ctx) {
    ((std::vector<std::string>*)ctx)->push_back(TotalsBytes(*z));
    return true;
}

int KeyOf(int64_t key, void* ctx, char*) {
    ((std::vector<int64_t>*)ctx)->push_back(key);
    return kDbWalkNext;
}

// Two thousand random orders: windows of random sizes, prices and
// quantities, accessories, discounts, VAT rates, assembly and disassembly
// by size or fixed, currencies other than the program's, every status and
// -1, orders without windows or accessories; a third of them corrected, so
// that their windows' keys come after those of later orders. For every
// filter the pass hands out exactly what one load per order gives, totals
// included.
TEST_F(OrderList, ThePassGivesWhatALoadPerOrderGives) {
    std::mt19937 rng(20261210);
    auto pick = [&](int n) { return (int)(rng() % (unsigned)n); };
    std::vector<int64_t> keys;
    for (int i = 0; i < 2000; i++) keys.push_back(Store(pick(4), pick(4), pick(8) - 1));
    for (int64_t key : keys) {
        if (pick(3)) continue;
        strZamRob z;
        ASSERT_EQ(1, LoadOrder(key, &z, msg_)) << msg_;
        strWycenZamParam& p = z.zam.sWycenZamParam;
        p.rabat = pick(40);
        p.cenaMont = pick(100000);
        p.cenaDemont = pick(100000);
        p.vatOkna = pick(2500);
        p.vatDodat = pick(2500);
        p.vatMont = pick(2500);
        p.flagi = pick(3) | (pick(3) << 2);
        z.zam.idWalZam = pick(20);
        for (int32_t i = 0; i < z.zam.liczbaOkien; i++) {
            strOkno& o = z.zam.okna[i];
            o.cenaZReki = (int64_t)pick(1000000) * 37 - 5000000;
            o.ilOkien = 1 + pick(999);
            o.oper[0].rama.x1 = 1500 + pick(800);
        }
        ASSERT_EQ(1, OverwriteOrder(&z, msg_)) << msg_;
        FreeAndZeroOrder(&z);
    }
    for (int32_t filter = 0; filter <= kStatusCount; filter++) {
        SCOPED_TRACE(filter);
        std::vector<std::string> pass, loads, totalsPass, totalsLoads;
        ASSERT_EQ(1, ListOrders(filter, Keep, &pass, msg_)) << msg_;
        ASSERT_EQ(1, ListOrders(filter, KeepTotals, &totalsPass, msg_, kListTotals)) << msg_;
        std::vector<int64_t> inOrder;
        ASSERT_EQ(1, DbWalkOrderKeys(filter, KeyOf, &inOrder, msg_)) << msg_;
        for (int64_t key : inOrder) {
            strZamRob z;
            ASSERT_EQ(1, LoadOrder(key, &z, msg_)) << msg_;
            RecomputeOrder(&z, kRecomputeAll);
            loads.push_back(Bytes(z));
            totalsLoads.push_back(TotalsBytes(z));
            FreeAndZeroOrder(&z);
        }
        ASSERT_EQ(loads.size(), pass.size());
        size_t differ = 0;
        for (size_t i = 0; i < loads.size(); i++) differ += loads[i] != pass[i];
        EXPECT_EQ(0u, differ) << "of " << loads.size() << " orders";
        EXPECT_TRUE(totalsLoads == totalsPass) << "the pass of the frames alone differs";
        if (filter == 0) {
            EXPECT_EQ(keys.size(), pass.size());
        }
    }
}

}  // namespace
