// Paths of the order window that change an open order in place: the
// Valuation page's recomputes, the accessory Edit and Delete, and "Correct"
// turning a preview into a correction. Driven through the window's
// messages from inside its own loop; every box is answered through the
// program's seam.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "db/connection.h"
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
#include "util/modal_loop_win.h"
#include "util/msgbuf.h"
#include "valuation/valuation.h"

namespace {

int StandInDesigner(HWND, strOkno*, const strZam*, const DrawSet*, int) { return 0; }
void StandInPrint(HWND, strZamRob*, const DrawSet*) {}

using Texts = std::vector<std::string>;

class OrderPathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        g_orderDesigner = StandInDesigner;
        g_orderPrint = StandInPrint;
        char msg[2048];
        ASSERT_EQ(1, DbCreateFile("kelvaroDemo.db", 2010, msg)) << msg;
        ASSERT_EQ(1, DbOpen("kelvaroDemo.db", msg)) << msg;
        stored_ = SaveTestOrder(2, 3, 3, msg);
        ASSERT_NE(0, stored_) << msg;
        DbClose();
        main_ = CreateMainWindowForTest();
        ASSERT_NE(nullptr, main_);
        register_ = GetDlgItem(main_, IDC_ORDERS);
        ResetHarness();
    }
    void TearDown() override {
        FreeAndZeroOrder(&z_);
        DestroyMainWindowForTest(main_);
    }
    // The stored order in the working record, as the register opens it for
    // "Correct" (correct) or "Preview".
    void LoadStored(bool correct) {
        char msg[2048];
        ASSERT_EQ(1, LoadOrder(stored_, &z_, msg)) << msg;
        RecomputeOrder(&z_, kRecomputeAll);
        z_.flagiWidoku = correct ? kViewCorrection : 0;
        row_ = 0;
    }
    int Open(Script* s) {
        return RunScripted([&] { return RunOrderWindow(main_, &z_, &row_, &g_app.draw); }, s);
    }
    Texts BoxTexts() {
        Texts v;
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

std::string Amount(int64_t amount) {
    char text[64];
    AmountDisplayText(amount, text, sizeof text);
    return text;
}

// A change of an edit's text as typing reports it.
void SetAsTyped(HWND page, int id, const char* text) {
    HWND edit = GetDlgItem(page, id);
    SetWindowTextA(edit, text);
    SendMessageA(edit, EM_SETMODIFY, TRUE, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), (LPARAM)edit);
}

// ---- The Valuation page's recomputes --------------------------------------------------------

// Every total the window and its Valuation page show, in one list: the
// order's net, gross and discount, the assembly and disassembly costs, the
// page's discount amount, the accessories' net and gross, and each
// accessory row's "Total".
Texts ShownTotals(HWND w) {
    HWND v = PageWith(w, IDC_VAL_ASSEMBLY_COST);
    Texts t = {ItemText(w, IDC_ORD_NET),         ItemText(w, IDC_ORD_GROSS),
               ItemText(w, IDC_ORD_DISCOUNT),    ItemText(v, IDC_VAL_ASSEMBLY_COST),
               ItemText(v, IDC_VAL_DISASSEMBLY_COST), ItemText(v, IDC_VAL_DISCOUNT_AMOUNT),
               ItemText(w, IDC_ORD_ACC_NET),     ItemText(w, IDC_ORD_ACC_GROSS)};
    HWND list = GetDlgItem(w, IDC_ORD_ACC_LIST);
    for (int r = 0; r < (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); r++)
        t.push_back(ListCell(list, r, 3));
    return t;
}

// The same list for the order recomputed whole: what a partial recompute
// must have come to.
Texts WholeTotals(const strZamRob* z, strSumyZam* sums) {
    strZamRob whole = {};
    char msg[KV_MSG_LEN];
    EXPECT_EQ(1, CopyOrder(&whole, z, msg)) << msg;
    RecomputeOrder(&whole, kRecomputeAll);
    const strSumyZam& s = whole.sumy;
    *sums = s;
    int64_t discount = 0;
    EXPECT_EQ(1, OrderDiscount(&s, &discount));
    Texts t = {Amount(s.zamNetto),    Amount(s.zamBrutto), Amount(discount),     Amount(s.montNetto),
               Amount(s.demontNetto), Amount(discount),    Amount(s.dodatNetto), Amount(s.dodatBrutto)};
    for (int32_t i = 0; i < whole.zam.liczbaDodat; i++) {
        ValuationLine l = {};
        AccessoryLine(&l, &whole, &whole.zam.dodatki[i], kLineGross);
        t.push_back(Amount(l.lineGross));
    }
    FreeOrder(&whole);
    return t;
}

