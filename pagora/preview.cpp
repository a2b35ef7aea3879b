// The print preview window: one page of the job on a white card with a
// shadow, in three zoom modes, turned by toolbar, keys and wheel, and
// printed through PagoraDoPrint.
//
// Three windows: the preview ("podgladDruk": toolbar, status bar, work
// window), the work window ("obsRobPdglDruk": the card, two scroll bars and
// the corner filler) and the card ("pdglDrukKrt": plays the page). All three
// share the preview's one state record, allocated from the library's heap
// because a modeless preview outlives the call that opened it.
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include "pagora/pagora.h"
#include "pagora/pagora_rc.h"
#include "util/modal_loop_win.h"
#include "util/msgbox_win.h"
#include "util/scoped_win.h"
#include "util/toolbar_win.h"
#include "util/window_win.h"

namespace {

const char kKlasaPodglad[] = "podgladDruk";
const char kKlasaObsRob[] = "obsRobPdglDruk";
const char kKlasaKarta[] = "pdglDrukKrt";

int g_awariaAlokacji;  // test seam: the n-th next allocation fails (0 none)
int g_awariaOkna;      // test seam: the n-th next child window fails (0 none)

// True when the test seam fails the child window being made now.
bool AwariaOkna() {
    if (g_awariaOkna > 0 && --g_awariaOkna == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return true;
    }
    return false;
}

// Every child window of a preview is made here or passes the seam above, so
// that a test can fail one.
HWND Dziecko(DWORD exStyle, const char* cls, DWORD style, int x, int y, HWND parent, int id, void* param) {
    if (AwariaOkna()) return nullptr;
    return CreateWindowExA(exStyle, cls, "", style, x, y, 0, 0, parent, (HMENU)(INT_PTR)id, hInstDll, param);
}

void* Alokuj(size_t bytes) {
    if (g_awariaAlokacji > 0 && --g_awariaAlokacji == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    void* m = hHeapDll ? HeapAlloc(hHeapDll, HEAP_ZERO_MEMORY, bytes) : nullptr;
    if (!m) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return m;
}

void Zwolnij(void* m) {
    if (m) HeapFree(hHeapDll, 0, m);
}

void PokazBladSys(HWND owner, const char* what) { KvShowSystemError(owner, what, GetLastError()); }

strPodgladDruk* Stan(HWND hwnd) { return (strPodgladDruk*)GetWindowLongPtrA(hwnd, GWLP_USERDATA); }

int Tryb(const strPodgladDruk* p) { return (int)(p->zad.flagi & PAGORA_TRYB_MASKA); }
int Zoom(const strPodgladDruk* p) { return (int)(p->flagi & PDGL_ZOOM_MASKA); }

// One scroll unit is a quarter inch of the display.
int JednX() { return rozmCalLogX / 4 > 0 ? rozmCalLogX / 4 : 1; }
int JednY() { return rozmCalLogY / 4 > 0 ? rozmCalLogY / 4 : 1; }

// ---- Work window: scrolling and turning pages -------------------------------------

SCROLLINFO InfoPaska(HWND bar) {
    SCROLLINFO si;
    memset(&si, 0, sizeof si);
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(bar, SB_CTL, &si);
    return si;
}

// The last position the bar allows.
int Dol(const SCROLLINFO& si) {
    int page = si.nPage > 0 ? (int)si.nPage : 1;
    int bottom = si.nMax - page + 1;
    return bottom < si.nMin ? si.nMin : bottom;
}

// Puts the card at its position less the scrolled distance.
void PrzesunKarte(strPodgladDruk* p) {
    int h = GetScrollPos(p->hPoziomSb, SB_CTL);
    int v = GetScrollPos(p->hPionSb, SB_CTL);
    MoveWindow(p->hKarta, p->kartaPoz.x - JednX() * h, p->kartaPoz.y - JednY() * v, p->kartaPx.cx,
               p->kartaPx.cy, TRUE);
    InvalidateRect(p->hObsRob, nullptr, TRUE);
}

void UstawPoz(strPodgladDruk* p, HWND bar, int pos) {
    SCROLLINFO si;
    memset(&si, 0, sizeof si);
    si.cbSize = sizeof si;
    si.fMask = SIF_POS;
    si.nPos = pos;
    SetScrollInfo(bar, SB_CTL, &si, TRUE);  // the bar clamps it
    PrzesunKarte(p);
}

void OnScroll(strPodgladDruk* p, HWND bar, int code) {
    if (bar != p->hPionSb && bar != p->hPoziomSb) return;
    SCROLLINFO si = InfoPaska(bar);
    int pos = si.nPos;
    switch (code) {
        case SB_LINEUP: pos -= 1; break;
        case SB_LINEDOWN: pos += 1; break;
        case SB_PAGEUP: pos -= (int)si.nPage; break;
        case SB_PAGEDOWN: pos += (int)si.nPage; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = si.nTrackPos; break;
        case SB_TOP: if (bar == p->hPionSb) pos = si.nMin; break;
        case SB_BOTTOM: if (bar == p->hPionSb) pos = si.nMax; break;
        default: return;
    }
    UstawPoz(p, bar, pos);
}

void NowaStrona(strPodgladDruk* p, int page, int pos) {
    p->zad.biezStr = page;
    UstawPoz(p, p->hPionSb, pos);
    InvalidateRect(p->hKarta, nullptr, TRUE);
}

void OnStronaWGore(strPodgladDruk* p) {
    SCROLLINFO si = InfoPaska(p->hPionSb);
    if (si.nPos <= si.nMin) {
        if (p->zad.biezStr > 0) NowaStrona(p, p->zad.biezStr - 1, Dol(si));
    } else {
        OnScroll(p, p->hPionSb, SB_PAGEUP);
    }
}

void OnStronaWDol(strPodgladDruk* p) {
    SCROLLINFO si = InfoPaska(p->hPionSb);
    if (si.nPos >= Dol(si)) {
        if (p->zad.biezStr < p->zad.liczbaStr - 1) NowaStrona(p, p->zad.biezStr + 1, si.nMin);
    } else {
        OnScroll(p, p->hPionSb, SB_PAGEDOWN);
    }
}

// ---- Work window: layout ---------------------------------------------------------------

struct Obszar {
    int w, h;  // available area, pixels (the client less one bar each way)
};

// The card's isotropic mapping for the zoom mode: viewport extent and origin.
void UstawMapowanie(strPodgladDruk* p, const Obszar& a) {
    int dx = rozmCalLogX, dy = rozmCalLogY;
    switch (Zoom(p)) {
        case PDGL_ZOOM_CALA:
            p->vpExt.cx = a.w - dx / 2;
            p->vpExt.cy = a.h - dy / 2;
            break;
        case PDGL_ZOOM_NATUR:
            // The true sheet: 5100/600 is 8.5 inches, not 8.
            p->vpExt.cx = (int)((long long)p->kartaCal[0] * dx / 600);
            p->vpExt.cy = (int)((long long)p->kartaCal[1] * dy / 600);
            break;
        default:
            p->vpExt.cx = a.w - dx / 2;
            p->vpExt.cy = 11 * dy * 10;
            break;
    }
    // A window smaller than the margins would flip the mapping.
    if (p->vpExt.cx < 1) p->vpExt.cx = 1;
    if (p->vpExt.cy < 1) p->vpExt.cy = 1;
}

// The isotropic mapping of the card (window extent kartaCal) into the
// viewport extent: one scale for both axes, the smaller of the two, in
// exact integer arithmetic so that the natural size is the true sheet.
void MapujKarte(strPodgladDruk* p, const Obszar& a) {
    long long wx = p->kartaCal[0], wy = p->kartaCal[1];
    long long vx = p->vpExt.cx, vy = p->vpExt.cy;
    if (vx * wy <= vy * wx) {
        p->kartaPx.cx = (int)vx;
        p->kartaPx.cy = (int)((wy * vx + wx / 2) / wx);
    } else {
        p->kartaPx.cy = (int)vy;
        p->kartaPx.cx = (int)((wx * vy + wy / 2) / wy);
    }
    p->vpOrg.x = a.w / 2;
    p->vpOrg.y = Zoom(p) == PDGL_ZOOM_SZER ? rozmCalLogY / 4 + p->kartaPx.cy / 2 : a.h / 2;
    int x = p->vpOrg.x - p->kartaPx.cx / 2, y = p->vpOrg.y - p->kartaPx.cy / 2;
    p->kartaPoz.x = x < 0 ? 0 : x;
    p->kartaPoz.y = y < 0 ? 0 : y;
}

// Range, page and position of one bar; returns whether it is needed.
bool UstawPasek(strPodgladDruk* p, HWND bar, int cardPx, int dpi, int unit, int avail) {
    int margin = Zoom(p) == PDGL_ZOOM_NATUR ? dpi / 8 : dpi / 4;
    int steps = (cardPx + margin) / unit;
    int page = avail > 0 ? avail / unit : 0;
    SCROLLINFO old = InfoPaska(bar);
    SCROLLINFO si;
    memset(&si, 0, sizeof si);
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    si.nMin = 0;
    si.nMax = steps;
    si.nPage = (UINT)page;
    bool needed = steps >= page;
    si.nPos = needed && old.nMax > 0 ? (int)((long long)old.nPos * steps / old.nMax) : 0;
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    return needed;
}

}  // namespace

extern "C" {

void RozmiescKrt(strPodgladDruk* p) {
    if (!p || !p->hObsRob) return;
    RECT rc;
    GetClientRect(p->hObsRob, &rc);
    int sbW = GetSystemMetrics(SM_CXVSCROLL), sbH = GetSystemMetrics(SM_CYHSCROLL);
    Obszar a = {rc.right - sbW, rc.bottom - sbH};
    if (a.w < 0) a.w = 0;
    if (a.h < 0) a.h = 0;
    UstawMapowanie(p, a);
    MapujKarte(p, a);

    bool poziom = UstawPasek(p, p->hPoziomSb, p->kartaPx.cx, rozmCalLogX, JednX(), a.w);
    bool pion = UstawPasek(p, p->hPionSb, p->kartaPx.cy, rozmCalLogY, JednY(), a.h);
    p->flagi = (p->flagi & ~(uint32_t)(PDGL_POZIOM_PASEK | PDGL_PION_PASEK)) |
               (poziom ? PDGL_POZIOM_PASEK : 0) | (pion ? PDGL_PION_PASEK : 0);

    MoveWindow(p->hPionSb, a.w, 0, sbW, a.h + (poziom ? 0 : sbH), TRUE);
    MoveWindow(p->hPoziomSb, 0, a.h, a.w + (pion ? 0 : sbW), sbH, TRUE);
    MoveWindow(p->hRog, a.w, a.h, sbW, sbH, TRUE);
    ShowWindow(p->hPionSb, pion ? SW_SHOW : SW_HIDE);
    ShowWindow(p->hPoziomSb, poziom ? SW_SHOW : SW_HIDE);
    ShowWindow(p->hRog, pion && poziom ? SW_SHOW : SW_HIDE);
    PrzesunKarte(p);
}

}  // extern "C"

namespace {

// The card's shadow: three lines along its right and bottom edges.
void PaintCien(HDC dc, const strPodgladDruk* p, const RECT& card) {
    ScopedSelect pen(dc, p->piorCien);
    for (int k = 0; k < 3; k++) {
        MoveToEx(dc, card.right + k, card.top + 2 + k, nullptr);
        LineTo(dc, card.right + k, card.bottom + k + 1);
        MoveToEx(dc, card.left + 2 + k, card.bottom + k, nullptr);
        LineTo(dc, card.right + k + 1, card.bottom + k);
    }
}

LRESULT ObsRobOnCreate(strPodgladDruk* p, HWND hwnd) {
    p->hObsRob = hwnd;
    p->piorCien = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    p->pedzRog = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    p->hKarta = TworzOknoPdglDrukKrt(hwnd, 0, 0);
    p->hPionSb = Dziecko(0, "SCROLLBAR", WS_CHILD | SBS_VERT, 0, 0, hwnd, IDC_PDGL_PION_SB, nullptr);
    p->hPoziomSb = Dziecko(0, "SCROLLBAR", WS_CHILD | SBS_HORZ, 0, 0, hwnd, IDC_PDGL_POZIOM_SB, nullptr);
    p->hRog = Dziecko(0, "STATIC", WS_CHILD, 0, 0, hwnd, IDC_PDGL_ROG, nullptr);
    if (!p->piorCien || !p->pedzRog || !p->hKarta || !p->hPionSb || !p->hPoziomSb || !p->hRog)
        return -1;
    SCROLLINFO si;
    memset(&si, 0, sizeof si);
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    SetScrollInfo(p->hPionSb, SB_CTL, &si, FALSE);
    SetScrollInfo(p->hPoziomSb, SB_CTL, &si, FALSE);
    return 0;
}

void ObsRobOnPaint(strPodgladDruk* p, HWND hwnd) {
    ScopedPaint ps(hwnd);
    RECT card;
    GetWindowRect(p->hKarta, &card);
    MapWindowPoints(nullptr, hwnd, (POINT*)&card, 2);
    PaintCien(ps, p, card);
}

void ObsRobOnDestroy(strPodgladDruk* p) {
    // The pen and the brush are the work window's; they go with it.
    ScopedPen pen(p->piorCien);
    ScopedBrush brush(p->pedzRog);
    p->piorCien = nullptr;
    p->pedzRog = nullptr;
    p->hObsRob = nullptr;
}

void ObsRobOnSysColor(strPodgladDruk* p) {
    ScopedBrush old(p->pedzRog);
    p->pedzRog = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    ScopedPen oldPen(p->piorCien);
    p->piorCien = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    InvalidateRect(p->hObsRob, nullptr, TRUE);
}

// ---- Page card -----------------------------------------------------------------------------

// Plays the page into the card's client rectangle at its true size: the
// page frame scaled by the card's pixels per hundredth of a millimetre,
// centred.
void PaintStrona(HDC dc, const RECT& client, const strPodgladDruk* p) {
    if (p->zad.biezStr < 0 || p->zad.biezStr >= p->zad.liczbaStr) return;
    HENHMETAFILE emf = p->zad.strony[p->zad.biezStr];
    ENHMETAHEADER h;
    if (!emf || !GetEnhMetaFileHeader(emf, sizeof h, &h)) return;
    long long fw = h.rclFrame.right - h.rclFrame.left;
    long long fh = h.rclFrame.bottom - h.rclFrame.top;
    int cw = client.right - client.left, ch = client.bottom - client.top;
    if (p->kartaMm[0] <= 0 || p->kartaMm[1] <= 0) return;
    int w = (int)(fw * cw / p->kartaMm[0]);
    int hgt = (int)(fh * ch / p->kartaMm[1]);
    RECT r = {client.left + (cw - w) / 2, client.top + (ch - hgt) / 2, 0, 0};
    r.right = r.left + w;
    r.bottom = r.top + hgt;
    PlayEnhMetaFile(dc, emf, &r);
}

void KartaOnPaint(strPodgladDruk* p, HWND hwnd) {
    ScopedPaint ps(hwnd);
    RECT client;
    GetClientRect(hwnd, &client);
    PaintStrona(ps, client, p);
}

// ---- Preview window ---------------------------------------------------------------------------

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
    p->hStatus = p->hPasek ? Dziecko(0, STATUSCLASSNAMEA, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                                     hwnd, IDC_PDGL_STATUS, nullptr)
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
        case IDM_PDGL_POCZATEK: if (cur > 0) IdzDo(p, 0); break;
        case IDM_PDGL_WSTECZ: if (cur > 0) IdzDo(p, cur - 1); break;
        case IDM_PDGL_DALEJ: if (cur < last) IdzDo(p, cur + 1); break;
        case IDM_PDGL_KONIEC: if (cur < last) IdzDo(p, last); break;
        case IDM_PDGL_DRUKUJ: CmdDrukuj(p, hwnd); break;
        case IDM_PDGL_ZAMKNIJ: PostMessageA(hwnd, WM_CLOSE, 0, 0); break;
    }
}

