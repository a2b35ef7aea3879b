// Small control helpers: the edit with its up-down, read-only switching, the
// default push button, fixed list-view columns and ANSI text drawn in a
// chosen code page.
#include <windows.h>
#include <commctrl.h>
#include <string.h>

#include "widgora/widgora.h"

namespace {

const char kHeaderPrevProp[] = "WidgoraHeaderPrev";

bool ClassIs(HWND hwnd, const char* name) {
    char cls[32] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    return lstrcmpiA(cls, name) == 0;
}

// Wide copy of `count` bytes of `text` (-1: through the terminator) in the
// library's heap, with `extra` spare characters; null on failure.
WCHAR* Widen(const char* text, int count, UINT codePage, int extra, int* wideLen) {
    if (!text) {
        text = "";
        count = -1;
    }
    int n = MultiByteToWideChar(codePage, MB_PRECOMPOSED, text, count, nullptr, 0);
    if (n <= 0 && count != 0) return nullptr;
    WCHAR* w = (WCHAR*)HeapAlloc(hHeapDll, HEAP_ZERO_MEMORY, sizeof(WCHAR) * (size_t)(n + extra + 1));
    if (!w) return nullptr;
    if (n > 0) MultiByteToWideChar(codePage, MB_PRECOMPOSED, text, count, w, n);
    *wideLen = count < 0 ? n - 1 : n;  // without the terminator
    return w;
}

}  // namespace

extern "C" {

// ---- Edit with up-down ----------------------------------------------------------

int TworzEdUd(strEdUd* eu, DWORD udStyle, int x, int y, int width, int height, HWND parent, int editId,
              int udId, HINSTANCE instance, int lower, int upper, int position) {
    if (!eu) return 0;
    eu->hEd = eu->hUd = nullptr;
    eu->szer = 0;
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_NUMBER | ES_RIGHT, x, y, width,
                                height, parent, (HMENU)(INT_PTR)editId, instance, nullptr);
    if (!edit) return 0;
    SendMessageA(edit, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
    HWND ud = CreateWindowExA(0, UPDOWN_CLASSA, nullptr, udStyle, 0, 0, 0, 0, parent, (HMENU)(INT_PTR)udId,
                              instance, nullptr);
    if (!ud) {
        DestroyWindow(edit);
        return 0;
    }
    SendMessageA(ud, UDM_SETBUDDY, (WPARAM)edit, 0);
    // The 32-bit forms: the old ones cut bounds and position to 16 bits.
    SendMessageA(ud, UDM_SETRANGE32, (WPARAM)lower, (LPARAM)upper);
    SendMessageA(ud, UDM_SETPOS32, 0, (LPARAM)position);
    IniEdUd(eu, edit, ud, width);
    return 1;
}

void IniEdUd(strEdUd* eu, HWND edit, HWND upDown, int width) {
    if (!eu) return;
    eu->hEd = edit;
    eu->hUd = upDown;
    eu->szer = width;
}

int PrzesunEdUdFlg(const strEdUd* eu, int x, int y, UINT swpFlags) {
    if (!eu) return 0;
    RECT ud = {};
    GetWindowRect(eu->hUd, &ud);
    BOOL a = SetWindowPos(eu->hEd, nullptr, x, y, 0, 0, swpFlags);
    BOOL b = SetWindowPos(eu->hUd, nullptr, x + eu->szer - (ud.right - ud.left), y, 0, 0, swpFlags);
    return a && b ? 1 : 0;
}

int PrzesunEdUd(const strEdUd* eu, int x, int y) {
    return PrzesunEdUdFlg(eu, x, y, SWP_NOSIZE | SWP_NOZORDER);
}

// ---- Switching and default buttons -------------------------------------------

void AktDeaktKntrl(HWND control, int enable) {
    // A read-only edit still lets the user select and copy its value, which
    // a disabled one would not.
    if (ClassIs(control, "Edit")) SendMessageA(control, EM_SETREADONLY, enable ? FALSE : TRUE, 0);
    else EnableWindow(control, enable ? TRUE : FALSE);
}

void PrzestawDomyslPb(HWND dialog, int idFrom, int idTo) {
    if (idFrom) {
        HWND from = GetDlgItem(dialog, idFrom);
        if (from) {
            DWORD style = (DWORD)GetWindowLongA(from, GWL_STYLE) & 0xFFFF;
            SendMessageA(from, BM_SETSTYLE, style & ~(DWORD)BS_DEFPUSHBUTTON, TRUE);
        }
    }
    HWND to = idTo ? GetDlgItem(dialog, idTo) : nullptr;
    if (to) {
        DWORD style = (DWORD)GetWindowLongA(to, GWL_STYLE) & 0xFFFF;
        SendMessageA(to, BM_SETSTYLE, style | BS_DEFPUSHBUTTON, TRUE);
    }
    // The dialog manager remembers the default button from the template and
    // presses that one on Enter whatever the styles say: tell it too.
    if (ClassIs(dialog, "#32770")) SendMessageA(dialog, DM_SETDEFID, (WPARAM)(to ? idTo : 0), 0);
}

void PrzestawDomyslFokus(HWND dialog, int idFrom, int idTo) {
    HWND to = GetDlgItem(dialog, idTo);
    if (to) SetFocus(to);
    PrzestawDomyslPb(dialog, idFrom, idTo);
}

// ---- List views ----------------------------------------------------------------

LRESULT CALLBACK PodklasaHdrBlokRozmKol(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC prev = (WNDPROC)GetPropA(hwnd, kHeaderPrevProp);
    switch (msg) {
        case WM_SETCURSOR: return TRUE;  // no sizing cursor over a divider
        case WM_MOUSEMOVE: return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            // Ignoring the moves is not enough: the header sizes the column
            // from where the button comes up, and a double click on a
            // divider fits the column to its contents. Clicks on the
            // columns themselves go through.
            HDHITTESTINFO hit = {};
            hit.pt.x = (short)LOWORD(lParam);
            hit.pt.y = (short)HIWORD(lParam);
            SendMessageA(hwnd, HDM_HITTEST, 0, (LPARAM)&hit);
            if (hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) return 0;
            break;
        }
        case WM_NCDESTROY:
            RemovePropA(hwnd, kHeaderPrevProp);
            if (prev) SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)prev);
            break;
    }
    if (!prev) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return CallWindowProcA(prev, hwnd, msg, wParam, lParam);
}

