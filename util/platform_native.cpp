// Native stand-in for the platform seam: the build that runs the portable
// tests under the sanitizers. Its locale and clock are set by the tests; its
// number and date formatters follow the rules of the Win32 ones closely
// enough for the routines above them (rounding, grouping, negative forms).
#include "util/platform.h"

#include "util/kvutil.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <time.h>

#include <chrono>
#include <string>

namespace kvplat {

static thread_local uint32_t t_lastError;

uint32_t LastError() { return t_lastError; }
void SetLastError(uint32_t code) { t_lastError = code; }

bool SystemMessage(uint32_t code, char* buf, int size) {
    if (!buf || size <= 0) return false;
    buf[0] = 0;
    if (code == 0) {
        snprintf(buf, (size_t)size, "The operation completed successfully.");
        return true;
    }
    return false;
}

unsigned char UpperChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? (unsigned char)(c - 'a' + 'A') : c;
}

unsigned char LowerChar(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? (unsigned char)(c - 'A' + 'a') : c;
}

void UpperCaseAnsi(char* text) {
    for (; text && *text; text++) *text = (char)UpperChar((unsigned char)*text);
}

// ---- Code pages -------------------------------------------------------------

static int g_ansiCodePage = 1252;

int AnsiCodePage() { return g_ansiCodePage; }
void SetTestAnsiCodePage(int cp) { g_ansiCodePage = cp; }

// Bytes 0x80-0xFF; 0 marks a byte the code page leaves undefined.
// clang-format off
static const uint16_t kCp1250[128] = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};
static const uint16_t kCp1252[32] = {
    0x20AC, 0x0000, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x0000, 0x017D, 0x0000,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x0000, 0x017E, 0x0178,
};  // 0xA0-0xFF are the Latin-1 characters of the same value
// clang-format on

bool CodePageHighHalf(int cp, uint16_t high[128]) {
    if (cp != 1250 && cp != 1252) return false;
    for (int i = 0; i < 128; i++) {
        uint16_t c = cp == 1250 ? kCp1250[i] : i < 32 ? kCp1252[i] : (uint16_t)(0x80 + i);
        high[i] = c ? c : (uint16_t)(0x80 + i);
    }
    return true;
}

// ---- Locale -----------------------------------------------------------------

// An English-like point locale until a test says otherwise.
static TestLocale g_locale = {".", ",", "-", "3;0", 2, 1, 1, "M/d/yyyy", "HH:mm:ss"};

void SetTestLocale(const TestLocale& locale) { g_locale = locale; }

static bool CopyCut(const char* s, char* buf, int size) {
    if (!buf || size <= 0) return false;
    buf[0] = 0;
    if (!s) return false;
    snprintf(buf, (size_t)size, "%s", s);
    return true;
}

bool LocaleText(LocaleItem item, char* buf, int size) {
    char num[8];
    switch (item) {
        case LocaleItem::DecimalSep: return CopyCut(g_locale.decimalSep, buf, size);
        case LocaleItem::ThousandSep: return CopyCut(g_locale.thousandSep, buf, size);
        case LocaleItem::NegativeSign: return CopyCut(g_locale.negativeSign, buf, size);
        case LocaleItem::Grouping: return CopyCut(g_locale.grouping, buf, size);
        case LocaleItem::LeadingZero:
            snprintf(num, sizeof num, "%d", g_locale.leadingZero);
            return CopyCut(num, buf, size);
        case LocaleItem::Digits:
            snprintf(num, sizeof num, "%d", g_locale.digits);
            return CopyCut(num, buf, size);
        case LocaleItem::NegativeOrder:
            snprintf(num, sizeof num, "%d", g_locale.negativeOrder);
            return CopyCut(num, buf, size);
    }
    return CopyCut(nullptr, buf, size);
}

// Group sizes from a grouping text "3;2;0": a trailing 0 repeats the last
// size; without it the digits left of the last group stay together.
static void GroupDigits(const std::string& digits, const std::string& grouping, const std::string& sep,
                        std::string& out) {
    int sizes[8];
    int n = 0;
    bool repeat = false;
    for (size_t i = 0; i < grouping.size() && n < 8; i++) {
        char c = grouping[i];
        if (c < '0' || c > '9') continue;
        if (c == '0') {
            repeat = true;
            break;
        }
        sizes[n++] = c - '0';
    }
    if (n == 0) {
        out += digits;
        return;
    }
    // Cut positions from the right.
    std::string rev;
    int gi = 0;
    int inGroup = 0;
    bool grouping_on = true;
    for (size_t k = 0; k < digits.size(); k++) {
        char d = digits[digits.size() - 1 - k];
        if (grouping_on && inGroup == sizes[gi]) {
            rev += std::string(sep.rbegin(), sep.rend());
            inGroup = 0;
            if (gi + 1 < n) {
                gi++;
            } else if (!repeat) {
                grouping_on = false;
            }
        }
        rev += d;
        inGroup++;
    }
    out.append(rev.rbegin(), rev.rend());
}

