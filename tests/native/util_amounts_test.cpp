// Amounts and rates as text, the separators, the decimal adjustment, the
// rounding divisions and the number tests: each text case runs in a comma
// and in a point locale.
#include <gtest/gtest.h>

#include <inttypes.h>
#include <string.h>

#include <string>
#include <vector>

#include "tests/native/util_locale.h"
#include "util/amounttext.h"
#include "util/kvutil.h"

namespace {

// A buffer with guard bytes on both sides: a write out of bounds shows up
// as a changed guard even without the address sanitizer.
struct Guarded {
    std::vector<char> mem;
    int size;
    explicit Guarded(int n) : mem((size_t)n + 32, '\x5A'), size(n) {}
    char* buf() { return mem.data() + 16; }
    bool GuardsIntact() const {
        for (size_t i = 0; i < 16; i++) {
            if (mem[i] != '\x5A' || mem[mem.size() - 1 - i] != '\x5A') return false;
        }
        return true;
    }
};

// ---- Locale characters ----------------------------------------------------------

using LocaleChars = LocaleTest;

TEST_P(LocaleChars, SeparatorsComeFromTheLocale) {
    EXPECT_EQ(GetParam().decimalSep[0], DajSepDziesLocale());
    EXPECT_EQ(GetParam().thousandSep[0], DajSepTysLocale());
    EXPECT_EQ('-', DajMinusLocale());
}
INSTANTIATE_TEST_SUITE_P(Locales, LocaleChars, KV_LOCALES);

TEST_F(CustomLocaleTest, SeparatorsOfMoreThanOneCharacterFallBack) {
    UtilLocale odd = kCommaLocale;
    odd.decimalSep = ",,";
    odd.thousandSep = "";
    odd.negativeSign = "--";
    UseLocale(odd);
    EXPECT_EQ('.', DajSepDziesLocale());
    // No grouping symbol: a point, not a blank.
    EXPECT_EQ('.', DajSepTysLocale());
    EXPECT_EQ('-', DajMinusLocale());
    char text[] = "1.234.567";
    UsunSepTys(text);
    EXPECT_STREQ("1234567", text);
}

// ---- Integer to text ---------------------------------------------------------------

TEST(LLNaNap, DigitsSignAndPadding) {
    struct Case {
        int64_t value;
        int minDigits;
        const char* text;
    } cases[] = {
        {0, 1, "0"},
        {0, 0, ""},
        {-1, 0, "-1"},
        {5, 3, "005"},
        {-5, 3, "-005"},
        {1234, 2, "1234"},
        {123, 19, "0000000000000000123"},
        {123, 40, "0000000000000000123"},  // taken as 19
        {7, -3, "7"},
        {INT64_MAX, 1, "9223372036854775807"},
        {INT64_MIN, 1, "-9223372036854775808"},
        {1000000000000000000LL, 1, "1000000000000000000"},
    };
    for (const Case& c : cases) {
        Guarded g(21);
        EXPECT_EQ(g.buf(), LLNaNap(c.value, g.buf(), c.minDigits));
        EXPECT_STREQ(c.text, g.buf()) << c.value << " min " << c.minDigits;
        EXPECT_TRUE(g.GuardsIntact()) << c.value;
    }
}

// ---- Plain text ----------------------------------------------------------------------

using PlainText = LocaleTest;

TEST_P(PlainText, AmountsHaveTwoDecimals) {
    struct Case {
        int64_t amount;
        const char* text;
    } cases[] = {
        {0, "0#00"},
        {-1, "-0#01"},
        {100, "1#00"},
        {1234, "12#34"},
        {-705, "-7#05"},
        {-5, "-0#05"},
        {-123456, "-1234#56"},
        {INT64_MAX, "92233720368547758#07"},
        {INT64_MIN, "-92233720368547758#08"},
    };
    for (const Case& c : cases) {
        Guarded g(KV_AMOUNT_LEN);
        const std::string want = L(c.text);
        EXPECT_EQ((int)want.size() + 1, LLX100NaNap(c.amount, g.buf())) << c.amount;
        EXPECT_EQ(want, g.buf());
        EXPECT_TRUE(g.GuardsIntact());
        char other[KV_AMOUNT_LEN];
        EXPECT_EQ((int)want.size() + 1, DajNapKwotaZl(c.amount, other));
        EXPECT_EQ(want, other);
    }
}

TEST_P(PlainText, RatesHaveFourDecimals) {
    struct Case {
        int64_t rate;
        const char* text;
    } cases[] = {
        {12345, "1#2345"},
        {0, "0#0000"},
        {-1, "-0#0001"},
        {10000, "1#0000"},
        {-27182, "-2#7182"},
        {INT64_MAX, "922337203685477#5807"},
        {INT64_MIN, "-922337203685477#5808"},
    };
    for (const Case& c : cases) {
        Guarded g(KV_AMOUNT_LEN);
        const std::string want = L(c.text);
        EXPECT_EQ((int)want.size() + 1, LLX10000NaNap(c.rate, g.buf())) << c.rate;
        EXPECT_EQ(want, g.buf());
        EXPECT_TRUE(g.GuardsIntact());
        char other[KV_AMOUNT_LEN];
        EXPECT_EQ((int)want.size() + 1, DajNapKursWalZl(c.rate, other));
        EXPECT_EQ(want, other);
    }
}

// Values spread over the whole range, from a fixed generator.
static std::vector<int64_t> SpreadValues() {
    std::vector<int64_t> v = {0, 1, -1, 99, -99, 100, -100, 101, INT64_MAX, -INT64_MAX, INT64_MAX - 1};
    uint64_t x = 0x9E3779B97F4A7C15ULL;
    for (int i = 0; i < 4000; i++) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        int64_t s = (int64_t)(x >> (i % 60));  // every magnitude, both signs
        if (s == INT64_MIN) continue;
        v.push_back(i % 2 ? s : -s);
    }
    return v;
}

