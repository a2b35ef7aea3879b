// The SQLite connection, single-value queries, row counts, named transactions
// and the SQL functions of the program.
#include "db/connection.h"

#include <sqlite3.h>
#include <stdio.h>
#include <string.h>

#include "db/records.h"
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

    char version[16];
    if (DbCountRows("T_WerBaza", nullptr, nullptr) != 1 ||
        DbQueryValue("SELECT werBaza FROM T_WerBaza", kDbText, version, sizeof(version), nullptr) !=
            kDbQueryValue) {
        // A file another program keeps locked is not a damaged one.
        if (LockedOut()) {
            KvMsg(msg, "Error of opening the database\r\n%s", sqlite3_errmsg(g_db));
            DbAddBusyLine(msg);
        } else {
            KvMsg(msg, "Wrong content of the database (T_WerBaza)");
        }
        DbClose();
        return 0;
    }
    if (strcmp(version, kDbVersion) != 0) {
        KvMsg(msg,
              "Incorrect version of the database !\r\nProgram works with version %s,\r\n"
              "and the database has version %s",
              kDbVersion, version);
        DbClose();
        return 0;
    }
    if (DbCountRows("T_Zmienne", nullptr, nullptr) != 1) {
        if (LockedOut()) {
            KvMsg(msg, "Error of opening the database\r\n%s", sqlite3_errmsg(g_db));
            DbAddBusyLine(msg);
        } else {
            KvMsg(msg, "Wrong content of database variables (T_Zmienne)");
        }
        DbClose();
        return 0;
    }
    if (!EnsureIndexes(msg)) {
        DbClose();
        return 0;
    }
    return 1;
}

void DbClose() {
    if (g_db) {
        sqlite3_close_v2(g_db);
        g_db = nullptr;
    }
}

