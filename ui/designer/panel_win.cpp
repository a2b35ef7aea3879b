// The window data panel.
#include "ui/designer/panel_win.h"

#include <commctrl.h>
#include <new>

#include "ui/designer/designer_rc.h"
#include "ui/designer/panel_internal_win.h"
#include "util/dpi_win.h"
#include "util/scoped_win.h"
#include "util/text_fit_win.h"
#include "util/window_win.h"

const char kPanelClass[] = "oknoDowOknoDane";

namespace {

using namespace panel;

void ScrollTo(PanelState* s, int pos) {
    const int content = ContentHeight(s);
    if (!s->bar) return;
    if (pos > content - s->page) pos = content - s->page;
    if (pos < 0) pos = 0;
    if (pos == s->pos) return;
    s->pos = pos;
    SetScrollPos(s->hwnd, SB_VERT, pos, TRUE);
    PlaceControls(s);
    InvalidateRect(s->hwnd, nullptr, TRUE);
    UpdateWindow(s->hwnd);
}

void OnVScroll(PanelState* s, int code) {
    SCROLLINFO si = {sizeof si, SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(s->hwnd, SB_VERT, &si);
    switch (code) {
        case SB_LINEUP: ScrollTo(s, s->pos - Px(s, kPanelLine)); break;
        case SB_LINEDOWN: ScrollTo(s, s->pos + Px(s, kPanelLine)); break;
        case SB_PAGEUP: ScrollTo(s, s->pos - s->page); break;
        case SB_PAGEDOWN: ScrollTo(s, s->pos + s->page); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: ScrollTo(s, si.nTrackPos); break;
        case SB_TOP: ScrollTo(s, 0); break;
        case SB_BOTTOM: ScrollTo(s, ContentHeight(s)); break;
    }
}

void OnKeyDown(PanelState* s, WPARAM key) {
    if (key == VK_PRIOR) ScrollTo(s, s->pos - s->page);
    if (key == VK_NEXT) ScrollTo(s, s->pos + s->page);
}

void OnWheel(PanelState* s, int delta) {
    UINT lines = 3;
    if (!SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 3;
    if (lines == 0 || !s->bar) {
        s->wheelRest = 0;
        return;
    }
    // A page per notch when the system says so; the unit never falls to 0.
    int step = lines == WHEEL_PAGESCROLL ? s->page : Px(s, kPanelLine);
    int unit = lines == WHEEL_PAGESCROLL ? WHEEL_DELTA : WHEEL_DELTA / (int)lines;
    if (unit < 1) unit = 1;
    s->wheelRest += delta;
    int count = s->wheelRest / unit;
    s->wheelRest -= count * unit;
    if (count) ScrollTo(s, s->pos - count * step);
}

// Top of a child in the panel's client coordinates.
RECT ChildRect(PanelState* s, int id) {
    RECT r = {};
    HWND c = GetDlgItem(s->hwnd, id);
    if (!c) return r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, s->hwnd, (POINT*)&r, 2);
    return r;
}

void BringTopInView(PanelState* s, int id, int margin) {
    RECT r = ChildRect(s, id);
    if (r.top < 0) ScrollTo(s, s->pos + r.top - Px(s, margin));
}

void BringBottomInView(PanelState* s, int id) {
    RECT r = ChildRect(s, id);
    RECT rc;
    GetClientRect(s->hwnd, &rc);
    if (r.bottom > rc.bottom) ScrollTo(s, s->pos + r.bottom - rc.bottom + Px(s, 2));
}

void OnFocusChild(PanelState* s, int id) {
    switch (id) {
        case IDC_PNL_PROFILE_LIST:
        case IDC_PNL_PROFILE_EDIT: BringTopInView(s, IDC_PNL_PROFILE_LABEL, 4); break;
        case IDC_PNL_PVC:
        case IDC_PNL_WOOD:
        case IDC_PNL_ALUMINIUM: BringTopInView(s, IDC_PNL_PROFILE_TYPE, 2); break;
        case IDC_PNL_FRAME_EDIT:
        case IDC_PNL_SASH_EDIT:
        case IDC_PNL_FIXED_EDIT:
        case IDC_PNL_FALSE_EDIT: BringTopInView(s, IDC_PNL_THICKNESS, 2); break;
        case CMD_DES_FACTORS:
        case IDC_PNL_NOTES: BringBottomInView(s, id); break;
    }
}

void CheckRadio(PanelState* s, int id) {
    if (id >= IDC_PNL_PVC && id <= IDC_PNL_ALUMINIUM)
        CheckRadioButton(s->hwnd, IDC_PNL_PVC, IDC_PNL_ALUMINIUM, id);
    else CheckRadioButton(s->hwnd, IDC_PNL_WHITE, IDC_PNL_DOUBLE, id);
}

KeptName* KeptOf(PanelState* s, int listId) {
    return listId == IDC_PNL_PROFILE_LIST  ? &s->profile
           : listId == IDC_PNL_MUNTIN_LIST ? &s->muntin
                                           : nullptr;
}

// Remembers what the list shows now; `chosen` takes the text of the chosen
// entry, which the combo box writes into its field only after telling of
// the choice.
void KeepName(PanelState* s, int listId, bool chosen) {
    KeptName* k = KeptOf(s, listId);
    HWND list = GetDlgItem(s->hwnd, listId);
    if (!k || !list) return;
    k->sel = (int)SendMessageA(list, CB_GETCURSEL, 0, 0);
    k->text[0] = 0;
    const LRESULT len = chosen && k->sel >= 0 ? SendMessageA(list, CB_GETLBTEXTLEN, k->sel, 0) : CB_ERR;
    if (len >= 0 && len < (LRESULT)sizeof k->text) SendMessageA(list, CB_GETLBTEXT, k->sel, (LPARAM)k->text);
    else GetWindowTextA(list, k->text, (int)sizeof k->text);
}

// A refused choice changes nothing: the selection and the text come back.
// Posted, because the combo box rewrites its field after the notification
// that carried the choice has returned.
void PutBack(PanelState* s, int listId) {
    const KeptName* k = KeptOf(s, listId);
    HWND list = GetDlgItem(s->hwnd, listId);
    if (!k || !list) return;
    SendMessageA(list, CB_SETCURSEL, (WPARAM)k->sel, 0);
    SetWindowTextA(list, k->text);
}

// A choice in a name list whose choices the designer may refuse; it hears
// what the list showed before, which undoing the choice brings back.
void OnNameChosen(PanelState* s, int listId, UINT message) {
    const KeptName* k = KeptOf(s, listId);
    if (SendMessageA(GetParent(s->hwnd), message, 0, k ? (LPARAM)k->text : 0))
        PostMessageA(s->hwnd, UM_PNL_PUT_BACK, listId, 0);
    else KeepName(s, listId, true);
}

// The five names' lists and plain fields.
bool IsNameControl(int id) {
    return (id >= IDC_PNL_PROFILE_LIST && id <= IDC_PNL_PROFILE_EDIT) ||
           (id >= IDC_PNL_COLOR_LIST && id <= IDC_PNL_COLOR_EDIT) ||
           (id >= IDC_PNL_MUNTIN_LIST && id <= IDC_PNL_MUNTIN_EDIT) ||
           (id >= IDC_PNL_HARDWARE_LIST && id <= IDC_PNL_HARDWARE_EDIT) ||
           (id >= IDC_PNL_BEAD_LIST && id <= IDC_PNL_BEAD_EDIT);
}

void OnCommand(PanelState* s, int id, int code, HWND ctl) {
    HWND parent = GetParent(s->hwnd);
    bool radio =
        (id >= IDC_PNL_PVC && id <= IDC_PNL_ALUMINIUM) || (id >= IDC_PNL_WHITE && id <= IDC_PNL_DOUBLE);
    if (code == EN_SETFOCUS || code == (int)CBN_SETFOCUS ||
        (code == BN_SETFOCUS && (radio || id == CMD_DES_FACTORS)))
        OnFocusChild(s, id);
    if (code == (int)CBN_SELCHANGE) {
        if (id == IDC_PNL_PROFILE_LIST) OnNameChosen(s, id, UM_DES_PROFILE_CHOSEN);
        if (id == IDC_PNL_COLOR_LIST) SendMessageA(parent, UM_DES_COLOR_CHOSEN, 0, 0);
        if (id == IDC_PNL_MUNTIN_LIST) OnNameChosen(s, id, UM_DES_MUNTIN_CHOSEN);
    }
    // A typed name is the one to come back to.
    if (code == (int)CBN_EDITCHANGE) KeepName(s, id, false);
    // Arrowing through a list chooses each entry; the choices of one pass
    // are one step of the designer's history, which ends here.
    if ((id == IDC_PNL_PROFILE_LIST || id == IDC_PNL_MUNTIN_LIST) &&
        (code == (int)CBN_DROPDOWN || code == (int)CBN_CLOSEUP || code == (int)CBN_KILLFOCUS))
        SendMessageA(parent, UM_DES_CHOICES_END, 0, 0);
    if (IsNameControl(id) && (code == (int)CBN_EDITCHANGE || code == (int)CBN_SELCHANGE || code == EN_CHANGE))
        PostMessageA(parent, UM_DES_NAMES, 0, 0);  // after a chosen entry's text is in the field
    if (id == IDC_PNL_PRICE_LIST_USE && code == BN_CLICKED)
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)ctl);
    if (id == IDC_PNL_NET && code == EN_CHANGE && SendMessageA(ctl, EM_GETMODIFY, 0, 0)) {
        SendMessageA(parent, UM_DES_PRICE, 0, 0);
        SendMessageA(ctl, EM_SETMODIFY, FALSE, 0);
    }
    if (code == BN_CLICKED && radio) {
        CheckRadio(s, id);
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)ctl);
    }
    if (code == BN_CLICKED && id == CMD_DES_FACTORS)
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)ctl);
}

