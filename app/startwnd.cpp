// The start window: the program's picture, name and version for a few
// seconds while the program starts.
#include <string.h>

#include "app.h"
#include "connection.h"
#include "kvutil.h"
#include "msgbox.h"
#include "resource.h"

namespace {

const char kStartClass[] = "oknoStart";
const int kStartW = 360;  // device pixels
const int kStartH = 270;
const UINT_PTR kTimerClose = 1;

struct StartWindow {
    HBITMAP picture;
    HFONT titleFont;    // "Tahoma" -28 bold
    HFONT boldFont;     // "Arial" -12 bold
    HFONT smallFont;    // "Arial" -11
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

void OnPaint(HWND hwnd, StartWindow* sw) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (sw->picture) {
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, sw->picture);
        BitBlt(dc, 0, 0, kStartW, kStartH, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    SetTextColor(dc, RGB(89, 89, 89));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, sw->titleFont);
    RECT r = {0, 85, kStartW - 1, kStartH - 1};
    DrawTextA(dc, "Quarvel", -1, &r, DT_CENTER | DT_TOP | DT_SINGLELINE);
    SelectObject(dc, sw->boldFont);
    r.top = 125;
    DrawTextA(dc, "Program for PVC windows design and valuation", -1, &r,
              DT_CENTER | DT_TOP | DT_SINGLELINE);
    SelectObject(dc, sw->smallFont);
    char version[96] = "  ";
    strncat(version, DajWersje(kVersionTag), sizeof version - 3);
    r.top = 254;
    DrawTextA(dc, version, -1, &r, DT_LEFT | DT_TOP | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK StartWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    StartWindow* sw = (StartWindow*)GetWindowLongPtrA(hwnd, GWLP_USERDATA);
    switch (message) {
        case WM_CREATE: {
            sw = new StartWindow();
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, (LONG_PTR)sw);
            HINSTANCE inst = ((CREATESTRUCTA*)lParam)->hInstance;
            sw->picture = (HBITMAP)LoadImageA(inst, MAKEINTRESOURCEA(IDB_START), IMAGE_BITMAP, 0, 0,
                                              LR_DEFAULTCOLOR);
            sw->titleFont = MakeFont("Tahoma", -28, FW_BOLD);
            sw->boldFont = MakeFont("Arial", -12, FW_BOLD);
            sw->smallFont = MakeFont("Arial", -11, FW_NORMAL);
            SetTimer(hwnd, kTimerClose, g_app.startWindowMs, nullptr);
            return 0;
        }
        case WM_PAINT: OnPaint(hwnd, sw); return 0;
        case WM_TIMER:
            if (wParam == kTimerClose) {
                KillTimer(hwnd, kTimerClose);
                if (sw->picture) DeleteObject(sw->picture);
                sw->picture = nullptr;
                DestroyWindow(hwnd);
            }
            return 0;
        case WM_DESTROY:
            if (sw) {
                if (sw->picture) DeleteObject(sw->picture);
                DeleteObject(sw->titleFont);
                DeleteObject(sw->boldFont);
                DeleteObject(sw->smallFont);
                delete sw;
                SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            }
            PostQuitMessage(0);
            return 0;
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
    HWND hwnd = CreateWindowExA(0, kStartClass, kStartClass, WS_POPUP | WS_VISIBLE, x, y, kStartW,
                                kStartH, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return;
    UpdateWindow(hwnd);
    MSG msg;
    for (;;) {
        BOOL r = GetMessageA(&msg, nullptr, 0, 0);
        if (r == 0) break;
        if (r == -1) {
            KvShowError(nullptr, DajKomunBledu(GetLastError(), 1));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
