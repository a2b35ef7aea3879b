// The per-table members of the orders and registers, and the filling of the
// registers of used elements.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "db/connection.h"
#include "db/registers.h"
#include "db/tables.h"
#include "tests/native/order_patterns.h"
#include "tests/native/testdb.h"
#include "util/heap.h"

class DbRegistersTest : public DbTest {
protected:
    void TearDown() override {
        FreeWindowRegisters(&registers_);
        DbTest::TearDown();
    }
    template <class Rec>
    std::vector<Rec> Rows(int (*read)(Rec**, char*)) {
        Rec* r = nullptr;
        int n = read(&r, msg_);
        EXPECT_GE(n, 0) << msg_;
        std::vector<Rec> v(r, r + (n > 0 ? n : 0));
        KvFree(r);
        return v;
    }
    void Accept(const strOkno& o) {
        ASSERT_EQ(1, LoadWindowRegisters(&registers_, msg_)) << msg_;
        ASSERT_EQ(1, SaveWindowRegisters(&o, &registers_, msg_)) << msg_;
        FreeWindowRegisters(&registers_);
    }
    WindowRegisters registers_{};
};

// ---- Orders' tables ---------------------------------------------------------

TEST_F(DbRegistersTest, EmptyTablesGiveNoRowsAndNoArray) {
    strOkno* okna = (strOkno*)&okna;
    EXPECT_EQ(0, CountReadWindows(1, &okna, msg_));
    EXPECT_EQ(nullptr, okna);
    strOperRysDb* oper = (strOperRysDb*)&oper;
    EXPECT_EQ(0, CountReadDrawingOps(1, &oper, msg_));
    EXPECT_EQ(nullptr, oper);
    strDodatZam* d = (strDodatZam*)&d;
    EXPECT_EQ(0, CountReadOrderAccessories(1, &d, msg_));
    EXPECT_EQ(nullptr, d);
    ASSERT_EQ(1, LoadWindowRegisters(&registers_, msg_)) << msg_;
    EXPECT_EQ(0, registers_.profileCount + registers_.colourCount + registers_.muntinCount + registers_.hardwareCount +
                     registers_.beadCount + registers_.fillingCount);
    EXPECT_EQ(nullptr, registers_.profile);
    EXPECT_EQ(nullptr, registers_.wypeln);
}

TEST_F(DbRegistersTest, NullBlobsAndTextsOfAnOrderReadAsEmpty) {
    Sql("INSERT INTO T_Zam (kluczZam, idZam) VALUES (3, 9);"
        "INSERT INTO T_Okno (kluczOkno, kluczZam) VALUES (8, 3);"
        "INSERT INTO T_DodatZam (kluczZam, iKolej) VALUES (3, 0);");
    strZam z;
    memset(&z, 0x5A, sizeof z);
    ASSERT_EQ(1, ReadOrderRow(3, &z, msg_)) << msg_;
    EXPECT_EQ(9, z.idZam);
    EXPECT_STREQ("", z.nazwaNabyw);
    EXPECT_STREQ("", z.uwagi);
    const strDaneUzytk zeroSeller{};
    const strWycenZamParam zeroParams{};
    EXPECT_EQ(0, memcmp(&zeroSeller, &z.sDaneUzytk, sizeof zeroSeller));
    EXPECT_EQ(0, memcmp(&zeroParams, &z.sWycenZamParam, sizeof zeroParams));

    strOkno* o = nullptr;
    ASSERT_EQ(1, CountReadWindows(3, &o, msg_)) << msg_;
    EXPECT_EQ(8, o->kluczOkno);
    EXPECT_STREQ("", o->nazProfil);
    EXPECT_EQ(0, o->sGrubProf.rama);
    EXPECT_EQ(0, o->sWspUw.psiAkryl);
    KvFree(o);
    strDodatZam* d = nullptr;
    ASSERT_EQ(1, CountReadOrderAccessories(3, &d, msg_)) << msg_;
    EXPECT_EQ(0, d->wymiar[0] | d->wymiar[1] | d->wymiar[2]);
    KvFree(d);

    // A window without rows of operations loads as a window without operations.
    strZamRob r{};
    ASSERT_EQ(1, LoadOrder(3, &r, msg_)) << msg_;
    EXPECT_EQ(1, r.zam.liczbaOkien);
    EXPECT_EQ(0, r.zam.okna[0].liczbaOper);
    FreeAndZeroOrder(&r);
}

