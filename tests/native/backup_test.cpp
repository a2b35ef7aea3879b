// Backups of the order database: the daily copy and its pruning, the checks
// that keep a bad file from replacing the database, the restore with its
// safety copy, kelvaro-backup's command line, and a tool killed at random
// moments while it copies or restores.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#endif

#include "db/backup.h"
#include "db/connection.h"
#include "db/newdb.h"
#include "db/tables.h"
#include "tests/native/order_patterns.h"
#include "tests/native/testdb.h"
#include "tools/backup/backup_tool.h"
#include "util/kvutil.h"
#include "util/msgbuf.h"
#include "util/platform.h"

namespace fs = std::filesystem;

namespace {

// A database at `path` holding `orders` orders of two windows each, bought by
// "<buyer> 1", "<buyer> 2"...; its last order number is the last one saved.
void MakeDatabase(const std::string& path, int orders, const char* buyer) {
    char msg[KV_MSG_LEN];
    ASSERT_EQ(1, DbCreateFile(path.c_str(), 2026, msg)) << msg;
    ASSERT_EQ(1, DbOpen(path.c_str(), msg)) << msg;
    DbExec("PRAGMA synchronous=OFF;", msg);
    strZmienne zm{0, 2026};
    for (int i = 0; i < orders; i++) {
        strZamRob z;
        char name[64];
        snprintf(name, sizeof name, "%s %d", buyer, i + 1);
        InitTestOrder(&z, zm.idZam + 1, name);
        for (int w = 0; w < 2; w++) {
            TestWindow o;
            WindowWithPanes(o, 2, w == 1);
            AddTestWindow(&z, o, "P", 100);
        }
        AddTestAccessory(&z, 0, "Sill", 1);
        const int ok = SaveNewOrder(&z, &zm, msg);
        FreeOrder(&z);
        ASSERT_EQ(1, ok) << msg;
    }
    DbClose();
}

std::string ReadBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), (std::streamsize)bytes.size());
}

// What a database holds, in one text: its integrity verdict, the variables
// row and every order with its window, operation and accessory counts. Two
// files with the same text hold the same orders; "" when it cannot be read.
std::string Contents(const std::string& path) {
    sqlite3* db = nullptr;
    std::string out;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        const char* sql =
            "SELECT (SELECT integrity_check FROM pragma_integrity_check) || '|' ||"
            " (SELECT idZam || '/' || rok FROM T_Zmienne) || '|' ||"
            " IFNULL((SELECT group_concat(k, ';') FROM (SELECT z.kluczZam || ':' || z.nazwaNabyw || ':' ||"
            "  (SELECT COUNT(*) FROM T_Okno o WHERE o.kluczZam = z.kluczZam) || ':' ||"
            "  (SELECT COUNT(*) FROM T_OperRysDb r JOIN T_Okno o ON r.kluczOkno = o.kluczOkno"
            "   WHERE o.kluczZam = z.kluczZam) || ':' ||"
            "  (SELECT COUNT(*) FROM T_DodatZam d WHERE d.kluczZam = z.kluczZam) AS k"
            "  FROM T_Zam z ORDER BY z.kluczZam)), '')";
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW &&
            sqlite3_column_text(st, 0))
            out = (const char*)sqlite3_column_text(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close_v2(db);
    return out;
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(fs::u8path(a), fs::u8path(b), ec);
}

// The names of the files in a folder, sorted.
std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.insert(it->path().filename().string());
    return names;
}

#ifndef _WIN32
void PinClock(int y, int mo, int d, int h, int mi, int s) {
    KvTime t{};
    t.wYear = (uint16_t)y;
    t.wMonth = (uint16_t)mo;
    t.wDay = (uint16_t)d;
    t.wHour = (uint16_t)h;
    t.wMinute = (uint16_t)mi;
    t.wSecond = (uint16_t)s;
    kvplat::SetTestTime(&t);
}
#endif

