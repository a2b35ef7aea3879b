// The list box of widgora.dll with its tooltip and context menu, in a dialog
// of the test's own that supplies the tip's text the way the order window
// does: for the record's current item.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "tests/win/harness.h"
#include "tests/win/widgora_test_rc.h"
#include "tests/win/widgora_testutil.h"
#include "widgora/widgora.h"

namespace {

strTtLbx* g_rec;
// What the dialog saw, in order: "tip:<text>", "sel:<index>", "menu".
std::vector<std::string> g_events;
HMENU g_menu;

std::string ItemText(HWND lbx, int item) {
    char text[128] = "";
    if (item >= 0) SendMessageA(lbx, LB_GETTEXT, item, (LPARAM)text);
    return text;
}

INT_PTR CALLBACK TestDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    static char tipA[128];
    static WCHAR tipW[128];
    HWND lbx = GetDlgItem(dlg, IDC_TEST_LIST);
    switch (msg) {
        case WM_INITDIALOG: return TRUE;
        case WM_NOTIFY: {
            NMHDR* h = (NMHDR*)lParam;
            if ((h->code == TTN_GETDISPINFOA || h->code == TTN_GETDISPINFOW) && g_rec) {
                std::string text =
                    "Window " + std::to_string(g_rec->nrPoz + 1) + ": " + ItemText(lbx, g_rec->nrPoz);
                g_events.push_back("tip:" + text);
                if (h->code == TTN_GETDISPINFOA) {
                    strcpy(tipA, text.c_str());
                    ((NMTTDISPINFOA*)lParam)->lpszText = tipA;
                } else {
                    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, tipW, 128);
                    ((NMTTDISPINFOW*)lParam)->lpszText = tipW;
                }
            }
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_TEST_LIST && HIWORD(wParam) == LBN_SELCHANGE && (HWND)lParam == lbx)
                g_events.push_back("sel:" + std::to_string(SendMessageA(lbx, LB_GETCURSEL, 0, 0)));
            return TRUE;
        case WM_INITMENUPOPUP:
            if ((HMENU)wParam == g_menu) g_events.push_back("menu");
            return TRUE;
    }
    return FALSE;
}

class ListBoxTip : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        RouteLibraryBoxes();
        g_events.clear();
        g_rec = nullptr;
        dlg_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEST), nullptr,
                                  TestDialogProc, 0);
        ASSERT_NE(nullptr, dlg_);
        SetWindowPos(dlg_, HWND_TOP, 200, 200, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(dlg_);
        lbx_ = GetDlgItem(dlg_, IDC_TEST_LIST);
        for (const char* s : {"Kitchen 1200x1400", "Balcony door", "Bathroom"})
            SendMessageA(lbx_, LB_ADDSTRING, 0, (LPARAM)s);
        g_menu = CreatePopupMenu();
        AppendMenuA(g_menu, MF_STRING, 501, "Edit window");
        AppendMenuA(g_menu, MF_STRING, 502, "Delete window");
        memset(&rec_, 0x5A, sizeof rec_);  // whatever the caller's memory held
        prev_ = DodajTtMenuPdrDoLbx(dlg_, IDC_TEST_LIST, g_menu, GetModuleHandleA(nullptr), 300, &rec_, 0);
        g_rec = &rec_;
        PumpMessages(20);
    }
    void TearDown() override {
        g_rec = nullptr;
        DestroyWindow(dlg_);
        DestroyMenu(g_menu);
        EXPECT_TRUE(g_boxes.empty());
    }
    // Client coordinates of the middle of an item, as an lParam.
    LPARAM ItemPoint(int item) {
        RECT r;
        SendMessageA(lbx_, LB_GETITEMRECT, item, (LPARAM)&r);
        return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    LPARAM BelowTheLastItem() {
        RECT r, client;
        SendMessageA(lbx_, LB_GETITEMRECT, 2, (LPARAM)&r);
        GetClientRect(lbx_, &client);
        EXPECT_LT(r.bottom + 5, client.bottom) << "no room below the items";
        return MAKELPARAM(10, r.bottom + 5);
    }
    bool TipVisible() { return IsWindowVisible(rec_.hTt) != 0; }

    HWND dlg_ = nullptr, lbx_ = nullptr;
    strTtLbx rec_;
    WNDPROC prev_ = nullptr;
};

