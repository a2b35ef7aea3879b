// The display scale.
#include "util/dpi_win.h"

#include "util/scoped_win.h"

namespace {

typedef UINT(WINAPI* GetDpiForWindowFn)(HWND);

// Looked up once: older systems have no GetDpiForWindow.
GetDpiForWindowFn DpiForWindowFunction() {
    static GetDpiForWindowFn fn = [] {
        HMODULE user32 = GetModuleHandleA("user32.dll");
        return user32 ? (GetDpiForWindowFn)(void*)GetProcAddress(user32, "GetDpiForWindow") : nullptr;
    }();
    return fn;
}

KvWindowDpiSource g_dpiSource;

typedef int(WINAPI* GetSystemMetricsForDpiFn)(int, UINT);

GetSystemMetricsForDpiFn MetricsForDpiFunction() {
    static GetSystemMetricsForDpiFn fn = [] {
        HMODULE user32 = GetModuleHandleA("user32.dll");
        return user32 ? (GetSystemMetricsForDpiFn)(void*)GetProcAddress(user32, "GetSystemMetricsForDpi")
                      : nullptr;
    }();
    return fn;
}

// Replaces the icon the window has at `which` with `icon`, which `held`
// then owns; the one it held before is destroyed.
void GiveIcon(HWND hwnd, WPARAM which, HICON icon, HICON* held) {
    if (!icon) return;
    SendMessageA(hwnd, WM_SETICON, which, (LPARAM)icon);
    if (*held) DestroyIcon(*held);
    *held = icon;
}

}  // namespace

void KvSetWindowDpiSource(KvWindowDpiSource source) { g_dpiSource = source; }

int KvSystemDpi() {
    ScopedWindowDC screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kKvBaseDpi;
    return dpi > 0 ? dpi : kKvBaseDpi;
}

int KvDpiForWindow(HWND hwnd) {
    if (hwnd && g_dpiSource) {
        const int dpi = g_dpiSource(hwnd);
        if (dpi > 0) return dpi;
    }
    if (hwnd) {
        if (GetDpiForWindowFn fn = DpiForWindowFunction()) {
            const UINT dpi = fn(hwnd);
            if (dpi > 0) return (int)dpi;
        }
    }
    return KvSystemDpi();
}

HFONT KvCreateGuiFont(int dpi) {
    const int system = KvSystemDpi();
    if (dpi == system) return nullptr;
    LOGFONTA lf = {};
    if (!GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf)) return nullptr;
    lf.lfHeight = MulDiv(lf.lfHeight, dpi, system);
    return CreateFontIndirectA(&lf);
}

void KvTakeSuggestedRect(HWND hwnd, LPARAM lParam) {
    const RECT* r = (const RECT*)lParam;
    if (!r) return;
    SetWindowPos(hwnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void KvSetMinimumTrackSize(MINMAXINFO* info, int width96, int height96, int dpi) {
    info->ptMinTrackSize.x = KvScale(width96, dpi);
    info->ptMinTrackSize.y = KvScale(height96, dpi);
}

int KvSystemMetricForDpi(int index, int dpi) {
    if (GetSystemMetricsForDpiFn fn = MetricsForDpiFunction()) return fn(index, (UINT)dpi);
    return MulDiv(GetSystemMetrics(index), dpi, KvSystemDpi());
}

KvWindowIcons::~KvWindowIcons() {
    if (small_) DestroyIcon(small_);
    if (big_) DestroyIcon(big_);
}

void KvWindowIcons::Apply(HWND hwnd, HINSTANCE instance, int id, int dpi) {
    const int smallSize = KvSystemMetricForDpi(SM_CXSMICON, dpi);
    const int bigSize = KvSystemMetricForDpi(SM_CXICON, dpi);
    GiveIcon(hwnd, ICON_SMALL,
             (HICON)LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, smallSize, smallSize, 0), &small_);
    GiveIcon(hwnd, ICON_BIG, (HICON)LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, bigSize, bigSize, 0),
             &big_);
}
