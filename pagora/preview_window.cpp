// The print preview window ("podgladDruk"): its state, creation, layout,
// commands, keys, wheel and closing, its toolbar and status bar.

#include "pagora/preview_internal.h"

// ---- Preview window ---------------------------------------------------------------------------

namespace {

const KvToolButton kPreviewButtons[] = {
    {0, IDM_PREVIEW_COMPLETE, TBSTATE_ENABLED, BTNS_CHECKGROUP, "Complete view"},
    {1, IDM_PREVIEW_NATURAL, TBSTATE_ENABLED | TBSTATE_CHECKED, BTNS_CHECKGROUP, "Natural size"},
    {2, IDM_PREVIEW_WIDTH, TBSTATE_ENABLED, BTNS_CHECKGROUP, "The maximum width"},
    {20, 0, 0, BTNS_SEP, nullptr},
    {3, IDM_PREVIEW_FIRST, TBSTATE_ENABLED, BTNS_BUTTON, "Back to beginning"},
    {4, IDM_PREVIEW_BACK, TBSTATE_ENABLED, BTNS_BUTTON, "Back page"},
    {5, IDM_PREVIEW_NEXT, TBSTATE_ENABLED, BTNS_BUTTON, "Next page"},
    {6, IDM_PREVIEW_LAST, TBSTATE_ENABLED, BTNS_BUTTON, "To the end"},
    {20, 0, 0, BTNS_SEP, nullptr},
    {7, IDM_PREVIEW_PRINT, TBSTATE_ENABLED, BTNS_BUTTON, "Print"},
    {20, 0, 0, BTNS_SEP, nullptr},
    {8, IDM_PREVIEW_CLOSE, TBSTATE_ENABLED, BTNS_BUTTON, "Close"},
};

// What the preview's toolbar is made from; the pictures are tooltips only.
KvToolbarSetup ToolbarSettings(HWND preview) {
    KvToolbarSetup setup = {};
    setup.instance = hInstDll;
    setup.parent = preview;
    setup.id = IDC_PREVIEW_TOOLBAR;
    setup.style = TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP;
    setup.imagesId = IDB_PREVIEW_TOOLBAR;
    setup.disabledImagesId = IDB_PREVIEW_TOOLBAR_DISABLED;
    static_assert(IDB_PREVIEW_TOOLBAR_DISABLED_200 == IDB_PREVIEW_TOOLBAR_150 + 3, "the four larger strips in a row");
    setup.largerStripsId = IDB_PREVIEW_TOOLBAR_150;
    setup.buttons = kPreviewButtons;
    setup.buttonCount = (int)(sizeof kPreviewButtons / sizeof kPreviewButtons[0]);
    return setup;
}

// Frees the state; with the job's pages its own, deletes them too.
void FreeState(strPodgladDruk* p) {
    if (p->zad.strony) {
        // A preview that never came up did not take the pages over.
        if ((p->zad.flagi & PAGORA_JOB_OWNS_PAGES) && (p->flagi & PREVIEW_CREATED)) {
            for (int i = 0; i < p->zad.liczbaStr; i++) {
                if (p->zad.strony[i]) DeleteEnhMetaFile(p->zad.strony[i]);
            }
        }
        FreeBlock(p->zad.strony);
    }
    FreeBlock(p);
}

// Step 1 of the creation: the state and the copies of the job and its page
// array. On failure the box is shown and nothing is left allocated.
strPodgladDruk* NewState(HWND hwnd, const strZadDruk* zad) {
    strPodgladDruk* p = (strPodgladDruk*)Allocate(sizeof *p);
    HENHMETAFILE* pages = p ? (HENHMETAFILE*)Allocate(sizeof(HENHMETAFILE) * zad->liczbaStr) : nullptr;
    if (!p || !pages) {
        ShowLastSystemError(nullptr, "Error of allocation of memory space");
        FreeBlock(pages);
        FreeBlock(p);
        return nullptr;
    }
    p->zad = *zad;
    p->zad.nazwa[PAGORA_NAME_LEN - 1] = 0;
    memcpy(pages, zad->strony, sizeof(HENHMETAFILE) * zad->liczbaStr);
    p->zad.strony = pages;
    if (p->zad.biezStr < 0 || p->zad.biezStr >= p->zad.liczbaStr) p->zad.biezStr = 0;
    p->hOkno = hwnd;
    return p;
}

void Measure(strPodgladDruk* p, HWND hwnd) {
    ScopedWindowDC dc(hwnd);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    rozmCalLogX = GetDeviceCaps(dc, LOGPIXELSX);
    rozmCalLogY = GetDeviceCaps(dc, LOGPIXELSY);
    p->minSzer = 2 * GetSystemMetrics(SM_CXFRAME) + 45 * tm.tmAveCharWidth;
    p->minWys = GetSystemMetrics(SM_CYCAPTION) + 20 * tm.tmHeight + 2 * GetSystemMetrics(SM_CYFRAME);
}

int WindowHeight(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r.bottom - r.top;
}

// A child window that could not be made fails the preview's creation: said
// in the same box as memory that could not be had, so that "Print" never
// ends in nothing.
LRESULT CreationFailed() {
    if (GetLastError() == 0) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    ShowLastSystemError(nullptr, "Error of allocation of memory space");
    return -1;
}

LRESULT OnCreate(strPodgladDruk* p, HWND hwnd) {
    Measure(p, hwnd);
    p->hPasek = TworzPasekPodgladDruk(hwnd);
    p->hStatus = p->hPasek ? CreateChild(0, STATUSCLASSNAMEA, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, hwnd,
                                     IDC_PREVIEW_STATUS, nullptr)
                           : nullptr;
    if (!p->hPasek || !p->hStatus) return CreationFailed();
    int parts[2] = {2 * p->minSzer, -1};
    SendMessageA(p->hStatus, SB_SETPARTS, 2, (LPARAM)parts);
    p->wysPasek = WindowHeight(p->hPasek);
    p->wysStatus = WindowHeight(p->hStatus);

    UstalRozmKrtCal(&p->kartaCal[0], &p->kartaCal[1], p->zad.formatStr);
    p->kartaMm[0] = (int)(MmForInch(nullptr, 1) * p->kartaCal[0] * 100 / 600);
    p->kartaMm[1] = (int)(MmForInch(nullptr, 0) * p->kartaCal[1] * 100 / 600);
    p->flagi = PREVIEW_ZOOM_NATURAL;
    HWND owner = p->zad.wlasciciel;
    if (owner && IsWindow(owner) && IsWindowEnabled(owner)) p->flagi |= PREVIEW_OWNER_ENABLED;
    if (JobMode(p) == PAGORA_MODE_MODAL && (p->flagi & PREVIEW_OWNER_ENABLED)) {
        EnableWindow(owner, FALSE);
        p->flagi |= PREVIEW_OWNER_DISABLED;
    }

    if (!TworzOknoObsRobPdglDruk(hwnd, 0, p->wysPasek)) return CreationFailed();
    UstawDelteKolka(p);
    AktDeaktTB(p);
    AktNrStrStatus(p);
    p->flagi |= PREVIEW_CREATED;
    return 0;
}

void OnSize(strPodgladDruk* p, int cx, int cy) {
    if (!p->hPasek) return;
    SendMessageA(p->hPasek, TB_AUTOSIZE, 0, 0);
    SendMessageA(p->hStatus, WM_SIZE, 0, 0);
    int first = cx / 2 < 2 * p->minSzer ? cx / 2 : 2 * p->minSzer;
    int parts[2] = {first, -1};
    SendMessageA(p->hStatus, SB_SETPARTS, 2, (LPARAM)parts);
    p->wysPasek = WindowHeight(p->hPasek);
    p->wysStatus = WindowHeight(p->hStatus);
    if (p->hObsRob) {
        int h = cy - p->wysPasek - p->wysStatus;
        MoveWindow(p->hObsRob, 0, p->wysPasek, cx, h > 0 ? h : 0, TRUE);
    }
}

void OnMinMax(strPodgladDruk* p, MINMAXINFO* mm) {
    if (!p) return;  // comes before the state is attached
    mm->ptMinTrackSize.x = p->minSzer;
    mm->ptMinTrackSize.y = p->minWys;
}

// Moved to a monitor of another dpi: the inch of the display (the natural
// size is the card's inches at the new dpi), the smallest size, the
// toolbar's pictures, in the rectangle the system suggests.
void OnDpiChanged(strPodgladDruk* p, HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const int dpi = KvDpiOfDpiChanged(wParam);
    const int old = rozmCalLogY > 0 ? rozmCalLogY : kKvBaseDpi;
    p->minSzer = MulDiv(p->minSzer, dpi, old);
    p->minWys = MulDiv(p->minWys, dpi, old);
    rozmCalLogX = rozmCalLogY = dpi;
    if (p->hPasek) {
        // The lists are the toolbar's: lent to the record for the change and
        // left with the toolbar again.
        KvToolbar bar;
        bar.hwnd = p->hPasek;
        bar.setup = ToolbarSettings(hwnd);
        bar.images.reset((HIMAGELIST)SendMessageA(p->hPasek, TB_GETIMAGELIST, 0, 0));
        bar.disabledImages.reset((HIMAGELIST)SendMessageA(p->hPasek, TB_GETDISABLEDIMAGELIST, 0, 0));
        KvToolbarApplyDpi(&bar, dpi);
        bar.images.release();
        bar.disabledImages.release();
    }
    KvTakeSuggestedRect(hwnd, lParam);
    RECT client;
    GetClientRect(hwnd, &client);
    OnSize(p, client.right, client.bottom);
    if (p->hObsRob) RozmiescKrt(p);
}

// Scrolls the work window as its bar would.
void ScrollWorkArea(strPodgladDruk* p, bool vertical, int code) {
    if (!p->hObsRob) return;
    SendMessageA(p->hObsRob, vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, 0),
                 (LPARAM)(vertical ? p->hPionSb : p->hPoziomSb));
}

