// Element geometry: the thickness of each element and the millimetre and
// device rectangles of the whole list, checked against 32 bits.
#include <string.h>

#include "model/structure.h"
#include "model/structure_internal.h"
#include "util/msgbuf.h"

using namespace structure_internal;

// ---- Thickness -------------------------------------------------------------

int32_t FormatStruktury(int32_t status) {
    switch (status & 7) {
        case 0: return 0;
        case 1: return 1;
        case 2: return 2;
        case 4: return 5;
        default: return -1;
    }
}

int32_t GruboscElementu(const uniOperRys* op, int32_t format, const strOkno* okno) {
    int32_t wlasna, flagi;
    switch (op->typ) {
        case kOperRama:
            wlasna = op->rama.grub;
            flagi = op->rama.flagi;
            break;
        case kOperSlupekStaly:
        case kOperSlupekRuch:
            wlasna = op->slupek.grub;
            flagi = op->slupek.flagi;
            break;
        case kOperSkrzydlo:
            wlasna = op->skrzydlo.grub;
            flagi = op->skrzydlo.flagi;
            break;
        case kOperSzpros:
            wlasna = op->szpros.grub;
            flagi = op->szpros.flagi;
            break;
        case kOperWypeln: return 0;
        default: return -1;
    }
    if ((flagi & kFlagaWlGrub) || format == 2) return wlasna;
    if (format != 5 || !okno) return -1;
    switch (op->typ) {
        case kOperRama: return okno->sGrubProf.rama;
        case kOperSkrzydlo: return okno->sGrubProf.skrzydlo;
        case kOperSzpros: return okno->grubSzpros;
        default:
            if (op->slupek.rodzaj == 0) return okno->sGrubProf.slupekStaly;
            if (op->slupek.rodzaj == 1) return okno->sGrubProf.slupekRuchomy;
            return -1;
    }
}

// ---- Element geometry ------------------------------------------------------

// Rectangle of a mullion or muntin: along it between the facing edges of its
// end bounds, across it from position - t/2 for t millimetres.
static bool Listwa(const uniOperRys* lista, int32_t poczIdx, int32_t konIdx, int32_t poz, bool poziomy,
                   int32_t t, strProst* r) {
    const int64_t lo = (int64_t)poz - t / 2;
    const int64_t hi = lo + t;
    if (!W32(lo) || !W32(hi)) return false;
    if (poziomy) {
        r->left = Krawedz(lista[poczIdx], kLewa);
        r->right = Krawedz(lista[konIdx], kPrawa);
        r->top = (int32_t)lo;
        r->bottom = (int32_t)hi;
    } else {
        r->top = Krawedz(lista[poczIdx], kGora);
        r->bottom = Krawedz(lista[konIdx], kDol);
        r->left = (int32_t)lo;
        r->right = (int32_t)hi;
    }
    return true;
}

// r inset by t on every side; false when a side leaves 32 bits.
static bool Wciecie(const strProst& r, int32_t t, strProst* w) {
    const int64_t l = (int64_t)r.left + t, g = (int64_t)r.top + t;
    const int64_t p = (int64_t)r.right - t, d = (int64_t)r.bottom - t;
    if (!W32(l) || !W32(g) || !W32(p) || !W32(d)) return false;
    *w = strProst{(int32_t)l, (int32_t)g, (int32_t)p, (int32_t)d};
    return true;
}

int ObliczElement(uniOperRys* lista, int32_t liczba, int32_t j, int32_t format, const strOkno* okno,
                  char* msg) {
    if (!lista || j < 0 || j >= liczba) {
        KvMsg(msg, "Wrong structure of the window");
        return 0;
    }
    uniOperRys& op = lista[j];
    const int32_t t = GruboscElementu(&op, format, okno);
    switch (op.typ) {
        case kOperRama: {
            strOperRama& r = op.rama;
            const strProst zewn{r.x0, r.y0, r.x1, r.y1};
            if (j != 0 || t < 0 || (int64_t)r.x1 - r.x0 <= 0 || (int64_t)r.y1 - r.y0 <= 0 ||
                !Wciecie(zewn, t, &r.wewn)) {
                KvMsg(msg, "Wrong definition of the frame");
                return 0;
            }
            return 1;
        }
        case kOperSlupekStaly:
        case kOperSlupekRuch: {
            strOperSlupek& s = op.slupek;
            if (t < 0 || !OgrOk(lista, j, s.ogrPocz, kOgrSlupka) || !OgrOk(lista, j, s.ogrKon, kOgrSlupka) ||
                !Listwa(lista, s.ogrPocz, s.ogrKon, s.poz, s.poziomy != 0, t, &s.prost)) {
                KvMsg(msg, "Wrong definition of the mullion");
                return 0;
            }
            return 1;
        }
        case kOperSkrzydlo: {
            strOperSkrzydlo& s = op.skrzydlo;
            bool ok = t >= 0;
            for (int32_t k = 0; k < 4 && ok; k++) ok = OgrOk(lista, j, s.ogr[k], kOgrSlupka);
            if (ok) {
                for (int32_t k = 0; k < 4; k++) UstawBok(s.zewn, k, Krawedz(lista[s.ogr[k]], k));
                ok = Wciecie(s.zewn, t, &s.wewn);
            }
            if (!ok) {
                KvMsg(msg, "Wrong definition of the sash");
                return 0;
            }
            return 1;
        }
        case kOperWypeln: {
            strOperWypeln& w = op.wypeln;
            for (int32_t k = 0; k < 4; k++) {
                if (!OgrOk(lista, j, w.ogr[k], kOgrWypeln)) {
                    KvMsg(msg, "Wrong definition of the filling");
                    return 0;
                }
            }
            for (int32_t k = 0; k < 4; k++) UstawBok(w.prost, k, Krawedz(lista[w.ogr[k]], k));
            return 1;
        }
        case kOperSzpros: {
            strOperSzpros& s = op.szpros;
            if (t < 0 || !OgrOk(lista, j, s.ogrPocz, kOgrSzprosu) ||
                !OgrOk(lista, j, s.ogrKon, kOgrSzprosu) || !OgrOk(lista, j, s.wypeln, Bit(kOperWypeln)) ||
                !Listwa(lista, s.ogrPocz, s.ogrKon, s.poz, s.poziomy != 0, t, &s.prost)) {
                KvMsg(msg, "Wrong definition of the muntin");
                return 0;
            }
            return 1;
        }
        default: return 1;
    }
}

int ObliczGeometrie(uniOperRys* lista, int32_t liczba, int32_t format, const strOkno* okno, char* msg) {
    for (int32_t j = 0; j < liczba; j++)
        if (!ObliczElement(lista, liczba, j, format, okno, msg)) return 0;
    return 1;
}
