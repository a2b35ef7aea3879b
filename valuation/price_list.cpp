// The price list: its entries, the suggested price of a window and the CSV
// form.
#include "valuation/price_list.h"

#include <inttypes.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <set>
#include <utility>

#include "db/registers.h"
#include "model/operations.h"
#include "model/structure.h"
#include "util/codepage.h"
#include "util/csv.h"
#include "util/files.h"
#include "util/heap.h"
#include "util/kvutil.h"
#include "util/msgbuf.h"
#include "util/platform.h"
#include "valuation/register_csv.h"

namespace {

const char* const kKindWords[kPriceKindCount] = {"profile", "colour", "filling", "hardware",
                                                 "muntin",  "bead",   "window"};

// The name trimmed of blanks and tabs, within its field.
void Trimmed(const char* name, char out[128]) {
    const size_t n = strnlen(name, 127);
    memcpy(out, name, n);
    out[n] = 0;
    mojLtrim(out);
    mojPtrim(out);
}

void RepeatedName(char* msg, int32_t kind, const char* name) {
    KvMsg(msg, "The price list already has the %s \"%s\".", kKindWords[kind], name);
}

}  // namespace

const char* PriceKindWord(int32_t kind) {
    return kind >= 0 && kind < kPriceKindCount ? kKindWords[kind] : nullptr;
}

int PriceKindRates(int32_t kind) { return kind == kPriceProfile ? 4 : 1; }

bool CheckPriceEntry(const PriceEntry& e, int* rate, char* msg) {
    *rate = -1;
    if (!PriceKindWord(e.kind)) {
        KvMsg(msg, "Unknown kind of price list entry.");
        return false;
    }
    char name[128];
    Trimmed(e.name, name);
    if (e.kind == kPriceWindow && name[0]) {
        KvMsg(msg, "The price per window has no name.");
        return false;
    }
    if (e.kind != kPriceWindow && !name[0]) {
        KvMsg(msg, "The name cannot be empty.");
        return false;
    }
    for (int i = 0; i < 4; i++) {
        *rate = i;
        const int64_t v = e.rates[i];
        if (i >= PriceKindRates(e.kind) && v != 0) {
            KvMsg(msg, "A %s entry has one rate only.", kKindWords[e.kind]);
            return false;
        }
        if (v < 0) {
            KvMsg(msg, "A rate cannot be negative.");
            return false;
        }
        if (e.kind == kPriceColour && v > kMaxColourSurcharge) {
            KvMsg(msg, "The colour surcharge cannot be higher than 100.00 %%.");
            return false;
        }
        if (v > kMaxPriceRate) {
            KvMsg(msg, "A rate cannot be higher than 9999999.99.");
            return false;
        }
    }
    *rate = -1;
    return true;
}

// ---- The list ------------------------------------------------------------------

PriceList::Key PriceList::KeyOf(const PriceEntry& e) {
    Key k;
    k.kind = e.kind;
    KluczRejestru(e.name, k.name);
    return k;
}

bool PriceList::Less(const Key& a, const Key& b) {
    if (a.kind != b.kind) return a.kind < b.kind;
    return strcmp(a.name, b.name) < 0;
}

const PriceEntry* PriceList::Find(int32_t kind, const char* name) const {
    Key k;
    k.kind = kind;
    KluczRejestru(name ? name : "", k.name);
    auto it = std::lower_bound(keys_.begin(), keys_.end(), k, Less);
    if (it == keys_.end() || Less(k, *it)) return nullptr;
    return &entries_[(size_t)(it - keys_.begin())];
}

void PriceList::Sort() {
    std::vector<size_t> order(entries_.size());
    for (size_t i = 0; i < order.size(); i++) order[i] = i;
    std::vector<Key> keys(entries_.size());
    for (size_t i = 0; i < entries_.size(); i++) keys[i] = KeyOf(entries_[i]);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return Less(keys[a], keys[b]); });
    std::vector<PriceEntry> sorted;
    sorted.reserve(order.size());
    keys_.clear();
    keys_.reserve(order.size());
    for (size_t i : order) {
        sorted.push_back(entries_[i]);
        keys_.push_back(keys[i]);
    }
    entries_.swap(sorted);
}