void OnKeyDown(strPodgladDruk* p, int key) {
    switch (key) {
        case VK_PRIOR: SendMessageA(p->hObsRob, UM_PDGL_STR_W_GORE, 0, 0); Odswiez(p); break;
        case VK_NEXT: SendMessageA(p->hObsRob, UM_PDGL_STR_W_DOL, 0, 0); Odswiez(p); break;
        case VK_HOME: Przewin(p, true, SB_TOP); break;
        case VK_END: Przewin(p, true, SB_BOTTOM); break;
        case VK_UP: Przewin(p, true, SB_LINEUP); break;
        case VK_DOWN: Przewin(p, true, SB_LINEDOWN); break;
        case VK_LEFT: Przewin(p, false, SB_LINELEFT); break;
        case VK_RIGHT: Przewin(p, false, SB_LINERIGHT); break;
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

extern "C" {

LRESULT CALLBACK ProcOknoPodgladDruk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    strPodgladDruk* p = KvWindowStateMadeAtCreation<strPodgladDruk>(hwnd, msg, lParam, StanZJob);
    if (msg == WM_GETMINMAXINFO) { OnMinMax(p, (MINMAXINFO*)lParam); return 0; }
    if (!p) return msg == WM_NCCREATE ? FALSE : DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_CREATE: return OnCreate(p, hwnd);
        case WM_SIZE: OnSize(p, LOWORD(lParam), HIWORD(lParam)); return 0;
        case WM_COMMAND: OnCommand(p, hwnd, LOWORD(wParam)); return 0;
        case WM_KEYDOWN: OnKeyDown(p, (int)wParam); return 0;
        case WM_MOUSEWHEEL: OnMouseWheel(p, GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
        case WM_SETTINGCHANGE: UstawDelteKolka(p); return 0;
        case WM_SYSCOLORCHANGE: if (p->hObsRob) ObsRobOnSysColor(p); return 0;
        case WM_CLOSE: OnClose(p, hwnd); return 0;
        case WM_DESTROY: ZamknijPasekPodgladDruk(p->hPasek); return 0;
        case WM_NCDESTROY: OnNcDestroy(p, hwnd); return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ProcOknoObsRobPdglDruk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    strPodgladDruk* p = KvWindowState<strPodgladDruk>(hwnd, msg, lParam);
    if (!p) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_CREATE: return ObsRobOnCreate(p, hwnd);
        case WM_SIZE: RozmiescKrt(p); return 0;
        case WM_PAINT: ObsRobOnPaint(p, hwnd); return 0;
        case WM_VSCROLL:
        case WM_HSCROLL: OnScroll(p, (HWND)lParam, LOWORD(wParam)); return 0;
        case UM_PDGL_STR_W_GORE: OnStronaWGore(p); return 0;
        case UM_PDGL_STR_W_DOL: OnStronaWDol(p); return 0;
        case WM_CTLCOLORSTATIC: return (LRESULT)p->pedzRog;
        case WM_KEYDOWN: SendMessageA(p->hOkno, msg, wParam, lParam); return 0;
        case WM_DESTROY: ObsRobOnDestroy(p); return 0;
        case WM_NCDESTROY: KvDetachState(hwnd); return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ProcOknoPdglDrukKrt(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    strPodgladDruk* p = KvWindowState<strPodgladDruk>(hwnd, msg, lParam);
    if (!p) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_PAINT: KartaOnPaint(p, hwnd); return 0;
        case WM_NCDESTROY: KvDetachState(hwnd); return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND TworzOknoObsRobPdglDruk(HWND parent, int x, int y) {
    strPodgladDruk* p = Stan(parent);
    if (!p) return nullptr;
    return Dziecko(WS_EX_CLIENTEDGE, kKlasaObsRob, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y, parent, 0, p);
}

HWND TworzOknoPdglDrukKrt(HWND parent, int x, int y) {
    strPodgladDruk* p = Stan(parent);
    if (!p) return nullptr;
    return Dziecko(0, kKlasaKarta, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_DISABLED, x, y, parent, 0, p);
}

HWND TworzPasekPodgladDruk(HWND preview) {
    static const KvToolButton kPrzyciski[] = {
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
    if (AwariaOkna()) return nullptr;
    KvToolbarSpec spec = {};
    spec.instance = hInstDll;
    spec.parent = preview;
    spec.id = IDC_PDGL_PASEK;
    spec.style = TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP;
    spec.imagesId = IDB_PDGL_PASEK;
    spec.disabledImagesId = IDB_PDGL_PASEK_WYL;
    spec.buttons = kPrzyciski;
    spec.buttonCount = (int)(sizeof kPrzyciski / sizeof kPrzyciski[0]);
    KvToolbar pasek;
    if (!KvCreateToolbar(spec, &pasek)) return nullptr;
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
    snprintf(text, sizeof text, "\t\tpage %d/%d                   ", p->zad.biezStr + 1,
             p->zad.liczbaStr);
    SendMessageA(p->hStatus, SB_SETTEXTA, 1, (LPARAM)text);
}

// Test seam: the n-th next allocation of a preview fails as if the heap
// were exhausted (0 turns it off).
void UstawAwarieAlokacjiPodgladu(int n) { g_awariaAlokacji = n; }

void UstawAwarieOknaPodgladu(int n) { g_awariaOkna = n; }

int PodgladDruku(strZadDruk* zad) {
    if (!zad || zad->liczbaStr < 1 || !zad->strony) {
        SetLastError(ERROR_INVALID_PARAMETER);
        PokazBladSys(nullptr, "Error of printing");
        return -1;
    }
    static bool registered;
    if (!registered) {
        WNDCLASSEXA wc;
        memset(&wc, 0, sizeof wc);
        wc.cbSize = sizeof wc;
        wc.hInstance = hInstDll;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpfnWndProc = ProcOknoPodgladDruk;
        wc.lpszClassName = kKlasaPodglad;
        wc.hIcon = LoadIconA(hInstDll, MAKEINTRESOURCEA(IDI_PDGL_DRUK));
        wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
        RegisterClassExA(&wc);
        wc.hIcon = nullptr;
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ProcOknoObsRobPdglDruk;
        wc.lpszClassName = kKlasaObsRob;
        RegisterClassExA(&wc);
        wc.lpfnWndProc = ProcOknoPdglDrukKrt;
        wc.lpszClassName = kKlasaKarta;
        wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
        RegisterClassExA(&wc);
        registered = true;
    }
    int mode = (int)(zad->flagi & PAGORA_TRYB_MASKA);
    char title[PAGORA_NAZWA_DL + 32];
    snprintf(title, sizeof title, "Print preview - %.*s", PAGORA_NAZWA_DL - 1, zad->nazwa);
    HWND hwnd = CreateWindowExA(0, kKlasaPodglad, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, zad->wlasciciel, nullptr,
                                hInstDll, zad);
    // A failed creation has shown its box and released what it took (the
    // window's destruction did); the owner is as it was.
    if (!hwnd) return -1;
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    if (mode != PAGORA_TRYB_MODALNY) return mode;

    // The state is the window's (freed at its destruction, or by a print
    // still running then): nothing here outlives the loop.
    KvRunModalLoop(hwnd, nullptr, nullptr);
    return 0;
}

}  // extern "C"
