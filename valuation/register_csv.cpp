// The register and its order lines as CSV.
#include "valuation/register_csv.h"

#include <inttypes.h>
#include <stdio.h>
#include <string.h>

#include "db/names.h"
#include "model/comparison.h"
#include "model/operations.h"
#include "util/csv.h"
#include "util/kvutil.h"
#include "util/msgbuf.h"
#include "util/platform.h"
#include "valuation/order_list.h"
#include "valuation/valuation.h"

const char* const kRegisterColumnTexts[kRegisterCsvColumns] = {
    "Status", "Order No.",      "Order symbol", "Buyer", "Date of order", "Date of fulfilment",
    "Total",  "Qty of windows", "Notes"};

namespace {

const char* const kLineColumnTexts[] = {"Order No.", "Buyer",    "Date of order", "Kind",     "Name",
                                        "Size",      "Quantity", "Unit net",      "Line net", "Line gross"};

// Writes one file: the header, then the records the order walk adds.
struct Writer {
    const CsvTextForm& form;
    std::string* out;
    bool first = true;

    // A field as it goes into the file.
    void Cell(const std::string& utf8) {
        if (!first) out->push_back(form.separator);
        first = false;
        KvCsvField(out, utf8, form.separator);
    }
    // A field of ANSI text (at most n bytes, up to its terminator). A
    // spreadsheet runs a cell that begins like a formula ("- bring a ladder"
    // among the notes, say): such a text gets an apostrophe before it, which
    // makes the cell text.
    void Text(const char* s, size_t n) {
        std::string utf8;
        KvAnsiToUtf8(form.page, s, strnlen(s, n), &utf8);
        if (!utf8.empty() && strchr("=+-@\t\r", utf8[0])) utf8.insert(0, 1, '\'');
        Cell(utf8);
    }
    void Text(const char* s) { Text(s, strlen(s)); }
    template <size_t N>
    void Field(const char (&f)[N]) {
        Text(f, N - 1);
    }
    void Amount(int64_t v, bool tooLarge) {
        if (tooLarge) {
            Text(kAmountTooLarge);
            return;
        }
        const uint64_t m = v < 0 ? 0 - (uint64_t)v : (uint64_t)v;
        char text[40];
        snprintf(text, sizeof text, "%s%" PRIu64 "%c%02u", v < 0 ? "-" : "", m / 100, form.decimal,
                 (unsigned)(m % 100));
        Cell(text);  // a number, a minus and all
    }
    void Number(int64_t v) {
        char text[32];
        snprintf(text, sizeof text, "%" PRId64, v);
        Cell(text);
    }
    void End() {
        out->append("\r\n");
        first = true;
    }
};

void OrderNumber(Writer& w, const strZam& o) {
    char text[96];
    ComposeOrderNumber(o, kNumberAsShown, text, sizeof text);
    w.Text(text);
}

void Date(Writer& w, const char* stored) {
    char text[64];
    w.Text(DajFormatData(stored, text, (int)sizeof text) ? text : "");
}

struct RegisterWalk {
    Writer w;
    int32_t filter;
    const strUstUzytk& settings;
};

bool RegisterRow(const strZamRob* z, void* ctx) {
    RegisterWalk& r = *(RegisterWalk*)ctx;
    const strZam& o = z->zam;
    if (o.status == -1 || (r.filter != 0 && o.status != r.filter)) return true;
    Writer& w = r.w;
    w.Text(StatusName(&r.settings, o.status));
    OrderNumber(w, o);
    w.Field(o.dodOznaczZam);
    w.Field(o.nazwaNabyw);
    Date(w, o.dataZam);
    Date(w, o.dataReal);
    w.Amount(z->sumy.zamBrutto, (z->sumy.przepelnione & kTotalOrderGross) != 0);
    int64_t windows = 0;
    for (int32_t i = 0; o.okna && i < o.liczbaOkien; i++) windows += o.okna[i].ilOkien;
    w.Number(windows);
    w.Field(o.uwagi);
    w.End();
    return true;
}

struct LinesWalk {
    Writer w;
    int32_t filter;
};

void LineStart(Writer& w, const strZam& o, const char* kind) {
    OrderNumber(w, o);
    w.Field(o.nazwaNabyw);
    Date(w, o.dataZam);
    w.Text(kind);
}

void LineAmounts(Writer& w, const ValuationLine& l) {
    w.Amount(l.unitNet, (l.przepelnione & kLineUnitNet) != 0);
    w.Amount(l.lineNet, (l.przepelnione & kLineNet) != 0);
    w.Amount(l.lineGross, (l.przepelnione & kLineGross) != 0);
    w.End();
}

bool OrderLines(const strZamRob* z, void* ctx) {
    LinesWalk& r = *(LinesWalk*)ctx;
    const strZam& o = z->zam;
    if (o.status == -1 || (r.filter != 0 && o.status != r.filter)) return true;
    Writer& w = r.w;
    for (int32_t i = 0; o.okna && i < o.liczbaOkien; i++) {
        const strOkno& win = o.okna[i];
        LineStart(w, o, "window");
        w.Field(win.nazProfil);
        char size[64] = "";
        if (win.oper && win.liczbaOper > 0 && win.oper[0].typ == kOpFrame) {
            const strOperRama& f = win.oper[0].rama;
            snprintf(size, sizeof size, "%" PRId64 " x %" PRId64, (int64_t)f.x1 - f.x0, (int64_t)f.y1 - f.y0);
        }
        w.Text(size);
        w.Number(win.ilOkien);
        ValuationLine l = {};
        WindowLine(&l, z, &win, kLineUnitNet | kLineNet | kLineUnitGross | kLineGross);
        LineAmounts(w, l);
    }
    for (int32_t i = 0; o.dodatki && i < o.liczbaDodat; i++) {
        const strDodatZam& d = o.dodatki[i];
        LineStart(w, o, "accessory");
        w.Field(d.nazwa);
        char size[128] = "";
        AccessorySizeText(&d, size, (int)sizeof size);
        w.Text(size);
        w.Number(d.ilosc);
        ValuationLine l = {};
        AccessoryLine(&l, z, &d, kLineUnitNet | kLineNet | kLineUnitGross | kLineGross);
        LineAmounts(w, l);
    }
    return true;
}

void Header(Writer& w, const char* const* texts, size_t n) {
    w.out->assign(kKvUtf8Bom);
    for (size_t i = 0; i < n; i++) w.Text(texts[i]);
    w.End();
}

}  // namespace

