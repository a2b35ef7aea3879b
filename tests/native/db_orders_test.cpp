// Whole orders: load, save new, overwrite, delete, status; copy, equality and
// release of working records; the new order's two initialisation steps.
#include <gtest/gtest.h>

#include <inttypes.h>
#include <stdio.h>
#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/newdb.h"
#include "db/tables.h"
#include "model/comparison.h"
#include "tests/native/order_patterns.h"
#include "tests/native/testdb.h"
#include "tools/mkdb/demo.h"
#include "util/heap.h"
#include "util/kvutil.h"
#include "util/platform.h"

class DbOrdersTest : public DbTest {
protected:
    void TearDown() override {
        FreeOrder(&a_);
        FreeOrder(&b_);
        DbTest::TearDown();
    }
    int64_t Count(const char* table, const char* cond = nullptr) { return DbCountRows(table, nullptr, cond); }
    int32_t LastNumber() {
        strZmienne z{};
        EXPECT_EQ(1, ReadVariables(&z, msg_)) << msg_;
        return z.idZam;
    }
    // Two windows of different kinds, three accessories with 0, 2 and 3 dimensions.
    void Order(strZamRob* z, int32_t nr) {
        InitTestOrder(z, nr, "Anna Kowalczyk");
        TestWindow w1, w2;
        WindowWithSash(w1);
        WindowWithPanes(w2, 2, true);
        AddTestWindow(z, w1, "Norvel Line 70", 48900);
        AddTestWindow(z, w2, "Arvento Classic 82", 61250);
        AddTestAccessory(z, 0, "Window sill", 2);
        AddTestAccessory(z, 1, "Handle", 0);
        AddTestAccessory(z, 2, "Roller blind", 3);
    }
    strZamRob a_{}, b_{};
    strZmienne zm_{0, 2010};
};

// ---- Save new -------------------------------------------------------------

TEST_F(DbOrdersTest, EmptyOrderSavesOneRowAndTheLastNumber) {
    InitTestOrder(&a_, 1, "Jan Nowak");
    ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
    EXPECT_GT(a_.zam.kluczZam, 0);
    EXPECT_EQ(1, Count("T_Zam"));
    EXPECT_EQ(0, Count("T_Okno") + Count("T_OperRysDb") + Count("T_DodatZam"));
    EXPECT_EQ(1, LastNumber());
    EXPECT_EQ(1, zm_.idZam);
    EXPECT_EQ(2010, zm_.rok);
}

TEST_F(DbOrdersTest, WindowsGetConsecutiveKeysAndTheirOperationsCarryThem) {
    InitTestOrder(&a_, 1, "Jan Nowak");
    TestWindow w[3];
    for (int i = 0; i < 3; i++) {
        WindowWithPanes(w[i], i, false);
        AddTestWindow(&a_, w[i], "Profile", 100 * i);
    }
    ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
    const strOkno* o = a_.zam.okna;
    EXPECT_EQ(o[0].kluczOkno + 1, o[1].kluczOkno);
    EXPECT_EQ(o[1].kluczOkno + 1, o[2].kluczOkno);
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(a_.zam.kluczZam, o[i].kluczZam);
        char cond[64];
        snprintf(cond, sizeof cond, "kluczOkno = %" PRId64, o[i].kluczOkno);
        EXPECT_EQ(o[i].liczbaOper, Count("T_OperRysDb", cond)) << i;
        snprintf(cond, sizeof cond, "kluczOkno = %" PRId64 " AND indeks = %d", o[i].kluczOkno,
                 o[i].liczbaOper - 1);
        EXPECT_EQ(1, Count("T_OperRysDb", cond)) << i;
    }
}

TEST_F(DbOrdersTest, WindowWithoutOperationsSavesNoOperationRows) {
    InitTestOrder(&a_, 1, "Jan Nowak");
    TestWindow pusty;
    AddTestWindow(&a_, pusty, "Profile", 0);
    ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
    EXPECT_EQ(1, Count("T_Okno"));
    EXPECT_EQ(0, Count("T_OperRysDb"));
    ASSERT_EQ(1, LoadOrder(a_.zam.kluczZam, &b_, msg_)) << msg_;
    EXPECT_EQ(1, OrderUnchanged(&a_, &b_));
}

// ---- Load -----------------------------------------------------------------