LRESULT OnNotify(PanelState* s, NMHDR* nm) {
    if (KvAnswerFullTextTip(nm, GetDlgItem(s->hwnd, IDC_PNL_PRICE_LIST_MISSING), &s->missingTip)) return 0;
    if (nm->code != UDN_DELTAPOS) return 0;
    NMUPDOWN* ud = (NMUPDOWN*)nm;
    int id = (int)nm->idFrom;
    int candidate = ud->iPos + ud->iDelta;
    HWND parent = GetParent(s->hwnd);
    switch (id) {
        case IDC_PNL_FRAME_SPIN:
        case IDC_PNL_SASH_SPIN:
        case IDC_PNL_FIXED_SPIN:
        case IDC_PNL_FALSE_SPIN:
        case IDC_PNL_MUNTIN_TH_SPIN:
            return SendMessageA(parent, UM_DES_THICKNESS, (WPARAM)candidate, id) ? 1 : 0;
        case IDC_PNL_QTY_SPIN: return SendMessageA(parent, UM_DES_QUANTITY, (WPARAM)candidate, 0) ? 1 : 0;
    }
    return 0;
}

// The price list's missing line, fitted into its box.
void OnDrawItem(const DRAWITEMSTRUCT* di) {
    if (di->CtlID != IDC_PNL_PRICE_LIST_MISSING) return;
    FillRect(di->hDC, &di->rcItem, GetSysColorBrush(COLOR_BTNFACE));
    ScopedSelect font(di->hDC, (HFONT)SendMessageA(di->hwndItem, WM_GETFONT, 0, 0));
    SetTextColor(di->hDC, GetSysColor(COLOR_BTNTEXT));
    KvDrawFittedText(di->hDC, di->rcItem, KvWindowText(di->hwndItem));
}

