// The preview's work window ("obsRobPdglDruk": scrolling, turning pages, the
// layout of the card for the zoom) and its page card ("pdglDrukKrt").

#include "pagora/preview_internal.h"

// ---- Work window: scrolling and turning pages -------------------------------------

namespace {

SCROLLINFO ReadScrollInfo(HWND bar) {
    SCROLLINFO si;
    memset(&si, 0, sizeof si);
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(bar, SB_CTL, &si);
    return si;
}

// The last position the bar allows.
int LastScrollPos(const SCROLLINFO& si) {
    int page = si.nPage > 0 ? (int)si.nPage : 1;
    int bottom = si.nMax - page + 1;
    return bottom < si.nMin ? si.nMin : bottom;
}

// Puts the card at its position less the scrolled distance.
void MoveCard(strPodgladDruk* p) {
    int h = GetScrollPos(p->hPoziomSb, SB_CTL);
    int v = GetScrollPos(p->hPionSb, SB_CTL);
    MoveWindow(p->hKarta, p->kartaPoz.x - ScrollUnitX() * h, p->kartaPoz.y - ScrollUnitY() * v, p->kartaPx.cx,
               p->kartaPx.cy, TRUE);
    InvalidateRect(p->hObsRob, nullptr, TRUE);
}

void SetBarPos(strPodgladDruk* p, HWND bar, int pos) {
    SCROLLINFO si;
    memset(&si, 0, sizeof si);
    si.cbSize = sizeof si;
    si.fMask = SIF_POS;
    si.nPos = pos;
    SetScrollInfo(bar, SB_CTL, &si, TRUE);  // the bar clamps it
    MoveCard(p);
}

void OnScroll(strPodgladDruk* p, HWND bar, int code) {
    if (bar != p->hPionSb && bar != p->hPoziomSb) return;
    SCROLLINFO si = ReadScrollInfo(bar);
    int pos = si.nPos;
    switch (code) {
        case SB_LINEUP: pos -= 1; break;
        case SB_LINEDOWN: pos += 1; break;
        case SB_PAGEUP: pos -= (int)si.nPage; break;
        case SB_PAGEDOWN: pos += (int)si.nPage; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = si.nTrackPos; break;
        case SB_TOP:
            if (bar == p->hPionSb) pos = si.nMin;
            break;
        case SB_BOTTOM:
            if (bar == p->hPionSb) pos = si.nMax;
            break;
        default: return;
    }
    SetBarPos(p, bar, pos);
}

void NewPage(strPodgladDruk* p, int page, int pos) {
    p->zad.biezStr = page;
    SetBarPos(p, p->hPionSb, pos);
    InvalidateRect(p->hKarta, nullptr, TRUE);
}

void OnPageUp(strPodgladDruk* p) {
    SCROLLINFO si = ReadScrollInfo(p->hPionSb);
    if (si.nPos <= si.nMin) {
        if (p->zad.biezStr > 0) NewPage(p, p->zad.biezStr - 1, LastScrollPos(si));
    } else {
        OnScroll(p, p->hPionSb, SB_PAGEUP);
    }
}

void OnPageDown(strPodgladDruk* p) {
    SCROLLINFO si = ReadScrollInfo(p->hPionSb);
    if (si.nPos >= LastScrollPos(si)) {
        if (p->zad.biezStr < p->zad.liczbaStr - 1) NewPage(p, p->zad.biezStr + 1, si.nMin);
    } else {
        OnScroll(p, p->hPionSb, SB_PAGEDOWN);
    }
}

// ---- Work window: layout ---------------------------------------------------------------

struct AvailableArea {
    int w, h;  // available area, pixels (the client less one bar each way)
};

// The card's isotropic mapping for the zoom mode: viewport extent and origin.
void SetCardMapping(strPodgladDruk* p, const AvailableArea& a) {
    int dx = rozmCalLogX, dy = rozmCalLogY;
    switch (Zoom(p)) {
        case PREVIEW_ZOOM_COMPLETE:
            p->vpExt.cx = a.w - dx / 2;
            p->vpExt.cy = a.h - dy / 2;
            break;
        case PREVIEW_ZOOM_NATURAL:
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
void MapCard(strPodgladDruk* p, const AvailableArea& a) {
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
    p->vpOrg.y = Zoom(p) == PREVIEW_ZOOM_WIDTH ? rozmCalLogY / 4 + p->kartaPx.cy / 2 : a.h / 2;
    int x = p->vpOrg.x - p->kartaPx.cx / 2, y = p->vpOrg.y - p->kartaPx.cy / 2;
    p->kartaPoz.x = x < 0 ? 0 : x;
    p->kartaPoz.y = y < 0 ? 0 : y;
}

// Range, page and position of one bar; returns whether it is needed.
bool SetUpScrollBar(strPodgladDruk* p, HWND bar, int cardPx, int dpi, int unit, int avail) {
    int margin = Zoom(p) == PREVIEW_ZOOM_NATURAL ? dpi / 8 : dpi / 4;
    int steps = (cardPx + margin) / unit;
    int page = avail > 0 ? avail / unit : 0;
    SCROLLINFO old = ReadScrollInfo(bar);
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

void RozmiescKrt(strPodgladDruk* p) {
    if (!p || !p->hObsRob) return;
    RECT rc;
    GetClientRect(p->hObsRob, &rc);
    int sbW = GetSystemMetrics(SM_CXVSCROLL), sbH = GetSystemMetrics(SM_CYHSCROLL);
    AvailableArea a = {rc.right - sbW, rc.bottom - sbH};
    if (a.w < 0) a.w = 0;
    if (a.h < 0) a.h = 0;
    SetCardMapping(p, a);
    MapCard(p, a);

    bool poziom = SetUpScrollBar(p, p->hPoziomSb, p->kartaPx.cx, rozmCalLogX, ScrollUnitX(), a.w);
    bool pion = SetUpScrollBar(p, p->hPionSb, p->kartaPx.cy, rozmCalLogY, ScrollUnitY(), a.h);
    p->flagi = (p->flagi & ~(uint32_t)(PREVIEW_HORIZONTAL_BAR | PREVIEW_VERTICAL_BAR)) |
               (poziom ? PREVIEW_HORIZONTAL_BAR : 0) | (pion ? PREVIEW_VERTICAL_BAR : 0);

    MoveWindow(p->hPionSb, a.w, 0, sbW, a.h + (poziom ? 0 : sbH), TRUE);
    MoveWindow(p->hPoziomSb, 0, a.h, a.w + (pion ? 0 : sbW), sbH, TRUE);
    MoveWindow(p->hRog, a.w, a.h, sbW, sbH, TRUE);
    ShowWindow(p->hPionSb, pion ? SW_SHOW : SW_HIDE);
    ShowWindow(p->hPoziomSb, poziom ? SW_SHOW : SW_HIDE);
    ShowWindow(p->hRog, pion && poziom ? SW_SHOW : SW_HIDE);
    MoveCard(p);
}

namespace {

// The card's shadow: three lines along its right and bottom edges.
void PaintShadow(HDC dc, const strPodgladDruk* p, const RECT& card) {
    ScopedSelect pen(dc, p->piorCien);
    for (int k = 0; k < 3; k++) {
        MoveToEx(dc, card.right + k, card.top + 2 + k, nullptr);
        LineTo(dc, card.right + k, card.bottom + k + 1);
        MoveToEx(dc, card.left + 2 + k, card.bottom + k, nullptr);
        LineTo(dc, card.right + k + 1, card.bottom + k);
    }
}

LRESULT WorkAreaOnCreate(strPodgladDruk* p, HWND hwnd) {
    p->hObsRob = hwnd;
    p->piorCien = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    p->pedzRog = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    p->hKarta = TworzOknoPdglDrukKrt(hwnd, 0, 0);
    p->hPionSb = CreateChild(0, "SCROLLBAR", WS_CHILD | SBS_VERT, 0, 0, hwnd, IDC_PREVIEW_VERTICAL_SB, nullptr);
    p->hPoziomSb = CreateChild(0, "SCROLLBAR", WS_CHILD | SBS_HORZ, 0, 0, hwnd, IDC_PREVIEW_HORIZONTAL_SB, nullptr);
    p->hRog = CreateChild(0, "STATIC", WS_CHILD, 0, 0, hwnd, IDC_PREVIEW_CORNER, nullptr);
    if (!p->piorCien || !p->pedzRog || !p->hKarta || !p->hPionSb || !p->hPoziomSb || !p->hRog) return -1;
    SCROLLINFO si;
    memset(&si, 0, sizeof si);
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    SetScrollInfo(p->hPionSb, SB_CTL, &si, FALSE);
    SetScrollInfo(p->hPoziomSb, SB_CTL, &si, FALSE);
    return 0;
}

void WorkAreaOnPaint(strPodgladDruk* p, HWND hwnd) {
    ScopedPaint ps(hwnd);
    RECT card;
    GetWindowRect(p->hKarta, &card);
    MapWindowPoints(nullptr, hwnd, (POINT*)&card, 2);
    PaintShadow(ps, p, card);
}

void WorkAreaOnDestroy(strPodgladDruk* p) {
    // The pen and the brush are the work window's; they go with it.
    ScopedPen pen(p->piorCien);
    ScopedBrush brush(p->pedzRog);
    p->piorCien = nullptr;
    p->pedzRog = nullptr;
    p->hObsRob = nullptr;
}

}  // namespace

void WorkAreaOnSysColor(strPodgladDruk* p) {
    ScopedBrush old(p->pedzRog);
    p->pedzRog = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    ScopedPen oldPen(p->piorCien);
    p->piorCien = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    InvalidateRect(p->hObsRob, nullptr, TRUE);
}

// ---- Page card -----------------------------------------------------------------------------

namespace {

// Plays the page into the card's client rectangle at its true size: the
// page frame scaled by the card's pixels per hundredth of a millimetre,
// centred.
void PaintPage(HDC dc, const RECT& client, const strPodgladDruk* p) {
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

void CardOnPaint(strPodgladDruk* p, HWND hwnd) {
    ScopedPaint ps(hwnd);
    RECT client;
    GetClientRect(hwnd, &client);
    PaintPage(ps, client, p);
}

}  // namespace

LRESULT CALLBACK ProcOknoObsRobPdglDruk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    strPodgladDruk* p = KvWindowState<strPodgladDruk>(hwnd, msg, lParam);
    if (!p) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_CREATE: return WorkAreaOnCreate(p, hwnd);
        case WM_SIZE: RozmiescKrt(p); return 0;
        case WM_PAINT: WorkAreaOnPaint(p, hwnd); return 0;
        case WM_VSCROLL:
        case WM_HSCROLL: OnScroll(p, (HWND)lParam, LOWORD(wParam)); return 0;
        case UM_PDGL_STR_W_GORE: OnPageUp(p); return 0;
        case UM_PDGL_STR_W_DOL: OnPageDown(p); return 0;
        case WM_CTLCOLORSTATIC: return (LRESULT)p->pedzRog;
        case WM_KEYDOWN: SendMessageA(p->hOkno, msg, wParam, lParam); return 0;
        case WM_DESTROY: WorkAreaOnDestroy(p); return 0;
        case WM_NCDESTROY: KvDetachState(hwnd); return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ProcOknoPdglDrukKrt(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    strPodgladDruk* p = KvWindowState<strPodgladDruk>(hwnd, msg, lParam);
    if (!p) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_PAINT: CardOnPaint(p, hwnd); return 0;
        case WM_NCDESTROY: KvDetachState(hwnd); return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND TworzOknoObsRobPdglDruk(HWND parent, int x, int y) {
    strPodgladDruk* p = StateOf(parent);
    if (!p) return nullptr;
    return CreateChild(WS_EX_CLIENTEDGE, kWorkAreaClass, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y, parent, 0,
                   p);
}

HWND TworzOknoPdglDrukKrt(HWND parent, int x, int y) {
    strPodgladDruk* p = StateOf(parent);
    if (!p) return nullptr;
    return CreateChild(0, kCardClass, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_DISABLED, x, y, parent, 0, p);
}
