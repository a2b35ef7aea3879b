// codepage.h - texts between the ANSI code page the database keeps them in
// and the UTF-8 of files meant for other programs (price lists, spreadsheets).
// Single-byte code pages only: what Windows uses for the languages the
// program is sold in.
#ifndef KV_UTIL_CODEPAGE_H
#define KV_UTIL_CODEPAGE_H

#include <stddef.h>
#include <stdint.h>

#include <string>

struct KvCodePage {
    int cp = 0;
    uint16_t high[128] = {};  // bytes 0x80-0xFF
};

// Loads code page `cp` (0: the system's ANSI code page). False when the
// system does not know it as a single-byte code page.
bool KvLoadCodePage(int cp, KvCodePage* out);

// Appends the UTF-8 form of n bytes of ANSI text.
void KvAnsiToUtf8(const KvCodePage& page, const char* text, size_t n, std::string* out);

// Whether n bytes are well-formed UTF-8 throughout (plain ASCII is).
bool KvIsUtf8(const char* text, size_t n);

// Appends the ANSI form of n bytes of UTF-8 text. False, with *bad the byte
// offset of the first offending sequence, when the text is not UTF-8 or holds
// a character the code page has no byte for (nothing is then appended).
bool KvUtf8ToAnsi(const KvCodePage& page, const char* text, size_t n, std::string* out, size_t* bad);

// The upper-case byte of every byte of the code page, as the system's
// upper-casing gives it (Windows upper-cases the character and takes it back
// into the code page): a letter whose capital the code page also holds maps
// to that capital, every other byte to itself.
void KvUpperCaseTable(const KvCodePage& page, unsigned char table[256]);

#endif  // KV_UTIL_CODEPAGE_H
