// The progress window of a long fill.
#include "util/progress_win.h"

#include <commctrl.h>

#include "util/dpi_win.h"

namespace {

const char kProgressClass[] = "kvProgress";

bool RegisterProgressClass(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(instance, kProgressClass, &wc)) return true;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_WAIT);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kProgressClass;
    return RegisterClassExA(&wc) != 0;
}

// Paints what is waiting to be painted on this thread, and nothing else.
void PaintPending() {
    MSG m;
    for (int i = 0; i < 64 && PeekMessageA(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); i++) DispatchMessageA(&m);
}

}  // namespace

DWORD KvFillProgress::delayMs = 500;

KvFillProgress::KvFillProgress(HWND owner, const char* text)
    : owner_(owner), text_(text), start_(GetTickCount()) {}

KvFillProgress::~KvFillProgress() {
    if (window_) DestroyWindow(window_);
}

void KvFillProgress::Step(long long done, long long total) {
    if (!Due()) return;
    const DWORD now = GetTickCount();
    if (!window_) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        if (!RegisterProgressClass(instance)) return;
        const int dpi = KvDpiForWindow(owner_);
        const int w = KvScale(320, dpi), h = KvScale(96, dpi);
        RECT around;
        if (!owner_ || !IsWindowVisible(owner_) || !GetWindowRect(owner_, &around))
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &around, 0);
        window_ = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kProgressClass, "Quarvel",
                                  WS_POPUP | WS_CAPTION | WS_VISIBLE, (around.left + around.right - w) / 2,
                                  (around.top + around.bottom - h) / 2, w, h, owner_, nullptr, instance, nullptr);
        if (!window_) return;
        font_.reset(KvCreateGuiFont(dpi));
        const HFONT font = KvGuiFont(font_.get());
        HWND label = CreateWindowExA(0, "STATIC", text_, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                     KvScale(12, dpi), KvScale(10, dpi), w - KvScale(24, dpi), KvScale(16, dpi),
                                     window_, nullptr, instance, nullptr);
        SendMessageA(label, WM_SETFONT, (WPARAM)font, FALSE);
        bar_ = CreateWindowExA(0, PROGRESS_CLASSA, nullptr, WS_CHILD | WS_VISIBLE | PBS_SMOOTH, KvScale(12, dpi),
                               KvScale(32, dpi), w - KvScale(30, dpi), KvScale(18, dpi), window_, nullptr,
                               instance, nullptr);
        SendMessageA(bar_, PBM_SETRANGE32, 0, 1000);
    }
    // A few repaints a second are enough to see it move.
    if (lastPaint_ && now - lastPaint_ < 100) return;
    lastPaint_ = now;
    const int permille = total > 0 ? (int)(done * 1000 / total) : 0;
    SendMessageA(bar_, PBM_SETPOS, permille < 0 ? 0 : permille > 1000 ? 1000 : permille, 0);
    UpdateWindow(window_);
    PaintPending();
}
