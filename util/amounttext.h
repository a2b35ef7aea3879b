// amounttext.h - the one text form of a computed amount wherever the
// program shows one (order window, accessory list, register, printout).
#ifndef KV_UTIL_AMOUNTTEXT_H
#define KV_UTIL_AMOUNTTEXT_H

#include <stdint.h>

// The amount (hundredths) grouped by the locale's number format with exactly
// two decimals: "1 188.00", "-0.50", never "1 188" beside "1 141.26". Shown
// right-aligned. Returns the length plus one, or 0 with the empty text (when
// destSize > 0) when the formatter fails or the text does not fit.
int AmountDisplayText(int64_t amount, char* dest, int destSize);

#endif  // KV_UTIL_AMOUNTTEXT_H
