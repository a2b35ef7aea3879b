// The designer window driven through its messages: tools, Save and its
// refusals, view only, thickness and quantity moves, the filling menu, the
// registers of used elements, the panel's layout and scrolling, the Factors
// dialog and the figures of the panel.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/price_table.h"
#include "model/structure.h"
#include "render/drawset_win.h"
#include "sqlite3.h"
#include "tests/native/sample_windows.h"
#include "tests/native/price_entries.h"
#include "tests/native/testdb.h"
#include "tests/win/harness.h"
#include "tests/win/testutil.h"
#include "ui/designer/canvas_geometry.h"
#include "ui/designer/canvas_internal_win.h"
#include "ui/designer/canvas_win.h"
#include "ui/designer/designer_rc.h"
#include "ui/designer/designer_win.h"
#include "ui/designer/factors_win.h"
#include "util/dpi_win.h"
#include "util/help_win.h"
#include "util/kvutil.h"
#include "util/msgbuf.h"
#include "util/scoped_win.h"
#include "util/text_fit_win.h"
#include "util/toolbar_win.h"

namespace {

const char kDesignerClass[] = "oknoOkTrDowOkno";

// ---- Driving a modal window from inside its own loop ------------------------------------

// Steps run one after another from the loop that is running (the designer's,
// or a dialog's or menu's above it); a step returns false to be called again
// on the next tick. After the last step the designer is closed if it is
// still open.
using Step = std::function<bool()>;

struct Script {
    std::vector<Step> steps;
    size_t next = 0;
    bool busy = false;
};

bool ScriptTick(void* context) {
    Script* s = (Script*)context;
    if (s->busy) return false;
    if (s->next < s->steps.size()) {
        s->busy = true;
        if (s->steps[s->next]()) s->next++;
        s->busy = false;
        return false;
    }
    if (HWND w = FindWindowA(kDesignerClass, nullptr)) PostMessageA(w, WM_CLOSE, 0, 0);
    return true;
}

HWND Designer() { return FindWindowA(kDesignerClass, nullptr); }
HWND Panel() { return GetDlgItem(Designer(), IDC_PANEL); }
HWND Canvas() { return GetDlgItem(Designer(), IDC_CANVAS); }
HWND Toolbar() { return GetDlgItem(Designer(), IDC_DES_TOOLBAR); }
HWND Item(int id) { return GetDlgItem(Panel(), id); }
HWND Dialog(const char* title) { return FindWindowA("#32770", title); }

bool Enabled(int command) { return SendMessageA(Toolbar(), TB_ISBUTTONENABLED, command, 0) != 0; }
bool Checked(int command) { return SendMessageA(Toolbar(), TB_ISBUTTONCHECKED, command, 0) != 0; }

std::string Text(HWND h) {
    char t[1100] = "";
    GetWindowTextA(h, t, sizeof t);
    return t;
}

bool ReadOnly(HWND edit) { return (GetWindowLongA(edit, GWL_STYLE) & ES_READONLY) != 0; }

// "1#36" with the locale's decimal separator for "#" and its thousands
// separator for "~".
std::string Loc(const char* pattern) {
    std::string s;
    for (const char* p = pattern; *p; p++)
        s += *p == '#' ? DajSepDziesLocale() : *p == '~' ? DajSepTysLocale() : *p;
    return s;
}

// A click on the upper or lower arrow of an up-down.
void ClickSpin(HWND upDown, bool up) {
    RECT rc;
    GetClientRect(upDown, &rc);
    LPARAM at = MAKELPARAM(rc.right / 2, up ? 2 : rc.bottom - 3);
    SendMessageA(upDown, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(upDown, WM_LBUTTONUP, 0, at);
}

// Rows of a table as "a|b|c" lines, ordered by name.
std::vector<std::string> Rows(const char* sql) {
    std::vector<std::string> rows;
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(SQLITE_OK, sqlite3_prepare_v2(DbHandle(), sql, -1, &st, nullptr)) << sql;
    while (st && sqlite3_step(st) == SQLITE_ROW) {
        std::string line;
        for (int c = 0; c < sqlite3_column_count(st); c++) {
            if (c) line += "|";
            const char* t = (const char*)sqlite3_column_text(st, c);
            line += t ? t : "";
        }
        rows.push_back(line);
    }
    sqlite3_finalize(st);
    return rows;
}

const char* const kRegisterDumps[6] = {
    "SELECT nazwa, typ, hex(sGrubProf) FROM T_ZstProfil ORDER BY nazwa",
    "SELECT nazwa, typ FROM T_ZstKolor ORDER BY nazwa",
    "SELECT nazwa, grubSzpros FROM T_ZstSzpros ORDER BY nazwa",
    "SELECT nazwa FROM T_ZstOkucie ORDER BY nazwa",
    "SELECT nazwa FROM T_ZstListwa ORDER BY nazwa",
    "SELECT nazwa, typ FROM T_ZstWypeln ORDER BY nazwa",
};

std::vector<std::vector<std::string>> AllRegisters() {
    std::vector<std::vector<std::string>> all;
    for (const char* sql : kRegisterDumps) all.push_back(Rows(sql));
    return all;
}

// The canvas asks for the context menu of element `element`.
void ContextMenuRequest(int32_t element) {
    CanvasNotification n = {};
    n.hdr.hwndFrom = Canvas();
    n.hdr.idFrom = IDC_CANVAS;
    n.hdr.code = kCanvasCodeMenu;
    n.element = element;
    n.curPoint = POINT{300, 300};
    SendMessageA(Designer(), WM_NOTIFY, IDC_CANVAS, (LPARAM)&n);
}

// A pop-up menu of this thread open on the screen, or null.
BOOL CALLBACK FindMenuWindow(HWND h, LPARAM lp) {
    char cls[16] = "";
    GetClassNameA(h, cls, sizeof cls);
    if (strcmp(cls, "#32768") || !IsWindowVisible(h)) return TRUE;
    *(HWND*)lp = h;
    return FALSE;
}
HWND OpenMenu() {
    HWND m = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, (LPARAM)&m);
    return m;
}

std::vector<std::string> MenuItems(HMENU menu) {
    std::vector<std::string> items;
    for (int i = 0; i < GetMenuItemCount(menu); i++) {
        char t[256] = "";
        GetMenuStringA(menu, i, t, sizeof t, MF_BYPOSITION);
        items.push_back(t[0] ? t : "-");
    }
    return items;
}

// ---- Windows to design -------------------------------------------------------------------

void Geometry(TestWindow& o) {
    char msg[KV_MSG_LEN] = "";
    ASSERT_EQ(1, ComputeGeometry(o.r.oper, o.r.liczbaOper, 5, &o.r, msg)) << msg;
    ASSERT_EQ(1, CheckChange(o.r.oper, o.r.liczbaOper, nullptr, -2, 5, msg)) << msg;
}

// 1000 x 1000 fixed window glazed with "G": the Uw of 1.36.
void GlazedWindow(TestWindow& o) {
    o << DrawFrame(1000, 1000) << DrawFilling(0, "G", 0);
    o.r.sWspUw = strWspUw{130, 140, 150, 160, 110, 600, 250, 900};
    strcpy(o.r.nazProfil, "Profile");
    Geometry(o);
}

const DrawSet* g_drawSet;

class DesignerTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        ResetHarness();
        ASSERT_TRUE(CreateDrawSet(GetModuleHandleA(nullptr), &ds_));
        g_drawSet = &ds_;
        memset(&order_, 0, sizeof order_);
        order_.idWalZam = 12;  // EUR
        order_.sWycenZamParam.vatOkna = 2300;
    }
    void TearDown() override {
        DestroyDrawSet(&ds_);
        DbTest::TearDown();
    }
    // Runs the designer on `o` with the script; fails when the script did
    // not finish.
    int Run(TestWindow& o, int editable, std::vector<Step> steps, HWND owner = nullptr) {
        Script script;
        script.steps = std::move(steps);
        LoopProbe probe(ScriptTick, &script, 20000);
        int saved = RunDesigner(owner, &o.r, &order_, &ds_, editable);
        EXPECT_EQ(script.steps.size(), script.next) << "the script stopped at a step";
        EXPECT_FALSE(probe.timedOut());
        EXPECT_EQ(nullptr, Designer());
        return saved;
    }
    std::string LastBox() const { return g_boxes.empty() ? "" : g_boxes.back().text; }
    DrawSet ds_;
    strZam order_;
};

// ---- Tools ----------------------------------------------------------------------------

