// canvas_win.cpp - the design canvas window (class "obsProj").
//
// Every change goes the same way: it is made on a copy of the operation list
// (or on a copy of the one element), checked there by the structure rules,
// the geometry and the parent's limit check, and only then written into the
// designer's list. So whatever is refused leaves the list as it was.
#include "ui/designer/canvas_win.h"

#include <commctrl.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <new>

#include "model/structure.h"
#include "model/window.h"
#include "render/drawing_win.h"
#include "ui/designer/canvas_geometry.h"
#include "ui/designer/designer_dialogs_win.h"
#include "ui/designer/limits.h"
#include "util/heap.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "util/scoped_win.h"
#include "util/window_win.h"
#include "widgora/widgora.h"

namespace {

// Which dimension the in-place editor edits.
enum { kEdZamkniety = 0, kEdSzer = 1, kEdWys = 2, kEdPrawy = 3, kEdDolny = 4, kEdLewy = 5, kEdGorny = 6 };
enum { kEdSzerPx = 60, kEdWysPx = 22, kMaxWymiar = 10000 };
enum { kGrubGumki = 3 };   // device pixels: the band's pen (penThick) and a margin for its ends

struct ObsProj {
    HWND hwnd = nullptr;
    strParamObsProj* p = nullptr;
    int edytowalny = 0;
    RECT prost = {0, 0, 0, 0};      // drawing rectangle: the client rectangle, device pixels
    // In-place dimension editor.
    strEdUd ed = {nullptr, nullptr, 0};
    WNDPROC edProc = nullptr;
    int stanEd = kEdZamkniety;
    int32_t indeksEd = -1;           // label index within its chain
    // Tooltip naming the mullion or filling under the mouse.
    HWND tip = nullptr;
    int32_t tipElement = -1;
    bool sledzNad = false, sledzWyj = false;
    char tipTekst[kNazwaWypelnLen] = {};
    // Rubber band.
    bool gumka = false;
    POINT start = {0, 0};
    POINT koniec = {0, 0};           // end of the line last drawn (start: none drawn)
    std::unique_ptr<MemoryDC> obraz;  // the canvas as it was when the drag began
    std::unique_ptr<MaskDC> maska;    // one-bit mask the line is drawn on
};

ObsProj* Stan(HWND hwnd) { return (ObsProj*)GetWindowLongPtrA(hwnd, GWLP_USERDATA); }

int32_t Liczba(const ObsProj* w) { return w->p->liczbaOper ? *w->p->liczbaOper : 0; }
uniOperRys* Lista(const ObsProj* w) { return w->p->oper ? *w->p->oper : nullptr; }
int32_t ProfSch(const ObsProj* w) { return w->p->iProfSch ? *w->p->iProfSch : 0; }

strProst Prost(const RECT& r) { return {(int32_t)r.left, (int32_t)r.top, (int32_t)r.right, (int32_t)r.bottom}; }

// ---- Notifications and the parent's check -----------------------------------

void Powiadom(ObsProj* w, UINT kod) {
    const uint32_t bit = kod == kObsKodRama ? kObsNotyfRama : kObsNotyfZmiana;
    if (!(w->p->flagi & bit)) return;
    NMHDR nm = {w->hwnd, (UINT_PTR)w->p->idKntrl, kod};
    SendMessageA(GetParent(w->hwnd), WM_NOTIFY, (WPARAM)w->p->idKntrl, (LPARAM)&nm);
}

int Limity(ObsProj* w, const uniOperRys* ops, int32_t n, int32_t indeks, char* msg) {
    if (!(w->p->flagi & kObsLimity)) return 1;
    msg[0] = 0;
    strLimitObsProj a = {ops, n, indeks, msg};
    if (SendMessageA(GetParent(w->hwnd), UM_OBS_LIMITY, 0, (LPARAM)&a)) return 1;
    if (!msg[0]) KvMsg(msg, "Incorrect area of the window");
    return 0;
}

void NowaOper(ObsProj* w, uniOperRys* op) {
    if (w->p->flagi & kObsPytajNowa)
        SendMessageA(GetParent(w->hwnd), UM_OBS_NOWA_OPER, (WPARAM)op, (LPARAM)op->typ);
}

// ---- Placement ---------------------------------------------------------------

void RozmiescWszystko(ObsProj* w, uniOperRys* lista, int32_t n) {
    if (n > 0) RozmiescOknoNaUrz(lista, n, &w->prost, kObsMargines, w->p->ds);
}

// Places the dimension texts. They are measured on a memory context like
// the screen: the same fonts give the same sizes, without a round trip to
// the display for every label.
void TekstyWymiarow(ObsProj* w) {
    if (Liczba(w) < 1) return;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        RozmiescTekstyWymiarowOkna(w->hwnd, w->p->ds, &w->p->wym, Lista(w), Liczba(w), 1);
        return;
    }
    RozmiescTekstyWymiarowDC(dc, w->p->ds, &w->p->wym, Lista(w), Liczba(w), 1);
    DeleteDC(dc);
}

// Rebuilds the dimension set of the current list and places its texts.
int Wymiary(ObsProj* w, char* msg) {
    if (!BudujWymiary(Lista(w), Liczba(w), &w->p->wym, msg)) return 0;
    TekstyWymiarow(w);
    return 1;
}

// Puts a checked list in place of the designer's one; the old list is
// released.
void Podmien(ObsProj* w, uniOperRys* nowa, int32_t n) {
    KvFree(*w->p->oper);
    *w->p->oper = nowa;
    *w->p->liczbaOper = n;
}

// After an accepted change: labels placed, canvas repainted, notification.
void PoZmianie(ObsProj* w, UINT kod) {
    char msg[KV_MSG_LEN];
    if (!Wymiary(w, msg)) KvShowError(w->hwnd, msg);
    InvalidateRect(w->hwnd, nullptr, TRUE);
    Powiadom(w, kod);
}

// ---- Tooltip -----------------------------------------------------------------

