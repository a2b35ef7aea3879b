// The order window driven through its messages from inside its own loop:
// opening in each mode from the register, the commands of the order and of
// its windows, the pages, the window cells, and the accessories with their
// dialog. The designer and the printout are stood in for through the
// window's pointers; every box is answered through the program's seam.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "db/connection.h"
#include "db/names.h"
#include "db/newdb.h"
#include "db/orders.h"
#include "db/tables.h"
#include "model/description.h"
#include "resources/resource.h"
#include "tests/native/sample_orders.h"
#include "tests/native/sample_windows.h"
#include "tests/native/testdb.h"
#include "tests/win/harness.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/order_driver.h"
#include "ui/order/order_rc.h"
#include "ui/order/order_window.h"
#include "util/amounttext.h"
#include "util/dpi_win.h"
#include "util/heap.h"
#include "util/help_win.h"
#include "util/keys_win.h"
#include "util/kvutil.h"
#include "valuation/valuation.h"

namespace {

// ---- Stand-ins for the designer and the printout -----------------------------------

struct DesignerCall {
    int editable;
    int32_t quantity;
    int32_t status;
    int32_t operations;
    strGrubProf thickness;
    int32_t muntin;
};
std::vector<DesignerCall> g_designed;
// What the stand-in does with the window: 0 cancel, 1 draw a one-sash window,
// 2 make the frame 100 mm wider.
int g_designAction = 0;

void OneSashWindow(strOkno* w) {
    KvFree(w->oper);
    w->oper = nullptr;
    w->liczbaOper = 0;
    const uniOperRys ops[] = {DrawFrame(1000, 1200), SashElement(3, 1, 0), DrawFilling(0, "Float 4/16/4", 1)};
    for (const uniOperRys& op : ops) AddDrawOp(&w->oper, &w->liczbaOper, &op, nullptr);
    w->cenaZReki = 50000;  // 500.00
}

int StandInDesigner(HWND, strOkno* w, const strZam*, const DrawSet*, int editable) {
    g_designed.push_back({editable, w->ilOkien, w->status, w->liczbaOper, w->sGrubProf, w->grubSzpros});
    switch (g_designAction) {
        case 1: OneSashWindow(w); return 1;
        case 2: w->oper[0].rama.x1 += 100; return 1;
        default: return 0;
    }
}

int g_printed = 0;
void StandInPrint(HWND, strZamRob*, const DrawSet* set) {
    // The print copy has its own black pens where the screen has colour.
    if (set->penNavy && set->penNavy != g_app.draw.penNavy && set->brushRed == GetStockObject(BLACK_BRUSH))
        g_printed++;
}

std::string g_help;
void RecordHelp(const char* target, void*) { g_help = target; }

const char kQuestionUnsaved[] = "The order has not been saved !\r\nDo you want to continue ?";

class OrderWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        g_designed.clear();
        g_designAction = 0;
        g_printed = 0;
        g_orderDesigner = StandInDesigner;
        g_orderPrint = StandInPrint;
        SetHelpHook(RecordHelp, nullptr);
        char msg[2048];
        ASSERT_EQ(1, DbCreateFile("kelvaroDemo.db", 2010, msg)) << msg;
        ASSERT_EQ(1, DbOpen("kelvaroDemo.db", msg)) << msg;
        stored_ = SaveTestOrder(3, 3, 3, msg);
        DbClose();
        ASSERT_NE(0, stored_) << msg;
        main_ = CreateMainWindowForTest();
        ASSERT_NE(nullptr, main_);
        register_ = GetDlgItem(main_, IDC_ORDERS);
        ResetHarness();
    }
    void TearDown() override {
        FreeAndZeroOrder(&z_);
        DestroyMainWindowForTest(main_);
        SetHelpHook(nullptr, nullptr);
    }
    // The stored order in the working record, as the register opens it.
    void LoadStored(bool correct) {
        char msg[2048];
        ASSERT_EQ(1, LoadOrder(stored_, &z_, msg)) << msg;
        RecomputeOrder(&z_, kRecomputeAll);
        if (correct) z_.flagiWidoku = 4;
        row_ = 0;
    }
    // A new order as "New" makes it.
    void MakeNew() {
        RenumberOrder(&z_, &g_app.vars, &g_app.settings);
        SetOrderDefaults(&z_, &g_app.settings);
        RecomputeOrder(&z_, kRecomputeAll);
        row_ = -1;
    }
    int Open(Script* s) {
        return RunScripted([&] { return RunOrderWindow(main_, &z_, &row_, &g_app.draw); }, s);
    }
    int64_t Count(const char* sql) {
        char msg[2048];
        int64_t n = -1;
        EXPECT_EQ(kDbQueryValue, DbQueryValue(sql, kDbInt64, &n, 8, msg)) << msg;
        return n;
    }
    std::string StoredNumber() { return ListCell(register_, 0, 2); }
    void SelectRegisterRow(int row) { SelectRow(register_, row); }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> v;
        for (const ShownBox& b : g_boxes) v.push_back(b.caption + ": " + b.text);
        return v;
    }

    ScopedTempCwd cwd_;
    HWND main_ = nullptr;
    HWND register_ = nullptr;
    int64_t stored_ = 0;
    strZamRob z_ = {};
    int row_ = -1;
};

using Texts = std::vector<std::string>;

// Fills the accessory dialog once it shows and presses OK.
struct AccessoryInput {
    const char* name;
    const char* dims;      // number of dimensions as typed; null leaves it
    const char* sizes[3];  // null past the last
    const char* unit;
    const char* price;
    const char* quantity;
};

Step FillAccessory(const AccessoryInput& in, bool pressOk = true) {
    return [in, pressOk](HWND) {
        HWND dlg = Dialog("Accessory");
        if (!dlg) return false;
        HWND name = IsWindowVisible(GetDlgItem(dlg, IDC_ACC_NAME_COMBO)) ? GetDlgItem(dlg, IDC_ACC_NAME_COMBO)
                                                                         : GetDlgItem(dlg, IDC_ACC_NAME_EDIT);
        SetWindowTextA(name, in.name);
        if (in.dims) Type(GetDlgItem(dlg, IDC_ACC_DIMS), in.dims);
        const int ids[3] = {IDC_ACC_DIM1, IDC_ACC_DIM2, IDC_ACC_DIM3};
        for (int i = 0; i < 3 && in.sizes[i]; i++) Type(GetDlgItem(dlg, ids[i]), Dec(in.sizes[i]));
        if (in.unit) Type(GetDlgItem(dlg, IDC_ACC_UNIT), in.unit);
        if (in.price) Type(GetDlgItem(dlg, IDC_ACC_PRICE), Dec(in.price));
        if (in.quantity) Type(GetDlgItem(dlg, IDC_ACC_QUANTITY), in.quantity);
        if (pressOk) SendMessageA(dlg, WM_COMMAND, IDOK, 0);
        return true;
    };
}

Step AddAccessory() {
    return [](HWND w) {
        Post(w, ORD_ACC_ADD);
        return true;
    };
}

// ---- Opening in each mode from the register ------------------------------------------

struct Seen {
    std::string title, number, cancelMenu, cancelTool, windowEdit, accEdit, accEditButton;
    bool save, saveTool, saveAs, changeStatus, changeStatusTool, correct, del, winAdd, winAddTool, winAsNew,
        winDelete, accAdd, accAddTool, accAddButton, accEditOn, accDeleteButton, buyerReadOnly, daysReadOnly,
        vatReadOnly, notesReadOnly;
    int accRows, windowEntries;
};