TEST_F(DesignerTest, NewWindowOffersOnlyPointerAndFrameUntilTheFrameIsDrawn) {
    TestWindow o;
    int saved =
        Run(o, 1,
            {
                [] {
                    EXPECT_TRUE(Enabled(CMD_DES_POINTER));
                    EXPECT_TRUE(Enabled(CMD_DES_FRAME));
                    for (int id : {CMD_DES_MULLION, CMD_DES_SASH, CMD_DES_FILLING, CMD_DES_MUNTIN})
                        EXPECT_FALSE(Enabled(id)) << id;
                    EXPECT_TRUE(Checked(CMD_DES_POINTER));
                    SendMessageA(Designer(), WM_COMMAND, CMD_DES_FRAME, 0);
                    EXPECT_TRUE(Checked(CMD_DES_FRAME));
                    EXPECT_EQ((LONG_PTR)g_drawSet->cursors[0],
                              (LONG_PTR)GetClassLongPtrA(Canvas(), GCLP_HCURSOR));
                    PostMessageA(Canvas(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
                    return true;
                },
                [this] {  // the frame's size, in the canvas's dialog; the designer's limit check answers
                    HWND d = Dialog("Dimension of frame");
                    if (!d) return false;
                    SetDlgItemTextA(d, IDC_DIMENSION_WIDTH, "10001");
                    SetDlgItemTextA(d, IDC_DIMENSION_HEIGHT, "1400");
                    SendMessageA(d, WM_COMMAND, IDOK, 0);
                    EXPECT_EQ("The frame is too wide\r\nThe maximum allowed width of a frame is 10000 mm",
                              LastBox());
                    EXPECT_TRUE(IsWindow(d));
                    SetDlgItemTextA(d, IDC_DIMENSION_WIDTH, "1200");
                    SetDlgItemTextA(d, IDC_DIMENSION_HEIGHT, "1400");
                    PostMessageA(d, WM_COMMAND, IDOK, 0);
                    return true;
                },
                [&o] {
                    if (Dialog("Dimension of frame") || o.r.liczbaOper == 0) return false;
                    EXPECT_EQ(1200, o.r.oper[0].rama.x1);
                    EXPECT_FALSE(Enabled(CMD_DES_FRAME));
                    for (int id : {CMD_DES_MULLION, CMD_DES_SASH, CMD_DES_FILLING, CMD_DES_MUNTIN})
                        EXPECT_TRUE(Enabled(id)) << id;
                    EXPECT_TRUE(Checked(CMD_DES_POINTER));  // back to the pointer after the frame
                    EXPECT_EQ((LONG_PTR)LoadCursorA(nullptr, IDC_ARROW),
                              (LONG_PTR)GetClassLongPtrA(Canvas(), GCLP_HCURSOR));
                    return true;
                },
            });
    EXPECT_EQ(0, saved);
    EXPECT_EQ(1u, g_boxes.size()) << LastBox();
}

std::vector<std::string> g_help;
void RecordHelp(const char* target, void*) { g_help.push_back(target); }

// The owner is disabled while the designer is open and enabled after; the
// designer keeps 800 x 600 whatever it is sized to; Help and F1 open the
// designer's topic.
TEST_F(DesignerTest, OwnerDisabledWhileOpenSmallestSizeAndHelpAtEveryScale) {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, owner);
    g_help.clear();
    SetHelpHook(RecordHelp, nullptr);
    TestWindow o;
    GlazedWindow(o);
    Run(o, 1,
        {
            [owner] {
                EXPECT_FALSE(IsWindowEnabled(owner));
                EXPECT_EQ(owner, GetWindow(Designer(), GW_OWNER));
                EXPECT_TRUE(IsZoomed(Designer()));
                ShowWindow(Designer(), SW_RESTORE);
                SetWindowPos(Designer(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
                RECT rc;
                GetWindowRect(Designer(), &rc);
                const int dpi = KvDpiForWindow(Designer());
                EXPECT_EQ(KvScale(800, dpi), rc.right - rc.left);
                EXPECT_EQ(KvScale(600, dpi), rc.bottom - rc.top);
                RECT cl, panel;
                GetClientRect(Designer(), &cl);
                GetWindowRect(Panel(), &panel);
                EXPECT_EQ(KvScale(248, dpi) + GetSystemMetrics(SM_CXVSCROLL), panel.right - panel.left);
                SendMessageA(Designer(), WM_COMMAND, CMD_DES_HELP, 0);
                PostMessageA(Canvas(), WM_KEYDOWN, VK_F1, 0);
                return true;
            },
            [] { return g_help.size() == 2; },
        },
        owner);
    SetHelpHook(nullptr, nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner));
    ASSERT_EQ(2u, g_help.size());
    for (const std::string& h : g_help)
        EXPECT_NE(std::string::npos, h.find("kelvaro-help.html#modProj")) << h;
    DestroyWindow(owner);
}

// A register that cannot be read fails the creation: its message in an
// "Error" box, no window, nothing saved, the owner enabled again. Viewing
// reads no register and still opens.
TEST_F(DesignerTest, UnreadableRegisterFailsTheCreationOfAnEditableDesigner) {
    Sql("DROP TABLE T_ZstKolor;");
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    TestWindow o;
    GlazedWindow(o);
    EXPECT_EQ(0, RunDesigner(owner, &o.r, &order_, &ds_, 1));
    EXPECT_EQ(nullptr, Designer());
    EXPECT_TRUE(IsWindowEnabled(owner));
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("Error", g_boxes[0].caption);
    EXPECT_NE(std::string::npos, g_boxes[0].text.find("ZstKolor")) << g_boxes[0].text;
    bool opened = false;
    Run(o, 0, {[&opened] { return opened = true; }}, owner);
    EXPECT_TRUE(opened);
    DestroyWindow(owner);
}

// ---- Save ---------------------------------------------------------------------------------

TEST_F(DesignerTest, SaveWithoutAWindowSaysNoWindowAndStaysOpen) {
    TestWindow o;
    int saved = Run(o, 1, {[] {
                        SendMessageA(Designer(), WM_COMMAND, CMD_DES_SAVE, 0);
                        EXPECT_NE(nullptr, Designer());
                        return true;
                    }});
    EXPECT_EQ(0, saved);
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("Error", g_boxes[0].caption);
    EXPECT_EQ("No window", g_boxes[0].text);
}

// Every spin made unreadable: Save refuses them one by one in the fixed
// order; the fields read before a refusal keep their new values.
TEST_F(DesignerTest, SaveRefusesEachFieldInOrder) {
    TestWindow o;
    GlazedWindow(o);
    strcpy(o.r.nazKolor, "Old colour");
    struct Field {
        int edit;
        const char* refusal;
    };
    static const Field fields[] = {
        {IDC_PNL_FRAME_EDIT, "Incorrect value in the field Thickness in mm - Frame"},
        {IDC_PNL_SASH_EDIT, "Incorrect value in the field Thickness in mm - Sash"},
        {IDC_PNL_FIXED_EDIT, "Incorrect value in the field Thickness in mm - Fixed mullion"},
        {IDC_PNL_FALSE_EDIT, "Incorrect value in the field Thickness in mm - False mullion"},
        {IDC_PNL_MUNTIN_TH_EDIT, "Incorrect value in the field Muntin's thickness"},
        {IDC_PNL_QTY_EDIT, "Incorrect value in the field Quantity"},
    };
    int saved = Run(o, 1, {[&o] {
                        for (const Field& f : fields) SetWindowTextA(Item(f.edit), "");
                        SetWindowTextA(Item(IDC_PNL_PROFILE_EDIT), "Typed profile");
                        SetWindowTextA(Item(IDC_PNL_COLOR_EDIT), "Typed colour");
                        for (const Field& f : fields) {
                            size_t before = g_boxes.size();
                            SendMessageA(Designer(), WM_COMMAND, CMD_DES_SAVE, 0);
                            EXPECT_NE(nullptr, Designer());
                            EXPECT_EQ(before + 1, g_boxes.size());
                            EXPECT_EQ(f.refusal, std::string(g_boxes.back().text));
                            if (f.edit == IDC_PNL_FRAME_EDIT) {
                                EXPECT_STREQ("Typed profile", o.r.nazProfil);  // read before the refusal
                                EXPECT_STREQ("Old colour", o.r.nazKolor);      // not reached yet
                            }
                            SetWindowTextA(Item(f.edit), f.edit == IDC_PNL_MUNTIN_TH_EDIT ? "20"
                                                         : f.edit == IDC_PNL_QTY_EDIT     ? "3"
                                                                                          : "70");
                        }
                        SendMessageA(Designer(), WM_COMMAND, CMD_DES_SAVE, 0);
                        return true;
                    }});
    EXPECT_EQ(1, saved);
    EXPECT_EQ(6u, g_boxes.size());
    EXPECT_STREQ("Typed colour", o.r.nazKolor);
    EXPECT_EQ(3, o.r.ilOkien);
    EXPECT_EQ(20, o.r.grubSzpros);
}

// ---- View only -------------------------------------------------------------------------------

bool g_menuSeen;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (OpenMenu()) {
        g_menuSeen = true;
        EndMenu();
    }
}

TEST_F(DesignerTest, ViewOnlySwitchesEverythingOffButFactorsAndHelp) {
    Sql("INSERT INTO T_ZstProfil VALUES ('Listed', 0, zeroblob(16));");
    TestWindow o;
    GlazedWindow(o);
    int saved = Run(o, 0,
                    {
                        [&o] {
                            for (int id : {CMD_DES_POINTER, CMD_DES_FRAME, CMD_DES_MULLION, CMD_DES_SASH,
                                           CMD_DES_FILLING, CMD_DES_MUNTIN, CMD_DES_SAVE})
                                EXPECT_FALSE(Enabled(id)) << id;
                            EXPECT_TRUE(Enabled(CMD_DES_FACTORS));
                            EXPECT_TRUE(Enabled(CMD_DES_HELP));
                            char text[32] = "";
                            SendMessageA(Toolbar(), TB_GETBUTTONTEXTA, CMD_DES_CANCEL, (LPARAM)text);
                            EXPECT_STREQ("Exit", text);
                            EXPECT_EQ(nullptr, Item(IDC_PNL_PROFILE_LIST));  // no registers when viewing
                            for (int id : {IDC_PNL_PROFILE_EDIT, IDC_PNL_COLOR_EDIT, IDC_PNL_MUNTIN_EDIT,
                                           IDC_PNL_HARDWARE_EDIT, IDC_PNL_BEAD_EDIT, IDC_PNL_NET,
                                           IDC_PNL_NOTES, IDC_PNL_FRAME_EDIT, IDC_PNL_QTY_EDIT})
                                EXPECT_TRUE(ReadOnly(Item(id))) << id;
                            for (int id : {IDC_PNL_PVC, IDC_PNL_WOOD, IDC_PNL_ALUMINIUM, IDC_PNL_WHITE,
                                           IDC_PNL_INTERNAL, IDC_PNL_EXTERNAL, IDC_PNL_DOUBLE,
                                           IDC_PNL_FRAME_SPIN, IDC_PNL_SASH_SPIN, IDC_PNL_FIXED_SPIN,
                                           IDC_PNL_FALSE_SPIN, IDC_PNL_MUNTIN_TH_SPIN, IDC_PNL_QTY_SPIN})
                                EXPECT_FALSE(IsWindowEnabled(Item(id))) << id;
                            g_menuSeen = false;
                            UINT_PTR t = SetTimer(nullptr, 0, 300, CloseMenu);
                            ContextMenuRequest(1);
                            KillTimer(nullptr, t);
                            EXPECT_FALSE(g_menuSeen);
                            SendMessageA(Designer(), WM_COMMAND, CMD_DES_SAVE, 0);
                            EXPECT_NE(nullptr, Designer());
                            EXPECT_TRUE(g_boxes.empty());
                            PostMessageA(Designer(), WM_COMMAND, CMD_DES_FACTORS, 0);
                            (void)o;
                            return true;
                        },
                        [] {
                            HWND d = Dialog("Factors");
                            if (!d) return false;
                            EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, IDOK)));
                            EXPECT_EQ("Exit", Text(GetDlgItem(d, IDCANCEL)));
                            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_FCT_BY_RATES)));
                            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_FCT_DIRECTLY)));
                            for (int id = IDC_FCT_UF_FRAME; id <= IDC_FCT_UW; id++) {
                                if (id == IDC_FCT_PSI_GLASS_LABEL || id == IDC_FCT_PSI_ACRYLIC_LABEL)
                                    continue;
                                EXPECT_TRUE(ReadOnly(GetDlgItem(d, id))) << id;
                            }
                            PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
                            return true;
                        },
                        [] { return Dialog("Factors") == nullptr; },
                    });
    EXPECT_EQ(0, saved);
}

// The toolbar is rebuilt for another dpi: its buttons keep the text and the
// state the window gave them, not those of its table.
TEST_F(DesignerTest, ViewOnlyKeepsExitAfterAMoveToAnotherDpiAtEveryScale) {
    TestWindow o;
    GlazedWindow(o);
    Run(o, 0, {[] {
            const int to = KvDpiForWindow(Designer()) * 3 / 2;
            RECT suggested = {0, 0, KvScale(800, to), KvScale(600, to)};
            SendMessageA(Designer(), WM_DPICHANGED, MAKEWPARAM(to, to), (LPARAM)&suggested);
            char text[32] = "";
            SendMessageA(Toolbar(), TB_GETBUTTONTEXTA, CMD_DES_CANCEL, (LPARAM)text);
            EXPECT_STREQ("Exit", text);
            SendMessageA(Toolbar(), TB_GETBUTTONTEXTA, CMD_DES_HELP, (LPARAM)text);
            EXPECT_STREQ("Help", text);
            EXPECT_FALSE(Enabled(CMD_DES_SAVE));
            EXPECT_TRUE(Enabled(CMD_DES_FACTORS));
            return true;
        }});
}

HCURSOR CanvasCursor() { return (HCURSOR)GetClassLongPtrA(Canvas(), GCLP_HCURSOR); }

// The canvas shows the chosen tool's cursor in the size the system gives
// cursors at the designer's dpi, before and after a move to a display of
// half as much dpi again; a view opened next shows the arrow.
TEST_F(DesignerTest, ToolCursorsTakeTheSizeOfTheDpiAtEveryScale) {
    TestWindow o;
    GlazedWindow(o);
    Run(o, 1, {[] {
            const int from = KvDpiForWindow(Designer()), to = from * 3 / 2;
            SendMessageA(Designer(), WM_COMMAND, CMD_DES_MUNTIN, 0);
            EXPECT_EQ(KvSystemMetricForDpi(SM_CXCURSOR, from), IconWidth(CanvasCursor()));
            RECT suggested = {0, 0, KvScale(800, to), KvScale(600, to)};
            SendMessageA(Designer(), WM_DPICHANGED, MAKEWPARAM(to, to), (LPARAM)&suggested);
            EXPECT_EQ(KvSystemMetricForDpi(SM_CXCURSOR, to), IconWidth(CanvasCursor())) << "kept by the tool";
            SendMessageA(Designer(), WM_COMMAND, CMD_DES_FIXED_MULLION, 0);
            EXPECT_EQ(KvSystemMetricForDpi(SM_CXCURSOR, to), IconWidth(CanvasCursor())) << "chosen after";
            return true;
        }});
    Run(o, 0, {[] {
            EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), CanvasCursor());
            return true;
        }});
}

// ---- Thicknesses and quantity -----------------------------------------------------------------

TEST_F(DesignerTest, ThicknessAndQuantityMovesAreClamped) {
    TestWindow o;
    o << DrawFrame(3000, 3000);
    Geometry(o);
    struct Case {
        UINT message;
        int spin;
        int32_t position;
        int32_t strOkno::*field;
        int thickness;  // index into sGrubProf, -1 for the field itself
        int32_t stored;
    };
    static const Case cases[] = {
        {UM_DES_THICKNESS, IDC_PNL_FRAME_SPIN, 5, nullptr, 0, 10},
        {UM_DES_THICKNESS, IDC_PNL_FRAME_SPIN, 600, nullptr, 0, 500},
        {UM_DES_THICKNESS, IDC_PNL_SASH_SPIN, 9, nullptr, 1, 10},
        {UM_DES_THICKNESS, IDC_PNL_FIXED_SPIN, 401, nullptr, 2, 400},
        {UM_DES_THICKNESS, IDC_PNL_FALSE_SPIN, -3, nullptr, 3, 10},
        {UM_DES_THICKNESS, IDC_PNL_MUNTIN_TH_SPIN, 4, &strOkno::grubSzpros, -1, 5},
        {UM_DES_THICKNESS, IDC_PNL_MUNTIN_TH_SPIN, 101, &strOkno::grubSzpros, -1, 100},
        {UM_DES_QUANTITY, 0, 0, &strOkno::ilOkien, -1, 1},
        {UM_DES_QUANTITY, 0, 1000, &strOkno::ilOkien, -1, 999},
        {UM_DES_QUANTITY, 0, 17, &strOkno::ilOkien, -1, 17},
    };
    Run(o, 1, {[&o] {
            for (const Case& c : cases) {
                EXPECT_EQ(0, SendMessageA(Designer(), c.message, (WPARAM)c.position, c.spin)) << c.position;
                int32_t got = c.field ? o.r.*c.field : (&o.r.sGrubProf.rama)[c.thickness];
                EXPECT_EQ(c.stored, got) << c.spin << " " << c.position;
            }
            return true;
        }});
    EXPECT_TRUE(g_boxes.empty()) << LastBox();
}

