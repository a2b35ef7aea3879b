// kelvaro-inspect over databases written by the program's own save path.
#include <gtest/gtest.h>

#include <inttypes.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/orders.h"
#include "db/price_table.h"
#include "model/description.h"
#include "model/uw.h"
#include "tests/native/csv_records.h"
#include "tests/native/sample_orders.h"
#include "tests/native/testdb.h"
#include "tests/native/util_locale.h"
#include "tools/inspect/inspect.h"
#include "tools/prices/prices_tool.h"
#include "util/csv.h"
#include "util/msgbuf.h"
#include "valuation/price_list.h"

namespace {

std::string ReadAll(FILE* f) {
    std::string s;
    rewind(f);
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    fclose(f);
    return s;
}

struct Report {
    int kod;
    std::string out, err;
};

class Inspect : public DbTest {
protected:
    int64_t Store(int32_t okien, int32_t dodatkow, int32_t status = 0) {
        int64_t k = SaveTestOrder(okien, dodatkow, status, msg_);
        EXPECT_NE(0, k) << msg_;
        return k;
    }
    // Runs a tool's body (kelvaro-inspect unless told) on its arguments.
    Report Uruchom(std::vector<std::string> args, int (*narzedzie)(int, char**, FILE*, FILE*) = InspectMain,
                  const char* nazwa = "kelvaro-inspect") {
        DbClose();  // the tool opens the database itself
        args.insert(args.begin(), nazwa);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(&a[0]);
        argv.push_back(nullptr);
        FILE* out = tmpfile();
        FILE* err = tmpfile();
        Report w;
        w.kod = narzedzie((int)args.size(), argv.data(), out, err);
        w.out = ReadAll(out);
        w.err = ReadAll(err);
        EXPECT_EQ(1, DbOpen(path_.c_str(), msg_)) << msg_;
        return w;
    }
    // The JSON object of one order as the tool writes it.
    std::string OrderObject(int64_t klucz) {
        Report w = Uruchom({path_, std::to_string(klucz)});
        EXPECT_EQ(0, w.kod) << w.err;
        const std::string pocz = "{\"orders\":[", kon = "]}\n";
        EXPECT_EQ(pocz, w.out.substr(0, pocz.size()));
        EXPECT_GT(w.out.size(), pocz.size() + kon.size());
        return w.out.substr(pocz.size(), w.out.size() - pocz.size() - kon.size());
    }
};

std::string Escape(const std::string& s) {
    std::string r;
    for (char c : s) {
        if (c == '\r') r += "\\r";
        else if (c == '\n') r += "\\n";
        else r += c;
    }
    return r;
}

TEST_F(Inspect, OneOrderAsTheProgramValuesIt) {
    const int64_t k = Store(1, 1);
    // A name with every kind of character the writer has to escape.
    Sql("UPDATE T_DodatZam SET nazwa = 'Sill \"A\" \\ b' || char(9) || char(1) || char(233);");
    strZamRob z;
    ASSERT_EQ(1, LoadOrder(k, &z, msg_)) << msg_;
    const int64_t kluczOkno = z.zam.okna[0].kluczOkno;
    char uw[KV_AMOUNT_LEN];
    UwToText(WindowUw(&z.zam.okna[0]), uw);
    const std::string uwLiczba = std::to_string(WindowUw(&z.zam.okna[0]));
    FreeAndZeroOrder(&z);
    ASSERT_NE("-1", uwLiczba);

    // Default settings: windows VAT 8 %, accessories 23 %, assembly 15,00
    // per metre at 8 %, no discount, 30,00 kg per m2, EUR, seller "QW".
    // Window 1000,00 x 1, 1500 x 1400: frame 5800 mm, assembly 87,00
    // (+ 6,96). Accessory 25,50 x 2: unit VAT 5,865 -> 5,86, line VAT
    // 11,73. Weight 2,1 m2 * 30,00 = 63,00.
    const std::string opis =
        "Size: 1500 / 1400\r\nProfile: Norvel 70 (PVC)\r\nHardware: Tilvo NT\r\n"
        "Color: White\r\nMuntin: Georgian 20\r\nGlazing bead: Round\r\nFilling:\r\n"
        "(1) - Float 4/16/4 - [Glass]\r\n(2) - Ornament - [Glass]\r\nUw factor: " +
        std::string(uw) + " W/(m2*K)";
    const std::string oczek =
        "{\"orders\":[{\"kluczZam\":" + std::to_string(k) +
        ",\"idZam\":1,\"rok\":2010,\"number\":\"1-QW-2010\",\"status\":0,\"currency\":\"EUR\","
        "\"totals\":{\"windowsNet\":100000,\"windowsGross\":108000,\"windowsNetAfterDiscount\":100000,"
        "\"windowsGrossAfterDiscount\":108000,\"accessoriesNet\":5100,\"accessoriesGross\":6273,"
        "\"accessoriesNetAfterDiscount\":5100,\"accessoriesGrossAfterDiscount\":6273,\"assemblyNet\":8700,"
        "\"assemblyGross\":9396,\"disassemblyNet\":0,\"disassemblyGross\":0,\"frameLength\":5800,"
        "\"orderNet\":113800,\"orderGross\":123669},"
        "\"windows\":[{\"kluczOkno\":" +
        std::to_string(kluczOkno) + ",\"width\":1500,\"height\":1400,\"quantity\":1,\"uw\":" + uwLiczba +
        ",\"weight\":6300,\"description\":\"" + Escape(opis) +
        "\",\"line\":{\"unitNet\":100000,\"unitGross\":108000,\"lineNet\":100000,\"lineGross\":108000,"
        "\"frameLength\":5800},\"price_list\":0,\"price_list_missing\":[\"profile Norvel 70\",\"colour "
        "White\","
        "\"hardware Tilvo NT\",\"muntin Georgian 20\",\"bead Round\",\"filling Float 4/16/4\",\"filling "
        "Ornament\"]}],"
        "\"accessories\":[{\"nazwa\":\"Sill \\\"A\\\" \\\\ b\\t\\u0001\\u00c3\\u00a9\",\"size\":15000,"
        "\"line\":{\"unitNet\":2550,\"unitGross\":3136,\"lineNet\":5100,\"lineGross\":6273}}]}]}\n";
    Report w = Uruchom({path_, std::to_string(k)});
    EXPECT_EQ(0, w.kod);
    EXPECT_EQ("", w.err);
    EXPECT_EQ(oczek, w.out);
}

// An accessory's size is exact even where the product of its dimensions
// leaves 64 bits; a size that itself does not fit is written as null.
TEST_F(Inspect, AccessorySizesAreExactOrNull) {
    const int64_t k = Store(0, 2);
    // Little-endian: 2^63 - 1 by 1,0000 (the largest size) and by 1,0001.
    Sql("UPDATE T_DodatZam SET ilWym = 2, wymiar = X'FFFFFFFFFFFFFF7F' || X'1027000000000000' || "
        "zeroblob(8) WHERE iKolej = 0;"
        "UPDATE T_DodatZam SET ilWym = 2, wymiar = X'FFFFFFFFFFFFFF7F' || X'1127000000000000' || "
        "zeroblob(8) WHERE iKolej = 1;");
    Report w = Uruchom({path_, std::to_string(k)});
    EXPECT_EQ(0, w.kod) << w.err;
    const size_t first = w.out.find("\"size\":9223372036854775807,");
    const size_t second = w.out.find("\"size\":null,");
    EXPECT_NE(std::string::npos, first) << w.out;
    EXPECT_NE(std::string::npos, second) << w.out;
    EXPECT_LT(first, second);
}

TEST_F(Inspect, EveryOrderInKeyOrder) {
    Report pusty = Uruchom({path_});
    EXPECT_EQ(0, pusty.kod);
    EXPECT_EQ("{\"orders\":[]}\n", pusty.out);

    const int64_t a = Store(2, 0, 3);
    const int64_t b = Store(0, 0);  // no windows, no accessories
    const int64_t c = Store(3, 2, -1);
    Sql("UPDATE T_Zam SET dodOznaczZam = 'x', sDaneUzytk = "
        "CAST(zeroblob(256) || CAST('ab' AS BLOB) || zeroblob(526) AS BLOB) WHERE idZam = 2;");
    const std::string ob = OrderObject(b);
    EXPECT_NE(std::string::npos, ob.find("\"number\":\"2-AB-2010\"")) << ob;
    EXPECT_NE(std::string::npos, ob.find("\"windows\":[],\"accessories\":[]}")) << ob;
    EXPECT_NE(std::string::npos, OrderObject(c).find("\"status\":-1,")) << OrderObject(c);
    Report w = Uruchom({path_});
    EXPECT_EQ(0, w.kod) << w.err;
    EXPECT_EQ("{\"orders\":[" + OrderObject(a) + "," + ob + "," + OrderObject(c) + "]}\n", w.out);
}

TEST_F(Inspect, ErrorsGoToStandardError) {
    const int64_t k = Store(1, 0);
    struct {
        std::vector<std::string> args;
        const char* err;
    } przypadki[] = {
        {{}, "usage: kelvaro-inspect"},
        {{"--check"}, "usage: kelvaro-inspect"},
        {{"--verbose", path_}, "usage: kelvaro-inspect"},
        {{path_, "1", "2"}, "usage: kelvaro-inspect"},
        {{path_, "12x"}, "not an order key: 12x"},
        {{path_, ""}, "not an order key: "},
        {{path_, "99999999999999999999"}, "not an order key"},
        {{path_, std::to_string(k + 1)}, ": Error of reading T_Zam table from the database"},
        {{Path("missing.db")}, "cannot open"},
        {{"--check", Path("missing.db")}, "cannot open"},
    };
    for (auto& p : przypadki) {
        Report w = Uruchom(p.args);
        EXPECT_EQ(2, w.kod) << p.err;
        EXPECT_EQ("", w.out) << p.err;
        EXPECT_NE(std::string::npos, w.err.find(p.err)) << w.err;
    }
    // The missing file was not made by trying.
    FILE* f = fopen(Path("missing.db").c_str(), "rb");
    EXPECT_EQ(nullptr, f);
    if (f) fclose(f);
    // A file that is not a database of this program.
    f = fopen(Path("other.db").c_str(), "wb");
    ASSERT_NE(nullptr, f);
    fputs("not a database", f);
    fclose(f);
    Report w = Uruchom({Path("other.db")});
    EXPECT_EQ(2, w.kod);
    EXPECT_EQ("", w.out);
    EXPECT_NE(std::string::npos, w.err.find("kelvaro-inspect: ")) << w.err;
    // An order that does not load leaves no half document behind.
    Sql("UPDATE T_OperRysDb SET uOperRysDb = zeroblob(152) WHERE indeks = 3;");
    w = Uruchom({path_});
    EXPECT_EQ(2, w.kod);
    EXPECT_EQ("", w.out);
    EXPECT_NE(std::string::npos, w.err.find("Wrong definition")) << w.err;
}

TEST_F(Inspect, CheckReportsOrdersThatFail) {
    Store(2, 1);
    const int64_t b = Store(2, 0);
    const int64_t c = Store(1, 0);
    Store(0, 0);
    Report dobre = Uruchom({"--check", path_});
    EXPECT_EQ(0, dobre.kod) << dobre.out << dobre.err;
    EXPECT_EQ("", dobre.out);

    // Order b, second window: the glass in its sash turned into acrylic.
    // The areas still build, but a muntin may lie only on glass, which only
    // the change check says.
    char sql[512];
    snprintf(sql, sizeof sql,
             "UPDATE T_OperRysDb SET uOperRysDb = X'0400000001000000' || substr(uOperRysDb, 9) "
             "WHERE indeks = 6 AND kluczOkno = (SELECT max(kluczOkno) FROM T_Okno WHERE kluczZam = %" PRId64
             ");",
             b);
    Sql(sql);
    strZamRob z;
    ASSERT_EQ(1, LoadOrder(b, &z, msg_)) << msg_;
    const int64_t okno = z.zam.okna[1].kluczOkno;
    FreeAndZeroOrder(&z);
    // Order c does not load at all.
    snprintf(sql, sizeof sql,
             "UPDATE T_OperRysDb SET uOperRysDb = zeroblob(152) WHERE indeks = 3 AND kluczOkno IN "
             "(SELECT kluczOkno FROM T_Okno WHERE kluczZam = %" PRId64 ");",
             c);
    Sql(sql);
    char ladowanie[KV_MSG_LEN];
    ASSERT_EQ(0, LoadOrder(c, &z, ladowanie));
    std::string l = ladowanie;
    for (size_t p; (p = l.find("\r\n")) != std::string::npos;) l.replace(p, 2, "; ");

    Report w = Uruchom({"--check", path_});
    EXPECT_EQ(1, w.kod);
    EXPECT_EQ("", w.err);
    EXPECT_EQ(std::to_string(b) + ": window 2 (key " + std::to_string(okno) +
                  "): A muntin can be set only on a filling of type \"glass\"\n" + std::to_string(c) + ": " +
                  l + "\n",
              w.out);
}

}  // namespace

