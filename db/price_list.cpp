// The price list table.
#include "db/price_list.h"

#include <sqlite3.h>
#include <string.h>

#include "db/connection.h"
#include "db/stmt.h"
#include "util/msgbuf.h"

const char kDbPriceListTableSql[] =
    "CREATE TABLE IF NOT EXISTS T_Cennik (\n"
    "  rodzaj INTEGER,\n"
    "  nazwa TEXT,\n"
    "  stawka1 INTEGER,\n"
    "  stawka2 INTEGER,\n"
    "  stawka3 INTEGER,\n"
    "  stawka4 INTEGER\n"
    ");";

namespace {

const char kTransaction[] = "ZapisCennika";

void SqlFailed(sqlite3* db, char* msg) {
    KvMsg(msg, "Error of SQL command\r\n%s", sqlite3_errmsg(db));
    DbAddBusyLine(msg);
}

bool TableExists(sqlite3* db, bool* exists, char* msg) {
    Stmt st;
    if (!st.Prepare(db, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = 'T_Cennik'")) {
        SqlFailed(db, msg);
        return false;
    }
    if (sqlite3_step(st.get()) != SQLITE_ROW) {
        SqlFailed(db, msg);
        return false;
    }
    *exists = sqlite3_column_int(st.get(), 0) > 0;
    return true;
}

}  // namespace

int DbLoadPriceList(std::vector<PriceEntry>* entries, char* msg) {
    entries->clear();
    sqlite3* db = DbHandle();
    if (!db) {
        KvMsg(msg, "Error of SQL command\r\n%s", "The database is not open");
        return 0;
    }
    DbReadTransaction read("OdczytCennika", msg);
    if (read.failed()) return 0;
    bool exists = false;
    if (!TableExists(db, &exists, msg)) return 0;
    if (!exists) return 1;
    Stmt st;
    if (!st.Prepare(
            db, "SELECT rodzaj, nazwa, stawka1, stawka2, stawka3, stawka4 FROM T_Cennik ORDER BY rowid")) {
        SqlFailed(db, msg);
        return 0;
    }
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        PriceEntry e{};
        e.kind = sqlite3_column_int(st.get(), 0);
        ColumnText(st.get(), 1, e.name, (int)sizeof e.name);
        for (int i = 0; i < 4; i++) e.rates[i] = sqlite3_column_int64(st.get(), 2 + i);
        entries->push_back(e);
    }
    if (rc != SQLITE_DONE) {
        SqlFailed(db, msg);
        entries->clear();
        return 0;
    }
    return 1;
}

int DbSavePriceList(const std::vector<PriceEntry>& entries, char* msg) {
    sqlite3* db = DbHandle();
    if (!db) {
        KvMsg(msg, "Error of SQL command\r\n%s", "The database is not open");
        return 0;
    }
    if (!DbBegin(kTransaction, msg)) return 0;
    bool ok = DbExec(kDbPriceListTableSql, msg) && DbExec("DELETE FROM T_Cennik", msg);
    Stmt st;
    if (ok && !st.Prepare(db, "INSERT INTO T_Cennik VALUES (?, ?, ?, ?, ?, ?)")) {
        SqlFailed(db, msg);
        ok = false;
    }
    for (size_t i = 0; ok && i < entries.size(); i++) {
        const PriceEntry& e = entries[i];
        sqlite3_reset(st.get());
        sqlite3_bind_int(st.get(), 1, e.kind);
        sqlite3_bind_text(st.get(), 2, e.name, (int)strnlen(e.name, sizeof e.name - 1), SQLITE_STATIC);
        for (int k = 0; k < 4; k++) sqlite3_bind_int64(st.get(), 3 + k, e.rates[k]);
        if (sqlite3_step(st.get()) != SQLITE_DONE) {
            SqlFailed(db, msg);
            ok = false;
        }
    }
    if (ok && DbCommit(kTransaction, msg)) return 1;
    DbRollback(kTransaction, nullptr);
    return 0;
}

int32_t DbPriceListCurrency() {
    int32_t currency = -1;
    if (DbQueryValue("SELECT idWalPrg FROM T_UstUzytk", kDbInt32, &currency, sizeof currency, nullptr) !=
        kDbQueryValue)
        return -1;
    return currency;
}

bool DbPriceListWritable() {
    sqlite3* db = DbHandle();
    return db && sqlite3_db_readonly(db, "main") == 0;
}
