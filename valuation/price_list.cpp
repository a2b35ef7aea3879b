// The price list: its entries and the suggested price of a window (its CSV
// form is in price_list_csv.cpp).
#include "valuation/price_list.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <utility>

#include "db/registers.h"
#include "model/operations.h"
#include "model/structure.h"
#include "util/heap.h"
#include "util/kvutil.h"
#include "util/msgbuf.h"

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

}  // namespace

void PriceListRepeatedName(char* msg, int32_t kind, const char* name) {
    KvMsg(msg, "The price list already has the %s \"%s\".", kKindWords[kind], name);
}

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
    RegisterKey(e.name, k.name);
    return k;
}

bool PriceList::Less(const Key& a, const Key& b) {
    if (a.kind != b.kind) return a.kind < b.kind;
    return strcmp(a.name, b.name) < 0;
}

const PriceEntry* PriceList::Find(int32_t kind, const char* name) const {
    Key k;
    k.kind = kind;
    RegisterKey(name ? name : "", k.name);
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
        PriceListRepeatedName(msg, list[first].kind, list[first].name);
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
        PriceListRepeatedName(msg, e.kind, e.name);
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
        if (e.typ == kOpFixedMullion || e.typ == kOpFalseMullion) {
            const int64_t l = e.slupek.poziomy ? Width(e.slupek.prost) : Height(e.slupek.prost);
            pp += (Wide)l * Rate(profile, e.typ == kOpFixedMullion ? 2 : 3);
        } else if (e.typ == kOpSash) {
            pp += (Wide)2 * (Width(e.skrzydlo.zewn) + Height(e.skrzydlo.zewn)) * Rate(profile, 1);
            if (e.skrzydlo.rodzOtw != 0) opening++;
        } else if (e.typ == kOpMuntin) {
            const int64_t l = e.szpros.poziomy ? Width(e.szpros.prost) : Height(e.szpros.prost);
            pr += (Wide)l * Rate(muntin, 0);
            muntins++;
        }
    }
    for (int32_t i = 0; i < liczbaObs; i++) {
        const strObsOkno& o = obs[i];
        if (!o.hasFilling || o.wypeln <= 0 || o.wypeln >= n || lista[o.wypeln].typ != kOpFilling) continue;
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
        if (lista[j].typ != kOpFilling) continue;
        const char* name = lista[j].wypeln.nazwa;
        if (list.Find(kPriceFilling, name)) continue;
        char key[128];
        RegisterKey(name, key);
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
    if (!okno->oper || n <= 0 || okno->oper[0].typ != kOpFrame) return false;
    // The geometry is computed afresh on a copy: derived values are never
    // trusted from storage, and the record is the caller's.
    uniOperRys* lista = (uniOperRys*)KvAlloc((size_t)n * sizeof(uniOperRys));
    if (!lista) return false;
    memcpy(lista, okno->oper, (size_t)n * sizeof(uniOperRys));
    strObsOkno* obs = nullptr;
    int32_t liczbaObs = 0;
    bool ok = false;
    if (ComputeGeometry(lista, n, StructureFormat(okno->status), okno, nullptr) &&
        BuildStructure(lista, n, 0, 0, 0, &obs, &liczbaObs, nullptr)) {
        ok = Compute(okno, lista, n, obs, liczbaObs, list, out);
        FreeStructure(obs);
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
