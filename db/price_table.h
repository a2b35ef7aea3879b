// price_table.h - the seller's price list, kept in the order database's
// table T_Cennik. The table is not among the tables of version "1-8": new
// databases get it from the schema, older ones when the seller first saves
// a price list; a database without it has an empty price list and opens as
// before.
#ifndef KV_DB_PRICE_TABLE_H
#define KV_DB_PRICE_TABLE_H

#include <stdint.h>

#include <vector>

// What an entry prices, in the order lists and files show the kinds.
enum PriceKind : int32_t {
    kPriceProfile = 0,   // frame, sash, fixed and false mullion per metre
    kPriceColour = 1,    // surcharge on the profiles' share, hundredths of a percent
    kPriceFilling = 2,   // per square metre
    kPriceHardware = 3,  // per opening sash
    kPriceMuntin = 4,    // per metre
    kPriceBead = 5,      // per metre of glazed edge
    kPriceWindow = 6,    // per window; has no name
    kPriceKindCount = 7,
};

// One row of T_Cennik. Amounts are hundredths of the program currency.
struct PriceEntry {
    int32_t kind;
    char name[128];  // ANSI, trimmed; empty for kPriceWindow
    int64_t rates[4];
};

// "CREATE TABLE IF NOT EXISTS T_Cennik (...)", as the schema has it.
extern const char kDbPriceListTableSql[];

// Reads every entry in table order. A database without the table has none.
// 1 on success; 0 and the message otherwise (entries then empty).
int DbLoadPriceList(std::vector<PriceEntry>* entries, char* msg);

// Replaces the whole price list in one transaction, creating the table
// when the database lacks it. A failure leaves the stored list as it was.
// With `loaded` (the entries as the dialog read them), the save is written
// only if the stored list is still that one; otherwise "The price list was
// changed at another desk ..." and nothing written.
int DbSavePriceList(const std::vector<PriceEntry>& entries, char* msg,
                    const std::vector<PriceEntry>* loaded = nullptr);

// False when the open database cannot be written (a read-only file).
bool DbPriceListWritable();

// The currency the rates are in: the program currency of the settings
// (`idWalPrg`), or -1 when it cannot be read.
int32_t DbPriceListCurrency();

#endif  // KV_DB_PRICE_TABLE_H