// Runs sql through sqlite3_exec; on failure writes `fmt` with its error text.
static int ExecWithText(const char* sql, char* msg, const char* fmt) {
    if (!g_db) {
        KvMsg(msg, fmt, "The database is not open");
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

int DbExec(const char* sql, char* msg) { return ExecWithText(sql, msg, "Error of SQL command\r\n%s"); }

int DbQueryValue(const char* sql, int kind, void* dest, int len, char* msg) {
    Stmt st;
    if (!g_db || !st.Prepare(g_db, sql)) {
        KvMsg(msg, "Error of SQL command\r\n%s", g_db ? sqlite3_errmsg(g_db) : "");
        DbAddBusyLine(msg);
        return kDbQueryError;
    }
    const bool isText = kind >= 3 && kind <= 5;
    const bool isBlob = kind >= 6 && kind <= 7;
    int rc = sqlite3_step(st.get());
    int outcome;
    if (rc == SQLITE_ROW) {
        if ((isText || isBlob) && sqlite3_column_type(st.get(), 0) == SQLITE_NULL) {
            if (dest && len > 0) memset(dest, 0, (size_t)len);
            outcome = kDbQueryNull;
        } else if (isText) {
            ColumnText(st.get(), 0, (char*)dest, len);
            outcome = kDbQueryValue;
        } else if (isBlob) {
            ColumnBlob(st.get(), 0, dest, len);
            outcome = kDbQueryValue;
        } else if (kind == 0) {
            if (dest && len >= 4) {
                int32_t v = sqlite3_column_int(st.get(), 0);
                memcpy(dest, &v, sizeof v);
            }
            outcome = kDbQueryValue;
        } else {
            if (dest && len >= 8) {
                int64_t v = sqlite3_column_int64(st.get(), 0);
                memcpy(dest, &v, sizeof v);
            }
            outcome = kDbQueryValue;
        }
    } else if (rc == SQLITE_DONE) {
        if (dest && len > 0) memset(dest, 0, (size_t)len);
        KvMsg(msg, "An SQL command has returned no result");
        outcome = kDbQueryNoRow;
    } else if (rc == SQLITE_ERROR) {
        KvMsg(msg, "Error of SQL command\r\n%s", sqlite3_errmsg(g_db));
        outcome = kDbQueryError;
    } else {
        KvMsg(msg, "Error of SQL command");
        DbAddBusyLine(msg);
        outcome = kDbQueryError;
    }
    return outcome;
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

// A write takes the write lock at its start: a transaction that has read
// cannot wait for the lock when it first writes (SQLite refuses at once
// rather than risk two waiting on each other), so it would fail with
// "database is locked" whenever another program is writing.
int DbBegin(const char* name, char* msg) {
    return Transaction("BEGIN IMMEDIATE", name, msg, "Error of opening a database transaction\r\n%s");
}

int DbCommit(const char* name, char* msg) {
    return Transaction("COMMIT", name, msg, "Error of commiting a database transaction\r\n%s");
}

int DbRollback(const char* name, char* msg) {
    return Transaction("ROLLBACK", name, msg, "Error of rollbacking transaction in the database\r\n%s");
}

DbReadTransaction::DbReadTransaction(const char* name, char* msg) : name_(name) {
    if (!g_db || !sqlite3_get_autocommit(g_db)) return;
    own_ = Transaction("BEGIN", name, msg, "Error of opening a database transaction\r\n%s") != 0;
    failed_ = !own_;
}

DbReadTransaction::~DbReadTransaction() {
    if (own_) DbCommit(name_, nullptr);
}

int DbSaveLastOrderNumber(int32_t number, char* msg) {
    Stmt st;
    if (!g_db || !st.Prepare(g_db, "UPDATE T_Zmienne SET idZam = :1_idZam;")) {
        KvMsg(msg, "Error of updating T_%s table in the database\r\n%s", "Zmienne",
              g_db ? sqlite3_errmsg(g_db) : "");
        return 0;
    }
    int rc = sqlite3_bind_int(st.get(), 1, number);
    if (rc != SQLITE_OK) {
        if (rc == SQLITE_ERROR)
            KvMsg(msg, "Error of binding the %s field\r\n%s", "idZam", sqlite3_errmsg(g_db));
        else KvMsg(msg, "Error of binding the %s field", "idZam");
        return 0;
    }
    rc = sqlite3_step(st.get());
    if (rc == SQLITE_ROW || rc == SQLITE_DONE) return 1;
    if (rc == SQLITE_ERROR)
        KvMsg(msg, "Error of updating T_%s table in the database\r\n%s", "Zmienne", sqlite3_errmsg(g_db));
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

static void SqlMontZam(sqlite3_context* ctx, int, sqlite3_value** argv) {
    int32_t flags;
    if (SettingsFlags(argv[0], &flags)) sqlite3_result_int(ctx, flags & kMontazMaska);
    else sqlite3_result_null(ctx);
}

static void SqlDemontZam(sqlite3_context* ctx, int, sqlite3_value** argv) {
    int32_t flags;
    if (SettingsFlags(argv[0], &flags)) sqlite3_result_int(ctx, flags & kDemontazMaska);
    else sqlite3_result_null(ctx);
}

// "%d-%s-%4d" of number, the seller's abbreviation and year, upper-cased.
static void SqlZlozNrZam(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const size_t at = offsetof(strDaneUzytk, skrot);
    const size_t width = sizeof(((strDaneUzytk*)nullptr)->skrot);
    if (sqlite3_value_type(argv[1]) != SQLITE_BLOB) {
        sqlite3_result_null(ctx);
        return;
    }
    const char* blob = (const char*)sqlite3_value_blob(argv[1]);
    int n = sqlite3_value_bytes(argv[1]);
    if (!blob || n < (int)(at + width)) {
        sqlite3_result_null(ctx);
        return;
    }
    char abbrev[sizeof(((strDaneUzytk*)nullptr)->skrot)];
    memcpy(abbrev, blob + at, width);
    abbrev[width - 1] = 0;  // an unterminated abbreviation is read within its field
    char text[64];
    snprintf(text, sizeof text, "%d-%s-%4d", sqlite3_value_int(argv[0]), abbrev, sqlite3_value_int(argv[2]));
    kvplat::UpperCaseAnsi(text);
    sqlite3_result_text(ctx, text, -1, SQLITE_TRANSIENT);
}

int DbRegisterFunctions(char* msg) {
    struct Fn {
        const char* name;
        int args;
        void (*fn)(sqlite3_context*, int, sqlite3_value**);
    };
    static const Fn kFns[] = {
        {"SQL_MONT_ZAM", 1, SqlMontZam},
        {"SQL_DEMONT_ZAM", 1, SqlDemontZam},
        {"SQL_ZLOZ_NR_ZAM", 3, SqlZlozNrZam},
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
