// The main window's register of orders: its controls, status bar, enabling by
// selection, and the commands that need no order (year closing, next order's
// number, registers of used elements, help, about). The window is created in
// the test's process and driven with its own messages.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "app/app.h"
#include "app/order_register.h"
#include "db/connection.h"
#include "db/names.h"
#include "db/newdb.h"
#include "resources/resource.h"
#include "tests/native/testdb.h"
#include "tests/win/harness.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/testutil.h"
#include "util/dpi_win.h"
#include "util/help_win.h"
#include "util/toolbar_win.h"

namespace {

std::string g_helpTarget;
void RecordHelp(const char* target, void*) { g_helpTarget = target; }

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        g_helpTarget.clear();
        SetHelpHook(RecordHelp, nullptr);
        char msg[2048];
        ASSERT_EQ(1, DbCreateFile("kelvaroDemo.db", 2010, msg)) << msg;
        RawSql("kelvaroDemo.db", "UPDATE T_Zmienne SET idZam = 10;");
        main_ = CreateMainWindowForTest();
        ASSERT_NE(nullptr, main_);
        ASSERT_EQ(1u, g_boxes.size());  // the year question
        ResetHarness();
    }
    void TearDown() override {
        DestroyMainWindowForTest(main_);
        SetHelpHook(nullptr, nullptr);
    }
    HWND Item(int id) { return GetDlgItem(main_, id); }
    // A measure given at 96 dpi, at the dpi the window is laid out for.
    int Px(int v) { return KvScale(v, KvDpiForWindow(main_)); }
    std::string StatusPart(int part) { return StatusBarPart(main_, part); }
    void Command(int id) { SendMessageA(main_, WM_COMMAND, id, 0); }
    int64_t Count(const char* table) {
        char msg[2048];
        int64_t n = -1;
        EXPECT_EQ(kDbQueryValue,
                  DbQueryValue((std::string("SELECT COUNT(*) FROM ") + table).c_str(), kDbInt64, &n, 8, msg));
        return n;
    }
    int32_t StoredInt(const char* sql) {
        char msg[2048];
        int32_t v = -1;
        EXPECT_EQ(kDbQueryValue, DbQueryValue(sql, kDbInt32, &v, 4, msg)) << msg;
        return v;
    }
    ScopedTempCwd cwd_;
    HWND main_ = nullptr;
};

// ---- Controls -----------------------------------------------------------

TEST_F(MainWindowTest, StatusBarShowsYearNumberAndCurrencyAtEveryScale) {
    EXPECT_EQ("\tCurrent year: 2010", StatusPart(0));
    EXPECT_EQ("\tLast order number: 10", StatusPart(1));
    EXPECT_EQ("\tProgram currency: EUR", StatusPart(2));
    int parts[3] = {};
    SendMessageA(Item(IDC_STATUSBAR), SB_GETPARTS, 3, (LPARAM)parts);
    EXPECT_EQ(Px(250), parts[0]);
    EXPECT_EQ(Px(600), parts[1]);
    EXPECT_EQ(-1, parts[2]);
}

