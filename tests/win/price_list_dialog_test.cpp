// The price list dialog driven through its messages while its own modal
// loop runs: the tabs, an entry added and refused, an import refused and
// one taken, an export, OK and Cancel.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <stdio.h>

#include <functional>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/price_table.h"
#include "tests/native/testdb.h"
#include "tests/win/harness.h"
#include "tests/win/testutil.h"
#include "ui/settings/price_list_dialog.h"
#include "ui/settings/settings_rc.h"
#include "util/file_dialog_win.h"
#include "util/kvutil.h"

namespace {

using Step = std::function<bool()>;

struct Script {
    std::vector<Step> steps;
    size_t next = 0;
    bool busy = false;
};

bool Tick(void* context) {
    Script* s = (Script*)context;
    if (s->busy) return false;
    if (s->next >= s->steps.size()) return true;
    s->busy = true;
    if (s->steps[s->next]()) s->next++;
    s->busy = false;
    return false;
}

HWND Dialog(const char* caption) {
    HWND d = FindWindowA("#32770", caption);
    return d && IsWindowVisible(d) ? d : nullptr;
}
HWND PriceList() { return Dialog("Price list"); }
HWND Entry() { return Dialog("Price list entry"); }

// The text of a column's header.
std::string ListHeader(HWND list, int column) {
    char text[64] = "";
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT;
    col.pszText = text;
    col.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETCOLUMNA, column, (LPARAM)&col);
    return text;
}

int TabShown() { return (int)SendDlgItemMessageA(PriceList(), IDC_PRICE_LIST_TAB, TCM_GETCURSEL, 0, 0); }

std::string Cell(int row, int column) { return ListCell(GetDlgItem(PriceList(), IDC_PRICE_LIST_ITEMS), row, column); }
int Rows() { return (int)SendDlgItemMessageA(PriceList(), IDC_PRICE_LIST_ITEMS, LVM_GETITEMCOUNT, 0, 0); }

void ShowTab(int kind) {
    HWND tab = GetDlgItem(PriceList(), IDC_PRICE_LIST_TAB);
    SendMessageA(tab, TCM_SETCURSEL, kind, 0);
    NMHDR nm = {tab, IDC_PRICE_LIST_TAB, (UINT)TCN_SELCHANGE};
    SendMessageA(PriceList(), WM_NOTIFY, IDC_PRICE_LIST_TAB, (LPARAM)&nm);
}

// The file dialog's answer: the next name in the queue, or a cancel.
std::vector<std::string> g_files;
bool AnswerFile(HWND, const KvFileQuestion&, char* path, int size) {
    if (g_files.empty()) return false;
    snprintf(path, (size_t)size, "%s", g_files.front().c_str());
    g_files.erase(g_files.begin());
    return true;
}

void WriteFile(const char* name, const std::string& text) {
    FILE* f = fopen(name, "wb");
    ASSERT_TRUE(f);
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
}

std::string ReadFile(const char* name) {
    std::string text;
    if (FILE* f = fopen(name, "rb")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
        fclose(f);
    }
    return text;
}

class PriceListDialogTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        ResetHarness();
        g_files.clear();
        g_kvAskFile = AnswerFile;
    }
    void TearDown() override {
        g_kvAskFile = KvAskFileSystem;
        DbTest::TearDown();
    }
    int Run(std::vector<Step> steps) {
        Script script;
        script.steps = std::move(steps);
        int result;
        {
            LoopProbe probe(Tick, &script, 20000);
            result = RunPriceListDialog(nullptr);
            EXPECT_FALSE(probe.timedOut());
        }
        EXPECT_EQ(script.steps.size(), script.next) << "the script stopped at a step";
        return result;
    }
    std::vector<PriceEntry> Stored() {
        std::vector<PriceEntry> e;
        EXPECT_EQ(1, DbLoadPriceList(&e, msg_)) << msg_;
        return e;
    }
    std::string LastBox() const { return g_boxes.empty() ? "" : g_boxes.back().text; }
};