void ExpectSameSums(const strSumyZam& want, const strSumyZam& got) {
    const int64_t strSumyZam::*amounts[] = {
        &strSumyZam::oknaNetto,       &strSumyZam::oknaBrutto,       &strSumyZam::oknaNettoRabat,
        &strSumyZam::oknaBruttoRabat, &strSumyZam::dodatNetto,       &strSumyZam::dodatBrutto,
        &strSumyZam::dodatNettoRabat, &strSumyZam::dodatBruttoRabat, &strSumyZam::montNetto,
        &strSumyZam::montBrutto,      &strSumyZam::demontNetto,      &strSumyZam::demontBrutto,
        &strSumyZam::zamNetto,        &strSumyZam::zamBrutto};
    for (size_t i = 0; i < sizeof amounts / sizeof amounts[0]; i++)
        EXPECT_EQ(want.*amounts[i], got.*amounts[i]) << "total " << i;
    EXPECT_EQ(want.przepelnione, got.przepelnione);
}

// One click on the upper arrow of an up-down control.
void ClickUpArrow(HWND spin) {
    RECT rc;
    GetClientRect(spin, &rc);
    const LPARAM at = MAKELPARAM(rc.right / 2, rc.bottom / 4);
    SendMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(spin, WM_LBUTTONUP, 0, at);
}

// Each rate and the discount recompute only part of the totals; after each
// change the totals shown, and the totals kept, are those of the order
// recomputed whole. The order is priced so that every part counts: both
// windows and accessories, assembly by the frame's length, disassembly at
// a fixed price, and a discount. A discount the up-down cannot read is
// refused with its message and changes nothing.
TEST_F(OrderPathsTest, EachValuationChangeShowsTheTotalsOfTheWholeRecompute) {
    LoadStored(true);
    strWycenZamParam& v = z_.zam.sWycenZamParam;
    v.flagi = 1 | 8;  // assembly by size, disassembly at a fixed price
    v.cenaMont = 1500;
    v.cenaDemont = 9000;
    v.vatMont = 800;
    v.vatOkna = 800;
    v.vatDodat = 2300;
    v.rabat = 10;
    RecomputeOrder(&z_, kRecomputeAll);

    struct Change {
        const char* what;
        int id;
        std::string text;  // typed; empty: the up-down's upper arrow
    };
    const Change changes[] = {
        {"VAT of assembly and disassembly", IDC_VAL_VAT_ASSEMBLY, Dec("23")},
        {"VAT of windows", IDC_VAL_VAT_WINDOWS, Dec("5.5")},
        {"VAT of accessories", IDC_VAL_VAT_ACC, Dec("8")},
        {"discount typed", IDC_VAL_DISCOUNT, "25"},
        {"discount by the arrow", IDC_VAL_DISCOUNT_SPIN, ""},
    };
    struct Seen {
        Texts before, shown, whole;
        strSumyZam sums, wholeSums;
    };
    std::vector<Seen> seen;
    Texts refusedBefore, refusedShown, refusedBoxes;
    int32_t discountAfterRefusal = -1;
    g_answers = {IDYES};
    Script script;
    script.steps = {[&](HWND w) {
                        HWND page = PageWith(w, IDC_VAL_VAT_ASSEMBLY);
                        for (const Change& c : changes) {
                            Seen s;
                            s.before = ShownTotals(w);
                            if (c.text.empty()) ClickUpArrow(GetDlgItem(page, c.id));
                            else SetAsTyped(page, c.id, c.text.c_str());
                            s.shown = ShownTotals(w);
                            s.sums = z_.sumy;
                            s.whole = WholeTotals(&z_, &s.wholeSums);
                            seen.push_back(s);
                        }
                        ResetHarness();
                        refusedBefore = ShownTotals(w);
                        SetAsTyped(page, IDC_VAL_DISCOUNT, "150");
                        refusedShown = ShownTotals(w);
                        refusedBoxes = BoxTexts();
                        discountAfterRefusal = z_.zam.sWycenZamParam.rabat;
                        SetAsTyped(page, IDC_VAL_DISCOUNT, "26");
                        ResetHarness();
                        g_answers = {IDYES};
                        return true;
                    },
                    CloseWith(ORD_CANCEL)};
    Open(&script);
    ASSERT_EQ(5u, seen.size());
    for (size_t i = 0; i < seen.size(); i++) {
        SCOPED_TRACE(changes[i].what);
        EXPECT_NE(seen[i].before, seen[i].shown) << "the change must move the totals";
        EXPECT_EQ(seen[i].whole, seen[i].shown);
        ExpectSameSums(seen[i].wholeSums, seen[i].sums);
    }
    EXPECT_EQ(2300, v.vatMont);
    EXPECT_EQ(550, v.vatOkna);
    EXPECT_EQ(800, v.vatDodat);
    EXPECT_EQ(26, v.rabat);

    EXPECT_EQ(Texts{"Error: Wrong buyer's discount"}, refusedBoxes);
    EXPECT_EQ(26, discountAfterRefusal);
    EXPECT_EQ(refusedBefore, refusedShown);
}

