// The thermal transmittance Uw of a window: the profile and glazing factors
// weighted by their areas, plus the glass-edge term, over the frame's outer
// area.
//
// Units: lengths mm, areas mm2, U factors hundredths of W/(m2 K), psi
// ten-thousandths of W/(m K); the sum S is in mm2 x hundredths. An edge term
// psi x L is psi x mm x 1e-7 W/K while U x A is U x mm2 x 1e-8 W/K, so an
// edge of perimeter 2 (w + h) enters S as 10 x 2 (w + h) x psi = 20 (w + h) psi.
#include "model/uw.h"

#include <string.h>

#include "model/operations.h"
#include "model/structure.h"
#include "util/heap.h"
#include "util/kvutil.h"

namespace {

// Checked 64-bit arithmetic: a window whose numbers leave 64 bits is damaged
// data, and its Uw reads as "cannot be computed" rather than as garbage.
struct CheckedTotal {
    int64_t v = 0;
    bool ok = true;

    static bool Multiply(int64_t a, int64_t b, int64_t* r) { return !__builtin_mul_overflow(a, b, r); }

    void AddOp(int64_t a) {
        if (ok && __builtin_add_overflow(v, a, &v)) ok = false;
    }
    void Subtract(int64_t a) {
        if (ok && __builtin_sub_overflow(v, a, &v)) ok = false;
    }
    // v += a * b (* c)
    void AddProduct(int64_t a, int64_t b, int64_t c = 1) {
        int64_t p, q;
        if (!ok || !Multiply(a, b, &p) || !Multiply(p, c, &q)) {
            ok = false;
            return;
        }
        AddOp(q);
    }
    void SubtractProduct(int64_t a, int64_t b) {
        int64_t p;
        if (!ok || !Multiply(a, b, &p)) {
            ok = false;
            return;
        }
        Subtract(p);
    }
};

int64_t RectWidth(const strProst& r) { return (int64_t)r.right - r.left; }
int64_t RectHeight(const strProst& r) { return (int64_t)r.bottom - r.top; }

// The profile areas: A0 frame without a sash, A1 frame with
// a sash, M[0] fixed mullions, M[1] false mullions; all mm2.
struct ProfileAreas {
    CheckedTotal a0, a1, m[2];
};

// A sash's contribution. Each side lies against the element that bounds it:
// against the frame, the frame's strip along the sash (Tf x outer length)
// becomes "frame with a sash" and the sash's own side (Ts x (inner length +
// Ts)) joins it; against a mullion, the sash side counts with that mullion.
// The frame's corner square between two sides that both lie on the frame
// goes with them. The four sash sides, each Ts x (inner + Ts), tile the sash
// ring exactly, so nothing is counted twice.
void AddSashAreas(ProfileAreas& p, const uniOperRys* lista, int32_t j, int64_t tf, int64_t ts) {
    const strOperSkrzydlo& s = lista[j].skrzydlo;
    bool naRamie[4];
    for (int32_t k = 0; k < 4; k++) {
        const int32_t b = s.ogr[k];  // an earlier element: the geometry pass checked it
        const bool pion = k == kSideLeft || k == kSideRight;
        const int64_t zewn = pion ? RectHeight(s.zewn) : RectWidth(s.zewn);
        const int64_t wewn = pion ? RectHeight(s.wewn) : RectWidth(s.wewn);
        naRamie[k] = lista[b].typ == kOpFrame;
        if (naRamie[k]) {
            p.a0.SubtractProduct(tf, zewn);
            p.a1.AddProduct(tf, zewn);
            p.a1.AddProduct(ts, wewn + ts);
        } else if (lista[b].typ == kOpFixedMullion || lista[b].typ == kOpFalseMullion) {
            p.m[lista[b].typ == kOpFalseMullion].AddProduct(ts, wewn + ts);
        }
        // Against another sash: the rules never let a sash into a sash's
        // interior, so there is nothing to count.
    }
    for (int32_t k = 0; k < 4; k++) {
        if (naRamie[k] && naRamie[(k + 1) & 3]) {
            p.a0.SubtractProduct(tf, tf);
            p.a1.AddProduct(tf, tf);
        }
    }
}

int32_t ComputeUw(const strOkno* okno, const uniOperRys* lista, int32_t n, const strObsOkno* obs,
               int32_t liczbaObs) {
    const int32_t format = StructureFormat(okno->status);
    const strOperRama& rama = lista[0].rama;
    const int64_t w = (int64_t)rama.x1 - rama.x0, h = (int64_t)rama.y1 - rama.y0;
    const int64_t tf = ElementThickness(&lista[0], format, okno);

    ProfileAreas p;
    p.a0.AddProduct(w, h);
    p.a0.SubtractProduct(RectWidth(rama.wewn), RectHeight(rama.wewn));
    for (int32_t j = 1; j < n; j++) {
        const uniOperRys& e = lista[j];
        if (e.typ == kOpFixedMullion || e.typ == kOpFalseMullion)
            p.m[e.typ == kOpFalseMullion].AddProduct(RectWidth(e.slupek.prost), RectHeight(e.slupek.prost));
        else if (e.typ == kOpSash) AddSashAreas(p, lista, j, tf, ElementThickness(&e, format, okno));
    }

    const strWspUw& f = okno->sWspUw;
    CheckedTotal s;
    if (!p.a0.ok || !p.a1.ok || !p.m[0].ok || !p.m[1].ok) return -1;
    s.AddProduct(p.a0.v, f.ufRama);
    s.AddProduct(p.a1.v, f.ufRamaSkrz);
    s.AddProduct(p.m[0].v, f.ufSlupekStaly);
    s.AddProduct(p.m[1].v, f.ufSlupekRuch);
    for (int32_t i = 0; i < liczbaObs; i++) {
        const strOperWypeln& wyp = lista[obs[i].wypeln].wypeln;
        int64_t ug, psi;
        if (wyp.typWypeln == 0) ug = f.ugSzyba, psi = f.psiSzyba;
        else if (wyp.typWypeln == 1) ug = f.ugAkryl, psi = f.psiAkryl;
        else continue;
        const int64_t ws = RectWidth(obs[i].prost), hs = RectHeight(obs[i].prost);
        s.AddProduct(ws, hs, ug);
        s.AddProduct(20, ws + hs, psi);
    }
    if (!s.ok) return -1;
    const int64_t uw = DzielKwote(s.v, w * h);
    return uw >= INT32_MIN && uw <= INT32_MAX ? (int32_t)uw : -1;
}

}  // namespace

