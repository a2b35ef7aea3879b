// Locales for the utility tests. Natively they are given to the platform
// stand-in; on Windows they are written into the user's settings for the
// duration of a test and the previous settings are put back afterwards.
#ifndef KV_TESTS_UTIL_LOCALE_H
#define KV_TESTS_UTIL_LOCALE_H

#include <gtest/gtest.h>

#include <string>

struct UtilLocale {
    const char* name;
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

// Polish-like: "1 234,56", dd.MM.yyyy, 24-hour clock.
extern const UtilLocale kCommaLocale;
// English-like: "1,234.56", M/d/yyyy, 12-hour clock.
extern const UtilLocale kPointLocale;

void UseLocale(const UtilLocale& locale);
void RestoreLocale();

// The pattern with "#" replaced by the locale's decimal separator, "~" by
// its thousands separator and "@" by the other one of "," and "." (the
// character that is not a decimal separator in this locale).
std::string Loc(const UtilLocale& locale, const char* pattern);

// A test run once in each of the two locales.
class LocaleTest : public ::testing::TestWithParam<UtilLocale> {
protected:
    void SetUp() override { UseLocale(GetParam()); }
    void TearDown() override { RestoreLocale(); }
    std::string L(const char* pattern) const { return Loc(GetParam(), pattern); }
};

// A test with a locale of its own, put back afterwards.
class CustomLocaleTest : public ::testing::Test {
protected:
    void TearDown() override { RestoreLocale(); }
};

// Names the locale in failure messages.
inline void PrintTo(const UtilLocale& l, std::ostream* os) { *os << l.name; }

std::string LocaleName(const ::testing::TestParamInfo<UtilLocale>& info);

#define KV_LOCALES ::testing::Values(kCommaLocale, kPointLocale), LocaleName

#endif  // KV_TESTS_UTIL_LOCALE_H