Step Look(Seen* s) {
    return [s](HWND w) {
        s->title = TextOf(w);
        s->number = ItemText(w, IDC_ORD_NUMBER);
        s->save = MenuEnabled(w, ORD_SAVE);
        s->saveTool = ToolEnabled(w, ORD_SAVE);
        s->saveAs = MenuEnabledAt(w, 0, 1);
        s->changeStatus = MenuEnabledAt(w, 0, 2);
        s->changeStatusTool = ToolEnabled(w, ORD_CHANGE_STATUS);
        s->correct = MenuEnabled(w, ORD_CORRECT);
        s->del = MenuEnabled(w, ORD_DELETE);
        s->cancelMenu = MenuText(w, ORD_CANCEL);
        s->cancelTool = ToolText(w, ORD_CANCEL);
        s->winAdd = MenuEnabled(w, ORD_WIN_ADD);
        s->winAddTool = ToolEnabled(w, ORD_WIN_ADD);
        s->winAsNew = MenuEnabled(w, ORD_WIN_EDIT_AS_NEW);
        s->winDelete = MenuEnabled(w, ORD_WIN_DELETE);
        s->windowEdit = MenuText(w, ORD_WIN_EDIT);
        s->accAdd = MenuEnabled(w, ORD_ACC_ADD);
        s->accAddTool = ToolEnabled(w, ORD_ACC_ADD);
        s->accAddButton = IsWindowEnabled(GetDlgItem(w, ORD_ACC_ADD)) != 0;
        s->accEdit = MenuText(w, ORD_ACC_EDIT);
        s->accEditButton = ItemText(w, ORD_ACC_EDIT);
        s->accEditOn = IsWindowEnabled(GetDlgItem(w, ORD_ACC_EDIT)) != 0;
        s->accDeleteButton = IsWindowEnabled(GetDlgItem(w, ORD_ACC_DELETE)) != 0;
        s->buyerReadOnly = ReadOnly(PageWith(w, IDC_GEN_BUYER), IDC_GEN_BUYER);
        s->daysReadOnly = ReadOnly(PageWith(w, IDC_GEN_DAYS), IDC_GEN_DAYS);
        s->vatReadOnly = ReadOnly(PageWith(w, IDC_VAL_VAT_WINDOWS), IDC_VAL_VAT_WINDOWS);
        s->notesReadOnly = ReadOnly(PageWith(w, IDC_NOTES_TEXT), IDC_NOTES_TEXT);
        s->accRows = (int)SendDlgItemMessageA(w, IDC_ORD_ACC_LIST, LVM_GETITEMCOUNT, 0, 0);
        s->windowEntries = (int)SendDlgItemMessageA(w, IDC_ORD_WINDOWS, LB_GETCOUNT, 0, 0);
        return true;
    };
}

bool AnswerSearch(void* number) {
    HWND dlg = Dialog("Searched order's number");
    if (!dlg) return false;
    SetDlgItemTextA(dlg, IDC_SEARCH_TEXT, ((std::string*)number)->c_str());
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    return true;
}

