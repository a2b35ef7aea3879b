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

const char kMakerAddress[] = "www.quarvel.example/en";

// ---- Text -------------------------------------------------------------------

int32_t LineHeight(HDC dc) {
    TEXTMETRICA tm;
    return GetTextMetricsA(dc, &tm) ? tm.tmHeight : 16;
}

int32_t TextWidth(HDC dc, const char* t, int n) {
    SIZE sz = {0, 0};
    if (n > 0) GetTextExtentPoint32A(dc, t, n, &sz);
    return sz.cx;
}

void WriteText(HDC dc, int32_t x, int32_t y, const char* t, int n) {
    if (n > 0) ExtTextOutA(dc, x, y, 0, nullptr, t, (UINT)n, nullptr);
}

// How many characters of t[0..n) fit in `szer` pixels.
static int FittingChars(HDC dc, const char* t, int n, int32_t szer) {
    INT fit = 0;
    SIZE sz;
    if (n <= 0 || szer <= 0) return 0;
    if (!GetTextExtentExPointA(dc, t, n, szer, &fit, nullptr, &sz)) return n;
    return fit < 0 ? 0 : fit > n ? n : fit;
}

void WriteInCell(HDC dc, int32_t l, int32_t r, int32_t y, const char* t, Alignment w) {
    const int32_t szer = r - l + 1;
    int n = (int)strlen(t);
    int32_t cx = TextWidth(dc, t, n);
    if (cx > szer) {  // a text wider than its cell stops at the cell's edge
        n = FittingChars(dc, t, n, szer);
        cx = TextWidth(dc, t, n);
    }
    int32_t x = l;
    if (w == kAlignCentre) x = l + (szer - cx) / 2;
    if (w == kAlignRight) x = r + 1 - cx;
    WriteText(dc, x, y, t, n);
}

void WriteInBand(HDC dc, int32_t l, int32_t r, int32_t gora, int32_t dol, const char* t, Alignment w) {
    WriteInCell(dc, l, r, gora + (dol - gora - LineHeight(dc)) / 2, t, w);
}

