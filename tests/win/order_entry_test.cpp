// What the seller types into the order window and how it comes back: the
// numbers of the Valuation page that do not fit their fields, totals too
// large to compute, the accessory's price, and the buyer's address on
// several lines. Driven through the window's messages from inside its own
// loop; every box is answered through the program's seam.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "db/accessories.h"
#include "db/connection.h"
#include "db/names.h"
#include "db/newdb.h"
#include "db/orders.h"
#include "resources/resource.h"
#include "tests/native/sample_orders.h"
#include "tests/native/testdb.h"
#include "tests/win/harness.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/order_driver.h"
#include "ui/order/order_rc.h"
#include "ui/order/order_window.h"
#include "util/amounttext.h"
#include "util/kvutil.h"
#include "util/msgbuf.h"
#include "valuation/valuation.h"

namespace {

int StandInDesigner(HWND, strOkno*, const strZam*, const DrawSet*, int) { return 0; }
void StandInPrint(HWND, strZamRob*, const DrawSet*) {}

class OrderEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        g_orderDesigner = StandInDesigner;
        g_orderPrint = StandInPrint;
        char msg[2048];
        ASSERT_EQ(1, DbCreateFile("kelvaroDemo.db", 2010, msg)) << msg;
        ASSERT_EQ(1, DbOpen("kelvaroDemo.db", msg)) << msg;
        stored_ = SaveTestOrder(2, 1, 3, msg);
        ASSERT_NE(0, stored_) << msg;
        DbClose();
    }
    void TearDown() override {
        FreeAndZeroOrder(&z_);
        DestroyMainWindowForTest(main_);
    }
    void OpenRegister() {
        main_ = CreateMainWindowForTest();
        ASSERT_NE(nullptr, main_);
        register_ = GetDlgItem(main_, IDC_ORDERS);
        ResetHarness();
    }
    // The stored order opened for correction, as the register opens it.
    void LoadStored() {
        char msg[2048];
        ASSERT_EQ(1, LoadOrder(stored_, &z_, msg)) << msg;
        RecomputeOrder(&z_, kRecomputeAll);
        z_.flagiWidoku = kViewCorrection;
        row_ = 0;
    }
    int Open(Script* s) {
        return RunScripted([&] { return RunOrderWindow(main_, &z_, &row_, &g_app.draw); }, s);
    }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> v;
        for (const ShownBox& b : g_boxes) v.push_back(b.caption + ": " + b.text);
        return v;
    }

    ScopedTempCwd cwd_;
    HWND main_ = nullptr;
    HWND register_ = nullptr;
    int64_t stored_ = 0;
    strZamRob z_ = {};
    int row_ = -1;
};

using Texts = std::vector<std::string>;

std::string Amount(int64_t amount) {
    char text[64];
    AmountDisplayText(amount, text, sizeof text);
    return text;
}

// A change of an edit's text as typing reports it, whatever the text's
// length (a typed text stops at the edit's limit; this one does not).
void SetAsTyped(HWND page, int id, const char* text) {
    HWND edit = GetDlgItem(page, id);
    SetWindowTextA(edit, text);
    SendMessageA(edit, EM_SETMODIFY, TRUE, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), (LPARAM)edit);
}

std::string PriceRefusal(const char* field) {
    return std::string("Error: ") + field + "\r\nThe highest price is " + Amount(kMaxEnteredPrice);
}

// ---- The Valuation page -------------------------------------------------------------------

