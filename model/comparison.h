// comparison.h - an order compared with an earlier copy of itself, and an
// accessory's size: one definition of each for the order window, the
// accessory dialog, the database code and the tools.
#ifndef KV_MODEL_COMPARISON_H
#define KV_MODEL_COMPARISON_H

#include <stdint.h>

#include "db/order_record.h"
#include "db/records.h"

// 1 when nothing that is stored differs: the order's columns, every
// accessory, every window with the defining part of each operation. This
// is what "Cancel" in correction asks about, and what a saved order read
// back must equal.
// Texts compare up to their terminators and blocks field by field, so
// padding and bytes left behind a shortened text never count as a change.
int OrderUnchanged(const strZamRob* a, const strZamRob* b);

// The accessory's size in ten-thousandths: 0 for no dimensions, dimension
// 1, or the product of two (three) dimensions / 10 000 (/ 100 000 000)
// rounded half away from zero, computed exactly whatever the dimensions.
// 1 with *size set; 0 when the result lies outside +-INT64_MAX (or ilWym is
// outside 0-3), *size then left alone.
int ComputeAccessorySize(const strDodatZam* d, int64_t* size);

// The size text: the size as rate text trimmed to the shortest of 0-3
// decimals, a space and the unit; empty for no dimensions or an oversized
// product. `cap` bytes at most.
void AccessorySizeText(const strDodatZam* d, char* out, int cap);

#endif  // KV_MODEL_COMPARISON_H
