// canvas_geometry.cpp - the canvas's arithmetic: placement, hit test, grids and
// the moves of a dimension label.
#include "ui/designer/canvas_geometry.h"

#include <string.h>

// ---- Placement -------------------------------------------------------------

int CanvasMmToPx(int32_t W, int32_t H, const strProst* cel, int32_t margines, int32_t X, int32_t Y, int32_t* x,
              int32_t* y) {
    DrawingScale sk;
    if (!ComputeScale(W, H, cel, margines, &sk)) return 0;
    *x = MmToDeviceX(&sk, X);
    *y = MmToDeviceY(&sk, Y);
    return 1;
}

int CanvasPxToMm(int32_t W, int32_t H, const strProst* cel, int32_t margines, int32_t x, int32_t y, int32_t* X,
              int32_t* Y) {
    return DeviceToMm(x, y, W, H, cel, margines, X, Y);
}

// ---- Hit test --------------------------------------------------------------

namespace {

// Edges included, whatever the rectangle's right and bottom mean elsewhere.
bool Na(const strProst& r, int32_t x, int32_t y) {
    return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

bool HitChainLabel(const DimensionSet* wym, int32_t c, int32_t x, int32_t y, int32_t* indeks) {
    for (int32_t i = 0; i < wym->itemCount[c]; i++) {
        const strWym& e = wym->chainSegments[c][i];
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
struct AvailableArea {
    int32_t ogr[4];
    int32_t kr[4];
};

// A mullion or muntin that crosses the point's line narrows the area when it
// lies between the point and the bound on that side.
void Narrow(AvailableArea& o, const strProst& r, int32_t os, bool poziomy, int32_t j, int32_t x, int32_t y) {
    if (poziomy) {
        if (x < r.left || x > r.right) return;
        if (os < y && os >= o.kr[kSideTop]) {
            o.ogr[kSideTop] = j;
            o.kr[kSideTop] = os;
        } else if (os > y && os <= o.kr[kSideBottom]) {
            o.ogr[kSideBottom] = j;
            o.kr[kSideBottom] = os;
        }
    } else {
        if (y < r.top || y > r.bottom) return;
        if (os < x && os >= o.kr[kSideLeft]) {
            o.ogr[kSideLeft] = j;
            o.kr[kSideLeft] = os;
        } else if (os > x && os <= o.kr[kSideRight]) {
            o.ogr[kSideRight] = j;
            o.kr[kSideRight] = os;
        }
    }
}

int32_t Report(HitResult* t, int32_t wynik, int32_t element) {
    t->resultCode = wynik;
    t->element = element;
    return wynik;
}

}  // namespace

int32_t HitChain(int32_t wynik) {
    switch (wynik) {
        case kTrRightLabel: return kDimensionRight;
        case kTrBottomLabel: return kDimensionBottom;
        case kTrLeftLabel: return kDimensionLeft;
        case kTrTopLabel: return kDimensionTop;
    }
    return -1;
}

int32_t HitTest(const uniOperRys* lista, int32_t liczba, const DimensionSet* wym, int32_t x, int32_t y,
                      HitResult* t) {
    t->element = -1;
    for (int k = 0; k < 4; k++) t->ogr[k] = -1;
    if (!lista || liczba < 1 || lista[0].typ != kOpFrame) return Report(t, kTrNic, -1);
    const strProst& zewn = lista[0].rama.zewnUrz;
    const strProst& wewn = lista[0].rama.wewnUrz;

    if (!Na(zewn, x, y)) {
        if (wym) {
            int32_t i;
            if (lista[0].rama.x1 - lista[0].rama.x0 >= 1 && Na(wym->widthText, x, y))
                return Report(t, kTrWidthLabel, -1);
            if (lista[0].rama.y1 - lista[0].rama.y0 >= 1 && Na(wym->heightText, x, y))
                return Report(t, kTrHeightLabel, -1);
            const int32_t wyniki[kDimensionChains] = {kTrRightLabel, kTrBottomLabel, kTrLeftLabel, kTrTopLabel};
            for (int32_t c = 0; c < kDimensionChains; c++)
                if (HitChainLabel(wym, c, x, y, &i)) return Report(t, wyniki[c], i);
        }
        const bool wPoziomie = x >= zewn.left && x <= zewn.right;
        const bool wPionie = y >= zewn.top && y <= zewn.bottom;
        if (!wPoziomie && !wPionie) return Report(t, kTrOutside, -1);
        if (wPionie) return Report(t, x < zewn.left ? kTrLeft : kTrRight, -1);
        return Report(t, y < zewn.top ? kTrNad : kTrPod, -1);
    }
    if (!Na(wewn, x, y)) return Report(t, kTrProfil, 0);

    AvailableArea o = {{0, 0, 0, 0}, {wewn.left, wewn.top, wewn.right, wewn.bottom}};
    int32_t wynik = kTrArea;
    int32_t wypeln = -1;
    for (int32_t j = 1; j < liczba; j++) {
        const uniOperRys& op = lista[j];
        switch (op.typ) {
            case kOpFixedMullion:
            case kOpFalseMullion:
                if (Na(op.slupek.prostUrz, x, y)) return Report(t, kTrProfil, j);
                if (wynik == kTrArea)
                    Narrow(o, op.slupek.prostUrz, op.slupek.osUrz, op.slupek.poziomy != 0, j, x, y);
                break;
            case kOpSash:
                if (wynik != kTrArea || !Na(op.skrzydlo.zewnUrz, x, y)) break;
                if (!Na(op.skrzydlo.wewnUrz, x, y)) return Report(t, kTrProfil, j);
                for (int k = 0; k < 4; k++) o.ogr[k] = j;
                o.kr[kSideLeft] = op.skrzydlo.wewnUrz.left;
                o.kr[kSideTop] = op.skrzydlo.wewnUrz.top;
                o.kr[kSideRight] = op.skrzydlo.wewnUrz.right;
                o.kr[kSideBottom] = op.skrzydlo.wewnUrz.bottom;
                break;
            case kOpFilling:
                // A filling occupies exactly the area it was put into: the
                // area around the point when its bounds are the same.
                if (wynik == kTrArea && memcmp(op.wypeln.ogr, o.ogr, sizeof o.ogr) == 0) {
                    wynik = kTrFilling;
                    wypeln = j;
                }
                break;
            case kOpMuntin:
                if (wypeln < 0 || op.szpros.wypeln != wypeln) break;
                if (Na(op.szpros.prostUrz, x, y)) return Report(t, kTrMuntin, j);
                {
                    const AvailableArea przed = o;
                    Narrow(o, op.szpros.prostUrz, op.szpros.osUrz, op.szpros.poziomy != 0, j, x, y);
                    if (memcmp(&przed, &o, sizeof o) != 0) wynik = kTrPole;
                }
                break;
            default: break;
        }
    }
    for (int k = 0; k < 4; k++) t->ogr[k] = o.ogr[k];
    return Report(t, wynik, wynik == kTrArea ? -1 : wypeln);
}

// ---- Grid ------------------------------------------------------------------

int32_t GridCount(int32_t h, int32_t v) {
    if (h < 0 || v < 0) return 0;
    return v + h * (v + 1);
}

namespace {

uniOperRys BarElement(uint32_t typ, int32_t rodzaj, int32_t wypeln, int32_t poz, bool poziomy, int32_t pocz,
                  int32_t kon) {
    uniOperRys op;
    memset(&op, 0, sizeof op);
    if (typ == kOpMuntin) {
        op.szpros.typ = kOpMuntin;
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

int32_t BuildGrid(const GridArea* obs, int32_t h, int32_t v, uint32_t typ, int32_t rodzaj,
                    int32_t wypeln, int32_t baza, uniOperRys* wynik) {
    const int32_t n = GridCount(h, v);
    if (n <= 0) return 0;
    // 64 bits: (i + 1) * W overflows 32 for a 10 000 mm area and 100 columns
    // only just not, but a damaged area may be anything.
    const int64_t W = (int64_t)obs->x2 - obs->x1, H = (int64_t)obs->y2 - obs->y1;
    int32_t k = 0;
    int32_t lewy = obs->ogr[kSideLeft];
    for (int32_t i = 0; i < v; i++) {
        const int32_t pion = baza + k;
        const int32_t x = (int32_t)(obs->x1 + (i + 1) * W / (v + 1));
        wynik[k++] = BarElement(typ, rodzaj, wypeln, x, false, obs->ogr[kSideTop], obs->ogr[kSideBottom]);
        for (int32_t j = 0; j < h; j++) {
            const int32_t y = (int32_t)(obs->y1 + (j + 1) * H / (h + 1));
            wynik[k++] = BarElement(typ, rodzaj, wypeln, y, true, lewy, pion);
        }
        lewy = pion;
    }
    for (int32_t j = 0; j < h; j++) {
        const int32_t y = (int32_t)(obs->y1 + (j + 1) * H / (h + 1));
        wynik[k++] = BarElement(typ, rodzaj, wypeln, y, true, lewy, obs->ogr[kSideRight]);
    }
    return k;
}

// ---- Dimension chains ------------------------------------------------------

int32_t NewLabelPosition(int32_t lancuch, int ostatnia, int32_t p, int32_t d, int32_t v) {
    // Bottom and top chains run left to right: a label measures from the
    // element before it, so the element moves with the value; the last one
    // measures to the frame's far edge, so it moves against it. The right and
    // left chains run bottom to top, hence the other way round.
    const bool zWartoscia = (lancuch == kDimensionBottom || lancuch == kDimensionTop) ? !ostatnia : ostatnia != 0;
    const int64_t n = zWartoscia ? (int64_t)p + v - d : (int64_t)p + d - v;
    if (n > INT32_MAX) return INT32_MAX;
    if (n < INT32_MIN) return INT32_MIN;
    return (int32_t)n;
}

int BelongsToChain(const uniOperRys* op, int32_t lancuch) {
    switch (op->typ) {
        case kOpFixedMullion:
        case kOpFalseMullion:
            return (lancuch == kDimensionRight && op->slupek.poziomy) ||
                   (lancuch == kDimensionBottom && !op->slupek.poziomy);
        case kOpMuntin:
            return (lancuch == kDimensionLeft && op->szpros.poziomy) ||
                   (lancuch == kDimensionTop && !op->szpros.poziomy);
    }
    return 0;
}

int32_t BarPosition(const uniOperRys* op) {
    switch (op->typ) {
        case kOpFixedMullion:
        case kOpFalseMullion: return op->slupek.poz;
        case kOpMuntin: return op->szpros.poz;
    }
    return 0;
}

int32_t LabelMoves(const uniOperRys* lista, int32_t liczba, const DimensionSet* wym, int32_t lancuch,
                      int32_t etykieta, int32_t v, int32_t* elementy, int32_t max, int32_t* newPos) {
    if (!lista || !wym || lancuch < 0 || lancuch >= kDimensionChains || etykieta < 0 ||
        etykieta >= wym->itemCount[lancuch])
        return -1;
    const strWym& e = wym->chainSegments[lancuch][etykieta];
    if (e.element < 0 || e.element >= liczba || !BelongsToChain(&lista[e.element], lancuch)) return -1;
    const int32_t p = BarPosition(&lista[e.element]);
    const int ostatnia = etykieta == wym->itemCount[lancuch] - 1;
    *newPos = NewLabelPosition(lancuch, ostatnia, p, e.dlugosc, v);
    if (*newPos == p) return 0;
    int32_t n = 0;
    for (int32_t j = 0; j < liczba; j++)
        if (BelongsToChain(&lista[j], lancuch) && BarPosition(&lista[j]) == p) {
            if (n < max) elementy[n] = j;
            n++;
        }
    return n < max ? n : max;
}
