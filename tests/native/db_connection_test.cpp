// The connection: opening and the version check, single-value queries, row
// counts, named transactions, the last order number and the SQL functions.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "db/connection.h"
#include "db/newdb.h"
#include "db/records.h"
#include "tests/native/testdb.h"

// ---- Opening and the version check ----------------------------------------

class DbOpenTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        path_ = Path("open.db");
        ASSERT_EQ(1, DbCreateFile(path_.c_str(), 2010, msg_)) << msg_;
    }
    void TearDown() override {
        DbClose();
        TempDirTest::TearDown();
    }
    // Damages the file with `sql`, then tries to open it.
    int OpenAfter(const char* sql) {
        RawSql(path_, sql);
        return DbOpen(path_.c_str(), msg_);
    }
    std::string path_;
    char msg_[2048] = {};
};

TEST_F(DbOpenTest, NewDatabaseOpens) {
    EXPECT_EQ(1, DbOpen(path_.c_str(), msg_)) << msg_;
    EXPECT_NE(nullptr, DbHandle());
}

TEST_F(DbOpenTest, MissingFileIsCreatedEmptyAndRefused) {
    std::string missing = Path("missing.db");
    EXPECT_EQ(0, DbOpen(missing.c_str(), msg_));
    EXPECT_STREQ("Wrong content of the database (T_WerBaza)", msg_);
    EXPECT_EQ(nullptr, DbHandle());
}

TEST_F(DbOpenTest, VersionTableWithoutRowIsRefused) {
    EXPECT_EQ(0, OpenAfter("DELETE FROM T_WerBaza;"));
    EXPECT_STREQ("Wrong content of the database (T_WerBaza)", msg_);
    EXPECT_EQ(nullptr, DbHandle());
}

TEST_F(DbOpenTest, VersionTableWithTwoRowsIsRefused) {
    EXPECT_EQ(0, OpenAfter("INSERT INTO T_WerBaza VALUES ('1-8');"));
    EXPECT_STREQ("Wrong content of the database (T_WerBaza)", msg_);
    EXPECT_EQ(nullptr, DbHandle());
}

TEST_F(DbOpenTest, NullVersionIsRefused) {
    EXPECT_EQ(0, OpenAfter("UPDATE T_WerBaza SET werBaza = NULL;"));
    EXPECT_STREQ("Wrong content of the database (T_WerBaza)", msg_);
    EXPECT_EQ(nullptr, DbHandle());
}

TEST_F(DbOpenTest, OlderVersionIsNamed) {
    EXPECT_EQ(0, OpenAfter("UPDATE T_WerBaza SET werBaza = '1-7';"));
    EXPECT_STREQ(
        "Incorrect version of the database !\r\nProgram works with version 1-8,\r\n"
        "and the database has version 1-7",
        msg_);
    EXPECT_EQ(nullptr, DbHandle());
}

TEST_F(DbOpenTest, VersionWithTrailingBlankIsAnotherVersion) {
    EXPECT_EQ(0, OpenAfter("UPDATE T_WerBaza SET werBaza = '1-8 ';"));
    EXPECT_STREQ(
        "Incorrect version of the database !\r\nProgram works with version 1-8,\r\n"
        "and the database has version 1-8 ",
        msg_);
}

TEST_F(DbOpenTest, OverlongVersionTextStaysInsideItsBuffer) {
    EXPECT_EQ(0, OpenAfter("UPDATE T_WerBaza SET werBaza = '1-8-and-a-very-long-tail-of-text';"));
    EXPECT_NE(nullptr, strstr(msg_, "and the database has version 1-8-and-a-ver"));
}

TEST_F(DbOpenTest, VariablesTableMustHoldOneRow) {
    EXPECT_EQ(0, OpenAfter("INSERT INTO T_Zmienne VALUES (5, 2011);"));
    EXPECT_STREQ("Wrong content of database variables (T_Zmienne)", msg_);
    EXPECT_EQ(nullptr, DbHandle());
    EXPECT_EQ(0, OpenAfter("DELETE FROM T_Zmienne;"));
    EXPECT_STREQ("Wrong content of database variables (T_Zmienne)", msg_);
}

