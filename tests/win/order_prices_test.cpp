// "Prices from the price list..." in the order window: when it is offered,
// the one question that says what happens to each window, and what Yes
// leaves in the order, on the screen and in the database. Driven through
// the window's messages from inside its own loop.
#include <gtest/gtest.h>

#include <windows.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "db/connection.h"
#include "db/newdb.h"
#include "db/orders.h"
#include "db/price_table.h"
#include "db/tables.h"
#include "tests/native/order_patterns.h"
#include "tests/native/price_entries.h"
#include "tests/native/testdb.h"
#include "tests/win/harness.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/order_driver.h"
#include "ui/order/order_rc.h"
#include "ui/order/order_window.h"
#include "util/amounttext.h"
#include "util/msgbuf.h"
#include "valuation/valuation.h"

namespace {

int StandInDesigner(HWND, strOkno*, const strZam*, const DrawSet*, int) { return 0; }
void StandInPrint(HWND, strZamRob*, const DrawSet*) {}

// A fixed glazed window of 1000 x 1500 on the list below costs 128.44 (frame
// 50.00, bead 6.66, glass 46.78, window 25.00); the window of a mullion and
// two sashes has an opening sash whose hardware the list lacks.
void FixedGlazed(TestWindow& o) { o << DrawFrame(1000, 1500) << DrawFilling(0, "G", 0); }
void MullionAndTwoSashes(TestWindow& o) {
    o << DrawFrame(1500, 1000) << DrawMullion(false, 750, false, 0, 0) << SashElement(3, 0, 0, 0, 1, 0)
      << DrawFilling(0, "G", 2) << SashElement(0, 0, 1, 0, 0, 0) << DrawFilling(0, "G", 4);
}

std::string Amount(int64_t amount) {
    char text[64];
    AmountDisplayText(amount, text, (int)sizeof text);
    return text;
}

class OrderPricesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        g_orderDesigner = StandInDesigner;
        g_orderPrint = StandInPrint;
        char msg[KV_MSG_LEN];
        ASSERT_EQ(1, DbCreateFile("kelvaroDemo.db", 2010, msg)) << msg;
        ASSERT_EQ(1, DbOpen("kelvaroDemo.db", msg)) << msg;
        // Windows priced 128.44 (as the list says), 500.00 (hardware not on the
        // list) and 2 x 999.00 (the list says 128.44).
        strZamRob z;
        InitTestOrder(&z, 1, "Prices Buyer");
        z.zam.status = 1;
        const struct {
            void (*build)(TestWindow&);
            int64_t price;
            int32_t quantity;
        } windows[] = {{FixedGlazed, 12844, 1}, {MullionAndTwoSashes, 50000, 1}, {FixedGlazed, 99900, 2}};
        for (const auto& w : windows) {
            TestWindow o;
            w.build(o);
            o.r.ilOkien = w.quantity;
            snprintf(o.r.nazListwa, sizeof o.r.nazListwa, "Round");
            AddTestWindow(&z, o, "Alpha 70", w.price);  // hardware "Tilvo NT"
        }
        strZmienne vars{};
        ASSERT_EQ(1, ReadVariables(&vars, msg)) << msg;
        ASSERT_EQ(1, SaveNewOrder(&z, &vars, msg)) << msg;
        key_ = z.zam.kluczZam;
        FreeAndZeroOrder(&z);
        ASSERT_EQ(1, DbSavePriceList({Entry(kPriceProfile, "Alpha 70", 1000, 1200, 900, 700),
                                      Entry(kPriceColour, "White", 0), Entry(kPriceBead, "Round", 150),
                                      Entry(kPriceFilling, "G", 4000), Entry(kPriceWindow, "", 2500)},
                                     msg))
            << msg;
        main_ = CreateMainWindowForTest();
        ASSERT_NE(nullptr, main_);
        ResetHarness();
    }
    void TearDown() override {
        FreeAndZeroOrder(&z_);
        DestroyMainWindowForTest(main_);
    }
    // The stored order in preview, as the register opens it.
    void LoadStored() {
        char msg[KV_MSG_LEN];
        ASSERT_EQ(1, LoadOrder(key_, &z_, msg)) << msg;
        RecomputeOrder(&z_, kRecomputeAll);
        row_ = 0;
    }
    int Open(Script* s) {
        return RunScripted([&] { return RunOrderWindow(main_, &z_, &row_, &g_app.draw); }, s);
    }
    std::vector<int64_t> StoredPrices() {
        std::vector<int64_t> v;
        strZamRob z = {};
        char msg[KV_MSG_LEN];
        EXPECT_EQ(1, LoadOrder(key_, &z, msg)) << msg;
        for (int i = 0; i < z.zam.liczbaOkien; i++) v.push_back(z.zam.okna[i].cenaZReki);
        FreeAndZeroOrder(&z);
        return v;
    }

    ScopedTempCwd cwd_;
    HWND main_ = nullptr;
    int64_t key_ = 0;
    strZamRob z_ = {};
    int row_ = -1;
};

Step Check(std::vector<bool>* seen) {
    return [seen](HWND w) {
        seen->push_back(MenuEnabled(w, ORD_PRICES_FROM_LIST));
        return true;
    };
}

Step Do(int command) {
    return [command](HWND w) {
        Command(w, command);
        return true;
    };
}

