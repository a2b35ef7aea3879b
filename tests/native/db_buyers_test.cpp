// The buyers of earlier orders as the order window's buyer field offers them.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "db/buyers.h"
#include "db/connection.h"
#include "tests/native/testdb.h"

namespace {

class DbBuyersTest : public DbTest {};

struct Row {
    const char* name;
    const char* address;
    const char* info;
};

// One row per buyer, its latest order's address and information (the date
// first, the key between orders of one day), the most recent buyers first;
// deleted orders and orders without a name count for nothing.
TEST_F(DbBuyersTest, EachBuyerOnceWithTheLatestOrderMostRecentFirst) {
    Sql("INSERT INTO T_Zam (kluczZam, nazwaNabyw, adresNabyw, infDodatNabyw, dataZam, status) VALUES "
        "(1, 'Anna Brandt', 'Old Street 1', 'first', '2024-03-01', 1),"
        "(2, 'Anna Brandt', 'New Street 2', 'gate 12', '2024-05-10', 2),"
        "(3, 'Anna Brandt', 'Deleted Street', 'gone', '2024-06-01', -1),"
        "(4, 'Corvin Dahl', 'Dahl earlier key', '', '2024-05-10', 0),"
        "(5, 'Corvin Dahl', 'Dahl later key', 'x', '2024-05-10', 3),"
        "(6, '', 'Nobody Road', '', '2025-01-01', 1),"
        "(7, 'Only Deleted', 'Void Lane', '', '2025-02-01', -1),"
        "(8, 'anna brandt', 'Lower Case Way', '', '2023-01-01', 1),"
        "(9, 'Corvin Dahl', 'Dahl oldest', '', '2020-01-01', 1),"
        "(10, 'Emil Farr', 'No Date Row', 'nd', NULL, 1),"
        "(11, 'Gerd Holm', 'Holm Street', '', '2022-02-02', NULL);");
    std::vector<Buyer> buyers;
    ASSERT_EQ(1, DbLoadBuyers(&buyers, msg_)) << msg_;
    const Row expected[] = {
        {"Corvin Dahl", "Dahl later key", "x"},
        {"Anna Brandt", "New Street 2", "gate 12"},
        {"anna brandt", "Lower Case Way", ""},
        {"Gerd Holm", "Holm Street", ""},
        {"Emil Farr", "No Date Row", "nd"},
    };
    ASSERT_EQ(sizeof expected / sizeof expected[0], buyers.size());
    for (size_t i = 0; i < buyers.size(); i++) {
        EXPECT_EQ(expected[i].name, buyers[i].name) << i;
        EXPECT_EQ(expected[i].address, buyers[i].address) << i;
        EXPECT_EQ(expected[i].info, buyers[i].info) << i;
    }
}

TEST_F(DbBuyersTest, NoOrdersNoBuyersAndAClosedDatabaseSaysSo) {
    std::vector<Buyer> buyers{{"stale", "", ""}};
    ASSERT_EQ(1, DbLoadBuyers(&buyers, msg_)) << msg_;
    EXPECT_TRUE(buyers.empty());
    DbClose();
    buyers.push_back({"stale", "", ""});
    EXPECT_EQ(0, DbLoadBuyers(&buyers, msg_));
    EXPECT_TRUE(buyers.empty());
    EXPECT_NE(nullptr, strstr(msg_, "buyers of earlier orders")) << msg_;
}

}  // namespace
