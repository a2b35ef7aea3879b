// Composing an order's pages: the page machinery (new page, heading, footer,
// page numbers), the text routines, the dates and parties and the notes.
// The three tables are in printout/printout_tables_win.cpp.
#include <stdio.h>
#include <string.h>

#include "db/names.h"
#include "pagora/pagora.h"
#include "printout/compose_win.h"
#include "util/amounttext.h"
#include "util/heap.h"
#include "util/kvutil.h"
#include "util/msgbuf.h"
#include "valuation/valuation.h"

const char kAdresProducenta[] = "www.quarvel.example/en";

// ---- Text -------------------------------------------------------------------

int32_t WysLinii(HDC dc) {
    TEXTMETRICA tm;
    return GetTextMetricsA(dc, &tm) ? tm.tmHeight : 16;
}

int32_t SzerTekstu(HDC dc, const char* t, int n) {
    SIZE sz = {0, 0};
    if (n > 0) GetTextExtentPoint32A(dc, t, n, &sz);
    return sz.cx;
}

void Pisz(HDC dc, int32_t x, int32_t y, const char* t, int n) {
    if (n > 0) ExtTextOutA(dc, x, y, 0, nullptr, t, (UINT)n, nullptr);
}

// How many characters of t[0..n) fit in `szer` pixels.
static int Mieszczace(HDC dc, const char* t, int n, int32_t szer) {
    INT fit = 0;
    SIZE sz;
    if (n <= 0 || szer <= 0) return 0;
    if (!GetTextExtentExPointA(dc, t, n, szer, &fit, nullptr, &sz)) return n;
    return fit < 0 ? 0 : fit > n ? n : fit;
}

void PiszWKomorce(HDC dc, int32_t l, int32_t r, int32_t y, const char* t, Wyrownanie w) {
    const int32_t szer = r - l + 1;
    int n = (int)strlen(t);
    int32_t cx = SzerTekstu(dc, t, n);
    if (cx > szer) {  // a text wider than its cell stops at the cell's edge
        n = Mieszczace(dc, t, n, szer);
        cx = SzerTekstu(dc, t, n);
    }
    int32_t x = l;
    if (w == kDoSrodka) x = l + (szer - cx) / 2;
    if (w == kDoPrawej) x = r + 1 - cx;
    Pisz(dc, x, y, t, n);
}

void PiszWPasie(HDC dc, int32_t l, int32_t r, int32_t gora, int32_t dol, const char* t, Wyrownanie w) {
    PiszWKomorce(dc, l, r, gora + (dol - gora - WysLinii(dc)) / 2, t, w);
}

const char* NastepnaLinia(HDC dc, const char* t, int32_t szer, const char** start, int* dl) {
    if (!t || !*t) return nullptr;
    int n = 0;
    while (t[n] && t[n] != '\r' && t[n] != '\n') n++;
    *start = t;
    if (SzerTekstu(dc, t, n) <= szer) {
        *dl = n;
        const char* p = t + n;
        if (*p == '\r') p++;
        if (*p == '\n') p++;
        return p;
    }
    int fit = Mieszczace(dc, t, n, szer);
    int brk = fit;
    while (brk > 0 && t[brk] != ' ' && t[brk] != '\t') brk--;
    if (brk == 0) {  // one word wider than the line: cut it
        *dl = fit > 0 ? fit : 1;
        return t + *dl;
    }
    int koniec = brk;
    while (koniec > 0 && (t[koniec - 1] == ' ' || t[koniec - 1] == '\t')) koniec--;
    *dl = koniec;
    const char* p = t + brk;
    while (*p == ' ' || *p == '\t') p++;
    return p;
}

int32_t LiczLinie(HDC dc, const char* t, int32_t szer) {
    int32_t n = 0;
    const char* s;
    int dl;
    for (const char* p = NastepnaLinia(dc, t, szer, &s, &dl); p; p = NastepnaLinia(dc, p, szer, &s, &dl)) n++;
    return n;
}

void Pozioma(HDC dc, int32_t x1, int32_t x2, int32_t y) {
    MoveToEx(dc, x1, y, nullptr);
    LineTo(dc, x2 + 1, y);
}

