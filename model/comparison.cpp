// The order comparison and the accessory size. Portable: no <windows.h>.
#include "model/comparison.h"

#include <stdio.h>
#include <string.h>

#include "model/operations.h"
#include "util/kvutil.h"

namespace {

// Texts up to their terminators (or the field's width when there is none).
template <size_t N>
bool SameText(const char (&a)[N], const char (&b)[N]) {
    return strncmp(a, b, N) == 0;
}

bool SameSeller(const strDaneUzytk& a, const strDaneUzytk& b) {
    return SameText(a.nazwa, b.nazwa) && SameText(a.skrot, b.skrot) && SameText(a.adres, b.adres) &&
           SameText(a.infDodat, b.infDodat);
}

// Every field but the unused padding word.
bool SameValuation(const strWycenZamParam& a, const strWycenZamParam& b) {
    return a.rabat == b.rabat && a.cenaMont == b.cenaMont && a.cenaDemont == b.cenaDemont &&
           a.vatMont == b.vatMont && a.vatDodat == b.vatDodat && a.vatOkna == b.vatOkna && a.flagi == b.flagi;
}

bool SameOrderRow(const strZam& a, const strZam& b) {
    return a.kluczZam == b.kluczZam && a.idZam == b.idZam && a.rok == b.rok &&
           SameText(a.dodOznaczZam, b.dodOznaczZam) && a.idWalZam == b.idWalZam &&
           SameText(a.dataZam, b.dataZam) && SameText(a.dataReal, b.dataReal) &&
           SameText(a.nazwaNabyw, b.nazwaNabyw) && SameText(a.adresNabyw, b.adresNabyw) &&
           SameText(a.infDodatNabyw, b.infDodatNabyw) && a.waga == b.waga && SameText(a.uwagi, b.uwagi) &&
           a.status == b.status && SameSeller(a.sDaneUzytk, b.sDaneUzytk) &&
           SameValuation(a.sWycenZamParam, b.sWycenZamParam);
}

bool SameAccessory(const strDodatZam& a, const strDodatZam& b) {
    return a.kluczZam == b.kluczZam && a.iKolej == b.iKolej && SameText(a.nazwa, b.nazwa) &&
           a.ilWym == b.ilWym && SameText(a.jm, b.jm) && a.wymiar[0] == b.wymiar[0] &&
           a.wymiar[1] == b.wymiar[1] && a.wymiar[2] == b.wymiar[2] && a.ilosc == b.ilosc &&
           a.cenaZReki == b.cenaZReki;
}

bool SameUw(const strWspUw& a, const strWspUw& b) {
    return a.ufRama == b.ufRama && a.ufRamaSkrz == b.ufRamaSkrz && a.ufSlupekStaly == b.ufSlupekStaly &&
           a.ufSlupekRuch == b.ufSlupekRuch && a.ugSzyba == b.ugSzyba && a.psiSzyba == b.psiSzyba &&
           a.ugAkryl == b.ugAkryl && a.psiAkryl == b.psiAkryl;
}

// The defining part of an operation; a filling's name counts up to its
// terminator.
bool SameOperation(const uniOperRys& a, const uniOperRys& b) {
    if (a.typ != b.typ) return false;
    if (a.typ == kOpFilling) {
        return a.wypeln.typWypeln == b.wypeln.typWypeln && SameText(a.wypeln.nazwa, b.wypeln.nazwa) &&
               memcmp(a.wypeln.ogr, b.wypeln.ogr, sizeof a.wypeln.ogr) == 0;
    }
    const int32_t n = DefinitionLength(a.typ);
    return n > 0 && memcmp(a.rawBytes, b.rawBytes, (size_t)n) == 0;
}

bool SameWindow(const strOkno& a, const strOkno& b) {
    if (!(a.kluczOkno == b.kluczOkno && a.kluczZam == b.kluczZam && a.iProfSch == b.iProfSch &&
          a.iOkucie == b.iOkucie && a.iKolor == b.iKolor && a.iListwa == b.iListwa &&
          a.iSzpros == b.iSzpros && SameText(a.nazProfil, b.nazProfil) &&
          SameText(a.nazOkucie, b.nazOkucie) && SameText(a.nazKolor, b.nazKolor) &&
          SameText(a.nazListwa, b.nazListwa) && SameText(a.nazSzpros, b.nazSzpros) &&
          memcmp(&a.sGrubProf, &b.sGrubProf, sizeof a.sGrubProf) == 0 && a.grubSzpros == b.grubSzpros &&
          a.ilOkien == b.ilOkien && a.cenaZReki == b.cenaZReki && SameUw(a.sWspUw, b.sWspUw) &&
          a.uwZReki == b.uwZReki && SameText(a.uwagi, b.uwagi) && a.status == b.status &&
          a.liczbaOper == b.liczbaOper)) {
        return false;
    }
    if (a.liczbaOper > 0 && (!a.oper || !b.oper)) return a.oper == b.oper;
    for (int32_t i = 0; i < a.liczbaOper; i++) {
        if (!SameOperation(a.oper[i], b.oper[i])) return false;
    }
    return true;
}

}  // namespace