// The frame at 85 mm leaves exactly 20 mm beside the mullion: one more is
// refused and the spin stays; one less is accepted and the spin moves.
TEST_F(DesignerTest, ThicknessRefusedByTheLimitCheckLeavesTheSpin) {
    TestWindow o;
    o << DrawFrame(1000, 1000) << DrawMullion(false, 150, false, 0, 0);
    o.r.sGrubProf.rama = 85;
    Geometry(o);
    Run(o, 1, {[this, &o] {
            HWND spin = Item(IDC_PNL_FRAME_SPIN);
            ClickSpin(spin, true);
            EXPECT_EQ(1u, g_boxes.size());
            EXPECT_EQ("The distance of the profile is too small", LastBox());
            EXPECT_EQ(85, o.r.sGrubProf.rama);
            EXPECT_EQ("85", Text(Item(IDC_PNL_FRAME_EDIT)));
            ClickSpin(spin, false);
            EXPECT_EQ(1u, g_boxes.size());
            EXPECT_EQ(84, o.r.sGrubProf.rama);
            EXPECT_EQ("84", Text(Item(IDC_PNL_FRAME_EDIT)));
            EXPECT_EQ(84, o.r.oper[0].rama.wewn.left);  // the geometry follows
            return true;
        }});
}

// ---- Filling menu ------------------------------------------------------------------------------

TEST_F(DesignerTest, FillingMenuListsEachNameAndTypeOnce) {
    Sql("INSERT INTO T_ZstWypeln VALUES ('  float 4MM ', 0), ('Float 4mm', 1), ('Tint', 0);");
    TestWindow o;
    o << DrawFrame(1000, 1000) << DrawFilling(0, "Float 4mm", 0);
    Geometry(o);
    std::vector<std::string> first, second;
    Run(o, 1,
        {
            [] {
                PostMessageA(Designer(), WM_COMMAND, CMD_DES_FILLING, 0);
                return true;
            },
            [&first] {
                HWND m = OpenMenu();
                if (!m) return false;
                first = MenuItems((HMENU)SendMessageA(m, MN_GETHMENU, 0, 0));
                EndMenu();
                return true;
            },
            [] {  // a name already listed, typed differently: no new entry
                if (OpenMenu()) return false;
                PostMessageA(Designer(), WM_COMMAND, CMD_DES_NEW_FILLING, 0);
                return true;
            },
            [] {
                HWND d = Dialog("New filling name");
                if (!d) return false;
                SetDlgItemTextA(d, IDC_NEW_FILLING_NAME, "  TINT ");
                PostMessageA(d, WM_COMMAND, IDOK, 0);
                return true;
            },
            [] {  // a new name goes to the top
                if (Dialog("New filling name")) return false;
                PostMessageA(Designer(), WM_COMMAND, CMD_DES_NEW_FILLING, 0);
                return true;
            },
            [] {
                HWND d = Dialog("New filling name");
                if (!d) return false;
                SetDlgItemTextA(d, IDC_NEW_FILLING_NAME, "Clear");
                SendDlgItemMessageA(d, IDC_NEW_FILLING_ACRYLIC, BM_CLICK, 0, 0);
                PostMessageA(d, WM_COMMAND, IDOK, 0);
                return true;
            },
            [] {
                if (Dialog("New filling name")) return false;
                PostMessageA(Designer(), WM_COMMAND, CMD_DES_FILLING, 0);
                return true;
            },
            [&second] {
                HWND m = OpenMenu();
                if (!m) return false;
                second = MenuItems((HMENU)SendMessageA(m, MN_GETHMENU, 0, 0));
                EndMenu();
                return true;
            },
            [] { return OpenMenu() == nullptr; },
        });
    EXPECT_EQ((std::vector<std::string>{"Float 4mm - [Glass]", "Float 4mm - [Acrylic]", "Tint - [Glass]", "-",
                                        "Enter new name..."}),
              first);
    EXPECT_EQ((std::vector<std::string>{"Clear - [Acrylic]", "Float 4mm - [Glass]", "Float 4mm - [Acrylic]",
                                        "Tint - [Glass]", "-", "Enter new name..."}),
              second);
    EXPECT_TRUE(g_boxes.empty()) << LastBox();
}

// ---- Context menu ---------------------------------------------------------------------------------

CanvasNotification g_request;

// The canvas asks for the menu of `element` (posted: the menu runs a loop
// of its own).
void PostContextMenuRequest(int32_t element) {
    g_request = CanvasNotification{};
    g_request.hdr.hwndFrom = Canvas();
    g_request.hdr.idFrom = IDC_CANVAS;
    g_request.hdr.code = kCanvasCodeMenu;
    g_request.element = element;
    g_request.curPoint = POINT{300, 300};
    PostMessageA(Designer(), WM_NOTIFY, IDC_CANVAS, (LPARAM)&g_request);
}

bool ItemEnabled(HMENU m, int pos) {
    return !(GetMenuState(m, pos, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
}

// Items are enabled by the element's kind; a choice acts on the element
// the menu was opened for, by the item's position in its submenu.
TEST_F(DesignerTest, ContextMenuActsByPositionOnItsElement) {
    // A mullion made false: positions 0-1 enabled on a mullion.
    TestWindow a;
    a << DrawFrame(1000, 1000) << DrawMullion(false, 500, false, 0, 0);
    Geometry(a);
    HMENU mullions = nullptr;
    Run(a, 1,
        {
            [] {
                PostContextMenuRequest(1);
                return true;
            },
            [&mullions] {
                HWND m = OpenMenu();
                if (!m) return false;
                HMENU menu = (HMENU)SendMessageA(m, MN_GETHMENU, 0, 0);
                EXPECT_EQ((std::vector<std::string>{"Delete the window element", "Change type of the mullion",
                                                    "Change type of the sash", "Change the filling"}),
                          MenuItems(menu));
                const bool want[4] = {true, true, false, false};
                for (int pos = 0; pos < 4; pos++) EXPECT_EQ(want[pos], ItemEnabled(menu, pos)) << pos;
                mullions = GetSubMenu(menu, 1);
                EndMenu();
                return true;
            },
            [&mullions] {
                if (OpenMenu()) return false;
                PostMessageA(Designer(), WM_MENUCOMMAND, 1, (LPARAM)mullions);  // "False mullion"
                return true;
            },
            [&a] { return a.r.oper[1].typ == kOpFalseMullion; },
        });
    EXPECT_EQ(2, a.n());
    EXPECT_EQ(1, a.r.oper[1].slupek.rodzaj);

    // A filling changed to the second entry of the filling menu: position 3
    // enabled on a filling.
    TestWindow b;
    b << DrawFrame(1000, 1000) << DrawMullion(false, 500, false, 0, 0) << DrawFilling(0, "float 4MM", 0, 0, 1, 0)
      << DrawFilling(1, "Ornament", 1, 0, 0, 0);
    Geometry(b);
    HMENU fillings = nullptr;
    std::vector<std::string> fillingItems;
    Run(b, 1,
        {
            [] {
                PostContextMenuRequest(2);
                return true;
            },
            [&fillings, &fillingItems] {
                HWND m = OpenMenu();
                if (!m) return false;
                HMENU menu = (HMENU)SendMessageA(m, MN_GETHMENU, 0, 0);
                const bool want[4] = {true, false, false, true};
                for (int pos = 0; pos < 4; pos++) EXPECT_EQ(want[pos], ItemEnabled(menu, pos)) << pos;
                fillings = GetSubMenu(menu, 3);
                fillingItems = MenuItems(fillings);
                EndMenu();
                return true;
            },
            [&fillings] {
                if (OpenMenu()) return false;
                PostMessageA(Designer(), WM_MENUCOMMAND, 1, (LPARAM)fillings);  // the second entry
                return true;
            },
            [&b] { return b.r.oper[2].wypeln.typWypeln == 1; },
        });
    EXPECT_EQ(
        (std::vector<std::string>{"float 4MM - [Glass]", "Ornament - [Acrylic]", "-", "Enter new name..."}),
        fillingItems);
    EXPECT_STREQ("Ornament", b.r.oper[2].wypeln.nazwa);
    EXPECT_EQ(kOpFixedMullion, b.r.oper[1].typ);
    EXPECT_TRUE(g_boxes.empty()) << LastBox();
}

// ---- Registers of used elements --------------------------------------------------------------------

class RegistersTest : public DesignerTest {
protected:
    void SetUp() override {
        DesignerTest::SetUp();
        Sql("INSERT INTO T_ZstProfil VALUES ('Profile A', 0, x'46000000500000005A0000003C000000');"
            "INSERT INTO T_ZstKolor VALUES ('White RAL', 0);"
            "INSERT INTO T_ZstSzpros VALUES ('Bar 26', 26);"
            "INSERT INTO T_ZstOkucie VALUES ('HW-1');"
            "INSERT INTO T_ZstListwa VALUES ('Bead X');"
            "INSERT INTO T_ZstWypeln VALUES ('Float 4mm', 0);");
        o_ << DrawFrame(1000, 1000) << DrawMullion(false, 500, false, 0, 0) << DrawFilling(0, "float 4MM ", 0, 0, 1, 0)
           << DrawFilling(1, " Ornament ", 1, 0, 0, 0);
        o_.r.sWspUw = strWspUw{130, 140, 150, 160, 110, 600, 250, 900};
        strcpy(o_.r.nazProfil, "  profile a  ");  // another case and blanks: the row is rewritten
        o_.r.iProfSch = 1;
        o_.r.sGrubProf = strGrubProf{75, 85, 95, 65};
        strcpy(o_.r.nazKolor, "Anthracite");  // new
        o_.r.iKolor = 3;
        strcpy(o_.r.nazSzpros, "BAR 26");
        o_.r.grubSzpros = 30;
        strcpy(o_.r.nazOkucie, " hw-1 ");  // found: nothing to write
        strcpy(o_.r.nazListwa, "Bead Y");  // new
        Geometry(o_);
    }
    TestWindow o_;
};

const std::vector<std::vector<std::string>> kAfterSave = {
    {"profile a|1|4B000000550000005F00000041000000"},
    {"Anthracite|3", "White RAL|0"},
    {"BAR 26|30"},
    {"HW-1"},
    {"Bead X", "Bead Y"},
    {"Ornament|1", "float 4MM|0"},
};

TEST_F(RegistersTest, SaveRewritesFoundNamesAndInsertsNewOnes) {
    int saved = Run(o_, 1, {[] {
                        SendMessageA(Designer(), WM_COMMAND, CMD_DES_SAVE, 0);
                        return true;
                    }});
    EXPECT_EQ(1, saved);
    EXPECT_TRUE(g_boxes.empty()) << LastBox();
    EXPECT_EQ(kAfterSave, AllRegisters());
    EXPECT_STREQ("profile a", o_.r.nazProfil);  // trimmed in the record itself
    EXPECT_STREQ("hw-1", o_.r.nazOkucie);
    EXPECT_STREQ("Ornament", o_.r.oper[3].wypeln.nazwa);
}

// The glazing-bead insert fails after the profile, colour and muntin were
// written: all six registers stay as they were, the designer stays open,
// and a second Save once the fault is gone files everything.
TEST_F(RegistersTest, AFailureHalfWayLeavesAllSixRegistersUnchanged) {
    Sql("CREATE TRIGGER fault BEFORE INSERT ON T_ZstListwa BEGIN SELECT RAISE(ABORT, 'disk on fire'); END;");
    const auto before = AllRegisters();
    std::vector<std::vector<std::string>> afterFailure;
    int saved = Run(o_, 1, {[this, &afterFailure] {
                        SendMessageA(Designer(), WM_COMMAND, CMD_DES_SAVE, 0);
                        EXPECT_NE(nullptr, Designer());
                        EXPECT_EQ(1u, g_boxes.size());
                        EXPECT_NE(std::string::npos, LastBox().find("ZstListwa")) << LastBox();
                        afterFailure = AllRegisters();
                        Sql("DROP TRIGGER fault;");
                        SendMessageA(Designer(), WM_COMMAND, CMD_DES_SAVE, 0);
                        return true;
                    }});
    EXPECT_EQ(before, afterFailure);
    EXPECT_EQ(1, saved);
    EXPECT_EQ(kAfterSave, AllRegisters());
}

void ChooseEntry(int list, int index) {
    SendMessageA(Item(list), CB_SETCURSEL, index, 0);
    SendMessageA(Panel(), WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), (LPARAM)Item(list));
}

// An entry chosen in a register's list brings its type and thicknesses
// into the record and the panel; a change with nothing selected is refused.
TEST_F(RegistersTest, ChoosingFromTheListsBringsTheEntrysValues) {
    Run(o_, 1, {[this] {
            ChooseEntry(IDC_PNL_PROFILE_LIST, 0);
            EXPECT_EQ(0, o_.r.iProfSch);
            EXPECT_EQ(70, o_.r.sGrubProf.rama);
            EXPECT_EQ(60, o_.r.sGrubProf.slupekRuchomy);
            EXPECT_EQ("70", Text(Item(IDC_PNL_FRAME_EDIT)));
            EXPECT_EQ("90", Text(Item(IDC_PNL_FIXED_EDIT)));
            EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(Panel(), IDC_PNL_PVC));
            EXPECT_EQ(70, o_.r.oper[0].rama.wewn.left);  // the geometry follows
            ChooseEntry(IDC_PNL_COLOR_LIST, 0);
            EXPECT_EQ(0, o_.r.iKolor);
            EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(Panel(), IDC_PNL_WHITE));
            EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(Panel(), IDC_PNL_DOUBLE));
            ChooseEntry(IDC_PNL_MUNTIN_LIST, 0);
            EXPECT_EQ(26, o_.r.grubSzpros);
            EXPECT_EQ("26", Text(Item(IDC_PNL_MUNTIN_TH_EDIT)));
            EXPECT_TRUE(g_boxes.empty()) << LastBox();
            ChooseEntry(IDC_PNL_PROFILE_LIST, -1);
            EXPECT_EQ("Error of selecting profile from the list", LastBox());
            return true;
        }});
}