void UkryjTip(ObsProj* w) {
    if (!w->tip) return;
    TOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.hwnd = w->hwnd;
    ti.uId = (UINT_PTR)w->hwnd;
    SendMessageA(w->tip, TTM_TRACKACTIVATE, FALSE, (LPARAM)&ti);
    w->tipElement = -1;
}

bool TworzTip(ObsProj* w, HINSTANCE inst) {
    w->tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, w->hwnd, nullptr, inst,
                             nullptr);
    if (!w->tip) return false;
    TOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = w->hwnd;
    ti.uId = (UINT_PTR)w->hwnd;
    ti.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(w->tip, TTM_ADDTOOLA, 0, (LPARAM)&ti);
    SendMessageA(w->tip, TTM_SETMAXTIPWIDTH, 0, 128);
    return true;
}

void OnMouseHover(ObsProj* w, WPARAM klawisze, int x, int y) {
    w->sledzNad = false;
    UkryjTip(w);
    if (klawisze != 0) return;
    strTrafienie t;
    TestTrafienia(Lista(w), Liczba(w), &w->p->wym, x, y, &t);
    const uniOperRys* lista = Lista(w);
    if (t.wynik == kTrProfil && t.element > 0 &&
        (lista[t.element].typ == kOperSlupekStaly || lista[t.element].typ == kOperSlupekRuch)) {
        strncpy(w->tipTekst, lista[t.element].slupek.rodzaj == 1 ? "False mullion" : "Fixed mullion",
                sizeof w->tipTekst);
    } else if ((t.wynik == kTrWypeln || t.wynik == kTrPole) && t.element > 0) {
        DajNazweWypeln(&lista[t.element].wypeln, w->tipTekst);
    } else {
        return;
    }
    w->tipElement = t.element;
    POINT pt = {x, y - 20};
    ClientToScreen(w->hwnd, &pt);
    TOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.hwnd = w->hwnd;
    ti.uId = (UINT_PTR)w->hwnd;
    SendMessageA(w->tip, TTM_TRACKPOSITION, 0, MAKELPARAM(pt.x, pt.y));
    SendMessageA(w->tip, TTM_TRACKACTIVATE, TRUE, (LPARAM)&ti);
}

void OnMouseLeave(ObsProj* w) {
    w->sledzWyj = false;
    w->sledzNad = false;
    UkryjTip(w);
}

void Sledz(ObsProj* w) {
    if (w->sledzNad && w->sledzWyj) return;
    TRACKMOUSEEVENT tme = {sizeof tme, TME_HOVER | TME_LEAVE, w->hwnd, HOVER_DEFAULT};
    if (TrackMouseEvent(&tme)) w->sledzNad = w->sledzWyj = true;
}

// ---- In-place editor -----------------------------------------------------------

LRESULT CALLBACK EdProc(HWND ed, UINT msg, WPARAM wp, LPARAM lp) {
    HWND obs = GetParent(ed);
    ObsProj* w = Stan(obs);
    if (!w || !w->edProc) return DefWindowProcA(ed, msg, wp, lp);
    switch (msg) {
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | CallWindowProcA(w->edProc, ed, msg, wp, lp);
    case WM_KEYDOWN:
        if (wp == VK_RETURN) {
            if (SendMessageA(obs, UM_OBS_ZASTOSUJ_ED, 0, 0) == 1) SetFocus(obs);
            return 0;
        }
        if (wp == VK_ESCAPE) {
            SetFocus(obs);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wp == '\t' || wp == '\r' || wp == 27) return 0;
        break;
    case WM_KILLFOCUS: {
        // Closed at once: a close posted now would arrive after the editor
        // was opened again on another label.
        LRESULT r = CallWindowProcA(w->edProc, ed, msg, wp, lp);
        SendMessageA(obs, UM_OBS_ZAMKNIJ_ED, 0, 0);
        return r;
    }
    }
    return CallWindowProcA(w->edProc, ed, msg, wp, lp);
}

bool TworzEdytor(ObsProj* w, HINSTANCE inst) {
    if (!TworzEdUd(&w->ed, WS_CHILD | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS | UDS_SETBUDDYINT, 0, 0,
                   kEdSzerPx, kEdWysPx, w->hwnd, IDC_OBSPROJ_EDIT, IDC_OBSPROJ_SPIN, inst, 0, kMaxWymiar, 0))
        return false;
    ShowWindow(w->ed.hEd, SW_HIDE);
    ShowWindow(w->ed.hUd, SW_HIDE);
    w->edProc = (WNDPROC)SetWindowLongPtrA(w->ed.hEd, GWLP_WNDPROC, (LONG_PTR)EdProc);
    return true;
}

void OnZamknijEd(ObsProj* w) {
    w->stanEd = kEdZamkniety;
    if (!w->ed.hEd) return;
    const bool fokus = GetFocus() == w->ed.hEd;
    ShowWindow(w->ed.hEd, SW_HIDE);
    ShowWindow(w->ed.hUd, SW_HIDE);
    if (fokus) SetFocus(w->hwnd);
}

int32_t LancuchEdytora(int stan) {
    switch (stan) {
    case kEdPrawy: return kWymPrawy;
    case kEdDolny: return kWymDolny;
    case kEdLewy: return kWymLewy;
    case kEdGorny: return kWymGorny;
    }
    return -1;
}

// The label the editor is over: its rectangle and its current value.
bool EtykietaEdytora(const ObsProj* w, strProst* r, int32_t* wartosc) {
    const strWymiary& wym = w->p->wym;
    const uniOperRys* lista = Lista(w);
    if (Liczba(w) < 1) return false;
    switch (w->stanEd) {
    case kEdSzer: *r = wym.tekstSzer; *wartosc = lista[0].rama.x1 - lista[0].rama.x0; return true;
    case kEdWys: *r = wym.tekstWys; *wartosc = lista[0].rama.y1 - lista[0].rama.y0; return true;
    }
    const int32_t c = LancuchEdytora(w->stanEd);
    if (c < 0 || w->indeksEd < 0 || w->indeksEd >= wym.liczba[c]) return false;
    *r = wym.wym[c][w->indeksEd].tekst;
    *wartosc = wym.wym[c][w->indeksEd].dlugosc;
    return true;
}

