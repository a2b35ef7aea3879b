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
bool AddOp(int64_t a, int64_t b, int64_t* r) { return !__builtin_add_overflow(a, b, r) && *r != INT64_MIN; }
bool Subtract(int64_t a, int64_t b, int64_t* r) { return !__builtin_sub_overflow(a, b, r) && *r != INT64_MIN; }
bool Multiply(int64_t a, int64_t b, int64_t* r) { return !__builtin_mul_overflow(a, b, r) && *r != INT64_MIN; }

// a * b / d for d > 0, rounded as DzielKwote rounds (positive: nearest,
// exact halves down; negative: toward zero). The product is exact in 128
// bits, so a share is refused only when the share itself does not fit.
bool RoundedShare(int64_t a, int64_t b, int64_t d, int64_t* r) {
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
bool GrossAtRate(int64_t netto, int32_t v, int64_t* brutto) {
    int64_t vat;
    if (VatOfAmount(netto, v, &vat) && AddOp(netto, vat, brutto)) return true;
    *brutto = 0;
    return false;
}

// Frame length of one window line, mm, in the 32 bits unsigned the totals
// keep it in. A window without a frame has none.
bool FrameLength(const strOkno* o, uint32_t* dlugosc) {
    *dlugosc = 0;
    if (!o->oper || o->liczbaOper <= 0 || o->oper[0].typ != kOpFrame) return true;
    const strOperRama& r = o->oper[0].rama;
    // The corners are 32-bit, so the sides and the perimeter fit 64 bits.
    const int64_t obwod = 2 * (((int64_t)r.x1 - r.x0) + ((int64_t)r.y1 - r.y0));
    int64_t d;
    if (!Multiply(obwod, o->ilOkien, &d) || d < 0 || d > (int64_t)UINT32_MAX) return false;
    *dlugosc = (uint32_t)d;
    return true;
}

// Sets or clears `bit` of `zle` by `ok`.
void MarkOverflow(uint32_t* zle, uint32_t bit, bool ok) { *zle = ok ? (*zle & ~bit) : (*zle | bit); }

// One field of a line or of the totals: its value, or 0 and its bit.
void Store(int64_t* pole, uint32_t* zle, uint32_t bit, bool ok, int64_t wartosc) {
    *pole = ok ? wartosc : 0;
    MarkOverflow(zle, bit, ok);
}

// The fields of a line selected by `maska`; returns whether they all fit.
bool WriteLineFields(ValuationLine* l, int64_t jedn, int32_t ilosc, int32_t vat, uint32_t maska) {
    int64_t linia = 0, b = 0;
    const bool liniaOk = Multiply(jedn, ilosc, &linia);
    uint32_t& zle = l->przepelnione;
    zle &= kLineUnitNet | kLineNet | kLineUnitGross | kLineGross | kLineLength;
    if (maska & kLineUnitNet) Store(&l->unitNet, &zle, kLineUnitNet, jedn != INT64_MIN, jedn);
    if (maska & kLineNet) Store(&l->lineNet, &zle, kLineNet, liniaOk, linia);
    if (maska & kLineUnitGross) {
        const bool ok = GrossAtRate(jedn, vat, &b);
        Store(&l->unitGross, &zle, kLineUnitGross, ok, b);
    }
    if (maska & kLineGross) {
        const bool ok = liniaOk && GrossAtRate(linia, vat, &b);
        Store(&l->lineGross, &zle, kLineGross, ok, b);
    }
    return (zle & maska & (kLineUnitNet | kLineNet | kLineUnitGross | kLineGross)) == 0;
}

// Assembly or disassembly by its mode: by size (which needs the frame
// length), a fixed price, or none.
void ComputeAssembly(strSumyZam* s, bool demontaz, int32_t tryb, int32_t wgWymiaru, int32_t stala, int64_t cena,
            int32_t vat) {
    int64_t* netto = demontaz ? &s->demontNetto : &s->montNetto;
    int64_t* brutto = demontaz ? &s->demontBrutto : &s->montBrutto;
    const uint32_t bitNetto = demontaz ? kTotalDisassemblyNet : kTotalAssemblyNet;
    const uint32_t bitBrutto = demontaz ? kTotalDisassemblyGross : kTotalAssemblyGross;
    int64_t n = 0, b = 0;
    bool ok;
    if (tryb == wgWymiaru) {
        ok = !(s->przepelnione & kTotalFrameLength) && CostByDimension(s->dlugoscRam, cena, &n);
    } else if (tryb == stala) {
        ok = cena != INT64_MIN;
        n = cena;
    } else {
        Store(netto, &s->przepelnione, bitNetto, true, 0);
        Store(brutto, &s->przepelnione, bitBrutto, true, 0);
        return;
    }
    Store(netto, &s->przepelnione, bitNetto, ok, n);
    const bool bOk = ok && GrossAtRate(n, vat, &b);
    Store(brutto, &s->przepelnione, bitBrutto, bOk, b);
}

// The sum of four totals, each of which must fit.
bool TotalOfFour(const strSumyZam& s, const int64_t* const pola[4], uint32_t bity, int64_t* wynik) {
    if (s.przepelnione & bity) return false;
    int64_t suma = 0;
    for (int i = 0; i < 4; i++)
        if (!AddOp(suma, *pola[i], &suma)) return false;
    *wynik = suma;
    return true;
}

}  // namespace

