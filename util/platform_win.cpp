// Win32 half of the utility library's platform seam. The locale is the
// user's default one and is asked on every call: the user may change it in
// the control panel while the program runs.
#include "util/platform.h"

#include <windows.h>

#include <io.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>

#include "util/kvutil.h"

static_assert(sizeof(KvTime) == sizeof(SYSTEMTIME), "KvCzas is a SYSTEMTIME");
static_assert(offsetof(KvTime, wDayOfWeek) == offsetof(SYSTEMTIME, wDayOfWeek), "layout");
static_assert(offsetof(KvTime, wMilliseconds) == offsetof(SYSTEMTIME, wMilliseconds), "layout");

namespace kvplat {

uint32_t LastError() { return ::GetLastError(); }
void SetLastError(uint32_t code) { ::SetLastError(code); }

bool SystemMessage(uint32_t code, char* buf, int size) {
    if (!buf || size <= 0) return false;
    buf[0] = 0;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                             MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buf, (DWORD)size, nullptr);
    if (n == 0) {
        buf[0] = 0;
        return false;
    }
    while (n > 0 && (buf[n - 1] == '\r' || buf[n - 1] == '\n')) buf[--n] = 0;
    return true;
}

void UpperCaseAnsi(char* text) {
    if (text && *text) CharUpperA(text);
}

// CharUpperA/CharLowerA take a single character in the low word of the
// pointer argument.
unsigned char UpperChar(unsigned char c) { return (unsigned char)(UINT_PTR)CharUpperA((LPSTR)(UINT_PTR)c); }

unsigned char LowerChar(unsigned char c) { return (unsigned char)(UINT_PTR)CharLowerA((LPSTR)(UINT_PTR)c); }

int AnsiCodePage() { return (int)GetACP(); }

bool CodePageHighHalf(int cp, uint16_t high[128]) {
    CPINFO info;
    if (cp <= 0 || !GetCPInfo((UINT)cp, &info) || info.MaxCharSize != 1) return false;
    for (int i = 0; i < 128; i++) {
        const char b = (char)(0x80 + i);
        WCHAR w = 0;
        if (MultiByteToWideChar((UINT)cp, 0, &b, 1, &w, 1) != 1) return false;
        high[i] = (uint16_t)w;
    }
    return true;
}

static LCTYPE LcType(LocaleItem item) {
    switch (item) {
        case LocaleItem::DecimalSep: return LOCALE_SDECIMAL;
        case LocaleItem::ThousandSep: return LOCALE_STHOUSAND;
        case LocaleItem::NegativeSign: return LOCALE_SNEGATIVESIGN;
        case LocaleItem::Grouping: return LOCALE_SGROUPING;
        case LocaleItem::LeadingZero: return LOCALE_ILZERO;
        case LocaleItem::NegativeOrder: return LOCALE_INEGNUMBER;
        case LocaleItem::Digits: return LOCALE_IDIGITS;
    }
    return LOCALE_SDECIMAL;
}

bool LocaleText(LocaleItem item, char* buf, int size) {
    if (!buf || size <= 0) return false;
    buf[0] = 0;
    // Every value fits in 80 characters; a shorter caller buffer gets a cut
    // value rather than a failure.
    char tmp[80];
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LcType(item), tmp, (int)sizeof tmp) == 0) return false;
    tmp[sizeof tmp - 1] = 0;
    snprintf(buf, (size_t)size, "%s", tmp);
    return true;
}

int FormatNumber(const char* plain, const NumberFormat* fmt, char* out, int size) {
    if (!plain || !out || size <= 0) return 0;
    if (!fmt) return GetNumberFormatA(LOCALE_USER_DEFAULT, 0, plain, nullptr, out, size);
    char dsep[sizeof fmt->decimalSep];
    char tsep[sizeof fmt->thousandSep];
    memcpy(dsep, fmt->decimalSep, sizeof dsep);
    memcpy(tsep, fmt->thousandSep, sizeof tsep);
    NUMBERFMTA nf;
    nf.NumDigits = (UINT)fmt->digits;
    nf.LeadingZero = (UINT)fmt->leadingZero;
    nf.Grouping = (UINT)fmt->grouping;
    nf.lpDecimalSep = dsep;
    nf.lpThousandSep = tsep;
    nf.NegativeOrder = (UINT)fmt->negativeOrder;
    return GetNumberFormatA(LOCALE_USER_DEFAULT, 0, plain, &nf, out, size);
}

int FormatDate(const KvTime& t, char* out, int size) {
    if (!out || size <= 0) return 0;
    SYSTEMTIME st;
    memcpy(&st, &t, sizeof st);
    return GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, out, size);
}

int FormatTime(const KvTime& t, char* out, int size) {
    if (!out || size <= 0) return 0;
    SYSTEMTIME st;
    memcpy(&st, &t, sizeof st);
    return GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, out, size);
}

int FormatYearMonth(int year, int month, char* out, int size) {
    if (!out || size <= 0 || month < 1 || month > 12 || year < 1601 || year > 30827) return 0;
    SYSTEMTIME st = {};
    st.wYear = (WORD)year;
    st.wMonth = (WORD)month;
    st.wDay = 1;
    return GetDateFormatA(LOCALE_USER_DEFAULT, 0, &st, "MMM yyyy", out, size);
}

void LocalTime(KvTime* t) {
    if (!t) return;
    SYSTEMTIME st;
    GetLocalTime(&st);
    memcpy(t, &st, sizeof st);
}

PathKind Kind(const char* path) {
    if (!path || !*path) return PathKind::Missing;
    DWORD a = GetFileAttributesA(path);
    if (a == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return (a & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Directory : PathKind::File;
}

bool DriveExists(char letter) {
    if (letter >= 'a' && letter <= 'z') letter = (char)(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z') return false;
    return (GetLogicalDrives() >> (letter - 'A')) & 1u;
}

MakeDirResult MakeDir(const char* path) {
    if (CreateDirectoryA(path, nullptr)) return MakeDirResult::Created;
    return ::GetLastError() == ERROR_ALREADY_EXISTS ? MakeDirResult::Exists : MakeDirResult::Failed;
}

int64_t FileSize(FILE* f) {
    if (!f) return -1;
    __int64 n = _filelengthi64(_fileno(f));
    return n < 0 ? -1 : (int64_t)n;
}

bool ReplaceFileWith(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace kvplat