TEST_F(DbRegistersTest, OverlongTextsAndOddBlobsStayInsideTheirFields) {
    KV_FILE_ONLY();  // SQLite's own SQL
    Sql("INSERT INTO T_Zam (kluczZam, dodOznaczZam, dataZam, uwagi, sWycenZamParam) VALUES "
        "(4, printf('%.100c', 's'), '2010-01-01 and more', printf('%.5000c', 'u'), x'0A');"
        "INSERT INTO T_Okno (kluczOkno, kluczZam, sGrubProf) VALUES (1, 4, zeroblob(40));"
        "INSERT INTO T_OperRysDb VALUES (1, 0, x'00000000');");
    strZamRob r{};
    // The frame lost its size to the short blob, so the structure refuses it;
    // what matters is that nothing was read or written past a field.
    EXPECT_EQ(0, LoadOrder(4, &r, msg_));
    strZam z{};
    ASSERT_EQ(1, ReadOrderRow(4, &z, msg_)) << msg_;
    EXPECT_EQ(31u, strlen(z.dodOznaczZam));
    EXPECT_STREQ("2010-01-01", z.dataZam);
    EXPECT_EQ(2047u, strlen(z.uwagi));
    EXPECT_EQ(10, z.sWycenZamParam.rabat);
    EXPECT_EQ(0, z.sWycenZamParam.flagi);
}

TEST_F(DbRegistersTest, ReadZamOfAnotherKeyLeavesTheRecordAlone) {
    Sql("INSERT INTO T_Zam (kluczZam, idZam) VALUES (3, 9);");
    strZam z{};
    z.idZam = 77;
    EXPECT_EQ(0, ReadOrderRow(4, &z, msg_));
    EXPECT_STREQ("Error of reading T_Zam table from the database", msg_);
    EXPECT_EQ(77, z.idZam);
}

// ---- Registers of used elements -----------------------------------------------

TEST_F(DbRegistersTest, ColourMatchedAcrossCaseAndBlanksIsRewritten) {
    Sql("INSERT INTO T_ZstKolor VALUES ('golden oak  ', 1), ('White', 0);");
    TestWindow o;
    WindowWithSash(o);
    strcpy(o.r.nazKolor, "  GOLDEN Oak");
    o.r.iKolor = 3;
    Accept(o.r);
    auto k = Rows(CountReadColourRegister);
    ASSERT_EQ(2u, k.size());
    EXPECT_STREQ("GOLDEN Oak", k[0].nazwa);
    EXPECT_EQ(3, k[0].typ);
    EXPECT_STREQ("White", k[1].nazwa);
    EXPECT_EQ(0, k[1].typ);
}

