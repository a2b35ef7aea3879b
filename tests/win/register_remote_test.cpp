// The register of a database of twenty thousand orders in the real program,
// driven from this process through its windows' messages only, as a script
// drives it: the rows and their state images read through memory given in
// the program, a range selected, the filter, a status change, an order
// saved from the order window (a row added, then rewritten), several rows
// deleted and "Search...". What the list shows is compared with orders
// loaded one by one, which take no part in the register's own pass.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <stdio.h>

#include <functional>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/newdb.h"
#include "db/orders.h"
#include "db/tables.h"
#include "resources/resource.h"
#include "tests/win/harness.h"
#include "tools/mkdb/demo.h"
#include "ui/order/order_rc.h"
#include "util/msgbuf.h"
#include "valuation/register_rows.h"
#include "valuation/valuation.h"

namespace {

const int kOrders = 20000;

// ---- The program in its own process ---------------------------------------------

HANDLE g_process;

// Memory in the program for what a message points at.
class Remote {
public:
    explicit Remote(size_t n) : mem_(VirtualAllocEx(g_process, nullptr, n, MEM_COMMIT, PAGE_READWRITE)) {}
    ~Remote() {
        if (mem_) VirtualFreeEx(g_process, mem_, 0, MEM_RELEASE);
    }
    Remote(const Remote&) = delete;
    Remote& operator=(const Remote&) = delete;
    void* at(size_t offset = 0) const { return (char*)mem_ + offset; }
    void Put(const void* data, size_t n, size_t offset = 0) {
        WriteProcessMemory(g_process, at(offset), data, n, nullptr);
    }
    void Get(void* data, size_t n, size_t offset = 0) const {
        ReadProcessMemory(g_process, at(offset), data, n, nullptr);
    }

private:
    void* mem_;
};

std::string Cell(HWND list, int row, int column) {
    Remote r(sizeof(LVITEMA) + 1100);
    LVITEMA it = {};
    it.iSubItem = column;
    it.pszText = (char*)r.at(sizeof(LVITEMA));
    it.cchTextMax = 1100;
    r.Put(&it, sizeof it);
    SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)r.at());
    char text[1100] = "";
    r.Get(text, sizeof text - 1, sizeof(LVITEMA));
    return text;
}

int StateImage(HWND list, int row) {
    return (int)(SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) >> 12);
}

// Row `row` (-1 every row) selected or not; a single row takes the focus too.
void SetSelected(HWND list, int row, bool on) {
    Remote r(sizeof(LVITEMA));
    LVITEMA it = {};
    it.stateMask = LVIS_SELECTED | (row >= 0 ? LVIS_FOCUSED : 0);
    it.state = on ? it.stateMask : 0;
    r.Put(&it, sizeof it);
    SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)r.at());
}

void SelectOnly(HWND list, int row) {
    SetSelected(list, -1, false);
    SetSelected(list, row, true);
}

// A click on the row's first cell, with Shift held when asked.
void ClickRow(HWND list, int row, bool shift) {
    SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
    Remote r(sizeof(RECT));
    RECT rc = {LVIR_LABEL, 0, 0, 0};
    r.Put(&rc, sizeof rc);
    SendMessageA(list, LVM_GETITEMRECT, row, (LPARAM)r.at());
    r.Get(&rc, sizeof rc);
    const LPARAM at = MAKELPARAM(rc.left + 4, (rc.top + rc.bottom) / 2);
    const WPARAM keys = MK_LBUTTON | (shift ? MK_SHIFT : 0);
    SendMessageA(list, WM_LBUTTONDOWN, keys, at);
    SendMessageA(list, WM_LBUTTONUP, keys & ~MK_LBUTTON, at);
}

int FindKey(HWND list, int64_t key) {
    Remote r(sizeof(LVFINDINFOA) + 32);
    char text[32];
    snprintf(text, sizeof text, "%lld", (long long)key);
    r.Put(text, sizeof text, sizeof(LVFINDINFOA));
    LVFINDINFOA fi = {};
    fi.flags = LVFI_STRING;
    fi.psz = (const char*)r.at(sizeof(LVFINDINFOA));
    r.Put(&fi, sizeof fi);
    return (int)SendMessageA(list, LVM_FINDITEMA, (WPARAM)-1, (LPARAM)r.at());
}

