// msgbox.h - every message box of the utility library goes through here, so
// that one function can later be replaced while tests run. Win32 only.
#ifndef KV_UTIL_MSGBOX_H
#define KV_UTIL_MSGBOX_H

#include <windows.h>

// Shows a message box; returns what MessageBoxA returns.
int KvMessageBox(HWND owner, const char* text, const char* caption, UINT type);

#endif  // KV_UTIL_MSGBOX_H
