// canvas_geometry.cpp - the canvas's arithmetic: placement, hit test, grids and
// the moves of a dimension label.
#include "ui/designer/canvas_geometry.h"

#include <string.h>

// ---- Placement -------------------------------------------------------------

int ObsMmNaPx(int32_t W, int32_t H, const strProst* cel, int32_t margines, int32_t X, int32_t Y, int32_t* x,
              int32_t* y) {
    strSkala sk;
    if (!UstalSkale(W, H, cel, margines, &sk)) return 0;
    *x = MmNaUrzX(&sk, X);
    *y = MmNaUrzY(&sk, Y);
    return 1;
}

int ObsPxNaMm(int32_t W, int32_t H, const strProst* cel, int32_t margines, int32_t x, int32_t y, int32_t* X,
              int32_t* Y) {
    return UrzNaMm(x, y, W, H, cel, margines, X, Y);
}

// ---- Hit test --------------------------------------------------------------

namespace {

// Edges included, whatever the rectangle's right and bottom mean elsewhere.
bool Na(const strProst& r, int32_t x, int32_t y) {
    return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

bool EtykietyLancucha(const strWymiary* wym, int32_t c, int32_t x, int32_t y, int32_t* indeks) {
    for (int32_t i = 0; i < wym->liczba[c]; i++) {
        const strWym& e = wym->wym[c][i];
        if (e.dlugosc >= 1 && Na(e.tekst, x, y)) {
            *indeks = i;
            return true;
        }
    }
    return false;
}

// The current area while the search narrows it: its four bounds and their
// device coordinates (a frame's or sash's inner edge, a mullion's or
// muntin's centre line).
struct Obszar {
    int32_t ogr[4];
    int32_t kr[4];
};

// A mullion or muntin that crosses the point's line narrows the area when it
// lies between the point and the bound on that side.
void Zawez(Obszar& o, const strProst& r, int32_t os, bool poziomy, int32_t j, int32_t x, int32_t y) {
    if (poziomy) {
        if (x < r.left || x > r.right) return;
        if (os < y && os >= o.kr[kGora]) {
            o.ogr[kGora] = j;
            o.kr[kGora] = os;
        } else if (os > y && os <= o.kr[kDol]) {
            o.ogr[kDol] = j;
            o.kr[kDol] = os;
        }
    } else {
        if (y < r.top || y > r.bottom) return;
        if (os < x && os >= o.kr[kLewa]) {
            o.ogr[kLewa] = j;
            o.kr[kLewa] = os;
        } else if (os > x && os <= o.kr[kPrawa]) {
            o.ogr[kPrawa] = j;
            o.kr[kPrawa] = os;
        }
    }
}

int32_t Wynik(strTrafienie* t, int32_t wynik, int32_t element) {
    t->wynik = wynik;
    t->element = element;
    return wynik;
}

}  // namespace

int32_t LancuchTrafienia(int32_t wynik) {
    switch (wynik) {
        case kTrEtPrawy: return kWymPrawy;
        case kTrEtDolny: return kWymDolny;
        case kTrEtLewy: return kWymLewy;
        case kTrEtGorny: return kWymGorny;
    }
    return -1;
}

int32_t TestTrafienia(const uniOperRys* lista, int32_t liczba, const strWymiary* wym, int32_t x, int32_t y,
                      strTrafienie* t) {
    t->element = -1;
    for (int k = 0; k < 4; k++) t->ogr[k] = -1;
    if (!lista || liczba < 1 || lista[0].typ != kOperRama) return Wynik(t, kTrNic, -1);
    const strProst& zewn = lista[0].rama.zewnUrz;
    const strProst& wewn = lista[0].rama.wewnUrz;

    if (!Na(zewn, x, y)) {
        if (wym) {
            int32_t i;
            if (lista[0].rama.x1 - lista[0].rama.x0 >= 1 && Na(wym->tekstSzer, x, y))
                return Wynik(t, kTrEtSzer, -1);
            if (lista[0].rama.y1 - lista[0].rama.y0 >= 1 && Na(wym->tekstWys, x, y))
                return Wynik(t, kTrEtWys, -1);
            const int32_t wyniki[kWymLancuchow] = {kTrEtPrawy, kTrEtDolny, kTrEtLewy, kTrEtGorny};
            for (int32_t c = 0; c < kWymLancuchow; c++)
                if (EtykietyLancucha(wym, c, x, y, &i)) return Wynik(t, wyniki[c], i);
        }
        const bool wPoziomie = x >= zewn.left && x <= zewn.right;
        const bool wPionie = y >= zewn.top && y <= zewn.bottom;
        if (!wPoziomie && !wPionie) return Wynik(t, kTrPoza, -1);
        if (wPionie) return Wynik(t, x < zewn.left ? kTrLewo : kTrPrawo, -1);
        return Wynik(t, y < zewn.top ? kTrNad : kTrPod, -1);
    }
    if (!Na(wewn, x, y)) return Wynik(t, kTrProfil, 0);

    Obszar o = {{0, 0, 0, 0}, {wewn.left, wewn.top, wewn.right, wewn.bottom}};
    int32_t wynik = kTrObszar;
    int32_t wypeln = -1;
    for (int32_t j = 1; j < liczba; j++) {
        const uniOperRys& op = lista[j];
        switch (op.typ) {
            case kOperSlupekStaly:
            case kOperSlupekRuch:
                if (Na(op.slupek.prostUrz, x, y)) return Wynik(t, kTrProfil, j);
                if (wynik == kTrObszar)
                    Zawez(o, op.slupek.prostUrz, op.slupek.osUrz, op.slupek.poziomy != 0, j, x, y);
                break;
            case kOperSkrzydlo:
                if (wynik != kTrObszar || !Na(op.skrzydlo.zewnUrz, x, y)) break;
                if (!Na(op.skrzydlo.wewnUrz, x, y)) return Wynik(t, kTrProfil, j);
                for (int k = 0; k < 4; k++) o.ogr[k] = j;
                o.kr[kLewa] = op.skrzydlo.wewnUrz.left;
                o.kr[kGora] = op.skrzydlo.wewnUrz.top;
                o.kr[kPrawa] = op.skrzydlo.wewnUrz.right;
                o.kr[kDol] = op.skrzydlo.wewnUrz.bottom;
                break;
            case kOperWypeln:
                // A filling occupies exactly the area it was put into: the
                // area around the point when its bounds are the same.
                if (wynik == kTrObszar && memcmp(op.wypeln.ogr, o.ogr, sizeof o.ogr) == 0) {
                    wynik = kTrWypeln;
                    wypeln = j;
                }
                break;
            case kOperSzpros:
                if (wypeln < 0 || op.szpros.wypeln != wypeln) break;
                if (Na(op.szpros.prostUrz, x, y)) return Wynik(t, kTrSzpros, j);
                {
                    const Obszar przed = o;
                    Zawez(o, op.szpros.prostUrz, op.szpros.osUrz, op.szpros.poziomy != 0, j, x, y);
                    if (memcmp(&przed, &o, sizeof o) != 0) wynik = kTrPole;
                }
                break;
            default: break;
        }
    }
    for (int k = 0; k < 4; k++) t->ogr[k] = o.ogr[k];
    return Wynik(t, wynik, wynik == kTrObszar ? -1 : wypeln);
}

// ---- Grid ------------------------------------------------------------------

int32_t LiczbaSiatki(int32_t h, int32_t v) {
    if (h < 0 || v < 0) return 0;
    return v + h * (v + 1);
}

namespace {

uniOperRys Listwa(uint32_t typ, int32_t rodzaj, int32_t wypeln, int32_t poz, bool poziomy, int32_t pocz,
                  int32_t kon) {
    uniOperRys op;
    memset(&op, 0, sizeof op);
    if (typ == kOperSzpros) {
        op.szpros.typ = kOperSzpros;
        op.szpros.poz = poz;
        op.szpros.poziomy = poziomy ? 1 : 0;
        op.szpros.ogrPocz = pocz;
        op.szpros.ogrKon = kon;
        op.szpros.wypeln = wypeln;
    } else {
        op.slupek.typ = typ;
        op.slupek.rodzaj = rodzaj;
        op.slupek.poz = poz;
        op.slupek.poziomy = poziomy ? 1 : 0;
        op.slupek.ogrPocz = pocz;
        op.slupek.ogrKon = kon;
    }
    return op;
}

}  // namespace

int32_t BudujSiatke(const strObszarSiatki* obs, int32_t h, int32_t v, uint32_t typ, int32_t rodzaj,
                    int32_t wypeln, int32_t baza, uniOperRys* wynik) {
    const int32_t n = LiczbaSiatki(h, v);
    if (n <= 0) return 0;
    // 64 bits: (i + 1) * W overflows 32 for a 10 000 mm area and 100 columns
    // only just not, but a damaged area may be anything.
    const int64_t W = (int64_t)obs->x2 - obs->x1, H = (int64_t)obs->y2 - obs->y1;
    int32_t k = 0;
    int32_t lewy = obs->ogr[kLewa];
    for (int32_t i = 0; i < v; i++) {
        const int32_t pion = baza + k;
        const int32_t x = (int32_t)(obs->x1 + (i + 1) * W / (v + 1));
        wynik[k++] = Listwa(typ, rodzaj, wypeln, x, false, obs->ogr[kGora], obs->ogr[kDol]);
        for (int32_t j = 0; j < h; j++) {
            const int32_t y = (int32_t)(obs->y1 + (j + 1) * H / (h + 1));
            wynik[k++] = Listwa(typ, rodzaj, wypeln, y, true, lewy, pion);
        }
        lewy = pion;
    }
    for (int32_t j = 0; j < h; j++) {
        const int32_t y = (int32_t)(obs->y1 + (j + 1) * H / (h + 1));
        wynik[k++] = Listwa(typ, rodzaj, wypeln, y, true, lewy, obs->ogr[kPrawa]);
    }
    return k;
}

// ---- Dimension chains ------------------------------------------------------

int32_t NowaPozycjaEtykiety(int32_t lancuch, int ostatnia, int32_t p, int32_t d, int32_t v) {
    // Bottom and top chains run left to right: a label measures from the
    // element before it, so the element moves with the value; the last one
    // measures to the frame's far edge, so it moves against it. The right and
    // left chains run bottom to top, hence the other way round.
    const bool zWartoscia = (lancuch == kWymDolny || lancuch == kWymGorny) ? !ostatnia : ostatnia != 0;
    const int64_t n = zWartoscia ? (int64_t)p + v - d : (int64_t)p + d - v;
    if (n > INT32_MAX) return INT32_MAX;
    if (n < INT32_MIN) return INT32_MIN;
    return (int32_t)n;
}

int NalezyDoLancucha(const uniOperRys* op, int32_t lancuch) {
    switch (op->typ) {
        case kOperSlupekStaly:
        case kOperSlupekRuch:
            return (lancuch == kWymPrawy && op->slupek.poziomy) ||
                   (lancuch == kWymDolny && !op->slupek.poziomy);
        case kOperSzpros:
            return (lancuch == kWymLewy && op->szpros.poziomy) ||
                   (lancuch == kWymGorny && !op->szpros.poziomy);
    }
    return 0;
}

int32_t PozycjaElementu(const uniOperRys* op) {
    switch (op->typ) {
        case kOperSlupekStaly:
        case kOperSlupekRuch: return op->slupek.poz;
        case kOperSzpros: return op->szpros.poz;
    }
    return 0;
}

int32_t RuchyEtykiety(const uniOperRys* lista, int32_t liczba, const strWymiary* wym, int32_t lancuch,
                      int32_t etykieta, int32_t v, int32_t* elementy, int32_t max, int32_t* nowaPoz) {
    if (!lista || !wym || lancuch < 0 || lancuch >= kWymLancuchow || etykieta < 0 ||
        etykieta >= wym->liczba[lancuch])
        return -1;
    const strWym& e = wym->wym[lancuch][etykieta];
    if (e.element < 0 || e.element >= liczba || !NalezyDoLancucha(&lista[e.element], lancuch)) return -1;
    const int32_t p = PozycjaElementu(&lista[e.element]);
    const int ostatnia = etykieta == wym->liczba[lancuch] - 1;
    *nowaPoz = NowaPozycjaEtykiety(lancuch, ostatnia, p, e.dlugosc, v);
    if (*nowaPoz == p) return 0;
    int32_t n = 0;
    for (int32_t j = 0; j < liczba; j++)
        if (NalezyDoLancucha(&lista[j], lancuch) && PozycjaElementu(&lista[j]) == p) {
            if (n < max) elementy[n] = j;
            n++;
        }
    return n < max ? n : max;
}
