// The program's main window on a register on a server, in the test's
// process: kelvaro.ini names the test server (KV_PG_CONNFILE; without one the
// tests skip), the password comes from the environment as libpq reads it.
// What differs from a file: the backup writes a checked file from the
// server, named after its database; the restore is disabled; a bad
// settings file or a server gone is one clear message and no window.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>

#include <fstream>
#include <map>
#include <string>

#include "db/backup.h"
#include "db/connection.h"
#include "db/orders.h"
#include "resources/resource.h"
#include "tests/native/order_patterns.h"
#include "tests/native/testdb.h"
#include "tests/win/harness.h"
#include "tests/win/main_window_fixture.h"
#include "util/file_dialog_win.h"

namespace {

// The fixture of the DbTest family makes the server's database anew; the
// program then opens it itself, through the settings file.
class ServerDeskTest : public DbTest {
protected:
    void SetUp() override {
        if (TestServerConnInfo().empty()) GTEST_SKIP() << "no test server";
        DbTest::SetUp();
        ResetHarness();
        strZamRob z{};
        ZamTest(&z, 1, "Tamsin Vale");
        strZmienne vars{0, 2010};
        ASSERT_EQ(1, ZapiszNoweZam(&z, &vars, msg_)) << msg_;
        ZwolnijZam(&z);
        DbClose();
        keys_ = TestServerKeys();
        _putenv(("PGPASSWORD=" + keys_["password"]).c_str());
        g_kvAskFile = Answer;
        g_offered.clear();
    }
    void TearDown() override {
        if (main_) DestroyMainWindowForTest(main_);
        g_kvAskFile = KvAskFileSystem;
        _putenv("PGPASSWORD=");
        if (OnServer()) DbTest::TearDown();
    }
    void WriteSettings(const std::string& port) {
        std::ofstream ini("kelvaro.ini");
        ini << "[Database]\r\nServer=" << keys_["host"] << "\r\nPort=" << port << "\r\nName=" << keys_["dbname"]
            << "\r\nLogin=" << keys_["user"] << "\r\nSslMode=require\r\n";
    }
    static bool Answer(HWND, const KvFileQuestion& q, char* path, int size) {
        g_offered.push_back(path);
        if (!q.save) return false;
        snprintf(path, (size_t)size, "%s", "from-server.db");
        return true;
    }
    static inline std::vector<std::string> g_offered;
    ScopedTempCwd cwd_;
    std::map<std::string, std::string> keys_;
    HWND main_ = nullptr;
};

TEST_F(ServerDeskTest, BackupWritesAFileAndRestoreIsTheTools) {
    WriteSettings(keys_["port"]);
    main_ = CreateMainWindowForTest();
    ASSERT_NE(nullptr, main_) << (g_boxes.empty() ? "" : g_boxes.back().text);
    EXPECT_EQ(kDbServer, DbBackendInUse());
    EXPECT_EQ(1, SendMessageA(GetDlgItem(main_, IDC_ORDERS), LVM_GETITEMCOUNT, 0, 0));
    // No daily copy beside a server's register.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("backups"));
    EXPECT_TRUE(GetMenuState(GetMenu(main_), CMD_RESTORE_BACKUP, MF_BYCOMMAND) & MF_GRAYED);

    SendMessageA(main_, WM_COMMAND, CMD_BACKUP_NOW, 0);
    ASSERT_EQ(1u, g_offered.size());
    EXPECT_EQ(0u, g_offered[0].rfind(keys_["dbname"] + "-", 0)) << g_offered[0];
    BackupInfo info{};
    char msg[2048];
    EXPECT_EQ(1, BackupCheck("from-server.db", &info, msg)) << msg;
    EXPECT_EQ(1, info.orders);
    ASSERT_FALSE(g_boxes.empty());
    EXPECT_EQ(0u, g_boxes.back().text.rfind("The database has been backed up to", 0)) << g_boxes.back().text;

    // Even sent by hand, the restore does nothing on a server.
    const size_t boxes = g_boxes.size();
    SendMessageA(main_, WM_COMMAND, CMD_RESTORE_BACKUP, 0);
    EXPECT_EQ(1u, g_offered.size());
    EXPECT_EQ(boxes, g_boxes.size());
}

TEST_F(ServerDeskTest, AServerThatDoesNotAnswerIsOneMessage) {
    WriteSettings("1");
    main_ = CreateMainWindowForTest();
    EXPECT_EQ(nullptr, main_);
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("Error", g_boxes[0].caption);
    EXPECT_EQ(0u, g_boxes[0].text.rfind("Error of opening the database\r\n", 0)) << g_boxes[0].text;
    EXPECT_NE(std::string::npos, g_boxes[0].text.find("named in the settings file .\\kelvaro.ini")) << g_boxes[0].text;
    EXPECT_EQ(kDbClosed, DbBackendInUse());
}

}  // namespace
