// The backups in the program: the daily copy made by the main window's
// creation step, and the "Back up the database now..." and "Restore a
// backup..." commands driven through the main window's messages, with the
// file dialogs answered through their function pointer.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <stdio.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/backup_commands.h"
#include "db/backup.h"
#include "db/connection.h"
#include "db/newdb.h"
#include "db/tables.h"
#include "resources/resource.h"
#include "tests/native/testdb.h"
#include "tests/win/harness.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/testutil.h"
#include "util/file_dialog_win.h"

namespace {

std::string Today() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char buf[32];
    snprintf(buf, sizeof buf, "%04u-%02u-%02u", t.wYear, t.wMonth, t.wDay);
    return buf;
}

int ThisYear() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return t.wYear;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), (std::streamsize)bytes.size());
}

std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        std::string n = fd.cFileName;
        if (n != "." && n != "..") names.insert(n);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return names;
}

// A database at `path` of `year` holding orders of the given buyers.
void MakeDatabase(const char* path, int year, const std::vector<std::string>& buyers) {
    char msg[2048];
    ASSERT_EQ(1, DbCreateFile(path, year, msg)) << msg;
    int number = 1;
    for (const std::string& b : buyers) {
        char sql[1024];
        snprintf(sql, sizeof sql,
                 "INSERT INTO T_Zam (idZam, rok, dodOznaczZam, idWalZam, dataZam, dataReal, nazwaNabyw, "
                 "adresNabyw, infDodatNabyw, waga, uwagi, status, sDaneUzytk, sWycenZamParam) "
                 "SELECT %d, %d, 'SYM', 12, '2010-07-20', '2010-08-03', '%s', '', '', 3000, '', 1, "
                 "CAST(zeroblob(256) || 'abc' || zeroblob(525) AS BLOB), sWycenZamParam FROM T_UstUzytk;",
                 number++, year, b.c_str());
        RawSql(path, sql);
    }
}

class BackupCmdsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        g_kvAskFile = AnswerDialog;
        g_dialogs.clear();
        g_answerPath.clear();
        MakeDatabase("kelvaroDemo.db", ThisYear(), {"Anna", "Bob", "Cecil"});
    }
    void TearDown() override {
        DestroyMainWindowForTest(main_);
        g_kvAskFile = KvAskFileSystem;
    }
    void Start() {
        main_ = CreateMainWindowForTest();
        ASSERT_NE(nullptr, main_);
        list_ = GetDlgItem(main_, IDC_ORDERS);
    }
    void Stop() {
        DestroyMainWindowForTest(main_);
        main_ = nullptr;
    }
    void Command(int id) { SendMessageA(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    std::vector<std::string> Buyers() {
        std::vector<std::string> v;
        int rows = (int)SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0);
        for (int r = 0; r < rows; r++) v.push_back(ListCell(list_, r, 4));
        return v;
    }
    std::string FilterItem(int i) {
        char text[64] = "";
        SendDlgItemMessageA(main_, IDC_FILTER, CB_GETLBTEXT, i, (LPARAM)text);
        return text;
    }

    // The stand-in for the file dialogs: records what it was offered and
    // answers with g_answerPath (empty: Cancel).
    struct Offered {
        bool save;
        std::string folder, name;
    };
    static inline std::vector<Offered> g_dialogs;
    static inline std::string g_answerPath;
    static bool AnswerDialog(HWND, const KvFileQuestion& q, char* path, int size) {
        g_dialogs.push_back({q.save, q.folder ? q.folder : "", path});
        if (g_answerPath.empty()) return false;
        snprintf(path, (size_t)size, "%s", g_answerPath.c_str());
        return true;
    }

    ScopedTempCwd cwd_;
    HWND main_ = nullptr;
    HWND list_ = nullptr;
};

// ---- The daily copy at start-up ---------------------------------------------------

TEST_F(BackupCmdsTest, DailyCopyAtStartOncePerDayKeepingTheNewest14) {
    CreateDirectoryA("backups", nullptr);
    std::set<std::string> expected = {"kelvaroDemo-before-restore-2001-01-01-120000.db",
                                      "kelvaroDemo-2001-01-01-120000.db", "notes.txt", "other-2001-01-01.db"};
    for (const std::string& n : expected) WriteBytes("backups\\" + n, "keep me");
    for (int d = 1; d <= 15; d++) {
        char name[64];
        snprintf(name, sizeof name, "kelvaroDemo-2001-01-%02d.db", d);
        WriteBytes(std::string("backups\\") + name, "old copy");
        if (d > 2) expected.insert(name);
    }
    const std::string today = "kelvaroDemo-" + Today() + ".db";
    expected.insert(today);

    Start();
    EXPECT_TRUE(g_boxes.empty()) << g_boxes[0].text;
    EXPECT_EQ(expected, FilesIn("backups"));
    char msg[2048];
    BackupInfo info{};
    EXPECT_EQ(1, BackupCheck(("backups\\" + today).c_str(), &info, msg)) << msg;
    EXPECT_EQ(3, info.orders);
    Stop();

    // The second start of the day copies nothing, though the database changed.
    const std::string copy = ReadWholeFile("backups\\" + today);
    RawSql("kelvaroDemo.db", "DELETE FROM T_Zam WHERE nazwaNabyw = 'Bob';");
    Start();
    EXPECT_TRUE(g_boxes.empty()) << g_boxes[0].text;
    EXPECT_EQ(expected, FilesIn("backups"));
    EXPECT_EQ(copy, ReadWholeFile("backups\\" + today));
}

