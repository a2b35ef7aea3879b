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
HWND Canvas() { return GetDlgItem(Designer(), IDC_OBSPROJ); }

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
    flow.steps = {
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
            SetDlgItemTextA(d, IDC_WYMIAR_SZER, "1200");
            SetDlgItemTextA(d, IDC_WYMIAR_WYS, "1400");
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
            SetDlgItemTextA(d, IDC_NOWY_WYPELN_NAZWA, "Float 4/16/4");
            CheckRadioButton(d, IDC_NOWY_WYPELN_SZKLO, IDC_NOWY_WYPELN_AKRYL, IDC_NOWY_WYPELN_SZKLO);
            PostMessageA(d, WM_COMMAND, IDOK, 0);
            return true;
        },
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
            sashes =
                Count("SELECT COUNT(*) FROM T_OperRysDb WHERE substr(hex(uOperRysDb), 1, 8) = '03000000'");
            glass =
                Count("SELECT COUNT(*) FROM T_OperRysDb WHERE substr(hex(uOperRysDb), 1, 8) = '04000000'");
            accessories = Count("SELECT COUNT(*) FROM T_DodatZam WHERE nazwa = 'Window sill' AND ilosc = 2");
            status = Count("SELECT status FROM T_Zam");
            PostMessageA(Main(), WM_CLOSE, 0, 0);
            return true;
        },
    };
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

}  // namespace
