// pagora.h - the print library: printing a list of enhanced-metafile pages
// with the print dialog, progress and abort, and the print preview window;
// it also exports the utility library (kvutil.h).
//
// Everything here runs on the caller's user-interface thread. One print job
// runs at a time per process.
#ifndef PAGORA_H
#define PAGORA_H

#include <windows.h>

#include <stddef.h>

#include "util/kvutil.h"

#ifdef __cplusplus
extern "C" {
#endif

// ---- The print job record ----------------------------------------------------

// Bits of strZadDruk::flagi.
#define PAGORA_MODE_MASK 0x03  // 0 print at once, 1 modal preview, 2 or 3 modeless preview
#define PAGORA_MODE_PRINT 0x00
#define PAGORA_MODE_MODAL 0x01
#define PAGORA_MODE_MODELESS 0x02
#define PAGORA_JOB_OWNS_PAGES 0x08  // the preview deletes the page metafiles when it closes
#define PAGORA_REPORT_ERROR 0x10      // a failed print is reported in a message box

#define PAGORA_NAME_LEN 256  // bytes of the document name, terminator included

// A document to print: a list of enhanced-metafile pages in printing order.
// Filled by the caller (start with PagoraInitializePagoraprint); the preview
// keeps a copy of its own (and of the page array, with the same handles).
typedef struct strZadDruk {
    HWND wlasciciel;              // owner of the preview and the print dialog; may be null
    int32_t formatStr;            // page-format selector for UstalRozmKrtCal; callers pass 0
    int32_t liczbaStr;            // pages in `strony`, at least 1
    int32_t biezStr;              // 0-based page the preview shows; callers pass 0
    char nazwa[PAGORA_NAME_LEN];  // document name: preview title and spooler's job name
    HENHMETAFILE* strony;         // array of liczbaStr page metafiles
    int32_t zarezerw;             // zeroed, not used
    uint32_t flagi;               // PAGORA_* bits above
} strZadDruk;

#if defined(_WIN64) && defined(__cplusplus)
static_assert(sizeof(strZadDruk) == 296, "print job record: 296 bytes on x64");
static_assert(offsetof(strZadDruk, wlasciciel) == 0, "owner at 0");
static_assert(offsetof(strZadDruk, formatStr) == 8, "selector at 8");
static_assert(offsetof(strZadDruk, liczbaStr) == 12, "page count at 12");
static_assert(offsetof(strZadDruk, biezStr) == 16, "current page at 16");
static_assert(offsetof(strZadDruk, nazwa) == 20, "name at 20");
static_assert(offsetof(strZadDruk, strony) == 280, "pages at 280");
static_assert(offsetof(strZadDruk, zarezerw) == 288, "reserved at 288");
static_assert(offsetof(strZadDruk, flagi) == 292, "flags at 292");
#endif

// ---- Library state (one set per process) -----------------------------------------

extern HINSTANCE hInstDll;  // the library's module (dialogs, bitmaps, icon)
extern HANDLE hHeapDll;     // the library's private heap (the preview's records)
extern HWND hDlgPostep;     // progress dialog of the running print job, or null
extern int czyAktywRodzic;  // 1: the running job disabled its owner and enables it again
extern int przerwijDruk;    // 1 once the user cancelled the running print job
extern int rozmCalLogX;     // display's logical pixels per inch, horizontally
extern int rozmCalLogY;     // and vertically; measured when a preview opens

// ---- Print job ----------------------------------------------------------------------

// Zeroes owner, selector, page count, current page, the first byte of the
// name, the page pointer, the reserved word and the flags. Returns `zad`.
strZadDruk* PagoraInitializePagoraprint(strZadDruk* zad);

// flags := (flags & ~3 | mode) & ~4 | extra; then a preview (mode bits not
// 0: the result of PodgladDruku) or printing at once (the result of
// PagoraDoPrint; a 0 with flag bit 4 is reported in an "Error" box).
int PagoraPrint(HWND owner, strZadDruk* zad, int mode, int extra);

// The print dialog, then every page of the chosen range, copies and order,
// with the progress dialog and Cancel. 1 on success or when the print dialog
// is cancelled, 0 on failure. A job cancelled from the progress dialog is
// abandoned in the spooler (no document comes out) and gives 1.
int PagoraDoPrint(HWND owner, strZadDruk* zad);

// Opens the preview window of the job. Mode 1: returns 0 when the preview
// has closed; mode 2 or 3: returns the mode once the preview is shown; -1
// when the preview could not be created (the reason was shown in a box, the
// owner is as it was and the caller keeps its pages, even with flag bit 3).
int PodgladDruku(strZadDruk* zad);

// Progress dialog (template 1015) and the abort procedure of the job's DC.
INT_PTR CALLBACK ProcDlgPostepDruk(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL CALLBACK ProcPrzerywDruk(HDC dc, int error);

// Millimetres per inch of `dc` (null: the display), horizontally when
// `horizontal` is nonzero: PagoraMmNaCal of its size in mm, resolution and
// logical pixels per inch.
float MmForInch(HDC dc, int horizontal);

// The arithmetic of MmForInch: size / (resolution / logical pixels per inch);
// 25.4 when the device reports no resolution.
static inline float PagoraMmNaCal(int sizeMm, int resolutionPx, int logPixelsPerInch) {
    if (resolutionPx <= 0 || logPixelsPerInch <= 0) return 25.4f;
    return (float)sizeMm / ((float)resolutionPx / (float)logPixelsPerInch);
}

// The page size in 1/600 inch: 5100 x 6600 (8.5 x 11 in) for any selector.
void UstalRozmKrtCal(int* width, int* height, int selector);

// ---- Print preview -------------------------------------------------------------------

// Bits of strPodgladDruk::flagi.
#define PREVIEW_ZOOM_MASK 0x03  // 0 "Complete view", 1 "Natural size", 2 "The maximum width"
#define PREVIEW_ZOOM_COMPLETE 0
#define PREVIEW_ZOOM_NATURAL 1
#define PREVIEW_ZOOM_WIDTH 2
#define PREVIEW_OWNER_ENABLED 0x04  // the owner was enabled when the preview opened
#define PREVIEW_OWNER_DISABLED 0x08    // this preview disabled the owner and has not enabled it yet
#define PREVIEW_HORIZONTAL_BAR 0x10  // the horizontal scroll bar is needed
#define PREVIEW_VERTICAL_BAR 0x20    // the vertical scroll bar is needed
#define PREVIEW_CREATED 0x40     // creation completed: the preview holds the job's pages
#define PREVIEW_WHEEL_PAGE 0x80  // the system scrolls a screen per wheel notch
#define PREVIEW_PRINTING 0x100      // PagoraDoPrint runs on this preview's job
#define PREVIEW_DESTROYED 0x200   // the window went while printing: the state waits for the print

// Private messages of the work window.
#define UM_PDGL_STR_W_GORE (WM_USER + 0)  // page up
#define UM_PDGL_STR_W_DOL (WM_USER + 1)   // page down

// One preview window's state, from hHeapDll, the preview's user data.
typedef struct strPodgladDruk {
    strZadDruk zad;           // the preview's own copy of the job; zad.strony is a copy too
    HWND hOkno;               // the preview window
    HWND hPasek;              // toolbar
    HWND hStatus;             // status bar
    HWND hObsRob;             // work window
    HWND hPionSb, hPoziomSb;  // vertical and horizontal scroll bars
    HWND hRog;                // corner filler
    HWND hKarta;              // page card
    int wysPasek, wysStatus;  // toolbar and status bar heights, pixels
    int minSzer, minWys;      // minimum window size, pixels
    int kartaCal[2];          // card size, 1/600 inch (5100 x 6600)
    int kartaMm[2];           // card size, 1/100 mm
    SIZE vpExt;               // viewport extent of the card's isotropic mapping, pixels
    POINT vpOrg;              // viewport origin, work-window pixels
    POINT kartaPoz;           // card's top-left before scrolling, pixels, never negative
    SIZE kartaPx;             // card's size, pixels
    HPEN piorCien;            // shadow pen (button-shadow colour)
    HBRUSH pedzRog;           // corner brush (button-face colour)
    int krokKolka;            // 120 / wheel-scroll lines; 0 when the setting is 0
    int resztaKolka;          // wheel delta not yet turned into line scrolls
    uint32_t flagi;           // PDGL_* bits
} strPodgladDruk;

LRESULT CALLBACK ProcOknoPodgladDruk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Creates the toolbar (id 1002) and its two image lists; returns it or null.
HWND TworzPasekPodgladDruk(HWND preview);
// Destroys the toolbar's two image lists (given the toolbar or the preview).
void ZamknijPasekPodgladDruk(HWND toolbar);
// Reads the system's wheel setting: step = 120 / lines (0 for 0), remainder
// 0; a screen per notch when the system scrolls pages (or over 120 lines).
void UstawDelteKolka(strPodgladDruk* p);
// Enables the first/back buttons off the first page, next/last off the last.
void AktDeaktTB(strPodgladDruk* p);
// Status part 1 := "\t\tpage %d/%d                   ".
void AktNrStrStatus(strPodgladDruk* p);
HWND TworzOknoObsRobPdglDruk(HWND parent, int x, int y);
LRESULT CALLBACK ProcOknoObsRobPdglDruk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
HWND TworzOknoPdglDrukKrt(HWND parent, int x, int y);
LRESULT CALLBACK ProcOknoPdglDrukKrt(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Lays out the card and the scroll bars for the zoom mode.
void RozmiescKrt(strPodgladDruk* p);

// Test seam: the n-th next allocation a preview makes fails as if the heap
// were exhausted (0 turns it off).
void UstawAwarieAlokacjiPodgladu(int n);
// Test seam: the n-th next child window a preview creates (toolbar, status
// bar, work window, card, scroll bars, corner) fails (0 turns it off).
void UstawAwarieOknaPodgladu(int n);

// ---- Message boxes --------------------------------------------------------------------

// The library carries its own copy of the message-box seam; a host program
// (or a test) routes the library's boxes into its own with this hook.
// Returns the previous hook.
typedef int (*PagoraMessageHook)(HWND owner, const char* text, const char* caption, UINT type,
                                   void* context);
PagoraMessageHook UstawHakKomunikatow(PagoraMessageHook hook, void* context);

#ifdef __cplusplus
}
#endif

#endif  // PAGORA_H
