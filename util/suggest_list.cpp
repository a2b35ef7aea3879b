// The entries a drop-down of suggestions offers for a typed text.
#include "util/suggest_list.h"

bool KvBeginsWith(const char* text, const char* typed, const unsigned char upper[256]) {
    for (; *typed; text++, typed++) {
        if (!*text || upper[(unsigned char)*text] != upper[(unsigned char)*typed]) return false;
    }
    return true;
}

std::vector<size_t> KvSuggestMatches(size_t count, const std::function<const char*(size_t)>& textOf,
                                     const char* typed, const unsigned char upper[256], size_t max) {
    std::vector<size_t> found;
    if (!typed || !*typed) return found;
    for (size_t i = 0; i < count && found.size() < max; i++) {
        const char* text = textOf(i);
        if (text && KvBeginsWith(text, typed, upper)) found.push_back(i);
    }
    return found;
}