// The edit field of a register's drop-down list.
HWND ListField(int list) {
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    return GetComboBoxInfo(Item(list), &info) ? info.hwndItem : nullptr;
}

// A profile and a muntin whose thicknesses the window cannot take: the
// refusal leaves the list showing what it showed before (a typed name, or
// the name it was filled with), so Save files the window under that name
// and the refused entries' rows keep their thicknesses.
TEST_F(RegistersTest, ARefusedProfileOrMuntinChoicePutsTheListBack) {
    // The heavy ones come first in the list, whichever order it is read in.
    Sql("DELETE FROM T_ZstProfil;"
        "INSERT INTO T_ZstProfil VALUES ('Heavy 1', 2, x'58020000500000005A0000003C000000'),"
        " ('Heavy 2', 2, x'BC020000500000005A0000003C000000'),"
        " ('Profile A', 0, x'46000000500000005A0000003C000000');"
        "INSERT INTO T_ZstSzpros VALUES ('Bar 200', 200);");
    const auto heavyRows =
        Rows("SELECT nazwa, typ, hex(sGrubProf) FROM T_ZstProfil WHERE nazwa LIKE 'Heavy%'");
    int muntinSel = -2;
    int saved =
        Run(o_, 1,
            {
                [this] {
                    // Typed as the user types, then Down in the field: the combo
                    // box chooses the next entry, one of the two heavy profiles.
                    HWND field = ListField(IDC_PNL_PROFILE_LIST);
                    SendMessageA(field, EM_SETSEL, 0, -1);
                    for (char ch : std::string("Typed profile")) SendMessageA(field, WM_CHAR, (WPARAM)ch, 0);
                    SendMessageA(field, WM_KEYDOWN, VK_DOWN, 0);
                    SendMessageA(field, WM_KEYUP, VK_DOWN, 0);
                    EXPECT_EQ(1u, g_boxes.size());
                    EXPECT_NE(std::string::npos, LastBox().find("The frame is too thick")) << LastBox();
                    return true;
                },
                [this, &muntinSel] {  // the put-back is posted: it runs after the combo box's own update
                    EXPECT_EQ("Typed profile", Text(Item(IDC_PNL_PROFILE_LIST)));
                    EXPECT_EQ(CB_ERR, SendMessageA(Item(IDC_PNL_PROFILE_LIST), CB_GETCURSEL, 0, 0));
                    EXPECT_EQ(75, o_.r.sGrubProf.rama);
                    EXPECT_EQ(1, o_.r.iProfSch);
                    muntinSel = (int)SendMessageA(Item(IDC_PNL_MUNTIN_LIST), CB_GETCURSEL, 0, 0);
                    const int bar200 = (int)SendMessageA(Item(IDC_PNL_MUNTIN_LIST), CB_FINDSTRINGEXACT,
                                                         (WPARAM)-1, (LPARAM) "Bar 200");
                    ChooseEntry(IDC_PNL_MUNTIN_LIST, bar200);
                    EXPECT_EQ(2u, g_boxes.size());
                    EXPECT_NE(std::string::npos, LastBox().find("The muntin is too thick")) << LastBox();
                    return true;
                },
                [this, &muntinSel] {
                    EXPECT_EQ("BAR 26", Text(Item(IDC_PNL_MUNTIN_LIST)));
                    EXPECT_EQ(muntinSel, SendMessageA(Item(IDC_PNL_MUNTIN_LIST), CB_GETCURSEL, 0, 0));
                    EXPECT_EQ(30, o_.r.grubSzpros);
                    SendMessageA(Designer(), WM_COMMAND, CMD_DES_SAVE, 0);
                    return true;
                },
            });
    EXPECT_EQ(1, saved);
    EXPECT_EQ(2u, g_boxes.size()) << LastBox();
    EXPECT_STREQ("Typed profile", o_.r.nazProfil);
    EXPECT_STREQ("BAR 26", o_.r.nazSzpros);
    EXPECT_EQ(heavyRows,
              Rows("SELECT nazwa, typ, hex(sGrubProf) FROM T_ZstProfil WHERE nazwa LIKE 'Heavy%'"));
    EXPECT_EQ((std::vector<std::string>{"Bar 200|200", "BAR 26|30"}),
              Rows("SELECT nazwa, grubSzpros FROM T_ZstSzpros ORDER BY grubSzpros DESC"));
    EXPECT_EQ(1u, Rows("SELECT nazwa FROM T_ZstProfil WHERE nazwa = 'Typed profile'").size());
}

// A net price beyond 99 999 999,99 is not taken while typed (the figures
// say so) and Save refuses it with the field's message; the highest price
// itself is saved.
TEST_F(DesignerTest, ANetPriceBeyondTheHighestIsRefusedOnSave) {
    TestWindow o;
    GlazedWindow(o);
    o.r.cenaZReki = 12345;
    std::string gross, total;
    size_t boxesAfterRefusal = 0;
    int saved = Run(o, 1, {[&] {
                        // Twenty digits, as a wider field would take them (this one shows
                        // eight under Wine): the change comes as typing reports it.
                        HWND net = Item(IDC_PNL_NET);
                        SetWindowTextA(net, "12345678901234567890");
                        SendMessageA(net, EM_SETMODIFY, TRUE, 0);
                        SendMessageA(Panel(), WM_COMMAND, MAKEWPARAM(IDC_PNL_NET, EN_CHANGE), (LPARAM)net);
                        EXPECT_EQ(12345, o.r.cenaZReki);
                        gross = Text(Item(IDC_PNL_GROSS));
                        total = Text(Item(IDC_PNL_TOTAL_GROSS));
                        SendMessageA(Designer(), WM_COMMAND, CMD_DES_SAVE, 0);
                        EXPECT_NE(nullptr, Designer());
                        boxesAfterRefusal = g_boxes.size();
                        EXPECT_EQ(12345, o.r.cenaZReki);
                        SetWindowTextA(net, Loc("99999999#99").c_str());
                        SendMessageA(Designer(), WM_COMMAND, CMD_DES_SAVE, 0);
                        return true;
                    }});
    EXPECT_EQ("too large", gross);
    EXPECT_EQ("too large", total);
    ASSERT_EQ(1u, boxesAfterRefusal);
    EXPECT_EQ("Incorrect value in the field Price - net\r\nThe highest price is " + Loc("99~999~999#99"),
              g_boxes[0].text);
    EXPECT_EQ(1, saved);
    EXPECT_EQ(9999999999, o.r.cenaZReki);
}

// The Factors dialog takes the same lengths as the settings' Uw page and
// refuses a number that does not fit 32 bits (set past the length limit)
// instead of storing the largest one; nothing is stored then.
TEST_F(DesignerTest, FactorsRefuseANumberThatDoesNotFit) {
    TestWindow o;
    GlazedWindow(o);
    const strWspUw before = o.r.sWspUw;
    struct Seen {
        int limitUf = 0, limitPsi = 0, limitUw = 0;
        bool openAfterOk = false;
        size_t boxes = 0;
    } seen;
    LoopProbe probe(
        [](void* context) {
            Seen* seen = (Seen*)context;
            HWND d = Dialog("Factors");
            if (!d) return false;
            seen->limitUf = (int)SendDlgItemMessageA(d, IDC_FCT_UF_FRAME, EM_GETLIMITTEXT, 0, 0);
            seen->limitPsi = (int)SendDlgItemMessageA(d, IDC_FCT_PSI_GLASS, EM_GETLIMITTEXT, 0, 0);
            seen->limitUw = (int)SendDlgItemMessageA(d, IDC_FCT_UW, EM_GETLIMITTEXT, 0, 0);
            SetDlgItemTextA(d, IDC_FCT_UF_FIXED, "30000000");
            SendMessageA(d, WM_COMMAND, IDOK, 0);
            seen->openAfterOk = IsWindow(d) && Dialog("Factors") == d;
            seen->boxes = g_boxes.size();
            PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
            return true;
        },
        &seen, 10000);
    EXPECT_EQ(0, RunFactorsDialog(nullptr, &o.r, 1));
    EXPECT_TRUE(probe.done());
    EXPECT_EQ(7, seen.limitUf);
    EXPECT_EQ(5, seen.limitPsi);
    EXPECT_EQ(7, seen.limitUw);
    EXPECT_TRUE(seen.openAfterOk);
    ASSERT_EQ(1u, seen.boxes);
    EXPECT_EQ("Incorrect value in the field Uf for a fixed mullion", g_boxes[0].text);
    EXPECT_EQ(0, memcmp(&before, &o.r.sWspUw, sizeof before));
}

// With every command of the filling menu taken, "Enter new name..." with a
// name not on the list is refused with a message; no entry is applied in
// its place.
TEST_F(DesignerTest, ANewFillingNameIsRefusedWhenTheListIsFull) {
    Sql("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 3000) "
        "INSERT INTO T_ZstWypeln SELECT 'F' || x, 0 FROM c;");
    TestWindow o;
    GlazedWindow(o);
    bool fillingTool = true, pointerTool = false;
    Run(o, 1,
        {
            [] {
                PostMessageA(Designer(), WM_COMMAND, CMD_DES_NEW_FILLING, 0);
                return true;
            },
            [] {
                HWND d = Dialog("New filling name");
                if (!d) return false;
                SetDlgItemTextA(d, IDC_NEW_FILLING_NAME, "Brand new");
                PostMessageA(d, WM_COMMAND, IDOK, 0);
                return true;
            },
            [&] {
                if (Dialog("New filling name")) return false;
                fillingTool = Checked(CMD_DES_FILLING);
                pointerTool = Checked(CMD_DES_POINTER);
                return true;
            },
        });
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("The list of fillings is full (3000 names).\r\nChoose a filling from the list.",
              g_boxes[0].text);
    EXPECT_FALSE(fillingTool);
    EXPECT_TRUE(pointerTool);
}

// ---- Panel layout and scrolling ------------------------------------------------------------------------

int ChildTop(int id) {
    RECT r;
    GetWindowRect(Item(id), &r);
    MapWindowPoints(nullptr, Panel(), (POINT*)&r, 2);
    return r.top;
}