TEST_F(DbOrdersTest, RoundTripKeepsEveryColumnWindowAndAccessory) {
    Order(&a_, 1);
    strcpy(a_.zam.nazwaNabyw, "Caf\xe9 \"Pod Lipami\" Sp. z o.o.");
    a_.zam.sWycenZamParam.cenaMont = 1234567890123LL;
    ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
    b_.flagiWidoku = 4;
    b_.sumy.zamNetto = 99;
    ASSERT_EQ(1, LoadOrder(a_.zam.kluczZam, &b_, msg_)) << msg_;
    EXPECT_EQ(1, OrderUnchanged(&a_, &b_));
    EXPECT_STREQ(a_.zam.nazwaNabyw, b_.zam.nazwaNabyw);
    EXPECT_EQ(1234567890123LL, b_.zam.sWycenZamParam.cenaMont);
    EXPECT_EQ(0, b_.flagiWidoku);
    EXPECT_EQ(0, b_.sumy.zamNetto);
    // Derived values are computed at load, not taken from storage.
    ASSERT_EQ(2, b_.zam.liczbaOkien);
    EXPECT_EQ(930, b_.zam.okna[0].oper[0].rama.wewn.right);
    EXPECT_EQ(12500, b_.zam.dodatki[2].wymiar[0]);
    EXPECT_EQ(14500, b_.zam.dodatki[2].wymiar[2]);
}

TEST_F(DbOrdersTest, LoadOrdersOperationsByIndexAndAccessoriesBySequence) {
    Order(&a_, 1);
    // Accessories kept in the list in another order than their sequence numbers.
    a_.zam.dodatki[0].iKolej = 2;
    a_.zam.dodatki[2].iKolej = 0;
    ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
    // Rewrite the operation rows backwards so the table's own order is wrong.
    Sql("CREATE TEMP TABLE k AS SELECT * FROM T_OperRysDb; DELETE FROM T_OperRysDb;"
        "INSERT INTO T_OperRysDb SELECT * FROM k ORDER BY kluczOkno DESC, indeks DESC;");
    ASSERT_EQ(1, LoadOrder(a_.zam.kluczZam, &b_, msg_)) << msg_;
    for (int32_t i = 0; i < a_.zam.liczbaOkien; i++)
        EXPECT_EQ(1, CompareWindows(&a_.zam.okna[i], &b_.zam.okna[i])) << i;
    ASSERT_EQ(3, b_.zam.liczbaDodat);
    EXPECT_STREQ("Roller blind", b_.zam.dodatki[0].nazwa);
    EXPECT_STREQ("Handle", b_.zam.dodatki[1].nazwa);
    EXPECT_STREQ("Window sill", b_.zam.dodatki[2].nazwa);
}

TEST_F(DbOrdersTest, MissingKeyFailsWithAnEmptyRecord) {
    memset(&b_, 0x5A, sizeof b_);
    b_.zam.okna = nullptr;
    b_.zam.dodatki = nullptr;
    EXPECT_EQ(0, LoadOrder(4711, &b_, msg_));
    EXPECT_STREQ("Error of reading T_Zam table from the database", msg_);
    const strZamRob pusty{};
    EXPECT_EQ(0, memcmp(&pusty, &b_, sizeof b_));
}

TEST_F(DbOrdersTest, WindowThatDoesNotBuildRefusesTheOrderAndFreesEverything) {
    Order(&a_, 1);
    ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
    // An unknown structure format leaves the second window without thicknesses.
    char sql[256];
    snprintf(sql, sizeof sql, "UPDATE T_Okno SET status = 7 WHERE kluczOkno = %" PRId64 ";",
             a_.zam.okna[1].kluczOkno);
    Sql(sql);
    EXPECT_EQ(0, LoadOrder(a_.zam.kluczZam, &b_, msg_));
    EXPECT_STREQ("Wrong definition of the frame", msg_);
    EXPECT_EQ(nullptr, b_.zam.okna);
    EXPECT_EQ(nullptr, b_.zam.dodatki);
    EXPECT_EQ(0, b_.zam.kluczZam);
}

TEST_F(DbOrdersTest, AllocationFailureDuringLoadLeavesNothing) {
    Order(&a_, 1);
    ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
    // Every allocation of a load in turn: accessories, windows, rows, lists, areas.
    int refused = 0;
    for (int n = 1; n < 40; n++) {
        KvHeapFailAt(n);
        int ok = LoadOrder(a_.zam.kluczZam, &b_, msg_);
        KvHeapFailAt(0);
        if (ok) {
            EXPECT_EQ(1, OrderUnchanged(&a_, &b_));
            FreeAndZeroOrder(&b_);
            break;
        }
        refused++;
        EXPECT_NE('\0', msg_[0]) << n;
        EXPECT_EQ(nullptr, b_.zam.okna) << n;
        EXPECT_EQ(nullptr, b_.zam.dodatki) << n;
    }
    EXPECT_GE(refused, 5);
}