const char* NextLine(HDC dc, const char* t, int32_t szer, const char** start, int* dl) {
    if (!t || !*t) return nullptr;
    int n = 0;
    while (t[n] && t[n] != '\r' && t[n] != '\n') n++;
    *start = t;
    if (TextWidth(dc, t, n) <= szer) {
        *dl = n;
        const char* p = t + n;
        if (*p == '\r') p++;
        if (*p == '\n') p++;
        return p;
    }
    int fit = FittingChars(dc, t, n, szer);
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

int32_t CountLines(HDC dc, const char* t, int32_t szer) {
    int32_t n = 0;
    const char* s;
    int dl;
    for (const char* p = NextLine(dc, t, szer, &s, &dl); p; p = NextLine(dc, p, szer, &s, &dl)) n++;
    return n;
}

void HorizontalLine(HDC dc, int32_t x1, int32_t x2, int32_t y) {
    MoveToEx(dc, x1, y, nullptr);
    LineTo(dc, x2 + 1, y);
}

void VerticalLine(HDC dc, int32_t x, int32_t y1, int32_t y2) {
    MoveToEx(dc, x, y1, nullptr);
    LineTo(dc, x, y2 + 1);
}

void FormatAmount(int64_t kwota, char* tekst, int rozmiar) {
    if (!AmountDisplayText(kwota, tekst, rozmiar)) LLX100NaNap(kwota, tekst);
}

// ---- Pages --------------------------------------------------------------------

namespace {

void PageHeading(Composition& s) {
    HDC dc = s.dc;
    ScopedSelect f(dc, s.fontLarge);
    const int32_t h = LineHeight(dc);
    WriteInCell(dc, 0, kPageWidthPx - 1, s.headingTop, s.headingText, kAlignLeft);
    WriteInCell(dc, 0, kPageWidthPx - 1, s.headingTop, s.status, kAlignCentre);
    ScopedSelect p(dc, GetStockObject(BLACK_PEN));
    s.headingBottom = s.headingTop + h + 2;
    HorizontalLine(dc, 0, kPageWidthPx - 1, s.headingBottom);
    s.y = s.headingBottom;
}

void PageFooter(Composition& s) {
    HDC dc = s.dc;
    ScopedSelect f(dc, s.fontSmall);
    ScopedSelect p(dc, GetStockObject(BLACK_PEN));
    const int32_t y = kPageHeightPx - s.footerHeight;
    HorizontalLine(dc, 0, kPageWidthPx - 1, y);
    char t[160];
    snprintf(t, sizeof t, "Date of printing: %s", s.printDate);
    WriteInCell(dc, 0, kPageWidthPx - 1, y + 2, t, kAlignLeft);
    snprintf(t, sizeof t, "A printout was made with Quarvel program.  Details on %s", kMakerAddress);
    WriteInCell(dc, 0, kPageWidthPx - 1, y + 2 + 2 * LineHeight(dc), t, kAlignCentre);
}

// A page's units are 1/96 inch whatever the display: a page metafile is
// recorded against the display, so on one of another dpi the units are
// mapped onto its pixels. At 96 dpi they are its pixels and nothing is set.
void SetPageUnits(HDC dc) {
    const int dx = GetDeviceCaps(dc, LOGPIXELSX), dy = GetDeviceCaps(dc, LOGPIXELSY);
    if ((dx == 96 && dy == 96) || dx <= 0 || dy <= 0) return;
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, kPageWidthPx, kPageHeightPx, nullptr);
    SetViewportExtEx(dc, MulDiv(kPageWidthPx, dx, 96), MulDiv(kPageHeightPx, dy, 96), nullptr);
}

// An open metafile of `frame` in the page's units, text transparent and
// aligned top left: every page starts so.
HDC OpenPageMetafile(const RECT& frame) {
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    if (!dc) return nullptr;
    SetPageUnits(dc);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    return dc;
}

// A new slot and an open metafile for the next page.
bool OpenPage(Composition& s) {
    HENHMETAFILE* nowe =
        (HENHMETAFILE*)KvRealloc(s.closedPages.pageFiles, sizeof(HENHMETAFILE) * (s.closedPages.itemCount + 1));
    if (!nowe) {
        KvMsg(s.msg, "Error of allocation of HENHMETAFILE");
        return false;
    }
    s.closedPages.pageFiles = nowe;
    nowe[s.closedPages.itemCount] = nullptr;
    s.dc = OpenPageMetafile(s.pageFrame);
    if (!s.dc) {
        KvMsg(s.msg, "Error of allocation of HENHMETAFILE");
        return false;
    }
    s.closedPages.itemCount++;
    return true;
}

bool ClosePage(Composition& s) {
    PageFooter(s);
    HENHMETAFILE h = CloseEnhMetaFile(s.dc);
    s.dc = nullptr;
    if (!h) {
        KvMsg(s.msg, "Error of allocation of HENHMETAFILE");
        return false;
    }
    s.closedPages.pageFiles[s.closedPages.itemCount - 1] = h;
    return true;
}

bool NewPage(Composition& s) {
    if (!ClosePage(s) || !OpenPage(s)) return false;
    PageHeading(s);
    s.y += 14;
    return true;
}

// The page being drawn is closed and thrown away, and every page with it.
void AbandonPages(Composition& s) {
    if (s.dc) DeleteEnhMetaFile(CloseEnhMetaFile(s.dc));
    s.dc = nullptr;
    FreePrintoutPages(&s.closedPages);
}

// Lines of `t` from x 0 across the page at s.y, a page turned where the next
// line does not fit.
bool WriteBlock(Composition& s, HFONT font, const char* t, const char* co) {
    // A line may turn the page, and a page's DC ends with its page: the font
    // is selected for each step on the DC of the moment.
    int32_t h;
    {
        ScopedSelect f(s.dc, font);
        h = LineHeight(s.dc);
    }
    const char* p = t;
    for (;;) {
        const char* start;
        int dl;
        {
            ScopedSelect f(s.dc, font);
            p = NextLine(s.dc, p, kPageWidthPx, &start, &dl);
        }
        if (!p) return true;
        bool nowa;
        if (!EnsureRoom(s, h, co, &nowa)) return false;
        ScopedSelect f(s.dc, font);
        WriteText(s.dc, 0, s.y, start, dl);
        s.y += h;
    }
}

bool DatesAndContacts(Composition& s) {
    const strZam& o = s.z->zam;
    bool nowa;
    if (!EnsureRoom(s, 10 + s.rowHeight, "the dates of the order", &nowa)) return false;
    HDC dc = s.dc;
    const int32_t y = s.y + 10;
    char data[64];
    int32_t dol;
    {
        ScopedSelect f(dc, s.fontBold);
        const char* etykieta = "Date of order: ";
        const int32_t x = TextWidth(dc, etykieta, (int)strlen(etykieta));
        WriteText(dc, 0, y, etykieta, (int)strlen(etykieta));
        dol = y + LineHeight(dc);
        DajFormatData(o.dataReal, data, sizeof data);
        int32_t cx;
        {
            ScopedSelect normal(dc, s.normal);
            cx = TextWidth(dc, data, (int)strlen(data));
            WriteInCell(dc, 0, kPageWidthPx - 1, y, data, kAlignRight);
        }
        WriteInCell(dc, 0, kPageWidthPx - 1 - cx, y, "Date of fulfilment: ", kAlignRight);
        ScopedSelect normal(dc, s.normal);
        DajFormatData(o.dataZam, data, sizeof data);
        WriteText(dc, x, y, data, (int)strlen(data));
        if (y + LineHeight(dc) > dol) dol = y + LineHeight(dc);
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
    struct ContactBlock {
        HFONT font;
        const char* blockText;
        bool newGroup;
    } const bloki[] = {
        {s.fontBold, sprzedawca[0], true}, {s.normal, sprzedawca[1], false}, {s.normal, sprzedawca[2], false},
        {s.fontBold, o.nazwaNabyw, true},  {s.normal, o.adresNabyw, false},  {s.normal, o.infDodatNabyw, false},
    };
    // A party starts 14 below what came before even when its first text is
    // empty: the gap belongs to the party, not to its name.
    int32_t odstep = 14;
    for (size_t i = 0; i < sizeof bloki / sizeof bloki[0]; i++) {
        if (i >= 3 && !o.nazwaNabyw[0]) break;
        if (bloki[i].newGroup) odstep = 14;
        if (!bloki[i].blockText[0]) continue;
        s.y += odstep;
        odstep = 2;
        if (!WriteBlock(s, bloki[i].font, bloki[i].blockText, "the seller's and the buyer's data")) return false;
    }
    return true;
}

bool NotesBlock(Composition& s) {
    const char* uwagi = s.z->zam.uwagi;
    s.y += 18;
    int32_t h;
    int32_t linie;
    {
        ScopedSelect f(s.dc, s.normal);
        h = LineHeight(s.dc);
        linie = CountLines(s.dc, uwagi, kPageWidthPx);
    }
    // The whole block moves to a new page when it does not fit here. Notes
    // taller than an empty page start on a page of their own and run on over
    // the next pages, line by line.
    const int32_t calosc = s.rowHeight + linie * h + 2;
    const int32_t naPustej = PageBodyEnd(s) - (s.headingBottom + 14);
    int32_t potrzeba = calosc < naPustej ? calosc : naPustej;
    if (potrzeba < s.rowHeight + h + 2) potrzeba = s.rowHeight + h + 2;
    bool nowa;
    if (!EnsureRoom(s, potrzeba, "the notes", &nowa)) return false;
    {
        ScopedSelect f(s.dc, s.fontBold);
        WriteInCell(s.dc, 0, kPageWidthPx - 1, s.y + 2, "Notes:", kAlignLeft);
    }
    s.y += s.rowHeight + 2;
    return WriteBlock(s, s.normal, uwagi, "the notes");
}

// "Page: i/n" on every page: each page is played into a new metafile with
// the number written over it.
bool NumberPages(Composition& s) {
    const int32_t n = s.closedPages.itemCount;
    for (int32_t i = 0; i < n; i++) {
        HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &s.pageFrame, nullptr);
        if (!dc) {
            KvMsg(s.msg, "Error of allocation of HENHMETAFILE");
            return false;
        }
        SetPageUnits(dc);
        const RECT cel = {0, 0, kPageWidthPx - 1, kPageHeightPx};
        PlayEnhMetaFile(dc, s.closedPages.pageFiles[i], &cel);
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        char t[48];
        snprintf(t, sizeof t, "Page: %u/%u", (unsigned)(i + 1), (unsigned)n);
        {
            ScopedSelect f(dc, s.fontSmall);
            WriteInCell(dc, 0, kPageWidthPx - 1, s.headingTop, t, kAlignRight);
        }
        HENHMETAFILE h = CloseEnhMetaFile(dc);
        if (!h) {
            KvMsg(s.msg, "Error of allocation of HENHMETAFILE");
            return false;
        }
        DeleteEnhMetaFile(s.closedPages.pageFiles[i]);
        s.closedPages.pageFiles[i] = h;
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
void Measure(Composition& s) {
    {
        ScopedSelect f(s.dc, s.fontSmall);
        s.footerHeight = 3 * LineHeight(s.dc) + 2;  // the date, an empty line, the maker's sentence
    }
    ScopedSelect f(s.dc, s.fontBold);
    const char* wzor = "Ten napis nie ma znaczenia yyyYYY";
    SIZE sz = {0, 0};
    GetTextExtentPoint32A(s.dc, wzor, (int)strlen(wzor), &sz);
    s.rowHeight = sz.cy + 4;
}

bool ComposePages(Composition& s) {
    if (!OpenPage(s)) return false;
    Measure(s);
    PageHeading(s);
    if (!DatesAndContacts(s)) return false;
    if (s.z->zam.liczbaOkien > 0 && !WindowsTable(s)) return false;
    if (s.z->zam.liczbaDodat > 0 && !AccessoriesTable(s)) return false;
    if (!TotalsTable(s)) return false;
    if (s.z->zam.uwagi[0] && !NotesBlock(s)) return false;
    if (!ClosePage(s)) return false;
    return NumberPages(s);
}

}  // namespace

bool EnsureRoom(Composition& s, int32_t potrzeba, const char* co, bool* nowa) {
    *nowa = false;
    if (PageBodyEnd(s) - s.y >= potrzeba) return true;
    if (PageBodyEnd(s) - (s.headingBottom + 14) < potrzeba) {
        KvMsg(s.msg,
              "There is no room for %s on a page below a printout heading of %d mm.\r\n"
              "Lower the heading height of the printout in the settings.",
              co, (int)s.headingHeightMm);
        return false;
    }
    *nowa = true;
    return NewPage(s);
}

RECT PrintoutPageFrame(float mmPoziomo, float mmPionowo) {
    // The products stay in float: 25.4f * 800 is 20320 there, while the
    // same product widened to double first truncates to 20319.
    const float szer = mmPoziomo * 800.0f, wys = mmPionowo * 1000.0f;
    RECT r = {0, 0, (LONG)szer, (LONG)wys};
    return r;
}

void OrderHeadingText(const strZam* zam, char* tekst, int rozmiar) {
    char symbol[sizeof zam->dodOznaczZam + 1] = "";
    memcpy(symbol, zam->dodOznaczZam, sizeof zam->dodOznaczZam);
    char numer[64];
    ComposeOrderNumber(*zam, kNumberUpperCased, numer, sizeof numer);
    if (symbol[0]) snprintf(tekst, (size_t)rozmiar, "%s (%s)", numer, symbol);
    else snprintf(tekst, (size_t)rozmiar, "%s", numer);
}

HDC BeginPrintoutPage() { return OpenPageMetafile(PrintoutPageFrame(MmForInch(nullptr, 1), MmForInch(nullptr, 0))); }

void FreePrintoutPages(PrintoutPages* s) {
    for (int32_t i = 0; i < s->itemCount; i++)
        if (s->pageFiles[i]) DeleteEnhMetaFile(s->pageFiles[i]);
    KvFree(s->pageFiles);
    s->pageFiles = nullptr;
    s->itemCount = 0;
}

int ComposeOrderPrintout(strZamRob* z, const DrawSet* ds, const strUstUzytk* ust, PrintoutPages* wynik,
                  char* msg) {
    wynik->pageFiles = nullptr;
    wynik->itemCount = 0;
    if (z->zam.liczbaOkien <= 0 && z->zam.liczbaDodat <= 0) {
        KvMsg(msg, "The order is empty");
        return 0;
    }
    RecomputeOrder(z, kRecomputeAll);

    Composition s;
    s.z = z;
    s.ds = ds;
    s.closedPages = {nullptr, 0};
    s.dc = nullptr;
    s.msg = msg;
    s.y = s.footerHeight = s.rowHeight = s.headingBottom = 0;
    const float mmPoziomo = MmForInch(nullptr, 1), mmPionowo = MmForInch(nullptr, 0);
    s.pageFrame = PrintoutPageFrame(mmPoziomo, mmPionowo);
    // A heading below the page's top edge only; a height beyond what the
    // settings allow is refused by the first block that finds no room.
    s.headingHeightMm = ust->wysNaglDruk < 0 ? 0 : ust->wysNaglDruk;
    s.headingTop = (int32_t)(s.headingHeightMm * 960 * 0.91 / ((double)mmPionowo * 10));
    OrderHeadingText(&z->zam, s.headingText, sizeof s.headingText);
    s.status = StatusName(ust, z->zam.status);
    char dzis[KV_DATA_LEN];
    DajFormatData(DajAktualData(dzis), s.printDate, sizeof s.printDate);
    s.normal.reset(Arial(14, FW_NORMAL));
    s.fontBold.reset(Arial(14, FW_BOLD));
    s.fontSmall.reset(Arial(10, FW_NORMAL));
    s.fontLarge.reset(Arial(18, FW_BOLD));
    if (!s.normal || !s.fontBold || !s.fontSmall || !s.fontLarge) {
        KvMsg(msg, "Error of creating the fonts of the printout");
        return 0;
    }
    if (!ComposePages(s)) {
        AbandonPages(s);
        return 0;
    }
    *wynik = s.closedPages;
    return 1;
}