// Today as the names show it: the pinned day natively, the real one on Windows.
std::string Today() {
    KvTime t{};
    kvplat::LocalTime(&t);
    char buf[32];
    snprintf(buf, sizeof buf, "%04u-%02u-%02u", (unsigned)t.wYear, (unsigned)t.wMonth, (unsigned)t.wDay);
    return buf;
}

class BackupTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
#ifndef _WIN32
        PinClock(2026, 3, 1, 13, 5, 9);
#endif
        db_ = Path("shop.db");
        folder_ = Path("backups");
        MakeDatabase(db_, 3, "Current buyer");
    }
    void TearDown() override {
        DbClose();
#ifndef _WIN32
        kvplat::SetTestTime(nullptr);
#endif
        TempDirTest::TearDown();
    }
    // Opens the database as the program does.
    void OpenProgramConnection() { ASSERT_EQ(1, DbOpen(db_.c_str(), msg_)) << msg_; }
    std::string db_, folder_;
    char msg_[KV_MSG_LEN] = {};
};

// ---- The daily copy ------------------------------------------------------------

TEST_F(BackupTest, DailyCopyOncePerDayKeepsTheNewest14AndLeavesOtherFilesAlone) {
    fs::create_directory(folder_);
    // Fifteen older daily copies and files the pruning must not touch.
    std::vector<std::string> old;
    for (int d = 1; d <= 15; d++) {
        char name[64];
        snprintf(name, sizeof name, "shop-2001-01-%02d.db", d);
        old.push_back(name);
    }
    const std::vector<std::string> others = {"shop-before-restore-2001-01-01-120000.db",
                                             "shop-2001-01-01-120000.db",
                                             "shop-2001-1-01.db",
                                             "shop-2001-01-0x.db",
                                             "other-2001-01-01.db",
                                             "shop-2001-01-01.db.bak",
                                             "notes.txt"};
    for (const std::string& n : old) WriteBytes(folder_ + "/" + n, "old copy");
    for (const std::string& n : others) WriteBytes(folder_ + "/" + n, "not a daily copy");
    // A copy interrupted on an earlier day.
    WriteBytes(folder_ + "/shop-2001-01-16.db.part", "half");
    WriteBytes(folder_ + "/shop-2001-01-16.db.part-journal", "half");

    OpenProgramConnection();
    const std::string before = ReadBytes(db_);
    const std::string today = "shop-" + Today() + ".db";
    char made[kBackupPathLen];

    ASSERT_EQ(kBackupDailyMade, BackupDaily(DbHandle(), db_.c_str(), made, msg_)) << msg_;
    EXPECT_TRUE(SameFile(folder_ + "/" + today, made)) << made;
    BackupInfo info{};
    ASSERT_EQ(1, BackupCheck(made, &info, msg_)) << msg_;
    EXPECT_EQ(3, info.orders);
    EXPECT_EQ(Contents(db_), Contents(made));
    std::set<std::string> expected(others.begin(), others.end());
    expected.insert(today);
    expected.insert(old.begin() + 2, old.end());  // 01-01 and 01-02 are the oldest two
    EXPECT_EQ(expected, FilesIn(folder_));
    EXPECT_EQ(before, ReadBytes(db_)) << "a backup wrote to the database";

    // A second start on the same day makes none and deletes nothing, though
    // the database changed since.
    const std::string copy = ReadBytes(made);
    ASSERT_EQ(1, DbExec("DELETE FROM T_DodatZam; DELETE FROM T_Zam WHERE kluczZam = 1;", msg_)) << msg_;
    ASSERT_EQ(kBackupDailyHadOne, BackupDaily(DbHandle(), db_.c_str(), made, msg_)) << msg_;
    EXPECT_EQ(expected, FilesIn(folder_));
    EXPECT_EQ(copy, ReadBytes(folder_ + "/" + today));

#ifndef _WIN32
    // The next day makes the next copy and drops the oldest one left.
    PinClock(2026, 3, 2, 8, 0, 0);
    ASSERT_EQ(kBackupDailyMade, BackupDaily(DbHandle(), db_.c_str(), made, msg_)) << msg_;
    expected.insert("shop-2026-03-02.db");
    expected.erase("shop-2001-01-03.db");
    EXPECT_EQ(expected, FilesIn(folder_));
    // Copies dated after today (a clock set back) still never cost today's.
    for (int d = 10; d <= 23; d++)
        WriteBytes(folder_ + "/shop-2030-01-" + std::to_string(d) + ".db", "later");
    PinClock(2026, 3, 3, 8, 0, 0);
    ASSERT_EQ(kBackupDailyMade, BackupDaily(DbHandle(), db_.c_str(), made, msg_)) << msg_;
    EXPECT_TRUE(fs::exists(folder_ + "/shop-2026-03-03.db"));
    EXPECT_FALSE(fs::exists(folder_ + "/shop-2026-03-02.db"));
#endif
}

