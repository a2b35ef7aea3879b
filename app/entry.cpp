// The program entry: one instance per desktop, the start window, then the
// main window and its message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/app.h"
#include "resources/resource.h"
#include "util/kvutil.h"
#include "util/msgbox_win.h"

AppState g_app = {nullptr, nullptr, {}, {}, {}, 0, 4000};

// A quit message left by a failed start must not end a later message loop of
// the same thread.
static void DropQuitMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
}

int KelvaroMain(HINSTANCE instance) {
    HWND running = FindWindowA(kMainClass, kMainTitle);
    if (running) {
        ShowWindow(running, IsIconic(running) ? SW_RESTORE : SW_SHOW);
        SetForegroundWindow(running);
        return 0;
    }
    g_app.instance = instance;

    RunStartWindow(instance);

    INITCOMMONCONTROLSEX icc = {sizeof icc, 0x1FF};
    InitCommonControlsEx(&icc);
    if (!RegisterMainClass(instance)) {
        KvShowSystemText(nullptr, GetLastError());
        return 0;
    }
    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDM_MAIN));
    HWND hwnd = CreateMainWindow(instance, menu, 0, 0, 0, 0);
    if (!hwnd) {
        // The creation step has shown why; its destruction posted the quit.
        DropQuitMessages();
        return 0;
    }
    ShowWindow(hwnd, SW_SHOWMAXIMIZED);
    UpdateWindow(hwnd);

    MSG msg = {};
    for (;;) {
        BOOL r = GetMessageA(&msg, nullptr, 0, 0);
        if (r == 0) break;
        if (r == -1) {
            KvShowSystemText(nullptr, GetLastError());
            msg.wParam = 0;
            break;
        }
        if (MainWindowKey(&msg)) continue;
        if (g_app.mainWindow && IsDialogMessageA(g_app.mainWindow, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // A quit that was not the main window's (posted by another program, or
    // passed down by a modal window) leaves it open: it closes as it always
    // does, so the database is closed and the heap released.
    if (g_app.mainWindow && IsWindow(g_app.mainWindow)) {
        DestroyWindow(g_app.mainWindow);
        DropQuitMessages();
    }
    return (int)msg.wParam;
}