const char kAmountTooLarge[] = "too large";
const char kTotalsTooLarge[] =
    "The totals of the order are too large to be computed.\r\nLower the prices, the quantities or the VAT "
    "rates.";

void PriceRefusalText(const char* co, char* tekst, int rozmiar) {
    if (!tekst || rozmiar <= 0) return;
    char najwyzsza[64];
    if (!AmountDisplayText(kMaxEnteredPrice, najwyzsza, (int)sizeof najwyzsza))
        LLX100NaNap(kMaxEnteredPrice, najwyzsza);
    snprintf(tekst, (size_t)rozmiar, "%s\r\nThe highest price is %s", co ? co : "", najwyzsza);
}

bool PriceInRange(int64_t cena) { return cena >= -kMaxEnteredPrice && cena <= kMaxEnteredPrice; }

int VatOfAmount(int64_t kwota, int32_t stawka, int64_t* wynik) { return RoundedShare(kwota, stawka, 10000, wynik); }

int DiscountOfAmount(int64_t kwota, int32_t rabat, int64_t* wynik) { return RoundedShare(kwota, rabat, 100, wynik); }

int CostByDimension(uint32_t dlugosc, int64_t cenaZaMetr, int64_t* wynik) {
    return RoundedShare((int64_t)dlugosc, cenaZaMetr, 1000, wynik);
}

int WindowLine(ValuationLine* l, const strZamRob* z, const strOkno* o, uint32_t maska) {
    if (!l || !z || !o) return 0;
    bool ok = WriteLineFields(l, o->cenaZReki, o->ilOkien, z->zam.sWycenZamParam.vatOkna, maska);
    if (maska & kLineUnitNet) {
        const bool dlOk = FrameLength(o, &l->dlugoscRam);
        MarkOverflow(&l->przepelnione, kLineLength, dlOk);
        ok = ok && dlOk;
    }
    return ok ? 1 : 0;
}

int AccessoryLine(ValuationLine* l, const strZamRob* z, const strDodatZam* d, uint32_t maska) {
    if (!l || !z || !d) return 0;
    const bool ok = WriteLineFields(l, d->cenaZReki, d->ilosc, z->zam.sWycenZamParam.vatDodat, maska);
    if (maska & kLineUnitNet) {
        l->dlugoscRam = 0;
        MarkOverflow(&l->przepelnione, kLineLength, true);
    }
    return ok ? 1 : 0;
}

bool OrderTotalsExact(const strSumyZam* s) { return s && (s->przepelnione & ~kTotalFrameLength) == 0; }

int OrderDiscount(const strSumyZam* s, int64_t* rabat) {
    *rabat = 0;
    if (!s ||
        (s->przepelnione & (kTotalWindowsNet | kTotalWindowsNetDiscount | kTotalAccessoriesNet | kTotalAccessoriesNetDiscount)))
        return 0;
    int64_t okna, dodatki, suma;
    if (!Subtract(s->oknaNetto, s->oknaNettoRabat, &okna) ||
        !Subtract(s->dodatNetto, s->dodatNettoRabat, &dodatki) || !AddOp(okna, dodatki, &suma))
        return 0;
    *rabat = suma;
    return 1;
}

