// Amounts (hundredths) and rates (ten-thousandths) as text, in the user's
// locale. Money never passes through floating point: every conversion here
// works on the 64-bit integer and on digit strings.
//
// Plain text: "-1234,56" (optional "-", no grouping, the locale decimal
// separator, exactly 2 or 4 decimals). Grouped text: whatever the locale's
// number formatter makes of it ("-1 234,56", "(1,234.56)").
#include "util/amounttext.h"
#include "util/kvutil.h"
#include "util/platform.h"

#include <stdlib.h>
#include <string.h>

// ---- Locale characters --------------------------------------------------------

// A separator must be one character for the in-place routines to work on it;
// anything else falls back to a fixed character.
static char OneChar(kvplat::LocaleItem item, char fallback) {
    char buf[8];
    if (!kvplat::LocaleText(item, buf, (int)sizeof buf)) return fallback;
    return (buf[0] && !buf[1]) ? buf[0] : fallback;
}

extern "C" char DajSepDziesLocale(void) { return OneChar(kvplat::LocaleItem::DecimalSep, '.'); }
// A point, not a blank, when the locale has no grouping symbol: texts typed
// with points as group marks then still read.
extern "C" char DajSepTysLocale(void) { return OneChar(kvplat::LocaleItem::ThousandSep, '.'); }
extern "C" char DajMinusLocale(void) { return OneChar(kvplat::LocaleItem::NegativeSign, '-'); }

// ---- Integer and fixed-point to text ------------------------------------------

// The magnitude as unsigned, so that -2^63 has one too.
static uint64_t Magnitude(int64_t v) { return v < 0 ? 0 - (uint64_t)v : (uint64_t)v; }

static char* DigitsOf(uint64_t mag, bool negative, char* dest, int minDigits) {
    if (minDigits < 0) minDigits = 0;
    if (minDigits > 19) minDigits = 19;
    // 2^63 and every smaller magnitude have at most 19 digits; larger ones
    // only arise from the unsigned helpers and are capped there.
    char digits[19];
    for (int i = 18; i >= 0; i--) {
        digits[i] = (char)('0' + mag % 10);
        mag /= 10;
    }
    int start = 0;
    while (start < 19 - minDigits && digits[start] == '0') start++;
    char* p = dest;
    if (negative) *p++ = '-';
    memcpy(p, digits + start, (size_t)(19 - start));
    p[19 - start] = 0;
    return dest;
}

extern "C" char* LLNaNap(int64_t value, char* dest, int minDigits) {
    if (!dest) return dest;
    return DigitsOf(Magnitude(value), value < 0, dest, minDigits);
}

static int ScaledToText(int64_t v, uint64_t scale, int decimals, char sep, char* dest) {
    if (!dest) return 0;
    uint64_t mag = Magnitude(v);
    char* p = dest;
    if (v < 0) *p++ = '-';
    DigitsOf(mag / scale, false, p, 1);
    p += strlen(p);
    *p++ = sep;
    DigitsOf(mag % scale, false, p, decimals);
    p += strlen(p);
    return (int)(p - dest) + 1;
}

extern "C" int LLX100NaNap(int64_t amount, char* dest) {
    return ScaledToText(amount, 100, 2, DajSepDziesLocale(), dest);
}

extern "C" int LLX10000NaNap(int64_t rate, char* dest) {
    return ScaledToText(rate, 10000, 4, DajSepDziesLocale(), dest);
}

extern "C" int DajNapKwotaZl(int64_t amount, char* dest) { return LLX100NaNap(amount, dest); }
extern "C" int DajNapKursWalZl(int64_t rate, char* dest) { return LLX10000NaNap(rate, dest); }

// ---- Grouped text -------------------------------------------------------------

// Copies a finished text to the caller only whole: a number cut short would
// read as a different amount.
static int Deliver(const char* text, char* dest, int destSize) {
    size_t len = strlen(text);
    if (len + 1 > (size_t)destSize) return 0;
    memcpy(dest, text, len + 1);
    return (int)len + 1;
}

