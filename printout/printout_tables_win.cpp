// The three tables of the printout: windows (with their drawings and the
// summary box), accessories, and the totals with their VAT cells.
//
// Amounts in the windows and accessories tables are net: the unit price,
// the line (unit price x quantity) and the table's total. The totals table
// shows accessories, windows and their sum before the discount, the
// discount on a row of its own, then assembly and the order's totals.
#include <stdio.h>
#include <string.h>

#include "db/names.h"
#include "model/description.h"
#include "model/operations.h"
#include "model/window.h"
#include "printout/compose_win.h"
#include "render/drawing_win.h"
#include "util/kvutil.h"
#include "util/msgbuf.h"
#include "valuation/valuation.h"

namespace {

// Column lines of the two item tables.
const int32_t kKolumnyOkien[] = {0, 30, 250, 510, 596, 682, kStronaSzer - 1};
const int32_t kKolumnyDodatkow[] = {0, 30, 370, 510, 596, 682, kStronaSzer - 1};
const int32_t kKolumnSzt = 7;

// Cells between the column lines: text from 2 right of a line to 2 left of
// the next.
struct Komorka {
    int32_t l, r;
};
const Komorka kCenaK = {512, 594}, kIloscK = {598, 680}, kRazemK = {684, 765};

// Sums of the windows table, formed in 64 bits.
struct SumyOkien {
    int64_t sztuki;    // windows
    int64_t elementy;  // frames and sashes
    int64_t dlugosc;   // frame length, mm
    int64_t waga;      // hundredths of a kg
};

void Kolumny(HDC dc, const int32_t* x, int n, int32_t gora, int32_t dol) {
    for (int i = 0; i < n; i++) Pionowa(dc, x[i], gora, dol);
}

// A heading row over the whole width: box, column lines, texts in bold.
void WierszNaglowka(Sklad& s, const int32_t* kolumny, const char* const* teksty, const Wyrownanie* w) {
    HDC dc = s.dc;
    ScopedSelect p(dc, GetStockObject(BLACK_PEN));
    ScopedSelect f(dc, s.gruby);
    const int32_t dol = s.y + s.wiersz;
    Pozioma(dc, 0, kStronaSzer - 1, s.y);
    Pozioma(dc, 0, kStronaSzer - 1, dol);
    Kolumny(dc, kolumny, kKolumnSzt, s.y, dol);
    for (int i = 0; i + 1 < kKolumnSzt; i++)
        PiszWPasie(dc, kolumny[i] + 2, kolumny[i + 1] - 2, s.y, dol, teksty[i], w[i]);
    s.y = dol;
}

void NaglowekOkien(Sklad& s) {
    static const char* const t[] = {"No.", "Details", "Drawing", "Price", "Quantity", "Total"};
    static const Wyrownanie w[] = {kDoSrodka, kDoLewej, kDoLewej, kDoSrodka, kDoSrodka, kDoSrodka};
    WierszNaglowka(s, kKolumnyOkien, t, w);
}

void NaglowekDodatkow(Sklad& s) {
    static const char* const t[] = {"No.", "Name of accessory", "Size", "Price", "Quantity", "Total"};
    static const Wyrownanie w[] = {kDoSrodka, kDoLewej, kDoPrawej, kDoSrodka, kDoSrodka, kDoSrodka};
    WierszNaglowka(s, kKolumnyDodatkow, t, w);
}

// The window's description and notes, word-wrapped in its cell; lines
// that would run past the row are left out.
void OpisOkna(Sklad& s, int32_t k, int32_t gora, int32_t dol) {
    char opis[8192];
    if (!OpiszOkno(&s.z->zam, k, opis, sizeof opis)) opis[0] = 0;
    if (s.z->zam.okna[k].uwagi[0]) DodajUwagiOkna(&s.z->zam, k, opis, sizeof opis, -1);
    HDC dc = s.dc;
    const int32_t h = WysLinii(dc);
    const char* start;
    int dl;
    int32_t y = gora + 2;
    for (const char* p = NastepnaLinia(dc, opis, 248 - 32 + 1, &start, &dl); p && y + h <= dol - 2;
         p = NastepnaLinia(dc, p, 248 - 32 + 1, &start, &dl)) {
        Pisz(dc, 32, y, start, dl);
        y += h;
    }
}

// One window row: edges, columns, number, description, drawing, price,
// quantity and line total.
bool WierszOkna(Sklad& s, int32_t k) {
    HDC dc = s.dc;
    const strOkno& okno = s.z->zam.okna[k];
    const int32_t gora = s.y, dol = s.y + kWierszOkna;
    {
        ScopedSelect p(dc, GetStockObject(BLACK_PEN));
        Pozioma(dc, 0, kStronaSzer - 1, dol);
        Kolumny(dc, kKolumnyOkien, kKolumnSzt, gora, dol);
    }
    ScopedSelect f(dc, s.normal);
    char t[64];
    snprintf(t, sizeof t, "%u", (unsigned)(k + 1));
    PiszWKomorce(dc, 2, 28, gora + 2, t, kDoSrodka);
    OpisOkna(s, k, gora, dol);

    strOkno* kopia = nullptr;
    if (!KopiujOkno(&kopia, &okno, s.msg)) return false;
    const RECT cel = {252, gora + 2, 508, gora + 208};
    const int ok = RysujOknoWProst(dc, kopia, &cel, 40, s.ds, kStylWydruk, kWymWydruk, s.msg);
    ZwolnijOkno(kopia);
    if (!ok) return false;

    strLinia l;
    memset(&l, 0, sizeof l);
    LiniaOkna(&l, s.z, &okno, kLiniaJednNetto | kLiniaNetto | kLiniaJednBrutto | kLiniaBrutto);
    Kwota(l.jednNetto, t, sizeof t);
    PiszWPasie(dc, kCenaK.l, kCenaK.r, gora, dol, t, kDoSrodka);
    snprintf(t, sizeof t, "%d", (int)okno.ilOkien);
    PiszWPasie(dc, kIloscK.l, kIloscK.r, gora, dol, t, kDoSrodka);
    Kwota(l.liniaNetto, t, sizeof t);
    PiszWPasie(dc, kRazemK.l, kRazemK.r, gora, dol, t, kDoSrodka);
    s.y = dol;
    return true;
}

// "Total sum" on the right (510-767) and the box of perimeter, elements and
// weight on the left (0-300), side by side from the same top.
void PodsumowanieOkien(Sklad& s, const SumyOkien& su) {
    HDC dc = s.dc;
    const int32_t g = s.y, w = s.wiersz;
    {
        ScopedSelect p(dc, GetStockObject(BLACK_PEN));
        Pozioma(dc, 510, kStronaSzer - 1, g + w);
        const int32_t x[] = {510, 596, 682, kStronaSzer - 1};
        Kolumny(dc, x, 4, g, g + w);
        for (int i = 0; i <= 3; i++) Pozioma(dc, 0, 300, g + i * w);
        const int32_t xb[] = {0, 220, 300};
        Kolumny(dc, xb, 3, g, g + 3 * w);
    }
    {
        ScopedSelect bold(dc, s.gruby);
        PiszWPasie(dc, kCenaK.l, kCenaK.r, g, g + w, "Total sum", kDoPrawej);
        static const char* const etykiety[] = {"Perimeter in meters", "The number of elements",
                                               "Weight in kg"};
        for (int i = 0; i < 3; i++) PiszWPasie(dc, 2, 218, g + i * w, g + (i + 1) * w, etykiety[i], kDoLewej);
    }

    ScopedSelect f(dc, s.normal);
    char t[64];
    snprintf(t, sizeof t, "%llu", (unsigned long long)su.sztuki);
    PiszWPasie(dc, kIloscK.l, kIloscK.r, g, g + w, t, kDoSrodka);
    Kwota(s.z->sumy.oknaNetto, t, sizeof t);
    PiszWPasie(dc, kRazemK.l, kRazemK.r, g, g + w, t, kDoSrodka);

    // Metres with up to two decimals: the length in hundredths of a metre,
    // a remainder of 5 mm or more rounding up.
    char v[3][64];
    const int64_t cm = su.dlugosc / 10 + (su.dlugosc % 10 >= 5 ? 1 : 0);
    if (!DajNapKwotaZlSepTys(cm, v[0], sizeof v[0] - 4)) LLX100NaNap(cm, v[0]);
    DopasujCzDzies(v[0], 2, "0");
    snprintf(v[1], sizeof v[1], "%llu", (unsigned long long)su.elementy);
    LLX100NaNap(su.waga, v[2]);
    for (int i = 0; i < 3; i++) PiszWPasie(dc, 222, 298, g + i * w, g + (i + 1) * w, v[i], kDoPrawej);
    s.y = g + 3 * w;
}

// Size text of an accessory: each dimension trimmed to what it needs,
// joined by " x ", then the unit.
void RozmiarDodatku(const strDodatZam& d, char* t, size_t rozmiar) {
    t[0] = 0;
    if (d.ilWym <= 0) return;
    const int n = d.ilWym > 3 ? 3 : d.ilWym;
    size_t dl = 0;
    for (int i = 0; i < n; i++) {
        char w[KV_KWOTA_LEN + 8];
        LLX10000NaNap(d.wymiar[i], w);
        DopasujCzDzies(w, 4, "0123");
        dl += (size_t)snprintf(t + dl, rozmiar - dl, "%s%s", i ? " x " : "", w);
        if (dl >= rozmiar) return;
    }
    snprintf(t + dl, rozmiar - dl, " %s", d.jm);
}

void WierszDodatku(Sklad& s, int32_t k, const strLinia& l) {
    HDC dc = s.dc;
    const strDodatZam& d = s.z->zam.dodatki[k];
    const int32_t g = s.y, dol = s.y + s.wiersz;
    {
        ScopedSelect p(dc, GetStockObject(BLACK_PEN));
        Pozioma(dc, 0, kStronaSzer - 1, dol);
        Kolumny(dc, kKolumnyDodatkow, kKolumnSzt, g, dol);
    }
    ScopedSelect f(dc, s.normal);
    char t[192];
    snprintf(t, sizeof t, "%u", (unsigned)(k + 1));
    PiszWPasie(dc, 2, 28, g, dol, t, kDoSrodka);
    char nazwa[sizeof d.nazwa + 1] = "";
    memcpy(nazwa, d.nazwa, sizeof d.nazwa);
    PiszWPasie(dc, 32, 368, g, dol, nazwa, kDoLewej);
    RozmiarDodatku(d, t, sizeof t);
    PiszWPasie(dc, 372, 508, g, dol, t, kDoPrawej);
    Kwota(l.jednNetto, t, sizeof t);
    PiszWPasie(dc, kCenaK.l, kCenaK.r, g, dol, t, kDoSrodka);
    snprintf(t, sizeof t, "%u", (unsigned)d.ilosc);
    PiszWPasie(dc, kIloscK.l, kIloscK.r, g, dol, t, kDoSrodka);
    Kwota(l.liniaNetto, t, sizeof t);
    PiszWPasie(dc, kRazemK.l, kRazemK.r, g, dol, t, kDoSrodka);
    s.y = dol;
}

void SumaDodatkow(Sklad& s, int64_t sztuki) {
    HDC dc = s.dc;
    const int32_t g = s.y, dol = s.y + s.wiersz;
    {
        ScopedSelect p(dc, GetStockObject(BLACK_PEN));
        Pozioma(dc, 510, kStronaSzer - 1, dol);
        const int32_t x[] = {510, 596, 682, kStronaSzer - 1};
        Kolumny(dc, x, 4, g, dol);
    }
    {
        ScopedSelect bold(dc, s.gruby);
        PiszWPasie(dc, kCenaK.l, kCenaK.r, g, dol, "Total sum", kDoSrodka);
    }
    ScopedSelect f(dc, s.normal);
    char t[64];
    snprintf(t, sizeof t, "%llu", (unsigned long long)sztuki);
    PiszWPasie(dc, kIloscK.l, kIloscK.r, g, dol, t, kDoSrodka);
    Kwota(s.z->sumy.dodatNetto, t, sizeof t);
    PiszWPasie(dc, kRazemK.l, kRazemK.r, g, dol, t, kDoSrodka);
    s.y = dol;
}

// A VAT rate in hundredths of a percent: "23%", "8,5%".
void Stawka(int32_t stawka, char* t) {
    LLX100NaNap(stawka, t);
    DopasujCzDzies(t, 2, "01");
    strcat(t, "%");
}

}  // namespace

