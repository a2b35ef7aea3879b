// The design canvas's in-place dimension editor: opening it on a label of a
// dimension chain, moving it, and applying a typed or spun value.

#include "ui/designer/canvas_internal_win.h"

// ---- In-place editor -----------------------------------------------------------

namespace {

LRESULT CALLBACK EdProc(HWND ed, UINT msg, WPARAM wp, LPARAM lp) {
    HWND obs = GetParent(ed);
    CanvasState* w = StateOf(obs);
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
void SetEditorFont(CanvasState* w) {
    w->edFont.reset(KvCreateGuiFont(Dpi(w)));
    SendMessageA(w->ed.hEd, WM_SETFONT, (WPARAM)KvGuiFont(w->edFont.get()), FALSE);
}

}  // namespace

bool CreateEditor(CanvasState* w, HINSTANCE inst) {
    if (!TworzEdUd(&w->ed, WS_CHILD | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS | UDS_SETBUDDYINT, 0,
                   0, Px(w, kEdWidthPx), Px(w, kEdHeightPx), w->hwnd, IDC_CANVAS_EDIT, IDC_CANVAS_SPIN, inst, 0,
                   kMaxDimension, 0))
        return false;
    ShowWindow(w->ed.hEd, SW_HIDE);
    ShowWindow(w->ed.hUd, SW_HIDE);
    w->edProc = (WNDPROC)SetWindowLongPtrA(w->ed.hEd, GWLP_WNDPROC, (LONG_PTR)EdProc);
    w->dpiEd = Dpi(w);
    SetEditorFont(w);
    return true;
}

void RescaleEditor(CanvasState* w) {
    if (!w->ed.hEd || w->dpiEd == Dpi(w)) return;
    w->dpiEd = Dpi(w);
    SetEditorFont(w);
    w->ed.szer = Px(w, kEdWidthPx);
    SetWindowPos(w->ed.hEd, nullptr, 0, 0, w->ed.szer, Px(w, kEdHeightPx), SWP_NOMOVE | SWP_NOZORDER);
    // Attached again, the up-down takes the edit's new height and its place
    // on the edit's right side.
    SendMessageA(w->ed.hUd, UDM_SETBUDDY, (WPARAM)w->ed.hEd, 0);
}

void OnCloseEditor(CanvasState* w) {
    w->edState = kEdClosed;
    if (!w->ed.hEd) return;
    const bool fokus = GetFocus() == w->ed.hEd;
    ShowWindow(w->ed.hEd, SW_HIDE);
    ShowWindow(w->ed.hUd, SW_HIDE);
    if (fokus) SetFocus(w->hwnd);
}

namespace {

int32_t EditorChain(int stan) {
    switch (stan) {
        case kEdRight: return kDimensionRight;
        case kEdBottom: return kDimensionBottom;
        case kEdLeft: return kDimensionLeft;
        case kEdTop: return kDimensionTop;
    }
    return -1;
}

// The label the editor is over: its rectangle and its current value.
bool EditorLabel(const CanvasState* w, strProst* r, int32_t* wartosc) {
    const DimensionSet& wym = w->p->dimensionSet;
    const uniOperRys* lista = OpList(w);
    if (OpCount(w) < 1) return false;
    switch (w->edState) {
        case kEdWidth:
            *r = wym.widthText;
            *wartosc = lista[0].rama.x1 - lista[0].rama.x0;
            return true;
        case kEdHeight:
            *r = wym.heightText;
            *wartosc = lista[0].rama.y1 - lista[0].rama.y0;
            return true;
    }
    const int32_t c = EditorChain(w->edState);
    if (c < 0 || w->edIndex < 0 || w->edIndex >= wym.itemCount[c]) return false;
    *r = wym.chainSegments[c][w->edIndex].tekst;
    *wartosc = wym.chainSegments[c][w->edIndex].dlugosc;
    return true;
}

}  // namespace

void MoveEditor(CanvasState* w) {
    strProst r;
    int32_t v;
    if (w->edState == kEdClosed || !EditorLabel(w, &r, &v)) return;
    int x = r.left, y = r.top;
    switch (w->edState) {
        case kEdWidth:
        case kEdBottom:
        case kEdTop: y = r.bottom - Px(w, kEdHeightPx); break;
        case kEdHeight:
        case kEdRight: x = r.right - Px(w, kEdWidthPx); break;
        default: break;
    }
    PrzesunEdUd(&w->ed, x, y);
}

void OpenEditor(CanvasState* w, int stan, int32_t indeks) {
    w->edState = stan;
    w->edIndex = indeks;
    strProst r;
    int32_t v;
    if (!EditorLabel(w, &r, &v)) {
        w->edState = kEdClosed;
        return;
    }
    MoveEditor(w);
    SendMessageA(w->ed.hUd, UDM_SETPOS32, 0, (LPARAM)v);
    SetDlgItemInt(w->hwnd, IDC_CANVAS_EDIT, (UINT)v, FALSE);
    ShowWindow(w->ed.hEd, SW_SHOW);
    ShowWindow(w->ed.hUd, SW_SHOW);
    SendMessageA(w->ed.hEd, EM_SETSEL, 0, -1);
    SetFocus(w->ed.hEd);
}

namespace {

// A new frame size: checked on a copy of the list, written back when the
// limits and the geometry accept it.
int ChangeFrame(CanvasState* w, int32_t v, char* msg) {
    uniOperRys rama = OpList(w)[0];
    if (w->edState == kEdWidth) rama.rama.x1 = rama.rama.x0 + v;
    else rama.rama.y1 = rama.rama.y0 + v;
    if (!AskLimits(w, &rama, 1, 0, msg)) return 0;
    uniOperRys* kopia = nullptr;
    int32_t n = 0;
    if (!CopyOpList(OpList(w), OpCount(w), &kopia, &n, msg)) return 0;
    kopia[0] = rama;
    if (!ComputeGeometry(kopia, n, w->p->format, w->p->windowRec, msg)) {
        KvFree(kopia);
        return 0;
    }
    LayOutAll(w, kopia, n);
    ReplaceList(w, kopia, n);
    return 1;
}

// Moves every element of the chain at the label element's position. Each
// move is checked against the list with the moves before it made; if any is
// refused, every element goes back where it was, so the window is never left
// half-moved.
int MoveChain(CanvasState* w, int32_t v, int* zmiana, char* msg) {
    const int32_t c = EditorChain(w->edState);
    const int32_t n = OpCount(w);
    int32_t* el = (int32_t*)KvAlloc((size_t)(n > 0 ? n : 1) * sizeof(int32_t));
    if (!el) {
        KvMsg(msg, "Error of allocation and copying uniOperRys union");
        return 0;
    }
    int32_t poz = 0;
    const int32_t ile = LabelMoves(OpList(w), n, &w->p->dimensionSet, c, w->edIndex, v, el, n, &poz);
    *zmiana = ile > 0;
    uniOperRys* zapas = nullptr;
    int32_t nz = 0;
    int ok = ile <= 0 || CopyOpList(OpList(w), n, &zapas, &nz, msg);
    for (int32_t k = 0; ok && k < ile; k++) {
        uniOperRys op = OpList(w)[el[k]];
        if (op.typ == kOpMuntin) op.szpros.poz = poz;
        else op.slupek.poz = poz;
        ok = AskLimits(w, &op, 1, el[k], msg);
        if (ok) OpList(w)[el[k]] = op;
    }
    if (ok && ile > 0) ok = ComputeGeometry(OpList(w), n, w->p->format, w->p->windowRec, msg);
    if (!ok && zapas) memcpy(OpList(w), zapas, (size_t)n * sizeof(uniOperRys));
    if (ok && ile > 0) LayOutAll(w, OpList(w), n);
    KvFree(zapas);
    KvFree(el);
    return ok;
}

// Applies value v to the label being edited. 1 when accepted (or nothing to
// change), 0 with the refusal shown.
int ApplyValue(CanvasState* w, int32_t v) {
    char msg[KV_MSG_LEN];
    msg[0] = 0;
    strProst r;
    int32_t biezaca;
    if (!EditorLabel(w, &r, &biezaca)) return 0;
    int ok = 1, zmiana = 0;
    if (w->edState == kEdWidth || w->edState == kEdHeight) {
        zmiana = v != biezaca;
        if (zmiana) ok = ChangeFrame(w, v, msg);
    } else {
        ok = MoveChain(w, v, &zmiana, msg);
    }
    if (!ok) {
        KvShowError(w->hwnd, msg);
        return 0;
    }
    if (zmiana) {
        AfterCanvasChange(w, kCanvasCodeChange);
        MoveEditor(w);
    }
    return 1;
}

}  // namespace

LRESULT OnApplyEditor(CanvasState* w) {
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
    if (w->edState == kEdClosed) return 1;
    const int stan = w->edState;
    const int32_t indeks = w->edIndex;
    OnCloseEditor(w);
    w->edState = stan;
    w->edIndex = indeks;
    ApplyValue(w, (int32_t)v);
    w->edState = kEdClosed;
    return 1;
}

// The spin asks before it moves: a position below 0 closes the editor, a
// refused value keeps the spin where it is.
LRESULT OnSpin(CanvasState* w, NMUPDOWN* ud) {
    const int32_t v = ud->iPos + ud->iDelta;
    if (v < 0) {
        OnCloseEditor(w);
        return 1;
    }
    return ApplyValue(w, v) ? 0 : 1;
}
