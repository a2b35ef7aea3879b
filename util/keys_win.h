// keys_win.h - the keyboard shortcuts of a window, as a table.
//
// Each window's pre-translate step looks the key message up in its table
// and sends the command as its menu item or button would, only while that
// item or button is enabled. Keys that type (Delete, Enter, letters) name
// the control they belong to and act only when it has the focus, so that an
// edit keeps them.
#ifndef KV_UTIL_KEYS_WIN_H
#define KV_UTIL_KEYS_WIN_H

#include <windows.h>

struct KvKey {
    UINT vk;     // virtual key
    bool ctrl;   // Ctrl held (and no other than Shift as given)
    bool shift;  // Shift held
    int command;
    int focusId;  // the control that must have the focus; 0 any in the window
};

// The command of key message `m` in `keys`, or 0. Only WM_KEYDOWN counts.
int KvKeyCommand(const KvKey* keys, int count, const MSG* m);

// Whether `command` may be sent now: its item in `window`'s menu, else its
// button on `toolbar` (either may be null), is enabled; a command that
// neither knows is enabled.
bool KvCommandEnabled(HWND window, HWND toolbar, int command);

// Looks the key up and, when its command is enabled, sends it to `window`
// as WM_COMMAND. True when the key was taken.
bool KvDispatchKey(HWND window, HWND toolbar, const KvKey* keys, int count, const MSG* m);

// Turns the pages of a tab control to the next (or, `back`, the previous)
// one as a click on that tab does: TCN_SELCHANGING, the selection,
// TCN_SELCHANGE, each sent to the tab control's parent.
void KvTurnTab(HWND tab, bool back);

// In the modal dialog `dialog` (made by DialogBox), Ctrl+Tab and
// Ctrl+PageDown turn `tab` to the next page, Ctrl+Shift+Tab and Ctrl+PageUp
// to the previous one, wherever the focus is in the dialog. Called at
// WM_INITDIALOG; it ends with the dialog.
void KvTurnTabsWithKeys(HWND dialog, HWND tab);

#endif  // KV_UTIL_KEYS_WIN_H
