// The drop-down of suggestions: a popup owned by the edit's top-level window
// holding a standard list box. Neither takes the focus or the activation: a
// click in the list is answered by the list itself, so the edit keeps the
// caret and the dialog navigation goes on as before. The edit and its
// top-level window are subclassed while the popup lives, to see the keys
// and the moments the list must close.
#include "util/suggest_list_win.h"

#include <commctrl.h>

#include <new>

#include "util/window_win.h"

const char kKvSuggestListClass[] = "kvSuggestList";

namespace {

const int kRows = 8;  // rows shown before the list scrolls

struct SuggestList {
    HWND popup = nullptr;
    HWND box = nullptr;   // the list box filling the popup
    HWND edit = nullptr;  // the edit it serves
    HWND top = nullptr;   // the edit's top-level window, the popup's owner
    KvSuggestChosen chosen = nullptr;
    void* context = nullptr;
    bool keyTaken = false;  // the last key down was the list's: its character is dropped
};

UINT_PTR SubclassId(const SuggestList* s) { return (UINT_PTR)s; }

bool Shown(const SuggestList* s) { return IsWindowVisible(s->popup) != 0; }

void Hide(SuggestList* s) {
    if (Shown(s)) ShowWindow(s->popup, SW_HIDE);
}

void Choose(SuggestList* s, int entry) {
    Hide(s);
    if (entry >= 0 && s->chosen) s->chosen(s->context, entry);
}

void MoveSelection(SuggestList* s, int step) {
    const int count = (int)SendMessageA(s->box, LB_GETCOUNT, 0, 0);
    const int at = (int)SendMessageA(s->box, LB_GETCURSEL, 0, 0);
    int next = at < 0 ? (step > 0 ? 0 : count - 1) : at + step;
    if (next < 0) next = 0;
    if (next >= count) next = count - 1;
    SendMessageA(s->box, LB_SETCURSEL, (WPARAM)next, 0);
}

bool IsListKey(WPARAM key) { return key == VK_UP || key == VK_DOWN || key == VK_RETURN || key == VK_ESCAPE; }

// The keys the list answers while it shows; true when it took the key.
bool OnEditKey(SuggestList* s, WPARAM key) {
    if (!Shown(s) || !IsListKey(key)) return false;
    s->keyTaken = true;
    switch (key) {
        case VK_DOWN: MoveSelection(s, 1); break;
        case VK_UP: MoveSelection(s, -1); break;
        case VK_RETURN: Choose(s, (int)SendMessageA(s->box, LB_GETCURSEL, 0, 0)); break;
        default: Hide(s); break;
    }
    return true;
}

// The dialog navigation keeps Enter, Escape and the arrows for itself unless
// the focused control asks for them: the edit asks while the list shows.
LRESULT OnEditDlgCode(SuggestList* s, HWND edit, WPARAM wp, LPARAM lp) {
    LRESULT code = DefSubclassProc(edit, WM_GETDLGCODE, wp, lp);
    const MSG* m = (const MSG*)lp;
    if (m && m->message == WM_KEYDOWN && IsListKey(m->wParam) && Shown(s)) code |= DLGC_WANTMESSAGE;
    return code;
}

// The character of a key the list took (Enter, Escape) goes no further.
bool DropTakenChar(SuggestList* s, WPARAM ch) {
    if (!s->keyTaken) return false;
    s->keyTaken = false;
    return ch == '\r' || ch == 27;
}

LRESULT CALLBACK EditSubclass(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    SuggestList* s = (SuggestList*)ref;
    switch (msg) {
        case WM_GETDLGCODE: return OnEditDlgCode(s, h, wp, lp);
        case WM_KEYDOWN:
            if (OnEditKey(s, wp)) return 0;
            s->keyTaken = false;
            break;
        case WM_CHAR:
            if (DropTakenChar(s, wp)) return 0;
            break;
        case WM_KILLFOCUS: Hide(s); break;
    }
    return DefSubclassProc(h, msg, wp, lp);
}

LRESULT CALLBACK TopSubclass(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    SuggestList* s = (SuggestList*)ref;
    switch (msg) {
        case WM_MOVE:
        case WM_SIZE:
        case WM_ENTERSIZEMOVE: Hide(s); break;
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE) Hide(s);
            break;
    }
    return DefSubclassProc(h, msg, wp, lp);
}

// The entry under a point of the list box's client area, or -1.
int EntryAt(SuggestList* s, LPARAM lp) {
    const LRESULT r = SendMessageA(s->box, LB_ITEMFROMPOINT, 0, lp);
    return HIWORD(r) ? -1 : (int)LOWORD(r);
}

