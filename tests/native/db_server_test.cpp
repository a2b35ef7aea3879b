// What only a database server does: connecting and what refuses a desk, a
// save that fails half-way on the server, a text the desk's code page has
// no character for, and making the tables. Runs only with a test server
// (KV_PG_CONNFILE); the family of DbTest runs the rest on both backends.
#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <chrono>
#include <thread>
#include <vector>

#include "db/backup.h"
#include "db/connection.h"
#include "db/desks.h"
#include "db/newdb.h"
#include "db/orders.h"
#include "db/price_table.h"
#include "db/registers.h"
#include "db/server.h"
#include "db/tables.h"
#include "tests/native/order_patterns.h"
#include "tests/native/testdb.h"

class DbServerTest : public DbTest {
protected:
    void SetUp() override {
        if (TestServerConnInfo().empty()) GTEST_SKIP() << "no test server";
        DbTest::SetUp();
    }
    void TearDown() override {
        FreeOrder(&a_);
        DbTest::TearDown();
    }
    void OwnerSql(const char* sql) { TestServerSql(sql); }
    void Order(strZamRob* z, int32_t nr, const char* buyer) {
        InitTestOrder(z, nr, buyer);
        for (int i = 0; i < 2; i++) {
            TestWindow o;
            WindowWithSash(o);
            AddTestWindow(z, o, i ? "FAIL" : "Selvano", 50000 + i);
        }
        AddTestAccessory(z, 0, "Sill", 1);
    }
    // Rows of the order tables and the last number, as one line.
    std::string Counts() {
        std::string s;
        for (const char* t : {"T_Zam", "T_Okno", "T_OperRysDb", "T_DodatZam"})
            s += std::to_string(DbCountRows(t, nullptr, nullptr)) + " ";
        strZmienne z{};
        EXPECT_EQ(1, ReadVariables(&z, msg_)) << msg_;
        return s + std::to_string(z.idZam);
    }
    strZamRob a_{};
    strZmienne zm_{0, 2010};
};