void RefreshPageControls(strPodgladDruk* p) {
    AktDeaktTB(p);
    AktNrStrStatus(p);
}

void IdzDo(strPodgladDruk* p, int page) {
    p->zad.biezStr = page;
    RefreshPageControls(p);
    ScrollWorkArea(p, true, SB_TOP);
    InvalidateRect(p->hKarta, nullptr, TRUE);
}

void CmdZoom(strPodgladDruk* p, int mode, int id) {
    p->flagi = (p->flagi & ~(uint32_t)PREVIEW_ZOOM_MASK) | (uint32_t)mode;
    for (int b = IDM_PREVIEW_COMPLETE; b <= IDM_PREVIEW_WIDTH; b++)
        SendMessageA(p->hPasek, TB_CHECKBUTTON, b, MAKELPARAM(b == id, 0));
    RozmiescKrt(p);
    InvalidateRect(p->hObsRob, nullptr, TRUE);
    InvalidateRect(p->hKarta, nullptr, TRUE);
}

// The print pumps messages while it runs, so the preview can be destroyed
// under it (its owner closed): the state, the job and the pages it plays
// then stay until the print returns, and are freed here.
void CmdPreviewPrint(strPodgladDruk* p, HWND hwnd) {
    if (p->flagi & PREVIEW_PRINTING) return;  // one print of a job at a time
    p->flagi |= PREVIEW_PRINTING;
    const int ok = PagoraDoPrint(hwnd, &p->zad);
    const DWORD code = GetLastError();
    p->flagi &= ~(uint32_t)PREVIEW_PRINTING;
    if (p->flagi & PREVIEW_DESTROYED) {
        FreeState(p);
        return;
    }
    if (ok == 0 && (p->zad.flagi & PAGORA_REPORT_ERROR)) {
        SetLastError(code);
        ShowLastSystemError(hwnd, "Error of printing");
    }
}