TEST_F(DbRegistersTest, EveryNamedElementAndDistinctFillingIsFiled) {
    TestWindow o;
    WindowWithPanes(o, 3, true);  // fillings Glass, Acrylic, Glass, Acrylic
    strcpy(o.r.nazProfil, "Norvel Line 70");
    o.r.iProfSch = 0;
    o.r.sGrubProf = {70, 78, 84, 64};
    strcpy(o.r.nazKolor, "White");
    strcpy(o.r.nazSzpros, "Duplex 26");
    o.r.grubSzpros = 26;
    strcpy(o.r.nazOkucie, "Tilvo NT");
    strcpy(o.r.nazListwa, "   ");  // blank: skipped
    Accept(o.r);
    auto p = Rows(CountReadProfileRegister);
    ASSERT_EQ(1u, p.size());
    EXPECT_EQ(84, p[0].sGrubProf.slupekStaly);
    auto s = Rows(CountReadMuntinRegister);
    ASSERT_EQ(1u, s.size());
    EXPECT_EQ(26, s[0].grubSzpros);
    EXPECT_EQ(1u, Rows(CountReadHardwareRegister).size());
    EXPECT_EQ(0u, Rows(CountReadBeadRegister).size());
    auto w = Rows(CountReadFillingRegister);
    ASSERT_EQ(2u, w.size());
    EXPECT_STREQ("Acrylic", w[0].nazwa);
    EXPECT_EQ(1, w[0].typ);
    EXPECT_STREQ("Glass", w[1].nazwa);
    EXPECT_EQ(0, w[1].typ);

    // Accepting again with other attributes: profile rewritten, hardware left
    // as it was (its match changes nothing), no row added anywhere.
    o.r.sGrubProf.slupekStaly = 90;
    o.r.iProfSch = 1;
    strcpy(o.r.nazOkucie, "TILVO nt ");
    Accept(o.r);
    p = Rows(CountReadProfileRegister);
    ASSERT_EQ(1u, p.size());
    EXPECT_EQ(90, p[0].sGrubProf.slupekStaly);
    EXPECT_EQ(1, p[0].typ);
    auto ok = Rows(CountReadHardwareRegister);
    ASSERT_EQ(1u, ok.size());
    EXPECT_STREQ("Tilvo NT", ok[0].nazwa);
    EXPECT_EQ(2u, Rows(CountReadFillingRegister).size());
}

TEST_F(DbRegistersTest, NameWithDoubleQuotesIsStoredAndFoundAgain) {
    Sql("INSERT INTO T_ZstProfil VALUES ('Other', 2, NULL);");
    TestWindow o;
    WindowWithSash(o);
    strcpy(o.r.nazProfil, "Oak \"Classic\" 68");
    Accept(o.r);
    strcpy(o.r.nazProfil, "OAK \"CLASSIC\" 68 ");
    o.r.iProfSch = 1;
    Accept(o.r);
    auto p = Rows(CountReadProfileRegister);
    ASSERT_EQ(2u, p.size());
    EXPECT_STREQ("OAK \"CLASSIC\" 68", p[0].nazwa);
    EXPECT_EQ(1, p[0].typ);
    EXPECT_STREQ("Other", p[1].nazwa);
    EXPECT_EQ(2, p[1].typ);
}

TEST_F(DbRegistersTest, TypedTextNeverChangesTheUpdate) {
    // A register row whose stored name would, pasted into "nazwa=\"%s\"",
    // turn the condition into one that holds for every row.
    Sql("INSERT INTO T_ZstKolor VALUES ('x\" OR \"1\"=\"1', 0), ('Anthracite', 2);");
    TestWindow o;
    WindowWithSash(o);
    strcpy(o.r.nazKolor, "X\" or \"1\"=\"1");
    o.r.iKolor = 3;
    Accept(o.r);
    auto k = Rows(CountReadColourRegister);
    ASSERT_EQ(2u, k.size());
    EXPECT_STREQ("Anthracite", k[0].nazwa);
    EXPECT_EQ(2, k[0].typ);
    EXPECT_STREQ("X\" or \"1\"=\"1", k[1].nazwa);
    EXPECT_EQ(3, k[1].typ);
}

TEST_F(DbRegistersTest, AccessoryRegisterMatchesTrimmedRows) {
    Sql("INSERT INTO T_ZstDodat VALUES (' window sill ', 1, 'm');");
    strZstDodat* rej = nullptr;
    int n = CountReadAccessoryRegister(&rej, msg_);
    ASSERT_EQ(1, n) << msg_;
    strDodatZam d{};
    strcpy(d.nazwa, "Window Sill");
    d.ilWym = 2;
    strcpy(d.jm, "m2");
    ASSERT_EQ(1, SaveAccessoryRegister(&d, rej, n, msg_)) << msg_;
    strcpy(d.nazwa, "Handle \"Korra\"");
    d.ilWym = 0;
    d.jm[0] = 0;
    ASSERT_EQ(1, SaveAccessoryRegister(&d, rej, n, msg_)) << msg_;
    KvFree(rej);
    auto r = Rows(CountReadAccessoryRegister);
    ASSERT_EQ(2u, r.size());
    EXPECT_STREQ("Handle \"Korra\"", r[0].nazwa);
    EXPECT_STREQ("Window Sill", r[1].nazwa);
    EXPECT_EQ(2, r[1].ilWym);
    EXPECT_STREQ("m2", r[1].jm);
}