// ---- The accessory's Edit and Delete ---------------------------------------------------------

Texts Row(HWND list, int row) {
    return {ListCell(list, row, 0), ListCell(list, row, 1), ListCell(list, row, 2), ListCell(list, row, 3)};
}

struct AccessoryCommands {
    bool editMenu, deleteMenu, editButton, deleteButton;
    bool operator==(const AccessoryCommands& o) const {
        return editMenu == o.editMenu && deleteMenu == o.deleteMenu && editButton == o.editButton &&
               deleteButton == o.deleteButton;
    }
};

AccessoryCommands CommandsOf(HWND w) {
    return {MenuEnabled(w, ORD_ACC_EDIT), MenuEnabled(w, ORD_ACC_DELETE),
            IsWindowEnabled(GetDlgItem(w, ORD_ACC_EDIT)) != 0,
            IsWindowEnabled(GetDlgItem(w, ORD_ACC_DELETE)) != 0};
}

// The middle of three accessories (each "Sill n", 1,5 m, 2 x 25,50, VAT
// 23 %) edited into a board of two dimensions: its row shows the new texts
// and "Total", the others stay, the accessory totals follow. Deleting the
// selected row then leaves no row selected, and Edit and Delete are
// disabled again in the menu and on the buttons.
TEST_F(OrderPathsTest, AnEditedAccessoryShowsItsRowAndTotalsAndDeletingItDisablesEditAndDelete) {
    LoadStored(true);
    z_.zam.sWycenZamParam.vatDodat = 2300;
    z_.zam.sWycenZamParam.rabat = 0;
    RecomputeOrder(&z_, kRecomputeAll);
    Texts before[3], after[3];
    std::string net, gross, netAfterDelete, grossAfterDelete;
    AccessoryCommands selected = {}, afterEdit = {}, afterDelete = {};
    int rowsAfterDelete = -1, selectedAfterDelete = -1;
    Script script;
    script.steps = {[&](HWND w) {
                        HWND list = GetDlgItem(w, IDC_ORD_ACC_LIST);
                        for (int r = 0; r < 3; r++) before[r] = Row(list, r);
                        SelectRow(list, 1);
                        selected = CommandsOf(w);
                        Post(w, ORD_ACC_EDIT);
                        return true;
                    },
                    [&](HWND) {
                        HWND dlg = Dialog("Accessory");
                        if (!dlg) return false;
                        HWND name = IsWindowVisible(GetDlgItem(dlg, IDC_ACC_NAME_COMBO))
                                        ? GetDlgItem(dlg, IDC_ACC_NAME_COMBO)
                                        : GetDlgItem(dlg, IDC_ACC_NAME_EDIT);
                        SetWindowTextA(name, "Board");
                        Type(GetDlgItem(dlg, IDC_ACC_DIMS), "2");
                        Type(GetDlgItem(dlg, IDC_ACC_DIM1), Dec("1.25"));
                        Type(GetDlgItem(dlg, IDC_ACC_DIM2), Dec("0.8"));
                        Type(GetDlgItem(dlg, IDC_ACC_UNIT), "m2");
                        Type(GetDlgItem(dlg, IDC_ACC_PRICE), Dec("1000"));
                        Type(GetDlgItem(dlg, IDC_ACC_QUANTITY), "3");
                        SendMessageA(dlg, WM_COMMAND, IDOK, 0);
                        return true;
                    },
                    [&](HWND w) {
                        if (Dialog("Accessory")) return false;
                        HWND list = GetDlgItem(w, IDC_ORD_ACC_LIST);
                        for (int r = 0; r < 3; r++) after[r] = Row(list, r);
                        net = ItemText(w, IDC_ORD_ACC_NET);
                        gross = ItemText(w, IDC_ORD_ACC_GROSS);
                        afterEdit = CommandsOf(w);
                        g_answers = {IDYES};
                        Command(w, ORD_ACC_DELETE);
                        rowsAfterDelete = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
                        selectedAfterDelete = (int)SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0);
                        afterDelete = CommandsOf(w);
                        netAfterDelete = ItemText(w, IDC_ORD_ACC_NET);
                        grossAfterDelete = ItemText(w, IDC_ORD_ACC_GROSS);
                        g_answers = {IDYES};
                        return true;
                    },
                    CloseWith(ORD_CANCEL)};
    Open(&script);
    EXPECT_EQ((Texts{"Sill 1", "1,5 m", "2", "62,73"}), before[1]);  // 51,00 + 23 %
    EXPECT_EQ((Texts{"Board", "1 m2", "3", "3 690,00"}), after[1]);  // 3 x 1 000,00 + 23 %
    EXPECT_EQ(before[0], after[0]);
    EXPECT_EQ(before[2], after[2]);
    EXPECT_EQ("3 102,00", net);    // 51,00 + 3 000,00 + 51,00
    EXPECT_EQ("3 815,46", gross);  // 62,73 + 3 690,00 + 62,73
    EXPECT_EQ((AccessoryCommands{true, true, true, true}), selected);
    EXPECT_EQ((AccessoryCommands{true, true, true, true}), afterEdit);
    EXPECT_EQ(2, rowsAfterDelete);
    EXPECT_EQ(0, selectedAfterDelete);
    EXPECT_EQ((AccessoryCommands{false, false, false, false}), afterDelete);
    EXPECT_EQ("102,00", netAfterDelete);
    EXPECT_EQ("125,46", grossAfterDelete);
    EXPECT_EQ(0, z_.flagiWidoku & 2);
}

