// kwotatekst.h - amounts shown in a window: grouped, always two decimals.
//
// The grouped form of the utility library drops the decimals of a whole
// amount ("1 234"), as an entry field wants; a computed price or total reads
// better in a column of figures with them ("1 234,00").
#ifndef KV_UTIL_KWOTATEKST_H
#define KV_UTIL_KWOTATEKST_H

#include <stdint.h>

// The grouped text of `amount` (hundredths) in the user's locale with
// exactly two decimals, also for a whole amount and whatever the locale's
// negative form. Returns the length plus one, or 0 (dest then empty when
// destSize > 0) when the formatter fails or the text does not fit.
int KwotaGrupDwaMiejsca(int64_t amount, char* dest, int destSize);

#endif  // KV_UTIL_KWOTATEKST_H