TEST_F(DbOpenTest, CreateRefusesAnExistingFile) {
    EXPECT_EQ(0, DbCreateFile(path_.c_str(), 2011, msg_));
    // The existing database is untouched and still opens with its year.
    ASSERT_EQ(1, DbOpen(path_.c_str(), msg_)) << msg_;
    int32_t year = 0;
    EXPECT_EQ(kDbQueryValue, DbQueryValue("SELECT rok FROM T_Zmienne", kDbInt32, &year, 4, msg_));
    EXPECT_EQ(2010, year);
}

// ---- Single-value queries and counts ---------------------------------------

class DbQueryTest : public DbTest {};

TEST_F(DbQueryTest, IntegerKinds) {
    int32_t i32 = -1;
    EXPECT_EQ(kDbQueryValue, DbQueryValue("SELECT 2147483647", 0, &i32, 4, msg_));
    EXPECT_EQ(2147483647, i32);
    for (int kind : {1, 2}) {
        int64_t i64 = 0;
        EXPECT_EQ(kDbQueryValue, DbQueryValue("SELECT 9000000000123", kind, &i64, 8, msg_));
        EXPECT_EQ(9000000000123LL, i64);
    }
    // An integer kind reads NULL as 0 and calls it a value.
    int64_t v = 7;
    EXPECT_EQ(kDbQueryValue, DbQueryValue("SELECT NULL", kDbInt64, &v, 8, msg_));
    EXPECT_EQ(0, v);
}

TEST_F(DbQueryTest, TextKinds) {
    for (int kind : {3, 4, 5}) {
        char buf[8];
        memset(buf, 'x', sizeof buf);
        EXPECT_EQ(kDbQueryValue, DbQueryValue("SELECT 'abc'", kind, buf, sizeof buf, msg_));
        EXPECT_STREQ("abc", buf);
    }
    // A longer text is cut and terminated inside the destination.
    char small[4];
    EXPECT_EQ(kDbQueryValue, DbQueryValue("SELECT 'abcdefgh'", kDbText, small, 4, msg_));
    EXPECT_STREQ("abc", small);
}

TEST_F(DbQueryTest, BlobKinds) {
    KV_FILE_ONLY();  // SQLite's own SQL
    unsigned char buf[4] = {9, 9, 9, 9};
    EXPECT_EQ(kDbQueryValue, DbQueryValue("SELECT x'0102'", kDbBlob, buf, 4, msg_));
    // The blob fills the start; the rest of the destination is cleared.
    EXPECT_EQ(1, buf[0]);
    EXPECT_EQ(2, buf[1]);
    EXPECT_EQ(0, buf[2]);
    unsigned char cut[2];
    EXPECT_EQ(kDbQueryValue, DbQueryValue("SELECT x'0A0B0C0D'", 7, cut, 2, msg_));
    EXPECT_EQ(0x0A, cut[0]);
    EXPECT_EQ(0x0B, cut[1]);
}

TEST_F(DbQueryTest, NullTextOrBlobZeroFills) {
    char text[6];
    memset(text, 'x', sizeof text);
    EXPECT_EQ(kDbQueryNull, DbQueryValue("SELECT NULL", kDbText, text, sizeof text, msg_));
    for (char c : text) EXPECT_EQ(0, c);
    unsigned char blob[3] = {1, 1, 1};
    EXPECT_EQ(kDbQueryNull, DbQueryValue("SELECT NULL", kDbBlob, blob, 3, msg_));
    EXPECT_EQ(0, blob[0] | blob[1] | blob[2]);
}

TEST_F(DbQueryTest, NoRowZeroFillsAndSaysSo) {
    char text[5] = "abcd";
    EXPECT_EQ(kDbQueryNoRow, DbQueryValue("SELECT nazwa FROM T_ZstOkucie", kDbText, text, sizeof text, msg_));
    EXPECT_STREQ("An SQL command has returned no result", msg_);
    for (char c : text) EXPECT_EQ(0, c);
}

TEST_F(DbQueryTest, BadStatementIsAnError) {
    int64_t v;
    EXPECT_EQ(kDbQueryError, DbQueryValue("SELECT FROM nowhere", kDbInt64, &v, 8, msg_));
    EXPECT_EQ(0, strncmp(msg_, "Error of SQL command\r\n", 22)) << msg_;
    // No message buffer: still an error, nothing written anywhere.
    EXPECT_EQ(kDbQueryError, DbQueryValue("SELECT FROM nowhere", kDbInt64, &v, 8, nullptr));
}

