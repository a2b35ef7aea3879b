// The valuation engine. It keeps no state: everything is read from the order
// and written into its totals or the caller's line.
#include "valuation/valuation.h"

#include <stdio.h>

#include "model/operations.h"
#include "util/amounttext.h"
#include "util/kvutil.h"

namespace {

// Exact 64-bit arithmetic or a refusal: false when the result leaves 64
// bits or is -2^63, which is no amount. The operands come from stored
// orders as they are, so nothing here may be undefined either.
bool Dodaj(int64_t a, int64_t b, int64_t* r) { return !__builtin_add_overflow(a, b, r) && *r != INT64_MIN; }
bool Odejmij(int64_t a, int64_t b, int64_t* r) { return !__builtin_sub_overflow(a, b, r) && *r != INT64_MIN; }
bool Mnoz(int64_t a, int64_t b, int64_t* r) { return !__builtin_mul_overflow(a, b, r) && *r != INT64_MIN; }

// a * b / d for d > 0, rounded as DzielKwote rounds (positive: nearest,
// exact halves down; negative: toward zero). The product is exact in 128
// bits, so a share is refused only when the share itself does not fit.
bool Udzial(int64_t a, int64_t b, int64_t d, int64_t* r) {
    const __int128 p = (__int128)a * b;  // |a|, |b| <= 2^63: fits
    const unsigned __int128 m = p < 0 ? -(unsigned __int128)p : (unsigned __int128)p;
    const unsigned __int128 dz = (unsigned __int128)d;
    unsigned __int128 q = m / dz;
    if (p > 0 && m % dz > dz / 2) q++;
    if (q > (unsigned __int128)INT64_MAX) {
        *r = 0;
        return false;
    }
    *r = p < 0 ? -(int64_t)q : (int64_t)q;
    return true;
}

// A net amount and its gross at rate v.
bool Brutto(int64_t netto, int32_t v, int64_t* brutto) {
    int64_t vat;
    if (VatKwoty(netto, v, &vat) && Dodaj(netto, vat, brutto)) return true;
    *brutto = 0;
    return false;
}

// Frame length of one window line, mm, in the 32 bits unsigned the totals
// keep it in. A window without a frame has none.
bool DlugoscRam(const strOkno* o, uint32_t* dlugosc) {
    *dlugosc = 0;
    if (!o->oper || o->liczbaOper <= 0 || o->oper[0].typ != kOperRama) return true;
    const strOperRama& r = o->oper[0].rama;
    // The corners are 32-bit, so the sides and the perimeter fit 64 bits.
    const int64_t obwod = 2 * (((int64_t)r.x1 - r.x0) + ((int64_t)r.y1 - r.y0));
    int64_t d;
    if (!Mnoz(obwod, o->ilOkien, &d) || d < 0 || d > (int64_t)UINT32_MAX) return false;
    *dlugosc = (uint32_t)d;
    return true;
}

// Sets or clears `bit` of `zle` by `ok`.
void Oznacz(uint32_t* zle, uint32_t bit, bool ok) { *zle = ok ? (*zle & ~bit) : (*zle | bit); }

// One field of a line or of the totals: its value, or 0 and its bit.
void Zapisz(int64_t* pole, uint32_t* zle, uint32_t bit, bool ok, int64_t wartosc) {
    *pole = ok ? wartosc : 0;
    Oznacz(zle, bit, ok);
}

// The fields of a line selected by `maska`; returns whether they all fit.
bool PiszLinie(strLinia* l, int64_t jedn, int32_t ilosc, int32_t vat, uint32_t maska) {
    int64_t linia = 0, b = 0;
    const bool liniaOk = Mnoz(jedn, ilosc, &linia);
    uint32_t& zle = l->przepelnione;
    zle &= kLiniaJednNetto | kLiniaNetto | kLiniaJednBrutto | kLiniaBrutto | kLiniaDlugosc;
    if (maska & kLiniaJednNetto) Zapisz(&l->jednNetto, &zle, kLiniaJednNetto, jedn != INT64_MIN, jedn);
    if (maska & kLiniaNetto) Zapisz(&l->liniaNetto, &zle, kLiniaNetto, liniaOk, linia);
    if (maska & kLiniaJednBrutto) {
        const bool ok = Brutto(jedn, vat, &b);
        Zapisz(&l->jednBrutto, &zle, kLiniaJednBrutto, ok, b);
    }
    if (maska & kLiniaBrutto) {
        const bool ok = liniaOk && Brutto(linia, vat, &b);
        Zapisz(&l->liniaBrutto, &zle, kLiniaBrutto, ok, b);
    }
    return (zle & maska & (kLiniaJednNetto | kLiniaNetto | kLiniaJednBrutto | kLiniaBrutto)) == 0;
}

// Assembly or disassembly by its mode: by size (which needs the frame
// length), a fixed price, or none.
void Montaz(strSumyZam* s, bool demontaz, int32_t tryb, int32_t wgWymiaru, int32_t stala, int64_t cena,
            int32_t vat) {
    int64_t* netto = demontaz ? &s->demontNetto : &s->montNetto;
    int64_t* brutto = demontaz ? &s->demontBrutto : &s->montBrutto;
    const uint32_t bitNetto = demontaz ? kSumaDemontNetto : kSumaMontNetto;
    const uint32_t bitBrutto = demontaz ? kSumaDemontBrutto : kSumaMontBrutto;
    int64_t n = 0, b = 0;
    bool ok;
    if (tryb == wgWymiaru) {
        ok = !(s->przepelnione & kSumaDlugoscRam) && KosztWgWymiaru(s->dlugoscRam, cena, &n);
    } else if (tryb == stala) {
        ok = cena != INT64_MIN;
        n = cena;
    } else {
        Zapisz(netto, &s->przepelnione, bitNetto, true, 0);
        Zapisz(brutto, &s->przepelnione, bitBrutto, true, 0);
        return;
    }
    Zapisz(netto, &s->przepelnione, bitNetto, ok, n);
    const bool bOk = ok && Brutto(n, vat, &b);
    Zapisz(brutto, &s->przepelnione, bitBrutto, bOk, b);
}

// The sum of four totals, each of which must fit.
bool Suma4(const strSumyZam& s, const int64_t* const pola[4], uint32_t bity, int64_t* wynik) {
    if (s.przepelnione & bity) return false;
    int64_t suma = 0;
    for (int i = 0; i < 4; i++)
        if (!Dodaj(suma, *pola[i], &suma)) return false;
    *wynik = suma;
    return true;
}

}  // namespace

