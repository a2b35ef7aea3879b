// Start-up and shut-down of the program, driven in the test's process: the
// real start window, main window and message loops run; the message boxes
// are answered through the program's seam.
#include <gtest/gtest.h>

#include <string.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "db/connection.h"
#include "db/newdb.h"
#include "db/records.h"
#include "tests/native/testdb.h"
#include "tests/win/harness.h"
#include "tools/mkdb/demo.h"
#include "util/dpi_win.h"
#include "util/progress_win.h"

namespace {

int ThisYear() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return t.wYear;
}

// What the test saw of the running main window before closing it.
struct Seen {
    bool shown = false;
    bool maximized = false;
    int menuItems = 0;
    std::string menuText[3];
    std::string title;
    int listed = 0;           // rows of the register
    bool progressOpen = false;  // a progress window still there
    int handles = 0;  // entries of the drawing set that were created
    strZmienne vars = {};
};

// Position of the first top-level window of `cls` among those created, or -1.
int CreatedAt(const char* cls) {
    for (size_t i = 0; i < g_createdClasses.size(); i++) {
        if (g_createdClasses[i] == cls) return (int)i;
    }
    return -1;
}

bool CloseMainWhenShown(void* context) {
    Seen* seen = (Seen*)context;
    HWND main = FindWindowA("kelvaro", "Quarvel");
    if (!main || !IsWindowVisible(main)) return false;
    seen->shown = true;
    seen->maximized = IsZoomed(main) != 0;
    char title[64];
    GetWindowTextA(main, title, sizeof title);
    seen->title = title;
    seen->listed = (int)SendMessageA(GetDlgItem(main, 10060), LVM_GETITEMCOUNT, 0, 0);
    seen->progressOpen = FindWindowA("kvProgress", nullptr) != nullptr;
    HMENU menu = GetMenu(main);
    seen->menuItems = GetMenuItemCount(menu);
    for (int i = 0; i < 3 && i < seen->menuItems; i++) {
        char text[64] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        seen->menuText[i] = text;
    }
    const HANDLE* h = (const HANDLE*)&g_app.draw;
    for (size_t i = 0; i < sizeof g_app.draw / sizeof(HANDLE); i++) seen->handles += h[i] != nullptr;
    seen->vars = g_app.vars;
    PostMessageA(main, WM_CLOSE, 0, 0);
    return true;
}

class StartTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        g_app.startWindowMs = 50;
    }
    // Makes the working folder's database with the working year `year`.
    void MakeDatabase(int year) {
        char msg[2048];
        ASSERT_EQ(1, DbCreateFile("kelvaroDemo.db", year, msg)) << msg;
    }
    void Damage(const char* sql) { RawSql("kelvaroDemo.db", sql); }
    // Runs the program until its main window shows (then closes it) or it ends.
    int Run(Seen* seen) {
        LoopProbe probe(CloseMainWhenShown, seen, 20000);
        int code = KelvaroMain(GetModuleHandleA(nullptr));
        EXPECT_FALSE(probe.timedOut()) << "the program neither showed its window nor ended";
        return code;
    }
    ScopedTempCwd cwd_;
};

TEST_F(StartTest, GoodDatabaseShowsTheMaximisedMainWindow) {
    MakeDatabase(ThisYear());
    Seen seen;
    EXPECT_EQ(0, Run(&seen));
    EXPECT_TRUE(seen.shown);
    EXPECT_TRUE(seen.maximized);
    EXPECT_EQ("Quarvel", seen.title);
    ASSERT_EQ(3, seen.menuItems);
    EXPECT_EQ("Order", seen.menuText[0]);
    EXPECT_EQ("Settings", seen.menuText[1]);
    EXPECT_EQ("Help", seen.menuText[2]);
    EXPECT_EQ(25, seen.handles);
    EXPECT_TRUE(g_boxes.empty()) << g_boxes[0].text;
    // The start window came first, then the main window.
    EXPECT_GE(CreatedAt("oknoStart"), 0);
    EXPECT_LT(CreatedAt("oknoStart"), CreatedAt("kelvaro"));
    // Shut-down closed the database and released the drawing set.
    EXPECT_EQ(nullptr, DbHandle());
    EXPECT_EQ(nullptr, g_app.draw.fontNormal);
    EXPECT_EQ(nullptr, g_app.draw.cursors[11]);
    EXPECT_EQ(nullptr, FindWindowA("kelvaro", "Quarvel"));
}

