// The start window: the program's picture, name and version for a few
// seconds while the program starts.
#include <string.h>

#include <vector>

#include "app/app.h"
#include "db/connection.h"
#include "resources/resource.h"
#include "util/dpi_win.h"
#include "util/kvutil.h"
#include "util/modal_loop_win.h"
#include "util/resample.h"
#include "util/scoped_win.h"
#include "util/window_win.h"

namespace {

const char kStartClass[] = "oknoStart";
const int kStartW = 360;  // pixels at 96 dpi, the picture's size
const int kStartH = 270;
const UINT_PTR kTimerClose = 1;

// The start window's state, on the stack of RunStartWindow, which runs the
// window's message loop until the window is gone.
struct StartWindow {
    int dpi = kKvBaseDpi;
    ScopedBitmap picture;  // at the window's size
    ScopedFont titleFont;  // "Tahoma" -28 bold
    ScopedFont boldFont;   // "Arial" -12 bold
    ScopedFont smallFont;  // "Arial" -11
};

int Px(const StartWindow& sw, int px) { return KvScale(px, sw.dpi); }

HFONT MakeFont(const char* face, int height, int weight) {
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    strcpy(lf.lfFaceName, face);
    return CreateFontIndirectA(&lf);
}

// The picture drawn for 96 dpi resized smoothly to w x h; null when it
// cannot be (the caller then keeps the picture as it is).
HBITMAP Resized(HBITMAP picture, int w, int h) {
    BITMAP bm = {};
    if (!GetObjectA(picture, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return nullptr;
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> from((size_t)bm.bmWidth * bm.bmHeight);
    ScopedWindowDC screen(nullptr);
    if (GetDIBits(screen, picture, 0, (UINT)bm.bmHeight, from.data(), &bi, DIB_RGB_COLORS) != bm.bmHeight)
        return nullptr;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    void* bits = nullptr;
    ScopedBitmap to(CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!to || !KvResampleBilinear(from.data(), bm.bmWidth, bm.bmHeight, (uint32_t*)bits, w, h)) return nullptr;
    return to.release();
}

// The picture, the program's name, what it is for and its version.
void PaintStart(HDC dc, const StartWindow& sw) {
    const int w = Px(sw, kStartW), h = Px(sw, kStartH);
    if (sw.picture) {
        ScopedCompatibleDC mem(dc);
        ScopedSelect bitmap(mem, sw.picture);
        BitBlt(dc, 0, 0, w, h, mem, 0, 0, SRCCOPY);
    }
    SetTextColor(dc, RGB(89, 89, 89));
    SetBkMode(dc, TRANSPARENT);
    RECT r = {0, Px(sw, 85), w - 1, h - 1};
    {
        ScopedSelect font(dc, sw.titleFont);
        DrawTextA(dc, "Quarvel", -1, &r, DT_CENTER | DT_TOP | DT_SINGLELINE);
    }
    {
        ScopedSelect font(dc, sw.boldFont);
        r.top = Px(sw, 125);
        DrawTextA(dc, "Program for PVC windows design and valuation", -1, &r,
                  DT_CENTER | DT_TOP | DT_SINGLELINE);
    }
    ScopedSelect font(dc, sw.smallFont);
    char version[96] = "  ";
    strncat(version, DajWersje(kVersionTag), sizeof version - 3);
    r.top = Px(sw, 254);
    DrawTextA(dc, version, -1, &r, DT_LEFT | DT_TOP | DT_SINGLELINE);
}

void OnCreate(StartWindow* sw, HWND hwnd, const CREATESTRUCTA* cs) {
    sw->picture.reset(
        (HBITMAP)LoadImageA(cs->hInstance, MAKEINTRESOURCEA(IDB_START), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (sw->picture && sw->dpi != kKvBaseDpi) {
        if (HBITMAP resized = Resized(sw->picture, Px(*sw, kStartW), Px(*sw, kStartH)))
            sw->picture.reset(resized);
    }
    sw->titleFont.reset(MakeFont("Tahoma", -Px(*sw, 28), FW_BOLD));
    sw->boldFont.reset(MakeFont("Arial", -Px(*sw, 12), FW_BOLD));
    sw->smallFont.reset(MakeFont("Arial", -Px(*sw, 11), FW_NORMAL));
    SetTimer(hwnd, kTimerClose, g_app.startWindowMs, nullptr);
}

void OnPaint(StartWindow* sw, HWND hwnd) {
    ScopedPaint paint(hwnd);
    PaintStart(paint, *sw);
}

void OnTimer(HWND hwnd, UINT_PTR id) {
    if (id != kTimerClose) return;
    KillTimer(hwnd, kTimerClose);
    DestroyWindow(hwnd);
}

// The objects go with the record when RunStartWindow returns.
void OnNcDestroy(HWND hwnd) { KvDetachState(hwnd); }

LRESULT CALLBACK StartWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    StartWindow* sw = KvWindowState<StartWindow>(hwnd, message, lParam);
    if (!sw) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_CREATE: OnCreate(sw, hwnd, (const CREATESTRUCTA*)lParam); return 0;
        case WM_PAINT: OnPaint(sw, hwnd); return 0;
        case WM_TIMER: OnTimer(hwnd, wParam); return 0;
        case WM_NCDESTROY: OnNcDestroy(hwnd); return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool RegisterStartClass(HINSTANCE instance) {
    static bool registered;
    if (registered) return true;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = StartWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = kStartClass;
    registered = RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return registered;
}

}  // namespace

void RunStartWindow(HINSTANCE instance) {
    if (!RegisterStartClass(instance)) return;
    StartWindow sw;
    sw.dpi = KvSystemDpi();  // the primary monitor's, where the window shows
    const int w = Px(sw, kStartW), h = Px(sw, kStartH);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    HWND hwnd = CreateWindowExA(0, kStartClass, kStartClass, WS_POPUP | WS_VISIBLE, x, y, w, h, nullptr,
                                nullptr, instance, &sw);
    if (!hwnd) return;
    UpdateWindow(hwnd);
    KvRunModalLoop(hwnd, nullptr, nullptr);
}
