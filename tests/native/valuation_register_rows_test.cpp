// The register's rows: appended, rewritten and removed in any mix against a
// plain list of what each row must show, every cell compared, the key index
// right after each change and the shared texts compacted on the way.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <random>
#include <string>
#include <vector>

#include "db/names.h"
#include "util/amounttext.h"
#include "util/kvutil.h"
#include "util/platform.h"
#include "tests/native/util_locale.h"
#include "valuation/register_rows.h"
#include "valuation/valuation.h"

namespace {

strZamRob Order(int64_t key, int n, std::mt19937& rng) {
    strZamRob z = {};
    z.zam.kluczZam = key;
    z.zam.status = (int32_t)(rng() % 8) - 1;
    z.zam.idZam = n;
    z.zam.rok = 2020 + (int32_t)(rng() % 7);
    snprintf(z.zam.sDaneUzytk.skrot, sizeof z.zam.sDaneUzytk.skrot, "AB%d", n % 10);
    snprintf(z.zam.dodOznaczZam, sizeof z.zam.dodOznaczZam, "S-%d", n);
    // A buyer as long as the field, or short, with a quote in it.
    std::string buyer(rng() % 2 ? sizeof z.zam.nazwaNabyw - 1 : 1 + rng() % 30, 'b');
    buyer[0] = '"';
    memcpy(z.zam.nazwaNabyw, buyer.data(), buyer.size());
    const unsigned day = 1 + (unsigned)n % 28u, month = 1 + (unsigned)n % 12u;
    const std::string date = "2026-" + std::string(month < 10 ? "0" : "") + std::to_string(month) + "-" +
                             (day < 10 ? "0" : "") + std::to_string(day);
    memcpy(z.zam.dataZam, date.c_str(), 11);
    memcpy(z.zam.dataReal, date.c_str(), 11);
    z.zam.dataReal[3] = '7';
    snprintf(z.zam.uwagi, sizeof z.zam.uwagi, "notes %d", n);
    z.sumy.zamBrutto = (int64_t)(rng() % 100000000) - 1000;
    if (rng() % 50 == 0) z.sumy.przepelnione = kTotalOrderGross;
    return z;
}

// What each cell must show, made straight from the order.
std::vector<std::string> Cells(const strZamRob& z, const strUstUzytk& settings) {
    char date[64], real[64], total[64], number[64];
    DajFormatData(z.zam.dataZam, date, sizeof date);
    DajFormatData(z.zam.dataReal, real, sizeof real);
    if (z.sumy.przepelnione & kTotalOrderGross) snprintf(total, sizeof total, "%s", kAmountTooLarge);
    else AmountDisplayText(z.sumy.zamBrutto, total, sizeof total);
    snprintf(number, sizeof number, "%d-%s-%4d", z.zam.idZam, z.zam.sDaneUzytk.skrot, z.zam.rok);
    return {std::to_string(z.zam.kluczZam), StatusName(&settings, z.zam.status), number, z.zam.dodOznaczZam,
            z.zam.nazwaNabyw, date, real, total, "0", z.zam.uwagi};
}

TEST(RegisterRows, EveryCellFollowsAppendsRewritesAndRemovals) {
    UseLocale(kCommaLocale);
    strUstUzytk settings = {};
    for (int s = 0; s < kStatusCount; s++) snprintf(settings.stanyZam[s], kStatusNameLen, "State %d", s + 1);
    std::mt19937 rng(37);
    RegisterRows rows;
    std::vector<strZamRob> model;
    int64_t next = 1;
    for (int step = 0; step < 4000; step++) {
        const unsigned op = rng() % 10;
        if (op < 5 || model.empty()) {
            next += 1 + rng() % 3;
            model.push_back(Order(next, step, rng));
            ASSERT_TRUE(rows.Append(model.back()));
        } else if (op < 8) {
            const size_t at = rng() % model.size();
            model[at] = Order(model[at].zam.kluczZam, step, rng);
            ASSERT_TRUE(rows.Rewrite(at, model[at]));
        } else {
            const size_t at = rng() % model.size();
            model.erase(model.begin() + (ptrdiff_t)at);
            rows.Remove(at);
        }
        if (step % 97 != 0) continue;
        ASSERT_EQ(model.size(), rows.size());
        for (size_t r = 0; r < model.size(); r++) {
            const std::vector<std::string> want = Cells(model[r], settings);
            for (int c = 0; c < kRegisterColumnCount; c++) {
                char text[300];
                rows.CellText(r, c, settings, text, sizeof text);
                ASSERT_EQ(want[(size_t)c], text) << "row " << r << " column " << c << " step " << step;
            }
            ASSERT_EQ((int)r, rows.Find(model[r].zam.kluczZam));
        }
        ASSERT_EQ(-1, rows.Find(next + 1));
    }
    // A buffer shorter than the text cuts it and ends it.
    char small[4];
    rows.CellText(0, kRegColBuyer, settings, small, sizeof small);
    EXPECT_EQ(3u, strlen(small));
    RestoreLocale();
}

}  // namespace

// The one composition of an order number: the register's form as stored,
// the upper-cased one for the window, the printout and the search, and an
// abbreviation field that lacks its terminator cut within the field in
// both (the register's row included).
TEST(RegisterRows, TheOrderNumberIsComposedOneWay) {
    strZam o{};
    o.idZam = 7;
    o.rok = 2026;
    snprintf(o.sDaneUzytk.skrot, sizeof o.sDaneUzytk.skrot, "%s", "qw\xe9");
    char shown[64], upper[64];
    ComposeOrderNumber(o, kNumberAsShown, shown, sizeof shown);
    ComposeOrderNumber(o, kNumberUpperCased, upper, sizeof upper);
    EXPECT_STREQ("7-qw\xe9-2026", shown);
    char expected[64] = "7-QW\xe9-2026";
    expected[4] = (char)kvplat::UpperChar(0xe9);  // the code page's upper case
    EXPECT_STREQ(expected, upper);

    memset(o.sDaneUzytk.skrot, 'a', sizeof o.sDaneUzytk.skrot);
    const std::string cut = "7-" + std::string(sizeof o.sDaneUzytk.skrot - 1, 'a') + "-2026";
    ComposeOrderNumber(o, kNumberAsShown, shown, sizeof shown);
    EXPECT_EQ(cut, shown);
    strZamRob z{};
    z.zam = o;
    RegisterRows rows;
    ASSERT_TRUE(rows.Append(z));
    strUstUzytk settings{};
    char cell[64];
    rows.CellText(0, kRegColNumber, settings, cell, sizeof cell);
    EXPECT_EQ(cut, cell);
    char small[8];
    ComposeOrderNumber(o, kNumberUpperCased, small, sizeof small);
    EXPECT_STREQ("7-AAAAA", small);
}
