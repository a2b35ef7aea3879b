// The design canvas's mouse: the rubber band and the tools that insert
// frames, mullions, muntins, sashes, fillings and grids.

#include "ui/designer/canvas_internal_win.h"

// ---- Rubber band -----------------------------------------------------------------

void FreeBand(CanvasState* w) {
    w->savedImage.reset();
    w->bitMask.reset();
    w->banding = false;
}

namespace {

void StartBand(CanvasState* w, int x, int y) {
    HideTooltip(w);
    UpdateWindow(w->hwnd);
    w->start = {x, y};
    w->lineEnd = w->start;
    const int cx = w->prost.right - w->prost.left, cy = w->prost.bottom - w->prost.top;
    ScopedWindowDC dc(w->hwnd);
    // The drawing as it stands, painted again into memory rather than read
    // back from the screen, which may be covered.
    w->savedImage.reset(new (std::nothrow) MemoryDC(dc, cx, cy));
    if (w->savedImage && w->savedImage->ok()) PaintCanvas(*w->savedImage, w->prost, w);
    w->bitMask.reset(new (std::nothrow) MaskDC(dc, cx, cy));
    w->banding = true;
    SetCapture(w->hwnd);
}

// The end of the line for the mouse at (x, y): horizontal when the mouse
// moved further across than down, else vertical, kept inside the canvas.
POINT BandEnd(const CanvasState* w, int x, int y) {
    if (abs(x - w->start.x) > abs(y - w->start.y)) return {x, w->start.y};
    const int dol = w->prost.bottom - 1;
    return {w->start.x, y > dol ? dol : y};
}

void MoveBand(CanvasState* w, int x, int y) {
    if (!w->savedImage || !w->savedImage->ok() || !w->bitMask || !w->bitMask->ok()) return;
    const POINT k = BandEnd(w, x, y);
    w->lineEnd = k;
    const int cx = w->savedImage->width(), cy = w->savedImage->height();
    const HDC maska = *w->bitMask;
    PatBlt(maska, 0, 0, cx, cy, WHITENESS);
    {
        ScopedSelect pen(maska, w->p->ds->penThick);
        MoveToEx(maska, w->start.x, w->start.y, nullptr);
        LineTo(maska, k.x, k.y);
    }
    ScopedWindowDC dc(w->hwnd);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, 0, 0, cx, cy, *w->savedImage, 0, 0, SRCCOPY);
    BitBlt(dc, 0, 0, cx, cy, maska, 0, 0, SRCAND);
}

}  // namespace

// The capture went elsewhere mid-band (Alt+Tab, a menu): the drag ends as if
// cancelled, and the line, drawn straight on the screen, is painted over.
void OnCaptureChanged(CanvasState* w, HWND nowy) {
    if (!w->banding || nowy == w->hwnd) return;
    const int gr = Px(w, kBandThickness);
    RECT r = {std::min(w->start.x, w->lineEnd.x) - gr, std::min(w->start.y, w->lineEnd.y) - gr,
              std::max(w->start.x, w->lineEnd.x) + gr + 1, std::max(w->start.y, w->lineEnd.y) + gr + 1};
    FreeBand(w);
    InvalidateRect(w->hwnd, &r, FALSE);
}

