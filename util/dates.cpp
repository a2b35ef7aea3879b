// Dates and times. Stored forms: the date text "YYYY-MM-DD" and the
// date-time text "YYYY-MM-DD hh:mm:ss.mmm". Arithmetic goes through the
// file-time scale: 100 ns ticks since 1601-01-01 00:00, in an int64_t; a day
// is 864000000000 ticks. The conversion is done here rather than by the
// system so that both builds agree on every date and on what is refused.
#include "util/kvutil.h"
#include "util/platform.h"

#include <stdio.h>
#include <string.h>

static const int64_t kTicksPerMs = 10000;
static const int64_t kTicksPerDay = 864000000000LL;
// The range the system's conversions accept for a record.
static const int kFirstYear = 1601, kLastYear = 30827;

// ---- Calendar arithmetic ----------------------------------------------------

static int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
static int64_t FloorMod(int64_t a, int64_t b) { return a - FloorDiv(a, b) * b; }

extern "C" int CzyRokPrzest(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

static int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && CzyRokPrzest(year) ? 29 : kDays[month - 1];
}

// Zeller's congruence; h counts from Saturday, the result from Sunday.
extern "C" int DajDzienTygodnia(int day, int month, int year, int gregorian) {
    int64_t q = day, m = month, y = year;
    if (m < 3) {
        m += 12;
        y -= 1;
    }
    const int64_t k = FloorMod(y, 100), j = FloorDiv(y, 100);
    int64_t h = q + FloorDiv(13 * (m + 1), 5) + k + FloorDiv(k, 4);
    h += gregorian ? FloorDiv(j, 4) + 5 * j : 5 + 6 * j;
    return (int)FloorMod(h + 6, 7);
}

// Days from 1601-01-01 in the proleptic Gregorian calendar (the 400-year
// era count of the civil calendar, shifted to start in March).
static int64_t DayNumber(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 584694;  // 584694: days from 0000-03-01 to 1601-01-01
}

static void FromDayNumber(int64_t n, KvTime* t) {
    n += 584694;
    const int64_t era = FloorDiv(n, 146097);
    const int64_t doe = n - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    const int64_t y = yoe + era * 400 + (m <= 2);
    t->wYear = (uint16_t)y;
    t->wMonth = (uint16_t)m;
    t->wDay = (uint16_t)d;
}

static bool ValidRecord(const KvTime& t) {
    return t.wYear >= kFirstYear && t.wYear <= kLastYear && t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 &&
           t.wDay <= DaysInMonth(t.wYear, t.wMonth) && t.wHour < 24 && t.wMinute < 60 && t.wSecond < 60 &&
           t.wMilliseconds < 1000;
}

static bool ToTicks(const KvTime* t, int64_t* ticks) {
    if (!t || !ValidRecord(*t)) return false;
    const int64_t ms = ((t->wHour * 60 + t->wMinute) * 60 + t->wSecond) * 1000LL + t->wMilliseconds;
    *ticks = DayNumber(t->wYear, t->wMonth, t->wDay) * kTicksPerDay + ms * kTicksPerMs;
    return true;
}

static bool FromTicks(int64_t ticks, KvTime* t) {
    if (ticks < 0) return false;
    KvTime r;
    const int64_t day = ticks / kTicksPerDay;
    int64_t ms = (ticks % kTicksPerDay) / kTicksPerMs;
    FromDayNumber(day, &r);
    if (r.wYear > kLastYear) return false;
    r.wMilliseconds = (uint16_t)(ms % 1000);
    ms /= 1000;
    r.wSecond = (uint16_t)(ms % 60);
    ms /= 60;
    r.wMinute = (uint16_t)(ms % 60);
    r.wHour = (uint16_t)(ms / 60);
    r.wDayOfWeek = (uint16_t)FloorMod(day + 1, 7);  // 1601-01-01 was a Monday
    *t = r;
    return true;
}

// ---- Text forms -------------------------------------------------------------

// Copies src into dst of size bytes, cut to fit.
static void CopyCut(char* dst, size_t size, const char* src) {
    if (size == 0) return;
    size_t n = strlen(src);
    if (n > size - 1) n = size - 1;
    memcpy(dst, src, n);
    dst[n] = 0;
}

// The digits of a fixed-width field; the field ends early at a non-digit or
// at the end of the text, never reading past it.
static int Field(const char* text, size_t len, size_t pos, int width) {
    int v = 0;
    for (size_t i = pos; i < pos + (size_t)width && i < len; i++) {
        if (text[i] < '0' || text[i] > '9') break;
        v = v * 10 + (text[i] - '0');
    }
    return v;
}

