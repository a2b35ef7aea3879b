// kvutil.h - the utility library: amounts, dates, text, paths and messages.
//
// One body of code built into kelvaro.exe, pagora.dll and widgora.dll; both
// libraries export every function below under its undecorated C name.
// Text is 8-bit ANSI, zero-terminated; buffers belong to the caller unless a
// function says it returns a buffer of the library's own.
#ifndef KVUTIL_H
#define KVUTIL_H

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

// ---- Fixed-width tables of strings ----------------------------------------

// Packs `rows` zero-terminated strings, each in a slot of tableSize/rows bytes,
// one after another into dest (terminators kept, no filler). A slot without a
// terminator contributes its first slot-1 bytes. Returns the bytes written.
// REQUIRES: dest has room for tableSize bytes.
int TNapNaT2Tekst(const char* table, int tableSize, int rows, char* dest);

// Unpacks consecutive strings of `packed` into the slots of `table`, each cut
// to its slot. Returns the row count. Reads stop at the first missing string:
// the remaining slots become empty.
// REQUIRES: packed holds `rows` strings or ends early with a zero byte.
int T2TekstNaTNap(const char* packed, int tableSize, int rows, char* table);

// Same as T2TekstNaTNap but never reads past packedLen bytes of `packed`
// (for blobs read from the database, which need not end with a zero).
int T2TekstNaTNapN(const char* packed, int packedLen, int tableSize, int rows, char* table);

// ---- Version text ----------------------------------------------------------

// "version: " followed by the tag's text after its first "-" up to the next
// blank, with every "-" made a "."; "$Name: kelvaro_wer-1-8 $" gives
// "version: 1.8". Returns a buffer of the library's own, overwritten by the
// next call.
const char* DajWersje(const char* tag);

// ---- Messages --------------------------------------------------------------

// The system's message text for `code` (or the library's own message for an
// own code, bit 0x20000000 set), in a buffer of the library's own. With
// `keepLastError` the code is set again as the thread's last error.
const char* DajKomunBledu(uint32_t code, int keepLastError);

// ---- Amounts and rates -----------------------------------------------------
//
// An amount is an int64_t in hundredths of the currency unit (12.34 is 1234);
// a rate is an int64_t in ten-thousandths (1.2345 is 12345). The locale's
// decimal separator, thousands separator and negative sign are read from the
// user's default locale on every call, never cached. -2^63 is not a value of
// either scale: writers still print it correctly, readers never produce it.

// Room for the plain text of any amount or rate, terminator included.
#define KV_AMOUNT_LEN 22

// value in decimal digits, at least minDigits of them (left-padded with "0";
// minDigits is taken within 0..19, and 0 writes nothing for the value 0), an
// ASCII "-" before a negative value. Returns dest.
// REQUIRES: dest has room for 21 bytes.
char* LLNaNap(int64_t value, char* dest, int minDigits);

// Plain text of an amount (2 decimals) or a rate (4 decimals): optional "-",
// integer part without grouping, the locale decimal separator, the fraction.
// Returns the characters written including the terminator.
// REQUIRES: dest has room for KV_AMOUNT_LEN bytes.
int LLX100NaNap(int64_t amount, char* dest);
int LLX10000NaNap(int64_t rate, char* dest);
int DajNapKwotaZl(int64_t amount, char* dest);
int DajNapKursWalZl(int64_t rate, char* dest);

// Grouped text for display through the locale's number formatter. An amount
// shows no decimals when whole and exactly two otherwise (also where the
// locale shows fewer); a rate always shows four. Returns the length of the
// text in dest plus one, or 0 (dest then holds the empty text when
// destSize > 0) when the formatter fails or the text does not fit in
// destSize bytes.
int DajNapKwotaZlSepTys(int64_t amount, char* dest, int destSize);
int DajNapKursWalZlSepTys(int64_t rate, char* dest, int destSize);

// Reads an amount or a rate from its plain text: the last locale decimal
// separator splits the integer and the fraction; fraction digits beyond the
// scale are cut, not rounded. Only the first 63 characters are looked at.
// Text that is not a number reads as its leading numeric part, or 0; values
// beyond the range saturate at +-(2^63-1). A null text reads as 0.
int64_t NapNaLLX100(const char* text);
int64_t NapNaLLX10000(const char* text);
int64_t DajKwotaGrZNap(const char* text);
int64_t DajKursWalGrZNap(const char* text);
// The same for grouped text: thousands separators are removed first (unless
// the locale uses one character for both separators), and the negative
// forms of the locale's formatter ("(1,5)", "1,5-", "- 1,5") read as
// negative.
int64_t DajKwotaGrZNapSepTys(const char* text);
int64_t DajKursWalGrZNapSepTys(const char* text);