int OrderUnchanged(const strZamRob* a, const strZamRob* b) {
    const strZam& x = a->zam;
    const strZam& y = b->zam;
    if (x.liczbaOkien != y.liczbaOkien || x.liczbaDodat != y.liczbaDodat) return 0;
    if (!SameOrderRow(x, y)) return 0;
    for (int32_t i = 0; i < x.liczbaDodat; i++) {
        if (!SameAccessory(x.dodatki[i], y.dodatki[i])) return 0;
    }
    for (int32_t i = 0; i < x.liczbaOkien; i++) {
        if (!SameWindow(x.okna[i], y.okna[i])) return 0;
    }
    return 1;
}

int ComputeAccessorySize(const strDodatZam* d, int64_t* size) {
    // The product of three dimensions needs up to 189 bits: it is formed in
    // 128 bits with the division taken between the factors, exactly.
    typedef __int128 Wide;
    const int64_t* m = d->wymiar;
    Wide value;
    switch (d->ilWym) {
        case 0: value = 0; break;
        case 1: value = m[0]; break;
        case 2: {
            Wide p = (Wide)m[0] * m[1];  // at most 2^126
            Wide q = p / 10000, r = p % 10000;
            if (r >= 5000) q++;
            else if (r <= -5000) q--;
            value = q;
            break;
        }
        case 3: {
            // (a * b * c) / 10^8 rounded half up: a * b exactly, then split it
            // so that the third factor never meets more than 64 + 64 bits.
            const Wide p = (Wide)m[0] * m[1];
            const Wide limit = (Wide)INT64_MAX * 100000000 + 100000000;
            const int64_t c = m[2];
            if (c == 0 || p == 0) {
                value = 0;
                break;
            }
            const Wide ac = c < 0 ? -(Wide)c : (Wide)c;
            const Wide ap = p < 0 ? -p : p;
            if (ap > limit / ac) return 0;  // beyond any 64-bit result
            const Wide full = ap * ac;      // < 2^127
            Wide q = full / 100000000, r = full % 100000000;
            if (r >= 50000000) q++;
            value = ((p < 0) != (c < 0)) ? -q : q;
            break;
        }
        default: return 0;
    }
    if (value > INT64_MAX || value < -INT64_MAX) return 0;
    *size = (int64_t)value;
    return 1;
}

void AccessorySizeText(const strDodatZam* d, char* out, int cap) {
    if (cap <= 0) return;
    out[0] = 0;
    int64_t size = 0;
    if (d->ilWym < 1 || !ComputeAccessorySize(d, &size)) return;
    char text[KV_AMOUNT_LEN + 8];
    DajNapKursWalZl(size, text);
    DopasujCzDzies(text, 4, "0123");
    char unit[sizeof d->jm + 1] = "";
    memcpy(unit, d->jm, sizeof d->jm);
    snprintf(out, (size_t)cap, "%s %s", text, unit);
}