Step SelectCurrency(const char* code) {
    return [code](HWND w) {
        HWND page = PageWith(w, IDC_VAL_CURRENCY);
        HWND combo = GetDlgItem(page, IDC_VAL_CURRENCY);
        const int at = (int)SendMessageA(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)code);
        SendMessageA(combo, CB_SETCURSEL, at, 0);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_VAL_CURRENCY, CBN_SELCHANGE), (LPARAM)combo);
        return true;
    };
}

TEST_F(OrderPricesTest, TheItemIsOfferedOnlyForAnEditableOrderWithWindowsInTheProgramsCurrency) {
    LoadStored();
    std::vector<bool> seen;
    std::string text;
    Script s;
    s.steps = {[&](HWND w) {
                   text = MenuText(w, ORD_PRICES_FROM_LIST);
                   return true;
               },
               Check(&seen),                               // a preview
               Do(ORD_CORRECT), Check(&seen),              // corrected
               SelectCurrency("USD"), Check(&seen),        // not the program's currency
               SelectCurrency("EUR"), Check(&seen),        // back
               [](HWND w) {                                // every window deleted
                   for (int i = 0; i < 3; i++) {
                       g_answers.push_back(IDYES);
                       SelectWindowEntry(w, 0);
                       Command(w, ORD_WIN_DELETE);
                   }
                   return true;
               },
               Check(&seen), [](HWND w) {
                   g_answers.push_back(IDYES);
                   Post(w, ORD_CANCEL);
                   return true;
               }};
    Open(&s);
    EXPECT_EQ("Prices from the price list...", text);
    EXPECT_EQ((std::vector<bool>{false, true, false, true, false}), seen);

    // Without entries in the price list nothing is offered.
    char msg[KV_MSG_LEN];
    ASSERT_EQ(1, DbSavePriceList({}, msg)) << msg;
    FreeAndZeroOrder(&z_);
    LoadStored();
    seen.clear();
    Script empty;
    empty.steps = {Do(ORD_CORRECT), Check(&seen), CloseWith(ORD_CANCEL)};
    Open(&empty);
    EXPECT_EQ(std::vector<bool>{false}, seen);
}

TEST_F(OrderPricesTest, OneQuestionListsEachWindowAndYesSetsTheFullyPricedOnes) {
    LoadStored();
    const std::string lines = "Window 1: " + Amount(12844) + " -> " + Amount(12844) + " (unchanged)\r\n" +
                              "Window 2: no price for hardware Tilvo NT\r\n" + "Window 3: " + Amount(99900) +
                              " -> " + Amount(12844) + "\r\n";
    std::string netBefore, netNo, netYes, grossYes;
    Script s;
    s.steps = {Do(ORD_CORRECT),
               [&](HWND w) {
                   netBefore = ItemText(w, IDC_ORD_NET);
                   g_answers.push_back(IDNO);
                   Command(w, ORD_PRICES_FROM_LIST);
                   netNo = ItemText(w, IDC_ORD_NET);
                   g_answers.push_back(IDYES);
                   Command(w, ORD_PRICES_FROM_LIST);
                   netYes = ItemText(w, IDC_ORD_NET);
                   grossYes = ItemText(w, IDC_ORD_GROSS);
                   return true;
               },
               CloseWith(ORD_SAVE)};
    ASSERT_EQ(1, Open(&s));
    ASSERT_GE(g_boxes.size(), 2u);
    const std::string question = "Prices from the price list:\r\n" + lines +
                                 "\r\nDo you want to set these prices ?";
    EXPECT_EQ(question, g_boxes[0].text);
    EXPECT_EQ(question, g_boxes[1].text);
    // No leaves the order as it was; Yes shows 128.44 + 500.00 + 2 x 128.44.
    EXPECT_EQ(Amount(12844 + 50000 + 2 * 99900), netBefore);
    EXPECT_EQ(netBefore, netNo);
    EXPECT_EQ(Amount(12844 + 50000 + 2 * 12844), netYes);
    EXPECT_EQ((std::vector<int64_t>{12844, 50000, 12844}), StoredPrices());
    // The totals shown before Save are the stored order's.
    strZamRob stored = {};
    char msg[KV_MSG_LEN];
    ASSERT_EQ(1, LoadOrder(key_, &stored, msg)) << msg;
    RecomputeOrder(&stored, kRecomputeAll);
    EXPECT_EQ(Amount(stored.sumy.zamBrutto), grossYes);
    FreeAndZeroOrder(&stored);
}

TEST_F(OrderPricesTest, AnOrderTheListCannotPriceIsToldSoAndKeepsItsPrices) {
    char msg[KV_MSG_LEN];
    ASSERT_EQ(1, DbSavePriceList({Entry(kPriceFilling, "G", 4000)}, msg)) << msg;
    LoadStored();
    Script s;
    s.steps = {Do(ORD_CORRECT), Do(ORD_PRICES_FROM_LIST), CloseWith(ORD_SAVE)};
    ASSERT_EQ(1, Open(&s));
    ASSERT_FALSE(g_boxes.empty());
    EXPECT_EQ("Information", g_boxes[0].caption);
    const std::string& text = g_boxes[0].text;
    EXPECT_EQ(0u, text.find("The price list prices no window of the order fully:\r\n"
                            "Window 1: no price for profile Alpha 70, colour White, bead Round"))
        << text;
    EXPECT_NE(std::string::npos, text.find("\r\nWindow 3: no price for profile Alpha 70")) << text;
    EXPECT_EQ((std::vector<int64_t>{12844, 50000, 99900}), StoredPrices());
}

}  // namespace