// Brings the decimals of a number text to n (taken within 0..18): cuts extra
// decimals, drops trailing zeros of the fraction, then appends zeros until n
// or until a decimal count listed in `allowed` (digit characters, may be
// null) is reached. Returns 1 if the length of the decimal part changed.
// REQUIRES: text has room for n + 2 more bytes.
int DopasujCzDzies(char* text, int n, const char* allowed);

// Remove every locale decimal (thousands) separator, in place.
void UsunSepDzies(char* text);
void UsunSepTys(char* text);
// Replaces the last locale decimal separator by "."; returns its position or
// null when there is none.
char* SepDziesNaKropke(char* text);
// Replaces the last "." by the locale decimal separator; returns the
// separator written, or 0 when the text holds no point.
char KropkaNaSepDzies(char* text);

char DajSepDziesLocale(void);
char DajSepTysLocale(void);
char DajMinusLocale(void);

// dividend / divisor rounded to nearest with exact halves down; a negative
// dividend is truncated toward zero; a zero divisor gives 0. A negative
// divisor gives the negated result of its magnitude.
int64_t DzielKwote(int64_t dividend, int64_t divisor);
// dividend / divisor as a rate (ten-thousandths), rounded as DzielKwote,
// exact for every pair; a quotient beyond the range saturates at
// +-(2^63-1).
int64_t DzielKwotaKursWal(int64_t dividend, int64_t divisor);

// Copies src (null: the empty text) into dest; returns its length.
int StrLenCpy(char* dest, const char* src);
// 1 when every character is a decimal (hexadecimal) digit, also for the
// empty text; 0 otherwise and for a null text.
int CzyNapLiczba(const char* text);
int CzyNapLiczbaHex(const char* text);
// The value with its eight bytes in reverse order.
uint64_t Htonll(uint64_t value);
uint64_t Ntohll(uint64_t value);

// ---- Dates and times -------------------------------------------------------

// A broken-down time, laid out as the Win32 SYSTEMTIME so that a caller may
// pass one.
typedef struct KvTime {
    uint16_t wYear;
    uint16_t wMonth;      // 1-12
    uint16_t wDayOfWeek;  // 0 = Sunday
    uint16_t wDay;        // 1-31
    uint16_t wHour;
    uint16_t wMinute;
    uint16_t wSecond;
    uint16_t wMilliseconds;
} KvTime;

// Room for a date text "2010-07-20" and a date-time text
// "2010-07-20 13:05:09.250", terminators included.
#define KV_DATA_LEN 11
#define KV_DATE_TIME_LEN 24
// Room for the locale-formatted date and time of DajDataCzasStr and the rest
// of that family; a longer text is cut to it.
#define KV_DATE_TIME_STR_LEN 64

// Write the date (date-time) text of t; a field too wide for its place cuts
// the text at KV_DATA_LEN - 1 (KV_DATE_TIME_LEN - 1) characters. Return buf.
// REQUIRES: buf has room for KV_DATA_LEN (KV_DATE_TIME_LEN) bytes.
char* StDataNaNap(const KvTime* t, char* buf);
char* StCzasNaNap(const KvTime* t, char* buf);
// Read a date (date-time) text by fixed positions; the day of the week is
// computed, the time of day of a date is zero. A field cut short by the end
// of the text reads as its digits present.
void NapNaStData(const char* text, KvTime* t);
void NapNaStCzas(const char* text, KvTime* t);
// Today's local date (date and time now). Return buf.
// REQUIRES: buf has room for KV_DATA_LEN (KV_DATE_TIME_LEN) bytes.
char* DajAktualData(char* buf);
char* DajAktualCzas(char* buf);
// The year of a date text (its first four characters).
int DajRokZNap(const char* text);
// The date in the locale's short date format, cut to capacity bytes; a date
// the formatter refuses is shown as its own text. Returns buf.
char* DajFormatData(const char* dateText, char* buf, int capacity);

// Add days (negative: subtract) keeping the time of day. False, and the
// record or text unchanged, when the date is not a valid one or the result
// falls outside years 1601 to 30827 (to 9999 for a text). A text shorter
// than a date text (than 21 characters for a date-time text) is refused.
int DodajDniDoCzas(KvTime* t, int64_t days);
int DodajDniDoDataNap(char* dateText, int64_t days);
// REQUIRES: the text's buffer has room for KV_DATE_TIME_LEN bytes (a text with
// fewer than three millisecond digits grows to them).
int DodajDniDoCzasNap(char* dateTimeText, int64_t days);