const char kKwotaZaDuza[] = "too large";
const char kSumyZaDuze[] =
    "The totals of the order are too large to be computed.\r\nLower the prices, the quantities or the VAT "
    "rates.";

void TekstOdmowyCeny(const char* co, char* tekst, int rozmiar) {
    if (!tekst || rozmiar <= 0) return;
    char najwyzsza[64];
    if (!DajNapKwotaPokaz(kMaxCenaWpis, najwyzsza, (int)sizeof najwyzsza))
        LLX100NaNap(kMaxCenaWpis, najwyzsza);
    snprintf(tekst, (size_t)rozmiar, "%s\r\nThe highest price is %s", co ? co : "", najwyzsza);
}

bool CenaWZakresie(int64_t cena) { return cena >= -kMaxCenaWpis && cena <= kMaxCenaWpis; }

int VatKwoty(int64_t kwota, int32_t stawka, int64_t* wynik) { return Udzial(kwota, stawka, 10000, wynik); }

int RabatKwoty(int64_t kwota, int32_t rabat, int64_t* wynik) { return Udzial(kwota, rabat, 100, wynik); }

int KosztWgWymiaru(uint32_t dlugosc, int64_t cenaZaMetr, int64_t* wynik) {
    return Udzial((int64_t)dlugosc, cenaZaMetr, 1000, wynik);
}