TEST_F(DbRegistersTest, FailureStopsAtTheFirstRegister) {
    KV_FILE_ONLY();  // SQLite's own SQL
    Sql("DROP TABLE T_ZstKolor; CREATE TABLE T_ZstKolor (nazwa TEXT, typ INTEGER, x NOT NULL);");
    TestWindow o;
    WindowWithSash(o);
    strcpy(o.r.nazProfil, "P");
    strcpy(o.r.nazKolor, "K");
    strcpy(o.r.nazOkucie, "O");
    ASSERT_EQ(1, LoadWindowRegisters(&registers_, msg_)) << msg_;
    EXPECT_EQ(0, SaveWindowRegisters(&o.r, &registers_, msg_));
    EXPECT_EQ(0, strncmp(msg_, "Error of inserting strZstKolor into the database", 48)) << msg_;
    EXPECT_EQ(1, DbCountRows("T_ZstProfil", nullptr, nullptr));
    EXPECT_EQ(0, DbCountRows("T_ZstOkucie", nullptr, nullptr));
}

template <class Rec>
static std::vector<std::string> NamesOf(const Rec* rows, int n) {
    std::vector<std::string> v;
    for (int i = 0; i < n; i++) v.push_back(rows[i].nazwa);
    return v;
}

template <class Rec, int (*Read)(Rec**, char*)>
static std::vector<std::string> ReadNames() {
    char msg[2048] = "";
    Rec* rows = nullptr;
    int n = Read(&rows, msg);
    EXPECT_GE(n, 0) << msg;
    std::vector<std::string> v = NamesOf(rows, n);
    KvFree(rows);
    return v;
}

// Every register is offered in name order, whatever order its names were
// first used in.
TEST_F(DbRegistersTest, RegistersAreReadInNameOrder) {
    const struct {
        const char* table;
        std::vector<std::string> (*read)();
    } registers[] = {
        {"T_ZstProfil", ReadNames<strZstProfil, CountReadProfileRegister>},
        {"T_ZstKolor", ReadNames<strZstKolor, CountReadColourRegister>},
        {"T_ZstSzpros", ReadNames<strZstSzpros, CountReadMuntinRegister>},
        {"T_ZstOkucie", ReadNames<strZstOkucie, CountReadHardwareRegister>},
        {"T_ZstListwa", ReadNames<strZstListwa, CountReadBeadRegister>},
        {"T_ZstWypeln", ReadNames<strZstWypeln, CountReadFillingRegister>},
        {"T_ZstDodat", ReadNames<strZstDodat, CountReadAccessoryRegister>},
    };
    const std::vector<std::string> sorted = {"Alder", "Birch", "Cedar", "Maple"};
    for (const auto& r : registers) {
        Sql((std::string("INSERT INTO ") + r.table +
             " (nazwa) VALUES ('Cedar'), ('Alder'), ('Maple'), ('Birch');")
                .c_str());
        EXPECT_EQ(sorted, r.read()) << r.table;
    }
    // The designer reads its six together, in the same order.
    ASSERT_EQ(1, LoadWindowRegisters(&registers_, msg_)) << msg_;
    EXPECT_EQ(sorted, NamesOf(registers_.profile, registers_.profileCount));
    EXPECT_EQ(sorted, NamesOf(registers_.colourRows, registers_.colourCount));
    EXPECT_EQ(sorted, NamesOf(registers_.muntinRows, registers_.muntinCount));
    EXPECT_EQ(sorted, NamesOf(registers_.hardwareRows, registers_.hardwareCount));
    EXPECT_EQ(sorted, NamesOf(registers_.beadRows, registers_.beadCount));
    EXPECT_EQ(sorted, NamesOf(registers_.wypeln, registers_.fillingCount));
}

