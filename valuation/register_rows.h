// register_rows.h - the rows of the register of orders as the main window's
// list shows them: one compact record per order (its key, status, number,
// totals and its texts in one shared block), built from the order list's
// pass and kept in the order they came, with a key-to-row index. The list
// asks for the text of a cell when it draws it; nothing holds a copy of
// every cell.
#ifndef KV_VALUATION_REGISTER_ROWS_H
#define KV_VALUATION_REGISTER_ROWS_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "db/order_record.h"
#include "db/records.h"

// The list's columns, in their order.
enum RegisterColumn {
    kRegColKey,        // the order key (the list's first column, no header)
    kRegColStatus,     // the status name
    kRegColNumber,     // "%d-%s-%4d": number, abbreviation, year
    kRegColSymbol,
    kRegColBuyer,
    kRegColDate,       // date of order, in the user's short form
    kRegColDateReal,   // date of fulfilment
    kRegColTotal,      // the order's gross, or "too large"
    kRegColWindows,    // the windows' quantities summed
    kRegColNotes,
    kRegisterColumnCount
};

struct RegisterRow {
    int64_t key;
    int64_t total;    // the order's gross, hundredths
    int64_t net;      // the order's net, hundredths
    int64_t windows;  // the windows' quantities summed
    int32_t status;
    int32_t number;    // idZam
    int32_t year;      // rok
    int32_t currency;  // idWalZam
    bool totalTooLarge;
    bool netTooLarge;
    uint32_t texts;  // where its texts start in the shared block
};

class RegisterRows {
public:
    void Clear();
    size_t size() const { return rows_.size(); }
    const RegisterRow& operator[](size_t row) const { return rows_[row]; }

    // Adds the order (its totals computed) at the end. False without memory.
    bool Append(const strZamRob& z);
    // Writes the order's row anew in its place.
    bool Rewrite(size_t row, const strZamRob& z);
    void SetStatus(size_t row, int32_t status) { rows_[row].status = status; }
    void Remove(size_t row);
    // The row of the order `key`, or -1.
    int Find(int64_t key) const;

    // The order's date as stored ("yyyy-mm-dd").
    const char* OrderDate(size_t row) const { return Text(row, kTextDate); }

    // The text of a cell as the list shows it, cut to `size` bytes (always
    // terminated); status names from `settings`.
    void CellText(size_t row, int column, const strUstUzytk& settings, char* text, int size) const;

private:
    // The texts of a row: abbreviation, symbol, buyer, the two dates and
    // the notes, each ended by a 0.
    enum { kTextAbbrev, kTextSymbol, kTextBuyer, kTextDate, kTextDateReal, kTextNotes };
    const char* Text(size_t row, int which) const;
    bool Fill(RegisterRow* r, const strZamRob& z);
    void Compact();

    std::vector<RegisterRow> rows_;
    std::string texts_;
    size_t garbage_ = 0;  // bytes of texts no row uses any more
    mutable std::unordered_map<int64_t, uint32_t> index_;
    mutable bool indexStale_ = false;
};

#endif  // KV_VALUATION_REGISTER_ROWS_H