// A fill that takes its time (here at once) shows its progress in a window
// of its own after the start window, gone by the time the register shows
// every row; the start window and the boxes stay as they were.
TEST_F(StartTest, ALongFillShowsItsProgressAfterTheStartWindow) {
    MakeDatabase(ThisYear());
    char msg[2048];
    const int orders = SaveDemoOrders("kelvaroDemo.db", msg);
    ASSERT_GT(orders, 0) << msg;
    KvFillProgress::delayMs = 0;
    Seen seen;
    EXPECT_EQ(0, Run(&seen));
    KvFillProgress::delayMs = 500;
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(orders, seen.listed);
    EXPECT_FALSE(seen.progressOpen);
    EXPECT_TRUE(g_boxes.empty());
    EXPECT_GE(CreatedAt("oknoStart"), 0);
    EXPECT_LT(CreatedAt("oknoStart"), CreatedAt("kvProgress"));
}

// The start window at the display's scale: its size, the picture over all
// of it, and at another scale than 96 dpi resized smoothly: the picture's
// frame line meets the light inside in blended colours, not in steps.
struct StartSeen {
    int width = 0, height = 0;
    COLORREF corner = 0, inside = 0;
    std::vector<COLORREF> lastColumns;  // the middle row's last columns, left to right
};

bool LookAtStartWindow(void* context) {
    StartSeen* seen = (StartSeen*)context;
    HWND w = FindWindowA("oknoStart", nullptr);
    if (!w || !IsWindowVisible(w)) return false;
    UpdateWindow(w);
    RECT r;
    GetClientRect(w, &r);
    seen->width = r.right;
    seen->height = r.bottom;
    HDC dc = GetDC(w);
    const int dpi = KvSystemDpi();
    seen->corner = GetPixel(dc, r.right - 1, r.bottom - 1);
    seen->inside = GetPixel(dc, r.right - KvScale(3, dpi) - 1, r.bottom - KvScale(3, dpi) - 1);
    for (int x = r.right - KvScale(4, dpi); x < r.right; x++)
        seen->lastColumns.push_back(GetPixel(dc, x, r.bottom / 2));
    ReleaseDC(w, dc);
    DestroyWindow(w);
    return true;
}

TEST_F(StartTest, TheStartWindowTakesTheScaleWithItsPictureResizedSmoothlyAtEveryScale) {
    g_app.startWindowMs = 20000;
    StartSeen seen;
    {
        LoopProbe probe(LookAtStartWindow, &seen, 20000);
        RunStartWindow(GetModuleHandleA(nullptr));
        EXPECT_TRUE(probe.done());
    }
    const int dpi = KvSystemDpi();
    EXPECT_EQ(KvScale(360, dpi), seen.width);
    EXPECT_EQ(KvScale(270, dpi), seen.height);
    EXPECT_EQ(RGB(150, 160, 180), seen.corner);  // the frame line of the picture
    EXPECT_NE(RGB(255, 255, 255), seen.inside) << "the picture does not cover the window";
    int blended = 0;
    for (COLORREF c : seen.lastColumns) {
        const int r = GetRValue(c);
        blended += r > 150 && r < 228;
    }
    if (dpi == 96) EXPECT_EQ(0, blended);
    else EXPECT_GT(blended, 0) << "the picture was resized in steps";
}

