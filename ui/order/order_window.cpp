// The order window: creation, layout, modes and commands. The pages live in
// pages.cpp, the window cells in cells.cpp, the accessories in
// accessories.cpp.
#include "ui/order/order_window.h"

#include <stdio.h>
#include <initializer_list>
#include <string.h>

#include "db/connection.h"
#include "db/names.h"
#include "db/orders.h"
#include "db/tables.h"
#include "model/comparison.h"
#include "model/description.h"
#include "model/window.h"
#include "ui/order/order_rc.h"
#include "ui/order/order_window_internal.h"
#include "ui/settings/seller_page.h"
#include "util/amounttext.h"
#include "util/heap.h"
#include "util/help_win.h"
#include "util/kvutil.h"
#include "util/modal_loop_win.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "util/scoped_win.h"
#include "util/window_win.h"
#include "valuation/valuation.h"

namespace {

const char kClassName[] = "oknoZamowienia";

// ---- Small helpers -------------------------------------------------------------

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

HMENU OrderMenu(OrderWindow* w) { return GetSubMenu(w->menu, 0); }
HMENU WindowMenu(OrderWindow* w) { return GetSubMenu(w->menu, 1); }
HMENU AccessoryMenu(OrderWindow* w) { return GetSubMenu(w->menu, 2); }
// Positions in the "Order" menu.
enum { kPosSaveAs = 1, kPosChangeStatus = 2 };

void Enable(HMENU menu, UINT id, bool on) { EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); }
void EnableAt(HMENU menu, UINT pos, bool on) { EnableMenuItem(menu, pos, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED)); }
void Rename(HMENU menu, UINT id, const char* text) {
    ModifyMenuA(menu, id, MF_BYCOMMAND | MF_STRING, id, text);
}

void ToolbarText(OrderWindow* w, int id, const char* text) {
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT;
    info.pszText = (char*)text;
    SendMessageA(w->bar.hwnd, TB_SETBUTTONINFOA, id, (LPARAM)&info);
}

HWND Child(OrderWindow* w, const char* cls, const char* text, DWORD style, int id, int x, int y, int cx,
           int cy, DWORD exStyle = 0) {
    HWND c = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, w->hwnd,
                             (HMENU)(INT_PTR)id, Instance(), nullptr);
    SendMessageA(c, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
    return c;
}

void OrderNumber(const strZam& o, char* text, size_t cap) {
    char abbrev[sizeof o.sDaneUzytk.skrot + 1] = "";
    memcpy(abbrev, o.sDaneUzytk.skrot, sizeof o.sDaneUzytk.skrot);
    snprintf(text, cap, "%d-%s-%4d", o.idZam, abbrev, o.rok);
    CharUpperA(text);
}

const char* Status(OrderWindow* w, int status) { return StatusName(&w->settings, status); }

void SetAmount(HWND parent, int id, int64_t amount) {
    char text[64];
    DajNapKwotaPokaz(amount, text, sizeof text);
    SetDlgItemTextA(parent, id, text);
}

int SelectedWindowEntry(OrderWindow* w) { return (int)SendMessageA(w->winList, LB_GETCURSEL, 0, 0); }

int EntryIndex(OrderWindow* w, int entry) { return (int)SendMessageA(w->winList, LB_GETITEMDATA, entry, 0); }

void AddWindowEntry(OrderWindow* w, int index) {
    SendMessageA(w->winList, LB_ADDSTRING, 0, (LPARAM)index);
}

void Close(OrderWindow* w) { DestroyWindow(w->hwnd); }

// ---- Modes and enabling ------------------------------------------------------------

void ApplyMode(OrderWindow* w) {
    const OrderMode mode = ModeOf(w);
    const bool edit = mode != kModePreview;
    HMENU order = OrderMenu(w), win = WindowMenu(w), acc = AccessoryMenu(w);
    Enable(order, ORD_SAVE, edit);
    SendMessageA(w->bar.hwnd, TB_ENABLEBUTTON, ORD_SAVE, edit);
    EnableAt(order, kPosSaveAs, edit);
    EnableAt(order, kPosChangeStatus, !edit);
    SendMessageA(w->bar.hwnd, TB_ENABLEBUTTON, ORD_CHANGE_STATUS, !edit);
    Enable(order, ORD_CORRECT, !edit);
    Enable(order, ORD_DELETE, mode != kModeNew);
    const char* cancel = edit ? "Cancel" : "Exit";
    Rename(order, ORD_CANCEL, cancel);
    ToolbarText(w, ORD_CANCEL, cancel);
    Enable(win, ORD_WIN_ADD, edit);
    SendMessageA(w->bar.hwnd, TB_ENABLEBUTTON, ORD_WIN_ADD, edit);
    Rename(win, ORD_WIN_EDIT, edit ? "Edit" : "Preview");
    Enable(acc, ORD_ACC_ADD, edit);
    SendMessageA(w->bar.hwnd, TB_ENABLEBUTTON, ORD_ACC_ADD, edit);
    EnableWindow(GetDlgItem(w->hwnd, ORD_ACC_ADD), edit);
    Rename(acc, ORD_ACC_EDIT, edit ? "Edit" : "Preview");
    SetDlgItemTextA(w->hwnd, ORD_ACC_EDIT, edit ? "Edit" : "Preview");
    if (!edit) {
        Enable(win, ORD_WIN_EDIT_AS_NEW, false);
        Enable(win, ORD_WIN_DELETE, false);
        Enable(acc, ORD_ACC_DELETE, false);
        EnableWindow(GetDlgItem(w->hwnd, ORD_ACC_DELETE), FALSE);
    }
    for (int i = kPageGeneral; i <= kPageNotes; i++) SendMessageA(w->pages[i], UM_PAGE_ENABLE, edit, 0);
    DrawMenuBar(w->hwnd);
    ApplySelectionEnabling(w);
}

