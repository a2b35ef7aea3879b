// The order window: its messages and its modal run. Its controls are made
// and laid out in order_window_layout.cpp, the commands live in order_commands.cpp, what it shows of amounts and status
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

namespace {

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
        case ORD_PRICES_FROM_LIST: CmdPricesFromList(w); return;
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
    DescribeWindow(&w->z->zam, index, w->tipText, size);
    if (w->z->zam.okna[index].uwagi[0]) {
        strncat(w->tipText, "\r\nNotes:", sizeof w->tipText - strlen(w->tipText) - 1);
        AddWindowNotes(&w->z->zam, index, w->tipText, size, 60);
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
    EnableWindow(w->owner, FALSE);
    return CreateOrderControls(w);
}

// What the painted window still lacks before it takes input: the hidden
// pages, the list's tooltip and menu, and the snapshot a correction compares
// with (the order as all its pages write it back).
bool FinishAfterPaint(OrderWindow* w) {
    if (!CreateHiddenPages(w)) return false;
    DodajTtMenuPdrDoLbx(w->hwnd, IDC_ORD_WINDOWS, WindowMenu(w), Instance(), 4096, &w->tip, 0);
    if (w->z->flagiWidoku & kViewCorrection) {
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
        FreeOrder(&w->snapshot);
        w->hasSnapshot = false;
    }
    EnableWindow(w->owner, TRUE);
    if (w->owner) SetForegroundWindow(w->owner);
}

void OnGetMinMaxInfo(HWND hwnd, MINMAXINFO* m) {
    KvSetMinimumTrackSize(m, 800, 600, KvDpiForWindow(hwnd));
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
        case WM_SIZE: OrderWindowSized(w, LOWORD(lParam), HIWORD(lParam)); return 0;
        case WM_DPICHANGED: OrderWindowDpiChanged(w, wParam, lParam); return 0;
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
    wc.hIcon = LoadIconA(Instance(), MAKEINTRESOURCEA(kOrderWindowIcon));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassExA(&wc) != 0;
}

}  // namespace

OrderMode ModeOf(const OrderWindow* w) {
    if (w->z->zam.status == 0) return kModeNew;
    return (w->z->flagiWidoku & kViewCorrection) ? kModeCorrection : kModePreview;
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
        KvShowSystemText(owner, GetLastError());
        return 0;
    }
    OrderWindow w;
    w.owner = owner;
    w.z = order;
    w.row = rowIndex;
    w.draw = draw;
    char msg[KV_MSG_LEN];
    if (!ReadUserSettings(&w.settings, msg)) {
        KvShowError(owner, msg);
        return 0;
    }
    LoadPriceListState(&w);
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