TEST_F(ListBoxTip, InstallingFillsTheRecordAndMakesATrackingTooltip) {
    ASSERT_NE(nullptr, prev_);
    EXPECT_EQ(prev_, rec_.poprzProc);
    EXPECT_EQ(&rec_, (strTtLbx*)GetWindowLongPtrA(lbx_, GWLP_USERDATA));
    char cls[64] = "";
    GetClassNameA(rec_.hTt, cls, sizeof cls);
    EXPECT_STREQ("tooltips_class32", cls);
    EXPECT_EQ(dlg_, GetWindow(rec_.hTt, GW_OWNER));
    EXPECT_TRUE(GetWindowLongA(rec_.hTt, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(0, rec_.czyTtPokaz);
    EXPECT_EQ(-1, rec_.nrPoz);
    EXPECT_EQ(0, rec_.czySledzNad);
    EXPECT_EQ(0, rec_.czySledzWyj);
    EXPECT_EQ(g_menu, rec_.hMenuPdr);
    EXPECT_EQ(300, SendMessageA(rec_.hTt, TTM_GETMAXTIPWIDTH, 0, 0));
    TTTOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.hwnd = dlg_;
    ti.uId = (UINT_PTR)lbx_;
    ASSERT_TRUE(SendMessageA(rec_.hTt, TTM_GETTOOLINFOA, 0, (LPARAM)&ti));
    const UINT want = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
    EXPECT_EQ(want, ti.uFlags & want);
    EXPECT_FALSE(TipVisible());
}

TEST_F(ListBoxTip, HoverShowsTheParentsTextForTheItemAndLeaveHidesIt) {
    for (int item : {1, 2, 0}) {
        g_events.clear();
        SendMessageA(lbx_, WM_MOUSEHOVER, 0, ItemPoint(item));
        PumpMessages(30);
        EXPECT_EQ(1, rec_.czyTtPokaz);
        EXPECT_EQ(item, rec_.nrPoz);
        EXPECT_TRUE(TipVisible()) << "item " << item;
        std::string want = "tip:Window " + std::to_string(item + 1) + ": " + ItemText(lbx_, item);
        ASSERT_FALSE(g_events.empty()) << "the tooltip did not ask the dialog for the text";
        EXPECT_EQ(want, g_events.back());
        // Placed at the mouse, in screen coordinates.
        LPARAM lp = ItemPoint(item);
        POINT pt = {(short)LOWORD(lp), (short)HIWORD(lp)};
        ClientToScreen(lbx_, &pt);
        RECT tip;
        GetWindowRect(rec_.hTt, &tip);
        EXPECT_NEAR(pt.x, tip.left, 2);
        EXPECT_NEAR(pt.y, tip.top, 2);
    }
    SendMessageA(lbx_, WM_MOUSELEAVE, 0, 0);
    PumpMessages(30);
    EXPECT_EQ(0, rec_.czyTtPokaz);
    EXPECT_FALSE(TipVisible());
    EXPECT_EQ(0, rec_.czySledzNad);
    EXPECT_EQ(0, rec_.czySledzWyj);
}

TEST_F(ListBoxTip, HoverBelowTheLastItemHidesTheTip) {
    SendMessageA(lbx_, WM_MOUSEHOVER, 0, ItemPoint(0));
    PumpMessages(30);
    ASSERT_TRUE(TipVisible());
    SendMessageA(lbx_, WM_MOUSEHOVER, 0, BelowTheLastItem());
    PumpMessages(30);
    EXPECT_EQ(0, rec_.czyTtPokaz);
    EXPECT_FALSE(TipVisible());
}

TEST_F(ListBoxTip, AMouseMoveAsksForHoverAndLeaveNotificationsOnce) {
    LPARAM lp = ItemPoint(1);
    POINT pt = {(short)LOWORD(lp), (short)HIWORD(lp)};
    ClientToScreen(lbx_, &pt);
    SetCursorPos(pt.x, pt.y);
    SendMessageA(lbx_, WM_MOUSEMOVE, 0, lp);
    EXPECT_EQ(1, rec_.czySledzNad);
    EXPECT_EQ(1, rec_.czySledzWyj);
    TRACKMOUSEEVENT tme = {sizeof tme, TME_QUERY, nullptr, 0};
    ASSERT_TRUE(TrackMouseEvent(&tme));
    EXPECT_EQ(lbx_, tme.hwndTrack);
    EXPECT_EQ((DWORD)(TME_HOVER | TME_LEAVE), tme.dwFlags & (TME_HOVER | TME_LEAVE));
    // The hover notification clears its mark, so the next move asks again.
    SendMessageA(lbx_, WM_MOUSEHOVER, 0, lp);
    EXPECT_EQ(0, rec_.czySledzNad);
    EXPECT_EQ(1, rec_.czySledzWyj);
    SendMessageA(lbx_, WM_MOUSEMOVE, 0, lp);
    EXPECT_EQ(1, rec_.czySledzNad);
}

TEST_F(ListBoxTip, TheMouseRestingOnAnItemShowsTheTipByItself) {
    // The real thing: the cursor over an item, one move, and the system's
    // hover notification after its hover time.
    LPARAM lp = ItemPoint(1);
    POINT pt = {(short)LOWORD(lp), (short)HIWORD(lp)};
    ClientToScreen(lbx_, &pt);
    SetCursorPos(pt.x, pt.y);
    PumpMessages(50);
    SendMessageA(lbx_, WM_MOUSEMOVE, 0, lp);
    EXPECT_TRUE(PumpUntil([&] { return rec_.czyTtPokaz == 1; }, 3000)) << "no hover came";
    EXPECT_EQ(1, rec_.nrPoz);
    EXPECT_TRUE(TipVisible());
    // Away from the list box: the leave notification hides it.
    RECT dr;
    GetWindowRect(dlg_, &dr);
    SetCursorPos(dr.right + 50, dr.bottom + 50);
    EXPECT_TRUE(PumpUntil([&] { return rec_.czyTtPokaz == 0; }, 3000)) << "no leave came";
    EXPECT_FALSE(TipVisible());
    EXPECT_EQ(0, rec_.czySledzWyj);
}

// Closes whatever popup menu is open, noting that one was.
struct MenuCloser {
    bool sawMenu = false;
    std::string selectionWhenOpen;
};

bool CloseMenu(void* c) {
    MenuCloser* m = (MenuCloser*)c;
    HWND menu = FindWindowA("#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return false;
    m->sawMenu = true;
    EndMenu();
    return true;
}

TEST_F(ListBoxTip, RightClickOnAnItemSelectsItTellsTheParentAndOpensTheMenu) {
    for (int item : {2, 0}) {
        g_events.clear();
        MenuCloser closer;
        LoopProbe probe(CloseMenu, &closer, 3000);
        SendMessageA(lbx_, WM_RBUTTONDOWN, MK_RBUTTON, ItemPoint(item));
        EXPECT_FALSE(probe.timedOut());
        EXPECT_TRUE(closer.sawMenu) << "item " << item;
        EXPECT_EQ(item, SendMessageA(lbx_, LB_GETCURSEL, 0, 0));
        // The parent hears of the selection before the menu opens.
        ASSERT_EQ(2u, g_events.size());
        EXPECT_EQ("sel:" + std::to_string(item), g_events[0]);
        EXPECT_EQ("menu", g_events[1]);
    }
}

TEST_F(ListBoxTip, RightClickBelowTheLastItemDoesNothing) {
    SendMessageA(lbx_, LB_SETCURSEL, 1, 0);
    g_events.clear();
    MenuCloser closer;
    LoopProbe probe(CloseMenu, &closer, 300);
    SendMessageA(lbx_, WM_RBUTTONDOWN, MK_RBUTTON, BelowTheLastItem());
    PumpMessages(100);
    EXPECT_FALSE(closer.sawMenu);
    EXPECT_EQ(1, SendMessageA(lbx_, LB_GETCURSEL, 0, 0));
    EXPECT_TRUE(g_events.empty());
}

TEST_F(ListBoxTip, ASecondInstallationIsRefusedAndTheFirstKeepsWorking) {
    strTtLbx second;
    memset(&second, 0x5A, sizeof second);
    EXPECT_EQ(nullptr,
              DodajTtMenuPdrDoLbx(dlg_, IDC_TEST_LIST, nullptr, GetModuleHandleA(nullptr), 300, &second, 0));
    EXPECT_EQ(&rec_, (strTtLbx*)GetWindowLongPtrA(lbx_, GWLP_USERDATA));
    rec_.hMenuPdr = nullptr;
    g_events.clear();
    SendMessageA(lbx_, WM_RBUTTONDOWN, MK_RBUTTON, ItemPoint(2));
    EXPECT_EQ(2, SendMessageA(lbx_, LB_GETCURSEL, 0, 0));
    ASSERT_EQ(1u, g_events.size());
    EXPECT_EQ("sel:2", g_events[0]);
}

TEST_F(ListBoxTip, WithoutAMenuTheRightClickStillSelectsAndTells) {
    rec_.hMenuPdr = nullptr;
    g_events.clear();
    MenuCloser closer;
    LoopProbe probe(CloseMenu, &closer, 300);
    SendMessageA(lbx_, WM_RBUTTONDOWN, MK_RBUTTON, ItemPoint(1));
    PumpMessages(100);
    EXPECT_FALSE(closer.sawMenu);
    EXPECT_EQ(1, SendMessageA(lbx_, LB_GETCURSEL, 0, 0));
    ASSERT_EQ(1u, g_events.size());
    EXPECT_EQ("sel:1", g_events[0]);
}

}  // namespace