// ---- Overwrite, delete, status ----------------------------------------------

TEST_F(DbOrdersTest, OverwriteAfterARemovedWindowKeepsOnlyTheOther) {
    Order(&a_, 1);
    ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
    ASSERT_EQ(1, DeleteWindow(&a_.zam.okna, &a_.zam.liczbaOkien, 0, msg_));
    ASSERT_EQ(1, DeleteAccessory(&a_.zam.dodatki, &a_.zam.liczbaDodat, 1, msg_));
    strcpy(a_.zam.uwagi, "Changed");
    a_.zam.okna[0].kluczOkno = -5;
    ASSERT_EQ(1, OverwriteOrder(&a_, msg_)) << msg_;

    // SQLite may hand a freed key out again; what matters is that the record
    // holds the key the window row has and that only its operations are left.
    ASSERT_EQ(1, Count("T_Okno"));
    int64_t klucz = 0;
    ASSERT_EQ(kDbQueryValue, DbQueryValue("SELECT kluczOkno FROM T_Okno", kDbInt64, &klucz, 8, msg_));
    EXPECT_EQ(klucz, a_.zam.okna[0].kluczOkno);
    char cond[64];
    snprintf(cond, sizeof cond, "kluczOkno = %" PRId64, klucz);
    EXPECT_EQ(a_.zam.okna[0].liczbaOper, Count("T_OperRysDb", cond));
    EXPECT_EQ(a_.zam.okna[0].liczbaOper, Count("T_OperRysDb"));
    EXPECT_EQ(2, Count("T_DodatZam"));
    EXPECT_EQ(1, LastNumber());
    ASSERT_EQ(1, LoadOrder(a_.zam.kluczZam, &b_, msg_)) << msg_;
    EXPECT_EQ(1, OrderUnchanged(&a_, &b_));
}

TEST_F(DbOrdersTest, OverwriteOfADeletedOrderLeavesNoOrphans) {
    Order(&a_, 1);
    ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
    ASSERT_EQ(1, DeleteOrder(a_.zam.kluczZam, msg_)) << msg_;
    EXPECT_EQ(0, OverwriteOrder(&a_, msg_));
    EXPECT_STREQ("Error of updating strZam in the database", msg_);
    EXPECT_EQ(0, Count("T_Okno") + Count("T_OperRysDb") + Count("T_DodatZam") + Count("T_Zam"));
}

TEST_F(DbOrdersTest, DeleteRemovesOnlyThatOrderAndKeepsTheLastNumber) {
    Order(&a_, 1);
    Order(&b_, 2);
    ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
    ASSERT_EQ(1, SaveNewOrder(&b_, &zm_, msg_)) << msg_;
    const int64_t okna = Count("T_Okno"), oper = Count("T_OperRysDb");
    ASSERT_EQ(1, DeleteOrder(b_.zam.kluczZam, msg_)) << msg_;
    EXPECT_EQ(1, Count("T_Zam"));
    EXPECT_EQ(okna / 2, Count("T_Okno"));
    EXPECT_EQ(oper / 2, Count("T_OperRysDb"));
    EXPECT_EQ(3, Count("T_DodatZam"));
    EXPECT_EQ(2, LastNumber());
    strZamRob z{};
    ASSERT_EQ(1, LoadOrder(a_.zam.kluczZam, &z, msg_)) << msg_;
    EXPECT_EQ(1, OrderUnchanged(&a_, &z));
    FreeAndZeroOrder(&z);
}

TEST_F(DbOrdersTest, StatusChangeTouchesOnlyTheStatus) {
    Order(&a_, 1);
    ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
    ASSERT_EQ(1, ChangeOrderStatus(a_.zam.kluczZam, -1, msg_)) << msg_;
    ASSERT_EQ(1, LoadOrder(a_.zam.kluczZam, &b_, msg_)) << msg_;
    EXPECT_EQ(-1, b_.zam.status);
    b_.zam.status = a_.zam.status;
    EXPECT_EQ(1, OrderUnchanged(&a_, &b_));
}

// ---- Copy, equality, release ----------------------------------------------