// While a menu item of the register is highlighted the status bar says what
// it does and its key; the menu closing brings the three parts back as they
// were.
TEST_F(MainWindowTest, MenuItemsTellWhatTheyDoInTheStatusBar) {
    HWND status = Item(IDC_STATUSBAR);
    const std::string parts[3] = {StatusPart(0), StatusPart(1), StatusPart(2)};
    HMENU bar = GetMenu(main_), order = GetSubMenu(bar, 0);
    HMENU popup = ((MainWindow*)GetWindowLongPtrA(main_, GWLP_USERDATA))->popup;  // the list's
    const UINT hilite = MF_HILITE;
    struct Case {
        HMENU menu;
        UINT item;
        UINT flags;
        const char* text;
    } cases[] = {
        {order, CMD_NEW, hilite, "Create a new order (Ctrl+N)"},
        {popup, CMD_CORRECT, hilite, "Open the selected order for correction"},
        {order, CMD_SEARCH, hilite, "Find an order by its number (Ctrl+F)"},
        {order, CMD_DELETE, hilite | MF_GRAYED, "Delete the selected orders (Delete)"},
        {order, 5, hilite | MF_POPUP, "Give the selected orders another status"},
        {GetSubMenu(order, 5), CMD_STATUS_FIRST + 1, hilite, nullptr},
        {bar, 1, hilite | MF_POPUP, "Numbering, the working year, settings, the price list, registers and backups"},
        {GetSubMenu(bar, 1), CMD_DEL_REG_FIRST + 4, hilite, "Empty the register of the used muntins"},
        {bar, 0, hilite | MF_POPUP, "Create, open, change, find, export and print orders"},
    };
    const std::string status2 = std::string("Give the selected orders the status \"") +
                                StatusName(&g_app.settings, 2) + "\"";
    for (const Case& c : cases) {
        SendMessageA(main_, WM_MENUSELECT, MAKEWPARAM(c.item, c.flags), (LPARAM)c.menu);
        EXPECT_TRUE(SendMessageA(status, SB_ISSIMPLE, 0, 0)) << c.item;
        EXPECT_EQ(c.text ? c.text : status2, StatusPart(0));
    }
    SendMessageA(main_, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_FALSE(SendMessageA(status, SB_ISSIMPLE, 0, 0));
    for (int i = 0; i < 3; i++) EXPECT_EQ(parts[i], StatusPart(i));
    SendMessageA(main_, WM_MENUSELECT, MAKEWPARAM(CMD_PRINT, hilite), (LPARAM)order);
    EXPECT_EQ("Print the selected order, with a preview first (Ctrl+P)", StatusPart(0));
    SendMessageA(main_, WM_EXITMENULOOP, FALSE, 0);
    EXPECT_FALSE(SendMessageA(status, SB_ISSIMPLE, 0, 0));
    for (int i = 0; i < 3; i++) EXPECT_EQ(parts[i], StatusPart(i));
}

// The layout of the register at the window's dpi (at 96 dpi the numbers
// themselves), checked after a resize.
void ExpectLayoutAtItsDpi(HWND main, int (*px)(HWND, int)) {
    RECT client;
    GetClientRect(main, &client);
    const int w = client.right, h = client.bottom;
    RECT tb, sb;
    GetWindowRect(GetDlgItem(main, IDC_TOOLBAR), &tb);
    GetWindowRect(GetDlgItem(main, IDC_STATUSBAR), &sb);
    const int t = tb.bottom - tb.top, s = sb.bottom - sb.top;
    auto at = [&](int id) {
        RECT r;
        GetWindowRect(GetDlgItem(main, id), &r);
        MapWindowPoints(HWND_DESKTOP, main, (POINT*)&r, 2);
        return r;
    };
    auto P = [&](int v) { return px(main, v); };
    RECT list = at(IDC_ORDERS);
    EXPECT_EQ(P(14), list.left);
    EXPECT_EQ(t + P(34), list.top);
    EXPECT_EQ(w - P(28), list.right - list.left);
    EXPECT_EQ(h - t - s - P(112), list.bottom - list.top);
    RECT group = at(IDC_GROUP);
    EXPECT_EQ(P(4), group.left);
    EXPECT_EQ(t + P(10), group.top);
    EXPECT_EQ(h - t - s - P(20), group.bottom - group.top);
    EXPECT_EQ(h - s - P(65), at(IDC_FILTER).top);
    EXPECT_EQ(P(178), at(IDC_FILTER).left);
    EXPECT_EQ(P(310), at(CMD_SEARCH).left);
    EXPECT_EQ(w - P(392), at(CMD_NEW).left);
    EXPECT_EQ(w - P(392) + P(96), at(CMD_PREVIEW).left);
    EXPECT_EQ(w - P(392) + 2 * P(96), at(CMD_PRINT).left);
    EXPECT_EQ(w - P(392) + 3 * P(96), at(IDC_HELP_BUTTON).left);
    EXPECT_EQ(h - s - P(62), at(IDC_FILTER_LABEL).top);
    const RECT help = at(IDC_HELP_BUTTON), label = at(IDC_FILTER_LABEL);
    EXPECT_EQ(P(90), help.right - help.left);
    EXPECT_EQ(P(23), help.bottom - help.top);
    EXPECT_EQ(P(160), label.right - label.left);
    for (const std::string& s : TextsThatDoNotFit(main)) ADD_FAILURE() << "does not fit: " << s;
}

int ScaleOf(HWND main, int v) { return KvScale(v, KvDpiForWindow(main)); }

// The run at another scale is a run at that dpi (tools/test.sh names it in
// KV_DPI), not one at 96 that passes the same way.
TEST_F(MainWindowTest, TheWindowIsLaidOutForTheDisplaysDpiAtEveryScale) {
    const char* asked = getenv("KV_DPI");
    EXPECT_EQ(asked ? atoi(asked) : kKvBaseDpi, KvDpiForWindow(main_));
}

TEST_F(MainWindowTest, ControlsFollowTheClientSizeAtEveryScale) {
    SetWindowPos(main_, nullptr, 0, 0, Px(1000), Px(700), SWP_NOZORDER | SWP_NOMOVE);
    ExpectLayoutAtItsDpi(main_, ScaleOf);
}

// Wine has one dpi for every monitor and sends no WM_DPICHANGED: the message
// a move to a monitor of a quarter more dpi would bring is sent by hand.
int g_movedDpi;
int ScaleOfMoved(HWND, int v) { return KvScale(v, g_movedDpi); }

TEST_F(MainWindowTest, AMoveToAnotherDpiLaysTheRegisterOutForIt) {
    const int from = KvDpiForWindow(main_);
    g_movedDpi = from * 5 / 4;
    RECT suggested = {10, 10, 10 + KvScale(1000, g_movedDpi), 10 + KvScale(700, g_movedDpi)};
    SendMessageA(main_, WM_DPICHANGED, MAKEWPARAM(g_movedDpi, g_movedDpi), (LPARAM)&suggested);
    RECT now;
    GetWindowRect(main_, &now);
    EXPECT_EQ(suggested.right - suggested.left, now.right - now.left);
    EXPECT_EQ(suggested.bottom - suggested.top, now.bottom - now.top);
    ExpectLayoutAtItsDpi(main_, ScaleOfMoved);
    int parts[3] = {};
    SendMessageA(Item(IDC_STATUSBAR), SB_GETPARTS, 3, (LPARAM)parts);
    EXPECT_EQ(KvScale(250, g_movedDpi), parts[0]);
    EXPECT_EQ(KvScale(150, g_movedDpi), SendMessageA(Item(IDC_ORDERS), LVM_GETCOLUMNWIDTH, 4, 0));
    // The controls' font is the dialog font at the new dpi.
    LOGFONTA lf = {}, stock = {};
    GetObjectA((HFONT)SendMessageA(Item(CMD_NEW), WM_GETFONT, 0, 0), sizeof lf, &lf);
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock);
    EXPECT_EQ(MulDiv(stock.lfHeight, g_movedDpi, from), lf.lfHeight);
}