namespace {

// A new mullion or muntin across area `o` for the line at `poz` mm.
uniOperRys NewBar(CanvasState* w, int32_t narz, const strObsOkno& o, int32_t poz, bool poziomy) {
    uniOperRys op;
    memset(&op, 0, sizeof op);
    const int32_t pocz = poziomy ? o.ogr[kSideLeft] : o.ogr[kSideTop];
    const int32_t kon = poziomy ? o.ogr[kSideRight] : o.ogr[kSideBottom];
    if (narz == kToolMuntin) {
        op.szpros.typ = kOpMuntin;
        AnnounceNewOp(w, &op);
        op.szpros.poz = poz;
        op.szpros.poziomy = poziomy;
        op.szpros.ogrPocz = pocz;
        op.szpros.ogrKon = kon;
        op.szpros.wypeln = o.wypeln;
    } else {
        op.slupek.typ = narz == kToolFalseMullion ? kOpFalseMullion : kOpFixedMullion;
        AnnounceNewOp(w, &op);
        op.slupek.rodzaj = narz == kToolFalseMullion ? 1 : 0;
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
int AppendOp(CanvasState* w, uniOperRys op, const strObsOkno* obs, char* msg) {
    const int32_t n = OpCount(w);
    if (obs && !CheckInsertion(op.typ, KindCode(&op), obs, OpList(w), n, w->p->format, msg)) return 0;
    uniOperRys* kopia = (uniOperRys*)KvAlloc((size_t)(n + 1) * sizeof(uniOperRys));
    if (!kopia) {
        KvMsg(msg, "Error of allocation the uniOperRys union");
        return 0;
    }
    if (n) memcpy(kopia, OpList(w), (size_t)n * sizeof(uniOperRys));
    kopia[n] = op;
    if (!ComputeElement(kopia, n + 1, n, w->p->format, w->p->windowRec, msg)) {
        KvFree(kopia);
        return 0;
    }
    LayOutAll(w, kopia, n + 1);
    if (!AskLimits(w, &kopia[n], 1, kLimAppend, msg)) {
        KvFree(kopia);
        return 0;
    }
    ReplaceList(w, kopia, n + 1);
    return 1;
}

void FinishBand(CanvasState* w, int x, int y) {
    const POINT k = BandEnd(w, x, y);
    const POINT s = w->start;
    // Ended first, so that releasing the capture is not taken for a lost one.
    FreeBand(w);
    ReleaseCapture();
    const int32_t narz = CanvasTool(w->p->flagi);
    const bool poziomy = k.y == s.y && k.x != s.x;
    char msg[KV_MSG_LEN];
    strObsOkno* tab = nullptr;
    int32_t ile = 0;
    if (OpCount(w) > 0 && !BuildStructure(OpList(w), OpCount(w), 0, 1, 1, &tab, &ile, msg)) {
        KvShowError(w->hwnd, msg);
        ile = 0;
    }
    int32_t X = 0, Y = 0;
    const strProst cel = ToRect(w->prost);
    if (OpCount(w) > 0)
        CanvasPxToMm(OpList(w)[0].rama.x1, OpList(w)[0].rama.y1, &cel, CanvasMargin(Dpi(w)), k.x, k.y, &X, &Y);
    const int x0 = s.x < k.x ? s.x : k.x, x1 = s.x < k.x ? k.x : s.x;
    const int y0 = s.y < k.y ? s.y : k.y, y1 = s.y < k.y ? k.y : s.y;
    for (int32_t i = 0; i < ile; i++) {
        const strObsOkno& o = tab[i];
        if (o.hasFilling && narz != kToolMuntin) continue;
        const strProst& r = o.prostUrz;
        bool bierze;
        if (poziomy) bierze = x0 < r.left && x1 > r.right && s.y >= r.top && s.y <= r.bottom;
        else bierze = y0 < r.top && y1 > r.bottom && s.x >= r.left && s.x <= r.right;
        if (!bierze) continue;
        const uniOperRys op = NewBar(w, narz, o, poziomy ? Y : X, poziomy);
        if (!AppendOp(w, op, &o, msg)) continue;
        if (!DrawDimensions(w, msg)) {
            KvShowError(w->hwnd, msg);
            break;
        }
    }
    FreeStructure(tab);
    NotifyParent(w, kCanvasCodeChange);
    InvalidateRect(w->hwnd, nullptr, TRUE);
}

// ---- Tools ---------------------------------------------------------------------

// The area for a sash or filling at the point, or a refusal.
bool AreaAtPoint(CanvasState* w, int x, int y, strObsOkno* o, int32_t* wynik, char* msg,
                  const char* komunikatWypeln) {
    HitResult t;
    *wynik = HitTest(OpList(w), OpCount(w), &w->p->dimensionSet, x, y, &t);
    memset(o, 0, sizeof *o);
    for (int k = 0; k < 4; k++) o->ogr[k] = t.ogr[k];
    o->hasFilling = *wynik == kTrFilling || *wynik == kTrPole;
    o->wypeln = o->hasFilling ? t.element : 0;
    if (*wynik == kTrArea) return true;
    KvMsg(msg, "%s", o->hasFilling && komunikatWypeln ? komunikatWypeln : "Incorrect area of the window");
    return false;
}

void InsertSashAt(CanvasState* w, int32_t narz, int x, int y) {
    static const int32_t rodzaje[7][2] = {{0, 0}, {1, 0}, {1, 1}, {2, 0}, {2, 1}, {3, 0}, {3, 1}};
    char msg[KV_MSG_LEN];
    strObsOkno o;
    int32_t wynik;
    if (!AreaAtPoint(w, x, y, &o, &wynik, msg,
                      "A sash cannot be inserted into area of the windows with filling")) {
        KvShowError(w->hwnd, msg);
        return;
    }
    uniOperRys op;
    memset(&op, 0, sizeof op);
    op.skrzydlo.typ = kOpSash;
    AnnounceNewOp(w, &op);
    op.skrzydlo.rodzOtw = rodzaje[narz - kToolFixedSash][0];
    op.skrzydlo.stronaOtw = rodzaje[narz - kToolFixedSash][1];
    for (int k = 0; k < 4; k++) op.skrzydlo.ogr[k] = o.ogr[k];
    if (!AppendOp(w, op, &o, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    AfterCanvasChange(w, kCanvasCodeChange);
}

void InsertFillingAt(CanvasState* w, int x, int y) {
    char msg[KV_MSG_LEN];
    strObsOkno o;
    int32_t wynik;
    if (!AreaAtPoint(w, x, y, &o, &wynik, msg,
                      "A filling cannot be inserted into area of the window with another filling")) {
        KvShowError(w->hwnd, msg);
        return;
    }
    uniOperRys op;
    memset(&op, 0, sizeof op);
    op.wypeln.typ = kOpFilling;
    AnnounceNewOp(w, &op);
    op.wypeln.typWypeln = w->p->typWypeln == 1 ? 1 : 0;
    memcpy(op.wypeln.nazwa, w->p->fillingName, sizeof op.wypeln.nazwa);
    op.wypeln.nazwa[sizeof op.wypeln.nazwa - 1] = 0;
    for (int k = 0; k < 4; k++) op.wypeln.ogr[k] = o.ogr[k];
    if (!AppendOp(w, op, &o, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    AfterCanvasChange(w, kCanvasCodeChange);
}

void InsertFrameAt(CanvasState* w, int x, int y) {
    if (OpCount(w) > 0) return;  // one frame per window
    uniOperRys rama;
    memset(&rama, 0, sizeof rama);
    rama.rama.typ = kOpFrame;
    AnnounceNewOp(w, &rama);
    POINT pt = {x, y};
    ClientToScreen(w->hwnd, &pt);
    if (!DialogFrameDimension(w->hwnd, w->p, &rama, pt)) return;
    char msg[KV_MSG_LEN];
    uniOperRys* lista = (uniOperRys*)KvAlloc(sizeof(uniOperRys));
    if (!lista) {
        KvShowError(w->hwnd, "Error of allocation the uniOperRys union");
        return;
    }
    lista[0] = rama;
    LayOutAll(w, lista, 1);
    ReplaceList(w, lista, 1);
    if (!DrawDimensions(w, msg)) KvShowError(w->hwnd, msg);
    InvalidateRect(w->hwnd, nullptr, TRUE);
    NotifyParent(w, kCanvasCodeFrame);
    NotifyParent(w, kCanvasCodeChange);
}

}  // namespace

void OnLButtonDown(CanvasState* w, int x, int y) {
    if (w->edState != kEdClosed) OnCloseEditor(w);
    SetFocus(w->hwnd);  // the tools' letters are the canvas's keys
    if (!w->edytowalny) return;
    const int32_t narz = CanvasTool(w->p->flagi);
    switch (narz) {
        case kToolPointer: {
            HitResult t;
            const int32_t wynik = HitTest(OpList(w), OpCount(w), &w->p->dimensionSet, x, y, &t);
            if (wynik == kTrWidthLabel) OpenEditor(w, kEdWidth, -1);
            else if (wynik == kTrHeightLabel) OpenEditor(w, kEdHeight, -1);
            else if (wynik >= kTrRightLabel && wynik <= kTrTopLabel)
                OpenEditor(w, kEdRight + (wynik - kTrRightLabel), t.element);
            break;
        }
        case kToolFrame: InsertFrameAt(w, x, y); break;
        case kToolFixedMullion:
        case kToolFalseMullion:
        case kToolMuntin:
            if (OpCount(w) > 0) StartBand(w, x, y);
            break;
        case kToolFilling: InsertFillingAt(w, x, y); break;
        default:
            if (narz >= kToolFixedSash && narz <= kToolLastSash) InsertSashAt(w, narz, x, y);
            break;
    }
}

void OnMouseMove(CanvasState* w, int x, int y) {
    TrackMouse(w);
    if (w->banding) MoveBand(w, x, y);
}

void OnLButtonUp(CanvasState* w, int x, int y) {
    if (w->banding) FinishBand(w, x, y);
}

namespace {

// A grid of mullions or muntins, checked as one batch and inserted whole or
// not at all.
int InsertGrid(CanvasState* w, int32_t narz, const HitResult& t, int32_t h, int32_t v, char* msg) {
    const int32_t n = OpCount(w);
    const uniOperRys* lista = OpList(w);
    GridArea obs;
    for (int k = 0; k < 4; k++) obs.ogr[k] = t.ogr[k];
    obs.x1 = ElementEdge(t.ogr[kSideLeft], kSideLeft, lista, n);
    obs.y1 = ElementEdge(t.ogr[kSideTop], kSideTop, lista, n);
    obs.x2 = ElementEdge(t.ogr[kSideRight], kSideRight, lista, n);
    obs.y2 = ElementEdge(t.ogr[kSideBottom], kSideBottom, lista, n);
    const int32_t ile = GridCount(h, v);
    uniOperRys* nowa = (uniOperRys*)KvAlloc((size_t)(n + ile) * sizeof(uniOperRys));
    if (!nowa) {
        KvMsg(msg, "Error of allocation the uniOperRys union");
        return 0;
    }
    memcpy(nowa, lista, (size_t)n * sizeof(uniOperRys));
    const uint32_t typ = narz == kToolMuntin ? kOpMuntin : kOpFixedMullion;
    BuildGrid(&obs, h, v, typ, 0, t.element, n, nowa + n);
    int ok = AskLimits(w, nowa + n, ile, kLimAppend, msg);
    for (int32_t j = n; ok && j < n + ile; j++)
        ok = ComputeElement(nowa, j + 1, j, w->p->format, w->p->windowRec, msg);
    if (!ok) {
        KvFree(nowa);
        return 0;
    }
    LayOutAll(w, nowa, n + ile);
    ReplaceList(w, nowa, n + ile);
    return 1;
}

}  // namespace

void OnLButtonDblClk(CanvasState* w, int x, int y) {
    const int32_t narz = CanvasTool(w->p->flagi);
    if (!w->edytowalny || (narz != kToolFixedMullion && narz != kToolMuntin) || OpCount(w) < 1) return;
    char msg[KV_MSG_LEN];
    HitResult t;
    const int32_t wynik = HitTest(OpList(w), OpCount(w), &w->p->dimensionSet, x, y, &t);
    if (wynik != kTrArea && wynik != kTrFilling && wynik != kTrPole) {
        KvShowError(w->hwnd, "Incorrect area of the window");
        return;
    }
    strObsOkno o;
    memset(&o, 0, sizeof o);
    for (int k = 0; k < 4; k++) o.ogr[k] = t.ogr[k];
    o.hasFilling = wynik != kTrArea;
    o.wypeln = o.hasFilling ? t.element : 0;
    const uint32_t typ = narz == kToolMuntin ? kOpMuntin : kOpFixedMullion;
    if (!CheckInsertion(typ, 1, &o, OpList(w), OpCount(w), w->p->format, msg) ||
        !CheckInsertion(typ, 0, &o, OpList(w), OpCount(w), w->p->format, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    GridDialogData s = {narz == kToolFixedMullion ? 1 : 0, {x, y}, 0, 0};
    ClientToScreen(w->hwnd, &s.curPoint);
    if (!DialogGrid(w->hwnd, &s)) return;
    if (GridCount(s.horizontalCount, s.verticalCount) == 0) return;
    if (!InsertGrid(w, narz, t, s.horizontalCount, s.verticalCount, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    AfterCanvasChange(w, kCanvasCodeChange);
}

void OnRButtonUp(CanvasState* w, int x, int y) {
    if (!w->edytowalny) return;
    if (w->edState != kEdClosed) OnCloseEditor(w);
    HitResult t;
    const int32_t wynik = HitTest(OpList(w), OpCount(w), &w->p->dimensionSet, x, y, &t);
    if ((wynik == kTrProfil || wynik == kTrMuntin || wynik == kTrFilling || wynik == kTrPole) &&
        (w->p->flagi & kCanvasMenu)) {
        CanvasNotification nm;
        nm.hdr = {w->hwnd, (UINT_PTR)w->p->controlId, kCanvasCodeMenu};
        nm.element = t.element;
        nm.curPoint = {x, y};
        ClientToScreen(w->hwnd, &nm.curPoint);
        SendMessageA(GetParent(w->hwnd), WM_NOTIFY, (WPARAM)w->p->controlId, (LPARAM)&nm);
    }
    SetFocus(w->hwnd);
}
