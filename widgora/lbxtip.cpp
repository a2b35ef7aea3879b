// A list box with a tooltip for the item under the mouse and a context menu
// on the right button. The caller's record hangs in the list box's user data.
#include <windows.h>
#include <commctrl.h>

#include "widgora/widgora.h"

namespace {

// Marks a list box that already has our procedure: a second installation
// would make the procedure its own predecessor.
const char kInstalledProp[] = "WidgoraLbxTt";

strTtLbx* Record(HWND hwnd) { return (strTtLbx*)GetWindowLongPtrA(hwnd, GWLP_USERDATA); }

// The tool as it was registered: the dialog asks for its text.
void ToolInfo(HWND lbx, TTTOOLINFOA* ti) {
    ZeroMemory(ti, sizeof *ti);
    ti->cbSize = sizeof *ti;
    ti->hwnd = GetParent(lbx);
    ti->uId = (UINT_PTR)lbx;
}

// Index of the item at a client point, or -1 outside every item (also
// below the last one, where the list box answers with the nearest).
int ItemAt(HWND lbx, LPARAM clientPoint) {
    LRESULT r = SendMessageA(lbx, LB_ITEMFROMPOINT, 0, clientPoint);
    if (HIWORD(r) != 0) return -1;
    return (int)LOWORD(r);
}

void HideTip(HWND lbx, strTtLbx* rec) {
    if (!rec->czyTtPokaz) return;
    TTTOOLINFOA ti;
    ToolInfo(lbx, &ti);
    SendMessageA(rec->hTt, TTM_TRACKACTIVATE, FALSE, (LPARAM)&ti);
    rec->czyTtPokaz = 0;
}

void OnMouseMove(HWND lbx, strTtLbx* rec) {
    if (!rec->hTt) return;
    if (rec->czySledzNad && rec->czySledzWyj) return;
    // Both in one request: Wine keeps only the last request of a window, so
    // asking for the leave after the hover would quietly drop the hover.
    TRACKMOUSEEVENT tme = {sizeof tme, TME_HOVER | TME_LEAVE, lbx, HOVER_DEFAULT};
    if (TrackMouseEvent(&tme)) rec->czySledzNad = rec->czySledzWyj = 1;
}

void OnHover(HWND lbx, strTtLbx* rec, LPARAM lParam) {
    rec->czySledzNad = 0;
    int item = ItemAt(lbx, lParam);
    if (item < 0) {
        HideTip(lbx, rec);
        return;
    }
    rec->nrPoz = item;
    rec->czyTtPokaz = 1;
    POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    ClientToScreen(lbx, &pt);
    TTTOOLINFOA ti;
    ToolInfo(lbx, &ti);
    SendMessageA(rec->hTt, TTM_TRACKPOSITION, 0, MAKELPARAM(pt.x, pt.y));
    // Re-activating makes the tooltip ask the dialog again for the text of
    // the item now under the mouse.
    SendMessageA(rec->hTt, TTM_TRACKACTIVATE, FALSE, (LPARAM)&ti);
    SendMessageA(rec->hTt, TTM_TRACKACTIVATE, TRUE, (LPARAM)&ti);
}

void OnLeave(HWND lbx, strTtLbx* rec) {
    rec->czySledzNad = 0;
    rec->czySledzWyj = 0;
    HideTip(lbx, rec);
}

void OnRightButton(HWND lbx, strTtLbx* rec, LPARAM lParam) {
    int item = ItemAt(lbx, lParam);
    if (item < 0) return;
    DWORD style = (DWORD)GetWindowLongA(lbx, GWL_STYLE);
    if (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
        SendMessageA(lbx, LB_SETSEL, FALSE, -1);
        SendMessageA(lbx, LB_SETSEL, TRUE, item);
        SendMessageA(lbx, LB_SETCARETINDEX, (WPARAM)item, FALSE);
    } else {
        SendMessageA(lbx, LB_SETCURSEL, (WPARAM)item, 0);
    }
    HWND parent = GetParent(lbx);
    // As if the user had clicked it: the parent updates what depends on the
    // selection before the menu asks about it.
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(lbx), LBN_SELCHANGE), (LPARAM)lbx);
    if (rec->hMenuPdr) {
        POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        ClientToScreen(lbx, &pt);
        TrackPopupMenu(rec->hMenuPdr, TPM_RIGHTBUTTON, pt.x, pt.y, 0, parent, nullptr);
    }
}

LRESULT Forward(HWND hwnd, strTtLbx* rec, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!rec || !rec->poprzProc) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return CallWindowProcA(rec->poprzProc, hwnd, msg, wParam, lParam);
}

}  // namespace

extern "C" {

LRESULT CALLBACK PdklLbxTtMenuPdr(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    strTtLbx* rec = Record(hwnd);
    if (!rec) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_MOUSEMOVE: OnMouseMove(hwnd, rec); break;
        case WM_MOUSEHOVER: OnHover(hwnd, rec, lParam); return 0;
        case WM_MOUSELEAVE: OnLeave(hwnd, rec); return 0;
        case WM_RBUTTONDOWN:
            OnRightButton(hwnd, rec, lParam);
            // A menu command may have closed the list box meanwhile.
            if (!IsWindow(hwnd) || !(rec = Record(hwnd))) return 0;
            break;
        case WM_NCDESTROY: {
            // The record is the caller's and may outlive the list box: leave
            // it holding nothing of a window that is gone.
            WNDPROC prev = rec->poprzProc;
            RemovePropA(hwnd, kInstalledProp);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)prev);
            rec->czyTtPokaz = 0;
            return CallWindowProcA(prev, hwnd, msg, wParam, lParam);
        }
    }
    return Forward(hwnd, rec, msg, wParam, lParam);
}

WNDPROC DodajTtMenuPdrDoLbx(HWND dialog, int lbxId, HMENU menu, HINSTANCE instance, int maxTipWidth,
                            strTtLbx* rec, UINT extraToolFlags) {
    HWND lbx = GetDlgItem(dialog, lbxId);
    if (!lbx || !rec || GetPropA(lbx, kInstalledProp)) return nullptr;
    HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, instance, nullptr);
    if (!tip) return nullptr;
    TTTOOLINFOA ti;
    ToolInfo(lbx, &ti);
    ti.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT | extraToolFlags;
    ti.hinst = instance;
    ti.lpszText = LPSTR_TEXTCALLBACKA;
    if (!SendMessageA(tip, TTM_ADDTOOLA, 0, (LPARAM)&ti)) {
        DestroyWindow(tip);
        return nullptr;
    }
    SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, maxTipWidth);
    rec->hTt = tip;
    rec->czyTtPokaz = 0;
    rec->nrPoz = -1;
    rec->czySledzNad = 0;
    rec->czySledzWyj = 0;
    rec->hMenuPdr = menu;
    SetPropA(lbx, kInstalledProp, (HANDLE)1);
    SetWindowLongPtrA(lbx, GWLP_USERDATA, (LONG_PTR)rec);
    rec->poprzProc = (WNDPROC)SetWindowLongPtrA(lbx, GWLP_WNDPROC, (LONG_PTR)PdklLbxTtMenuPdr);
    return rec->poprzProc;
}

}  // extern "C"
