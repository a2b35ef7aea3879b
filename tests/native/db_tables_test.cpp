// The table family: the one-row tables read at start-up, status names packed
// in their column, field widths kept on reading and keys written back.
#include <gtest/gtest.h>

#include <string.h>

#include "db/connection.h"
#include "db/newdb.h"
#include "db/tables.h"
#include "tests/native/testdb.h"
#include "util/heap.h"
#include "util/kvutil.h"

class DbTablesTest : public DbTest {};

TEST_F(DbTablesTest, VariablesReadAndUpdate) {
    strZmienne z{};
    ASSERT_EQ(1, ReadVariables(&z, msg_)) << msg_;
    EXPECT_EQ(0, z.idZam);
    EXPECT_EQ(2010, z.rok);
    z = {0, 2011};
    ASSERT_EQ(1, UpdateVariables(&z, msg_)) << msg_;
    strZmienne back{};
    ASSERT_EQ(1, ReadVariables(&back, msg_)) << msg_;
    EXPECT_EQ(0, back.idZam);
    EXPECT_EQ(2011, back.rok);
}

TEST_F(DbTablesTest, SecondVariablesRowNeverOverrunsTheRecord) {
    Sql("INSERT INTO T_Zmienne VALUES (77, 2099);");
    struct {
        strZmienne z;
        int32_t guard[2];
    } r = {{}, {12345, 12345}};
    ASSERT_EQ(1, ReadVariables(&r.z, msg_)) << msg_;
    EXPECT_EQ(12345, r.guard[0]);
    EXPECT_EQ(12345, r.guard[1]);
}

TEST_F(DbTablesTest, DefaultSettingsRoundTrip) {
    strUstUzytk expected;
    DefaultSettings(&expected);
    strUstUzytk u;
    memset(&u, 0x5A, sizeof u);
    u.rezerwa = 0;  // the only bytes that are not a column
    ASSERT_EQ(1, ReadUserSettings(&u, msg_)) << msg_;
    EXPECT_EQ(0, memcmp(&expected, &u, sizeof u));
    EXPECT_STREQ("QW", u.sDaneUzytk.skrot);
    EXPECT_STREQ("IN PRODUCTION", u.stanyZam[1]);
    EXPECT_STREQ("CANCELLED", u.stanyZam[5]);
}

TEST_F(DbTablesTest, StatusNamesPackWithAnEmptySecondName) {
    strUstUzytk u{};
    ASSERT_EQ(1, ReadUserSettings(&u, msg_)) << msg_;
    memset(u.stanyZam, 0, sizeof u.stanyZam);
    strcpy(u.stanyZam[0], "A");
    strcpy(u.stanyZam[2], "CCC");
    strcpy(u.stanyZam[3], "D");
    strcpy(u.stanyZam[4], "E");
    strcpy(u.stanyZam[5], "FF");
    u.sWycenZamParam.flagi = 6;
    ASSERT_EQ(1, UpdateUserSettings(&u, msg_)) << msg_;

    unsigned char blob[64];
    ASSERT_EQ(kDbQueryValue,
              DbQueryValue("SELECT stanyZam FROM T_UstUzytk", kDbBlob, blob, sizeof blob, msg_));
    int64_t len = 0;
    ASSERT_EQ(kDbQueryValue,
              DbQueryValue("SELECT length(stanyZam) FROM T_UstUzytk", kDbInt64, &len, 8, msg_));
    EXPECT_EQ(1 + 0 + 3 + 1 + 1 + 2 + 6, len);
    const unsigned char packed[] = "A\0\0CCC\0D\0E\0FF";
    EXPECT_EQ(0, memcmp(packed, blob, sizeof packed));

    strUstUzytk back{};
    ASSERT_EQ(1, ReadUserSettings(&back, msg_)) << msg_;
    EXPECT_EQ(0, memcmp(&u, &back, sizeof u));
}

TEST_F(DbTablesTest, NullBlobsAndTextsReadAsEmpty) {
    Sql("UPDATE T_UstUzytk SET sDaneUzytk = NULL, sWycenZamParam = NULL, stanyZam = NULL;");
    strUstUzytk u;
    memset(&u, 0x5A, sizeof u);
    ASSERT_EQ(1, ReadUserSettings(&u, msg_)) << msg_;
    const strDaneUzytk zeroSeller{};
    const strWycenZamParam zeroParams{};
    EXPECT_EQ(0, memcmp(&zeroSeller, &u.sDaneUzytk, sizeof zeroSeller));
    EXPECT_EQ(0, memcmp(&zeroParams, &u.sWycenZamParam, sizeof zeroParams));
    for (auto& name : u.stanyZam) EXPECT_STREQ("", name);
}

TEST_F(DbTablesTest, BlobsOfOtherLengthsAreCutOrZeroFilled) {
    KV_FILE_ONLY();  // SQLite's own SQL
    Sql("UPDATE T_UstUzytk SET sWspUw = x'01020304' || zeroblob(100), "
        "sWycenZamParam = x'05';");
    strUstUzytk u;
    memset(&u, 0x5A, sizeof u);
    ASSERT_EQ(1, ReadUserSettings(&u, msg_)) << msg_;
    EXPECT_EQ(0x04030201, u.sWspUw.ufRama);
    EXPECT_EQ(0, u.sWspUw.psiAkryl);
    EXPECT_EQ(5, u.sWycenZamParam.rabat);
    EXPECT_EQ(0, u.sWycenZamParam.flagi);
}

