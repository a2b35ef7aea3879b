// The price list: the suggested price of a window, the list's rules and its
// CSV form.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/native/price_entries.h"
#include "tests/native/sample_windows.h"
#include "tests/native/util_locale.h"
#include "util/codepage.h"
#include "util/msgbuf.h"
#include "valuation/price_list.h"

namespace {

PriceList List(const std::vector<PriceEntry>& entries) {
    PriceList list;
    size_t bad = 0;
    char msg[KV_MSG_LEN] = "";
    EXPECT_TRUE(list.Assign(entries, &bad, msg)) << msg;
    return list;
}

// Frame 10.00, sash 12.00, fixed mullion 9.00, false mullion 7.00 a metre;
// hardware 45.00 a sash; bead 1.50 and muntin 3.00 a metre; glass "G" 40.00
// a square metre; 25.00 a window.
PriceList Rates(int64_t colour = 0) {
    return List({Entry(kPriceProfile, "Alpha 70", 1000, 1200, 900, 700), Entry(kPriceColour, "white", colour),
                 Entry(kPriceHardware, "Turn-9", 4500), Entry(kPriceBead, "Round", 150),
                 Entry(kPriceMuntin, "Slim", 300), Entry(kPriceFilling, "G", 4000),
                 Entry(kPriceWindow, "", 2500)});
}

void Names(TestWindow& o, const char* colour = "White") {
    snprintf(o.r.nazProfil, sizeof o.r.nazProfil, "%s", " alpha 70 ");
    snprintf(o.r.nazKolor, sizeof o.r.nazKolor, "%s", colour);
    snprintf(o.r.nazOkucie, sizeof o.r.nazOkucie, "%s", "TURN-9");
    snprintf(o.r.nazListwa, sizeof o.r.nazListwa, "%s", "Round");
    snprintf(o.r.nazSzpros, sizeof o.r.nazSzpros, "%s", "Slim");
}

// 1500 x 1000, frame 70 (inner 70-1430 x 70-930); a fixed mullion (90 mm)
// at x 750, 705-795, 860 long; a tilt & turn sash left of it, outer 635 x
// 860, and a fixed sash right of it, the same; each sash (80 mm) glazed
// with G, clear 475 x 700.
void MullionAndTwoSashes(TestWindow& o) {
    o << DrawFrame(1500, 1000) << DrawMullion(false, 750, false, 0, 0) << SashElement(3, 0, 0, 0, 1, 0)
      << DrawFilling(0, "G", 2) << SashElement(0, 0, 1, 0, 0, 0) << DrawFilling(0, "G", 4);
    Names(o);
}

TEST(PriceSuggestion, WindowsWorkedOutByHand) {
    struct Case {
        const char* what;
        void (*build)(TestWindow&);
        int64_t colour;  // surcharge, hundredths of a percent; -1: the frame rate 0.01 alone
        int64_t expected;
    };
    const Case cases[] = {
        // Frame 2 x 2500 mm: 50.00. Bead 2 (860 + 1360) = 4440 mm: 6.66.
        // Glass 860 x 1360 = 1.1696 m2: 46.784. Window 25.00.
        // 50 + 6.66 + 46.784 = 103.444 -> 103.44; + 25.00 = 128.44.
        {"fixed glazed window",
         [](TestWindow& o) {
             o << DrawFrame(1000, 1500) << DrawFilling(0, "G", 0);
             Names(o);
         },
         0, 12844},
        // Frame 5 m: 50.00; mullion 0.86 m: 7.74; sashes 2 x 2 (635 + 860)
        // = 5.98 m: 71.76; beads 2 x 2 (475 + 700) = 4.7 m: 7.05; glass
        // 2 x 0.3325 m2: 26.60; one opening sash: 45.00; window 25.00.
        {"a fixed mullion and two sashes", MullionAndTwoSashes, 0, 23315},
        // The profiles' 129.50 with 15.00 %: 148.925, plus 7.05 and 26.60
        // is 182.575 exactly: half a hundredth rounds down, to 182.57.
        {"coloured profile, exactly half a hundredth", MullionAndTwoSashes, 1500, 18257 + 4500 + 2500},
        // Muntins do not divide the glass: frame 40.00; muntins 860 + 420 mm:
        // 3.84; bead 2 (860 + 860) mm: 5.16; glass 0.7396 m2: 29.584.
        // 78.584 -> 78.58; + 25.00.
        {"muntins",
         [](TestWindow& o) {
             o << DrawFrame(1000, 1000) << DrawFilling(0, "G", 0) << DrawMuntin(500, false, 0, 0, 1)
               << DrawMuntin(500, true, 0, 2, 1);
             Names(o);
         },
         0, 7858 + 2500},
        // A frame alone: 2 (1000 + 250) mm at 0.01 a metre is 2.5
        // hundredths, rounded down; 2 (1000 + 251) mm is 2.502, rounded up.
        {"exactly half of the last hundredth",
         [](TestWindow& o) {
             o << DrawFrame(1000, 250);
             Names(o);
         },
         -1, 2 + 2500},
        {"more than half",
         [](TestWindow& o) {
             o << DrawFrame(1000, 251);
             Names(o);
         },
         -1, 3 + 2500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestWindow o;
        c.build(o);
        const PriceList list = c.colour >= 0
                                   ? Rates(c.colour)
                                   : List({Entry(kPriceProfile, "Alpha 70", 1),
                                           Entry(kPriceColour, "White", 0), Entry(kPriceWindow, "", 2500)});
        PriceSuggestion s;
        ASSERT_TRUE(SuggestWindowPrice(&o.r, list, &s));
        EXPECT_EQ(c.expected, s.net);
        EXPECT_TRUE(s.missing.empty()) << JoinMissing(s.missing);
    }
}

TEST(PriceSuggestion, MissingEntriesPriceAtZeroAndAreListedInOrder) {
    TestWindow o;
    o << DrawFrame(1000, 1000) << SashElement(2, 0, 0) << DrawFilling(0, "Unlisted", 1) << DrawMuntin(500, false, 1, 1, 2);
    Names(o, "Mystery");
    o.r.nazProfil[0] = 0;
    PriceList list = List({Entry(kPriceFilling, "G", 4000)});
    PriceSuggestion s;
    ASSERT_TRUE(SuggestWindowPrice(&o.r, list, &s));
    EXPECT_EQ(0, s.net);
    EXPECT_EQ("profile, colour Mystery, hardware TURN-9, muntin Slim, bead Round, filling Unlisted",
              JoinMissing(s.missing));

    // Only what would contribute: no opening sash, no muntin, no filling.
    TestWindow bare;
    bare << DrawFrame(1000, 1000) << SashElement(0, 0, 0);
    Names(bare);
    ASSERT_TRUE(SuggestWindowPrice(&bare.r, list, &s));
    EXPECT_EQ("profile alpha 70, colour White", JoinMissing(s.missing));

    // Each missing filling once, in the window's order; a priced one never.
    TestWindow two;
    two << DrawFrame(1500, 1000) << DrawMullion(false, 500, false, 0, 0) << DrawMullion(false, 1000, false, 0, 0)
        << DrawFilling(0, "b-glass", 0, 0, 1, 0) << DrawFilling(0, "G", 1, 0, 2, 0)
        << DrawFilling(1, "B-GLASS ", 2, 0, 0, 0);
    Names(two);
    ASSERT_TRUE(SuggestWindowPrice(&two.r, Rates(), &s));
    EXPECT_EQ("filling b-glass", JoinMissing(s.missing));
}

TEST(PriceSuggestion, NoneWithoutAStructure) {
    PriceSuggestion s;
    TestWindow empty;
    EXPECT_FALSE(SuggestWindowPrice(&empty.r, Rates(), &s));
    TestWindow broken;
    broken << DrawFrame(1000, 1000) << DrawFilling(0, "G", 5);  // bounded by an element that is not there
    EXPECT_FALSE(SuggestWindowPrice(&broken.r, Rates(), &s));
    EXPECT_FALSE(s.ok);
}

// 10 000 x 10 000 mm, frame and mullions 10 mm: 99 horizontal mullions
// across the whole width (inner 9980 mm each) and in each of the 100 rows 99
// vertical ones (rows 85 mm high at the top and bottom, 90 mm between), at
// the highest rates and a 100 % surcharge. The sum leaves 64 bits.
TEST(PriceSuggestion, LargestWindowNeeds128Bits) {
    TestWindow o;
    o.r.sGrubProf = strGrubProf{10, 10, 10, 10};
    std::vector<uniOperRys> ops{DrawFrame(10000, 10000)};
    for (int k = 1; k < 100; k++) ops.push_back(DrawMullion(false, 100 * k, true, 0, 0));
    for (int row = 0; row < 100; row++) {
        const int32_t top = row == 0 ? 0 : row, bottom = row == 99 ? 0 : row + 1;
        for (int k = 1; k < 100; k++) ops.push_back(DrawMullion(false, 100 * k, false, top, bottom));
    }
    // One block rather than 9999 appends, each of which copies the list.
    o.r.oper = (uniOperRys*)KvAlloc(ops.size() * sizeof(uniOperRys));
    ASSERT_TRUE(o.r.oper);
    memcpy(o.r.oper, ops.data(), ops.size() * sizeof(uniOperRys));
    o.r.liczbaOper = (int32_t)ops.size();
    Names(o);
    const int64_t top = 999999999;
    PriceList list = List({Entry(kPriceProfile, "Alpha 70", top, top, top, top),
                           Entry(kPriceColour, "White", 10000), Entry(kPriceWindow, "", top)});
    // Lengths by hand: 2 (10 000 + 10 000) + 99 x 9980 + 99 x (2 x 85 + 98 x 90).
    const __int128 length = 40000 + 99 * 9980 + 99 * (2 * 85 + 98 * 90);
    const __int128 sum = length * top * 20000;
    ASSERT_GT(sum, (__int128)INT64_MAX);
    __int128 q = sum / 10000000;
    if (sum % 10000000 > 5000000) q++;
    PriceSuggestion s;
    ASSERT_TRUE(SuggestWindowPrice(&o.r, list, &s));
    EXPECT_EQ((int64_t)(q + top), s.net);
}

TEST(PriceListRules, BadEntriesAreRefusedAndChangeNothing) {
    PriceList list = Rates();
    const size_t before = list.size();
    struct Case {
        PriceEntry e;
        const char* message;
    };
    const Case cases[] = {
        {Entry(kPriceProfile, "Beta", -1), "A rate cannot be negative."},
        {Entry(kPriceProfile, "Beta", 1, 1000000000), "A rate cannot be higher than 9999999.99."},
        {Entry(kPriceColour, "Oak", 10001), "The colour surcharge cannot be higher than 100.00 %."},
        {Entry(kPriceFilling, "  ", 1), "The name cannot be empty."},
        {Entry(kPriceWindow, "Any", 1), "The price per window has no name."},
        {Entry(kPriceMuntin, "SLIM ", 1), "The price list already has the muntin \"SLIM\"."},
        {Entry(kPriceBead, "Square", 1, 2), "A bead entry has one rate only."},
    };
    for (const Case& c : cases) {
        char msg[KV_MSG_LEN] = "";
        EXPECT_FALSE(list.Put(c.e, PriceList::kNew, msg)) << c.message;
        EXPECT_STREQ(c.message, msg);
    }
    EXPECT_EQ(before, list.size());
    // The highest values are allowed; renaming an entry to its own name too.
    char msg[KV_MSG_LEN] = "";
    EXPECT_TRUE(list.Put(Entry(kPriceColour, "Oak", 10000), PriceList::kNew, msg)) << msg;
    const size_t slim = (size_t)(list.Find(kPriceMuntin, "slim") - list.entries().data());
    EXPECT_TRUE(list.Put(Entry(kPriceMuntin, "SLIM", 999999999), slim, msg)) << msg;
    EXPECT_EQ(999999999, list.Find(kPriceMuntin, " Slim")->rates[0]);
}

// ---- CSV ---------------------------------------------------------------------

std::vector<PriceEntry> Import(const std::string& csv, int cp = 1252, std::string* error = nullptr) {
    std::vector<PriceEntry> entries;
    char msg[KV_MSG_LEN] = "";
    const bool ok = PriceListFromCsv(csv.data(), csv.size(), cp, &entries, msg);
    if (error) *error = ok ? "" : msg;
    else EXPECT_TRUE(ok) << msg;
    return entries;
}

TEST(PriceListCsv, SeparatorsDecimalMarksQuotesAndBom) {
    const char* files[] = {
        "kind,name,rate1,rate2,rate3,rate4\r\nprofile,\"Alpha, "
        "\"\"70\"\"\",12.50,13,8.5,\r\ncolour,Oak,15.00,,,\r\n",
        "\xEF\xBB\xBFkind;name;rate1;rate2;rate3;rate4\nprofile;\"Alpha, "
        "\"\"70\"\"\";12,50;13;8,50;0\ncolour;Oak;15\n",
        "Kind;Name;Rate1;Rate2;Rate3;Rate4\r\n\r\nPROFILE; Alpha, \"70\"  "
        ";12,5;13,00;8,5\r\ncolour;\"Oak\";15,0;;;\r\n;; ;;;\r\n",
        // Empty lines above the header, as a spreadsheet may leave them.
        "\r\n;;;;;\r\n \r\nkind;name;rate1;rate2;rate3;rate4\r\nprofile;\"Alpha, "
        "\"\"70\"\"\";12,50;13;8,5\r\n"
        "colour;Oak;15\r\n",
    };
    for (const char* f : files) {
        SCOPED_TRACE(f);
        std::vector<PriceEntry> e = Import(f);
        ASSERT_EQ(2u, e.size());
        EXPECT_EQ(kPriceProfile, e[0].kind);
        EXPECT_STREQ("Alpha, \"70\"", e[0].name);
        EXPECT_EQ(1250, e[0].rates[0]);
        EXPECT_EQ(1300, e[0].rates[1]);
        EXPECT_EQ(850, e[0].rates[2]);
        EXPECT_EQ(0, e[0].rates[3]);
        EXPECT_EQ(kPriceColour, e[1].kind);
        EXPECT_EQ(1500, e[1].rates[0]);
    }
    // A name with a line break inside its quotes.
    std::vector<PriceEntry> e =
        Import("kind,name,rate1,rate2,rate3,rate4\nfilling,\"Two\nlines\",1\nbead,B,2\n");
    ASSERT_EQ(2u, e.size());
    EXPECT_STREQ("Two\nlines", e[0].name);
}

TEST(PriceListCsv, BadLinesAreToldByLineAndColumn) {
    const std::string head = "kind,name,rate1,rate2,rate3,rate4\r\n";
    struct Case {
        std::string file;
        const char* where;
    };
    const Case cases[] = {
        {"kind,name,rate\r\n", "line 1, column 3: "},
        {head + "profile,A,1\r\nshutter,B,1\r\n", "line 3, column 1: "},
        {head + "profile,A,-1\r\n", "line 2, column 3: A rate cannot be negative."},
        {head + "profile,A,1,10000000.00\r\n", "line 2, column 4: A rate cannot be higher"},
        {head + "colour,Oak,100.01\r\n", "line 2, column 3: The colour surcharge"},
        {head + "filling,,5\r\n", "line 2, column 2: The name cannot be empty."},
        {head + "window,All,5\r\n", "line 2, column 2: The price per window has no name."},
        {head + "bead,B,1\r\nmuntin,M,1\r\nbead, b ,2\r\n", "line 4, column 2: The price list already has"},
        {head + "bead,B,1.234\r\n", "line 2, column 3: \"1.234\" has more than two decimals"},
        {head + "bead,B,1 000\r\n", "line 2, column 3: \"1 000\" is not an amount"},
        {head + "bead,B,1,,,,9\r\n", "line 2, column 7: "},
        {head + "bead,B,1,2\r\n", "line 2, column 4: A bead entry has one rate only."},
        {head + "bead,\"B\nC,1\r\n", "line 2, column 2: a quote is not closed"},
        {head + "bead,\"B\"x,1\r\n", "line 2, column 2: text after the closing quote"},
        {head + "filling,\"Two\nlines\",1\r\nbead,B,x\r\n", "line 4, column 3: "},
        {head + "bead,\xE2\x82\xAC\xE2\x82\xAC \xC5\x81\xC3\xB3"
                "d\xC5\xBA,1\r\n",
         "line 2, column 2: "},
        // The first bad value in the file's order.
        {head + "bead,B,1\r\nbead,b,2\r\nmuntin,M,1\r\nbead,C,-1\r\n",
         "line 3, column 2: The price list already has the bead \"b\"."},
        {head + "filling,,x\r\n", "line 2, column 2: The name cannot be empty."},
        // Lines before the header count.
        {"\r\n,,,\r\n" + head + "bead,B,-1\r\n", "line 4, column 3: A rate cannot be negative."},
        {"\r\n\r\nkind,name,rate1\r\n", "line 3, column 4: the header must be"},
        {head + std::string("bead,B\0C,1\r\n", 12), "line 2, column 2: the name holds a NUL character"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        PriceList list = Rates();
        std::string error;
        Import(c.file, 1252, &error);
        EXPECT_EQ(0u, error.find(c.where)) << error;
        // The file route keeps the old list on any error.
        char msg[KV_MSG_LEN] = "";
        const std::string path = testing::TempDir() + "/bad-prices.csv";
        FILE* f = fopen(path.c_str(), "wb");
        ASSERT_TRUE(f);
        fwrite(c.file.data(), 1, c.file.size(), f);
        fclose(f);
        EXPECT_FALSE(ImportPriceListFile(path.c_str(), 1252, &list, msg));
        EXPECT_EQ(Rates().size(), list.size());
        EXPECT_EQ(1000, list.Find(kPriceProfile, "Alpha 70")->rates[0]);
    }
}

// A file that is not UTF-8 is what a spreadsheet saves in the ANSI code page.
TEST(PriceListCsv, AnsiFileIsReadInTheCodePage) {
    const std::pair<int, const char*> files[] = {{1252, "M\xFCller"}, {1250, "\xA3\xF3\x64\x9F"}};  // "Łódź"
    for (const auto& f : files) {
        const std::vector<PriceEntry> e = Import(
            std::string("kind;name;rate1;rate2;rate3;rate4\r\nbead;") + f.second + ";1,50\r\n", f.first);
        ASSERT_EQ(1u, e.size());
        EXPECT_STREQ(f.second, e[0].name);
    }
}

// The export's separators follow the user's decimal sign; what it writes
// reads back to the same bytes in either locale.
class PriceListExport : public LocaleTest {};

TEST_P(PriceListExport, ExportImportExportIsByteIdentical) {
    // Names in code page 1250 ("Łódź okno") and 1252 ("Façade"), out of order.
    PriceList list = List({Entry(kPriceWindow, "", 100), Entry(kPriceBead, "zeta", 5),
                           Entry(kPriceBead, "Alpha; \"b\"", 7),
                           Entry(kPriceProfile,
                                 "\xA3\xF3"
                                 "d\x9F okno",
                                 1, 2, 3, 4),
                           Entry(kPriceColour, "Oak", 1550), Entry(kPriceFilling, "4/16/4", 999999999)});
    std::string first, second;
    char msg[KV_MSG_LEN] = "";
    ASSERT_TRUE(PriceListToCsv(list, 1250, &first, msg)) << msg;
    // "|" stands for the separator, "#" for the decimal sign.
    std::string expected =
        "\xEF\xBB\xBF"
        "kind|name|rate1|rate2|rate3|rate4\r\n"
        "profile|\xC5\x81\xC3\xB3"
        "d\xC5\xBA okno|0#01|0#02|0#03|0#04\r\n"
        "colour|Oak|15#50|||\r\n"
        "filling|4/16/4|9999999#99|||\r\n"
        "bead|\"Alpha; \"\"b\"\"\"|0#07|||\r\n"
        "bead|zeta|0#05|||\r\n"
        "window||1#00|||\r\n";
    const char decimal = GetParam().decimalSep[0];
    for (char& ch : expected) {
        if (ch == '|') ch = decimal == ',' ? ';' : ',';
        else if (ch == '#') ch = decimal;
    }
    EXPECT_EQ(expected, first);
    PriceList again;
    size_t bad = 0;
    ASSERT_TRUE(again.Assign(Import(first, 1250), &bad, msg)) << msg;
    ASSERT_TRUE(PriceListToCsv(again, 1250, &second, msg)) << msg;
    EXPECT_EQ(first, second);
    EXPECT_STREQ(
        "\xA3\xF3"
        "d\x9F okno",
        again
            .Find(kPriceProfile,
                  "\xA3\xF3"
                  "D\x9F OKNO")
            ->name);
}

INSTANTIATE_TEST_SUITE_P(Locales, PriceListExport, KV_LOCALES);

// Rates as the seller types them in the entry dialog, in the user's locale:
// "~" is its thousands separator, "#" its decimal sign, "@" the other mark.
class TypedRate : public LocaleTest {};

TEST_P(TypedRate, ThousandsSeparatorsAndAPercentSign) {
    const struct {
        const char* text;
        int32_t kind;
        int64_t value;  // -1: refused
    } cases[] = {
        {"12~345~678#90", kPriceProfile, 1234567890},
        {"1~234", kPriceBead, 123400},
        {"1@5", kPriceBead, 150},  // either mark is still a decimal sign
        {"1~2345", kPriceBead, -1},
        {"1#234~567", kPriceBead, -1},
        {"15#5 %", kPriceColour, 1550},
        {"%", kPriceColour, -1},
        {"15 %", kPriceBead, -1},  // only a surcharge is a percentage
    };
    for (const auto& c : cases) {
        const std::string text = L(c.text);
        int64_t v = -1;
        const char* why = "";
        EXPECT_EQ(c.value >= 0, ParsePriceAmount(text.c_str(), c.kind, &v, &why)) << text;
        EXPECT_EQ(c.value, c.value >= 0 ? v : -1) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, TypedRate, KV_LOCALES);

TEST(CodePages, NamesBetweenAnsiAndUtf8) {
    KvCodePage cp1250, cp1252;
    ASSERT_TRUE(KvLoadCodePage(1250, &cp1250));
    ASSERT_TRUE(KvLoadCodePage(1252, &cp1252));
    KvCodePage none;
    EXPECT_FALSE(KvLoadCodePage(932, &none));
    struct Case {
        const KvCodePage& page;
        const char* ansi;
        const char* utf8;
    };
    const Case cases[] = {
        {cp1250,
         "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F"
         "\xF1",
         "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85 ja\xC5\xBA\xC5\x84"},
        {cp1252,
         "M\xFCller Fa\xE7"
         "ade \x80",
         "M\xC3\xBCller Fa\xC3\xA7"
         "ade \xE2\x82\xAC"},
    };
    for (const Case& c : cases) {
        std::string utf8, ansi;
        KvAnsiToUtf8(c.page, c.ansi, strlen(c.ansi), &utf8);
        EXPECT_EQ(c.utf8, utf8);
        size_t bad = 0;
        ASSERT_TRUE(KvUtf8ToAnsi(c.page, utf8.data(), utf8.size(), &ansi, &bad));
        EXPECT_EQ(c.ansi, ansi);
    }
    // A letter the code page lacks, and bytes that are not UTF-8.
    std::string out = "kept";
    size_t bad = 0;
    EXPECT_FALSE(KvUtf8ToAnsi(cp1252, "ab\xC5\x81", 4, &out, &bad));
    EXPECT_EQ(2u, bad);
    EXPECT_EQ("kept", out);
    EXPECT_FALSE(KvUtf8ToAnsi(cp1250, "a\xC0\xAF", 3, &out, &bad));  // an overlong "/"
    EXPECT_EQ(1u, bad);
}

}  // namespace