TEST_F(DesignerTest, PanelScrollsOnlyBelow632PixelsAndSpreadsTheSurplusAtEveryScale) {
    TestWindow o;
    GlazedWindow(o);
    struct Case {
        int height;
        bool bar;
        int profileLabel, notesLabel;  // tops, pixels
    };
    static const Case cases[] = {
        {632, false, 2, 540},
        {631, true, 2, 540},
        {632 + 47, false, 2 + 2, 540 + 15 * 2},  // (679 - 632) / 16 = 2
        {632 + 48, false, 2 + 3, 540 + 15 * 3},
    };
    Run(o, 1, {[] {
            // The numbers are 96-dpi ones: the content height and the tops
            // scale, the surplus is spread in the panel's own pixels.
            const int dpi = KvDpiForWindow(Panel());
            auto px = [dpi](int v) { return KvScale(v, dpi); };
            const int content = px(632);
            for (const Case& c : cases) {
                const int height = content + (c.height - 632);
                SetWindowPos(Panel(), nullptr, 0, 0, px(280), height, SWP_NOMOVE | SWP_NOZORDER);
                RECT rc;
                GetClientRect(Panel(), &rc);
                EXPECT_EQ(height, rc.bottom);
                bool bar = (GetWindowLongA(Panel(), GWL_STYLE) & WS_VSCROLL) != 0;
                EXPECT_EQ(c.bar, bar) << c.height;
                if (c.bar) {
                    SCROLLINFO si = {sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
                    GetScrollInfo(Panel(), SB_VERT, &si);
                    EXPECT_EQ(height, (int)si.nPage);
                    EXPECT_EQ(0, si.nMin);
                    EXPECT_EQ(content, si.nMax);
                }
                const int spread = (c.profileLabel - 2);  // the cases' surplus per step
                EXPECT_EQ(px(2) + spread, ChildTop(IDC_PNL_PROFILE_LABEL)) << c.height;
                EXPECT_EQ(px(540) + 15 * spread, ChildTop(IDC_PNL_NOTES_LABEL)) << c.height;
            }
            for (const std::string& s : TextsThatDoNotFit(Panel())) ADD_FAILURE() << "does not fit: " << s;
            return true;
        }});
}

// With a price list the panel shows its line under the price box, moves
// what is below down by the line's height, follows the names as they are
// typed, and "Use" puts the suggestion into the net price, only in the
// program currency and only where the window may be edited.
TEST_F(DesignerTest, PriceListLineFollowsTheNamesAndUseSetsThePriceAtEveryScale) {
    // The glazed window: frame 4 m at 10.00, glass 0.7396 m2 at 40.00:
    // 69.584, shown as 69.58.
    ASSERT_EQ(1, DbSavePriceList({Entry(kPriceProfile, "profile", 1000), Entry(kPriceFilling, "g", 4000),
                                  Entry(kPriceColour, "Oak", 1000)},
                                 msg_))
        << msg_;
    TestWindow o;
    GlazedWindow(o);
    Run(o, 1,
        {
            [] {
                const int dpi = KvDpiForWindow(Panel());
                EXPECT_EQ("Price list:", Text(Item(IDC_PNL_PRICE_LIST_LABEL)));
                EXPECT_EQ(Loc("69#58") + " EUR", Text(Item(IDC_PNL_PRICE_LIST)));
                EXPECT_EQ("No price for: colour, bead", Text(Item(IDC_PNL_PRICE_LIST_MISSING)));
                // The content is 632 + 66 pixels at 96 dpi: at that height no
                // surplus, no scroll bar, and the blocks under the price box
                // 66 lower than their places.
                auto height = [dpi](int h) {
                    SetWindowPos(Panel(), nullptr, 0, 0, KvScale(280, dpi), KvScale(h, dpi),
                                 SWP_NOMOVE | SWP_NOZORDER);
                    return (GetWindowLongA(Panel(), GWL_STYLE) & WS_VSCROLL) != 0;
                };
                EXPECT_TRUE(height(697));
                EXPECT_FALSE(height(698));
                EXPECT_EQ(KvScale(386, dpi), ChildTop(IDC_PNL_PRICE_BOX));
                EXPECT_EQ(KvScale(452, dpi), ChildTop(IDC_PNL_PRICE_LIST_LABEL));
                EXPECT_EQ(KvScale(448 + 66, dpi), ChildTop(IDC_PNL_TOTAL_BOX));
                EXPECT_EQ(KvScale(540 + 66, dpi), ChildTop(IDC_PNL_NOTES_LABEL));
                for (const std::string& t : TextsThatDoNotFit(Panel()))
                    ADD_FAILURE() << "does not fit: " << t;
                HWND colour = Item(IDC_PNL_COLOR_EDIT);
                SetFocus(colour);
                for (char ch : std::string("oak")) SendMessageA(colour, WM_CHAR, ch, 0);
                return true;
            },
            [&o] {
                // 69.584 with 10 % on the frame's 40.00: 73.584.
                EXPECT_EQ(Loc("73#58") + " EUR", Text(Item(IDC_PNL_PRICE_LIST)));
                EXPECT_EQ("No price for: bead", Text(Item(IDC_PNL_PRICE_LIST_MISSING)));
                EXPECT_EQ(0, o.r.cenaZReki);  // never by itself
                EXPECT_TRUE(IsWindowEnabled(Item(IDC_PNL_PRICE_LIST_USE)));
                SendMessageA(Item(IDC_PNL_PRICE_LIST_USE), BM_CLICK, 0, 0);
                EXPECT_EQ(Loc("73#58"), Text(Item(IDC_PNL_NET)));
                EXPECT_EQ(7358, o.r.cenaZReki);
                EXPECT_EQ(Loc("90#50"), Text(Item(IDC_PNL_GROSS)));  // + 23 %
                return true;
            },
        });

    // An order in another currency: the suggestion in the program's, no "Use".
    order_.idWalZam = 13;
    Run(o, 1, {[] {
            EXPECT_EQ(Loc("69#58") + " EUR", Text(Item(IDC_PNL_PRICE_LIST)));
            EXPECT_FALSE(IsWindowEnabled(Item(IDC_PNL_PRICE_LIST_USE)));
            return true;
        }});
    // Viewing only: the lines without the button.
    order_.idWalZam = 12;
    Run(o, 0, {[] {
            EXPECT_EQ(Loc("69#58") + " EUR", Text(Item(IDC_PNL_PRICE_LIST)));
            EXPECT_EQ(nullptr, Item(IDC_PNL_PRICE_LIST_USE));
            return true;
        }});
}

// The tooltip's text for `control` as the panel answers it.
std::string TipTextOf(HWND control) {
    NMTTDISPINFOA di = {};
    di.hdr.hwndFrom = nullptr;
    di.hdr.idFrom = (UINT_PTR)control;
    di.hdr.code = TTN_GETDISPINFOA;
    di.uFlags = TTF_IDISHWND;
    SendMessageA(Panel(), WM_NOTIFY, 0, (LPARAM)&di);
    return di.lpszText ? di.lpszText : "<none>";
}

// Names too long for the missing line's two lines: the line keeps its box
// and the blocks below their places, ends the last line in "...", and its
// tooltip gives the whole text (which the control's own text still is); a
// line that fits has no tip.
TEST_F(DesignerTest, ALongMissingLineEndsInAnEllipsisAndItsTipHasItAll) {
    ASSERT_EQ(1, DbSavePriceList({Entry(kPriceFilling, "g", 4000)}, msg_)) << msg_;
    TestWindow o;
    GlazedWindow(o);
    strcpy(o.r.nazProfil, "Aluminium system with a thermal break");
    strcpy(o.r.nazKolor, "Anthracite grey with a brushed finish");
    strcpy(o.r.nazListwa, "Rounded bead of twenty millimetres");
    const std::string whole =
        "No price for: profile Aluminium system with a thermal break, colour Anthracite grey with a brushed "
        "finish, bead Rounded bead of twenty millimetres";
    Run(o, 1, {[&] {
            HWND line = Item(IDC_PNL_PRICE_LIST_MISSING);
            const int dpi = KvDpiForWindow(Panel());
            // The content's own height: no surplus spread between the blocks.
            SetWindowPos(Panel(), nullptr, 0, 0, KvScale(280, dpi), KvScale(698, dpi), SWP_NOMOVE | SWP_NOZORDER);
            EXPECT_EQ(whole, Text(line));
            EXPECT_EQ(KvScale(472, dpi), ChildTop(IDC_PNL_PRICE_LIST_MISSING));
            EXPECT_EQ(KvScale(448 + 66, dpi), ChildTop(IDC_PNL_TOTAL_BOX));
            RECT box;
            GetClientRect(line, &box);
            EXPECT_EQ(KvScale(40, dpi), box.bottom);
            ScopedWindowDC dc(line);
            ScopedSelect font(dc, (HFONT)SendMessageA(line, WM_GETFONT, 0, 0));
            const std::string shown = KvFitText(dc, box, whole);
            EXPECT_LT(shown.size(), whole.size());
            EXPECT_EQ("...", shown.substr(shown.size() - 3)) << shown;
            EXPECT_EQ(0u, whole.find(shown.substr(0, shown.size() - 3)));
            EXPECT_EQ(whole, TipTextOf(line));
            // Short again: all of it shows, and no tip.
            SetWindowTextA(Item(IDC_PNL_PROFILE_EDIT), "");
            SetWindowTextA(Item(IDC_PNL_COLOR_EDIT), "");
            return true;
        },
        [&] {
            EXPECT_EQ("No price for: profile, colour, bead Rounded bead of twenty millimetres",
                      Text(Item(IDC_PNL_PRICE_LIST_MISSING)));
            EXPECT_EQ("", TipTextOf(Item(IDC_PNL_PRICE_LIST_MISSING)));
            return true;
        }});
}

// The canvas as it shows on the screen, one COLORREF-like value per pixel
// (0x00RRGGBB), rows top to bottom.
struct Shot {
    int width = 0, height = 0;
    std::vector<uint32_t> px;
    uint32_t at(int x, int y) const { return px[(size_t)y * width + x]; }
};

Shot TakeShot(HWND hwnd) {
    Shot s;
    RECT rc;
    GetClientRect(hwnd, &rc);
    s.width = rc.right;
    s.height = rc.bottom;
    s.px.resize((size_t)s.width * s.height);
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), s.width, -s.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    ScopedWindowDC screen(hwnd);
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) return s;
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, s.width, s.height, screen, 0, 0, SRCCOPY);
    memcpy(s.px.data(), bits, s.px.size() * 4);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);
    for (uint32_t& p : s.px) p &= 0xffffff;
    return s;
}

// Wine sends no WM_DPICHANGED: the message of a move to a monitor of half as
// much dpi again is sent by hand. Pictures, panel and canvas take the new
// scale: the drawing's margin to the overall height's line, and that line's
// text in the font of the new dpi.
TEST_F(DesignerTest, AMoveToAnotherDpiLaysTheDesignerOutForItAtEveryScale) {
    TestWindow o;
    GlazedWindow(o);
    int to = 0;
    Run(o, 1, {[&] {
            to = KvDpiForWindow(Designer()) * 3 / 2;
            ShowWindow(Designer(), SW_RESTORE);
            RECT suggested = {0, 0, KvScale(800, to), KvScale(600, to)};
            SendMessageA(Designer(), WM_DPICHANGED, MAKEWPARAM(to, to), (LPARAM)&suggested);
            RECT r;
            GetWindowRect(Designer(), &r);
            EXPECT_EQ(KvScale(800, to), r.right - r.left);
            GetWindowRect(Panel(), &r);
            EXPECT_EQ(KvScale(248, to) + GetSystemMetrics(SM_CXVSCROLL), r.right - r.left);
            GetWindowRect(Item(IDC_PNL_NET), &r);
            EXPECT_NEAR(KvScale(64, to), r.right - r.left, 1);
            EXPECT_EQ(KvScale(39, to) - KvScale(2, to),
                      ChildTop(IDC_PNL_PROFILE_TYPE) - ChildTop(IDC_PNL_PROFILE_LABEL));
            for (const std::string& t : TextsThatDoNotFit(Panel())) ADD_FAILURE() << "does not fit: " << t;
            int cx = 0, cy = 0;
            ImageList_GetIconSize((HIMAGELIST)SendMessageA(Toolbar(), TB_GETIMAGELIST, 0, 0), &cx, &cy);
            EXPECT_EQ(26 * (2 + KvPictureScaleIndex(to)) / 2, cx);  // 26 x 25 at 96 dpi

            UpdateWindow(Canvas());
            const Shot shot = TakeShot(Canvas());
            const uint32_t bg = shot.at(1, 1);
            int top = -1;
            for (int y = 0; y < shot.height && top < 0; y++)
                if (shot.at(shot.width / 2, y) != bg) top = y;
            EXPECT_GT(top, 0);
            if (top < 0) return true;
            // Right to left along a row just below the frame's top: the height's
            // line, a gap, the frame's outer edge.
            const int row = top + 3;
            int line = shot.width - 1;
            while (line > 0 && shot.at(line, row) == bg) line--;
            int edge = line - 1;
            while (edge > 0 && shot.at(edge, row) == bg) edge--;
            EXPECT_NEAR(KvScale(30, to) + 1, line - edge, 1);
            // The text right of that line, past the ends' ticks: "1000",
            // running upward.
            int first = -1, last = -1;
            for (int y = 0; y < shot.height; y++)
                for (int x = line + KvScale(5, to) + 1; x < shot.width; x++)
                    if (shot.at(x, y) != bg) {
                        if (first < 0) first = y;
                        last = y;
                    }
            ScopedFont arial(CreateFontA(-KvScale(10, to), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                         0, 0, "Arial"));
            ScopedCompatibleDC dc(nullptr);
            SIZE ext = {};
            {
                ScopedSelect font(dc, arial);
                GetTextExtentPoint32A(dc, "1000", 4, &ext);
            }
            EXPECT_GE(last - first + 1, ext.cx * 8 / 10) << "the text is in a smaller font";
            EXPECT_LE(last - first + 1, ext.cx + 2);
            return true;
        }});
}

// ---- Undo and redo ---------------------------------------------------------------------

