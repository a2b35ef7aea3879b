// The order window's controls: made at creation (the hidden pages once it
// is painted) and laid out for its client area and dpi.
#include <stdio.h>
#include <string.h>

#include "db/names.h"
#include "db/orders.h"
#include "ui/order/order_rc.h"
#include "ui/order/order_window.h"
#include "ui/order/order_window_internal.h"
#include "util/keys_win.h"
#include "util/kvutil.h"
#include "util/scoped_win.h"
#include "util/window_win.h"

// ---- Creation ----------------------------------------------------------------------

namespace {

const KvToolButton kToolButtons[] = {
    {0, ORD_WIN_ADD, TBSTATE_ENABLED, BTNS_BUTTON, "Add window"},
    {1, ORD_ACC_ADD, TBSTATE_ENABLED, BTNS_BUTTON, "Add accessory"},
    {6, 0, 0, BTNS_SEP, nullptr},
    {2, ORD_CHANGE_STATUS, TBSTATE_ENABLED, BTNS_DROPDOWN, "Change status"},
    {6, 0, 0, BTNS_SEP, nullptr},
    {3, ORD_PRINT, TBSTATE_ENABLED, BTNS_BUTTON, "Print"},
    {6, 0, 0, BTNS_SEP, nullptr},
    {4, ORD_SAVE, TBSTATE_ENABLED, BTNS_BUTTON, "Save"},
    {5, ORD_CANCEL, TBSTATE_ENABLED, BTNS_BUTTON, "Cancel"},
    {6, 0, 0, BTNS_SEP, nullptr},
    {6, ORD_HELP, TBSTATE_ENABLED, BTNS_BUTTON, "Help"},
};

bool CreateToolbar(OrderWindow* w) {
    KvToolbarSetup setup = {};
    setup.instance = Instance();
    setup.parent = w->hwnd;
    setup.id = IDC_ORD_TOOLBAR;
    setup.style = WS_BORDER | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS;
    setup.imagesId = IDB_ORDER_BAR;
    setup.disabledImagesId = IDB_ORDER_BAR_DISABLED;
    static_assert(IDB_ORDER_BAR_DISABLED_200 == IDB_ORDER_BAR_150 + 3, "the four larger strips in a row");
    setup.largerStripsId = IDB_ORDER_BAR_150;
    setup.buttons = kToolButtons;
    setup.buttonCount = (int)(sizeof kToolButtons / sizeof kToolButtons[0]);
    if (!KvCreateToolbar(setup, &w->bar)) return false;
    w->toolbarHeight = KvToolbarHeight(w->bar);
    return true;
}

void CreateLabels(OrderWindow* w) {
    Child(w, WC_STATICA, "Order No:", SS_RIGHT, IDC_ORD_NUMBER_CAPTION, 4, 54, 80, 15);
    char number[64];
    OrderNumber(w->z->zam, number, sizeof number);
    Child(w, WC_STATICA, number, SS_LEFT, IDC_ORD_NUMBER, 90, 54, 100, 15);
    const struct {
        int id, x, y, width;
        const char* caption;
    } kTotals[] = {{IDC_ORD_NET_CAPTION, 240, 48, 110, "Net total:"},
                   {IDC_ORD_GROSS_CAPTION, 240, 63, 110, "Gross total:"},
                   {IDC_ORD_DISCOUNT_CAPTION, 270, 78, 80, "Discount:"}};
    for (const auto& t : kTotals) {
        Child(w, WC_STATICA, t.caption, SS_RIGHT, t.id, t.x, t.y, t.width, 15);
        Child(w, WC_STATICA, "", SS_RIGHT, t.id + 1, 356, t.y, 60, 15);
        Child(w, WC_STATICA, "", SS_LEFT, t.id + 2, 418, t.y, 30, 15);
    }
}

const struct {
    int templ;
    DLGPROC proc;
} kPages[3] = {{IDD_ORD_GENERAL, GeneralPageProc},
               {IDD_ORD_VALUATION, ValuationPageProc},
               {IDD_ORD_NOTES, NotesPageProc}};

// Page `i` of the three of the order window's own, filled from the order.
bool CreatePage(OrderWindow* w, int i) {
    w->pageState[i] = {w->z, w->hwnd, false, nullptr, {}};
    w->pages[i] = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(kPages[i].templ), w->tab, kPages[i].proc,
                                     (LPARAM)&w->pageState[i]);
    if (!w->pages[i]) return false;
    // Found by its template number, as the Seller page is.
    SetWindowLongPtrA(w->pages[i], GWLP_ID, kPages[i].templ);
    SendMessageA(w->pages[i], UM_PAGE_LOAD, 0, 0);
    return true;
}

