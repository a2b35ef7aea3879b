// widgora.h - the control library: numeric and spin edits, control
// switching, list-box tooltips and menus, the wait and login dialogs; it also
// exports the utility library (kvutil.h).
//
// Every function is a plain C export of widgora.dll. Texts are 8-bit ANSI.
// Everything here runs on the thread that owns the windows concerned, except
// the work function of the wait dialog, which runs on a thread of its own.
#ifndef WIDGORA_H
#define WIDGORA_H

#include <windows.h>

#include "util/kvutil.h"

#ifdef __cplusplus
extern "C" {
#endif

// The library's module and its private heap (valid while it is loaded).
extern HINSTANCE hInstDll;
extern HANDLE hHeapDll;

// ---- Numeric edits ------------------------------------------------------------
//
// A standard "Edit" control that accepts only a non-negative decimal number
// with at most N decimals (N = 1..4 by variant) in the user's locale: digits
// and the locale decimal separator may be typed, nothing else visible; the
// separator not first and not twice; no more than N digits after it; pasting
// is refused. When the field loses the focus its text is brought to N
// decimals by DopasujCzDzies with the allowed counts, and leading zeros of
// the integer part are dropped. An empty field stays empty.

// Installs the variant's procedure on `edit` and keeps `allowed` (decimal
// counts at which the tidying may stop, see DopasujCzDzies; may be null) as
// the control's user data. Returns the procedure that was replaced, or null
// when `edit` is not a window. Installing on an edit that already has one of
// the variants only changes the variant and the allowed counts.
// REQUIRES: `allowed` outlives the control.
WNDPROC ZalozPdklEdL1mPoPrzec(HWND edit, const char* allowed);
WNDPROC ZalozPdklEdL2mPoPrzec(HWND edit, const char* allowed);
WNDPROC ZalozPdklEdL3mPoPrzec(HWND edit, const char* allowed);
WNDPROC ZalozPdklEdL4mPoPrzec(HWND edit, const char* allowed);

// The variants' window procedures (installed by the functions above).
LRESULT CALLBACK PdklEdL1mPoPrzec(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PdklEdL2mPoPrzec(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PdklEdL3mPoPrzec(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PdklEdL4mPoPrzec(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// ---- Edit with up-down ----------------------------------------------------------

// An edit and its up-down moved as one piece.
typedef struct strEdUd {
    HWND hEd;  // the edit
    HWND hUd;  // its up-down, attached to the edit's right side
    int szer;  // total width given at creation, device pixels
} strEdUd;

// Creates a right-aligned digits-only edit (x, y, width, height in the
// parent's client pixels) with the default GUI font, and an up-down of
// `udStyle` with the edit as its buddy, range lower..upper and `position`.
// Fills *eu. Returns 1, or 0 (and *eu cleared, nothing left created) when a
// control cannot be created.
int TworzEdUd(strEdUd* eu, DWORD udStyle, int x, int y, int width, int height, HWND parent, int editId,
              int udId, HINSTANCE instance, int lower, int upper, int position);
// Fills *eu from existing controls.
void IniEdUd(strEdUd* eu, HWND edit, HWND upDown, int width);
// Moves the edit to (x, y) and the up-down to (x + width - its width, y),
// keeping sizes and Z order. Returns 1 when both moved.
int PrzesunEdUd(const strEdUd* eu, int x, int y);
// The same with the caller's SetWindowPos flags.
int PrzesunEdUdFlg(const strEdUd* eu, int x, int y, UINT swpFlags);

// ---- Switching and default buttons -------------------------------------------

// An "Edit" becomes read-only (enable 0) or writable (1) and stays
// selectable; any other control is disabled or enabled.
void AktDeaktKntrl(HWND control, int enable);
// Moves the default-push-button style from button idFrom to button idTo of
// `dialog` (0 = none on either side), both redrawn; a dialog's default
// identifier (DM_GETDEFID, which Enter presses) follows.
void PrzestawDomyslPb(HWND dialog, int idFrom, int idTo);
// Gives the focus to button idTo, then as PrzestawDomyslPb.
void PrzestawDomyslFokus(HWND dialog, int idFrom, int idTo);

// ---- List views ----------------------------------------------------------------

// Keeps the user from resizing the columns of a report list view: its header
// gets PodklasaHdrBlokRozmKol. Returns the header's previous procedure, or
// null when the list view has no header.
WNDPROC ZablokujRozmKolLst(HWND listView);
// The header's procedure: no sizing cursor, no dragging, no double click on a
// divider; clicks on the columns still work.
LRESULT CALLBACK PodklasaHdrBlokRozmKol(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// ---- ANSI text in a chosen code page --------------------------------------------

// Sets the item's text from `text` in code page `codePage` through the
// wide-character function. Returns the SetDlgItemTextW result (0 on failure).
BOOL SetDlgItemTextAJakoW(HWND dialog, int item, const char* text, UINT codePage);
// Draws `count` bytes of `text` (-1: up to the terminator) in code page
// `codePage` with DrawTextW and `format`. Returns DrawTextW's result (the
// text's height), 0 on failure. DT_MODIFYSTRING does not change `text`.
int DrawTextAJakoW(HDC dc, const char* text, int count, RECT* rect, UINT format, UINT codePage);

// ---- List box with tooltip and context menu -------------------------------------

// Held by the caller for as long as the list box exists.
typedef struct strTtLbx {
    HWND hTt;           // the tooltip of the list box
    int czyTtPokaz;     // 1 while the tooltip is tracking and visible
    int nrPoz;          // item under the mouse when the tip was last shown, -1 at first
    int czySledzNad;    // 1 while a hover notification is requested
    int czySledzWyj;    // 1 while a leave notification is requested
    HMENU hMenuPdr;     // popup on the right button, or null
    WNDPROC poprzProc;  // the list box's procedure before
} strTtLbx;

// Gives list box `lbxId` of `dialog` a tracking tooltip (text asked from the
// dialog by TTN_GETDISPINFO for the tool uId = the list box, the item being
// rec->nrPoz) and the popup `menu` on the right button. `extraToolFlags`
// is or-ed into the tool's flags. Returns the list box's previous
// procedure, or null (record untouched, nothing created) on failure and for
// a list box that has them already.
WNDPROC DodajTtMenuPdrDoLbx(HWND dialog, int lbxId, HMENU menu, HINSTANCE instance, int maxTipWidth,
                            strTtLbx* rec, UINT extraToolFlags);
// The list box's procedure: the tip follows hovering, hides on leaving; the
// right button selects the item under it, tells the parent (LBN_SELCHANGE)
// and shows the menu. Below the last item nothing happens.
LRESULT CALLBACK PdklLbxTtMenuPdr(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// ---- Wait dialog ------------------------------------------------------------------

// The job of the wait dialog; owned by the caller for the duration of the call.
typedef struct strDlgCzekaj {
    const char* tytul;                   // caption of the dialog
    DWORD opoznienie;                    // ms before the dialog shows
    int (*praca)(void* arg, char* msg);  // runs on the worker thread
    void* argPraca;
    void (*anuluj)(void* arg, char* msg);  // on "Stop", on the caller's thread; may be null
    void* argAnuluj;
    char* komunikat;     // KV_MSG_LEN (2048) bytes for error texts, or null
    HWND volatile hDlg;  // the dialog from its opening to its closing,
                         // else null (set by the library)
} strDlgCzekaj;

// Runs job->praca on a worker thread while a modal wait dialog with an
// animation and "Stop" is ready to show after job->opoznienie ms (a job that
// ends earlier never shows it). Exactly one of the job's end and "Stop"
// closes the dialog; "Stop" calls job->anuluj once, while the work may still
// run. Which of the two came first is settled by an atomic compare-and-
// exchange of the dialog handle in a record of the library's own (a worker
// that outlives the call must not write into a block its caller may have
// freed). On closing, the worker is awaited for at most the waiting time
// (10 s); a worker still running then is left to end on its own.
// Returns the work's result; 0 with a text in job->komunikat when the thread
// cannot be created or does not end in time; 0 with an "Error" box when
// another wait dialog is open. The work and cancel functions must be safe
// to run at the same time.
int WolajDlgCzekaj(HWND owner, strDlgCzekaj* job);
INT_PTR CALLBACK ProcDlgCzekaj(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The worker's body, started by the dialog with the library's record of the
// job (not for callers); its exit code is the work's result.
DWORD WINAPI WtkWolajDlgCzekaj(LPVOID param);
// Sets how long a closing wait dialog waits for its worker (ms; 0 restores
// the default of 10000). Returns the previous time.
DWORD UstawCzasCzekaniaNaWtk(DWORD ms);

// ---- Login dialog ---------------------------------------------------------------------

// Shows "Login and password". REQUIRES: out has passCap bytes. On OK the login (cut to loginCap - 1
// characters) goes to `login` and the password, at most passCap / 2 - 1
// characters, to `process`, which writes its result into `out` (passCap
// bytes); returns 1. Cancel or the close box return 0 and touch nothing.
// The edits take no more characters than fit. Returns 0 at once when
// loginCap < 1 or passCap < 2.
int WolajDlgUzytkHaslo(HWND owner, char* login, int loginCap, char* out, int passCap,
                       void (*process)(const char* password, char* out));
INT_PTR CALLBACK ProcDlgUzytkHaslo(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// ---- Message boxes --------------------------------------------------------------------

// The library shows its boxes through this hook when one is set (null: the
// system's MessageBox). A host program routes them into its own seam.
typedef int (*WidgoraMessageHook)(HWND owner, const char* text, const char* caption, UINT type,
                                    void* context);
WidgoraMessageHook UstawHakKomunikatow(WidgoraMessageHook hook, void* context);

#ifdef __cplusplus
}
#endif

#endif  // WIDGORA_H