TEST_F(DbQueryTest, CountRows) {
    EXPECT_EQ(1, DbCountRows("T_Zmienne", nullptr, nullptr));
    EXPECT_EQ(0, DbCountRows("T_Zam", nullptr, nullptr));
    Sql("INSERT INTO T_ZstKolor VALUES ('WHITE', 0), ('OAK', 1), (NULL, 2);");
    EXPECT_EQ(3, DbCountRows("T_ZstKolor", nullptr, nullptr));
    EXPECT_EQ(2, DbCountRows("T_ZstKolor", "nazwa", nullptr));
    EXPECT_EQ(1, DbCountRows("T_ZstKolor", nullptr, "typ = 1"));
    // A missing table counts as none rather than failing.
    EXPECT_EQ(0, DbCountRows("T_NoSuchTable", nullptr, nullptr));
}

// ---- Transactions and the last order number --------------------------------

class DbTransactionTest : public DbTest {};

TEST_F(DbTransactionTest, CommitKeepsAndRollbackDrops) {
    ASSERT_EQ(1, DbBegin(kTrSaveOrder, msg_)) << msg_;
    Sql("INSERT INTO T_ZstOkucie VALUES ('KEPT');");
    ASSERT_EQ(1, DbCommit(kTrSaveOrder, msg_)) << msg_;
    ASSERT_EQ(1, DbBegin(kTrDeleteOrder, msg_)) << msg_;
    Sql("INSERT INTO T_ZstOkucie VALUES ('DROPPED');");
    ASSERT_EQ(1, DbRollback(kTrDeleteOrder, msg_)) << msg_;
    EXPECT_EQ(1, DbCountRows("T_ZstOkucie", nullptr, nullptr));
    EXPECT_EQ(1, DbCountRows("T_ZstOkucie", nullptr, "nazwa = 'KEPT'"));
}

TEST_F(DbTransactionTest, FailuresAreReported) {
    EXPECT_EQ(0, DbCommit(kTrOverwriteOrder, msg_));
    EXPECT_EQ(0, strncmp(msg_, "Error of commiting a database transaction\r\n", 43)) << msg_;
    EXPECT_EQ(0, DbRollback(kTrOverwriteOrder, msg_));
    EXPECT_EQ(0, strncmp(msg_, "Error of rollbacking transaction in the database\r\n", 50)) << msg_;
    ASSERT_EQ(1, DbBegin(kTrOverwriteOrder, msg_));
    EXPECT_EQ(0, DbBegin(kTrOverwriteOrder, msg_));  // transactions never nest
    EXPECT_EQ(0, strncmp(msg_, "Error of opening a database transaction\r\n", 41)) << msg_;
    EXPECT_EQ(1, DbRollback(kTrOverwriteOrder, nullptr));
}

TEST_F(DbTransactionTest, SaveLastOrderNumber) {
    ASSERT_EQ(1, DbSaveLastOrderNumber(41, msg_)) << msg_;
    int32_t n = 0;
    ASSERT_EQ(kDbQueryValue, DbQueryValue("SELECT idZam FROM T_Zmienne", kDbInt32, &n, 4, msg_));
    EXPECT_EQ(41, n);
    Sql("DROP TABLE T_Zmienne;");
    EXPECT_EQ(0, DbSaveLastOrderNumber(42, msg_));
    EXPECT_EQ(0, strncmp(msg_, "Error of updating T_Zmienne table in the database\r\n", 51)) << msg_;
}

// ---- SQL functions -------------------------------------------------------

class DbFunctionTest : public DbTest {
protected:
    // The functions belong to the file's connection; a server's search has
    // its own form (DbOrdersTest).
    void SetUp() override {
        if (!TestServerConnInfo().empty()) GTEST_SKIP() << "SQLite's functions";
        DbTest::SetUp();
    }
    // The single text result of `sql`, or "<NULL>" / "<ERROR>".
    std::string Text(const char* sql) {
        char buf[128];
        int r = DbQueryValue(sql, kDbText, buf, sizeof buf, msg_);
        if (r == kDbQueryNull) return "<NULL>";
        if (r != kDbQueryValue) return "<ERROR>";
        return buf;
    }
    int64_t Int(const char* sql, int* outcome = nullptr) {
        int64_t v = -99;
        int r = DbQueryValue(sql, kDbInt64, &v, 8, msg_);
        if (outcome) *outcome = r;
        return v;
    }
};