TEST_F(BackupTest, FailedDailyCopyLeavesNoFileAndTheDatabaseAsItWas) {
    struct Case {
        const char* what;
        void (*prepare)(const std::string& folder, const std::string& db);
        const char* reason;  // a part of the message
    };
    const Case cases[] = {
        {"a file where the folder should be",
         [](const std::string& folder, const std::string&) { WriteBytes(folder, "in the way"); },
         "The folder "},
        {"a folder holding today's name",
         [](const std::string& folder, const std::string&) {
             fs::create_directories(folder + "/shop-" + Today() + ".db/inside");
         },
         "cannot be written"},
        {"a database the copy's check refuses",
         [](const std::string&, const std::string& db) {
             RawSql(db, "UPDATE T_WerBaza SET werBaza = '1-7';");
         },
         "Incorrect version of the database"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::error_code ec;
        fs::remove_all(folder_, ec);
        OpenProgramConnection();
        c.prepare(folder_, db_);
        const std::string before = ReadBytes(db_);
        const std::set<std::string> files = FilesIn(folder_);
        char made[kBackupPathLen] = "x";
        msg_[0] = 0;
        EXPECT_EQ(kBackupDailyFailed, BackupDaily(DbHandle(), db_.c_str(), made, msg_));
        EXPECT_NE(nullptr, strstr(msg_, c.reason)) << msg_;
        EXPECT_STREQ("", made);
        EXPECT_EQ(files, FilesIn(folder_)) << "a failed copy left a file behind";
        DbClose();
        EXPECT_EQ(before, ReadBytes(db_));
        RawSql(db_, "UPDATE T_WerBaza SET werBaza = '1-8';");
    }
}

// ---- Checks and restore ----------------------------------------------------------

TEST_F(BackupTest, RestoreRefusesABadFileAndLeavesTheDatabaseUntouched) {
    const std::string good = Path("good.db");
    MakeDatabase(good, 4, "Backup buyer");
    const std::string goodBytes = ReadBytes(good);
    struct Case {
        const char* what;
        void (*make)(const std::string& file, const std::string& goodBytes);
        const char* reason;
    };
    const Case cases[] = {
        {"a missing file", [](const std::string&, const std::string&) {}, "does not exist"},
        {"a text file",
         [](const std::string& f, const std::string&) { WriteBytes(f, std::string(5000, 'x')); },
         "is not a database of this program"},
        {"an empty file", [](const std::string& f, const std::string&) { WriteBytes(f, ""); },
         "Wrong content of the database (T_WerBaza)"},
        {"a copy cut in half",
         [](const std::string& f, const std::string& g) { WriteBytes(f, g.substr(0, g.size() / 2)); },
         "is damaged"},
        {"pages overwritten in the middle",
         [](const std::string& f, const std::string& g) {
             std::string b = g;
             for (size_t i = b.size() / 2; i < b.size() / 2 + 3000 && i < b.size(); i++) b[i] = (char)(i * 7);
             WriteBytes(f, b);
         },
         "is damaged"},
        {"another version",
         [](const std::string& f, const std::string& g) {
             WriteBytes(f, g);
             RawSql(f, "UPDATE T_WerBaza SET werBaza = '1-7';");
         },
         "and the database has version 1-7"},
        {"a table missing",
         [](const std::string& f, const std::string& g) {
             WriteBytes(f, g);
             RawSql(f, "DROP TABLE T_DodatZam;");
         },
         "has no table T_DodatZam"},
        {"a column missing",
         [](const std::string& f, const std::string& g) {
             WriteBytes(f, g);
             RawSql(f, "ALTER TABLE T_Zam DROP COLUMN uwagi;");
         },
         "has no column uwagi"},
        {"two rows of variables",
         [](const std::string& f, const std::string& g) {
             WriteBytes(f, g);
             RawSql(f, "INSERT INTO T_Zmienne SELECT * FROM T_Zmienne;");
         },
         "Wrong content of database variables (T_Zmienne)"},
        {"no settings row",
         [](const std::string& f, const std::string& g) {
             WriteBytes(f, g);
             RawSql(f, "DELETE FROM T_UstUzytk;");
         },
         "Wrong content of table T_UstUzytk"},
    };
    OpenProgramConnection();
    const std::string contents = Contents(db_);
    const std::string bytes = ReadBytes(db_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string bad = Path("bad.db");
        std::error_code ec;
        fs::remove(bad, ec);
        c.make(bad, goodBytes);
        msg_[0] = 0;
        EXPECT_EQ(0, BackupCheck(bad.c_str(), nullptr, msg_));
        EXPECT_NE(nullptr, strstr(msg_, c.reason)) << msg_;
        char safety[kBackupPathLen] = "x";
        msg_[0] = 0;
        EXPECT_EQ(0, BackupRestore(DbHandle(), db_.c_str(), bad.c_str(), nullptr, safety, msg_));
        EXPECT_NE(nullptr, strstr(msg_, c.reason)) << msg_;
        EXPECT_STREQ("", safety);
        EXPECT_FALSE(fs::exists(folder_)) << "a refused restore made a safety copy";
        EXPECT_EQ(bytes, ReadBytes(db_));
        EXPECT_EQ(3, DbCountRows("T_Zam", nullptr, nullptr));
    }
    // The database itself is no backup of itself, nor a place for one.
    EXPECT_EQ(0, BackupRestore(DbHandle(), db_.c_str(), db_.c_str(), nullptr, nullptr, msg_));
    EXPECT_NE(nullptr, strstr(msg_, "is the database itself")) << msg_;
    EXPECT_EQ(0, BackupCopy(DbHandle(), db_.c_str(), true, msg_));
    EXPECT_NE(nullptr, strstr(msg_, "over the database itself")) << msg_;
    EXPECT_FALSE(fs::exists(db_ + ".part"));
    DbClose();
    EXPECT_EQ(contents, Contents(db_));
    EXPECT_EQ(bytes, ReadBytes(db_));
}

TEST_F(BackupTest, RestoreReplacesTheContentAndKeepsTheCurrentOne) {
    const std::string backup = Path("backup.db");
    MakeDatabase(backup, 5, "Backup buyer");
    RawSql(backup, "UPDATE T_Zmienne SET idZam = 77, rok = 2024;");
    const std::string before = Contents(db_);
    const std::string wanted = Contents(backup);
    ASSERT_NE(before, wanted);

    OpenProgramConnection();
    ASSERT_EQ(1, DbRegisterFunctions(msg_)) << msg_;
    BackupInfo info{};
    char safety[kBackupPathLen];
    ASSERT_EQ(1, BackupRestore(DbHandle(), db_.c_str(), backup.c_str(), &info, safety, msg_)) << msg_;
    EXPECT_EQ(5, info.orders);
    // The connection stays open and reads the restored orders at once.
    strZmienne zm{};
    ASSERT_EQ(1, ReadVariables(&zm, msg_)) << msg_;
    EXPECT_EQ(77, zm.idZam);
    EXPECT_EQ(2024, zm.rok);
    char buyer[64] = {};
    ASSERT_EQ(kDbQueryValue, DbQueryValue("SELECT nazwaNabyw FROM T_Zam ORDER BY kluczZam DESC", kDbText,
                                          buyer, sizeof buyer, msg_));
    EXPECT_STREQ("Backup buyer 5", buyer);
#ifndef _WIN32
    EXPECT_EQ(folder_ + "/shop-before-restore-2026-03-01-130509.db", std::string(safety));
#else
    EXPECT_NE(std::string::npos, std::string(safety).find("shop-before-restore-" + Today() + "-"));
    EXPECT_TRUE(SameFile(fs::u8path(safety).parent_path().u8string(), folder_)) << safety;
#endif
    EXPECT_EQ(before, Contents(safety));
    ASSERT_EQ(1, BackupCheck(safety, &info, msg_)) << msg_;
    EXPECT_EQ(3, info.orders);

    // Bringing the old content back within the same second keeps both copies.
    const std::string first = safety;
    ASSERT_EQ(1, BackupRestore(DbHandle(), db_.c_str(), first.c_str(), &info, safety, msg_)) << msg_;
#ifndef _WIN32
    EXPECT_EQ(folder_ + "/shop-before-restore-2026-03-01-130509-2.db", std::string(safety));
#endif
    EXPECT_NE(first, std::string(safety));
    EXPECT_EQ(wanted, Contents(safety));
    DbClose();
    EXPECT_EQ(before, Contents(db_));
    EXPECT_EQ(before, Contents(first));
}

// ---- kelvaro-backup --------------------------------------------------------------

struct ToolRun {
    int code;
    std::string out, err;
};

ToolRun RunTool(std::vector<std::string> args) {
    args.insert(args.begin(), "kelvaro-backup");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    FILE* out = tmpfile();
    FILE* err = tmpfile();
    ToolRun r{BackupToolMain((int)argv.size(), argv.data(), out, err), "", ""};
    for (auto [f, s] : {std::pair<FILE*, std::string*>{out, &r.out}, {err, &r.err}}) {
        rewind(f);
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, f)) > 0) s->append(buf, n);
        fclose(f);
    }
    return r;
}

