// suggest_list.h - what a drop-down of suggestions under an edit offers for
// the text typed so far: the entries that begin with it, letter case ignored
// in the code page the texts are kept in.
#ifndef KV_UTIL_SUGGEST_LIST_H
#define KV_UTIL_SUGGEST_LIST_H

#include <stddef.h>

#include <functional>
#include <vector>

// The most entries a drop-down offers.
const size_t kKvSuggestMax = 50;

// Whether `text` begins with `typed`, each byte compared through `upper`
// (KvUpperCaseTable of util/codepage.h).
bool KvBeginsWith(const char* text, const char* typed, const unsigned char upper[256]);

// The indexes, in order, of the first `max` of `count` entries whose text
// (`textOf(i)`) begins with `typed`. An empty typed text offers nothing.
std::vector<size_t> KvSuggestMatches(size_t count, const std::function<const char*(size_t)>& textOf,
                                     const char* typed, const unsigned char upper[256],
                                     size_t max = kKvSuggestMax);

#endif  // KV_UTIL_SUGGEST_LIST_H