int LiniaOkna(strLinia* l, const strZamRob* z, const strOkno* o, uint32_t maska) {
    if (!l || !z || !o) return 0;
    bool ok = PiszLinie(l, o->cenaZReki, o->ilOkien, z->zam.sWycenZamParam.vatOkna, maska);
    if (maska & kLiniaJednNetto) {
        const bool dlOk = DlugoscRam(o, &l->dlugoscRam);
        Oznacz(&l->przepelnione, kLiniaDlugosc, dlOk);
        ok = ok && dlOk;
    }
    return ok ? 1 : 0;
}

int LiniaDodatku(strLinia* l, const strZamRob* z, const strDodatZam* d, uint32_t maska) {
    if (!l || !z || !d) return 0;
    const bool ok = PiszLinie(l, d->cenaZReki, d->ilosc, z->zam.sWycenZamParam.vatDodat, maska);
    if (maska & kLiniaJednNetto) {
        l->dlugoscRam = 0;
        Oznacz(&l->przepelnione, kLiniaDlugosc, true);
    }
    return ok ? 1 : 0;
}

bool SumyZamDokladne(const strSumyZam* s) { return s && (s->przepelnione & ~kSumaDlugoscRam) == 0; }

int RabatZam(const strSumyZam* s, int64_t* rabat) {
    *rabat = 0;
    if (!s ||
        (s->przepelnione & (kSumaOknaNetto | kSumaOknaNettoRabat | kSumaDodatNetto | kSumaDodatNettoRabat)))
        return 0;
    int64_t okna, dodatki, suma;
    if (!Odejmij(s->oknaNetto, s->oknaNettoRabat, &okna) ||
        !Odejmij(s->dodatNetto, s->dodatNettoRabat, &dodatki) || !Dodaj(okna, dodatki, &suma))
        return 0;
    *rabat = suma;
    return 1;
}

