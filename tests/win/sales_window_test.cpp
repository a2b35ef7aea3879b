// The sales overview window opened from the register's Order menu on the
// demo database: its table against the orders valued one by one, the note
// on the order in another currency, Copy's clipboard text, the months box,
// Save as PDF, and Escape giving the register back.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <inttypes.h>
#include <stdio.h>
#include <stdlib.h>

#include <map>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/sales_window.h"
#include "db/connection.h"
#include "db/newdb.h"
#include "db/orders.h"
#include "resources/resource.h"
#include "tests/native/testdb.h"
#include "tests/win/harness.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/testutil.h"
#include "util/amounttext.h"
#include "util/dpi_win.h"
#include "util/file_dialog_win.h"
#include "valuation/valuation.h"

int SaveDemoOrders(const char* path, char* msg);  // tools/mkdb/demo.cpp

namespace {

struct MonthSums {
    int64_t orders = 0, net = 0, gross = 0;
};

int CollectKey(int64_t key, void* ctx, char*) {
    ((std::vector<int64_t>*)ctx)->push_back(key);
    return kDbWalkNext;
}

std::string Money(int64_t v) {
    char t[64];
    AmountDisplayText(v, t, (int)sizeof t);
    return t;
}

// "12.34" with the locale's decimal sign, as a spreadsheet takes it.
std::string Plain(int64_t v) {
    char t[64];
    snprintf(t, sizeof t, "%" PRId64 ".%02d", v / 100, (int)(v % 100));
    return Dec(t);
}

std::string MonthName(int year, int month) {
    SYSTEMTIME st = {};
    st.wYear = (WORD)year, st.wMonth = (WORD)month, st.wDay = 1;
    char t[64] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, &st, "MMM yyyy", t, (int)sizeof t);
    return t;
}

std::string Clipboard(HWND owner) {
    std::string text;
    if (!OpenClipboard(owner)) return "(no clipboard)";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = (const char*)GlobalLock(h)) text = p;
        GlobalUnlock(h);
    }
    CloseClipboard();
    return text;
}

std::string g_pdfPath;
bool AnswerPdf(HWND, const KvFileQuestion& q, char* path, int size) {
    EXPECT_STREQ("pdf", q.extension);
    EXPECT_STREQ("sales-overview.pdf", path);
    lstrcpynA(path, g_pdfPath.c_str(), size);
    return true;
}

class SalesWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        char msg[2048];
        ASSERT_EQ(1, DbCreateFile("kelvaroDemo.db", 2010, msg)) << msg;
        ASSERT_GT(SaveDemoOrders("kelvaroDemo.db", msg), 0) << msg;
        // The first order in US dollars: counted apart, never summed.
        RawSql("kelvaroDemo.db", "UPDATE T_Zam SET idWalZam = 32 WHERE kluczZam = (SELECT MIN(kluczZam) FROM T_Zam);");
        main_ = CreateMainWindowForTest();
        ASSERT_NE(nullptr, main_);
        ResetHarness();
        Expect();
    }
    void TearDown() override {
        DestroyMainWindowForTest(main_);
        g_kvAskFile = KvAskFileSystem;
    }
    // The months' sums from each order loaded and valued alone.
    void Expect() {
        char msg[2048];
        std::vector<int64_t> keys;
        ASSERT_EQ(1, DbWalkOrderKeys(0, CollectKey, &keys, msg)) << msg;
        for (int64_t key : keys) {
            strZamRob z;
            ASSERT_EQ(1, LoadOrder(key, &z, msg)) << msg;
            RecomputeOrder(&z, kRecomputeAll);
            int y = 0, m = 0;
            sscanf(z.zam.dataZam, "%d-%d", &y, &m);
            if (z.zam.idWalZam == g_app.settings.idWalPrg && z.zam.status >= 0) {
                MonthSums& s = sums_[y * 12 + m - 1];
                s.orders++, s.net += z.sumy.zamNetto, s.gross += z.sumy.zamBrutto;
            }
            FreeOrder(&z);
        }
        ASSERT_FALSE(sums_.empty());
    }
    // Runs the window from the menu command; `step` looks at it from inside
    // its loop and returns true when it has closed it.
    template <class Step>
    void RunWindow(Step step) {
        struct Run {
            Step* step;
            HWND main;
            bool busy;  // a step that pumps messages is not entered again
        } run = {&step, main_, false};
        LoopProbe probe(
            [](void* c) {
                Run* r = (Run*)c;
                HWND w = FindWindowA(kSalesWindowClass, nullptr);
                if (!w || !IsWindowVisible(w) || r->busy) return false;
                EXPECT_FALSE(IsWindowEnabled(r->main));  // the register waits under it
                r->busy = true;
                const bool done = (*r->step)(w);
                r->busy = false;
                return done;
            },
            &run, 20000);
        SendMessageA(main_, WM_COMMAND, CMD_SALES_OVERVIEW, 0);
        EXPECT_TRUE(probe.done());
        EXPECT_EQ(nullptr, FindWindowA(kSalesWindowClass, nullptr));
        EXPECT_TRUE(IsWindowEnabled(main_));
    }
    std::map<int32_t, MonthSums> sums_;  // by year * 12 + month - 1
    ScopedTempCwd cwd_;
    HWND main_ = nullptr;
};

