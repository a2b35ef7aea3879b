// The sales overview's sums and texts.
#include "valuation/sales_overview.h"

#include <inttypes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "db/names.h"
#include "util/amounttext.h"
#include "util/kvutil.h"
#include "util/platform.h"
#include "valuation/order_list.h"
#include "valuation/valuation.h"

const int kSalesMonthChoices[3] = {12, 24, 36};
const char* const kSalesColumnTexts[kSalesColumnCount] = {"Month", "Orders", "Net", "Gross"};

namespace {

// Months counted from year 0, so that a difference is a number of months.
int32_t MonthNumber(int32_t year, int32_t month) { return year * 12 + (month - 1); }

// Adds v to *sum; on overflow the sum keeps what it had and *tooLarge is set.
void AddChecked(int64_t* sum, int64_t v, bool* tooLarge) {
    int64_t r;
    if (__builtin_add_overflow(*sum, v, &r)) *tooLarge = true;
    else *sum = r;
}

// The stored date "yyyy-mm-dd": its year and month, false when it is none.
bool DateMonth(const char* date, size_t width, int32_t* year, int32_t* month) {
    if (width < 7) return false;
    for (int i = 0; i < 7; i++)
        if (i == 4 ? date[i] != '-' : (date[i] < '0' || date[i] > '9')) return false;
    *year = (date[0] - '0') * 1000 + (date[1] - '0') * 100 + (date[2] - '0') * 10 + (date[3] - '0');
    *month = (date[5] - '0') * 10 + (date[6] - '0');
    return *month >= 1 && *month <= 12;
}

std::string Amount(int64_t v, bool tooLarge) {
    if (tooLarge) return kAmountTooLarge;
    char text[64];
    return AmountDisplayText(v, text, (int)sizeof text) ? text : "";
}

// A plain number with the user's decimal sign, for a spreadsheet.
std::string PlainAmount(int64_t v, bool tooLarge, char decimal) {
    if (tooLarge) return kAmountTooLarge;
    const uint64_t m = v < 0 ? 0 - (uint64_t)v : (uint64_t)v;
    char text[48];
    snprintf(text, sizeof text, "%s%" PRIu64 "%c%02u", v < 0 ? "-" : "", m / 100, decimal, (unsigned)(m % 100));
    return text;
}

std::string Count(int64_t n, const char* one, const char* many) {
    char text[64];
    snprintf(text, sizeof text, "%" PRId64 " %s", n, n == 1 ? one : many);
    return text;
}

}  // namespace

void SalesBegin(SalesOverview* s, int32_t currency, int32_t year, int32_t month, int count) {
    if (count < 1) count = 1;
    if (count > kSalesMaxMonths) count = kSalesMaxMonths;
    s->currency = currency;
    s->months.assign((size_t)count, SalesMonth());
    const int32_t last = MonthNumber(year, month);
    for (int i = 0; i < count; i++) {
        const int32_t n = last - (count - 1 - i);
        s->months[(size_t)i].year = n / 12;
        s->months[(size_t)i].month = n % 12 + 1;
    }
}

namespace {

// What the overview takes of an order, from a loaded order or a register's row.
struct SalesOrder {
    int32_t status;
    int32_t currency;
    const char* date;  // "yyyy-mm-dd"
    size_t dateWidth;
    int64_t net, gross;
    bool netTooLarge, grossTooLarge;
};

void AddOrder(SalesOverview* s, const SalesOrder& o) {
    if (o.status < 0 || o.status >= kSalesStatusCount || s->months.empty()) return;
    int32_t year, month;
    if (!DateMonth(o.date, o.dateWidth, &year, &month)) return;
    const SalesMonth& first = s->months.front();
    const int32_t at = MonthNumber(year, month) - MonthNumber(first.year, first.month);
    if (at < 0 || at >= (int32_t)s->months.size()) return;
    SalesMonth& m = s->months[(size_t)at];
    if (o.currency != s->currency) {
        m.foreign[o.currency]++;
        return;
    }
    const int st = o.status;
    m.orders[st]++;
    m.allOrders++;
    if (o.netTooLarge) m.netTooLarge = true;
    if (o.grossTooLarge) m.grossTooLarge = true;
    AddChecked(&m.net[st], o.net, &m.netTooLarge);
    AddChecked(&m.allNet, o.net, &m.netTooLarge);
    AddChecked(&m.gross[st], o.gross, &m.grossTooLarge);
    AddChecked(&m.allGross, o.gross, &m.grossTooLarge);
}

}  // namespace

void SalesAdd(SalesOverview* s, const strZamRob& z) {
    const strZam& o = z.zam;
    AddOrder(s, {o.status, o.idWalZam, o.dataZam, sizeof o.dataZam, z.sumy.zamNetto, z.sumy.zamBrutto,
                 (z.sumy.przepelnione & kTotalOrderNet) != 0, (z.sumy.przepelnione & kTotalOrderGross) != 0});
}

void SalesAddRow(SalesOverview* s, const RegisterRows& rows, size_t row) {
    const RegisterRow& r = rows[row];
    const char* date = rows.OrderDate(row);
    AddOrder(s, {r.status, r.currency, date, strlen(date), r.net, r.total, r.netTooLarge, r.totalTooLarge});
}

