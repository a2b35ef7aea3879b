#include "tests/win/widgora_testutil.h"

#include <string.h>

#include "util/msgbox_win.h"
#include "widgora/widgora.h"

static int Forward(HWND owner, const char* text, const char* caption, UINT type, void*) {
    return KvMessageBox(owner, text, caption, type);
}

void RouteLibraryBoxes() { UstawHakKomunikatow(Forward, nullptr); }

ScopedDecimal::ScopedDecimal(const char* sep) {
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, previous_, sizeof previous_);
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, sep);
}

ScopedDecimal::~ScopedDecimal() {
    if (previous_[0]) SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, previous_);
}

std::vector<Recorded> g_parentLog;

static LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND) g_parentLog.push_back({msg, wParam, lParam, 0});
    if (msg == WM_NOTIFY) g_parentLog.push_back({msg, wParam, lParam, ((NMHDR*)lParam)->code});
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND CreateParentWindow(int width, int height) {
    static bool registered;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = "WidgoraTestParent";
        registered = RegisterClassA(&wc) != 0;
    }
    g_parentLog.clear();
    HWND w = CreateWindowExA(0, "WidgoraTestParent", "widgora test", WS_OVERLAPPEDWINDOW, 20, 20, width,
                             height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
    SetForegroundWindow(w);
    return w;
}

std::string WindowText(HWND hwnd) {
    char buf[512] = "";
    GetWindowTextA(hwnd, buf, sizeof buf);
    return buf;
}

bool SetClipboardText(const char* text) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    size_t n = strlen(text) + 1;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, n);
    memcpy(GlobalLock(mem), text, n);
    GlobalUnlock(mem);
    bool ok = SetClipboardData(CF_TEXT, mem) != nullptr;
    CloseClipboard();
    return ok;
}

std::string ClipboardText() {
    std::string s;
    if (!OpenClipboard(nullptr)) return s;
    HANDLE h = GetClipboardData(CF_TEXT);
    if (h) {
        const char* p = (const char*)GlobalLock(h);
        if (p) s = p;
        GlobalUnlock(h);
    }
    CloseClipboard();
    return s;
}
