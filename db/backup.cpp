// Backups of the order database and their restore.
//
// Files are named by the local date (and time) of kvplat::LocalTime, which
// tests pin. The folder is read and changed through std::filesystem with
// error codes only (nothing here throws), on u8path so that a UTF-8 path
// names the same file here and in SQLite.
#include "db/backup.h"

#include <sqlite3.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "db/connection.h"
#include "db/file_stmt.h"
#include "db/server_backup.h"
#include "db/tables.h"
#include "util/kvutil.h"
#include "util/msgbuf.h"
#include "util/platform.h"

namespace fs = std::filesystem;

namespace {

const char kPartSuffix[] = ".part";
const char kFolderName[] = "backups";
// How long a copy waits for another connection's write to end.
const int kBusyRetries = 100;
const int kBusySleepMs = 50;

bool IsSeparator(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

char Separator() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

void Put(const std::string& s, char* out, int size) {
    if (out && size > 0) snprintf(out, (size_t)size, "%s", s.c_str());
}

// The folder part of a path ("" for a bare name) and its last component.
std::string DirOf(const std::string& path) {
    size_t i = path.size();
    while (i > 0 && !IsSeparator(path[i - 1])) i--;
    return i > 0 ? path.substr(0, i - 1) : std::string();
}

std::string BaseOf(const std::string& path) {
    size_t i = path.size();
    while (i > 0 && !IsSeparator(path[i - 1])) i--;
    return path.substr(i);
}

std::string Join(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (IsSeparator(dir.back())) return dir + name;
    return dir + Separator() + name;
}

// "kelvaroDemo" of ".\kelvaroDemo.db".
std::string StemOf(const char* dbPath) {
    std::string base = BaseOf(dbPath ? dbPath : "");
    size_t dot = base.rfind('.');
    if (dot != std::string::npos && dot > 0) base.resize(dot);
    return base.empty() ? std::string("database") : base;
}

std::string Folder(const char* dbPath) { return Join(DirOf(dbPath ? dbPath : ""), kFolderName); }

fs::path U8(const std::string& s) { return fs::u8path(s); }

std::string DateText(const KvTime& t) {
    char buf[32];
    snprintf(buf, sizeof buf, "%04u-%02u-%02u", (unsigned)t.wYear, (unsigned)t.wMonth, (unsigned)t.wDay);
    return buf;
}

std::string TimeText(const KvTime& t) {
    char buf[32];
    snprintf(buf, sizeof buf, "%02u%02u%02u", (unsigned)t.wHour, (unsigned)t.wMinute, (unsigned)t.wSecond);
    return buf;
}

KvTime Now() {
    KvTime t{};
    kvplat::LocalTime(&t);
    return t;
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(U8(path), ec);
}

void RemoveQuietly(const std::string& path) {
    std::error_code ec;
    fs::remove(U8(path), ec);
}

// Makes the folder; false with the reason when it cannot be used.
bool EnsureFolder(const std::string& folder, char* msg) {
    std::error_code ec;
    fs::path p = U8(folder);
    fs::create_directory(p, ec);
    std::error_code ec2;
    if (fs::is_directory(p, ec2)) return true;
    KvMsg(msg, "The folder %s cannot be made\r\n%s", folder.c_str(),
          ec ? ec.message().c_str() : "A file of that name is in the way");
    return false;
}

// Closes a connection on every path.
struct Conn {
    sqlite3* db = nullptr;
    ~Conn() { Close(); }
    void Close() {
        sqlite3_close_v2(db);
        db = nullptr;
    }
    bool Open(const std::string& path, int flags) {
        return sqlite3_open_v2(path.c_str(), &db, flags, nullptr) == SQLITE_OK;
    }
    const char* Error() const { return db ? sqlite3_errmsg(db) : "out of memory"; }
};

// Runs the whole backup of src's main database into dst's, waiting while
// another connection writes. SQLITE_DONE on success.
int CopyPages(sqlite3* dst, sqlite3* src) {
    sqlite3_backup* b = sqlite3_backup_init(dst, "main", src, "main");
    if (!b) return sqlite3_errcode(dst);
    int rc = SQLITE_OK;
    for (int tries = 0;; tries++) {
        rc = sqlite3_backup_step(b, -1);
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || tries >= kBusyRetries) break;
        sqlite3_sleep(kBusySleepMs);
    }
    // Finishing an unfinished backup rolls the destination back.
    int frc = sqlite3_backup_finish(b);
    return rc == SQLITE_DONE ? (frc == SQLITE_OK ? SQLITE_DONE : frc) : rc;
}

// The first column of the first row as text ("" for none); false when the
// statement fails, with the connection's message in err.
bool FirstText(sqlite3* db, const char* sql, std::string* text, std::string* err) {
    FileStmt st;
    if (!st.Prepare(db, sql)) {
        *err = sqlite3_errmsg(db);
        return false;
    }
    int rc = sqlite3_step(st.get());
    if (rc == SQLITE_ROW) {
        const unsigned char* t = sqlite3_column_text(st.get(), 0);
        *text = t ? (const char*)t : "";
        return true;
    }
    if (rc == SQLITE_DONE) {
        text->clear();
        return true;
    }
    *err = sqlite3_errmsg(db);
    return false;
}

bool Count(sqlite3* db, const std::string& sql, int64_t* n) {
    FileStmt st;
    if (!st.Prepare(db, sql.c_str()) || sqlite3_step(st.get()) != SQLITE_ROW) return false;
    *n = sqlite3_column_int64(st.get(), 0);
    return true;
}

// The columns of one table as the file has them; empty when it has no such table.
std::vector<std::string> ColumnsOf(sqlite3* db, const std::string& table) {
    std::vector<std::string> cols;
    FileStmt st;
    std::string sql = "SELECT name FROM pragma_table_info('" + table + "')";
    if (!st.Prepare(db, sql.c_str())) return cols;
    while (sqlite3_step(st.get()) == SQLITE_ROW) {
        const unsigned char* t = sqlite3_column_text(st.get(), 0);
        cols.push_back(t ? (const char*)t : "");
    }
    return cols;
}

// Every table the program reads, with every column it reads.
bool HasProgramTables(sqlite3* db, const char* path, char* msg) {
    static const TableDef* const kTables[] = {
        &kTabZmienne,   &kTabUstUzytk,  &kTabZam,       &kTabOkno,     &kTabOperRysDb,
        &kTabDodatZam,  &kTabZstProfil, &kTabZstOkucie, &kTabZstKolor, &kTabZstListwa,
        &kTabZstSzpros, &kTabZstWypeln, &kTabZstDodat,
    };
    for (const TableDef* t : kTables) {
        const std::string table = std::string("T_") + t->name;
        std::vector<std::string> have = ColumnsOf(db, table);
        if (have.empty()) {
            KvMsg(msg, "The file %s has no table %s: it is not a database of this program", path,
                  table.c_str());
            return false;
        }
        for (int c = 0; c < t->colCount; c++) {
            if (std::find(have.begin(), have.end(), t->cols[c].name) == have.end()) {
                KvMsg(msg,
                      "The table %s of the file %s has no column %s: it is not a database of "
                      "this program",
                      table.c_str(), path, t->cols[c].name);
                return false;
            }
        }
    }
    return true;
}

// Writes a copy of db's database at `dest` by way of "<dest>.part".
int CopyTo(sqlite3* db, const std::string& dest, bool check, char* msg) {
    const bool server = !db && DbBackendInUse() == kDbServer;
    if (!db && !server) {
        KvMsg(msg, "The database is not open");
        return 0;
    }
    // A copy renamed over the database file would replace it under its own
    // open connection.
    const char* source = db ? sqlite3_db_filename(db, "main") : nullptr;
    if (source && *source && BackupIsTheDatabase(dest.c_str(), source)) {
        KvMsg(msg, "The backup %s cannot be written over the database itself", dest.c_str());
        return 0;
    }
    const std::string part = dest + kPartSuffix;
    RemoveQuietly(part);
    RemoveQuietly(part + "-journal");
    {
        Conn out;
        if (!out.Open(part, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) {
            KvMsg(msg, "The backup %s cannot be written\r\n%s", dest.c_str(), out.Error());
            out.Close();
            RemoveQuietly(part);
            return 0;
        }
        // The unfinished copy is thrown away if anything goes wrong, so it needs no
        // journal; its pages are still synced when the copy commits.
        sqlite3_exec(out.db, "PRAGMA journal_mode=OFF;", nullptr, nullptr, nullptr);
        char why[KV_MSG_LEN] = "";
        const int rc = server ? (CopyServerRows(out.db, why) ? SQLITE_DONE : SQLITE_ERROR) : CopyPages(out.db, db);
        if (rc != SQLITE_DONE) {
            KvMsg(msg, "The backup %s cannot be written\r\n%s", dest.c_str(), server ? why : sqlite3_errstr(rc));
            out.Close();
            RemoveQuietly(part);
            return 0;
        }
    }
    if (check && !BackupCheck(part.c_str(), nullptr, msg)) {
        RemoveQuietly(part);
        return 0;
    }
    std::error_code ec;
    fs::rename(U8(part), U8(dest), ec);
    if (ec) {
        KvMsg(msg, "The backup %s cannot be written\r\n%s", dest.c_str(), ec.message().c_str());
        RemoveQuietly(part);
        return 0;
    }
    return 1;
}

// True for "<stem>-YYYY-MM-DD.db" with digits in place of the letters.
bool IsDailyName(const std::string& name, const std::string& stem) {
    const std::string date = "YYYY-MM-DD";
    if (name.size() != stem.size() + 1 + date.size() + 3) return false;
    if (name.compare(0, stem.size(), stem) != 0 || name[stem.size()] != '-') return false;
    if (name.compare(name.size() - 3, 3, ".db") != 0) return false;
    for (size_t i = 0; i < date.size(); i++) {
        char c = name[stem.size() + 1 + i];
        if (date[i] == '-' ? c != '-' : (c < '0' || c > '9')) return false;
    }
    return true;
}

// Removes the ".part" files (and their journals) of this database's copies
// that an interrupted run left in the folder.
void RemoveUnfinishedCopies(const std::string& folder, const std::string& stem) {
    std::error_code ec;
    fs::directory_iterator it(U8(folder), ec), end;
    std::vector<fs::path> stale;
    for (; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().u8string();
        if (name.compare(0, stem.size() + 1, stem + "-") != 0) continue;
        const size_t at = name.find(std::string(".db") + kPartSuffix);
        if (at == std::string::npos) continue;
        const std::string tail = name.substr(at + 3 + strlen(kPartSuffix));
        if (tail.empty() || tail == "-journal") stale.push_back(it->path());
    }
    for (const fs::path& p : stale) fs::remove(p, ec);
}

}  // namespace

bool BackupIsTheDatabase(const char* path, const char* dbPath) {
    std::error_code ec;
    return path && dbPath && fs::equivalent(U8(path), U8(dbPath), ec);
}

void BackupFolderOf(const char* dbPath, char* folder, int size) { Put(Folder(dbPath), folder, size); }

void BackupDailyName(const char* dbPath, char* name, int size) {
    Put(StemOf(dbPath) + "-" + DateText(Now()) + ".db", name, size);
}

void BackupNowName(const char* dbPath, char* name, int size) {
    const KvTime t = Now();
    Put(StemOf(dbPath) + "-" + DateText(t) + "-" + TimeText(t) + ".db", name, size);
}

int BackupCheck(const char* path, BackupInfo* info, char* msg) {
    if (!path || !*path) {
        KvMsg(msg, "No backup file was given");
        return 0;
    }
    std::error_code ec;
    if (!fs::is_regular_file(U8(path), ec)) {
        KvMsg(msg, "The file %s does not exist", path);
        return 0;
    }
    Conn c;
    if (!c.Open(path, SQLITE_OPEN_READONLY)) {
        KvMsg(msg, "The file %s cannot be opened\r\n%s", path, c.Error());
        return 0;
    }
    std::string text, err;
    if (!FirstText(c.db, "SELECT COUNT(*) FROM sqlite_master", &text, &err)) {
        if (sqlite3_errcode(c.db) == SQLITE_NOTADB)
            KvMsg(msg, "The file %s is not a database of this program\r\n%s", path, err.c_str());
        else KvMsg(msg, "The file %s is damaged\r\n%s", path, err.c_str());
        return 0;
    }
    if (!FirstText(c.db, "PRAGMA integrity_check", &text, &err)) {
        KvMsg(msg, "The file %s is damaged\r\n%s", path, err.c_str());
        return 0;
    }
    if (text != "ok") {
        KvMsg(msg, "The file %s is damaged\r\n%s", path, text.c_str());
        return 0;
    }
    int64_t n = 0;
    std::string version;
    if (!Count(c.db, "SELECT COUNT(*) FROM T_WerBaza", &n) || n != 1 ||
        !FirstText(c.db, "SELECT werBaza FROM T_WerBaza", &version, &err)) {
        KvMsg(msg, "Wrong content of the database (T_WerBaza)");
        return 0;
    }
    if (version != kDbVersion) {
        KvMsg(msg,
              "Incorrect version of the database !\r\nProgram works with version %s,\r\n"
              "and the database has version %s",
              kDbVersion, version.c_str());
        return 0;
    }
    if (!HasProgramTables(c.db, path, msg)) return 0;
    if (!Count(c.db, "SELECT COUNT(*) FROM T_Zmienne", &n) || n != 1) {
        KvMsg(msg, "Wrong content of database variables (T_Zmienne)");
        return 0;
    }
    if (!Count(c.db, "SELECT COUNT(*) FROM T_UstUzytk", &n) || n != 1) {
        KvMsg(msg, "Wrong content of table T_UstUzytk");
        return 0;
    }
    if (!Count(c.db, "SELECT COUNT(*) FROM T_Zam", &n)) {
        KvMsg(msg, "The file %s is damaged\r\n%s", path, sqlite3_errmsg(c.db));
        return 0;
    }
    if (info) info->orders = n;
    return 1;
}

int BackupCopy(sqlite3* db, const char* dest, bool check, char* msg) {
    if (!dest || !*dest) {
        KvMsg(msg, "No backup file was given");
        return 0;
    }
    return CopyTo(db, dest, check, msg);
}

int BackupPrune(const char* folder, const char* stem, int keep, const char* spare, char* msg) {
    std::error_code ec;
    fs::directory_iterator it(U8(folder ? folder : ""), ec), end;
    if (ec) {
        KvMsg(msg, "The folder %s cannot be read\r\n%s", folder ? folder : "", ec.message().c_str());
        return -1;
    }
    std::vector<std::string> daily;
    for (; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().u8string();
        if (IsDailyName(name, stem ? stem : "")) daily.push_back(name);
    }
    // The date in the name orders them: newest first.
    std::sort(daily.begin(), daily.end(), std::greater<std::string>());
    const std::string spareName = spare ? BaseOf(spare) : std::string();
    int deleted = 0;
    for (size_t i = (size_t)std::max(keep, 0); i < daily.size(); i++) {
        if (daily[i] == spareName) continue;
        std::error_code rec;
        if (fs::remove(U8(folder) / U8(daily[i]), rec)) deleted++;
    }
    return deleted;
}

int BackupDaily(sqlite3* db, const char* dbPath, char* made, char* msg) {
    if (made) made[0] = 0;
    const std::string folder = Folder(dbPath);
    const std::string stem = StemOf(dbPath);
    char name[kBackupPathLen];
    BackupDailyName(dbPath, name, sizeof name);
    const std::string dest = Join(folder, name);
    std::error_code ec;
    if (fs::is_regular_file(U8(dest), ec)) {
        Put(dest, made, kBackupPathLen);
        return kBackupDailyHadOne;
    }
    if (!EnsureFolder(folder, msg)) return kBackupDailyFailed;
    RemoveUnfinishedCopies(folder, stem);
    if (!CopyTo(db, dest, true, msg)) return kBackupDailyFailed;
    Put(dest, made, kBackupPathLen);
    // Pruning only after a good copy: a failed day never costs an old one.
    BackupPrune(folder.c_str(), stem.c_str(), kBackupsKept, dest.c_str(), nullptr);
    return kBackupDailyMade;
}

int BackupNow(sqlite3* db, const char* dbPath, const char* folder, char* made, char* msg) {
    if (made) made[0] = 0;
    const std::string dir = folder && *folder ? std::string(folder) : Folder(dbPath);
    if (!EnsureFolder(dir, msg)) return 0;
    char name[kBackupPathLen];
    BackupNowName(dbPath, name, sizeof name);
    const std::string dest = Join(dir, name);
    if (!CopyTo(db, dest, true, msg)) return 0;
    Put(dest, made, kBackupPathLen);
    return 1;
}

int BackupRestore(sqlite3* db, const char* dbPath, const char* backup, BackupInfo* info, char* safety,
                  char* msg) {
    if (safety) safety[0] = 0;
    if (!db) {
        KvMsg(msg, "The database is not open");
        return 0;
    }
    BackupInfo got{};
    if (!BackupCheck(backup, &got, msg)) return 0;
    if (info) *info = got;
    if (BackupIsTheDatabase(backup, dbPath)) {
        KvMsg(msg, "The file %s is the database itself", backup);
        return 0;
    }

    // The current content first, where the seller finds it again.
    int64_t pages = 0;
    if (!Count(db, "PRAGMA page_count", &pages)) {
        KvMsg(msg,
              "The database cannot be read, nothing has been restored\r\n%s\r\n"
              "Move the damaged file aside and restore again: the restore then makes a new one.",
              sqlite3_errmsg(db));
        return 0;
    }
    if (pages > 0) {
        const std::string folder = Folder(dbPath);
        if (!EnsureFolder(folder, msg)) return 0;
        const KvTime t = Now();
        const std::string base = StemOf(dbPath) + "-before-restore-" + DateText(t) + "-" + TimeText(t);
        std::string dest = Join(folder, base + ".db");
        for (int n = 2; Exists(dest); n++) dest = Join(folder, base + "-" + std::to_string(n) + ".db");
        // Not checked: a damaged database is kept as it is, since it is the
        // one most likely to be replaced.
        char why[KV_MSG_LEN];
        if (!CopyTo(db, dest, false, why)) {
            KvMsg(msg, "The current database could not be kept, nothing has been restored\r\n%s", why);
            return 0;
        }
        Put(dest, safety, kBackupPathLen);
    }

    Conn src;
    if (!src.Open(backup, SQLITE_OPEN_READONLY)) {
        KvMsg(msg, "The file %s cannot be opened\r\n%s", backup, src.Error());
        return 0;
    }
    int rc = CopyPages(db, src.db);
    if (rc != SQLITE_DONE) {
        KvMsg(msg, "The database has not been restored\r\n%s", sqlite3_errstr(rc));
        return 0;
    }
    return 1;
}
