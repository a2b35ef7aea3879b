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
const int32_t kWindowColumns[] = {0, 30, 250, 510, 596, 682, kPageWidthPx - 1};
const int32_t kAccessoryColumns[] = {0, 30, 370, 510, 596, 682, kPageWidthPx - 1};
const int32_t kColumnLineCount = 7;

// Cells between the column lines: text from 2 right of a line to 2 left of
// the next.
struct CellSpan {
    int32_t l, r;
};
const CellSpan kPriceCell = {512, 594}, kQuantityCell = {598, 680}, kTotalCell = {684, 765};

// Sums of the windows table, formed in 64 bits.
struct WindowTotals {
    int64_t windowCount;    // windows
    int64_t elementCount;  // frames and sashes
    int64_t perimeterMm;   // frame length, mm
    int64_t waga;      // hundredths of a kg
};

void ColumnLines(HDC dc, const int32_t* x, int n, int32_t gora, int32_t dol) {
    for (int i = 0; i < n; i++) VerticalLine(dc, x[i], gora, dol);
}

// A heading row over the whole width: box, column lines, texts in bold.
void HeadingRow(Composition& s, const int32_t* kolumny, const char* const* teksty, const Alignment* w) {
    HDC dc = s.dc;
    ScopedSelect p(dc, GetStockObject(BLACK_PEN));
    ScopedSelect f(dc, s.fontBold);
    const int32_t dol = s.y + s.rowHeight;
    HorizontalLine(dc, 0, kPageWidthPx - 1, s.y);
    HorizontalLine(dc, 0, kPageWidthPx - 1, dol);
    ColumnLines(dc, kolumny, kColumnLineCount, s.y, dol);
    for (int i = 0; i + 1 < kColumnLineCount; i++)
        WriteInBand(dc, kolumny[i] + 2, kolumny[i + 1] - 2, s.y, dol, teksty[i], w[i]);
    s.y = dol;
}

void WindowsHeading(Composition& s) {
    static const char* const t[] = {"No.", "Details", "Drawing", "Price", "Quantity", "Total"};
    static const Alignment w[] = {kAlignCentre, kAlignLeft, kAlignLeft, kAlignCentre, kAlignCentre, kAlignCentre};
    HeadingRow(s, kWindowColumns, t, w);
}

void AccessoriesHeading(Composition& s) {
    static const char* const t[] = {"No.", "Name of accessory", "Size", "Price", "Quantity", "Total"};
    static const Alignment w[] = {kAlignCentre, kAlignLeft, kAlignRight, kAlignCentre, kAlignCentre, kAlignCentre};
    HeadingRow(s, kAccessoryColumns, t, w);
}

// The window's description and notes, word-wrapped in its cell; lines
// that would run past the row are left out.
void WindowDescription(Composition& s, int32_t k, int32_t gora, int32_t dol) {
    char opis[8192];
    if (!DescribeWindow(&s.z->zam, k, opis, sizeof opis)) opis[0] = 0;
    if (s.z->zam.okna[k].uwagi[0]) AddWindowNotes(&s.z->zam, k, opis, sizeof opis, -1);
    HDC dc = s.dc;
    const int32_t h = LineHeight(dc);
    const char* start;
    int dl;
    int32_t y = gora + 2;
    for (const char* p = NextLine(dc, opis, 248 - 32 + 1, &start, &dl); p && y + h <= dol - 2;
         p = NextLine(dc, p, 248 - 32 + 1, &start, &dl)) {
        WriteText(dc, 32, y, start, dl);
        y += h;
    }
}

// One window row: edges, columns, number, description, drawing, price,
// quantity and line total.
bool WindowRow(Composition& s, int32_t k) {
    HDC dc = s.dc;
    const strOkno& okno = s.z->zam.okna[k];
    const int32_t gora = s.y, dol = s.y + kWindowRowHeight;
    {
        ScopedSelect p(dc, GetStockObject(BLACK_PEN));
        HorizontalLine(dc, 0, kPageWidthPx - 1, dol);
        ColumnLines(dc, kWindowColumns, kColumnLineCount, gora, dol);
    }
    ScopedSelect f(dc, s.normal);
    char t[64];
    snprintf(t, sizeof t, "%u", (unsigned)(k + 1));
    WriteInCell(dc, 2, 28, gora + 2, t, kAlignCentre);
    WindowDescription(s, k, gora, dol);

    strOkno* kopia = nullptr;
    if (!CopyWindow(&kopia, &okno, s.msg)) return false;
    const RECT cel = {252, gora + 2, 508, gora + 208};
    const int ok = DrawWindowInRect(dc, kopia, &cel, 40, s.ds, kStylePrintout, kDimensionsPrintout, s.msg);
    FreeWindow(kopia);
    if (!ok) return false;

    ValuationLine l;
    memset(&l, 0, sizeof l);
    WindowLine(&l, s.z, &okno, kLineUnitNet | kLineNet | kLineUnitGross | kLineGross);
    FormatAmount(l.unitNet, t, sizeof t);
    WriteInBand(dc, kPriceCell.l, kPriceCell.r, gora, dol, t, kAlignCentre);
    snprintf(t, sizeof t, "%d", (int)okno.ilOkien);
    WriteInBand(dc, kQuantityCell.l, kQuantityCell.r, gora, dol, t, kAlignCentre);
    FormatAmount(l.lineNet, t, sizeof t);
    WriteInBand(dc, kTotalCell.l, kTotalCell.r, gora, dol, t, kAlignCentre);
    s.y = dol;
    return true;
}