void OnCommand(strPodgladDruk* p, HWND hwnd, int id) {
    int last = p->zad.liczbaStr - 1;
    int cur = p->zad.biezStr;
    switch (id) {
        case IDM_PREVIEW_COMPLETE: CmdZoom(p, PREVIEW_ZOOM_COMPLETE, id); break;
        case IDM_PREVIEW_NATURAL: CmdZoom(p, PREVIEW_ZOOM_NATURAL, id); break;
        case IDM_PREVIEW_WIDTH: CmdZoom(p, PREVIEW_ZOOM_WIDTH, id); break;
        case IDM_PREVIEW_FIRST:
            if (cur > 0) IdzDo(p, 0);
            break;
        case IDM_PREVIEW_BACK:
            if (cur > 0) IdzDo(p, cur - 1);
            break;
        case IDM_PREVIEW_NEXT:
            if (cur < last) IdzDo(p, cur + 1);
            break;
        case IDM_PREVIEW_LAST:
            if (cur < last) IdzDo(p, last);
            break;
        case IDM_PREVIEW_PRINT: CmdPreviewPrint(p, hwnd); break;
        case IDM_PREVIEW_CLOSE: PostMessageA(hwnd, WM_CLOSE, 0, 0); break;
    }
}

void OnKeyDown(strPodgladDruk* p, int key) {
    switch (key) {
        case VK_PRIOR:
            SendMessageA(p->hObsRob, UM_PDGL_STR_W_GORE, 0, 0);
            RefreshPageControls(p);
            break;
        case VK_NEXT:
            SendMessageA(p->hObsRob, UM_PDGL_STR_W_DOL, 0, 0);
            RefreshPageControls(p);
            break;
        case VK_HOME: ScrollWorkArea(p, true, SB_TOP); break;
        case VK_END: ScrollWorkArea(p, true, SB_BOTTOM); break;
        case VK_UP: ScrollWorkArea(p, true, SB_LINEUP); break;
        case VK_DOWN: ScrollWorkArea(p, true, SB_LINEDOWN); break;
        case VK_LEFT: ScrollWorkArea(p, false, SB_LINELEFT); break;
        case VK_RIGHT: ScrollWorkArea(p, false, SB_LINERIGHT); break;
        case VK_ESCAPE: PostMessageA(p->hOkno, WM_COMMAND, IDM_PREVIEW_CLOSE, 0); break;
        case 'P':
            if (GetKeyState(VK_CONTROL) < 0 && IsWindowEnabled(p->hOkno))
                PostMessageA(p->hOkno, WM_COMMAND, IDM_PREVIEW_PRINT, 0);
            break;
    }
}

