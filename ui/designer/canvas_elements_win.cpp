// Operations on one element of the canvas's window: delete it, change a
// sash's kind, a filling, a mullion's kind.

#include "ui/designer/canvas_internal_win.h"

// ---- Element operations ----------------------------------------------------------

namespace {

CanvasState* StateForElement(HWND obs, int32_t indeks, char* msg) {
    CanvasState* w = obs ? StateOf(obs) : nullptr;
    if (!w || indeks < 0 || indeks >= OpCount(w)) {
        KvMsg(msg, "Incorrect area of the window");
        return nullptr;
    }
    return w;
}

// Writes a checked element back and refreshes the view.
int Store(CanvasState* w, int32_t indeks, const uniOperRys& op, char* msg) {
    uniOperRys* kopia = nullptr;
    int32_t n = 0;
    if (!CopyOpList(OpList(w), OpCount(w), &kopia, &n, msg)) return 0;
    kopia[indeks] = op;
    if (!ComputeGeometry(kopia, n, w->p->format, w->p->windowRec, msg)) {
        KvFree(kopia);
        return 0;
    }
    LayOutAll(w, kopia, n);
    ReplaceList(w, kopia, n);
    AfterCanvasChange(w, kCanvasCodeChange);
    return 1;
}

}  // namespace

int CanvasDelete(HWND obs, int32_t indeks, char* msg) {
    CanvasState* w = StateForElement(obs, indeks, msg);
    if (!w) return 0;
    OnCloseEditor(w);
    HideTooltip(w);
    if (!DeleteElement(w->p->oper, w->p->liczbaOper, indeks, msg)) return 0;
    if (OpCount(w) > 0 && ComputeGeometry(OpList(w), OpCount(w), w->p->format, w->p->windowRec, msg))
        LayOutAll(w, OpList(w), OpCount(w));
    if (!DrawDimensions(w, msg)) KvShowError(w->hwnd, msg);
    InvalidateRect(w->hwnd, nullptr, TRUE);
    NotifyParent(w, kCanvasCodeFrame);
    return 1;
}

int CanvasChangeSash(HWND obs, int32_t indeks, int32_t rodzOtw, int32_t stronaOtw, char* msg) {
    CanvasState* w = StateForElement(obs, indeks, msg);
    if (!w) return 0;
    uniOperRys op = OpList(w)[indeks];
    if (op.typ != kOpSash) {
        KvMsg(msg, "Wrong definition of the sash");
        return 0;
    }
    op.skrzydlo.rodzOtw = rodzOtw;
    op.skrzydlo.stronaOtw = stronaOtw;
    if (!CheckChange(OpList(w), OpCount(w), &op, indeks, w->p->format, msg)) return 0;
    if (!AskLimits(w, &op, 1, indeks, msg)) return 0;
    return Store(w, indeks, op, msg);
}

int CanvasChangeFilling(HWND obs, int32_t indeks, const char* nazwa, int32_t typ, char* msg) {
    CanvasState* w = StateForElement(obs, indeks, msg);
    if (!w) return 0;
    uniOperRys op = OpList(w)[indeks];
    if (op.typ != kOpFilling) {
        KvMsg(msg, "Wrong definition of the filling");
        return 0;
    }
    op.wypeln.typWypeln = typ;
    memset(op.wypeln.nazwa, 0, sizeof op.wypeln.nazwa);
    if (nazwa) strncpy(op.wypeln.nazwa, nazwa, sizeof op.wypeln.nazwa - 1);
    if (!CheckChange(OpList(w), OpCount(w), &op, indeks, w->p->format, msg)) return 0;
    return Store(w, indeks, op, msg);
}

int CanvasChangeMullion(HWND obs, int32_t indeks, int32_t rodzaj, char* msg) {
    CanvasState* w = StateForElement(obs, indeks, msg);
    if (!w) return 0;
    uniOperRys op = OpList(w)[indeks];
    if (op.typ != kOpFixedMullion && op.typ != kOpFalseMullion) {
        KvMsg(msg, "Wrong definition of the mullion");
        return 0;
    }
    op.slupek.rodzaj = rodzaj == 1 ? 1 : 0;
    op.slupek.typ = rodzaj == 1 ? kOpFalseMullion : kOpFixedMullion;
    // The mullion's own step with the thickness of its new kind, on a copy.
    uniOperRys* kopia = nullptr;
    int32_t n = 0;
    if (!CopyOpList(OpList(w), OpCount(w), &kopia, &n, msg)) return 0;
    kopia[indeks] = op;
    int ok = ComputeElement(kopia, n, indeks, w->p->format, w->p->windowRec, msg);
    if (ok) {
        LayOutAll(w, kopia, n);
        op = kopia[indeks];
    }
    KvFree(kopia);
    if (!ok || !CheckChange(OpList(w), OpCount(w), &op, indeks, w->p->format, msg)) return 0;
    if (!AskLimits(w, &op, 1, indeks, msg)) return 0;
    return Store(w, indeks, op, msg);
}