// The toolbar's pictures are drawn for the scale: 16 pixels up to 131 dpi,
// 24 from 132, 32 from 180, the greyed ones alike.
TEST_F(MainWindowTest, ToolbarPicturesTakeTheirSizeForTheScaleAtEveryScale) {
    const int index = KvPictureScaleIndex(KvDpiForWindow(main_));
    const int size = index == 0 ? 16 : index == 1 ? 24 : 32;
    for (UINT message : {TB_GETIMAGELIST, TB_GETDISABLEDIMAGELIST}) {
        HIMAGELIST list = (HIMAGELIST)SendMessageA(Item(IDC_TOOLBAR), message, 0, 0);
        ASSERT_NE(nullptr, list);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(list, &cx, &cy);
        EXPECT_EQ(size, cx);
        EXPECT_EQ(size, cy);
        EXPECT_EQ(7, ImageList_GetImageCount(list));
    }
}

// The list's status pictures and the window's icons have the size of the
// display's dpi, and take that of another after a move to a display of
// half as much dpi again or of twice as much.
TEST_F(MainWindowTest, StatusPicturesAndIconsTakeTheSizeOfTheDpiAtEveryScale) {
    const int from = KvDpiForWindow(main_);
    for (int dpi : {from, from * 3 / 2, from * 2}) {
        SCOPED_TRACE(dpi);
        if (dpi != from) {
            RECT suggested = {10, 10, 10 + KvScale(1000, dpi), 10 + KvScale(700, dpi)};
            SendMessageA(main_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), (LPARAM)&suggested);
        }
        const int index = KvPictureScaleIndex(dpi);
        HIMAGELIST states = (HIMAGELIST)SendMessageA(Item(IDC_ORDERS), LVM_GETIMAGELIST, LVSIL_STATE, 0);
        ASSERT_NE(nullptr, states);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(states, &cx, &cy);
        EXPECT_EQ(index == 0 ? 16 : index == 1 ? 24 : 32, cx);
        EXPECT_EQ(cx, cy);
        EXPECT_EQ(6, ImageList_GetImageCount(states));
        EXPECT_EQ(KvSystemMetricForDpi(SM_CXSMICON, dpi),
                  IconWidth((HICON)SendMessageA(main_, WM_GETICON, ICON_SMALL, 0)));
        EXPECT_EQ(KvSystemMetricForDpi(SM_CXICON, dpi),
                  IconWidth((HICON)SendMessageA(main_, WM_GETICON, ICON_BIG, 0)));
    }
}