TEST_F(BackupTest, ToolCopiesRestoresAndRefuses) {
    const std::string other = Path("other.db");
    MakeDatabase(other, 2, "Other buyer");
    const std::string current = Contents(db_);
    const std::string missing = Path("missing.db");
    const std::string into = Path("copies");
    // A database damaged inside (the program will not start on it) and a
    // file that is no database at all.
    const std::string damaged = Path("damaged.db");
    std::string bytes = ReadBytes(db_);
    for (size_t i = bytes.size() / 2; i < bytes.size() / 2 + 3000 && i < bytes.size(); i++)
        bytes[i] = (char)i;
    WriteBytes(damaged, bytes);
    const std::string notADatabase = Path("text.db");
    WriteBytes(notADatabase, std::string(5000, 't'));
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* out;  // a part of stdout ("" for none)
        const char* err;  // a part of stderr
    };
    const std::vector<Case> cases = {
        {{}, 2, "", "usage: kelvaro-backup"},
        {{"--restore", other}, 2, "", "usage"},
        {{db_, into, "extra"}, 2, "", "usage"},
        {{"--help"}, 2, "", "usage"},
        {{missing}, 1, "", "does not exist"},
        {{"--restore", Path("nothing.db"), missing}, 1, "", "does not exist"},
        {{db_, into}, 0, "shop-", ""},
        {{db_}, 0, "backups", ""},
        {{"--restore", other, db_}, 0, "(2 orders)", ""},
        {{"--restore", other, missing}, 0, "(2 orders)", ""},
        {{damaged}, 1, "", "is damaged"},
        {{"--restore", other, damaged}, 0, "(2 orders)", ""},
        {{"--restore", other, notADatabase}, 1, "", "Move the damaged file aside"},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& a : c.args) line += a + " ";
        SCOPED_TRACE(line);
        ToolRun r = RunTool(c.args);
        EXPECT_EQ(c.code, r.code) << r.err;
        EXPECT_NE(std::string::npos, r.out.find(c.out)) << r.out;
        EXPECT_NE(std::string::npos, r.err.find(c.err)) << r.err;
        EXPECT_EQ(std::string::npos, r.err.find('\r'));
        if (c.code == 0 && c.args.size() <= 2) {
            // The printed path is a checked copy of the database.
            std::string path = r.out.substr(0, r.out.find('\n'));
            EXPECT_EQ(current, Contents(path));
        }
    }
    EXPECT_FALSE(fs::exists(Path("nothing.db")));
    EXPECT_EQ(Contents(other), Contents(db_));
    EXPECT_EQ(Contents(other), Contents(missing));
    EXPECT_EQ(Contents(other), Contents(damaged));
    EXPECT_EQ(std::string(5000, 't'), ReadBytes(notADatabase));
    // The damaged database was kept as it was, page for page.
    std::string keptDamaged;
    for (const std::string& n : FilesIn(folder_))
        if (n.find("damaged-before-restore-") == 0) keptDamaged = ReadBytes(folder_ + "/" + n);
    ASSERT_EQ(bytes.size(), keptDamaged.size());
    EXPECT_EQ(bytes.substr(100), keptDamaged.substr(100));
    // The restore kept the old content beside the database.
    int kept = 0;
    for (const std::string& n : FilesIn(folder_)) {
        if (n.find("shop-before-restore-") == 0) {
            kept++;
            EXPECT_EQ(current, Contents(folder_ + "/" + n));
        }
    }
    EXPECT_EQ(1, kept);
}