extern "C" char* StDataNaNap(const KvTime* t, char* buf) {
    if (!buf) return buf;
    buf[0] = 0;
    if (!t) return buf;
    // Formatted apart and cut, so that a field wider than its place in an
    // invalid record cannot run past the caller's buffer.
    char tmp[32];
    snprintf(tmp, sizeof tmp, "%04hd-%02hd-%02hd", (short)t->wYear, (short)t->wMonth, (short)t->wDay);
    CopyCut(buf, KV_DATA_LEN, tmp);
    return buf;
}

extern "C" char* StCzasNaNap(const KvTime* t, char* buf) {
    if (!buf) return buf;
    buf[0] = 0;
    if (!t) return buf;
    char tmp[64];
    snprintf(tmp, sizeof tmp, "%04hd-%02hd-%02hd %02hd:%02hd:%02hd.%03hd", (short)t->wYear, (short)t->wMonth,
             (short)t->wDay, (short)t->wHour, (short)t->wMinute, (short)t->wSecond, (short)t->wMilliseconds);
    CopyCut(buf, KV_DATE_TIME_LEN, tmp);
    return buf;
}

static void ReadDate(const char* text, size_t len, KvTime* t) {
    t->wYear = (uint16_t)Field(text, len, 0, 4);
    t->wMonth = (uint16_t)Field(text, len, 5, 2);
    t->wDay = (uint16_t)Field(text, len, 8, 2);
    t->wDayOfWeek = (uint16_t)DajDzienTygodnia(t->wDay, t->wMonth, t->wYear, 1);
}

extern "C" void NapNaStData(const char* text, KvTime* t) {
    if (!t) return;
    memset(t, 0, sizeof *t);
    if (!text) return;
    ReadDate(text, strlen(text), t);
}

extern "C" void NapNaStCzas(const char* text, KvTime* t) {
    if (!t) return;
    memset(t, 0, sizeof *t);
    if (!text) return;
    const size_t len = strlen(text);
    ReadDate(text, len, t);
    t->wHour = (uint16_t)Field(text, len, 11, 2);
    t->wMinute = (uint16_t)Field(text, len, 14, 2);
    t->wSecond = (uint16_t)Field(text, len, 17, 2);
    t->wMilliseconds = (uint16_t)Field(text, len, 20, 3);
}

extern "C" char* DajAktualData(char* buf) {
    KvTime now;
    kvplat::LocalTime(&now);
    return StDataNaNap(&now, buf);
}

extern "C" char* DajAktualCzas(char* buf) {
    KvTime now;
    kvplat::LocalTime(&now);
    return StCzasNaNap(&now, buf);
}

extern "C" int DajRokZNap(const char* text) { return text ? Field(text, strlen(text), 0, 4) : 0; }

// ---- Validation ---------------------------------------------------------------

static bool Digits(const char* s, int n) {
    for (int i = 0; i < n; i++) {
        if (s[i] < '0' || s[i] > '9') return false;
    }
    return true;
}