TEST_P(PlainText, ReadingBackGivesTheSameValue) {
    for (int64_t value : SpreadValues()) {
        char text[KV_AMOUNT_LEN];
        LLX100NaNap(value, text);
        ASSERT_EQ(value, NapNaLLX100(text)) << text;
        LLX10000NaNap(value, text);
        ASSERT_EQ(value, NapNaLLX10000(text)) << text;
    }
}

// ---- Text to amount ------------------------------------------------------------------

using Readers = LocaleTest;

TEST_P(Readers, AmountFromText) {
    struct Case {
        const char* text;
        int64_t amount;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"7", 700},
        {"7#", 700},
        {"12#5", 1250},
        {"12#05", 1205},
        {"12#349", 1234},  // cut, not rounded
        {"12#999", 1299},
        {"-0#50", -50},
        {"  -3#1", -310},
        {"+4", 400},
        {"12#5x", 1250},  // what follows the number is not read
        {"12@50", 1200},  // the other character is no separator
        {"1#2#3", 1230},  // the last separator counts
        {"--5", 0},
        {"99999999999999999999", INT64_MAX},
        {"-99999999999999999999", -INT64_MAX},
        {"92233720368547758#07", INT64_MAX},
        {"92233720368547758#08", INT64_MAX},
        {"-92233720368547758#08", -INT64_MAX},  // -2^63 is not an amount
        {"92233720368547759", INT64_MAX},
    };
    for (const Case& c : cases) {
        const std::string text = L(c.text);
        EXPECT_EQ(c.amount, NapNaLLX100(text.c_str())) << text;
        EXPECT_EQ(c.amount, DajKwotaGrZNap(text.c_str())) << text;
    }
    EXPECT_EQ(0, NapNaLLX100(nullptr));
}

TEST_P(Readers, RateFromText) {
    struct Case {
        const char* text;
        int64_t rate;
    } cases[] = {
        {"0#00015", 1},
        {"1#5", 15000},
        {"1", 10000},
        {"-2#71828", -27182},
        {"1#2345", 12345},
        {"3#", 30000},
        {"922337203685477#5808", INT64_MAX},
    };
    for (const Case& c : cases) {
        const std::string text = L(c.text);
        EXPECT_EQ(c.rate, NapNaLLX10000(text.c_str())) << text;
        EXPECT_EQ(c.rate, DajKursWalGrZNap(text.c_str())) << text;
    }
}