TEST_F(OrderWindowTest, OpensInEachModeFromTheRegisterWithItsEnabling) {
    enum Mode { kNew, kCorrection, kPreview };
    const std::string stored = StoredNumber();
    const std::string status3 = StatusName(&g_app.settings, 3);
    char next[64];
    snprintf(next, sizeof next, "%d-", g_app.vars.idZam + 1);
    const struct {
        int command;
        Mode mode;
        std::string title;  // number and status
        int accRows, windows;
    } cases[] = {
        {CMD_NEW, kNew, std::string(next), 0, 0},
        {CMD_EDIT_AS_NEW, kNew, std::string(next), 3, 3},
        {CMD_CORRECT, kCorrection, stored + " [" + status3 + "]", 3, 3},
        {CMD_PREVIEW, kPreview, stored + " [" + status3 + "]", 3, 3},
        {CMD_SEARCH, kPreview, stored + " [" + status3 + "]", 3, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        ResetHarness();
        SelectRegisterRow(0);
        Seen s = {};
        Script script;
        script.steps = {Look(&s), CloseWith(ORD_CANCEL)};
        std::string number = stored;
        std::unique_ptr<LoopProbe> search;
        if (c.command == CMD_SEARCH) search.reset(new LoopProbe(AnswerSearch, &number, 10000));
        RunScripted([&] { return (int)SendMessageA(main_, WM_COMMAND, c.command, 0); }, &script);
        EXPECT_EQ(0u, g_boxes.size()) << (g_boxes.empty() ? "" : g_boxes[0].text);
        EXPECT_EQ(0u, s.title.find(c.title)) << s.title;
        EXPECT_EQ(c.mode == kNew, s.title.find("[NEW]") != std::string::npos) << s.title;
        EXPECT_EQ(0u, s.title.find(s.number)) << s.number;
        const bool edit = c.mode != kPreview;
        EXPECT_EQ(edit, s.save);
        EXPECT_EQ(edit, s.saveTool);
        EXPECT_EQ(edit, s.saveAs);
        EXPECT_EQ(!edit, s.changeStatus);
        EXPECT_EQ(!edit, s.changeStatusTool);
        EXPECT_EQ(!edit, s.correct);
        EXPECT_EQ(c.mode != kNew, s.del);
        EXPECT_EQ(edit ? "Cancel" : "Exit", s.cancelMenu);
        EXPECT_EQ(edit ? "Cancel" : "Exit", s.cancelTool);
        EXPECT_EQ(edit, s.winAdd);
        EXPECT_EQ(edit, s.winAddTool);
        EXPECT_FALSE(s.winAsNew);  // nothing selected yet
        EXPECT_FALSE(s.winDelete);
        EXPECT_EQ(edit ? "Edit" : "Preview", s.windowEdit);
        EXPECT_EQ(edit, s.accAdd);
        EXPECT_EQ(edit, s.accAddTool);
        EXPECT_EQ(edit, s.accAddButton);
        EXPECT_EQ(edit ? "Edit" : "Preview", s.accEdit);
        EXPECT_EQ(edit ? "Edit" : "Preview", s.accEditButton);
        EXPECT_FALSE(s.accEditOn);
        EXPECT_FALSE(s.accDeleteButton);
        EXPECT_EQ(!edit, s.buyerReadOnly);
        EXPECT_EQ(!edit, s.daysReadOnly);
        EXPECT_EQ(!edit, s.vatReadOnly);
        EXPECT_EQ(!edit, s.notesReadOnly);
        EXPECT_EQ(c.accRows, s.accRows);
        EXPECT_EQ(c.windows, s.windowEntries);
        EXPECT_TRUE(IsWindowEnabled(main_)) << "the register is enabled again";
    }
}

// ---- Cancel and the correction comparison -----------------------------------------------

TEST_F(OrderWindowTest, CancelAsksOnlyWhenTheCorrectionChangedSomething) {
    const struct {
        const char* what;
        bool correction;
        std::vector<Step> change;
        bool asks;
    } cases[] = {
        {"new order, typed into",
         false,
         {[](HWND w) {
             Type(GetDlgItem(PageWith(w, IDC_GEN_BUYER), IDC_GEN_BUYER), "Somebody");
             return true;
         }},
         false},
        {"correction, nothing but padding and text tails changed",
         true,
         {[this](HWND w) {
             // The buyer edited and typed back: the bytes behind the
             // terminator now differ from the snapshot's.
             HWND page = PageWith(w, IDC_GEN_BUYER);
             const std::string before = ItemText(page, IDC_GEN_BUYER);
             Type(GetDlgItem(page, IDC_GEN_BUYER), before + " and sons of a long name");
             SendMessageA(page, UM_PAGE_STORE, 0, 0);
             Type(GetDlgItem(page, IDC_GEN_BUYER), before);
             z_.zam.sWycenZamParam.rezerwa = 0x5A5A5A5A;
             strOkno& o = z_.zam.okna[0];
             memset((char*)&o + offsetof(strOkno, ilOkien) + sizeof o.ilOkien, 0x77,
                    offsetof(strOkno, cenaZReki) - offsetof(strOkno, ilOkien) - sizeof o.ilOkien);
             o.nazKolor[sizeof o.nazKolor - 2] = 'Q';
             o.oper[3].wypeln.nazwa[100] = 'Q';
             o.oper[3].wypeln.prost.left += 5;  // derived, never compared
             z_.zam.dodatki[1].nazwa[120] = 'Q';
             return true;
         }},
         false},
        {"correction, buyer changed",
         true,
         {[](HWND w) {
             Type(GetDlgItem(PageWith(w, IDC_GEN_BUYER), IDC_GEN_BUYER), "Somebody else");
             return true;
         }},
         true},
        {"correction, a window's operation changed",
         true,
         {[](HWND w) {
             g_designAction = 2;
             SelectWindowEntry(w, 2);
             Command(w, ORD_WIN_EDIT);
             return true;
         }},
         true},
        {"correction, an accessory's quantity changed",
         true,
         {[](HWND w) {
              SelectRow(GetDlgItem(w, IDC_ORD_ACC_LIST), 1);
              Post(w, ORD_ACC_EDIT);
              return true;
          },
          FillAccessory({"Sill 1", nullptr, {}, nullptr, nullptr, "5"})},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetHarness();
        FreeAndZeroOrder(&z_);
        if (c.correction) LoadStored(true);
        else MakeNew();
        const int64_t orders = Count("SELECT COUNT(*) FROM T_Zam");
        bool stayedOpen = false;
        Script script;
        script.steps = c.change;
        if (c.asks) {
            g_answers = {IDNO, IDYES};
            script.steps.push_back([&](HWND w) {
                Command(w, ORD_CANCEL);  // answered No: stays
                stayedOpen = IsWindow(w) != 0;
                return true;
            });
        }
        script.steps.push_back(CloseWith(ORD_CANCEL));
        EXPECT_EQ(0, Open(&script));
        if (c.asks) {
            EXPECT_TRUE(stayedOpen);
            EXPECT_EQ(
                (Texts{std::string("Note: ") + kQuestionUnsaved, std::string("Note: ") + kQuestionUnsaved}),
                BoxTexts());
        } else {
            EXPECT_EQ(Texts{}, BoxTexts());
        }
        EXPECT_EQ(orders, Count("SELECT COUNT(*) FROM T_Zam")) << "Cancel writes nothing";
    }
}

// ---- Save, Save as and their failures ------------------------------------------------

TEST_F(OrderWindowTest, SaveAndSaveAsInsertOrOverwriteAndRestoreTheStatusOnFailure) {
    const std::string s2 = StatusName(&g_app.settings, 2), s3 = StatusName(&g_app.settings, 3),
                      s5 = StatusName(&g_app.settings, 5);
    const struct {
        const char* what;
        bool correction;
        const char* trigger;  // SQL that makes the save fail, or null
        std::vector<Step> work;
        int command;
        int saved;
        int32_t status;   // of the record afterwards
        std::string box;  // "%s" stands for the order number
        int64_t orders;   // rows of T_Zam afterwards
    } cases[] = {
        {"accessories only",
         false,
         nullptr,
         {AddAccessory(), FillAccessory({"Sill", "0", {}, nullptr, "12", nullptr})},
         ORD_SAVE,
         1,
         1,
         "Information: The order %s has been saved",
         2},
        {"empty order", false, nullptr, {}, ORD_SAVE, 0, 0, "Error: The order is empty", 1},
        {"one window, saved with status 3",
         false,
         nullptr,
         {[](HWND w) {
             g_designAction = 1;
             Command(w, ORD_WIN_ADD);
             return true;
         }},
         ORD_SAVE_AS_FIRST + 2,
         1,
         3,
         "Information: The order %s has been saved with status " + s3,
         2},
        {"save as failing",
         false,
         "CREATE TRIGGER refuse BEFORE INSERT ON T_Zam BEGIN SELECT RAISE(ABORT, 'refused'); END;",
         {AddAccessory(), FillAccessory({"Sill", "0", {}, nullptr, "12", nullptr})},
         ORD_SAVE_AS_FIRST + 1,
         0,
         0,
         "Error: ",
         1},
        {"correction saved with status 5",
         true,
         nullptr,
         {[](HWND w) {
             Type(GetDlgItem(PageWith(w, IDC_GEN_SYMBOL), IDC_GEN_SYMBOL), "abc");
             return true;
         }},
         ORD_SAVE_AS_FIRST + 4,
         1,
         5,
         "Information: The order %s has been corrected with status " + s5,
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetHarness();
        FreeAndZeroOrder(&z_);
        if (c.trigger) RawSql("kelvaroDemo.db", c.trigger);
        if (c.correction) LoadStored(true);
        else MakeNew();
        const int rowsBefore = (int)SendMessageA(register_, LVM_GETITEMCOUNT, 0, 0);
        bool stayedOpen = false;
        Script script;
        script.steps = c.work;
        const int command = c.command;
        script.steps.push_back([&, command](HWND w) {
            Command(w, command);
            stayedOpen = IsWindow(w) != 0;
            if (stayedOpen) Post(w, ORD_CANCEL);
            return true;
        });
        EXPECT_EQ(c.saved, Open(&script));
        EXPECT_EQ(!c.saved, stayedOpen);
        EXPECT_EQ(c.status, z_.zam.status);
        char number[64];
        snprintf(number, sizeof number, "%d-%s-%4d", z_.zam.idZam, z_.zam.sDaneUzytk.skrot, z_.zam.rok);
        CharUpperA(number);
        std::string want = c.box;
        if (want.find("%s") != std::string::npos) want.replace(want.find("%s"), 2, number);
        ASSERT_FALSE(g_boxes.empty());
        EXPECT_EQ(0u, (g_boxes[0].caption + ": " + g_boxes[0].text).find(want)) << g_boxes[0].text;
        EXPECT_EQ(c.orders, Count("SELECT COUNT(*) FROM T_Zam"));
        if (c.saved) {
            char sql[128];
            snprintf(sql, sizeof sql, "SELECT status FROM T_Zam WHERE kluczZam = %lld",
                     (long long)z_.zam.kluczZam);
            EXPECT_EQ(c.status, Count(sql));
            // The register shows the order in its row with the total it computed.
            const int row = c.correction ? 0 : rowsBefore;
            ASSERT_EQ(c.correction ? rowsBefore : rowsBefore + 1,
                      SendMessageA(register_, LVM_GETITEMCOUNT, 0, 0));
            EXPECT_EQ(number, ListCell(register_, row, 2));
            EXPECT_EQ(row, row_);
        }
        if (c.trigger) RawSql("kelvaroDemo.db", "DROP TRIGGER refuse;");
        if (c.saved && !c.correction) {
            // Put the database back to one stored order for the next case.
            char msg[2048];
            ASSERT_EQ(1, DeleteOrder(z_.zam.kluczZam, msg)) << msg;
            // The register hears of it as from an order window that deleted it.
            z_.zam.status = -1;
            int row = rowsBefore;
            SendMessageA(main_, UM_ORDER_SAVED, (WPARAM)&z_, (LPARAM)&row);
        }
    }
}

TEST_F(OrderWindowTest, AnOrderOfAccessoriesOnlyIsStoredWithItsTotalInTheRegister) {
    MakeNew();
    Script script;
    script.steps = {AddAccessory(), FillAccessory({"Sill", "1", {"1.5"}, "m", "12", "2"}),
                    CloseWith(ORD_SAVE)};
    ASSERT_EQ(1, Open(&script));
    ASSERT_EQ(2, SendMessageA(register_, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ("29,52", ListCell(register_, 1, 7));  // 2 x 12.00 + 23 %, two decimals
    char sql[160];
    snprintf(sql, sizeof sql,
             "SELECT COUNT(*) FROM T_DodatZam WHERE kluczZam = %lld AND ilosc = 2 AND nazwa = 'Sill'",
             (long long)z_.zam.kluczZam);
    EXPECT_EQ(1, Count(sql));
    EXPECT_EQ(z_.zam.idZam, Count("SELECT idZam FROM T_Zmienne")) << "its number is the last one given";
}

// A "NEW" order opened from the register is rewritten by Save, not stored a
// second time under its number (which would also take the last order number
// back to it).
TEST_F(OrderWindowTest, SavingAStoredNewOrderRewritesIt) {
    char msg[2048];
    const int64_t key = SaveTestOrder(1, 0, 0, msg);
    ASSERT_NE(0, key) << msg;
    ASSERT_EQ(1, LoadOrder(key, &z_, msg)) << msg;
    RecomputeOrder(&z_, kRecomputeAll);
    row_ = -1;
    const int64_t last = Count("SELECT idZam FROM T_Zmienne");
    Script script;
    script.steps = {CloseWith(ORD_SAVE)};
    EXPECT_EQ(1, Open(&script));
    EXPECT_EQ(2, Count("SELECT COUNT(*) FROM T_Zam"));
    char sql[128];
    snprintf(sql, sizeof sql, "SELECT status FROM T_Zam WHERE kluczZam = %lld", (long long)key);
    EXPECT_EQ(1, Count(sql));
    EXPECT_EQ(last, Count("SELECT idZam FROM T_Zmienne"));
    EXPECT_EQ(key, z_.zam.kluczZam);
}

TEST_F(OrderWindowTest, EditAsNewFromTheRegisterSavesASecondOrder) {
    SelectRegisterRow(0);
    Script script;
    script.steps = {CloseWith(ORD_SAVE)};
    RunScripted([&] { return (int)SendMessageA(main_, WM_COMMAND, CMD_EDIT_AS_NEW, 0); }, &script);
    EXPECT_EQ(2, Count("SELECT COUNT(*) FROM T_Zam"));
    EXPECT_EQ(2, Count("SELECT idZam FROM T_Zmienne"));
    EXPECT_EQ(2, SendMessageA(register_, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ("\tLast order number: 2", StatusBarPart(main_, 1));
}

// ---- Status change and deletion in preview ---------------------------------------------

TEST_F(OrderWindowTest, ChangeStatusInPreviewKeepsTheWindowOpenAndUpdatesTheRegister) {
    const std::string number = StoredNumber();
    const std::string s5 = StatusName(&g_app.settings, 5);
    SelectRegisterRow(0);
    std::string title, label;
    bool open = false;
    HMENU statusMenu = nullptr, shownMenu = nullptr;
    Script script;
    script.steps = {[&](HWND w) {
                        // The toolbar's "Change status" itself, not only its
                        // arrow, opens the submenu.
                        statusMenu = GetSubMenu(GetSubMenu(GetMenu(w), 0), 2);
                        Post(w, ORD_CHANGE_STATUS);
                        return true;
                    },
                    [&](HWND) {
                        HWND popup = FindWindowA("#32768", nullptr);
                        if (!popup || !IsWindowVisible(popup)) return false;
                        shownMenu = (HMENU)SendMessageA(popup, MN_GETHMENU, 0, 0);
                        EndMenu();
                        return true;
                    },
                    [&](HWND w) {
                        Command(w, ORD_STATUS_FIRST + 4);
                        open = IsWindow(w) != 0;
                        title = TextOf(w);
                        label = ItemText(PageWith(w, IDC_GEN_STATUS), IDC_GEN_STATUS);
                        return true;
                    },
                    CloseWith(ORD_CANCEL)};
    RunScripted([&] { return (int)SendMessageA(main_, WM_COMMAND, CMD_PREVIEW, 0); }, &script);
    ASSERT_NE(nullptr, statusMenu);
    EXPECT_EQ(statusMenu, shownMenu);
    EXPECT_TRUE(open);
    EXPECT_EQ(number + " [" + s5 + "]", title);
    EXPECT_EQ(s5, label);
    EXPECT_EQ((Texts{"Information: Status of the order " + number + " has been changed to " + s5}),
              BoxTexts());
    EXPECT_EQ(s5, ListCell(register_, 0, 1));
    EXPECT_EQ(5, Count("SELECT status FROM T_Zam"));
}

TEST_F(OrderWindowTest, DeleteOrderRemovesItFromTheDatabaseAndTheRegister) {
    const std::string number = StoredNumber();
    SelectRegisterRow(0);
    g_answers = {IDYES};
    Script script;
    script.steps = {CloseWith(ORD_DELETE)};
    EXPECT_EQ(0, RunScripted([&] { return (int)SendMessageA(main_, WM_COMMAND, CMD_PREVIEW, 0); }, &script));
    EXPECT_EQ((Texts{"Note: Do you want to delete the order " + number + " ?",
                     "Information: The order " + number + " has been deleted"}),
              BoxTexts());
    for (const char* table : {"T_Zam", "T_Okno", "T_OperRysDb", "T_DodatZam"}) {
        EXPECT_EQ(0, Count((std::string("SELECT COUNT(*) FROM ") + table).c_str())) << table;
    }
    EXPECT_EQ(0, SendMessageA(register_, LVM_GETITEMCOUNT, 0, 0));
}

// ---- The windows list ---------------------------------------------------------------------

std::vector<int> EntryData(HWND w) {
    std::vector<int> v;
    HWND list = GetDlgItem(w, IDC_ORD_WINDOWS);
    int n = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; i++) v.push_back((int)SendMessageA(list, LB_GETITEMDATA, i, 0));
    return v;
}

TEST_F(OrderWindowTest, WindowCommandsKeepEntriesEqualToWindowIndexes) {
    LoadStored(true);
    z_.zam.okna[2].ilOkien = 7;
    std::vector<int> afterDelete, afterAsNew;
    g_answers = {IDYES, IDOK, IDYES};  // delete, the error, leaving unsaved
    Script script;
    script.steps = {[&](HWND w) {
                        SelectWindowEntry(w, 0);
                        EXPECT_TRUE(MenuEnabled(w, ORD_WIN_DELETE));
                        Command(w, ORD_WIN_DELETE);
                        afterDelete = EntryData(w);
                        EXPECT_FALSE(MenuEnabled(w, ORD_WIN_DELETE)) << "the selection is gone";
                        Command(w, ORD_WIN_EDIT);  // nothing selected
                        g_designAction = 1;
                        SelectWindowEntry(w, 1);
                        Command(w, ORD_WIN_EDIT_AS_NEW);
                        afterAsNew = EntryData(w);
                        return true;
                    },
                    CloseWith(ORD_CANCEL)};
    Open(&script);
    EXPECT_EQ((std::vector<int>{0, 1}), afterDelete);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), afterAsNew);
    ASSERT_EQ(3, z_.zam.liczbaOkien);
    EXPECT_EQ(110000, z_.zam.okna[0].cenaZReki);  // the first window is gone
    EXPECT_EQ(7, z_.zam.okna[1].ilOkien);         // the source is untouched
    EXPECT_EQ(1, z_.zam.okna[2].ilOkien);
    ASSERT_EQ(1u, g_designed.size());
    EXPECT_EQ(1, g_designed[0].quantity);
    EXPECT_EQ(1, g_designed[0].editable);
    EXPECT_EQ((Texts{"Note: Do you want to delete the window from the order ?",
                     "Error: No window is selected on the list of windows",
                     std::string("Note: ") + kQuestionUnsaved}),
              BoxTexts());
}

// The keys as keyboard input: Delete on the windows list removes the
// selected window after its question, Ctrl+S saves the order.
TEST_F(OrderWindowTest, KeysDeleteTheSelectedWindowAfterItsQuestionAndCtrlSSaves) {
    LoadStored(true);
    const int32_t before = z_.zam.liczbaOkien;
    const int64_t secondPrice = z_.zam.okna[1].cenaZReki;
    g_answers = {IDYES};
    Script script;
    script.steps = {[](HWND w) {
                        SelectWindowEntry(w, 0);
                        PressKey(w, GetDlgItem(w, IDC_ORD_WINDOWS), VK_DELETE);
                        return true;
                    },
                    [&](HWND w) {
                        if (z_.zam.liczbaOkien != before - 1) return false;
                        PressKey(w, GetDlgItem(w, IDC_ORD_WINDOWS), 'S', true);
                        return true;
                    }};
    Open(&script);
    EXPECT_EQ(secondPrice, z_.zam.okna[0].cenaZReki) << "the first window is the one gone";
    const Texts boxes = BoxTexts();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("Note: Do you want to delete the window from the order ?", boxes[0]);
    EXPECT_EQ(0u, boxes[1].find("Information: The order ")) << boxes[1];
    char sql[128];
    snprintf(sql, sizeof sql, "SELECT COUNT(*) FROM T_Okno WHERE kluczZam = %lld", (long long)stored_);
    EXPECT_EQ(before - 1, Count(sql));
}

// Escape cancels the window from its multi-line fields too (the address,
// the other information, the notes), which ask for every key.
TEST_F(OrderWindowTest, EscapeInAMultiLineFieldCancelsTheWindow) {
    for (int id : {IDC_GEN_ADDRESS, IDC_GEN_INFO, IDC_NOTES_TEXT}) {
        SCOPED_TRACE(id);
        MakeNew();
        Script script;
        script.steps = {[id](HWND w) {
            HWND page = PageWith(w, id);
            for (int turns = 0; turns < 8 && !IsWindowVisible(page); turns++) KvTurnTab(GetDlgItem(w, 10139), false);
            EXPECT_TRUE(IsWindowVisible(page));
            PressKey(w, GetDlgItem(page, id), VK_ESCAPE);
            return true;
        }};
        RunScripted([&] { return RunOrderWindow(main_, &z_, &row_, &g_app.draw); }, &script, 5000);
        FreeAndZeroOrder(&z_);
    }
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(OrderWindowTest, AddWindowGivesTheDesignerTheTemplateAndPreviewOpensItReadOnly) {
    MakeNew();
    Script script;
    script.steps = {[](HWND w) {
                        g_designAction = 1;
                        Command(w, ORD_WIN_ADD);
                        return true;
                    },
                    CloseWith(ORD_CANCEL)};
    Open(&script);
    FreeAndZeroOrder(&z_);
    LoadStored(false);
    Script preview;
    preview.steps = {[](HWND w) {
                         g_designAction = 0;
                         SelectWindowEntry(w, 1);
                         SendMessageA(w, WM_COMMAND, MAKEWPARAM(IDC_ORD_WINDOWS, LBN_DBLCLK),
                                      (LPARAM)GetDlgItem(w, IDC_ORD_WINDOWS));
                         return true;
                     },
                     CloseWith(ORD_CANCEL)};
    Open(&preview);
    ASSERT_EQ(2u, g_designed.size());
    EXPECT_EQ(1, g_designed[0].editable);
    EXPECT_EQ(4, g_designed[0].status);
    EXPECT_EQ(0, g_designed[0].operations);
    EXPECT_EQ(1, g_designed[0].quantity);
    EXPECT_EQ(50, g_designed[0].thickness.rama);
    EXPECT_EQ(20, g_designed[0].thickness.slupekRuchomy);
    EXPECT_EQ(10, g_designed[0].muntin);
    EXPECT_EQ(0, g_designed[1].editable) << "a double click in preview opens the designer read-only";
    EXPECT_EQ(2, g_designed[1].quantity);
}

// The tooltip of the windows list: the one whose tool is the list box.
BOOL CALLBACK FindListTip(HWND h, LPARAM lp) {
    char cls[32] = "";
    GetClassNameA(h, cls, sizeof cls);
    if (lstrcmpiA(cls, TOOLTIPS_CLASSA) != 0) return TRUE;
    HWND* out = (HWND*)lp;  // [0] the list, [1] the tip found
    TTTOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    for (int i = 0; SendMessageA(h, TTM_ENUMTOOLSA, i, (LPARAM)&ti); i++) {
        if ((HWND)ti.uId == out[0]) {
            out[1] = h;
            return FALSE;
        }
    }
    return TRUE;
}

TEST_F(OrderWindowTest, TheListTooltipDescribesTheWindowUnderTheMouseWithItsNotes) {
    LoadStored(false);
    strcpy(z_.zam.okna[1].uwagi, "Fitted from outside by two fitters with a crane on Monday morning early");
    std::string tip;
    Script script;
    script.steps = {[&](HWND w) {
                        HWND found[2] = {GetDlgItem(w, IDC_ORD_WINDOWS), nullptr};
                        EnumThreadWindows(GetCurrentThreadId(), FindListTip, (LPARAM)found);
                        EXPECT_NE(nullptr, found[1]);
                        // Hovering over the second cell makes it the tip's item.
                        SendMessageA(found[0], WM_MOUSEHOVER, 0, MAKELPARAM(65, 225));
                        NMTTDISPINFOA nm = {};
                        nm.hdr.hwndFrom = found[1];
                        nm.hdr.idFrom = (UINT_PTR)found[0];
                        nm.hdr.code = TTN_GETDISPINFOA;
                        SendMessageA(w, WM_NOTIFY, 0, (LPARAM)&nm);
                        if (nm.lpszText) tip = nm.lpszText;
                        return true;
                    },
                    CloseWith(ORD_CANCEL)};
    Open(&script);
    char description[4096] = "";
    ASSERT_EQ(1, DescribeWindow(&z_.zam, 1, description, sizeof description));
    EXPECT_EQ(
        std::string(description) +
            "\r\nNotes:\r\nFitted from outside by two fitters with a crane on Monday \r\nmorning early ",
        tip);
}

// The texts a cell of the windows list draws, read from a metafile.
int CALLBACK CollectTexts(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM out) {
    if (rec->iType == EMR_EXTTEXTOUTW) {
        const EMREXTTEXTOUTW* t = (const EMREXTTEXTOUTW*)rec;
        const wchar_t* s = (const wchar_t*)((const BYTE*)rec + t->emrtext.offString);
        char text[256] = "";
        WideCharToMultiByte(CP_ACP, 0, s, (int)t->emrtext.nChars, text, sizeof text - 1, nullptr, nullptr);
        ((std::vector<std::string>*)out)->push_back(text);
    } else if (rec->iType == EMR_EXTTEXTOUTA) {
        const EMREXTTEXTOUTA* t = (const EMREXTTEXTOUTA*)rec;
        ((std::vector<std::string>*)out)
            ->push_back(std::string((const char*)rec + t->emrtext.offString, t->emrtext.nChars));
    }
    return 1;
}

std::vector<std::string> CellTexts(HWND w, int entry) {
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    DRAWITEMSTRUCT d = {};
    d.CtlType = ODT_LISTBOX;
    d.CtlID = IDC_ORD_WINDOWS;
    d.itemID = entry;
    d.itemAction = ODA_DRAWENTIRE;
    d.hwndItem = GetDlgItem(w, IDC_ORD_WINDOWS);
    d.hDC = dc;
    d.rcItem = {0, 0, 130, 150};
    d.itemData = SendMessageA(d.hwndItem, LB_GETITEMDATA, entry, 0);
    SendMessageA(w, WM_DRAWITEM, IDC_ORD_WINDOWS, (LPARAM)&d);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    std::vector<std::string> texts;
    EnumEnhMetaFile(nullptr, emf, CollectTexts, &texts, nullptr);
    DeleteEnhMetaFile(emf);
    return texts;
}

TEST_F(OrderWindowTest, ACellShowsQuantityAndUnitPricesInTheOrdersCurrencyAtEveryScale) {
    LoadStored(true);
    std::vector<std::string> before, after;
    std::map<int, std::string> labels;
    std::string netBefore, netAfter;
    Script script;
    script.steps = {
        [&](HWND w) {
            before = CellTexts(w, 1);
            netBefore = ItemText(w, IDC_ORD_NET);
            z_.sumy.oknaNetto = z_.sumy.dodatNetto = 0;  // mask 0x11 recomputes both
            HWND page = PageWith(w, IDC_VAL_CURRENCY);
            HWND combo = GetDlgItem(page, IDC_VAL_CURRENCY);
            int usd = (int)SendMessageA(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM) "USD");
            SendMessageA(combo, CB_SETCURSEL, usd, 0);
            SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_VAL_CURRENCY, CBN_SELCHANGE), (LPARAM)combo);
            after = CellTexts(w, 1);
            netAfter = ItemText(w, IDC_ORD_NET);
            for (int id : {IDC_ORD_NET_CUR, IDC_ORD_GROSS_CUR, IDC_ORD_DISCOUNT_CUR, IDC_ORD_ACC_NET_CUR,
                           IDC_ORD_ACC_GROSS_CUR}) {
                labels[id] = ItemText(w, id);
            }
            for (int id :
                 {IDC_VAL_ASSEMBLY_COST_CUR, IDC_VAL_DISASSEMBLY_COST_CUR, IDC_VAL_DISCOUNT_CUR, IDC_VAL_ASSEMBLY_UNIT}) {
                labels[id] = ItemText(page, id);
            }
            return true;
        },
        CloseWith(ORD_SAVE)};
    EXPECT_EQ(1, Open(&script));
    EXPECT_EQ((Texts{"2 pcs", "Net: 1 100,00 EUR", "Gross: 1 188,00 EUR"}), before);
    EXPECT_EQ((Texts{"2 pcs", "Net: 1 100,00 USD", "Gross: 1 188,00 USD"}), after);
    EXPECT_EQ(netBefore, netAfter);
    for (const auto& l : labels) {
        EXPECT_EQ(l.first == IDC_VAL_ASSEMBLY_UNIT ? "USD/m" : "USD", l.second) << l.first;
    }
    EXPECT_EQ(CurrencyCode(z_.zam.idWalZam), std::string("USD"));
}

// ---- The pages --------------------------------------------------------------------------

std::string PickerDate(HWND page, int id) {
    SYSTEMTIME st = {};
    SendDlgItemMessageA(page, id, DTM_GETSYSTEMTIME, 0, (LPARAM)&st);
    char text[16];
    snprintf(text, sizeof text, "%04d-%02d-%02d", st.wYear, st.wMonth, st.wDay);
    return text;
}

TEST_F(OrderWindowTest, DaysMoveTheFulfilmentDateAndTheOrderDateMovesTheDays) {
    MakeNew();
    strcpy(z_.zam.dataZam, "2010-07-20");
    strcpy(z_.zam.dataReal, "2010-08-03");
    std::string typed, moved, days;
    Script script;
    script.steps = {[&](HWND w) {
                        HWND page = PageWith(w, IDC_GEN_DAYS);
                        EXPECT_EQ("14", ItemText(page, IDC_GEN_DAYS));
                        Type(GetDlgItem(page, IDC_GEN_DAYS), "40");
                        typed = PickerDate(page, IDC_GEN_DATE_REAL);
                        SYSTEMTIME st = {};
                        st.wYear = 2010;
                        st.wMonth = 7;
                        st.wDay = 25;
                        SendDlgItemMessageA(page, IDC_GEN_DATE, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
                        NMDATETIMECHANGE nm = {};
                        nm.nmhdr.hwndFrom = GetDlgItem(page, IDC_GEN_DATE);
                        nm.nmhdr.idFrom = IDC_GEN_DATE;
                        nm.nmhdr.code = DTN_DATETIMECHANGE;
                        nm.st = st;
                        SendMessageA(page, WM_NOTIFY, IDC_GEN_DATE, (LPARAM)&nm);
                        moved = PickerDate(page, IDC_GEN_DATE_REAL);
                        days = ItemText(page, IDC_GEN_DAYS);
                        SendMessageA(page, UM_PAGE_STORE, 0, 0);
                        return true;
                    },
                    CloseWith(ORD_CANCEL)};
    Open(&script);
    EXPECT_EQ("2010-08-29", typed);
    EXPECT_EQ("2010-08-29", moved);
    EXPECT_EQ("35", days);
    EXPECT_STREQ("2010-07-25", z_.zam.dataZam);
    EXPECT_STREQ("2010-08-29", z_.zam.dataReal);
}

TEST_F(OrderWindowTest, AssemblyModesShowTheirFieldsAndWithoutAssemblyStoresZero) {
    LoadStored(true);
    const int fields[] = {IDC_VAL_ASSEMBLY_PRICE, IDC_VAL_ASSEMBLY_UNIT, IDC_VAL_ASSEMBLY_COST_CAPTION, IDC_VAL_ASSEMBLY_COST,
                          IDC_VAL_ASSEMBLY_COST_CUR};
    std::vector<bool> shownBySize, shownWithout, shownFixed;
    int64_t priceWithout = -1, costWithout = -1, costFixed = -1;
    std::string unitFixed, costText;
    g_answers = {IDYES};
    Script script;
    script.steps = {[&](HWND w) {
                        HWND page = PageWith(w, IDC_VAL_ASSEMBLY_NONE);
                        for (int id : fields) shownBySize.push_back(Visible(page, id));
                        SendDlgItemMessageA(page, IDC_VAL_ASSEMBLY_NONE, BM_CLICK, 0, 0);
                        for (int id : fields) shownWithout.push_back(Visible(page, id));
                        priceWithout = z_.zam.sWycenZamParam.cenaMont;
                        costWithout = z_.sumy.montNetto;
                        SendDlgItemMessageA(page, IDC_VAL_ASSEMBLY_FIXED, BM_CLICK, 0, 0);
                        Type(GetDlgItem(page, IDC_VAL_ASSEMBLY_PRICE), "250");
                        for (int id : fields) shownFixed.push_back(Visible(page, id));
                        unitFixed = ItemText(page, IDC_VAL_ASSEMBLY_UNIT);
                        costFixed = z_.sumy.montNetto;
                        costText = ItemText(page, IDC_VAL_ASSEMBLY_COST);
                        return true;
                    },
                    CloseWith(ORD_CANCEL)};
    Open(&script);
    EXPECT_EQ(std::vector<bool>(5, true), shownBySize);
    EXPECT_EQ(std::vector<bool>(5, false), shownWithout);
    EXPECT_EQ(std::vector<bool>(5, true), shownFixed);
    EXPECT_EQ(0, priceWithout);
    EXPECT_EQ(0, costWithout);
    EXPECT_EQ("EUR", unitFixed);
    EXPECT_EQ(25000, costFixed);
    EXPECT_EQ("250,00", costText);
    EXPECT_EQ(2, z_.zam.sWycenZamParam.flagi & 3);
}

TEST_F(OrderWindowTest, TheWindowKeepsItsMinimumSizeAndLaysOutItsPartsAtEveryScale) {
    MakeNew();
    RECT small = {}, list = {}, client = {}, button = {};
    int toolbar = 0, dpi = 0;
    Script script;
    script.steps = {[&](HWND w) {
                        dpi = KvDpiForWindow(w);
                        SetWindowPos(w, nullptr, 0, 0, 300, 200, SWP_NOZORDER | SWP_NOMOVE);
                        GetWindowRect(w, &small);
                        SetWindowPos(w, nullptr, 0, 0, KvScale(1100, dpi), KvScale(800, dpi),
                                     SWP_NOZORDER | SWP_NOMOVE);
                        GetClientRect(w, &client);
                        GetWindowRect(GetDlgItem(w, IDC_ORD_WINDOWS), &list);
                        MapWindowPoints(HWND_DESKTOP, w, (POINT*)&list, 2);
                        GetWindowRect(GetDlgItem(w, ORD_ACC_DELETE), &button);
                        MapWindowPoints(HWND_DESKTOP, w, (POINT*)&button, 2);
                        RECT tb;
                        GetWindowRect(GetDlgItem(w, IDC_ORD_TOOLBAR), &tb);
                        toolbar = tb.bottom - tb.top;
                        return true;
                    },
                    CloseWith(ORD_CANCEL)};
    Open(&script);
    auto px = [&](int v) { return KvScale(v, dpi); };
    EXPECT_EQ(px(800), small.right - small.left);
    EXPECT_EQ(px(600), small.bottom - small.top);
    EXPECT_EQ(toolbar, list.top);
    EXPECT_EQ(client.right, list.right);
    EXPECT_EQ(client.bottom, list.bottom);
    EXPECT_EQ(px(14) + 2 * px(79), button.left);
    EXPECT_EQ(client.bottom - px(37), button.top);
    EXPECT_EQ(px(75), button.right - button.left);
}

// ---- The pages behind the other tabs ----------------------------------------------------

// Whether the Valuation page existed when the windows list first painted.
struct FirstPaint {
    HHOOK hook = nullptr;
    HWND order = nullptr;
    WNDPROC listProc = nullptr;
    int paints = 0;
    bool valuationMade = false;
};
FirstPaint g_firstPaint;

LRESULT CALLBACK ListAtFirstPaint(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT && g_firstPaint.paints++ == 0)
        g_firstPaint.valuationMade = PageWith(g_firstPaint.order, IDC_VAL_VAT_WINDOWS) != nullptr;
    return CallWindowProcA(g_firstPaint.listProc, hwnd, msg, wp, lp);
}

LRESULT CALLBACK WatchTheList(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND) {
        const CBT_CREATEWNDA* c = (const CBT_CREATEWNDA*)lp;
        if ((c->lpcs->style & WS_CHILD) && (INT_PTR)c->lpcs->hMenu == IDC_ORD_WINDOWS) {
            g_firstPaint.order = c->lpcs->hwndParent;
            g_firstPaint.listProc =
                (WNDPROC)SetWindowLongPtrA((HWND)wp, GWLP_WNDPROC, (LONG_PTR)ListAtFirstPaint);
        }
    }
    return CallNextHookEx(g_firstPaint.hook, code, wp, lp);
}

// Valuation, Notes and Seller are made once the window has painted its
// cells, and are then where the General page is, the Valuation page with
// the order's cost of assembly.
TEST_F(OrderWindowTest, ThePagesBehindTheTabsComeAfterThePaintInPlaceAndFilled) {
    LoadStored(false);
    z_.zam.sWycenZamParam.flagi = (z_.zam.sWycenZamParam.flagi & ~kAssemblyMask) | 2;  // a fixed price
    z_.zam.sWycenZamParam.cenaMont = 12345;
    RecomputeOrder(&z_, kRecomputeAll);
    char cost[64];
    AmountDisplayText(z_.sumy.montNetto, cost, sizeof cost);
    const std::string currency = CurrencyCode(z_.zam.idWalZam);
    g_firstPaint = {};
    g_firstPaint.hook = SetWindowsHookExA(WH_CBT, WatchTheList, nullptr, GetCurrentThreadId());
    std::vector<RECT> pages;
    std::string shownCost, shownCurrency;
    Script script;
    script.steps = {[&](HWND w) {
                        HWND tab = GetDlgItem(w, IDC_ORD_TAB);
                        for (HWND p = FindWindowExA(tab, nullptr, "#32770", nullptr); p;
                             p = FindWindowExA(tab, p, "#32770", nullptr)) {
                            RECT r;
                            GetWindowRect(p, &r);
                            pages.push_back(r);
                        }
                        HWND v = PageWith(w, IDC_VAL_ASSEMBLY_COST);
                        shownCost = ItemText(v, IDC_VAL_ASSEMBLY_COST);
                        shownCurrency = ItemText(v, IDC_VAL_ASSEMBLY_COST_CUR);
                        return true;
                    },
                    CloseWith(ORD_CANCEL)};
    Open(&script);
    UnhookWindowsHookEx(g_firstPaint.hook);
    EXPECT_GE(g_firstPaint.paints, 1);
    EXPECT_FALSE(g_firstPaint.valuationMade);
    ASSERT_EQ(4u, pages.size());
    for (const RECT& r : pages) EXPECT_TRUE(EqualRect(&r, &pages[0]));
    EXPECT_EQ(cost, shownCost);
    EXPECT_EQ(currency, shownCurrency);
}

// Every text of the window and its four pages fits its control, and a cell
// of the windows' list and the totals' fields are their 96-dpi sizes at the
// window's dpi. The accessory dialog's texts fit too.
TEST_F(OrderWindowTest, TextsFitAndCellsTakeTheScaleAtEveryScale) {
    LoadStored(true);
    std::vector<std::string> tooLong;
    int dpi = 0, cellWidth = 0, cellHeight = 0, totalWidth = 0, quantityColumn = 0;
    int discountBottom = 0, tabLine = 0;
    Script script;
    script.steps = {[&](HWND w) {
                        dpi = KvDpiForWindow(w);
                        HWND tab = GetDlgItem(w, IDC_ORD_TAB);
                        RECT r, header;
                        GetWindowRect(GetDlgItem(w, IDC_ORD_DISCOUNT_CAPTION), &r);
                        discountBottom = r.bottom;
                        GetWindowRect(tab, &r);
                        TabCtrl_GetItemRect(tab, 0, &header);
                        tabLine = r.top + header.bottom;
                        for (int page = 0; page < 4; page++) {
                            NMHDR nm = {tab, IDC_ORD_TAB, (UINT)TCN_SELCHANGING};
                            SendMessageA(w, WM_NOTIFY, IDC_ORD_TAB, (LPARAM)&nm);
                            TabCtrl_SetCurSel(tab, page);
                            nm.code = (UINT)TCN_SELCHANGE;
                            SendMessageA(w, WM_NOTIFY, IDC_ORD_TAB, (LPARAM)&nm);
                            for (const std::string& s : TextsThatDoNotFit(w)) tooLong.push_back(s);
                        }
                        HWND list = GetDlgItem(w, IDC_ORD_WINDOWS);
                        RECT cell = {};
                        SendMessageA(list, LB_GETITEMRECT, 0, (LPARAM)&cell);
                        cellWidth = cell.right - cell.left;
                        cellHeight = cell.bottom - cell.top;
                        RECT total;
                        GetWindowRect(GetDlgItem(w, IDC_ORD_NET), &total);
                        totalWidth = total.right - total.left;
                        quantityColumn =
                            (int)SendDlgItemMessageA(w, IDC_ORD_ACC_LIST, LVM_GETCOLUMNWIDTH, 2, 0);
                        return true;
                    },
                    AddAccessory(),
                    [&](HWND) {
                        // The accessory dialog, with its three sizes shown.
                        HWND dlg = Dialog("Accessory");
                        if (!dlg) return false;
                        Type(GetDlgItem(dlg, IDC_ACC_DIMS), "3");
                        for (const std::string& s : TextsThatDoNotFit(dlg))
                            tooLong.push_back("Accessory: " + s);
                        SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
                        return true;
                    },
                    CloseWith(ORD_CANCEL)};
    Open(&script);
    for (const std::string& s : tooLong) ADD_FAILURE() << "does not fit: " << s;
    EXPECT_EQ(KvScale(130, dpi), cellWidth);
    EXPECT_EQ(KvScale(150, dpi), cellHeight);
    EXPECT_EQ(KvScale(60, dpi), totalWidth);
    EXPECT_EQ(KvScale(40, dpi), quantityColumn);
    // The tabs' line passes below the totals, not through their last row.
    EXPECT_GE(tabLine - discountBottom, KvScale(2, dpi));
}

// Wine sends no WM_DPICHANGED: the message a move to a monitor of a quarter
// more dpi would bring is sent by hand, and the window is laid out for it
// with its icons in the sizes of that dpi.
TEST_F(OrderWindowTest, AMoveToAnotherDpiLaysTheOrderWindowOutForItAtEveryScale) {
    LoadStored(true);
    int to = 0, cellWidth = 0, cellHeight = 0, totalWidth = 0, labelHeight = 0, smallIcon = 0, bigIcon = 0;
    std::vector<std::string> tooLong;
    Script script;
    script.steps = {[&](HWND w) {
                        to = KvDpiForWindow(w) * 5 / 4;
                        RECT suggested = {0, 0, KvScale(1100, to), KvScale(800, to)};
                        SendMessageA(w, WM_DPICHANGED, MAKEWPARAM(to, to), (LPARAM)&suggested);
                        RECT cell = {}, r;
                        SendDlgItemMessageA(w, IDC_ORD_WINDOWS, LB_GETITEMRECT, 0, (LPARAM)&cell);
                        cellWidth = cell.right - cell.left;
                        cellHeight = cell.bottom - cell.top;
                        GetWindowRect(GetDlgItem(w, IDC_ORD_NET), &r);
                        totalWidth = r.right - r.left;
                        GetWindowRect(GetDlgItem(w, IDC_ORD_NUMBER_CAPTION), &r);
                        labelHeight = r.bottom - r.top;
                        for (const std::string& s : TextsThatDoNotFit(w)) tooLong.push_back(s);
                        smallIcon = IconWidth((HICON)SendMessageA(w, WM_GETICON, ICON_SMALL, 0));
                        bigIcon = IconWidth((HICON)SendMessageA(w, WM_GETICON, ICON_BIG, 0));
                        return true;
                    },
                    CloseWith(ORD_CANCEL)};
    Open(&script);
    EXPECT_EQ(KvSystemMetricForDpi(SM_CXSMICON, to), smallIcon);
    EXPECT_EQ(KvSystemMetricForDpi(SM_CXICON, to), bigIcon);
    EXPECT_EQ(KvScale(130, to), cellWidth);
    EXPECT_EQ(KvScale(150, to), cellHeight);
    EXPECT_EQ(KvScale(60, to), totalWidth);
    EXPECT_EQ(KvScale(15, to), labelHeight);
    for (const std::string& s : tooLong) ADD_FAILURE() << "does not fit: " << s;
}

// A preview's toolbar, rebuilt for another dpi, still says "Exit" and keeps
// Save off.
TEST_F(OrderWindowTest, APreviewKeepsExitAfterAMoveToAnotherDpiAtEveryScale) {
    LoadStored(false);
    std::string exit, help;
    bool save = true, status = false;
    Script script;
    script.steps = {[&](HWND w) {
                        const int to = KvDpiForWindow(w) * 3 / 2;
                        RECT suggested = {0, 0, KvScale(1100, to), KvScale(800, to)};
                        SendMessageA(w, WM_DPICHANGED, MAKEWPARAM(to, to), (LPARAM)&suggested);
                        exit = ToolText(w, ORD_CANCEL);
                        help = ToolText(w, ORD_HELP);
                        save = ToolEnabled(w, ORD_SAVE);
                        status = ToolEnabled(w, ORD_CHANGE_STATUS);
                        return true;
                    },
                    CloseWith(ORD_CANCEL)};
    Open(&script);
    EXPECT_EQ("Exit", exit);
    EXPECT_EQ("Help", help);
    EXPECT_FALSE(save);
    EXPECT_TRUE(status);
}

TEST_F(OrderWindowTest, PrintUsesTheBlackCopyAndHelpOpensTopicTwo) {
    LoadStored(false);
    Script script;
    script.steps = {[](HWND w) {
                        Command(w, ORD_PRINT);
                        Command(w, ORD_HELP);
                        return true;
                    },
                    CloseWith(ORD_CANCEL)};
    Open(&script);
    EXPECT_EQ(1, g_printed);
    EXPECT_EQ(HelpTarget(2), g_help);
}

// ---- Accessories ---------------------------------------------------------------------------

TEST_F(OrderWindowTest, AccessorySizesAndTheirDimensionFields) {
    MakeNew();
    struct Case {
        AccessoryInput in;
        std::string sizeColumn, result, group;
        bool groupShown;
        int64_t stored[3];
    };
    const Case cases[] = {
        {{"Board", "2", {"1.25", "0.8"}, "m2", "10", nullptr},
         "1 m2",
         "1 m2",
         "Dimension",
         true,
         {12500, 8000, 0}},
        {{"Tile", "2", {"0.3333", "0.3333"}, "m2", "10", nullptr},
         "0,1111 m2",
         "0,1111 m2",
         "Dimension",
         true,
         {3333, 3333, 0}},
        {{"Handle", "0", {}, nullptr, "10", nullptr}, "", "", "", false, {0, 0, 0}},
        {{"Sill", "3", {"2", "3", "4"}, "m", "10", nullptr}, "", "", "", true, {20000, 0, 0}},
    };
    std::vector<std::string> results, groups;
    std::vector<bool> shown;
    Script script;
    for (size_t i = 0; i < 4; i++) {
        const Case& c = cases[i];
        script.steps.push_back(AddAccessory());
        script.steps.push_back(FillAccessory(c.in, false));
        script.steps.push_back([&, i](HWND) {
            HWND dlg = Dialog("Accessory");
            if (i == 3) Type(GetDlgItem(dlg, IDC_ACC_DIMS), "1");  // three lowered to one
            results.push_back(ItemText(dlg, IDC_ACC_RESULT));
            groups.push_back(ItemText(dlg, IDC_ACC_GROUP));
            shown.push_back(Visible(dlg, IDC_ACC_GROUP));
            SendMessageA(dlg, WM_COMMAND, IDOK, 0);
            return true;
        });
    }
    script.steps.push_back(CloseWith(ORD_CANCEL));
    Open(&script);
    ASSERT_EQ(4, z_.zam.liczbaDodat);
    for (size_t i = 0; i < 4; i++) {
        SCOPED_TRACE(cases[i].in.name);
        const strDodatZam& d = z_.zam.dodatki[i];
        EXPECT_EQ((int)i, d.iKolej);
        for (int k = 0; k < 3; k++) EXPECT_EQ(cases[i].stored[k], d.wymiar[k]) << k;
        EXPECT_EQ(cases[i].groupShown, (bool)shown[i]);
        if (i < 3) {
            EXPECT_EQ(cases[i].result, results[i]);
        }
        if (cases[i].groupShown) {
            EXPECT_EQ(i == 3 ? "Size" : cases[i].group, groups[i]);
        }
    }
    EXPECT_EQ("m", results[3]) << "one dimension shows the unit alone";
}

TEST_F(OrderWindowTest, AccessoryListRowsShowSizeQuantityAndGrossTotal) {
    MakeNew();
    std::vector<std::vector<std::string>> rows;
    Script script;
    script.steps = {AddAccessory(),
                    FillAccessory({"Board", "2", {"1.25", "0.8"}, "m2", "1000", "3"}),
                    AddAccessory(),
                    FillAccessory({"Handle", "0", {}, nullptr, "12.5", nullptr}),
                    [&](HWND w) {
                        HWND list = GetDlgItem(w, IDC_ORD_ACC_LIST);
                        for (int r = 0; r < 2; r++) {
                            rows.push_back({ListCell(list, r, 0), ListCell(list, r, 1), ListCell(list, r, 2),
                                            ListCell(list, r, 3)});
                        }
                        rows.push_back({ItemText(w, IDC_ORD_ACC_NET), ItemText(w, IDC_ORD_ACC_GROSS)});
                        return true;
                    },
                    CloseWith(ORD_CANCEL)};
    Open(&script);
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ((Texts{"Board", "1 m2", "3", "3 690,00"}), rows[0]);  // 3 x 1 000.00 + 23 %
    EXPECT_EQ((Texts{"Handle", "", "1", "15,37"}), rows[1]);        // VAT 2.875: halves go down
    EXPECT_EQ((Texts{"3 012,50", "3 705,37"}), rows[2]);
}

TEST_F(OrderWindowTest, AccessoryNameIsTrimmedAndItsRegisterEntryRewrittenNotDuplicated) {
    RawSql("kelvaroDemo.db", "INSERT INTO T_ZstDodat VALUES (' pARAPET ', 1, 'm');");
    MakeNew();
    std::string unitAfterChoice, dimsAfterChoice;
    bool comboShown = false;
    Script script;
    script.steps = {
        AddAccessory(),
        [&](HWND) {
            HWND dlg = Dialog("Accessory");
            if (!dlg) return false;
            comboShown = Visible(dlg, IDC_ACC_NAME_COMBO) && !Visible(dlg, IDC_ACC_NAME_EDIT);
            HWND combo = GetDlgItem(dlg, IDC_ACC_NAME_COMBO);
            SendMessageA(combo, CB_SETCURSEL, 0, 0);
            SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_ACC_NAME_COMBO, CBN_SELCHANGE), (LPARAM)combo);
            unitAfterChoice = ItemText(dlg, IDC_ACC_UNIT);
            dimsAfterChoice = ItemText(dlg, IDC_ACC_DIMS);
            return true;
        },
        FillAccessory({"  Parapet  ", "2", {"1", "2"}, "m2", "10", nullptr}), CloseWith(ORD_CANCEL)};
    Open(&script);
    EXPECT_TRUE(comboShown);
    EXPECT_EQ("m", unitAfterChoice);
    EXPECT_EQ("1", dimsAfterChoice);
    ASSERT_EQ(1, z_.zam.liczbaDodat);
    EXPECT_STREQ("Parapet", z_.zam.dodatki[0].nazwa);
    EXPECT_EQ(1, Count("SELECT COUNT(*) FROM T_ZstDodat"));
    EXPECT_EQ(1,
              Count("SELECT COUNT(*) FROM T_ZstDodat WHERE nazwa = 'Parapet' AND ilWym = 2 AND jm = 'm2'"));
}

