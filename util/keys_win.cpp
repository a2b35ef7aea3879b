#include "util/keys_win.h"

#include <commctrl.h>

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