void PrzesunEdytor(ObsProj* w) {
    strProst r;
    int32_t v;
    if (w->stanEd == kEdZamkniety || !EtykietaEdytora(w, &r, &v)) return;
    int x = r.left, y = r.top;
    switch (w->stanEd) {
    case kEdSzer: case kEdDolny: case kEdGorny: y = r.bottom - kEdWysPx; break;
    case kEdWys: case kEdPrawy: x = r.right - kEdSzerPx; break;
    default: break;
    }
    PrzesunEdUd(&w->ed, x, y);
}

void OtworzEdytor(ObsProj* w, int stan, int32_t indeks) {
    w->stanEd = stan;
    w->indeksEd = indeks;
    strProst r;
    int32_t v;
    if (!EtykietaEdytora(w, &r, &v)) {
        w->stanEd = kEdZamkniety;
        return;
    }
    PrzesunEdytor(w);
    SendMessageA(w->ed.hUd, UDM_SETPOS32, 0, (LPARAM)v);
    SetDlgItemInt(w->hwnd, IDC_OBSPROJ_EDIT, (UINT)v, FALSE);
    ShowWindow(w->ed.hEd, SW_SHOW);
    ShowWindow(w->ed.hUd, SW_SHOW);
    SendMessageA(w->ed.hEd, EM_SETSEL, 0, -1);
    SetFocus(w->ed.hEd);
}

// A new frame size: checked on a copy of the list, written back when the
// limits and the geometry accept it.
int ZmienRame(ObsProj* w, int32_t v, char* msg) {
    uniOperRys rama = Lista(w)[0];
    if (w->stanEd == kEdSzer) rama.rama.x1 = rama.rama.x0 + v;
    else rama.rama.y1 = rama.rama.y0 + v;
    if (!Limity(w, &rama, 1, 0, msg)) return 0;
    uniOperRys* kopia = nullptr;
    int32_t n = 0;
    if (!KopiujListeOper(Lista(w), Liczba(w), &kopia, &n, msg)) return 0;
    kopia[0] = rama;
    if (!ObliczGeometrie(kopia, n, w->p->format, w->p->okno, msg)) {
        KvFree(kopia);
        return 0;
    }
    RozmiescWszystko(w, kopia, n);
    Podmien(w, kopia, n);
    return 1;
}

// Moves every element of the chain at the label element's position. Each
// move is checked against the list with the moves before it made; if any is
// refused, every element goes back where it was, so the window is never left
// half-moved.
int PrzesunLancuch(ObsProj* w, int32_t v, int* zmiana, char* msg) {
    const int32_t c = LancuchEdytora(w->stanEd);
    const int32_t n = Liczba(w);
    int32_t* el = (int32_t*)KvAlloc((size_t)(n > 0 ? n : 1) * sizeof(int32_t));
    if (!el) {
        KvMsg(msg, "Error of allocation and copying uniOperRys union");
        return 0;
    }
    int32_t poz = 0;
    const int32_t ile = RuchyEtykiety(Lista(w), n, &w->p->wym, c, w->indeksEd, v, el, n, &poz);
    *zmiana = ile > 0;
    uniOperRys* zapas = nullptr;
    int32_t nz = 0;
    int ok = ile <= 0 || KopiujListeOper(Lista(w), n, &zapas, &nz, msg);
    for (int32_t k = 0; ok && k < ile; k++) {
        uniOperRys op = Lista(w)[el[k]];
        if (op.typ == kOperSzpros) op.szpros.poz = poz;
        else op.slupek.poz = poz;
        ok = Limity(w, &op, 1, el[k], msg);
        if (ok) Lista(w)[el[k]] = op;
    }
    if (ok && ile > 0) ok = ObliczGeometrie(Lista(w), n, w->p->format, w->p->okno, msg);
    if (!ok && zapas) memcpy(Lista(w), zapas, (size_t)n * sizeof(uniOperRys));
    if (ok && ile > 0) RozmiescWszystko(w, Lista(w), n);
    KvFree(zapas);
    KvFree(el);
    return ok;
}

// Applies value v to the label being edited. 1 when accepted (or nothing to
// change), 0 with the refusal shown.
int ZastosujWartosc(ObsProj* w, int32_t v) {
    char msg[KV_MSG_LEN];
    msg[0] = 0;
    strProst r;
    int32_t biezaca;
    if (!EtykietaEdytora(w, &r, &biezaca)) return 0;
    int ok = 1, zmiana = 0;
    if (w->stanEd == kEdSzer || w->stanEd == kEdWys) {
        zmiana = v != biezaca;
        if (zmiana) ok = ZmienRame(w, v, msg);
    } else {
        ok = PrzesunLancuch(w, v, &zmiana, msg);
    }
    if (!ok) {
        KvShowError(w->hwnd, msg);
        return 0;
    }
    if (zmiana) {
        PoZmianie(w, kObsKodZmiana);
        PrzesunEdytor(w);
    }
    return 1;
}

LRESULT OnZastosujEd(ObsProj* w) {
    char tekst[32];
    GetWindowTextA(w->ed.hEd, tekst, sizeof tekst);
    // An unsigned number, at most what the spin allows and nothing after it.
    char* koniec = nullptr;
    const char* s = tekst;
    while (*s == ' ') s++;
    if (*s < '0' || *s > '9') return 0;
    const unsigned long v = strtoul(s, &koniec, 10);
    while (*koniec == ' ') koniec++;
    if (*koniec || v > 0x7fffffffUL) return 0;
    if (w->stanEd == kEdZamkniety) return 1;
    const int stan = w->stanEd;
    const int32_t indeks = w->indeksEd;
    OnZamknijEd(w);
    w->stanEd = stan;
    w->indeksEd = indeks;
    ZastosujWartosc(w, (int32_t)v);
    w->stanEd = kEdZamkniety;
    return 1;
}