TEST_F(MainWindowTest, ColumnsAndFilterAndStatusNamesAtEveryScale) {
    HWND list = Item(IDC_ORDERS);
    const char* headers[] = {"",
                             "Status",
                             "Order No.",
                             "Order symbol",
                             "Buyer",
                             "Date of order",
                             "Date of fulfilment",
                             "Total",
                             "Qty of windows",
                             "Notes"};
    const int widths[] = {20, 100, 100, 100, 150, 90, 90, 90, 80, 200};
    for (int i = 0; i < 10; i++) {
        char text[64] = "";
        LVCOLUMNA c = {};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        c.pszText = text;
        c.cchTextMax = sizeof text;
        ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, i, (LPARAM)&c)) << i;
        EXPECT_STREQ(headers[i], text);
        EXPECT_EQ(Px(widths[i]), c.cx);
        EXPECT_EQ(i == 7 || i == 8 ? LVCFMT_RIGHT : LVCFMT_LEFT, c.fmt & LVCFMT_JUSTIFYMASK) << i;
    }
    HWND filter = Item(IDC_FILTER);
    ASSERT_EQ(7, SendMessageA(filter, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(0, SendMessageA(filter, CB_GETCURSEL, 0, 0));
    char text[64];
    SendMessageA(filter, CB_GETLBTEXT, 0, (LPARAM)text);
    EXPECT_STREQ("All", text);
    SendMessageA(filter, CB_GETLBTEXT, 2, (LPARAM)text);
    EXPECT_STREQ("IN PRODUCTION", text);
    // The status names are also the items of "Change status to".
    HMENU statusMenu = GetSubMenu(GetSubMenu(GetMenu(main_), 0), 5);
    GetMenuStringA(statusMenu, 10027, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ("CANCELLED", text);
}

// Adds `n` rows to the list as the fill would, so the selection logic can be
// driven through the list's own notifications.
void AddRows(HWND list, int n) {
    for (int i = 0; i < n; i++) {
        char key[16];
        snprintf(key, sizeof key, "%d", i + 1);
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = key;
        SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    }
}

void Select(HWND list, int row, bool on) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = on ? LVIS_SELECTED : 0;
    SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&item);
}

