// The sales overview: its monthly sums against the orders valued one by one,
// its guarded sums, its texts and the scale of its chart.
#include <gtest/gtest.h>

#include <inttypes.h>
#include <stdio.h>

#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "db/names.h"
#include "db/orders.h"
#include "db/tables.h"
#include "tests/native/sample_orders.h"
#include "tests/native/testdb.h"
#include "tests/native/util_locale.h"
#include "util/kvutil.h"
#include "util/platform.h"
#include "valuation/order_list.h"
#include "valuation/sales_overview.h"
#include "valuation/valuation.h"

namespace {

// What one month should hold, summed here from each order loaded alone.
struct Expected {
    int64_t orders[kSalesStatusCount] = {};
    int64_t net[kSalesStatusCount] = {};
    int64_t gross[kSalesStatusCount] = {};
    std::map<int32_t, int64_t> foreign;
};

int CollectKey(int64_t key, void* ctx, char*) {
    ((std::vector<int64_t>*)ctx)->push_back(key);
    return kDbWalkNext;
}

class SalesOverviewDb : public DbTest {};

// A random register over 16 months around today (three before the 12 shown,
// one after), in the program's currency and two others, every status and
// deleted orders; one month of the 12 left empty.
TEST_F(SalesOverviewDb, MonthlySumsEqualTheOrdersValuedOneByOne) {
    strUstUzytk settings{};
    ASSERT_TRUE(ReadUserSettings(&settings, msg_)) << msg_;
    const int32_t home = settings.idWalPrg, usd = 32, gbp = 13;
    ASSERT_STREQ("USD", CurrencyCode(usd));
    KvTime now;
    kvplat::LocalTime(&now);
    const int32_t nowMonth = now.wYear * 12 + now.wMonth - 1;
    const int kEmptyBack = 5;  // months before the current one

    std::mt19937 rng(20260611);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int i = 0; i < 60; i++) {
        const int back = pick(-1, 14);
        if (back == kEmptyBack) continue;
        const int status = pick(-1, 6);
        const int64_t key = SaveTestOrder(pick(0, 3), pick(0, 2), status, msg_);
        ASSERT_NE(0, key) << msg_;
        const int32_t m = nowMonth - back;
        const int roll = pick(0, 9);
        const int32_t currency = roll == 0 ? usd : roll == 1 ? gbp : home;
        char sql[256];
        snprintf(sql, sizeof sql,
                 "UPDATE T_Zam SET dataZam = '%04d-%02d-%02d', idWalZam = %d WHERE kluczZam = %" PRId64 ";",
                 (int)(m / 12), (int)(m % 12 + 1), pick(1, 28), (int)currency, key);
        Sql(sql);
    }

    std::map<int32_t, Expected> expected;  // by month number
    std::vector<int64_t> keys;
    ASSERT_EQ(1, DbWalkOrderKeys(0, CollectKey, &keys, msg_)) << msg_;
    for (int64_t key : keys) {
        strZamRob z;
        ASSERT_EQ(1, LoadOrder(key, &z, msg_)) << msg_;
        RecomputeOrder(&z, kRecomputeAll);
        int y = 0, mo = 0;
        ASSERT_EQ(2, sscanf(z.zam.dataZam, "%d-%d", &y, &mo));
        const int32_t m = y * 12 + mo - 1;
        if (z.zam.status >= 0 && m > nowMonth - 12 && m <= nowMonth) {
            Expected& e = expected[m];
            if (z.zam.idWalZam != home) {
                e.foreign[z.zam.idWalZam]++;
            } else {
                e.orders[z.zam.status]++;
                e.net[z.zam.status] += z.sumy.zamNetto;
                e.gross[z.zam.status] += z.sumy.zamBrutto;
            }
        }
        FreeOrder(&z);
    }