TEST_F(PriceListDialogTest, EntriesAddedRefusedImportedAndSavedAtEveryScale) {
    ScopedTempCwd cwd;
    WriteFile("bad.csv", "kind,name,rate1,rate2,rate3,rate4\r\ncolour,Oak,150\r\n");
    const std::string good =
        "\xEF\xBB\xBF"
        "kind,name,rate1,rate2,rate3,rate4\r\n"
        "profile,Norvel 70,10.00,12.00,9.00,7.00\r\n"
        "colour,Walnut,20.00,,,\r\n"
        "window,,25.00,,,\r\n";
    WriteFile("good.csv", good);
    g_files = {"bad.csv", "good.csv", "out.csv"};
    const int result = Run({
        [] {
            if (!PriceList()) return false;
            EXPECT_EQ(7, (int)SendDlgItemMessageA(PriceList(), IDC_PRICE_LIST_TAB, TCM_GETITEMCOUNT, 0, 0));
            EXPECT_EQ(0, Rows());
            for (const std::string& t : TextsThatDoNotFit(PriceList()))
                ADD_FAILURE() << "does not fit: " << t;
            // The pages turn with Ctrl+Tab and Ctrl+Shift+Tab wherever the focus is.
            PressKey(PriceList(), GetDlgItem(PriceList(), IDC_PRICE_LIST_ITEMS), VK_TAB, true);
            return true;
        },
        [] {
            if (TabShown() != kPriceColour) return false;
            EXPECT_EQ("Surcharge %", ListHeader(GetDlgItem(PriceList(), IDC_PRICE_LIST_ITEMS), 1));
            PressKey(PriceList(), GetDlgItem(PriceList(), IDC_PRICE_LIST_EXPORT), VK_TAB, true, true);
            return true;
        },
        [] {
            if (TabShown() != kPriceProfile) return false;
            PressKey(PriceList(), nullptr, VK_TAB, true, true);
            return true;
        },
        [] {
            if (TabShown() != kPriceWindow) return false;  // round to the last page
            ShowTab(kPriceColour);
            PostMessageA(PriceList(), WM_COMMAND, IDC_PRICE_LIST_ADD, 0);
            return true;
        },
        [this] {  // a surcharge over 100 % is refused and the entry dialog stays
            HWND e = Entry();
            if (!e) return false;
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(e, IDC_PRE_RATE2)));
            SetDlgItemTextA(e, IDC_PRE_NAME, " Oak ");
            SetDlgItemTextA(e, IDC_PRE_RATE1, Dec("100.01").c_str());
            SendMessageA(e, WM_COMMAND, IDOK, 0);
            EXPECT_EQ("The colour surcharge cannot be higher than 100.00 %.", LastBox());
            EXPECT_TRUE(IsWindow(e));
            SetDlgItemTextA(e, IDC_PRE_RATE1, "abc");
            SendMessageA(e, WM_COMMAND, IDOK, 0);
            EXPECT_EQ("The rate \"abc\" is not an amount.", LastBox());
            SetDlgItemTextA(e, IDC_PRE_RATE1, (Dec("15.5") + " %").c_str());  // a surcharge may say "%"
            PostMessageA(e, WM_COMMAND, IDOK, 0);
            return true;
        },
        [] {
            if (Entry()) return false;
            EXPECT_EQ(1, Rows());
            EXPECT_EQ("Oak", Cell(0, 0));
            EXPECT_EQ(Dec("15.50"), Cell(0, 1));
            PostMessageA(PriceList(), WM_COMMAND, IDC_PRICE_LIST_ADD, 0);
            return true;
        },
        [this] {  // the same name in another case is the same entry
            HWND e = Entry();
            if (!e) return false;
            SetDlgItemTextA(e, IDC_PRE_NAME, "OAK");
            SetDlgItemTextA(e, IDC_PRE_RATE1, "1");
            SendMessageA(e, WM_COMMAND, IDOK, 0);
            EXPECT_EQ("The price list already has the colour \"OAK\".", LastBox());
            PostMessageA(e, WM_COMMAND, IDCANCEL, 0);
            return true;
        },
        [this] {  // a bad file changes nothing; a good one replaces the list
            if (Entry()) return false;
            SendMessageA(PriceList(), WM_COMMAND, IDC_PRICE_LIST_IMPORT, 0);
            EXPECT_EQ("line 2, column 3: The colour surcharge cannot be higher than 100.00 %.", LastBox());
            EXPECT_EQ(1, Rows());
            SendMessageA(PriceList(), WM_COMMAND, IDC_PRICE_LIST_IMPORT, 0);
            EXPECT_EQ(1, Rows());
            EXPECT_EQ("Walnut", Cell(0, 0));
            ShowTab(kPriceProfile);
            EXPECT_EQ(Dec("12.00"), Cell(0, 2));
            SetForegroundWindow(PriceList());
            SetFocus(GetDlgItem(PriceList(), IDC_PRICE_LIST_ADD));
            EXPECT_EQ(GetDlgItem(PriceList(), IDC_PRICE_LIST_ADD), GetFocus());
            ShowTab(kPriceWindow);
            EXPECT_EQ("Every window", Cell(0, 0));
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(PriceList(), IDC_PRICE_LIST_ADD)));  // one window entry at most
            EXPECT_EQ(GetDlgItem(PriceList(), IDC_PRICE_LIST_ITEMS), GetFocus());  // not the button switched off
            SendMessageA(PriceList(), WM_COMMAND, IDC_PRICE_LIST_EXPORT, 0);
            PostMessageA(PriceList(), WM_COMMAND, IDOK, 0);
            return true;
        },
    });
    EXPECT_EQ(1, result);
    // Written in the user's form: semicolons and decimal commas in a comma locale.
    std::string exported = good;
    if (Dec(".") == ",")
        for (char& c : exported) c = c == ',' ? ';' : c == '.' ? ',' : c;
    EXPECT_EQ(exported, ReadFile("out.csv"));
    std::vector<PriceEntry> stored = Stored();
    ASSERT_EQ(3u, stored.size());
    EXPECT_STREQ("Norvel 70", stored[0].name);
    EXPECT_EQ(2000, stored[1].rates[0]);

    // Cancel keeps the stored list, whatever was done in the dialog.
    Run({[] {
        if (!PriceList()) return false;
        ShowTab(kPriceColour);
        ListView_SetItemState(GetDlgItem(PriceList(), IDC_PRICE_LIST_ITEMS), 0, LVIS_SELECTED, LVIS_SELECTED);
        SendMessageA(PriceList(), WM_COMMAND, IDC_PRICE_LIST_DELETE, 0);
        EXPECT_EQ(0, Rows());
        PostMessageA(PriceList(), WM_COMMAND, IDCANCEL, 0);
        return true;
    }});
    EXPECT_EQ(3u, Stored().size());
}

}  // namespace