void OnMouseWheel(strPodgladDruk* p, int delta) {
    if (p->krokKolka == 0) return;
    const bool strona = (p->flagi & PREVIEW_WHEEL_PAGE) != 0;
    p->resztaKolka += delta;
    while (p->resztaKolka >= p->krokKolka) {
        ScrollWorkArea(p, true, strona ? SB_PAGEUP : SB_LINEUP);
        p->resztaKolka -= p->krokKolka;
    }
    while (p->resztaKolka <= -p->krokKolka) {
        ScrollWorkArea(p, true, strona ? SB_PAGEDOWN : SB_LINEDOWN);
        p->resztaKolka += p->krokKolka;
    }
}

// Gives the owner back what this preview took from it, once.
void ReenableOwner(strPodgladDruk* p) {
    if (!(p->flagi & PREVIEW_OWNER_DISABLED)) return;
    p->flagi &= ~(uint32_t)PREVIEW_OWNER_DISABLED;
    HWND owner = p->zad.wlasciciel;
    if (owner && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
        SetForegroundWindow(owner);
    }
}

void OnClose(strPodgladDruk* p, HWND hwnd) {
    ReenableOwner(p);  // before the window goes, so the owner is activated
    DestroyWindow(hwnd);
}

// The creation parameter is the caller's job: the state with its copies is
// made from it at WM_NCCREATE; without memory the creation fails.
strPodgladDruk* StateFromJob(HWND hwnd, const CREATESTRUCTA* cs) {
    return NewState(hwnd, (const strZadDruk*)cs->lpCreateParams);
}

void OnNcDestroy(strPodgladDruk* p, HWND hwnd) {
    KvDetachState(hwnd);
    ReenableOwner(p);  // destroyed without a close, or a failed creation
    if (p->flagi & PREVIEW_PRINTING) {
        // The print below still plays this job's pages: stop it after the
        // page in progress; the print's caller frees the state.
        przerwijDruk = 1;
        p->flagi |= PREVIEW_DESTROYED;
    } else {
        FreeState(p);
    }
}

}  // namespace