// Two desks with the same order open: the one that writes second is refused
// whatever it writes, nothing of it stored, until it loads the order again.
// (On a file the two records stand for two windows of one register.)
TEST_F(DbOrdersTest, AWriteOfAnOrderChangedSinceItWasLoadedIsRefused) {
    Order(&a_, 5);
    ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
    const int64_t key = a_.zam.kluczZam;
    FreeAndZeroOrder(&a_);
    ASSERT_EQ(1, LoadOrder(key, &a_, msg_)) << msg_;  // desk A opens it
    ASSERT_EQ(1, LoadOrder(key, &b_, msg_)) << msg_;  // desk B too
    EXPECT_EQ(a_.loadedPrint, b_.loadedPrint);
    strcpy(b_.zam.uwagi, "changed at B");
    ASSERT_EQ(1, OverwriteOrder(&b_, msg_)) << msg_;
    strcpy(b_.zam.uwagi, "B again");  // B's own record follows its writes
    ASSERT_EQ(1, OverwriteOrder(&b_, msg_)) << msg_;

    const std::string refused = "The order 5-QW-2010 was changed at another desk after it was opened: nothing has been written.\r\n";
    strcpy(a_.zam.uwagi, "typed at A");
    const struct {
        const char* what;
        std::function<int()> write;
    } writes[] = {
        {"correction", [&] { return OverwriteOrder(&a_, msg_); }},
        {"status change", [&] { return ChangeLoadedOrderStatus(&a_, 4, msg_); }},
        {"deletion", [&] { return DeleteLoadedOrder(&a_, msg_); }},
    };
    for (const auto& w : writes) {
        SCOPED_TRACE(w.what);
        EXPECT_EQ(0, w.write());
        EXPECT_EQ(0u, std::string(msg_).rfind(refused, 0)) << msg_;
        strZam stored{};
        ASSERT_EQ(1, ReadOrderRow(key, &stored, msg_)) << msg_;
        EXPECT_STREQ("B again", stored.uwagi);
        EXPECT_EQ(b_.zam.status, stored.status);
        EXPECT_STREQ("typed at A", a_.zam.uwagi);  // what A typed is still there
    }
    // Loaded again, A writes; the status change and the deletion go through too.
    FreeAndZeroOrder(&a_);
    ASSERT_EQ(1, LoadOrder(key, &a_, msg_)) << msg_;
    ASSERT_EQ(1, ChangeLoadedOrderStatus(&a_, 4, msg_)) << msg_;
    strcpy(a_.zam.uwagi, "A after reopening");
    ASSERT_EQ(1, OverwriteOrder(&a_, msg_)) << msg_;
    EXPECT_EQ(1, Count("T_Zam", "status = 4"));
    EXPECT_EQ(0, OverwriteOrder(&b_, msg_));  // now B is behind
    ASSERT_EQ(1, DeleteLoadedOrder(&a_, msg_)) << msg_;
    EXPECT_EQ(0, Count("T_Zam") + Count("T_Okno") + Count("T_OperRysDb") + Count("T_DodatZam"));
}

TEST_F(DbOrdersTest, CopyIsDeepAndEqualityNoticesEveryPart) {
    Order(&a_, 1);
    ASSERT_EQ(1, CopyOrder(&b_, &a_, msg_)) << msg_;
    EXPECT_EQ(1, OrderUnchanged(&a_, &b_));
    EXPECT_NE(a_.zam.okna, b_.zam.okna);
    EXPECT_NE(a_.zam.okna[0].oper, b_.zam.okna[0].oper);
    EXPECT_NE(a_.zam.dodatki, b_.zam.dodatki);

    // Bytes after a text's terminator are not stored, so they do not count.
    b_.zam.nazwaNabyw[200] = 'x';
    EXPECT_EQ(1, OrderUnchanged(&a_, &b_));
    b_.zam.okna[1].oper[2].wypeln.typWypeln = 1;
    EXPECT_EQ(0, OrderUnchanged(&a_, &b_));
    b_.zam.okna[1].oper[2].wypeln.typWypeln = a_.zam.okna[1].oper[2].wypeln.typWypeln;
    b_.zam.dodatki[2].wymiar[2]++;
    EXPECT_EQ(0, OrderUnchanged(&a_, &b_));
    b_.zam.dodatki[2].wymiar[2]--;
    b_.zam.sWycenZamParam.rabat = 5;
    EXPECT_EQ(0, OrderUnchanged(&a_, &b_));
    b_.zam.sWycenZamParam.rabat = 0;
    ASSERT_EQ(1, DeleteAccessory(&b_.zam.dodatki, &b_.zam.liczbaDodat, 0, msg_));
    EXPECT_EQ(0, OrderUnchanged(&a_, &b_));
}