TEST_F(MainWindowTest, CommandsFollowTheNumberOfSelectedRows) {
    HWND list = Item(IDC_ORDERS);
    AddRows(list, 3);
    HMENU order = GetSubMenu(GetMenu(main_), 0);
    HWND toolbar = Item(IDC_TOOLBAR);
    auto enabled = [&](int id) { return !(GetMenuState(order, id, MF_BYCOMMAND) & MF_GRAYED); };
    auto statusEnabled = [&] { return !(GetMenuState(order, 5, MF_BYPOSITION) & MF_GRAYED); };
    struct Expect {
        int selected;
        bool one, any;
    } const cases[] = {{0, false, false}, {1, true, true}, {2, false, true}, {1, true, true}};
    Select(list, 0, false);
    for (const Expect& e : cases) {
        SCOPED_TRACE(e.selected);
        for (int r = 0; r < 3; r++) Select(list, r, r < e.selected);
        EXPECT_EQ(e.selected, g_app.selectedCount);
        for (int id : {CMD_PREVIEW, CMD_EDIT_AS_NEW, CMD_CORRECT, CMD_PRINT})
            EXPECT_EQ(e.one, enabled(id)) << id;
        EXPECT_EQ(e.one, IsWindowEnabled(Item(CMD_PREVIEW)) != 0);
        EXPECT_EQ(e.one, IsWindowEnabled(Item(CMD_PRINT)) != 0);
        EXPECT_EQ(e.one, SendMessageA(toolbar, TB_ISBUTTONENABLED, CMD_PREVIEW, 0) != 0);
        EXPECT_EQ(e.one, SendMessageA(toolbar, TB_ISBUTTONENABLED, CMD_PRINT, 0) != 0);
        EXPECT_EQ(e.any, enabled(CMD_DELETE));
        EXPECT_EQ(e.any, statusEnabled());
        EXPECT_EQ(e.any, SendMessageA(toolbar, TB_ISBUTTONENABLED, CMD_CHANGE_STATUS, 0) != 0);
        EXPECT_TRUE(enabled(CMD_NEW));
        EXPECT_TRUE(enabled(CMD_SEARCH));
    }
}

// ---- Year and number -------------------------------------------------------

TEST_F(MainWindowTest, ClosingTheYearStartsTheNextAtNumberZero) {
    g_answers.push_back(IDYES);
    Command(CMD_CLOSE_YEAR);
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("Note", g_boxes[0].caption);
    EXPECT_EQ("Do you want to close the year 2010 ?", g_boxes[0].text);
    EXPECT_EQ("\tCurrent year: 2011", StatusPart(0));
    EXPECT_EQ("\tLast order number: 0", StatusPart(1));
    EXPECT_EQ(2011, StoredInt("SELECT rok FROM T_Zmienne"));
    EXPECT_EQ(0, StoredInt("SELECT idZam FROM T_Zmienne"));
}

TEST_F(MainWindowTest, NotClosingTheYearChangesNothing) {
    g_answers.push_back(IDNO);
    Command(CMD_CLOSE_YEAR);
    EXPECT_EQ("\tCurrent year: 2010", StatusPart(0));
    EXPECT_EQ(2010, StoredInt("SELECT rok FROM T_Zmienne"));
    EXPECT_EQ(10, StoredInt("SELECT idZam FROM T_Zmienne"));
}

// Types `text` into the next order's number dialog and presses OK; a second
// press of Cancel follows when the dialog is still open (a refused value).
struct NumberEntry {
    const char* text;
    int presses;
    std::string shown;  // what the dialog first showed
};

bool DriveNumberDialog(void* ctx) {
    NumberEntry* e = (NumberEntry*)ctx;
    HWND dlg = FindWindowA("#32770", "Next order's number");
    if (!dlg) return false;
    if (e->presses == 0) {
        char shown[32] = "";
        GetDlgItemTextA(dlg, IDC_NEXT_NUMBER, shown, sizeof shown);
        e->shown = shown;
        SetDlgItemTextA(dlg, IDC_NEXT_NUMBER, e->text);
        e->presses++;
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        return false;  // look again: a refused value keeps the dialog open
    }
    e->presses++;
    PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    return true;
}

TEST_F(MainWindowTest, NextOrderNumberCanBeRaised) {
    NumberEntry entry = {"25", 0, ""};
    {
        LoopProbe probe(DriveNumberDialog, &entry, 5000);
        Command(CMD_NEXT_NUMBER);
    }
    EXPECT_EQ("11", entry.shown);
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("Information", g_boxes[0].caption);
    EXPECT_EQ("The next order's number has been saved", g_boxes[0].text);
    EXPECT_EQ("\tLast order number: 24", StatusPart(1));
    EXPECT_EQ(24, StoredInt("SELECT idZam FROM T_Zmienne"));
    EXPECT_EQ(24, g_app.vars.idZam);
}

