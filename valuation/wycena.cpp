// The valuation engine. It keeps no state: everything is read from the order
// and written into its totals or the caller's line.
#include "wycena.h"

#include "kvutil.h"
#include "oper.h"

namespace {

// Two's-complement arithmetic in 64 bits: a damaged price or quantity must
// not make the arithmetic undefined, only wrong.
int64_t Razy(int64_t a, int64_t b) {
    int64_t r;
    __builtin_mul_overflow(a, b, &r);
    return r;
}
int64_t Plus(int64_t a, int64_t b) {
    int64_t r;
    __builtin_add_overflow(a, b, &r);
    return r;
}
int64_t Minus(int64_t a, int64_t b) {
    int64_t r;
    __builtin_sub_overflow(a, b, &r);
    return r;
}

// A net amount and its gross at rate v.
int64_t Brutto(int64_t netto, int32_t v) { return Plus(netto, VatKwoty(netto, v)); }

// Frame length of one window line, mm: kept in 32 bits unsigned as the
// totals keep it, so a line and the sum of lines agree.
uint32_t DlugoscRam(const strOkno* o) {
    if (!o->oper || o->liczbaOper <= 0 || o->oper[0].typ != kOperRama) return 0;
    const strOperRama& r = o->oper[0].rama;
    const int64_t obwod = Razy(2, Plus(Minus(r.x1, r.x0), Minus(r.y1, r.y0)));
    return (uint32_t)(uint64_t)Razy(obwod, o->ilOkien);
}

void PiszLinie(strLinia* l, int64_t jedn, int32_t ilosc, int32_t vat, uint32_t maska) {
    const int64_t linia = Razy(jedn, ilosc);
    if (maska & kLiniaJednNetto) l->jednNetto = jedn;
    if (maska & kLiniaNetto) l->liniaNetto = linia;
    if (maska & kLiniaJednBrutto) l->jednBrutto = Brutto(jedn, vat);
    if (maska & kLiniaBrutto) l->liniaBrutto = Brutto(linia, vat);
}

// Assembly or disassembly by its mode: by size, a fixed price, or none.
void Montaz(int64_t* netto, int64_t* brutto, int32_t tryb, int32_t wgWymiaru, int32_t stala, int64_t cena,
            uint32_t dlugosc, int32_t vat) {
    if (tryb == wgWymiaru) {
        *netto = KosztWgWymiaru(dlugosc, cena);
    } else if (tryb == stala) {
        *netto = cena;
    } else {
        *netto = 0;
        *brutto = 0;
        return;
    }
    *brutto = Brutto(*netto, vat);
}

}  // namespace

int64_t VatKwoty(int64_t kwota, int32_t stawka) { return DzielKwote(Razy(kwota, stawka), 10000); }

int64_t RabatKwoty(int64_t kwota, int32_t rabat) { return DzielKwote(Razy(kwota, rabat), 100); }

int64_t KosztWgWymiaru(uint32_t dlugosc, int64_t cenaZaMetr) {
    return DzielKwote(Razy((int64_t)dlugosc, cenaZaMetr), 1000);
}

void LiniaOkna(strLinia* l, const strZamRob* z, const strOkno* o, uint32_t maska) {
    if (!l || !z || !o) return;
    PiszLinie(l, o->cenaZReki, o->ilOkien, z->zam.sWycenZamParam.vatOkna, maska);
    if (maska & kLiniaJednNetto) l->dlugoscRam = DlugoscRam(o);
}

void LiniaDodatku(strLinia* l, const strZamRob* z, const strDodatZam* d, uint32_t maska) {
    if (!l || !z || !d) return;
    PiszLinie(l, d->cenaZReki, d->ilosc, z->zam.sWycenZamParam.vatDodat, maska);
    if (maska & kLiniaJednNetto) l->dlugoscRam = 0;
}

int64_t PrzeliczZam(strZamRob* z, uint32_t maska) {
    if (!z) return 0;
    const strZam& zam = z->zam;
    const strWycenZamParam& p = zam.sWycenZamParam;
    strSumyZam& s = z->sumy;
    // Each step may set bits of later steps; the steps run in bit order, so
    // one pass sees everything a change reaches.
    if (maska & kPrzOknaNetto) {
        int64_t netto = 0;
        uint32_t dlugosc = 0;
        for (int32_t i = 0; zam.okna && i < zam.liczbaOkien; i++) {
            strLinia l{};
            LiniaOkna(&l, z, &zam.okna[i], kLiniaJednNetto | kLiniaNetto);
            netto = Plus(netto, l.liniaNetto);
            dlugosc += l.dlugoscRam;
        }
        s.oknaNetto = netto;
        s.dlugoscRam = dlugosc;
        maska |= kPrzOknaBrutto | kPrzOknaRabat | kPrzOknaBruttoRabat | kPrzMontaz | kPrzDemontaz;
    }
    if (maska & kPrzOknaBrutto) s.oknaBrutto = Brutto(s.oknaNetto, p.vatOkna);
    if (maska & kPrzOknaRabat) {
        s.oknaNettoRabat = Minus(s.oknaNetto, RabatKwoty(s.oknaNetto, p.rabat));
        maska |= kPrzOknaBruttoRabat | kPrzMontaz | kPrzDemontaz;
    }
    if (maska & kPrzOknaBruttoRabat) {
        s.oknaBruttoRabat = Brutto(s.oknaNettoRabat, p.vatOkna);
        maska |= kPrzMontaz | kPrzDemontaz;
    }
    if (maska & kPrzDodatNetto) {
        int64_t netto = 0;
        for (int32_t i = 0; zam.dodatki && i < zam.liczbaDodat; i++) {
            strLinia l{};
            LiniaDodatku(&l, z, &zam.dodatki[i], kLiniaJednNetto | kLiniaNetto);
            netto = Plus(netto, l.liniaNetto);
        }
        s.dodatNetto = netto;
        maska |= kPrzDodatBrutto | kPrzDodatRabat | kPrzDodatBruttoRabat | kPrzMontaz | kPrzDemontaz;
    }
    if (maska & kPrzDodatBrutto) s.dodatBrutto = Brutto(s.dodatNetto, p.vatDodat);
    if (maska & kPrzDodatRabat) {
        s.dodatNettoRabat = Minus(s.dodatNetto, RabatKwoty(s.dodatNetto, p.rabat));
        maska |= kPrzDodatBruttoRabat | kPrzMontaz | kPrzDemontaz;
    }
    if (maska & kPrzDodatBruttoRabat) {
        s.dodatBruttoRabat = Brutto(s.dodatNettoRabat, p.vatDodat);
        maska |= kPrzMontaz | kPrzDemontaz;
    }
    if (maska & kPrzMontaz)
        Montaz(&s.montNetto, &s.montBrutto, p.flagi & kMontazMaska, 1, 2, p.cenaMont, s.dlugoscRam, p.vatMont);
    if (maska & kPrzDemontaz)
        Montaz(&s.demontNetto, &s.demontBrutto, p.flagi & kDemontazMaska, 4, 8, p.cenaDemont, s.dlugoscRam,
               p.vatMont);
    s.zamNetto = Plus(Plus(s.oknaNettoRabat, s.dodatNettoRabat), Plus(s.montNetto, s.demontNetto));
    s.zamBrutto = Plus(Plus(s.oknaBruttoRabat, s.dodatBruttoRabat), Plus(s.montBrutto, s.demontBrutto));
    return s.zamBrutto;
}
