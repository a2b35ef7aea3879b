// preview_internal.h - what the print preview's files share: the window
// classes, the child-window and allocation seams, the state lookups and the
// handlers one file calls in another (preview.cpp the entry, preview_window.cpp
// the preview window and its toolbar, preview_pages.cpp the work window and
// the page card).
#ifndef KV_PAGORA_PREVIEW_INTERNAL_H
#define KV_PAGORA_PREVIEW_INTERNAL_H

#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include "pagora/pagora.h"
#include "pagora/pagora_rc.h"
#include "util/dpi_win.h"
#include "util/modal_loop_win.h"
#include "util/msgbox_win.h"
#include "util/scoped_win.h"
#include "util/toolbar_win.h"
#include "util/window_win.h"

const char kPreviewClass[] = "podgladDruk";
const char kWorkAreaClass[] = "obsRobPdglDruk";
const char kCardClass[] = "pdglDrukKrt";

inline int g_allocationFailure;  // test seam: the n-th next allocation fails (0 none)
inline int g_windowFailure;      // test seam: the n-th next child window fails (0 none)

// True when the test seam fails the child window being made now.
inline bool ShouldFailWindow() {
    if (g_windowFailure > 0 && --g_windowFailure == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return true;
    }
    return false;
}

// Every child window of a preview is made here or passes the seam above, so
// that a test can fail one.
inline HWND CreateChild(DWORD exStyle, const char* cls, DWORD style, int x, int y, HWND parent, int id,
                    void* param) {
    if (ShouldFailWindow()) return nullptr;
    return CreateWindowExA(exStyle, cls, "", style, x, y, 0, 0, parent, (HMENU)(INT_PTR)id, hInstDll, param);
}

inline void* Allocate(size_t bytes) {
    if (g_allocationFailure > 0 && --g_allocationFailure == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    void* m = hHeapDll ? HeapAlloc(hHeapDll, HEAP_ZERO_MEMORY, bytes) : nullptr;
    if (!m) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return m;
}

inline void FreeBlock(void* m) {
    if (m) HeapFree(hHeapDll, 0, m);
}

inline void ShowLastSystemError(HWND owner, const char* what) { KvShowSystemError(owner, what, GetLastError()); }

inline strPodgladDruk* StateOf(HWND hwnd) { return (strPodgladDruk*)GetWindowLongPtrA(hwnd, GWLP_USERDATA); }

inline int JobMode(const strPodgladDruk* p) { return (int)(p->zad.flagi & PAGORA_MODE_MASK); }
inline int Zoom(const strPodgladDruk* p) { return (int)(p->flagi & PREVIEW_ZOOM_MASK); }

// One scroll unit is a quarter inch of the display.
inline int ScrollUnitX() { return rozmCalLogX / 4 > 0 ? rozmCalLogX / 4 : 1; }
inline int ScrollUnitY() { return rozmCalLogY / 4 > 0 ? rozmCalLogY / 4 : 1; }

// preview_pages.cpp
void WorkAreaOnSysColor(strPodgladDruk* p);

#endif  // KV_PAGORA_PREVIEW_INTERNAL_H