namespace {

// A price list imported with kelvaro-prices prices the window in
// kelvaro-inspect, and exports back byte for byte.
TEST_F(Inspect, PriceListFromTheToolPricesTheWindows) {
    const int64_t k = Store(1, 0);
    const std::string csv = Path("prices.csv"), back = Path("back.csv");
    const std::string text =
        "\xEF\xBB\xBFkind,name,rate1,rate2,rate3,rate4\r\n"
        "profile,Norvel 70,10.00,12.00,9.00,7.00\r\n"
        "colour,White,0.00,,,\r\n"
        "filling,Float 4/16/4,40.00,,,\r\n"
        "hardware,Tilvo NT,45.00,,,\r\n"
        "muntin,Georgian 20,3.00,,,\r\n"
        "bead,Round,1.50,,,\r\n"
        "window,,25.00,,,\r\n";
    FILE* f = fopen(csv.c_str(), "wb");
    ASSERT_TRUE(f);
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
    auto prices = [&](const char* command, const std::string& file) {
        return Uruchom({path_, command, file, "--codepage", "1252"}, PricesMain, "kelvaro-prices");
    };
    Report w = prices("import", csv);
    ASSERT_EQ(0, w.kod) << w.err;
    EXPECT_EQ("kelvaro-prices: 7 entries imported\n", w.out);
    // The export is in the user's form, and imports again as it is.
    for (const UtilLocale* locale : {&kPointLocale, &kCommaLocale}) {
        SCOPED_TRACE(locale->name);
        UseLocale(*locale);
        w = prices("export", back);
        RestoreLocale();
        ASSERT_EQ(0, w.kod) << w.err;
        f = fopen(back.c_str(), "rb");
        ASSERT_TRUE(f);
        std::string expected = text;
        if (locale->decimalSep[0] == ',')
            for (char& c : expected) c = c == ',' ? ';' : c == '.' ? ',' : c;
        EXPECT_EQ(expected, ReadAll(f));
        w = prices("import", back);
        EXPECT_EQ("kelvaro-prices: 7 entries imported\n", w.out) << w.err;
    }

    // Only "Ornament" is missing, and the price is the library's own.
    strZamRob z;
    ASSERT_EQ(1, LoadOrder(k, &z, msg_)) << msg_;
    PriceList list;
    std::vector<PriceEntry> stored;
    size_t bad = 0;
    ASSERT_EQ(1, DbLoadPriceList(&stored, msg_)) << msg_;
    ASSERT_TRUE(list.Assign(stored, &bad, msg_)) << msg_;
    PriceSuggestion s;
    ASSERT_TRUE(SuggestWindowPrice(&z.zam.okna[0], list, &s));
    FreeAndZeroOrder(&z);
    ASSERT_GT(s.net, 2500);
    const std::string json = OrderObject(k);
    EXPECT_NE(std::string::npos, json.find("\"price_list\":" + std::to_string(s.net) +
                                           ",\"price_list_missing\":[\"filling Ornament\"]"))
        << json;

    // A bad file: exit 1, the message, and the stored list kept.
    f = fopen(csv.c_str(), "wb");
    fputs("kind,name,rate1,rate2,rate3,rate4\nbead,Round,-1\n", f);
    fclose(f);
    w = prices("import", csv);
    EXPECT_EQ(1, w.kod);
    EXPECT_EQ("kelvaro-prices: line 2, column 3: A rate cannot be negative.\n", w.err);
    ASSERT_EQ(1, DbLoadPriceList(&stored, msg_)) << msg_;
    EXPECT_EQ(7u, stored.size());
}

}  // namespace