void Pionowa(HDC dc, int32_t x, int32_t y1, int32_t y2) {
    MoveToEx(dc, x, y1, nullptr);
    LineTo(dc, x, y2 + 1);
}

void Kwota(int64_t kwota, char* tekst, int rozmiar) {
    if (!DajNapKwotaPokaz(kwota, tekst, rozmiar)) LLX100NaNap(kwota, tekst);
}

// ---- Pages --------------------------------------------------------------------

namespace {

void Naglowek(Sklad& s) {
    HDC dc = s.dc;
    ScopedSelect f(dc, s.duzy);
    const int32_t h = WysLinii(dc);
    PiszWKomorce(dc, 0, kStronaSzer - 1, s.gora, s.naglowek, kDoLewej);
    PiszWKomorce(dc, 0, kStronaSzer - 1, s.gora, s.status, kDoSrodka);
    ScopedSelect p(dc, GetStockObject(BLACK_PEN));
    s.naglowekDol = s.gora + h + 2;
    Pozioma(dc, 0, kStronaSzer - 1, s.naglowekDol);
    s.y = s.naglowekDol;
}

void Stopka(Sklad& s) {
    HDC dc = s.dc;
    ScopedSelect f(dc, s.maly);
    ScopedSelect p(dc, GetStockObject(BLACK_PEN));
    const int32_t y = kStronaWys - s.stopka;
    Pozioma(dc, 0, kStronaSzer - 1, y);
    char t[160];
    snprintf(t, sizeof t, "Date of printing: %s", s.dataDruku);
    PiszWKomorce(dc, 0, kStronaSzer - 1, y + 2, t, kDoLewej);
    snprintf(t, sizeof t, "A printout was made with Quarvel program.  Details on %s", kAdresProducenta);
    PiszWKomorce(dc, 0, kStronaSzer - 1, y + 2 + 2 * WysLinii(dc), t, kDoSrodka);
}

// A page's units are 1/96 inch whatever the display: a page metafile is
// recorded against the display, so on one of another dpi the units are
// mapped onto its pixels. At 96 dpi they are its pixels and nothing is set.
void JednostkiStrony(HDC dc) {
    const int dx = GetDeviceCaps(dc, LOGPIXELSX), dy = GetDeviceCaps(dc, LOGPIXELSY);
    if ((dx == 96 && dy == 96) || dx <= 0 || dy <= 0) return;
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, kStronaSzer, kStronaWys, nullptr);
    SetViewportExtEx(dc, MulDiv(kStronaSzer, dx, 96), MulDiv(kStronaWys, dy, 96), nullptr);
}

