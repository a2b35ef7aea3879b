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
struct Suma {
    int64_t v = 0;
    bool ok = true;

    static bool Mnoz(int64_t a, int64_t b, int64_t* r) { return !__builtin_mul_overflow(a, b, r); }

    void Dodaj(int64_t a) {
        if (ok && __builtin_add_overflow(v, a, &v)) ok = false;
    }
    void Odejmij(int64_t a) {
        if (ok && __builtin_sub_overflow(v, a, &v)) ok = false;
    }
    // v += a * b (* c)
    void DodajIloczyn(int64_t a, int64_t b, int64_t c = 1) {
        int64_t p, q;
        if (!ok || !Mnoz(a, b, &p) || !Mnoz(p, c, &q)) {
            ok = false;
            return;
        }
        Dodaj(q);
    }
    void OdejmijIloczyn(int64_t a, int64_t b) {
        int64_t p;
        if (!ok || !Mnoz(a, b, &p)) {
            ok = false;
            return;
        }
        Odejmij(p);
    }
};

int64_t Szer(const strProst& r) { return (int64_t)r.right - r.left; }
int64_t Wys(const strProst& r) { return (int64_t)r.bottom - r.top; }

// The profile areas: A0 frame without a sash, A1 frame with
// a sash, M[0] fixed mullions, M[1] false mullions; all mm2.
struct Pola {
    Suma a0, a1, m[2];
};

// A sash's contribution. Each side lies against the element that bounds it:
// against the frame, the frame's strip along the sash (Tf x outer length)
// becomes "frame with a sash" and the sash's own side (Ts x (inner length +
// Ts)) joins it; against a mullion, the sash side counts with that mullion.
// The frame's corner square between two sides that both lie on the frame
// goes with them. The four sash sides, each Ts x (inner + Ts), tile the sash
// ring exactly, so nothing is counted twice.
void DodajSkrzydlo(Pola& p, const uniOperRys* lista, int32_t j, int64_t tf, int64_t ts) {
    const strOperSkrzydlo& s = lista[j].skrzydlo;
    bool naRamie[4];
    for (int32_t k = 0; k < 4; k++) {
        const int32_t b = s.ogr[k];  // an earlier element: the geometry pass checked it
        const bool pion = k == kLewa || k == kPrawa;
        const int64_t zewn = pion ? Wys(s.zewn) : Szer(s.zewn);
        const int64_t wewn = pion ? Wys(s.wewn) : Szer(s.wewn);
        naRamie[k] = lista[b].typ == kOperRama;
        if (naRamie[k]) {
            p.a0.OdejmijIloczyn(tf, zewn);
            p.a1.DodajIloczyn(tf, zewn);
            p.a1.DodajIloczyn(ts, wewn + ts);
        } else if (lista[b].typ == kOperSlupekStaly || lista[b].typ == kOperSlupekRuch) {
            p.m[lista[b].typ == kOperSlupekRuch].DodajIloczyn(ts, wewn + ts);
        }
        // Against another sash: the rules never let a sash into a sash's
        // interior, so there is nothing to count.
    }
    for (int32_t k = 0; k < 4; k++) {
        if (naRamie[k] && naRamie[(k + 1) & 3]) {
            p.a0.OdejmijIloczyn(tf, tf);
            p.a1.DodajIloczyn(tf, tf);
        }
    }
}

int32_t Oblicz(const strOkno* okno, const uniOperRys* lista, int32_t n, const strObsOkno* obs,
               int32_t liczbaObs) {
    const int32_t format = FormatStruktury(okno->status);
    const strOperRama& rama = lista[0].rama;
    const int64_t w = (int64_t)rama.x1 - rama.x0, h = (int64_t)rama.y1 - rama.y0;
    const int64_t tf = GruboscElementu(&lista[0], format, okno);

    Pola p;
    p.a0.DodajIloczyn(w, h);
    p.a0.OdejmijIloczyn(Szer(rama.wewn), Wys(rama.wewn));
    for (int32_t j = 1; j < n; j++) {
        const uniOperRys& e = lista[j];
        if (e.typ == kOperSlupekStaly || e.typ == kOperSlupekRuch)
            p.m[e.typ == kOperSlupekRuch].DodajIloczyn(Szer(e.slupek.prost), Wys(e.slupek.prost));
        else if (e.typ == kOperSkrzydlo) DodajSkrzydlo(p, lista, j, tf, GruboscElementu(&e, format, okno));
    }

    const strWspUw& f = okno->sWspUw;
    Suma s;
    if (!p.a0.ok || !p.a1.ok || !p.m[0].ok || !p.m[1].ok) return -1;
    s.DodajIloczyn(p.a0.v, f.ufRama);
    s.DodajIloczyn(p.a1.v, f.ufRamaSkrz);
    s.DodajIloczyn(p.m[0].v, f.ufSlupekStaly);
    s.DodajIloczyn(p.m[1].v, f.ufSlupekRuch);
    for (int32_t i = 0; i < liczbaObs; i++) {
        const strOperWypeln& wyp = lista[obs[i].wypeln].wypeln;
        int64_t ug, psi;
        if (wyp.typWypeln == 0) ug = f.ugSzyba, psi = f.psiSzyba;
        else if (wyp.typWypeln == 1) ug = f.ugAkryl, psi = f.psiAkryl;
        else continue;
        const int64_t ws = Szer(obs[i].prost), hs = Wys(obs[i].prost);
        s.DodajIloczyn(ws, hs, ug);
        s.DodajIloczyn(20, ws + hs, psi);
    }
    if (!s.ok) return -1;
    const int64_t uw = DzielKwote(s.v, w * h);
    return uw >= INT32_MIN && uw <= INT32_MAX ? (int32_t)uw : -1;
}

}  // namespace

int32_t OknoUw(const strOkno* okno) {
    if (!okno) return -1;
    if (okno->status & 8) return okno->uwZReki;
    const int32_t n = okno->liczbaOper;
    if (!okno->oper || n <= 0 || okno->oper[0].typ != kOperRama) return -1;

    // Derived rectangles are never trusted from storage, and the record is
    // the caller's: compute the geometry on a copy of the list.
    uniOperRys* lista = (uniOperRys*)KvAlloc((size_t)n * sizeof(uniOperRys));
    if (!lista) return -1;
    memcpy(lista, okno->oper, (size_t)n * sizeof(uniOperRys));
    int32_t wynik = -1;
    strObsOkno* obs = nullptr;
    int32_t liczbaObs = 0;
    if (ObliczGeometrie(lista, n, FormatStruktury(okno->status), okno, nullptr) &&
        BudujStrukture(lista, n, 0, 0, 0, &obs, &liczbaObs, nullptr)) {
        bool zupelna = liczbaObs > 0;
        for (int32_t i = 0; i < liczbaObs && zupelna; i++) {
            const strObsOkno& o = obs[i];
            // Every area glazed, and with a real opening: a non-positive
            // clear width or height is geometry gone wrong, not a window.
            zupelna = o.wypelniony && o.wypeln > 0 && o.wypeln < n && lista[o.wypeln].typ == kOperWypeln &&
                      Szer(o.prost) > 0 && Wys(o.prost) > 0;
        }
        if (zupelna) wynik = Oblicz(okno, lista, n, obs, liczbaObs);
        ZwolnijStrukture(obs);
    }
    KvFree(lista);
    return wynik;
}
