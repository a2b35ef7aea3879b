// The print preview window ("podgladDruk"): its state, creation, layout,
// commands, keys, wheel and closing, its toolbar and status bar.

#include "pagora/preview_internal.h"

// ---- Preview window ---------------------------------------------------------------------------

namespace {

const KvToolButton kPrzyciski[] = {
    {0, IDM_PDGL_CALA, TBSTATE_ENABLED, BTNS_CHECKGROUP, "Complete view"},
    {1, IDM_PDGL_NATUR, TBSTATE_ENABLED | TBSTATE_CHECKED, BTNS_CHECKGROUP, "Natural size"},
    {2, IDM_PDGL_SZER, TBSTATE_ENABLED, BTNS_CHECKGROUP, "The maximum width"},
    {20, 0, 0, BTNS_SEP, nullptr},
    {3, IDM_PDGL_POCZATEK, TBSTATE_ENABLED, BTNS_BUTTON, "Back to beginning"},
    {4, IDM_PDGL_WSTECZ, TBSTATE_ENABLED, BTNS_BUTTON, "Back page"},
    {5, IDM_PDGL_DALEJ, TBSTATE_ENABLED, BTNS_BUTTON, "Next page"},
    {6, IDM_PDGL_KONIEC, TBSTATE_ENABLED, BTNS_BUTTON, "To the end"},
    {20, 0, 0, BTNS_SEP, nullptr},
    {7, IDM_PDGL_DRUKUJ, TBSTATE_ENABLED, BTNS_BUTTON, "Print"},
    {20, 0, 0, BTNS_SEP, nullptr},
    {8, IDM_PDGL_ZAMKNIJ, TBSTATE_ENABLED, BTNS_BUTTON, "Close"},
};

// What the preview's toolbar is made from; the pictures are tooltips only.
KvToolbarSetup UstawieniaPaska(HWND preview) {
    KvToolbarSetup setup = {};
    setup.instance = hInstDll;
    setup.parent = preview;
    setup.id = IDC_PDGL_PASEK;
    setup.style = TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP;
    setup.imagesId = IDB_PDGL_PASEK;
    setup.disabledImagesId = IDB_PDGL_PASEK_WYL;
    static_assert(IDB_PDGL_PASEK_WYL_200 == IDB_PDGL_PASEK_150 + 3, "the four larger strips in a row");
    setup.largerStripsId = IDB_PDGL_PASEK_150;
    setup.buttons = kPrzyciski;
    setup.buttonCount = (int)(sizeof kPrzyciski / sizeof kPrzyciski[0]);
    return setup;
}

// Frees the state; with the job's pages its own, deletes them too.
void ZwolnijStan(strPodgladDruk* p) {
    if (p->zad.strony) {
        // A preview that never came up did not take the pages over.
        if ((p->zad.flagi & PAGORA_STRONY_ZADANIA) && (p->flagi & PDGL_UTWORZONY)) {
            for (int i = 0; i < p->zad.liczbaStr; i++) {
                if (p->zad.strony[i]) DeleteEnhMetaFile(p->zad.strony[i]);
            }
        }
        Zwolnij(p->zad.strony);
    }
    Zwolnij(p);
}

// Step 1 of the creation: the state and the copies of the job and its page
// array. On failure the box is shown and nothing is left allocated.
strPodgladDruk* NowyStan(HWND hwnd, const strZadDruk* zad) {
    strPodgladDruk* p = (strPodgladDruk*)Alokuj(sizeof *p);
    HENHMETAFILE* pages = p ? (HENHMETAFILE*)Alokuj(sizeof(HENHMETAFILE) * zad->liczbaStr) : nullptr;
    if (!p || !pages) {
        PokazBladSys(nullptr, "Error of allocation of memory space");
        Zwolnij(pages);
        Zwolnij(p);
        return nullptr;
    }
    p->zad = *zad;
    p->zad.nazwa[PAGORA_NAZWA_DL - 1] = 0;
    memcpy(pages, zad->strony, sizeof(HENHMETAFILE) * zad->liczbaStr);
    p->zad.strony = pages;
    if (p->zad.biezStr < 0 || p->zad.biezStr >= p->zad.liczbaStr) p->zad.biezStr = 0;
    p->hOkno = hwnd;
    return p;
}

void Zmierz(strPodgladDruk* p, HWND hwnd) {
    ScopedWindowDC dc(hwnd);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    rozmCalLogX = GetDeviceCaps(dc, LOGPIXELSX);
    rozmCalLogY = GetDeviceCaps(dc, LOGPIXELSY);
    p->minSzer = 2 * GetSystemMetrics(SM_CXFRAME) + 45 * tm.tmAveCharWidth;
    p->minWys = GetSystemMetrics(SM_CYCAPTION) + 20 * tm.tmHeight + 2 * GetSystemMetrics(SM_CYFRAME);
}

int WysOkna(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r.bottom - r.top;
}

// A child window that could not be made fails the preview's creation: said
// in the same box as memory that could not be had, so that "Print" never
// ends in nothing.
LRESULT NieUtworzony() {
    if (GetLastError() == 0) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    PokazBladSys(nullptr, "Error of allocation of memory space");
    return -1;
}

LRESULT OnCreate(strPodgladDruk* p, HWND hwnd) {
    Zmierz(p, hwnd);
    p->hPasek = TworzPasekPodgladDruk(hwnd);
    p->hStatus = p->hPasek ? Dziecko(0, STATUSCLASSNAMEA, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, hwnd,
                                     IDC_PDGL_STATUS, nullptr)
                           : nullptr;
    if (!p->hPasek || !p->hStatus) return NieUtworzony();
    int parts[2] = {2 * p->minSzer, -1};
    SendMessageA(p->hStatus, SB_SETPARTS, 2, (LPARAM)parts);
    p->wysPasek = WysOkna(p->hPasek);
    p->wysStatus = WysOkna(p->hStatus);

    UstalRozmKrtCal(&p->kartaCal[0], &p->kartaCal[1], p->zad.formatStr);
    p->kartaMm[0] = (int)(MmForInch(nullptr, 1) * p->kartaCal[0] * 100 / 600);
    p->kartaMm[1] = (int)(MmForInch(nullptr, 0) * p->kartaCal[1] * 100 / 600);
    p->flagi = PDGL_ZOOM_NATUR;
    HWND owner = p->zad.wlasciciel;
    if (owner && IsWindow(owner) && IsWindowEnabled(owner)) p->flagi |= PDGL_RODZIC_AKTYW;
    if (Tryb(p) == PAGORA_TRYB_MODALNY && (p->flagi & PDGL_RODZIC_AKTYW)) {
        EnableWindow(owner, FALSE);
        p->flagi |= PDGL_RODZIC_WYL;
    }

    if (!TworzOknoObsRobPdglDruk(hwnd, 0, p->wysPasek)) return NieUtworzony();
    UstawDelteKolka(p);
    AktDeaktTB(p);
    AktNrStrStatus(p);
    p->flagi |= PDGL_UTWORZONY;
    return 0;
}

void OnSize(strPodgladDruk* p, int cx, int cy) {
    if (!p->hPasek) return;
    SendMessageA(p->hPasek, TB_AUTOSIZE, 0, 0);
    SendMessageA(p->hStatus, WM_SIZE, 0, 0);
    int first = cx / 2 < 2 * p->minSzer ? cx / 2 : 2 * p->minSzer;
    int parts[2] = {first, -1};
    SendMessageA(p->hStatus, SB_SETPARTS, 2, (LPARAM)parts);
    p->wysPasek = WysOkna(p->hPasek);
    p->wysStatus = WysOkna(p->hStatus);
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
        bar.setup = UstawieniaPaska(hwnd);
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
void Przewin(strPodgladDruk* p, bool vertical, int code) {
    if (!p->hObsRob) return;
    SendMessageA(p->hObsRob, vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, 0),
                 (LPARAM)(vertical ? p->hPionSb : p->hPoziomSb));
}

void Odswiez(strPodgladDruk* p) {
    AktDeaktTB(p);
    AktNrStrStatus(p);
}

void IdzDo(strPodgladDruk* p, int page) {
    p->zad.biezStr = page;
    Odswiez(p);
    Przewin(p, true, SB_TOP);
    InvalidateRect(p->hKarta, nullptr, TRUE);
}

void CmdZoom(strPodgladDruk* p, int mode, int id) {
    p->flagi = (p->flagi & ~(uint32_t)PDGL_ZOOM_MASKA) | (uint32_t)mode;
    for (int b = IDM_PDGL_CALA; b <= IDM_PDGL_SZER; b++)
        SendMessageA(p->hPasek, TB_CHECKBUTTON, b, MAKELPARAM(b == id, 0));
    RozmiescKrt(p);
    InvalidateRect(p->hObsRob, nullptr, TRUE);
    InvalidateRect(p->hKarta, nullptr, TRUE);
}

// The print pumps messages while it runs, so the preview can be destroyed
// under it (its owner closed): the state, the job and the pages it plays
// then stay until the print returns, and are freed here.
void CmdDrukuj(strPodgladDruk* p, HWND hwnd) {
    if (p->flagi & PDGL_DRUKUJE) return;  // one print of a job at a time
    p->flagi |= PDGL_DRUKUJE;
    const int ok = PagoraDoPrint(hwnd, &p->zad);
    const DWORD code = GetLastError();
    p->flagi &= ~(uint32_t)PDGL_DRUKUJE;
    if (p->flagi & PDGL_ZNISZCZONY) {
        ZwolnijStan(p);
        return;
    }
    if (ok == 0 && (p->zad.flagi & PAGORA_ZGLOS_BLAD)) {
        SetLastError(code);
        PokazBladSys(hwnd, "Error of printing");
    }
}

void OnCommand(strPodgladDruk* p, HWND hwnd, int id) {
    int last = p->zad.liczbaStr - 1;
    int cur = p->zad.biezStr;
    switch (id) {
        case IDM_PDGL_CALA: CmdZoom(p, PDGL_ZOOM_CALA, id); break;
        case IDM_PDGL_NATUR: CmdZoom(p, PDGL_ZOOM_NATUR, id); break;
        case IDM_PDGL_SZER: CmdZoom(p, PDGL_ZOOM_SZER, id); break;
        case IDM_PDGL_POCZATEK:
            if (cur > 0) IdzDo(p, 0);
            break;
        case IDM_PDGL_WSTECZ:
            if (cur > 0) IdzDo(p, cur - 1);
            break;
        case IDM_PDGL_DALEJ:
            if (cur < last) IdzDo(p, cur + 1);
            break;
        case IDM_PDGL_KONIEC:
            if (cur < last) IdzDo(p, last);
            break;
        case IDM_PDGL_DRUKUJ: CmdDrukuj(p, hwnd); break;
        case IDM_PDGL_ZAMKNIJ: PostMessageA(hwnd, WM_CLOSE, 0, 0); break;
    }
}

void OnKeyDown(strPodgladDruk* p, int key) {
    switch (key) {
        case VK_PRIOR:
            SendMessageA(p->hObsRob, UM_PDGL_STR_W_GORE, 0, 0);
            Odswiez(p);
            break;
        case VK_NEXT:
            SendMessageA(p->hObsRob, UM_PDGL_STR_W_DOL, 0, 0);
            Odswiez(p);
            break;
        case VK_HOME: Przewin(p, true, SB_TOP); break;
        case VK_END: Przewin(p, true, SB_BOTTOM); break;
        case VK_UP: Przewin(p, true, SB_LINEUP); break;
        case VK_DOWN: Przewin(p, true, SB_LINEDOWN); break;
        case VK_LEFT: Przewin(p, false, SB_LINELEFT); break;
        case VK_RIGHT: Przewin(p, false, SB_LINERIGHT); break;
        case VK_ESCAPE: PostMessageA(p->hOkno, WM_COMMAND, IDM_PDGL_ZAMKNIJ, 0); break;
        case 'P':
            if (GetKeyState(VK_CONTROL) < 0 && IsWindowEnabled(p->hOkno))
                PostMessageA(p->hOkno, WM_COMMAND, IDM_PDGL_DRUKUJ, 0);
            break;
    }
}

void OnMouseWheel(strPodgladDruk* p, int delta) {
    if (p->krokKolka == 0) return;
    const bool strona = (p->flagi & PDGL_KOLKO_STRONA) != 0;
    p->resztaKolka += delta;
    while (p->resztaKolka >= p->krokKolka) {
        Przewin(p, true, strona ? SB_PAGEUP : SB_LINEUP);
        p->resztaKolka -= p->krokKolka;
    }
    while (p->resztaKolka <= -p->krokKolka) {
        Przewin(p, true, strona ? SB_PAGEDOWN : SB_LINEDOWN);
        p->resztaKolka += p->krokKolka;
    }
}

// Gives the owner back what this preview took from it, once.
void OddajWlasciciela(strPodgladDruk* p) {
    if (!(p->flagi & PDGL_RODZIC_WYL)) return;
    p->flagi &= ~(uint32_t)PDGL_RODZIC_WYL;
    HWND owner = p->zad.wlasciciel;
    if (owner && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
        SetForegroundWindow(owner);
    }
}

void OnClose(strPodgladDruk* p, HWND hwnd) {
    OddajWlasciciela(p);  // before the window goes, so the owner is activated
    DestroyWindow(hwnd);
}

// The creation parameter is the caller's job: the state with its copies is
// made from it at WM_NCCREATE; without memory the creation fails.
strPodgladDruk* StanZJob(HWND hwnd, const CREATESTRUCTA* cs) {
    return NowyStan(hwnd, (const strZadDruk*)cs->lpCreateParams);
}

void OnNcDestroy(strPodgladDruk* p, HWND hwnd) {
    KvDetachState(hwnd);
    OddajWlasciciela(p);  // destroyed without a close, or a failed creation
    if (p->flagi & PDGL_DRUKUJE) {
        // The print below still plays this job's pages: stop it after the
        // page in progress; the print's caller frees the state.
        przerwijDruk = 1;
        p->flagi |= PDGL_ZNISZCZONY;
    } else {
        ZwolnijStan(p);
    }
}

}  // namespace