TEST_P(Readers, GroupedTextLosesItsGroupMarks) {
    EXPECT_EQ(123456, DajKwotaGrZNapSepTys(L("1~234#56").c_str()));
    EXPECT_EQ(-123456780, DajKwotaGrZNapSepTys(L("-1~234~567#8").c_str()));
    EXPECT_EQ(12345678901LL, DajKursWalGrZNapSepTys(L("1~234~567#8901234").c_str()));  // 5th decimal cut
    EXPECT_EQ(0, DajKwotaGrZNapSepTys(nullptr));
}

TEST_P(Readers, OnlySixtyThreeCharactersAreRead) {
    // 62 blanks and a digit: the digit is the 63rd character and counts.
    std::string text(62, ' ');
    EXPECT_EQ(500, NapNaLLX100((text + "5").c_str()));
    // One blank more pushes it out of reach.
    EXPECT_EQ(0, NapNaLLX100((text + " 5").c_str()));
    // A long text ending in separators must not be read to its end.
    std::string longText = "7" + std::string(5000, GetParam().decimalSep[0]);
    EXPECT_EQ(700, NapNaLLX100(longText.c_str()));
    std::string grouped = "1" + std::string(5000, GetParam().thousandSep[0]);
    EXPECT_EQ(100, DajKwotaGrZNapSepTys(grouped.c_str()));
}

TEST_F(CustomLocaleTest, ReaderKeepsThePointWhenBothMarksAreOne) {
    UtilLocale same = kPointLocale;
    same.thousandSep = "";  // falls back to ".", the decimal point too
    UseLocale(same);
    EXPECT_EQ(1250, DajKwotaGrZNapSepTys("12.50"));
    EXPECT_EQ(15000, DajKursWalGrZNapSepTys("1.5"));
}

INSTANTIATE_TEST_SUITE_P(Locales, PlainText, KV_LOCALES);
INSTANTIATE_TEST_SUITE_P(Locales, Readers, KV_LOCALES);

// ---- Grouped text --------------------------------------------------------------------

using GroupedText = LocaleTest;

TEST_P(GroupedText, AmountsShowDecimalsOnlyWhenNotWhole) {
    struct Case {
        int64_t amount;
        const char* text;
    } cases[] = {
        {123456, "1~234#56"},
        {-123456, "-1~234#56"},
        {100000, "1~000"},
        {0, "0"},
        {5, "0#05"},
        {-120000, "-1~200"},
        {123450, "1~234#50"},
        {-1, "-0#01"},
        {100000000000LL, "1~000~000~000"},
    };
    for (const Case& c : cases) {
        char buf[64];
        const std::string want = L(c.text);
        EXPECT_EQ((int)want.size() + 1, DajNapKwotaZlSepTys(c.amount, buf, (int)sizeof buf)) << c.amount;
        EXPECT_EQ(want, buf);
    }
}

TEST_P(GroupedText, RatesAlwaysShowFourDecimals) {
    struct Case {
        int64_t rate;
        const char* text;
    } cases[] = {
        {12345, "1#2345"}, {123456789, "12~345#6789"}, {-10000, "-1#0000"}, {0, "0#0000"}, {5, "0#0005"},
    };
    for (const Case& c : cases) {
        char buf[64];
        const std::string want = L(c.text);
        EXPECT_EQ((int)want.size() + 1, DajNapKursWalZlSepTys(c.rate, buf, (int)sizeof buf)) << c.rate;
        EXPECT_EQ(want, buf);
    }
}

TEST_P(GroupedText, ReadingBackGivesTheSameValue) {
    for (int64_t value : SpreadValues()) {
        char buf[64];
        ASSERT_GT(DajNapKwotaZlSepTys(value, buf, (int)sizeof buf), 0) << value;
        ASSERT_EQ(value, DajKwotaGrZNapSepTys(buf)) << buf;
        ASSERT_GT(DajNapKursWalZlSepTys(value, buf, (int)sizeof buf), 0) << value;
        ASSERT_EQ(value, DajKursWalGrZNapSepTys(buf)) << buf;
    }
}

