#include "render/drawing.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include "util/heap.h"
#include "util/msgbuf.h"

static bool IsMullion(const uniOperRys* op) {
    return op->typ == kOpFixedMullion || op->typ == kOpFalseMullion;
}

static int32_t PenWidth(const uniOperRys* op, const PenWidths* p) {
    switch (op->typ) {
        case kOpFrame:
        case kOpFixedMullion: return p->rama;
        case kOpFalseMullion: return p->falseMullion;
        case kOpSash: return p->skrzydlo;
        case kOpMuntin: return p->szpros;
        default: return 0;
    }
}

static int32_t PenExcess(int32_t szer) { return szer > 1 ? szer - 1 : 0; }

int32_t HalfPenWidth(const uniOperRys* op, int32_t strona, const PenWidths* piora) {
    int32_t e = PenExcess(PenWidth(op, piora));
    return (strona == kSideLeft || strona == kSideTop) ? e / 2 : e / 2 + e % 2;
}

// ---- Placement -------------------------------------------------------------

int ComputeScale(int32_t W, int32_t H, const strProst* cel, int32_t margines, DrawingScale* sk) {
    if (W <= 0 || H <= 0) return 0;
    int64_t szer = (int64_t)cel->right - cel->left - 2 * (int64_t)margines;
    int64_t wys = (int64_t)cel->bottom - cel->top - 2 * (int64_t)margines;
    if (szer <= 0 || wys <= 0) return 0;
    double sx = (double)szer / W, sy = (double)wys / H;
    sk->s = sx < sy ? sx : sy;
    sk->W = W;
    sk->H = H;
    sk->centreX = (int32_t)(cel->left + ((int64_t)cel->right - cel->left) / 2);
    sk->centreY = (int32_t)(cel->top + ((int64_t)cel->bottom - cel->top) / 2);
    return 1;
}

// A stored window may hold any numbers; converting a double outside int32 is
// undefined, so clamp first.
static int32_t ClampToInt32(double v) {
    if (!(v > -2147483648.0)) return INT32_MIN;
    if (v >= 2147483647.0) return INT32_MAX;
    return (int32_t)v;  // truncation toward zero
}

int32_t MmToDeviceX(const DrawingScale* sk, int32_t X) {
    return ClampToInt32(((double)X - sk->W / 2) * sk->s + sk->centreX);
}

int32_t MmToDeviceY(const DrawingScale* sk, int32_t Y) {
    return ClampToInt32(((double)Y - sk->H / 2) * sk->s + sk->centreY);
}

static strProst MapRect(const DrawingScale* sk, const strProst& p) {
    return strProst{MmToDeviceX(sk, p.left), MmToDeviceY(sk, p.top), MmToDeviceX(sk, p.right), MmToDeviceY(sk, p.bottom)};
}

static int32_t OppositeSide(int32_t strona) { return (strona + 2) & 3; }

static int32_t& RectSide(strProst& p, int32_t strona) {
    switch (strona) {
        case kSideLeft: return p.left;
        case kSideTop: return p.top;
        case kSideRight: return p.right;
        default: return p.bottom;
    }
}

// Moves side `strona` of a device rectangle inward by d pixels.
static void PullInSide(strProst& p, int32_t strona, int32_t d) {
    if (strona == kSideLeft || strona == kSideTop) RectSide(p, strona) += d;
    else RectSide(p, strona) -= d;
}

// Places a mullion (own half-widths count) or a muntin (they do not); `dosc`
// tells which bound types meet it without an overlapping outline.
static void LayOutBar(uniOperRys* lista, int32_t i, int32_t ogrPocz, int32_t ogrKon, bool poziomy,
                           const strProst& mm, strProst* urz, int32_t* os, bool szpros, const DrawingScale* sk,
                           const PenWidths* piora) {
    strProst p = MapRect(sk, mm);
    const int32_t pocz = poziomy ? kSideLeft : kSideTop, kon = poziomy ? kSideRight : kSideBottom;
    const int32_t ogr[2] = {ogrPocz, ogrKon};
    const int32_t strony[2] = {pocz, kon};
    for (int k = 0; k < 2; k++) {
        const uniOperRys* b = &lista[ogr[k]];
        bool styk = IsMullion(b) || (szpros && b->typ == kOpMuntin);
        int32_t d = styk ? 0 : 1;
        d += HalfPenWidth(b, OppositeSide(strony[k]), piora);
        if (!szpros) d += HalfPenWidth(&lista[i], strony[k], piora);
        PullInSide(p, strony[k], d);
    }
    *urz = p;
    *os = poziomy ? (int32_t)(((int64_t)p.top + p.bottom) / 2) : (int32_t)(((int64_t)p.left + p.right) / 2);
}

