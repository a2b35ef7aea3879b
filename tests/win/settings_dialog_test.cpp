// The settings dialog driven through its messages, page by page, while its
// own modal loop runs; then the register of orders opening it for real.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <limits.h>
#include <string.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/pending.h"
#include "db/connection.h"
#include "db/newdb.h"
#include "resources/resource.h"
#include "tests/native/testdb.h"
#include "tests/win/harness.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/testutil.h"
#include "ui/settings/currencies.h"
#include "ui/settings/seller_page.h"
#include "ui/settings/settings_dialog.h"
#include "ui/settings/settings_rc.h"
#include "util/amounttext.h"
#include "util/dpi_win.h"
#include "util/help_win.h"
#include "util/kvutil.h"
#include "util/scoped_win.h"
#include "util/toolbar_win.h"

namespace {

std::string g_helpTarget;
void RecordHelp(const char* target, void*) {
    g_helpTarget += target;
    g_helpTarget += "|";
}

// ---- Driving the dialog -------------------------------------------------------

// What to do inside the running dialog, and how to end it: a button id,
// or 0 for the close box.
struct Drive {
    Drive(std::function<void(HWND)> w, int e) : work(std::move(w)), end(e) {}
    std::function<void(HWND dlg)> work;
    int end;
    bool ran = false;
};

bool DriveSettings(void* ctx) {
    Drive* d = (Drive*)ctx;
    HWND dlg = FindWindowA("#32770", "Settings");
    if (!dlg || !IsWindowVisible(dlg)) return false;
    d->ran = true;
    d->work(dlg);
    if (d->end) PostMessageA(dlg, WM_COMMAND, d->end, 0);
    else PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
}

int RunDialog(strUstUzytk* s, std::function<void(HWND)> work, int end = IDOK) {
    Drive d{work, end};
    int result;
    {
        LoopProbe probe(DriveSettings, &d, 5000);
        result = RunSettingsDialog(nullptr, s);
    }
    EXPECT_TRUE(d.ran) << "the dialog never showed";
    return result;
}

HWND Page(HWND dlg, int templateId) { return GetDlgItem(dlg, templateId); }

void ShowTab(HWND dlg, int index) { SendDlgItemMessageA(dlg, IDC_SETTINGS_TAB, TCM_SETCURFOCUS, index, 0); }

std::string Text(HWND page, int id) {
    char text[1024] = "";
    GetDlgItemTextA(page, id, text, sizeof text);
    return text;
}

bool Visible(HWND page, int id) {
    return (GetWindowLongA(GetDlgItem(page, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

// A number text of the tests ("1,25") in the locale's form.
std::string Num(std::string text) {
    for (char& c : text) {
        if (c == ',') c = DajSepDziesLocale();
    }
    return text;
}

void Click(HWND page, int id) { SendDlgItemMessageA(page, id, BM_CLICK, 0, 0); }

void SelectCurrency(HWND page, int index) {
    SendDlgItemMessageA(page, IDC_CURRENCY, CB_SETCURSEL, index, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_CURRENCY, CBN_SELCHANGE),
                 (LPARAM)GetDlgItem(page, IDC_CURRENCY));
}

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        g_helpTarget.clear();
        SetHelpHook(RecordHelp, nullptr);
        DefaultSettings(&s_);
    }
    void TearDown() override { SetHelpHook(nullptr, nullptr); }
    strUstUzytk s_;
};

// ---- The currency table -------------------------------------------------------

TEST_F(SettingsDialogTest, CurrencyTableHas35CodesInOrderAndTheListFollowsIt) {
    const char* const expected[35] = {"AUD", "ARS", "BGN", "BRL", "CAD", "CHF", "CLP", "CNY", "CZK",
                                      "DDK", "DZD", "EEK", "EUR", "GBP", "HRK", "INR", "JPY", "LTL",
                                      "LVL", "MKD", "MXN", "NOK", "NZD", "PEN", "PHP", "PLN", "RON",
                                      "RUB", "SEK", "SGD", "TRY", "UAH", "USD", "TWD", "ZAR"};
    for (int i = 0; i < 35; i++) EXPECT_STREQ(expected[i], CurrencyCodeAt(i)) << i;
    for (int outside : {-1, 35, 36, INT_MIN, INT_MAX}) EXPECT_STREQ("", CurrencyCodeAt(outside)) << outside;

    // The program currency's list holds the table, position = index.
    s_.idWalPrg = 25;
    std::vector<std::string> listed;
    int selected = -1;
    RunDialog(
        &s_,
        [&](HWND dlg) {
            HWND combo = GetDlgItem(Page(dlg, IDD_PAGE_DEFAULTS), IDC_CURRENCY);
            int n = (int)SendMessageA(combo, CB_GETCOUNT, 0, 0);
            for (int i = 0; i < n; i++) {
                char code[8] = "";
                SendMessageA(combo, CB_GETLBTEXT, i, (LPARAM)code);
                listed.push_back(code);
            }
            selected = (int)SendMessageA(combo, CB_GETCURSEL, 0, 0);
        },
        IDCANCEL);
    ASSERT_EQ(35u, listed.size());
    for (int i = 0; i < 35; i++) EXPECT_EQ(expected[i], listed[i]) << i;
    EXPECT_EQ(25, selected);
}

// ---- The dialog: tabs, help, ending -----------------------------------------------

TEST_F(SettingsDialogTest, TabsShowOnePageAtATimeAndHelpOpensTopic7) {
    const char* const tabs[5] = {"Seller's details", "Defaults", "Default Uw rates", "Orders' statuses",
                                 "Others"};
    const int pages[5] = {IDD_PAGE_SELLER, IDD_PAGE_DEFAULTS, IDD_PAGE_UW, IDD_PAGE_STATUSES,
                          IDD_PAGE_OTHERS};
    int result = RunDialog(
        &s_,
        [&](HWND dlg) {
            // 300 x 210 dialog units.
            RECT units = {0, 0, 300, 210}, client;
            MapDialogRect(dlg, &units);
            GetClientRect(dlg, &client);
            EXPECT_EQ(units.right, client.right);
            EXPECT_EQ(units.bottom, client.bottom);
            HWND tab = GetDlgItem(dlg, IDC_SETTINGS_TAB);
            ASSERT_EQ(5, (int)SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
            for (int i = 0; i < 5; i++) {
                char text[64] = "";
                TCITEMA item = {};
                item.mask = TCIF_TEXT;
                item.pszText = text;
                item.cchTextMax = sizeof text;
                SendMessageA(tab, TCM_GETITEMA, i, (LPARAM)&item);
                EXPECT_STREQ(tabs[i], text);
                ASSERT_NE(nullptr, Page(dlg, pages[i])) << i;
            }
            // Page 0 first, then each tab in turn (and back to the first).
            const int order[6] = {0, 1, 2, 3, 4, 0};
            for (int step = 0; step < 6; step++) {
                const int shown = order[step];
                if (step > 0) ShowTab(dlg, shown);
                for (int i = 0; i < 5; i++) {
                    EXPECT_EQ(i == shown, IsWindowVisible(Page(dlg, pages[i])) != 0)
                        << "shown " << shown << " page " << i;
                }
                EXPECT_TRUE(IsChild(Page(dlg, pages[shown]), GetFocus())) << "focus on page " << shown;
            }
            SendMessageA(dlg, WM_COMMAND, IDC_SETTINGS_HELP, 0);
            HELPINFO help = {};
            help.cbSize = sizeof help;
            SendMessageA(dlg, WM_HELP, 0, (LPARAM)&help);
        },
        0);
    EXPECT_EQ(0, result);  // the close box
    EXPECT_EQ(HelpTarget(7) + "|" + HelpTarget(7) + "|", g_helpTarget);
    EXPECT_TRUE(g_boxes.empty());
}

// Every text of the dialog and of each of its five pages fits its control
// in the control's font, at the display's dpi (the templates scale with
// their font; nothing may be placed by pixels that then clips).
TEST_F(SettingsDialogTest, EveryTextFitsItsControlAtEveryScale) {
    std::vector<std::string> tooLong;
    RunDialog(
        &s_,
        [&](HWND dlg) {
            for (int i = 0; i < 5; i++) {
                ShowTab(dlg, i);
                for (const std::string& s : TextsThatDoNotFit(dlg)) tooLong.push_back(s);
            }
        },
        IDCANCEL);
    for (const std::string& s : tooLong) ADD_FAILURE() << "does not fit: " << s;
}

TEST_F(SettingsDialogTest, CancelAndTheCloseBoxChangeNothing) {
    for (int end : {IDCANCEL, 0}) {
        SCOPED_TRACE(end);
        strUstUzytk before = s_;
        int result = RunDialog(
            &s_,
            [&](HWND dlg) {
                SetDlgItemTextA(Page(dlg, IDD_PAGE_SELLER), IDC_SELLER_NAME, "Someone else");
                HWND defaults = Page(dlg, IDD_PAGE_DEFAULTS);
                ShowTab(dlg, 1);
                Click(defaults, IDC_ASM_NONE);
                SetDlgItemTextA(defaults, IDC_DISCOUNT, "50");
                SelectCurrency(defaults, 32);
                SetDlgItemTextA(Page(dlg, IDD_PAGE_UW), IDC_UF_FRAME, Num("9,99").c_str());
                SetDlgItemTextA(Page(dlg, IDD_PAGE_STATUSES), IDC_STATUS_NAME_FIRST, "");
                SetDlgItemTextA(Page(dlg, IDD_PAGE_OTHERS), IDC_HEADING, "999");
            },
            end);
        EXPECT_EQ(0, result);
        EXPECT_EQ(0, memcmp(&before, &s_, sizeof s_));
        EXPECT_TRUE(g_boxes.empty());
    }
}

// ---- Page "Seller's details" ----------------------------------------------------

TEST_F(SettingsDialogTest, SellerPageWritesItsFieldsCutToTheirWidths) {
    const std::string longName(300, 'N'), longAbbr(20, 'a');
    std::string shown[4];
    int result = RunDialog(&s_, [&](HWND dlg) {
        HWND p = Page(dlg, IDD_PAGE_SELLER);
        const int ids[4] = {IDC_SELLER_NAME, IDC_SELLER_ABBR, IDC_SELLER_ADDRESS, IDC_SELLER_OTHER};
        for (int i = 0; i < 4; i++) shown[i] = Text(p, ids[i]);
        EXPECT_TRUE(Visible(p, IDC_SELLER_ABBR));
        EXPECT_TRUE(Visible(p, IDC_SELLER_ABBR_LABEL));
        EXPECT_FALSE(GetWindowLongA(GetDlgItem(p, IDC_SELLER_NAME), GWL_STYLE) & ES_READONLY);
        SetDlgItemTextA(p, IDC_SELLER_NAME, longName.c_str());
        SetDlgItemTextA(p, IDC_SELLER_ABBR, longAbbr.c_str());
        SetDlgItemTextA(p, IDC_SELLER_ADDRESS, "1 \"Quoted\" Lane");
        SetDlgItemTextA(p, IDC_SELLER_OTHER, "line one\r\nline two");
    });
    EXPECT_EQ(1, result);
    EXPECT_EQ("Quarvel Windows Ltd.", shown[0]);
    EXPECT_EQ("QW", shown[1]);
    EXPECT_EQ("12 Harbour Street\r\n1000 Kelvaro", shown[2]);
    EXPECT_EQ("VAT ID: EU123456789\r\nPhone: +00 123 456 789", shown[3]);
    EXPECT_EQ(longName.substr(0, 255), s_.sDaneUzytk.nazwa);
    EXPECT_EQ(longAbbr.substr(0, 15), s_.sDaneUzytk.skrot);
    EXPECT_STREQ("1 \"Quoted\" Lane", s_.sDaneUzytk.adres);
    EXPECT_STREQ("line one\r\nline two", s_.sDaneUzytk.infDodat);
}

TEST_F(SettingsDialogTest, SellerPageOfAnOrderOnlyShows) {
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, parent);
    strDaneUzytk seller = s_.sDaneUzytk;
    // A damaged block: the name fills its field without a terminator.
    memset(seller.nazwa, 'Z', sizeof seller.nazwa);
    for (int editable : {0, 1}) {
        SCOPED_TRACE(editable);
        strDaneUzytk block = seller;
        HWND p = CreateSellerPage(parent, &block, editable);
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(std::string(255, 'Z'), Text(p, IDC_SELLER_NAME));
        EXPECT_EQ("QW", Text(p, IDC_SELLER_ABBR));
        for (int id : {IDC_SELLER_NAME, IDC_SELLER_ADDRESS, IDC_SELLER_OTHER}) {
            EXPECT_EQ(!editable, (GetWindowLongA(GetDlgItem(p, id), GWL_STYLE) & ES_READONLY) != 0) << id;
        }
        EXPECT_EQ(editable != 0, Visible(p, IDC_SELLER_ABBR));
        EXPECT_EQ(editable != 0, Visible(p, IDC_SELLER_ABBR_LABEL));
        // Loading again shows the block as it is now.
        strcpy(block.adres, "New address");
        SendMessageA(p, UM_PAGE_LOAD, 0, 0);
        EXPECT_EQ("New address", Text(p, IDC_SELLER_ADDRESS));
        // Storing writes only on an editable page.
        SetDlgItemTextA(p, IDC_SELLER_OTHER, "typed");
        SendMessageA(p, UM_PAGE_STORE, 0, 0);
        EXPECT_EQ(editable ? std::string("typed") : std::string(seller.infDodat),
                  std::string(block.infDodat));
        EXPECT_EQ(editable ? std::string(255, 'Z') : std::string(sizeof block.nazwa, 'Z'),
                  std::string(block.nazwa, strnlen(block.nazwa, sizeof block.nazwa)));
        DestroyWindow(p);
    }
    DestroyWindow(parent);
}

// ---- Page "Defaults" ---------------------------------------------------------------

TEST_F(SettingsDialogTest, DefaultsStoreModesAndPricesWhateverTheHiddenEditHolds) {
    const struct {
        int32_t flags;                  // at the start
        int asmRadio, disRadio;         // clicked
        const char *asmText, *disText;  // typed before the click
        int32_t flagsAfter;
        int64_t asmPrice, disPrice;
        bool asmShown, disShown;
    } cases[] = {
        // Every other bit of the flags word goes too.
        {2 | 8 | 0x30, IDC_ASM_NONE, IDC_DIS_NONE, "99,99", "55", 0, 0, 0, false, false},
        {0, IDC_ASM_BY_SIZE, IDC_DIS_FIXED, "12,5", "7", 1 | 8, 1250, 700, true, true},
        {1 | 4, IDC_ASM_FIXED, IDC_DIS_BY_SIZE, "250", "0,05", 2 | 4, 25000, 5, true, true},
        {1 | 8, IDC_ASM_BY_SIZE, IDC_DIS_NONE, "3", "8", 1, 300, 0, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flagsAfter);
        DefaultSettings(&s_);
        s_.sWycenZamParam.flagi = c.flags;
        s_.sWycenZamParam.cenaMont = 1500;
        s_.sWycenZamParam.cenaDemont = 800;
        bool asmShown = !c.asmShown, disShown = !c.disShown;
        int result = RunDialog(&s_, [&](HWND dlg) {
            ShowTab(dlg, 1);
            HWND p = Page(dlg, IDD_PAGE_DEFAULTS);
            SetDlgItemTextA(p, IDC_ASM_PRICE, Num(c.asmText).c_str());
            SetDlgItemTextA(p, IDC_DIS_PRICE, Num(c.disText).c_str());
            Click(p, c.asmRadio);
            Click(p, c.disRadio);
            asmShown = Visible(p, IDC_ASM_PRICE) && Visible(p, IDC_ASM_UNIT);
            disShown = Visible(p, IDC_DIS_PRICE) && Visible(p, IDC_DIS_UNIT);
            EXPECT_EQ(asmShown, Visible(p, IDC_ASM_PRICE) || Visible(p, IDC_ASM_UNIT));
            EXPECT_EQ(disShown, Visible(p, IDC_DIS_PRICE) || Visible(p, IDC_DIS_UNIT));
        });
        EXPECT_EQ(1, result);
        EXPECT_EQ(c.flagsAfter, s_.sWycenZamParam.flagi);
        EXPECT_EQ(c.asmPrice, s_.sWycenZamParam.cenaMont);
        EXPECT_EQ(c.disPrice, s_.sWycenZamParam.cenaDemont);
        EXPECT_EQ(c.asmShown, asmShown);
        EXPECT_EQ(c.disShown, disShown);
    }
}

TEST_F(SettingsDialogTest, DefaultsUnitLabelsFollowModeAndCurrency) {
    s_.sWycenZamParam.flagi = 1 | 8;  // by size, fixed
    const struct {
        int click;     // radio clicked, or 0
        int currency;  // selected, or -1
        const char *asmUnit, *disUnit;
    } steps[] = {
        {0, -1, "EUR/m", "EUR"},           {0, 32, "USD/m", "USD"},
        {IDC_ASM_FIXED, -1, "USD", "USD"}, {IDC_DIS_BY_SIZE, -1, "USD", "USD/m"},
        {0, 13, "GBP", "GBP/m"},
    };
    int result = RunDialog(&s_, [&](HWND dlg) {
        ShowTab(dlg, 1);
        HWND p = Page(dlg, IDD_PAGE_DEFAULTS);
        for (const auto& step : steps) {
            if (step.click) Click(p, step.click);
            if (step.currency >= 0) SelectCurrency(p, step.currency);
            EXPECT_EQ(step.asmUnit, Text(p, IDC_ASM_UNIT)) << step.click << " " << step.currency;
            EXPECT_EQ(step.disUnit, Text(p, IDC_DIS_UNIT)) << step.click << " " << step.currency;
        }
    });
    EXPECT_EQ(1, result);
    EXPECT_EQ(13, s_.idWalPrg);
    EXPECT_EQ(2 | 4, s_.sWycenZamParam.flagi);
}

TEST_F(SettingsDialogTest, DefaultsShowAndStoreEachFieldInItsScale) {
    const struct {
        int id;
        const char *shown, *typed;
    } fields[] = {
        {IDC_ASM_PRICE, "15,00", "1234567,89"},
        {IDC_VAT_ASSEMBLY, "8,00", "5"},
        {IDC_VAT_WINDOWS, "8,00", "23"},
        {IDC_VAT_ACCESSORIES, "23,00", "7,5"},
        {IDC_DISCOUNT, "0", "15"},
        {IDC_FULFILMENT, "14", "1000"},
        {IDC_WEIGHT, "30,00", "45,25"},
    };
    int result = RunDialog(&s_, [&](HWND dlg) {
        HWND p = Page(dlg, IDD_PAGE_DEFAULTS);
        for (const auto& f : fields) {
            EXPECT_EQ(Num(f.shown), Text(p, f.id)) << f.id;
            SetDlgItemTextA(p, f.id, Num(f.typed).c_str());
        }
    });
    EXPECT_EQ(1, result);
    const strWycenZamParam& w = s_.sWycenZamParam;
    EXPECT_EQ(123456789, w.cenaMont);
    EXPECT_EQ(500, w.vatMont);
    EXPECT_EQ(2300, w.vatOkna);
    EXPECT_EQ(750, w.vatDodat);
    EXPECT_EQ(15, w.rabat);
    EXPECT_EQ(1000, s_.czasReal);
    EXPECT_EQ(4525, s_.waga);
    EXPECT_TRUE(g_boxes.empty());
}

// ---- Refused entries (Defaults and Others) ------------------------------------------------

TEST_F(SettingsDialogTest, RefusedEntryKeepsItsOldValueAndOkStillCloses) {
    enum Field { kDiscount, kFulfilment, kHeading };
    const struct {
        int page, id;
        const char* typed;
        const char* message;  // null: accepted
        Field field;
        int32_t stored;
    } cases[] = {
        {IDD_PAGE_DEFAULTS, IDC_DISCOUNT, "101", "Wrong buyer's discount", kDiscount, 7},
        {IDD_PAGE_DEFAULTS, IDC_DISCOUNT, "", "Wrong buyer's discount", kDiscount, 7},
        {IDD_PAGE_DEFAULTS, IDC_DISCOUNT, "100", nullptr, kDiscount, 100},
        {IDD_PAGE_DEFAULTS, IDC_FULFILMENT, "1001", "Wrong default orders' fulfilment time", kFulfilment, 14},
        {IDD_PAGE_DEFAULTS, IDC_FULFILMENT, "0", nullptr, kFulfilment, 0},
        {IDD_PAGE_OTHERS, IDC_HEADING, "251", "Wrong size of a printout heading", kHeading, 30},
        {IDD_PAGE_OTHERS, IDC_HEADING, "-5", "Wrong size of a printout heading", kHeading, 30},
        {IDD_PAGE_OTHERS, IDC_HEADING, "250", nullptr, kHeading, 250},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + " '" + c.typed + "'");
        ResetHarness();
        DefaultSettings(&s_);
        s_.sWycenZamParam.rabat = 7;
        int result = RunDialog(&s_, [&](HWND dlg) {
            SetDlgItemTextA(Page(dlg, c.page), c.id, c.typed);
            // Fields of other pages are written all the same.
            SetDlgItemTextA(Page(dlg, IDD_PAGE_SELLER), IDC_SELLER_NAME, "Written");
            SetDlgItemTextA(Page(dlg, IDD_PAGE_DEFAULTS), IDC_WEIGHT, "12");
        });
        EXPECT_EQ(1, result);
        const int32_t now = c.field == kDiscount     ? s_.sWycenZamParam.rabat
                            : c.field == kFulfilment ? s_.czasReal
                                                     : s_.wysNaglDruk;
        EXPECT_EQ(c.stored, now);
        EXPECT_STREQ("Written", s_.sDaneUzytk.nazwa);
        EXPECT_EQ(1200, s_.waga);
        if (c.message) {
            ASSERT_EQ(1u, g_boxes.size());
            EXPECT_EQ("Error", g_boxes[0].caption);
            EXPECT_EQ(c.message, g_boxes[0].text);
        } else {
            EXPECT_TRUE(g_boxes.empty());
        }
    }
}

// A default price beyond the highest a seller may type into an order is
// refused with its message and keeps the old price (a new order would
// start with a price its own window refuses); the highest itself is taken.
TEST_F(SettingsDialogTest, ADefaultPriceBeyondTheHighestIsRefused) {
    char highest[64];
    AmountDisplayText(9999999999, highest, sizeof highest);
    const struct {
        int radio, edit;
        const char* typed;
        const char* refusal;  // null: accepted
        int64_t stored;
    } cases[] = {
        {IDC_ASM_FIXED, IDC_ASM_PRICE, "100000000", "Wrong default price of assembly", 1500},
        {IDC_DIS_FIXED, IDC_DIS_PRICE, "123456789012345", "Wrong default price of disassembly", 4400},
        {IDC_ASM_FIXED, IDC_ASM_PRICE, "99999999,99", nullptr, 9999999999},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ResetHarness();
        DefaultSettings(&s_);
        s_.sWycenZamParam.cenaMont = 1500;
        s_.sWycenZamParam.cenaDemont = 4400;
        int result = RunDialog(&s_, [&](HWND dlg) {
            HWND p = Page(dlg, IDD_PAGE_DEFAULTS);
            Click(p, c.radio);
            SetDlgItemTextA(p, c.edit, Num(c.typed).c_str());
        });
        EXPECT_EQ(1, result);
        EXPECT_EQ(c.stored,
                  c.edit == IDC_ASM_PRICE ? s_.sWycenZamParam.cenaMont : s_.sWycenZamParam.cenaDemont);
        if (c.refusal) {
            ASSERT_EQ(1u, g_boxes.size());
            EXPECT_EQ(std::string(c.refusal) + "\r\nThe highest price is " + highest, g_boxes[0].text);
        } else {
            EXPECT_TRUE(g_boxes.empty());
        }
    }
}

// ---- Page "Default Uw rates" ----------------------------------------------------------

TEST_F(SettingsDialogTest, UwFactorsAreShownAndStoredInTheirScales) {
    const struct {
        int id;
        const char *shown, *typed;
        int32_t stored;
    } factors[8] = {
        {IDC_UF_FRAME, "1,30", "1,25", 125},       {IDC_UF_FRAME_SASH, "1,40", "2", 200},
        {IDC_UF_FIXED_MULLION, "1,50", "0,9", 90}, {IDC_UF_FALSE_MULLION, "1,60", "1,07", 107},
        {IDC_UG_GLASS, "1,1", "1,4", 140},         {IDC_PSI_GLASS, "0,080", "0,045", 450},
        {IDC_UG_ACRYLIC, "2,8", "3", 300},         {IDC_PSI_ACRYLIC, "0,060", "0,125", 1250},
    };
    int result = RunDialog(&s_, [&](HWND dlg) {
        HWND p = Page(dlg, IDD_PAGE_UW);
        for (const auto& f : factors) {
            EXPECT_EQ(Num(f.shown), Text(p, f.id)) << f.id;
            SetDlgItemTextA(p, f.id, Num(f.typed).c_str());
        }
    });
    EXPECT_EQ(1, result);
    for (int i = 0; i < 8; i++) EXPECT_EQ(factors[i].stored, ((int32_t*)&s_.sWspUw)[i]) << i;

    // A factor finer than its edit shows keeps its value while left alone.
    DefaultSettings(&s_);
    s_.sWspUw.ugSzyba = 115;
    s_.sWspUw.psiAkryl = 12345;
    std::string ug, psi;
    RunDialog(&s_, [&](HWND dlg) {
        ug = Text(Page(dlg, IDD_PAGE_UW), IDC_UG_GLASS);
        psi = Text(Page(dlg, IDD_PAGE_UW), IDC_PSI_ACRYLIC);
    });
    EXPECT_EQ(Num("1,1"), ug);
    EXPECT_EQ(Num("1,234"), psi);
    EXPECT_EQ(115, s_.sWspUw.ugSzyba);
    EXPECT_EQ(12345, s_.sWspUw.psiAkryl);
}

// The label drawn into a bitmap by the page itself (WM_PRINTCLIENT makes the
// static ask its page to draw it).
TEST_F(SettingsDialogTest, PsiLabelsAreDrawnLeftOfTheirTextAtEveryScale) {
    RunDialog(
        &s_,
        [&](HWND dlg) {
            ShowTab(dlg, 2);
            HWND p = Page(dlg, IDD_PAGE_UW);
            for (int id : {IDC_PSI_GLASS_LABEL, IDC_PSI_ACRYLIC_LABEL}) {
                SCOPED_TRACE(id);
                HWND label = GetDlgItem(p, id);
                EXPECT_EQ(SS_OWNERDRAW, GetWindowLongA(label, GWL_STYLE) & SS_TYPEMASK);
                char text[64] = "";
                GetWindowTextA(label, text, sizeof text);
                EXPECT_STREQ(id == IDC_PSI_GLASS_LABEL ? "g for glass:" : "g for acrylic:", text);
                RECT r;
                GetClientRect(label, &r);
                MemoryDC dc(nullptr, r.right, r.bottom);
                ASSERT_TRUE(dc.ok());
                SendMessageA(label, WM_PRINTCLIENT, (WPARAM)dc.get(), PRF_CLIENT);
                // Where the text starts, measured with the label's own font.
                SIZE size;
                {
                    ScopedSelect font(dc, (HFONT)SendMessageA(label, WM_GETFONT, 0, 0));
                    GetTextExtentPoint32A(dc, text, (int)strlen(text), &size);
                }
                const int x = r.right - size.cx;
                // At every scale: three verticals alike, as wide as the dpi
                // allows, the glyph and its stem at the scale, the label
                // wide enough for it.
                const int dpi = KvDpiForWindow(label);
                const PsiSeen psi = ReadPsi(dc, x, dpi);
                EXPECT_EQ(dpi < 192 ? 1 : dpi / 96, psi.stroke);
                EXPECT_NEAR(KvScale(7, dpi), psi.width, 1);
                EXPECT_NEAR(KvScale(11, dpi), psi.stemBottom, 1);
                EXPECT_LT(psi.stemBottom, r.bottom);
                EXPECT_GE(x - psi.width, 0);
                if (dpi != kKvBaseDpi) continue;
                // At 96 dpi, pixel by pixel.
                const DWORD back = dc.pixel(0, 0);
                auto ink = [&](int px, int py) {
                    EXPECT_TRUE(px >= 0 && px < r.right && py >= 0 && py < r.bottom) << px << "," << py;
                    if (px < 0 || px >= r.right || py < 0 || py >= r.bottom) return false;
                    return dc.pixel(px, py) != back;
                };
                // The three verticals, the bowl, the stem's foot; blank above and beside.
                for (int y = 2; y <= 8; y++) {
                    EXPECT_TRUE(ink(x - 1, y)) << y;
                    EXPECT_TRUE(ink(x - 7, y)) << y;
                }
                for (int y = 2; y <= 11; y++) EXPECT_TRUE(ink(x - 4, y)) << y;
                for (int px = x - 7; px <= x - 2; px++) EXPECT_TRUE(ink(px, 8)) << px;
                EXPECT_FALSE(ink(x - 6, 5));
                EXPECT_FALSE(ink(x - 2, 5));
                EXPECT_FALSE(ink(x - 4, 1));
                EXPECT_FALSE(ink(x - 7, 10));
                EXPECT_FALSE(ink(x - 8, 5));
                // The text itself is drawn to the right of the psi.
                int textInk = 0;
                for (int px = x; px < r.right; px++)
                    for (int py = 0; py < r.bottom; py++) textInk += ink(px, py);
                EXPECT_GT(textInk, 20);
            }
        },
        IDCANCEL);
}

// ---- Page "Orders' statuses" ---------------------------------------------------------------

TEST_F(SettingsDialogTest, StatusNamesAreTrimmedCutAndNeverEmpty) {
    const struct {
        const char* typed;  // null: left as shown
        std::string stored;
    } names[6] = {
        {"  Waiting  ", "Waiting"},
        {"AAAAAAAAAABBBBBBBBBBCCCCCCCCCCDDDDDDDDDD", "AAAAAAAAAABBBBBBBBBBCCCCCCCCCCD"},
        {"", "STATUS-3"},
        {" \t ", "STATUS-4"},
        {"Paid \"in full\"", "Paid \"in full\""},
        {nullptr, "CANCELLED"},
    };
    std::string shown[6];
    int result = RunDialog(&s_, [&](HWND dlg) {
        HWND p = Page(dlg, IDD_PAGE_STATUSES);
        for (int n = 0; n < 6; n++) {
            shown[n] = Text(p, IDC_STATUS_NAME_FIRST + 2 * n);
            if (names[n].typed) SetDlgItemTextA(p, IDC_STATUS_NAME_FIRST + 2 * n, names[n].typed);
        }
    });
    EXPECT_EQ(1, result);
    const char* const defaults[6] = {"ACCEPTED",  "IN PRODUCTION", "READY",
                                     "DELIVERED", "INVOICED",      "CANCELLED"};
    for (int n = 0; n < 6; n++) {
        EXPECT_EQ(defaults[n], shown[n]) << n;
        EXPECT_EQ(names[n].stored, s_.stanyZam[n]) << n;
    }
}

// Each picture is image n of the status bitmap drawn for the page's dpi,
// its magenta turned into the page's colour.
TEST_F(SettingsDialogTest, StatusPicturesCopyTheirImageOfTheStatusBitmapAtEveryScale) {
    const int index = KvPictureScaleIndex(KvSystemDpi());
    const int size = index == 0 ? 16 : index == 1 ? 24 : 32;
    MemoryDC bitmapPixels(nullptr, 6 * size, size);
    ASSERT_TRUE(bitmapPixels.ok());
    {
        const int ids[] = {IDB_STATUS, IDB_STATUS_150, IDB_STATUS_200};
        ScopedBitmap bmp(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ids[index])));
        ASSERT_TRUE(bmp);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = 6 * size;
        bi.bmiHeader.biHeight = -size;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        ASSERT_EQ(size, GetDIBits(bitmapPixels, bmp, 0, size, bitmapPixels.bits(), &bi, DIB_RGB_COLORS));
    }
    const COLORREF faceRef = GetSysColor(COLOR_BTNFACE);
    const DWORD face = (GetRValue(faceRef) << 16) | (GetGValue(faceRef) << 8) | GetBValue(faceRef);
    RunDialog(
        &s_,
        [&](HWND dlg) {
            ShowTab(dlg, 3);
            HWND p = Page(dlg, IDD_PAGE_STATUSES);
            ASSERT_EQ(KvSystemDpi(), KvDpiForWindow(p));
            for (int n = 1; n <= 6; n++) {
                SCOPED_TRACE(n);
                HWND picture = GetDlgItem(p, IDC_STATUS_PICTURE_FIRST + 2 * (n - 1));
                RECT r;
                GetClientRect(picture, &r);
                EXPECT_EQ(size, r.right);
                EXPECT_EQ(size, r.bottom);
                MemoryDC dc(nullptr, size, size);
                SendMessageA(picture, WM_PRINTCLIENT, (WPARAM)dc.get(), PRF_CLIENT);
                int differing = 0, drawn = 0;
                for (int y = 0; y < size; y++) {
                    for (int x = 0; x < size; x++) {
                        DWORD want = bitmapPixels.pixel(size * (n - 1) + x, y);
                        if (want == 0xFF00FF) want = face;
                        else drawn++;
                        differing += dc.pixel(x, y) != want;
                    }
                }
                EXPECT_EQ(0, differing);
                EXPECT_GT(drawn, 20);  // the image is not all background
            }
        },
        IDCANCEL);
}

