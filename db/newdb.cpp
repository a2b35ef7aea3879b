// A new database: schema, version, variables and default settings.
#include "db/newdb.h"

#include "db/connection.h"

#include <sqlite3.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <string>

#include "db/backend.h"
#include "db/file_stmt.h"
#include "db/server.h"
#include "db/tables.h"
#include "util/platform.h"
#include "util/kvutil.h"
#include "util/msgbuf.h"

void DefaultSettings(strUstUzytk* u) {
    memset(u, 0, sizeof *u);
    u->idWalPrg = 12;  // EUR
    u->czasReal = 14;  // days from order to fulfilment
    u->waga = 3000;    // 30.00 kg per m2 of window
    strcpy(u->sDaneUzytk.nazwa, "Quarvel Windows Ltd.");
    strcpy(u->sDaneUzytk.skrot, "QW");
    strcpy(u->sDaneUzytk.adres, "12 Harbour Street\r\n1000 Kelvaro");
    strcpy(u->sDaneUzytk.infDodat, "VAT ID: EU123456789\r\nPhone: +00 123 456 789");
    // Typical factors of a PVC window with double glazing.
    u->sWspUw.ufRama = 130;         // 1.30 W/(m2 K)
    u->sWspUw.ufRamaSkrz = 140;     // 1.40
    u->sWspUw.ufSlupekStaly = 150;  // 1.50
    u->sWspUw.ufSlupekRuch = 160;   // 1.60
    u->sWspUw.ugSzyba = 110;        // 1.10
    u->sWspUw.psiSzyba = 800;       // 0.0800 W/(m K)
    u->sWspUw.ugAkryl = 280;        // 2.80
    u->sWspUw.psiAkryl = 600;       // 0.0600
    u->sWycenZamParam.rabat = 0;
    u->sWycenZamParam.cenaMont = 1500;   // 15.00 per metre of frame
    u->sWycenZamParam.cenaDemont = 800;  // 8.00 per metre of frame
    u->sWycenZamParam.vatMont = 800;     // 8.00 %
    u->sWycenZamParam.vatDodat = 2300;   // 23.00 %
    u->sWycenZamParam.vatOkna = 800;     // 8.00 %
    u->sWycenZamParam.flagi = 1;         // assembly by size, no disassembly
    static const char* const kNames[kStatusCount] = {"ACCEPTED",  "IN PRODUCTION", "READY",
                                                     "DELIVERED", "INVOICED",      "CANCELLED"};
    for (int i = 0; i < kStatusCount; i++) strcpy(u->stanyZam[i], kNames[i]);
    u->wysNaglDruk = 30;  // mm
}

static bool FileExists(const char* path) {
    struct stat st;
    return stat(path, &st) == 0;
}

// Fills the new file inside one transaction; false with the message on failure.
static bool FillNewDatabase(sqlite3* db, int year, char* msg) {
    auto fail = [&](const char* err) {
        KvMsg(msg, "Error of creating the database\r\n%s", err ? err : sqlite3_errmsg(db));
        return false;
    };
    char* err = nullptr;
    if (sqlite3_exec(db, "BEGIN;", nullptr, nullptr, &err) != SQLITE_OK ||
        sqlite3_exec(db, kSchemaSql, nullptr, nullptr, &err) != SQLITE_OK ||
        sqlite3_exec(db, kDbIndexSql, nullptr, nullptr, &err) != SQLITE_OK) {
        bool r = fail(err);
        sqlite3_free(err);
        return r;
    }

    FileStmt ver;
    if (!ver.Prepare(db, "INSERT INTO T_WerBaza VALUES ('1-8');") || sqlite3_step(ver.get()) != SQLITE_DONE)
        return fail(nullptr);

    FileStmt var;
    if (!var.Prepare(db, "INSERT INTO T_Zmienne VALUES (0, ?1);")) return fail(nullptr);
    sqlite3_bind_int(var.get(), 1, year);
    if (sqlite3_step(var.get()) != SQLITE_DONE) return fail(nullptr);

    strUstUzytk u;
    DefaultSettings(&u);
    char packed[sizeof u.stanyZam];
    int packedLen = TNapNaT2Tekst(&u.stanyZam[0][0], sizeof u.stanyZam, kStatusCount, packed);
    FileStmt set;
    if (!set.Prepare(db, "INSERT INTO T_UstUzytk VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9);")) return fail(nullptr);
    sqlite3_stmt* s = set.get();
    sqlite3_bind_int(s, 1, u.idWalPrg);
    sqlite3_bind_int(s, 2, u.czasReal);
    sqlite3_bind_int(s, 3, u.waga);
    sqlite3_bind_blob(s, 4, &u.sDaneUzytk, sizeof u.sDaneUzytk, SQLITE_TRANSIENT);
    sqlite3_bind_blob(s, 5, &u.sWspUw, sizeof u.sWspUw, SQLITE_TRANSIENT);
    sqlite3_bind_blob(s, 6, &u.sWycenZamParam, sizeof u.sWycenZamParam, SQLITE_TRANSIENT);
    sqlite3_bind_blob(s, 7, packed, packedLen, SQLITE_TRANSIENT);
    sqlite3_bind_int(s, 8, u.wysNaglDruk);
    sqlite3_bind_int(s, 9, u.status);
    if (sqlite3_step(s) != SQLITE_DONE) return fail(nullptr);

    if (sqlite3_exec(db, "COMMIT;", nullptr, nullptr, &err) != SQLITE_OK) {
        bool r = fail(err);
        sqlite3_free(err);
        return r;
    }
    return true;
}