WNDPROC ZablokujRozmKolLst(HWND listView) {
    HWND header = (HWND)SendMessageA(listView, LVM_GETHEADER, 0, 0);
    if (!header) return nullptr;
    WNDPROC current = (WNDPROC)GetWindowLongPtrA(header, GWLP_WNDPROC);
    if (current == PodklasaHdrBlokRozmKol) return (WNDPROC)GetPropA(header, kHeaderPrevProp);
    SetPropA(header, kHeaderPrevProp, (HANDLE)current);
    SetWindowLongPtrA(header, GWLP_WNDPROC, (LONG_PTR)PodklasaHdrBlokRozmKol);
    return current;
}

// ---- ANSI text in a chosen code page --------------------------------------------

BOOL SetDlgItemTextAJakoW(HWND dialog, int item, const char* text, UINT codePage) {
    int len = 0;
    WCHAR* w = Widen(text, -1, codePage, 0, &len);
    if (!w) return FALSE;
    BOOL ok = SetDlgItemTextW(dialog, item, w);
    HeapFree(hHeapDll, 0, w);
    return ok;
}

int DrawTextAJakoW(HDC dc, const char* text, int count, RECT* rect, UINT format, UINT codePage) {
    if (count < -1) count = -1;
    int len = 0;
    // DT_MODIFYSTRING may add an ellipsis of up to four characters.
    WCHAR* w = Widen(text, count, codePage, 4, &len);
    if (!w) return 0;
    int h = DrawTextW(dc, w, len, rect, format);
    HeapFree(hHeapDll, 0, w);
    return h;
}

}  // extern "C"