// The spin asks before it moves: a position below 0 closes the editor, a
// refused value keeps the spin where it is.
LRESULT OnSpin(ObsProj* w, NMUPDOWN* ud) {
    const int32_t v = ud->iPos + ud->iDelta;
    if (v < 0) {
        OnZamknijEd(w);
        return 1;
    }
    return ZastosujWartosc(w, v) ? 0 : 1;
}

// ---- Rubber band -----------------------------------------------------------------

void PaintObs(HDC dc, const RECT& r, ObsProj* w);

void ZwolnijGumke(ObsProj* w) {
    w->obraz.reset();
    w->maska.reset();
    w->gumka = false;
}

void StartGumki(ObsProj* w, int x, int y) {
    UkryjTip(w);
    UpdateWindow(w->hwnd);
    w->start = {x, y};
    w->koniec = w->start;
    const int cx = w->prost.right - w->prost.left, cy = w->prost.bottom - w->prost.top;
    ScopedWindowDC dc(w->hwnd);
    // The drawing as it stands, painted again into memory rather than read
    // back from the screen, which may be covered.
    w->obraz.reset(new (std::nothrow) MemoryDC(dc, cx, cy));
    if (w->obraz && w->obraz->ok()) PaintObs(*w->obraz, w->prost, w);
    w->maska.reset(new (std::nothrow) MaskDC(dc, cx, cy));
    w->gumka = true;
    SetCapture(w->hwnd);
}

// The end of the line for the mouse at (x, y): horizontal when the mouse
// moved further across than down, else vertical, kept inside the canvas.
POINT KoniecGumki(const ObsProj* w, int x, int y) {
    if (abs(x - w->start.x) > abs(y - w->start.y)) return {x, w->start.y};
    const int dol = w->prost.bottom - 1;
    return {w->start.x, y > dol ? dol : y};
}

void RuchGumki(ObsProj* w, int x, int y) {
    if (!w->obraz || !w->obraz->ok() || !w->maska || !w->maska->ok()) return;
    const POINT k = KoniecGumki(w, x, y);
    w->koniec = k;
    const int cx = w->obraz->width(), cy = w->obraz->height();
    const HDC maska = *w->maska;
    PatBlt(maska, 0, 0, cx, cy, WHITENESS);
    {
        ScopedSelect pen(maska, w->p->ds->penThick);
        MoveToEx(maska, w->start.x, w->start.y, nullptr);
        LineTo(maska, k.x, k.y);
    }
    ScopedWindowDC dc(w->hwnd);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, 0, 0, cx, cy, *w->obraz, 0, 0, SRCCOPY);
    BitBlt(dc, 0, 0, cx, cy, maska, 0, 0, SRCAND);
}

// The capture went elsewhere mid-band (Alt+Tab, a menu): the drag ends as if
// cancelled, and the line, drawn straight on the screen, is painted over.
void OnCaptureChanged(ObsProj* w, HWND nowy) {
    if (!w->gumka || nowy == w->hwnd) return;
    const int gr = kGrubGumki;
    RECT r = {std::min(w->start.x, w->koniec.x) - gr, std::min(w->start.y, w->koniec.y) - gr,
              std::max(w->start.x, w->koniec.x) + gr + 1, std::max(w->start.y, w->koniec.y) + gr + 1};
    ZwolnijGumke(w);
    InvalidateRect(w->hwnd, &r, FALSE);
}

// A new mullion or muntin across area `o` for the line at `poz` mm.
uniOperRys NowaListwa(ObsProj* w, int32_t narz, const strObsOkno& o, int32_t poz, bool poziomy) {
    uniOperRys op;
    memset(&op, 0, sizeof op);
    const int32_t pocz = poziomy ? o.ogr[kLewa] : o.ogr[kGora];
    const int32_t kon = poziomy ? o.ogr[kPrawa] : o.ogr[kDol];
    if (narz == kNarzSzpros) {
        op.szpros.typ = kOperSzpros;
        NowaOper(w, &op);
        op.szpros.poz = poz;
        op.szpros.poziomy = poziomy;
        op.szpros.ogrPocz = pocz;
        op.szpros.ogrKon = kon;
        op.szpros.wypeln = o.wypeln;
    } else {
        op.slupek.typ = narz == kNarzSlupekRuch ? kOperSlupekRuch : kOperSlupekStaly;
        NowaOper(w, &op);
        op.slupek.rodzaj = narz == kNarzSlupekRuch ? 1 : 0;
        op.slupek.poz = poz;
        op.slupek.poziomy = poziomy;
        op.slupek.ogrPocz = pocz;
        op.slupek.ogrKon = kon;
    }
    return op;
}

// One element through the insertion rules (unless `obs` is null), its step of
// the geometry, the placement and the limit check, then appended. 1 appended;
// 0 refused with the step's message.
int Dolacz(ObsProj* w, uniOperRys op, const strObsOkno* obs, char* msg) {
    const int32_t n = Liczba(w);
    if (obs && !SprawdzWstawienie(op.typ, KodRodzaju(&op), obs, Lista(w), n, w->p->format, msg)) return 0;
    uniOperRys* kopia = (uniOperRys*)KvAlloc((size_t)(n + 1) * sizeof(uniOperRys));
    if (!kopia) {
        KvMsg(msg, "Error of allocation the uniOperRys union");
        return 0;
    }
    if (n) memcpy(kopia, Lista(w), (size_t)n * sizeof(uniOperRys));
    kopia[n] = op;
    if (!ObliczElement(kopia, n + 1, n, w->p->format, w->p->okno, msg)) {
        KvFree(kopia);
        return 0;
    }
    RozmiescWszystko(w, kopia, n + 1);
    if (!Limity(w, &kopia[n], 1, kLimDolacz, msg)) {
        KvFree(kopia);
        return 0;
    }
    Podmien(w, kopia, n + 1);
    return 1;
}

