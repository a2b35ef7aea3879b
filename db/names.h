// names.h - the names the program shows for stored codes: order statuses,
// filling and profile types, currencies.
#ifndef KV_DB_NAMES_H
#define KV_DB_NAMES_H

#include "db/records.h"

// 0 "NEW", 1-6 the user's names from the settings, -1 "DELETED", else "".
const char* StatusName(const strUstUzytk* settings, int status);

// 0 "Glass", 1 "Acrylic", else "".
const char* FillingTypeName(int type);

// 0 "PVC", 1 "Wood", 2 "ALU", else "".
const char* ProfileTypeName(int type);

enum { kCurrencyCount = 35 };
// The code of currency index 0-34 ("EUR" is 12), "" outside.
const char* CurrencyCode(int index);

#endif  // KV_DB_NAMES_H
