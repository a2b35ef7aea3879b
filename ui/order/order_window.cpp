// The order window: creation, layout, messages and its modal run. The
// commands live in order_commands.cpp, what it shows of amounts and status
// in order_totals.cpp, the pages in order_pages.cpp, the window cells in
// order_cells.cpp, the accessories in accessory_list.cpp.
#include "ui/order/order_window.h"

#include <algorithm>
#include <initializer_list>
#include <stdio.h>
#include <string.h>

#include "db/connection.h"
#include "db/names.h"
#include "db/orders.h"
#include "db/tables.h"
#include "model/comparison.h"
#include "model/description.h"
#include "model/window.h"
#include "ui/order/order_rc.h"
#include "util/keys_win.h"
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

// ---- Creation ----------------------------------------------------------------------

namespace {

const int kIconId = 10000;  // the program's icon

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
    if (!KopiujZam(&w->snapshot, w->z, msg)) return false;
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

// Creation lays the window out, and its first showing reports the same size
// again: placing every control where it already is costs milliseconds.
void OnSize(OrderWindow* w, int width, int height) {
    if (width == w->laidOut.cx && height == w->laidOut.cy) return;
    Layout(w, width, height);
}

// Moved to a monitor of another dpi (or told so by a test): the controls
// take the font and the places of the new dpi, the cells their size, and
// the window the rectangle the system suggests.
void OnDpiChanged(OrderWindow* w, WPARAM wParam, LPARAM lParam) {
    w->dpi = KvDpiOfDpiChanged(wParam);
    w->font.reset(KvCreateGuiFont(w->dpi));
    w->icons.Apply(w->hwnd, Instance(), kIconId, w->dpi);
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
        case ORD_SAVE_PDF: CmdSavePdf(w); return;
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
            if (SendMessageA(w->accList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED) >= 0)
                CmdAccessoryEdit(w);
            return;
        case NM_RCLICK: {
            const NMITEMACTIVATE* nm = (const NMITEMACTIVATE*)h;
            if (nm->iItem < 0) return;
            POINT pt = nm->ptAction;
            ClientToScreen(w->accList, &pt);
            TrackPopupMenu(AccessoryMenu(w), TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, w->hwnd,
                           nullptr);
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

void OnMeasureItem(const OrderWindow* w, MEASUREITEMSTRUCT* m) {
    if (m->CtlID != IDC_ORD_WINDOWS) return;
    m->itemWidth = Px(w, 130);
    m->itemHeight = Px(w, 150);
}

void OnDrawItem(OrderWindow* w, const DRAWITEMSTRUCT* d) {
    if (d->CtlID != IDC_ORD_WINDOWS) return;
    const int index = (int)d->itemID >= 0 ? (int)d->itemData : -1;
    PaintWindowCell(d->hDC, d->rcItem, w->z, index, w->draw, (d->itemState & ODS_FOCUS) != 0,
                    (d->itemState & ODS_SELECTED) != 0, w->dpi, w->font.get());
}

bool OnCreate(OrderWindow* w, HWND hwnd) {
    w->hwnd = hwnd;
    w->dpi = KvDpiForWindow(hwnd);
    w->font.reset(KvCreateGuiFont(w->dpi));
    w->icons.Apply(hwnd, Instance(), kIconId, w->dpi);
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
    ApplyMode(w);
    RECT client;
    GetClientRect(hwnd, &client);
    Layout(w, client.right, client.bottom);
    return true;
}

// What the painted window still lacks before it takes input: the hidden
// pages, the list's tooltip and menu, and the snapshot a correction compares
// with (the order as all its pages write it back).
bool FinishAfterPaint(OrderWindow* w) {
    if (!CreateHiddenPages(w)) return false;
    DodajTtMenuPdrDoLbx(w->hwnd, IDC_ORD_WINDOWS, WindowMenu(w), Instance(), 4096, &w->tip, 0);
    if (w->z->flagiWidoku & kWidokKorekta) {
        char msg[KV_MSG_LEN];
        if (!TakeSnapshot(w, msg)) {
            KvShowError(w->hwnd, msg);
            return false;
        }
    }
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

void OnGetMinMaxInfo(HWND hwnd, MINMAXINFO* m) {
    const int dpi = KvDpiForWindow(hwnd);
    m->ptMinTrackSize.x = KvScale(800, dpi);
    m->ptMinTrackSize.y = KvScale(600, dpi);
}

LRESULT CALLBACK OrderWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_GETMINMAXINFO) {  // comes before the state is attached
        OnGetMinMaxInfo(hwnd, (MINMAXINFO*)lParam);
        return 0;
    }
    OrderWindow* w = KvWindowState<OrderWindow>(hwnd, msg, lParam);
    if (!w) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_CREATE: return OnCreate(w, hwnd) ? 0 : -1;
        case WM_SIZE: OnSize(w, LOWORD(lParam), HIWORD(lParam)); return 0;
        case WM_DPICHANGED: OnDpiChanged(w, wParam, lParam); return 0;
        case WM_COMMAND: OnCommand(w, LOWORD(wParam), HIWORD(wParam), (HWND)lParam); return 0;
        case WM_NOTIFY: return OnNotify(w, (NMHDR*)lParam);
        case WM_MEASUREITEM: OnMeasureItem(w, (MEASUREITEMSTRUCT*)lParam); return TRUE;
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

// The order window's keys: Enter and Delete belong to their lists.
const KvKey kOrderKeys[] = {
    {'S', true, false, ORD_SAVE, 0},
    {'P', true, false, ORD_PRINT, 0},
    {VK_INSERT, false, false, ORD_WIN_ADD, 0},
    {VK_RETURN, false, false, ORD_WIN_EDIT, IDC_ORD_WINDOWS},
    {VK_DELETE, false, false, ORD_WIN_DELETE, IDC_ORD_WINDOWS},
    {VK_DELETE, false, false, ORD_ACC_DELETE, IDC_ORD_ACC_LIST},
};

// Ctrl+Tab and Ctrl+Shift+Tab: the next or the previous page, as a click on
// its tab would show it.
void TurnPage(OrderWindow* w, bool back) { KvTurnTab(w->tab, back); }

// A multi-line edit (the address, the other information, the notes) asks
// the dialog navigation for every key, Escape included.
bool IsMultiLineEdit(HWND h) {
    char cls[8] = "";
    return h && GetClassNameA(h, cls, (int)sizeof cls) && !lstrcmpiA(cls, "Edit") &&
           (GetWindowLongA(h, GWL_STYLE) & ES_MULTILINE);
}

bool OrderKey(OrderWindow* w, const MSG* m) {
    if (!m->hwnd || (m->hwnd != w->hwnd && !IsChild(w->hwnd, m->hwnd))) return false;
    if (m->message == WM_KEYDOWN && m->wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        TurnPage(w, GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    // Escape cancels or exits from anywhere in the window, as the close box.
    if (m->message == WM_KEYDOWN && m->wParam == VK_ESCAPE && IsMultiLineEdit(m->hwnd)) {
        SendMessageA(w->hwnd, WM_COMMAND, MAKEWPARAM(ORD_CANCEL, 0), 0);
        return true;
    }
    return KvDispatchKey(w->hwnd, w->bar.hwnd, kOrderKeys, (int)(sizeof kOrderKeys / sizeof kOrderKeys[0]),
                         m);
}

// The window's keys, then Tab and the arrows move between its controls.
bool DialogNavigation(void* window, MSG* m) {
    OrderWindow* w = (OrderWindow*)GetWindowLongPtrA((HWND)window, GWLP_USERDATA);
    if (w && OrderKey(w, m)) return true;
    return IsDialogMessageA((HWND)window, m) != 0;
}

bool RegisterOnce() {
    WNDCLASSEXA wc = {};
    if (GetClassInfoExA(Instance(), kClassName, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = OrderWindowProc;
    wc.hInstance = Instance();
    wc.hIcon = LoadIconA(Instance(), MAKEINTRESOURCEA(kIconId));
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
    HWND hwnd = CreateWindowExA(0, kClassName, "Order",
                                WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, menu, Instance(), &w);
    if (!hwnd) {
        // A failed creation has destroyed the window (and the menu with it).
        EnableWindow(owner, TRUE);
        return 0;
    }
    ShowWindow(hwnd, SW_SHOW);
    // Painted at once, then completed (FinishAfterPaint).
    UpdateWindow(hwnd);
    if (!FinishAfterPaint(&w)) {
        DestroyWindow(hwnd);
        return 0;
    }
    KvRunModalLoop(hwnd, DialogNavigation, hwnd);
    // However the window ended (closed, the program's quit, a failed loop),
    // the flag says whether the order was written.
    return w.saved;
}