void SetFontOfChildren(PanelState* s) {
    const HFONT font = KvGuiFont(s->font.get());
    for (HWND c = GetWindow(s->hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        SendMessageA(c, WM_SETFONT, (WPARAM)font, FALSE);
}

// Every control at the new dpi: the font for it, each size scaled from the
// old dpi's (a drop-down list's height and a spin edit's width from their
// 96-dpi measures), then the layout again.
void OnApplyDpi(PanelState* s, int dpi) {
    if (dpi <= 0 || dpi == s->dpi) return;
    const int old = s->dpi;
    s->dpi = dpi;
    s->font.reset(KvCreateGuiFont(dpi));
    SetFontOfChildren(s);
    for (HWND c = GetWindow(s->hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[16] = "";
        GetClassNameA(c, cls, (int)sizeof cls);
        if (!lstrcmpiA(cls, UPDOWN_CLASSA)) continue;  // sized with its edit below
        RECT r;
        GetWindowRect(c, &r);
        const int h = !lstrcmpiA(cls, "ComboBox") ? Px(s, 200) : MulDiv(r.bottom - r.top, dpi, old);
        SetWindowPos(c, nullptr, 0, 0, MulDiv(r.right - r.left, dpi, old), h,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (int i = 0; i < kSpinCount; i++) {
        strEdUd* eu = s->v.spins[i];
        eu->szer = Px(s, 44);
        SetWindowPos(eu->hEd, nullptr, 0, 0, eu->szer, Px(s, 20), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageA(eu->hUd, UDM_SETBUDDY, (WPARAM)eu->hEd, 0);
    }
    Layout(s);
}

LRESULT OnCreate(PanelState* s, HWND hwnd) {
    s->hwnd = hwnd;
    s->dpi = KvDpiForWindow(hwnd);
    if (!CreateProfileBlock(s) || !CreateColourAndMuntinBlocks(s) || !CreatePriceBlocks(s)) return -1;
    // The controls come with the system's font; a panel on a monitor of
    // another scale takes the font of its own.
    s->font.reset(KvCreateGuiFont(s->dpi));
    if (s->font) SetFontOfChildren(s);
    Layout(s);
    return 0;
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    PanelState* s = KvWindowState<PanelState>(hwnd, msg, lp);
    if (!s) return DefWindowProcA(hwnd, msg, wp, lp);
    switch (msg) {
        case WM_CREATE: return OnCreate(s, hwnd);
        case WM_SIZE: Layout(s); return 0;
        case WM_VSCROLL: OnVScroll(s, LOWORD(wp)); return 0;
        case WM_KEYDOWN: OnKeyDown(s, wp); return 0;
        case WM_MOUSEWHEEL: OnWheel(s, GET_WHEEL_DELTA_WPARAM(wp)); return 0;
        case WM_COMMAND: OnCommand(s, LOWORD(wp), HIWORD(wp), (HWND)lp); return 0;
        case WM_NOTIFY: return OnNotify(s, (NMHDR*)lp);
        case WM_DRAWITEM: OnDrawItem((const DRAWITEMSTRUCT*)lp); return TRUE;
        case UM_PNL_KEEP_NAMES:
            KeepName(s, IDC_PNL_PROFILE_LIST, false);
            KeepName(s, IDC_PNL_MUNTIN_LIST, false);
            return 0;
        case UM_PNL_PUT_BACK: PutBack(s, (int)wp); return 0;
        case UM_PNL_APPLY_DPI: OnApplyDpi(s, (int)wp); return 0;
        case WM_NCDESTROY:
            KvDetachState(hwnd);
            delete s;
            return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

bool RegisterPanelClass(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    if (GetClassInfoExA(instance, kPanelClass, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kPanelClass;
    return RegisterClassExA(&wc) != 0;
}

HWND CreatePanel(HWND designer, HINSTANCE instance, const PanelCreate* values) {
    PanelState* s = new (std::nothrow) PanelState();
    if (!s) return nullptr;
    s->v = *values;
    HWND h = KvCreateWindowWithState(s, 0, kPanelClass, "OknoDowOknoDane", WS_CHILD | WS_VISIBLE | WS_VSCROLL,
                                     0, 0, 0, 0, designer, (HMENU)(INT_PTR)IDC_PANEL, instance);
    return h;
}