// Whole days from `second` to `first` (positive when first is later),
// truncated toward zero; 0 when either is not a valid date.
int64_t RoznicaDat(const KvTime* first, const KvTime* second);
int64_t RoznicaDatNap(const char* first, const char* second);

// Day of the week (0 = Sunday) by Zeller's congruence, Gregorian when
// `gregorian` is non-zero, else Julian.
int DajDzienTygodnia(int day, int month, int year, int gregorian);
int CzyRokPrzest(int year);
// 1 when the text is a valid date text "YYYY-MM-DD" (a valid date-time text
// "YYYY-MM-DD hh:mm:ss.f" with one to three millisecond digits).
int TstDataNap(const char* text);
int TstCzasNap(const char* text);
// Milliseconds since 1 January 1601; -1 when t is not a valid time.
int64_t DajMilis1Sty1601(const KvTime* t);

// The time as "<short date> <time>" in the locale's formats; the Milis forms
// append " %03d" milliseconds; the Biez forms use the local time now.
// Return buf. REQUIRES: buf has room for KV_DATE_TIME_STR_LEN bytes.
char* DajDataCzasStr(char* buf, const KvTime* t);
char* DajDataCzasMilisStr(char* buf, const KvTime* t);
char* DajBiezDataCzasStr(char* buf);
char* DajBiezDataCzasMilisStr(char* buf);

// ---- Strings ---------------------------------------------------------------
//
// Blanks are the space and the tab; a newline ends a line wherever a
// routine reads to the end of the text. Positions returned point into the
// text given; "none" is null.

void mojLtrim(char* text);
void mojPtrim(char* text);
// Copies src, or makes dest empty when src is null. Returns dest.
char* strcpyNull(char* dest, const char* src);
// Decimal conversions; null reads as 0, values beyond the type saturate.
int atoiNull(const char* text);
long atolNull(const char* text);
int64_t atollNull(const char* text);
float atoffNull(const char* text);
// Space and tab. Exported as "isblank".
int kv_isblank(int c);

// Copies src into dest up to the separator, a newline, the end of the text
// or maxLen characters, and terminates it. Returns the position after the
// separator when it stopped there, else where it stopped; null when src is
// at its end or at a newline. A blank separator means any blank.
// REQUIRES: dest has room for maxLen + 1 bytes.
const char* LewyToken(const char* src, char* dest, char sep, int maxLen);
const char* LewyTokenBialaSpc(const char* src, char* dest, int maxLen);

// Skips leading blanks and copies the next field, ended by the separator
// (for a blank separator: any blank), a newline or the end of the text, at
// most KV_POLE_LEN - 1 characters (the rest of a longer field is skipped).
// Returns the position after the separator that ended the field, or at the
// newline or the end; null when nothing is left, at a newline, or when the
// next character is the separator.
// REQUIRES: dest has room for KV_POLE_LEN bytes.
#define KV_POLE_LEN 129
const char* dzielCiagZnak(const char* src, char* dest, char sep);

// First (last) occurrence of c, null if none (also for c == 0).
const char* mojIndex(const char* text, char c);
const char* mojRindex(const char* text, char c);
// The text after the last separator (blank separator: the last space or
// tab); the whole text when there is none; null for an empty text.
const char* ostatSlowo(const char* text, char sep);
// Inserts c before index pos (taken within 0..length).
// REQUIRES: text has room for one more byte.
void wstawLitere(char* text, char c, int pos);
// Removes the characters from index start to end inclusive (taken within
// the text).
void wytnijZNapisu(char* text, int start, int end);

// Reads the next line of f (at most KV_LINE_LEN - 1 characters; a longer
// line continues at the next call) without its line end. 1 when a line was
// read. REQUIRES: buf has room for KV_LINE_LEN bytes.
#define KV_LINE_LEN 512
int dajLinie(FILE* file, char* buf);

// 1 when the text, upper-cased (lower-cased), equals the pattern exactly.
int CzyTenSamNapDuzLit(const char* text, const char* pattern);
int CzyTenSamNapMalLit(const char* text, const char* pattern);
// Case mapping of one character (0-255; a negative char is taken as its
// byte). Under the character-set code 238 the letters of code page 1250
// above 127 are mapped too; everything else through the C library (ASCII).
int ToUpperStrKod(int c, int charset);
int ToLowerStrKod(int c, int charset);
// Case-insensitive LIKE of the whole text against a pattern of "%" and "_"
// (no escapes, no backtracking).
int SqlLike(const char* text, int textCharset, const char* pattern, int patternCharset);

