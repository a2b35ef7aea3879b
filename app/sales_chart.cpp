// The sales overview's chart and printout pages. Everything is drawn with
// real pens and brushes, lines and rectangles, and text as ExtTextOutA, so
// the same function serves the screen, a metafile page and its PDF.
#include "app/sales_chart.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "db/names.h"
#include "util/dpi_win.h"
#include "util/heap.h"
#include "util/kvutil.h"
#include "util/msgbuf.h"
#include "util/scoped_win.h"

const SalesStatusLook kSalesLooks[kSalesStatusCount] = {
    {RGB(230, 159, 0), RGB(0, 0, 0), kHatchHorizontal},         // orange
    {RGB(86, 180, 233), RGB(0, 0, 0), kHatchVertical},          // sky blue
    {RGB(0, 158, 115), RGB(255, 255, 255), kHatchRising},       // bluish green
    {RGB(240, 228, 66), RGB(0, 0, 0), kHatchFalling},           // yellow
    {RGB(0, 114, 178), RGB(255, 255, 255), kHatchCross},        // blue
    {RGB(213, 94, 0), RGB(255, 255, 255), kHatchDiagonalCross},  // vermillion
    {RGB(204, 121, 167), RGB(0, 0, 0), kHatchDots},             // reddish purple
};

namespace {

const int kTicks = 5;          // parts of the amount axis at most
const int kLegendWidth = 150;  // at 96 dpi

void Text(HDC dc, int x, int y, const std::string& t, UINT align) {
    SetTextAlign(dc, align | TA_NOUPDATECP);
    if (!t.empty()) ExtTextOutA(dc, x, y, 0, nullptr, t.data(), (UINT)t.size(), nullptr);
}

int TextWidth(HDC dc, const std::string& t) {
    SIZE sz = {};
    GetTextExtentPoint32A(dc, t.data(), (int)t.size(), &sz);
    return sz.cx;
}

int LineHeight(HDC dc) {
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    return tm.tmHeight;
}

// The positive part of a month's stack: what its bar shows.
int64_t StackHeight(const SalesMonth& m) {
    if (m.grossTooLarge) return 0;
    int64_t h = 0;
    for (int st = 0; st < kSalesStatusCount; st++)
        if (m.gross[st] > 0) h += m.gross[st];  // no overflow: their sum fitted as allGross
    return h;
}

struct Layout {
    RECT plot;
    RECT legend;
    int n;
    int64_t step, top;
    int labelEvery;  // a month label every so many bars
    int X(int i) const { return plot.left + (int)((int64_t)(plot.right - plot.left) * i / n); }
    int Y(int64_t v) const {
        return plot.bottom - (int)((__int128)v * (plot.bottom - plot.top) / (top > 0 ? top : 1));
    }
};

Layout Measure(HDC dc, const RECT& box, const SalesOverview& s, int dpi) {
    Layout l = {};
    l.n = std::max<int>(1, (int)s.months.size());
    int64_t largest = 0;
    for (const SalesMonth& m : s.months) largest = std::max(largest, StackHeight(m));
    SalesAxisScale(largest, kTicks, &l.step, &l.top);
    int labelWidth = 0;
    for (int64_t v = 0; v <= l.top && v >= 0; v += l.step) {
        labelWidth = std::max(labelWidth, TextWidth(dc, SalesAxisText(v)));
        if (v > INT64_MAX - l.step) break;
    }
    const int pad = KvScale(8, dpi), line = LineHeight(dc);
    l.legend = {box.right - pad - KvScale(kLegendWidth, dpi), box.top + pad, box.right - pad, box.bottom - pad};
    l.plot = {box.left + pad + labelWidth + KvScale(6, dpi), box.top + pad + line / 2,
              l.legend.left - KvScale(12, dpi), box.bottom - pad - line - KvScale(4, dpi)};
    if (l.plot.right <= l.plot.left) l.plot.right = l.plot.left + 1;
    if (l.plot.bottom <= l.plot.top) l.plot.bottom = l.plot.top + 1;
    int monthWidth = 0;
    for (const SalesMonth& m : s.months) monthWidth = std::max(monthWidth, TextWidth(dc, SalesMonthText(m)));
    const int slot = std::max(1, (int)(l.plot.right - l.plot.left) / l.n);
    const int need = (monthWidth + KvScale(8, dpi) + slot - 1) / slot;
    static const int kEvery[] = {1, 2, 3, 4, 6, 12};
    l.labelEvery = 12;
    for (int e : kEvery)
        if (e >= need) {
            l.labelEvery = e;
            break;
        }
    return l;
}

void Line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

// The hatch of a status inside r, lines every `gap` units.
void Hatch(HDC dc, const RECT& r, SalesHatch h, COLORREF colour, int gap) {
    if (r.right - r.left < 2 || r.bottom - r.top < 2) return;
    ScopedPen pen(CreatePen(PS_SOLID, 1, colour));
    ScopedSelect usePen(dc, pen);
    const int l = r.left, t = r.top, rr = r.right - 1, b = r.bottom - 1;
    if (h == kHatchHorizontal || h == kHatchCross)
        for (int y = t + gap / 2; y <= b; y += gap) Line(dc, l, y, rr + 1, y);
    if (h == kHatchVertical || h == kHatchCross)
        for (int x = l + gap / 2; x <= rr; x += gap) Line(dc, x, t, x, b + 1);
    if (h == kHatchRising || h == kHatchDiagonalCross)  // x + y = c
        for (int c = l + t + gap / 2; c <= rr + b; c += gap) {
            const int x0 = std::max(l, c - b), x1 = std::min(rr, c - t);
            if (x0 <= x1) Line(dc, x0, c - x0, x1 + 1, c - x1 - 1);
        }
    if (h == kHatchFalling || h == kHatchDiagonalCross)  // x - y = c
        for (int c = l - b + gap / 2; c <= rr - t; c += gap) {
            const int x0 = std::max(l, c + t), x1 = std::min(rr, c + b);
            if (x0 <= x1) Line(dc, x0, x0 - c, x1 + 1, x1 - c + 1);
        }
    if (h == kHatchDots) {
        ScopedBrush dot(CreateSolidBrush(colour));
        ScopedSelect useBrush(dc, dot);
        const int d = std::max(2, gap / 3);
        for (int y = t + gap / 2, row = 0; y + d <= b + 1; y += gap, row++)
            for (int x = l + (row % 2 ? gap : gap / 2); x + d <= rr + 1; x += gap) Rectangle(dc, x, y, x + d, y + d);
    }
}

// A status's patch: its colour, its hatch and a dark outline.
void Patch(HDC dc, const RECT& r, int status, int dpi) {
    const SalesStatusLook& look = kSalesLooks[status];
    {
        ScopedBrush fill(CreateSolidBrush(look.fill));
        ScopedPen outline(CreatePen(PS_SOLID, 1, RGB(64, 64, 64)));
        ScopedSelect b(dc, fill), p(dc, outline);
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
    const RECT inner = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    Hatch(dc, inner, look.hatch, look.lines, KvScale(6, dpi));
}

void PaintAxis(HDC dc, const Layout& l, int dpi) {
    ScopedPen grid(CreatePen(PS_SOLID, 1, RGB(210, 210, 210)));
    const int half = LineHeight(dc) / 2;
    for (int64_t v = 0; v <= l.top && v >= 0; v += l.step) {
        const int y = l.Y(v);
        if (v > 0) {
            ScopedSelect p(dc, grid);
            Line(dc, l.plot.left, y, l.plot.right, y);
        }
        Text(dc, l.plot.left - KvScale(6, dpi), y - half, SalesAxisText(v), TA_RIGHT | TA_TOP);
        if (v > INT64_MAX - l.step) break;
    }
    ScopedSelect p(dc, GetStockObject(BLACK_PEN));
    Line(dc, l.plot.left, l.plot.top, l.plot.left, l.plot.bottom);
    Line(dc, l.plot.left, l.plot.bottom, l.plot.right, l.plot.bottom);
}

void PaintBars(HDC dc, const Layout& l, const SalesOverview& s, int dpi) {
    for (int i = 0; i < (int)s.months.size(); i++) {
        const SalesMonth& m = s.months[(size_t)i];
        const int x0 = l.X(i), x1 = l.X(i + 1), inset = (x1 - x0) / 6;
        if (!m.grossTooLarge) {
            int64_t base = 0;
            for (int st = 0; st < kSalesStatusCount; st++) {
                if (m.gross[st] <= 0) continue;
                const int top = l.Y(base + m.gross[st]), bottom = l.Y(base);
                base += m.gross[st];
                if (bottom - top < 1) continue;
                const RECT r = {x0 + inset, top, std::max(x0 + inset + 2, x1 - inset), bottom + 1};
                Patch(dc, r, st, dpi);
            }
        }
        if ((int)(s.months.size() - 1 - i) % l.labelEvery == 0)
            Text(dc, (x0 + x1) / 2, l.plot.bottom + KvScale(3, dpi), SalesMonthText(m), TA_CENTER | TA_TOP);
    }
}

void PaintLegend(HDC dc, const Layout& l, const strUstUzytk& settings, int dpi) {
    const int row = std::max(LineHeight(dc), KvScale(14, dpi)) + KvScale(4, dpi);
    const int box = KvScale(14, dpi);
    for (int st = 0; st < kSalesStatusCount; st++) {
        const int y = l.legend.top + st * row;
        if (y + row > l.legend.bottom) break;
        Patch(dc, RECT{l.legend.left, y, l.legend.left + box, y + box}, st, dpi);
        RECT text = {l.legend.left + box + KvScale(6, dpi), y, l.legend.right, y + row};
        std::string name = StatusName(&settings, st);
        // Cut to the legend's width rather than over the frame.
        while (name.size() > 1 && TextWidth(dc, name) > text.right - text.left) name.pop_back();
        Text(dc, text.left, y + (box - LineHeight(dc)) / 2, name, TA_LEFT | TA_TOP);
    }
}

}  // namespace

void PaintSalesChart(HDC dc, const RECT& box, const SalesOverview& s, const strUstUzytk& settings,
                     const SalesChartStyle& style) {
    ScopedSaveDC saved(dc);
    ScopedSelect font(dc, style.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    {
        ScopedSelect b(dc, GetStockObject(WHITE_BRUSH)), p(dc, GetStockObject(NULL_PEN));
        Rectangle(dc, box.left, box.top, box.right + 1, box.bottom + 1);
    }
    const Layout l = Measure(dc, box, s, style.dpi);
    PaintAxis(dc, l, style.dpi);
    PaintBars(dc, l, s, style.dpi);
    PaintLegend(dc, l, settings, style.dpi);
}

RECT SalesBarColumn(HDC dc, const RECT& box, const SalesOverview& s, const SalesChartStyle& style, int i) {
    ScopedSelect font(dc, style.font);
    const Layout l = Measure(dc, box, s, style.dpi);
    return RECT{l.X(i), l.plot.top, l.X(i + 1), l.plot.bottom};
}

// ---- Printout pages -----------------------------------------------------------

namespace {

HFONT Arial(int height, int weight) {
    return CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
}

const int kLeft = 48, kRight = kPageWidthPx - 48, kBottom = kPageHeightPx - 40;
// The table's columns: the month left, the numbers right-aligned at these.
const int kColumnEnds[kSalesColumnCount] = {kLeft, 360, 560, kRight};

struct Pages {
    std::vector<HENHMETAFILE> done;
    HDC dc = nullptr;
    int y = 0;
    ~Pages() {
        if (dc) DeleteEnhMetaFile(CloseEnhMetaFile(dc));
        for (HENHMETAFILE h : done) DeleteEnhMetaFile(h);
    }
    bool Next() {
        if (dc) done.push_back(CloseEnhMetaFile(dc));
        dc = BeginPrintoutPage();
        y = 40;
        return dc != nullptr;
    }
};

void TableRow(HDC dc, int y, const std::string cells[kSalesColumnCount]) {
    Text(dc, kColumnEnds[0], y, cells[0], TA_LEFT | TA_TOP);
    for (int c = 1; c < kSalesColumnCount; c++) Text(dc, kColumnEnds[c], y, cells[c], TA_RIGHT | TA_TOP);
}

// The title, the months and currency, the chart and the currency note of
// the first page; the table starts below them.
void FirstPage(Pages& p, const SalesOverview& s, const strUstUzytk& settings, HFONT normal, HFONT title) {
    {
        ScopedSelect f(p.dc, title);
        Text(p.dc, kLeft, p.y, "Sales overview", TA_LEFT | TA_TOP);
    }
    ScopedSelect f(p.dc, normal);
    const std::string range = s.months.empty()
                                  ? std::string()
                                  : SalesMonthText(s.months.front()) + " - " + SalesMonthText(s.months.back());
    Text(p.dc, kRight, p.y + 6, range + ", " + CurrencyCode(s.currency), TA_RIGHT | TA_TOP);
    PaintSalesChart(p.dc, RECT{kLeft, 80, kRight, 440}, s, settings, SalesChartStyle{normal, kKvBaseDpi});
    Text(p.dc, kLeft, 450, SalesCurrencyNote(s), TA_LEFT | TA_TOP);
    p.y = 480;
}

}  // namespace

int ComposeSalesPages(const SalesOverview& s, const strUstUzytk& settings, PrintoutPages* out, char* msg) {
    out->pageFiles = nullptr;
    out->itemCount = 0;
    KvMsg(msg, "Error of allocation of HENHMETAFILE");
    ScopedFont normal(Arial(13, FW_NORMAL)), bold(Arial(13, FW_BOLD)), title(Arial(20, FW_BOLD));
    Pages p;
    if (!normal || !bold || !title || !p.Next()) return 0;
    FirstPage(p, s, settings, normal, title);
    std::string header[kSalesColumnCount];
    for (int c = 0; c < kSalesColumnCount; c++) header[c] = kSalesColumnTexts[c];
    int row;
    {
        ScopedSelect f(p.dc, normal);
        row = LineHeight(p.dc) + 3;
    }
    for (size_t i = 0; i <= s.months.size(); i++) {
        if (i == 0 || p.y + row > kBottom) {
            if (i > 0 && !p.Next()) return 0;
            ScopedSelect b(p.dc, bold), line(p.dc, GetStockObject(BLACK_PEN));
            TableRow(p.dc, p.y, header);
            p.y += row;
            Line(p.dc, kLeft, p.y - 1, kRight, p.y - 1);
        }
        if (i == s.months.size()) break;
        std::string cells[kSalesColumnCount];
        SalesRowCells(s.months[i], cells);
        ScopedSelect n(p.dc, normal);
        TableRow(p.dc, p.y, cells);
        p.y += row;
    }
    {
        ScopedSelect n(p.dc, normal);
        char today[KV_DATA_LEN], shown[64], printed[96];
        snprintf(printed, sizeof printed, "Date of printing: %s",
                 DajFormatData(DajAktualData(today), shown, (int)sizeof shown) ? shown : "");
        Text(p.dc, kLeft, kBottom + 8, printed, TA_LEFT | TA_TOP);
    }
    p.done.push_back(CloseEnhMetaFile(p.dc));
    p.dc = nullptr;
    HENHMETAFILE* files = (HENHMETAFILE*)KvAlloc(sizeof(HENHMETAFILE) * p.done.size());
    if (!files) return 0;
    for (size_t i = 0; i < p.done.size(); i++) files[i] = p.done[i];
    out->pageFiles = files;
    out->itemCount = (int32_t)p.done.size();
    p.done.clear();
    msg[0] = 0;
    return 1;
}
