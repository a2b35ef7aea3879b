// Date and date-time texts, calendar arithmetic, validation and the locale
// display of dates and times.
#include <gtest/gtest.h>

#include <inttypes.h>
#include <string.h>

#include <string>
#include <vector>

#include "tests/native/util_locale.h"
#include "util/kvutil.h"
#if !defined(_WIN32)
#include "util/platform.h"
#endif

namespace {

KvTime Make(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    KvTime t;
    memset(&t, 0, sizeof t);
    t.wYear = (uint16_t)y;
    t.wMonth = (uint16_t)mo;
    t.wDay = (uint16_t)d;
    t.wHour = (uint16_t)h;
    t.wMinute = (uint16_t)mi;
    t.wSecond = (uint16_t)s;
    t.wMilliseconds = (uint16_t)ms;
    return t;
}

// ---- Validation ------------------------------------------------------------------

TEST(TstDataNap, AcceptsOnlyRealDatesInTheStoredForm) {
    struct Case {
        const char* text;
        int valid;
    } cases[] = {
        {"2008-02-29", 1}, {"2000-02-29", 1}, {"2010-12-31", 1}, {"2010-01-01", 1},  {"2010-02-29", 0},
        {"1900-02-29", 0}, {"2010-04-31", 0}, {"2010-11-31", 0}, {"2010-13-01", 0},  {"2010-00-10", 0},
        {"2010-07-00", 0}, {"2010-07-32", 0}, {"2010-7-20", 0},  {"2010-07-20 ", 0}, {"2010/07/20", 0},
        {"2010-07-2x", 0}, {"201a-07-20", 0}, {"", 0},           {"+010-07-20", 0},  {"2010-0 -20", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.valid, TstDataNap(c.text)) << c.text;
    EXPECT_EQ(0, TstDataNap(nullptr));
}

TEST(TstCzasNap, AcceptsOnlyRealTimesInTheStoredForm) {
    struct Case {
        const char* text;
        int valid;
    } cases[] = {
        {"2010-07-20 23:59:59.5", 1},    {"2010-07-20 23:59:59.999", 1},
        {"2010-07-20 00:00:00.00", 1},   {"2008-02-29 12:30:00.000", 1},
        {"2010-07-20 24:00:00.000", 0},  {"2010-07-20 23:60:00.000", 0},
        {"2010-07-20 23:59:60.000", 0},  {"2010-07-20 23:59:59.", 0},
        {"2010-07-20 23:59:59.1234", 0}, {"2010-07-20T23:59:59.000", 0},
        {"2010-07-20 23:59:59,000", 0},  {"2010-07-20 2a:59:59.000", 0},
        {"2010-02-30 10:00:00.000", 0},  {"2010-07-20 23:59:59.-1", 0},
        {"2010-07-20 23-59-59.000", 0},  {"2010-07-20", 0},
        {"2010-07-20 23:59:59.0 ", 0},   {"2010-7-20 23:59:59.000", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.valid, TstCzasNap(c.text)) << c.text;
    EXPECT_EQ(0, TstCzasNap(nullptr));
}

TEST(CzyRokPrzest, GregorianRule) {
    EXPECT_TRUE(CzyRokPrzest(2000));
    EXPECT_TRUE(CzyRokPrzest(2008));
    EXPECT_TRUE(CzyRokPrzest(2400));
    EXPECT_FALSE(CzyRokPrzest(1900));
    EXPECT_FALSE(CzyRokPrzest(2010));
    EXPECT_FALSE(CzyRokPrzest(2100));
}

// ---- Day of the week ------------------------------------------------------------------

TEST(DajDzienTygodnia, KnownDays) {
    struct Case {
        int d, m, y, gregorian, dow;
    } cases[] = {
        {20, 7, 2010, 1, 2},  // Tuesday
        {1, 1, 2000, 1, 6},   {29, 2, 2000, 1, 2},  {1, 1, 1900, 1, 1},
        {1, 1, 1601, 1, 1},   {15, 10, 1582, 1, 5},  // first day of the Gregorian calendar, a Friday
        {4, 10, 1582, 0, 4},                         // the Julian day before it, a Thursday
        {31, 12, 9999, 1, 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.dow, DajDzienTygodnia(c.d, c.m, c.y, c.gregorian)) << c.y << "-" << c.m << "-" << c.d;
    }
}

TEST(DajDzienTygodnia, JulianRunsThirteenDaysBehindInThisCentury) {
    for (int m = 1; m <= 12; m++) {
        for (int d = 1; d <= 15; d++) {
            EXPECT_EQ(DajDzienTygodnia(d + 13, m, 2010, 1), DajDzienTygodnia(d, m, 2010, 0)) << m << "/" << d;
        }
    }
}

TEST(DajDzienTygodnia, NonsenseInputGivesADayWithoutFault) {
    int args[] = {0, -1, 13, 100, -2147483647 - 1, 2147483647};
    for (int a : args) {
        for (int b : args) {
            int dow = DajDzienTygodnia(a, b, a, 1);
            EXPECT_TRUE(dow >= 0 && dow <= 6);
            dow = DajDzienTygodnia(b, a, b, 0);
            EXPECT_TRUE(dow >= 0 && dow <= 6);
        }
    }
}

// ---- Text forms -----------------------------------------------------------------------

TEST(DateText, WritingAndReading) {
    char buf[KV_DATE_TIME_LEN];
    KvTime t = Make(2010, 7, 20, 1, 2, 3, 4);
    EXPECT_EQ(buf, StDataNaNap(&t, buf));
    EXPECT_STREQ("2010-07-20", buf);
    EXPECT_STREQ("2010-07-20 01:02:03.004", StCzasNaNap(&t, buf));
    t = Make(5, 1, 2);
    EXPECT_STREQ("0005-01-02", StDataNaNap(&t, buf));

    KvTime r;
    memset(&r, 0x77, sizeof r);
    NapNaStData("2010-07-20", &r);
    EXPECT_EQ(2010, r.wYear);
    EXPECT_EQ(7, r.wMonth);
    EXPECT_EQ(20, r.wDay);
    EXPECT_EQ(2, r.wDayOfWeek);
    EXPECT_EQ(0, r.wHour + r.wMinute + r.wSecond + r.wMilliseconds);

    NapNaStCzas("2008-02-29 13:05:09.250", &r);
    EXPECT_EQ(2008, r.wYear);
    EXPECT_EQ(29, r.wDay);
    EXPECT_EQ(5, r.wDayOfWeek);  // a Friday
    EXPECT_EQ(13, r.wHour);
    EXPECT_EQ(5, r.wMinute);
    EXPECT_EQ(9, r.wSecond);
    EXPECT_EQ(250, r.wMilliseconds);
    NapNaStCzas("2008-02-29 13:05:09.7", &r);
    EXPECT_EQ(7, r.wMilliseconds);

    EXPECT_EQ(2010, DajRokZNap("2010-07-20"));
    EXPECT_EQ(0, DajRokZNap(nullptr));
}

TEST(DateText, ShortTextIsNotReadPastItsEnd) {
    // Exactly sized heap copies: the address sanitizer sees any over-read.
    const char* texts[] = {"", "2", "2010", "2010-07", "2010-07-2", "2010-07-20 1", "2010-07-20 13:05:09."};
    for (const char* s : texts) {
        std::vector<char> text(s, s + strlen(s) + 1);
        KvTime r;
        NapNaStCzas(text.data(), &r);
        NapNaStData(text.data(), &r);
        EXPECT_EQ(strlen(s) >= 4 ? 2010 : (strlen(s) ? 2 : 0), (int)r.wYear) << s;
    }
}

TEST(DateText, FieldsTooWideForTheirPlaceAreCut) {
    KvTime t = Make(40000, 999, 65535, 65535, 65535, 65535, 65535);
    std::vector<char> date(KV_DATA_LEN + 8, 'z'), time(KV_DATE_TIME_LEN + 8, 'z');
    StDataNaNap(&t, date.data());
    StCzasNaNap(&t, time.data());
    EXPECT_EQ((size_t)KV_DATA_LEN - 1, strlen(date.data()));
    EXPECT_EQ((size_t)KV_DATE_TIME_LEN - 1, strlen(time.data()));
    EXPECT_EQ('z', date[KV_DATA_LEN]);
    EXPECT_EQ('z', time[KV_DATE_TIME_LEN]);
}

// ---- Adding days and differences --------------------------------------------------------

TEST(DodajDni, DateTexts) {
    struct Case {
        const char* in;
        int64_t days;
        const char* out;
        int ok;
    } cases[] = {
        {"2010-12-31", 1, "2011-01-01", 1},
        {"2010-12-31", -365, "2009-12-31", 1},
        {"2008-02-28", 1, "2008-02-29", 1},
        {"2010-02-28", 1, "2010-03-01", 1},
        {"2000-03-01", -1, "2000-02-29", 1},
        {"2010-07-20", 0, "2010-07-20", 1},
        {"2010-01-01", 146097, "2410-01-01", 1},
        {"1601-01-01", -1, "1601-01-01", 0},  // before the first day of the scale
        {"9999-12-31", 1, "9999-12-31", 0},   // no four-digit year
        {"2010-02-30", 1, "2010-02-30", 0},
        {"2010-01-01", INT64_MAX, "2010-01-01", 0},
        {"2010-01-01", INT64_MIN, "2010-01-01", 0},
        {"2010-01-01", 10675199LL, "2010-01-01", 0},
    };
    for (const Case& c : cases) {
        char buf[KV_DATA_LEN];
        strcpy(buf, c.in);
        EXPECT_EQ(c.ok, DodajDniDoDataNap(buf, c.days)) << c.in << " + " << c.days;
        EXPECT_STREQ(c.out, buf) << c.in << " + " << c.days;
    }
}

TEST(DodajDni, ShortTextIsNotRewritten) {
    std::vector<char> text = {'2', '0', '1', '0', '-', '1', '-', '1', 0};
    EXPECT_EQ(0, DodajDniDoDataNap(text.data(), 1));
    EXPECT_STREQ("2010-1-1", text.data());
    std::vector<char> date(std::begin("2010-12-31"), std::end("2010-12-31"));
    EXPECT_EQ(0, DodajDniDoCzasNap(date.data(), 1));  // a date in a date-sized buffer
    EXPECT_STREQ("2010-12-31", date.data());
}

TEST(DodajDni, DateTimeTextsKeepTheTimeOfDay) {
    char buf[KV_DATE_TIME_LEN];
    strcpy(buf, "2010-12-31 23:59:59.999");
    EXPECT_EQ(1, DodajDniDoCzasNap(buf, 1));
    EXPECT_STREQ("2011-01-01 23:59:59.999", buf);
    strcpy(buf, "2010-03-01 00:00:00.0");
    EXPECT_EQ(1, DodajDniDoCzasNap(buf, -1));
    EXPECT_STREQ("2010-02-28 00:00:00.000", buf);
}

TEST(DodajDni, RecordGetsItsNewDayOfTheWeek) {
    KvTime t = Make(2010, 7, 20, 8, 30);
    ASSERT_EQ(1, DodajDniDoCzas(&t, 1));
    EXPECT_EQ(21, t.wDay);
    EXPECT_EQ(3, t.wDayOfWeek);
    EXPECT_EQ(8, t.wHour);
    EXPECT_EQ(30, t.wMinute);
    KvTime bad = Make(2010, 2, 29);
    KvTime before = bad;
    EXPECT_EQ(0, DodajDniDoCzas(&bad, 1));
    EXPECT_EQ(0, memcmp(&before, &bad, sizeof bad));
    EXPECT_EQ(0, DodajDniDoCzas(nullptr, 1));
}

TEST(DodajDni, DayByDayAgreesWithTheCalendarRules) {
    // Thirty years one day at a time: every day a valid date, the day of the
    // week cycling, and the day count matching the leap-year rule.
    KvTime t = Make(1999, 12, 31);
    t.wDayOfWeek = 5;
    int days = 0;
    for (int year = 2000; year < 2030; year++) days += CzyRokPrzest(year) ? 366 : 365;
    for (int i = 0; i < days; i++) {
        const int dow = t.wDayOfWeek;
        ASSERT_EQ(1, DodajDniDoCzas(&t, 1));
        char text[KV_DATA_LEN];
        ASSERT_TRUE(TstDataNap(StDataNaNap(&t, text))) << text;
        ASSERT_EQ((dow + 1) % 7, t.wDayOfWeek) << text;
        ASSERT_EQ(DajDzienTygodnia(t.wDay, t.wMonth, t.wYear, 1), t.wDayOfWeek) << text;
    }
    char text[KV_DATA_LEN];
    EXPECT_STREQ("2029-12-31", StDataNaNap(&t, text));
}

TEST(RoznicaDat, WholeDaysTruncatedTowardZero) {
    EXPECT_EQ(1, RoznicaDatNap("2010-03-01", "2010-02-28"));
    EXPECT_EQ(-1, RoznicaDatNap("2010-02-28", "2010-03-01"));
    EXPECT_EQ(0, RoznicaDatNap("2010-07-20", "2010-07-20"));
    EXPECT_EQ(2, RoznicaDatNap("2008-03-01", "2008-02-28"));
    EXPECT_EQ(365, RoznicaDatNap("2011-01-01", "2010-01-01"));
    EXPECT_EQ(146097, RoznicaDatNap("2001-01-01", "1601-01-01"));
    EXPECT_EQ(0, RoznicaDatNap("2010-02-30", "2010-01-01"));

    KvTime a = Make(2010, 3, 2, 6), b = Make(2010, 3, 1, 12);
    EXPECT_EQ(0, RoznicaDat(&a, &b));  // 18 hours
    EXPECT_EQ(0, RoznicaDat(&b, &a));
    KvTime c = Make(2010, 3, 3, 6);
    EXPECT_EQ(1, RoznicaDat(&c, &b));  // 1.75 days
    EXPECT_EQ(-1, RoznicaDat(&b, &c));
}

TEST(DajMilis1Sty1601, CountsFromTheStartOfTheScale) {
    KvTime t = Make(1601, 1, 1);
    EXPECT_EQ(0, DajMilis1Sty1601(&t));
    t = Make(1601, 1, 2, 0, 0, 0, 1);
    EXPECT_EQ(86400001, DajMilis1Sty1601(&t));
    t = Make(1970, 1, 1);
    EXPECT_EQ(11644473600000LL, DajMilis1Sty1601(&t));  // the Unix epoch
    t = Make(2010, 7, 20, 24);
    EXPECT_EQ(-1, DajMilis1Sty1601(&t));
    t = Make(1600, 12, 31);
    EXPECT_EQ(-1, DajMilis1Sty1601(&t));
}

// ---- Today and the locale display -------------------------------------------------------

TEST(Today, StoredFormsAreValid) {
    char date[KV_DATA_LEN], time[KV_DATE_TIME_LEN];
    EXPECT_EQ(date, DajAktualData(date));
    EXPECT_TRUE(TstDataNap(date)) << date;
    EXPECT_EQ(time, DajAktualCzas(time));
    EXPECT_TRUE(TstCzasNap(time)) << time;
}

using LocaleDates = LocaleTest;

TEST_P(LocaleDates, ShortDateOfTheLocale) {
    const bool comma = GetParam().decimalSep[0] == ',';
    char buf[64];
    EXPECT_EQ(buf, DajFormatData("2010-07-20", buf, (int)sizeof buf));
    EXPECT_STREQ(comma ? "20.07.2010" : "7/20/2010", buf);
    DajFormatData("2010-07-20", buf, 5);
    EXPECT_STREQ(comma ? "20.0" : "7/20", buf);
    // Not a date: shown as stored.
    DajFormatData("2010-02-30", buf, (int)sizeof buf);
    EXPECT_STREQ("2010-02-30", buf);
    std::vector<char> one(1, 'x');
    DajFormatData("2010-07-20", one.data(), 1);
    EXPECT_EQ(0, one[0]);
}

TEST_P(LocaleDates, DateAndTimeOfTheLocale) {
    const bool comma = GetParam().decimalSep[0] == ',';
    char buf[KV_DATE_TIME_STR_LEN];
    KvTime t = Make(2010, 7, 20, 13, 5, 9, 25);
    EXPECT_EQ(buf, DajDataCzasStr(buf, &t));
    EXPECT_STREQ(comma ? "20.07.2010 13:05:09" : "7/20/2010 1:05:09 PM", buf);
    DajDataCzasMilisStr(buf, &t);
    EXPECT_STREQ(comma ? "20.07.2010 13:05:09 025" : "7/20/2010 1:05:09 PM 025", buf);
}

#if !defined(_WIN32)
// The stand-in's clock can be pinned; the Windows clock cannot.
TEST_P(LocaleDates, NowUsesTheLocalClock) {
    const bool comma = GetParam().decimalSep[0] == ',';
    KvTime t = Make(2011, 1, 2, 3, 4, 5, 6);
    kvplat::SetTestTime(&t);
    char buf[KV_DATE_TIME_STR_LEN];
    EXPECT_STREQ("2011-01-02", DajAktualData(buf));
    EXPECT_STREQ("2011-01-02 03:04:05.006", DajAktualCzas(buf));
    EXPECT_STREQ(comma ? "02.01.2011 03:04:05" : "1/2/2011 3:04:05 AM", DajBiezDataCzasStr(buf));
    EXPECT_STREQ(comma ? "02.01.2011 03:04:05 006" : "1/2/2011 3:04:05 AM 006", DajBiezDataCzasMilisStr(buf));
    kvplat::SetTestTime(nullptr);
}

TEST_F(CustomLocaleTest, LongLocaleFormatIsCutToTheBuffer) {
    UtilLocale wordy = kCommaLocale;
    wordy.shortDate = "dd.MM.yyyy dd.MM.yyyy dd.MM.yyyy dd.MM.yyyy dd.MM.yyyy dd.MM.yyyy";
    UseLocale(wordy);
    std::vector<char> buf(KV_DATE_TIME_STR_LEN + 8, 'z');
    KvTime t = Make(2010, 7, 20, 13, 5, 9);
    DajDataCzasMilisStr(buf.data(), &t);
    EXPECT_EQ((size_t)KV_DATE_TIME_STR_LEN - 1, strlen(buf.data()));
    EXPECT_EQ('z', buf[KV_DATE_TIME_STR_LEN]);
}
#endif

INSTANTIATE_TEST_SUITE_P(Locales, LocaleDates, KV_LOCALES);

}  // namespace