int32_t WindowUw(const strOkno* okno) {
    if (!okno) return -1;
    if (okno->status & 8) return okno->uwZReki;
    const int32_t n = okno->liczbaOper;
    if (!okno->oper || n <= 0 || okno->oper[0].typ != kOpFrame) return -1;

    // Derived rectangles are never trusted from storage, and the record is
    // the caller's: compute the geometry on a copy of the list.
    uniOperRys* lista = (uniOperRys*)KvAlloc((size_t)n * sizeof(uniOperRys));
    if (!lista) return -1;
    memcpy(lista, okno->oper, (size_t)n * sizeof(uniOperRys));
    int32_t wynik = -1;
    strObsOkno* obs = nullptr;
    int32_t liczbaObs = 0;
    if (ComputeGeometry(lista, n, StructureFormat(okno->status), okno, nullptr) &&
        BuildStructure(lista, n, 0, 0, 0, &obs, &liczbaObs, nullptr)) {
        bool zupelna = liczbaObs > 0;
        for (int32_t i = 0; i < liczbaObs && zupelna; i++) {
            const strObsOkno& o = obs[i];
            // Every area glazed, and with a real opening: a non-positive
            // clear width or height is geometry gone wrong, not a window.
            zupelna = o.hasFilling && o.wypeln > 0 && o.wypeln < n && lista[o.wypeln].typ == kOpFilling &&
                      RectWidth(o.prost) > 0 && RectHeight(o.prost) > 0;
        }
        if (zupelna) wynik = ComputeUw(okno, lista, n, obs, liczbaObs);
        FreeStructure(obs);
    }
    KvFree(lista);
    return wynik;
}
