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

void NotifyParent(CanvasState* w, UINT kod) {
    const uint32_t bit = kod == kCanvasCodeFrame ? kCanvasNotifyFrame : kCanvasNotifyChange;
    if (!(w->p->flagi & bit)) return;
    NMHDR nm = {w->hwnd, (UINT_PTR)w->p->controlId, kod};
    SendMessageA(GetParent(w->hwnd), WM_NOTIFY, (WPARAM)w->p->controlId, (LPARAM)&nm);
}

int AskLimits(CanvasState* w, const uniOperRys* ops, int32_t n, int32_t indeks, char* msg) {
    if (!(w->p->flagi & kCanvasLimits)) return 1;
    msg[0] = 0;
    CanvasLimitQuery a = {ops, n, indeks, msg};
    if (SendMessageA(GetParent(w->hwnd), UM_OBS_LIMITY, 0, (LPARAM)&a)) return 1;
    if (!msg[0]) KvMsg(msg, "Incorrect area of the window");
    return 0;
}

void AnnounceNewOp(CanvasState* w, uniOperRys* op) {
    if (w->p->flagi & kCanvasAskNew)
        SendMessageA(GetParent(w->hwnd), UM_OBS_NOWA_OPER, (WPARAM)op, (LPARAM)op->typ);
}

// ---- Placement ---------------------------------------------------------------

void LayOutAll(CanvasState* w, uniOperRys* lista, int32_t n) {
    if (n > 0) LayOutWindowOnDevice(lista, n, &w->prost, CanvasMargin(Dpi(w)), w->p->ds);
}

namespace {

// Places the dimension texts. They are measured on a memory context like
// the screen: the same fonts give the same sizes, without a round trip to
// the display for every label.
void PlaceDimensionTexts(CanvasState* w) {
    if (OpCount(w) < 1) return;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        LayOutDimensionTextsOnWindow(w->hwnd, w->p->ds, &w->p->dimensionSet, OpList(w), OpCount(w), 1);
        return;
    }
    LayOutDimensionTextsDC(dc, w->p->ds, &w->p->dimensionSet, OpList(w), OpCount(w), 1);
    DeleteDC(dc);
}

}  // namespace

// Rebuilds the dimension set of the current list and places its texts.
int DrawDimensions(CanvasState* w, char* msg) {
    if (!BuildDimensions(OpList(w), OpCount(w), &w->p->dimensionSet, msg)) return 0;
    PlaceDimensionTexts(w);
    return 1;
}

// Puts a checked list in place of the designer's one; the old list is
// released.
void ReplaceList(CanvasState* w, uniOperRys* nowa, int32_t n) {
    KvFree(*w->p->oper);
    *w->p->oper = nowa;
    *w->p->liczbaOper = n;
}

// After an accepted change: labels placed, canvas repainted, notification.
void AfterCanvasChange(CanvasState* w, UINT kod) {
    char msg[KV_MSG_LEN];
    if (!DrawDimensions(w, msg)) KvShowError(w->hwnd, msg);
    InvalidateRect(w->hwnd, nullptr, TRUE);
    NotifyParent(w, kod);
}

// ---- Tooltip -----------------------------------------------------------------

void HideTooltip(CanvasState* w) {
    if (!w->tip) return;
    TOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.hwnd = w->hwnd;
    ti.uId = (UINT_PTR)w->hwnd;
    SendMessageA(w->tip, TTM_TRACKACTIVATE, FALSE, (LPARAM)&ti);
    w->tipElement = -1;
}

