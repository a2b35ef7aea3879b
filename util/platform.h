// platform.h - the system services behind the portable utility code.
//
// platform_win.cpp implements them with Win32; platform_native.cpp gives the
// native build (and its tests) a small stand-in whose state a test can set.
#ifndef KV_UTIL_PLATFORM_H
#define KV_UTIL_PLATFORM_H

#include <stdint.h>
#include <stdio.h>

struct KvTime;

namespace kvplat {

uint32_t LastError();
void SetLastError(uint32_t code);

// The system's message text for an error code, in the user's language, with
// the trailing line break removed. Returns false (and an empty text) when the
// system has none. Writes at most size bytes, terminator included.
bool SystemMessage(uint32_t code, char* buf, int size);

// Upper-cases an ANSI text in place the way the system does (CharUpperA on
// Windows; ASCII letters natively).
void UpperCaseAnsi(char* text);
// One character (a byte) upper- or lower-cased the same way.
unsigned char UpperChar(unsigned char c);
unsigned char LowerChar(unsigned char c);

// ---- Code pages ------------------------------------------------------------

// The system's ANSI code page, in which every stored text is kept (natively
// 1252 unless a test says otherwise).
int AnsiCodePage();
// The characters (UTF-16 code units) of bytes 0x80-0xFF of the single-byte
// code page `cp`. False for a code page the system does not know or that is
// not single-byte. The native stand-in knows 1250 and 1252; bytes that a
// code page leaves undefined stand for the control character of that value,
// as the system's conversion gives them.
bool CodePageHighHalf(int cp, uint16_t high[128]);

// ---- Locale of the user, read afresh on every call -------------------------

enum class LocaleItem {
    DecimalSep,   // "," or "."
    ThousandSep,  // may be empty or longer than one character
    NegativeSign,
    Grouping,       // "3;0", "3;2;0", ...
    LeadingZero,    // "1": 0.5, "0": .5
    NegativeOrder,  // "1": -1.1 (0 "(1.1)", 2 "- 1.1", 3 "1.1-", 4 "1.1 -")
    Digits,         // decimals the formatter shows, "2"
};

// The raw locale value, cut to size bytes. False (and an empty text) when
// the system does not give it.
bool LocaleText(LocaleItem item, char* buf, int size);

// An explicit number format for FormatNumber; strings are terminated.
struct NumberFormat {
    int digits;       // decimals shown
    int leadingZero;  // 0 or 1
    int grouping;     // as Win32 NUMBERFMT: 3 = "3;0", 32 = "3;2;0", 30 = "3"
    char decimalSep[8];
    char thousandSep[8];
    int negativeOrder;  // as LocaleItem::NegativeOrder
};

// Formats a plain number ("-1234.5": optional "-", digits, optional "." and
// digits) as the locale shows numbers (fmt null) or by fmt. Returns the
// characters written including the terminator; 0 on failure, including a
// destination too small.
int FormatNumber(const char* plain, const NumberFormat* fmt, char* out, int size);

// The date (time of day) of t in the locale's short date (time) format.
// Returns the characters written including the terminator, 0 on failure.
int FormatDate(const KvTime& t, char* out, int size);
int FormatTime(const KvTime& t, char* out, int size);
// A calendar month (1-12) with its year as the locale names it: its short
// month name and the year ("Dec 2026"; natively the English names). Returns
// the characters written including the terminator, 0 on failure.
int FormatYearMonth(int year, int month, char* out, int size);

// The local time now.
void LocalTime(KvTime* t);

// ---- File system -----------------------------------------------------------
// Paths are Windows paths with backslashes; the native stand-in reads a
// backslash as its own separator.

enum class PathKind { Missing, File, Directory };
PathKind Kind(const char* path);
// Whether the drive letter names an existing drive.
bool DriveExists(char letter);
enum class MakeDirResult { Created, Exists, Failed };
// Creates one directory; on failure the last error is set.
MakeDirResult MakeDir(const char* path);
// Size of an open file, -1 when unknown.
int64_t FileSize(FILE* f);
// Renames `from` to `to`, replacing a file of that name. False, with the
// last error set, when the system refuses.
bool ReplaceFileWith(const char* from, const char* to);

#if !defined(_WIN32)
// Native only: the locale the stand-in answers with. Null strings mean "the
// system does not give it". Date patterns use d, dd, M, MM, yy, yyyy; time
// patterns H, HH, h, hh, m, mm, s, ss (other characters are copied).
struct TestLocale {
    const char* decimalSep;
    const char* thousandSep;
    const char* negativeSign;
    const char* grouping;
    int digits;
    int leadingZero;
    int negativeOrder;
    const char* shortDate;
    const char* timeFormat;
};
void SetTestLocale(const TestLocale& locale);
// The stand-in's clock; a null t makes it read the real clock again.
void SetTestTime(const KvTime* t);
// The drive letters that exist (each mapped to the root); "C" at start.
void SetTestDrives(const char* letters);
// The code page AnsiCodePage answers with.
void SetTestAnsiCodePage(int cp);
#endif

}  // namespace kvplat

#endif  // KV_UTIL_PLATFORM_H
