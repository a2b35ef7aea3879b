// Rows between the file and a server, table by table, each value as its
// kind (an integer, a text in the desk's code page, a blob byte for byte),
// the keys kept, so the orders, their windows and operations still belong
// together on the other side.
#include "db/server_backup.h"

#include <sqlite3.h>
#include <stdio.h>
#include <string.h>

#include <set>
#include <string>

#include "db/backend.h"
#include "db/backup.h"
#include "db/connection.h"
#include "db/desks.h"
#include "db/file_stmt.h"
#include "db/newdb.h"
#include "db/registers.h"
#include "db/server.h"
#include "db/stmt.h"
#include "util/msgbuf.h"
#include "util/platform.h"

namespace {

// Every table of the register, parents before their children, with the
// columns both sides have and the order their rows are copied in.
struct TableCopy {
    const char* name;
    const char* columns;
    const char* fileOrder;
    const char* serverOrder;
};
const TableCopy kTables[] = {
    {"T_WerBaza", "*", nullptr, nullptr},
    {"T_Zmienne", "*", nullptr, nullptr},
    {"T_UstUzytk", "*", nullptr, nullptr},
    {"T_Zam", "*", "kluczZam", "kluczZam"},
    {"T_Okno", "*", "kluczOkno", "kluczOkno"},
    {"T_OperRysDb", "*", "kluczOkno, indeks", "kluczOkno, indeks"},
    {"T_DodatZam", "*", "kluczZam, iKolej", "kluczZam, iKolej"},
    {"T_ZstProfil", "*", "rowid", nullptr},
    {"T_ZstOkucie", "*", "rowid", nullptr},
    {"T_ZstKolor", "*", "rowid", nullptr},
    {"T_ZstListwa", "*", "rowid", nullptr},
    {"T_ZstSzpros", "*", "rowid", nullptr},
    {"T_ZstWypeln", "*", "rowid", nullptr},
    {"T_ZstDodat", "*", "rowid", nullptr},
    {"T_Cennik", "rodzaj, nazwa, stawka1, stawka2, stawka3, stawka4", "rowid", "seq"},
};
// The server generates these keys; after a load they go on past the largest.
const char* const kKeys[][2] = {{"T_Zam", "kluczZam"}, {"T_Okno", "kluczOkno"}};

std::string SelectText(const TableCopy& t, const char* order) {
    std::string sql = std::string("SELECT ") + t.columns + " FROM " + t.name;
    if (order) (sql += " ORDER BY ") += order;
    return sql;
}

// "INSERT INTO T_x [(columns)] VALUES (?1,...,?n)"
std::string InsertText(const TableCopy& t, int n) {
    std::string sql = std::string("INSERT INTO ") + t.name;
    if (strcmp(t.columns, "*") != 0) (sql += " (") += std::string(t.columns) + ")";
    sql += " VALUES (";
    for (int i = 1; i <= n; i++) sql += (i > 1 ? ",?" : "?") + std::to_string(i);
    return sql + ")";
}

bool FileHasTable(sqlite3* db, const char* table) {
    FileStmt st;
    return st.Prepare(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1") &&
           sqlite3_bind_text(st.get(), 1, table, -1, SQLITE_STATIC) == SQLITE_OK &&
           sqlite3_step(st.get()) == SQLITE_ROW;
}

}  // namespace

int CopyServerRows(sqlite3* out, char* msg) {
    char* err = nullptr;
    if (sqlite3_exec(out, "BEGIN;", nullptr, nullptr, &err) != SQLITE_OK ||
        sqlite3_exec(out, kSchemaSql, nullptr, nullptr, &err) != SQLITE_OK ||
        sqlite3_exec(out, kDbIndexSql, nullptr, nullptr, &err) != SQLITE_OK) {
        KvMsg(msg, "%s", err ? err : sqlite3_errmsg(out));
        sqlite3_free(err);
        return 0;
    }
    // One snapshot for every table, whatever other desks write meanwhile.
    DbReadTransaction snapshot("KopiaSerwera", msg);
    if (snapshot.failed()) return 0;
    for (const TableCopy& t : kTables) {
        Stmt from;
        if (!from.Prepare(SelectText(t, t.serverOrder).c_str())) {
            KvMsg(msg, "%s", DbErrorText());
            return 0;
        }
        FileStmt to;
        int rc, columns = -1;
        while ((rc = from.Step()) == kStepRow) {
            if (columns < 0) {
                columns = from.ColumnCount();
                if (!to.Prepare(out, InsertText(t, columns).c_str())) {
                    KvMsg(msg, "%s", sqlite3_errmsg(out));
                    return 0;
                }
            }
            sqlite3_reset(to.get());
            for (int c = 0; c < columns; c++) {
                int len = 0;
                const char* bytes = from.ColumnBytes(c, &len);
                switch (from.ColumnType(c)) {
                    case StmtBackend::kBindInt: sqlite3_bind_int64(to.get(), c + 1, from.ColumnInt64(c)); break;
                    case StmtBackend::kBindText: sqlite3_bind_text(to.get(), c + 1, bytes, len, SQLITE_TRANSIENT); break;
                    case StmtBackend::kBindBlob:
                        sqlite3_bind_blob(to.get(), c + 1, bytes ? bytes : "", len, SQLITE_TRANSIENT);
                        break;
                    default: sqlite3_bind_null(to.get(), c + 1); break;
                }
            }
            if (sqlite3_step(to.get()) != SQLITE_DONE) {
                KvMsg(msg, "%s: %s", t.name, sqlite3_errmsg(out));
                return 0;
            }
        }
        if (rc != kStepDone) {
            KvMsg(msg, "%s: %s", t.name, DbErrorText());
            return 0;
        }
    }
    if (sqlite3_exec(out, "COMMIT;", nullptr, nullptr, &err) != SQLITE_OK) {
        KvMsg(msg, "%s", err ? err : sqlite3_errmsg(out));
        sqlite3_free(err);
        return 0;
    }
    return 1;
}

int BackupRestoreToServer(const char* conninfo, const char* file, bool replace, BackupInfo* info, char* msg) {
    if (!BackupCheck(file, info, msg)) return 0;
    sqlite3* src = nullptr;
    if (sqlite3_open_v2(file, &src, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        KvMsg(msg, "The backup %s cannot be read\r\n%s", file, src ? sqlite3_errmsg(src) : "out of memory");
        sqlite3_close_v2(src);
        return 0;
    }
    struct Closer {
        sqlite3* db;
        ~Closer() {
            sqlite3_close_v2(db);
            DbClose();
        }
    } closer{src};

    std::string err;
    if (ServerConnectAsDesk(conninfo, &err) != kServerConnected) {
        KvMsg(msg, "Error of opening the database\r\n%s", err.c_str());
        return 0;
    }
    const int cp = kvplat::AnsiCodePage();
    const int64_t tables = ServerProgramTables(msg);
    if (tables < 0) return 0;
    int64_t rows = 0;
    if (tables > 0) {
        int32_t made = 0;
        if (DbQueryValue("SELECT codePage FROM T_ServerInfo", kDbInt32, &made, sizeof made, msg) != kDbQueryValue)
            return 0;
        if (made != cp) {
            KvMsg(msg, "The database on the server was made for code page %d, and this computer works in code page %d.",
                  (int)made, cp);
            return 0;
        }
        // A database just made (kelvaro-mkdb --server) holds only its
        // version, variables and settings rows: empty of what a user made.
        for (const TableCopy& t : kTables)
            if (strcmp(t.name, "T_WerBaza") && strcmp(t.name, "T_Zmienne") && strcmp(t.name, "T_UstUzytk"))
                rows += DbCountRows(t.name, nullptr, nullptr);
    }
    if (rows > 0 && !replace) {
        KvMsg(msg, "The database on the server is not empty: its content is replaced only when asked to (--replace).");
        return 0;
    }

    static const char kTr[] = "OdtworzenieNaSerwerze";
    if (!DbBegin(kTr, msg)) return 0;
    auto fail = [&](const std::string& why) {
        char text[KV_MSG_LEN];
        snprintf(text, sizeof text, "The backup %s cannot be loaded\r\n%s", file, why.c_str());
        DbRollback(kTr, nullptr);
        KvMsg(msg, "%s", text);
        return 0;
    };
    if (tables == 0) {
        char sql[96];
        snprintf(sql, sizeof sql, "INSERT INTO T_ServerInfo VALUES (%d);", cp);
        if (!DbExec(ServerSchemaText().c_str(), msg) || !DbExec(sql, msg)) return fail(msg ? msg : "");
    } else {
        for (const TableCopy& t : kTables) {
            if (!DbExec((std::string("DELETE FROM ") + t.name).c_str(), msg)) return fail(msg ? msg : "");
        }
    }
    for (const TableCopy& t : kTables) {
        if (!FileHasTable(src, t.name)) continue;  // an older desk's file without a price list
        FileStmt from;
        if (!from.Prepare(src, SelectText(t, t.fileOrder).c_str())) return fail(sqlite3_errmsg(src));
        Stmt to;
        const int columns = sqlite3_column_count(from.get());
        if (!to.Prepare(InsertText(t, columns).c_str())) return fail(DbErrorText());
        // A file may hold a register name twice (the registers compare
        // names, the table does not enforce it): the server gets it once.
        const bool isRegister = strncmp(t.name, "T_Zst", 5) == 0;
        std::set<std::string> names;
        int rc;
        while ((rc = sqlite3_step(from.get())) == SQLITE_ROW) {
            if (isRegister) {
                char key[128];
                const char* name = (const char*)sqlite3_column_text(from.get(), 0);
                RegisterKey(name ? name : "", key);
                if (!names.insert(key).second) continue;
            }
            to.Reset();
            bool ok = true;
            for (int c = 0; ok && c < columns; c++) {
                sqlite3_stmt* s = from.get();
                switch (sqlite3_column_type(s, c)) {
                    case SQLITE_INTEGER: ok = to.BindInt(c + 1, sqlite3_column_int64(s, c)); break;
                    case SQLITE_BLOB:
                        ok = to.BindBlob(c + 1, sqlite3_column_blob(s, c), sqlite3_column_bytes(s, c));
                        break;
                    case SQLITE_NULL: ok = to.BindNull(c + 1); break;
                    default:
                        ok = to.BindText(c + 1, (const char*)sqlite3_column_text(s, c), sqlite3_column_bytes(s, c));
                        break;
                }
            }
            if (!ok || to.Step() == kStepError) return fail(std::string(t.name) + ": " + DbErrorText());
        }
        if (rc != SQLITE_DONE) return fail(sqlite3_errmsg(src));
    }
    for (const auto& k : kKeys) {
        char sql[256];
        snprintf(sql, sizeof sql,
                 "SELECT setval(pg_get_serial_sequence('%s', '%s'), COALESCE(MAX(%s), 0) + 1, false) FROM %s", k[0],
                 k[1], k[1], k[0]);
        // pg_get_serial_sequence wants the names as the server keeps them.
        std::string lower = sql;
        for (char& ch : lower) ch = (ch >= 'A' && ch <= 'Z') ? (char)(ch - 'A' + 'a') : ch;
        if (!DbExec(lower.c_str(), msg)) return fail(msg ? msg : "");
    }
    // The desks working on it read the whole register again.
    if (!DbTellDesks(kNewsEverything, 0, msg) || !DbCommit(kTr, msg)) return fail(msg ? msg : "");
    return 1;
}