// "Total sum" on the right (510-767) and the box of perimeter, elements and
// weight on the left (0-300), side by side from the same top.
void WindowsSummary(Composition& s, const WindowTotals& su) {
    HDC dc = s.dc;
    const int32_t g = s.y, w = s.rowHeight;
    {
        ScopedSelect p(dc, GetStockObject(BLACK_PEN));
        HorizontalLine(dc, 510, kPageWidthPx - 1, g + w);
        const int32_t x[] = {510, 596, 682, kPageWidthPx - 1};
        ColumnLines(dc, x, 4, g, g + w);
        for (int i = 0; i <= 3; i++) HorizontalLine(dc, 0, 300, g + i * w);
        const int32_t xb[] = {0, 220, 300};
        ColumnLines(dc, xb, 3, g, g + 3 * w);
    }
    {
        ScopedSelect bold(dc, s.fontBold);
        WriteInBand(dc, kPriceCell.l, kPriceCell.r, g, g + w, "Total sum", kAlignRight);
        static const char* const etykiety[] = {"Perimeter in meters", "The number of elements",
                                               "Weight in kg"};
        for (int i = 0; i < 3; i++) WriteInBand(dc, 2, 218, g + i * w, g + (i + 1) * w, etykiety[i], kAlignLeft);
    }

    ScopedSelect f(dc, s.normal);
    char t[64];
    snprintf(t, sizeof t, "%llu", (unsigned long long)su.windowCount);
    WriteInBand(dc, kQuantityCell.l, kQuantityCell.r, g, g + w, t, kAlignCentre);
    FormatAmount(s.z->sumy.oknaNetto, t, sizeof t);
    WriteInBand(dc, kTotalCell.l, kTotalCell.r, g, g + w, t, kAlignCentre);

    // Metres with up to two decimals: the length in hundredths of a metre,
    // a remainder of 5 mm or more rounding up.
    char v[3][64];
    const int64_t cm = su.perimeterMm / 10 + (su.perimeterMm % 10 >= 5 ? 1 : 0);
    if (!DajNapKwotaZlSepTys(cm, v[0], sizeof v[0] - 4)) LLX100NaNap(cm, v[0]);
    DopasujCzDzies(v[0], 2, "0");
    snprintf(v[1], sizeof v[1], "%llu", (unsigned long long)su.elementCount);
    LLX100NaNap(su.waga, v[2]);
    for (int i = 0; i < 3; i++) WriteInBand(dc, 222, 298, g + i * w, g + (i + 1) * w, v[i], kAlignRight);
    s.y = g + 3 * w;
}

// Size text of an accessory: each dimension trimmed to what it needs,
// joined by " x ", then the unit.
void ComputeAccessorySize(const strDodatZam& d, char* t, size_t rozmiar) {
    t[0] = 0;
    if (d.ilWym <= 0) return;
    const int n = d.ilWym > 3 ? 3 : d.ilWym;
    size_t dl = 0;
    for (int i = 0; i < n; i++) {
        char w[KV_AMOUNT_LEN + 8];
        LLX10000NaNap(d.wymiar[i], w);
        DopasujCzDzies(w, 4, "0123");
        dl += (size_t)snprintf(t + dl, rozmiar - dl, "%s%s", i ? " x " : "", w);
        if (dl >= rozmiar) return;
    }
    snprintf(t + dl, rozmiar - dl, " %s", d.jm);
}