void ZakonczGumke(ObsProj* w, int x, int y) {
    const POINT k = KoniecGumki(w, x, y);
    const POINT s = w->start;
    // Ended first, so that releasing the capture is not taken for a lost one.
    ZwolnijGumke(w);
    ReleaseCapture();
    const int32_t narz = NarzedzieObs(w->p->flagi);
    const bool poziomy = k.y == s.y && k.x != s.x;
    char msg[KV_MSG_LEN];
    strObsOkno* tab = nullptr;
    int32_t ile = 0;
    if (Liczba(w) > 0 && !BudujStrukture(Lista(w), Liczba(w), 0, 1, 1, &tab, &ile, msg)) {
        KvShowError(w->hwnd, msg);
        ile = 0;
    }
    int32_t X = 0, Y = 0;
    const strProst cel = Prost(w->prost);
    if (Liczba(w) > 0) ObsPxNaMm(Lista(w)[0].rama.x1, Lista(w)[0].rama.y1, &cel, k.x, k.y, &X, &Y);
    const int x0 = s.x < k.x ? s.x : k.x, x1 = s.x < k.x ? k.x : s.x;
    const int y0 = s.y < k.y ? s.y : k.y, y1 = s.y < k.y ? k.y : s.y;
    for (int32_t i = 0; i < ile; i++) {
        const strObsOkno& o = tab[i];
        if (o.wypelniony && narz != kNarzSzpros) continue;
        const strProst& r = o.prostUrz;
        bool bierze;
        if (poziomy) bierze = x0 < r.left && x1 > r.right && s.y >= r.top && s.y <= r.bottom;
        else bierze = y0 < r.top && y1 > r.bottom && s.x >= r.left && s.x <= r.right;
        if (!bierze) continue;
        const uniOperRys op = NowaListwa(w, narz, o, poziomy ? Y : X, poziomy);
        if (!Dolacz(w, op, &o, msg)) continue;
        if (!Wymiary(w, msg)) {
            KvShowError(w->hwnd, msg);
            break;
        }
    }
    ZwolnijStrukture(tab);
    Powiadom(w, kObsKodZmiana);
    InvalidateRect(w->hwnd, nullptr, TRUE);
}

// ---- Tools ---------------------------------------------------------------------

// The area for a sash or filling at the point, or a refusal.
bool ObszarPunktu(ObsProj* w, int x, int y, strObsOkno* o, int32_t* wynik, char* msg,
                  const char* komunikatWypeln) {
    strTrafienie t;
    *wynik = TestTrafienia(Lista(w), Liczba(w), &w->p->wym, x, y, &t);
    memset(o, 0, sizeof *o);
    for (int k = 0; k < 4; k++) o->ogr[k] = t.ogr[k];
    o->wypelniony = *wynik == kTrWypeln || *wynik == kTrPole;
    o->wypeln = o->wypelniony ? t.element : 0;
    if (*wynik == kTrObszar) return true;
    KvMsg(msg, "%s", o->wypelniony && komunikatWypeln ? komunikatWypeln : "Incorrect area of the window");
    return false;
}

