// The register of orders on a database with orders: filling and filtering,
// the messages of the order window, deleting, changing status and searching.
// The order window itself is stood in for through its function pointer.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/order_register.h"
#include "app/pending.h"
#include "db/connection.h"
#include "db/newdb.h"
#include "db/orders.h"
#include "resources/resource.h"
#include "tests/native/csv_records.h"
#include "tests/native/testdb.h"
#include "tests/win/harness.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/testutil.h"
#include "util/file_dialog_win.h"
#include "util/files.h"

namespace {

// What the stand-in order window was given.
struct OpenedOrder {
    int64_t key;
    int32_t idZam;
    int row;
    int32_t viewFlags;
};
std::vector<OpenedOrder> g_opened;

int RecordOrderWindow(HWND, strZamRob* z, int* row, const DrawSet*) {
    g_opened.push_back({z->zam.kluczZam, z->zam.idZam, *row, z->flagiWidoku});
    return 0;
}

// Inserts an order row with the seller abbreviation "abc".
void AddOrder(int number, int status, const char* buyer = "Buyer") {
    char sql[1024];
    snprintf(sql, sizeof sql,
             "INSERT INTO T_Zam (idZam, rok, dodOznaczZam, idWalZam, dataZam, dataReal, nazwaNabyw, "
             "adresNabyw, infDodatNabyw, waga, uwagi, status, sDaneUzytk, sWycenZamParam) "
             "SELECT %d, 2010, 'SYM', 12, '2010-07-20', '2010-08-03', '%s', '', '', 3000, 'note', %d, "
             "CAST(zeroblob(256) || 'abc' || zeroblob(525) AS BLOB), sWycenZamParam FROM T_UstUzytk;",
             number, buyer, status);
    RawSql("kelvaroDemo.db", sql);
}

class OrdersListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        g_opened.clear();
        g_orderWindow = RecordOrderWindow;
        char msg[2048];
        ASSERT_EQ(1, DbCreateFile("kelvaroDemo.db", 2010, msg)) << msg;
        AddOrder(12, 0, "Anna Nowak");
        AddOrder(13, 3, "Bob \"The Builder\"");
        AddOrder(14, 2);
        AddOrder(15, 3);
        main_ = CreateMainWindowForTest();
        ASSERT_NE(nullptr, main_);
        list_ = GetDlgItem(main_, IDC_ORDERS);
        ResetHarness();
    }
    void TearDown() override { DestroyMainWindowForTest(main_); }
    int Rows() { return (int)SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0); }
    std::string Cell(int row, int column) { return ListCell(list_, row, column); }
    int StateImage(int row) {
        return (int)(SendMessageA(list_, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) >> 12);
    }
    void Filter(int index) {
        HWND filter = GetDlgItem(main_, IDC_FILTER);
        SendMessageA(filter, CB_SETCURSEL, index, 0);
        SendMessageA(main_, WM_COMMAND, MAKEWPARAM(IDC_FILTER, CBN_SELCHANGE), (LPARAM)filter);
    }
    void Select(int row, bool on = true) {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = on ? LVIS_SELECTED : 0;
        SendMessageA(list_, LVM_SETITEMSTATE, row, (LPARAM)&item);
    }
    std::vector<std::string> Numbers() {
        std::vector<std::string> v;
        for (int r = 0; r < Rows(); r++) v.push_back(Cell(r, 2));
        return v;
    }
    int32_t StoredStatus(int number) {
        char sql[128], msg[2048];
        snprintf(sql, sizeof sql, "SELECT status FROM T_Zam WHERE idZam = %d", number);
        int32_t v = -99;
        DbQueryValue(sql, kDbInt32, &v, 4, msg);
        return v;
    }
    ScopedTempCwd cwd_;
    HWND main_ = nullptr;
    HWND list_ = nullptr;
};

using Names = std::vector<std::string>;

// ---- Filling and filtering ---------------------------------------------------

