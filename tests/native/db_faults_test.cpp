// A statement that really fails in the middle of a save, overwrite or delete
// (a trigger raising an error) leaves the database as it was.
#include <gtest/gtest.h>

#include <inttypes.h>
#include <string.h>

#include <string>

#include "db/connection.h"
#include "db/tables.h"
#include "model/comparison.h"
#include "tests/native/order_patterns.h"
#include "tests/native/testdb.h"

class DbFaultsTest : public DbTest {
protected:
    void SetUp() override {
        // The failures come from SQLite triggers; a server's own are in
        // db_server_test.cpp.
        if (!TestServerConnInfo().empty()) GTEST_SKIP() << "SQLite triggers";
        DbTest::SetUp();
        // One order already stored, which every failure must leave alone.
        Order(&oldOrder_, 1, 2);
        ASSERT_EQ(1, SaveNewOrder(&oldOrder_, &zm_, msg_)) << msg_;
        before_ = Snapshot();
    }
    void TearDown() override {
        FreeOrder(&oldOrder_);
        FreeOrder(&a_);
        FreeOrder(&b_);
        DbTest::TearDown();
    }
    void Order(strZamRob* z, int32_t nr, int okna) {
        InitTestOrder(z, nr, "Piotr Wi\x9cniewski");
        for (int i = 0; i < okna; i++) {
            TestWindow o;
            if (i % 2) WindowWithPanes(o, i, true);
            else WindowWithSash(o);
            AddTestWindow(z, o, "Selvano", 50000 + i);
        }
        AddTestAccessory(z, 0, "Sill", 1);
        AddTestAccessory(z, 1, "Mosquito net", 2);
    }
    // Every row of the four tables and T_Zmienne, as text.
    std::string Snapshot() {
        std::string s;
        const char* q[] = {
            "SELECT group_concat(kluczZam || ':' || idZam || ':' || hex(sDaneUzytk) || uwagi, ';') FROM "
            "T_Zam",
            "SELECT group_concat(kluczOkno || ':' || kluczZam || ':' || nazProfil, ';') FROM T_Okno",
            "SELECT group_concat(kluczOkno || ':' || indeks || ':' || hex(uOperRysDb), ';') FROM T_OperRysDb",
            "SELECT group_concat(kluczZam || ':' || iKolej || ':' || nazwa || hex(wymiar), ';') FROM "
            "T_DodatZam",
            "SELECT idZam || '/' || rok FROM T_Zmienne",
        };
        for (const char* sql : q) {
            static char buf[1 << 16];
            int r = DbQueryValue(sql, kDbText, buf, sizeof buf, nullptr);
            s += r == kDbQueryValue ? buf : "<none>";
            s += "\n";
        }
        return s;
    }
    strZamRob oldOrder_{}, a_{}, b_{};
    strZmienne zm_{0, 2010};
    std::string before_;
};

// The second window of any order refuses to go in.
static const char kSecondWindowTrigger[] =
    "CREATE TRIGGER fail_second BEFORE INSERT ON T_Okno "
    "WHEN (SELECT COUNT(*) FROM T_Okno WHERE kluczZam = NEW.kluczZam) >= 1 "
    "BEGIN SELECT RAISE(%s, 'injected failure'); END;";

TEST_F(DbFaultsTest, SaveNewFailingAtTheSecondWindowLeavesNothingOfThatOrder) {
    for (const char* how : {"ABORT", "FAIL", "ROLLBACK"}) {
        char sql[512];
        snprintf(sql, sizeof sql, kSecondWindowTrigger, how);
        Sql(sql);
        Order(&a_, 2, 3);
        a_.zam.kluczZam = 0;
        strZmienne zm = zm_;
        msg_[0] = 0;
        EXPECT_EQ(0, SaveNewOrder(&a_, &zm, msg_)) << how;
        // A trigger's error is a constraint, not SQLite's generic error: the
        // text names the table without SQLite's own words.
        EXPECT_STREQ("Error of inserting strOkno into the database", msg_) << how;
        EXPECT_EQ(before_, Snapshot()) << how;
        EXPECT_EQ(zm_.idZam, zm.idZam) << how;
        EXPECT_EQ(0, a_.zam.kluczZam) << "the record must not keep a rolled-back key";
        Sql("DROP TRIGGER fail_second;");
        FreeOrder(&a_);
    }
    // The connection is usable afterwards and the next save takes fresh keys.
    Order(&a_, 2, 3);
    ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
    EXPECT_EQ(2, zm_.idZam);
    ASSERT_EQ(1, LoadOrder(a_.zam.kluczZam, &b_, msg_)) << msg_;
    EXPECT_EQ(1, OrderUnchanged(&a_, &b_));
}