void WstawSkrzydlo(ObsProj* w, int32_t narz, int x, int y) {
    static const int32_t rodzaje[7][2] = {{0, 0}, {1, 0}, {1, 1}, {2, 0}, {2, 1}, {3, 0}, {3, 1}};
    char msg[KV_MSG_LEN];
    strObsOkno o;
    int32_t wynik;
    if (!ObszarPunktu(w, x, y, &o, &wynik, msg, "A sash cannot be inserted into area of the windows with filling")) {
        KvShowError(w->hwnd, msg);
        return;
    }
    uniOperRys op;
    memset(&op, 0, sizeof op);
    op.skrzydlo.typ = kOperSkrzydlo;
    NowaOper(w, &op);
    op.skrzydlo.rodzOtw = rodzaje[narz - kNarzSkrzydloStale][0];
    op.skrzydlo.stronaOtw = rodzaje[narz - kNarzSkrzydloStale][1];
    for (int k = 0; k < 4; k++) op.skrzydlo.ogr[k] = o.ogr[k];
    if (!Dolacz(w, op, &o, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    PoZmianie(w, kObsKodZmiana);
}

void WstawWypelnienie(ObsProj* w, int x, int y) {
    char msg[KV_MSG_LEN];
    strObsOkno o;
    int32_t wynik;
    if (!ObszarPunktu(w, x, y, &o, &wynik, msg,
                      "A filling cannot be inserted into area of the window with another filling")) {
        KvShowError(w->hwnd, msg);
        return;
    }
    uniOperRys op;
    memset(&op, 0, sizeof op);
    op.wypeln.typ = kOperWypeln;
    NowaOper(w, &op);
    op.wypeln.typWypeln = w->p->typWypeln == 1 ? 1 : 0;
    memcpy(op.wypeln.nazwa, w->p->nazwaWypeln, sizeof op.wypeln.nazwa);
    op.wypeln.nazwa[sizeof op.wypeln.nazwa - 1] = 0;
    for (int k = 0; k < 4; k++) op.wypeln.ogr[k] = o.ogr[k];
    if (!Dolacz(w, op, &o, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    PoZmianie(w, kObsKodZmiana);
}

void WstawRame(ObsProj* w, int x, int y) {
    if (Liczba(w) > 0) return;  // one frame per window
    uniOperRys rama;
    memset(&rama, 0, sizeof rama);
    rama.rama.typ = kOperRama;
    NowaOper(w, &rama);
    POINT pt = {x, y};
    ClientToScreen(w->hwnd, &pt);
    if (!DialogWymiarRamy(w->hwnd, w->p, &rama, pt)) return;
    char msg[KV_MSG_LEN];
    uniOperRys* lista = (uniOperRys*)KvAlloc(sizeof(uniOperRys));
    if (!lista) {
        KvShowError(w->hwnd, "Error of allocation the uniOperRys union");
        return;
    }
    lista[0] = rama;
    RozmiescWszystko(w, lista, 1);
    Podmien(w, lista, 1);
    if (!Wymiary(w, msg)) KvShowError(w->hwnd, msg);
    InvalidateRect(w->hwnd, nullptr, TRUE);
    Powiadom(w, kObsKodRama);
    Powiadom(w, kObsKodZmiana);
}

void OnLButtonDown(ObsProj* w, int x, int y) {
    if (w->stanEd != kEdZamkniety) OnZamknijEd(w);
    if (!w->edytowalny) return;
    const int32_t narz = NarzedzieObs(w->p->flagi);
    switch (narz) {
    case kNarzWskaznik: {
        strTrafienie t;
        const int32_t wynik = TestTrafienia(Lista(w), Liczba(w), &w->p->wym, x, y, &t);
        if (wynik == kTrEtSzer) OtworzEdytor(w, kEdSzer, -1);
        else if (wynik == kTrEtWys) OtworzEdytor(w, kEdWys, -1);
        else if (wynik >= kTrEtPrawy && wynik <= kTrEtGorny) OtworzEdytor(w, kEdPrawy + (wynik - kTrEtPrawy), t.element);
        break;
    }
    case kNarzRama: WstawRame(w, x, y); break;
    case kNarzSlupekStaly:
    case kNarzSlupekRuch:
    case kNarzSzpros:
        if (Liczba(w) > 0) StartGumki(w, x, y);
        break;
    case kNarzWypeln: WstawWypelnienie(w, x, y); break;
    default:
        if (narz >= kNarzSkrzydloStale && narz <= kNarzSkrzydloOstatnie) WstawSkrzydlo(w, narz, x, y);
        break;
    }
}

void OnMouseMove(ObsProj* w, int x, int y) {
    Sledz(w);
    if (w->gumka) RuchGumki(w, x, y);
}

void OnLButtonUp(ObsProj* w, int x, int y) {
    if (w->gumka) ZakonczGumke(w, x, y);
}

// A grid of mullions or muntins, checked as one batch and inserted whole or
// not at all.
int WstawSiatke(ObsProj* w, int32_t narz, const strTrafienie& t, int32_t h, int32_t v, char* msg) {
    const int32_t n = Liczba(w);
    const uniOperRys* lista = Lista(w);
    strObszarSiatki obs;
    for (int k = 0; k < 4; k++) obs.ogr[k] = t.ogr[k];
    obs.x1 = KrawedzElementu(t.ogr[kLewa], kLewa, lista, n);
    obs.y1 = KrawedzElementu(t.ogr[kGora], kGora, lista, n);
    obs.x2 = KrawedzElementu(t.ogr[kPrawa], kPrawa, lista, n);
    obs.y2 = KrawedzElementu(t.ogr[kDol], kDol, lista, n);
    const int32_t ile = LiczbaSiatki(h, v);
    uniOperRys* nowa = (uniOperRys*)KvAlloc((size_t)(n + ile) * sizeof(uniOperRys));
    if (!nowa) {
        KvMsg(msg, "Error of allocation the uniOperRys union");
        return 0;
    }
    memcpy(nowa, lista, (size_t)n * sizeof(uniOperRys));
    const uint32_t typ = narz == kNarzSzpros ? kOperSzpros : kOperSlupekStaly;
    BudujSiatke(&obs, h, v, typ, 0, t.element, n, nowa + n);
    int ok = Limity(w, nowa + n, ile, kLimDolacz, msg);
    for (int32_t j = n; ok && j < n + ile; j++) ok = ObliczElement(nowa, j + 1, j, w->p->format, w->p->okno, msg);
    if (!ok) {
        KvFree(nowa);
        return 0;
    }
    RozmiescWszystko(w, nowa, n + ile);
    Podmien(w, nowa, n + ile);
    return 1;
}

void OnLButtonDblClk(ObsProj* w, int x, int y) {
    const int32_t narz = NarzedzieObs(w->p->flagi);
    if (!w->edytowalny || (narz != kNarzSlupekStaly && narz != kNarzSzpros) || Liczba(w) < 1) return;
    char msg[KV_MSG_LEN];
    strTrafienie t;
    const int32_t wynik = TestTrafienia(Lista(w), Liczba(w), &w->p->wym, x, y, &t);
    if (wynik != kTrObszar && wynik != kTrWypeln && wynik != kTrPole) {
        KvShowError(w->hwnd, "Incorrect area of the window");
        return;
    }
    strObsOkno o;
    memset(&o, 0, sizeof o);
    for (int k = 0; k < 4; k++) o.ogr[k] = t.ogr[k];
    o.wypelniony = wynik != kTrObszar;
    o.wypeln = o.wypelniony ? t.element : 0;
    const uint32_t typ = narz == kNarzSzpros ? kOperSzpros : kOperSlupekStaly;
    if (!SprawdzWstawienie(typ, 1, &o, Lista(w), Liczba(w), w->p->format, msg) ||
        !SprawdzWstawienie(typ, 0, &o, Lista(w), Liczba(w), w->p->format, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    strSiatka s = {narz == kNarzSlupekStaly ? 1 : 0, {x, y}, 0, 0};
    ClientToScreen(w->hwnd, &s.pkt);
    if (!DialogSiatka(w->hwnd, &s)) return;
    if (LiczbaSiatki(s.poziomo, s.pionowo) == 0) return;
    if (!WstawSiatke(w, narz, t, s.poziomo, s.pionowo, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    PoZmianie(w, kObsKodZmiana);
}

void OnRButtonUp(ObsProj* w, int x, int y) {
    if (!w->edytowalny) return;
    if (w->stanEd != kEdZamkniety) OnZamknijEd(w);
    strTrafienie t;
    const int32_t wynik = TestTrafienia(Lista(w), Liczba(w), &w->p->wym, x, y, &t);
    if ((wynik == kTrProfil || wynik == kTrSzpros || wynik == kTrWypeln || wynik == kTrPole) &&
        (w->p->flagi & kObsMenu)) {
        strNotyfObsProj nm;
        nm.hdr = {w->hwnd, (UINT_PTR)w->p->idKntrl, kObsKodMenu};
        nm.element = t.element;
        nm.pkt = {x, y};
        ClientToScreen(w->hwnd, &nm.pkt);
        SendMessageA(GetParent(w->hwnd), WM_NOTIFY, (WPARAM)w->p->idKntrl, (LPARAM)&nm);
    }
    SetFocus(w->hwnd);
}

// ---- Window --------------------------------------------------------------------

void PaintObs(HDC dc, const RECT& r, ObsProj* w) {
    FillRect(dc, &r, w->p->ds->brushCanvas);
    if (Liczba(w) > 0)
        RysujOkno(dc, Lista(w), Liczba(w), ProfSch(w), w->p->format, &w->p->wym, w->p->ds, kStylKanwa, kWymEkran);
}

// Straight onto the window: a full-size memory image blitted to the screen
// costs several times the drawing itself under an X server, and the drawing
// puts every element down once, in order, so nothing flickers in between.
void OnPaint(ObsProj* w) {
    ScopedPaint ps(w->hwnd);
    PaintObs(ps, w->prost, w);
}

void OnSize(ObsProj* w) {
    GetClientRect(w->hwnd, &w->prost);
    RozmiescWszystko(w, Lista(w), Liczba(w));
    TekstyWymiarow(w);
    PrzesunEdytor(w);
}

void OnOdswiez(ObsProj* w) {
    UkryjTip(w);
    OnZamknijEd(w);
    GetClientRect(w->hwnd, &w->prost);
    char msg[KV_MSG_LEN];
    if (Liczba(w) > 0 && !ObliczGeometrie(Lista(w), Liczba(w), w->p->format, w->p->okno, msg))
        KvShowError(w->hwnd, msg);
    RozmiescWszystko(w, Lista(w), Liczba(w));
    if (!Wymiary(w, msg)) KvShowError(w->hwnd, msg);
    InvalidateRect(w->hwnd, nullptr, TRUE);
}

LRESULT OnCreate(ObsProj* w, CREATESTRUCTA* cs) {
    GetClientRect(w->hwnd, &w->prost);
    if (!TworzEdytor(w, cs->hInstance)) return -1;
    TworzTip(w, cs->hInstance);
    char msg[KV_MSG_LEN];
    const int32_t n = Liczba(w);
    if (n > 0 && ObliczGeometrie(Lista(w), n, w->p->format, w->p->okno, msg)) RozmiescWszystko(w, Lista(w), n);
    if (!BudujWymiary(Lista(w), n, &w->p->wym, msg)) {
        KvShowError(GetParent(w->hwnd), msg);
        return -1;
    }
    TekstyWymiarow(w);
    return 0;
}

LRESULT OnNotify(ObsProj* w, NMHDR* nm) {
    if (nm->hwndFrom == w->ed.hUd && nm->code == UDN_DELTAPOS) return OnSpin(w, (NMUPDOWN*)nm);
    if (nm->hwndFrom == w->tip && nm->code == TTN_GETDISPINFOA) {
        ((NMTTDISPINFOA*)nm)->lpszText = w->tipTekst;
        return 0;
    }
    return 0;
}

void OnNcDestroy(ObsProj* w) {
    ZwolnijGumke(w);
    ZwolnijWymiary(&w->p->wym);
    KvDetachState(w->hwnd);
    delete w;
}

// The two creation values come in a strTworzObsProj; the canvas's own state
// is made from them at WM_NCCREATE and lives until WM_NCDESTROY.
ObsProj* NowyStan(HWND hwnd, const CREATESTRUCTA* cs) {
    const strTworzObsProj* tw = (const strTworzObsProj*)cs->lpCreateParams;
    if (!tw || !tw->param || !tw->param->ds || !tw->param->oper || !tw->param->liczbaOper) return nullptr;
    ObsProj* w = new (std::nothrow) ObsProj;
    if (!w) return nullptr;
    w->hwnd = hwnd;
    w->p = tw->param;
    w->edytowalny = tw->edytowalny;
    return w;
}

LRESULT CALLBACK ObsProjProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    ObsProj* w = KvWindowStateMadeAtCreation<ObsProj>(hwnd, msg, lp, NowyStan);
    if (!w) return msg == WM_NCCREATE ? FALSE : DefWindowProcA(hwnd, msg, wp, lp);
    const int x = (short)LOWORD(lp), y = (short)HIWORD(lp);
    switch (msg) {
    case WM_CREATE: return OnCreate(w, (CREATESTRUCTA*)lp);
    case WM_SIZE: OnSize(w); return 0;
    case WM_PAINT: OnPaint(w); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN: OnLButtonDown(w, x, y); return 0;
    case WM_MOUSEMOVE: OnMouseMove(w, x, y); return 0;
    case WM_LBUTTONUP: OnLButtonUp(w, x, y); return 0;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(w, x, y); return 0;
    case WM_RBUTTONUP: OnRButtonUp(w, x, y); return 0;
    case WM_MOUSEHOVER: OnMouseHover(w, wp, x, y); return 0;
    case WM_MOUSELEAVE: OnMouseLeave(w); return 0;
    case WM_CAPTURECHANGED: OnCaptureChanged(w, (HWND)lp); return 0;
    case WM_NOTIFY: return OnNotify(w, (NMHDR*)lp);
    case UM_OBS_ZAMKNIJ_ED: OnZamknijEd(w); return 0;
    case UM_OBS_ZASTOSUJ_ED: return OnZastosujEd(w);
    case UM_OBS_ODSWIEZ: OnOdswiez(w); return 0;
    case WM_NCDESTROY: OnNcDestroy(w); return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// ---- Element operations ----------------------------------------------------------

ObsProj* StanOperacji(HWND obs, int32_t indeks, char* msg) {
    ObsProj* w = obs ? Stan(obs) : nullptr;
    if (!w || indeks < 0 || indeks >= Liczba(w)) {
        KvMsg(msg, "Incorrect area of the window");
        return nullptr;
    }
    return w;
}

// Writes a checked element back and refreshes the view.
int Zapisz(ObsProj* w, int32_t indeks, const uniOperRys& op, char* msg) {
    uniOperRys* kopia = nullptr;
    int32_t n = 0;
    if (!KopiujListeOper(Lista(w), Liczba(w), &kopia, &n, msg)) return 0;
    kopia[indeks] = op;
    if (!ObliczGeometrie(kopia, n, w->p->format, w->p->okno, msg)) {
        KvFree(kopia);
        return 0;
    }
    RozmiescWszystko(w, kopia, n);
    Podmien(w, kopia, n);
    PoZmianie(w, kObsKodZmiana);
    return 1;
}

}  // namespace

bool RejestrujObsProj(HINSTANCE instance, HBRUSH tlo) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(instance, OBSPROJ_KLASA, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = ObsProjProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = tlo;
    wc.lpszClassName = OBSPROJ_KLASA;
    return RegisterClassExA(&wc) != 0;
}

HWND TworzObsProj(HWND parent, int x, int y, int w, int h, strParamObsProj* param, int edytowalny) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    if (!param || !param->ds || !RejestrujObsProj(inst, param->ds->brushCanvas)) return nullptr;
    strTworzObsProj tw = {param, edytowalny};
    return CreateWindowExA(WS_EX_CLIENTEDGE, OBSPROJ_KLASA, "", WS_CHILD | WS_VISIBLE, x, y, w, h, parent,
                           (HMENU)(INT_PTR)IDC_OBSPROJ, inst, &tw);
}

int OdpowiedzLimity(const strOkno* okno, const strLimitObsProj* a) {
    if (!a || !a->msg) return 0;
    return SprawdzLimity(okno, a->liczba, a->oper, a->indeks, nullptr, nullptr, a->msg);
}

int ObsProjSprawdzLimity(HWND obs, const uniOperRys* ops, int32_t n, int32_t indeks, char* msg) {
    ObsProj* w = obs ? Stan(obs) : nullptr;
    if (!w) return 1;
    return Limity(w, ops, n, indeks, msg);
}

int ObsProjUsun(HWND obs, int32_t indeks, char* msg) {
    ObsProj* w = StanOperacji(obs, indeks, msg);
    if (!w) return 0;
    OnZamknijEd(w);
    UkryjTip(w);
    if (!UsunElement(w->p->oper, w->p->liczbaOper, indeks, msg)) return 0;
    if (Liczba(w) > 0 && ObliczGeometrie(Lista(w), Liczba(w), w->p->format, w->p->okno, msg))
        RozmiescWszystko(w, Lista(w), Liczba(w));
    if (!Wymiary(w, msg)) KvShowError(w->hwnd, msg);
    InvalidateRect(w->hwnd, nullptr, TRUE);
    Powiadom(w, kObsKodRama);
    return 1;
}

int ObsProjZmienSkrzydlo(HWND obs, int32_t indeks, int32_t rodzOtw, int32_t stronaOtw, char* msg) {
    ObsProj* w = StanOperacji(obs, indeks, msg);
    if (!w) return 0;
    uniOperRys op = Lista(w)[indeks];
    if (op.typ != kOperSkrzydlo) {
        KvMsg(msg, "Wrong definition of the sash");
        return 0;
    }
    op.skrzydlo.rodzOtw = rodzOtw;
    op.skrzydlo.stronaOtw = stronaOtw;
    if (!SprawdzZmiane(Lista(w), Liczba(w), &op, indeks, w->p->format, msg)) return 0;
    if (!Limity(w, &op, 1, indeks, msg)) return 0;
    return Zapisz(w, indeks, op, msg);
}

int ObsProjZmienWypeln(HWND obs, int32_t indeks, const char* nazwa, int32_t typ, char* msg) {
    ObsProj* w = StanOperacji(obs, indeks, msg);
    if (!w) return 0;
    uniOperRys op = Lista(w)[indeks];
    if (op.typ != kOperWypeln) {
        KvMsg(msg, "Wrong definition of the filling");
        return 0;
    }
    op.wypeln.typWypeln = typ;
    memset(op.wypeln.nazwa, 0, sizeof op.wypeln.nazwa);
    if (nazwa) strncpy(op.wypeln.nazwa, nazwa, sizeof op.wypeln.nazwa - 1);
    if (!SprawdzZmiane(Lista(w), Liczba(w), &op, indeks, w->p->format, msg)) return 0;
    return Zapisz(w, indeks, op, msg);
}

int ObsProjZmienSlupek(HWND obs, int32_t indeks, int32_t rodzaj, char* msg) {
    ObsProj* w = StanOperacji(obs, indeks, msg);
    if (!w) return 0;
    uniOperRys op = Lista(w)[indeks];
    if (op.typ != kOperSlupekStaly && op.typ != kOperSlupekRuch) {
        KvMsg(msg, "Wrong definition of the mullion");
        return 0;
    }
    op.slupek.rodzaj = rodzaj == 1 ? 1 : 0;
    op.slupek.typ = rodzaj == 1 ? kOperSlupekRuch : kOperSlupekStaly;
    // The mullion's own step with the thickness of its new kind, on a copy.
    uniOperRys* kopia = nullptr;
    int32_t n = 0;
    if (!KopiujListeOper(Lista(w), Liczba(w), &kopia, &n, msg)) return 0;
    kopia[indeks] = op;
    int ok = ObliczElement(kopia, n, indeks, w->p->format, w->p->okno, msg);
    if (ok) {
        RozmiescWszystko(w, kopia, n);
        op = kopia[indeks];
    }
    KvFree(kopia);
    if (!ok || !SprawdzZmiane(Lista(w), Liczba(w), &op, indeks, w->p->format, msg)) return 0;
    if (!Limity(w, &op, 1, indeks, msg)) return 0;
    return Zapisz(w, indeks, op, msg);
}