// The list box's own mouse handling would take the focus: a click chooses,
// a move shows what a click would choose.
LRESULT CALLBACK BoxSubclass(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    SuggestList* s = (SuggestList*)ref;
    switch (msg) {
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: Choose(s, EntryAt(s, lp)); return 0;
        case WM_LBUTTONUP: return 0;
        case WM_MOUSEMOVE: {
            const int entry = EntryAt(s, lp);
            if (entry >= 0) SendMessageA(h, LB_SETCURSEL, (WPARAM)entry, 0);
            return 0;
        }
    }
    return DefSubclassProc(h, msg, wp, lp);
}

bool OnCreate(SuggestList* s, HWND popup) {
    s->popup = popup;
    s->box = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 0,
                             0, popup, nullptr, GetModuleHandleA(nullptr), nullptr);
    return s->box && SetWindowSubclass(s->box, BoxSubclass, SubclassId(s), (DWORD_PTR)s) &&
           SetWindowSubclass(s->edit, EditSubclass, SubclassId(s), (DWORD_PTR)s) &&
           SetWindowSubclass(s->top, TopSubclass, SubclassId(s), (DWORD_PTR)s);
}

void OnNcDestroy(SuggestList* s, HWND popup) {
    // The edit and its window may outlive the popup (or be gone already).
    RemoveWindowSubclass(s->edit, EditSubclass, SubclassId(s));
    RemoveWindowSubclass(s->top, TopSubclass, SubclassId(s));
    KvDetachState(popup);
    delete s;
}

LRESULT CALLBACK SuggestListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    SuggestList* s = KvWindowState<SuggestList>(hwnd, msg, lp);
    if (!s) return DefWindowProcA(hwnd, msg, wp, lp);
    switch (msg) {
        case WM_CREATE: return OnCreate(s, hwnd) ? 0 : -1;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_SIZE: MoveWindow(s->box, 0, 0, LOWORD(lp), HIWORD(lp), TRUE); return 0;
        case WM_NCDESTROY: OnNcDestroy(s, hwnd); return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

bool RegisterOnce() {
    WNDCLASSEXA wc = {};
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kKvSuggestListClass, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = SuggestListProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = kKvSuggestListClass;
    return RegisterClassExA(&wc) != 0;
}

SuggestList* StateOf(HWND list) { return list ? (SuggestList*)GetWindowLongPtrA(list, GWLP_USERDATA) : nullptr; }

// Under the edit, or above it when the edit's monitor has no room below.
void Place(SuggestList* s, int rows) {
    const int rowHeight = (int)SendMessageA(s->box, LB_GETITEMHEIGHT, 0, 0);
    RECT edit;
    GetWindowRect(s->edit, &edit);
    const DWORD style = (DWORD)GetWindowLongA(s->popup, GWL_STYLE);
    const DWORD exStyle = (DWORD)GetWindowLongA(s->popup, GWL_EXSTYLE);
    RECT frame = {0, 0, edit.right - edit.left, rows * rowHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = edit.right - edit.left, height = frame.bottom - frame.top;
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    GetMonitorInfoA(MonitorFromRect(&edit, MONITOR_DEFAULTTONEAREST), &mi);
    int y = edit.bottom;
    if (y + height > mi.rcWork.bottom && edit.top - height >= mi.rcWork.top) y = edit.top - height;
    SetWindowPos(s->popup, HWND_TOP, edit.left, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

}  // namespace

HWND KvCreateSuggestList(HWND edit, KvSuggestChosen chosen, void* context) {
    HWND top = edit ? GetAncestor(edit, GA_ROOT) : nullptr;
    if (!top || !RegisterOnce()) return nullptr;
    SuggestList* s = new (std::nothrow) SuggestList;
    if (s) {
        s->edit = edit;
        s->top = top;
        s->chosen = chosen;
        s->context = context;
    }
    return KvCreateWindowWithState(s, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kKvSuggestListClass, "",
                                   WS_POPUP | WS_BORDER, 0, 0, 0, 0, top, nullptr, GetModuleHandleA(nullptr));
}

void KvShowSuggestions(HWND list, const std::vector<const char*>& texts) {
    SuggestList* s = StateOf(list);
    if (!s) return;
    if (texts.empty() || !IsWindow(s->edit)) {
        Hide(s);
        return;
    }
    // The edit's font, which follows the window's display scale.
    SendMessageA(s->box, WM_SETFONT, (WPARAM)SendMessageA(s->edit, WM_GETFONT, 0, 0), FALSE);
    SendMessageA(s->box, WM_SETREDRAW, FALSE, 0);
    SendMessageA(s->box, LB_RESETCONTENT, 0, 0);
    for (const char* text : texts) SendMessageA(s->box, LB_ADDSTRING, 0, (LPARAM)text);
    SendMessageA(s->box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(s->box, nullptr, TRUE);
    Place(s, (int)texts.size() < kRows ? (int)texts.size() : kRows);
}

void KvHideSuggestions(HWND list) {
    if (SuggestList* s = StateOf(list)) Hide(s);
}

bool KvSuggestionsShown(HWND list) {
    SuggestList* s = StateOf(list);
    return s && Shown(s);
}
