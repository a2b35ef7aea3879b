// price_list.h - the seller's price list in memory, the price it suggests
// for a window from the window's drawing, and its CSV form.
//
// The suggestion, all amounts in hundredths of the program currency and
// all lengths in mm:
//   Pp = 2(W + H) frame + sum of fixed mullions L fixed + sum of false
//        mullions L false + sum of sashes 2(ws + hs) sash
//   Pr = sum of muntins L muntin + sum of filled areas 2(w + h) bead
//   Pa = sum of filled areas w h filling(its name)
//   S  = Pp (10000 + colour) + Pr 10000 + Pa 10
// S is in ten-millionths of a hundredth (a metre is 1000 mm, a square metre
// 10^6 mm2, a percent 100 hundredths), so the price per piece is
// S / 10^7 rounded as DzielKwote rounds, plus the hardware rate for every
// opening sash and the window rate. S is formed in 128 bits: at the highest
// rates a large window passes 64 bits.
#ifndef KV_VALUATION_PRICE_LIST_H
#define KV_VALUATION_PRICE_LIST_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "db/price_table.h"
#include "db/records.h"

// The highest rate, hundredths (9 999 999.99), and the highest colour
// surcharge, hundredths of a percent (100.00 %).
const int64_t kMaxPriceRate = 999999999;
const int64_t kMaxColourSurcharge = 10000;

// The kind's word in files and in the designer's line ("profile", "colour",
// ...); null outside the kinds.
const char* PriceKindWord(int32_t kind);
// "The price list already has the colour "Walnut"." in msg.
void PriceListRepeatedName(char* msg, int32_t kind, const char* name);
// How many of the four rates the kind has (profile 4, the others 1).
int PriceKindRates(int32_t kind);

// Checks one entry as the seller gave it. False with the message (and
// *rate the rate at fault, from 0; -1 for the name) when a rate is negative
// or too high, the colour surcharge is above 100.00 %, a rate the kind does
// not have is set, the name is empty (every kind but the window) or given
// (the window).
bool CheckPriceEntry(const PriceEntry& e, int* rate, char* msg);

// The entries of one price list, kept in one order: by kind, then by name
// with letter case ignored, which is also how they are exported.
class PriceList {
public:
    const std::vector<PriceEntry>& entries() const { return entries_; }
    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

    // The entry of that kind whose name matches (trimmed, letter case
    // ignored, as the registers of used elements match), or null.
    const PriceEntry* Find(int32_t kind, const char* name) const;

    // Replaces the whole list. False, the list unchanged, and the message
    // with *bad the index of the offending entry, when an entry fails
    // CheckPriceEntry or repeats a name of its kind.
    bool Assign(const std::vector<PriceEntry>& entries, size_t* bad, char* msg);
    // Adds an entry, or replaces entry `index` (trimming the name first).
    // False, nothing changed, with the message, on a bad entry or a name
    // its kind already has.
    bool Put(const PriceEntry& e, size_t index, char* msg);
    static const size_t kNew = (size_t)-1;
    void Remove(size_t index);

private:
    struct Key {
        int32_t kind;
        char name[128];
    };
    static Key KeyOf(const PriceEntry& e);
    static bool Less(const Key& a, const Key& b);
    void Sort();

    std::vector<PriceEntry> entries_;
    std::vector<Key> keys_;  // alongside entries_
};

// The price list stored in the open database. False, with the message, when
// it cannot be read or a stored entry breaks the list's rules ("The stored
// price list is damaged (entry N): ..."); the list is then left empty.
// `stored` (may be null) gets the entries exactly as read, for a save that
// checks nobody changed them meanwhile (DbSavePriceList's `loaded`).
bool LoadStoredPriceList(PriceList* list, char* msg, std::vector<PriceEntry>* stored = nullptr);

// The suggestion for one window.
struct PriceSuggestion {
    bool ok = false;  // false: the window's structure cannot be built
    int64_t net = 0;  // price of one window, hundredths
    int32_t openingSashes = 0;
    std::vector<std::string> missing;  // "kind name" of each entry the list lacks
};

// Computes the suggestion from the window's names (nazProfil, nazKolor,
// nazOkucie, nazSzpros, nazListwa), thicknesses and drawing. The names that
// would contribute but have no entry are listed in the order profile,
// colour, hardware, muntin, bead, then the fillings in the window's order
// (each once); an empty name shows as its kind alone.
bool SuggestWindowPrice(const strOkno* okno, const PriceList& list, PriceSuggestion* out);

// "kind name, kind name, ..."
std::string JoinMissing(const std::vector<std::string>& missing);

// Reads a rate of an entry of `kind` as the seller types it: digits with "."
// or "," before at most two decimals, blanks around; the user's thousands
// separators between groups of three digits, as the list shows them
// ("1,234.56" in a point locale); for a colour, a "%" at the end. Empty is
// 0. False, with the reason ("is not an amount", "has more than two
// decimals", "is too large"), otherwise.
bool ParsePriceAmount(const char* text, int32_t kind, int64_t* value, const char** why);

// ---- CSV ------------------------------------------------------------------

// Reads a price list file: UTF-8 with an optional byte order mark (a file
// without one that is not UTF-8 is read in the code page `codePage`),
// comma- or semicolon-separated (as its header line is), "." or ","
// decimals, header "kind,name,rate1,rate2,rate3,rate4" after any lines of
// empty cells, empty cells 0; names converted to the code page `codePage`
// (0: the system's ANSI one). All or nothing: on the first bad value in
// file order false, with "line L, column C: ..." in msg (lines counted from
// the file's first).
bool PriceListFromCsv(const char* data, size_t size, int codePage, std::vector<PriceEntry>* entries,
                      char* msg);

// Writes the list as UTF-8 with a byte order mark and CR LF line ends, in the
// list's order, in the register's form for this user (UserCsvForm):
// semicolons and "," decimals where the decimal sign is a comma, else commas
// and "." decimals. False only when the code page is unknown.
bool PriceListToCsv(const PriceList& list, int codePage, std::string* out, char* msg);

// The two as the tools and the dialog use them on files.
bool ImportPriceListFile(const char* path, int codePage, PriceList* list, char* msg);
bool ExportPriceListFile(const char* path, int codePage, const PriceList& list, char* msg);

#endif  // KV_VALUATION_PRICE_LIST_H