// ---- Creation ----------------------------------------------------------------------

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
    KvToolbarSpec spec = {};
    spec.instance = Instance();
    spec.parent = w->hwnd;
    spec.id = IDC_ORD_TOOLBAR;
    spec.style = WS_BORDER | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS;
    spec.imagesId = IDB_ORDER_BAR;
    spec.disabledImagesId = IDB_ORDER_BAR_DISABLED;
    spec.buttons = kToolButtons;
    spec.buttonCount = (int)(sizeof kToolButtons / sizeof kToolButtons[0]);
    if (!KvCreateToolbar(spec, &w->bar)) return false;
    w->toolbarHeight = KvToolbarHeight(w->bar);
    return true;
}

void CreateLabels(OrderWindow* w) {
    Child(w, WC_STATICA, "Order No:", SS_RIGHT, IDC_ORD_NUMBER_CAPTION, 4, 54, 80, 15);
    char number[64];
    OrderNumber(w->z->zam, number, sizeof number);
    Child(w, WC_STATICA, number, SS_LEFT, IDC_ORD_NUMBER, 90, 54, 100, 15);
    const struct { int id, x, y, width; const char* caption; } kTotals[] = {
        {IDC_ORD_NET_CAPTION, 240, 48, 110, "Net total:"},
        {IDC_ORD_GROSS_CAPTION, 240, 63, 110, "Gross total:"},
        {IDC_ORD_DISCOUNT_CAPTION, 270, 78, 80, "Discount:"}};
    for (const auto& t : kTotals) {
        Child(w, WC_STATICA, t.caption, SS_RIGHT, t.id, t.x, t.y, t.width, 15);
        Child(w, WC_STATICA, "", SS_RIGHT, t.id + 1, 356, t.y, 60, 15);
        Child(w, WC_STATICA, "", SS_LEFT, t.id + 2, 418, t.y, 30, 15);
    }
}

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
    const struct { int templ; DLGPROC proc; } kPages[3] = {
        {IDD_ORD_GENERAL, GeneralPageProc}, {IDD_ORD_VALUATION, ValuationPageProc}, {IDD_ORD_NOTES, NotesPageProc}};
    for (int i = 0; i < 3; i++) {
        w->pageState[i] = {w->z, w->hwnd, false, nullptr, {}};
        w->pages[i] = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(kPages[i].templ), w->tab, kPages[i].proc,
                                         (LPARAM)&w->pageState[i]);
        if (!w->pages[i]) return false;
        // Found by its template number, as the Seller page is.
        SetWindowLongPtrA(w->pages[i], GWLP_ID, kPages[i].templ);
        SendMessageA(w->pages[i], UM_PAGE_LOAD, 0, 0);
    }
    w->pages[kPageSeller] = g_orderSellerPage ? g_orderSellerPage(w->tab, &w->z->zam.sDaneUzytk, 0) : nullptr;
    if (w->pages[kPageSeller]) SendMessageA(w->pages[kPageSeller], UM_PAGE_LOAD, 0, 0);
    ShowWindow(w->pages[kPageGeneral], SW_SHOW);
    SetFocus(w->pages[kPageGeneral]);
    return true;
}

