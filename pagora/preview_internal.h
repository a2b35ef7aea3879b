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

const char kKlasaPodglad[] = "podgladDruk";
const char kKlasaObsRob[] = "obsRobPdglDruk";
const char kKlasaKarta[] = "pdglDrukKrt";

inline int g_awariaAlokacji;  // test seam: the n-th next allocation fails (0 none)
inline int g_awariaOkna;      // test seam: the n-th next child window fails (0 none)

// True when the test seam fails the child window being made now.
inline bool AwariaOkna() {
    if (g_awariaOkna > 0 && --g_awariaOkna == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return true;
    }
    return false;
}

// Every child window of a preview is made here or passes the seam above, so
// that a test can fail one.
inline HWND Dziecko(DWORD exStyle, const char* cls, DWORD style, int x, int y, HWND parent, int id,
                    void* param) {
    if (AwariaOkna()) return nullptr;
    return CreateWindowExA(exStyle, cls, "", style, x, y, 0, 0, parent, (HMENU)(INT_PTR)id, hInstDll, param);
}

inline void* Alokuj(size_t bytes) {
    if (g_awariaAlokacji > 0 && --g_awariaAlokacji == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    void* m = hHeapDll ? HeapAlloc(hHeapDll, HEAP_ZERO_MEMORY, bytes) : nullptr;
    if (!m) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return m;
}

inline void Zwolnij(void* m) {
    if (m) HeapFree(hHeapDll, 0, m);
}

inline void PokazBladSys(HWND owner, const char* what) { KvShowSystemError(owner, what, GetLastError()); }

inline strPodgladDruk* Stan(HWND hwnd) { return (strPodgladDruk*)GetWindowLongPtrA(hwnd, GWLP_USERDATA); }

inline int Tryb(const strPodgladDruk* p) { return (int)(p->zad.flagi & PAGORA_TRYB_MASKA); }
inline int Zoom(const strPodgladDruk* p) { return (int)(p->flagi & PDGL_ZOOM_MASKA); }

// One scroll unit is a quarter inch of the display.
inline int JednX() { return rozmCalLogX / 4 > 0 ? rozmCalLogX / 4 : 1; }
inline int JednY() { return rozmCalLogY / 4 > 0 ? rozmCalLogY / 4 : 1; }

// preview_pages.cpp
void ObsRobOnSysColor(strPodgladDruk* p);

#endif  // KV_PAGORA_PREVIEW_INTERNAL_H