TEST_F(OrdersListTest, AllOrdersAreListedInKeyOrder) {
    ASSERT_EQ(4, Rows());
    EXPECT_EQ((Names{"12-abc-2010", "13-abc-2010", "14-abc-2010", "15-abc-2010"}), Numbers());
    EXPECT_EQ("1", Cell(0, 0));
    EXPECT_EQ("NEW", Cell(0, 1));
    EXPECT_EQ(0, StateImage(0));
    EXPECT_EQ("READY", Cell(1, 1));
    EXPECT_EQ(3, StateImage(1));
    EXPECT_EQ("SYM", Cell(0, 3));
    EXPECT_EQ("Anna Nowak", Cell(0, 4));
    EXPECT_EQ("20.07.2010", Cell(0, 5));  // the test locale's short date
    EXPECT_EQ("03.08.2010", Cell(0, 6));
    EXPECT_EQ("0,00", Cell(0, 7));  // no windows, no accessories, assembly by size
    EXPECT_EQ("0", Cell(0, 8));
    EXPECT_EQ("note", Cell(0, 9));
    EXPECT_EQ("Bob \"The Builder\"", Cell(1, 4));
}

TEST_F(OrdersListTest, FilterShowsOneStatusAndNewOrdersOnlyUnderAll) {
    Filter(3);
    EXPECT_EQ((Names{"13-abc-2010", "15-abc-2010"}), Numbers());
    Filter(2);
    EXPECT_EQ((Names{"14-abc-2010"}), Numbers());
    Filter(1);
    EXPECT_EQ(0, Rows());
    Filter(0);
    EXPECT_EQ(4, Rows());
    EXPECT_EQ(0, g_app.selectedCount);
    EXPECT_TRUE(g_boxes.empty());
}

// ---- Messages of the order window -------------------------------------------

TEST_F(OrdersListTest, SavedOrdersFollowTheFilter) {
    Filter(3);
    char msg[2048];
    strZamRob z = {};
    ASSERT_EQ(1, LoadOrder(3, &z, msg)) << msg;  // order 14, status 2
    int row = -1;
    SendMessageA(main_, UM_ORDER_SAVED, (WPARAM)&z, (LPARAM)&row);
    EXPECT_EQ(-1, row);  // status 2 does not pass
    EXPECT_EQ(2, Rows());
    z.zam.status = 3;
    SendMessageA(main_, UM_ORDER_SAVED, (WPARAM)&z, (LPARAM)&row);
    EXPECT_EQ(2, row);  // added at the end
    ASSERT_EQ(3, Rows());
    EXPECT_EQ("14-abc-2010", Cell(2, 2));
    // Rewritten in place when saved again.
    strcpy(z.zam.nazwaNabyw, "Changed");
    SendMessageA(main_, UM_ORDER_SAVED, (WPARAM)&z, (LPARAM)&row);
    EXPECT_EQ(2, row);
    EXPECT_EQ("Changed", Cell(2, 4));
    // A deleted order leaves the list whatever the filter.
    z.zam.status = -1;
    SendMessageA(main_, UM_ORDER_SAVED, (WPARAM)&z, (LPARAM)&row);
    EXPECT_EQ(-1, row);
    EXPECT_EQ(2, Rows());
    FreeAndZeroOrder(&z);
}

TEST_F(OrdersListTest, StatusMessageRewritesOnlyTheStatus) {
    char msg[2048];
    strZamRob z = {};
    ASSERT_EQ(1, LoadOrder(1, &z, msg)) << msg;
    int row = 0;
    z.zam.status = 5;
    strcpy(z.zam.nazwaNabyw, "Not shown");
    SendMessageA(main_, UM_ORDER_STATUS, (WPARAM)&z, (LPARAM)&row);
    EXPECT_EQ(0, row);
    EXPECT_EQ("INVOICED", Cell(0, 1));
    EXPECT_EQ(5, StateImage(0));
    EXPECT_EQ("Anna Nowak", Cell(0, 4));
    FreeAndZeroOrder(&z);
}

// ---- Deleting and changing status ---------------------------------------------