// ---- Accessory array ----------------------------------------------------------

TEST_F(DbRegistersTest, AccessoryArrayAppendRemoveOverwrite) {
    strZamRob z{};
    AddTestAccessory(&z, 0, "A", 1);
    AddTestAccessory(&z, 1, "B", 2);
    AddTestAccessory(&z, 2, "C", 3);
    ASSERT_EQ(3, z.zam.liczbaDodat);
    ASSERT_EQ(1, DeleteAccessory(&z.zam.dodatki, &z.zam.liczbaDodat, 0, msg_));
    ASSERT_EQ(2, z.zam.liczbaDodat);
    EXPECT_STREQ("B", z.zam.dodatki[0].nazwa);
    EXPECT_STREQ("C", z.zam.dodatki[1].nazwa);

    KvHeapFailAt(1);
    EXPECT_EQ(0, DeleteAccessory(&z.zam.dodatki, &z.zam.liczbaDodat, 0, msg_));
    KvHeapFailAt(0);
    EXPECT_STREQ("Error of reallocation the strDodatZam structure", msg_);
    ASSERT_EQ(2, z.zam.liczbaDodat);
    EXPECT_STREQ("B", z.zam.dodatki[0].nazwa);
    EXPECT_STREQ("C", z.zam.dodatki[1].nazwa);

    strDodatZam d = z.zam.dodatki[1];
    KvHeapFailAt(1);
    EXPECT_EQ(0, AppendAccessory(&z.zam.dodatki, &z.zam.liczbaDodat, &d, msg_));
    KvHeapFailAt(0);
    EXPECT_STREQ("Error of reallocation the strDodatZam structure", msg_);
    EXPECT_EQ(2, z.zam.liczbaDodat);

    strcpy(d.nazwa, "D");
    OverwriteAccessory(z.zam.dodatki, z.zam.liczbaDodat, 0, &d);
    OverwriteAccessory(z.zam.dodatki, z.zam.liczbaDodat, 2, &d);  // outside: nothing
    EXPECT_STREQ("D", z.zam.dodatki[0].nazwa);
    EXPECT_STREQ("C", z.zam.dodatki[1].nazwa);
    ASSERT_EQ(1, DeleteAccessory(&z.zam.dodatki, &z.zam.liczbaDodat, 1, msg_));
    ASSERT_EQ(1, DeleteAccessory(&z.zam.dodatki, &z.zam.liczbaDodat, 0, msg_));
    EXPECT_EQ(nullptr, z.zam.dodatki);
    EXPECT_EQ(0, DeleteAccessory(&z.zam.dodatki, &z.zam.liczbaDodat, 0, msg_));

    KvHeapFailAt(1);
    EXPECT_EQ(0, AppendAccessory(&z.zam.dodatki, &z.zam.liczbaDodat, &d, msg_));
    KvHeapFailAt(0);
    EXPECT_STREQ("Error of allocation of strDodatZam structure", msg_);
    EXPECT_EQ(0, z.zam.liczbaDodat);
}

TEST_F(DbRegistersTest, AccessoryStoredDimensions) {
    KV_FILE_ONLY();  // SQLite's own SQL
    // Lowering the number of dimensions stores the dropped ones as 0, and the
    // column holds them little-endian, dimension 1 first.
    strDodatZam d{};
    d.ilWym = 1;
    d.wymiar[0] = 0x0102;
    d.wymiar[1] = 7;
    d.wymiar[2] = 9;
    ZeroExtraDimensions(&d);
    EXPECT_EQ(0, d.wymiar[1] | d.wymiar[2]);
    d.kluczZam = 6;
    ASSERT_EQ(1, InsertOrderAccessories(1, &d, msg_)) << msg_;
    char hex[64] = {};
    ASSERT_EQ(kDbQueryValue,
              DbQueryValue("SELECT hex(wymiar) FROM T_DodatZam", kDbText, hex, sizeof hex, msg_));
    EXPECT_STREQ("020100000000000000000000000000000000000000000000", hex);
}