TEST_P(GroupedText, SmallDestinationGetsNothingRatherThanACutNumber) {
    const std::string want = L("-1~234#56");
    for (int size = 0; size <= (int)want.size() + 1; size++) {
        Guarded g(size);
        int n = DajNapKwotaZlSepTys(-123456, g.buf(), size);
        if (size == (int)want.size() + 1) {
            EXPECT_EQ(size, n);
            EXPECT_EQ(want, g.buf());
        } else {
            EXPECT_EQ(0, n) << size;
            if (size > 0) {
                EXPECT_STREQ("", g.buf());
            }
        }
        EXPECT_TRUE(g.GuardsIntact()) << size;
        Guarded r(size);
        DajNapKursWalZlSepTys(-1234567800, r.buf(), size);
        EXPECT_TRUE(r.GuardsIntact()) << size;
    }
}

// Computed amounts in a window: two decimals always, sign forms kept, and
// nothing rather than a cut number when the text does not fit.
TEST_P(GroupedText, ShownAmountsAlwaysHaveTwoDecimals) {
    struct Case {
        int64_t amount;
        const char* text;
    } cases[] = {
        {123400, "1~234#00"}, {123456, "1~234#56"}, {0, "0#00"}, {5, "0#05"}, {-120000, "-1~200#00"},
    };
    for (const Case& c : cases) {
        char buf[64];
        const std::string want = L(c.text);
        EXPECT_EQ((int)want.size() + 1, AmountDisplayText(c.amount, buf, (int)sizeof buf)) << c.amount;
        EXPECT_EQ(want, buf);
    }
    const std::string whole = L("1~234#00");
    char small[16];
    EXPECT_EQ(0, AmountDisplayText(123400, small, (int)whole.size()));
    EXPECT_STREQ("", small);
    EXPECT_EQ((int)whole.size() + 1, AmountDisplayText(123400, small, (int)whole.size() + 1));
}

INSTANTIATE_TEST_SUITE_P(Locales, GroupedText, KV_LOCALES);

TEST_F(CustomLocaleTest, TrailingNegativeSignSurvivesTheDecimalAdjustment) {
    UtilLocale suffix = kCommaLocale;
    suffix.negativeOrder = 3;  // "1,1-"
    UseLocale(suffix);
    char buf[64];
    DajNapKwotaZlSepTys(-123450, buf, (int)sizeof buf);
    EXPECT_STREQ("1 234,50-", buf);
    DajNapKwotaZlSepTys(-120000, buf, (int)sizeof buf);
    EXPECT_STREQ("1 200-", buf);
    AmountDisplayText(-120000, buf, (int)sizeof buf);
    EXPECT_STREQ("1 200,00-", buf);
}

TEST_F(CustomLocaleTest, AmountKeepsTwoDecimalsWhateverTheLocaleShows) {
    UtilLocale three = kCommaLocale;
    three.digits = 3;
    UseLocale(three);
    char buf[64];
    EXPECT_EQ(9, DajNapKwotaZlSepTys(123456, buf, (int)sizeof buf));
    EXPECT_STREQ("1 234,56", buf);
}

TEST_F(CustomLocaleTest, CentsShowEvenWhereTheLocaleShowsFewerDecimals) {
    for (int digits : {0, 1}) {
        UtilLocale few = kCommaLocale;
        few.digits = digits;
        few.grouping = "3;2;0";
        UseLocale(few);
        char buf[64];
        DajNapKwotaZlSepTys(123456789, buf, (int)sizeof buf);
        EXPECT_STREQ("12 34 567,89", buf) << digits;  // groups of 3, then 2
        DajNapKwotaZlSepTys(120000, buf, (int)sizeof buf);
        EXPECT_STREQ("1 200", buf) << digits;
    }
}

TEST_F(CustomLocaleTest, NegativeFormsReadBackNegative) {
    // (1 234,56)  - 1 234,56  1 234,56-  1 234,56 -
    for (int order : {0, 1, 2, 3, 4}) {
        UtilLocale form = kCommaLocale;
        form.negativeOrder = order;
        UseLocale(form);
        for (int64_t v : {-123456LL, -5LL, -100000LL, 123456LL}) {
            char buf[64];
            ASSERT_GT(DajNapKwotaZlSepTys(v, buf, (int)sizeof buf), 0);
            EXPECT_EQ(v, DajKwotaGrZNapSepTys(buf)) << buf;
            ASSERT_GT(DajNapKursWalZlSepTys(v, buf, (int)sizeof buf), 0);
            EXPECT_EQ(v, DajKursWalGrZNapSepTys(buf)) << buf;
        }
    }
    UseLocale(kCommaLocale);
    EXPECT_EQ(-123456, DajKwotaGrZNapSepTys(" ( 1 234,56 ) "));
    EXPECT_EQ(-50, DajKwotaGrZNapSepTys("0,50 -"));
}

