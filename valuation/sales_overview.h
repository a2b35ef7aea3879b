// sales_overview.h - the sales overview: the orders' totals by calendar
// month of the order date, each month divided by status, from one walk of
// the order list; the texts of its table, of its tooltips, of its note on
// other currencies, and the tab-separated text a spreadsheet pastes.
//
// Amounts are int64 hundredths of the program's currency. A sum that does
// not fit, or an order whose own total does not, makes its month's sum
// "too large" instead of a wrong number. Deleted orders (status -1) and
// orders dated outside the months are left out; an order in another
// currency is left out of the sums and counted under its currency.
#ifndef KV_VALUATION_SALES_OVERVIEW_H
#define KV_VALUATION_SALES_OVERVIEW_H

#include <stdint.h>

#include <map>
#include <string>
#include <vector>

#include "db/order_record.h"
#include "db/records.h"
#include "valuation/register_rows.h"

enum {
    kSalesStatusCount = 7,  // 0 "NEW" and the user's 1-6
    kSalesMaxMonths = 36,
};

// The choices of the window's month box.
extern const int kSalesMonthChoices[3];  // 12, 24, 36

struct SalesMonth {
    int32_t year = 0;
    int32_t month = 0;  // 1-12
    int64_t orders[kSalesStatusCount] = {};
    int64_t net[kSalesStatusCount] = {};
    int64_t gross[kSalesStatusCount] = {};
    int64_t allOrders = 0;
    int64_t allNet = 0;
    int64_t allGross = 0;
    bool netTooLarge = false;    // some net sum of the month did not fit
    bool grossTooLarge = false;  // some gross sum did not fit
    std::map<int32_t, int64_t> foreign;  // currency index -> orders left out
};

struct SalesOverview {
    int32_t currency = 0;             // the program's currency index
    std::vector<SalesMonth> months;   // oldest first, the last the current month
};

// An empty overview of the `count` (1-36) calendar months ending with
// `year`/`month`.
void SalesBegin(SalesOverview* s, int32_t currency, int32_t year, int32_t month, int count);

// Adds one valued order (its totals computed) where it belongs, or leaves
// it out.
void SalesAdd(SalesOverview* s, const strZamRob& z);
// The same for the order of a register's row.
void SalesAddRow(SalesOverview* s, const RegisterRows& rows, size_t row);

// The walk: every order of the database through ListOrders, added to an
// overview of `count` months up to the current month of the local clock.
// 1, or 0 with the walk's message.
int ComputeSalesOverview(int32_t currency, int count, SalesOverview* s, char* msg);

// The same from the rows of a register that lists every order: what its
// one pass read and its updates since, without reading again.
void SalesFromRows(const RegisterRows& rows, int32_t currency, int count, SalesOverview* s);
// The last `count` months of `all` (all of it when it has fewer).
SalesOverview SalesLastMonths(const SalesOverview& all, int count);

// The month as the user's locale names it ("Dec 2026").
std::string SalesMonthText(const SalesMonth& m);

// The table's columns and the cells of a month's row: month, orders, net,
// gross (amounts as the program shows amounts, or "too large").
enum { kSalesColumnCount = 4 };
extern const char* const kSalesColumnTexts[kSalesColumnCount];  // "Month", "Orders", "Net", "Gross"
void SalesRowCells(const SalesMonth& m, std::string cells[kSalesColumnCount]);

// The table as tab-separated text for a spreadsheet: the header line, then
// a line a month, CR LF ends; amounts as plain numbers with the user's
// decimal sign.
std::string SalesTabText(const SalesOverview& s);

// A bar's tooltip: the month, its count, then a line for each status it
// has, with the status names of `settings`.
std::string SalesTooltipText(const SalesMonth& m, const strUstUzytk& settings);

// The orders left out for their currency over all the months: "" when
// none, else "Not in the sums (currency other than EUR): 2 orders in USD,
// 1 order in GBP".
std::string SalesCurrencyNote(const SalesOverview& s);

// The scale of the chart's amount axis: the step (1, 2 or 5 times a power
// of ten, at least 1.00) and the top (a multiple of the step at or above
// `largest`, at least one step) that divide the axis into at most `ticks`
// parts.
void SalesAxisScale(int64_t largest, int ticks, int64_t* step, int64_t* top);

// An axis label: the amount in whole units, grouped as the locale groups.
std::string SalesAxisText(int64_t amount);

#endif  // KV_VALUATION_SALES_OVERVIEW_H