// A new slot and an open metafile for the next page.
bool OtworzStrone(Sklad& s) {
    HENHMETAFILE* nowe =
        (HENHMETAFILE*)KvRealloc(s.strony.strony, sizeof(HENHMETAFILE) * (s.strony.liczba + 1));
    if (!nowe) {
        KvMsg(s.msg, "Error of allocation of HENHMETAFILE");
        return false;
    }
    s.strony.strony = nowe;
    nowe[s.strony.liczba] = nullptr;
    s.dc = CreateEnhMetaFileA(nullptr, nullptr, &s.ramka, nullptr);
    if (!s.dc) {
        KvMsg(s.msg, "Error of allocation of HENHMETAFILE");
        return false;
    }
    s.strony.liczba++;
    JednostkiStrony(s.dc);
    SetBkMode(s.dc, TRANSPARENT);
    SetTextAlign(s.dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    return true;
}

bool ZamknijStrone(Sklad& s) {
    Stopka(s);
    HENHMETAFILE h = CloseEnhMetaFile(s.dc);
    s.dc = nullptr;
    if (!h) {
        KvMsg(s.msg, "Error of allocation of HENHMETAFILE");
        return false;
    }
    s.strony.strony[s.strony.liczba - 1] = h;
    return true;
}

bool NowaStrona(Sklad& s) {
    if (!ZamknijStrone(s) || !OtworzStrone(s)) return false;
    Naglowek(s);
    s.y += 14;
    return true;
}

// The page being drawn is closed and thrown away, and every page with it.
void Porzuc(Sklad& s) {
    if (s.dc) DeleteEnhMetaFile(CloseEnhMetaFile(s.dc));
    s.dc = nullptr;
    ZwolnijStronyWydruku(&s.strony);
}

// Lines of `t` from x 0 across the page at s.y, a page turned where the next
// line does not fit.
bool PiszBlok(Sklad& s, HFONT font, const char* t, const char* co) {
    // A line may turn the page, and a page's DC ends with its page: the font
    // is selected for each step on the DC of the moment.
    int32_t h;
    {
        ScopedSelect f(s.dc, font);
        h = WysLinii(s.dc);
    }
    const char* p = t;
    for (;;) {
        const char* start;
        int dl;
        {
            ScopedSelect f(s.dc, font);
            p = NastepnaLinia(s.dc, p, kStronaSzer, &start, &dl);
        }
        if (!p) return true;
        bool nowa;
        if (!Miejsce(s, h, co, &nowa)) return false;
        ScopedSelect f(s.dc, font);
        Pisz(s.dc, 0, s.y, start, dl);
        s.y += h;
    }
}

bool DatyIStrony(Sklad& s) {
    const strZam& o = s.z->zam;
    bool nowa;
    if (!Miejsce(s, 10 + s.wiersz, "the dates of the order", &nowa)) return false;
    HDC dc = s.dc;
    const int32_t y = s.y + 10;
    char data[64];
    int32_t dol;
    {
        ScopedSelect f(dc, s.gruby);
        const char* etykieta = "Date of order: ";
        const int32_t x = SzerTekstu(dc, etykieta, (int)strlen(etykieta));
        Pisz(dc, 0, y, etykieta, (int)strlen(etykieta));
        dol = y + WysLinii(dc);
        DajFormatData(o.dataReal, data, sizeof data);
        int32_t cx;
        {
            ScopedSelect normal(dc, s.normal);
            cx = SzerTekstu(dc, data, (int)strlen(data));
            PiszWKomorce(dc, 0, kStronaSzer - 1, y, data, kDoPrawej);
        }
        PiszWKomorce(dc, 0, kStronaSzer - 1 - cx, y, "Date of fulfilment: ", kDoPrawej);
        ScopedSelect normal(dc, s.normal);
        DajFormatData(o.dataZam, data, sizeof data);
        Pisz(dc, x, y, data, (int)strlen(data));
        if (y + WysLinii(dc) > dol) dol = y + WysLinii(dc);
    }
    s.y = dol;

    // The seller's data comes from a stored block whose texts need not end
    // inside their fields: each is read through a terminated copy.
    char sprzedawca[3][sizeof o.sDaneUzytk.nazwa + 1];
    const char* pola[3] = {o.sDaneUzytk.nazwa, o.sDaneUzytk.adres, o.sDaneUzytk.infDodat};
    static_assert(sizeof o.sDaneUzytk.adres == sizeof o.sDaneUzytk.nazwa &&
                      sizeof o.sDaneUzytk.infDodat == sizeof o.sDaneUzytk.nazwa,
                  "the seller's three texts are as wide");
    for (int i = 0; i < 3; i++) {
        memcpy(sprzedawca[i], pola[i], sizeof o.sDaneUzytk.nazwa);
        sprzedawca[i][sizeof o.sDaneUzytk.nazwa] = 0;
    }
    // The seller, then the buyer: each text a block of its own, 2 below the last.
    struct Blok {
        HFONT font;
        const char* tekst;
        bool nowaCzesc;
    } const bloki[] = {
        {s.gruby, sprzedawca[0], true}, {s.normal, sprzedawca[1], false}, {s.normal, sprzedawca[2], false},
        {s.gruby, o.nazwaNabyw, true},  {s.normal, o.adresNabyw, false},  {s.normal, o.infDodatNabyw, false},
    };
    // A party starts 14 below what came before even when its first text is
    // empty: the gap belongs to the party, not to its name.
    int32_t odstep = 14;
    for (size_t i = 0; i < sizeof bloki / sizeof bloki[0]; i++) {
        if (i >= 3 && !o.nazwaNabyw[0]) break;
        if (bloki[i].nowaCzesc) odstep = 14;
        if (!bloki[i].tekst[0]) continue;
        s.y += odstep;
        odstep = 2;
        if (!PiszBlok(s, bloki[i].font, bloki[i].tekst, "the seller's and the buyer's data")) return false;
    }
    return true;
}

bool Uwagi(Sklad& s) {
    const char* uwagi = s.z->zam.uwagi;
    s.y += 18;
    int32_t h;
    int32_t linie;
    {
        ScopedSelect f(s.dc, s.normal);
        h = WysLinii(s.dc);
        linie = LiczLinie(s.dc, uwagi, kStronaSzer);
    }
    // The whole block moves to a new page when it does not fit here. Notes
    // taller than an empty page start on a page of their own and run on over
    // the next pages, line by line.
    const int32_t calosc = s.wiersz + linie * h + 2;
    const int32_t naPustej = KoniecStrony(s) - (s.naglowekDol + 14);
    int32_t potrzeba = calosc < naPustej ? calosc : naPustej;
    if (potrzeba < s.wiersz + h + 2) potrzeba = s.wiersz + h + 2;
    bool nowa;
    if (!Miejsce(s, potrzeba, "the notes", &nowa)) return false;
    {
        ScopedSelect f(s.dc, s.gruby);
        PiszWKomorce(s.dc, 0, kStronaSzer - 1, s.y + 2, "Notes:", kDoLewej);
    }
    s.y += s.wiersz + 2;
    return PiszBlok(s, s.normal, uwagi, "the notes");
}

// "Page: i/n" on every page: each page is played into a new metafile with
// the number written over it.
bool NumerujStrony(Sklad& s) {
    const int32_t n = s.strony.liczba;
    for (int32_t i = 0; i < n; i++) {
        HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &s.ramka, nullptr);
        if (!dc) {
            KvMsg(s.msg, "Error of allocation of HENHMETAFILE");
            return false;
        }
        JednostkiStrony(dc);
        const RECT cel = {0, 0, kStronaSzer - 1, kStronaWys};
        PlayEnhMetaFile(dc, s.strony.strony[i], &cel);
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        char t[48];
        snprintf(t, sizeof t, "Page: %u/%u", (unsigned)(i + 1), (unsigned)n);
        {
            ScopedSelect f(dc, s.maly);
            PiszWKomorce(dc, 0, kStronaSzer - 1, s.gora, t, kDoPrawej);
        }
        HENHMETAFILE h = CloseEnhMetaFile(dc);
        if (!h) {
            KvMsg(s.msg, "Error of allocation of HENHMETAFILE");
            return false;
        }
        DeleteEnhMetaFile(s.strony.strony[i]);
        s.strony.strony[i] = h;
    }
    return true;
}