void SalesFromRows(const RegisterRows& rows, int32_t currency, int count, SalesOverview* s) {
    KvTime now;
    kvplat::LocalTime(&now);
    SalesBegin(s, currency, now.wYear, now.wMonth, count);
    for (size_t i = 0; i < rows.size(); i++) SalesAddRow(s, rows, i);
}

namespace {
bool AddOne(const strZamRob* z, void* ctx) {
    SalesAdd((SalesOverview*)ctx, *z);
    return true;
}
}  // namespace

int ComputeSalesOverview(int32_t currency, int count, SalesOverview* s, char* msg) {
    KvTime now;
    kvplat::LocalTime(&now);
    SalesBegin(s, currency, now.wYear, now.wMonth, count);
    // Only the totals count: the drawings are not read.
    return ListOrders(0, AddOne, s, msg, kListTotals);
}

SalesOverview SalesLastMonths(const SalesOverview& all, int count) {
    SalesOverview s;
    s.currency = all.currency;
    const size_t n = count < 0 ? 0 : (size_t)count;
    const size_t from = all.months.size() > n ? all.months.size() - n : 0;
    s.months.assign(all.months.begin() + (ptrdiff_t)from, all.months.end());
    return s;
}

std::string SalesMonthText(const SalesMonth& m) {
    char text[64];
    if (kvplat::FormatYearMonth(m.year, m.month, text, (int)sizeof text) > 0) return text;
    snprintf(text, sizeof text, "%04d-%02d", (int)m.year, (int)m.month);
    return text;
}

void SalesRowCells(const SalesMonth& m, std::string cells[kSalesColumnCount]) {
    char n[32];
    snprintf(n, sizeof n, "%" PRId64, m.allOrders);
    cells[0] = SalesMonthText(m);
    cells[1] = n;
    cells[2] = Amount(m.allNet, m.netTooLarge);
    cells[3] = Amount(m.allGross, m.grossTooLarge);
}

std::string SalesTabText(const SalesOverview& s) {
    char sep[8] = "";
    const char decimal =
        kvplat::LocaleText(kvplat::LocaleItem::DecimalSep, sep, (int)sizeof sep) && sep[0] ? sep[0] : '.';
    std::string out;
    for (int c = 0; c < kSalesColumnCount; c++) {
        out += kSalesColumnTexts[c];
        out += c + 1 < kSalesColumnCount ? "\t" : "\r\n";
    }
    for (const SalesMonth& m : s.months) {
        char n[32];
        snprintf(n, sizeof n, "%" PRId64, m.allOrders);
        out += SalesMonthText(m) + "\t" + n + "\t" + PlainAmount(m.allNet, m.netTooLarge, decimal) + "\t" +
               PlainAmount(m.allGross, m.grossTooLarge, decimal) + "\r\n";
    }
    return out;
}

std::string SalesTooltipText(const SalesMonth& m, const strUstUzytk& settings) {
    std::string t = SalesMonthText(m) + ": " + Count(m.allOrders, "order", "orders") + ", " +
                    Amount(m.allGross, m.grossTooLarge);
    for (int st = 0; st < kSalesStatusCount; st++) {
        if (!m.orders[st]) continue;
        t += "\r\n";
        t += StatusName(&settings, st);
        t += ": " + Count(m.orders[st], "order", "orders") + ", " + Amount(m.gross[st], m.grossTooLarge);
    }
    return t;
}

std::string SalesCurrencyNote(const SalesOverview& s) {
    std::map<int32_t, int64_t> left;
    for (const SalesMonth& m : s.months)
        for (const auto& f : m.foreign) left[f.first] += f.second;
    if (left.empty()) return "";
    std::string t = "Not in the sums (currency other than ";
    t += CurrencyCode(s.currency);
    t += "): ";
    bool first = true;
    for (const auto& f : left) {
        if (!first) t += ", ";
        first = false;
        const char* code = CurrencyCode(f.first);
        char unknown[24];
        if (!code[0]) {
            snprintf(unknown, sizeof unknown, "currency %d", (int)f.first);
            code = unknown;
        }
        t += Count(f.second, "order", "orders") + " in " + code;
    }
    return t;
}

void SalesAxisScale(int64_t largest, int ticks, int64_t* step, int64_t* top) {
    if (ticks < 1) ticks = 1;
    if (largest < 0) largest = 0;
    static const int kMantissas[3] = {1, 2, 5};
    for (int64_t power = 100;; power *= 10) {
        for (int k = 0; k < 3; k++) {
            const int64_t st = power * kMantissas[k];
            const int64_t parts = largest / st + (largest % st != 0);  // at least `largest`
            int64_t t;
            if (parts <= ticks && !__builtin_mul_overflow(st, parts < 1 ? 1 : parts, &t)) {
                *step = st;
                *top = t;
                return;
            }
        }
        if (power > INT64_MAX / 50) {  // amounts near the limit: the axis ends at the largest
            *step = power * 5;
            *top = largest;
            return;
        }
    }
}

std::string SalesAxisText(int64_t amount) {
    char text[64];
    return DajNapKwotaZlSepTys(amount - amount % 100, text, (int)sizeof text) ? text : "";
}
