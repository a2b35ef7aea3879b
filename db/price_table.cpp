// The price list table.
#include "db/price_table.h"

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

void SqlFailed(char* msg) {
    KvMsg(msg, "Error of SQL command\r\n%s", DbErrorText());
    DbAddBusyLine(msg);
}

// A server's database always has the table: it is made with the others.
bool TableExists(bool* exists, char* msg) {
    if (DbBackendInUse() == kDbServer) {
        *exists = true;
        return true;
    }
    Stmt st;
    if (!st.Prepare("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = 'T_Cennik'") ||
        st.Step() != kStepRow) {
        SqlFailed(msg);
        return false;
    }
    *exists = st.ColumnInt64(0) > 0;
    return true;
}

}  // namespace

int DbLoadPriceList(std::vector<PriceEntry>* entries, char* msg) {
    entries->clear();
    if (DbBackendInUse() == kDbClosed) {
        KvMsg(msg, "Error of SQL command\r\n%s", "The database is not open");
        return 0;
    }
    DbReadTransaction read("OdczytCennika", msg);
    if (read.failed()) return 0;
    bool exists = false;
    if (!TableExists(&exists, msg)) return 0;
    if (!exists) return 1;
    // The entries in the order they were saved in: the file's row order, the
    // server's column of its own for it.
    Stmt st;
    if (!st.Prepare(DbBackendInUse() == kDbServer
                        ? "SELECT rodzaj, nazwa, stawka1, stawka2, stawka3, stawka4 FROM T_Cennik ORDER BY seq"
                        : "SELECT rodzaj, nazwa, stawka1, stawka2, stawka3, stawka4 FROM T_Cennik ORDER BY rowid")) {
        SqlFailed(msg);
        return 0;
    }
    int rc;
    while ((rc = st.Step()) == kStepRow) {
        PriceEntry e{};
        e.kind = st.ColumnInt32(0);
        ColumnText(st, 1, e.name, (int)sizeof e.name);
        for (int i = 0; i < 4; i++) e.rates[i] = st.ColumnInt64(2 + i);
        entries->push_back(e);
    }
    if (rc != kStepDone) {
        SqlFailed(msg);
        entries->clear();
        return 0;
    }
    return 1;
}

static bool SameEntries(const std::vector<PriceEntry>& a, const std::vector<PriceEntry>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); i++) {
        if (a[i].kind != b[i].kind || strncmp(a[i].name, b[i].name, sizeof a[i].name) != 0) return false;
        for (int k = 0; k < 4; k++)
            if (a[i].rates[k] != b[i].rates[k]) return false;
    }
    return true;
}

// Inside the save's transaction: the stored list is still `loaded` (a
// server's table locked first, so that no other desk saves in between).
static bool StillAsLoaded(const std::vector<PriceEntry>& loaded, char* msg) {
    if (DbBackendInUse() == kDbServer && !DbExec("LOCK TABLE T_Cennik IN SHARE ROW EXCLUSIVE MODE;", msg))
        return false;
    std::vector<PriceEntry> now;
    if (!DbLoadPriceList(&now, msg)) return false;
    if (SameEntries(now, loaded)) return true;
    KvMsg(msg,
          "The price list was changed at another desk after this dialog was opened: nothing has been written.\r\n"
          "Close the dialog (what was changed here is then dropped) and open it again to see the other change.");
    return false;
}

int DbSavePriceList(const std::vector<PriceEntry>& entries, char* msg, const std::vector<PriceEntry>* loaded) {
    const DbBackendKind backend = DbBackendInUse();
    if (backend == kDbClosed) {
        KvMsg(msg, "Error of SQL command\r\n%s", "The database is not open");
        return 0;
    }
    if (!DbBegin(kTransaction, msg)) return 0;
    // The desks of a server may only read and write its tables.
    bool ok = (!loaded || StillAsLoaded(*loaded, msg)) &&
              (backend == kDbServer || DbExec(kDbPriceListTableSql, msg)) && DbExec("DELETE FROM T_Cennik", msg);
    Stmt st;
    if (ok && !st.Prepare("INSERT INTO T_Cennik (rodzaj, nazwa, stawka1, stawka2, stawka3, stawka4) "
                          "VALUES (?, ?, ?, ?, ?, ?)")) {
        SqlFailed(msg);
        ok = false;
    }
    for (size_t i = 0; ok && i < entries.size(); i++) {
        const PriceEntry& e = entries[i];
        st.Reset();
        ok = st.BindInt(1, e.kind) && st.BindText(2, e.name, (int)strnlen(e.name, sizeof e.name - 1));
        for (int k = 0; ok && k < 4; k++) ok = st.BindInt(3 + k, e.rates[k]);
        if (!ok || st.Step() == kStepError) {
            SqlFailed(msg);
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
    if (DbBackendInUse() == kDbServer) return true;
    sqlite3* db = DbHandle();
    return db && sqlite3_db_readonly(db, "main") == 0;
}
