// Packing a table of fixed-width string slots into a run of strings and back.
// The settings keep their six status names this way (32-byte slots).
#include "util/kvutil.h"

#include <string.h>

extern "C" int TNapNaT2Tekst(const char* table, int tableSize, int rows, char* dest) {
    if (!table || !dest || rows <= 0 || tableSize <= 0) return 0;
    const int slot = tableSize / rows;
    if (slot <= 0) return 0;
    int written = 0;
    for (int i = 0; i < rows; i++) {
        const char* s = table + (size_t)i * slot;
        // A slot is read only within itself, even when its terminator is missing.
        const void* nul = memchr(s, 0, (size_t)slot);
        int len = nul ? (int)((const char*)nul - s) : slot - 1;
        memcpy(dest + written, s, (size_t)len);
        dest[written + len] = 0;
        written += len + 1;
    }
    return written;
}

extern "C" int T2TekstNaTNapN(const char* packed, int packedLen, int tableSize, int rows, char* table) {
    if (!table || rows <= 0 || tableSize <= 0) return 0;
    const int slot = tableSize / rows;
    if (slot <= 0) return 0;
    memset(table, 0, (size_t)slot * rows);
    int pos = 0;
    for (int i = 0; i < rows && packed && pos < packedLen; i++) {
        const void* nul = memchr(packed + pos, 0, (size_t)(packedLen - pos));
        int len = nul ? (int)((const char*)nul - (packed + pos)) : packedLen - pos;
        int copy = len < slot - 1 ? len : slot - 1;
        memcpy(table + (size_t)i * slot, packed + pos, (size_t)copy);
        pos += len + 1;
    }
    return rows;
}

extern "C" int T2TekstNaTNap(const char* packed, int tableSize, int rows, char* table) {
    if (!packed) return T2TekstNaTNapN(nullptr, 0, tableSize, rows, table);
    // Without a length the packed text is trusted to hold `rows` strings; it
    // is never read further than the strings it holds.
    int len = 0;
    for (int i = 0; i < rows; i++) {
        len += (int)strlen(packed + len) + 1;
    }
    return T2TekstNaTNapN(packed, len, tableSize, rows, table);
}