static bool BoundOk(int32_t ogr, int32_t i) { return ogr >= 0 && ogr < i; }

int LayOutWindow(uniOperRys* lista, int32_t liczba, const strProst* cel, int32_t margines,
                 const PenWidths* piora) {
    if (!lista || liczba < 1 || lista[0].typ != kOpFrame) return 0;
    strOperRama& rama = lista[0].rama;
    DrawingScale sk;
    if (!ComputeScale(rama.x1, rama.y1, cel, margines, &sk)) return 0;
    for (int32_t i = 0; i < liczba; i++) {
        uniOperRys& op = lista[i];
        switch (op.typ) {
            case kOpFrame:
                if (i != 0) break;
                op.rama.zewnUrz = MapRect(&sk, strProst{op.rama.x0, op.rama.y0, op.rama.x1, op.rama.y1});
                op.rama.wewnUrz = MapRect(&sk, op.rama.wewn);
                break;
            case kOpFixedMullion:
            case kOpFalseMullion: {
                strOperSlupek& s = op.slupek;
                if (!BoundOk(s.ogrPocz, i) || !BoundOk(s.ogrKon, i)) break;
                LayOutBar(lista, i, s.ogrPocz, s.ogrKon, s.poziomy != 0, s.prost, &s.prostUrz, &s.osUrz,
                               false, &sk, piora);
                break;
            }
            case kOpMuntin: {
                strOperSzpros& s = op.szpros;
                if (!BoundOk(s.ogrPocz, i) || !BoundOk(s.ogrKon, i)) break;
                LayOutBar(lista, i, s.ogrPocz, s.ogrKon, s.poziomy != 0, s.prost, &s.prostUrz, &s.osUrz,
                               true, &sk, piora);
                break;
            }
            case kOpSash: {
                strOperSkrzydlo& s = op.skrzydlo;
                bool ok = true;
                for (int32_t k = 0; k < 4; k++) ok = ok && BoundOk(s.ogr[k], i);
                if (!ok) break;
                strProst p = MapRect(&sk, s.zewn);
                for (int32_t k = 0; k < 4; k++) {
                    const uniOperRys* b = &lista[s.ogr[k]];
                    int32_t d = IsMullion(b) ? 0 : 1;
                    d += HalfPenWidth(b, OppositeSide(k), piora) + HalfPenWidth(&op, k, piora);
                    PullInSide(p, k, d);
                }
                s.zewnUrz = p;
                s.wewnUrz = MapRect(&sk, s.wewn);
                break;
            }
            case kOpFilling: {
                strOperWypeln& w = op.wypeln;
                bool ok = true;
                for (int32_t k = 0; k < 4; k++) ok = ok && BoundOk(w.ogr[k], i);
                if (!ok) break;
                strProst p = MapRect(&sk, w.prost);
                for (int32_t k = 0; k < 4; k++) {
                    const uniOperRys* b = &lista[w.ogr[k]];
                    PullInSide(p, k, (IsMullion(b) ? 0 : 1) + HalfPenWidth(b, OppositeSide(k), piora));
                }
                w.prostUrz = p;
                break;
            }
            default: break;
        }
    }
    return 1;
}

int DeviceToMm(int32_t x, int32_t y, int32_t W, int32_t H, const strProst* cel, int32_t margines, int32_t* X,
            int32_t* Y) {
    DrawingScale sk;
    if (!ComputeScale(W, H, cel, margines, &sk)) return 0;
    // Millimetres per pixel: the larger of W / width and H / height, divided
    // from the integers themselves. 1 / s is the same number mathematically
    // but rounds twice, and a point near a millimetre boundary could then
    // land on the neighbouring millimetre.
    const double szer = (double)((int64_t)cel->right - cel->left - 2 * (int64_t)margines);
    const double wys = (double)((int64_t)cel->bottom - cel->top - 2 * (int64_t)margines);
    const double qx = (double)W / szer, qy = (double)H / wys;
    const double q = qx > qy ? qx : qy;
    *X = ClampToInt32(((double)x - sk.centreX) * q + W / 2);
    *Y = ClampToInt32(((double)y - sk.centreY) * q + H / 2);
    return 1;
}