// ---- "Correct" from a preview ---------------------------------------------------------------

struct Enabling {
    bool save, correct, buyerReadOnly, vatReadOnly, notesReadOnly, accAdd, winAdd;
    std::string cancel;
};

Enabling EnablingOf(HWND w) {
    return {MenuEnabled(w, ORD_SAVE),
            MenuEnabled(w, ORD_CORRECT),
            ReadOnly(PageWith(w, IDC_GEN_BUYER), IDC_GEN_BUYER),
            ReadOnly(PageWith(w, IDC_VAL_VAT_WINDOWS), IDC_VAL_VAT_WINDOWS),
            ReadOnly(PageWith(w, IDC_NOTES_TEXT), IDC_NOTES_TEXT),
            IsWindowEnabled(GetDlgItem(w, ORD_ACC_ADD)) != 0,
            MenuEnabled(w, ORD_WIN_ADD),
            MenuText(w, ORD_CANCEL)};
}

// "Correct" turns the preview into a correction: the commands and the
// pages of a correction, the snapshot taken then. The loaded order holds a
// price beside "without assembly", which the page never gives back: Cancel
// without a change closes at once. After a change typed into each page,
// Cancel asks, and the pages' values are in the order.
TEST_F(OrderPathsTest, CorrectTurnsAPreviewIntoACorrectionThatAsksOnlyAfterAChange) {
    const std::string kQuestion = "Note: The order has not been saved !\r\nDo you want to continue ?";
    for (bool change : {false, true}) {
        SCOPED_TRACE(change ? "changed" : "unchanged");
        FreeAndZeroOrder(&z_);
        LoadStored(false);
        z_.zam.sWycenZamParam.flagi &= ~3;      // without assembly...
        z_.zam.sWycenZamParam.cenaMont = 4321;  // ...but a price left behind
        ResetHarness();
        Enabling preview = {}, corrected = {};
        int32_t viewFlags = 0;
        bool stayedOpen = false;
        Texts boxesBeforeCancel;
        g_answers = {IDNO, IDYES};
        Script script;
        script.steps = {[&](HWND w) {
                            preview = EnablingOf(w);
                            Command(w, ORD_CORRECT);
                            corrected = EnablingOf(w);
                            viewFlags = z_.flagiWidoku;
                            boxesBeforeCancel = BoxTexts();
                            if (change) {
                                Type(GetDlgItem(PageWith(w, IDC_GEN_BUYER), IDC_GEN_BUYER), "Somebody else");
                                Type(GetDlgItem(PageWith(w, IDC_VAL_VAT_WINDOWS), IDC_VAL_VAT_WINDOWS), "5");
                                Type(GetDlgItem(PageWith(w, IDC_NOTES_TEXT), IDC_NOTES_TEXT), "Ring first");
                                Command(w, ORD_CANCEL);  // answered No: stays
                                stayedOpen = IsWindow(w) != 0;
                            }
                            return true;
                        },
                        CloseWith(ORD_CANCEL)};
        EXPECT_EQ(0, Open(&script));
        EXPECT_TRUE(!preview.save && preview.correct && preview.buyerReadOnly && preview.vatReadOnly &&
                    preview.notesReadOnly && !preview.accAdd && !preview.winAdd);
        EXPECT_EQ("Exit", preview.cancel);
        EXPECT_TRUE(corrected.save);
        EXPECT_FALSE(corrected.correct);
        EXPECT_FALSE(corrected.buyerReadOnly);
        EXPECT_FALSE(corrected.vatReadOnly);
        EXPECT_FALSE(corrected.notesReadOnly);
        EXPECT_TRUE(corrected.accAdd);
        EXPECT_TRUE(corrected.winAdd);
        EXPECT_EQ("Cancel", corrected.cancel);
        EXPECT_EQ(kViewCorrection, viewFlags & kViewCorrection);
        EXPECT_EQ(Texts{}, boxesBeforeCancel);
        if (change) {
            EXPECT_TRUE(stayedOpen);
            EXPECT_EQ((Texts{kQuestion, kQuestion}), BoxTexts());
            EXPECT_STREQ("Somebody else", z_.zam.nazwaNabyw);
            EXPECT_EQ(500, z_.zam.sWycenZamParam.vatOkna);
            EXPECT_STREQ("Ring first", z_.zam.uwagi);
        } else {
            EXPECT_EQ(Texts{}, BoxTexts());
        }
    }
}

}  // namespace