void AccessoryRow(Composition& s, int32_t k, const ValuationLine& l) {
    HDC dc = s.dc;
    const strDodatZam& d = s.z->zam.dodatki[k];
    const int32_t g = s.y, dol = s.y + s.rowHeight;
    {
        ScopedSelect p(dc, GetStockObject(BLACK_PEN));
        HorizontalLine(dc, 0, kPageWidthPx - 1, dol);
        ColumnLines(dc, kAccessoryColumns, kColumnLineCount, g, dol);
    }
    ScopedSelect f(dc, s.normal);
    char t[192];
    snprintf(t, sizeof t, "%u", (unsigned)(k + 1));
    WriteInBand(dc, 2, 28, g, dol, t, kAlignCentre);
    char nazwa[sizeof d.nazwa + 1] = "";
    memcpy(nazwa, d.nazwa, sizeof d.nazwa);
    WriteInBand(dc, 32, 368, g, dol, nazwa, kAlignLeft);
    ComputeAccessorySize(d, t, sizeof t);
    WriteInBand(dc, 372, 508, g, dol, t, kAlignRight);
    FormatAmount(l.unitNet, t, sizeof t);
    WriteInBand(dc, kPriceCell.l, kPriceCell.r, g, dol, t, kAlignCentre);
    snprintf(t, sizeof t, "%u", (unsigned)d.ilosc);
    WriteInBand(dc, kQuantityCell.l, kQuantityCell.r, g, dol, t, kAlignCentre);
    FormatAmount(l.lineNet, t, sizeof t);
    WriteInBand(dc, kTotalCell.l, kTotalCell.r, g, dol, t, kAlignCentre);
    s.y = dol;
}

void AccessoriesTotal(Composition& s, int64_t sztuki) {
    HDC dc = s.dc;
    const int32_t g = s.y, dol = s.y + s.rowHeight;
    {
        ScopedSelect p(dc, GetStockObject(BLACK_PEN));
        HorizontalLine(dc, 510, kPageWidthPx - 1, dol);
        const int32_t x[] = {510, 596, 682, kPageWidthPx - 1};
        ColumnLines(dc, x, 4, g, dol);
    }
    {
        ScopedSelect bold(dc, s.fontBold);
        WriteInBand(dc, kPriceCell.l, kPriceCell.r, g, dol, "Total sum", kAlignCentre);
    }
    ScopedSelect f(dc, s.normal);
    char t[64];
    snprintf(t, sizeof t, "%llu", (unsigned long long)sztuki);
    WriteInBand(dc, kQuantityCell.l, kQuantityCell.r, g, dol, t, kAlignCentre);
    FormatAmount(s.z->sumy.dodatNetto, t, sizeof t);
    WriteInBand(dc, kTotalCell.l, kTotalCell.r, g, dol, t, kAlignCentre);
    s.y = dol;
}

// A VAT rate in hundredths of a percent: "23%", "8,5%".
void FormatVatRate(int32_t stawka, char* t) {
    LLX100NaNap(stawka, t);
    DopasujCzDzies(t, 2, "01");
    strcat(t, "%");
}

}  // namespace

bool WindowsTable(Composition& s) {
    const strZam& zam = s.z->zam;
    WindowTotals su = {0, 0, 0, 0};
    bool naglowek = true;
    s.y += 14;
    for (int32_t k = 0; k < zam.liczbaOkien; k++) {
        const strOkno& o = zam.okna[k];
        const int64_t ilosc = o.ilOkien;
        int64_t elementy = 0, szer = 0, wys = 0;
        for (int32_t i = 0; i < o.liczbaOper; i++)
            if (o.oper[i].typ == kOpFrame || o.oper[i].typ == kOpSash) elementy++;
        if (o.liczbaOper > 0 && o.oper[0].typ == kOpFrame) {
            szer = o.oper[0].rama.x1;
            wys = o.oper[0].rama.y1;
        }
        // mm2 x hundredths of kg per m2 / 1 000 000, half up. Sizes the
        // designer allows stay far inside 64 bits (999 windows of 10 x 10 m);
        // damaged ones wrap instead of overflowing.
        const uint64_t mm2 = (uint64_t)szer * (uint64_t)wys;
        const int64_t waga = (int64_t)((mm2 * (uint64_t)(int64_t)zam.waga + 500000u) / 1000000u);
        su.windowCount = (int64_t)((uint64_t)su.windowCount + (uint64_t)ilosc);
        su.elementCount = (int64_t)((uint64_t)su.elementCount + (uint64_t)elementy * (uint64_t)ilosc);
        su.perimeterMm = (int64_t)((uint64_t)su.perimeterMm + 2 * (uint64_t)(szer + wys) * (uint64_t)ilosc);
        su.waga = (int64_t)((uint64_t)su.waga + (uint64_t)waga * (uint64_t)ilosc);

        const bool ostatnie = k + 1 == zam.liczbaOkien;
        const int32_t potrzeba = kWindowRowHeight + (naglowek ? s.rowHeight : 0) + (ostatnie ? 4 * s.rowHeight : 0);
        bool nowa;
        // Room is reckoned with the heading row an empty page would need.
        const int32_t zNaglowkiem = kWindowRowHeight + s.rowHeight + (ostatnie ? 4 * s.rowHeight : 0);
        if (PageBodyEnd(s) - s.y < potrzeba) {
            if (!EnsureRoom(s, zNaglowkiem, "a window of the order", &nowa)) return false;
            naglowek = true;
        }
        if (naglowek) WindowsHeading(s);
        naglowek = false;
        if (!WindowRow(s, k)) return false;
    }
    WindowsSummary(s, su);
    return true;
}

