// Operations on one element of the canvas's window: delete it, change a
// sash's kind, a filling, a mullion's kind.

#include "ui/designer/canvas_internal_win.h"

// ---- Element operations ----------------------------------------------------------

namespace {

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