TEST_F(DbOrdersTest, FailedCopyLeavesBothListsEmpty) {
    Order(&a_, 1);
    for (int n = 1; n <= 6; n++) {
        KvHeapFailAt(n);
        int ok = CopyOrder(&b_, &a_, msg_);
        KvHeapFailAt(0);
        EXPECT_EQ(0, ok) << n;
        EXPECT_EQ(nullptr, b_.zam.okna);
        EXPECT_EQ(0, b_.zam.liczbaOkien);
        EXPECT_EQ(nullptr, b_.zam.dodatki);
        EXPECT_EQ(0, b_.zam.liczbaDodat);
    }
}

TEST_F(DbOrdersTest, ReleaseAndZeroFill) {
    Order(&a_, 1);
    a_.sumy.zamBrutto = 5;
    FreeOrder(&a_);
    EXPECT_EQ(nullptr, a_.zam.okna);
    EXPECT_EQ(0, a_.zam.liczbaDodat);
    EXPECT_EQ(5, a_.sumy.zamBrutto);
    Order(&a_, 1);
    FreeAndZeroOrder(&a_);
    const strZamRob pusty{};
    EXPECT_EQ(0, memcmp(&pusty, &a_, sizeof a_));
}

// ---- New order and search ---------------------------------------------------

TEST_F(DbOrdersTest, RenumberingAndDefaultsTakeTheirOwnFields) {
    strUstUzytk ust{};
    ASSERT_EQ(1, ReadUserSettings(&ust, msg_)) << msg_;
    ust.czasReal = 21;
    ust.sWycenZamParam = {7, 0, 1500, 900, 800, 2300, 800, 6};
    Order(&a_, 55);
    strcpy(a_.zam.dodOznaczZam, "OLD");
    a_.zam.status = 3;
    const strZamRob przed = a_;
    strZmienne zm{41, 2026};
    RenumberOrder(&a_, &zm, &ust);
    EXPECT_EQ(42, a_.zam.idZam);
    EXPECT_EQ(2026, a_.zam.rok);
    EXPECT_EQ(0, a_.zam.status);
    EXPECT_STREQ("", a_.zam.dodOznaczZam);
    EXPECT_EQ(21, RoznicaDatNap(a_.zam.dataReal, a_.zam.dataZam));
    EXPECT_EQ(0, memcmp(&ust.sDaneUzytk, &a_.zam.sDaneUzytk, sizeof ust.sDaneUzytk));
    EXPECT_EQ(7, a_.zam.sWycenZamParam.rabat);
    EXPECT_EQ(2300, a_.zam.sWycenZamParam.vatDodat);
    // "Edit as new" keeps the currency, prices, modes and the buyer.
    EXPECT_EQ(przed.zam.idWalZam, a_.zam.idWalZam);
    EXPECT_EQ(przed.zam.sWycenZamParam.cenaMont, a_.zam.sWycenZamParam.cenaMont);
    EXPECT_EQ(przed.zam.sWycenZamParam.flagi, a_.zam.sWycenZamParam.flagi);
    EXPECT_STREQ(przed.zam.nazwaNabyw, a_.zam.nazwaNabyw);
    ust.idWalPrg = 3;
    ust.waga = 2500;
    SetOrderDefaults(&a_, &ust);
    EXPECT_EQ(3, a_.zam.idWalZam);
    EXPECT_EQ(2500, a_.zam.waga);
    EXPECT_EQ(1500, a_.zam.sWycenZamParam.cenaMont);
    EXPECT_EQ(900, a_.zam.sWycenZamParam.cenaDemont);
    EXPECT_EQ(6, a_.zam.sWycenZamParam.flagi);
    EXPECT_EQ(7, a_.zam.sWycenZamParam.rabat);
}

