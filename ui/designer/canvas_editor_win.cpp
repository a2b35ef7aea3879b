// The design canvas's in-place dimension editor: opening it on a label of a
// dimension chain, moving it, and applying a typed or spun value.

#include "ui/designer/canvas_internal_win.h"

// ---- In-place editor -----------------------------------------------------------

namespace {

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

// The editor's font for the canvas's dpi.
void SetEditorFont(ObsProj* w) {
    w->edFont.reset(KvCreateGuiFont(Dpi(w)));
    SendMessageA(w->ed.hEd, WM_SETFONT, (WPARAM)KvGuiFont(w->edFont.get()), FALSE);
}

}  // namespace

bool TworzEdytor(ObsProj* w, HINSTANCE inst) {
    if (!TworzEdUd(&w->ed, WS_CHILD | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS | UDS_SETBUDDYINT, 0,
                   0, Px(w, kEdSzerPx), Px(w, kEdWysPx), w->hwnd, IDC_OBSPROJ_EDIT, IDC_OBSPROJ_SPIN, inst, 0,
                   kMaxWymiar, 0))
        return false;
    ShowWindow(w->ed.hEd, SW_HIDE);
    ShowWindow(w->ed.hUd, SW_HIDE);
    w->edProc = (WNDPROC)SetWindowLongPtrA(w->ed.hEd, GWLP_WNDPROC, (LONG_PTR)EdProc);
    w->dpiEd = Dpi(w);
    SetEditorFont(w);
    return true;
}

void PrzeskalujEdytor(ObsProj* w) {
    if (!w->ed.hEd || w->dpiEd == Dpi(w)) return;
    w->dpiEd = Dpi(w);
    SetEditorFont(w);
    w->ed.szer = Px(w, kEdSzerPx);
    SetWindowPos(w->ed.hEd, nullptr, 0, 0, w->ed.szer, Px(w, kEdWysPx), SWP_NOMOVE | SWP_NOZORDER);
    // Attached again, the up-down takes the edit's new height and its place
    // on the edit's right side.
    SendMessageA(w->ed.hUd, UDM_SETBUDDY, (WPARAM)w->ed.hEd, 0);
}

void OnZamknijEd(ObsProj* w) {
    w->stanEd = kEdZamkniety;
    if (!w->ed.hEd) return;
    const bool fokus = GetFocus() == w->ed.hEd;
    ShowWindow(w->ed.hEd, SW_HIDE);
    ShowWindow(w->ed.hUd, SW_HIDE);
    if (fokus) SetFocus(w->hwnd);
}

namespace {

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
        case kEdSzer:
            *r = wym.tekstSzer;
            *wartosc = lista[0].rama.x1 - lista[0].rama.x0;
            return true;
        case kEdWys:
            *r = wym.tekstWys;
            *wartosc = lista[0].rama.y1 - lista[0].rama.y0;
            return true;
    }
    const int32_t c = LancuchEdytora(w->stanEd);
    if (c < 0 || w->indeksEd < 0 || w->indeksEd >= wym.liczba[c]) return false;
    *r = wym.wym[c][w->indeksEd].tekst;
    *wartosc = wym.wym[c][w->indeksEd].dlugosc;
    return true;
}

}  // namespace

void PrzesunEdytor(ObsProj* w) {
    strProst r;
    int32_t v;
    if (w->stanEd == kEdZamkniety || !EtykietaEdytora(w, &r, &v)) return;
    int x = r.left, y = r.top;
    switch (w->stanEd) {
        case kEdSzer:
        case kEdDolny:
        case kEdGorny: y = r.bottom - Px(w, kEdWysPx); break;
        case kEdWys:
        case kEdPrawy: x = r.right - Px(w, kEdSzerPx); break;
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

namespace {

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

}  // namespace

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
