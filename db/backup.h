// backup.h - copies of the order database: the daily copy made at start-up,
// a copy made on request, and bringing a copy back.
//
// Every copy is taken with SQLite's online backup interface from an open
// connection, so it is consistent even while the file is in use, and every
// restore writes through that interface into the open connection inside one
// write transaction: a process killed at any moment leaves the database as
// it was or as the backup was, never a mixture, and no file is ever copied
// over a database that is open.
//
// A copy is written to "<destination>.part" and renamed to its name only
// after it passed its check, so a file that bears a backup's name always
// passed it. Paths are UTF-8 (SQLite's own convention on every system).
// Names carry the local date (and time) of the platform clock.
//
// Operations return 1 on success and 0 on failure with the message in msg
// (KV_MSG_LEN bytes, util/msgbuf.h).
#ifndef KV_DB_BACKUP_H
#define KV_DB_BACKUP_H

#include <stdint.h>

struct sqlite3;

enum {
    kBackupPathLen = 1024,  // room for any path this unit writes back
    kBackupsKept = 14,      // daily copies kept
};

// The folder of backups beside a database: "backups" in the database's folder.
void BackupFolderOf(const char* dbPath, char* folder, int size);

// "<stem>-YYYY-MM-DD.db", today's daily copy of the database at dbPath
// (stem: the database's file name without ".db").
void BackupDailyName(const char* dbPath, char* name, int size);
// "<stem>-YYYY-MM-DD-HHMMSS.db", the name of a copy made now.
void BackupNowName(const char* dbPath, char* name, int size);

// True when both paths name one existing file.
bool BackupIsTheDatabase(const char* path, const char* dbPath);

// What a checked backup holds.
struct BackupInfo {
    int64_t orders;  // rows of T_Zam
};

// Checks a database file without changing it: it opens as SQLite, passes
// "PRAGMA integrity_check", holds one T_WerBaza row of the program's version,
// every table and column the program reads, and one row each of T_Zmienne
// and T_UstUzytk. 1 and info filled (info may be null) when it does.
int BackupCheck(const char* path, BackupInfo* info, char* msg);

// Copies the database open on `db` into `dest` (replacing a file there) and,
// when `check` is set, checks the copy first. On failure nothing is left at
// dest that was not there before. Refuses the database's own file as dest.
int BackupCopy(sqlite3* db, const char* dest, bool check, char* msg);

// Outcomes of BackupDaily.
enum BackupDailyResult {
    kBackupDailyFailed = 0,
    kBackupDailyMade = 1,
    kBackupDailyHadOne = 2,  // today's copy was made earlier
};

// Once per calendar day: unless today's copy exists, writes it into the
// folder of backups (made if missing), checks it and keeps the newest
// kBackupsKept daily copies of this database; stale ".part" files of an
// interrupted copy are removed. `made` (kBackupPathLen bytes, may be null)
// gets the path of today's copy. The database is only read.
int BackupDaily(sqlite3* db, const char* dbPath, char* made, char* msg);

// Deletes all but the newest `keep` files of `folder` named
// "<stem>-YYYY-MM-DD.db" (digits where the letters are), never `spare`
// (may be null). Other files are left alone. Returns the number deleted, or
// -1 when the folder cannot be read.
int BackupPrune(const char* folder, const char* stem, int keep, const char* spare, char* msg);

// A checked copy made now, named BackupNowName, into `folder` (null: the
// folder of backups); the folder is made if missing. `made` (kBackupPathLen
// bytes) gets its path.
int BackupNow(sqlite3* db, const char* dbPath, const char* folder, char* made, char* msg);

// Brings the backup at `backup` into the database open on `db` (whose file is
// dbPath): checks the backup (BackupCheck; `info` gets what it holds), keeps
// a copy of the current database as "backups/<stem>-before-restore-
// YYYY-MM-DD-HHMMSS.db" (a "-2", "-3"... before ".db" if that name is
// taken) whose path goes to `safety` (kBackupPathLen bytes), then replaces
// the content through the backup interface. Any failure before the
// replacement leaves the database untouched; a failed replacement is
// rolled back. A database with no pages yet gets no safety copy (safety "").
int BackupRestore(sqlite3* db, const char* dbPath, const char* backup, BackupInfo* info, char* safety,
                  char* msg);

// ---- A register on a server ----------------------------------------------------
// BackupCopy and BackupNow with no `db` while the program's connection is
// to a server write the same checked file from one snapshot of the server's
// database.

// Loads the checked backup file (or a desk's database) `file` into the
// server database of `conninfo`: one that has no tables gets them; one that
// holds rows is replaced only with `replace`. All in one transaction, the
// keys kept; a failure leaves the server's database as it was. Uses (and
// closes) the program's connection. 1, or 0 with the message.
int BackupRestoreToServer(const char* conninfo, const char* file, bool replace, BackupInfo* info, char* msg);

#endif  // KV_DB_BACKUP_H