// Two upper-case hexadecimal digits per byte. Returns buf.
// REQUIRES: buf has room for 2 * count + 1 bytes.
char* BinNaHex(const void* bytes, int count, char* buf);
// Bytes of a hexadecimal text (either case). Returns buf, or null (with the
// first byte of buf zeroed) when the text holds a character that is not a
// hexadecimal digit or an odd count of digits.
// REQUIRES: buf has room for max(1, strlen(text) / 2) bytes.
void* HexNaBin(const char* text, void* buf);
// Base-62 digit of value (0-9, A-Z, a-z); a space for a value outside
// 0..61. The inverse returns any other character unchanged.
char Liczba32ZnakAscii(int value);
int ZnakAsciiLiczba32(char c);
// Seeds the C library's generator and fills arr with distinct values in
// 0..range-1. At most min(range, RAND_MAX + 1) values can be distinct, so
// count is cut to that. Returns the count filled.
int GenerujUnikLos(int* arr, int count, unsigned seed, int range);

// ---- More messages ---------------------------------------------------------

// As DajKomunBledu, into the caller's buffer (cut to size). Returns buf.
char* DajKomunBledu2(uint32_t code, char* buf, int size, int keepLastError);
// The library's own message for an own code, or null.
const char* DajKomunBleduWlasnego(uint32_t code);
// English text of a socket error code; the empty text for any other code.
const char* WSADajKomunBledu(int code);

// ---- Paths and files ---------------------------------------------------------

// Components of a path are at most KV_MAX_PATH - 1 characters.
#define KV_MAX_PATH 260

// 1 when path is a valid Windows path: optional "X:\", components separated
// by single backslashes, none a reserved device name, none with a leading or
// trailing space, a misplaced dot or a forbidden character.
int CzyPoprawnaSciezkaWin(const char* path);
// Tests a directory path: with `validate` it must be valid, "A:"/"B:" only
// with allowFloppy, a given drive must exist. Its prefixes (the whole path
// last) are then tested: one that exists but is no directory gives 0; the
// first that does not exist gives 1 with *allExist = 0; 1 with *allExist = 1
// when all exist. allExist may be null.
int TestSciezki(const char* path, int allowFloppy, int validate, int* allExist);
// Copies the directory part (everything before the last backslash, cut to
// KV_MAX_PATH - 1) into dir; returns the file name part. With validate, an
// invalid path gives null and an empty dir.
// REQUIRES: dir has room for KV_MAX_PATH bytes.
const char* WytnijKatalog(const char* path, char* dir, int validate);
// Creates every missing directory of path. 1 when at least one was created;
// 0 when a creation failed, and 0 with the last error ERROR_ALREADY_EXISTS
// (183) when all existed.
int TworzKatalog(const char* path);
// The size of an open file, or -1.
int64_t DajRozmPliku(FILE* file);

// ---- Win32 only --------------------------------------------------------------
#if defined(_WIN32)
// HANDLE, HWND and HMENU spelled out, so this header needs no <windows.h>.
struct HWND__;
struct HMENU__;
// Waits for either handle; shows "Exceeded the waiting time" on a time-out
// or the system message on a failure in a box captioned "Error". Returns
// the wait result.
uint32_t CzekajNaObiekt(void* handle1, void* handle2, uint32_t timeoutMs, struct HWND__* owner);
// The shell's folder browser, starting at path's folder; 0 with the chosen
// folder in path, -1 when cancelled. REQUIRES: path has KV_MAX_PATH bytes.
int wybierzKatalog(struct HWND__* owner, const char* title, char* path);
// The open (save) dialog; open gives 0 or -1, save 1 or 0.
int wybierzPlik(struct HWND__* owner, const char* title, char* file, int fileSize, const char* initialDir,
                const char* filter);
int WybierzPlikDoZapisu(struct HWND__* owner, const char* title, char* file, int fileSize,
                        const char* initialDir, const char* filter);
// Sets the text of the menu item at position pos. 1 on success.
int UstawNapisOpcMenu(struct HMENU__* menu, int pos, const char* text);
#endif

#ifdef __cplusplus
}
#endif

#endif  // KVUTIL_H
