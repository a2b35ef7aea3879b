// The price list's CSV form: one entry a line, "kind;name;rate1..rate4",
// amounts in the locale's or the file's decimal form.
#include <inttypes.h>
#include <stdio.h>
#include <string.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "db/registers.h"
#include "util/codepage.h"
#include "util/csv.h"
#include "util/files.h"
#include "util/kvutil.h"
#include "util/msgbuf.h"
#include "util/platform.h"
#include "valuation/price_list.h"
#include "valuation/register_csv.h"

namespace {

const char* const kHeader[6] = {"kind", "name", "rate1", "rate2", "rate3", "rate4"};

std::string Trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t')) a++;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) b--;
    return s.substr(a, b - a);
}

bool SameWord(const std::string& a, const char* b) {
    if (a.size() != strlen(b)) return false;
    for (size_t i = 0; i < a.size(); i++) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
        if (c != b[i]) return false;
    }
    return true;
}

// An amount with "." or "," decimals, at most two of them; empty is 0.
// False for anything else, with the reason.
bool ParseAmount(const std::string& cell, int64_t* v, const char** why) {
    const std::string t = Trim(cell);
    *v = 0;
    if (t.empty()) return true;
    size_t i = 0;
    bool negative = false;
    if (t[i] == '-' || t[i] == '+') negative = t[i++] == '-';
    int64_t whole = 0, frac = 0;
    int digits = 0, decimals = -1;
    for (; i < t.size(); i++) {
        const char c = t[i];
        if (c >= '0' && c <= '9') {
            if (decimals >= 0) {
                if (++decimals > 2) {
                    *why = "has more than two decimals";
                    return false;
                }
                frac = frac * 10 + (c - '0');
            } else {
                if (++digits > 15) {
                    *why = "is too large";
                    return false;
                }
                whole = whole * 10 + (c - '0');
            }
        } else if ((c == '.' || c == ',') && decimals < 0) {
            decimals = 0;
        } else {
            *why = "is not an amount";
            return false;
        }
    }
    if (digits == 0 && decimals <= 0) {
        *why = "is not an amount";
        return false;
    }
    if (decimals == 1) frac *= 10;
    *v = whole * 100 + frac;
    if (negative) *v = -*v;
    return true;
}

// The text without the user's thousands separators: one counts only between
// a digit and three more digits, before any decimal sign, so "1,5" in a
// point locale is still one and a half and "1,234.56" is 1234.56.
std::string WithoutGrouping(const std::string& t) {
    char sep[8] = "", dec[8] = "";
    kvplat::LocaleText(kvplat::LocaleItem::ThousandSep, sep, (int)sizeof sep);
    kvplat::LocaleText(kvplat::LocaleItem::DecimalSep, dec, (int)sizeof dec);
    std::vector<std::string> groups;
    if (sep[0] && strcmp(sep, dec) != 0) groups.push_back(sep);
    // A hard space is typed as a plain one.
    if (strcmp(sep, "\xA0") == 0) groups.push_back(" ");
    auto digit = [&t](size_t i) { return i < t.size() && t[i] >= '0' && t[i] <= '9'; };
    std::string out;
    for (size_t i = 0; i < t.size();) {
        if (dec[0] && t[i] == dec[0]) {
            out.append(t, i, std::string::npos);
            break;
        }
        bool grouping = false;
        for (const std::string& g : groups) {
            const size_t after = i + g.size();
            if (i > 0 && digit(i - 1) && t.compare(i, g.size(), g) == 0 && digit(after) && digit(after + 1) &&
                digit(after + 2) && !digit(after + 3)) {
                i = after;
                grouping = true;
                break;
            }
        }
        if (!grouping) out.push_back(t[i++]);
    }
    return out;
}

}  // namespace

bool ParsePriceAmount(const char* text, int32_t kind, int64_t* value, const char** why) {
    std::string t = Trim(text ? text : "");
    // A surcharge is a percentage and may say so.
    if (kind == kPriceColour && !t.empty() && t.back() == '%') {
        t = Trim(t.substr(0, t.size() - 1));
        if (t.empty()) {
            *value = 0;
            *why = "is not an amount";
            return false;
        }
    }
    return ParseAmount(WithoutGrouping(t), value, why);
}