TEST_F(CustomLocaleTest, RateGroupsByTheFirstGroupSize) {
    UtilLocale indian = kPointLocale;
    indian.grouping = "3;2;0";
    UseLocale(indian);
    char buf[64];
    DajNapKursWalZlSepTys(123456789012LL, buf, (int)sizeof buf);
    EXPECT_STREQ("12,345,678.9012", buf);
}

// ---- Decimal adjustment -----------------------------------------------------------------

using DecimalAdjust = LocaleTest;

TEST_P(DecimalAdjust, CutsTrimsAndPads) {
    struct Case {
        const char* in;
        int n;
        const char* allowed;
        const char* out;
        int changed;
    } cases[] = {
        {"12#00", 2, "0", "12", 1},
        {"12#5", 2, "0", "12#50", 1},
        {"12", 2, nullptr, "12#00", 1},
        {"100", 2, "0", "100", 0},  // zeros of the integer part stay
        {"1#2500", 4, "0123", "1#25", 1},
        {"3", 4, "0123", "3", 0},
        {"0#12345", 4, "0123", "0#1234", 1},
        {"12#34", 2, "0", "12#34", 0},
        {"12#345", 2, nullptr, "12#34", 1},
        {"12#", 2, "0", "12", 1},
        {"12#", 2, nullptr, "12#00", 1},
        {"5", 0, nullptr, "5", 0},
        {"5#5", 0, nullptr, "5", 1},
        {"1#10", 3, "2", "1#10", 0},  // trimmed to 1#1, padded back to 1#10
        {"-1~234#5", 2, "0", "-1~234#50", 1},
        {"1#5", 2, "", "1#50", 1},
    };
    for (const Case& c : cases) {
        std::string in = L(c.in);
        std::vector<char> buf(in.begin(), in.end());
        buf.resize(in.size() + (size_t)c.n + 2, '\0');
        EXPECT_EQ(c.changed, DopasujCzDzies(buf.data(), c.n, c.allowed)) << in << " n=" << c.n;
        EXPECT_EQ(L(c.out), buf.data()) << in << " n=" << c.n;
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, DecimalAdjust, KV_LOCALES);

// ---- Separators --------------------------------------------------------------------------

using Separators = LocaleTest;

TEST_P(Separators, RemovingAndSwapping) {
    std::string s = L("1#2#3");
    UsunSepDzies(&s[0]);
    EXPECT_STREQ("123", s.c_str());

    s = L("1~234~567#8");
    UsunSepTys(&s[0]);
    EXPECT_STREQ(L("1234567#8").c_str(), s.c_str());

    s = L("1#2#3");
    char* at = SepDziesNaKropke(&s[0]);
    EXPECT_STREQ(L("1#2.3").c_str(), s.c_str());
    EXPECT_EQ(&s[0] + 3, at);
    char none[] = "123";
    EXPECT_EQ(nullptr, SepDziesNaKropke(none));

    char points[] = "1.2.3";
    EXPECT_EQ(GetParam().decimalSep[0], KropkaNaSepDzies(points));
    EXPECT_EQ(L("1.2#3"), points);
    char noPoint[] = "123";
    EXPECT_EQ(0, KropkaNaSepDzies(noPoint));
    EXPECT_STREQ("123", noPoint);
}

INSTANTIATE_TEST_SUITE_P(Locales, Separators, KV_LOCALES);

// ---- Rounding divisions -------------------------------------------------------------------

TEST(DzielKwote, RoundsHalvesDownAndTruncatesNegatives) {
    struct Case {
        int64_t a, d, q;
    } cases[] = {
        {250, 100, 2},
        {251, 100, 3},
        {5, 2, 2},
        {2, 3, 1},
        {1, 3, 0},
        {150, 100, 1},
        {151, 100, 2},
        {-250, 100, -2},
        {-299, 100, -2},
        {-1, 2, 0},
        {0, 7, 0},
        {17, 0, 0},
        {-17, 0, 0},
        {INT64_MIN, 0, 0},
        {INT64_MAX, 1, INT64_MAX},
        {INT64_MAX, 2, 4611686018427387903LL},
        {INT64_MAX, INT64_MAX, 1},
        {INT64_MAX - 1, INT64_MAX, 1},
        {1, INT64_MAX, 0},
        {INT64_MIN, 1, -INT64_MAX},
        {INT64_MIN, -1, INT64_MAX},
        {7, -2, -3},
        {-7, -2, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.q, DzielKwote(c.a, c.d)) << c.a << " / " << c.d;
    }
}

#if defined(__SIZEOF_INT128__)
// The ratio against plain 128-bit arithmetic with the same rounding rule.
static int64_t RatioReference(int64_t a, int64_t d) {
    __int128 n = (__int128)a * 10000;
    __int128 q = n / d, r = n % d;
    if (r > d / 2) q++;
    if (q > INT64_MAX) return INT64_MAX;
    if (q < -INT64_MAX) return -INT64_MAX;
    return (int64_t)q;
}

TEST(DzielKwotaKursWal, MatchesWideArithmeticOverTheRange) {
    std::vector<int64_t> values = SpreadValues();
    for (size_t i = 0; i + 1 < values.size(); i += 2) {
        int64_t a = values[i], d = values[i + 1];
        if (d <= 0) d = d == 0 ? 1 : -d;  // positive divisors, as every caller
        ASSERT_EQ(RatioReference(a, d), DzielKwotaKursWal(a, d)) << a << " / " << d;
        ASSERT_EQ(RatioReference(a, d % 1000000 + 1), DzielKwotaKursWal(a, d % 1000000 + 1)) << a;
    }
}
#endif

TEST(DzielKwotaKursWal, RatioAsRate) {
    struct Case {
        int64_t a, d, rate;
    } cases[] = {
        {1, 3, 3333},
        {2, 3, 6667},
        {1, 2, 5000},
        {1, 20000, 0},
        {3, 20000, 1},
        {5, 20000, 2},
        {-1, 3, -3333},
        {-2, 3, -6666},
        {9, 0, 0},
        {123456789, 1000, 1234567890},
        {INT64_MAX, 1, INT64_MAX},
        {INT64_MAX, INT64_MAX, 10000},
        {INT64_MAX - 1, INT64_MAX, 10000},
        {INT64_MAX / 2, INT64_MAX, 5000},
        {1, INT64_MAX, 0},
        {INT64_MIN, 1, -INT64_MAX},
        {INT64_MIN, -1, INT64_MAX},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.rate, DzielKwotaKursWal(c.a, c.d)) << c.a << " / " << c.d;
    }
}