// ---- Dimension set ---------------------------------------------------------

// Which chain an element belongs to, or -1.
static int ChainOf(const uniOperRys* op) {
    if (IsMullion(op)) return op->slupek.poziomy ? kDimensionRight : kDimensionBottom;
    if (op->typ == kOpMuntin) return op->szpros.poziomy ? kDimensionLeft : kDimensionTop;
    return -1;
}

static int32_t ElementPosition(const uniOperRys* lista, int32_t i) {
    return lista[i].typ == kOpMuntin ? lista[i].szpros.poz : lista[i].slupek.poz;
}

// Quicksort of the chain's records by the position of their element, middle
// element as pivot. It recurses into the shorter part only, so a chain of
// equal positions cannot run the stack deep.
static void SortChain(strWym* w, int32_t lo, int32_t hi, const uniOperRys* lista, bool rosnaco) {
    while (lo < hi) {
        int32_t piv = ElementPosition(lista, w[lo + (hi - lo) / 2].element);
        int32_t i = lo, j = hi;
        while (i <= j) {
            if (rosnaco) {
                while (ElementPosition(lista, w[i].element) < piv) i++;
                while (ElementPosition(lista, w[j].element) > piv) j--;
            } else {
                while (ElementPosition(lista, w[i].element) > piv) i++;
                while (ElementPosition(lista, w[j].element) < piv) j--;
            }
            if (i <= j) {
                strWym t = w[i];
                w[i] = w[j];
                w[j] = t;
                i++;
                j--;
            }
        }
        if (j - lo < hi - i) {
            SortChain(w, lo, j, lista, rosnaco);
            lo = i;
        } else {
            SortChain(w, i, hi, lista, rosnaco);
            hi = j;
        }
    }
}

static int32_t ClampLength(int64_t v) {
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : (int32_t)v;
}

int BuildDimensions(const uniOperRys* lista, int32_t liczba, DimensionSet* w, char* msg) {
    if (!lista || liczba < 1 || lista[0].typ != kOpFrame) {
        FreeDimensions(w);
        return 1;
    }
    const int64_t W = lista[0].rama.x1, H = lista[0].rama.y1;
    for (int c = 0; c < kDimensionChains; c++) {
        int32_t k = 0;
        for (int32_t i = 1; i < liczba; i++) k += ChainOf(&lista[i]) == c;
        if (k == 0) {
            KvFree(w->chainSegments[c]);
            w->chainSegments[c] = nullptr;
            w->itemCount[c] = 0;
            continue;
        }
        strWym* t = (strWym*)KvRealloc(w->chainSegments[c], (size_t)(k + 1) * sizeof(strWym));
        if (!t) {
            KvMsg(msg, w->chainSegments[c] ? "Error of reallocation the table of strWym structures"
                                 : "Error of allocation the table of strWym structures");
            return 0;
        }
        w->chainSegments[c] = t;
        w->itemCount[c] = k + 1;
        memset(t, 0, (size_t)(k + 1) * sizeof(strWym));
        int32_t n = 0;
        for (int32_t i = 1; i < liczba; i++) {
            if (ChainOf(&lista[i]) == c) t[n++].element = i;
        }
        bool rosnaco = c == kDimensionBottom || c == kDimensionTop;
        SortChain(t, 0, k - 1, lista, rosnaco);
        t[k] = t[k - 1];
        if (rosnaco) {
            t[0].dlugosc = ClampLength(ElementPosition(lista, t[0].element));
            for (int32_t i = 1; i < k; i++)
                t[i].dlugosc =
                    ClampLength((int64_t)ElementPosition(lista, t[i].element) - ElementPosition(lista, t[i - 1].element));
            t[k].dlugosc = ClampLength(W - ElementPosition(lista, t[k - 1].element));
        } else {
            t[0].dlugosc = ClampLength(H - ElementPosition(lista, t[0].element));
            for (int32_t i = 1; i < k; i++)
                t[i].dlugosc =
                    ClampLength((int64_t)ElementPosition(lista, t[i - 1].element) - ElementPosition(lista, t[i].element));
            t[k].dlugosc = ClampLength(ElementPosition(lista, t[k - 1].element));
        }
    }
    return 1;
}

