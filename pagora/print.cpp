// The print job: the print dialog, the progress dialog with Cancel, the
// abort procedure and the page loop; the page and inch measures.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <stdio.h>
#include <string.h>

#include "pagora/pagora.h"
#include "pagora/pagora_rc.h"
#include "util/msgbox_win.h"

extern "C" {
HWND hDlgPostep;
int czyAktywRodzic;
int przerwijDruk;
int rozmCalLogX;
int rozmCalLogY;
}

namespace {

// Enables the owner that the running job disabled, once: whoever ends the
// job first (Cancel or the end of the loop) does it, the other finds 0.
void ReenableJobOwner(HWND owner) {
    if (czyAktywRodzic != 1) return;
    czyAktywRodzic = 0;
    if (owner && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
        SetForegroundWindow(owner);
    }
}

// The page of the job printed as the i-th sheet (0-based) of `copies`
// copies of `pages` pages starting at page index `first`.
int PageIndex(int i, int first, int pages, int copies, bool collate) {
    return first + (collate ? i % pages : i / copies);
}

struct PrintRange {
    int first;   // 0-based index of the first page printed
    int pages;   // P
    int copies;  // C
    bool collate;
};

// The range, copies and order the user chose, kept inside the job's pages.
PrintRange RangeFromDialog(const PRINTDLGA& pd, int count) {
    PrintRange z;
    z.first = 0;
    z.pages = count;
    if (pd.Flags & PD_PAGENUMS) {
        int from = pd.nFromPage < 1 ? 1 : pd.nFromPage;
        int to = pd.nToPage > count ? count : pd.nToPage;
        if (to < from) to = from;
        z.first = from - 1;
        z.pages = to - from + 1;
    }
    z.copies = pd.nCopies < 1 ? 1 : pd.nCopies;
    z.collate = (pd.Flags & PD_COLLATE) != 0;
    return z;
}

// The page loop between StartDoc and EndDoc. Returns 0 when a page call
// failed (and leaves the system's code as the last error), else 1.
int PrintPages(HDC dc, const strZadDruk* zad, const PrintRange& z) {
    RECT page = {0, 0, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES)};
    int total = z.copies * z.pages;
    for (int i = 0; i < total; i++) {
        if (StartPage(dc) <= 0) return przerwijDruk ? 1 : 0;
        int idx = PageIndex(i, z.first, z.pages, z.copies, z.collate);
        PlayEnhMetaFile(dc, zad->strony[idx], &page);
        if (EndPage(dc) <= 0) return przerwijDruk ? 1 : 0;
        // Not every spooler calls the abort procedure while pages are made
        // (Wine's calls it only when the document starts): the loop calls
        // it after each page, so the bar moves and Cancel is heard.
        ProcPrzerywDruk(dc, 0);
        if (przerwijDruk) break;
    }
    return 1;
}

}  // namespace

