// The design canvas's mouse: the rubber band and the tools that insert
// frames, mullions, muntins, sashes, fillings and grids.

#include "ui/designer/canvas_internal_win.h"

// ---- Rubber band -----------------------------------------------------------------

void ZwolnijGumke(ObsProj* w) {
    w->obraz.reset();
    w->maska.reset();
    w->gumka = false;
}

namespace {

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

}  // namespace

// The capture went elsewhere mid-band (Alt+Tab, a menu): the drag ends as if
// cancelled, and the line, drawn straight on the screen, is painted over.
void OnCaptureChanged(ObsProj* w, HWND nowy) {
    if (!w->gumka || nowy == w->hwnd) return;
    const int gr = Px(w, kGrubGumki);
    RECT r = {std::min(w->start.x, w->koniec.x) - gr, std::min(w->start.y, w->koniec.y) - gr,
              std::max(w->start.x, w->koniec.x) + gr + 1, std::max(w->start.y, w->koniec.y) + gr + 1};
    ZwolnijGumke(w);
    InvalidateRect(w->hwnd, &r, FALSE);
}

namespace {

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
    if (Liczba(w) > 0)
        ObsPxNaMm(Lista(w)[0].rama.x1, Lista(w)[0].rama.y1, &cel, ObsMargines(Dpi(w)), k.x, k.y, &X, &Y);
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
    if (!ObszarPunktu(w, x, y, &o, &wynik, msg,
                      "A sash cannot be inserted into area of the windows with filling")) {
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

}  // namespace

void OnLButtonDown(ObsProj* w, int x, int y) {
    if (w->stanEd != kEdZamkniety) OnZamknijEd(w);
    SetFocus(w->hwnd);  // the tools' letters are the canvas's keys
    if (!w->edytowalny) return;
    const int32_t narz = NarzedzieObs(w->p->flagi);
    switch (narz) {
        case kNarzWskaznik: {
            strTrafienie t;
            const int32_t wynik = TestTrafienia(Lista(w), Liczba(w), &w->p->wym, x, y, &t);
            if (wynik == kTrEtSzer) OtworzEdytor(w, kEdSzer, -1);
            else if (wynik == kTrEtWys) OtworzEdytor(w, kEdWys, -1);
            else if (wynik >= kTrEtPrawy && wynik <= kTrEtGorny)
                OtworzEdytor(w, kEdPrawy + (wynik - kTrEtPrawy), t.element);
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

namespace {

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
    for (int32_t j = n; ok && j < n + ile; j++)
        ok = ObliczElement(nowa, j + 1, j, w->p->format, w->p->okno, msg);
    if (!ok) {
        KvFree(nowa);
        return 0;
    }
    RozmiescWszystko(w, nowa, n + ile);
    Podmien(w, nowa, n + ile);
    return 1;
}

}  // namespace

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