TEST_F(DbTablesTest, OverlongStatusNamesAreCutToTheirSlots) {
    KV_FILE_ONLY();  // SQLite's own SQL
    // One stored name longer than its 32-byte slot, and no final terminator.
    Sql("UPDATE T_UstUzytk SET stanyZam = CAST(printf('%.40c', 'x') AS BLOB) || x'00' || "
        "CAST('NEXT' AS BLOB);");
    strUstUzytk u;
    ASSERT_EQ(1, ReadUserSettings(&u, msg_)) << msg_;
    EXPECT_EQ(31u, strlen(u.stanyZam[0]));
    EXPECT_STREQ("NEXT", u.stanyZam[1]);
    EXPECT_STREQ("", u.stanyZam[2]);
}

TEST_F(DbTablesTest, OverlongTextsAreCutToTheirFields) {
    KV_FILE_ONLY();  // SQLite's own SQL
    Sql("INSERT INTO T_ZstDodat VALUES (printf('%.300c', 'n'), 2, printf('%.50c', 'u'));");
    void* recs = nullptr;
    ASSERT_EQ(1, TblCountRead(kTabZstDodat, &recs, nullptr, nullptr, msg_)) << msg_;
    const strZstDodat* d = (const strZstDodat*)recs;
    EXPECT_EQ(127u, strlen(d->nazwa));
    EXPECT_EQ(31u, strlen(d->jm));
    EXPECT_EQ(2, d->ilWym);
    KvFree(recs);
}

TEST_F(DbTablesTest, CountAndReadOfAnEmptyTableAllocatesNothing) {
    void* recs = (void*)&recs;
    EXPECT_EQ(0, TblCountRead(kTabZstProfil, &recs, nullptr, nullptr, msg_));
    EXPECT_EQ(nullptr, recs);
}

TEST_F(DbTablesTest, CountAndReadReportsAllocationFailure) {
    Sql("INSERT INTO T_ZstOkucie VALUES ('TILVO'), ('MERKA');");
    void* recs = nullptr;
    KvHeapFailAt(1);
    EXPECT_EQ(-1, TblCountRead(kTabZstOkucie, &recs, nullptr, nullptr, msg_));
    KvHeapFailAt(0);
    EXPECT_STREQ("Error of allocation of strZstOkucie structure", msg_);
    EXPECT_EQ(nullptr, recs);
}

TEST_F(DbTablesTest, InsertWritesAssignedKeysBack) {
    strOkno w[3] = {};
    for (int i = 0; i < 3; i++) {
        w[i].kluczZam = 5;
        w[i].ilOkien = i + 1;
        snprintf(w[i].nazProfil, sizeof w[i].nazProfil, "PROFILE %d", i);
    }
    ASSERT_EQ(1, TblInsert(kTabOkno, 3, w, msg_)) << msg_;
    EXPECT_GT(w[0].kluczOkno, 0);
    EXPECT_EQ(w[0].kluczOkno + 1, w[1].kluczOkno);
    EXPECT_EQ(w[1].kluczOkno + 1, w[2].kluczOkno);

    void* recs = nullptr;
    ASSERT_EQ(3, TblCountRead(kTabOkno, &recs, "kluczZam = 5", "kluczOkno", msg_)) << msg_;
    const strOkno* r = (const strOkno*)recs;
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(w[i].kluczOkno, r[i].kluczOkno);
        EXPECT_STREQ(w[i].nazProfil, r[i].nazProfil);
        EXPECT_EQ(i + 1, r[i].ilOkien);
    }
    KvFree(recs);
}

TEST_F(DbTablesTest, StatementTextsFollowTheColumnOrder) {
    // A misspelt column in a description would fail the prepare; an update of
    // a register proves the generated text and its parameters line up.
    strZstProfil p{};
    strcpy(p.nazwa, "IDEAL 4000");
    p.typ = 0;
    p.sGrubProf = {70, 78, 80, 75};
    ASSERT_EQ(1, TblInsert(kTabZstProfil, 1, &p, msg_)) << msg_;
    p.typ = 1;
    ASSERT_EQ(1, TblUpdate(kTabZstProfil, &p, "nazwa = 'IDEAL 4000'", msg_)) << msg_;
    strZstProfil back{};
    ASSERT_EQ(1, TblRead(kTabZstProfil, &back, nullptr, nullptr, msg_)) << msg_;
    EXPECT_EQ(0, memcmp(&p, &back, sizeof p));
}

TEST_F(DbTablesTest, ReadFailureNamesTheTable) {
    Sql("DROP TABLE T_ZstKolor;");
    strZstKolor k;
    EXPECT_EQ(0, TblRead(kTabZstKolor, &k, nullptr, nullptr, msg_));
    EXPECT_EQ(0, strncmp(msg_, "Error of reading T_ZstKolor table from the database\r\n", 53)) << msg_;
    EXPECT_EQ(-1, TblCountRead(kTabZstKolor, (void**)&k, nullptr, nullptr, msg_));
    EXPECT_STREQ("Error of reading the number of records in the table T_ZstKolor", msg_);
}
