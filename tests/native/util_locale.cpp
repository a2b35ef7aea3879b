#include "tests/native/util_locale.h"

#include <stdio.h>

#ifdef _WIN32
#include <windows.h>
#include <map>
#else
#include "util/platform.h"
#endif

const UtilLocale kCommaLocale = {"Comma", ",", " ", "-", "3;0", 2, 1, 1, "dd.MM.yyyy", "HH:mm:ss"};
const UtilLocale kPointLocale = {"Point", ".", ",", "-", "3;0", 2, 1, 1, "M/d/yyyy", "h:mm:ss tt"};

std::string LocaleName(const ::testing::TestParamInfo<UtilLocale>& info) { return info.param.name; }

std::string Loc(const UtilLocale& locale, const char* pattern) {
    std::string s;
    const std::string dec = locale.decimalSep;
    for (const char* p = pattern; *p; p++) {
        if (*p == '#') s += dec;
        else if (*p == '~') s += locale.thousandSep;
        else if (*p == '@') s += (dec == "," ? "." : ",");
        else s += *p;
    }
    return s;
}

#ifdef _WIN32

static std::map<LCTYPE, std::string> g_saved;

static void Set(LCTYPE type, const char* value) {
    if (!g_saved.count(type)) {
        char old[128] = "";
        GetLocaleInfoA(LOCALE_USER_DEFAULT, type, old, (int)sizeof old);
        g_saved[type] = old;
    }
    ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, type, value)) << "locale item " << type;
}

void UseLocale(const UtilLocale& l) {
    char num[16];
    Set(LOCALE_SDECIMAL, l.decimalSep);
    Set(LOCALE_STHOUSAND, l.thousandSep);
    Set(LOCALE_SNEGATIVESIGN, l.negativeSign);
    Set(LOCALE_SGROUPING, l.grouping);
    snprintf(num, sizeof num, "%d", l.digits);
    Set(LOCALE_IDIGITS, num);
    snprintf(num, sizeof num, "%d", l.leadingZero);
    Set(LOCALE_ILZERO, num);
    snprintf(num, sizeof num, "%d", l.negativeOrder);
    Set(LOCALE_INEGNUMBER, num);
    Set(LOCALE_SSHORTDATE, l.shortDate);
    Set(LOCALE_STIMEFORMAT, l.timeFormat);
}

void RestoreLocale() {
    for (const auto& kv : g_saved) SetLocaleInfoA(LOCALE_USER_DEFAULT, kv.first, kv.second.c_str());
    g_saved.clear();
}

#else

void UseLocale(const UtilLocale& l) {
    kvplat::TestLocale t = {l.decimalSep,  l.thousandSep,   l.negativeSign, l.grouping,  l.digits,
                            l.leadingZero, l.negativeOrder, l.shortDate,    l.timeFormat};
    kvplat::SetTestLocale(t);
}

void RestoreLocale() { UseLocale(kPointLocale); }

#endif