// ---- Small helpers ------------------------------------------------------------------------

TEST(NumberTests, DigitsAndHexDigits) {
    struct Case {
        const char* text;
        int dec, hex;
    } cases[] = {
        {"", 1, 1},     {"0123456789", 1, 1}, {"12a", 0, 1},        {"-1", 0, 0}, {" 1", 0, 0},
        {"beef", 0, 1}, {"0x1F", 0, 0},       {"DEADbeef09", 0, 1}, {"g", 0, 0},  {"1.5", 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.dec, CzyNapLiczba(c.text)) << c.text;
        EXPECT_EQ(c.hex, CzyNapLiczbaHex(c.text)) << c.text;
    }
    EXPECT_EQ(0, CzyNapLiczba(nullptr));
    EXPECT_EQ(0, CzyNapLiczbaHex(nullptr));
}

TEST(ByteOrder, NetworkOrderIsBigEndian) {
    const uint64_t v = 0x0102030405060708ULL;
    EXPECT_EQ(0x0807060504030201ULL, Htonll(v));
    EXPECT_EQ(v, Ntohll(Htonll(v)));
    unsigned char bytes[8];
    uint64_t net = Htonll(v);
    memcpy(bytes, &net, 8);
    for (int i = 0; i < 8; i++) EXPECT_EQ(i + 1, bytes[i]);  // x86 is little-endian
}

TEST(StrLenCpy, CopiesAndCounts) {
    char buf[16];
    memset(buf, 'x', sizeof buf);
    EXPECT_EQ(5, StrLenCpy(buf, "hello"));
    EXPECT_STREQ("hello", buf);
    EXPECT_EQ(0, StrLenCpy(buf, nullptr));
    EXPECT_STREQ("", buf);
}

}  // namespace
