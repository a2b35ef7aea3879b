// Returning buyers in the order window: the buyer field offers the buyers of
// the demo orders as the user types, and a buyer chosen by keys or by mouse
// fills the address and other information left empty. Driven through the
// window's own loop: keys are posted, so that they pass its dialog
// navigation as the keyboard's would.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "db/connection.h"
#include "db/newdb.h"
#include "db/orders.h"
#include "tests/native/testdb.h"
#include "tests/win/harness.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/order_driver.h"
#include "tools/mkdb/demo.h"
#include "ui/order/order_rc.h"
#include "ui/order/order_window.h"
#include "util/kvutil.h"
#include "util/msgbuf.h"
#include "util/suggest_list_win.h"
#include "valuation/valuation.h"

namespace {

class OrderBuyersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        char msg[KV_MSG_LEN];
        ASSERT_EQ(1, DbCreateFile("kelvaroDemo.db", 2010, msg)) << msg;
        ASSERT_EQ(6, SaveDemoOrders("kelvaroDemo.db", msg)) << msg;
        main_ = CreateMainWindowForTest();
        ASSERT_NE(nullptr, main_);
        ResetHarness();
    }
    void TearDown() override {
        FreeAndZeroOrder(&z_);
        DestroyMainWindowForTest(main_);
    }
    // A new order as "New" makes it.
    void MakeNew() {
        RenumberOrder(&z_, &g_app.vars, &g_app.settings);
        SetOrderDefaults(&z_, &g_app.settings);
        RecomputeOrder(&z_, kRecomputeAll);
        row_ = -1;
    }
    int Open(Script* s) {
        return RunScripted([&] { return RunOrderWindow(main_, &z_, &row_, &g_app.draw); }, s);
    }
    ScopedTempCwd cwd_;
    HWND main_ = nullptr;
    strZamRob z_ = {};
    int row_ = -1;
};

HWND Field(HWND w, int id) { return GetDlgItem(PageWith(w, IDC_GEN_BUYER), id); }

HWND Popup() { return FindWindowA(kKvSuggestListClass, nullptr); }
HWND ListBox() { return Popup() ? GetWindow(Popup(), GW_CHILD) : nullptr; }
bool ListShown() { return Popup() && IsWindowVisible(Popup()); }

std::vector<std::string> Offered() {
    std::vector<std::string> v;
    if (!ListShown()) return v;
    const int n = (int)SendMessageA(ListBox(), LB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; i++) {
        char text[300] = "";
        SendMessageA(ListBox(), LB_GETTEXT, i, (LPARAM)text);
        v.push_back(text);
    }
    return v;
}

// The key as the keyboard gives it: through the window's loop.
void PostKey(HWND edit, WPARAM key) {
    PostMessageA(edit, WM_KEYDOWN, key, 1);
    PostMessageA(edit, WM_KEYUP, key, 0xC0000001);
}

Step TypeIntoBuyer(const char* text) {
    return [text](HWND w) {
        HWND edit = Field(w, IDC_GEN_BUYER);
        SetFocus(edit);
        Type(edit, text);
        return true;
    };
}

struct Fields {
    std::string buyer, address, info;
    bool focusKept = false;
};

Fields Read(HWND w) {
    return {TextOf(Field(w, IDC_GEN_BUYER)), TextOf(Field(w, IDC_GEN_ADDRESS)), TextOf(Field(w, IDC_GEN_INFO)),
            GetFocus() == Field(w, IDC_GEN_BUYER)};
}

// Typed lower-case, the builder is offered in a list right under the field,
// as wide as it and with rows of the field's font at the display's scale;
// Down and Enter choose it and bring in its two-line address and its other
// information. The list is gone after the choice; the field keeps the focus.
TEST_F(OrderBuyersTest, DownAndEnterChooseAnOfferedBuyerAndFillItsAddressAtEveryScale) {
    MakeNew();
    std::vector<std::string> offered;
    RECT edit = {}, popup = {};
    int rowHeight = 0, fontHeight = 0;
    Fields after;
    bool shownAfter = true;
    Script s;
    s.steps = {TypeIntoBuyer("bra"),
               [&](HWND w) {
                   offered = Offered();
                   GetWindowRect(Field(w, IDC_GEN_BUYER), &edit);
                   if (Popup()) GetWindowRect(Popup(), &popup);
                   rowHeight = (int)SendMessageA(ListBox(), LB_GETITEMHEIGHT, 0, 0);
                   HWND field = Field(w, IDC_GEN_BUYER);
                   HDC dc = GetDC(field);
                   HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageA(field, WM_GETFONT, 0, 0));
                   TEXTMETRICA tm;
                   GetTextMetricsA(dc, &tm);
                   fontHeight = tm.tmHeight;
                   SelectObject(dc, old);
                   ReleaseDC(field, dc);
                   PostKey(field, VK_DOWN);
                   PostKey(field, VK_RETURN);
                   return true;
               },
               [&](HWND w) {
                   after = Read(w);
                   shownAfter = ListShown();
                   return true;
               },
               CloseWith(ORD_CANCEL)};
    Open(&s);
    EXPECT_EQ(std::vector<std::string>{"Brakeveld Bouw B.V."}, offered);
    EXPECT_EQ(edit.bottom, popup.top);
    EXPECT_EQ(edit.left, popup.left);
    EXPECT_EQ(edit.right, popup.right);
    EXPECT_GE(rowHeight, fontHeight);
    EXPECT_GE(popup.bottom - popup.top, rowHeight);
    EXPECT_EQ("Brakeveld Bouw B.V.", after.buyer);
    EXPECT_EQ("Keizersgracht 221\r\n1016 DV Amsterdam", after.address);
    EXPECT_EQ("Site manager: P. de Vries", after.info);
    EXPECT_TRUE(after.focusKept);
    EXPECT_FALSE(shownAfter);
}