bool OfProgram(HWND h) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    return pid == GetProcessId(g_process);
}

// A visible top-level window of the program, waited for (null after 30 s).
HWND WaitTop(const char* cls, const char* title = nullptr) {
    for (int i = 0; i < 1500; i++) {
        for (HWND h = FindWindowExA(nullptr, nullptr, cls, title); h; h = FindWindowExA(nullptr, h, cls, title))
            if (OfProgram(h) && IsWindowVisible(h)) return h;
        Sleep(20);
    }
    return nullptr;
}

bool WaitUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 1500; i++) {
        if (done()) return true;
        Sleep(20);
    }
    return false;
}

std::string TextOf(HWND h) {
    char text[512] = "";
    GetWindowTextA(h, text, sizeof text);
    return text;
}

// The program's message box with `caption`: its text; answered with `button`.
std::string Answer(const char* caption, int button) {
    HWND box = WaitTop("#32770", caption);
    if (!box) return "<no box>";
    const std::string text = TextOf(GetDlgItem(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, button, 0);
    WaitUntil([box] { return !IsWindow(box); });
    return text;
}

// A child of the order window's tab pages.
HWND PageItem(HWND order, int id) {
    HWND tab = GetDlgItem(order, 10139);
    for (HWND page = FindWindowExA(tab, nullptr, nullptr, nullptr); page; page = FindWindowExA(tab, page, nullptr, nullptr))
        if (HWND c = GetDlgItem(page, id)) return c;
    return nullptr;
}

// ---- What the rows must show --------------------------------------------------------

// Every cell of the order `key`, from a load of that order alone.
std::vector<std::string> CellsOf(int64_t key, const strUstUzytk& settings) {
    char msg[KV_MSG_LEN];
    strZamRob z;
    if (!LoadOrder(key, &z, msg)) return {msg};
    RecomputeOrder(&z, kRecomputeAll);
    RegisterRows one;
    one.Append(z);
    FreeAndZeroOrder(&z);
    std::vector<std::string> cells;
    for (int c = 0; c < kRegisterColumnCount; c++) {
        char text[1100];
        one.CellText(0, c, settings, text, sizeof text);
        cells.push_back(text);
    }
    return cells;
}

int KeyOf(int64_t key, void* ctx, char*) {
    ((std::vector<int64_t>*)ctx)->push_back(key);
    return kDbWalkNext;
}

std::vector<int64_t> Keys(int32_t status) {
    std::vector<int64_t> keys;
    char msg[KV_MSG_LEN];
    EXPECT_EQ(1, DbWalkOrderKeys(status, KeyOf, &keys, msg)) << msg;
    return keys;
}

class RegisterRemote : public ::testing::Test {
protected:
    void SetUp() override {
        char msg[KV_MSG_LEN];
        ASSERT_EQ(1, DbCreateFile("kelvaroDemo.db", 2026, msg)) << msg;
        ASSERT_GT(SaveDemoOrders("kelvaroDemo.db", msg), 0) << msg;
        ASSERT_GT(CopyDemoOrders("kelvaroDemo.db", kOrders, msg), 0) << msg;
        ASSERT_EQ(1, DbOpen("kelvaroDemo.db", msg)) << msg;
        ASSERT_EQ(1, ReadUserSettings(&settings_, msg)) << msg;
        keys_ = Keys(0);
        keys3_ = Keys(3);
        DbClose();
        ASSERT_EQ((size_t)kOrders, keys_.size());

        const std::string exe = BinDir() + "\\kelvaro.exe";
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        std::string cmd = "\"" + exe + "\"";
        ASSERT_TRUE(CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_));
        g_process = pi_.hProcess;
        main_ = WaitTop("kelvaro", "Quarvel");
        ASSERT_NE(nullptr, main_) << "the program did not show its window";
        list_ = GetDlgItem(main_, IDC_ORDERS);
    }
    void TearDown() override {
        if (!pi_.hProcess) return;
        if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi_.hProcess, 20000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the program did not end";
            TerminateProcess(pi_.hProcess, 1);
        }
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
        g_process = nullptr;
    }
    int Rows() { return (int)SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0); }
    std::vector<std::string> Shown(int row) {
        std::vector<std::string> cells;
        for (int c = 0; c < kRegisterColumnCount; c++) cells.push_back(Cell(list_, row, c));
        return cells;
    }
    void Command(int id) { SendMessageA(main_, WM_COMMAND, id, 0); }
    bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(main_, id)) != 0; }
    bool ToolEnabled(int id) {
        return SendMessageA(GetDlgItem(main_, IDC_TOOLBAR), TB_ISBUTTONENABLED, id, 0) != 0;
    }
    void Filter(int index) {
        HWND filter = GetDlgItem(main_, IDC_FILTER);
        SendMessageA(filter, CB_SETCURSEL, index, 0);
        SendMessageA(main_, WM_COMMAND, MAKEWPARAM(IDC_FILTER, CBN_SELCHANGE), (LPARAM)filter);
    }

    ScopedTempCwd cwd_;
    strUstUzytk settings_ = {};
    std::vector<int64_t> keys_, keys3_;
    PROCESS_INFORMATION pi_ = {};
    HWND main_ = nullptr, list_ = nullptr;
};