// The three rates and the weight take as many characters as the settings'
// edits of the same fields; a number that does not fit its field (here set
// past that limit), and a price beyond the highest, are not stored: the
// totals stay, Save names the field and keeps the window open, and the
// stored order keeps its values.
TEST_F(OrderEntryTest, ValuationNumbersThatDoNotFitAreRefusedNotWrapped) {
    OpenRegister();
    LoadStored();
    const strWycenZamParam before = z_.zam.sWycenZamParam;
    const int32_t weightBefore = z_.zam.waga;
    struct Field {
        int id;
        const char* text;
        std::string refusal;
    };
    const Field fields[] = {
        {IDC_VAL_VAT_ASSEMBLY, "30000000", "Error: Wrong VAT rate of assembly and disassembly"},
        {IDC_VAL_VAT_WINDOWS, "30000000", "Error: Wrong VAT rate of windows"},
        {IDC_VAL_VAT_ACC, "99999999999999999999", "Error: Wrong VAT rate of accessories"},
        {IDC_VAL_WEIGHT, "30000000", "Error: Wrong weight of window"},
        {IDC_VAL_ASSEMBLY_PRICE, "100000000", PriceRefusal("Wrong price of assembly")},
        {IDC_VAL_DISASSEMBLY_PRICE, "12345678901234567890", PriceRefusal("Wrong price of disassembly")},
    };
    std::vector<int> limits;
    std::vector<std::string> shown;
    std::vector<bool> openAfterSave;
    int64_t grossBefore = z_.sumy.zamBrutto;
    std::vector<int64_t> grossAfter;
    int saved = 0;
    Script script;
    script.steps = {
        [&](HWND w) {
            HWND page = PageWith(w, IDC_VAL_VAT_ASSEMBLY);
            SendDlgItemMessageA(page, IDC_VAL_ASSEMBLY_FIXED, BM_CLICK, 0, 0);
            SendDlgItemMessageA(page, IDC_VAL_DISASSEMBLY_FIXED, BM_CLICK, 0, 0);
            Type(GetDlgItem(page, IDC_VAL_ASSEMBLY_PRICE), "250");
            Type(GetDlgItem(page, IDC_VAL_DISASSEMBLY_PRICE), "120");
            grossBefore = z_.sumy.zamBrutto;
            for (int id : {IDC_VAL_VAT_ASSEMBLY, IDC_VAL_VAT_WINDOWS, IDC_VAL_VAT_ACC, IDC_VAL_WEIGHT})
                limits.push_back((int)SendDlgItemMessageA(page, id, EM_GETLIMITTEXT, 0, 0));
            for (const Field& f : fields) {
                const std::string old = ItemText(page, f.id);
                SetAsTyped(page, f.id, f.text);
                grossAfter.push_back(z_.sumy.zamBrutto);
                Command(w, ORD_SAVE);
                openAfterSave.push_back(IsWindow(w) != FALSE);
                SetAsTyped(page, f.id, old.c_str());
            }
            return true;
        },
        CloseWith(ORD_SAVE)};
    saved = Open(&script);
    EXPECT_EQ((std::vector<int>{7, 7, 7, 7}), limits);
    Texts want;
    for (const Field& f : fields) want.push_back(f.refusal);
    want.push_back("Information: " + std::string("The order ") + ListCell(register_, 0, 2) +
                   " has been corrected");
    EXPECT_EQ(want, BoxTexts());
    EXPECT_EQ(std::vector<bool>(6, true), openAfterSave);
    EXPECT_EQ(std::vector<int64_t>(6, grossBefore), grossAfter);
    EXPECT_EQ(1, saved);
    const strWycenZamParam& after = z_.zam.sWycenZamParam;
    EXPECT_EQ(before.vatMont, after.vatMont);
    EXPECT_EQ(before.vatOkna, after.vatOkna);
    EXPECT_EQ(before.vatDodat, after.vatDodat);
    EXPECT_EQ(weightBefore, z_.zam.waga);
    EXPECT_EQ(25000, after.cenaMont);
    EXPECT_EQ(12000, after.cenaDemont);
}