    SalesOverview all, twelve, fromRows;
    ASSERT_EQ(1, ComputeSalesOverview(home, 36, &all, msg_)) << msg_;
    ASSERT_EQ(1, ComputeSalesOverview(home, 12, &twelve, msg_)) << msg_;
    // The register's rows of every order give the same months as the walk.
    RegisterRows rows;
    ASSERT_EQ(1, ListOrders(0, [](const strZamRob* z, void* r) { return ((RegisterRows*)r)->Append(*z); }, &rows,
                            msg_))
        << msg_;
    SalesFromRows(rows, home, 36, &fromRows);
    ASSERT_EQ(36u, fromRows.months.size());
    for (size_t i = 0; i < 36; i++) {
        const SalesMonth &a = all.months[i], &b = fromRows.months[i];
        for (int st = 0; st < kSalesStatusCount; st++)
            EXPECT_EQ(std::make_tuple(a.orders[st], a.net[st], a.gross[st]),
                      std::make_tuple(b.orders[st], b.net[st], b.gross[st]))
                << "month " << i << ", status " << st;
        EXPECT_EQ(a.foreign, b.foreign) << "month " << i;
    }
    ASSERT_EQ(36u, all.months.size());
    const SalesOverview s = SalesLastMonths(all, 12);
    ASSERT_EQ(12u, s.months.size());
    ASSERT_EQ(12u, twelve.months.size());
    int64_t seen = 0;
    for (int i = 0; i < 12; i++) {
        const SalesMonth& m = s.months[(size_t)i];
        const int32_t at = nowMonth - 11 + i;
        SCOPED_TRACE("month " + std::to_string(at / 12) + "-" + std::to_string(at % 12 + 1));
        EXPECT_EQ(at / 12, m.year);
        EXPECT_EQ(at % 12 + 1, m.month);
        const Expected e = expected[at];
        int64_t orders = 0, net = 0, gross = 0;
        for (int st = 0; st < kSalesStatusCount; st++) {
            EXPECT_EQ(e.orders[st], m.orders[st]) << "status " << st;
            EXPECT_EQ(e.net[st], m.net[st]) << "status " << st;
            EXPECT_EQ(e.gross[st], m.gross[st]) << "status " << st;
            orders += e.orders[st], net += e.net[st], gross += e.gross[st];
        }
        EXPECT_EQ(orders, m.allOrders);
        EXPECT_EQ(net, m.allNet);
        EXPECT_EQ(gross, m.allGross);
        EXPECT_FALSE(m.netTooLarge || m.grossTooLarge);
        EXPECT_EQ(e.foreign, m.foreign);
        seen += orders;
        // The walk for 12 months gives the same as the last 12 of 36.
        const SalesMonth& t = twelve.months[(size_t)i];
        EXPECT_EQ(std::make_tuple(t.year, t.month, t.allOrders, t.allNet, t.allGross, t.foreign),
                  std::make_tuple(m.year, m.month, m.allOrders, m.allNet, m.allGross, m.foreign));
    }
    EXPECT_GT(seen, 10);  // the draw put orders into the months shown
    const SalesMonth& empty = s.months[(size_t)(11 - kEmptyBack)];
    EXPECT_EQ(0, empty.allOrders);
    EXPECT_TRUE(empty.foreign.empty());
}

// A synthetic valued order.
strZamRob Valued(const char* date, int32_t status, int64_t net, int64_t gross, int32_t currency = 12) {
    strZamRob z{};
    snprintf(z.zam.dataZam, sizeof z.zam.dataZam, "%s", date);
    z.zam.status = status;
    z.zam.idWalZam = currency;
    z.sumy.zamNetto = net;
    z.sumy.zamBrutto = gross;
    return z;
}

TEST(SalesOverviewSums, ASumThatDoesNotFitIsTooLargeAndTheOtherMonthsKeepTheirs) {
    SalesOverview s;
    SalesBegin(&s, 12, 2026, 2, 3);  // Dec 2025, Jan 2026, Feb 2026
    ASSERT_EQ(2025, s.months[0].year);
    ASSERT_EQ(12, s.months[0].month);
    SalesAdd(&s, Valued("2026-01-03", 1, 100, INT64_MAX - 5));
    SalesAdd(&s, Valued("2026-01-20", 1, 200, 10));
    SalesAdd(&s, Valued("2026-02-01", 2, 300, 369));
    strZamRob flagged = Valued("2025-12-31", 0, 0, 0);
    flagged.sumy.przepelnione = kTotalOrderGross;  // its own total did not fit
    SalesAdd(&s, flagged);
    // Left out: deleted, before the first month, after the last, no date.
    SalesAdd(&s, Valued("2026-02-10", -1, 1, 1));
    SalesAdd(&s, Valued("2025-11-30", 2, 1, 1));
    SalesAdd(&s, Valued("2026-03-01", 2, 1, 1));
    SalesAdd(&s, Valued("", 2, 1, 1));

    EXPECT_TRUE(s.months[1].grossTooLarge);
    EXPECT_FALSE(s.months[1].netTooLarge);
    EXPECT_EQ(300, s.months[1].allNet);
    EXPECT_EQ(2, s.months[1].allOrders);
    EXPECT_TRUE(s.months[0].grossTooLarge);
    EXPECT_FALSE(s.months[2].grossTooLarge || s.months[2].netTooLarge);
    EXPECT_EQ(369, s.months[2].allGross);
    EXPECT_EQ(1, s.months[2].allOrders);
    std::string cells[kSalesColumnCount];
    SalesRowCells(s.months[1], cells);
    EXPECT_EQ("too large", cells[3]);
}