static int LocaleInt(kvplat::LocaleItem item, int fallback) {
    char buf[8];
    if (!kvplat::LocaleText(item, buf, (int)sizeof buf) || buf[0] < '0' || buf[0] > '9') return fallback;
    return atoi(buf);
}

// An explicit number format with the locale's separators, leading-zero
// rule and negative form. Group sizes: with `firstOnly` the first size of
// the grouping text, repeated; otherwise the whole grouping text in the
// integer form of the formatter ("3;2;0" is 32, "3" is 30).
static void LocaleFormat(int digits, bool firstOnly, kvplat::NumberFormat* f) {
    f->digits = digits;
    f->leadingZero = LocaleInt(kvplat::LocaleItem::LeadingZero, 1);
    f->negativeOrder = LocaleInt(kvplat::LocaleItem::NegativeOrder, 1);
    f->grouping = 0;
    char grouping[16];
    if (kvplat::LocaleText(kvplat::LocaleItem::Grouping, grouping, (int)sizeof grouping)) {
        int sizes = 0, last = -1;
        for (const char* g = grouping; *g && sizes < 4; g++) {
            if (*g < '0' || *g > '9') continue;
            last = *g - '0';
            if (firstOnly) {
                f->grouping = last;
                break;
            }
            if (last == 0) break;
            f->grouping = f->grouping * 10 + last;
            sizes++;
        }
        if (!firstOnly && last != 0 && f->grouping > 0) f->grouping *= 10;
    }
    if (!kvplat::LocaleText(kvplat::LocaleItem::DecimalSep, f->decimalSep, (int)sizeof f->decimalSep) ||
        !f->decimalSep[0]) {
        strcpy(f->decimalSep, ".");
    }
    kvplat::LocaleText(kvplat::LocaleItem::ThousandSep, f->thousandSep, (int)sizeof f->thousandSep);
}

// Grouped amount text; `allowed` is the decimal counts the tidying may stop
// at ("0": a whole amount loses its decimals; null: always two).
static int GroupedAmount(int64_t amount, char* dest, int destSize, const char* allowed) {
    if (!dest || destSize <= 0) return 0;
    dest[0] = 0;
    char plain[KV_AMOUNT_LEN];
    ScaledToText(amount, 100, 2, '.', plain);
    // The format is built from the locale's own settings rather than left
    // to the formatter: a locale showing fewer than two decimals would round
    // the cents away (1234.56 shown as 1 235), and Wine's formatter groups
    // "3;0" only once when it reads the grouping itself.
    kvplat::NumberFormat f;
    const int digits = LocaleInt(kvplat::LocaleItem::Digits, 2);
    LocaleFormat(digits < 2 ? 2 : digits > 9 ? 9 : digits, false, &f);
    // The decimal adjustment may append up to three characters.
    char buf[128];
    const int n = kvplat::FormatNumber(plain, &f, buf, (int)sizeof buf - 4);
    if (n <= 0) return 0;
    DopasujCzDzies(buf, 2, allowed);
    // The length after the adjustment, not the formatter's: a caller that
    // copies that many bytes must get the terminator.
    return Deliver(buf, dest, destSize);
}

extern "C" int DajNapKwotaZlSepTys(int64_t amount, char* dest, int destSize) {
    return GroupedAmount(amount, dest, destSize, "0");
}

int AmountDisplayText(int64_t amount, char* dest, int destSize) {
    return GroupedAmount(amount, dest, destSize, nullptr);
}

extern "C" int DajNapKursWalZlSepTys(int64_t rate, char* dest, int destSize) {
    if (!dest || destSize <= 0) return 0;
    dest[0] = 0;
    char plain[KV_AMOUNT_LEN];
    ScaledToText(rate, 10000, 4, '.', plain);
    kvplat::NumberFormat f;
    LocaleFormat(4, true, &f);
    char buf[128];
    if (kvplat::FormatNumber(plain, &f, buf, (int)sizeof buf) <= 0) return 0;
    return Deliver(buf, dest, destSize);
}

