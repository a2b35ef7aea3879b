// The price list in the order database: new databases have its table, older
// ones get it on the first save, and a save replaces the list whole.
#include <gtest/gtest.h>

#include <string.h>

#include "db/connection.h"
#include "db/price_table.h"
#include "tests/native/price_entries.h"
#include "tests/native/testdb.h"
#include "valuation/price_list.h"

namespace {

class PriceListDbTest : public DbTest {};

TEST_F(PriceListDbTest, OlderDatabaseGetsTheTableOnFirstSave) {
    KV_FILE_ONLY();  // SQLite's own SQL
    std::vector<PriceEntry> read;
    ASSERT_EQ(1, DbLoadPriceList(&read, msg_)) << msg_;
    EXPECT_TRUE(read.empty());
    EXPECT_EQ(1, DbCountRows("sqlite_master", nullptr, "name = 'T_Cennik'"));

    // A database made before the price list: no table, an empty list.
    Sql("DROP TABLE T_Cennik");
    ASSERT_EQ(1, DbLoadPriceList(&read, msg_)) << msg_;
    EXPECT_TRUE(read.empty());

    const std::vector<PriceEntry> saved = {Entry(kPriceProfile, "O'Neil \"70\"; DROP TABLE T_Zam", 1250),
                                           Entry(kPriceWindow, "", 999999999)};
    ASSERT_EQ(1, DbSavePriceList(saved, msg_)) << msg_;
    ASSERT_EQ(1, DbLoadPriceList(&read, msg_)) << msg_;
    ASSERT_EQ(2u, read.size());
    EXPECT_STREQ(saved[0].name, read[0].name);
    EXPECT_EQ(1250, read[0].rates[0]);
    EXPECT_EQ(999999999, read[1].rates[0]);
    EXPECT_EQ(1, DbCountRows("sqlite_master", nullptr, "name = 'T_Zam'"));

    // A save replaces the whole list; the version row is untouched.
    ASSERT_EQ(1, DbSavePriceList({Entry(kPriceBead, "B", 5)}, msg_)) << msg_;
    ASSERT_EQ(1, DbLoadPriceList(&read, msg_)) << msg_;
    ASSERT_EQ(1u, read.size());
    EXPECT_EQ(kPriceBead, read[0].kind);
    char version[16] = "";
    EXPECT_EQ(kDbQueryValue,
              DbQueryValue("SELECT werBaza FROM T_WerBaza", kDbText, version, sizeof version, msg_));
    EXPECT_STREQ("1-8", version);
}

TEST_F(PriceListDbTest, FailedSaveKeepsTheStoredList) {
    KV_FILE_ONLY();  // SQLite's own SQL
    ASSERT_EQ(1, DbSavePriceList({Entry(kPriceBead, "B", 5)}, msg_)) << msg_;
    // A trigger that refuses the second row: the first must not stay either.
    Sql("CREATE TRIGGER refuse BEFORE INSERT ON T_Cennik WHEN NEW.nazwa = 'second' "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    EXPECT_EQ(0, DbSavePriceList({Entry(kPriceBead, "first", 1), Entry(kPriceBead, "second", 2)}, msg_));
    EXPECT_NE(nullptr, strstr(msg_, "refused"));
    std::vector<PriceEntry> read;
    ASSERT_EQ(1, DbLoadPriceList(&read, msg_)) << msg_;
    ASSERT_EQ(1u, read.size());
    EXPECT_STREQ("B", read[0].name);
}

}  // namespace