// The system's character set: texts are stored in its ANSI code page, and a
// font of the Western set would show a Central European buyer's letters as
// the Western letters of the same bytes.
HFONT Arial(int wys, int waga) {
    return CreateFontA(-wys, 0, 0, 0, waga, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
}

// Footer height and row height, measured on the first page.
void Zmierz(Sklad& s) {
    {
        ScopedSelect f(s.dc, s.maly);
        s.stopka = 3 * WysLinii(s.dc) + 2;  // the date, an empty line, the maker's sentence
    }
    ScopedSelect f(s.dc, s.gruby);
    const char* wzor = "Ten napis nie ma znaczenia yyyYYY";
    SIZE sz = {0, 0};
    GetTextExtentPoint32A(s.dc, wzor, (int)strlen(wzor), &sz);
    s.wiersz = sz.cy + 4;
}

bool Komponuj(Sklad& s) {
    if (!OtworzStrone(s)) return false;
    Zmierz(s);
    Naglowek(s);
    if (!DatyIStrony(s)) return false;
    if (s.z->zam.liczbaOkien > 0 && !TabelaOkien(s)) return false;
    if (s.z->zam.liczbaDodat > 0 && !TabelaDodatkow(s)) return false;
    if (!TabelaSum(s)) return false;
    if (s.z->zam.uwagi[0] && !Uwagi(s)) return false;
    if (!ZamknijStrone(s)) return false;
    return NumerujStrony(s);
}

}  // namespace