// ---- Text to fixed point ------------------------------------------------------

static const int64_t kMax = INT64_MAX;

// Leading blanks, one sign, digits; the magnitude saturates instead of
// wrapping so that an over-long number cannot become a small or negative one.
static uint64_t ReadMagnitude(const char* p, bool* negative) {
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') p++;
    *negative = false;
    if (*p == '-' || *p == '+') *negative = *p++ == '-';
    uint64_t mag = 0;
    for (; *p >= '0' && *p <= '9'; p++) {
        unsigned d = (unsigned)(*p - '0');
        mag = mag > ((uint64_t)kMax - d) / 10 ? (uint64_t)kMax + 1 : mag * 10 + d;
    }
    return mag;
}

static void RemoveChar(char* text, char c) {
    if (!text) return;
    char* w = text;
    for (const char* r = text; *r; r++) {
        if (*r != c) *w++ = *r;
    }
    *w = 0;
}

static bool BlankChar(char c) { return c == ' ' || c == '\t'; }

// The locale's formatter writes a negative number as "(1,1)", "1,1-",
// "1,1 -" or "- 1,1" too; read as a leading "-" alone, such a text would
// come back positive or as 0. Strips the form and tells whether it was one.
static bool StripNegativeForm(char* buf) {
    const char minus = DajMinusLocale();
    char* p = buf;
    while (BlankChar(*p)) p++;
    size_t len = strlen(p);
    while (len > 0 && BlankChar(p[len - 1])) len--;
    bool negative = false;
    if (len >= 2 && p[0] == '(' && p[len - 1] == ')') {
        negative = true;
        p++;
        len -= 2;
    } else if (len >= 1 && (p[len - 1] == minus || p[len - 1] == '-')) {
        negative = true;
        len--;
    } else if (len >= 1 && (p[0] == minus || p[0] == '-')) {
        negative = true;
        p++;
        len--;
    }
    if (negative) {
        while (len > 0 && BlankChar(*p)) {
            p++;
            len--;
        }
        while (len > 0 && BlankChar(p[len - 1])) len--;
    }
    memmove(buf, p, len);
    buf[len] = 0;
    return negative;
}

static int64_t ReadScaled(const char* text, int decimals, bool grouped) {
    if (!text) return 0;
    // Only the first 63 characters count: the work copy is bounded by them.
    char buf[64];
    size_t n = 0;
    while (n < sizeof buf - 1 && text[n]) {
        buf[n] = text[n];
        n++;
    }
    buf[n] = 0;
    const char sep = DajSepDziesLocale();
    bool negativeForm = false;
    if (grouped) {
        // With one character for both marks, removing "group marks" would
        // drop the decimal point and multiply the value.
        char tsep = DajSepTysLocale();
        if (tsep != sep) RemoveChar(buf, tsep);
        negativeForm = StripNegativeForm(buf);
    }
    int missing = decimals;  // decimals still to be multiplied in
    char* s = strrchr(buf, sep);
    if (s) {
        int k = 0;
        while (s[1 + k] >= '0' && s[1 + k] <= '9') k++;
        if (k > decimals) k = decimals;  // cut, not rounded
        // What follows the digits is not part of the number.
        s[1 + k] = 0;
        if (k == 0) {
            *s = 0;
        } else {
            RemoveChar(buf, sep);
            missing = decimals - k;
        }
    }
    bool negative;
    uint64_t mag = ReadMagnitude(buf, &negative);
    for (int i = 0; i < missing; i++) mag = mag > (uint64_t)kMax / 10 ? (uint64_t)kMax + 1 : mag * 10;
    int64_t v = mag > (uint64_t)kMax ? kMax : (int64_t)mag;
    return (negative || negativeForm) ? -v : v;
}