int FormatNumber(const char* plain, const NumberFormat* fmt, char* out, int size) {
    if (!plain || !out || size <= 0) return 0;
    const char* p = plain;
    bool neg = false;
    if (*p == '-') {
        neg = true;
        p++;
    }
    std::string ip, fp;
    while (*p >= '0' && *p <= '9') ip += *p++;
    if (*p == '.') {
        p++;
        while (*p >= '0' && *p <= '9') fp += *p++;
    }
    if (*p || (ip.empty() && fp.empty())) {
        SetLastError(87);  // ERROR_INVALID_PARAMETER
        return 0;
    }
    int digits = fmt ? fmt->digits : g_locale.digits;
    int leadingZero = fmt ? fmt->leadingZero : g_locale.leadingZero;
    int order = fmt ? fmt->negativeOrder : g_locale.negativeOrder;
    std::string dsep = fmt ? fmt->decimalSep : (g_locale.decimalSep ? g_locale.decimalSep : ".");
    std::string tsep = fmt ? fmt->thousandSep : (g_locale.thousandSep ? g_locale.thousandSep : "");
    std::string grouping;
    if (fmt) {
        // The integer form: its digits are the group sizes, and a last digit
        // 0 means the last size is not repeated.
        if (fmt->grouping > 0) {
            std::string g = std::to_string(fmt->grouping);
            bool once = g.size() > 1 && g.back() == '0';
            if (once) g.pop_back();
            for (char c : g) grouping += std::string(1, c) + ";";
            grouping += once ? "" : "0";
        }
    } else if (g_locale.grouping) {
        grouping = g_locale.grouping;
    }
    if (digits < 0 || digits > 9) digits = 2;
    // Round half away from zero to the shown decimals.
    bool up = (int)fp.size() > digits && fp[(size_t)digits] >= '5';
    fp.resize((size_t)digits, '0');
    if (up) {
        std::string all = ip + fp;
        int i = (int)all.size() - 1;
        while (i >= 0 && all[(size_t)i] == '9') all[(size_t)i--] = '0';
        if (i >= 0) {
            all[(size_t)i]++;
        } else {
            all.insert(all.begin(), '1');
        }
        ip = all.substr(0, all.size() - (size_t)digits);
        fp = all.substr(all.size() - (size_t)digits);
    }
    while (ip.size() > 1 && ip[0] == '0') ip.erase(0, 1);
    if (ip.empty()) ip = "0";
    std::string body;
    if (!(ip == "0" && !leadingZero && digits > 0)) GroupDigits(ip, grouping, tsep, body);
    if (digits > 0) body += dsep + fp;
    std::string sign = g_locale.negativeSign ? g_locale.negativeSign : "-";
    std::string res;
    if (neg) {
        switch (order) {
            case 0: res = "(" + body + ")"; break;
            case 2: res = sign + " " + body; break;
            case 3: res = body + sign; break;
            case 4: res = body + " " + sign; break;
            default: res = sign + body; break;
        }
    } else {
        res = body;
    }
    if ((int)res.size() + 1 > size) {
        SetLastError(122);  // ERROR_INSUFFICIENT_BUFFER
        return 0;
    }
    memcpy(out, res.c_str(), res.size() + 1);
    return (int)res.size() + 1;
}

// Expands a d/M/y/H/h/m/s/t pattern: runs of one letter pick the field.
static int FormatPattern(const char* pattern, const KvTime& t, char* out, int size) {
    if (!out || size <= 0 || !pattern) return 0;
    std::string res;
    char num[16];
    for (const char* p = pattern; *p;) {
        char c = *p;
        int run = 0;
        while (p[run] == c) run++;
        p += run;
        switch (c) {
            case 'd': snprintf(num, sizeof num, run >= 2 ? "%02u" : "%u", (unsigned)t.wDay); break;
            case 'M': snprintf(num, sizeof num, run >= 2 ? "%02u" : "%u", (unsigned)t.wMonth); break;
            case 'y':
                if (run >= 3) snprintf(num, sizeof num, "%04u", (unsigned)t.wYear);
                else snprintf(num, sizeof num, "%02u", (unsigned)(t.wYear % 100));
                break;
            case 'H': snprintf(num, sizeof num, run >= 2 ? "%02u" : "%u", (unsigned)t.wHour); break;
            case 'h': {
                unsigned h = t.wHour % 12u;
                snprintf(num, sizeof num, run >= 2 ? "%02u" : "%u", h ? h : 12u);
                break;
            }
            case 'm': snprintf(num, sizeof num, run >= 2 ? "%02u" : "%u", (unsigned)t.wMinute); break;
            case 's': snprintf(num, sizeof num, run >= 2 ? "%02u" : "%u", (unsigned)t.wSecond); break;
            case 't': snprintf(num, sizeof num, "%s", t.wHour < 12 ? "AM" : "PM"); break;
            default: res.append((size_t)run, c); continue;
        }
        res += num;
    }
    if ((int)res.size() + 1 > size) return 0;
    memcpy(out, res.c_str(), res.size() + 1);
    return (int)res.size() + 1;
}

