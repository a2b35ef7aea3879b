#include "valuation/register_rows.h"

#include <inttypes.h>
#include <stdio.h>
#include <string.h>

#include <new>

#include "db/names.h"
#include "util/amounttext.h"
#include "util/kvutil.h"
#include "valuation/valuation.h"

namespace {

// A fixed field up to its end or its first 0.
void AddText(std::string* texts, const char* field, size_t width) {
    texts->append(field, strnlen(field, width));
    texts->push_back('\0');
}

template <size_t N>
void AddText(std::string* texts, const char (&field)[N]) {
    AddText(texts, field, N);
}

size_t TextBytes(const std::string& texts, uint32_t at) {
    size_t end = at;
    for (int i = 0; i < 6; i++) end = texts.find('\0', end) + 1;
    return end - at;
}

}  // namespace

void RegisterRows::Clear() {
    rows_.clear();
    texts_.clear();
    garbage_ = 0;
    index_.clear();
    indexStale_ = false;
}

bool RegisterRows::Fill(RegisterRow* r, const strZamRob& z) {
    const strZam& o = z.zam;
    r->key = o.kluczZam;
    r->status = o.status;
    r->number = o.idZam;
    r->year = o.rok;
    r->currency = o.idWalZam;
    r->totalTooLarge = (z.sumy.przepelnione & kTotalOrderGross) != 0;
    r->total = z.sumy.zamBrutto;
    r->netTooLarge = (z.sumy.przepelnione & kTotalOrderNet) != 0;
    r->net = z.sumy.zamNetto;
    r->windows = 0;
    for (int32_t i = 0; o.okna && i < o.liczbaOkien; i++) r->windows += o.okna[i].ilOkien;
    try {
        if (texts_.size() > UINT32_MAX - 4096) Compact();
        if (texts_.size() > UINT32_MAX - 4096) return false;
        r->texts = (uint32_t)texts_.size();
        AddText(&texts_, o.sDaneUzytk.skrot, sizeof o.sDaneUzytk.skrot - 1);  // as the number reads it
        AddText(&texts_, o.dodOznaczZam);
        AddText(&texts_, o.nazwaNabyw);
        AddText(&texts_, o.dataZam);
        AddText(&texts_, o.dataReal);
        AddText(&texts_, o.uwagi);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool RegisterRows::Append(const strZamRob& z) {
    RegisterRow r;
    if (!Fill(&r, z)) return false;
    try {
        rows_.push_back(r);
        if (!indexStale_) index_[r.key] = (uint32_t)(rows_.size() - 1);
    } catch (const std::bad_alloc&) {
        if (rows_.size() && rows_.back().key == r.key) rows_.pop_back();
        indexStale_ = true;
        return false;
    }
    return true;
}

bool RegisterRows::Rewrite(size_t row, const strZamRob& z) {
    RegisterRow r;
    const uint32_t old = rows_[row].texts;
    if (!Fill(&r, z)) return false;
    garbage_ += TextBytes(texts_, old);
    if (r.key != rows_[row].key) indexStale_ = true;
    rows_[row] = r;
    if (garbage_ > texts_.size() / 2) Compact();
    return true;
}

void RegisterRows::Remove(size_t row) {
    garbage_ += TextBytes(texts_, rows_[row].texts);
    rows_.erase(rows_.begin() + (ptrdiff_t)row);
    // The rows after it moved up one: the index is made again when asked.
    indexStale_ = true;
    if (garbage_ > texts_.size() / 2) Compact();
}

void RegisterRows::Compact() {
    std::string kept;
    kept.reserve(texts_.size() - garbage_);
    for (RegisterRow& r : rows_) {
        const size_t n = TextBytes(texts_, r.texts);
        const uint32_t at = (uint32_t)kept.size();
        kept.append(texts_, r.texts, n);
        r.texts = at;
    }
    texts_.swap(kept);
    garbage_ = 0;
}

int RegisterRows::Find(int64_t key) const {
    if (indexStale_) {
        index_.clear();
        try {
            index_.reserve(rows_.size());
            for (size_t i = 0; i < rows_.size(); i++) index_[rows_[i].key] = (uint32_t)i;
            indexStale_ = false;
        } catch (const std::bad_alloc&) {
            index_.clear();
        }
    }
    if (indexStale_) {  // no memory for the index: the list is walked
        for (size_t i = 0; i < rows_.size(); i++)
            if (rows_[i].key == key) return (int)i;
        return -1;
    }
    const auto it = index_.find(key);
    return it == index_.end() ? -1 : (int)it->second;
}

const char* RegisterRows::Text(size_t row, int which) const {
    const char* t = texts_.data() + rows_[row].texts;
    for (int i = 0; i < which; i++) t += strlen(t) + 1;
    return t;
}

void RegisterRows::CellText(size_t row, int column, const strUstUzytk& settings, char* text, int size) const {
    if (!text || size <= 0) return;
    text[0] = 0;
    if (row >= rows_.size()) return;
    const RegisterRow& r = rows_[row];
    const size_t n = (size_t)size;
    char date[64];
    switch (column) {
        case kRegColKey: snprintf(text, n, "%" PRId64, r.key); break;
        case kRegColStatus: snprintf(text, n, "%s", StatusName(&settings, r.status)); break;
        case kRegColNumber: {
            const char* abbrev = Text(row, kTextAbbrev);
            ComposeOrderNumber(r.number, abbrev, strlen(abbrev) + 1, r.year, kNumberAsShown, text, (size_t)n);
            break;
        }
        case kRegColSymbol: snprintf(text, n, "%s", Text(row, kTextSymbol)); break;
        case kRegColBuyer: snprintf(text, n, "%s", Text(row, kTextBuyer)); break;
        case kRegColDate:
        case kRegColDateReal:
            snprintf(text, n, "%s",
                     DajFormatData(Text(row, column == kRegColDate ? kTextDate : kTextDateReal), date, sizeof date)
                         ? date
                         : "");
            break;
        case kRegColTotal: {
            char amount[64];
            if (r.totalTooLarge) snprintf(amount, sizeof amount, "%s", kAmountTooLarge);
            else if (!AmountDisplayText(r.total, amount, sizeof amount)) amount[0] = 0;
            snprintf(text, n, "%s", amount);
            break;
        }
        case kRegColWindows: snprintf(text, n, "%" PRId64, r.windows); break;
        case kRegColNotes: snprintf(text, n, "%s", Text(row, kTextNotes)); break;
    }
}