bool Miejsce(Sklad& s, int32_t potrzeba, const char* co, bool* nowa) {
    *nowa = false;
    if (KoniecStrony(s) - s.y >= potrzeba) return true;
    if (KoniecStrony(s) - (s.naglowekDol + 14) < potrzeba) {
        KvMsg(s.msg,
              "There is no room for %s on a page below a printout heading of %d mm.\r\n"
              "Lower the heading height of the printout in the settings.",
              co, (int)s.wysNaglMm);
        return false;
    }
    *nowa = true;
    return NowaStrona(s);
}

RECT RamkaStronyWydruku(float mmPoziomo, float mmPionowo) {
    // The products stay in float: 25.4f * 800 is 20320 there, while the
    // same product widened to double first truncates to 20319.
    const float szer = mmPoziomo * 800.0f, wys = mmPionowo * 1000.0f;
    RECT r = {0, 0, (LONG)szer, (LONG)wys};
    return r;
}

void TekstNaglowkaZam(const strZam* zam, char* tekst, int rozmiar) {
    char symbol[sizeof zam->dodOznaczZam + 1] = "";
    memcpy(symbol, zam->dodOznaczZam, sizeof zam->dodOznaczZam);
    char numer[64];
    ComposeOrderNumber(*zam, kNumberUpperCased, numer, sizeof numer);
    if (symbol[0]) snprintf(tekst, (size_t)rozmiar, "%s (%s)", numer, symbol);
    else snprintf(tekst, (size_t)rozmiar, "%s", numer);
}

void ZwolnijStronyWydruku(strStronyWydruku* s) {
    for (int32_t i = 0; i < s->liczba; i++)
        if (s->strony[i]) DeleteEnhMetaFile(s->strony[i]);
    KvFree(s->strony);
    s->strony = nullptr;
    s->liczba = 0;
}

int ZlozWydrukZam(strZamRob* z, const DrawSet* ds, const strUstUzytk* ust, strStronyWydruku* wynik,
                  char* msg) {
    wynik->strony = nullptr;
    wynik->liczba = 0;
    if (z->zam.liczbaOkien <= 0 && z->zam.liczbaDodat <= 0) {
        KvMsg(msg, "The order is empty");
        return 0;
    }
    PrzeliczZam(z, kPrzWszystko);

    Sklad s;
    s.z = z;
    s.ds = ds;
    s.strony = {nullptr, 0};
    s.dc = nullptr;
    s.msg = msg;
    s.y = s.stopka = s.wiersz = s.naglowekDol = 0;
    const float mmPoziomo = MmForInch(nullptr, 1), mmPionowo = MmForInch(nullptr, 0);
    s.ramka = RamkaStronyWydruku(mmPoziomo, mmPionowo);
    // A heading below the page's top edge only; a height beyond what the
    // settings allow is refused by the first block that finds no room.
    s.wysNaglMm = ust->wysNaglDruk < 0 ? 0 : ust->wysNaglDruk;
    s.gora = (int32_t)(s.wysNaglMm * 960 * 0.91 / ((double)mmPionowo * 10));
    TekstNaglowkaZam(&z->zam, s.naglowek, sizeof s.naglowek);
    s.status = StatusName(ust, z->zam.status);
    char dzis[KV_DATA_LEN];
    DajFormatData(DajAktualData(dzis), s.dataDruku, sizeof s.dataDruku);
    s.normal.reset(Arial(14, FW_NORMAL));
    s.gruby.reset(Arial(14, FW_BOLD));
    s.maly.reset(Arial(10, FW_NORMAL));
    s.duzy.reset(Arial(18, FW_BOLD));
    if (!s.normal || !s.gruby || !s.maly || !s.duzy) {
        KvMsg(msg, "Error of creating the fonts of the printout");
        return 0;
    }
    if (!Komponuj(s)) {
        Porzuc(s);
        return 0;
    }
    *wynik = s.strony;
    return 1;
}