class SalesOverviewTexts : public CustomLocaleTest {};

TEST_F(SalesOverviewTexts, TableTabsTooltipAndCurrencyNote) {
    UseLocale(kCommaLocale);
    SalesOverview s;
    SalesBegin(&s, 12, 2026, 1, 2);
    SalesAdd(&s, Valued("2026-01-05", 0, 100000, 123000));
    SalesAdd(&s, Valued("2026-01-06", 3, 250, 307));
    SalesAdd(&s, Valued("2026-01-07", 3, 50, 62));
    SalesAdd(&s, Valued("2026-01-08", 3, 50, 62, 32));
    SalesAdd(&s, Valued("2025-12-08", 3, 50, 62, 13));
    SalesAdd(&s, Valued("2026-01-09", 3, 50, 62, 32));
    SalesAdd(&s, Valued("2026-01-09", -1, 50, 62, 5));  // deleted: not counted anywhere

    std::string cells[kSalesColumnCount];
    SalesRowCells(s.months[1], cells);
    EXPECT_EQ(std::vector<std::string>({"Jan 2026", "3", "1 003,00", "1 233,69"}),
              std::vector<std::string>(cells, cells + kSalesColumnCount));
    SalesRowCells(s.months[0], cells);
    EXPECT_EQ(std::vector<std::string>({"Dec 2025", "0", "0,00", "0,00"}),
              std::vector<std::string>(cells, cells + kSalesColumnCount));

    EXPECT_EQ("Month\tOrders\tNet\tGross\r\n"
              "Dec 2025\t0\t0,00\t0,00\r\n"
              "Jan 2026\t3\t1003,00\t1233,69\r\n",
              SalesTabText(s));

    strUstUzytk settings{};
    snprintf(settings.stanyZam[2], kStatusNameLen, "Delivered");
    EXPECT_EQ("Jan 2026: 3 orders, 1 233,69\r\nNEW: 1 order, 1 230,00\r\nDelivered: 2 orders, 3,69",
              SalesTooltipText(s.months[1], settings));

    EXPECT_EQ("Not in the sums (currency other than EUR): 1 order in GBP, 2 orders in USD", SalesCurrencyNote(s));
    EXPECT_EQ("", SalesCurrencyNote(SalesLastMonths(SalesOverview(), 12)));
    EXPECT_EQ("12 000", SalesAxisText(1200000));
}

TEST(SalesOverviewScale, StepsOfOneTwoFiveReachTheLargest) {
    struct Case {
        int64_t largest;
        int64_t step, top;
    } cases[] = {
        {0, 100, 100},                // an empty chart still has one step
        {1, 100, 100},                // 0,01
        {500, 100, 500},              // 5,00 in five steps of 1,00
        {501, 200, 600},              //
        {123456, 50000, 150000},      // 1 234,56: three steps of 500
        {1000000, 200000, 1000000},   // exactly five steps
        {INT64_MAX, 5000000000000000000, INT64_MAX},  // near the limit the top is the largest
    };
    for (const Case& c : cases) {
        int64_t step = 0, top = 0;
        SalesAxisScale(c.largest, 5, &step, &top);
        EXPECT_EQ(c.step, step) << c.largest;
        EXPECT_EQ(c.top, top) << c.largest;
        EXPECT_GE(top, c.largest);
        EXPECT_LE(top / step, 5 + (top % step != 0));
    }
}

}  // namespace