TEST_F(OrderWindowTest, DeletingTheFirstOfThreeAccessoriesKeepsRowsAndArrayInStep) {
    LoadStored(true);
    std::vector<LPARAM> params;
    std::vector<std::string> names;
    LRESULT defId = 0;
    bool addIsDefault = false;
    std::string net;
    g_answers = {IDYES, IDYES};
    Script script;
    script.steps = {[&](HWND w) {
                        HWND list = GetDlgItem(w, IDC_ORD_ACC_LIST);
                        SelectRow(list, 0);
                        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(w, ORD_ACC_DELETE)));
                        Command(w, ORD_ACC_DELETE);
                        for (int r = 0; r < (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); r++) {
                            params.push_back(RowParam(list, r));
                            names.push_back(ListCell(list, r, 0));
                        }
                        defId = SendMessageA(w, DM_GETDEFID, 0, 0);
                        addIsDefault =
                            (GetWindowLongA(GetDlgItem(w, ORD_ACC_ADD), GWL_STYLE) & BS_DEFPUSHBUTTON) != 0;
                        net = ItemText(w, IDC_ORD_ACC_NET);
                        return true;
                    },
                    CloseWith(ORD_CANCEL)};
    Open(&script);
    EXPECT_EQ((std::vector<LPARAM>{0, 1}), params);
    EXPECT_EQ((Texts{"Sill 1", "Sill 2"}), names);
    ASSERT_EQ(2, z_.zam.liczbaDodat);
    EXPECT_STREQ("Sill 1", z_.zam.dodatki[0].nazwa);
    EXPECT_EQ(ORD_ACC_ADD, LOWORD(defId));
    EXPECT_TRUE(addIsDefault);
    EXPECT_EQ("102,00", net);  // two lines of 2 x 25.50
    EXPECT_EQ("Note: Do you want to delete the accessory from the order ?", BoxTexts().at(0));
}

