// Numeric edits: standard edits that take a non-negative number with at most
// N decimals in the user's locale, and tidy it when the focus leaves.
#include <string.h>

#include "widgora/widgora.h"

namespace {

// The replaced procedure is kept per control, not once for the library: an
// edit that someone else had subclassed before us must get its own
// procedure back, not the first one we happened to see.
const char kPrevProp[] = "WidgoraNumEditPrev";

// Longest text the checks look at; a number is far shorter.
const int kMaxText = 255;

WNDPROC Previous(HWND hwnd) { return (WNDPROC)GetPropA(hwnd, kPrevProp); }

LRESULT Forward(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC prev = Previous(hwnd);
    if (!prev) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return CallWindowProcA(prev, hwnd, msg, wParam, lParam);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether typing `c` at the caret keeps the text a number with at most n
// decimals. The selection has already been removed.
bool MayInsert(HWND hwnd, char c, char sep, int n) {
    char text[kMaxText + 2];
    int len = GetWindowTextA(hwnd, text, kMaxText + 1);
    if (len < 0) len = 0;
    text[len] = 0;
    // A text at the length we read is at least that long: taking one more
    // character could push it past what we can check.
    if (len >= kMaxText) return false;
    if (c == sep && strchr(text, sep)) return false;
    DWORD start = 0;
    SendMessageA(hwnd, EM_GETSEL, (WPARAM)&start, 0);
    int caret = (int)start > len ? len : (int)start;
    char copy[kMaxText + 2];
    memcpy(copy, text, (size_t)caret);
    copy[caret] = c;
    memcpy(copy + caret + 1, text + caret, (size_t)(len - caret) + 1);
    if (copy[0] == sep) return false;
    const char* last = strrchr(copy, sep);
    if (last && (int)strlen(last + 1) >= n + 1) return false;
    return true;
}

LRESULT OnChar(HWND hwnd, WPARAM wParam, LPARAM lParam, int n) {
    const char sep = DajSepDziesLocale();
    const unsigned code = (unsigned)wParam;
    const char c = (char)(unsigned char)code;
    const bool digitOrSep = code < 256 && (IsDigit(c) || c == sep);
    if (!digitOrSep) {
        // Visible characters and blanks have no place in a number; control
        // characters (backspace, Enter, Ctrl+C...) keep their meaning.
        bool control = code < 0x20 || code == 0x7F;
        if (code == '\t' || !control) return 0;
        return Forward(hwnd, WM_CHAR, wParam, lParam);
    }
    // Typing replaces the selection even when the character is then
    // refused: a second separator typed over a selection clears it.
    DWORD selStart = 0, selEnd = 0;
    SendMessageA(hwnd, EM_GETSEL, (WPARAM)&selStart, (LPARAM)&selEnd);
    if (selStart != selEnd) SendMessageA(hwnd, EM_REPLACESEL, FALSE, (LPARAM) "");
    if (!MayInsert(hwnd, c, sep, n)) return 0;
    return Forward(hwnd, WM_CHAR, wParam, lParam);
}

// Tidies the text when the focus leaves: N decimals (or an allowed count),
// no leading zeros before another digit.
void Tidy(HWND hwnd, int n) {
    const char sep = DajSepDziesLocale();
    // Room for the text we check plus the separator and N zeros appended.
    char text[kMaxText + 1 + 8];
    int len = GetWindowTextA(hwnd, text, kMaxText + 1);
    if (len <= 0 || len >= kMaxText) return;  // empty stays empty; over-long is not ours
    text[len] = 0;
    char before[sizeof text];
    memcpy(before, text, (size_t)len + 1);
    DopasujCzDzies(text, n, (const char*)GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    char* p = text;
    while (p[0] == '0' && p[1] != 0 && p[1] != sep) p++;
    if (p != text) memmove(text, p, strlen(p) + 1);
    if (strcmp(text, before) != 0) SetWindowTextA(hwnd, text);
}

LRESULT NumEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, int n) {
    switch (msg) {
        case WM_CHAR: return OnChar(hwnd, wParam, lParam, n);
        case WM_PASTE: return 0;
        case WM_KILLFOCUS: Tidy(hwnd, n); break;
        case WM_NCDESTROY: {
            WNDPROC prev = Previous(hwnd);
            RemovePropA(hwnd, kPrevProp);
            if (prev) {
                SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)prev);
                return CallWindowProcA(prev, hwnd, msg, wParam, lParam);
            }
            return DefWindowProcA(hwnd, msg, wParam, lParam);
        }
    }
    return Forward(hwnd, msg, wParam, lParam);
}

WNDPROC Install(HWND edit, const char* allowed, WNDPROC proc) {
    if (!IsWindow(edit)) return nullptr;
    SetWindowLongPtrA(edit, GWLP_USERDATA, (LONG_PTR)allowed);
    // Installing twice must not make one of our procedures the predecessor
    // of another. The property tells, not the procedure's address: the
    // system may hand that back as a handle of its own.
    if (Previous(edit)) {
        SetWindowLongPtrA(edit, GWLP_WNDPROC, (LONG_PTR)proc);
        return Previous(edit);
    }
    WNDPROC current = (WNDPROC)GetWindowLongPtrA(edit, GWLP_WNDPROC);
    SetPropA(edit, kPrevProp, (HANDLE)current);
    SetWindowLongPtrA(edit, GWLP_WNDPROC, (LONG_PTR)proc);
    return current;
}

}  // namespace

extern "C" {

LRESULT CALLBACK PdklEdL1mPoPrzec(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return NumEditProc(hwnd, msg, wParam, lParam, 1);
}
LRESULT CALLBACK PdklEdL2mPoPrzec(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return NumEditProc(hwnd, msg, wParam, lParam, 2);
}
LRESULT CALLBACK PdklEdL3mPoPrzec(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return NumEditProc(hwnd, msg, wParam, lParam, 3);
}
LRESULT CALLBACK PdklEdL4mPoPrzec(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return NumEditProc(hwnd, msg, wParam, lParam, 4);
}

WNDPROC ZalozPdklEdL1mPoPrzec(HWND edit, const char* allowed) {
    return Install(edit, allowed, PdklEdL1mPoPrzec);
}
WNDPROC ZalozPdklEdL2mPoPrzec(HWND edit, const char* allowed) {
    return Install(edit, allowed, PdklEdL2mPoPrzec);
}
WNDPROC ZalozPdklEdL3mPoPrzec(HWND edit, const char* allowed) {
    return Install(edit, allowed, PdklEdL3mPoPrzec);
}
WNDPROC ZalozPdklEdL4mPoPrzec(HWND edit, const char* allowed) {
    return Install(edit, allowed, PdklEdL4mPoPrzec);
}

}  // extern "C"
