// names.h - the names the program shows for stored codes: order statuses,
// filling and profile types, currencies.
#ifndef KV_DB_NAMES_H
#define KV_DB_NAMES_H

#include <stddef.h>
#include <stdint.h>

#include "db/records.h"

// 0 "NEW", 1-6 the user's names from the settings, -1 "DELETED", else "".
const char* StatusName(const strUstUzytk* settings, int status);

// 0 "Glass", 1 "Acrylic", else "".
const char* FillingTypeName(int type);

// 0 "PVC", 1 "Wood", 2 "ALU", else "".
const char* ProfileTypeName(int type);

// The two forms of an order number.
enum OrderNumberForm {
    kNumberAsShown,     // the register's column and its CSV
    kNumberUpperCased,  // the order window, the printout, the search: upper-cased in the code page
};
// "%d-%s-%4d" of the number, the abbreviation `abbrev` and the year. The
// abbreviation is a field of `width` bytes: at most width - 1 characters
// are read, so an unterminated one (a damaged row) is cut, never overrun.
void ComposeOrderNumber(int32_t number, const char* abbrev, size_t width, int32_t year, OrderNumberForm form,
                        char* text, size_t cap);
// The same of the order's number, its seller's abbreviation and its year.
inline void ComposeOrderNumber(const strZam& order, OrderNumberForm form, char* text, size_t cap) {
    ComposeOrderNumber(order.idZam, order.sDaneUzytk.skrot, sizeof order.sDaneUzytk.skrot, order.rok, form, text,
                       cap);
}

enum { kCurrencyCount = 35 };
// The code of currency index 0-34 ("EUR" is 12), "" outside.
const char* CurrencyCode(int index);

#endif  // KV_DB_NAMES_H
