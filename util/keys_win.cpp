#include "util/keys_win.h"

#include <commctrl.h>

#include <utility>
#include <vector>

int KvKeyCommand(const KvKey* keys, int count, const MSG* m) {
    if (!m || m->message != WM_KEYDOWN) return 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    if (GetKeyState(VK_MENU) < 0) return 0;
    for (int i = 0; i < count; i++) {
        const KvKey& k = keys[i];
        if (k.vk != (UINT)m->wParam || k.ctrl != ctrl || k.shift != shift) continue;
        if (k.focusId && (!m->hwnd || GetDlgCtrlID(m->hwnd) != k.focusId)) continue;
        return k.command;
    }
    return 0;
}

bool KvCommandEnabled(HWND window, HWND toolbar, int command) {
    if (HMENU menu = window ? GetMenu(window) : nullptr) {
        const UINT state = GetMenuState(menu, (UINT)command, MF_BYCOMMAND);
        if (state != (UINT)-1) return !(state & (MF_GRAYED | MF_DISABLED));
    }
    if (toolbar && SendMessageA(toolbar, TB_COMMANDTOINDEX, (WPARAM)command, 0) >= 0)
        return SendMessageA(toolbar, TB_ISBUTTONENABLED, (WPARAM)command, 0) != 0;
    return true;
}

bool KvDispatchKey(HWND window, HWND toolbar, const KvKey* keys, int count, const MSG* m) {
    const int command = KvKeyCommand(keys, count, m);
    if (!command) return false;
    if (KvCommandEnabled(window, toolbar, command))
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    return true;
}

void KvTurnTab(HWND tab, bool back) {
    const int n = (int)SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0);
    if (n < 2) return;
    HWND parent = GetParent(tab);
    NMHDR nm = {tab, (UINT_PTR)GetDlgCtrlID(tab), (UINT)TCN_SELCHANGING};
    SendMessageA(parent, WM_NOTIFY, nm.idFrom, (LPARAM)&nm);
    const int at = (int)SendMessageA(tab, TCM_GETCURSEL, 0, 0);
    SendMessageA(tab, TCM_SETCURSEL, (WPARAM)((at + (back ? n - 1 : 1)) % n), 0);
    nm.code = (UINT)TCN_SELCHANGE;
    SendMessageA(parent, WM_NOTIFY, nm.idFrom, (LPARAM)&nm);
}

namespace {

// The dialogs whose tabs the keys turn, with their tab controls; a dialog
// that is gone is dropped, and with the last one the hook.
thread_local std::vector<std::pair<HWND, HWND>> t_tabDialogs;
thread_local HHOOK t_tabHook;

void DropClosedDialogs() {
    auto& v = t_tabDialogs;
    for (size_t i = v.size(); i-- > 0;)
        if (!IsWindow(v[i].first)) v.erase(v.begin() + (ptrdiff_t)i);
}

// The dialog box's own loop offers each message here before the dialog
// navigation sees it, which would take Ctrl+Tab for a Tab.
LRESULT CALLBACK TabKeysHook(int code, WPARAM wp, LPARAM lp) {
    const MSG* m = (const MSG*)lp;
    const HHOOK self = t_tabHook;
    if (code >= 0) DropClosedDialogs();
    if (code == MSGF_DIALOGBOX && m->message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 &&
        (m->wParam == VK_TAB || m->wParam == VK_NEXT || m->wParam == VK_PRIOR)) {
        for (const auto& d : t_tabDialogs) {
            if (m->hwnd != d.first && !IsChild(d.first, m->hwnd)) continue;
            KvTurnTab(d.second, m->wParam == VK_PRIOR || (m->wParam == VK_TAB && GetKeyState(VK_SHIFT) < 0));
            return 1;
        }
    }
    if (code >= 0 && t_tabDialogs.empty() && self) {
        UnhookWindowsHookEx(self);
        t_tabHook = nullptr;
    }
    return CallNextHookEx(self, code, wp, lp);
}

}  // namespace

void KvTurnTabsWithKeys(HWND dialog, HWND tab) {
    DropClosedDialogs();
    t_tabDialogs.emplace_back(dialog, tab);
    if (!t_tabHook) t_tabHook = SetWindowsHookExA(WH_MSGFILTER, TabKeysHook, nullptr, GetCurrentThreadId());
}
