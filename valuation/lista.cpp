// The order list's data path. The key query stays open while each order is
// loaded: the loads only read, which SQLite allows beside an open read on
// the same connection, and the rows handed out before a failure stay valid.
// The whole walk is one read transaction (unless the caller has one open),
// so the loads see one state of the database and skip a transaction each.
#include "lista.h"

#include <sqlite3.h>
#include <stdio.h>

#include "connection.h"
#include "msgbuf.h"
#include "stmt.h"
#include "wycena.h"
#include "zamowienia.h"

namespace {
const char kBladOdczytu[] = "Error of reading orders from the database";
const char kTrLista[] = "ListaZamowienSq";

int Przejdz(int32_t filtr, ZamListaFn fn, void* ctx, char* msg) {
    char sql[96];
    if (filtr >= 1 && filtr <= kStatusCount)
        snprintf(sql, sizeof sql, "SELECT kluczZam FROM T_Zam WHERE status = %d ORDER BY kluczZam;", (int)filtr);
    else
        snprintf(sql, sizeof sql, "SELECT kluczZam FROM T_Zam ORDER BY kluczZam;");
    sqlite3* db = DbHandle();
    Stmt st;
    if (!db || !st.Prepare(db, sql)) {
        KvMsg(msg, "%s\r\n%s", kBladOdczytu, db ? sqlite3_errmsg(db) : "no database is open");
        return 0;
    }
    for (;;) {
        const int rc = sqlite3_step(st.get());
        if (rc == SQLITE_DONE) return 1;
        if (rc != SQLITE_ROW) {
            if (rc == SQLITE_ERROR) KvMsg(msg, "%s\r\n%s", kBladOdczytu, sqlite3_errmsg(db));
            else KvMsg(msg, "%s", kBladOdczytu);
            return 0;
        }
        strZamRob z;
        if (!WczytajZam(sqlite3_column_int64(st.get(), 0), &z, msg)) return 0;
        PrzeliczZam(&z, kPrzWszystko);
        const bool dalej = !fn || fn(&z, ctx);
        ZwolnijIZerujZam(&z);
        if (!dalej) return 1;
    }
}
}  // namespace

int ListaZamowien(int32_t filtr, ZamListaFn fn, void* ctx, char* msg) {
    sqlite3* db = DbHandle();
    const bool wlasna = db && sqlite3_get_autocommit(db) && DbBegin(kTrLista, nullptr);
    const int wynik = Przejdz(filtr, fn, ctx, msg);
    // Only read: ending it cannot lose anything, whatever the walk's outcome.
    if (wlasna) DbCommit(kTrLista, nullptr);
    return wynik;
}