// ---- Killed while copying or restoring ---------------------------------------------

#ifndef _WIN32

int EnvInt(const char* name, int def) {
    const char* v = getenv(name);
    return v && *v ? atoi(v) : def;
}

using Micros = std::chrono::microseconds;

Micros Since(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration_cast<Micros>(std::chrono::steady_clock::now() - t);
}

// Runs the tool in a child. When `mark` names a file, waits for it to appear
// (the start of the writing phase) and then counts `delay` from there, else
// from the start. A negative delay kills nothing; `took` gets the
// time from that starting point to the child's end. True when the kill
// landed before the child ended.
bool RunToolKilled(const std::vector<std::string>& args, const std::string& mark, Micros delay,
                   Micros* took) {
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        std::vector<std::string> a = args;
        a.insert(a.begin(), "kelvaro-backup");
        std::vector<char*> argv;
        for (std::string& s : a) argv.push_back(&s[0]);
        FILE* null = fopen("/dev/null", "w");
        _exit(BackupToolMain((int)argv.size(), argv.data(), null, null) == 0 ? 0 : 7);
    }
    int status = 0;
    bool ended = false;
    if (!mark.empty()) {
        // A child that ends before the mark is seen is a kill that missed.
        while (access(mark.c_str(), F_OK) != 0) {
            if (waitpid(pid, &status, WNOHANG) == pid) {
                ended = true;
                break;
            }
            struct timespec ts = {0, 20000};
            nanosleep(&ts, nullptr);
        }
        start = std::chrono::steady_clock::now();
    }
    if (!ended && delay.count() >= 0) {
        const Micros left = delay - Since(start);
        if (left.count() > 0) {
            struct timespec ts = {(time_t)(left.count() / 1000000), (long)(left.count() % 1000000) * 1000};
            nanosleep(&ts, nullptr);
        }
        kill(pid, SIGKILL);
    }
    if (!ended) waitpid(pid, &status, 0);
    if (took) *took = Since(start);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) return true;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the tool failed, status " << status;
    return false;
}

