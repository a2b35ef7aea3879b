// window_win.h - attaching a window's state record to the window.
//
// Every window of the program keeps its state in one struct. The creating
// function passes a pointer to it as the last argument of CreateWindowEx (or
// the lParam of DialogBoxParam / CreateDialogParam); the window procedure
// fetches it with KvWindowState / KvDialogState on every message. The first
// message attaches it: WM_NCCREATE for windows, WM_INITDIALOG for dialogs.
// Before that (WM_GETMINMAXINFO comes ahead of WM_NCCREATE) the result is
// null, so a handler must not assume it.
#ifndef KV_UTIL_WINDOW_WIN_H
#define KV_UTIL_WINDOW_WIN_H

#include <windows.h>

template <class T>
T* KvWindowState(HWND hwnd, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        T* state = (T*)((CREATESTRUCTA*)lParam)->lpCreateParams;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, (LONG_PTR)state);
        return state;
    }
    return (T*)GetWindowLongPtrA(hwnd, GWLP_USERDATA);
}

template <class T>
T* KvDialogState(HWND dlg, UINT message, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dlg, DWLP_USER, (LONG_PTR)lParam);
        return (T*)lParam;
    }
    return (T*)GetWindowLongPtrA(dlg, DWLP_USER);
}

// Detaches the state (at WM_NCDESTROY), so that a late message finds none.
inline void KvDetachState(HWND hwnd) { SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0); }

#endif  // KV_UTIL_WINDOW_WIN_H