// The tabs and the General page; the pages behind the other tabs come once
// the window is painted (CreateHiddenPages).
bool CreatePages(OrderWindow* w) {
    w->tab = Child(w, WC_TABCONTROLA, "", WS_CLIPSIBLINGS | WS_TABSTOP, IDC_ORD_TAB, 0, 0, 0, 0,
                   WS_EX_CONTROLPARENT);
    if (!w->tab) return false;
    const char* tabs[kPageCount] = {"General", "Valuation", "Notes", "Seller"};
    for (int i = 0; i < kPageCount; i++) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = (char*)tabs[i];
        SendMessageA(w->tab, TCM_INSERTITEMA, i, (LPARAM)&item);
    }
    if (!CreatePage(w, kPageGeneral)) return false;
    ShowWindow(w->pages[kPageGeneral], SW_SHOW);
    SetFocus(w->pages[kPageGeneral]);
    return true;
}

// Each page fills the tab control's display area.
void PlacePages(OrderWindow* w) {
    RECT page;
    GetClientRect(w->tab, &page);
    SendMessageA(w->tab, TCM_ADJUSTRECT, FALSE, (LPARAM)&page);
    for (HWND p : w->pages) {
        if (p) MoveWindow(p, page.left, page.top, page.right - page.left, page.bottom - page.top, TRUE);
    }
}

}  // namespace

// Valuation, Notes and Seller, hidden until their tab is chosen: under Wine
// they cost about as much to make as all the controls that show, so they
// are made once the window is painted, before it takes any input.
bool CreateHiddenPages(OrderWindow* w) {
    for (int i = kPageValuation; i <= kPageNotes; i++) {
        if (!CreatePage(w, i)) return false;
    }
    w->pages[kPageSeller] = g_orderSellerPage ? g_orderSellerPage(w->tab, &w->z->zam.sDaneUzytk, 0) : nullptr;
    if (w->pages[kPageSeller]) SendMessageA(w->pages[kPageSeller], UM_PAGE_LOAD, 0, 0);
    PlacePages(w);
    EnablePages(w, kPageValuation);
    ShowValuationAmounts(w);
    return true;
}

