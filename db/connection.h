// connection.h - the one SQLite connection of the process and the statements
// every table access is built on.
//
// All functions run on the user-interface thread. Each prepares, steps and
// finalizes its own statement; nothing stays prepared between calls.
#ifndef KV_DB_CONNECTION_H
#define KV_DB_CONNECTION_H

#include <stdint.h>

struct sqlite3;

// The database file of the program, opened from the working directory.
extern const char kDbFileName[];  // "kelvaroDemo.db"
extern const char kDbVersion[];   // "1-8", the version this program works with
extern const char kVersionTag[];  // "$Name: kelvaro_wer-1-8 $"

// The open SQLite connection, or null while none is open (or the program's
// connection is to a server).
sqlite3* DbHandle();

// Which database the program's connection is to.
enum DbBackendKind { kDbClosed = 0, kDbFile = 1, kDbServer = 2 };
DbBackendKind DbBackendInUse();
// The text of the connection's last failure ("The database is not open"
// without one).
const char* DbErrorText();

// The path the program opens: ".\" (or "./" natively) followed by kDbFileName.
const char* DbDefaultPath();

// The program's lookup indexes (an order's windows, their operations, its
// accessories, by key). They change no table, so the version stays "1-8".
extern const char kDbIndexSql[];
// How long a statement waits for a lock another program holds, in ms.
enum { kDbBusyWaitMs = 3000 };

// The line added below a failure's message when the lock was still held
// after the wait: "The database is in use by another program. Try again in
// a moment."
extern const char kDbBusyText[];
// Appends "\r\n" kDbBusyText to msg (cut to KV_MSG_LEN) when the last call
// on the connection failed for a lock held past kDbBusyWaitMs; else nothing.
void DbAddBusyLine(char* msg);

// Opens `path` and checks it: one T_WerBaza row holding exactly kDbVersion and
// one T_Zmienne row. Then it creates the lookup indexes the file lacks
// (kDbIndexSql), before any load. A file that cannot be written now (read
// only, its write lock held by another program past kDbBusyWaitMs, a full
// disk) still opens, only without them; any other failure there is
// "Error of creating the indexes of the database\r\n%s". A file whose lock
// another program holds past the wait fails with "Error of opening the
// database\r\n%s" and kDbBusyText, not as wrong content. Returns 1 on
// success; otherwise 0, the message in msg and no connection left open.
// SQLite creates a missing file empty, which then fails the version check.
int DbOpen(const char* path, char* msg);

// Closes the connection (if any) and forgets it.
void DbClose();

// Rows changed by the connection's last insert, update or delete.
int64_t DbChanges();

// Runs one or more statements without a result. 1 on success; 0 and
// "Error of SQL command\r\n%s" otherwise.
int DbExec(const char* sql, char* msg);

// Result kinds of DbQueryValue.
enum DbValueKind {
    kDbInt32 = 0,
    kDbInt64 = 1,  // 2 is the same
    kDbText = 3,   // 4 and 5 are the same
    kDbBlob = 6,   // 7 is the same
};

// Outcomes of DbQueryValue.
enum DbValueOutcome {
    kDbQueryError = 0,  // prepare or step failed
    kDbQueryNoRow = 1,  // no row; destination zero-filled
    kDbQueryNull = 2,   // NULL text or blob; destination zero-filled
    kDbQueryValue = 3,  // value stored
};

// Runs `sql` and stores column 0 of its first row in dest (len bytes) as the
// kind says. A text is cut to len-1 characters and always terminated; a blob
// is copied up to len bytes. Returns an outcome above; msg gets the text of
// outcomes 0 and 1.
int DbQueryValue(const char* sql, int kind, void* dest, int len, char* msg);

// "SELECT COUNT(column) FROM table [WHERE condition]"; column null means "*".
// Returns the count, or 0 on any failure (an error and an empty table look alike).
int64_t DbCountRows(const char* table, const char* column, const char* condition);

// Named write transactions: "BEGIN IMMEDIATE TRANSACTION name" (the write
// lock taken at once, waiting for it as any statement does), then
// "COMMIT/ROLLBACK TRANSACTION name". 1 on success.
int DbBegin(const char* name, char* msg);
int DbCommit(const char* name, char* msg);
int DbRollback(const char* name, char* msg);

// A read transaction ("BEGIN TRANSACTION name", deferred) for a run of
// reads that must see one state of the database (and take the file lock
// once): opened unless the connection is
// already inside a transaction, whose snapshot the reads then share; the
// one it opened is committed when the guard goes (it only read, so ending it
// loses nothing). failed() is true when it had to open one and could not
// (the message is in msg, which may be null).
class DbReadTransaction {
public:
    DbReadTransaction(const char* name, char* msg);
    ~DbReadTransaction();
    DbReadTransaction(const DbReadTransaction&) = delete;
    DbReadTransaction& operator=(const DbReadTransaction&) = delete;
    bool failed() const { return failed_; }

private:
    const char* name_;
    bool own_ = false;
    bool failed_ = false;
};

// Transaction names of the whole-order operations.
extern const char kTrSaveOrder[];       // "ZachowanieZamowieniaSq"
extern const char kTrOverwriteOrder[];  // "NadpisanieZamowieniaSq"
extern const char kTrDeleteOrder[];     // "UsuniecieZamowieniaSq"

// "UPDATE T_Zmienne SET idZam = :1_idZam;" with `number`. 1 on success.
int DbSaveLastOrderNumber(int32_t number, char* msg);

// The order number as SQL_ZLOZ_NR_ZAM composes it: "%d-%s-%4d" of the
// number, the abbreviation of the seller record `seller` (len bytes) and
// the year, upper-cased in the code page. False when the record is too short.
bool DbComposedNumber(int32_t number, const void* seller, int len, int32_t year, char text[64]);

// Registers SQL_MONT_ZAM, SQL_DEMONT_ZAM and SQL_ZLOZ_NR_ZAM on the connection.
int DbRegisterFunctions(char* msg);

#endif  // KV_DB_CONNECTION_H
