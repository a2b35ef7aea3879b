// The SQLite connection, single-value queries, row counts, named transactions
// and the SQL functions of the program.
#include "db/connection.h"

#include <sqlite3.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "db/backend.h"
#include "db/desks.h"
#include "db/names.h"
#include "db/records.h"
#include "db/server.h"
#include "db/stmt.h"
#include "util/msgbuf.h"
#include "util/platform.h"

const char kDbFileName[] = "kelvaroDemo.db";
const char kDbVersion[] = "1-8";
const char kVersionTag[] = "$Name: kelvaro_wer-1-8 $";
const char kTrSaveOrder[] = "ZachowanieZamowieniaSq";
const char kTrOverwriteOrder[] = "NadpisanieZamowieniaSq";
const char kTrDeleteOrder[] = "UsuniecieZamowieniaSq";

const char kDbIndexSql[] =
    "CREATE INDEX IF NOT EXISTS I_Okno_kluczZam ON T_Okno (kluczZam);"
    "CREATE INDEX IF NOT EXISTS I_OperRysDb_kluczOkno ON T_OperRysDb (kluczOkno, indeks);"
    "CREATE INDEX IF NOT EXISTS I_DodatZam_kluczZam ON T_DodatZam (kluczZam, iKolej);"
    "CREATE INDEX IF NOT EXISTS I_Zam_rok_idZam ON T_Zam (rok, idZam);";

static sqlite3* g_db;

sqlite3* DbHandle() { return g_db; }

DbBackendKind DbBackendInUse() { return g_db ? kDbFile : ServerOpen() ? kDbServer : kDbClosed; }

const char* DbErrorText() {
    if (g_db) return sqlite3_errmsg(g_db);
    if (ServerOpen()) return ServerErrorText();
    return "The database is not open";
}

const char* DbDefaultPath() {
#ifdef _WIN32
    return ".\\kelvaroDemo.db";
#else
    return "./kelvaroDemo.db";
#endif
}

const char kDbBusyText[] = "The database is in use by another program. Try again in a moment.";

// True when the last call on the connection failed because another program
// held its lock past kDbBusyWaitMs.
static bool LockedOut() { return g_db && (sqlite3_errcode(g_db) & 0xFF) == SQLITE_BUSY; }

void DbAddBusyLine(char* msg) {
    if (!msg || !LockedOut()) return;
    const size_t n = strlen(msg);
    if (n < KV_MSG_LEN) snprintf(msg + n, KV_MSG_LEN - n, "\r\n%s", kDbBusyText);
}

// A database made elsewhere may lack the lookup indexes; without them every
// load scans the window and operation tables, so a list of N orders costs
// N full scans. They are made here, once, before the first load. When the
// file cannot be written now, the orders are still there to read: the
// program opens without them and is only slower.
static int EnsureIndexes(char* msg) {
    char* err = nullptr;
    const int rc = sqlite3_exec(g_db, kDbIndexSql, nullptr, nullptr, &err);
    switch (rc & 0xFF) {
        case SQLITE_OK:
        case SQLITE_READONLY:
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
        case SQLITE_CANTOPEN:  // no journal beside a file in a read-only folder
        case SQLITE_PERM:
        case SQLITE_FULL: sqlite3_free(err); return 1;
    }
    KvMsg(msg, "Error of creating the indexes of the database\r\n%s", err ? err : sqlite3_errmsg(g_db));
    sqlite3_free(err);
    return 0;
}

// The checks every connection passes before the first load: one version
// row holding kDbVersion and one variables row. On a server a missing table
// also names the server's reason.
static int CheckContent(char* msg) {
    char version[16];
    if (DbCountRows("T_WerBaza", nullptr, nullptr) != 1 ||
        DbQueryValue("SELECT werBaza FROM T_WerBaza", kDbText, version, sizeof(version), nullptr) !=
            kDbQueryValue) {
        // A file another program keeps locked is not a damaged one.
        if (LockedOut()) {
            KvMsg(msg, "Error of opening the database\r\n%s", sqlite3_errmsg(g_db));
            DbAddBusyLine(msg);
        } else if (ServerOpen() && *ServerErrorText()) {
            KvMsg(msg, "Wrong content of the database (T_WerBaza)\r\n%s", ServerErrorText());
        } else {
            KvMsg(msg, "Wrong content of the database (T_WerBaza)");
        }
        return 0;
    }
    if (strcmp(version, kDbVersion) != 0) {
        KvMsg(msg,
              "Incorrect version of the database !\r\nProgram works with version %s,\r\n"
              "and the database has version %s",
              kDbVersion, version);
        return 0;
    }
    if (DbCountRows("T_Zmienne", nullptr, nullptr) != 1) {
        if (LockedOut()) {
            KvMsg(msg, "Error of opening the database\r\n%s", sqlite3_errmsg(g_db));
            DbAddBusyLine(msg);
        } else {
            KvMsg(msg, "Wrong content of database variables (T_Zmienne)");
        }
        return 0;
    }
    return 1;
}