TEST_F(OrdersListTest, SelectedOrdersAreDeletedAfterYes) {
    Select(1);
    Select(3);
    ASSERT_EQ(2, g_app.selectedCount);
    g_answers.push_back(IDNO);
    SendMessageA(main_, WM_COMMAND, CMD_DELETE, 0);
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("Do you want to delete selected orders definitely ?", g_boxes[0].text);
    EXPECT_EQ(4, Rows());
    g_answers.push_back(IDYES);
    SendMessageA(main_, WM_COMMAND, CMD_DELETE, 0);
    EXPECT_EQ((Names{"12-abc-2010", "14-abc-2010"}), Numbers());
    EXPECT_EQ(0, g_app.selectedCount);
    EXPECT_EQ(2, DbCountRows("T_Zam", nullptr, nullptr));
    HMENU order = GetSubMenu(GetMenu(main_), 0);
    EXPECT_TRUE(GetMenuState(order, CMD_DELETE, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(OrdersListTest, NewStatusHiddenByTheFilterRemovesTheRows) {
    Filter(3);
    ASSERT_EQ(2, Rows());
    Select(0);
    Select(1);
    SendMessageA(main_, WM_COMMAND, 10022, 0);  // status 1
    EXPECT_EQ(0, Rows());
    EXPECT_EQ(1, StoredStatus(13));
    EXPECT_EQ(1, StoredStatus(15));
    EXPECT_EQ(0, g_app.selectedCount);
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(OrdersListTest, NewStatusShownByTheFilterRewritesTheRows) {
    Select(0);
    Select(2);
    SendMessageA(main_, WM_COMMAND, 10025, 0);  // status 4
    ASSERT_EQ(4, Rows());
    EXPECT_EQ("DELIVERED", Cell(0, 1));
    EXPECT_EQ(4, StateImage(0));
    EXPECT_EQ("DELIVERED", Cell(2, 1));
    EXPECT_EQ("READY", Cell(1, 1));
    EXPECT_EQ(4, StoredStatus(12));
}

// ---- Search -----------------------------------------------------------------

bool TypeSearch(void* ctx) {
    HWND dlg = FindWindowA("#32770", "Searched order's number");
    if (!dlg) return false;
    SetDlgItemTextA(dlg, IDC_SEARCH_TEXT, (const char*)ctx);
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    return true;
}

void Search(HWND main, const char* text) {
    LoopProbe probe(TypeSearch, (void*)text, 5000);
    SendMessageA(main, WM_COMMAND, CMD_SEARCH, 0);
    EXPECT_TRUE(probe.done());
}

TEST_F(OrdersListTest, SearchFindsTheNumberInAnyLetterCase) {
    Search(main_, "  12-abc-2010 ");
    ASSERT_EQ(1u, g_opened.size());
    EXPECT_EQ(1, g_opened[0].key);
    EXPECT_EQ(12, g_opened[0].idZam);
    EXPECT_EQ(0, g_opened[0].row);
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(OrdersListTest, SearchOpensAnOrderHiddenByTheFilter) {
    Filter(2);
    Search(main_, "15-ABC-2010");
    ASSERT_EQ(1u, g_opened.size());
    EXPECT_EQ(15, g_opened[0].idZam);
    EXPECT_EQ(-1, g_opened[0].row);
}

TEST_F(OrdersListTest, SearchSaysWhatWasNotFound) {
    for (const char* text : {"99-abc-2010", "12-abc-2010\" OR \"1\"=\"1", "x\"y"}) {
        SCOPED_TRACE(text);
        ResetHarness();
        Search(main_, text);
        EXPECT_TRUE(g_opened.empty());
        ASSERT_EQ(1u, g_boxes.size());
        EXPECT_EQ("Error", g_boxes[0].caption);
        std::string upper = text;
        CharUpperA(&upper[0]);
        EXPECT_EQ("The order " + upper + " has not been found", g_boxes[0].text);
    }
}

// ---- Opening orders -------------------------------------------------------------

TEST_F(OrdersListTest, PreviewCorrectAndEditAsNewOpenTheCurrentRow) {
    Select(1);
    SendMessageA(main_, WM_COMMAND, CMD_PREVIEW, 0);
    SendMessageA(main_, WM_COMMAND, CMD_CORRECT, 0);
    SendMessageA(main_, WM_COMMAND, CMD_EDIT_AS_NEW, 0);
    ASSERT_EQ(3u, g_opened.size());
    EXPECT_EQ(2, g_opened[0].key);
    EXPECT_EQ(1, g_opened[0].row);
    EXPECT_EQ(0, g_opened[0].viewFlags);
    EXPECT_EQ(kViewCorrection, g_opened[1].viewFlags);
    EXPECT_EQ(-1, g_opened[2].row);
    EXPECT_EQ(1, g_opened[2].idZam);  // renumbered: last number 0 + 1
}

TEST_F(OrdersListTest, NoCurrentRowIsAnError) {
    SendMessageA(main_, WM_COMMAND, CMD_PREVIEW, 0);
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("Error of reading the order from the list", g_boxes[0].text);
    EXPECT_TRUE(g_opened.empty());
}

}  // namespace

namespace {

// The list view's own notifications, as a click on row `row` sends them.
void NotifyFromList(HWND main, HWND list, UINT code, int row) {
    NMITEMACTIVATE nm = {};
    nm.hdr.hwndFrom = list;
    nm.hdr.idFrom = IDC_ORDERS;
    nm.hdr.code = code;
    nm.iItem = row;
    SendMessageA(main, WM_NOTIFY, IDC_ORDERS, (LPARAM)&nm);
}

TEST_F(OrdersListTest, DoubleClickOnARowPreviewsIt) {
    Select(2);
    NotifyFromList(main_, list_, NM_DBLCLK, 2);
    ASSERT_EQ(1u, g_opened.size());
    EXPECT_EQ(3, g_opened[0].key);
    EXPECT_EQ(2, g_opened[0].row);
    // Below the last row nothing opens.
    NotifyFromList(main_, list_, NM_DBLCLK, -1);
    EXPECT_EQ(1u, g_opened.size());
}

// Closes the first pop-up menu that shows and counts it.
bool CloseMenu(void* ctx) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return false;
    ++*(int*)ctx;
    EndMenu();
    return true;
}

TEST_F(OrdersListTest, RightClickOnARowOpensThePopupMenu) {
    Select(0);
    int menus = 0;
    {
        LoopProbe probe(CloseMenu, &menus, 3000);
        NotifyFromList(main_, list_, NM_RCLICK, 0);
    }
    EXPECT_EQ(1, menus);
    // Below the last row no menu opens (one that did would be closed and counted).
    menus = 0;
    {
        LoopProbe probe(CloseMenu, &menus, 3000);
        NotifyFromList(main_, list_, NM_RCLICK, -1);
    }
    EXPECT_EQ(0, menus);
}

}  // namespace

// ---- Exports -----------------------------------------------------------------

std::string g_exportPath;
bool AnswerExport(HWND, const KvFileQuestion& q, char* path, int size) {
    EXPECT_TRUE(q.save);
    lstrcpynA(path, g_exportPath.c_str(), size);
    return true;
}

std::vector<std::vector<std::string>> ReadCsv(const char* file, char separator) {
    std::string data;
    char msg[2048] = "";
    EXPECT_TRUE(KvReadWholeFile(file, &data, msg)) << msg;
    return CsvRecords(data, separator);
}

// The rows the register shows with its filter, the columns that have a
// header in the list's order, the user's decimal comma (so semicolons), the
// amounts without grouping; the order lines of the same orders.
TEST_F(OrdersListTest, ExportsWriteTheRowsTheRegisterShows) {
    RawSql("kelvaroDemo.db",
           "UPDATE T_Zam SET nazwaNabyw = 'Q \"x\", y; z' || char(13) || char(10) || 'w' "
           "WHERE idZam = 15");
    Filter(0);
    Filter(3);
    ASSERT_EQ(2, Rows());
    g_kvAskFile = AnswerExport;
    g_exportPath = "orders.csv";
    SendMessageA(main_, WM_COMMAND, CMD_EXPORT_CSV, 0);
    g_exportPath = "lines.csv";
    SendMessageA(main_, WM_COMMAND, CMD_EXPORT_LINES_CSV, 0);
    g_kvAskFile = KvAskFileSystem;
    EXPECT_TRUE(g_boxes.empty()) << g_boxes[0].text;

    const auto csv = ReadCsv("orders.csv", ';');
    ASSERT_EQ(3u, csv.size());
    HWND header = (HWND)SendMessageA(list_, LVM_GETHEADER, 0, 0);
    ASSERT_EQ(10, (int)SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int c = 1; c < 10; c++) {
        char text[64] = "";
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT;
        col.pszText = text;
        col.cchTextMax = sizeof text;
        SendMessageA(list_, LVM_GETCOLUMNA, c, (LPARAM)&col);
        EXPECT_EQ(text, csv[0][c - 1]);
    }
    for (int r = 0; r < Rows(); r++)
        for (int c = 1; c < 10; c++) EXPECT_EQ(Cell(r, c), csv[r + 1][c - 1]) << r << ", " << c;
    EXPECT_EQ("Q \"x\", y; z\r\nw", csv[2][3]);

    const auto lines = ReadCsv("lines.csv", ';');
    ASSERT_EQ(1u, lines.size());  // the orders have neither windows nor accessories
    EXPECT_EQ((Names{"Order No.", "Buyer", "Date of order", "Kind", "Name", "Size", "Quantity", "Unit net",
                     "Line net", "Line gross"}),
              lines[0]);
}