bool TabelaOkien(Sklad& s) {
    const strZam& zam = s.z->zam;
    SumyOkien su = {0, 0, 0, 0};
    bool naglowek = true;
    s.y += 14;
    for (int32_t k = 0; k < zam.liczbaOkien; k++) {
        const strOkno& o = zam.okna[k];
        const int64_t ilosc = o.ilOkien;
        int64_t elementy = 0, szer = 0, wys = 0;
        for (int32_t i = 0; i < o.liczbaOper; i++)
            if (o.oper[i].typ == kOperRama || o.oper[i].typ == kOperSkrzydlo) elementy++;
        if (o.liczbaOper > 0 && o.oper[0].typ == kOperRama) {
            szer = o.oper[0].rama.x1;
            wys = o.oper[0].rama.y1;
        }
        // mm2 x hundredths of kg per m2 / 1 000 000, half up. Sizes the
        // designer allows stay far inside 64 bits (999 windows of 10 x 10 m);
        // damaged ones wrap instead of overflowing.
        const uint64_t mm2 = (uint64_t)szer * (uint64_t)wys;
        const int64_t waga = (int64_t)((mm2 * (uint64_t)(int64_t)zam.waga + 500000u) / 1000000u);
        su.sztuki = (int64_t)((uint64_t)su.sztuki + (uint64_t)ilosc);
        su.elementy = (int64_t)((uint64_t)su.elementy + (uint64_t)elementy * (uint64_t)ilosc);
        su.dlugosc = (int64_t)((uint64_t)su.dlugosc + 2 * (uint64_t)(szer + wys) * (uint64_t)ilosc);
        su.waga = (int64_t)((uint64_t)su.waga + (uint64_t)waga * (uint64_t)ilosc);

        const bool ostatnie = k + 1 == zam.liczbaOkien;
        const int32_t potrzeba = kWierszOkna + (naglowek ? s.wiersz : 0) + (ostatnie ? 4 * s.wiersz : 0);
        bool nowa;
        // Room is reckoned with the heading row an empty page would need.
        const int32_t zNaglowkiem = kWierszOkna + s.wiersz + (ostatnie ? 4 * s.wiersz : 0);
        if (KoniecStrony(s) - s.y < potrzeba) {
            if (!Miejsce(s, zNaglowkiem, "a window of the order", &nowa)) return false;
            naglowek = true;
        }
        if (naglowek) NaglowekOkien(s);
        naglowek = false;
        if (!WierszOkna(s, k)) return false;
    }
    PodsumowanieOkien(s, su);
    return true;
}