namespace {

// The records, after checking that the separator is the one the file's
// first line shows.
std::vector<std::vector<std::string>> ParseCsv(const std::string& data, char separator) {
    EXPECT_EQ(separator, KvCsvReader(data.data(), data.size()).DetectSeparator());
    return CsvRecords(data, separator);
}

// The CSV files of the register and of its order lines, in a point and a
// comma locale: the separator follows the decimal sign, amounts are plain
// with two decimals, the buyer's quote, comma, semicolon and line break
// come back whole, deleted orders are left out, CR LF ends every line.
TEST_F(Inspect, RegisterAndOrderLinesAsCsvInBothLocales) {
    const int64_t k = Store(2, 1);
    Store(1, 0, 3);
    Store(1, 0, -1);  // deleted
    Sql(("UPDATE T_Zam SET nazwaNabyw = 'Q \"x\", y; z' || char(13) || char(10) || 'w' WHERE kluczZam = " +
         std::to_string(k))
            .c_str());
    // Texts a spreadsheet would run as formulas, and a negative amount.
    const std::string key = std::to_string(k);
    Sql(("UPDATE T_Zam SET uwagi = '- bring a ladder', dodOznaczZam = '=1+2' WHERE kluczZam = " + key)
            .c_str());
    Sql(("UPDATE T_DodatZam SET nazwa = '@sill', cenaZReki = -2550 WHERE kluczZam = " + key).c_str());
    const std::string json = OrderObject(k);
    auto gross = [&json](const char* key) {
        const size_t at = json.find(std::string("\"") + key + "\":");
        return std::stoll(json.substr(json.find(':', at) + 1));
    };
    for (const UtilLocale* locale : {&kPointLocale, &kCommaLocale}) {
        SCOPED_TRACE(locale->name);
        UseLocale(*locale);
        const char sep = locale->decimalSep[0] == ',' ? ';' : ',';
        Report reg = Uruchom({"--register-csv", path_});
        Report lines = Uruchom({"--lines-csv", path_});
        RestoreLocale();
        ASSERT_EQ(0, reg.kod) << reg.err;
        ASSERT_EQ(0, lines.kod) << lines.err;
        EXPECT_EQ(std::string::npos, reg.out.find("\n\n"));
        EXPECT_EQ(std::count(reg.out.begin(), reg.out.end(), '\n'),
                  std::count(reg.out.begin(), reg.out.end(), '\r'));
        const auto r = ParseCsv(reg.out, sep);
        ASSERT_EQ(3u, r.size());  // the header and two orders
        EXPECT_EQ((std::vector<std::string>{"Status", "Order No.", "Order symbol", "Buyer", "Date of order",
                                            "Date of fulfilment", "Total", "Qty of windows", "Notes"}),
                  r[0]);
        EXPECT_EQ("Q \"x\", y; z\r\nw", r[1][3]);
        EXPECT_EQ("'=1+2", r[1][2]);
        EXPECT_EQ("'- bring a ladder", r[1][8]);
        const long long total = gross("orderGross");
        char text[32];
        snprintf(text, sizeof text, "%lld%c%02lld", total / 100, locale->decimalSep[0], total % 100);
        EXPECT_EQ(text, r[1][6]);
        EXPECT_GT(total, 100000);  // no grouping in a number above a thousand
        EXPECT_EQ("READY", r[2][0]);

        const auto l = ParseCsv(lines.out, sep);
        ASSERT_EQ(1u + 2 + 1 + 1, l.size());  // header, two windows and an accessory, one window
        EXPECT_EQ("window", l[1][3]);
        EXPECT_EQ("1500 x 1400", l[1][5]);
        EXPECT_EQ("accessory", l[3][3]);
        EXPECT_EQ("Q \"x\", y; z\r\nw", l[3][1]);
        EXPECT_EQ("'@sill", l[3][4]);
        EXPECT_EQ(Loc(*locale, "-25#50"), l[3][7]);  // a number stays one
        EXPECT_EQ("2", l[3][6]);
    }
}

}  // namespace