// One accessory at the highest price and quantity with an accessories' VAT
// of 9 999 999 %: every number typed fits its field, but the gross totals
// do not fit 64 bits. They read "too large", the seller is told once, and
// Save refuses the order until the rate is brought back.
TEST_F(OrderEntryTest, TotalsTooLargeToComputeAreShownAsSuchAndNotSaved) {
    OpenRegister();
    RenumberOrder(&z_, &g_app.vars, &g_app.settings);
    SetOrderDefaults(&z_, &g_app.settings);
    z_.zam.sWycenZamParam.flagi = 0;  // no assembly: the order's totals are the accessory's
    z_.zam.sWycenZamParam.rabat = 0;
    strDodatZam d = {};
    strcpy(d.nazwa, "Sill");
    d.ilosc = 500000;
    d.cenaZReki = kMaxEnteredPrice;
    char msg[KV_MSG_LEN];
    ASSERT_EQ(1, AppendAccessory(&z_.zam.dodatki, &z_.zam.liczbaDodat, &d, msg)) << msg;
    RecomputeOrder(&z_, kRecomputeAll);
    std::string net, gross, accGross, rowTotal, discount;
    size_t boxesAfterTyping = 0;
    bool openAfterSave = false;
    std::string accGrossBack;
    Script script;
    script.steps = {[&](HWND w) {
                        HWND page = PageWith(w, IDC_VAL_VAT_ACC);
                        HWND vat = GetDlgItem(page, IDC_VAL_VAT_ACC);
                        Type(vat, "9999999");
                        // Still too large after a backspace: told once, not again.
                        SendMessageA(vat, WM_CHAR, VK_BACK, 1);
                        boxesAfterTyping = g_boxes.size();
                        net = ItemText(w, IDC_ORD_NET);
                        gross = ItemText(w, IDC_ORD_GROSS);
                        accGross = ItemText(w, IDC_ORD_ACC_GROSS);
                        discount = ItemText(w, IDC_ORD_DISCOUNT);
                        rowTotal = ListCell(GetDlgItem(w, IDC_ORD_ACC_LIST), 0, 3);
                        Command(w, ORD_SAVE);
                        openAfterSave = IsWindow(w) != FALSE;
                        Type(GetDlgItem(page, IDC_VAL_VAT_ACC), "23");
                        accGrossBack = ItemText(w, IDC_ORD_ACC_GROSS);
                        return true;
                    },
                    CloseWith(ORD_SAVE)};
    EXPECT_EQ(1, Open(&script));
    EXPECT_EQ(1u, boxesAfterTyping);
    ASSERT_GE(g_boxes.size(), 2u);
    EXPECT_EQ(std::string("Error: ") + kTotalsTooLarge, BoxTexts()[0]);
    EXPECT_EQ(std::string("Error: ") + kTotalsTooLarge, BoxTexts()[1]);  // Save
    EXPECT_TRUE(openAfterSave);
    EXPECT_EQ(Amount(kMaxEnteredPrice * 500000), net);  // the net side fits and is shown
    EXPECT_EQ("too large", gross);
    EXPECT_EQ("too large", accGross);
    EXPECT_EQ("too large", rowTotal);
    EXPECT_EQ(Amount(0), discount);
    EXPECT_EQ(Amount(kMaxEnteredPrice * 500000 / 100 * 123), accGrossBack);
    EXPECT_EQ(2300, z_.zam.sWycenZamParam.vatDodat);
}

