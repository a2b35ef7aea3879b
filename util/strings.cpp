// Small text routines on 8-bit ANSI text. Blanks are the space and the tab;
// a newline ends a line of text wherever a routine reads to the end.
#include "util/kvutil.h"
#include "util/platform.h"

#include <ctype.h>
#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>

static bool Blank(char c) { return c == ' ' || c == '\t'; }

extern "C" int kv_isblank(int c) { return c == ' ' || c == '\t'; }

// ---- Trimming, copying, conversions -------------------------------------------

extern "C" void mojLtrim(char* text) {
    if (!text) return;
    size_t n = 0;
    while (Blank(text[n])) n++;
    if (n) memmove(text, text + n, strlen(text + n) + 1);
}

extern "C" void mojPtrim(char* text) {
    if (!text) return;
    size_t len = strlen(text);
    while (len > 0 && Blank(text[len - 1])) text[--len] = 0;
}

extern "C" char* strcpyNull(char* dest, const char* src) {
    if (!dest) return dest;
    if (!src) {
        dest[0] = 0;
        return dest;
    }
    return (char*)memmove(dest, src, strlen(src) + 1);
}

// atoi and atol leave an out-of-range value undefined; strtol saturates.
extern "C" int atoiNull(const char* text) {
    if (!text) return 0;
    long v = strtol(text, nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return (int)v;
}

extern "C" long atolNull(const char* text) { return text ? strtol(text, nullptr, 10) : 0; }
extern "C" int64_t atollNull(const char* text) { return text ? (int64_t)strtoll(text, nullptr, 10) : 0; }
extern "C" float atoffNull(const char* text) { return text ? strtof(text, nullptr) : 0.0f; }

// ---- Tokens ---------------------------------------------------------------------

extern "C" const char* LewyTokenBialaSpc(const char* src, char* dest, int maxLen) {
    if (dest) dest[0] = 0;
    if (!src || !dest || !*src || *src == '\n') return nullptr;
    int n = 0;
    while (n < maxLen && src[n] && src[n] != '\n' && !Blank(src[n])) {
        dest[n] = src[n];
        n++;
    }
    dest[n] = 0;
    return Blank(src[n]) ? src + n + 1 : src + n;
}

extern "C" const char* LewyToken(const char* src, char* dest, char sep, int maxLen) {
    if (Blank(sep)) return LewyTokenBialaSpc(src, dest, maxLen);
    if (dest) dest[0] = 0;
    if (!src || !dest || !*src || *src == '\n') return nullptr;
    int n = 0;
    while (n < maxLen && src[n] && src[n] != '\n' && src[n] != sep) {
        dest[n] = src[n];
        n++;
    }
    dest[n] = 0;
    // A separator of 0 or '\n' never counts as one: the end of the text and
    // the end of the line are not stepped over.
    return (src[n] == sep && sep && sep != '\n') ? src + n + 1 : src + n;
}

extern "C" const char* dzielCiagZnak(const char* src, char* dest, char sep) {
    if (dest) dest[0] = 0;
    if (!src || !dest) return nullptr;
    while (Blank(*src)) src++;
    const bool blankSep = Blank(sep);
    if (!*src || *src == '\n' || (!blankSep && *src == sep)) return nullptr;
    auto ends = [&](char c) { return !c || c == '\n' || (blankSep ? Blank(c) : c == sep); };
    int n = 0;
    const char* p = src;
    for (; !ends(*p); p++) {
        if (n < KV_POLE_LEN - 1) dest[n++] = *p;
    }
    dest[n] = 0;
    // Only a separator is stepped over: the newline and the end stay for
    // the next call, which then reports that the line is done.
    return (*p && *p != '\n') ? p + 1 : p;
}

// ---- Searching ------------------------------------------------------------------

extern "C" const char* mojIndex(const char* text, char c) { return (text && c) ? strchr(text, c) : nullptr; }

extern "C" const char* mojRindex(const char* text, char c) {
    return (text && c) ? strrchr(text, c) : nullptr;
}

extern "C" const char* ostatSlowo(const char* text, char sep) {
    if (!text || !*text) return nullptr;
    const char* last = nullptr;
    if (Blank(sep)) {
        const char* a = strrchr(text, ' ');
        const char* b = strrchr(text, '\t');
        last = a > b ? a : b;
        if (!a) last = b;
        if (!b) last = a;
    } else if (sep) {
        last = strrchr(text, sep);
    }
    return last ? last + 1 : text;
}

extern "C" void wstawLitere(char* text, char c, int pos) {
    if (!text) return;
    const size_t len = strlen(text);
    size_t at = pos < 0 ? 0 : (size_t)pos > len ? len : (size_t)pos;
    memmove(text + at + 1, text + at, len - at + 1);
    text[at] = c;
}

extern "C" void wytnijZNapisu(char* text, int start, int end) {
    if (!text) return;
    const size_t len = strlen(text);
    if (start < 0) start = 0;
    if (end < start || (size_t)start >= len) return;
    size_t last = (size_t)end >= len ? len - 1 : (size_t)end;
    memmove(text + start, text + last + 1, len - last);
}

extern "C" int dajLinie(FILE* file, char* buf) {
    if (!buf) return 0;
    buf[0] = 0;
    if (!file || !fgets(buf, KV_LINE_LEN, file)) return 0;
    size_t len = strlen(buf);
    while (len > 0 && (buf[len - 1] == '\n' || buf[len - 1] == '\r')) buf[--len] = 0;
    return 1;
}

// ---- Case -----------------------------------------------------------------------

static int SameMapped(const char* text, const char* pattern, unsigned char (*map)(unsigned char)) {
    if (!text || !pattern) return 0;
    for (; *text; text++, pattern++) {
        if (map((unsigned char)*text) != (unsigned char)*pattern) return 0;
    }
    return *pattern == 0;
}

extern "C" int CzyTenSamNapDuzLit(const char* text, const char* pattern) {
    return SameMapped(text, pattern, kvplat::UpperChar);
}

extern "C" int CzyTenSamNapMalLit(const char* text, const char* pattern) {
    return SameMapped(text, pattern, kvplat::LowerChar);
}

// The east-European character set (code 238) is code page 1250: its letters
// above 127 pair up by fixed offsets, not by the C library's case tables.
static const int kEastEurope = 238;

static int Upper1250(unsigned c) {
    switch (c) {
        case 0x9A:
        case 0x9C:
        case 0x9D:
        case 0x9E:
        case 0x9F: return (int)c - 0x10;  // s t z
        case 0xB3: return 0xA3;           // l stroke
        case 0xB9: return 0xA5;           // a ogonek
        case 0xBA: return 0xAA;           // s cedilla
        case 0xBE: return 0xBC;           // l caron
        case 0xBF: return 0xAF;           // z dot
        default: break;
    }
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return (int)c - 0x20;
    return (int)c;
}

static int Lower1250(unsigned c) {
    switch (c) {
        case 0x8A:
        case 0x8C:
        case 0x8D:
        case 0x8E:
        case 0x8F: return (int)c + 0x10;
        case 0xA3: return 0xB3;
        case 0xA5: return 0xB9;
        case 0xAA: return 0xBA;
        case 0xBC: return 0xBE;
        case 0xAF: return 0xBF;
        default: break;
    }
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return (int)c + 0x20;
    return (int)c;
}

extern "C" int ToUpperStrKod(int c, int charset) {
    const unsigned u = (unsigned char)c;
    if (charset == kEastEurope && u > 127) return Upper1250(u);
    // toupper of a negative char is undefined: it always gets the byte.
    return toupper((int)u);
}

extern "C" int ToLowerStrKod(int c, int charset) {
    const unsigned u = (unsigned char)c;
    if (charset == kEastEurope && u > 127) return Lower1250(u);
    return tolower((int)u);
}

// ---- LIKE -----------------------------------------------------------------------

namespace {

struct Like {
    const char* text;
    size_t len;
    int textCode;
    int patCode;

    bool Eq(size_t at, const char* piece, size_t n) const {
        if (at + n > len) return false;
        for (size_t i = 0; i < n; i++) {
            if (ToUpperStrKod(text[at + i], textCode) != ToUpperStrKod(piece[i], patCode)) return false;
        }
        return true;
    }
    // First occurrence of the piece at or after `from`; len + 1 when none.
    size_t Find(size_t from, const char* piece, size_t n) const {
        for (size_t at = from; at + n <= len; at++) {
            if (Eq(at, piece, n)) return at;
        }
        return len + 1;
    }
};

}  // namespace

// One piece of the pattern against the text from *pos. The search is
// greedy-first and never backtracks: "%a%b" on "aab" takes the first "a".
static bool RobSqlLike(const Like& m, char kind, const char* rest, size_t n, size_t* pos, bool* open) {
    if (kind == '%') {
        if (n == 0) {
            *open = true;
            return true;
        }
        size_t at = m.Find(*pos, rest, n);
        if (at > m.len) return false;
        *pos = at + n;
    } else if (kind == '_') {
        if (*pos >= m.len) return false;
        ++*pos;
        if (n > 0) {
            if (*open) {
                size_t at = m.Find(*pos, rest, n);
                if (at > m.len) return false;
                *pos = at + n;
            } else {
                if (!m.Eq(*pos, rest, n)) return false;
                *pos += n;
            }
        }
    } else {
        if (!m.Eq(*pos, rest, n)) return false;
        *pos += n;
    }
    *open = false;
    return true;
}

extern "C" int SqlLike(const char* text, int textCharset, const char* pattern, int patternCharset) {
    if (!text || !pattern) return 0;
    if (textCharset != patternCharset) {
        // Letters above 127 mean different things in the two sets.
        for (const char* p = pattern; *p; p++) {
            if ((unsigned char)*p > 127) return 0;
        }
    }
    Like m{text, strlen(text), textCharset, patternCharset};
    size_t pos = 0;
    bool open = false;
    const char* p = pattern;
    while (*p) {
        char kind = (*p == '%' || *p == '_') ? *p : 0;
        const char* rest = kind ? p + 1 : p;
        size_t n = strcspn(rest, "%_");
        if (!RobSqlLike(m, kind, rest, n, &pos, &open)) return 0;
        p = rest + n;
    }
    return pos == m.len || open;
}

// ---- Hexadecimal and base 62 ------------------------------------------------------

extern "C" char* BinNaHex(const void* bytes, int count, char* buf) {
    if (!buf) return buf;
    static const char kHex[] = "0123456789ABCDEF";
    const unsigned char* b = (const unsigned char*)bytes;
    int i = 0;
    for (; b && i < count; i++) {
        buf[2 * i] = kHex[b[i] >> 4];
        buf[2 * i + 1] = kHex[b[i] & 15];
    }
    buf[2 * i] = 0;
    return buf;
}

static int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

extern "C" void* HexNaBin(const char* text, void* buf) {
    if (!buf) return nullptr;
    unsigned char* out = (unsigned char*)buf;
    // Checked whole before anything is written, so a refused text leaves no
    // half-converted bytes behind.
    size_t len = 0;
    bool ok = text != nullptr;
    for (; ok && text[len]; len++) ok = HexValue(text[len]) >= 0;
    if (!ok || len % 2) {
        out[0] = 0;
        return nullptr;
    }
    for (size_t i = 0; i < len / 2; i++) {
        out[i] = (unsigned char)(HexValue(text[2 * i]) << 4 | HexValue(text[2 * i + 1]));
    }
    return buf;
}

extern "C" char Liczba32ZnakAscii(int value) {
    if (value < 0 || value > 61) return ' ';
    if (value < 10) return (char)('0' + value);
    if (value < 36) return (char)('A' + value - 10);
    return (char)('a' + value - 36);
}

extern "C" int ZnakAsciiLiczba32(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    if (c >= 'a' && c <= 'z') return c - 'a' + 36;
    return c;
}

extern "C" int GenerujUnikLos(int* arr, int count, unsigned seed, int range) {
    if (!arr || count <= 0 || range <= 0) return 0;
    // rand() gives at most RAND_MAX + 1 values (32768 with the Windows C
    // library): asking for more distinct ones would never finish.
    const long long distinct = (long long)range < (long long)RAND_MAX + 1 ? range : (long long)RAND_MAX + 1;
    if (count > distinct) count = (int)distinct;
    srand(seed);
    for (int i = 0; i < count;) {
        int v = rand() % range;
        bool seen = false;
        for (int j = 0; j < i && !seen; j++) seen = arr[j] == v;
        if (!seen) arr[i++] = v;
    }
    return count;
}
