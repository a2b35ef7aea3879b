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
#include <functional>
#include <map>
#include <string>

#include "app/app.h"
#include "app/pending.h"
#include "db/backup.h"
#include "db/connection.h"
#include "db/orders.h"
#include "resources/resource.h"
#include "tests/native/order_patterns.h"
#include "tests/native/testdb.h"
#include "tests/win/harness.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/testutil.h"
#include "ui/order/order_window.h"
#include "util/file_dialog_win.h"
#include "util/kvutil.h"

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
        InitTestOrder(&z, 1, "Tamsin Vale");
        strZmienne vars{0, 2010};
        ASSERT_EQ(1, SaveNewOrder(&z, &vars, msg_)) << msg_;
        FreeOrder(&z);
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

// Another desk's work shows here within a second, as the server tells it:
// its new order added with the last number, a status changed, the status
// names renamed in the rows, the filter and the menus. While an order
// window of this desk is open, a removal waits until it closes (its row
// index stays true) and a rewrite in place does not.
TEST_F(ServerDeskTest, TheRegisterShowsWhatOtherDesksDo) {
    WriteSettings(keys_["port"]);
    main_ = CreateMainWindowForTest();
    ASSERT_NE(nullptr, main_) << (g_boxes.empty() ? "" : g_boxes.back().text);
    HWND list = GetDlgItem(main_, IDC_ORDERS);
    auto within = [&](const std::function<bool()>& shown) {
        for (int i = 0; i < 20; i++) {
            PumpMessages(50);
            if (shown()) return true;
        }
        return false;
    };
    auto rows = [list] { return (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); };
    const std::string key = ListCell(list, 0, 0);
    const std::string other = std::to_string(atoll(key.c_str()) + 100);

    TestServerSql(("CREATE TEMP TABLE c AS SELECT * FROM T_Zam;"
                   "UPDATE c SET kluczZam = " + other + ", idZam = 2, nazwaNabyw = 'Oswin Tarr';"
                   "INSERT INTO T_Zam SELECT * FROM c; UPDATE T_Zmienne SET idZam = 2;"
                   "NOTIFY kelvaro_register, 'Y 0'; NOTIFY kelvaro_register, 'O " + other + "';").c_str());
    ASSERT_TRUE(within([&] { return rows() == 2; }));
    EXPECT_EQ("Oswin Tarr", ListCell(list, 1, 4));
    EXPECT_EQ("\tLast order number: 2", StatusBarPart(main_, 1));

    TestServerSql(("UPDATE T_Zam SET status = 3 WHERE kluczZam = " + key +
                   "; NOTIFY kelvaro_register, 'O " + key + "';").c_str());
    EXPECT_TRUE(within([&] { return ListCell(list, 0, 1) == g_app.settings.stanyZam[2]; }));
    strUstUzytk renamed = g_app.settings;
    strcpy(renamed.stanyZam[2], "Glazed");
    char packed[sizeof renamed.stanyZam];
    const int len = TNapNaT2Tekst(&renamed.stanyZam[0][0], sizeof renamed.stanyZam, kStatusCount, packed);
    std::string hex;
    for (int i = 0; i < len; i++) {
        char b[3];
        snprintf(b, sizeof b, "%02x", (unsigned char)packed[i]);
        hex += b;
    }
    TestServerSql(("UPDATE T_UstUzytk SET stanyZam = decode('" + hex + "', 'hex');"
                   "NOTIFY kelvaro_register, 'U 0';").c_str());
    EXPECT_TRUE(within([&] { return ListCell(list, 0, 1) == "Glazed"; }));
    char item[64] = "";
    SendMessageA(GetDlgItem(main_, IDC_FILTER), CB_GETLBTEXT, 3, (LPARAM)item);
    EXPECT_STREQ("Glazed", item);
    GetMenuStringA(GetMenu(main_), CMD_STATUS_FIRST + 2, item, sizeof item, MF_BYCOMMAND);
    EXPECT_NE(nullptr, strstr(item, "Glazed")) << item;

    // The other desk deletes its order and sets status 5 on ours while this
    // desk has a new order open.
    static std::string s_sql;
    static int s_rowsWhileOpen;
    static std::string s_statusWhileOpen;
    s_sql = "DELETE FROM T_Zam WHERE kluczZam = " + other + "; UPDATE T_Zam SET status = 5 WHERE kluczZam = " +
            key + "; NOTIFY kelvaro_register, 'D " + other + "'; NOTIFY kelvaro_register, 'O " + key + "';";
    g_orderWindow = [](HWND owner, strZamRob*, int*, const DrawSet*) {
        TestServerSql(s_sql.c_str());
        PumpMessages(1000);
        HWND l = GetDlgItem(owner, IDC_ORDERS);
        s_rowsWhileOpen = (int)SendMessageA(l, LVM_GETITEMCOUNT, 0, 0);
        s_statusWhileOpen = ListCell(l, 0, 1);
        return 0;
    };
    SendMessageA(main_, WM_COMMAND, CMD_NEW, 0);
    g_orderWindow = RunOrderWindow;
    EXPECT_EQ(2, s_rowsWhileOpen);
    EXPECT_EQ(g_app.settings.stanyZam[4], s_statusWhileOpen);
    EXPECT_TRUE(within([&] { return rows() == 1; }));
    EXPECT_EQ(key, ListCell(list, 0, 0));
}

}  // namespace
