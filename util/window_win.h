// window_win.h - attaching a window's state record to the window.
//
// Every window of the program keeps its state in one struct. The creating
// function passes a pointer to it as the last argument of CreateWindowEx (or
// the lParam of DialogBoxParam / CreateDialogParam); the window procedure
// fetches it with KvWindowState / KvDialogState on every message. The first
// message attaches it: WM_NCCREATE for windows, WM_INITDIALOG for dialogs.
// Before that (WM_GETMINMAXINFO comes ahead of WM_NCCREATE) the result is
// null, so a handler must not assume it.
//
// A window whose state is allocated with new owns it from the moment it is
// attached: its procedure deletes it at WM_NCDESTROY, also when the creation
// fails after WM_NCCREATE. KvCreateWindowWithState / KvCreateDialogWithState
// make such a window and delete the state themselves only when the window
// never took it, so no creator has to know how far the creation got.
#ifndef KV_UTIL_WINDOW_WIN_H
#define KV_UTIL_WINDOW_WIN_H

#include <windows.h>

// The state being handed to a window by the creation helpers below, and
// whether the window attached it (one record per thread; a window made
// while another is being created saves and restores it).
struct KvStateHandOver {
    const void* state;
    bool taken;
};
inline thread_local KvStateHandOver g_kvStateHandOver;

inline void KvNoteStateAttached(const void* state) {
    if (state && state == g_kvStateHandOver.state) g_kvStateHandOver.taken = true;
}

template <class T>
T* KvWindowState(HWND hwnd, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        T* state = (T*)((CREATESTRUCTA*)lParam)->lpCreateParams;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, (LONG_PTR)state);
        KvNoteStateAttached(state);
        return state;
    }
    return (T*)GetWindowLongPtrA(hwnd, GWLP_USERDATA);
}

template <class T>
T* KvDialogState(HWND dlg, UINT message, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dlg, DWLP_USER, (LONG_PTR)lParam);
        KvNoteStateAttached((const void*)lParam);
        return (T*)lParam;
    }
    return (T*)GetWindowLongPtrA(dlg, DWLP_USER);
}

// For a class whose creators pass creation values instead of a state: at
// WM_NCCREATE `make(hwnd, cs)` builds the state (null refuses the creation)
// and it is attached; afterwards the attached state is returned. The window
// deletes it at WM_NCDESTROY.
template <class T, class Make>
T* KvWindowStateMadeAtCreation(HWND hwnd, UINT message, LPARAM lParam, Make make) {
    if (message == WM_NCCREATE) {
        T* state = make(hwnd, (const CREATESTRUCTA*)lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, (LONG_PTR)state);
        return state;
    }
    return (T*)GetWindowLongPtrA(hwnd, GWLP_USERDATA);
}

// Detaches the state (at WM_NCDESTROY), so that a late message finds none.
inline void KvDetachState(HWND hwnd) { SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0); }

// Creates a window of a class whose procedure attaches `state` with
// KvWindowState and deletes it at WM_NCDESTROY. A null state makes no
// window; when the window cannot be made the state is deleted here unless
// the window had already taken it.
template <class T>
HWND KvCreateWindowWithState(T* state, DWORD exStyle, const char* className, const char* title, DWORD style,
                             int x, int y, int cx, int cy, HWND parent, HMENU menu, HINSTANCE instance) {
    if (!state) return nullptr;
    const KvStateHandOver saved = g_kvStateHandOver;
    g_kvStateHandOver = {state, false};
    HWND hwnd =
        CreateWindowExA(exStyle, className, title, style, x, y, cx, cy, parent, menu, instance, state);
    const bool taken = g_kvStateHandOver.taken;
    g_kvStateHandOver = saved;
    if (!hwnd && !taken) delete state;
    return hwnd;
}

// The same for a modeless dialog whose procedure attaches `state` with
// KvDialogState and deletes it at WM_NCDESTROY.
template <class T>
HWND KvCreateDialogWithState(T* state, HINSTANCE instance, int templateId, HWND parent, DLGPROC proc) {
    if (!state) return nullptr;
    const KvStateHandOver saved = g_kvStateHandOver;
    g_kvStateHandOver = {state, false};
    HWND dlg = CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent, proc, (LPARAM)state);
    const bool taken = g_kvStateHandOver.taken;
    g_kvStateHandOver = saved;
    if (!dlg && !taken) delete state;
    return dlg;
}

#endif  // KV_UTIL_WINDOW_WIN_H
