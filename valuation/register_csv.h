// register_csv.h - the register of orders and the lines of its orders as
// CSV files for a spreadsheet: UTF-8 with a byte order mark, CR LF line
// ends, fields quoted where needed, amounts as plain numbers with two
// decimals and the user's decimal sign, dates as the register shows them.
// A text that begins with "=", "+", "-", "@", a tab or a carriage return
// gets a leading apostrophe, so that a spreadsheet does not run it as a
// formula; amounts and quantities never do.
#ifndef KV_VALUATION_REGISTER_CSV_H
#define KV_VALUATION_REGISTER_CSV_H

#include <stdint.h>

#include <string>

#include "db/records.h"
#include "util/codepage.h"

// The register's columns that have a header, in the list's order.
enum { kRegisterCsvColumns = 9 };
extern const char* const kRegisterColumnTexts[kRegisterCsvColumns];
// "Status", "Order No.", "Order symbol", "Buyer", "Date of order",
// "Date of fulfilment", "Total", "Qty of windows", "Notes"

// How the files are written for this user.
struct CsvTextForm {
    char decimal;     // the user's decimal sign
    char separator;   // ';' where the decimal sign is a comma, ',' elsewhere
    KvCodePage page;  // the code page the database keeps its texts in
};

// The form of the user's locale, with the code page `codePage` (0: the
// system's ANSI code page). False with the message for an unknown code page.
bool UserCsvForm(int codePage, CsvTextForm* form, char* msg);

// One line per order the register shows with `filter` (0 every order, 1-6
// one status; deleted orders never), after the header line of the column
// texts; the status names from `settings`.
bool RegisterCsv(int32_t filter, const strUstUzytk& settings, const CsvTextForm& form, std::string* out,
                 char* msg);

// One line per window and per accessory of the orders shown with `filter`:
// "Order No.", "Buyer", "Date of order", "Kind" (window or accessory),
// "Name", "Size" ("W x H" in mm; an accessory's size and unit), "Quantity",
// "Unit net", "Line net", "Line gross".
bool OrderLinesCsv(int32_t filter, const CsvTextForm& form, std::string* out, char* msg);

#endif  // KV_VALUATION_REGISTER_CSV_H