int FormatDate(const KvTime& t, char* out, int size) {
    // The system formatter refuses a date that is not one.
    if (t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1 || t.wDay > 31) return 0;
    return FormatPattern(g_locale.shortDate, t, out, size);
}

int FormatTime(const KvTime& t, char* out, int size) {
    if (t.wHour > 23 || t.wMinute > 59 || t.wSecond > 59) return 0;
    return FormatPattern(g_locale.timeFormat, t, out, size);
}

int FormatYearMonth(int year, int month, char* out, int size) {
    static const char* const kNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (!out || size <= 0 || month < 1 || month > 12 || year < 1 || year > 9999) return 0;
    const int n = snprintf(out, (size_t)size, "%s %04d", kNames[month - 1], year);
    return n > 0 && n < size ? n + 1 : 0;
}

// ---- Clock ------------------------------------------------------------------

static bool g_fixedTime;
static KvTime g_time;

void SetTestTime(const KvTime* t) {
    g_fixedTime = t != nullptr;
    if (t) g_time = *t;
}

void LocalTime(KvTime* t) {
    if (!t) return;
    if (g_fixedTime) {
        *t = g_time;
        return;
    }
    auto now = std::chrono::system_clock::now();
    time_t secs = std::chrono::system_clock::to_time_t(now);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
    struct tm tmv;
    localtime_r(&secs, &tmv);
    t->wYear = (uint16_t)(tmv.tm_year + 1900);
    t->wMonth = (uint16_t)(tmv.tm_mon + 1);
    t->wDayOfWeek = (uint16_t)tmv.tm_wday;
    t->wDay = (uint16_t)tmv.tm_mday;
    t->wHour = (uint16_t)tmv.tm_hour;
    t->wMinute = (uint16_t)tmv.tm_min;
    t->wSecond = (uint16_t)tmv.tm_sec;
    t->wMilliseconds = (uint16_t)ms.count();
}

// ---- File system ------------------------------------------------------------

// "C:\a\b" becomes "/a/b", "a\b" becomes "a/b".
static std::string HostPath(const char* path) {
    std::string s = path ? path : "";
    if (s.size() >= 2 && s[1] == ':') s = s.substr(2);
    for (char& c : s) {
        if (c == '\\') c = '/';
    }
    return s;
}

PathKind Kind(const char* path) {
    struct stat st;
    std::string p = HostPath(path);
    if (p.empty() || stat(p.c_str(), &st) != 0) return PathKind::Missing;
    return S_ISDIR(st.st_mode) ? PathKind::Directory : PathKind::File;
}

// Every drive of the stand-in is the root; C: alone unless a test says so.
static std::string g_drives = "C";

void SetTestDrives(const char* letters) { g_drives = letters ? letters : ""; }

bool DriveExists(char letter) {
    if (letter >= 'a' && letter <= 'z') letter = (char)(letter - 'a' + 'A');
    return letter >= 'A' && letter <= 'Z' && g_drives.find(letter) != std::string::npos;
}

MakeDirResult MakeDir(const char* path) {
    std::string p = HostPath(path);
    if (mkdir(p.c_str(), 0777) == 0) return MakeDirResult::Created;
    if (errno == EEXIST) {
        SetLastError(183);  // ERROR_ALREADY_EXISTS
        return MakeDirResult::Exists;
    }
    SetLastError(errno == ENOENT ? 3u : errno == EACCES ? 5u : 31u);
    return MakeDirResult::Failed;
}

int64_t FileSize(FILE* f) {
    if (!f) return -1;
    struct stat st;
    if (fstat(fileno(f), &st) != 0) return -1;
    return (int64_t)st.st_size;
}

bool ReplaceFileWith(const char* from, const char* to) {
    if (rename(from, to) == 0) return true;
    SetLastError((uint32_t)errno);
    return false;
}

}  // namespace kvplat