bool PriceList::Assign(const std::vector<PriceEntry>& entries, size_t* bad, char* msg) {
    std::vector<PriceEntry> list = entries;
    for (size_t i = 0; i < list.size(); i++) {
        int rate;
        if (!CheckPriceEntry(list[i], &rate, msg)) {
            *bad = i;
            return false;
        }
        Trimmed(list[i].name, list[i].name);
    }
    // A repeated name: the entry that repeats it first in the given order.
    std::vector<size_t> order(list.size());
    std::vector<Key> keys(list.size());
    for (size_t i = 0; i < list.size(); i++) {
        order[i] = i;
        keys[i] = KeyOf(list[i]);
    }
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return Less(keys[a], keys[b]); });
    size_t first = (size_t)-1;
    for (size_t i = 1; i < order.size(); i++)
        if (!Less(keys[order[i - 1]], keys[order[i]])) first = std::min(first, order[i]);
    if (first != (size_t)-1) {
        *bad = first;
        RepeatedName(msg, list[first].kind, list[first].name);
        return false;
    }
    entries_.swap(list);
    Sort();
    return true;
}

bool PriceList::Put(const PriceEntry& given, size_t index, char* msg) {
    PriceEntry e = given;
    int rate;
    if (!CheckPriceEntry(e, &rate, msg)) return false;
    Trimmed(e.name, e.name);
    const PriceEntry* same = Find(e.kind, e.name);
    if (same && (index == kNew || same != &entries_[index])) {
        RepeatedName(msg, e.kind, e.name);
        return false;
    }
    if (index == kNew) {
        entries_.push_back(e);
    } else if (index < entries_.size()) {
        entries_[index] = e;
    } else {
        KvMsg(msg, "The price list has no entry %u.", (unsigned)(index + 1));
        return false;
    }
    Sort();
    return true;
}

void PriceList::Remove(size_t index) {
    if (index >= entries_.size()) return;
    entries_.erase(entries_.begin() + (ptrdiff_t)index);
    keys_.erase(keys_.begin() + (ptrdiff_t)index);
}

bool LoadStoredPriceList(PriceList* list, char* msg, std::vector<PriceEntry>* raw) {
    *list = PriceList();
    std::vector<PriceEntry> stored;
    if (!DbLoadPriceList(&stored, msg)) return false;
    if (raw) *raw = stored;
    size_t bad = 0;
    char why[KV_MSG_LEN];
    if (list->Assign(stored, &bad, why)) return true;
    KvMsg(msg, "The stored price list is damaged (entry %u): %s", (unsigned)(bad + 1), why);
    return false;
}

// ---- The suggestion --------------------------------------------------------------

