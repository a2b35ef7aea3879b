#include "tests/win/main_window_fixture.h"

#include <commctrl.h>

#include "app/app.h"
#include "resources/resource.h"
#include "tests/win/harness.h"

HWND CreateMainWindowForTest() {
    g_answers.push_back(IDNO);  // keep an older working year
    g_app.instance = GetModuleHandleA(nullptr);
    if (!RegisterMainClass(g_app.instance)) return nullptr;
    HWND main = CreateMainWindow(g_app.instance, LoadMenuA(g_app.instance, MAKEINTRESOURCEA(IDM_MAIN)), 0, 0,
                                 1024, 768);
    if (main) ShowWindow(main, SW_SHOW);
    return main;
}

void DestroyMainWindowForTest(HWND main) {
    if (main) DestroyWindow(main);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {}
}

std::string StatusBarPart(HWND main, int part) {
    char text[128] = "";
    SendMessageA(GetDlgItem(main, IDC_STATUSBAR), SB_GETTEXTA, part, (LPARAM)text);
    return text;
}
