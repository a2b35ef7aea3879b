// sales_chart.h - the sales overview's bar chart on any HDC (the window, a
// memory bitmap, a printout page), its bars' places for the tooltips, and
// the overview's printout pages.
#ifndef KV_APP_SALES_CHART_H
#define KV_APP_SALES_CHART_H

#include <windows.h>

#include <string>

#include "db/records.h"
#include "printout/printout.h"
#include "valuation/sales_overview.h"

// How a status is drawn: an Okabe-Ito colour that stays apart for readers
// with red-green colour blindness, and a hatch of its own that reads in grey.
enum SalesHatch { kHatchHorizontal, kHatchVertical, kHatchRising, kHatchFalling, kHatchCross, kHatchDiagonalCross,
                  kHatchDots };
struct SalesStatusLook {
    COLORREF fill;
    COLORREF lines;  // the hatch's colour, dark on light fills and light on dark
    SalesHatch hatch;
};
extern const SalesStatusLook kSalesLooks[kSalesStatusCount];

// What the chart draws with: its font (the caller's, selected while it
// draws) and the scale of its measures (96 for a printout page).
struct SalesChartStyle {
    HFONT font;
    int dpi;
};

// Draws the chart of `s` into `box`: the amount axis with its grid, a bar a
// month stacked by status, the month labels that fit, and the legend with
// the status names of `settings` on the right.
void PaintSalesChart(HDC dc, const RECT& box, const SalesOverview& s, const strUstUzytk& settings,
                     const SalesChartStyle& style);

// The column of month `i`'s bar in a chart drawn into `box` (the whole
// height of the plot, for a tooltip's area); measured with `dc`'s font.
RECT SalesBarColumn(HDC dc, const RECT& box, const SalesOverview& s, const SalesChartStyle& style, int i);

// The overview as printout pages (768 x 960 units of 1/96 inch): title,
// chart, currency note and the table, continued on further pages. 1, or 0
// with the message.
int ComposeSalesPages(const SalesOverview& s, const strUstUzytk& settings, PrintoutPages* pages, char* msg);

#endif  // KV_APP_SALES_CHART_H