extern "C" int64_t NapNaLLX100(const char* text) { return ReadScaled(text, 2, false); }
extern "C" int64_t NapNaLLX10000(const char* text) { return ReadScaled(text, 4, false); }
extern "C" int64_t DajKwotaGrZNap(const char* text) { return ReadScaled(text, 2, false); }
extern "C" int64_t DajKursWalGrZNap(const char* text) { return ReadScaled(text, 4, false); }
extern "C" int64_t DajKwotaGrZNapSepTys(const char* text) { return ReadScaled(text, 2, true); }
extern "C" int64_t DajKursWalGrZNapSepTys(const char* text) { return ReadScaled(text, 4, true); }

// ---- Decimal places of a number text ------------------------------------------

extern "C" int DopasujCzDzies(char* text, int n, const char* allowed) {
    if (!text) return 0;
    if (n < 0) n = 0;
    if (n > 18) n = 18;
    const char sep = DajSepDziesLocale();
    const size_t len = strlen(text);
    char* s = strrchr(text, sep);
    // The decimal part is the separator and the digits after it; anything
    // after those (a trailing sign or bracket of a negative form) stays.
    size_t start = s ? (size_t)(s - text) : len;
    int k = 0;
    if (s) {
        while (s[1 + k] >= '0' && s[1 + k] <= '9') k++;
    }
    const size_t oldLen = s ? 1 + (size_t)k : 0;
    const char* tail = text + start + oldLen;

    char dec[1 + 18 + 1];  // separator, at most 18 digits
    bool has = s != nullptr;
    if (has) {
        if (k > n) k = n;
        while (k > 0 && s[k] == '0') k--;
        if (k == 0) has = false;
        memcpy(dec + 1, s + 1, (size_t)k);
    }
    auto isAllowed = [allowed](int count) {
        return allowed && count <= 9 && strchr(allowed, '0' + count) != nullptr;
    };
    if (k < n) {
        bool stop = false;
        if (!has) {
            if (isAllowed(0)) {
                stop = true;
            } else {
                has = true;
                dec[1] = '0';
                k = 1;
            }
        }
        while (!stop && k < n && !isAllowed(k)) dec[1 + k++] = '0';
    }
    dec[0] = sep;
    const size_t newLen = has ? 1 + (size_t)k : 0;
    memmove(text + start + newLen, tail, strlen(tail) + 1);
    memcpy(text + start, dec, newLen);
    return newLen != oldLen;
}

// ---- Separators -----------------------------------------------------------------

extern "C" void UsunSepDzies(char* text) { RemoveChar(text, DajSepDziesLocale()); }
extern "C" void UsunSepTys(char* text) { RemoveChar(text, DajSepTysLocale()); }

extern "C" char* SepDziesNaKropke(char* text) {
    if (!text) return nullptr;
    char* s = strrchr(text, DajSepDziesLocale());
    if (s) *s = '.';
    return s;
}

extern "C" char KropkaNaSepDzies(char* text) {
    if (!text) return 0;
    char* s = strrchr(text, '.');
    if (!s) return 0;
    *s = DajSepDziesLocale();
    return *s;
}

// ---- Small helpers --------------------------------------------------------------

extern "C" int StrLenCpy(char* dest, const char* src) {
    if (!dest) return 0;
    if (!src) src = "";
    size_t len = strlen(src);
    memmove(dest, src, len + 1);
    return (int)len;
}

extern "C" int CzyNapLiczba(const char* text) {
    if (!text) return 0;
    for (; *text; text++) {
        if (*text < '0' || *text > '9') return 0;
    }
    return 1;
}

extern "C" int CzyNapLiczbaHex(const char* text) {
    if (!text) return 0;
    for (; *text; text++) {
        char c = *text;
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'))) return 0;
    }
    return 1;
}

extern "C" uint64_t Htonll(uint64_t value) {
    uint64_t r = 0;
    for (int i = 0; i < 8; i++) {
        r = (r << 8) | (value & 0xFF);
        value >>= 8;
    }
    return r;
}

extern "C" uint64_t Ntohll(uint64_t value) { return Htonll(value); }
