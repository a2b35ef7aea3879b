// Conversions between a single-byte code page and UTF-8.
#include "util/codepage.h"

#include "util/platform.h"

bool KvLoadCodePage(int cp, KvCodePage* out) {
    if (cp == 0) cp = kvplat::AnsiCodePage();
    if (!kvplat::CodePageHighHalf(cp, out->high)) return false;
    out->cp = cp;
    return true;
}

namespace {

void PutUtf8(uint32_t c, std::string* out) {
    if (c < 0x80) {
        out->push_back((char)c);
    } else if (c < 0x800) {
        out->push_back((char)(0xC0 | (c >> 6)));
        out->push_back((char)(0x80 | (c & 0x3F)));
    } else {
        out->push_back((char)(0xE0 | (c >> 12)));
        out->push_back((char)(0x80 | ((c >> 6) & 0x3F)));
        out->push_back((char)(0x80 | (c & 0x3F)));
    }
}

// Decodes one UTF-8 sequence at s[i]; 0 bytes when it is not well formed
// (overlong forms and surrogates included).
size_t GetUtf8(const unsigned char* s, size_t n, size_t i, uint32_t* c) {
    const unsigned char b = s[i];
    size_t len;
    uint32_t v, min;
    if (b < 0x80) {
        *c = b;
        return 1;
    } else if ((b & 0xE0) == 0xC0) {
        len = 2, v = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        len = 3, v = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        len = 4, v = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (n - i < len) return 0;
    for (size_t k = 1; k < len; k++) {
        if ((s[i + k] & 0xC0) != 0x80) return 0;
        v = (v << 6) | (s[i + k] & 0x3F);
    }
    if (v < min || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return 0;
    *c = v;
    return len;
}

}  // namespace

void KvAnsiToUtf8(const KvCodePage& page, const char* text, size_t n, std::string* out) {
    for (size_t i = 0; i < n; i++) {
        const unsigned char b = (unsigned char)text[i];
        PutUtf8(b < 0x80 ? b : page.high[b - 0x80], out);
    }
}

bool KvIsUtf8(const char* text, size_t n) {
    const unsigned char* s = (const unsigned char*)text;
    for (size_t i = 0; i < n;) {
        uint32_t c;
        const size_t len = GetUtf8(s, n, i, &c);
        if (!len) return false;
        i += len;
    }
    return true;
}

bool KvUtf8ToAnsi(const KvCodePage& page, const char* text, size_t n, std::string* out, size_t* bad) {
    const unsigned char* s = (const unsigned char*)text;
    const size_t start = out->size();
    for (size_t i = 0; i < n;) {
        uint32_t c = 0;
        const size_t len = GetUtf8(s, n, i, &c);
        int byte = len && c < 0x80 ? (int)c : -1;
        for (int k = 0; len && byte < 0 && k < 128; k++)
            if (page.high[k] == c) byte = 0x80 + k;
        if (byte < 0) {
            out->resize(start);
            if (bad) *bad = i;
            return false;
        }
        out->push_back((char)byte);
        i += len;
    }
    return true;
}

namespace {

// The simple capital of a letter of the scripts the single-byte code pages
// hold (Latin, Greek, Cyrillic); any other character is its own.
uint32_t CapitalOf(uint32_t c) {
    if (c >= 'a' && c <= 'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if (c == 0x131) return 'I';  // dotless i
    if (c == 0x17F) return 'S';  // long s
    // Latin Extended-A pairs each capital with the small letter after it.
    if (((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) && (c & 1)) return c - 1;
    if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && !(c & 1)) return c - 1;
    if (c == 0x1A1 || c == 0x1B0) return c - 1;  // o and u horn
    if (c == 0x3AC) return 0x386;
    if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
    if (c == 0x3C2) return 0x3A3;  // final sigma
    if ((c >= 0x3B1 && c <= 0x3CB)) return c - 0x20;
    if (c == 0x3CC) return 0x38C;
    if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    if (c == 0x491) return 0x490;
    return c;
}

}  // namespace

void KvUpperCaseTable(const KvCodePage& page, unsigned char table[256]) {
    for (int b = 0; b < 256; b++) {
        table[b] = (unsigned char)b;
        const uint32_t c = b < 0x80 ? (uint32_t)b : page.high[b - 0x80];
        const uint32_t capital = CapitalOf(c);
        if (capital == c) continue;
        if (capital < 0x80) {
            table[b] = (unsigned char)capital;
            continue;
        }
        for (int i = 0; i < 128; i++) {
            if (page.high[i] == capital) {
                table[b] = (unsigned char)(0x80 + i);
                break;
            }
        }
    }
}