LRESULT CALLBACK ProcOknoPodgladDruk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    strPodgladDruk* p = KvWindowStateMadeAtCreation<strPodgladDruk>(hwnd, msg, lParam, StanZJob);
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
            if (p->hObsRob) ObsRobOnSysColor(p);
            return 0;
        case WM_CLOSE: OnClose(p, hwnd); return 0;
        case WM_DESTROY: ZamknijPasekPodgladDruk(p->hPasek); return 0;
        case WM_NCDESTROY: OnNcDestroy(p, hwnd); return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND TworzPasekPodgladDruk(HWND preview) {
    if (AwariaOkna()) return nullptr;
    const KvToolbarSetup setup = UstawieniaPaska(preview);
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
    if (lstrcmpiA(cls, TOOLBARCLASSNAMEA) != 0) toolbar = GetDlgItem(toolbar, IDC_PDGL_PASEK);  // the preview
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
    p->flagi &= ~(uint32_t)PDGL_KOLKO_STRONA;
    if (lines == 0) {
        p->krokKolka = 0;
    } else if (lines == WHEEL_PAGESCROLL || lines > (UINT)WHEEL_DELTA) {
        // A screen per notch: more lines than the wheel's delta would be
        // hundreds of line scrolls for one notch.
        p->krokKolka = WHEEL_DELTA;
        p->flagi |= PDGL_KOLKO_STRONA;
    } else {
        p->krokKolka = WHEEL_DELTA / (int)lines;
    }
}

void AktDeaktTB(strPodgladDruk* p) {
    if (!p || !p->hPasek) return;
    BOOL back = p->zad.biezStr > 0;
    BOOL next = p->zad.biezStr < p->zad.liczbaStr - 1;
    SendMessageA(p->hPasek, TB_ENABLEBUTTON, IDM_PDGL_POCZATEK, MAKELPARAM(back, 0));
    SendMessageA(p->hPasek, TB_ENABLEBUTTON, IDM_PDGL_WSTECZ, MAKELPARAM(back, 0));
    SendMessageA(p->hPasek, TB_ENABLEBUTTON, IDM_PDGL_DALEJ, MAKELPARAM(next, 0));
    SendMessageA(p->hPasek, TB_ENABLEBUTTON, IDM_PDGL_KONIEC, MAKELPARAM(next, 0));
}

void AktNrStrStatus(strPodgladDruk* p) {
    if (!p || !p->hStatus) return;
    char text[64];
    snprintf(text, sizeof text, "\t\tpage %d/%d                   ", p->zad.biezStr + 1, p->zad.liczbaStr);
    SendMessageA(p->hStatus, SB_SETTEXTA, 1, (LPARAM)text);
}