TEST_F(OrderWindowTest, InPreviewTheAccessoryDialogIsReadOnlyWithoutTheRegister) {
    RawSql("kelvaroDemo.db", "INSERT INTO T_ZstDodat VALUES ('Sill 0', 1, 'm');");
    LoadStored(false);
    std::vector<bool> readOnly;
    bool comboShown = true, okShown = true;
    std::string name, exit;
    Script script;
    script.steps = {
        [](HWND w) {
            SelectRow(GetDlgItem(w, IDC_ORD_ACC_LIST), 0);
            Post(w, ORD_ACC_EDIT);
            return true;
        },
        [&](HWND) {
            HWND dlg = Dialog("Accessory");
            if (!dlg) return false;
            comboShown = Visible(dlg, IDC_ACC_NAME_COMBO);
            okShown = Visible(dlg, IDOK);
            name = ItemText(dlg, IDC_ACC_NAME_EDIT);
            exit = ItemText(dlg, IDCANCEL);
            for (int id : {IDC_ACC_NAME_EDIT, IDC_ACC_DIMS, IDC_ACC_DIMS_SPIN, IDC_ACC_DIM1, IDC_ACC_UNIT,
                           IDC_ACC_PRICE, IDC_ACC_QUANTITY, IDC_ACC_QUANTITY_SPIN}) {
                readOnly.push_back(ReadOnly(dlg, id));
            }
            SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
            return true;
        },
        CloseWith(ORD_CANCEL)};
    Open(&script);
    EXPECT_FALSE(comboShown);
    EXPECT_FALSE(okShown);
    EXPECT_EQ("Sill 0", name);
    EXPECT_EQ("Exit", exit);
    EXPECT_EQ(std::vector<bool>(8, true), readOnly);
    EXPECT_EQ(Texts{}, BoxTexts());
}

