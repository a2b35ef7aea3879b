#include "tests/win/order_driver.h"

#include <stdio.h>
#include <stdlib.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/win/harness.h"
#include "util/kvutil.h"

namespace {

bool Tick(void* context) {
    Script* s = (Script*)context;
    if (s->busy) return false;  // a step is inside a nested loop
    // Done when every step ran and the window has closed; a window left
    // open runs into the time-out, which ends its loop.
    if (s->finished()) return s->window && !IsWindow(s->window);
    if (!s->window) s->window = FindOrderWindow();
    if (!s->window) return false;
    if (getenv("KV_TRACE")) fprintf(stderr, "step %d\n", (int)s->next);
    s->busy = true;
    const bool done = s->steps[s->next](s->window);
    s->busy = false;
    if (done) s->next++;
    return false;
}

}  // namespace

int RunScripted(const std::function<int()>& open, Script* script, DWORD timeoutMs) {
    LoopProbe probe(Tick, script, timeoutMs);
    const int result = open();
    EXPECT_TRUE(script->finished()) << "stopped before step " << script->next;
    EXPECT_FALSE(probe.timedOut()) << "the order window did not close";
    // A window the script left open is closed here, so that the next test
    // starts clean.
    if (HWND left = FindOrderWindow()) {
        ADD_FAILURE() << "the order window is still open";
        DestroyWindow(left);
    }
    MSG m;
    while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
    return result;
}

HWND FindOrderWindow() { return FindWindowA("oknoZamowienia", nullptr); }

HWND PageWith(HWND window, int id) {
    HWND tab = GetDlgItem(window, 10139);
    for (HWND page = FindWindowExA(tab, nullptr, nullptr, nullptr); page;
         page = FindWindowExA(tab, page, nullptr, nullptr)) {
        if (GetDlgItem(page, id)) return page;
    }
    return nullptr;
}

HWND Dialog(const char* title) {
    HWND dlg = FindWindowA("#32770", title);
    return dlg && IsWindowVisible(dlg) ? dlg : nullptr;
}

std::string TextOf(HWND hwnd) {
    char text[1024] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

std::string ItemText(HWND parent, int id) { return TextOf(GetDlgItem(parent, id)); }

bool MenuEnabled(HWND window, int id) {
    UINT state = GetMenuState(GetMenu(window), id, MF_BYCOMMAND);
    return state != (UINT)-1 && !(state & (MF_GRAYED | MF_DISABLED));
}

bool MenuEnabledAt(HWND window, int sub, int pos) {
    UINT state = GetMenuState(GetSubMenu(GetMenu(window), sub), pos, MF_BYPOSITION);
    return state != (UINT)-1 && !(state & (MF_GRAYED | MF_DISABLED));
}

std::string MenuText(HWND window, int id) {
    char text[128] = "";
    GetMenuStringA(GetMenu(window), id, text, sizeof text, MF_BYCOMMAND);
    return text;
}

bool ToolEnabled(HWND window, int id) {
    return SendMessageA(GetDlgItem(window, 10127), TB_ISBUTTONENABLED, id, 0) != 0;
}

std::string ToolText(HWND window, int id) {
    char text[128] = "";
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT;
    info.pszText = text;
    info.cchText = sizeof text;
    SendMessageA(GetDlgItem(window, 10127), TB_GETBUTTONINFOA, id, (LPARAM)&info);
    return text;
}

bool Visible(HWND parent, int id) {
    return (GetWindowLongA(GetDlgItem(parent, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool ReadOnly(HWND parent, int id) {
    HWND c = GetDlgItem(parent, id);
    char cls[32] = "";
    GetClassNameA(c, cls, sizeof cls);
    if (lstrcmpiA(cls, "Edit") == 0) return (GetWindowLongA(c, GWL_STYLE) & ES_READONLY) != 0;
    return !IsWindowEnabled(c);
}

void Type(HWND edit, const std::string& text) {
    SendMessageA(edit, EM_SETSEL, 0, -1);
    if (text.empty()) {
        SendMessageA(edit, WM_CHAR, VK_BACK, 0);
        return;
    }
    for (char c : text) SendMessageA(edit, WM_CHAR, (WPARAM)(unsigned char)c, 1);
}

void Command(HWND window, int id) { SendMessageA(window, WM_COMMAND, id, 0); }
void Post(HWND window, int id) { PostMessageA(window, WM_COMMAND, id, 0); }

Step CloseWith(int id) {
    return [id](HWND w) {
        Post(w, id);
        return true;
    };
}

void SelectWindowEntry(HWND window, int entry) {
    HWND list = GetDlgItem(window, 10187);
    SendMessageA(list, LB_SETCURSEL, entry, 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(10187, LBN_SELCHANGE), (LPARAM)list);
}

void SelectRow(HWND list, int row, bool on) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = on ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&item);
}

LPARAM RowParam(HWND list, int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, (LPARAM)&item);
    return item.lParam;
}