bool UserCsvForm(int codePage, CsvTextForm* form, char* msg) {
    if (!KvLoadCodePage(codePage, &form->page)) {
        KvMsg(msg, "Code page %d is not one the program can convert texts from.", codePage);
        return false;
    }
    char sep[8] = "";
    form->decimal =
        kvplat::LocaleText(kvplat::LocaleItem::DecimalSep, sep, (int)sizeof sep) && sep[0] ? sep[0] : '.';
    form->separator = form->decimal == ',' ? ';' : ',';
    return true;
}

bool RegisterCsv(int32_t filter, const strUstUzytk& settings, const CsvTextForm& form, std::string* out,
                 char* msg) {
    RegisterWalk walk = {{form, out}, filter, settings};
    Header(walk.w, kRegisterColumnTexts, kRegisterCsvColumns);
    if (ListOrders(filter, RegisterRow, &walk, msg, kListTotals)) return true;
    out->clear();
    return false;
}

bool OrderLinesCsv(int32_t filter, const CsvTextForm& form, std::string* out, char* msg) {
    LinesWalk walk = {{form, out}, filter};
    Header(walk.w, kLineColumnTexts, sizeof kLineColumnTexts / sizeof kLineColumnTexts[0]);
    if (ListOrders(filter, OrderLines, &walk, msg)) return true;
    out->clear();
    return false;
}
