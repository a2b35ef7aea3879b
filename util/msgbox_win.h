// msgbox_win.h - the one road by which every message box and question of a
// deliverable reaches the user.
//
// Tests install a hook that records what would be shown and answers for the
// user; without a hook the system's MessageBox shows it.
#ifndef KV_UTIL_MSGBOX_WIN_H
#define KV_UTIL_MSGBOX_WIN_H

#include <windows.h>

// Returns the button the user chose (IDOK, IDYES, IDNO, ...).
typedef int (*KvMessageBoxHook)(HWND owner, const char* text, const char* caption, UINT type, void* context);

int KvMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// Installs (or with null removes) the hook; returns the previous one.
KvMessageBoxHook KvSetMessageBoxHook(KvMessageBoxHook hook, void* context);

// The program's three kinds of box.
void KvShowError(HWND owner, const char* text);  // "Error", error icon
void KvShowInfo(HWND owner, const char* text);   // "Information", information icon
bool KvAskYesNo(HWND owner, const char* text);   // "Note", question icon; true for Yes

// "<what>\r\n<the system's text of code> - <code>" into buf (cut to size);
// returns buf. The last-error value is left as it was.
char* KvSystemErrorText(const char* what, DWORD code, char* buf, int size);
// Shows that text in an "Error" box with the warning icon.
void KvShowSystemError(HWND owner, const char* what, DWORD code);
// The system's text for `code` alone in an "Error" box with the error icon
// (a message loop or a window class that failed). The last-error value is
// left as it was.
void KvShowSystemText(HWND owner, DWORD code);

#endif  // KV_UTIL_MSGBOX_WIN_H