int64_t RecomputeOrder(strZamRob* z, uint32_t maska) {
    if (!z) return 0;
    const strZam& zam = z->zam;
    const strWycenZamParam& p = zam.sWycenZamParam;
    strSumyZam& s = z->sumy;
    uint32_t& zle = s.przepelnione;
    zle &= kTotalsAll;
    int64_t v = 0;
    bool ok;
    // Each step may set bits of later steps; the steps run in bit order, so
    // one pass sees everything a change reaches. A step whose input does
    // not fit does not fit either.
    if (maska & kRecomputeWindowsNet) {
        int64_t netto = 0;
        uint32_t dlugosc = 0;
        bool nettoOk = true, dlugoscOk = true;
        for (int32_t i = 0; zam.okna && i < zam.liczbaOkien; i++) {
            ValuationLine l{};
            WindowLine(&l, z, &zam.okna[i], kLineUnitNet | kLineNet);
            nettoOk = nettoOk && !(l.przepelnione & kLineNet) && AddOp(netto, l.lineNet, &netto);
            dlugoscOk = dlugoscOk && !(l.przepelnione & kLineLength) &&
                        !__builtin_add_overflow(dlugosc, l.dlugoscRam, &dlugosc);
        }
        Store(&s.oknaNetto, &zle, kTotalWindowsNet, nettoOk, netto);
        s.dlugoscRam = dlugoscOk ? dlugosc : 0;
        MarkOverflow(&zle, kTotalFrameLength, dlugoscOk);
        maska |= kRecomputeWindowsGross | kRecomputeWindowsDiscount | kRecomputeWindowsGrossDiscount | kRecomputeAssembly | kRecomputeDisassembly;
    }
    if (maska & kRecomputeWindowsGross) {
        ok = !(zle & kTotalWindowsNet) && GrossAtRate(s.oknaNetto, p.vatOkna, &v);
        Store(&s.oknaBrutto, &zle, kTotalWindowsGross, ok, v);
    }
    if (maska & kRecomputeWindowsDiscount) {
        int64_t r = 0;
        ok = !(zle & kTotalWindowsNet) && DiscountOfAmount(s.oknaNetto, p.rabat, &r) && Subtract(s.oknaNetto, r, &v);
        Store(&s.oknaNettoRabat, &zle, kTotalWindowsNetDiscount, ok, v);
        maska |= kRecomputeWindowsGrossDiscount | kRecomputeAssembly | kRecomputeDisassembly;
    }
    if (maska & kRecomputeWindowsGrossDiscount) {
        ok = !(zle & kTotalWindowsNetDiscount) && GrossAtRate(s.oknaNettoRabat, p.vatOkna, &v);
        Store(&s.oknaBruttoRabat, &zle, kTotalWindowsGrossDiscount, ok, v);
        maska |= kRecomputeAssembly | kRecomputeDisassembly;
    }
    if (maska & kRecomputeAccessoriesNet) {
        int64_t netto = 0;
        bool nettoOk = true;
        for (int32_t i = 0; zam.dodatki && i < zam.liczbaDodat; i++) {
            ValuationLine l{};
            AccessoryLine(&l, z, &zam.dodatki[i], kLineUnitNet | kLineNet);
            nettoOk = nettoOk && !(l.przepelnione & kLineNet) && AddOp(netto, l.lineNet, &netto);
        }
        Store(&s.dodatNetto, &zle, kTotalAccessoriesNet, nettoOk, netto);
        maska |= kRecomputeAccessoriesGross | kRecomputeAccessoriesDiscount | kRecomputeAccessoriesGrossDiscount | kRecomputeAssembly | kRecomputeDisassembly;
    }
    if (maska & kRecomputeAccessoriesGross) {
        ok = !(zle & kTotalAccessoriesNet) && GrossAtRate(s.dodatNetto, p.vatDodat, &v);
        Store(&s.dodatBrutto, &zle, kTotalAccessoriesGross, ok, v);
    }
    if (maska & kRecomputeAccessoriesDiscount) {
        int64_t r = 0;
        ok =
            !(zle & kTotalAccessoriesNet) && DiscountOfAmount(s.dodatNetto, p.rabat, &r) && Subtract(s.dodatNetto, r, &v);
        Store(&s.dodatNettoRabat, &zle, kTotalAccessoriesNetDiscount, ok, v);
        maska |= kRecomputeAccessoriesGrossDiscount | kRecomputeAssembly | kRecomputeDisassembly;
    }
    if (maska & kRecomputeAccessoriesGrossDiscount) {
        ok = !(zle & kTotalAccessoriesNetDiscount) && GrossAtRate(s.dodatNettoRabat, p.vatDodat, &v);
        Store(&s.dodatBruttoRabat, &zle, kTotalAccessoriesGrossDiscount, ok, v);
        maska |= kRecomputeAssembly | kRecomputeDisassembly;
    }
    if (maska & kRecomputeAssembly) ComputeAssembly(&s, false, p.flagi & kAssemblyMask, 1, 2, p.cenaMont, p.vatMont);
    if (maska & kRecomputeDisassembly) ComputeAssembly(&s, true, p.flagi & kDisassemblyMask, 4, 8, p.cenaDemont, p.vatMont);
    const int64_t* const netto[4] = {&s.oknaNettoRabat, &s.dodatNettoRabat, &s.montNetto, &s.demontNetto};
    ok = TotalOfFour(s, netto, kTotalWindowsNetDiscount | kTotalAccessoriesNetDiscount | kTotalAssemblyNet | kTotalDisassemblyNet, &v);
    Store(&s.zamNetto, &zle, kTotalOrderNet, ok, v);
    const int64_t* const brutto[4] = {&s.oknaBruttoRabat, &s.dodatBruttoRabat, &s.montBrutto,
                                      &s.demontBrutto};
    ok = TotalOfFour(s, brutto, kTotalWindowsGrossDiscount | kTotalAccessoriesGrossDiscount | kTotalAssemblyGross | kTotalDisassemblyGross,
               &v);
    Store(&s.zamBrutto, &zle, kTotalOrderGross, ok, v);
    return s.zamBrutto;
}