TEST_F(DbFunctionTest, OrderNumberIsComposedAndUpperCased) {
    // Seller's data blob with the abbreviation "ab" at byte 256.
    Sql("CREATE TABLE S (d BLOB);"
        "INSERT INTO S VALUES (CAST(zeroblob(256) || 'ab' || zeroblob(526) AS BLOB));");
    EXPECT_EQ("7-AB-2010", Text("SELECT SQL_ZLOZ_NR_ZAM(7, d, 2010) FROM S"));
    EXPECT_EQ("12-AB- 999", Text("SELECT SQL_ZLOZ_NR_ZAM(12, d, 999) FROM S"));
    EXPECT_EQ("3-AB-   5", Text("SELECT SQL_ZLOZ_NR_ZAM(3, d, 5) FROM S"));
}

TEST_F(DbFunctionTest, OrderNumberOfTheSettingsSeller) {
    // The default seller's abbreviation is QW.
    EXPECT_EQ("12-QW-2010", Text("SELECT SQL_ZLOZ_NR_ZAM(12, sDaneUzytk, 2010) FROM T_UstUzytk"));
}

TEST_F(DbFunctionTest, OrderNumberRefusesShortOrMissingSellerData) {
    EXPECT_EQ("<NULL>", Text("SELECT SQL_ZLOZ_NR_ZAM(1, NULL, 2010)"));
    EXPECT_EQ("<NULL>", Text("SELECT SQL_ZLOZ_NR_ZAM(1, zeroblob(271), 2010)"));
    EXPECT_EQ("<NULL>", Text("SELECT SQL_ZLOZ_NR_ZAM(1, 'text', 2010)"));
    // An abbreviation without terminator is read within its 16 bytes.
    EXPECT_EQ("1-AAAAAAAAAAAAAAA-2010",
              Text("SELECT SQL_ZLOZ_NR_ZAM(1, CAST(zeroblob(256) || printf('%.16c', 'a') AS BLOB), "
                   "2010)"));
}

TEST_F(DbFunctionTest, AssemblyModesFromTheSettingsBlob) {
    // A settings blob with the flags word 0x0000000E at byte 868.
    Sql("CREATE TABLE B (d BLOB);"
        "INSERT INTO B VALUES (CAST(zeroblob(868) || x'0E000000' || zeroblob(200) AS BLOB));");
    EXPECT_EQ(2, Int("SELECT SQL_MONT_ZAM(d) FROM B"));
    EXPECT_EQ(12, Int("SELECT SQL_DEMONT_ZAM(d) FROM B"));
}

TEST_F(DbFunctionTest, AssemblyModesRefuseShortBlobs) {
    int outcome = 0;
    for (const char* sql :
         {"SELECT SQL_MONT_ZAM(NULL)", "SELECT SQL_MONT_ZAM(zeroblob(871))", "SELECT SQL_DEMONT_ZAM(NULL)",
          "SELECT SQL_DEMONT_ZAM(zeroblob(871))", "SELECT SQL_DEMONT_ZAM(42)"}) {
        SCOPED_TRACE(sql);
        EXPECT_EQ(0, Int(sql, &outcome));
        EXPECT_EQ(kDbQueryValue, outcome);  // NULL, read by the integer kind as 0
        char t[8];
        const std::string text = std::string(sql) + " IS NULL";
        EXPECT_EQ(kDbQueryValue, DbQueryValue(text.c_str(), kDbText, t, sizeof t, msg_));
        EXPECT_STREQ("1", t);
    }
    // The exact length is enough.
    EXPECT_EQ(0, Int("SELECT SQL_MONT_ZAM(zeroblob(872))", &outcome));
    char t[8];
    EXPECT_EQ(kDbQueryValue, DbQueryValue("SELECT SQL_MONT_ZAM(zeroblob(872)) IS NULL", kDbText, t, 8, msg_));
    EXPECT_STREQ("0", t);
}