extern "C" {

strZadDruk* PagoraInitializePagoraprint(strZadDruk* zad) {
    if (!zad) return zad;
    zad->wlasciciel = nullptr;
    zad->formatStr = 0;
    zad->liczbaStr = 0;
    zad->biezStr = 0;
    zad->nazwa[0] = 0;
    zad->strony = nullptr;
    zad->zarezerw = 0;
    zad->flagi = 0;
    return zad;
}

int PagoraPrint(HWND owner, strZadDruk* zad, int mode, int extra) {
    if (!zad) return 0;
    zad->flagi = (zad->flagi & ~(uint32_t)PAGORA_MODE_MASK) | (uint32_t)mode;
    zad->flagi = (zad->flagi & ~(uint32_t)0x04) | (uint32_t)extra;
    if (zad->flagi & PAGORA_MODE_MASK) return PodgladDruku(zad);
    int result = PagoraDoPrint(owner, zad);
    if (result == 0 && (zad->flagi & PAGORA_REPORT_ERROR)) {
        KvShowSystemError(nullptr, "Error of printing", GetLastError());
    }
    return result;
}

int PagoraDoPrint(HWND owner, strZadDruk* zad) {
    if (!zad || zad->liczbaStr < 1 || !zad->strony) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    for (int i = 0; i < zad->liczbaStr; i++) {
        if (!zad->strony[i]) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    }
    // The program prints every copy itself, in the order the user chose:
    // the driver is never asked for copies (a PDF queue would drop them).
    PRINTDLGA pd;
    memset(&pd, 0, sizeof pd);
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_HIDEPRINTTOFILE | PD_COLLATE;
    pd.nFromPage = 1;
    pd.nToPage = (WORD)zad->liczbaStr;
    pd.nMinPage = 1;
    pd.nMaxPage = (WORD)zad->liczbaStr;
    pd.nCopies = 1;
    bool ownerWasEnabled = owner && IsWindow(owner) && IsWindowEnabled(owner);
    BOOL chosen = PrintDlgA(&pd);
    // Some print dialogs enable their owner on the way out whatever it was
    // before: an owner that came disabled must stay so.
    if (owner && IsWindow(owner) && !ownerWasEnabled) EnableWindow(owner, FALSE);
    DWORD dialogError = chosen ? 0 : CommDlgExtendedError();
    if (pd.hDevMode) GlobalFree(pd.hDevMode);
    if (pd.hDevNames) GlobalFree(pd.hDevNames);
    if (!chosen) {
        // Cancelled by the user: nothing to do. A dialog that could not run
        // (no printer at all) is a failure, not a cancel.
        if (dialogError == 0) return 1;
        if (pd.hDC) DeleteDC(pd.hDC);
        SetLastError(ERROR_INVALID_PRINTER_NAME);
        return 0;
    }
    HDC dc = pd.hDC;
    if (!dc) {
        SetLastError(ERROR_INVALID_PRINTER_NAME);
        return 0;
    }

    if (owner && IsWindow(owner) && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        czyAktywRodzic = 1;
    } else {
        czyAktywRodzic = 0;
    }
    przerwijDruk = 0;

    PrintRange z = RangeFromDialog(pd, zad->liczbaStr);
    int total = z.copies * z.pages;
    hDlgPostep = CreateDialogParamA(hInstDll, MAKEINTRESOURCEA(IDD_DLG_PRINT_PROGRESS), owner, ProcDlgPostepDruk,
                                    (LPARAM)total);
    SetAbortProc(dc, ProcPrzerywDruk);

    int result = 1;
    DWORD error = 0;
    DOCINFOA di;
    memset(&di, 0, sizeof di);
    di.cbSize = sizeof di;
    di.lpszDocName = zad->nazwa;
    bool started = StartDocA(dc, &di) > 0;
    if (!started) {
        error = GetLastError();
        result = 0;
    } else {
        result = PrintPages(dc, zad, z);
        if (!result) error = GetLastError();
    }
    if (started) {
        // A cancelled job is abandoned in the spooler: ending it would hand
        // the printer the pages made so far as a document of its own.
        if (przerwijDruk || !result) {
            AbortDoc(dc);
        } else if (EndDoc(dc) <= 0) {
            error = GetLastError();
            result = 0;
        }
    }
    ReenableJobOwner(owner);
    if (hDlgPostep) {
        DestroyWindow(hDlgPostep);
        hDlgPostep = nullptr;
    }
    DeleteDC(dc);
    // A job the user cancelled is not a failure, whichever call saw it.
    if (przerwijDruk) return 1;
    if (!result) SetLastError(error ? error : ERROR_GEN_FAILURE);
    return result;
}

INT_PTR CALLBACK ProcDlgPostepDruk(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            SendDlgItemMessageA(dlg, IDC_PRINT_PROGRESS, PBM_SETRANGE32, 0, lParam);
            SendDlgItemMessageA(dlg, IDC_PRINT_PROGRESS, PBM_SETPOS, 0, 0);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) PostMessageA(dlg, WM_CLOSE, 0, 0);
            return TRUE;
        case WM_CLOSE:
            przerwijDruk = 1;
            hDlgPostep = nullptr;
            ReenableJobOwner(GetParent(dlg));
            DestroyWindow(dlg);
            return TRUE;
        case WM_DESTROY:
            // Destroyed with its owner, without a close: the job must not
            // talk to a window that is gone.
            if (hDlgPostep == dlg) hDlgPostep = nullptr;
            return FALSE;
    }
    return FALSE;
}

BOOL CALLBACK ProcPrzerywDruk(HDC, int) {
    if (hDlgPostep) SendDlgItemMessageA(hDlgPostep, IDC_PRINT_PROGRESS, PBM_DELTAPOS, 1, 0);
    MSG m;
    while (!przerwijDruk && PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {  // belongs to the loop that runs us
            PostQuitMessage((int)m.wParam);
            break;
        }
        if (!hDlgPostep || !IsDialogMessageA(hDlgPostep, &m)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
    return !przerwijDruk;
}

float MmForInch(HDC dc, int horizontal) {
    OSVERSIONINFOA vi;
    memset(&vi, 0, sizeof vi);
    vi.dwOSVersionInfoSize = sizeof vi;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExA(&vi) && vi.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) return 25.4f;
#pragma GCC diagnostic pop
    HDC ic = dc ? dc : CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    if (!ic) return 25.4f;
    int mm = GetDeviceCaps(ic, horizontal ? HORZSIZE : VERTSIZE);
    int px = GetDeviceCaps(ic, horizontal ? HORZRES : VERTRES);
    int dpi = GetDeviceCaps(ic, horizontal ? LOGPIXELSX : LOGPIXELSY);
    if (!dc) DeleteDC(ic);
    return PagoraMmNaCal(mm, px, dpi);
}

void UstalRozmKrtCal(int* width, int* height, int) {
    if (width) *width = 5100;
    if (height) *height = 6600;
}

}  // extern "C"
