// uw.h - the thermal transmittance Uw of a window, as the description shows it.
#ifndef KV_MODEL_UW_H
#define KV_MODEL_UW_H

#include <stdint.h>

#include "db/records.h"

// Uw of the window in hundredths of W/(m2 K): the value entered by hand when
// status bit 3 says so, else computed from its factors and geometry; -1 when
// it cannot be computed.
int32_t WindowUw(const strOkno* okno);

#endif  // KV_MODEL_UW_H