TEST_F(SalesWindowTest, TheOrderMenuOpensItAfterTheLinesExportAndEscapeClosesItAtEveryScale) {
    HMENU order = GetSubMenu(GetMenu(main_), 0);
    int at = -1;
    for (int i = 0; i < GetMenuItemCount(order); i++)
        if (GetMenuItemID(order, i) == CMD_EXPORT_LINES_CSV) at = i;
    ASSERT_GE(at, 0);
    char text[64] = "";
    GetMenuStringA(order, at + 1, text, (int)sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("Sales overview...", text);
    EXPECT_EQ((UINT)CMD_SALES_OVERVIEW, GetMenuItemID(order, at + 1));

    SYSTEMTIME now;
    GetLocalTime(&now);
    const int32_t current = now.wYear * 12 + now.wMonth - 1;
    RunWindow([&](HWND w) {
        HWND table = GetDlgItem(w, IDC_SALES_TABLE);
        EXPECT_EQ(12, (int)SendMessageA(table, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < 12; row++) {
            const int32_t m = current - 11 + row;
            const MonthSums s = sums_.count(m) ? sums_[m] : MonthSums();
            SCOPED_TRACE(MonthName(m / 12, m % 12 + 1));
            EXPECT_EQ(MonthName(m / 12, m % 12 + 1), ListCell(table, row, 0));
            EXPECT_EQ(std::to_string(s.orders), ListCell(table, row, 1));
            EXPECT_EQ(Money(s.net), ListCell(table, row, 2));
            EXPECT_EQ(Money(s.gross), ListCell(table, row, 3));
        }
        char note[256] = "";
        GetDlgItemTextA(w, IDC_SALES_NOTE, note, (int)sizeof note);
        EXPECT_STREQ("Not in the sums (currency other than EUR): 1 order in USD", note);

        // Copy: the table as a spreadsheet pastes it.
        SendMessageA(w, WM_COMMAND, MAKEWPARAM(IDC_SALES_COPY, BN_CLICKED), (LPARAM)GetDlgItem(w, IDC_SALES_COPY));
        const std::string copied = Clipboard(w);
        const MonthSums s = sums_[current];
        const std::string last = MonthName(now.wYear, now.wMonth) + "\t" + std::to_string(s.orders) + "\t" +
                                 Plain(s.net) + "\t" + Plain(s.gross) + "\r\n";
        EXPECT_EQ(0u, copied.find("Month\tOrders\tNet\tGross\r\n")) << copied;
        EXPECT_EQ(copied.size() - last.size(), copied.rfind(last)) << copied;
        int lines = 0;
        for (char c : copied) lines += c == '\n';
        EXPECT_EQ(13, lines);

        // 24 months: twelve more rows in front, the same last one.
        HWND months = GetDlgItem(w, IDC_SALES_MONTHS);
        SendMessageA(months, CB_SETCURSEL, 1, 0);
        SendMessageA(w, WM_COMMAND, MAKEWPARAM(IDC_SALES_MONTHS, CBN_SELCHANGE), (LPARAM)months);
        EXPECT_EQ(24, (int)SendMessageA(table, LVM_GETITEMCOUNT, 0, 0));
        EXPECT_EQ(Money(s.gross), ListCell(table, 23, 3));
        EXPECT_EQ(MonthName((current - 23) / 12, (current - 23) % 12 + 1), ListCell(table, 0, 0));

        // Every control's text fits, and the chart, the note, the table
        // and the buttons lie inside the client area one below the other.
        EXPECT_EQ(std::vector<std::string>(), TextsThatDoNotFit(w));
        RECT client;
        GetClientRect(w, &client);
        auto at = [&](int id) {
            RECT r;
            GetWindowRect(GetDlgItem(w, id), &r);
            MapWindowPoints(nullptr, w, (POINT*)&r, 2);
            return r;
        };
        const RECT chart = at(IDC_SALES_CHART), noteBox = at(IDC_SALES_NOTE), list = at(IDC_SALES_TABLE),
                   close = at(IDC_SALES_CLOSE), copy = at(IDC_SALES_COPY), combo = at(IDC_SALES_MONTHS);
        EXPECT_LE(combo.bottom, chart.top);
        EXPECT_LE(chart.bottom, noteBox.top);
        EXPECT_LE(noteBox.bottom, list.top);
        EXPECT_LE(list.bottom, copy.top);
        EXPECT_LE(close.right, client.right);
        EXPECT_LE(close.bottom, client.bottom);
        EXPECT_GT(chart.bottom - chart.top, KvScale(200, KvDpiForWindow(w)));

        // Held open a while on request, for a screenshot of the display.
        if (const char* hold = getenv("KV_SALES_HOLD_MS")) PumpMessages((DWORD)atoi(hold));
        PostMessageA(table, WM_KEYDOWN, VK_ESCAPE, 0);
        return true;
    });
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(SalesWindowTest, SaveAsPdfWritesTheChartAndTheTable) {
    g_pdfPath = "Z:\\tmp\\kvsales-" + std::to_string(GetCurrentProcessId()) + ".pdf";
    g_kvAskFile = AnswerPdf;
    SYSTEMTIME now;
    GetLocalTime(&now);
    RunWindow([](HWND w) {
        SendMessageA(w, WM_COMMAND, MAKEWPARAM(IDC_SALES_PDF, BN_CLICKED), (LPARAM)GetDlgItem(w, IDC_SALES_PDF));
        SendMessageA(w, WM_COMMAND, MAKEWPARAM(IDC_SALES_CLOSE, BN_CLICKED), (LPARAM)GetDlgItem(w, IDC_SALES_CLOSE));
        return true;
    });
    EXPECT_TRUE(g_boxes.empty()) << (g_boxes.empty() ? "" : g_boxes[0].text);
    EXPECT_EQ("%PDF-", ReadWholeFile(g_pdfPath).substr(0, 5));
    std::string error;
    const std::string text = RunPoppler("pdftotext", "-layout", g_pdfPath, &error);
    EXPECT_EQ("", error);
    EXPECT_NE(std::string::npos, text.find("Sales overview")) << text;
    EXPECT_NE(std::string::npos, text.find("1 order in USD")) << text;
    const std::string month = MonthName(now.wYear, now.wMonth);
    EXPECT_NE(std::string::npos, text.find(month + " ")) << text;  // the table's row
    EXPECT_NE(std::string::npos, text.find(Money(sums_[now.wYear * 12 + now.wMonth - 1].gross))) << text;
    DeleteFileA(g_pdfPath.c_str());
}

}  // namespace