int DbOpen(const char* path, char* msg) {
    DbClose();
    // The connection lives on the one window thread: without its mutex every
    // column read costs a lock and an unlock less.
    int rc = sqlite3_open_v2(path, &g_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    if (rc != SQLITE_OK) {
        KvMsg(msg, "Error of opening the database\r\n%s", g_db ? sqlite3_errmsg(g_db) : sqlite3_errstr(rc));
        DbClose();
        return 0;
    }
    // Another program writing the file holds its lock only for a moment; a
    // lock held longer must not hang the program.
    sqlite3_busy_timeout(g_db, kDbBusyWaitMs);
    if (!CheckContent(msg) || !EnsureIndexes(msg)) {
        DbClose();
        return 0;
    }
    return 1;
}

int DbOpenServer(const char* conninfo, char* msg) {
    DbClose();
    std::string err;
    const int r = ServerConnectAsDesk(conninfo, &err);
    if (r != kServerConnected) {
        KvMsg(msg, "Error of opening the database\r\n%s", err.c_str());
        return r;
    }
    const int cp = kvplat::AnsiCodePage();
    if (!CheckContent(msg)) {
        DbClose();
        return kServerFailed;
    }
    int32_t made = 0;
    if (DbQueryValue("SELECT codePage FROM T_ServerInfo", kDbInt32, &made, sizeof made, msg) != kDbQueryValue) {
        KvMsg(msg, "Wrong content of the database (T_ServerInfo)\r\n%s", ServerErrorText());
        DbClose();
        return kServerFailed;
    }
    // The stored records hold texts as bytes of one code page, which the
    // server cannot convert: every desk of a server works in the one it was
    // made with.
    if (made != cp) {
        KvMsg(msg,
              "Error of opening the database\r\nThis computer works in code page %d, and the database on the "
              "server was made for code page %d.\r\nEvery desk of one server must work in the same code page.",
              cp, (int)made);
        DbClose();
        return kServerFailed;
    }
    return kServerConnected;
}

int DbOpenFileOrServer(const char* target, bool server, char* msg) {
    if (server) return DbOpenServer(target, msg) == kServerConnected ? 1 : 0;
    FILE* f = fopen(target, "rb");
    if (!f) {
        KvMsg(msg, "cannot open %s", target);
        return 0;
    }
    fclose(f);
    return DbOpen(target, msg);
}

bool DbTakeServerOption(int* argc, char** argv) {
    for (int i = 1; i + 1 < *argc; i++) {
        if (strcmp(argv[i], "--server") != 0) continue;
        for (int j = i; j + 1 < *argc; j++) argv[j] = argv[j + 1];
        --*argc;
        return true;
    }
    return false;
}

void DbClose() {
    if (g_db) {
        sqlite3_close_v2(g_db);
        g_db = nullptr;
    }
    ServerClose();
}

// Runs sql through sqlite3_exec; on failure writes `fmt` with its error text.
static int ExecWithText(const char* sql, char* msg, const char* fmt) {
    if (!g_db) {
        if (ServerExec(sql)) return 1;
        KvMsg(msg, fmt, ServerErrorText());
        return 0;
    }
    char* err = nullptr;
    if (sqlite3_exec(g_db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        KvMsg(msg, fmt, err ? err : sqlite3_errmsg(g_db));
        DbAddBusyLine(msg);
        sqlite3_free(err);
        return 0;
    }
    return 1;
}

int64_t DbChanges() { return g_db ? sqlite3_changes64(g_db) : ServerChanges(); }

int DbExec(const char* sql, char* msg) { return ExecWithText(sql, msg, "Error of SQL command\r\n%s"); }

int DbQueryValue(const char* sql, int kind, void* dest, int len, char* msg) {
    Stmt st;
    if (!st.Prepare(sql)) {
        KvMsg(msg, "Error of SQL command\r\n%s", DbBackendInUse() == kDbClosed ? "" : DbErrorText());
        DbAddBusyLine(msg);
        return kDbQueryError;
    }
    const bool isText = kind >= 3 && kind <= 5;
    const bool isBlob = kind >= 6 && kind <= 7;
    const int rc = st.Step();
    if (rc == kStepRow) {
        if ((isText || isBlob) && st.ColumnIsNull(0)) {
            if (dest && len > 0) memset(dest, 0, (size_t)len);
            return kDbQueryNull;
        }
        if (isText) {
            ColumnText(st, 0, (char*)dest, len);
        } else if (isBlob) {
            ColumnBlob(st, 0, dest, len);
        } else if (kind == 0) {
            if (dest && len >= 4) {
                const int32_t v = st.ColumnInt32(0);
                memcpy(dest, &v, sizeof v);
            }
        } else if (dest && len >= 8) {
            const int64_t v = st.ColumnInt64(0);
            memcpy(dest, &v, sizeof v);
        }
        return kDbQueryValue;
    }
    if (rc == kStepDone) {
        if (dest && len > 0) memset(dest, 0, (size_t)len);
        KvMsg(msg, "An SQL command has returned no result");
        return kDbQueryNoRow;
    }
    if (st.Error() == kDbErrGeneric) {
        KvMsg(msg, "Error of SQL command\r\n%s", DbErrorText());
    } else {
        KvMsg(msg, "Error of SQL command");
        DbAddBusyLine(msg);
    }
    return kDbQueryError;
}

int64_t DbCountRows(const char* table, const char* column, const char* condition) {
    char sql[1024];
    int n = snprintf(sql, sizeof sql, "SELECT COUNT(%s) FROM %s", column ? column : "*", table);
    if (condition && n > 0 && n < (int)sizeof sql) {
        n += snprintf(sql + n, sizeof sql - (size_t)n, " WHERE %s", condition);
    }
    if (n < 0 || n >= (int)sizeof sql) return 0;  // a statement cut short would count something else
    int64_t count = 0;
    if (DbQueryValue(sql, kDbInt64, &count, sizeof count, nullptr) != kDbQueryValue) return 0;
    return count;
}

static int Transaction(const char* verb, const char* name, char* msg, const char* fmt) {
    char sql[256];
    snprintf(sql, sizeof sql, "%s TRANSACTION %s", verb, name);
    return ExecWithText(sql, msg, fmt);
}

// Runs `sql` on the server; null refuses with `why`, as the file refuses a
// transaction statement out of place (the server only warns).
static int ServerTransaction(const char* sql, char* msg, const char* fmt, const char* why) {
    if (sql) return ExecWithText(sql, msg, fmt);
    KvMsg(msg, fmt, why);
    return 0;
}

// A write takes the write lock at its start: a transaction that has read
// cannot wait for the lock when it first writes (SQLite refuses at once
// rather than risk two waiting on each other), so it would fail with
// "database is locked" whenever another program is writing. A server's
// transactions have no names: the name only tells the file's apart in its
// journal.
int DbBegin(const char* name, char* msg) {
    static const char kFail[] = "Error of opening a database transaction\r\n%s";
    if (ServerOpen()) {
        const int ok = ServerTransaction(ServerInTransaction() ? nullptr : "BEGIN", msg, kFail,
                                         "there is already a transaction in progress");
        if (ok) ServerTransactionBegun();
        return ok;
    }
    return Transaction("BEGIN IMMEDIATE", name, msg, kFail);
}

int DbCommit(const char* name, char* msg) {
    static const char kFail[] = "Error of commiting a database transaction\r\n%s";
    if (ServerOpen()) {
        // A server answers COMMIT of a failed transaction by rolling it
        // back, and calls that a success: the caller must hear it failed.
        // (The transaction ends here whatever happens; a lost connection is
        // made anew only after it, so the COMMIT never goes to a new one.)
        if (ServerTransactionFailed()) {
            ServerExec("ROLLBACK");
            ServerTransactionEnded();
            KvMsg(msg, kFail, "the transaction failed and was rolled back");
            return 0;
        }
        const int ok = ServerTransaction(ServerInTransaction() ? "COMMIT" : nullptr, msg, kFail,
                                         "there is no transaction in progress");
        ServerTransactionEnded();
        return ok;
    }
    return Transaction("COMMIT", name, msg, kFail);
}

int DbRollback(const char* name, char* msg) {
    static const char kFail[] = "Error of rollbacking transaction in the database\r\n%s";
    if (ServerOpen()) {
        const int ok = ServerTransaction(ServerInTransaction() ? "ROLLBACK" : nullptr, msg, kFail,
                                         "there is no transaction in progress");
        ServerTransactionEnded();
        return ok;
    }
    return Transaction("ROLLBACK", name, msg, kFail);
}

DbReadTransaction::DbReadTransaction(const char* name, char* msg) : name_(name) {
    static const char kFail[] = "Error of opening a database transaction\r\n%s";
    if (ServerOpen()) {
        // One snapshot for every statement of the run, as the file's read lock gives.
        if (ServerInTransaction()) return;
        own_ = ExecWithText("BEGIN ISOLATION LEVEL REPEATABLE READ", msg, kFail) != 0;
        if (own_) ServerTransactionBegun();
        failed_ = !own_;
        return;
    }
    if (!g_db || !sqlite3_get_autocommit(g_db)) return;
    own_ = Transaction("BEGIN", name, msg, kFail) != 0;
    failed_ = !own_;
}

DbReadTransaction::~DbReadTransaction() {
    if (own_) DbCommit(name_, nullptr);
}

int DbSaveLastOrderNumber(int32_t number, char* msg) {
    Stmt st;
    if (!st.Prepare("UPDATE T_Zmienne SET idZam = :1_idZam;")) {
        KvMsg(msg, "Error of updating T_%s table in the database\r\n%s", "Zmienne",
              DbBackendInUse() == kDbClosed ? "" : DbErrorText());
        return 0;
    }
    if (!st.BindInt(1, number)) {
        KvMsg(msg, "Error of binding the %s field", "idZam");
        return 0;
    }
    if (st.Step() != kStepError) return DbTellDesks(kNewsNumbering, 0, msg);
    if (st.Error() == kDbErrGeneric)
        KvMsg(msg, "Error of updating T_%s table in the database\r\n%s", "Zmienne", DbErrorText());
    else KvMsg(msg, "Error of updating T_%s table in the database", "Zmienne");
    DbAddBusyLine(msg);
    return 0;
}

// ---- SQL functions --------------------------------------------------------

// The valuation flags word of a settings blob; false when the argument is not
// a blob long enough to hold it.
static bool SettingsFlags(sqlite3_value* arg, int32_t* flags) {
    const size_t at = offsetof(strUstUzytk, sWycenZamParam) + offsetof(strWycenZamParam, flagi);
    if (sqlite3_value_type(arg) != SQLITE_BLOB) return false;
    const unsigned char* p = (const unsigned char*)sqlite3_value_blob(arg);
    int n = sqlite3_value_bytes(arg);
    if (!p || n < (int)(at + 4)) return false;
    *flags = (int32_t)((uint32_t)p[at] | (uint32_t)p[at + 1] << 8 | (uint32_t)p[at + 2] << 16 |
                       (uint32_t)p[at + 3] << 24);
    return true;
}

static void SqlOrderAssembly(sqlite3_context* ctx, int, sqlite3_value** argv) {
    int32_t flags;
    if (SettingsFlags(argv[0], &flags)) sqlite3_result_int(ctx, flags & kAssemblyMask);
    else sqlite3_result_null(ctx);
}

static void SqlOrderDisassembly(sqlite3_context* ctx, int, sqlite3_value** argv) {
    int32_t flags;
    if (SettingsFlags(argv[0], &flags)) sqlite3_result_int(ctx, flags & kDisassemblyMask);
    else sqlite3_result_null(ctx);
}

bool DbComposedNumber(int32_t number, const void* seller, int len, int32_t year, char text[64]) {
    const size_t at = offsetof(strDaneUzytk, skrot);
    const size_t width = sizeof(((strDaneUzytk*)nullptr)->skrot);
    if (!seller || len < (int)(at + width)) return false;
    ComposeOrderNumber(number, (const char*)seller + at, width, year, kNumberUpperCased, text, 64);
    return true;
}

// "%d-%s-%4d" of number, the seller's abbreviation and year, upper-cased.
static void SqlComposeOrderNumber(sqlite3_context* ctx, int, sqlite3_value** argv) {
    char text[64];
    if (sqlite3_value_type(argv[1]) != SQLITE_BLOB ||
        !DbComposedNumber(sqlite3_value_int(argv[0]), sqlite3_value_blob(argv[1]), sqlite3_value_bytes(argv[1]),
                          sqlite3_value_int(argv[2]), text)) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_text(ctx, text, -1, SQLITE_TRANSIENT);
}

int DbRegisterFunctions(char* msg) {
    // A server's statements never call them: the search composes the
    // numbers on the desk (FindOrderByNumber).
    if (ServerOpen()) return 1;
    struct Fn {
        const char* name;
        int args;
        void (*fn)(sqlite3_context*, int, sqlite3_value**);
    };
    static const Fn kFns[] = {
        {"SQL_MONT_ZAM", 1, SqlOrderAssembly},
        {"SQL_DEMONT_ZAM", 1, SqlOrderDisassembly},
        {"SQL_ZLOZ_NR_ZAM", 3, SqlComposeOrderNumber},
    };
    for (const Fn& f : kFns) {
        int rc = sqlite3_create_function(g_db, f.name, f.args, SQLITE_ANY | SQLITE_DETERMINISTIC, nullptr,
                                         f.fn, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            KvMsg(msg, "Error of attaching %s function to the database Sqlite\r\n%s", f.name,
                  g_db ? sqlite3_errmsg(g_db) : "");
            return 0;
        }
    }
    return 1;
}