namespace {

void CreateAccessories(OrderWindow* w) {
    Child(w, WC_BUTTONA, "Accessories", BS_GROUPBOX, IDC_ORD_ACC_GROUP, 0, 0, 0, 0);
    w->accList = Child(w, WC_LISTVIEWA, "", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
                       IDC_ORD_ACC_LIST, 0, 0, 0, 0, WS_EX_CLIENTEDGE);
    SendMessageA(w->accList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    AccListCreateColumns(w->accList, w->dpi);
    Child(w, WC_BUTTONA, "Add", BS_PUSHBUTTON | WS_TABSTOP, ORD_ACC_ADD, 0, 0, 75, 23);
    Child(w, WC_BUTTONA, "Edit", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, ORD_ACC_EDIT, 0, 0, 75, 23);
    Child(w, WC_BUTTONA, "Delete", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, ORD_ACC_DELETE, 0, 0, 75, 23);
    const struct {
        int id, width;
        const char* text;
    } kLabels[] = {{IDC_ORD_ACC_NET_CAPTION, 90, "Net total:"},
                   {IDC_ORD_ACC_NET, 60, ""},
                   {IDC_ORD_ACC_NET_CUR, 28, ""},
                   {IDC_ORD_ACC_GROSS_CAPTION, 90, "Gross total:"},
                   {IDC_ORD_ACC_GROSS, 60, ""},
                   {IDC_ORD_ACC_GROSS_CUR, 28, ""}};
    for (const auto& l : kLabels) {
        const bool left = l.id == IDC_ORD_ACC_NET_CUR || l.id == IDC_ORD_ACC_GROSS_CUR;
        Child(w, WC_STATICA, l.text, left ? SS_LEFT : SS_RIGHT, l.id, 0, 0, l.width, 15);
    }
    AccListFill(w->accList, w->z);
}

bool CreateWindowsList(OrderWindow* w) {
    w->winList = Child(w, WC_LISTBOXA, "",
                       LBS_MULTICOLUMN | LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_DISABLENOSCROLL |
                           LBS_NOINTEGRALHEIGHT | WS_HSCROLL | WS_TABSTOP,
                       IDC_ORD_WINDOWS, 0, 0, 0, 0, WS_EX_CLIENTEDGE);
    if (!w->winList) return false;
    SendMessageA(w->winList, LB_SETCOLUMNWIDTH, Px(w, 130), 0);
    for (int i = 0; i < w->z->zam.liczbaOkien; i++) AddWindowEntry(w, i);
    return true;
}

void NameStatusItems(OrderWindow* w) {
    for (int s = 1; s <= kStatusCount; s++) {
        Rename(OrderMenu(w), ORD_SAVE_AS_FIRST + s - 1, Status(w, s));
        Rename(OrderMenu(w), ORD_STATUS_FIRST + s - 1, Status(w, s));
    }
}

}  // namespace

// The snapshot is of the order as the pages write it back: a loaded order
// can hold what the pages never give back (a price beside "without
// assembly"), and Cancel must not take that for the seller's change.
bool TakeSnapshot(OrderWindow* w, char* msg) {
    StorePages(w);
    w->snapshot = strZamRob();
    if (!CopyOrder(&w->snapshot, w->z, msg)) return false;
    w->hasSnapshot = true;
    return true;
}

namespace {

// Layout of the order window's controls for a client of w x h pixels.
void Layout(OrderWindow* w, int width, int height) {
    if (!w->tab || !w->pages[kPageGeneral]) return;
    SendMessageA(w->bar.hwnd, TB_AUTOSIZE, 0, 0);
    const int t = w->toolbarHeight;
    // Dialog units of the General page's font: the width across, the top
    // and the height down (a vertical unit is not a horizontal one).
    RECT du = {294, 22, 0, 180};
    MapDialogRect(w->pages[kPageGeneral], &du);
    RECT header = {};
    SendMessageA(w->tab, TCM_GETITEMRECT, 0, (LPARAM)&header);
    const int W = du.left + Px(w, 6);
    // The tabs' line keeps below the totals (their last row ends at 93 at
    // 96 dpi): the toolbar and the tabs grow with their fonts, not by the
    // scale, and could otherwise bring it up through them.
    const int tabTop = std::max(t + (int)du.top, Px(w, 93 + 4) - (int)(header.bottom - header.top));
    const int B = tabTop + (du.bottom - du.top) + (header.bottom - header.top) + Px(w, 8);
    MoveWindow(w->tab, 0, tabTop, W, B - tabTop, TRUE);
    PlacePages(w);
    const int groupTop = B + Px(w, 10), listTop = B + Px(w, 30);
    MoveWindow(GetDlgItem(w->hwnd, IDC_ORD_ACC_GROUP), Px(w, 4), groupTop, W - Px(w, 8),
               height - Px(w, 4) - groupTop, TRUE);
    MoveWindow(w->accList, Px(w, 14), listTop, W - Px(w, 28), height - Px(w, 45) - listTop, TRUE);
    const int buttons[3] = {ORD_ACC_ADD, ORD_ACC_EDIT, ORD_ACC_DELETE};
    for (int i = 0; i < 3; i++) {
        SetWindowPos(GetDlgItem(w->hwnd, buttons[i]), nullptr, Px(w, 14) + Px(w, 79) * i, height - Px(w, 37),
                     0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    const int xs[3] = {254, 350, 412};
    for (int i = 0; i < 3; i++) {
        SetWindowPos(GetDlgItem(w->hwnd, IDC_ORD_ACC_NET_CAPTION + i), nullptr, Px(w, xs[i]),
                     height - Px(w, 39), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SetWindowPos(GetDlgItem(w->hwnd, IDC_ORD_ACC_GROSS_CAPTION + i), nullptr, Px(w, xs[i]),
                     height - Px(w, 24), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    MoveWindow(w->winList, W, t, width > W ? width - W : 0, height > t ? height - t : 0, TRUE);
    w->laidOut = {width, height};
}

}  // namespace

// Creation lays the window out, and its first showing reports the same size
// again: placing every control where it already is costs milliseconds.
void OrderWindowSized(OrderWindow* w, int width, int height) {
    if (width == w->laidOut.cx && height == w->laidOut.cy) return;
    Layout(w, width, height);
}

// Moved to a monitor of another dpi (or told so by a test): the controls
// take the font and the places of the new dpi, the cells their size, and
// the window the rectangle the system suggests.
void OrderWindowDpiChanged(OrderWindow* w, WPARAM wParam, LPARAM lParam) {
    w->dpi = KvDpiOfDpiChanged(wParam);
    w->font.reset(KvCreateGuiFont(w->dpi));
    w->icons.Apply(w->hwnd, Instance(), kOrderWindowIcon, w->dpi);
    const HFONT font = KvGuiFont(w->font.get());
    for (const OrderWindow::Placed& p : w->placed) {
        SendMessageA(p.hwnd, WM_SETFONT, (WPARAM)font, TRUE);
        const RECT& r = p.at96;
        if (r.right > r.left)
            MoveWindow(p.hwnd, Px(w, r.left), Px(w, r.top), Px(w, r.right - r.left), Px(w, r.bottom - r.top),
                       TRUE);
    }
    SendMessageA(w->winList, LB_SETCOLUMNWIDTH, Px(w, 130), 0);
    SendMessageA(w->winList, LB_SETITEMHEIGHT, 0, Px(w, 150));
    AccListApplyDpi(w->accList, w->dpi);
    KvToolbarApplyDpi(&w->bar, w->dpi);
    w->toolbarHeight = KvToolbarHeight(w->bar);
    KvTakeSuggestedRect(w->hwnd, lParam);
    RECT client;
    GetClientRect(w->hwnd, &client);
    Layout(w, client.right, client.bottom);
}

bool CreateOrderControls(OrderWindow* w) {
    HWND hwnd = w->hwnd;
    w->dpi = KvDpiForWindow(hwnd);
    w->font.reset(KvCreateGuiFont(w->dpi));
    w->icons.Apply(hwnd, Instance(), kOrderWindowIcon, w->dpi);
    w->menu = GetMenu(hwnd);
    NameStatusItems(w);
    if (!CreateToolbar(w)) return false;
    CreateLabels(w);
    if (!CreatePages(w)) return false;
    CreateAccessories(w);
    if (!CreateWindowsList(w)) return false;
    SendMessageA(hwnd, UM_SHOW_STATUS, 0, 0);
    SendMessageA(hwnd, UM_SHOW_TOTALS, 0, 0);
    ApplyMode(w);
    RECT client;
    GetClientRect(hwnd, &client);
    Layout(w, client.right, client.bottom);
    return true;
}