TEST_F(OrderWindowTest, AnAccessorySizeBeyondSixtyFourBitsIsRefused) {
    MakeNew();
    const struct {
        const char* dims;
        const char* sizes[3];
    } cases[] = {{"2", {"999999999999", "999999999999"}}, {"3", {"9000000", "9000000", "9000000"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dims);
        ResetHarness();
        bool stillOpen = false;
        Script script;
        script.steps = {
            AddAccessory(),
            FillAccessory({"Beam", c.dims, {c.sizes[0], c.sizes[1], c.sizes[2]}, "m", "1", nullptr}),
            [&](HWND) {
                HWND dlg = Dialog("Accessory");
                stillOpen = dlg != nullptr;
                if (dlg) SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
                return true;
            },
            CloseWith(ORD_CANCEL)};
        Open(&script);
        EXPECT_TRUE(stillOpen);
        EXPECT_EQ((Texts{"Error: The size of the accessory is too large.\r\nEnter smaller dimensions."}),
                  BoxTexts());
        EXPECT_EQ(0, z_.zam.liczbaDodat);
    }
}

TEST_F(OrderWindowTest, AccessoryValidationMessagesComeInTheirOrder) {
    MakeNew();
    Script script;
    script.steps = {AddAccessory(),
                    [](HWND) {
                        HWND dlg = Dialog("Accessory");
                        if (!dlg) return false;
                        SendMessageA(dlg, WM_COMMAND, IDOK, 0);  // no name
                        SetDlgItemTextA(dlg, IDC_ACC_NAME_EDIT, "Box");
                        SetDlgItemTextA(dlg, IDC_ACC_DIMS, "7");  // beyond the range
                        SendMessageA(dlg, WM_COMMAND, IDOK, 0);
                        SetDlgItemTextA(dlg, IDC_ACC_DIMS, "0");
                        SetDlgItemTextA(dlg, IDC_ACC_QUANTITY, "");
                        SendMessageA(dlg, WM_COMMAND, IDOK, 0);
                        SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
                        return true;
                    },
                    CloseWith(ORD_CANCEL)};
    Open(&script);
    EXPECT_EQ((Texts{"Error: Incorrectly defined the name of the accessory",
                     "Error: Inorrectly defined number of dimension for the accessory",
                     "Error: Incorrectly defined the quantity of the accessory"}),
              BoxTexts());
    EXPECT_EQ(0, z_.zam.liczbaDodat);
}

}  // namespace