namespace {

void Where(char* msg, int line, int column, const char* fmt, const char* a = "", const char* b = "") {
    char text[KV_MSG_LEN];
    snprintf(text, sizeof text, fmt, a, b);
    KvMsg(msg, "line %d, column %d: %s", line, column, text);
}

void AmountText(int64_t v, char decimal, std::string* out) {
    char buf[32];
    snprintf(buf, sizeof buf, "%" PRId64 "%c%02d", v / 100, decimal, (int)(v % 100));
    out->append(buf);
}

bool Blank(const std::vector<std::string>& cells) {
    for (const std::string& cell : cells)
        if (!Trim(cell).empty()) return false;
    return true;
}

void ReaderError(char* msg, const KvCsvReader& reader, int line, int column) {
    Where(msg, line, column,
          reader.error() == KvCsvReader::kTextAfterQuote ? "text after the closing quote"
                                                         : "a quote is not closed");
}

// The name of a line, in the code page. False with the message.
bool ReadName(const std::vector<std::string>& f, int line, const KvCodePage& page, PriceEntry* e, char* msg) {
    const std::string name = f.size() > 1 ? Trim(f[1]) : std::string();
    // A NUL would silently end the name where the database keeps it.
    if (name.find('\0') != std::string::npos) {
        Where(msg, line, 2, "the name holds a NUL character");
        return false;
    }
    std::string ansi;
    size_t bad = 0;
    if (!KvUtf8ToAnsi(page, name.data(), name.size(), &ansi, &bad)) {
        char cp[16];
        snprintf(cp, sizeof cp, "%d", page.cp);
        Where(msg, line, 2, "the name holds a character that code page %s does not have", cp);
        return false;
    }
    if (ansi.size() > 127) {
        Where(msg, line, 2, "the name is longer than 127 characters");
        return false;
    }
    memcpy(e->name, ansi.c_str(), ansi.size() + 1);
    return true;
}

typedef std::set<std::pair<int32_t, std::string>> SeenNames;

// One line of entries. False with the message of its first bad value, left
// to right: kind, name (a name an earlier line has included), rates.
bool ReadEntry(const std::vector<std::string>& f, int line, const KvCodePage& page, SeenNames* seen,
               PriceEntry* e, char* msg) {
    const std::string kind = Trim(f[0]);
    e->kind = -1;
    for (int k = 0; k < kPriceKindCount; k++)
        if (SameWord(kind, PriceKindWord(k))) e->kind = k;
    if (SameWord(kind, "color")) e->kind = kPriceColour;
    if (e->kind < 0) {
        Where(msg, line, 1, "\"%s\" is not a kind (profile, colour, filling, hardware, muntin, bead, window)",
              kind.c_str());
        return false;
    }
    if (!ReadName(f, line, page, e, msg)) return false;
    // The first cell that is not an amount.
    int column = 0;
    std::string text;
    for (size_t c = 2; c < f.size() && !column; c++) {
        const char* why = "";
        if (c >= 6 && !Trim(f[c]).empty()) {
            column = (int)c + 1;
            text = "a line has at most six columns";
        } else if (c < 6 && !ParseAmount(f[c], &e->rates[c - 2], &why)) {
            column = (int)c + 1;
            text = "\"" + Trim(f[c]) + "\" " + why;
        }
    }
    int rate;
    char why[KV_MSG_LEN];
    const bool ok = CheckPriceEntry(*e, &rate, why);
    if (!ok && rate < 0) {
        Where(msg, line, 2, "%s", why);
        return false;
    }
    char key[128];
    RegisterKey(e->name, key);
    if (!seen->insert({e->kind, key}).second) {
        PriceListRepeatedName(why, e->kind, e->name);
        Where(msg, line, 2, "%s", why);
        return false;
    }
    if (!ok && (!column || rate + 3 < column)) {
        column = rate + 3;
        text = why;
    }
    if (!column) return true;
    Where(msg, line, column, "%s", text.c_str());
    return false;
}

}  // namespace

