// A price list entry in one expression, for the tests and benchmarks of the
// price list.
#ifndef KV_TESTS_NATIVE_PRICE_ENTRIES_H
#define KV_TESTS_NATIVE_PRICE_ENTRIES_H

#include <stdio.h>

#include "db/price_table.h"

inline PriceEntry Entry(int32_t kind, const char* name, int64_t r0, int64_t r1 = 0, int64_t r2 = 0,
                        int64_t r3 = 0) {
    PriceEntry e{};
    e.kind = kind;
    snprintf(e.name, sizeof e.name, "%s", name);
    e.rates[0] = r0, e.rates[1] = r1, e.rates[2] = r2, e.rates[3] = r3;
    return e;
}

#endif  // KV_TESTS_NATIVE_PRICE_ENTRIES_H