TEST_F(StartTest, MinimumSizeIs800By600) {
    MakeDatabase(ThisYear());
    struct Probe {
        static bool Check(void* ctx) {
            HWND main = FindWindowA("kelvaro", "Quarvel");
            if (!main || !IsWindowVisible(main)) return false;
            ShowWindow(main, SW_RESTORE);
            SetWindowPos(main, nullptr, 0, 0, 300, 200, SWP_NOZORDER | SWP_NOMOVE);
            RECT r;
            GetWindowRect(main, &r);
            *(SIZE*)ctx = {r.right - r.left, r.bottom - r.top};
            PostMessageA(main, WM_CLOSE, 0, 0);
            return true;
        }
    };
    SIZE size = {};
    LoopProbe probe(Probe::Check, &size, 20000);
    EXPECT_EQ(0, KelvaroMain(GetModuleHandleA(nullptr)));
    EXPECT_EQ(800, size.cx);
    EXPECT_EQ(600, size.cy);
}

struct BadStart {
    const char* name;
    const char* damage;  // null: no database file at all
    const char* message;
};

class BadStartTest : public StartTest, public ::testing::WithParamInterface<BadStart> {};

TEST_P(BadStartTest, EndsAfterAnErrorBox) {
    const BadStart& c = GetParam();
    if (c.damage) {
        MakeDatabase(ThisYear());
        Damage(c.damage);
    }
    Seen seen;
    EXPECT_EQ(0, Run(&seen));
    EXPECT_FALSE(seen.shown);
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("Error", g_boxes[0].caption);
    EXPECT_EQ(c.message, g_boxes[0].text);
    EXPECT_EQ((UINT)MB_ICONERROR, g_boxes[0].type & MB_ICONMASK);
    // The start window was shown before the failure.
    EXPECT_GE(CreatedAt("oknoStart"), 0);
    EXPECT_EQ(nullptr, DbHandle());
    EXPECT_EQ(nullptr, FindWindowA("kelvaro", "Quarvel"));
}

const char kVersionMsg[] =
    "Incorrect version of the database !\r\nProgram works with version 1-8,\r\n"
    "and the database has version ";

INSTANTIATE_TEST_SUITE_P(
    Databases, BadStartTest,
    ::testing::Values(
        BadStart{"MissingFile", nullptr, "Wrong content of the database (T_WerBaza)"},
        BadStart{"NoVersionRow", "DELETE FROM T_WerBaza;", "Wrong content of the database (T_WerBaza)"},
        BadStart{"TwoVersionRows", "INSERT INTO T_WerBaza VALUES ('1-8');",
                 "Wrong content of the database (T_WerBaza)"},
        BadStart{"NullVersion", "UPDATE T_WerBaza SET werBaza = NULL;",
                 "Wrong content of the database (T_WerBaza)"},
        BadStart{"Version17", "UPDATE T_WerBaza SET werBaza = '1-7';",
                 "Incorrect version of the database !\r\nProgram works with version 1-8,\r\n"
                 "and the database has version 1-7"},
        BadStart{"VersionWithBlank", "UPDATE T_WerBaza SET werBaza = '1-8 ';",
                 "Incorrect version of the database !\r\nProgram works with version 1-8,\r\n"
                 "and the database has version 1-8 "},
        BadStart{"TwoVariableRows", "INSERT INTO T_Zmienne VALUES (3, 2010);",
                 "Wrong content of database variables (T_Zmienne)"},
        BadStart{"NoSettingsRow", "DELETE FROM T_UstUzytk;", "Wrong content of table T_UstUzytk"},
        BadStart{"TwoSettingsRows", "INSERT INTO T_UstUzytk SELECT * FROM T_UstUzytk;",
                 "Wrong content of table T_UstUzytk"}),
    [](const ::testing::TestParamInfo<BadStart>& info) { return std::string(info.param.name); });

TEST_F(StartTest, MissingFileIsCreatedEmpty) {
    Seen seen;
    EXPECT_EQ(0, Run(&seen));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("kelvaroDemo.db"));
    (void)kVersionMsg;
}

// ---- The working year -------------------------------------------------