// The window's stored elements, then its thicknesses and profile type.
std::vector<unsigned char> Stored(const TestWindow& o) {
    std::vector<unsigned char> v;
    for (int32_t i = 0; i < o.r.liczbaOper; i++) {
        unsigned char b[kOpBlobLen];
        DrawOpToBlob(&o.r.oper[i], b);
        v.insert(v.end(), b, b + DefinitionLength(o.r.oper[i].typ));
    }
    const unsigned char* g = (const unsigned char*)&o.r.sGrubProf;
    v.insert(v.end(), g, g + sizeof o.r.sGrubProf);
    v.push_back((unsigned char)o.r.grubSzpros);
    v.push_back((unsigned char)o.r.iProfSch);
    return v;
}

// A point of the window in millimetres on the designer's canvas.
LPARAM CanvasAt(const TestWindow& o, int32_t X, int32_t Y) {
    RECT r;
    GetClientRect(Canvas(), &r);
    const strProst c = {r.left, r.top, r.right, r.bottom};
    int32_t x = 0, y = 0;
    EXPECT_EQ(1, CanvasMmToPx(o.r.oper[0].rama.x1, o.r.oper[0].rama.y1, &c, kCanvasMargin, X, Y, &x, &y));
    return MAKELPARAM(x, y);
}

void DesignerCommand(int id) { SendMessageA(Designer(), WM_COMMAND, id, 0); }