int64_t PrzeliczZam(strZamRob* z, uint32_t maska) {
    if (!z) return 0;
    const strZam& zam = z->zam;
    const strWycenZamParam& p = zam.sWycenZamParam;
    strSumyZam& s = z->sumy;
    uint32_t& zle = s.przepelnione;
    zle &= kSumaWszystkie;
    int64_t v = 0;
    bool ok;
    // Each step may set bits of later steps; the steps run in bit order, so
    // one pass sees everything a change reaches. A step whose input does
    // not fit does not fit either.
    if (maska & kPrzOknaNetto) {
        int64_t netto = 0;
        uint32_t dlugosc = 0;
        bool nettoOk = true, dlugoscOk = true;
        for (int32_t i = 0; zam.okna && i < zam.liczbaOkien; i++) {
            strLinia l{};
            LiniaOkna(&l, z, &zam.okna[i], kLiniaJednNetto | kLiniaNetto);
            nettoOk = nettoOk && !(l.przepelnione & kLiniaNetto) && Dodaj(netto, l.liniaNetto, &netto);
            dlugoscOk = dlugoscOk && !(l.przepelnione & kLiniaDlugosc) &&
                        !__builtin_add_overflow(dlugosc, l.dlugoscRam, &dlugosc);
        }
        Zapisz(&s.oknaNetto, &zle, kSumaOknaNetto, nettoOk, netto);
        s.dlugoscRam = dlugoscOk ? dlugosc : 0;
        Oznacz(&zle, kSumaDlugoscRam, dlugoscOk);
        maska |= kPrzOknaBrutto | kPrzOknaRabat | kPrzOknaBruttoRabat | kPrzMontaz | kPrzDemontaz;
    }
    if (maska & kPrzOknaBrutto) {
        ok = !(zle & kSumaOknaNetto) && Brutto(s.oknaNetto, p.vatOkna, &v);
        Zapisz(&s.oknaBrutto, &zle, kSumaOknaBrutto, ok, v);
    }
    if (maska & kPrzOknaRabat) {
        int64_t r = 0;
        ok = !(zle & kSumaOknaNetto) && RabatKwoty(s.oknaNetto, p.rabat, &r) && Odejmij(s.oknaNetto, r, &v);
        Zapisz(&s.oknaNettoRabat, &zle, kSumaOknaNettoRabat, ok, v);
        maska |= kPrzOknaBruttoRabat | kPrzMontaz | kPrzDemontaz;
    }
    if (maska & kPrzOknaBruttoRabat) {
        ok = !(zle & kSumaOknaNettoRabat) && Brutto(s.oknaNettoRabat, p.vatOkna, &v);
        Zapisz(&s.oknaBruttoRabat, &zle, kSumaOknaBruttoRabat, ok, v);
        maska |= kPrzMontaz | kPrzDemontaz;
    }
    if (maska & kPrzDodatNetto) {
        int64_t netto = 0;
        bool nettoOk = true;
        for (int32_t i = 0; zam.dodatki && i < zam.liczbaDodat; i++) {
            strLinia l{};
            LiniaDodatku(&l, z, &zam.dodatki[i], kLiniaJednNetto | kLiniaNetto);
            nettoOk = nettoOk && !(l.przepelnione & kLiniaNetto) && Dodaj(netto, l.liniaNetto, &netto);
        }
        Zapisz(&s.dodatNetto, &zle, kSumaDodatNetto, nettoOk, netto);
        maska |= kPrzDodatBrutto | kPrzDodatRabat | kPrzDodatBruttoRabat | kPrzMontaz | kPrzDemontaz;
    }
    if (maska & kPrzDodatBrutto) {
        ok = !(zle & kSumaDodatNetto) && Brutto(s.dodatNetto, p.vatDodat, &v);
        Zapisz(&s.dodatBrutto, &zle, kSumaDodatBrutto, ok, v);
    }
    if (maska & kPrzDodatRabat) {
        int64_t r = 0;
        ok =
            !(zle & kSumaDodatNetto) && RabatKwoty(s.dodatNetto, p.rabat, &r) && Odejmij(s.dodatNetto, r, &v);
        Zapisz(&s.dodatNettoRabat, &zle, kSumaDodatNettoRabat, ok, v);
        maska |= kPrzDodatBruttoRabat | kPrzMontaz | kPrzDemontaz;
    }
    if (maska & kPrzDodatBruttoRabat) {
        ok = !(zle & kSumaDodatNettoRabat) && Brutto(s.dodatNettoRabat, p.vatDodat, &v);
        Zapisz(&s.dodatBruttoRabat, &zle, kSumaDodatBruttoRabat, ok, v);
        maska |= kPrzMontaz | kPrzDemontaz;
    }
    if (maska & kPrzMontaz) Montaz(&s, false, p.flagi & kMontazMaska, 1, 2, p.cenaMont, p.vatMont);
    if (maska & kPrzDemontaz) Montaz(&s, true, p.flagi & kDemontazMaska, 4, 8, p.cenaDemont, p.vatMont);
    const int64_t* const netto[4] = {&s.oknaNettoRabat, &s.dodatNettoRabat, &s.montNetto, &s.demontNetto};
    ok = Suma4(s, netto, kSumaOknaNettoRabat | kSumaDodatNettoRabat | kSumaMontNetto | kSumaDemontNetto, &v);
    Zapisz(&s.zamNetto, &zle, kSumaZamNetto, ok, v);
    const int64_t* const brutto[4] = {&s.oknaBruttoRabat, &s.dodatBruttoRabat, &s.montBrutto,
                                      &s.demontBrutto};
    ok = Suma4(s, brutto, kSumaOknaBruttoRabat | kSumaDodatBruttoRabat | kSumaMontBrutto | kSumaDemontBrutto,
               &v);
    Zapisz(&s.zamBrutto, &zle, kSumaZamBrutto, ok, v);
    return s.zamBrutto;
}