// The register shows "too large" for an order whose total cannot be
// computed (a quantity no window of the program would let through),
// never a wrapped or cut number.
TEST_F(OrderEntryTest, TheRegisterShowsATotalTooLargeAsSuch) {
    char msg[2048];
    ASSERT_EQ(1, DbOpen("kelvaroDemo.db", msg)) << msg;
    char sql[160];
    snprintf(sql, sizeof sql,
             "UPDATE T_DodatZam SET ilosc = 2147483647, cenaZReki = 9999999999 WHERE kluczZam = %lld",
             (long long)stored_);
    ASSERT_EQ(1, DbExec(sql, msg)) << msg;
    DbClose();
    OpenRegister();
    ASSERT_EQ(1, (int)SendMessageA(register_, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ("too large", ListCell(register_, 0, 7));
}

// ---- The accessory's price ---------------------------------------------------------------

TEST_F(OrderEntryTest, AnAccessoryPriceBeyondTheHighestIsRefused) {
    OpenRegister();
    LoadStored();
    const int32_t count = z_.zam.liczbaDodat;
    bool stillOpen = false;
    Script script;
    script.steps = {[](HWND w) {
                        Post(w, ORD_ACC_ADD);
                        return true;
                    },
                    [&](HWND) {
                        HWND dlg = Dialog("Accessory");
                        if (!dlg) return false;
                        HWND name = IsWindowVisible(GetDlgItem(dlg, IDC_ACC_NAME_COMBO))
                                        ? GetDlgItem(dlg, IDC_ACC_NAME_COMBO)
                                        : GetDlgItem(dlg, IDC_ACC_NAME_EDIT);
                        SetWindowTextA(name, "Beam");
                        SetAsTyped(dlg, IDC_ACC_PRICE, "100000000");
                        SendMessageA(dlg, WM_COMMAND, IDOK, 0);
                        stillOpen = Dialog("Accessory") == dlg;
                        SetAsTyped(dlg, IDC_ACC_PRICE, Dec("99999999.99").c_str());
                        SendMessageA(dlg, WM_COMMAND, IDOK, 0);
                        return true;
                    },
                    [](HWND) { return Dialog("Accessory") == nullptr; }, CloseWith(ORD_SAVE)};
    EXPECT_EQ(1, Open(&script));
    EXPECT_TRUE(stillOpen);
    ASSERT_GE(g_boxes.size(), 1u);
    EXPECT_EQ(PriceRefusal("Incorrectly defined the price of the accessory"), BoxTexts()[0]);
    ASSERT_EQ(count + 1, z_.zam.liczbaDodat);
    EXPECT_EQ(kMaxEnteredPrice, z_.zam.dodatki[count].cenaZReki);
}

// ---- The buyer's address -------------------------------------------------------------------

// A two-line address as the demo orders hold it: both lines show in a field
// two lines high with its own scroll bar, Save writes CR LF back unchanged,
// and Enter in the field starts a new line instead of pressing a button.
TEST_F(OrderEntryTest, TheBuyersAddressKeepsItsLines) {
    char msg[2048];
    ASSERT_EQ(1, DbOpen("kelvaroDemo.db", msg)) << msg;
    char sql[200];
    snprintf(sql, sizeof sql,
             "UPDATE T_Zam SET adresNabyw = '4 Quay Road' || char(13, 10) || 'Kinsale' WHERE kluczZam = %lld",
             (long long)stored_);
    ASSERT_EQ(1, DbExec(sql, msg)) << msg;
    DbClose();
    OpenRegister();
    LoadStored();
    ASSERT_STREQ("4 Quay Road\r\nKinsale", z_.zam.adresNabyw);
    int lines = 0, twoLines = 0, clientHeight = 0;
    std::string line0, line1;
    LONG style = 0;
    RECT address = {}, info = {}, page = {};
    std::string typed;
    Script script;
    script.steps = {[&](HWND w) {
                        HWND pg = PageWith(w, IDC_GEN_ADDRESS);
                        HWND edit = GetDlgItem(pg, IDC_GEN_ADDRESS);
                        style = GetWindowLongA(edit, GWL_STYLE);
                        lines = (int)SendMessageA(edit, EM_GETLINECOUNT, 0, 0);
                        char t[64] = {};
                        *(WORD*)t = sizeof t - 1;
                        t[SendMessageA(edit, EM_GETLINE, 0, (LPARAM)t)] = 0;
                        line0 = t;
                        *(WORD*)t = sizeof t - 1;
                        t[SendMessageA(edit, EM_GETLINE, 1, (LPARAM)t)] = 0;
                        line1 = t;
                        RECT rc;
                        GetClientRect(edit, &rc);
                        clientHeight = rc.bottom;
                        {
                            HDC dc = GetDC(edit);
                            HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageA(edit, WM_GETFONT, 0, 0));
                            TEXTMETRICA tm;
                            GetTextMetricsA(dc, &tm);
                            twoLines = 2 * tm.tmHeight;
                            SelectObject(dc, old);
                            ReleaseDC(edit, dc);
                        }
                        GetWindowRect(edit, &address);
                        GetWindowRect(GetDlgItem(pg, IDC_GEN_INFO), &info);
                        GetWindowRect(pg, &page);
                        return true;
                    },
                    CloseWith(ORD_SAVE)};
    EXPECT_EQ(1, Open(&script));
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & ES_WANTRETURN);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_EQ(2, lines);
    EXPECT_EQ("4 Quay Road", line0);
    EXPECT_EQ("Kinsale", line1);
    EXPECT_GE(clientHeight, twoLines);
    EXPECT_GE(info.top, address.bottom);  // the field below moved down
    EXPECT_LE(info.bottom, page.bottom);
    strZamRob back = {};
    ASSERT_EQ(1, LoadOrder(stored_, &back, msg)) << msg;
    EXPECT_STREQ("4 Quay Road\r\nKinsale", back.zam.adresNabyw);
    FreeAndZeroOrder(&back);

    // Enter at the end of the field, through the window's own loop.
    FreeAndZeroOrder(&z_);
    LoadStored();
    ResetHarness();
    Script enter;
    enter.steps = {[&](HWND w) {
                       HWND edit = GetDlgItem(PageWith(w, IDC_GEN_ADDRESS), IDC_GEN_ADDRESS);
                       SetFocus(edit);
                       SendMessageA(edit, EM_SETSEL, 100, 100);
                       PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
                       PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC01C0001);
                       return true;
                   },
                   [&](HWND w) {
                       HWND edit = GetDlgItem(PageWith(w, IDC_GEN_ADDRESS), IDC_GEN_ADDRESS);
                       for (char c : std::string("Ireland")) SendMessageA(edit, WM_CHAR, (WPARAM)c, 1);
                       typed = TextOf(edit);
                       return true;
                   },
                   CloseWith(ORD_SAVE)};
    EXPECT_EQ(1, Open(&enter));
    EXPECT_EQ("4 Quay Road\r\nKinsale\r\nIreland", typed);
    ASSERT_EQ(1, LoadOrder(stored_, &back, msg)) << msg;
    EXPECT_STREQ("4 Quay Road\r\nKinsale\r\nIreland", back.zam.adresNabyw);
    FreeAndZeroOrder(&back);
}

}  // namespace