// A click with the pointer on the bottom chain's first label; the editor
// that opens over it.
HWND OpenBottomChainEditor() {
    DesignerCommand(CMD_DES_POINTER);
    const strProst& label = StateOf(Canvas())->p->dimensionSet.chainSegments[kDimensionBottom][0].tekst;
    const LPARAM at = MAKELPARAM((label.left + label.right) / 2, (label.top + label.bottom) / 2);
    SendMessageA(Canvas(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(Canvas(), WM_LBUTTONUP, 0, at);
    return GetDlgItem(Canvas(), IDC_CANVAS_EDIT);
}

// Ten steps of every kind in one opening (a mullion, a sash, a thickness,
// the profile type, a grid, a chain edit, a sash kind, the muntin
// thickness, a deletion, a mullion kind), with a refused click between
// them that is no step; undone one by one to the bare frame and redone to
// the end, the elements, thicknesses and Uw compared after each. Then two
// undos and a new change leave nothing to redo, and Cancel saves nothing.
TEST_F(DesignerTest, UndoTakesEveryStepBackToTheOpeningAndRedoBringsThemAgain) {
    TestWindow o;
    o << DrawFrame(2000, 1000);
    o.r.sWspUw = strWspUw{130, 140, 150, 160, 110, 600, 250, 900};
    Geometry(o);
    struct Seen {
        std::vector<unsigned char> stored;
        std::string uw;
    };
    std::vector<Seen> states;
    auto take = [&] { states.push_back({Stored(o), Text(Item(IDC_PNL_UW))}); };
    auto same = [&](const Seen& want, const char* what, size_t k) {
        const std::vector<unsigned char> now = Stored(o);
        size_t at = 0;
        while (at < want.stored.size() && at < now.size() && want.stored[at] == now[at]) at++;
        EXPECT_TRUE(want.stored == now) << what << " " << k << ": " << want.stored.size() << " bytes wanted, "
                                        << now.size() << " there, the first difference at " << at;
        EXPECT_EQ(want.uw, Text(Item(IDC_PNL_UW))) << what << " " << k;
    };
    auto down = [&](int32_t X, int32_t Y) {
        SendMessageA(Canvas(), WM_LBUTTONDOWN, MK_LBUTTON, CanvasAt(o, X, Y));
    };
    auto up = [&](int32_t X, int32_t Y) { SendMessageA(Canvas(), WM_LBUTTONUP, 0, CanvasAt(o, X, Y)); };
    char msg[KV_MSG_LEN] = "";
    bool undoAtStart = true, redoAtEnd = true, redoAfterNewChange = true;
    auto tools = [] {
        std::string t;
        for (int id : {CMD_DES_FRAME, CMD_DES_MULLION, CMD_DES_SASH, CMD_DES_FILLING, CMD_DES_MUNTIN})
            t += Enabled(id) ? '1' : '0';
        return t;
    };
    std::string toolsAtStart;
    const int saved =
        Run(o, 1,
            {
                [&] {
                    take();
                    undoAtStart = Enabled(CMD_DES_UNDO);
                    toolsAtStart = tools();
                    DesignerCommand(CMD_DES_FIXED_MULLION);
                    down(1000, -20);  // a band across the whole height
                    SendMessageA(Canvas(), WM_MOUSEMOVE, MK_LBUTTON, CanvasAt(o, 1000, 1020));
                    up(1000, 1020);
                    EXPECT_EQ(2, o.n());
                    take();
                    DesignerCommand(CMD_DES_SASH_FIRST + 1);
                    down(500, 500);
                    up(500, 500);
                    EXPECT_EQ(3, o.n());
                    take();
                    const size_t boxes = g_boxes.size();
                    down(500, 500);  // a second sash in the same area is refused
                    up(500, 500);
                    EXPECT_EQ(boxes + 1, g_boxes.size());
                    ClickSpin(GetDlgItem(Panel(), IDC_PNL_FRAME_SPIN), true);
                    take();
                    SendMessageA(Designer(), WM_COMMAND, MAKEWPARAM(IDC_PNL_WOOD, BN_CLICKED), 0);
                    take();
                    DesignerCommand(CMD_DES_FIXED_MULLION);
                    const LPARAM at = CanvasAt(o, 1500, 500);
                    PostMessageA(Canvas(), WM_LBUTTONDOWN, MK_LBUTTON, at);
                    PostMessageA(Canvas(), WM_LBUTTONUP, 0, at);
                    PostMessageA(Canvas(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
                    PostMessageA(Canvas(), WM_LBUTTONUP, 0, at);
                    return true;
                },
                [&] {
                    HWND dlg = Dialog("Insert mullions");
                    if (!dlg) return false;
                    SetDlgItemTextA(dlg, IDC_GRID_HORIZONTAL, "1");
                    SetDlgItemTextA(dlg, IDC_GRID_VERTICAL, "1");
                    SendMessageA(dlg, WM_COMMAND, IDOK, 0);
                    return true;
                },
                [&] {
                    if (Dialog("Insert mullions") || o.n() != 6) return false;
                    take();
                    // The bottom chain's first label: the mullion's distance from
                    // the left edge, typed in its editor.
                    HWND ed = OpenBottomChainEditor();
                    EXPECT_TRUE(IsWindowVisible(ed));
                    SetWindowTextA(ed, "900");
                    SendMessageA(ed, WM_KEYDOWN, VK_RETURN, 0);
                    EXPECT_EQ(900, o.r.oper[1].slupek.poz);
                    take();
                    EXPECT_EQ(1, CanvasChangeSash(Canvas(), 2, 2, 1, msg)) << msg;
                    take();
                    ClickSpin(GetDlgItem(Panel(), IDC_PNL_MUNTIN_TH_SPIN), true);
                    take();
                    EXPECT_EQ(1, CanvasDelete(Canvas(), 5, msg)) << msg;
                    take();
                    EXPECT_EQ(1, CanvasChangeMullion(Canvas(), 1, 1, msg)) << msg;
                    take();
                    EXPECT_EQ(11u, states.size());

                    for (size_t k = states.size() - 1; k > 0; k--) {
                        DesignerCommand(CMD_DES_UNDO);
                        same(states[k - 1], "after undoing step", k);
                    }
                    EXPECT_FALSE(Enabled(CMD_DES_UNDO));
                    EXPECT_EQ(toolsAtStart, tools()) << "the bare frame again offers what it offered";
                    for (size_t k = 1; k < states.size(); k++) {
                        DesignerCommand(CMD_DES_REDO);
                        same(states[k], "after redoing step", k);
                    }
                    redoAtEnd = Enabled(CMD_DES_REDO);
                    DesignerCommand(CMD_DES_UNDO);
                    DesignerCommand(CMD_DES_UNDO);
                    same(states[8], "two steps back", 8);
                    ClickSpin(GetDlgItem(Panel(), IDC_PNL_SASH_SPIN), true);
                    redoAfterNewChange = Enabled(CMD_DES_REDO);
                    EXPECT_TRUE(Enabled(CMD_DES_UNDO));
                    DesignerCommand(CMD_DES_UNDO);
                    same(states[8], "the new change undone", 8);
                    DesignerCommand(CMD_DES_CANCEL);
                    return true;
                },
            });
    EXPECT_FALSE(undoAtStart);
    EXPECT_FALSE(redoAtEnd);
    EXPECT_FALSE(redoAfterNewChange);
    EXPECT_EQ(0, saved);
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_NE(std::string::npos, g_boxes[0].text.find("sash")) << g_boxes[0].text;
}

// The keys as keyboard input: Ctrl+Z on the canvas takes a step back; in
// the notes it undoes only the typing; Escape closes the open dimension
// editor, then the designer itself.
TEST_F(DesignerTest, KeysUndoOnTheCanvasAndEscapeClosesTheEditorThenTheDesigner) {
    TestWindow o;
    o << DrawFrame(2000, 1000) << DrawMullion(false, 1000, false, 0, 0);
    Geometry(o);
    const int32_t t0 = o.r.sGrubProf.rama;
    bool editorClosedFirst = false;
    Script script;
    script.steps = {
        [&] {
            ClickSpin(GetDlgItem(Panel(), IDC_PNL_FRAME_SPIN), true);
            ClickSpin(GetDlgItem(Panel(), IDC_PNL_FRAME_SPIN), true);
            EXPECT_EQ(t0 + 2, o.r.sGrubProf.rama);
            PressKey(Designer(), Canvas(), 'Z', true);
            return true;
        },
        [&] {
            if (o.r.sGrubProf.rama != t0 + 1) return false;  // one step back
            PressKey(Designer(), Item(IDC_PNL_NOTES), 'A');
            return true;
        },
        [&] {
            if (Text(Item(IDC_PNL_NOTES)) != "a") return false;
            PressKey(Designer(), Item(IDC_PNL_NOTES), 'Z', true);
            return true;
        },
        [&] {
            if (!Text(Item(IDC_PNL_NOTES)).empty()) return false;
            EXPECT_EQ(t0 + 1, o.r.sGrubProf.rama) << "Ctrl+Z in the notes took a step of the window back";
            HWND ed = OpenBottomChainEditor();
            EXPECT_TRUE(IsWindowVisible(ed));
            PressKey(Designer(), ed, VK_ESCAPE);
            return true;
        },
        [&] {
            if (IsWindowVisible(GetDlgItem(Canvas(), IDC_CANVAS_EDIT))) return false;
            editorClosedFirst = Designer() != nullptr;
            PressKey(Designer(), Canvas(), VK_ESCAPE);
            return true;
        },
        [] { return false; },  // Escape ends the designer before this step is done
    };
    LoopProbe probe(ScriptTick, &script, 20000);
    const int saved = RunDesigner(nullptr, &o.r, &order_, &ds_, 1);
    EXPECT_FALSE(probe.timedOut()) << "the script stopped at step " << script.next;
    EXPECT_EQ(script.steps.size() - 1, script.next);
    EXPECT_TRUE(editorClosedFirst);
    EXPECT_EQ(0, saved);
    EXPECT_EQ(nullptr, Designer());
}

// ---- Register choices in the history ---------------------------------------------------------

// Two profiles and two muntins far apart, on a 2000 x 2000 frame that takes
// them all.
class ChoiceHistoryTest : public DesignerTest {
protected:
    void SetUp() override {
        DesignerTest::SetUp();
        Sql("INSERT INTO T_ZstProfil VALUES ('Normal 70', 0, x'4600000046000000500000003C000000'),"
            " ('Huge 400', 2, x'90010000900100002C0100002C010000');"
            "INSERT INTO T_ZstSzpros VALUES ('Bar 26', 26), ('Bar 40', 40);");
        o_ << DrawFrame(2000, 2000) << DrawFilling(0, "G", 0) << DrawMuntin(1000, false, 0, 0, 1);
        strcpy(o_.r.nazProfil, "Own");
        o_.r.sGrubProf = strGrubProf{50, 55, 60, 45};
        strcpy(o_.r.nazSzpros, "Own bar");
        Geometry(o_);
        rows_ = Rows("SELECT nazwa, typ, hex(sGrubProf) FROM T_ZstProfil ORDER BY nazwa");
        muntinRows_ = Rows("SELECT nazwa, grubSzpros FROM T_ZstSzpros ORDER BY nazwa");
    }
    // A choice with the mouse: the entry chosen, then the list closing.
    static void Pick(int list, const char* name) {
        const int at = (int)SendMessageA(Item(list), CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)name);
        ChooseEntry(list, at);
        SendMessageA(Panel(), WM_COMMAND, MAKEWPARAM(list, CBN_CLOSEUP), (LPARAM)Item(list));
    }
    // What the list shows and what the record and the spin hold.
    std::string Shown(int list) {
        char sel[160] = "";
        const LRESULT at = SendMessageA(Item(list), CB_GETCURSEL, 0, 0);
        if (at >= 0) SendMessageA(Item(list), CB_GETLBTEXT, at, (LPARAM)sel);
        const bool profile = list == IDC_PNL_PROFILE_LIST;
        return Text(Item(list)) + "|" + sel + "|" +
               std::to_string(profile ? o_.r.sGrubProf.rama : o_.r.grubSzpros) + "|" +
               Text(Item(profile ? IDC_PNL_FRAME_EDIT : IDC_PNL_MUNTIN_TH_EDIT));
    }
    TestWindow o_;
    std::vector<std::string> rows_, muntinRows_;
};

// Normal 70, then Huge 400, then Undo: the name goes back with the
// thicknesses (the list's selection too), and so on through redo; Save then
// files the window under the name its values came with, and neither
// register row is rewritten with another entry's values.
TEST_F(ChoiceHistoryTest, UndoAndRedoPutTheNameBackWithItsValues) {
    std::vector<std::string> profile, muntin;
    const int saved = Run(o_, 1, {[&] {
                                      Pick(IDC_PNL_PROFILE_LIST, "Normal 70");
                                      Pick(IDC_PNL_PROFILE_LIST, "Huge 400");
                                      profile.push_back(Shown(IDC_PNL_PROFILE_LIST));
                                      for (int id : {CMD_DES_UNDO, CMD_DES_UNDO, CMD_DES_REDO, CMD_DES_REDO,
                                                     CMD_DES_UNDO}) {
                                          DesignerCommand(id);
                                          profile.push_back(Shown(IDC_PNL_PROFILE_LIST));
                                      }
                                      Pick(IDC_PNL_MUNTIN_LIST, "Bar 26");
                                      Pick(IDC_PNL_MUNTIN_LIST, "Bar 40");
                                      DesignerCommand(CMD_DES_UNDO);
                                      muntin.push_back(Shown(IDC_PNL_MUNTIN_LIST));
                                      DesignerCommand(CMD_DES_UNDO);
                                      muntin.push_back(Shown(IDC_PNL_MUNTIN_LIST));
                                      DesignerCommand(CMD_DES_REDO);
                                      muntin.push_back(Shown(IDC_PNL_MUNTIN_LIST));
                                      DesignerCommand(CMD_DES_SAVE);
                                      return true;
                                  }});
    EXPECT_EQ((std::vector<std::string>{"Huge 400|Huge 400|400|400", "Normal 70|Normal 70|70|70",
                                        "Own||50|50", "Normal 70|Normal 70|70|70", "Huge 400|Huge 400|400|400",
                                        "Normal 70|Normal 70|70|70"}),
              profile);
    EXPECT_EQ((std::vector<std::string>{"Bar 26|Bar 26|26|26", "Own bar||20|20", "Bar 26|Bar 26|26|26"}), muntin);
    EXPECT_EQ(1, saved);
    EXPECT_TRUE(g_boxes.empty()) << LastBox();
    EXPECT_EQ(rows_, Rows("SELECT nazwa, typ, hex(sGrubProf) FROM T_ZstProfil ORDER BY nazwa"));
    EXPECT_EQ(muntinRows_, Rows("SELECT nazwa, grubSzpros FROM T_ZstSzpros ORDER BY nazwa"));
    EXPECT_STREQ("Normal 70", o_.r.nazProfil);
    EXPECT_EQ(0, memcmp(&o_.r.sGrubProf, "\x46\0\0\0\x46\0\0\0\x50\0\0\0\x3C\0\0\0", 16));
    EXPECT_EQ(0, o_.r.iProfSch);
    EXPECT_STREQ("Bar 26", o_.r.nazSzpros);
    EXPECT_EQ(26, o_.r.grubSzpros);
}

// Down twice in the profile's field chooses two entries, each applied at
// once; the focus leaving the list ends the pass, and one Undo takes the
// window back to the profile it had before.
TEST_F(ChoiceHistoryTest, ArrowingThroughTheListIsOneStep) {
    HWND field = nullptr;
    int frames[2] = {};
    std::string after;
    Run(o_, 1, {[&] {
                    field = ListField(IDC_PNL_PROFILE_LIST);
                    PressKey(Designer(), field, VK_DOWN);
                    return true;
                },
                [&] {
                    frames[0] = o_.r.sGrubProf.rama;
                    PressKey(Designer(), field, VK_DOWN);
                    return true;
                },
                [&] {
                    frames[1] = o_.r.sGrubProf.rama;
                    SetFocus(Canvas());
                    DesignerCommand(CMD_DES_UNDO);
                    after = Shown(IDC_PNL_PROFILE_LIST);
                    EXPECT_FALSE(Enabled(CMD_DES_UNDO)) << "more than one step";
                    DesignerCommand(CMD_DES_REDO);
                    EXPECT_EQ(frames[1], o_.r.sGrubProf.rama);
                    return true;
                }});
    EXPECT_EQ(400, frames[0]);  // Huge 400 comes first, then Normal 70
    EXPECT_EQ(70, frames[1]);
    EXPECT_EQ("Own||50|50", after);
}

// Ctrl+Z and Ctrl+Y where the focus is in a read-only thickness field undo
// and redo the window's step; Ctrl+Alt+Z (AltGr+Z types a letter) does
// nothing; the tool chosen stays through undo and redo.
TEST_F(DesignerTest, KeysInAThicknessFieldUndoButAltGrNeverDoes) {
    TestWindow o;
    o << DrawFrame(2000, 1000);
    Geometry(o);
    const int32_t t0 = o.r.sGrubProf.rama;
    HWND edit = nullptr;
    std::vector<int32_t> seen;
    bool sashKept = false;
    Run(o, 1, {[&] {
                   DesignerCommand(CMD_DES_SASH_FIRST + 1);
                   ClickSpin(GetDlgItem(Panel(), IDC_PNL_FRAME_SPIN), true);
                   edit = Item(IDC_PNL_FRAME_EDIT);
                   PressKey(Designer(), edit, 'Z', true, false, true);
                   return true;
               },
               [&] {
                   seen.push_back(o.r.sGrubProf.rama);
                   PressKey(Designer(), edit, 'Z', true);
                   return true;
               },
               [&] {
                   seen.push_back(o.r.sGrubProf.rama);
                   sashKept = Checked(CMD_DES_SASH);
                   PressKey(Designer(), edit, 'Y', true);
                   return true;
               },
               [&] {
                   seen.push_back(o.r.sGrubProf.rama);
                   return true;
               }});
    EXPECT_EQ((std::vector<int32_t>{t0 + 1, t0, t0 + 1}), seen);
    EXPECT_TRUE(sashKept) << "undo dropped the chosen tool";
}

// The height of the font a control draws with.
LONG FontHeight(HWND control) {
    LOGFONTA lf = {};
    GetObjectA((HFONT)SendMessageA(control, WM_GETFONT, 0, 0), sizeof lf, &lf);
    return lf.lfHeight;
}

LONG GuiFontHeightAt(int dpi) {
    LOGFONTA lf = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    return MulDiv(lf.lfHeight, dpi, KvSystemDpi());
}

int g_monitorDpi;
int MonitorDpi(HWND) { return g_monitorDpi; }

// A designer opened on a monitor of another scale than the system's (Wine
// has one: a stand-in says so) makes its panel's fonts, the canvas editor's
// included, for its own dpi; a move to another dpi gives the editor the
// font of that one too.
TEST_F(DesignerTest, FontsAreMadeForTheWindowsOwnDpi) {
    TestWindow o;
    GlazedWindow(o);
    g_monitorDpi = KvSystemDpi() * 3 / 2;
    KvSetWindowDpiSource(MonitorDpi);
    std::vector<LONG> heights;
    LONG editorAfterMove = 0;
    LRESULT tipWidth = 0;
    int tipAbove = 0;
    Run(o, 1, {[&] {
            for (int id : {IDC_PNL_PROFILE_LABEL, IDC_PNL_NOTES, IDC_PNL_FRAME_EDIT, IDC_PNL_QTY_EDIT})
                heights.push_back(FontHeight(Item(id)));
            heights.push_back(FontHeight(GetDlgItem(Canvas(), IDC_CANVAS_EDIT)));
            // The tooltip over the glass: as wide, and as far above the
            // mouse, as at 96 dpi in that scale.
            const LPARAM at = CanvasAt(o, 500, 500);
            SendMessageA(Canvas(), WM_MOUSEHOVER, 0, at);
            HWND tip = StateOf(Canvas())->tip;
            tipWidth = SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0);
            RECT r;
            GetWindowRect(tip, &r);
            POINT pt = {(short)LOWORD(at), (short)HIWORD(at)};
            ClientToScreen(Canvas(), &pt);
            tipAbove = pt.y - r.top;
            g_monitorDpi = KvSystemDpi() * 2;
            RECT suggested = {0, 0, KvScale(800, g_monitorDpi), KvScale(600, g_monitorDpi)};
            SendMessageA(Designer(), WM_DPICHANGED, MAKEWPARAM(g_monitorDpi, g_monitorDpi), (LPARAM)&suggested);
            editorAfterMove = FontHeight(GetDlgItem(Canvas(), IDC_CANVAS_EDIT));
            return true;
        }});
    KvSetWindowDpiSource(nullptr);
    const LONG want = GuiFontHeightAt(KvSystemDpi() * 3 / 2);
    EXPECT_EQ(std::vector<LONG>(5, want), heights);
    EXPECT_EQ(GuiFontHeightAt(KvSystemDpi() * 2), editorAfterMove);
    EXPECT_EQ(KvScale(128, KvSystemDpi() * 3 / 2), tipWidth);
    EXPECT_NEAR(KvScale(20, KvSystemDpi() * 3 / 2), tipAbove, 1);  // the tip's border
}

int PanelPos() { return GetScrollPos(Panel(), SB_VERT); }

TEST_F(DesignerTest, PageDownScrollsThePanelExceptInTheNotesAndTheWheelAlwaysDoes) {
    TestWindow o;
    GlazedWindow(o);
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    ASSERT_GT(lines, 0u);
    ASSERT_EQ(0u, 120 % lines);
    Run(o, 1,
        {
            [] {
                SetWindowPos(Panel(), nullptr, 0, 0, 280, 300, SWP_NOMOVE | SWP_NOZORDER);
                SetFocus(Item(IDC_PNL_NET));
                PostMessageA(Item(IDC_PNL_NET), WM_KEYDOWN, VK_NEXT, 0);
                return true;
            },
            [] {
                EXPECT_EQ(300, PanelPos());  // a page
                PostMessageA(Item(IDC_PNL_NET), WM_KEYDOWN, VK_PRIOR, 0);
                return true;
            },
            [] {
                EXPECT_EQ(0, PanelPos());
                // The notes taking the focus are brought into view, 2 pixels
                // above the bottom: 555 + 73 - 300 + 2.
                SetFocus(Item(IDC_PNL_NOTES));
                EXPECT_EQ(330, PanelPos());
                SetWindowTextA(Item(IDC_PNL_NOTES),
                               "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12");
                SendMessageA(Item(IDC_PNL_NOTES), EM_SETSEL, 0, 0);
                PostMessageA(Item(IDC_PNL_NOTES), WM_KEYDOWN, VK_NEXT, 0);
                return true;
            },
            [] {
                EXPECT_EQ(330, PanelPos());  // the notes took it: their caret moved
                DWORD caret = 0;
                SendMessageA(Item(IDC_PNL_NOTES), EM_GETSEL, (WPARAM)&caret, 0);
                EXPECT_GT(caret, 0u);
                PostMessageA(Canvas(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(10, 10));
                return true;
            },
            [lines] {
                EXPECT_EQ(330 - 10 * (int)lines, PanelPos());
                // Two half notches add up to one, wherever the mouse is.
                PostMessageA(Canvas(), WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)(-WHEEL_DELTA / 2)), 0);
                PostMessageA(Item(IDC_PNL_NOTES), WM_MOUSEWHEEL,
                             MAKEWPARAM(0, (WORD)(short)(-WHEEL_DELTA / 2)), 0);
                return true;
            },
            [] {
                EXPECT_EQ(330, PanelPos());
                return true;
            },
        });
}

// ---- Factors dialog and the panel's figures
// -----------------------------------------------------------------

struct FactorsRun {
    std::vector<std::pair<int, std::string>> typed;  // field, pattern
    int click;                                       // radio to click first, or 0
    int button;                                      // IDOK or IDCANCEL
    std::vector<std::pair<int, std::string>> shown;  // checked on opening
};

bool FactorsTick(void* context) {
    FactorsRun* r = (FactorsRun*)context;
    HWND d = Dialog("Factors");
    if (!d) return false;
    for (auto& s : r->shown) EXPECT_EQ(Loc(s.second.c_str()), Text(GetDlgItem(d, s.first))) << s.first;
    if (r->click) SendDlgItemMessageA(d, r->click, BM_CLICK, 0, 0);
    for (auto& t : r->typed) {
        EXPECT_FALSE(ReadOnly(GetDlgItem(d, t.first))) << t.first;
        SetDlgItemTextA(d, t.first, Loc(t.second.c_str()).c_str());
    }
    PostMessageA(d, WM_COMMAND, r->button, 0);
    return true;
}

TEST_F(DesignerTest, FactorsOkWritesExactlyTheFieldsOfTheChosenMethod) {
    struct Case {
        const char* name;
        FactorsRun run;
        int result;
        strWspUw factors;
        int32_t uw;
        int32_t status;
    };
    const strWspUw start = {130, 140, 150, 160, 110, 600, 250, 900};
    const std::vector<std::pair<int, std::string>> shown = {{IDC_FCT_UF_FRAME, "1#30"},
                                                            {IDC_FCT_UG_GLASS, "1#1"},
                                                            {IDC_FCT_PSI_GLASS, "0#060"},
                                                            {IDC_FCT_UW, "0#95"}};
    const std::vector<std::pair<int, std::string>> factors = {
        {IDC_FCT_UF_FRAME, "1#45"},  {IDC_FCT_UF_FRAME_SASH, "1#5"}, {IDC_FCT_UF_FIXED, "1#6"},
        {IDC_FCT_UF_FALSE, "1#7"},   {IDC_FCT_UG_GLASS, "1#2"},      {IDC_FCT_PSI_GLASS, "0#055"},
        {IDC_FCT_UG_ACRYLIC, "2#6"}, {IDC_FCT_PSI_ACRYLIC, "0#09"}};
    const Case cases[] = {
        {"rates", {factors, 0, IDOK, shown}, 1, {145, 150, 160, 170, 120, 550, 260, 900}, 95, 4},
        {"directly", {{{IDC_FCT_UW, "1#2"}}, IDC_FCT_DIRECTLY, IDOK, shown}, 1, start, 120, 4 | 8},
        {"cancel", {{{IDC_FCT_UW, "1#2"}}, IDC_FCT_DIRECTLY, IDCANCEL, shown}, 0, start, 95, 4},
    };
    for (const Case& c : cases) {
        TestWindow o;
        GlazedWindow(o);
        o.r.uwZReki = 95;
        strOkno want;
        memcpy(&want, &o.r, sizeof want);
        want.sWspUw = c.factors;
        want.uwZReki = c.uw;
        want.status = c.status;
        FactorsRun run = c.run;
        LoopProbe probe(FactorsTick, &run, 10000);
        EXPECT_EQ(c.result, RunFactorsDialog(nullptr, &o.r, 1)) << c.name;
        EXPECT_TRUE(probe.done()) << c.name;
        EXPECT_EQ(0, memcmp(&want, &o.r, sizeof want)) << c.name;  // nothing else moved
        EXPECT_EQ(c.uw, o.r.uwZReki) << c.name;
        EXPECT_EQ(0, memcmp(&c.factors, &o.r.sWspUw, sizeof c.factors)) << c.name;
    }
}

// The two psi labels: the text right-aligned, and left of it the four
// strokes of a psi (dark along the stem, light just off its ends), drawn
// at the dialog's dpi.
bool PsiTick(void* context) {
    int* checked = (int*)context;
    HWND d = Dialog("Factors");
    if (!d) return false;
    for (int id : {IDC_FCT_PSI_GLASS_LABEL, IDC_FCT_PSI_ACRYLIC_LABEL}) {
        HWND label = GetDlgItem(d, id);
        RECT rc;
        GetClientRect(label, &rc);
        MemoryDC dc(nullptr, rc.right, rc.bottom);
        DRAWITEMSTRUCT di = {};
        di.CtlType = ODT_STATIC;
        di.CtlID = id;
        di.hwndItem = label;
        di.hDC = dc;
        di.rcItem = rc;
        SendMessageA(d, WM_DRAWITEM, id, (LPARAM)&di);
        const char* text = id == IDC_FCT_PSI_GLASS_LABEL ? "g for glass:" : "g for acrylic:";
        EXPECT_EQ(text, Text(label)) << id;  // the label reads as it is drawn
        SIZE size;
        {
            ScopedSelect font(dc, (HGDIOBJ)SendMessageA(label, WM_GETFONT, 0, 0));
            GetTextExtentPoint32A(dc, text, (int)strlen(text), &size);
        }
        const int L = rc.right - size.cx, T = 0;
        // At every scale: three verticals alike, as wide as the dpi allows,
        // the glyph and its stem at the scale.
        const int dpi = KvDpiForWindow(label);
        const PsiSeen psi = ReadPsi(dc, L, dpi);
        EXPECT_EQ(dpi < 192 ? 1 : dpi / 96, psi.stroke) << id;
        EXPECT_NEAR(KvScale(7, dpi), psi.width, 1) << id;
        EXPECT_NEAR(KvScale(10, dpi), psi.stemBottom, 1) << id;
        EXPECT_LT(psi.stemBottom, rc.bottom) << id;
        (*checked)++;
        if (dpi != kKvBaseDpi) continue;
        // At 96 dpi, pixel by pixel.
        const DWORD ink = GetSysColor(COLOR_BTNTEXT), face = GetSysColor(COLOR_BTNFACE);
        auto rgb = [](DWORD c) { return (DWORD)((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c)); };
        for (int y = T + 2; y <= T + 10; y++) EXPECT_EQ(rgb(ink), dc.pixel(L - 4, y)) << id << " stem " << y;
        for (int y = T + 2; y < T + 8; y++) {
            EXPECT_EQ(rgb(ink), dc.pixel(L - 1, y)) << id << " right arm " << y;
            EXPECT_EQ(rgb(ink), dc.pixel(L - 7, y)) << id << " left arm " << y;
        }
        for (int x = L - 6; x <= L - 2; x++) EXPECT_EQ(rgb(ink), dc.pixel(x, T + 8)) << id << " bowl " << x;
        EXPECT_EQ(rgb(face), dc.pixel(L - 4, T + 12)) << id;
        EXPECT_EQ(rgb(face), dc.pixel(L - 9, T + 5)) << id;
    }
    PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    return true;
}

TEST_F(DesignerTest, FactorsDrawsThePsiLabelsAtEveryScale) {
    TestWindow o;
    GlazedWindow(o);
    int checked = 0;
    LoopProbe probe(PsiTick, &checked, 10000);
    EXPECT_EQ(0, RunFactorsDialog(nullptr, &o.r, 1));
    EXPECT_EQ(2, checked);
}

// The 1000 x 1000 glazed window shows Uw 1.36; the gross and the totals
// follow the typed price and the quantity spin; the Uw follows the Factors.
TEST_F(DesignerTest, PanelFiguresFollowPriceQuantityAndFactors) {
    TestWindow o;
    GlazedWindow(o);
    o.r.ilOkien = 1;
    FactorsRun direct = {{{IDC_FCT_UW, "1#1"}}, IDC_FCT_DIRECTLY, IDOK, {}};
    Run(o, 1,
        {
            [&o] {
                EXPECT_EQ(Loc("1#36"), Text(Item(IDC_PNL_UW)));
                EXPECT_EQ("Price (EUR)", Text(Item(IDC_PNL_PRICE_BOX)));
                EXPECT_EQ("Total (EUR)", Text(Item(IDC_PNL_TOTAL_BOX)));
                HWND net = Item(IDC_PNL_NET);
                SetFocus(net);
                SendMessageA(net, EM_SETSEL, 0, -1);
                for (char ch : std::string("1234")) SendMessageA(net, WM_CHAR, ch, 0);
                EXPECT_EQ(123400, o.r.cenaZReki);
                EXPECT_EQ(Loc("1~517#82"), Text(Item(IDC_PNL_GROSS)));  // 1 234.00 + 23 %
                EXPECT_EQ(Loc("1~234#00"), Text(Item(IDC_PNL_TOTAL_NET)));
                ClickSpin(Item(IDC_PNL_QTY_SPIN), true);
                EXPECT_EQ(2, o.r.ilOkien);
                EXPECT_EQ(Loc("2~468#00"), Text(Item(IDC_PNL_TOTAL_NET)));
                EXPECT_EQ(Loc("3~035#64"), Text(Item(IDC_PNL_TOTAL_GROSS)));
                PostMessageA(Designer(), WM_COMMAND, CMD_DES_FACTORS, 0);
                return true;
            },
            [&direct] { return FactorsTick(&direct); },
            [] {
                if (Dialog("Factors")) return false;
                EXPECT_EQ(Loc("1#10"), Text(Item(IDC_PNL_UW)));
                return true;
            },
        });
}

// ---- Figures --------------------------------------------------------------------------------------------

HHOOK g_getHook;
LARGE_INTEGER g_firstMessage;
LRESULT CALLBACK FirstMessage(int code, WPARAM wp, LPARAM lp) {
    if (!g_firstMessage.QuadPart) QueryPerformanceCounter(&g_firstMessage);
    return CallNextHookEx(g_getHook, code, wp, lp);
}

double Ms(LARGE_INTEGER a, LARGE_INTEGER b) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return (double)(b.QuadPart - a.QuadPart) * 1000.0 / (double)f.QuadPart;
}