void FreeDimensions(DimensionSet* w) {
    for (int c = 0; c < kDimensionChains; c++) {
        KvFree(w->chainSegments[c]);
        w->chainSegments[c] = nullptr;
        w->itemCount[c] = 0;
    }
    w->widthText = strProst{0, 0, 0, 0};
    w->heightText = strProst{0, 0, 0, 0};
}

int32_t ScreenPixels(int32_t px, int32_t dpi) {
    if (dpi <= 0 || dpi == 96) return px;
    const int64_t v = (int64_t)px * dpi;
    return (int32_t)(v >= 0 ? (v + 48) / 96 : (v - 48) / 96);
}

void DimensionDistances(int ekran, int32_t dpi, int32_t* d1, int32_t* d2) {
    *d1 = ekran ? ScreenPixels(30, dpi) : 28;
    *d2 = ekran ? ScreenPixels(15, dpi) : 14;
}

void DimensionText(int32_t mm, char tekst[16]) { snprintf(tekst, 16, "%d", (int)mm); }

static int32_t Os(const uniOperRys* op) {
    return op->typ == kOpMuntin ? op->szpros.osUrz : op->slupek.osUrz;
}

// A horizontal text of length `dl` centred between a and b, with its top at `gora`.
static strProst HorizontalTextRect(int32_t a, int32_t b, int32_t gora, int32_t dl, int32_t wys) {
    int32_t lewa = (int32_t)(((int64_t)a + b) / 2 - dl / 2);
    return strProst{lewa, gora, lewa + dl, gora + wys};
}

// A vertical text (running upward) centred between a and b, its left at `lewa`.
static strProst VerticalTextRect(int32_t a, int32_t b, int32_t lewa, int32_t dl, int32_t wys) {
    int32_t gora = (int32_t)(((int64_t)a + b) / 2 - dl / 2);
    return strProst{lewa, gora, lewa + wys, gora + dl};
}

void LayOutDimensionTexts(DimensionSet* w, const uniOperRys* lista, int32_t liczba, int ekran,
                            MeasureTextFn mierz, void* ctx) {
    if (!lista || liczba < 1 || lista[0].typ != kOpFrame) return;
    const strProst z = lista[0].rama.zewnUrz;
    int32_t d1, d2;
    DimensionDistances(ekran, w->dpi, &d1, &d2);
    char tekst[16];
    int32_t dl = 0, wys = 0;

    DimensionText(lista[0].rama.x1, tekst);
    mierz(ctx, 0, tekst, &dl, &wys);
    w->widthText = HorizontalTextRect(z.left, z.right, z.bottom + d1 + 1, dl, wys);
    DimensionText(lista[0].rama.y1, tekst);
    mierz(ctx, 1, tekst, &dl, &wys);
    w->heightText = VerticalTextRect(z.top, z.bottom, z.right + d1 + 1, dl, wys);

    for (int c = 0; c < kDimensionChains; c++) {
        const int32_t n = w->itemCount[c];
        strWym* t = w->chainSegments[c];
        if (n < 2 || !t) continue;
        const bool poziomyLanc = c == kDimensionBottom || c == kDimensionTop;
        // Segments run from the left edge (bottom and top chains) or from the
        // bottom edge (right and left chains) to the opposite one.
        int32_t poprz = poziomyLanc ? z.left : z.bottom;
        for (int32_t i = 0; i < n; i++) {
            int32_t nast;
            if (i < n - 1 && t[i].element > 0 && t[i].element < liczba) nast = Os(&lista[t[i].element]);
            else nast = poziomyLanc ? z.right : z.top;
            DimensionText(t[i].dlugosc, tekst);
            // Every segment's text is vertical but the overall width's.
            mierz(ctx, 1, tekst, &dl, &wys);
            switch (c) {
                case kDimensionBottom: t[i].tekst = HorizontalTextRect(poprz, nast, z.bottom + d2 + 1, dl, wys); break;
                case kDimensionTop: t[i].tekst = HorizontalTextRect(poprz, nast, z.top - d2 + 1, dl, wys); break;
                case kDimensionRight: t[i].tekst = VerticalTextRect(poprz, nast, z.right + d2 + 1, dl, wys); break;
                default: t[i].tekst = VerticalTextRect(poprz, nast, z.left - d2 + 1, dl, wys); break;
            }
            poprz = nast;
        }
    }
}