namespace {

// ---- The window's message loop ---------------------------------------------------------------

const DWORD kFetchError = ERROR_INVALID_WINDOW_HANDLE;
int g_fetches = 0;

// Fetches as the system does, then fails at the third call.
BOOL WINAPI FailingFetch(MSG* m, HWND hwnd, UINT first, UINT last) {
    if (++g_fetches < 3) return GetMessageA(m, hwnd, first, last);
    SetLastError(kFetchError);
    return -1;
}

// A loop that cannot fetch its next message shows the system's text of the
// error, closes the order window and gives the register back.
TEST_F(OrderPathsTest, AFailedMessageFetchClosesTheWindowAndEnablesTheRegister) {
    LoadStored(true);
    PostMessageA(register_, WM_NULL, 0, 0);  // something to fetch before the failure
    g_fetches = 0;
    KvSetMessageFetchForTest(FailingFetch);
    const int saved = RunOrderWindow(main_, &z_, &row_, &g_app.draw);
    KvSetMessageFetchForTest(nullptr);
    EXPECT_EQ(0, saved);
    EXPECT_EQ(3, g_fetches);
    EXPECT_EQ(nullptr, FindOrderWindow());
    EXPECT_TRUE(IsWindowEnabled(main_)) << "the register is left disabled";
    char text[KV_MSG_LEN];
    DajKomunBledu2(kFetchError, text, sizeof text, 0);
    ASSERT_NE(0, text[0]);
    EXPECT_EQ(Texts{std::string("Error: ") + text}, BoxTexts());
}

}  // namespace