namespace {

bool CreateTooltip(CanvasState* w, HINSTANCE inst) {
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

void OnMouseHover(CanvasState* w, WPARAM klawisze, int x, int y) {
    w->trackingHover = false;
    HideTooltip(w);
    if (klawisze != 0) return;
    HitResult t;
    HitTest(OpList(w), OpCount(w), &w->p->dimensionSet, x, y, &t);
    const uniOperRys* lista = OpList(w);
    if (t.resultCode == kTrProfil && t.element > 0 &&
        (lista[t.element].typ == kOpFixedMullion || lista[t.element].typ == kOpFalseMullion)) {
        strncpy(w->tooltipText, lista[t.element].slupek.rodzaj == 1 ? "False mullion" : "Fixed mullion",
                sizeof w->tooltipText);
    } else if ((t.resultCode == kTrFilling || t.resultCode == kTrPole) && t.element > 0) {
        GetFillingName(&lista[t.element].wypeln, w->tooltipText);
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

void OnMouseLeave(CanvasState* w) {
    w->trackingLeave = false;
    w->trackingHover = false;
    HideTooltip(w);
}

}  // namespace

void TrackMouse(CanvasState* w) {
    if (w->trackingHover && w->trackingLeave) return;
    TRACKMOUSEEVENT tme = {sizeof tme, TME_HOVER | TME_LEAVE, w->hwnd, HOVER_DEFAULT};
    if (TrackMouseEvent(&tme)) w->trackingHover = w->trackingLeave = true;
}

// ---- Window --------------------------------------------------------------------

void PaintCanvas(HDC dc, const RECT& r, CanvasState* w) {
    FillRect(dc, &r, w->p->ds->brushCanvas);
    if (OpCount(w) > 0)
        DrawWindow(dc, OpList(w), OpCount(w), ProfileScheme(w), w->p->format, &w->p->dimensionSet, w->p->ds, kStyleCanvas,
                  kDimensionsScreen);
}

namespace {

// Straight onto the window: a full-size memory image blitted to the screen
// costs several times the drawing itself under an X server, and the drawing
// puts every element down once, in order, so nothing flickers in between.
void OnPaint(CanvasState* w) {
    ScopedPaint ps(w->hwnd);
    PaintCanvas(ps, w->prost, w);
}

void OnSize(CanvasState* w) {
    GetClientRect(w->hwnd, &w->prost);
    LayOutAll(w, OpList(w), OpCount(w));
    PlaceDimensionTexts(w);
    MoveEditor(w);
}

void OnRefresh(CanvasState* w) {
    HideTooltip(w);
    OnCloseEditor(w);
    RescaleEditor(w);
    GetClientRect(w->hwnd, &w->prost);
    char msg[KV_MSG_LEN];
    if (OpCount(w) > 0 && !ComputeGeometry(OpList(w), OpCount(w), w->p->format, w->p->windowRec, msg))
        KvShowError(w->hwnd, msg);
    LayOutAll(w, OpList(w), OpCount(w));
    if (!DrawDimensions(w, msg)) KvShowError(w->hwnd, msg);
    InvalidateRect(w->hwnd, nullptr, TRUE);
}

LRESULT OnCreate(CanvasState* w, CREATESTRUCTA* cs) {
    GetClientRect(w->hwnd, &w->prost);
    if (!CreateEditor(w, cs->hInstance)) return -1;
    CreateTooltip(w, cs->hInstance);
    char msg[KV_MSG_LEN];
    const int32_t n = OpCount(w);
    if (n > 0 && ComputeGeometry(OpList(w), n, w->p->format, w->p->windowRec, msg))
        LayOutAll(w, OpList(w), n);
    if (!BuildDimensions(OpList(w), n, &w->p->dimensionSet, msg)) {
        KvShowError(GetParent(w->hwnd), msg);
        return -1;
    }
    PlaceDimensionTexts(w);
    return 0;
}

LRESULT OnNotify(CanvasState* w, NMHDR* nm) {
    if (nm->hwndFrom == w->ed.hUd && nm->code == UDN_DELTAPOS) return OnSpin(w, (NMUPDOWN*)nm);
    if (nm->hwndFrom == w->tip && nm->code == TTN_GETDISPINFOA) {
        ((NMTTDISPINFOA*)nm)->lpszText = w->tooltipText;
        return 0;
    }
    return 0;
}

void OnNcDestroy(CanvasState* w) {
    FreeBand(w);
    FreeDimensions(&w->p->dimensionSet);
    KvDetachState(w->hwnd);
    delete w;
}

// The two creation values come in a CanvasCreateParams; the canvas's own state
// is made from them at WM_NCCREATE and lives until WM_NCDESTROY.
CanvasState* NewState(HWND hwnd, const CREATESTRUCTA* cs) {
    const CanvasCreateParams* tw = (const CanvasCreateParams*)cs->lpCreateParams;
    if (!tw || !tw->param || !tw->param->ds || !tw->param->oper || !tw->param->liczbaOper) return nullptr;
    CanvasState* w = new (std::nothrow) CanvasState;
    if (!w) return nullptr;
    w->hwnd = hwnd;
    w->p = tw->param;
    w->edytowalny = tw->edytowalny;
    return w;
}

LRESULT CALLBACK ObsProjProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    CanvasState* w = KvWindowStateMadeAtCreation<CanvasState>(hwnd, msg, lp, NewState);
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
        case UM_OBS_ZAMKNIJ_ED: OnCloseEditor(w); return 0;
        case UM_OBS_ZASTOSUJ_ED: return OnApplyEditor(w);
        case UM_OBS_ODSWIEZ: OnRefresh(w); return 0;
        case WM_NCDESTROY: OnNcDestroy(w); return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

bool RegisterCanvas(HINSTANCE instance, HBRUSH tlo) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(instance, CANVAS_CLASS, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = ObsProjProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = tlo;
    wc.lpszClassName = CANVAS_CLASS;
    return RegisterClassExA(&wc) != 0;
}

HWND CreateCanvasWindow(HWND parent, int x, int y, int w, int h, CanvasParams* param, int edytowalny) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    if (!param || !param->ds || !RegisterCanvas(inst, param->ds->brushCanvas)) return nullptr;
    CanvasCreateParams tw = {param, edytowalny};
    return CreateWindowExA(WS_EX_CLIENTEDGE, CANVAS_CLASS, "", WS_CHILD | WS_VISIBLE, x, y, w, h, parent,
                           (HMENU)(INT_PTR)IDC_CANVAS, inst, &tw);
}

int AnswerLimits(const strOkno* okno, const CanvasLimitQuery* a) {
    if (!a || !a->msg) return 0;
    return CheckLimits(okno, a->itemCount, a->oper, a->indeks, nullptr, nullptr, a->msg);
}

int CanvasCheckLimits(HWND obs, const uniOperRys* ops, int32_t n, int32_t indeks, char* msg) {
    CanvasState* w = obs ? StateOf(obs) : nullptr;
    if (!w) return 1;
    return AskLimits(w, ops, n, indeks, msg);
}