// A click on the entry chooses it without taking the focus; the address
// typed before stays, the empty information is filled.
TEST_F(OrderBuyersTest, AClickChoosesAndWhatWasTypedStays) {
    MakeNew();
    Fields after;
    Script s;
    s.steps = {[](HWND w) {
                   HWND address = Field(w, IDC_GEN_ADDRESS);
                   SetFocus(address);
                   Type(address, "Typed by hand");
                   return true;
               },
               TypeIntoBuyer("FAM"),
               [&](HWND) {
                   if (Offered() != std::vector<std::string>{"Familie Berger"}) return true;
                   RECT item = {};
                   SendMessageA(ListBox(), LB_GETITEMRECT, 0, (LPARAM)&item);
                   const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
                   SendMessageA(ListBox(), WM_MOUSEMOVE, 0, at);
                   SendMessageA(ListBox(), WM_LBUTTONDOWN, MK_LBUTTON, at);
                   SendMessageA(ListBox(), WM_LBUTTONUP, 0, at);
                   return true;
               },
               [&](HWND w) {
                   after = Read(w);
                   return true;
               },
               CloseWith(ORD_CANCEL)};
    Open(&s);
    EXPECT_EQ("Familie Berger", after.buyer);
    EXPECT_EQ("Typed by hand", after.address);
    EXPECT_EQ("Phone +49 89 1234567", after.info);
    EXPECT_TRUE(after.focusKept);
}

// Escape closes the list, keeps the typed text and leaves the window open;
// the list closes as well when the field loses the focus and when the window
// moves, and a text no buyer begins with offers nothing.
TEST_F(OrderBuyersTest, EscapeFocusAndMovesCloseTheList) {
    MakeNew();
    bool shownTyped = false, shownAfterEscape = true, windowOpen = false, shownAfterFocus = true,
         shownAfterMove = true, shownForNone = true;
    std::string kept;
    Script s;
    s.steps = {TypeIntoBuyer("ma"),
               [&](HWND w) {
                   shownTyped = Offered() == std::vector<std::string>{"Marie Lefebvre"};
                   PostKey(Field(w, IDC_GEN_BUYER), VK_ESCAPE);
                   return true;
               },
               [&](HWND w) {
                   shownAfterEscape = ListShown();
                   kept = TextOf(Field(w, IDC_GEN_BUYER));
                   windowOpen = IsWindowVisible(w) != 0;
                   return true;
               },
               TypeIntoBuyer("k"),
               [&](HWND w) {
                   if (!ListShown()) return true;
                   SetFocus(Field(w, IDC_GEN_INFO));
                   shownAfterFocus = ListShown();
                   return true;
               },
               TypeIntoBuyer("r"),
               [&](HWND w) {
                   if (!ListShown()) return true;
                   RECT rc;
                   GetWindowRect(w, &rc);
                   SetWindowPos(w, nullptr, rc.left + 10, rc.top + 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                   shownAfterMove = ListShown();
                   return true;
               },
               TypeIntoBuyer("zq"),
               [&](HWND) {
                   shownForNone = ListShown();
                   return true;
               },
               CloseWith(ORD_CANCEL)};
    Open(&s);
    EXPECT_TRUE(shownTyped);
    EXPECT_FALSE(shownAfterEscape);
    EXPECT_EQ("ma", kept);
    EXPECT_TRUE(windowOpen);
    EXPECT_FALSE(shownAfterFocus);
    EXPECT_FALSE(shownAfterMove);
    EXPECT_FALSE(shownForNone);
}

// An order opened only to be looked at offers nothing, even for a text that
// would match.
TEST_F(OrderBuyersTest, AViewOnlyWindowOffersNothing) {
    char msg[KV_MSG_LEN];
    ASSERT_EQ(1, LoadOrder(2, &z_, msg)) << msg;  // the builder's, status 1
    RecomputeOrder(&z_, kRecomputeAll);
    ASSERT_NE(0, z_.zam.status);
    row_ = 0;
    bool shown = true;
    Script s;
    s.steps = {[&](HWND w) {
                   HWND edit = Field(w, IDC_GEN_BUYER);
                   SetFocus(edit);
                   SetWindowTextA(edit, "Ma");
                   SendMessageA(GetParent(edit), WM_COMMAND, MAKEWPARAM(IDC_GEN_BUYER, EN_CHANGE), (LPARAM)edit);
                   shown = ListShown();
                   return true;
               },
               CloseWith(ORD_CANCEL)};
    Open(&s);
    EXPECT_FALSE(shown);
}

}  // namespace
