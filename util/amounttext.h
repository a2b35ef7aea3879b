// amounttext.h - the one text form of a computed amount on the screens and
// the printout: the locale's grouping and separators and exactly two
// decimals ("1 188,00", "-0,50"), so that columns of amounts line up.
#ifndef KV_UTIL_AMOUNTTEXT_H
#define KV_UTIL_AMOUNTTEXT_H

#include <stdint.h>

// Writes the amount (hundredths) grouped as the locale's number formatter
// groups it, always with two decimals. Returns the length plus one, or 0
// (dest empty when destSize > 0) when the formatter fails or the text does
// not fit.
int KwotaNaTekst2(int64_t amount, char* dest, int destSize);

#endif  // KV_UTIL_AMOUNTTEXT_H
