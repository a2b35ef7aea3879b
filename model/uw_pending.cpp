// Stand-in for the Uw computation until the valuation library provides it:
// every window reads as "cannot be computed". Remove this file from kvmodel
// when OknoUw is defined there.
#include "uw.h"

int32_t OknoUw(const strOkno*) { return -1; }
