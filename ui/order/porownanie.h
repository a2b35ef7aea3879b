// porownanie.h - the order window's portable arithmetic: the comparison
// behind "Cancel" in correction, and an accessory's size.
#ifndef KV_UI_ORDER_POROWNANIE_H
#define KV_UI_ORDER_POROWNANIE_H

#include <stdint.h>

#include "records.h"
#include "zamowienie.h"

// 1 when the seller changed nothing that is stored: the order's columns,
// every accessory, every window with the defining part of each operation.
// Texts compare up to their terminators and blocks field by field, so
// padding and bytes left behind a shortened text never count as a change.
int ZamBezZmian(const strZamRob* a, const strZamRob* b);

// The accessory's size in ten-thousandths: 0 for no dimensions, dimension
// 1, or the product of two (three) dimensions / 10 000 (/ 100 000 000)
// rounded half up. 0 when the exact result does not fit in 64 bits; *size
// is then left alone.
int RozmiarDodatkuDokl(const strDodatZam* d, int64_t* size);

// The size text: the size as rate text trimmed to the shortest of 0-3
// decimals, a space and the unit; empty for no dimensions or an oversized
// product. `cap` bytes at most.
void TekstRozmiaruDodatku(const strDodatZam* d, char* out, int cap);

#endif  // KV_UI_ORDER_POROWNANIE_H