TEST_F(BackupCmdsTest, DailyCopyHoldsTheYearAsItWasBeforeItIsClosed) {
    RawSql("kelvaroDemo.db", "UPDATE T_Zmienne SET idZam = 3, rok = 2010;");
    g_answers.push_back(IDYES);  // close the year
    Start();
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_NE(std::string::npos, g_boxes[0].text.find("Do you want to close the year ?"));
    EXPECT_EQ(ThisYear(), g_app.vars.rok);
    Stop();
    char msg[2048];
    ASSERT_EQ(1, DbOpen(("backups\\kelvaroDemo-" + Today() + ".db").c_str(), msg)) << msg;
    strZmienne copy{};
    ASSERT_EQ(1, ReadVariables(&copy, msg)) << msg;
    DbClose();
    EXPECT_EQ(2010, copy.rok);
    EXPECT_EQ(3, copy.idZam);
}

TEST_F(BackupCmdsTest, FailedDailyCopyGivesOneNoteAndAWorkingProgram) {
    // Where the folder should be, a file: the copy cannot be written.
    WriteBytes("backups", "a file in the way");
    const std::string before = ReadWholeFile("kelvaroDemo.db");
    Start();
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("Note", g_boxes[0].caption);
    EXPECT_EQ(0u, g_boxes[0].text.find("The daily backup of the database has not been made\r\n"))
        << g_boxes[0].text;
    EXPECT_NE(std::string::npos, g_boxes[0].text.find("backups")) << g_boxes[0].text;
    EXPECT_EQ((std::vector<std::string>{"Anna", "Bob", "Cecil"}), Buyers());
    EXPECT_NE(nullptr, DbHandle());
    Stop();
    EXPECT_EQ(before, ReadWholeFile("kelvaroDemo.db"));
    EXPECT_EQ("a file in the way", ReadWholeFile("backups"));
}

// ---- Back up now -----------------------------------------------------------------------