TEST_F(MainWindowTest, NextOrderNumberCannotBeLowered) {
    for (const char* text : {"5", "abc"}) {
        SCOPED_TRACE(text);
        ResetHarness();
        NumberEntry entry = {text, 0, ""};
        {
            LoopProbe probe(DriveNumberDialog, &entry, 5000);
            Command(CMD_NEXT_NUMBER);
        }
        EXPECT_EQ(2, entry.presses);  // OK refused, then Cancel
        ASSERT_EQ(1u, g_boxes.size());
        EXPECT_EQ("Error", g_boxes[0].caption);
        EXPECT_EQ("Wrong value in the field Next order's number", g_boxes[0].text);
        EXPECT_EQ(10, StoredInt("SELECT idZam FROM T_Zmienne"));
        EXPECT_EQ("\tLast order number: 10", StatusPart(1));
    }
}

// ---- Registers of used elements ----------------------------------------------

TEST_F(MainWindowTest, EmptyRegisterSaysSoAndAsksNothing) {
    Command(10035);
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("Error", g_boxes[0].caption);
    EXPECT_EQ("The register of the used colors is empty", g_boxes[0].text);
}

TEST_F(MainWindowTest, RegisterIsDeletedOnlyAfterYes) {
    ASSERT_EQ(1, DbExec("INSERT INTO T_ZstDodat VALUES ('SILL', 1, 'm'), ('HANDLE', 0, 'pcs');", nullptr));
    g_answers.push_back(IDNO);
    Command(10039);
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("There are 2 used accessories in the register.\r\nDo you want to delete them ?",
              g_boxes[0].text);
    EXPECT_EQ(2, Count("T_ZstDodat"));
    ResetHarness();
    g_answers.push_back(IDYES);
    Command(10039);
    ASSERT_EQ(2u, g_boxes.size());
    EXPECT_EQ("Information", g_boxes[1].caption);
    EXPECT_EQ("The register of the used accessories has been deleted", g_boxes[1].text);
    EXPECT_EQ(0, Count("T_ZstDodat"));
}

TEST_F(MainWindowTest, EachRegisterCommandDeletesItsOwnTable) {
    const char* tables[] = {"T_ZstProfil", "T_ZstOkucie", "T_ZstKolor", "T_ZstListwa",
                            "T_ZstSzpros", "T_ZstWypeln", "T_ZstDodat"};
    for (int i = 0; i < 7; i++) {
        std::string sql = std::string("INSERT INTO ") + tables[i] + " (nazwa) VALUES ('X');";
        ASSERT_EQ(1, DbExec(sql.c_str(), nullptr));
    }
    for (int i = 0; i < 7; i++) {
        g_answers.push_back(IDYES);
        Command(10033 + i);
        for (int j = 0; j < 7; j++) EXPECT_EQ(j <= i ? 0 : 1, Count(tables[j])) << i << " " << j;
    }
}

// ---- Help, about, and the windows still to come -------------------------------

TEST_F(MainWindowTest, HelpOpensTheShippedPage) {
    Command(CMD_HELP);
    EXPECT_NE(std::string::npos, g_helpTarget.find("kelvaro-help.html")) << g_helpTarget;
    EXPECT_EQ(0u, g_helpTarget.find("file:///"));
    EXPECT_EQ(std::string::npos, g_helpTarget.find('#'));
    g_helpTarget.clear();
    Command(IDC_HELP_BUTTON);
    EXPECT_NE(std::string::npos, g_helpTarget.find("kelvaro-help.html"));
    // The designer's topics open the page at its design section.
    EXPECT_EQ("#modProj", HelpTarget(3).substr(HelpTarget(3).size() - 8));
    EXPECT_EQ(std::string::npos, HelpTarget(8).find('#'));
}

bool ReadAbout(void* ctx) {
    HWND dlg = FindWindowA("#32770", "About the program");
    if (!dlg) return false;
    char text[64] = "";
    GetDlgItemTextA(dlg, IDC_ABOUT_VERSION, text, sizeof text);
    *(std::string*)ctx = text;
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    return true;
}

TEST_F(MainWindowTest, AboutShowsTheVersion) {
    std::string version;
    LoopProbe probe(ReadAbout, &version, 5000);
    Command(CMD_ABOUT);
    EXPECT_EQ("version: 1.8", version);
}

}  // namespace