LRESULT CALLBACK ProcOknoPodgladDruk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    strPodgladDruk* p = KvWindowStateMadeAtCreation<strPodgladDruk>(hwnd, msg, lParam, StateFromJob);
    if (msg == WM_GETMINMAXINFO) {
        OnMinMax(p, (MINMAXINFO*)lParam);
        return 0;
    }
    if (!p) return msg == WM_NCCREATE ? FALSE : DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_CREATE: return OnCreate(p, hwnd);
        case WM_SIZE: OnSize(p, LOWORD(lParam), HIWORD(lParam)); return 0;
        case WM_DPICHANGED: OnDpiChanged(p, hwnd, wParam, lParam); return 0;
        case WM_COMMAND: OnCommand(p, hwnd, LOWORD(wParam)); return 0;
        case WM_KEYDOWN: OnKeyDown(p, (int)wParam); return 0;
        case WM_MOUSEWHEEL: OnMouseWheel(p, GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
        case WM_SETTINGCHANGE: UstawDelteKolka(p); return 0;
        case WM_SYSCOLORCHANGE:
            if (p->hObsRob) WorkAreaOnSysColor(p);
            return 0;
        case WM_CLOSE: OnClose(p, hwnd); return 0;
        case WM_DESTROY: ZamknijPasekPodgladDruk(p->hPasek); return 0;
        case WM_NCDESTROY: OnNcDestroy(p, hwnd); return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND TworzPasekPodgladDruk(HWND preview) {
    if (ShouldFailWindow()) return nullptr;
    const KvToolbarSetup setup = ToolbarSettings(preview);
    KvToolbar pasek;
    if (!KvCreateToolbar(setup, &pasek)) return nullptr;
    // The texts are tooltips only. The image lists stay with the toolbar
    // until ZamknijPasekPodgladDruk takes them back.
    SendMessageA(pasek.hwnd, TB_SETMAXTEXTROWS, 0, 0);
    SendMessageA(pasek.hwnd, TB_AUTOSIZE, 0, 0);
    pasek.images.release();
    pasek.disabledImages.release();
    return pasek.hwnd;
}

void ZamknijPasekPodgladDruk(HWND toolbar) {
    if (!toolbar || !IsWindow(toolbar)) return;
    char cls[32] = "";
    GetClassNameA(toolbar, cls, sizeof cls);
    if (lstrcmpiA(cls, TOOLBARCLASSNAMEA) != 0) toolbar = GetDlgItem(toolbar, IDC_PREVIEW_TOOLBAR);  // the preview
    if (!toolbar) return;
    HIMAGELIST images = (HIMAGELIST)SendMessageA(toolbar, TB_SETIMAGELIST, 0, 0);
    HIMAGELIST greyed = (HIMAGELIST)SendMessageA(toolbar, TB_SETDISABLEDIMAGELIST, 0, 0);
    if (images) ImageList_Destroy(images);
    if (greyed) ImageList_Destroy(greyed);
}

void UstawDelteKolka(strPodgladDruk* p) {
    if (!p) return;
    UINT lines = 0;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    p->resztaKolka = 0;
    p->flagi &= ~(uint32_t)PREVIEW_WHEEL_PAGE;
    if (lines == 0) {
        p->krokKolka = 0;
    } else if (lines == WHEEL_PAGESCROLL || lines > (UINT)WHEEL_DELTA) {
        // A screen per notch: more lines than the wheel's delta would be
        // hundreds of line scrolls for one notch.
        p->krokKolka = WHEEL_DELTA;
        p->flagi |= PREVIEW_WHEEL_PAGE;
    } else {
        p->krokKolka = WHEEL_DELTA / (int)lines;
    }
}

void AktDeaktTB(strPodgladDruk* p) {
    if (!p || !p->hPasek) return;
    BOOL back = p->zad.biezStr > 0;
    BOOL next = p->zad.biezStr < p->zad.liczbaStr - 1;
    SendMessageA(p->hPasek, TB_ENABLEBUTTON, IDM_PREVIEW_FIRST, MAKELPARAM(back, 0));
    SendMessageA(p->hPasek, TB_ENABLEBUTTON, IDM_PREVIEW_BACK, MAKELPARAM(back, 0));
    SendMessageA(p->hPasek, TB_ENABLEBUTTON, IDM_PREVIEW_NEXT, MAKELPARAM(next, 0));
    SendMessageA(p->hPasek, TB_ENABLEBUTTON, IDM_PREVIEW_LAST, MAKELPARAM(next, 0));
}

void AktNrStrStatus(strPodgladDruk* p) {
    if (!p || !p->hStatus) return;
    char text[64];
    snprintf(text, sizeof text, "\t\tpage %d/%d                   ", p->zad.biezStr + 1, p->zad.liczbaStr);
    SendMessageA(p->hStatus, SB_SETTEXTA, 1, (LPARAM)text);
}
