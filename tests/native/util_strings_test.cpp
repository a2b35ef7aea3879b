// Trimming, conversions, tokens, searching, case mapping, LIKE, hex and
// base-62 digits, the random set and the messages.
#include <gtest/gtest.h>

#include <limits.h>
#include <stdio.h>
#include <string.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "util/kvutil.h"
#include "util/platform.h"

namespace {

// ---- Trimming, copying, conversions -----------------------------------------------

TEST(Trim, BlanksAreSpaceAndTab) {
    struct Case {
        const char* in;
        const char* left;
        const char* right;
    } cases[] = {
        {" \tabc", "abc", " \tabc"},
        {"abc \t", "abc \t", "abc"},
        {" \t a b \t ", "a b \t ", " \t a b"},
        {"", "", ""},
        {" \t ", "", ""},
        {"\nabc\n", "\nabc\n", "\nabc\n"},  // a newline is no blank
    };
    for (const Case& c : cases) {
        std::string l = c.in, r = c.in;
        mojLtrim(&l[0]);
        mojPtrim(&r[0]);
        EXPECT_STREQ(c.left, l.c_str()) << "[" << c.in << "]";
        EXPECT_STREQ(c.right, r.c_str()) << "[" << c.in << "]";
    }
}

TEST(Conversions, NullReadsAsZeroAndLargeValuesSaturate) {
    char buf[8] = "old";
    EXPECT_EQ(buf, strcpyNull(buf, nullptr));
    EXPECT_STREQ("", buf);
    EXPECT_STREQ("new", strcpyNull(buf, "new"));

    EXPECT_EQ(0, atoiNull(nullptr));
    EXPECT_EQ(0L, atolNull(nullptr));
    EXPECT_EQ(0, atollNull(nullptr));
    EXPECT_EQ(0.0f, atoffNull(nullptr));
    EXPECT_EQ(-42, atoiNull("  -42xyz"));
    EXPECT_EQ(INT_MAX, atoiNull("99999999999"));
    EXPECT_EQ(INT_MIN, atoiNull("-99999999999"));
    EXPECT_EQ(1234567L, atolNull("1234567"));
    EXPECT_EQ(INT64_MAX, atollNull("9223372036854775807"));
    EXPECT_EQ(INT64_MIN, atollNull("-9223372036854775809"));
    EXPECT_EQ(1.5f, atoffNull("1.5"));
}

TEST(Blank, SpaceAndTabOnly) {
    EXPECT_TRUE(kv_isblank(' '));
    EXPECT_TRUE(kv_isblank('\t'));
    EXPECT_FALSE(kv_isblank('\n'));
    EXPECT_FALSE(kv_isblank('\r'));
    EXPECT_FALSE(kv_isblank('a'));
    EXPECT_FALSE(kv_isblank(0));
    EXPECT_FALSE(kv_isblank(0xA0));
}

// ---- Tokens --------------------------------------------------------------------------

TEST(LewyToken, StopsAtSeparatorNewlineEndOrLength) {
    char dest[16];
    const char* src = "a\\b";
    const char* next = LewyToken(src, dest, '\\', 10);
    EXPECT_STREQ("a", dest);
    EXPECT_EQ(src + 2, next);

    EXPECT_EQ(nullptr, LewyToken("", dest, '\\', 10));
    EXPECT_EQ(nullptr, LewyToken("\nabc", dest, ',', 10));

    src = "abc";
    EXPECT_EQ(src + 2, LewyToken(src, dest, ',', 2));
    EXPECT_STREQ("ab", dest);

    src = "ab\ncd";
    next = LewyToken(src, dest, ',', 10);
    EXPECT_STREQ("ab", dest);
    EXPECT_EQ(src + 2, next);
    EXPECT_EQ(nullptr, LewyToken(next, dest, ',', 10));  // the line is done

    src = ",x";
    EXPECT_EQ(src + 1, LewyToken(src, dest, ',', 10));
    EXPECT_STREQ("", dest);

    src = "abc";
    EXPECT_EQ(src, LewyToken(src, dest, ',', 0));
    EXPECT_STREQ("", dest);
}

TEST(LewyToken, WalksAPath) {
    std::vector<std::string> parts;
    char dest[KV_MAX_PATH];
    for (const char* p = "C:\\dir\\file.txt"; (p = LewyToken(p, dest, '\\', KV_MAX_PATH - 1));) {
        parts.push_back(dest);
    }
    EXPECT_EQ((std::vector<std::string>{"C:", "dir", "file.txt"}), parts);
}

TEST(LewyToken, BlankSeparatorMeansAnyBlank) {
    char dest[16];
    const char* src = "ab\tcd ef";
    const char* next = LewyToken(src, dest, ' ', 10);
    EXPECT_STREQ("ab", dest);
    EXPECT_EQ(src + 3, next);
    next = LewyTokenBialaSpc(next, dest, 10);
    EXPECT_STREQ("cd", dest);
    EXPECT_STREQ("ef", next);
    // Only one blank is skipped.
    src = "ab  cd";
    EXPECT_STREQ(" cd", LewyTokenBialaSpc(src, dest, 10));
}

TEST(LewyToken, NeverWritesPastMaxLength) {
    std::string longText(1000, 'x');
    for (int max : {0, 1, 5, 63}) {
        std::vector<char> dest((size_t)max + 1);
        const char* next = LewyToken(longText.c_str(), dest.data(), ',', max);
        EXPECT_EQ((size_t)max, strlen(dest.data()));
        EXPECT_EQ(longText.c_str() + max, next);
        LewyTokenBialaSpc(longText.c_str(), dest.data(), max);
        EXPECT_EQ((size_t)max, strlen(dest.data()));
    }
}

TEST(DzielCiagZnak, FieldsOfALine) {
    char dest[KV_POLE_LEN];
    const char* p = "  abc, def,ghi";
    std::vector<std::string> fields;
    while ((p = dzielCiagZnak(p, dest, ','))) fields.push_back(dest);
    EXPECT_EQ((std::vector<std::string>{"abc", "def", "ghi"}), fields);

    EXPECT_EQ(nullptr, dzielCiagZnak(",x", dest, ','));
    EXPECT_EQ(nullptr, dzielCiagZnak("\nabc", dest, ','));
    EXPECT_EQ(nullptr, dzielCiagZnak("   ", dest, ','));
    EXPECT_EQ(nullptr, dzielCiagZnak("", dest, ','));

    p = "abc\ndef";
    const char* next = dzielCiagZnak(p, dest, ',');
    EXPECT_STREQ("abc", dest);
    EXPECT_EQ(nullptr, dzielCiagZnak(next, dest, ','));  // the newline ends the line

    fields.clear();
    p = "ab cd\t ef";
    while ((p = dzielCiagZnak(p, dest, ' '))) fields.push_back(dest);
    EXPECT_EQ((std::vector<std::string>{"ab", "cd", "ef"}), fields);
}

TEST(DzielCiagZnak, LongFieldIsCutAndSkipped) {
    std::string line = std::string(300, 'x') + ",next";
    std::vector<char> dest(KV_POLE_LEN);
    const char* next = dzielCiagZnak(line.c_str(), dest.data(), ',');
    EXPECT_EQ((size_t)KV_POLE_LEN - 1, strlen(dest.data()));
    EXPECT_STREQ("next", next);
}

// ---- Searching and editing -------------------------------------------------------------

TEST(Searching, IndexRindexLastWord) {
    const char* s = "a.b.c";
    EXPECT_EQ(s + 1, mojIndex(s, '.'));
    EXPECT_EQ(s + 3, mojRindex(s, '.'));
    EXPECT_EQ(nullptr, mojIndex(s, ','));
    EXPECT_EQ(nullptr, mojRindex(s, ','));
    EXPECT_EQ(nullptr, mojIndex(s, 0));

    EXPECT_STREQ("c", ostatSlowo("a b\tc", ' '));
    EXPECT_STREQ("c", ostatSlowo("a\tb c", ' '));
    EXPECT_STREQ("c", ostatSlowo("a\tb c", '\t'));  // a tab separator is any blank too
    EXPECT_STREQ("f.txt", ostatSlowo("C:\\dir\\f.txt", '\\'));
    EXPECT_STREQ("word", ostatSlowo("word", ','));
    EXPECT_STREQ("", ostatSlowo("a,", ','));
    EXPECT_EQ(nullptr, ostatSlowo("", ','));
}

TEST(Editing, InsertAndCut) {
    struct Ins {
        int pos;
        const char* out;
    } ins[] = {{1, "aXbc"}, {0, "Xabc"}, {3, "abcX"}, {99, "abcX"}, {-1, "Xabc"}};
    for (const Ins& c : ins) {
        char buf[8] = "abc";
        wstawLitere(buf, 'X', c.pos);
        EXPECT_STREQ(c.out, buf) << c.pos;
    }
    struct Cut {
        int start, end;
        const char* out;
    } cuts[] = {{1, 3, "aef"},      {0, 0, "bcdef"}, {4, 99, "abcd"}, {3, 1, "abcdef"},
                {10, 12, "abcdef"}, {-5, 1, "cdef"}, {0, 5, ""}};
    for (const Cut& c : cuts) {
        char buf[8] = "abcdef";
        wytnijZNapisu(buf, c.start, c.end);
        EXPECT_STREQ(c.out, buf) << c.start << ".." << c.end;
    }
}

TEST(DajLinie, LinesWithoutTheirEndsAndLongLinesInPieces) {
    std::filesystem::path file = std::filesystem::temp_directory_path() / "kv_dajlinie_test.txt";
    FILE* f = fopen(file.string().c_str(), "wb");
    ASSERT_NE(nullptr, f);
    std::string longLine(600, 'q');
    fprintf(f, "first\r\nsecond\n%s\nlast", longLine.c_str());
    fclose(f);

    f = fopen(file.string().c_str(), "rb");
    ASSERT_NE(nullptr, f);
    std::vector<char> buf(KV_LINE_LEN);
    std::vector<std::string> lines;
    while (dajLinie(f, buf.data())) lines.push_back(buf.data());
    fclose(f);
    std::filesystem::remove(file);
    ASSERT_EQ(5u, lines.size());
    EXPECT_EQ("first", lines[0]);
    EXPECT_EQ("second", lines[1]);
    EXPECT_EQ(std::string(KV_LINE_LEN - 1, 'q'), lines[2]);
    EXPECT_EQ(std::string(600 - (KV_LINE_LEN - 1), 'q'), lines[3]);
    EXPECT_EQ("last", lines[4]);
    EXPECT_EQ(0, dajLinie(nullptr, buf.data()));
}

// ---- Case ----------------------------------------------------------------------------------

TEST(CaseCompare, UpperAndLower) {
    EXPECT_TRUE(CzyTenSamNapDuzLit("abc", "ABC"));
    EXPECT_TRUE(CzyTenSamNapDuzLit("aBc1", "ABC1"));
    EXPECT_FALSE(CzyTenSamNapDuzLit("abc", "ABc"));
    EXPECT_FALSE(CzyTenSamNapDuzLit("abc", "ABCD"));
    EXPECT_FALSE(CzyTenSamNapDuzLit("abcd", "ABC"));
    EXPECT_TRUE(CzyTenSamNapMalLit("ABC", "abc"));
    EXPECT_FALSE(CzyTenSamNapMalLit("ABC", "ABC"));
    EXPECT_TRUE(CzyTenSamNapDuzLit("", ""));
    EXPECT_FALSE(CzyTenSamNapDuzLit(nullptr, ""));
}

TEST(CodePage1250, LettersAboveAsciiUnderCode238) {
    struct Pair {
        int small, capital;
    } pairs[] = {
        {0xB9, 0xA5}, {0xB3, 0xA3}, {0x9C, 0x8C}, {0x9F, 0x8F}, {0xBF, 0xAF}, {0x9A, 0x8A},
        {0x9E, 0x8E}, {0x9D, 0x8D}, {0xBA, 0xAA}, {0xBE, 0xBC}, {0xE6, 0xC6}, {0xEA, 0xCA},
        {0xF1, 0xD1}, {0xF3, 0xD3}, {0xE0, 0xC0}, {0xFE, 0xDE}, {'a', 'A'},   {'z', 'Z'},
    };
    for (const Pair& p : pairs) {
        EXPECT_EQ(p.capital, ToUpperStrKod(p.small, 238)) << std::hex << p.small;
        EXPECT_EQ(p.small, ToLowerStrKod(p.capital, 238)) << std::hex << p.capital;
        // A plain char holding the letter arrives negative.
        EXPECT_EQ(p.capital, ToUpperStrKod((char)p.small, 238)) << std::hex << p.small;
    }
    // Not letters, or without a pair: unchanged.
    for (int c : {0xF7, 0xD7, 0xDF, 0xFF, 0xB5, (int)'1', (int)'%'}) {
        EXPECT_EQ(c, ToUpperStrKod(c, 238)) << std::hex << c;
        EXPECT_EQ(c, ToLowerStrKod(c, 238)) << std::hex << c;
    }
    // Under another code the C library maps ASCII only.
    EXPECT_EQ(0xB9, ToUpperStrKod(0xB9, 0));
    EXPECT_EQ('A', ToUpperStrKod('a', 0));
    EXPECT_EQ('a', ToLowerStrKod('A', 1));
    // Every capital made small comes back.
    for (int c = 128; c < 256; c++) {
        int up = ToUpperStrKod(c, 238);
        if (up != c) {
            EXPECT_EQ(c, ToLowerStrKod(up, 238)) << std::hex << c;
        }
    }
}

// ---- LIKE -------------------------------------------------------------------------------------

TEST(SqlLike, Patterns) {
    struct Case {
        const char* text;
        const char* pattern;
        int match;
    } cases[] = {
        {"abc", "abc", 1},
        {"ABC", "abc", 1},
        {"abc", "abd", 0},
        {"abc", "ab", 0},
        {"abc", "a%", 1},
        {"abc", "%c", 1},
        {"abc", "%b%", 1},
        {"abc", "%x%", 0},
        {"abc", "a_c", 1},
        {"abc", "a_", 0},
        {"abc", "___", 1},
        {"ab", "___", 0},
        {"abc", "%", 1},
        {"", "%", 1},
        {"", "", 1},
        {"a", "", 0},
        {"", "_", 0},
        {"abc", "%_c", 1},
        {"xyz", "x%z", 1},
        {"abc", "%%", 1},
        {"order 12-AB", "ORDER%-ab", 1},
        // No backtracking: the first "bc" is taken and the text goes on.
        {"abcabc", "%bc", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.match, SqlLike(c.text, 0, c.pattern, 0)) << c.text << " LIKE " << c.pattern;
    }
    EXPECT_EQ(0, SqlLike(nullptr, 0, "%", 0));
    EXPECT_EQ(0, SqlLike("a", 0, nullptr, 0));
}

TEST(SqlLike, CodePageOfEachSide) {
    const char zolw[] = "\xBF\xF3\xB3w";  // small letters, code page 1250
    const char ZOLW[] = "\xAF\xD3\xA3W";  // capitals
    EXPECT_EQ(1, SqlLike(zolw, 238, ZOLW, 238));
    EXPECT_EQ(1, SqlLike(zolw, 238, "%W", 238));
    // Other codes: bytes above 127 in the pattern cannot match.
    EXPECT_EQ(0, SqlLike(zolw, 238, ZOLW, 0));
    EXPECT_EQ(1, SqlLike("abc", 238, "ABC", 0));
}

// ---- Hex and base 62 -------------------------------------------------------------------------

TEST(Hex, BothWays) {
    const unsigned char bytes[] = {0x00, 0xAB, 0xFF, 0x10};
    char hex[16];
    EXPECT_STREQ("00ABFF10", BinNaHex(bytes, 4, hex));
    EXPECT_STREQ("", BinNaHex(bytes, 0, hex));

    unsigned char back[8];
    EXPECT_EQ(back, HexNaBin("00abFF10", back));
    EXPECT_EQ(0, memcmp(bytes, back, 4));

    back[0] = 0x55;
    EXPECT_EQ(nullptr, HexNaBin("0g", back));
    EXPECT_EQ(0, back[0]);
    back[0] = 0x55;
    EXPECT_EQ(nullptr, HexNaBin("abc", back));  // half a byte
    EXPECT_EQ(0, back[0]);
    EXPECT_EQ(nullptr, HexNaBin(nullptr, back));
    EXPECT_EQ(back, HexNaBin("", back));

    unsigned char all[256];
    for (int i = 0; i < 256; i++) all[i] = (unsigned char)i;
    std::vector<char> text(513);
    BinNaHex(all, 256, text.data());
    EXPECT_EQ(512u, strlen(text.data()));
    unsigned char again[256];
    ASSERT_NE(nullptr, HexNaBin(text.data(), again));
    EXPECT_EQ(0, memcmp(all, again, 256));
}

TEST(Base62, DigitsAndTheirValues) {
    EXPECT_EQ('0', Liczba32ZnakAscii(0));
    EXPECT_EQ('9', Liczba32ZnakAscii(9));
    EXPECT_EQ('A', Liczba32ZnakAscii(10));
    EXPECT_EQ('Z', Liczba32ZnakAscii(35));
    EXPECT_EQ('a', Liczba32ZnakAscii(36));
    EXPECT_EQ('z', Liczba32ZnakAscii(61));
    EXPECT_EQ(' ', Liczba32ZnakAscii(-1));
    EXPECT_EQ(' ', Liczba32ZnakAscii(62));
    std::set<char> seen;
    for (int v = 0; v < 62; v++) {
        char c = Liczba32ZnakAscii(v);
        seen.insert(c);
        EXPECT_EQ(v, ZnakAsciiLiczba32(c));
    }
    EXPECT_EQ(62u, seen.size());
    EXPECT_EQ('#', ZnakAsciiLiczba32('#'));
    EXPECT_EQ(' ', ZnakAsciiLiczba32(' '));
}

TEST(GenerujUnikLos, DistinctValuesInRange) {
    int a[10], b[10];
    EXPECT_EQ(10, GenerujUnikLos(a, 10, 7, 10));
    EXPECT_EQ((std::set<int>(a, a + 10)), (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(10, GenerujUnikLos(b, 10, 7, 10));
    EXPECT_EQ(0, memcmp(a, b, sizeof a));  // the seed decides

    int many[100];
    EXPECT_EQ(30, GenerujUnikLos(many, 30, 1, 1000));
    std::set<int> s(many, many + 30);
    EXPECT_EQ(30u, s.size());
    EXPECT_GE(*s.begin(), 0);
    EXPECT_LT(*s.rbegin(), 1000);

    // More values than the range holds: only as many as can be distinct.
    std::vector<int> big(50, -1);
    EXPECT_EQ(5, GenerujUnikLos(big.data(), 50, 3, 5));
    EXPECT_EQ(-1, big[5]);
    EXPECT_EQ(0, GenerujUnikLos(big.data(), 5, 3, 0));
}

// ---- Messages -----------------------------------------------------------------------------------

TEST(Messages, OwnCodesAndBufferCut) {
    EXPECT_STREQ("Forbidden character after the character CR", DajKomunBleduWlasnego(0xE0000000u));
    EXPECT_STREQ("Enable service TFTP while changing its settings is forbidden",
                 DajKomunBleduWlasnego(0xE0000001u));
    EXPECT_EQ(nullptr, DajKomunBleduWlasnego(0xE0000002u));
    EXPECT_EQ(nullptr, DajKomunBleduWlasnego(5));

    std::vector<char> small(10);
    EXPECT_EQ(small.data(), DajKomunBledu2(0xE0000000u, small.data(), 10, 0));
    EXPECT_STREQ("Forbidden", small.data());
    char big[256];
    EXPECT_STREQ("", DajKomunBledu2(0xE0000005u, big, (int)sizeof big, 0));
    EXPECT_STRNE("", DajKomunBledu2(0, big, (int)sizeof big, 0));  // the system's success text
}

TEST(Messages, LastErrorKeptOnRequest) {
    char buf[256];
    kvplat::SetLastError(77);
    DajKomunBledu2(0xE0000001u, buf, (int)sizeof buf, 0);
    EXPECT_EQ(77u, kvplat::LastError());
    DajKomunBledu2(0xE0000001u, buf, (int)sizeof buf, 1);
    EXPECT_EQ(0xE0000001u, kvplat::LastError());
    DajKomunBledu(2, 1);
    EXPECT_EQ(2u, kvplat::LastError());
}

TEST(Messages, SocketErrorTable) {
    EXPECT_STREQ("Connection reset by peer.", WSADajKomunBledu(10054));
    EXPECT_STREQ("Specified event object handle is invalid.", WSADajKomunBledu(6));
    EXPECT_STREQ("Valid name, no data record of requested type.", WSADajKomunBledu(11004));
    EXPECT_STREQ("Overlapped operations will complete later.", WSADajKomunBledu(997));
    EXPECT_STREQ("", WSADajKomunBledu(0));
    EXPECT_STREQ("", WSADajKomunBledu(10059));
    EXPECT_STREQ("", WSADajKomunBledu(-10054));
    int known = 0;
    std::set<std::string> texts;
    for (int code = -1; code < 12000; code++) {
        const char* t = WSADajKomunBledu(code);
        if (*t) {
            known++;
            texts.insert(t);
        }
    }
    EXPECT_EQ(50, known);
    EXPECT_EQ(50u, texts.size());
}

}  // namespace