TEST_F(RegisterRemote, TwentyThousandOrdersBehaveAsAHandful) {
    char msg[KV_MSG_LEN];
    ASSERT_TRUE(WaitUntil([&] { return Rows() == kOrders; })) << Rows() << " rows";

    // Rows and state images, all through the list: sampled across the list,
    // compared with the orders loaded one by one.
    ASSERT_EQ(1, DbOpen("kelvaroDemo.db", msg)) << msg;
    for (int row : {0, 1, 2, 4999, 10000, 15001, kOrders - 2, kOrders - 1}) {
        SCOPED_TRACE(row);
        const std::vector<std::string> want = CellsOf(keys_[(size_t)row], settings_);
        EXPECT_EQ(want, Shown(row));
    }
    for (int row = 0; row < kOrders; row += 1999) {
        char sql[96];
        snprintf(sql, sizeof sql, "SELECT status FROM T_Zam WHERE kluczZam = %lld", (long long)keys_[(size_t)row]);
        int32_t status = -2;
        DbQueryValue(sql, kDbInt32, &status, 4, msg);
        EXPECT_EQ(status >= 1 ? status : 0, StateImage(list_, row)) << row;
    }
    DbClose();

    // Every row, one row, a range with Shift, none: the commands follow.
    SetSelected(list_, -1, true);
    EXPECT_TRUE(WaitUntil([&] { return ToolEnabled(CMD_CHANGE_STATUS) && !Enabled(CMD_PREVIEW); }));
    EXPECT_EQ(kOrders, (int)SendMessageA(list_, LVM_GETSELECTEDCOUNT, 0, 0));
    SetSelected(list_, -1, false);
    EXPECT_FALSE(ToolEnabled(CMD_CHANGE_STATUS));
    ClickRow(list_, 10, false);
    EXPECT_TRUE(Enabled(CMD_PREVIEW));
    ClickRow(list_, 14, true);
    EXPECT_EQ(5, (int)SendMessageA(list_, LVM_GETSELECTEDCOUNT, 0, 0));
    EXPECT_FALSE(Enabled(CMD_PREVIEW)) << "a range of five rows counted as one";
    EXPECT_TRUE(ToolEnabled(CMD_CHANGE_STATUS));
    SetSelected(list_, -1, false);

    // The filter: the orders of status 3 only, then all again.
    Filter(3);
    EXPECT_EQ((int)keys3_.size(), Rows());
    if (!keys3_.empty()) {
        EXPECT_EQ(std::to_string(keys3_.back()), Cell(list_, Rows() - 1, 0));
    }
    Filter(0);
    EXPECT_EQ(kOrders, Rows());

    // A status change of one row: its name and image at once.
    SelectOnly(list_, 20);
    Command(CMD_STATUS_FIRST + 4);
    EXPECT_EQ(settings_.stanyZam[4], Cell(list_, 20, 1));
    EXPECT_EQ(5, StateImage(list_, 20));

    // "Edit as new" saved: a row at the end; then corrected: that row rewritten.
    SelectOnly(list_, 30);
    PostMessageA(main_, WM_COMMAND, CMD_EDIT_AS_NEW, 0);
    HWND order = WaitTop("oknoZamowienia");
    ASSERT_NE(nullptr, order);
    PostMessageA(order, WM_COMMAND, ORD_SAVE, 0);
    EXPECT_EQ(0u, Answer("Information", IDOK).find("The order "));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(order) && Rows() == kOrders + 1; })) << Rows();
    const std::string added = Cell(list_, kOrders, 0);
    EXPECT_LT(keys_.back(), atoll(added.c_str()));
    SelectOnly(list_, kOrders);
    PostMessageA(main_, WM_COMMAND, CMD_CORRECT, 0);
    order = WaitTop("oknoZamowienia");
    ASSERT_NE(nullptr, order);
    SendMessageA(PageItem(order, 10155), WM_SETTEXT, 0, (LPARAM) "REMOTE-7");
    PostMessageA(order, WM_COMMAND, ORD_SAVE, 0);
    EXPECT_NE(std::string::npos, Answer("Information", IDOK).find("corrected"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(order); }));
    EXPECT_EQ("REMOTE-7", Cell(list_, kOrders, 3));
    EXPECT_EQ(added, Cell(list_, kOrders, 0));

    // Three rows deleted at once.
    SetSelected(list_, -1, false);
    for (int row : {2, 3, 4}) SetSelected(list_, row, true);
    PostMessageA(main_, WM_COMMAND, CMD_DELETE, 0);
    EXPECT_NE(std::string::npos, Answer("Note", IDYES).find("delete"));
    ASSERT_TRUE(WaitUntil([&] { return Rows() == kOrders - 2; })) << Rows();
    for (int i : {2, 3, 4}) EXPECT_EQ(-1, FindKey(list_, keys_[(size_t)i]));
    EXPECT_EQ(4, FindKey(list_, keys_[7])) << "the rows below moved up three";

    // "Search..." finds an order deep in the list and opens it.
    const std::string number = Cell(list_, 15000, 2);
    PostMessageA(main_, WM_COMMAND, CMD_SEARCH, 0);
    HWND search = WaitTop("#32770", "Searched order's number");
    ASSERT_NE(nullptr, search);
    SendMessageA(GetDlgItem(search, IDC_SEARCH_TEXT), WM_SETTEXT, 0, (LPARAM)number.c_str());
    PostMessageA(search, WM_COMMAND, IDOK, 0);
    order = WaitTop("oknoZamowienia");
    ASSERT_NE(nullptr, order);
    EXPECT_EQ(number, TextOf(GetDlgItem(order, 10129)));
    PostMessageA(order, WM_COMMAND, ORD_CANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(order); }));

    // What the database holds afterwards.
    PostMessageA(main_, WM_CLOSE, 0, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi_.hProcess, 20000));
    main_ = nullptr;
    ASSERT_EQ(1, DbOpen("kelvaroDemo.db", msg)) << msg;
    EXPECT_EQ(kOrders - 2, DbCountRows("T_Zam", nullptr, nullptr));
    char sql[96];
    snprintf(sql, sizeof sql, "kluczZam = %lld AND status = 5", (long long)keys_[20]);
    EXPECT_EQ(1, DbCountRows("T_Zam", nullptr, sql));
    snprintf(sql, sizeof sql, "kluczZam = %s AND dodOznaczZam = 'REMOTE-7'", added.c_str());
    EXPECT_EQ(1, DbCountRows("T_Zam", nullptr, sql));
    DbClose();
}

}  // namespace