// ---- The register of orders opens it -----------------------------------------------------

void AddOrder(int number, int status) {
    char sql[1024];
    snprintf(sql, sizeof sql,
             "INSERT INTO T_Zam (idZam, rok, dodOznaczZam, idWalZam, dataZam, dataReal, nazwaNabyw, "
             "adresNabyw, infDodatNabyw, waga, uwagi, status, sDaneUzytk, sWycenZamParam) "
             "SELECT %d, 2010, 'SYM', 12, '2010-07-20', '2010-08-03', 'Buyer', '', '', 3000, '', %d, "
             "sDaneUzytk, sWycenZamParam FROM T_UstUzytk;",
             number, status);
    RawSql("kelvaroDemo.db", sql);
}

class RegisterSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        char msg[2048];
        ASSERT_EQ(1, DbCreateFile("kelvaroDemo.db", 2010, msg)) << msg;
        AddOrder(1, 2);
        AddOrder(2, 0);
        AddOrder(3, 2);
        AddOrder(4, 5);
        main_ = CreateMainWindowForTest();
        ASSERT_NE(nullptr, main_);
        ResetHarness();
        list_ = GetDlgItem(main_, IDC_ORDERS);
        ASSERT_EQ(4, (int)SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
        ASSERT_EQ(RunSettingsDialog, g_settingsDialog);
    }
    void TearDown() override { DestroyMainWindowForTest(main_); }

    // Renames status 2 and picks USD through the real dialog.
    void EditSettings() {
        Drive d{[](HWND dlg) {
                    SetDlgItemTextA(Page(dlg, IDD_PAGE_STATUSES), IDC_STATUS_NAME_FIRST + 2, "Shipped");
                    SelectCurrency(Page(dlg, IDD_PAGE_DEFAULTS), 32);
                },
                IDOK};
        LoopProbe probe(DriveSettings, &d, 5000);
        SendMessageA(main_, WM_COMMAND, CMD_SETTINGS, 0);
        EXPECT_TRUE(d.ran);
    }
    std::string Cell(int row, int col) { return ListCell(list_, row, col); }
    std::string MenuText(HMENU menu, UINT id) {
        char text[64] = "";
        GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
        return text;
    }
    std::string FilterText(int index) {
        char text[64] = "";
        SendDlgItemMessageA(main_, IDC_FILTER, CB_GETLBTEXT, index, (LPARAM)text);
        return text;
    }
    // The "Change status to" items of the list's pop-up menu, read while it shows.
    std::string PopupStatusText() {
        struct Seen {
            std::string text;
        } seen;
        auto read = [](void* ctx) {
            HWND menu = FindWindowA("#32768", nullptr);
            if (!menu || !IsWindowVisible(menu)) return false;
            HMENU h = (HMENU)SendMessageA(menu, MN_GETHMENU, 0, 0);
            char text[64] = "";
            GetMenuStringA(GetSubMenu(h, 5), 10023, text, sizeof text, MF_BYCOMMAND);
            ((Seen*)ctx)->text = text;
            EndMenu();
            return true;
        };
        LVITEMA sel = {};
        sel.stateMask = sel.state = LVIS_SELECTED;
        SendMessageA(list_, LVM_SETITEMSTATE, 0, (LPARAM)&sel);
        NMITEMACTIVATE nm = {};
        nm.hdr = {list_, IDC_ORDERS, (UINT)NM_RCLICK};
        nm.iItem = 0;
        LoopProbe probe(read, &seen, 3000);
        SendMessageA(main_, WM_NOTIFY, IDC_ORDERS, (LPARAM)&nm);
        return seen.text;
    }
    int32_t StoredCurrency() {
        char msg[2048];
        int32_t v = -1;
        EXPECT_EQ(kDbQueryValue, DbQueryValue("SELECT idWalPrg FROM T_UstUzytk", kDbInt32, &v, 4, msg));
        return v;
    }
    ScopedTempCwd cwd_;
    HWND main_ = nullptr;
    HWND list_ = nullptr;
};