TEST_F(DbOrdersTest, SearchByComposedNumberBindsTheText) {
    Order(&a_, 17);
    ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
    int64_t klucz = -1;
    EXPECT_EQ(kDbQueryValue, FindOrderByNumber("17-QW-2010", &klucz, msg_)) << msg_;
    EXPECT_EQ(a_.zam.kluczZam, klucz);
    EXPECT_EQ(kDbQueryNoRow, FindOrderByNumber("18-QW-2010", &klucz, msg_));
    EXPECT_EQ(0, klucz);
    // Typed text that would rewrite a pasted condition finds nothing and breaks nothing.
    EXPECT_EQ(kDbQueryNoRow, FindOrderByNumber("\" OR 1=1 OR \"", &klucz, msg_)) << msg_;
    EXPECT_EQ(kDbQueryNoRow, FindOrderByNumber("' OR '1'='1", &klucz, msg_)) << msg_;

    // Numbers whose abbreviation holds dashes and digits, a year below
    // 1000 and a negative number: each found by its whole text only.
    struct Stored {
        int32_t number, year;
        const char* abbrev;
    } stored[] = {{1, 2010, "2-X"}, {12, 2010, "X"}, {5, 999, "AB"}, {-3, 2010, "N"}, {0, 2010, "0-9"}};
    std::vector<int64_t> keys;
    for (const Stored& s : stored) {
        FreeAndZeroOrder(&a_);
        Order(&a_, s.number);
        a_.zam.rok = s.year;
        snprintf(a_.zam.sDaneUzytk.skrot, sizeof a_.zam.sDaneUzytk.skrot, "%s", s.abbrev);
        ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
        keys.push_back(a_.zam.kluczZam);
    }
    const struct {
        const char* text;
        int found;  // index into stored, or -1
    } searches[] = {{"1-2-X-2010", 0}, {"12-X-2010", 1}, {"12-2-X-2010", -1}, {"5-AB- 999", 2},
                    {"5-AB-999", -1},  {"-3-N-2010", 3},  {"0-0-9-2010", 4},   {"00-0-9-2010", -1},
                    {"1-2-X-02010", -1}};
    for (const auto& s : searches) {
        SCOPED_TRACE(s.text);
        klucz = -1;
        EXPECT_EQ(s.found >= 0 ? kDbQueryValue : kDbQueryNoRow, FindOrderByNumber(s.text, &klucz, msg_)) << msg_;
        EXPECT_EQ(s.found >= 0 ? keys[(size_t)s.found] : 0, klucz);
    }

    // A lower-case, accented abbreviation: found by the text the register
    // upper-cases, with the code page's upper-casing on both backends.
    FreeAndZeroOrder(&a_);
    Order(&a_, 7);
    snprintf(a_.zam.sDaneUzytk.skrot, sizeof a_.zam.sDaneUzytk.skrot, "%s", "qw\xe9");
    ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
    char typed[] = "7-qw\xe9-2010";
    kvplat::UpperCaseAnsi(typed);
    EXPECT_EQ(kDbQueryValue, FindOrderByNumber(typed, &klucz, msg_)) << msg_;
    EXPECT_EQ(a_.zam.kluczZam, klucz);
}

// ---- Demo database ------------------------------------------------------------

TEST_F(DbOrdersTest, DemoOrdersLoadWholeAndFillTheRegisters) {
    DbClose();
    std::string demo = Path("demo.db");
    ASSERT_EQ(1, DbCreateFile(demo.c_str(), 2026, msg_)) << msg_;
    ASSERT_EQ(6, SaveDemoOrders(demo.c_str(), msg_)) << msg_;
    ASSERT_EQ(1, DbOpen(demo.c_str(), msg_)) << msg_;
    EXPECT_EQ(6, LastNumber());
    int statusy = 0, wymiary = 0, rodzaje = 0;
    for (int64_t k = 1; k <= 6; k++) {
        strZamRob z{};
        ASSERT_EQ(1, LoadOrder(k, &z, msg_)) << k << ": " << msg_;
        statusy |= 1 << z.zam.status;
        for (int32_t i = 0; i < z.zam.liczbaDodat; i++) wymiary |= 1 << z.zam.dodatki[i].ilWym;
        for (int32_t i = 0; i < z.zam.liczbaOkien; i++)
            for (int32_t j = 0; j < z.zam.okna[i].liczbaOper; j++) rodzaje |= 1 << z.zam.okna[i].oper[j].typ;
        EXPECT_EQ(12, z.zam.idWalZam);  // EUR
        FreeAndZeroOrder(&z);
    }
    EXPECT_EQ(0x3F, statusy);
    EXPECT_EQ(0xF, wymiary);
    EXPECT_EQ(0x3F, rodzaje);
    // Each name once in its register, whatever number of windows used it.
    EXPECT_EQ(0, DbCountRows("(SELECT upper(nazwa) FROM T_ZstKolor GROUP BY 1 HAVING COUNT(*) > 1)", nullptr,
                             nullptr));
    EXPECT_EQ(2, DbCountRows("T_ZstProfil", nullptr, nullptr));
    EXPECT_EQ(5, DbCountRows("T_ZstDodat", nullptr, nullptr));
}
