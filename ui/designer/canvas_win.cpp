// canvas_win.cpp - the design canvas window (class "obsProj").
//
// Every change goes the same way: it is made on a copy of the operation list
// (or on a copy of the one element), checked there by the structure rules,
// the geometry and the parent's limit check, and only then written into the
// designer's list. So whatever is refused leaves the list as it was.
//
// This file: the window, its notifications to the parent, placement and the
// tooltip.
#include "ui/designer/canvas_win.h"

#include "ui/designer/canvas_internal_win.h"

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
    if (n > 0) RozmiescOknoNaUrz(lista, n, &w->prost, ObsMargines(Dpi(w)), w->p->ds);
}

namespace {

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

}  // namespace

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

namespace {

bool TworzTip(ObsProj* w, HINSTANCE inst) {
    w->tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, w->hwnd, nullptr,
                             inst, nullptr);
    if (!w->tip) return false;
    TOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = w->hwnd;
    ti.uId = (UINT_PTR)w->hwnd;
    ti.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(w->tip, TTM_ADDTOOLA, 0, (LPARAM)&ti);
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
    // Above the mouse and as wide as at 96 dpi, at the canvas's dpi.
    SendMessageA(w->tip, TTM_SETMAXTIPWIDTH, 0, Px(w, 128));
    POINT pt = {x, y - Px(w, 20)};
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

}  // namespace

void Sledz(ObsProj* w) {
    if (w->sledzNad && w->sledzWyj) return;
    TRACKMOUSEEVENT tme = {sizeof tme, TME_HOVER | TME_LEAVE, w->hwnd, HOVER_DEFAULT};
    if (TrackMouseEvent(&tme)) w->sledzNad = w->sledzWyj = true;
}

// ---- Window --------------------------------------------------------------------

void PaintObs(HDC dc, const RECT& r, ObsProj* w) {
    FillRect(dc, &r, w->p->ds->brushCanvas);
    if (Liczba(w) > 0)
        RysujOkno(dc, Lista(w), Liczba(w), ProfSch(w), w->p->format, &w->p->wym, w->p->ds, kStylKanwa,
                  kWymEkran);
}

namespace {

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
    PrzeskalujEdytor(w);
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
    if (n > 0 && ObliczGeometrie(Lista(w), n, w->p->format, w->p->okno, msg))
        RozmiescWszystko(w, Lista(w), n);
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