bool TabelaDodatkow(Sklad& s) {
    const strZam& zam = s.z->zam;
    int64_t sztuki = 0;
    bool naglowek = true;
    s.y += 18;
    for (int32_t k = 0; k < zam.liczbaDodat; k++) {
        const strDodatZam& d = zam.dodatki[k];
        sztuki += d.ilosc;
        strLinia l;
        memset(&l, 0, sizeof l);
        LiniaDodatku(&l, s.z, &d, kLiniaJednNetto | kLiniaNetto);
        const bool ostatni = k + 1 == zam.liczbaDodat;
        const int32_t potrzeba = s.wiersz * (1 + (naglowek ? 1 : 0) + (ostatni ? 1 : 0));
        if (KoniecStrony(s) - s.y < potrzeba) {
            bool nowa;
            if (!Miejsce(s, s.wiersz * (2 + (ostatni ? 1 : 0)), "an accessory of the order", &nowa))
                return false;
            naglowek = true;
        }
        if (naglowek) NaglowekDodatkow(s);
        naglowek = false;
        WierszDodatku(s, k, l);
    }
    SumaDodatkow(s, sztuki);
    return true;
}

bool TabelaSum(Sklad& s) {
    const strSumyZam& su = s.z->sumy;
    const strWycenZamParam& p = s.z->zam.sWycenZamParam;
    s.y += 18;
    bool nowa;
    if (!Miejsce(s, 8 * s.wiersz, "the table of totals", &nowa)) return false;
    HDC dc = s.dc;
    const int32_t g = s.y, w = s.wiersz;
    {
        ScopedSelect pen(dc, GetStockObject(BLACK_PEN));
        Pozioma(dc, 424, kStronaSzer - 1, g);
        for (int i = 1; i <= 7; i++) Pozioma(dc, 0, kStronaSzer - 1, g + i * w);
        const int32_t x[] = {424, 510, 596, 682, kStronaSzer - 1};
        Kolumny(dc, x, 5, g, g + 7 * w);
        Pionowa(dc, 0, g + w, g + 7 * w);
    }
    const Komorka kolumny[] = {{426, 508}, kCenaK, kIloscK, kRazemK};
    ScopedSelect f(dc, s.gruby);
    static const char* const naglowki[] = {"Net", "VAT", "VAT - %", "Gross"};
    for (int c = 0; c < 4; c++) PiszWPasie(dc, kolumny[c].l, kolumny[c].r, g, g + w, naglowki[c], kDoSrodka);

    // Net, VAT, rate (hundredths of a percent) and gross of each row; a
    // VAT or gross of INT64_MIN and a row without a rate show "-".
    const int64_t brak = INT64_MIN;
    const int64_t montN = su.montNetto + su.demontNetto, montB = su.montBrutto + su.demontBrutto;
    const int64_t rabat = (su.oknaNetto - su.oknaNettoRabat) + (su.dodatNetto - su.dodatNettoRabat);
    char etykietaRabatu[48];
    snprintf(etykietaRabatu, sizeof etykietaRabatu, "Discount - %d%%", (int)p.rabat);
    struct Wiersz {
        const char* etykieta;
        int64_t netto, vat;
        bool maStawke;
        int32_t stawka;
        int64_t brutto;
    } const wiersze[] = {
        {"Accessories", su.dodatNetto, su.dodatBrutto - su.dodatNetto, true, p.vatDodat, su.dodatBrutto},
        {"Windows", su.oknaNetto, su.oknaBrutto - su.oknaNetto, true, p.vatOkna, su.oknaBrutto},
        {"Total sum", su.dodatNetto + su.oknaNetto,
         (su.dodatBrutto - su.dodatNetto) + (su.oknaBrutto - su.oknaNetto), false, 0,
         su.dodatBrutto + su.oknaBrutto},
        {etykietaRabatu, rabat, brak, false, 0, brak},
        {"Assembly / disassembly", montN, montB - montN, true, p.vatMont, montB},
        {"Total", su.zamNetto, su.zamBrutto - su.zamNetto, false, 0, su.zamBrutto},
    };
    for (int r = 0; r < 6; r++) {
        const Wiersz& x = wiersze[r];
        const int32_t gr = g + (r + 1) * w, dl = gr + w;
        {
            ScopedSelect bold(dc, s.gruby);
            PiszWPasie(dc, 2, 422, gr, dl, x.etykieta, kDoLewej);
        }
        ScopedSelect normal(dc, s.normal);
        char t[4][64];
        Kwota(x.netto, t[0], sizeof t[0]);
        if (x.vat == brak) strcpy(t[1], "-");
        else Kwota(x.vat, t[1], sizeof t[1]);
        if (!x.maStawke) strcpy(t[2], "-");
        else Stawka(x.stawka, t[2]);
        if (x.brutto == brak) strcpy(t[3], "-");
        else Kwota(x.brutto, t[3], sizeof t[3]);
        for (int c = 0; c < 4; c++) PiszWPasie(dc, kolumny[c].l, kolumny[c].r, gr, dl, t[c], kDoSrodka);
    }
    ScopedSelect normal(dc, s.normal);
    char t[64];
    snprintf(t, sizeof t, "* All amounts in %s", CurrencyCode(s.z->zam.idWalZam));
    PiszWKomorce(dc, 0, kStronaSzer - 1, g + 7 * w + 2, t, kDoPrawej);
    s.y = g + 7 * w;
    return true;
}