// 99 vertical mullions, a filling in each of the 100 fields and a muntin
// across each filling: 300 elements.
void ThreeHundredElements(TestWindow& o) {
    o << DrawFrame(10000, 2000);
    for (int i = 0; i < 99; i++) o << DrawMullion(false, 100 * (i + 1), false, 0, 0);
    for (int i = 0; i < 100; i++) o << DrawFilling(0, "G", i == 0 ? 0 : i, 0, i == 99 ? 0 : i + 1, 0);
    for (int i = 0; i < 100; i++) o << DrawMuntin(1000, true, i == 0 ? 0 : i, i == 99 ? 0 : i + 1, 100 + i);
    strcpy(o.r.nazProfil, "P1000");
    Geometry(o);
}

// Creation to the first complete paint: from the call to the first message
// its loop takes (RunDesigner paints everything before its loop starts).
double OpenAndMeasure(std::function<int()> run) {
    LARGE_INTEGER start;
    g_firstMessage.QuadPart = 0;
    g_getHook = SetWindowsHookExA(WH_GETMESSAGE, FirstMessage, nullptr, GetCurrentThreadId());
    QueryPerformanceCounter(&start);
    run();
    UnhookWindowsHookEx(g_getHook);
    return Ms(start, g_firstMessage);
}

TEST_F(DesignerTest, FiguresOpeningABigWindowAndSavingAgainstFullRegisters) {
    TestWindow small;
    GlazedWindow(small);
    double two = OpenAndMeasure([&] { return Run(small, 1, {}); });
    TestWindow o;
    ThreeHundredElements(o);
    ASSERT_EQ(300, o.n());
    double empty = OpenAndMeasure([&] { return Run(o, 1, {}); });

    const char* fill =
        "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 1000) "
        "INSERT INTO %s SELECT %s FROM c;";
    const char* const tables[6][2] = {
        {"T_ZstProfil", "'P' || x, 0, zeroblob(16)"},
        {"T_ZstKolor", "'C' || x, 0"},
        {"T_ZstSzpros", "'M' || x, 20"},
        {"T_ZstOkucie", "'H' || x"},
        {"T_ZstListwa", "'B' || x"},
        {"T_ZstWypeln", "'F' || x, 0"},
    };
    for (auto& t : tables) {
        char sql[512];
        snprintf(sql, sizeof sql, fill, t[0], t[1]);
        Sql(sql);
    }
    strcpy(o.r.nazKolor, "C999");
    strcpy(o.r.nazSzpros, "new muntin");
    strcpy(o.r.nazOkucie, "H500");
    strcpy(o.r.nazListwa, "new bead");
    double saveMs = 0;
    int saved = 0;
    double full = OpenAndMeasure([&] {
        return saved = Run(o, 1, {[&saveMs] {
                               LARGE_INTEGER a, b;
                               QueryPerformanceCounter(&a);
                               SendMessageA(Designer(), WM_COMMAND, CMD_DES_SAVE, 0);
                               QueryPerformanceCounter(&b);
                               saveMs = Ms(a, b);
                               return true;
                           }});
    });
    EXPECT_EQ(1, saved);
    EXPECT_TRUE(g_boxes.empty()) << LastBox();
    EXPECT_EQ(1001u, Rows("SELECT nazwa FROM T_ZstSzpros").size());
    EXPECT_EQ(1001u, Rows("SELECT nazwa FROM T_ZstListwa").size());
    EXPECT_EQ(1000u, Rows("SELECT nazwa FROM T_ZstKolor").size());
    printf("FIGURE designer 2 elements, empty registers: creation to first complete paint %.1f ms\n", two);
    printf("FIGURE designer 300 elements, empty registers: creation to first complete paint %.1f ms\n",
           empty);
    printf("FIGURE designer 300 elements, six registers of 1000: creation to first complete paint %.1f ms\n",
           full);
    printf("FIGURE designer Save against six registers of 1000 entries: %.1f ms\n", saveMs);
}

}  // namespace