bool AccessoriesTable(Composition& s) {
    const strZam& zam = s.z->zam;
    int64_t sztuki = 0;
    bool naglowek = true;
    s.y += 18;
    for (int32_t k = 0; k < zam.liczbaDodat; k++) {
        const strDodatZam& d = zam.dodatki[k];
        sztuki += d.ilosc;
        ValuationLine l;
        memset(&l, 0, sizeof l);
        AccessoryLine(&l, s.z, &d, kLineUnitNet | kLineNet);
        const bool ostatni = k + 1 == zam.liczbaDodat;
        const int32_t potrzeba = s.rowHeight * (1 + (naglowek ? 1 : 0) + (ostatni ? 1 : 0));
        if (PageBodyEnd(s) - s.y < potrzeba) {
            bool nowa;
            if (!EnsureRoom(s, s.rowHeight * (2 + (ostatni ? 1 : 0)), "an accessory of the order", &nowa))
                return false;
            naglowek = true;
        }
        if (naglowek) AccessoriesHeading(s);
        naglowek = false;
        AccessoryRow(s, k, l);
    }
    AccessoriesTotal(s, sztuki);
    return true;
}

bool TotalsTable(Composition& s) {
    const strSumyZam& su = s.z->sumy;
    const strWycenZamParam& p = s.z->zam.sWycenZamParam;
    s.y += 18;
    bool nowa;
    if (!EnsureRoom(s, 8 * s.rowHeight, "the table of totals", &nowa)) return false;
    HDC dc = s.dc;
    const int32_t g = s.y, w = s.rowHeight;
    {
        ScopedSelect pen(dc, GetStockObject(BLACK_PEN));
        HorizontalLine(dc, 424, kPageWidthPx - 1, g);
        for (int i = 1; i <= 7; i++) HorizontalLine(dc, 0, kPageWidthPx - 1, g + i * w);
        const int32_t x[] = {424, 510, 596, 682, kPageWidthPx - 1};
        ColumnLines(dc, x, 5, g, g + 7 * w);
        VerticalLine(dc, 0, g + w, g + 7 * w);
    }
    const CellSpan kolumny[] = {{426, 508}, kPriceCell, kQuantityCell, kTotalCell};
    ScopedSelect f(dc, s.fontBold);
    static const char* const naglowki[] = {"Net", "VAT", "VAT - %", "Gross"};
    for (int c = 0; c < 4; c++) WriteInBand(dc, kolumny[c].l, kolumny[c].r, g, g + w, naglowki[c], kAlignCentre);

    // Net, VAT, rate (hundredths of a percent) and gross of each row; a
    // VAT or gross of INT64_MIN and a row without a rate show "-".
    const int64_t brak = INT64_MIN;
    const int64_t montN = su.montNetto + su.demontNetto, montB = su.montBrutto + su.demontBrutto;
    const int64_t rabat = (su.oknaNetto - su.oknaNettoRabat) + (su.dodatNetto - su.dodatNettoRabat);
    char etykietaRabatu[48];
    snprintf(etykietaRabatu, sizeof etykietaRabatu, "Discount - %d%%", (int)p.rabat);
    struct TotalsRow {
        const char* rowLabel;
        int64_t netAmount, vat;
        bool hasRate;
        int32_t vatRate;
        int64_t grossTotal;
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
        const TotalsRow& x = wiersze[r];
        const int32_t gr = g + (r + 1) * w, dl = gr + w;
        {
            ScopedSelect bold(dc, s.fontBold);
            WriteInBand(dc, 2, 422, gr, dl, x.rowLabel, kAlignLeft);
        }
        ScopedSelect normal(dc, s.normal);
        char t[4][64];
        FormatAmount(x.netAmount, t[0], sizeof t[0]);
        if (x.vat == brak) strcpy(t[1], "-");
        else FormatAmount(x.vat, t[1], sizeof t[1]);
        if (!x.hasRate) strcpy(t[2], "-");
        else FormatVatRate(x.vatRate, t[2]);
        if (x.grossTotal == brak) strcpy(t[3], "-");
        else FormatAmount(x.grossTotal, t[3], sizeof t[3]);
        for (int c = 0; c < 4; c++) WriteInBand(dc, kolumny[c].l, kolumny[c].r, gr, dl, t[c], kAlignCentre);
    }
    ScopedSelect normal(dc, s.normal);
    char t[64];
    snprintf(t, sizeof t, "* All amounts in %s", CurrencyCode(s.z->zam.idWalZam));
    WriteInCell(dc, 0, kPageWidthPx - 1, g + 7 * w + 2, t, kAlignRight);
    s.y = g + 7 * w;
    return true;
}
