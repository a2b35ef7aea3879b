// kelvaro-backup: see backup_tool.h.
#include "tools/backup/backup_tool.h"

#include <sqlite3.h>
#include <string.h>
#include <sys/stat.h>

#include <string>

#include "db/backup.h"
#include "db/connection.h"
#include "db/server.h"
#include "util/msgbuf.h"

namespace {

const char kUsage[] =
    "usage: kelvaro-backup DATABASE [FOLDER]\n"
    "       kelvaro-backup --restore BACKUP DATABASE\n"
    "       kelvaro-backup --server CONNINFO FILE\n"
    "       kelvaro-backup --server CONNINFO --restore FILE [--replace]\n"
    "The first form writes a checked copy of DATABASE, named with today's date and\n"
    "the time, into FOLDER (default: the folder \"backups\" beside DATABASE) and\n"
    "prints its path. The second replaces the content of DATABASE by the checked\n"
    "BACKUP, after keeping a copy of the current content in \"backups\" beside it.\n"
    "With --server, the database is the one CONNINFO names on a server (libpq's\n"
    "words): the third form writes a checked backup FILE from one snapshot of\n"
    "it; the fourth loads a backup FILE, or a desk's kelvaroDemo.db, into it,\n"
    "which must be empty unless --replace is given (all in one transaction).\n";

// The program's messages break lines with "\r\n"; a console wants "\n".
void PrintMessage(FILE* f, const char* text) {
    std::string s = "kelvaro-backup: ";
    for (const char* p = text; *p; p++) {
        if (*p != '\r') s += *p;
    }
    fprintf(f, "%s\n", s.c_str());
}

bool IsFile(const char* path) {
    struct stat st;
    return stat(path, &st) == 0 && (st.st_mode & S_IFMT) == S_IFREG;
}

struct Conn {
    sqlite3* db = nullptr;
    ~Conn() { sqlite3_close_v2(db); }
};

int MakeBackup(const char* dbPath, const char* folder, FILE* out, FILE* err) {
    char msg[KV_MSG_LEN];
    if (!IsFile(dbPath)) {
        snprintf(msg, sizeof msg, "The database %s does not exist", dbPath);
        PrintMessage(err, msg);
        return 1;
    }
    // Read-write without creating: a hot journal left by a crash must be
    // rolled back before the pages are copied.
    Conn c;
    if (sqlite3_open_v2(dbPath, &c.db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        snprintf(msg, sizeof msg, "The database %s cannot be opened\r\n%s", dbPath,
                 c.db ? sqlite3_errmsg(c.db) : "out of memory");
        PrintMessage(err, msg);
        return 1;
    }
    char made[kBackupPathLen];
    if (!BackupNow(c.db, dbPath, folder, made, msg)) {
        PrintMessage(err, msg);
        return 1;
    }
    fprintf(out, "%s\n", made);
    return 0;
}

int Restore(const char* backup, const char* dbPath, FILE* out, FILE* err) {
    char msg[KV_MSG_LEN];
    // A missing database is made by the restore; if the restore fails, the
    // empty file it opened goes again.
    const bool created = !IsFile(dbPath);
    int result = 1;
    BackupInfo info{};
    char safety[kBackupPathLen] = "";
    {
        Conn c;
        if (sqlite3_open_v2(dbPath, &c.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
            SQLITE_OK) {
            snprintf(msg, sizeof msg, "The database %s cannot be opened\r\n%s", dbPath,
                     c.db ? sqlite3_errmsg(c.db) : "out of memory");
        } else if (BackupRestore(c.db, dbPath, backup, &info, safety, msg)) {
            result = 0;
        }
    }
    if (result != 0) {
        if (created) remove(dbPath);
        PrintMessage(err, msg);
        return result;
    }
    fprintf(out, "kelvaro-backup: %s restored from %s (%lld orders)\n", dbPath, backup,
            (long long)info.orders);
    if (safety[0]) fprintf(out, "kelvaro-backup: the previous content is kept in %s\n", safety);
    return 0;
}

int ServerBackup(const char* conninfo, const char* file, FILE* out, FILE* err) {
    char msg[KV_MSG_LEN];
    BackupInfo info{};
    if (!DbOpenFileOrServer(conninfo, true, msg) || !BackupCopy(nullptr, file, true, msg) ||
        !BackupCheck(file, &info, msg)) {
        DbClose();
        PrintMessage(err, msg);
        return 1;
    }
    DbClose();
    fprintf(out, "kelvaro-backup: %s written from the server (%lld orders)\n", file, (long long)info.orders);
    return 0;
}

int ServerRestore(const char* conninfo, const char* file, bool replace, FILE* out, FILE* err) {
    char msg[KV_MSG_LEN];
    BackupInfo info{};
    if (!BackupRestoreToServer(conninfo, file, replace, &info, msg)) {
        PrintMessage(err, msg);
        return 1;
    }
    fprintf(out, "kelvaro-backup: %s loaded into the server (%lld orders)\n", file, (long long)info.orders);
    return 0;
}

}  // namespace

int BackupToolMain(int argc, char** argv, FILE* out, FILE* err) {
    if (argc >= 4 && strcmp(argv[1], "--server") == 0) {
        if (argc == 4 && argv[3][0] != '-') return ServerBackup(argv[2], argv[3], out, err);
        if ((argc == 5 || (argc == 6 && strcmp(argv[5], "--replace") == 0)) && strcmp(argv[3], "--restore") == 0)
            return ServerRestore(argv[2], argv[4], argc == 6, out, err);
    }
    if (argc == 4 && strcmp(argv[1], "--restore") == 0) return Restore(argv[2], argv[3], out, err);
    if ((argc == 2 || argc == 3) && argv[1][0] != '-' && (argc == 2 || argv[2][0] != '-'))
        return MakeBackup(argv[1], argc == 3 ? argv[2] : nullptr, out, err);
    fputs(kUsage, err);
    return 2;
}