TEST_F(DbFaultsTest, SaveNewFailingAtTheLastNumberLeavesNothing) {
    Sql("CREATE TRIGGER fail_nr BEFORE UPDATE ON T_Zmienne BEGIN SELECT RAISE(ABORT, 'no'); END;");
    Order(&a_, 2, 2);
    strZmienne zm = zm_;
    EXPECT_EQ(0, SaveNewOrder(&a_, &zm, msg_));
    EXPECT_EQ(0, strncmp(msg_, "Error of updating T_Zmienne table in the database", 49)) << msg_;
    EXPECT_EQ(before_, Snapshot());
    EXPECT_EQ(zm_.idZam, zm.idZam);
}

TEST_F(DbFaultsTest, OverwriteFailingAtTheSecondWindowKeepsTheStoredOrder) {
    char sql[512];
    snprintf(sql, sizeof sql, kSecondWindowTrigger, "ABORT");
    Sql(sql);
    ASSERT_EQ(1, CopyOrder(&a_, &oldOrder_, msg_)) << msg_;
    strcpy(a_.zam.uwagi, "Changed and not saved");
    EXPECT_EQ(0, OverwriteOrder(&a_, msg_));
    EXPECT_STREQ("Error of inserting strOkno into the database", msg_);
    EXPECT_EQ(before_, Snapshot());
    ASSERT_EQ(1, LoadOrder(oldOrder_.zam.kluczZam, &b_, msg_)) << msg_;
    EXPECT_EQ(1, OrderUnchanged(&oldOrder_, &b_));
}

TEST_F(DbFaultsTest, OverwriteFailingAtTheRowKeepsTheChildren) {
    Sql("CREATE TRIGGER fail_row BEFORE UPDATE ON T_Zam BEGIN SELECT RAISE(ABORT, 'no'); END;");
    ASSERT_EQ(1, CopyOrder(&a_, &oldOrder_, msg_)) << msg_;
    EXPECT_EQ(0, OverwriteOrder(&a_, msg_));
    EXPECT_EQ(0, strncmp(msg_, "Error of updating strZam in the database", 40)) << msg_;
    EXPECT_EQ(before_, Snapshot());
}

TEST_F(DbFaultsTest, DeleteFailingAtEachStepKeepsTheWholeOrder) {
    const char* triggers[] = {
        "CREATE TRIGGER f BEFORE DELETE ON T_DodatZam BEGIN SELECT RAISE(ABORT, 'no'); END;",
        "CREATE TRIGGER f BEFORE DELETE ON T_OperRysDb BEGIN SELECT RAISE(ABORT, 'no'); END;",
        "CREATE TRIGGER f BEFORE DELETE ON T_Okno BEGIN SELECT RAISE(ABORT, 'no'); END;",
        "CREATE TRIGGER f BEFORE DELETE ON T_Zam BEGIN SELECT RAISE(ROLLBACK, 'no'); END;",
    };
    for (const char* t : triggers) {
        Sql(t);
        EXPECT_EQ(0, DeleteOrder(oldOrder_.zam.kluczZam, msg_)) << t;
        EXPECT_EQ(0, strncmp(msg_, "Error of SQL command\r\n", 22)) << msg_;
        EXPECT_EQ(before_, Snapshot()) << t;
        Sql("DROP TRIGGER f;");
    }
    ASSERT_EQ(1, DeleteOrder(oldOrder_.zam.kluczZam, msg_)) << msg_;
    EXPECT_EQ(0, DbCountRows("T_Zam", nullptr, nullptr) + DbCountRows("T_Okno", nullptr, nullptr) +
                     DbCountRows("T_OperRysDb", nullptr, nullptr) +
                     DbCountRows("T_DodatZam", nullptr, nullptr));
}

TEST_F(DbFaultsTest, TransactionThatCannotBeginChangesNothing) {
    Sql("BEGIN TRANSACTION outer_one;");
    Order(&a_, 2, 1);
    EXPECT_EQ(0, SaveNewOrder(&a_, &zm_, msg_));
    EXPECT_EQ(0, strncmp(msg_, "Error of opening a database transaction\r\n", 41)) << msg_;
    Sql("ROLLBACK TRANSACTION outer_one;");
    EXPECT_EQ(before_, Snapshot());
    EXPECT_EQ(1, zm_.idZam);
}
