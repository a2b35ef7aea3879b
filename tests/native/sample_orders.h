// Orders made and saved through the program's own paths, for the tests and
// benchmarks of what reads them back.
#ifndef KV_TESTS_NATIVE_SAMPLE_ORDERS_H
#define KV_TESTS_NATIVE_SAMPLE_ORDERS_H

#include <stdint.h>

#include "db/order_record.h"
#include "db/records.h"

// A window of ten elements, 1500 x 1400 in structure format 5: a vertical
// fixed mullion, a horizontal one in its left part, glass above and below
// it, a tilt & turn sash on the right with its glass, and three muntins.
// Its list comes from the private heap (release with FreeWindow's list or
// KvFree(o->oper)).
void TenOpWindow(strOkno* o, int64_t cena, int32_t ilosc);

// Builds an order with the settings' defaults and the next number: `okien`
// ten-element windows (prices 1000,00 + 100,00 * i, quantity i + 1) and
// `dodatkow` accessories; saves it with SaveNewOrder and then sets
// `status`. Returns its key, or 0 with the message in msg.
int64_t SaveTestOrder(int32_t okien, int32_t dodatkow, int32_t status, char* msg);

#endif  // KV_TESTS_NATIVE_SAMPLE_ORDERS_H
