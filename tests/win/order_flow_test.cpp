// One order from end to end, in the test's process: the program starts on a
// fresh database, "New" opens the order window, "Add window" opens the real
// designer where a frame and a tilt & turn sash with glass are drawn through
// the canvas's messages, an accessory is added through its dialog, the order
// is saved, and the register and the database are read back.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <stdio.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/app.h"
#include "db/connection.h"
#include "db/newdb.h"
#include "resources/resource.h"
#include "tests/native/testdb.h"
#include "tests/win/harness.h"
#include "tests/win/order_driver.h"
#include "ui/designer/designer_rc.h"
#include "ui/order/order_rc.h"

namespace {

const char kDesignerClass[] = "oknoOkTrDowOkno";

// Steps that need not have the order window: each gets nothing and says
// whether it is done.
struct Flow {
    std::vector<std::function<bool()>> steps;
    size_t next = 0;
    bool busy = false;
};

bool FlowTick(void* context) {
    Flow* f = (Flow*)context;
    if (f->busy || f->next >= f->steps.size()) return f->next >= f->steps.size();
    f->busy = true;
    if (f->steps[f->next]()) f->next++;
    f->busy = false;
    return f->next >= f->steps.size();
}

HWND Main() { return FindWindowA("kelvaro", "Quarvel"); }
HWND Designer() {
    HWND d = FindWindowA(kDesignerClass, nullptr);
    return d && IsWindowVisible(d) ? d : nullptr;
}
HWND Canvas() { return GetDlgItem(Designer(), IDC_CANVAS); }

// A click in the middle of the canvas, where the frame lies.
void ClickCanvasMiddle() {
    RECT rc;
    GetClientRect(Canvas(), &rc);
    LPARAM at = MAKELPARAM(rc.right / 2, rc.bottom / 2);
    SendMessageA(Canvas(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(Canvas(), WM_LBUTTONUP, 0, at);
}

int ThisYear() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return t.wYear;
}

int64_t Count(const char* sql) {
    char msg[2048];
    int64_t n = -1;
    EXPECT_EQ(kDbQueryValue, DbQueryValue(sql, kDbInt64, &n, 8, msg)) << msg;
    return n;
}

// The start both flows share: "New" in the register, "Add window" in the
// order window, a 1200 x 1400 frame through the canvas's dialog, a tilt &
// turn sash in its area, and glass "Float 4/16/4" chosen under a new name
// (the next step finds the name dialog gone and clicks the glass in).
std::vector<std::function<bool()>> NewOrderWithAGlazedSash() {
    return {
        [] {
            if (!Main() || !IsWindowVisible(Main())) return false;
            PostMessageA(Main(), WM_COMMAND, CMD_NEW, 0);
            return true;
        },
        [] {
            HWND w = FindOrderWindow();
            if (!w) return false;
            Post(w, ORD_WIN_ADD);
            return true;
        },
        [] {  // the frame, through the canvas's dialog
            if (!Designer()) return false;
            SendMessageA(Designer(), WM_COMMAND, CMD_DES_FRAME, 0);
            PostMessageA(Canvas(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
            return true;
        },
        [] {
            HWND d = Dialog("Dimension of frame");
            if (!d) return false;
            SetDlgItemTextA(d, IDC_DIMENSION_WIDTH, "1200");
            SetDlgItemTextA(d, IDC_DIMENSION_HEIGHT, "1400");
            PostMessageA(d, WM_COMMAND, IDOK, 0);
            return true;
        },
        [] {  // a tilt & turn sash in the frame's area
            if (Dialog("Dimension of frame")) return false;
            HWND toolbar = GetDlgItem(Designer(), IDC_DES_TOOLBAR);
            if (!SendMessageA(toolbar, TB_ISBUTTONENABLED, CMD_DES_SASH, 0)) return false;
            SendMessageA(Designer(), WM_COMMAND, CMD_DES_SASH_FIRST + 6, 0);
            ClickCanvasMiddle();
            PostMessageA(Designer(), WM_COMMAND, CMD_DES_NEW_FILLING, 0);
            return true;
        },
        [] {  // glass in the sash, under a new name
            HWND d = Dialog("New filling name");
            if (!d) return false;
            SetDlgItemTextA(d, IDC_NEW_FILLING_NAME, "Float 4/16/4");
            CheckRadioButton(d, IDC_NEW_FILLING_GLASS, IDC_NEW_FILLING_ACRYLIC, IDC_NEW_FILLING_GLASS);
            PostMessageA(d, WM_COMMAND, IDOK, 0);
            return true;
        },
    };
}

TEST(OrderFlow, NewOrderWithADesignedWindowAndAnAccessoryIsSavedAndListed) {
    ScopedTempCwd cwd;
    ResetHarness();
    g_app.startWindowMs = 50;
    char msg[2048];
    ASSERT_EQ(1, DbCreateFile("kelvaroDemo.db", ThisYear(), msg)) << msg;

    std::string totalCell, statusPart, number;
    int rows = -1, entriesBeforeSave = -1;
    int64_t windows = -1, operations = -1, glass = -1, sashes = -1, accessories = -1, status = -1;
    Flow flow;
    flow.steps = NewOrderWithAGlazedSash();
    flow.steps.insert(
        flow.steps.end(),
        {
            [] {
                if (Dialog("New filling name")) return false;
                ClickCanvasMiddle();
                HWND panel = GetDlgItem(Designer(), IDC_PANEL);
                Type(GetDlgItem(panel, IDC_PNL_NET), "1000");
                PostMessageA(Designer(), WM_COMMAND, CMD_DES_SAVE, 0);
                return true;
            },
            [&] {
                HWND w = FindOrderWindow();
                if (Designer() || !w) return false;
                entriesBeforeSave = (int)SendDlgItemMessageA(w, IDC_ORD_WINDOWS, LB_GETCOUNT, 0, 0);
                Post(w, ORD_ACC_ADD);
                return true;
            },
            [] {
                HWND d = Dialog("Accessory");
                if (!d) return false;
                SetDlgItemTextA(d, IDC_ACC_NAME_EDIT, "Window sill");
                Type(GetDlgItem(d, IDC_ACC_DIMS), "1");
                Type(GetDlgItem(d, IDC_ACC_DIM1), Dec("1.5"));
                Type(GetDlgItem(d, IDC_ACC_UNIT), "m");
                Type(GetDlgItem(d, IDC_ACC_PRICE), Dec("25.5"));
                Type(GetDlgItem(d, IDC_ACC_QUANTITY), "2");
                PostMessageA(d, WM_COMMAND, IDOK, 0);
                return true;
            },
            [&] {
                HWND w = FindOrderWindow();
                if (Dialog("Accessory") || !w) return false;
                number = ItemText(w, IDC_ORD_NUMBER);
                Post(w, ORD_SAVE);
                return true;
            },
            [&] {
                if (FindOrderWindow()) return false;
                HWND list = GetDlgItem(Main(), IDC_ORDERS);
                rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
                totalCell = ListCell(list, 0, 7);
                char text[128] = "";
                SendDlgItemMessageA(Main(), IDC_STATUSBAR, SB_GETTEXTA, 1, (LPARAM)text);
                statusPart = text;
                windows = Count("SELECT COUNT(*) FROM T_Okno");
                operations = Count("SELECT COUNT(*) FROM T_OperRysDb");
                sashes = Count(
                    "SELECT COUNT(*) FROM T_OperRysDb WHERE substr(hex(uOperRysDb), 1, 8) = '03000000'");
                glass = Count(
                    "SELECT COUNT(*) FROM T_OperRysDb WHERE substr(hex(uOperRysDb), 1, 8) = '04000000'");
                accessories =
                    Count("SELECT COUNT(*) FROM T_DodatZam WHERE nazwa = 'Window sill' AND ilosc = 2");
                status = Count("SELECT status FROM T_Zam");
                PostMessageA(Main(), WM_CLOSE, 0, 0);
                return true;
            },
        });
    LoopProbe probe(FlowTick, &flow, 60000);
    EXPECT_EQ(0, KelvaroMain(GetModuleHandleA(nullptr)));
    EXPECT_EQ(flow.steps.size(), flow.next) << "the flow stopped at a step";
    EXPECT_FALSE(probe.timedOut());

    EXPECT_EQ(1, entriesBeforeSave);
    ASSERT_EQ(1u, g_boxes.size()) << (g_boxes.size() > 1 ? g_boxes[0].text : "");
    EXPECT_EQ("Information", g_boxes[0].caption);
    EXPECT_EQ("The order " + number + " has been saved", g_boxes[0].text);
    EXPECT_EQ(1, rows);
    // Window 1 000.00 + 8 %, assembly 5.2 m x 15.00 + 8 %, sill 2 x 25.50 + 23 %.
    EXPECT_EQ("1 226,97", totalCell);
    EXPECT_EQ("\tLast order number: 1", statusPart);
    EXPECT_EQ(1, windows);
    EXPECT_EQ(3, operations);
    EXPECT_EQ(1, sashes);
    EXPECT_EQ(1, glass);
    EXPECT_EQ(1, accessories);
    EXPECT_EQ(1, status);
}

// Runs one of the program's tools (built beside this test) and returns what
// it wrote to its standard output and error.
std::string RunTool(const char* tool, const std::string& args, int* code) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path = exe;
    path = path.substr(0, path.find_last_of("\\/") + 1) + tool;
    std::string command = "\"" + path + "\" " + args;
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE file = CreateFileA("tool-output.txt", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, &sa,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = file;
    PROCESS_INFORMATION pi = {};
    *code = -1;
    if (CreateProcessA(path.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        WaitForSingleObject(pi.hProcess, 60000);
        DWORD exit = 0;
        GetExitCodeProcess(pi.hProcess, &exit);
        *code = (int)exit;
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(file);
    std::string text;
    if (FILE* f = fopen("tool-output.txt", "rb")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
        fclose(f);
    }
    return text;
}

// A price list imported with kelvaro-prices; a window drawn in the designer
// gets its suggestion, "Use" makes it the window's price, and the order and
// kelvaro-inspect both have it.
TEST(OrderFlow, APriceListImportedWithTheToolPricesADrawnWindow) {
    ScopedTempCwd cwd;
    ResetHarness();
    g_app.startWindowMs = 50;
    char msg[2048];
    ASSERT_EQ(1, DbCreateFile("kelvaroDemo.db", ThisYear(), msg)) << msg;
    FILE* f = fopen("prices.csv", "wb");
    ASSERT_TRUE(f);
    fputs(
        "kind;name;rate1;rate2;rate3;rate4\r\n"
        "profile;Norvel 70;10,00;12,00;9,00;7,00\r\n"
        "colour;White;0\r\n"
        "filling;Float 4/16/4;40,00\r\n"
        "hardware;Tilvo NT;45,00\r\n"
        "bead;Round;1,50\r\n"
        "window;;25,00\r\n",
        f);
    fclose(f);
    int code = -1;
    std::string out = RunTool("kelvaro-prices.exe", "kelvaroDemo.db import prices.csv", &code);
    ASSERT_EQ(0, code) << out;

    std::string before, missingBefore, after, missingAfter, net;
    bool useEnabled = false;
    auto panelItem = [](int id) { return GetDlgItem(GetDlgItem(Designer(), IDC_PANEL), id); };
    Flow flow;
    flow.steps = NewOrderWithAGlazedSash();
    flow.steps.insert(
        flow.steps.end(),
        {
            [&] {  // the glass is in: the suggestion counts the drawing, the names are still empty
                if (Dialog("New filling name")) return false;
                ClickCanvasMiddle();
                before = ItemText(GetDlgItem(Designer(), IDC_PANEL), IDC_PNL_PRICE_LIST);
                missingBefore = ItemText(GetDlgItem(Designer(), IDC_PANEL), IDC_PNL_PRICE_LIST_MISSING);
                Type(panelItem(IDC_PNL_PROFILE_EDIT), "Norvel 70");
                Type(panelItem(IDC_PNL_COLOR_EDIT), "white");
                Type(panelItem(IDC_PNL_HARDWARE_EDIT), "Tilvo NT");
                Type(panelItem(IDC_PNL_BEAD_EDIT), "Round");
                return true;
            },
            [&] {  // the names typed have reached the line (their notices are posted)
                after = ItemText(GetDlgItem(Designer(), IDC_PANEL), IDC_PNL_PRICE_LIST);
                missingAfter = ItemText(GetDlgItem(Designer(), IDC_PANEL), IDC_PNL_PRICE_LIST_MISSING);
                useEnabled = IsWindowEnabled(panelItem(IDC_PNL_PRICE_LIST_USE)) != 0;
                SendMessageA(panelItem(IDC_PNL_PRICE_LIST_USE), BM_CLICK, 0, 0);
                net = ItemText(GetDlgItem(Designer(), IDC_PANEL), IDC_PNL_NET);
                PostMessageA(Designer(), WM_COMMAND, CMD_DES_SAVE, 0);
                return true;
            },
            [] {
                HWND w = FindOrderWindow();
                if (Designer() || !w) return false;
                Post(w, ORD_SAVE);
                return true;
            },
            [] {
                if (FindOrderWindow()) return false;
                PostMessageA(Main(), WM_CLOSE, 0, 0);
                return true;
            },
        });
    LoopProbe probe(FlowTick, &flow, 60000);
    EXPECT_EQ(0, KelvaroMain(GetModuleHandleA(nullptr)));
    EXPECT_EQ(flow.steps.size(), flow.next) << "the flow stopped at a step";
    EXPECT_FALSE(probe.timedOut());

    // Frame 2 (1200 + 1400) mm at 10.00 a metre: 52.00; the sash 2 (1100 +
    // 1300) mm at 12.00: 57.60; its glass 1000 x 1200 mm at 40.00 a square
    // metre: 48.00 and bead 4.4 m at 1.50: 6.60; hardware for one opening
    // sash 45.00; the window 25.00. Together 234.20.
    // Before the names: only the glass and the window are priced.
    EXPECT_EQ("73" + Dec(".00") + " EUR", before);
    EXPECT_EQ("No price for: profile, colour, hardware, bead", missingBefore);
    EXPECT_EQ("234" + Dec(".20") + " EUR", after);
    EXPECT_EQ("", missingAfter);
    EXPECT_TRUE(useEnabled);
    EXPECT_EQ("234" + Dec(".20"), net);
    ASSERT_EQ(1, DbOpen("kelvaroDemo.db", msg)) << msg;
    EXPECT_EQ(23420, Count("SELECT cenaZReki FROM T_Okno"));
    DbClose();
    out = RunTool("kelvaro-inspect.exe", "kelvaroDemo.db", &code);
    EXPECT_EQ(0, code);
    EXPECT_NE(std::string::npos, out.find("\"price_list\":23420,\"price_list_missing\":[]")) << out;
}

BOOL CALLBACK CollectDisabled(HWND hwnd, LPARAM list) {
    if (!IsWindowEnabled(hwnd)) ((std::vector<HWND>*)list)->push_back(hwnd);
    return TRUE;
}

// The program is asked to end (WM_QUIT) while the designer is open over the
// order window over the register: each window closes the way it always
// does, from the top down, and the program ends with the quit's code.
TEST(OrderFlow, AQuitWhileTheDesignerIsOpenEndsTheProgramCleanly) {
    ScopedTempCwd cwd;
    ResetHarness();
    g_app.startWindowMs = 50;
    char msg[2048];
    ASSERT_EQ(1, DbCreateFile("kelvaroDemo.db", ThisYear(), msg)) << msg;

    HWND main = nullptr, order = nullptr, designer = nullptr;
    Flow flow;
    flow.steps = {
        [&] {
            if (!Main() || !IsWindowVisible(Main())) return false;
            main = Main();
            PostMessageA(main, WM_COMMAND, CMD_NEW, 0);
            return true;
        },
        [&] {
            order = FindOrderWindow();
            if (!order) return false;
            Post(order, ORD_WIN_ADD);
            return true;
        },
        [&] {  // from inside the designer's loop
            designer = Designer();
            if (!designer) return false;
            EXPECT_FALSE(IsWindowEnabled(order));
            EXPECT_FALSE(IsWindowEnabled(main));
            PostQuitMessage(7);
            return true;
        },
        [] { return false; },  // the program has ended before this runs
    };
    LoopProbe probe(FlowTick, &flow, 20000);
    EXPECT_EQ(7, KelvaroMain(GetModuleHandleA(nullptr)));
    EXPECT_EQ(3u, flow.next) << "the flow stopped at a step";
    EXPECT_FALSE(probe.timedOut()) << "the program went on after the quit";

    EXPECT_FALSE(IsWindow(designer));
    EXPECT_FALSE(IsWindow(order));
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(nullptr, g_app.mainWindow);
    EXPECT_EQ(nullptr, DbHandle()) << "the database is still open";
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), CollectDisabled, (LPARAM)&disabled);
    EXPECT_TRUE(disabled.empty()) << disabled.size() << " disabled windows left";
    EXPECT_TRUE(g_boxes.empty()) << (g_boxes.empty() ? "" : g_boxes[0].text);
    MSG m;
    EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "a quit left for a later loop";
}

// On a server, another desk takes the number the new order shows while it is
// being made: the save gives it the next free one, and the message, the
// register's row and the status bar show that one. Runs with the test
// server only (KV_PG_CONNFILE).
TEST(OrderFlow, OnAServerANumberTakenMeanwhileGoesToTheNextFreeOne) {
    if (TestServerConnInfo().empty()) GTEST_SKIP() << "no test server";
    ScopedTempCwd cwd;
    ResetHarness();
    g_app.startWindowMs = 50;
    ResetTestServerDatabase();
    // The working year is this one, so that the start asks nothing.
    char sql[96];
    snprintf(sql, sizeof sql, "UPDATE T_Zmienne SET idZam = 0, rok = %d;", ThisYear());
    TestServerSql(sql);
    std::map<std::string, std::string> keys = TestServerKeys();
    {
        FILE* ini = fopen("kelvaro.ini", "wb");
        ASSERT_NE(nullptr, ini);
        fprintf(ini, "[Database]\r\nServer=%s\r\nPort=%s\r\nName=%s\r\nLogin=%s\r\n", keys["host"].c_str(),
                keys["port"].c_str(), keys["dbname"].c_str(), keys["user"].c_str());
        fclose(ini);
    }
    _putenv(("PGPASSWORD=" + keys["password"]).c_str());
    std::string shown, final, row, statusPart;
    Flow flow;
    flow.steps = NewOrderWithAGlazedSash();
    flow.steps.insert(flow.steps.end(),
                      {
                          [] {
                              if (Dialog("New filling name")) return false;
                              ClickCanvasMiddle();
                              PostMessageA(Designer(), WM_COMMAND, CMD_DES_SAVE, 0);
                              return true;
                          },
                          [&] {
                              HWND w = FindOrderWindow();
                              if (Designer() || !w) return false;
                              shown = ItemText(w, IDC_ORD_NUMBER);
                              TestServerSql("UPDATE T_Zmienne SET idZam = idZam + 1;");  // another desk saves
                              Post(w, ORD_SAVE);
                              return true;
                          },
                          [&] {
                              if (FindOrderWindow()) return false;
                              HWND list = GetDlgItem(Main(), IDC_ORDERS);
                              row = ListCell(list, 0, 2);
                              char text[128] = "";
                              SendDlgItemMessageA(Main(), IDC_STATUSBAR, SB_GETTEXTA, 1, (LPARAM)text);
                              statusPart = text;
                              PostMessageA(Main(), WM_CLOSE, 0, 0);
                              return true;
                          },
                      });
    LoopProbe probe(FlowTick, &flow, 60000);
    EXPECT_EQ(0, KelvaroMain(GetModuleHandleA(nullptr)));
    _putenv("PGPASSWORD=");
    EXPECT_EQ(flow.steps.size(), flow.next) << "the flow stopped at a step";
    ASSERT_EQ(0u, shown.rfind("1-", 0)) << shown;
    const std::string tail = shown.substr(1);  // "-ABBR-YEAR"
    ASSERT_EQ(1u, g_boxes.size()) << (g_boxes.empty() ? "" : g_boxes[0].text);
    EXPECT_EQ("The order 2" + tail + " has been saved\r\nThe number " + shown +
                  " was taken at another desk meanwhile.",
              g_boxes[0].text);
    EXPECT_EQ("2" + tail, row);
    EXPECT_EQ("\tLast order number: 2", statusPart);
}

}  // namespace