int DbCreateFile(const char* path, int year, char* msg) {
    if (FileExists(path)) {
        KvMsg(msg, "The file %s already exists", path);
        return 0;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path, &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        KvMsg(msg, "Error of creating the database\r\n%s", db ? sqlite3_errmsg(db) : path);
        sqlite3_close_v2(db);
        return 0;
    }
    bool ok = FillNewDatabase(db, year, msg);
    sqlite3_close_v2(db);
    if (!ok) remove(path);  // no half-made database is left behind
    return ok ? 1 : 0;
}

// ---- A database on a server -------------------------------------------------------

std::string ServerSchemaText() {
    // The file's schema word by word, its types mapped; comments and names
    // pass as they are.
    std::string out;
    const char* p = kSchemaSql;
    while (*p) {
        if (p[0] == '-' && p[1] == '-') {
            const char* e = strchr(p, '\n');
            const size_t n = e ? (size_t)(e - p) : strlen(p);
            out.append(p, n);
            p += n;
            continue;
        }
        if ((*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z') || *p == '_') {
            const char* e = p;
            while ((*e >= 'A' && *e <= 'Z') || (*e >= 'a' && *e <= 'z') || (*e >= '0' && *e <= '9') || *e == '_') e++;
            const std::string word(p, (size_t)(e - p));
            p = e;
            if (word == "INTEGER" && strncmp(p, " PRIMARY KEY", 12) == 0) {
                out += "bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY";
                p += 12;
            } else if (word == "INTEGER") {
                out += "bigint";
            } else if (word == "TEXT") {
                out += "text COLLATE \"C\"";  // in byte order, as the file sorts
            } else if (word == "BLOB") {
                out += "bytea";
            } else {
                out += word;
            }
            continue;
        }
        out += *p++;
    }
    out += "\n-- The price list's entries in the order they were saved in (a file keeps its rows in it).\n"
           "ALTER TABLE T_Cennik ADD COLUMN seq bigint GENERATED ALWAYS AS IDENTITY;\n"
           "-- The code page of the desks' texts, fixed when the database is made.\n"
           "CREATE TABLE T_ServerInfo (\n  codePage bigint NOT NULL\n);\n";
    out += kDbIndexSql;
    return out;
}

int DbCreateServer(const char* conninfo, int year, char* msg) {
    const int cp = kvplat::AnsiCodePage();
    std::string err;
    if (ServerConnectAsDesk(conninfo, &err) != kServerConnected) {
        KvMsg(msg, "Error of creating the database\r\n%s", err.c_str());
        return 0;
    }
    const int64_t tables = ServerProgramTables(msg);
    if (tables < 0) {
        DbClose();
        return 0;
    }
    if (tables != 0) {
        KvMsg(msg, "Error of creating the database\r\nThe database already holds tables of the program.");
        DbClose();
        return 0;
    }
    strZmienne z{0, year};
    strUstUzytk u;
    DefaultSettings(&u);
    char sql[96];
    snprintf(sql, sizeof sql, "INSERT INTO T_ServerInfo VALUES (%d);", cp);
    bool ok = DbBegin("NowaBaza", msg) && DbExec(ServerSchemaText().c_str(), msg) &&
              DbExec("INSERT INTO T_WerBaza VALUES ('1-8');", msg) && DbExec(sql, msg) &&
              TblInsert(kTabZmienne, 1, &z, msg) && TblInsert(kTabUstUzytk, 1, &u, msg) && DbCommit("NowaBaza", msg);
    if (!ok) {
        char why[KV_MSG_LEN];
        snprintf(why, sizeof why, "%s", msg ? msg : "");
        DbRollback("NowaBaza", nullptr);
        KvMsg(msg, "Error of creating the database\r\n%s", why);
    }
    DbClose();
    return ok ? 1 : 0;
}