// Every "*.db" in the folder passes its check and holds `contents`; the
// parts of interrupted copies are removed for the next round.
void CheckCopies(const std::string& folder, const std::string& contents) {
    char msg[KV_MSG_LEN];
    for (const std::string& n : FilesIn(folder)) {
        const std::string p = folder + "/" + n;
        if (n.size() > 3 && n.compare(n.size() - 3, 3, ".db") == 0) {
            EXPECT_EQ(1, BackupCheck(p.c_str(), nullptr, msg)) << n << ": " << msg;
            EXPECT_EQ(contents, Contents(p)) << n;
        } else {
            EXPECT_NE(std::string::npos, n.find(".db.part")) << "unexpected file " << n;
        }
        fs::remove(p);
    }
}

TEST_F(BackupTest, KilledToolLeavesAWholeDatabaseAndOnlyCheckedCopies) {
    const int kills = EnvInt("KV_BACKUP_KILLS", 100);
    const std::string pristine = Path("pristine.db");
    const std::string backup = Path("backup.db");
    const std::string copies = Path("copies");
    fs::remove(db_);
    MakeDatabase(db_, 400, "Current buyer");
    MakeDatabase(backup, 600, "Backup buyer");
    fs::copy_file(db_, pristine);
    const std::string mine = Contents(db_);
    const std::string theirs = Contents(backup);
    ASSERT_NE(mine, theirs);
    ASSERT_EQ(0u, mine.find("ok|"));

    // Half the kills fall anywhere in a run; the other half inside the phase
    // that writes: from the moment the copy's ".part" file appears (backup),
    // or the safety copy is in place and the pages are replaced (restore).
    struct Job {
        const char* what;
        std::vector<std::string> args;
        const std::string* folder;
        std::string mark;
    };
    // The clock is pinned, so the names are known.
    const Job jobs[] = {
        {"backup", {db_, copies}, &copies, ""},
        {"backup while writing", {db_, copies}, &copies, copies + "/shop-2026-03-01-130509.db.part"},
        {"restore", {"--restore", backup, db_}, &folder_, ""},
        {"restore while replacing",
         {"--restore", backup, db_},
         &folder_,
         folder_ + "/shop-before-restore-2026-03-01-130509.db"},
    };
    std::mt19937 rng(20);
    for (const Job& job : jobs) {
        // How long one uninterrupted run (or phase) takes, the shortest of
        // three, so the kills spread over it.
        Micros took = std::chrono::hours(1);
        for (int i = 0; i < 3; i++) {
            Micros t{};
            RunToolKilled(job.args, job.mark, Micros(-1), &t);
            took = std::min(took, t);
            CheckCopies(*job.folder, mine);
            fs::copy_file(pristine, db_, fs::copy_options::overwrite_existing);
        }
        const int n = kills / 2;
        int landed = 0, restored = 0, journals = 0;
        for (int k = 0; k < n; k++) {
            Micros at(rng() % (uint64_t)(took.count() + 1));
            landed += RunToolKilled(job.args, job.mark, at, nullptr);
            // A journal left means the kill came while pages were being replaced.
            journals += fs::exists(db_ + "-journal");
            const std::string now = Contents(db_);
            ASSERT_TRUE(now == mine || (now == theirs && job.args[0] == "--restore"))
                << job.what << " killed at " << at.count() << " us left: " << now.substr(0, 200);
            restored += now == theirs;
            // Reading it rolled back a hot journal; one that is left was never hot.
            fs::remove(db_ + "-journal");
            CheckCopies(*job.folder, mine);
            fs::copy_file(pristine, db_, fs::copy_options::overwrite_existing);
        }
        printf(
            "%s: %lld ms uninterrupted; %d kills, %d before the end, %d with a journal left; "
            "%d left the backup's orders\n",
            job.what, (long long)took.count() / 1000, n, landed, journals, restored);
        // Under a heavy load a run may outpace its kills; most must still land.
        EXPECT_GT(landed, n / 3) << "the kills mostly missed the " << job.what;
    }
}

#endif  // _WIN32

}  // namespace
