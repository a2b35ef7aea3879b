// Element geometry: the thickness of each element and the millimetre and
// device rectangles of the whole list, checked against 32 bits.
#include <string.h>

#include "model/structure.h"
#include "model/structure_internal.h"
#include "util/msgbuf.h"

using namespace structure_internal;

// ---- Thickness -------------------------------------------------------------

int32_t StructureFormat(int32_t status) {
    switch (status & 7) {
        case 0: return 0;
        case 1: return 1;
        case 2: return 2;
        case 4: return 5;
        default: return -1;
    }
}

int32_t ElementThickness(const uniOperRys* op, int32_t format, const strOkno* okno) {
    int32_t wlasna, flagi;
    switch (op->typ) {
        case kOpFrame:
            wlasna = op->rama.grub;
            flagi = op->rama.flagi;
            break;
        case kOpFixedMullion:
        case kOpFalseMullion:
            wlasna = op->slupek.grub;
            flagi = op->slupek.flagi;
            break;
        case kOpSash:
            wlasna = op->skrzydlo.grub;
            flagi = op->skrzydlo.flagi;
            break;
        case kOpMuntin:
            wlasna = op->szpros.grub;
            flagi = op->szpros.flagi;
            break;
        case kOpFilling: return 0;
        default: return -1;
    }
    if ((flagi & kFlagOwnThickness) || format == 2) return wlasna;
    if (format != 5 || !okno) return -1;
    switch (op->typ) {
        case kOpFrame: return okno->sGrubProf.rama;
        case kOpSash: return okno->sGrubProf.skrzydlo;
        case kOpMuntin: return okno->grubSzpros;
        default:
            if (op->slupek.rodzaj == 0) return okno->sGrubProf.slupekStaly;
            if (op->slupek.rodzaj == 1) return okno->sGrubProf.slupekRuchomy;
            return -1;
    }
}

// ---- Element geometry ------------------------------------------------------

// Rectangle of a mullion or muntin: along it between the facing edges of its
// end bounds, across it from position - t/2 for t millimetres.
static bool BarElement(const uniOperRys* lista, int32_t poczIdx, int32_t konIdx, int32_t poz, bool poziomy,
                   int32_t t, strProst* r) {
    const int64_t lo = (int64_t)poz - t / 2;
    const int64_t hi = lo + t;
    if (!W32(lo) || !W32(hi)) return false;
    if (poziomy) {
        r->left = FacingEdge(lista[poczIdx], kSideLeft);
        r->right = FacingEdge(lista[konIdx], kSideRight);
        r->top = (int32_t)lo;
        r->bottom = (int32_t)hi;
    } else {
        r->top = FacingEdge(lista[poczIdx], kSideTop);
        r->bottom = FacingEdge(lista[konIdx], kSideBottom);
        r->left = (int32_t)lo;
        r->right = (int32_t)hi;
    }
    return true;
}

// r inset by t on every side; false when a side leaves 32 bits.
static bool Inset(const strProst& r, int32_t t, strProst* w) {
    const int64_t l = (int64_t)r.left + t, g = (int64_t)r.top + t;
    const int64_t p = (int64_t)r.right - t, d = (int64_t)r.bottom - t;
    if (!W32(l) || !W32(g) || !W32(p) || !W32(d)) return false;
    *w = strProst{(int32_t)l, (int32_t)g, (int32_t)p, (int32_t)d};
    return true;
}

int ComputeElement(uniOperRys* lista, int32_t liczba, int32_t j, int32_t format, const strOkno* okno,
                  char* msg) {
    if (!lista || j < 0 || j >= liczba) {
        KvMsg(msg, "Wrong structure of the window");
        return 0;
    }
    uniOperRys& op = lista[j];
    const int32_t t = ElementThickness(&op, format, okno);
    switch (op.typ) {
        case kOpFrame: {
            strOperRama& r = op.rama;
            const strProst zewn{r.x0, r.y0, r.x1, r.y1};
            if (j != 0 || t < 0 || (int64_t)r.x1 - r.x0 <= 0 || (int64_t)r.y1 - r.y0 <= 0 ||
                !Inset(zewn, t, &r.wewn)) {
                KvMsg(msg, "Wrong definition of the frame");
                return 0;
            }
            return 1;
        }
        case kOpFixedMullion:
        case kOpFalseMullion: {
            strOperSlupek& s = op.slupek;
            if (t < 0 || !BoundOk(lista, j, s.ogrPocz, kMullionBounds) || !BoundOk(lista, j, s.ogrKon, kMullionBounds) ||
                !BarElement(lista, s.ogrPocz, s.ogrKon, s.poz, s.poziomy != 0, t, &s.prost)) {
                KvMsg(msg, "Wrong definition of the mullion");
                return 0;
            }
            return 1;
        }
        case kOpSash: {
            strOperSkrzydlo& s = op.skrzydlo;
            bool ok = t >= 0;
            for (int32_t k = 0; k < 4 && ok; k++) ok = BoundOk(lista, j, s.ogr[k], kMullionBounds);
            if (ok) {
                for (int32_t k = 0; k < 4; k++) SetRectSide(s.zewn, k, FacingEdge(lista[s.ogr[k]], k));
                ok = Inset(s.zewn, t, &s.wewn);
            }
            if (!ok) {
                KvMsg(msg, "Wrong definition of the sash");
                return 0;
            }
            return 1;
        }
        case kOpFilling: {
            strOperWypeln& w = op.wypeln;
            for (int32_t k = 0; k < 4; k++) {
                if (!BoundOk(lista, j, w.ogr[k], kFillingBounds)) {
                    KvMsg(msg, "Wrong definition of the filling");
                    return 0;
                }
            }
            for (int32_t k = 0; k < 4; k++) SetRectSide(w.prost, k, FacingEdge(lista[w.ogr[k]], k));
            return 1;
        }
        case kOpMuntin: {
            strOperSzpros& s = op.szpros;
            if (t < 0 || !BoundOk(lista, j, s.ogrPocz, kMuntinBounds) ||
                !BoundOk(lista, j, s.ogrKon, kMuntinBounds) || !BoundOk(lista, j, s.wypeln, Bit(kOpFilling)) ||
                !BarElement(lista, s.ogrPocz, s.ogrKon, s.poz, s.poziomy != 0, t, &s.prost)) {
                KvMsg(msg, "Wrong definition of the muntin");
                return 0;
            }
            return 1;
        }
        default: return 1;
    }
}

int ComputeGeometry(uniOperRys* lista, int32_t liczba, int32_t format, const strOkno* okno, char* msg) {
    for (int32_t j = 0; j < liczba; j++)
        if (!ComputeElement(lista, liczba, j, format, okno, msg)) return 0;
    return 1;
}