namespace {

typedef __int128 Wide;

int64_t Width(const strProst& r) { return (int64_t)r.right - r.left; }
int64_t Height(const strProst& r) { return (int64_t)r.bottom - r.top; }

int64_t Rate(const PriceEntry* e, int i) { return e ? e->rates[i] : 0; }

void Missing(PriceSuggestion* out, int32_t kind, const char* name) {
    char n[128];
    Trimmed(name, n);
    std::string text = kKindWords[kind];
    if (n[0]) text.append(" ").append(n);
    out->missing.push_back(text);
}

bool Compute(const strOkno* okno, const uniOperRys* lista, int32_t n, const strObsOkno* obs,
             int32_t liczbaObs, const PriceList& list, PriceSuggestion* out) {
    const PriceEntry* profile = list.Find(kPriceProfile, okno->nazProfil);
    const PriceEntry* colour = list.Find(kPriceColour, okno->nazKolor);
    const PriceEntry* hardware = list.Find(kPriceHardware, okno->nazOkucie);
    const PriceEntry* muntin = list.Find(kPriceMuntin, okno->nazSzpros);
    const PriceEntry* bead = list.Find(kPriceBead, okno->nazListwa);
    const PriceEntry* window = list.Find(kPriceWindow, "");

    const strOperRama& rama = lista[0].rama;
    Wide pp = (Wide)2 * ((int64_t)rama.x1 - rama.x0 + (int64_t)rama.y1 - rama.y0) * Rate(profile, 0);
    Wide pr = 0, pa = 0;
    int32_t opening = 0, muntins = 0, filled = 0;
    for (int32_t j = 1; j < n; j++) {
        const uniOperRys& e = lista[j];
        if (e.typ == kOperSlupekStaly || e.typ == kOperSlupekRuch) {
            const int64_t l = e.slupek.poziomy ? Width(e.slupek.prost) : Height(e.slupek.prost);
            pp += (Wide)l * Rate(profile, e.typ == kOperSlupekStaly ? 2 : 3);
        } else if (e.typ == kOperSkrzydlo) {
            pp += (Wide)2 * (Width(e.skrzydlo.zewn) + Height(e.skrzydlo.zewn)) * Rate(profile, 1);
            if (e.skrzydlo.rodzOtw != 0) opening++;
        } else if (e.typ == kOperSzpros) {
            const int64_t l = e.szpros.poziomy ? Width(e.szpros.prost) : Height(e.szpros.prost);
            pr += (Wide)l * Rate(muntin, 0);
            muntins++;
        }
    }
    for (int32_t i = 0; i < liczbaObs; i++) {
        const strObsOkno& o = obs[i];
        if (!o.wypelniony || o.wypeln <= 0 || o.wypeln >= n || lista[o.wypeln].typ != kOperWypeln) continue;
        const int64_t w = Width(o.prost), h = Height(o.prost);
        if (w <= 0 || h <= 0) return false;  // geometry gone wrong, not a window
        pr += (Wide)2 * (w + h) * Rate(bead, 0);
        pa += (Wide)w * h * Rate(list.Find(kPriceFilling, lista[o.wypeln].wypeln.nazwa), 0);
        filled++;
    }

    const Wide s = pp * (10000 + Rate(colour, 0)) + pr * 10000 + pa * 10;
    const Wide d = 10000000;
    Wide q = s / d;
    if (s > 0 && s % d > d / 2) q++;
    const Wide net = q + (Wide)opening * Rate(hardware, 0) + Rate(window, 0);
    if (net > INT64_MAX || net < INT64_MIN) return false;
    out->net = (int64_t)net;
    out->openingSashes = opening;

    if (!profile) Missing(out, kPriceProfile, okno->nazProfil);
    if (!colour) Missing(out, kPriceColour, okno->nazKolor);
    if (!hardware && opening) Missing(out, kPriceHardware, okno->nazOkucie);
    if (!muntin && muntins) Missing(out, kPriceMuntin, okno->nazSzpros);
    if (!bead && filled) Missing(out, kPriceBead, okno->nazListwa);
    std::vector<std::string> seen;
    for (int32_t j = 1; j < n; j++) {
        if (lista[j].typ != kOperWypeln) continue;
        const char* name = lista[j].wypeln.nazwa;
        if (list.Find(kPriceFilling, name)) continue;
        char key[128];
        KluczRejestru(name, key);
        if (std::find(seen.begin(), seen.end(), key) != seen.end()) continue;
        seen.push_back(key);
        Missing(out, kPriceFilling, name);
    }
    return true;
}

}  // namespace

bool SuggestWindowPrice(const strOkno* okno, const PriceList& list, PriceSuggestion* out) {
    *out = PriceSuggestion();
    if (!okno) return false;
    const int32_t n = okno->liczbaOper;
    if (!okno->oper || n <= 0 || okno->oper[0].typ != kOperRama) return false;
    // The geometry is computed afresh on a copy: derived values are never
    // trusted from storage, and the record is the caller's.
    uniOperRys* lista = (uniOperRys*)KvAlloc((size_t)n * sizeof(uniOperRys));
    if (!lista) return false;
    memcpy(lista, okno->oper, (size_t)n * sizeof(uniOperRys));
    strObsOkno* obs = nullptr;
    int32_t liczbaObs = 0;
    bool ok = false;
    if (ObliczGeometrie(lista, n, FormatStruktury(okno->status), okno, nullptr) &&
        BudujStrukture(lista, n, 0, 0, 0, &obs, &liczbaObs, nullptr)) {
        ok = Compute(okno, lista, n, obs, liczbaObs, list, out);
        ZwolnijStrukture(obs);
    }
    KvFree(lista);
    if (!ok) *out = PriceSuggestion();
    out->ok = ok;
    return ok;
}

std::string JoinMissing(const std::vector<std::string>& missing) {
    std::string text;
    for (size_t i = 0; i < missing.size(); i++) {
        if (i) text += ", ";
        text += missing[i];
    }
    return text;
}

// ---- CSV ---------------------------------------------------------------------------

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
        if (SameWord(kind, kKindWords[k])) e->kind = k;
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
    KluczRejestru(e->name, key);
    if (!seen->insert({e->kind, key}).second) {
        RepeatedName(why, e->kind, e->name);
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
        out->append(kKindWords[e.kind]);
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