class YearTest : public StartTest {
protected:
    void SetUp() override {
        StartTest::SetUp();
        MakeDatabase(ThisYear() - 1);
        Damage("UPDATE T_Zmienne SET idZam = 17;");
    }
    strZmienne Stored() {
        char msg[2048];
        EXPECT_EQ(1, DbOpen("kelvaroDemo.db", msg)) << msg;
        strZmienne z = {};
        int32_t v[2] = {};
        EXPECT_EQ(kDbQueryValue, DbQueryValue("SELECT idZam FROM T_Zmienne", kDbInt32, &v[0], 4, msg));
        EXPECT_EQ(kDbQueryValue, DbQueryValue("SELECT rok FROM T_Zmienne", kDbInt32, &v[1], 4, msg));
        DbClose();
        z.idZam = v[0];
        z.rok = v[1];
        return z;
    }
    std::string Question() {
        char q[256];
        snprintf(q, sizeof q,
                 "Current year of the program (%4d) is not compatible with the current year "
                 "(%4d)\r\nDo you want to close the year ?",
                 ThisYear() - 1, ThisYear());
        return q;
    }
};

TEST_F(YearTest, NoKeepsTheYearAndTheNumber) {
    g_answers.push_back(IDNO);
    Seen seen;
    EXPECT_EQ(0, Run(&seen));
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("Note", g_boxes[0].caption);
    EXPECT_EQ(Question(), g_boxes[0].text);
    EXPECT_EQ((UINT)(MB_YESNO | MB_ICONQUESTION), g_boxes[0].type);
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(ThisYear() - 1, seen.vars.rok);
    EXPECT_EQ(17, seen.vars.idZam);
    strZmienne z = Stored();
    EXPECT_EQ(ThisYear() - 1, z.rok);
    EXPECT_EQ(17, z.idZam);
}

TEST_F(YearTest, YesStartsTheCalendarYearAtNumberZero) {
    g_answers.push_back(IDYES);
    Seen seen;
    EXPECT_EQ(0, Run(&seen));
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ(Question(), g_boxes[0].text);
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(ThisYear(), seen.vars.rok);
    EXPECT_EQ(0, seen.vars.idZam);
    strZmienne z = Stored();
    EXPECT_EQ(ThisYear(), z.rok);
    EXPECT_EQ(0, z.idZam);
}

TEST_F(StartTest, CurrentOrLaterYearAsksNothing) {
    for (int year : {ThisYear(), ThisYear() + 1}) {
        SCOPED_TRACE(year);
        DeleteFileA("kelvaroDemo.db");
        MakeDatabase(year);
        ResetHarness();
        Seen seen;
        EXPECT_EQ(0, Run(&seen));
        EXPECT_TRUE(seen.shown);
        EXPECT_TRUE(g_boxes.empty());
        EXPECT_EQ(year, seen.vars.rok);
    }
}

// ---- One instance per desktop ---------------------------------------------

TEST_F(StartTest, SecondStartRaisesTheFirstInstance) {
    MakeDatabase(ThisYear());
    // The first instance is the real program in a process of its own.
    std::string exe = BinDir() + "\\kelvaro.exe";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string cmd = "\"" + exe + "\"";
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    HWND first = nullptr;
    for (int i = 0; i < 300 && !first; i++) {  // the real start window stays 4 s
        Sleep(50);
        first = FindWindowA("kelvaro", "Quarvel");
        if (first && !IsWindowVisible(first)) first = nullptr;
    }
    ASSERT_NE(nullptr, first) << "the first instance did not show its window";
    ShowWindow(first, SW_MINIMIZE);
    for (int i = 0; i < 100 && !IsIconic(first); i++) Sleep(20);

    ResetHarness();
    DWORD start = GetTickCount();
    EXPECT_EQ(0, KelvaroMain(GetModuleHandleA(nullptr)));
    EXPECT_LT(GetTickCount() - start, 1000u);  // no start window, no database
    EXPECT_EQ(-1, CreatedAt("oknoStart"));
    EXPECT_EQ(-1, CreatedAt("kelvaro"));
    EXPECT_TRUE(g_boxes.empty());
    for (int i = 0; i < 100 && IsIconic(first); i++) Sleep(20);
    EXPECT_FALSE(IsIconic(first));
    EXPECT_TRUE(IsWindowVisible(first));

    PostMessageA(first, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 20000));
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(0u, code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

}  // namespace
