// modal_loop_win.h - the message loop of a window that acts modally (the
// order window, the designer, the modal preview, the start window).
//
// The loop belongs to one window and ends only when that window is gone, so
// the state its creator keeps on the stack never outlives it. The program's
// main loop and the print's abort pump are not modal loops and do not use it.
#ifndef KV_UTIL_MODAL_LOOP_WIN_H
#define KV_UTIL_MODAL_LOOP_WIN_H

#include <windows.h>

// Offered every message before it is translated and dispatched; true when
// it took the message (dialog navigation, a key filter, accelerators).
typedef bool (*KvPreTranslate)(void* context, MSG* msg);

// Runs the messages of the thread until `hwnd` is destroyed; `preTranslate`
// may be null. The window reports its own result through its state; this
// returns 1 when the window went by itself, 0 when the loop ended it:
// - a WM_QUIT is the program's, not the window's: the window is destroyed
//   (its WM_DESTROY gives the owner back) and the quit posted again, with
//   its code, for the loop below;
// - a failed fetch destroys the window, then shows the system's text of the
//   error ("Error" box, over the window's owner).
// REQUIRES: the window's own destruction posts no quit message.
int KvRunModalLoop(HWND hwnd, KvPreTranslate preTranslate, void* context);

// Test seam: the function that fetches the next message (null restores
// GetMessageA), since the real one does not fail on demand.
typedef BOOL(WINAPI* KvMessageFetch)(MSG* msg, HWND hwnd, UINT first, UINT last);
void KvSetMessageFetchForTest(KvMessageFetch fetch);

#endif  // KV_UTIL_MODAL_LOOP_WIN_H