TEST_F(RegisterSettingsTest, AfterOkEveryPlaceShowsTheNewNamesAndCurrency) {
    // Filter on status 2: its selection must survive the renaming.
    SendDlgItemMessageA(main_, IDC_FILTER, CB_SETCURSEL, 2, 0);
    SendMessageA(main_, WM_COMMAND, MAKEWPARAM(IDC_FILTER, CBN_SELCHANGE),
                 (LPARAM)GetDlgItem(main_, IDC_FILTER));
    ASSERT_EQ(2, (int)SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ("IN PRODUCTION", Cell(0, 1));

    EditSettings();
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("Information", g_boxes[0].caption);
    EXPECT_EQ("The user's settings have been updated", g_boxes[0].text);
    EXPECT_EQ("\tProgram currency: USD", StatusBarPart(main_, 2));
    EXPECT_EQ("Shipped", MenuText(GetMenu(main_), 10023));
    EXPECT_EQ("ACCEPTED", MenuText(GetMenu(main_), 10022));
    EXPECT_EQ("Shipped", FilterText(2));
    EXPECT_EQ(2, (int)SendDlgItemMessageA(main_, IDC_FILTER, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(7, (int)SendDlgItemMessageA(main_, IDC_FILTER, CB_GETCOUNT, 0, 0));
    EXPECT_EQ("Shipped", Cell(0, 1));
    EXPECT_EQ("Shipped", Cell(1, 1));
    EXPECT_EQ("Shipped", PopupStatusText());
    // Saved, and the program's settings now.
    EXPECT_EQ(32, StoredCurrency());
    EXPECT_STREQ("Shipped", g_app.settings.stanyZam[1]);
    EXPECT_EQ(32, g_app.settings.idWalPrg);

    // Under "All" every status keeps its own name.
    SendDlgItemMessageA(main_, IDC_FILTER, CB_SETCURSEL, 0, 0);
    SendMessageA(main_, WM_COMMAND, MAKEWPARAM(IDC_FILTER, CBN_SELCHANGE),
                 (LPARAM)GetDlgItem(main_, IDC_FILTER));
    const char* const expected[4] = {"Shipped", "NEW", "Shipped", "INVOICED"};
    for (int r = 0; r < 4; r++) EXPECT_EQ(expected[r], Cell(r, 1)) << r;
}

TEST_F(RegisterSettingsTest, FailedSaveKeepsTheFormerSettings) {
    const strUstUzytk before = g_app.settings;
    ASSERT_EQ(1, DbExec("CREATE TRIGGER refuse BEFORE UPDATE ON T_UstUzytk "
                        "BEGIN SELECT RAISE(ABORT, 'disk is full'); END;",
                        nullptr));
    EditSettings();
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("Error", g_boxes[0].caption);
    EXPECT_EQ(0u, g_boxes[0].text.find("Error of updating strUstUzytk in the database")) << g_boxes[0].text;
    EXPECT_EQ(0, memcmp(&before, &g_app.settings, sizeof before));
    EXPECT_EQ(12, StoredCurrency());
    EXPECT_EQ("\tProgram currency: EUR", StatusBarPart(main_, 2));
    EXPECT_EQ("IN PRODUCTION", MenuText(GetMenu(main_), 10023));
    EXPECT_EQ("IN PRODUCTION", FilterText(2));
    EXPECT_EQ("IN PRODUCTION", Cell(0, 1));
}

}  // namespace