bool PriceListFromCsv(const char* data, size_t size, int codePage, std::vector<PriceEntry>* entries,
                      char* msg) {
    entries->clear();
    KvCodePage page;
    if (!KvLoadCodePage(codePage, &page)) {
        KvMsg(msg, "Code page %d is not one the program can convert names to.", codePage);
        return false;
    }
    // What a spreadsheet saves as "CSV" on an older Windows is in the ANSI
    // code page: a file that is not UTF-8 (and does not say it is) is read
    // as that. The line breaks and separators stay where they were.
    std::string converted;
    if (!(size >= 3 && memcmp(data, kKvUtf8Bom, 3) == 0) && !KvIsUtf8(data, size)) {
        KvAnsiToUtf8(page, data, size, &converted);
        data = converted.data();
        size = converted.size();
    }
    KvCsvReader reader(data, size);
    reader.SetSeparator(reader.DetectSeparator());
    std::vector<std::string> f;
    int line = 0, column = 0;
    // Lines of empty cells above the header, as below the table, are passed over.
    KvCsvReader::Result r;
    while ((r = reader.Next(&f, &line, &column)) == KvCsvReader::kRecord && Blank(f)) {}
    if (r == KvCsvReader::kError) {
        ReaderError(msg, reader, line, column);
        return false;
    }
    for (int c = 0; c < 6; c++) {
        if (r != KvCsvReader::kRecord || (size_t)c >= f.size() || !SameWord(Trim(f[c]), kHeader[c])) {
            Where(msg, r == KvCsvReader::kRecord ? line : 1, c + 1,
                  "the header must be kind,name,rate1,rate2,rate3,rate4");
            return false;
        }
    }
    std::vector<PriceEntry> list;
    SeenNames seen;
    while ((r = reader.Next(&f, &line, &column)) == KvCsvReader::kRecord) {
        if (Blank(f)) continue;
        PriceEntry e{};
        if (!ReadEntry(f, line, page, &seen, &e, msg)) return false;
        list.push_back(e);
    }
    if (r == KvCsvReader::kError) {
        ReaderError(msg, reader, line, column);
        return false;
    }
    entries->swap(list);
    return true;
}

bool PriceListToCsv(const PriceList& list, int codePage, std::string* out, char* msg) {
    // The register's form: ";" and "," decimals where the user's decimal
    // sign is a comma.
    CsvTextForm form;
    if (!UserCsvForm(codePage, &form, msg)) return false;
    const char sep = form.separator;
    out->assign(kKvUtf8Bom);
    for (int c = 0; c < 6; c++) {
        if (c) out->push_back(sep);
        out->append(kHeader[c]);
    }
    out->append("\r\n");
    std::string name;
    for (const PriceEntry& e : list.entries()) {
        out->append(PriceKindWord(e.kind));
        out->push_back(sep);
        name.clear();
        KvAnsiToUtf8(form.page, e.name, strnlen(e.name, sizeof e.name - 1), &name);
        KvCsvField(out, name, sep);
        for (int i = 0; i < 4; i++) {
            out->push_back(sep);
            if (i < PriceKindRates(e.kind)) AmountText(e.rates[i], form.decimal, out);
        }
        out->append("\r\n");
    }
    return true;
}

bool ImportPriceListFile(const char* path, int codePage, PriceList* list, char* msg) {
    std::string data;
    if (!KvReadWholeFile(path, &data, msg)) return false;
    std::vector<PriceEntry> entries;
    if (!PriceListFromCsv(data.data(), data.size(), codePage, &entries, msg)) return false;
    size_t bad;
    return list->Assign(entries, &bad, msg);
}

bool ExportPriceListFile(const char* path, int codePage, const PriceList& list, char* msg) {
    std::string data;
    return PriceListToCsv(list, codePage, &data, msg) &&
           KvWriteWholeFile(path, data.data(), data.size(), msg);
}