TEST_F(DbServerTest, ConnectionsThatAreRefused) {
    DbClose();
    const struct {
        const char* what;
        const char* ownerSql;  // what is done to the database first
        std::string conninfo;
        int result;
        const char* message;  // the message holds this
    } cases[] = {
        {"no tables", "DROP SCHEMA public CASCADE; CREATE SCHEMA public;", server_, kServerFailed,
         "Wrong content of the database (T_WerBaza)\r\nrelation \"t_werbaza\" does not exist"},
        {"another version", "UPDATE T_WerBaza SET werBaza = '1-7';", server_, kServerFailed,
         "Incorrect version of the database !\r\nProgram works with version 1-8,\r\nand the database has version 1-7"},
        {"another code page", "UPDATE T_ServerInfo SET codePage = 1250;", server_, kServerFailed,
         "This computer works in code page 1252, and the database on the server was made for code page 1250."},
        {"a wrong password", "", server_ + " password='not-it'", kServerNeedsPassword,
         "password authentication failed"},
        {"no password", "", server_ + " password='' passfile='/nonexistent'", kServerNeedsPassword,
         "Error of opening the database\r\n"},
        {"a server that is not there", "", server_ + " port='1' connect_timeout='2'", kServerFailed,
         "Error of opening the database\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DbTest::TearDown();
        DbTest::SetUp();
        DbClose();
        if (*c.ownerSql) OwnerSql(c.ownerSql);
        msg_[0] = 0;
        EXPECT_EQ(c.result, DbOpenServer(c.conninfo.c_str(), msg_));
        EXPECT_NE(nullptr, strstr(msg_, c.message)) << msg_;
        EXPECT_EQ(kDbClosed, DbBackendInUse());
    }
}

TEST_F(DbServerTest, MakingTheTablesRefusesADatabaseThatHasThem) {
    DbClose();
    EXPECT_EQ(0, DbCreateServer(server_.c_str(), 2011, msg_));
    EXPECT_NE(nullptr, strstr(msg_, "already holds tables of the program")) << msg_;
    ASSERT_EQ(kServerConnected, DbOpenServer(server_.c_str(), msg_)) << msg_;
    strZmienne z{};
    ASSERT_EQ(1, ReadVariables(&z, msg_)) << msg_;
    EXPECT_EQ(2010, z.rok);  // the first making stands
}

// A statement that fails in the middle of a save, an overwrite or a delete
// leaves the database as it was: the server rolls the whole transaction back
// and the program says the save failed.
TEST_F(DbServerTest, FailuresHalfWayLeaveNothing) {
    Order(&a_, 1, "Nadia Ferrow");
    strcpy(a_.zam.okna[1].nazProfil, "Selvano");
    ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
    const int64_t stored = a_.zam.kluczZam;
    OwnerSql(
        "CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
        "$$BEGIN RAISE EXCEPTION 'refused here'; END$$;"
        "CREATE TRIGGER refuse_window BEFORE INSERT ON T_Okno FOR EACH ROW "
        "WHEN (NEW.nazProfil = 'FAIL') EXECUTE FUNCTION refuse();"
        "CREATE TRIGGER refuse_delete BEFORE DELETE ON T_Zam FOR EACH ROW "
        "WHEN (OLD.uwagi = 'KEEP') EXECUTE FUNCTION refuse();");
    const std::string before = Counts();

    FreeAndZeroOrder(&a_);
    Order(&a_, 2, "Orvin Dalsk");
    EXPECT_EQ(0, SaveNewOrder(&a_, &zm_, msg_));
    EXPECT_NE(nullptr, strstr(msg_, "refused here")) << msg_;
    EXPECT_EQ(before, Counts());

    FreeAndZeroOrder(&a_);
    ASSERT_EQ(1, LoadOrder(stored, &a_, msg_)) << msg_;
    strcpy(a_.zam.okna[1].nazProfil, "FAIL");
    EXPECT_EQ(0, OverwriteOrder(&a_, msg_));
    EXPECT_EQ(before, Counts());
    FreeAndZeroOrder(&a_);
    ASSERT_EQ(1, LoadOrder(stored, &a_, msg_)) << msg_;
    EXPECT_STREQ("Selvano", a_.zam.okna[1].nazProfil);

    ASSERT_EQ(1, ChangeOrderStatus(stored, 2, msg_)) << msg_;
    OwnerSql("UPDATE T_Zam SET uwagi = 'KEEP';");
    EXPECT_EQ(0, DeleteOrder(stored, msg_));
    EXPECT_EQ(before, Counts());
    // The connection works on after each failure.
    EXPECT_EQ(1, DbCountRows("T_Zam", nullptr, "status = 2"));
}

// The stored records keep the desk's bytes; a text column must convert, and
// a byte the code page leaves undefined (0x81 in 1252) cannot: the save is
// refused as a whole, never stored garbled.
TEST_F(DbServerTest, ATextTheCodePageCannotHoldIsRefused) {
    const std::string before = Counts();
    Order(&a_, 1, "Ann\x81 Brell");
    strcpy(a_.zam.okna[1].nazProfil, "Selvano");
    EXPECT_EQ(0, SaveNewOrder(&a_, &zm_, msg_));
    EXPECT_EQ(0u, std::string(msg_).rfind("The order 1-QW-2010 holds a character that the database cannot store", 0))
        << msg_;
    EXPECT_NE(nullptr, strstr(msg_, "0x81")) << msg_;
    EXPECT_EQ(before, Counts());
    // Accented letters of the code page travel both ways unchanged.
    strcpy(a_.zam.nazwaNabyw, "J\xf3zef \xc6mielski");
    ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
    strZam back{};
    ASSERT_EQ(1, ReadOrderRow(a_.zam.kluczZam, &back, msg_)) << msg_;
    EXPECT_STREQ("J\xf3zef \xc6mielski", back.nazwaNabyw);
    // An overwrite with such a byte is refused whole too; the stored order stays.
    const std::string notes = a_.zam.uwagi;
    strcpy(a_.zam.uwagi, "note \x81");
    EXPECT_EQ(0, OverwriteOrder(&a_, msg_));
    EXPECT_NE(nullptr, strstr(msg_, "holds a character that the database cannot store")) << msg_;
    ASSERT_EQ(1, ReadOrderRow(a_.zam.kluczZam, &back, msg_)) << msg_;
    EXPECT_EQ(notes, back.uwagi);
    char utf8[64];
    ASSERT_EQ(kDbQueryValue, DbQueryValue("SELECT encode(convert_to(nazwaNabyw, 'UTF8'), 'hex') FROM T_Zam",
                                          kDbText, utf8, sizeof utf8, msg_))
        << msg_;
    EXPECT_STREQ("4ac3b37a656620c3866d69656c736b69", utf8);  // "Józef Æmielski" in UTF-8 on the server
}

// A server has no row order of its own: the entries come back in the order
// they were saved in, and a save replaces them all.
TEST_F(DbServerTest, PriceListKeepsItsOrder) {
    auto entry = [](int kind, const char* name, int64_t rate) {
        PriceEntry e{};
        e.kind = kind;
        snprintf(e.name, sizeof e.name, "%s", name);
        e.rates[0] = rate;
        return e;
    };
    for (const char* first : {"Zeta", "Alpha"}) {
        const std::vector<PriceEntry> saved = {entry(kPriceBead, first, 1), entry(kPriceProfile, "Mid", 2),
                                               entry(kPriceWindow, "", 3)};
        ASSERT_EQ(1, DbSavePriceList(saved, msg_)) << msg_;
        std::vector<PriceEntry> read;
        ASSERT_EQ(1, DbLoadPriceList(&read, msg_)) << msg_;
        ASSERT_EQ(3u, read.size());
        for (size_t i = 0; i < 3; i++) {
            EXPECT_EQ(saved[i].kind, read[i].kind);
            EXPECT_STREQ(saved[i].name, read[i].name);
            EXPECT_EQ(saved[i].rates[0], read[i].rates[0]);
        }
    }
}

// Numbers on a server: one another desk took while the order was open goes
// to the next free one, a year closed meanwhile gives the new year's
// numbering, and a desk that saves while another holds the variables row
// waits for it and gets the number after its.
TEST_F(DbServerTest, TheSaveTakesTheNextFreeNumber) {
    auto save = [&](int32_t shown, int32_t* number, int32_t* year) {
        FreeAndZeroOrder(&a_);
        Order(&a_, shown, "Perrin Ash");
        strcpy(a_.zam.okna[1].nazProfil, "Selvano");
        ASSERT_EQ(1, SaveNewOrderNumbered(&a_, msg_)) << msg_;
        *number = a_.zam.idZam;
        *year = a_.zam.rok;
    };
    int32_t number = 0, year = 0;
    OwnerSql("UPDATE T_Zmienne SET idZam = 1;");  // another desk saved number 1
    save(1, &number, &year);
    EXPECT_EQ(2, number);
    EXPECT_EQ(2010, year);

    OwnerSql("UPDATE T_Zmienne SET idZam = 0, rok = 2011;");  // and closed the year
    save(3, &number, &year);
    EXPECT_EQ(1, number);
    EXPECT_EQ(2011, year);

    // Another desk in the middle of its save holds the row; ours waits.
    PGconn* other = PQconnectdb(server_.c_str());
    ASSERT_EQ(CONNECTION_OK, PQstatus(other));
    PQclear(PQexec(other, "BEGIN; SELECT idZam FROM T_Zmienne FOR UPDATE; UPDATE T_Zmienne SET idZam = idZam + 1;"));
    std::thread commit([other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        PQclear(PQexec(other, "COMMIT"));
    });
    save(2, &number, &year);  // shows 2: the other desk is taking it
    commit.join();
    PQfinish(other);
    EXPECT_EQ(3, number);
    EXPECT_EQ(1, DbCountRows("T_Zam", nullptr, "rok = 2011 AND idZam = 3"));

    strZmienne vars{};
    ASSERT_EQ(1, ReadVariables(&vars, msg_)) << msg_;
    EXPECT_EQ(3, vars.idZam);
    // A save that is not the desk's numbering (a tool's) keeps its number.
    FreeAndZeroOrder(&a_);
    Order(&a_, 40, "Perrin Ash");
    a_.zam.rok = 1999;
    strcpy(a_.zam.okna[1].nazProfil, "Selvano");
    ASSERT_EQ(1, SaveNewOrder(&a_, &zm_, msg_)) << msg_;
    EXPECT_EQ(1, DbCountRows("T_Zam", nullptr, "rok = 1999 AND idZam = 40"));
}

// The server drops the connection in the middle of a save (the trigger ends
// its own session): the save fails with the reason, nothing of it is
// stored, it is not retried, and the next action works on a new connection.
TEST_F(DbServerTest, AConnectionLostHalfWayWritesNothingAndTheNextActionReconnects) {
    OwnerSql(
        "CREATE FUNCTION drop_session() RETURNS trigger LANGUAGE plpgsql AS "
        "$$BEGIN PERFORM pg_terminate_backend(pg_backend_pid()); RETURN NEW; END$$;"
        "CREATE TRIGGER drop_on_window BEFORE INSERT ON T_Okno FOR EACH ROW "
        "WHEN (NEW.nazProfil = 'FAIL') EXECUTE FUNCTION drop_session();");
    const std::string before = Counts();
    Order(&a_, 1, "Lorcan Brisk");  // its second window is "FAIL"
    EXPECT_EQ(0, SaveNewOrderNumbered(&a_, msg_));
    EXPECT_NE(nullptr, strstr(msg_, "terminating connection")) << msg_;
    EXPECT_NE(nullptr, strstr(msg_, "The connection to the database server was lost")) << msg_;
    EXPECT_EQ(1, a_.zam.idZam);  // the record keeps what it showed
    EXPECT_EQ(before, Counts());  // a new connection, and nothing of the save
    strcpy(a_.zam.okna[1].nazProfil, "Selvano");
    ASSERT_EQ(1, SaveNewOrderNumbered(&a_, msg_)) << msg_;
    EXPECT_EQ(1, DbCountRows("T_Zam", nullptr, nullptr));
    EXPECT_EQ(2, DbCountRows("T_Okno", nullptr, nullptr));
}

// Two desks that read the registers before either filed a new name, then
// both file it (typed a little differently): one row. A desk's file that
// holds a name twice comes onto the server with it once.
TEST_F(DbServerTest, ANameFiledAtTwoDesksIsOneRow) {
    WindowRegisters desk1{}, desk2{};
    ASSERT_EQ(1, LoadWindowRegisters(&desk1, msg_)) << msg_;
    ASSERT_EQ(1, LoadWindowRegisters(&desk2, msg_)) << msg_;
    strZstDodat* acc1 = nullptr;
    strZstDodat* acc2 = nullptr;
    ASSERT_EQ(0, CountReadAccessoryRegister(&acc1, msg_)) << msg_;
    ASSERT_EQ(0, CountReadAccessoryRegister(&acc2, msg_)) << msg_;
    Order(&a_, 1, "Ilse Marrow");
    strOkno& o = a_.zam.okna[0];
    strcpy(o.nazKolor, "Golden Oak");
    ASSERT_EQ(1, DbSaveWindowRegisters(&o, &desk1, msg_)) << msg_;
    strcpy(o.nazKolor, " golden oak");
    ASSERT_EQ(1, DbSaveWindowRegisters(&o, &desk2, msg_)) << msg_;
    EXPECT_EQ(1, DbCountRows("T_ZstKolor", nullptr, nullptr));
    ASSERT_EQ(1, SaveAccessoryRegister(&a_.zam.dodatki[0], acc1, 0, msg_)) << msg_;
    ASSERT_EQ(1, SaveAccessoryRegister(&a_.zam.dodatki[0], acc2, 0, msg_)) << msg_;
    EXPECT_EQ(1, DbCountRows("T_ZstDodat", nullptr, nullptr));
    FreeWindowRegisters(&desk1);
    FreeWindowRegisters(&desk2);

    const std::string file = Path("desk.db");
    ASSERT_EQ(1, DbCreateFile(file.c_str(), 2010, msg_)) << msg_;
    RawSql(file, "INSERT INTO T_ZstKolor VALUES ('Walnut', 1), ('WALNUT ', 1), ('Teak', 2);");
    DbClose();
    BackupInfo info{};
    ASSERT_EQ(1, BackupRestoreToServer(server_.c_str(), file.c_str(), true, &info, msg_)) << msg_;
    ASSERT_EQ(kServerConnected, DbOpenServer(server_.c_str(), msg_)) << msg_;
    EXPECT_EQ(2, DbCountRows("T_ZstKolor", nullptr, nullptr));
    EXPECT_EQ(1, DbCountRows("T_ZstKolor", nullptr, "nazwa = 'Walnut'"));
}

// The settings and the price list, changed at another desk while this one
// had them open: OK writes nothing and says so; read again, it writes.
TEST_F(DbServerTest, SettingsAndPricesChangedAtAnotherDeskAreNotOverwritten) {
    strUstUzytk mine{};
    uint64_t print = 0;
    ASSERT_EQ(1, ReadUserSettingsWithPrint(&mine, &print, msg_)) << msg_;
    OwnerSql("UPDATE T_UstUzytk SET czasReal = czasReal + 7;");  // the other desk's OK
    mine.waga = 4321;
    EXPECT_EQ(0, UpdateUserSettingsIfUnchanged(&mine, print, msg_));
    EXPECT_EQ(0u, std::string(msg_).rfind("The settings were changed at another desk", 0)) << msg_;
    strUstUzytk stored{};
    ASSERT_EQ(1, ReadUserSettingsWithPrint(&stored, &print, msg_)) << msg_;
    EXPECT_NE(4321, stored.waga);
    stored.waga = 4321;
    ASSERT_EQ(1, UpdateUserSettingsIfUnchanged(&stored, print, msg_)) << msg_;
    EXPECT_EQ(0, UpdateUserSettingsIfUnchanged(&stored, print, msg_));  // its own write moved the print on

    PriceEntry e{};
    e.kind = kPriceBead;
    strcpy(e.name, "Bead 12");
    e.rates[0] = 150;
    std::vector<PriceEntry> loaded;
    ASSERT_EQ(1, DbLoadPriceList(&loaded, msg_)) << msg_;
    OwnerSql("INSERT INTO T_Cennik (rodzaj, nazwa, stawka1, stawka2, stawka3, stawka4) VALUES (6, '', 900, 0, 0, 0);");
    EXPECT_EQ(0, DbSavePriceList({e}, msg_, &loaded));
    EXPECT_EQ(0u, std::string(msg_).rfind("The price list was changed at another desk", 0)) << msg_;
    std::vector<PriceEntry> now;
    ASSERT_EQ(1, DbLoadPriceList(&now, msg_)) << msg_;
    ASSERT_EQ(1u, now.size());
    EXPECT_EQ(kPriceWindow, now[0].kind);
    ASSERT_EQ(1, DbSavePriceList({e}, msg_, &now)) << msg_;
}

// What one desk changes reaches the others at its commit, as "kind key":
// a save, a status change, a deletion, the numbering and the settings; a
// save the server refuses tells nothing. A desk hears the others but not
// itself, skips what is not news of the program, and after its connection
// was lost and made anew (without waiting) hears on, told to read
// everything again for what it may have missed.
TEST_F(DbServerTest, WhatADeskChangesIsToldToTheOtherDesks) {
    PGconn* other = PQconnectdb(server_.c_str());
    ASSERT_EQ(CONNECTION_OK, PQstatus(other));
    PQclear(PQexec(other, "LISTEN kelvaro_register"));
    auto heard = [other](size_t expected) {
        std::vector<std::string> got;
        for (int i = 0; i < 100 && got.size() < expected; i++) {
            PQconsumeInput(other);
            while (PGnotify* n = PQnotifies(other)) {
                got.push_back(n->extra);
                PQfreemem(n);
            }
            if (got.size() < expected) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::string all;
        for (const std::string& s : got) all += (all.empty() ? "" : ", ") + s;
        return all;
    };
    ASSERT_TRUE(DbListenToDesks()) << DbErrorText();

    Order(&a_, 1, "Corvin Hale");
    strcpy(a_.zam.okna[1].nazProfil, "Selvano");
    ASSERT_EQ(1, SaveNewOrderNumbered(&a_, msg_)) << msg_;
    const std::string key = std::to_string(a_.zam.kluczZam);
    EXPECT_EQ("Y 0, O " + key, heard(2));
    ASSERT_EQ(1, OverwriteOrder(&a_, msg_)) << msg_;
    EXPECT_EQ("O " + key, heard(1));
    ASSERT_EQ(1, ChangeLoadedOrderStatus(&a_, 4, msg_)) << msg_;
    EXPECT_EQ("O " + key, heard(1));
    strUstUzytk settings{};
    ASSERT_EQ(1, ReadUserSettings(&settings, msg_)) << msg_;
    ASSERT_EQ(1, UpdateUserSettings(&settings, msg_)) << msg_;
    EXPECT_EQ("U 0", heard(1));
    ASSERT_EQ(1, DeleteLoadedOrder(&a_, msg_)) << msg_;
    EXPECT_EQ("D " + key, heard(1));
    OwnerSql(
        "CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
        "$$BEGIN RAISE EXCEPTION 'refused here'; END$$;"
        "CREATE TRIGGER refuse_window BEFORE INSERT ON T_Okno FOR EACH ROW "
        "WHEN (NEW.nazProfil = 'FAIL') EXECUTE FUNCTION refuse();");
    FreeAndZeroOrder(&a_);
    Order(&a_, 2, "Corvin Hale");
    EXPECT_EQ(0, SaveNewOrderNumbered(&a_, msg_));
    EXPECT_EQ("", heard(1));

    // This desk's own news is not news to it.
    std::vector<DeskNews> news;
    EXPECT_EQ(kDeskLineUp, DbTakeDeskNews(&news, false));
    EXPECT_TRUE(news.empty());
    PQclear(PQexec(other, "NOTIFY kelvaro_register, 'D 5'; NOTIFY kelvaro_register, 'hello';"
                          "NOTIFY kelvaro_register, 'O 7'"));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(kDeskLineUp, DbTakeDeskNews(&news, false));
    ASSERT_EQ(2u, news.size());
    EXPECT_EQ(kNewsOrderDeleted, news[0].kind);
    EXPECT_EQ(5, news[0].key);
    EXPECT_EQ(kNewsOrder, news[1].kind);
    EXPECT_EQ(7, news[1].key);

    int64_t pid = 0;
    ASSERT_EQ(kDbQueryValue, DbQueryValue("SELECT pg_backend_pid()", kDbInt64, &pid, sizeof pid, msg_)) << msg_;
    OwnerSql(("SELECT pg_terminate_backend(" + std::to_string(pid) + ")").c_str());
    news.clear();
    DeskLine line = kDeskLineUp;
    for (int i = 0; i < 100 && line == kDeskLineUp; i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        line = DbTakeDeskNews(&news, false);
    }
    EXPECT_EQ(kDeskLineDown, line);
    for (int i = 0; i < 200 && line == kDeskLineDown; i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        line = DbTakeDeskNews(&news, true);
    }
    ASSERT_EQ(kDeskLineUp, line);
    ASSERT_EQ(1u, news.size());
    EXPECT_EQ(kNewsEverything, news[0].kind);
    PQclear(PQexec(other, "NOTIFY kelvaro_register, 'Y 0'"));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    news.clear();
    DbTakeDeskNews(&news, false);
    ASSERT_EQ(1u, news.size());
    EXPECT_EQ(kNewsNumbering, news[0].kind);
    PQfinish(other);
}