TEST_F(BackupCmdsTest, BackUpNowWritesACheckedCopyWhereTheUserSays) {
    Start();
    HMENU settings = GetSubMenu(GetMenu(main_), 1);
    const int n = GetMenuItemCount(settings);
    char text[64] = "";
    GetMenuStringA(settings, n - 2, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("Back up the database now...", text);
    EXPECT_EQ(CMD_BACKUP_NOW, (int)GetMenuItemID(settings, n - 2));
    GetMenuStringA(settings, n - 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("Restore a backup...", text);
    EXPECT_EQ(CMD_RESTORE_BACKUP, (int)GetMenuItemID(settings, n - 1));
    ResetHarness();

    // Cancel writes nothing and says nothing.
    Command(CMD_BACKUP_NOW);
    ASSERT_EQ(1u, g_dialogs.size());
    EXPECT_TRUE(g_dialogs[0].save);
    EXPECT_EQ(".\\backups", g_dialogs[0].folder);
    // "kelvaroDemo-YYYY-MM-DD-HHMMSS.db" with today's date.
    const std::string& name = g_dialogs[0].name;
    EXPECT_EQ(0u, name.find("kelvaroDemo-" + Today() + "-")) << name;
    EXPECT_EQ(32u, name.size()) << name;
    EXPECT_TRUE(g_boxes.empty());

    g_answerPath = cwd_.path() + "\\copy now.db";
    Command(CMD_BACKUP_NOW);
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("Information", g_boxes[0].caption);
    EXPECT_EQ("The database has been backed up to\r\n" + g_answerPath, g_boxes[0].text);
    char msg[2048];
    BackupInfo info{};
    EXPECT_EQ(1, BackupCheck(g_answerPath.c_str(), &info, msg)) << msg;
    EXPECT_EQ(3, info.orders);

    // A second copy over the first (the dialog asked) replaces it.
    RawSql("kelvaroDemo.db", "DELETE FROM T_Zam WHERE nazwaNabyw = 'Bob';");
    Command(CMD_BACKUP_NOW);
    EXPECT_EQ(1, BackupCheck(g_answerPath.c_str(), &info, msg)) << msg;
    EXPECT_EQ(2, info.orders);
}

// ---- Restore -------------------------------------------------------------------------------

TEST_F(BackupCmdsTest, RestoreChecksAsksKeepsTheCurrentDatabaseAndReloads) {
    // The backup: other orders, other variables, other status names.
    MakeDatabase("backup.db", 2024, {"Dora", "Emil", "Fred", "Gina", "Hugo"});
    RawSql("backup.db", "UPDATE T_Zmienne SET idZam = 77;");
    char msg[2048];
    ASSERT_EQ(1, DbOpen("backup.db", msg)) << msg;
    strUstUzytk u;
    ASSERT_EQ(1, ReadUserSettings(&u, msg)) << msg;
    strcpy(u.stanyZam[0], "MEASURED");
    ASSERT_EQ(1, UpdateUserSettings(&u, msg)) << msg;
    DbClose();
    const std::string good = ReadWholeFile("backup.db");
    std::string damaged = good;
    for (size_t i = damaged.size() / 2; i < damaged.size() / 2 + 3000 && i < damaged.size(); i++)
        damaged[i] = (char)(i * 7);
    WriteBytes("damaged.db", damaged);
    WriteBytes("old.db", good);
    RawSql("old.db", "UPDATE T_WerBaza SET werBaza = '1-7';");

    struct Case {
        const char* file;
        int answer;                         // to the question, if one comes
        std::vector<std::string> captions;  // of the boxes, in order
        const char* text;                   // a part of the last box
        bool restored;
    };
    const Case cases[] = {
        {"damaged.db", IDYES, {"Error"}, "is damaged", false},
        {"old.db", IDYES, {"Error"}, "and the database has version 1-7", false},
        {"missing.db", IDYES, {"Error"}, "does not exist", false},
        {"kelvaroDemo.db", IDYES, {"Error"}, "is the database itself", false},
        {"backup.db", IDNO, {"Note"}, "holding 5 orders ?", false},
        {"backup.db",
         IDYES,
         {"Note", "Information"},
         "The database has been restored from the backup of ",
         true},
    };
    Start();
    const std::string before = ReadWholeFile("kelvaroDemo.db");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + (c.answer == IDYES ? " Yes" : " No"));
        ResetHarness();
        g_answers.push_back(c.answer);
        g_answerPath = cwd_.path() + "\\" + c.file;
        Command(CMD_RESTORE_BACKUP);
        std::vector<std::string> captions;
        for (const ShownBox& b : g_boxes) captions.push_back(b.caption);
        EXPECT_EQ(c.captions, captions);
        ASSERT_FALSE(g_boxes.empty());
        EXPECT_NE(std::string::npos, g_boxes.back().text.find(c.text)) << g_boxes.back().text;
        if (c.restored) break;
        EXPECT_EQ(before, ReadWholeFile("kelvaroDemo.db"));
        EXPECT_EQ((std::vector<std::string>{"Anna", "Bob", "Cecil"}), Buyers());
        EXPECT_EQ(std::set<std::string>{"kelvaroDemo-" + Today() + ".db"}, FilesIn("backups"));
    }
    // The question named the backup's order count, the answer its copy.
    EXPECT_NE(std::string::npos, g_boxes[0].text.find("holding 5 orders ?")) << g_boxes[0].text;
    EXPECT_EQ((std::vector<std::string>{"Dora", "Emil", "Fred", "Gina", "Hugo"}), Buyers());
    EXPECT_EQ("\tCurrent year: 2024", StatusBarPart(main_, 0));
    EXPECT_EQ("\tLast order number: 77", StatusBarPart(main_, 1));
    EXPECT_EQ("MEASURED", FilterItem(1));
    EXPECT_EQ(0, (int)SendDlgItemMessageA(main_, IDC_FILTER, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(77, g_app.vars.idZam);

    std::string safety;
    for (const std::string& n : FilesIn("backups"))
        if (n.find("kelvaroDemo-before-restore-" + Today() + "-") == 0) safety = "backups\\" + n;
    ASSERT_FALSE(safety.empty());
    EXPECT_NE(std::string::npos, g_boxes.back().text.find("The previous database has been kept as " +
                                                          std::string(".\\") + safety))
        << g_boxes.back().text;
    BackupInfo info{};
    EXPECT_EQ(1, BackupCheck(safety.c_str(), &info, msg)) << msg;
    EXPECT_EQ(3, info.orders);
    Stop();
    // What the program shows is what the file holds.
    ASSERT_EQ(1, BackupCheck("kelvaroDemo.db", &info, msg)) << msg;
    EXPECT_EQ(5, info.orders);
}

}  // namespace