// Checks the first ten characters of s as a date; s has at least ten.
static bool DateAt(const char* s) {
    if (!Digits(s, 4) || s[4] != '-' || !Digits(s + 5, 2) || s[7] != '-' || !Digits(s + 8, 2)) return false;
    const int y = Field(s, 10, 0, 4), m = Field(s, 10, 5, 2), d = Field(s, 10, 8, 2);
    return m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

extern "C" int TstDataNap(const char* text) { return text && strlen(text) == 10 && DateAt(text); }

extern "C" int TstCzasNap(const char* text) {
    if (!text) return 0;
    const size_t len = strlen(text);
    if (len < 21 || len > 23 || !DateAt(text) || text[10] != ' ') return 0;
    if (!Digits(text + 11, 2) || text[13] != ':' || !Digits(text + 14, 2) || text[16] != ':' ||
        !Digits(text + 17, 2) || text[19] != '.' || !Digits(text + 20, (int)len - 20)) {
        return 0;
    }
    return Field(text, len, 11, 2) <= 23 && Field(text, len, 14, 2) <= 59 && Field(text, len, 17, 2) <= 59;
}

// ---- Adding days and differences -------------------------------------------------

extern "C" int DodajDniDoCzas(KvTime* t, int64_t days) {
    int64_t ticks;
    if (!ToTicks(t, &ticks)) return 0;
    // The product and the sum are checked before they are formed.
    if (days > INT64_MAX / kTicksPerDay || days < -(INT64_MAX / kTicksPerDay)) return 0;
    const int64_t delta = days * kTicksPerDay;
    if (delta > 0 && ticks > INT64_MAX - delta) return 0;
    return FromTicks(ticks + delta, t);
}

extern "C" int DodajDniDoDataNap(char* dateText, int64_t days) {
    // The text is rewritten in place: it must already be as long as the
    // text written back.
    if (!dateText || strlen(dateText) < KV_DATA_LEN - 1) return 0;
    KvTime t;
    NapNaStData(dateText, &t);
    // A year past 9999 has no four-digit date text.
    if (!DodajDniDoCzas(&t, days) || t.wYear > 9999) return 0;
    StDataNaNap(&t, dateText);
    return 1;
}

extern "C" int DodajDniDoCzasNap(char* dateTimeText, int64_t days) {
    // A date-time text has at least 21 characters; a shorter one (a bare
    // date, say) sits in a buffer that may not hold the text written back.
    if (!dateTimeText || strlen(dateTimeText) < 21) return 0;
    KvTime t;
    NapNaStCzas(dateTimeText, &t);
    if (!DodajDniDoCzas(&t, days) || t.wYear > 9999) return 0;
    StCzasNaNap(&t, dateTimeText);
    return 1;
}

extern "C" int64_t RoznicaDat(const KvTime* first, const KvTime* second) {
    int64_t a, b;
    if (!ToTicks(first, &a) || !ToTicks(second, &b)) return 0;
    // Both lie in [0, 2^63), so their difference cannot overflow; C++
    // division truncates toward zero as wanted.
    return (a - b) / kTicksPerDay;
}

extern "C" int64_t RoznicaDatNap(const char* first, const char* second) {
    KvTime a, b;
    NapNaStData(first, &a);
    NapNaStData(second, &b);
    return RoznicaDat(&a, &b);
}

extern "C" int64_t DajMilis1Sty1601(const KvTime* t) {
    int64_t ticks;
    return ToTicks(t, &ticks) ? ticks / kTicksPerMs : -1;
}

// ---- Locale display -------------------------------------------------------------

extern "C" char* DajFormatData(const char* dateText, char* buf, int capacity) {
    if (!buf || capacity <= 0) return buf;
    buf[0] = 0;
    if (!dateText) return buf;
    char tmp[128];
    KvTime t;
    NapNaStData(dateText, &t);
    // A stored text that is not a date is shown as it is rather than as
    // whatever the formatter would make of its fields.
    if (!TstDataNap(dateText) || kvplat::FormatDate(t, tmp, (int)sizeof tmp) <= 0) {
        CopyCut(buf, (size_t)capacity, dateText);
    } else {
        CopyCut(buf, (size_t)capacity, tmp);
    }
    return buf;
}

static char* DateTimeStr(char* buf, const KvTime* t, bool millis) {
    if (!buf) return buf;
    buf[0] = 0;
    if (!t) return buf;
    // Room for any locale format, so that a long one is cut at the caller's
    // size below rather than dropped for the stored form.
    char date[128], time[128];
    if (kvplat::FormatDate(*t, date, (int)sizeof date) <= 0) StDataNaNap(t, date);
    if (kvplat::FormatTime(*t, time, (int)sizeof time) <= 0) {
        snprintf(time, sizeof time, "%02u:%02u:%02u", (unsigned)t->wHour % 100u, (unsigned)t->wMinute % 100u,
                 (unsigned)t->wSecond % 100u);
    }
    char all[300];
    if (millis) {
        snprintf(all, sizeof all, "%s %s %03d", date, time, (int)t->wMilliseconds);
    } else {
        snprintf(all, sizeof all, "%s %s", date, time);
    }
    CopyCut(buf, KV_DATE_TIME_STR_LEN, all);
    return buf;
}

extern "C" char* DajDataCzasStr(char* buf, const KvTime* t) { return DateTimeStr(buf, t, false); }
extern "C" char* DajDataCzasMilisStr(char* buf, const KvTime* t) { return DateTimeStr(buf, t, true); }

extern "C" char* DajBiezDataCzasStr(char* buf) {
    KvTime now;
    kvplat::LocalTime(&now);
    return DateTimeStr(buf, &now, false);
}

extern "C" char* DajBiezDataCzasMilisStr(char* buf) {
    KvTime now;
    kvplat::LocalTime(&now);
    return DateTimeStr(buf, &now, true);
}
