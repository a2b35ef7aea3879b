// The start window: the program's picture, name and version for a few
// seconds while the program starts.
#include <string.h>

#include "app/app.h"
#include "db/connection.h"
#include "resources/resource.h"
#include "util/kvutil.h"
#include "util/modal_loop_win.h"
#include "util/scoped_win.h"
#include "util/window_win.h"

namespace {

const char kStartClass[] = "oknoStart";
const int kStartW = 360;  // device pixels
const int kStartH = 270;
const UINT_PTR kTimerClose = 1;

// The start window's state, on the stack of RunStartWindow, which runs the
// window's message loop until the window is gone.
struct StartWindow {
    ScopedBitmap picture;
    ScopedFont titleFont;  // "Tahoma" -28 bold
    ScopedFont boldFont;   // "Arial" -12 bold
    ScopedFont smallFont;  // "Arial" -11
};

HFONT MakeFont(const char* face, int height, int weight) {
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    strcpy(lf.lfFaceName, face);
    return CreateFontIndirectA(&lf);
}

// The picture, the program's name, what it is for and its version.
void PaintStart(HDC dc, const StartWindow& sw) {
    if (sw.picture) {
        ScopedCompatibleDC mem(dc);
        ScopedSelect bitmap(mem, sw.picture);
        BitBlt(dc, 0, 0, kStartW, kStartH, mem, 0, 0, SRCCOPY);
    }
    SetTextColor(dc, RGB(89, 89, 89));
    SetBkMode(dc, TRANSPARENT);
    RECT r = {0, 85, kStartW - 1, kStartH - 1};
    {
        ScopedSelect font(dc, sw.titleFont);
        DrawTextA(dc, "Quarvel", -1, &r, DT_CENTER | DT_TOP | DT_SINGLELINE);
    }
    {
        ScopedSelect font(dc, sw.boldFont);
        r.top = 125;
        DrawTextA(dc, "Program for PVC windows design and valuation", -1, &r,
                  DT_CENTER | DT_TOP | DT_SINGLELINE);
    }
    ScopedSelect font(dc, sw.smallFont);
    char version[96] = "  ";
    strncat(version, DajWersje(kVersionTag), sizeof version - 3);
    r.top = 254;
    DrawTextA(dc, version, -1, &r, DT_LEFT | DT_TOP | DT_SINGLELINE);
}

void OnCreate(StartWindow* sw, HWND hwnd, const CREATESTRUCTA* cs) {
    sw->picture.reset(
        (HBITMAP)LoadImageA(cs->hInstance, MAKEINTRESOURCEA(IDB_START), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    sw->titleFont.reset(MakeFont("Tahoma", -28, FW_BOLD));
    sw->boldFont.reset(MakeFont("Arial", -12, FW_BOLD));
    sw->smallFont.reset(MakeFont("Arial", -11, FW_NORMAL));
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
    int x = (GetSystemMetrics(SM_CXSCREEN) - kStartW) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - kStartH) / 2;
    StartWindow sw;
    HWND hwnd = CreateWindowExA(0, kStartClass, kStartClass, WS_POPUP | WS_VISIBLE, x, y, kStartW, kStartH,
                                nullptr, nullptr, instance, &sw);
    if (!hwnd) return;
    UpdateWindow(hwnd);
    KvRunModalLoop(hwnd, nullptr, nullptr);
}