void CreateAccessories(OrderWindow* w) {
    Child(w, WC_BUTTONA, "Accessories", BS_GROUPBOX, IDC_ORD_ACC_GROUP, 0, 0, 0, 0);
    w->accList = Child(w, WC_LISTVIEWA, "", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
                       IDC_ORD_ACC_LIST, 0, 0, 0, 0, WS_EX_CLIENTEDGE);
    SendMessageA(w->accList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    AccListCreateColumns(w->accList);
    Child(w, WC_BUTTONA, "Add", BS_PUSHBUTTON | WS_TABSTOP, ORD_ACC_ADD, 0, 0, 75, 23);
    Child(w, WC_BUTTONA, "Edit", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, ORD_ACC_EDIT, 0, 0, 75, 23);
    Child(w, WC_BUTTONA, "Delete", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, ORD_ACC_DELETE, 0, 0, 75, 23);
    const struct { int id, width; const char* text; } kLabels[] = {
        {IDC_ORD_ACC_NET_CAPTION, 90, "Net total:"}, {IDC_ORD_ACC_NET, 60, ""}, {IDC_ORD_ACC_NET_CUR, 28, ""},
        {IDC_ORD_ACC_GROSS_CAPTION, 90, "Gross total:"}, {IDC_ORD_ACC_GROSS, 60, ""},
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
    SendMessageA(w->winList, LB_SETCOLUMNWIDTH, 130, 0);
    DodajTtMenuPdrDoLbx(w->hwnd, IDC_ORD_WINDOWS, WindowMenu(w), Instance(), 4096, &w->tip, 0);
    for (int i = 0; i < w->z->zam.liczbaOkien; i++) AddWindowEntry(w, i);
    return true;
}

void NameStatusItems(OrderWindow* w) {
    for (int s = 1; s <= kStatusCount; s++) {
        Rename(OrderMenu(w), ORD_SAVE_AS_FIRST + s - 1, Status(w, s));
        Rename(OrderMenu(w), ORD_STATUS_FIRST + s - 1, Status(w, s));
    }
}

// The snapshot is of the order as the pages write it back: a loaded order
// can hold what the pages never give back (a price beside "without
// assembly"), and Cancel must not take that for the seller's change.
bool TakeSnapshot(OrderWindow* w, char* msg) {
    StorePages(w);
    w->snapshot = strZamRob();
    if (!KopiujZam(&w->snapshot, w->z, msg)) return false;
    w->hasSnapshot = true;
    return true;
}

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
    const int W = du.left + 6;
    const int B = t + du.bottom + (header.bottom - header.top) + 8;
    const int tabTop = t + du.top;
    MoveWindow(w->tab, 0, tabTop, W, B - tabTop, TRUE);
    RECT page = {0, 0, W, B - tabTop};
    SendMessageA(w->tab, TCM_ADJUSTRECT, FALSE, (LPARAM)&page);
    for (HWND p : w->pages) {
        if (p) MoveWindow(p, page.left, page.top, page.right - page.left, page.bottom - page.top, TRUE);
    }
    MoveWindow(GetDlgItem(w->hwnd, IDC_ORD_ACC_GROUP), 4, B + 10, W - 8, height - 4 - (B + 10), TRUE);
    MoveWindow(w->accList, 14, B + 30, W - 28, height - 45 - (B + 30), TRUE);
    const int buttons[3] = {ORD_ACC_ADD, ORD_ACC_EDIT, ORD_ACC_DELETE};
    for (int i = 0; i < 3; i++) {
        SetWindowPos(GetDlgItem(w->hwnd, buttons[i]), nullptr, 14 + 79 * i, height - 37, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    }
    const int xs[3] = {254, 350, 412};
    for (int i = 0; i < 3; i++) {
        SetWindowPos(GetDlgItem(w->hwnd, IDC_ORD_ACC_NET_CAPTION + i), nullptr, xs[i], height - 39, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
        SetWindowPos(GetDlgItem(w->hwnd, IDC_ORD_ACC_GROSS_CAPTION + i), nullptr, xs[i], height - 24, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    }
    MoveWindow(w->winList, W, t, width > W ? width - W : 0, height > t ? height - t : 0, TRUE);
}

// ---- Shown amounts and status ---------------------------------------------------------

// An amount of the totals, or what says that it does not fit.
void SetTotal(HWND parent, int id, const strSumyZam& s, uint32_t bit, int64_t amount) {
    if (s.przepelnione & bit) SetDlgItemTextA(parent, id, kKwotaZaDuza);
    else SetAmount(parent, id, amount);
}

void SetDiscount(HWND parent, int id, const strSumyZam& s) {
    int64_t discount = 0;
    if (RabatZam(&s, &discount)) SetAmount(parent, id, discount);
    else SetDlgItemTextA(parent, id, kKwotaZaDuza);
}

void OnShowTotals(OrderWindow* w) {
    const strSumyZam& s = w->z->sumy;
    const char* code = OrderCurrency(w->z);
    SetTotal(w->hwnd, IDC_ORD_NET, s, kSumaZamNetto, s.zamNetto);
    SetTotal(w->hwnd, IDC_ORD_GROSS, s, kSumaZamBrutto, s.zamBrutto);
    SetDiscount(w->hwnd, IDC_ORD_DISCOUNT, s);
    HWND v = w->pages[kPageValuation];
    const int32_t flags = w->z->zam.sWycenZamParam.flagi;
    char perMetre[32];
    snprintf(perMetre, sizeof perMetre, "%s/m", code);
    const int32_t mont = flags & kMontazMaska, demont = flags & kDemontazMaska;
    SetDlgItemTextA(v, IDC_VAL_MONT_UNIT, mont == 1 ? perMetre : mont == 2 ? code : "");
    SetDlgItemTextA(v, IDC_VAL_DEMONT_UNIT, demont == 4 ? perMetre : demont == 8 ? code : "");
    SetTotal(v, IDC_VAL_MONT_COST, s, kSumaMontNetto, s.montNetto);
    SetTotal(v, IDC_VAL_DEMONT_COST, s, kSumaDemontNetto, s.demontNetto);
    SetDiscount(v, IDC_VAL_DISCOUNT_AMOUNT, s);
    AccListRefreshTotals(w->accList, w->z);
    SetTotal(w->hwnd, IDC_ORD_ACC_NET, s, kSumaDodatNetto, s.dodatNetto);
    SetTotal(w->hwnd, IDC_ORD_ACC_GROSS, s, kSumaDodatBrutto, s.dodatBrutto);
    const int currencyIds[] = {IDC_ORD_NET_CUR, IDC_ORD_GROSS_CUR, IDC_ORD_DISCOUNT_CUR, IDC_ORD_ACC_NET_CUR,
                               IDC_ORD_ACC_GROSS_CUR};
    for (int id : currencyIds) SetDlgItemTextA(w->hwnd, id, code);
    for (int id : {IDC_VAL_MONT_COST_CUR, IDC_VAL_DEMONT_COST_CUR, IDC_VAL_DISCOUNT_CUR}) {
        SetDlgItemTextA(v, id, code);
    }
    InvalidateRect(w->winList, nullptr, TRUE);
    // Told once when the totals stop fitting, not at every later change.
    const bool tooLarge = !SumyZamDokladne(&s);
    const bool tell = tooLarge && !w->totalsTooLarge;
    w->totalsTooLarge = tooLarge;
    if (tell) KvShowError(w->hwnd, kSumyZaDuze);
}

void OnShowStatus(OrderWindow* w) {
    const char* name = Status(w, w->z->zam.status);
    SetDlgItemTextA(w->pages[kPageGeneral], IDC_GEN_STATUS, name);
    char number[64], title[160];
    OrderNumber(w->z->zam, number, sizeof number);
    snprintf(title, sizeof title, "%s [%s]", number, name);
    SetWindowTextA(w->hwnd, title);
}

// ---- Order commands ----------------------------------------------------------------------

void Saved(OrderWindow* w, const char* text) {
    SendMessageA(w->hwnd, UM_SHOW_STATUS, 0, 0);
    SendMessageA(w->owner, UM_ORDER_SAVED, (WPARAM)w->z, (LPARAM)w->row);
    KvShowInfo(w->hwnd, text);
    w->saved = 1;
    Close(w);
}

// An order of status 0 that is already in the database under its own key
// and number (a "NEW" order opened from the register): saving it again must
// rewrite it, not add a second order with the same number and take the
// last order number back to it. An order made by "Edit as new" still has
// its source's key but a number of its own, and is inserted.
bool StoredUnderItsNumber(const strZam& o) { return DbOrderStoredUnderNumber(o.kluczZam, o.idZam, o.rok); }

// Save (status 0) or Save as (status 1-6): an order kept before is
// overwritten, a new one inserted; a failure puts the old status back.
void CmdSave(OrderWindow* w, int32_t newStatus) {
    if (ModeOf(w) == kModePreview) return;
    if (const char* refused = StorePages(w)) {
        KvShowError(w->hwnd, refused);
        return;
    }
    strZam& o = w->z->zam;
    if (o.liczbaOkien == 0 && o.liczbaDodat == 0) {
        KvShowError(w->hwnd, "The order is empty");
        return;
    }
    // An order whose totals cannot be computed could not be listed or
    // printed either.
    if (!SumyZamDokladne(&w->z->sumy)) {
        KvShowError(w->hwnd, kSumyZaDuze);
        return;
    }
    char number[64], text[256], msg[KV_MSG_LEN];
    OrderNumber(o, number, sizeof number);
    const int32_t old = o.status;
    o.status = newStatus ? newStatus : (old == 0 ? 1 : old);
    const bool insert = old == 0 && !StoredUnderItsNumber(o);
    const int ok = insert ? ZapiszNoweZam(w->z, nullptr, msg) : NadpiszZam(w->z, msg);
    if (!ok) {
        o.status = old;
        KvShowError(w->hwnd, msg);
        return;
    }
    if (!newStatus) {
        snprintf(text, sizeof text, old != 0 ? "The order %s has been corrected" : "The order %s has been saved",
                 number);
    } else {
        snprintf(text, sizeof text,
                 old != 0 ? "The order %s has been corrected with status %s"
                          : "The order %s has been saved with status %s",
                 number, Status(w, newStatus));
    }
    Saved(w, text);
}

void CmdChangeStatus(OrderWindow* w, int32_t status) {
    if (ModeOf(w) != kModePreview) return;
    strZam& o = w->z->zam;
    const int32_t old = o.status;
    o.status = status;
    char msg[KV_MSG_LEN];
    if (!ZmienStatusZam(o.kluczZam, status, msg)) {
        o.status = old;
        KvShowError(w->hwnd, msg);
        return;
    }
    SendMessageA(w->hwnd, UM_SHOW_STATUS, 0, 0);
    SendMessageA(w->owner, UM_ORDER_STATUS, (WPARAM)w->z, (LPARAM)w->row);
    char number[64], text[256];
    OrderNumber(o, number, sizeof number);
    snprintf(text, sizeof text, "Status of the order %s has been changed to %s", number, Status(w, status));
    KvShowInfo(w->hwnd, text);
}

void CmdCorrect(OrderWindow* w) {
    if (ModeOf(w) != kModePreview) return;
    char msg[KV_MSG_LEN];
    if (!TakeSnapshot(w, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    w->z->flagiWidoku |= kWidokKorekta;
    ApplyMode(w);
}

void CmdDeleteOrder(OrderWindow* w) {
    if (ModeOf(w) == kModeNew) return;
    strZam& o = w->z->zam;
    char number[64], text[256], msg[KV_MSG_LEN];
    OrderNumber(o, number, sizeof number);
    snprintf(text, sizeof text, "Do you want to delete the order %s ?", number);
    if (!KvAskYesNo(w->hwnd, text)) return;
    if (!UsunZam(o.kluczZam, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    o.status = -1;
    SendMessageA(w->hwnd, UM_SHOW_STATUS, 0, 0);
    SendMessageA(w->owner, UM_ORDER_SAVED, (WPARAM)w->z, (LPARAM)w->row);
    snprintf(text, sizeof text, "The order %s has been deleted", number);
    KvShowInfo(w->hwnd, text);
    Close(w);
}

void CmdPrint(OrderWindow* w) {
    ScopedPrintDrawSet print(*w->draw);
    if (!print.ok()) {
        KvShowError(w->hwnd, "Error of creating the drawing set for printing");
        return;
    }
    if (const char* refused = StorePages(w)) {
        KvShowError(w->hwnd, refused);
        return;
    }
    g_orderPrint(w->hwnd, w->z, print.get());
}

void CmdCancel(OrderWindow* w) {
    if (ModeOf(w) == kModeCorrection && w->hasSnapshot) {
        StorePages(w);
        if (!ZamBezZmian(w->z, &w->snapshot) &&
            !KvAskYesNo(w->hwnd, "The order has not been saved !\r\nDo you want to continue ?")) {
            return;
        }
    }
    Close(w);
}

// ---- Window commands ------------------------------------------------------------------------

// The template of a new window, kept for the whole run: what the designer
// chose for the previous new window (profile, hardware, colours, ...) is
// offered again.
strOkno g_template;
bool g_templateReady = false;

void PrepareTemplate(OrderWindow* w) {
    if (!g_templateReady) {
        g_template = strOkno();
        g_template.sGrubProf = {50, 50, 30, 20};
        g_template.grubSzpros = 10;
        g_template.ilOkien = 1;
        g_templateReady = true;
    }
    g_template.kluczZam = w->z->zam.kluczZam;
    g_template.ilOkien = 1;
    g_template.cenaZReki = 0;
    g_template.sWspUw = w->settings.sWspUw;
    g_template.uwZReki = 0;
    memset(g_template.uwagi, 0, sizeof g_template.uwagi);
    g_template.oper = nullptr;
    g_template.liczbaOper = 0;
    g_template.status = 4;
}

void AfterWindowsChanged(OrderWindow* w) {
    PrzeliczZam(w->z, kPrzWszystko);
    SendMessageA(w->hwnd, UM_SHOW_TOTALS, 0, 0);
}

bool AppendWindow(OrderWindow* w, const strOkno* okno) {
    char msg[KV_MSG_LEN];
    if (!DodajOkno(&w->z->zam.okna, &w->z->zam.liczbaOkien, okno, msg)) {
        KvShowError(w->hwnd, msg);
        return false;
    }
    AddWindowEntry(w, w->z->zam.liczbaOkien - 1);
    AfterWindowsChanged(w);
    return true;
}

void CmdAddWindow(OrderWindow* w) {
    if (ModeOf(w) == kModePreview) return;
    PrepareTemplate(w);
    if (g_orderDesigner(w->hwnd, &g_template, &w->z->zam, w->draw, 1)) AppendWindow(w, &g_template);
    KvFree(g_template.oper);
    g_template.oper = nullptr;
    g_template.liczbaOper = 0;
}

// Edit (asNew false) or Edit as new of the selected window.
void CmdEditWindow(OrderWindow* w, bool asNew) {
    const OrderMode mode = ModeOf(w);
    if (asNew && mode == kModePreview) return;
    const int entry = SelectedWindowEntry(w);
    const int index = entry >= 0 ? EntryIndex(w, entry) : -1;
    if (index < 0 || index >= w->z->zam.liczbaOkien) {
        KvShowError(w->hwnd, "No window is selected on the list of windows");
        return;
    }
    char msg[KV_MSG_LEN];
    strOkno* copy = nullptr;
    if (!KopiujOkno(&copy, &w->z->zam.okna[index], msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    if (asNew) copy->ilOkien = 1;
    const int editable = asNew || mode != kModePreview ? 1 : 0;
    if (g_orderDesigner(w->hwnd, copy, &w->z->zam, w->draw, editable)) {
        if (asNew) {
            AppendWindow(w, copy);
        } else if (ZastapOkno(w->z->zam.okna, w->z->zam.liczbaOkien, index, copy, msg)) {
            AfterWindowsChanged(w);
        } else {
            KvShowError(w->hwnd, msg);
        }
    }
    ZwolnijOkno(copy);
}

void CmdDeleteWindow(OrderWindow* w) {
    if (ModeOf(w) == kModePreview) return;
    if (!KvAskYesNo(w->hwnd, "Do you want to delete the window from the order ?")) return;
    const int entry = SelectedWindowEntry(w);
    const int index = entry >= 0 ? EntryIndex(w, entry) : -1;
    if (index < 0 || index >= w->z->zam.liczbaOkien) {
        KvShowError(w->hwnd, "No window is selected on the list of windows");
        return;
    }
    char msg[KV_MSG_LEN];
    if (!UsunOkno(&w->z->zam.okna, &w->z->zam.liczbaOkien, index, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    SendMessageA(w->winList, LB_DELETESTRING, entry, 0);
    const int entries = (int)SendMessageA(w->winList, LB_GETCOUNT, 0, 0);
    for (int e = 0; e < entries; e++) {
        const int datum = EntryIndex(w, e);
        if (datum > index) SendMessageA(w->winList, LB_SETITEMDATA, e, datum - 1);
    }
    AfterWindowsChanged(w);
    w->z->flagiWidoku &= ~1;
    ApplySelectionEnabling(w);
}

// The "Change status to" submenu under the toolbar's drop-down button, both
// for its arrow and for the button itself.
void ShowStatusMenuBelowButton(OrderWindow* w) {
    if (ModeOf(w) != kModePreview) return;
    RECT r = {};
    if (!SendMessageA(w->bar.hwnd, TB_GETRECT, ORD_CHANGE_STATUS, (LPARAM)&r)) return;
    MapWindowPoints(w->bar.hwnd, HWND_DESKTOP, (POINT*)&r, 2);
    TPMPARAMS tpm = {sizeof tpm, r};
    TrackPopupMenuEx(GetSubMenu(OrderMenu(w), kPosChangeStatus), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL,
                     r.left, r.bottom, w->hwnd, &tpm);
}

// ---- Messages --------------------------------------------------------------------------------

bool IsEditCommand(int id) { return id == ORD_ACC_ADD || id == ORD_ACC_DELETE; }

void OnCommand(OrderWindow* w, int id, int code, HWND from) {
    if (from == w->winList) {
        if (code == LBN_SELCHANGE) {
            if (SelectedWindowEntry(w) >= 0) w->z->flagiWidoku |= 1;
            else w->z->flagiWidoku &= ~1;
            ApplySelectionEnabling(w);
        } else if (code == LBN_SELCANCEL) {
            w->z->flagiWidoku &= ~1;
            ApplySelectionEnabling(w);
        } else if (code == LBN_DBLCLK) {
            CmdEditWindow(w, false);
        }
        return;
    }
    if (IsEditCommand(id) && ModeOf(w) == kModePreview) return;
    switch (id) {
        case ORD_SAVE: CmdSave(w, 0); return;
        case ORD_CANCEL: CmdCancel(w); return;
        case ORD_HELP: OpenHelp(w->hwnd, 2); return;
        case ORD_CORRECT: CmdCorrect(w); return;
        case ORD_DELETE: CmdDeleteOrder(w); return;
        case ORD_PRINT: CmdPrint(w); return;
        case ORD_CHANGE_STATUS: ShowStatusMenuBelowButton(w); return;
        case ORD_WIN_ADD: CmdAddWindow(w); return;
        case ORD_WIN_EDIT: CmdEditWindow(w, false); return;
        case ORD_WIN_EDIT_AS_NEW: CmdEditWindow(w, true); return;
        case ORD_WIN_DELETE: CmdDeleteWindow(w); return;
        case ORD_ACC_ADD: CmdAccessoryAdd(w); return;
        case ORD_ACC_EDIT: CmdAccessoryEdit(w); return;
        case ORD_ACC_DELETE: CmdAccessoryDelete(w); return;
    }
    if (id >= ORD_SAVE_AS_FIRST && id <= ORD_SAVE_AS_LAST) CmdSave(w, id - ORD_SAVE_AS_FIRST + 1);
    else if (id >= ORD_STATUS_FIRST && id <= ORD_STATUS_LAST) CmdChangeStatus(w, id - ORD_STATUS_FIRST + 1);
}

const char* Tooltip(OrderWindow* w, int command) {
    switch (command) {
        case ORD_SAVE: return "Save order";
        case ORD_CHANGE_STATUS: return "Change order status";
        case ORD_PRINT: return "Print the order";
        case ORD_CANCEL: return ModeOf(w) == kModePreview ? "Exit" : "Cancel";
        case ORD_WIN_ADD: return "Add new window to the order";
        case ORD_ACC_ADD: return "Add new accessory do the order";
        case ORD_HELP: return "Help";
        default: return nullptr;
    }
}

// The description of the window under the list's tooltip, with its notes.
const char* WindowTip(OrderWindow* w) {
    w->tipText[0] = 0;
    const int entry = w->tip.nrPoz;
    const int count = (int)SendMessageA(w->winList, LB_GETCOUNT, 0, 0);
    if (entry < 0 || entry >= count) return w->tipText;
    const int index = EntryIndex(w, entry);
    if (index < 0 || index >= w->z->zam.liczbaOkien) return w->tipText;
    const int32_t size = (int32_t)sizeof w->tipText;
    OpiszOkno(&w->z->zam, index, w->tipText, size);
    if (w->z->zam.okna[index].uwagi[0]) {
        strncat(w->tipText, "\r\nNotes:", sizeof w->tipText - strlen(w->tipText) - 1);
        DodajUwagiOkna(&w->z->zam, index, w->tipText, size, 60);
    }
    return w->tipText;
}

void OnAccessoryListNotify(OrderWindow* w, const NMHDR* h) {
    switch (h->code) {
        case LVN_ITEMCHANGED: {
            const NMLISTVIEW* nm = (const NMLISTVIEW*)h;
            if (!(nm->uChanged & LVIF_STATE)) return;
            const bool was = (nm->uOldState & LVIS_SELECTED) != 0, is = (nm->uNewState & LVIS_SELECTED) != 0;
            if (was == is) return;
            if (is) w->z->flagiWidoku |= 2;
            else w->z->flagiWidoku &= ~2;
            ApplySelectionEnabling(w);
            return;
        }
        case NM_DBLCLK:
            if (SendMessageA(w->accList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED) >= 0) CmdAccessoryEdit(w);
            return;
        case NM_RCLICK: {
            const NMITEMACTIVATE* nm = (const NMITEMACTIVATE*)h;
            if (nm->iItem < 0) return;
            POINT pt = nm->ptAction;
            ClientToScreen(w->accList, &pt);
            TrackPopupMenu(AccessoryMenu(w), TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, w->hwnd, nullptr);
            return;
        }
    }
}

LRESULT OnNotify(OrderWindow* w, NMHDR* h) {
    if (h->hwndFrom == w->tab) {
        if (h->code == TCN_SELCHANGING) {
            ShowWindow(w->pages[TabCtrl_GetCurSel(w->tab)], SW_HIDE);
        } else if (h->code == TCN_SELCHANGE) {
            HWND page = w->pages[TabCtrl_GetCurSel(w->tab)];
            ShowWindow(page, SW_SHOW);
        }
        return 0;
    }
    if (h->hwndFrom == w->accList) {
        OnAccessoryListNotify(w, h);
        return 0;
    }
    if (w->tip.hTt && h->hwndFrom == w->tip.hTt) {
        if (h->code == TTN_GETDISPINFOA) {
            ((NMTTDISPINFOA*)h)->lpszText = (char*)WindowTip(w);
        } else if (h->code == TTN_GETDISPINFOW) {
            MultiByteToWideChar(CP_ACP, 0, WindowTip(w), -1, w->tipTextW, 8192);
            ((NMTTDISPINFOW*)h)->lpszText = w->tipTextW;
        }
        return 0;
    }
    switch (h->code) {
        case TBN_GETINFOTIPA: {
            NMTBGETINFOTIPA* tip = (NMTBGETINFOTIPA*)h;
            const char* text = Tooltip(w, tip->iItem);
            if (text && tip->pszText && tip->cchTextMax > 0) lstrcpynA(tip->pszText, text, tip->cchTextMax);
            return 0;
        }
        case TBN_DROPDOWN:
            if (h->hwndFrom == w->bar.hwnd) {
                ShowStatusMenuBelowButton(w);
                return TBDDRET_DEFAULT;
            }
            return 0;
    }
    return 0;
}

void OnMeasureItem(MEASUREITEMSTRUCT* m) {
    if (m->CtlID != IDC_ORD_WINDOWS) return;
    m->itemWidth = 130;
    m->itemHeight = 150;
}

void OnDrawItem(OrderWindow* w, const DRAWITEMSTRUCT* d) {
    if (d->CtlID != IDC_ORD_WINDOWS) return;
    const int index = (int)d->itemID >= 0 ? (int)d->itemData : -1;
    PaintWindowCell(d->hDC, d->rcItem, w->z, index, w->draw, (d->itemState & ODS_FOCUS) != 0,
                    (d->itemState & ODS_SELECTED) != 0);
}

bool OnCreate(OrderWindow* w, HWND hwnd) {
    w->hwnd = hwnd;
    EnableWindow(w->owner, FALSE);
    w->menu = GetMenu(hwnd);
    NameStatusItems(w);
    if (!CreateToolbar(w)) return false;
    CreateLabels(w);
    if (!CreatePages(w)) return false;
    CreateAccessories(w);
    if (!CreateWindowsList(w)) return false;
    SendMessageA(hwnd, UM_SHOW_STATUS, 0, 0);
    SendMessageA(hwnd, UM_SHOW_TOTALS, 0, 0);
    if (w->z->flagiWidoku & kWidokKorekta) {
        char msg[KV_MSG_LEN];
        if (!TakeSnapshot(w, msg)) {
            KvShowError(hwnd, msg);
            return false;
        }
    }
    ApplyMode(w);
    RECT client;
    GetClientRect(hwnd, &client);
    Layout(w, client.right, client.bottom);
    return true;
}

void OnDestroy(OrderWindow* w) {
    if (w->hasSnapshot) {
        ZwolnijZam(&w->snapshot);
        w->hasSnapshot = false;
    }
    EnableWindow(w->owner, TRUE);
    if (w->owner) SetForegroundWindow(w->owner);
}

void OnGetMinMaxInfo(MINMAXINFO* m) {
    m->ptMinTrackSize.x = 800;
    m->ptMinTrackSize.y = 600;
}

LRESULT CALLBACK OrderWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_GETMINMAXINFO) {  // comes before the state is attached
        OnGetMinMaxInfo((MINMAXINFO*)lParam);
        return 0;
    }
    OrderWindow* w = KvWindowState<OrderWindow>(hwnd, msg, lParam);
    if (!w) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_CREATE: return OnCreate(w, hwnd) ? 0 : -1;
        case WM_SIZE: Layout(w, LOWORD(lParam), HIWORD(lParam)); return 0;
        case WM_COMMAND: OnCommand(w, LOWORD(wParam), HIWORD(wParam), (HWND)lParam); return 0;
        case WM_NOTIFY: return OnNotify(w, (NMHDR*)lParam);
        case WM_MEASUREITEM: OnMeasureItem((MEASUREITEMSTRUCT*)lParam); return TRUE;
        case WM_DRAWITEM: OnDrawItem(w, (const DRAWITEMSTRUCT*)lParam); return TRUE;
        case WM_CTLCOLORLISTBOX:
            if ((HWND)lParam == w->winList) return (LRESULT)GetSysColorBrush(COLOR_BTNFACE);
            break;
        case WM_CLOSE: CmdCancel(w); return 0;
        case WM_HELP: OpenHelp(hwnd, 2); return TRUE;
        case DM_GETDEFID: return w->defId ? MAKELRESULT(w->defId, DC_HASDEFID) : 0;
        case DM_SETDEFID: w->defId = (int)wParam; return TRUE;
        case UM_SHOW_TOTALS: OnShowTotals(w); return 0;
        case UM_SHOW_STATUS: OnShowStatus(w); return 0;
        case WM_DESTROY: OnDestroy(w); return 0;
        case WM_NCDESTROY: KvDetachState(hwnd); break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Tab and the arrows move between the window's controls.
bool DialogNavigation(void* window, MSG* m) { return IsDialogMessageA((HWND)window, m) != 0; }

bool RegisterOnce() {
    WNDCLASSEXA wc = {};
    if (GetClassInfoExA(Instance(), kClassName, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = OrderWindowProc;
    wc.hInstance = Instance();
    wc.hIcon = LoadIconA(Instance(), MAKEINTRESOURCEA(10000));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassExA(&wc) != 0;
}

}  // namespace

OrderMode ModeOf(const OrderWindow* w) {
    if (w->z->zam.status == 0) return kModeNew;
    return (w->z->flagiWidoku & kWidokKorekta) ? kModeCorrection : kModePreview;
}

const char* OrderCurrency(const strZamRob* z) { return CurrencyCode(z->zam.idWalZam); }

void ApplySelectionEnabling(OrderWindow* w) {
    const bool a = (w->z->flagiWidoku & 2) != 0, win = (w->z->flagiWidoku & 1) != 0;
    HMENU acc = AccessoryMenu(w), wm = WindowMenu(w);
    Enable(acc, ORD_ACC_EDIT, a);
    EnableWindow(GetDlgItem(w->hwnd, ORD_ACC_EDIT), a);
    if (ModeOf(w) != kModePreview) {
        Enable(acc, ORD_ACC_DELETE, a);
        EnableWindow(GetDlgItem(w->hwnd, ORD_ACC_DELETE), a);
        Enable(wm, ORD_WIN_EDIT, win);
        Enable(wm, ORD_WIN_EDIT_AS_NEW, win);
        Enable(wm, ORD_WIN_DELETE, win);
    } else {
        Enable(wm, ORD_WIN_EDIT, win);
    }
}

int RunOrderWindow(HWND owner, strZamRob* order, int* rowIndex, const DrawSet* draw) {
    if (!RegisterOnce()) {
        KvShowError(owner, DajKomunBledu(GetLastError(), 0));
        return 0;
    }
    OrderWindow w;
    w.owner = owner;
    w.z = order;
    w.row = rowIndex;
    w.draw = draw;
    char msg[KV_MSG_LEN];
    if (!ReadUstUzytk(&w.settings, msg)) {
        KvShowError(owner, msg);
        return 0;
    }
    HMENU menu = LoadMenuA(Instance(), MAKEINTRESOURCEA(IDM_ORDER));
    HWND hwnd = CreateWindowExA(0, kClassName, "Order", WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, menu, Instance(), &w);
    if (!hwnd) {
        // A failed creation has destroyed the window (and the menu with it).
        EnableWindow(owner, TRUE);
        return 0;
    }
    ShowWindow(hwnd, SW_SHOW);
    KvRunModalLoop(hwnd, DialogNavigation, hwnd);
    // However the window ended (closed, the program's quit, a failed loop),
    // the flag says whether the order was written.
    return w.saved;
}
