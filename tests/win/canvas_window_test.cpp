// The design canvas driven through its messages as a user's hand would: the
// mouse messages are posted to the real "obsProj" window, whose parent answers
// the limit check and records the notifications; dialogs are answered from
// inside their modal loops.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "model/structure.h"
#include "render/drawset_win.h"
#include "tests/native/sample_windows.h"
#include "tests/win/harness.h"
#include "ui/designer/canvas_geometry.h"
#include "ui/designer/canvas_win.h"
#include "ui/designer/designer_dialogs_win.h"
#include "ui/designer/limits.h"
#include "util/help_win.h"
#include "util/msgbuf.h"

namespace {

struct NotifyEntry {
    UINT kod;
    int32_t element;
};

// The designer's side: answers the limit check on the window record and
// keeps every notification.
struct ParentSide {
    strOkno* okno = nullptr;
    std::vector<NotifyEntry> notyf;
    int limity = 0;  // limit checks asked
};
ParentSide g_parent;

LRESULT CALLBACK RodzicProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case UM_OBS_LIMITY:
            g_parent.limity++;
            return AnswerLimits(g_parent.okno, (const CanvasLimitQuery*)lp);
        case WM_NOTIFY: {
            const NMHDR* nm = (const NMHDR*)lp;
            if (nm->idFrom != IDC_CANVAS) break;
            NotifyEntry n = {nm->code, nm->code == kCanvasCodeMenu ? ((const CanvasNotification*)lp)->element : -1};
            g_parent.notyf.push_back(n);
            return 0;
        }
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

std::vector<std::string> g_pomoc;
void HakPomocy(const char* cel, void*) { g_pomoc.push_back(cel); }

void Pompuj() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

// Runs `akcja` on the dialog titled `tytul` from inside its modal loop.
struct Akcja {
    const char* tytul;
    std::function<void(HWND)> f;
    bool zrobiona = false;
};
bool DialogProbe(void* ctx) {
    Akcja* a = (Akcja*)ctx;
    HWND dlg = FindWindowA("#32770", a->tytul);
    if (!dlg || !IsWindowVisible(dlg)) return false;
    a->zrobiona = true;
    a->f(dlg);
    return true;
}

void Przycisk(HWND dlg, int id) {
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dlg, id));
}

std::vector<std::string> Komunikaty() {
    std::vector<std::string> v;
    for (auto& b : g_boxes) v.push_back(b.caption + ": " + b.text);
    return v;
}

class CanvasWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        g_pomoc.clear();
        SetHelpHook(HakPomocy, nullptr);
        HINSTANCE inst = GetModuleHandleA(nullptr);
        ASSERT_TRUE(CreateDrawSet(inst, &ds));
        static bool zarejestrowana = false;
        if (!zarejestrowana) {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = RodzicProc;
            wc.hInstance = inst;
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
            wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
            wc.lpszClassName = "KvTestProjektant";
            RegisterClassA(&wc);
            zarejestrowana = true;
        }
        g_parent = ParentSide();
        g_parent.okno = &o.r;
        memset(&p, 0, sizeof p);
        p.controlId = IDC_CANVAS;
        p.iProfSch = &o.r.iProfSch;
        p.iSzpros = &o.r.iSzpros;
        p.mullionKind = 0;
        p.typWypeln = 0;
        strcpy(p.fillingName, "Float 4mm");
        p.format = 5;
        p.windowRec = &o.r;
        p.liczbaOper = &o.r.liczbaOper;
        p.oper = &o.r.oper;
        p.ds = &ds;
        p.flagi = kCanvasDesignerFlags;
    }
    // Creates the designer stand-in and the canvas on the window built so far.
    void OpenNew(int edytowalny = 1) {
        rodzic = CreateWindowExA(0, "KvTestProjektant", "Window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 840,
                                 680, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(rodzic);
        obs = CreateCanvasWindow(rodzic, 0, 0, 800, 600, &p, edytowalny);
        ASSERT_TRUE(obs);
        Pompuj();
        g_parent.notyf.clear();
        ResetHarness();
    }
    void TearDown() override {
        if (rodzic) DestroyWindow(rodzic);
        Pompuj();
        SetHelpHook(nullptr, nullptr);
        DestroyDrawSet(&ds);
    }
    void SelectTool(int32_t n) { p.flagi = WithTool(p.flagi, n); }
    POINT Px(int32_t X, int32_t Y) {
        RECT r;
        GetClientRect(obs, &r);
        const strProst c = {r.left, r.top, r.right, r.bottom};
        int32_t x = 0, y = 0;
        EXPECT_EQ(CanvasMmToPx(o[0].rama.x1, o[0].rama.y1, &c, kCanvasMargin, X, Y, &x, &y), 1);
        return {x, y};
    }
    void Post(UINT msg, WPARAM wp, POINT pt) { PostMessageA(obs, msg, wp, MAKELPARAM(pt.x, pt.y)); }
    void Klik(POINT pt) {
        Post(WM_LBUTTONDOWN, MK_LBUTTON, pt);
        Post(WM_LBUTTONUP, 0, pt);
        Pompuj();
    }
    void Ciagnij(POINT a, POINT b) {
        Post(WM_LBUTTONDOWN, MK_LBUTTON, a);
        Post(WM_MOUSEMOVE, MK_LBUTTON, {(a.x + b.x) / 2, (a.y + b.y) / 2});
        Post(WM_MOUSEMOVE, MK_LBUTTON, b);
        Post(WM_LBUTTONUP, 0, b);
        Pompuj();
    }
    // Posts the messages and answers the dialog that opens with `f`.
    bool ZDialogiem(const char* tytul, std::function<void(HWND)> f, std::function<void()> wyslij) {
        Akcja a = {tytul, f};
        LoopProbe probe(DialogProbe, &a, 5000);
        wyslij();
        Pompuj();
        return a.zrobiona;
    }
    std::vector<UINT> Kody() const {
        std::vector<UINT> v;
        for (auto& n : g_parent.notyf) v.push_back(n.kod);
        return v;
    }
    std::vector<unsigned char> ArrayBytes() const {
        std::vector<unsigned char> v;
        for (int32_t i = 0; i < o.r.liczbaOper; i++) {
            unsigned char b[kOpBlobLen];
            DrawOpToBlob(&o.r.oper[i], b);
            v.insert(v.end(), b, b + DefinitionLength(o.r.oper[i].typ));
        }
        return v;
    }
    void Geometria() {
        char msg[KV_MSG_LEN] = "";
        ASSERT_EQ(ComputeGeometry(o.r.oper, o.n(), 5, &o.r, msg), 1) << msg;
    }

    TestWindow o;
    DrawSet ds = {};
    CanvasParams p;
    HWND rodzic = nullptr;
    HWND obs = nullptr;
};

// ---- Frame tool ------------------------------------------------------------------

TEST_F(CanvasWindowTest, FrameThroughItsDialog) {
    struct TotalsRow {
        const char* szer;
        const char* wys;
        const char* komunikat;  // "" when accepted
    } wiersze[] = {
        {"", "1000", "Incorrect value in the field Width"},
        {"0", "1000", "Incorrect value in the field Width"},
        {"12a", "1000", "Incorrect value in the field Width"},
        {"1000", "", "Incorrect value in the field Height"},
        {"1000", "0", "Incorrect value in the field Height"},
        {"10001", "1000", "The frame is too wide\r\nThe maximum allowed width of a frame is 10000 mm"},
        {"1000", "10001", "The frame is too high\r\nThe maximum allowed height of a frame is 10000 mm"},
        {"100", "1000", "The distance of the profile is too small"},  // narrower than its two 70 mm bars
        {"10000", "1000", ""},
        {"1200", "1400", ""},
    };
    OpenNew();
    SelectTool(kToolFrame);
    for (const TotalsRow& w : wiersze) {
        SCOPED_TRACE(std::string(w.szer) + " x " + w.wys);
        ResetHarness();
        g_parent.notyf.clear();
        bool otwarty = false;
        ASSERT_TRUE(ZDialogiem(
            "Dimension of frame",
            [&](HWND dlg) {
                EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_DIMENSION_WIDTH));
                SetDlgItemTextA(dlg, IDC_DIMENSION_WIDTH, w.szer);
                SetDlgItemTextA(dlg, IDC_DIMENSION_HEIGHT, w.wys);
                Przycisk(dlg, IDOK);
                otwarty = IsWindow(dlg) && IsWindowVisible(dlg);
                if (*w.komunikat) Przycisk(dlg, IDCANCEL);
            },
            [&] {
                Klik({400, 300});
            }));
        if (*w.komunikat) {
            EXPECT_EQ(Komunikaty(), std::vector<std::string>{std::string("Error: ") + w.komunikat});
            EXPECT_EQ(o.n(), 0);
            EXPECT_TRUE(Kody().empty());
            continue;
        }
        EXPECT_TRUE(g_boxes.empty());
        ASSERT_EQ(o.n(), 1);
        EXPECT_EQ(o[0].rama.x1, atoi(w.szer));
        EXPECT_EQ(o[0].rama.y1, atoi(w.wys));
        EXPECT_EQ(o[0].rama.wewn.left, 70) << "inner outline from the window's frame thickness";
        EXPECT_EQ(Kody(), (std::vector<UINT>{kCanvasCodeFrame, kCanvasCodeChange}));
        char msg[KV_MSG_LEN];
        ASSERT_EQ(CanvasDelete(obs, 0, msg), 1);
    }
    // Help from the dialog.
    ZDialogiem(
        "Dimension of frame",
        [&](HWND dlg) {
            Przycisk(dlg, IDHELP);
            Przycisk(dlg, IDCANCEL);
        },
        [&] {
            Klik({400, 300});
        });
    ASSERT_EQ(g_pomoc.size(), 1u);
    EXPECT_EQ(g_pomoc[0], HelpTarget(HELP_FRAME_DIMENSION));
}

// ---- Sash and filling tools ---------------------------------------------------------

TEST_F(CanvasWindowTest, SashAndFillingByArea) {
    // Two areas side by side, glass on the right.
    o << DrawFrame(2000, 1000) << DrawMullion(false, 1000, false, 0, 0) << DrawFilling(0, "G", 1, 0, 0, 0);
    Geometria();
    OpenNew();
    struct TotalsRow {
        const char* co;
        int32_t narz;
        int32_t X, Y;  // mm; X < 0: left of the frame
        const char* komunikat;
        uint32_t newKind;  // type appended when accepted
    } wiersze[] = {
        {"sash on the mullion", kToolFixedSash + 5, 1000, 500, "Incorrect area of the window", 0},
        {"sash on the frame bar", kToolFixedSash, 20, 500, "Incorrect area of the window", 0},
        {"sash outside the frame", kToolFixedSash, -1, 500, "Incorrect area of the window", 0},
        {"sash on the glass", kToolFixedSash, 1500, 500,
         "A sash cannot be inserted into area of the windows with filling", 0},
        {"filling on the glass", kToolFilling, 1500, 500,
         "A filling cannot be inserted into area of the window with another filling", 0},
        {"tilt & turn right into the left area", kToolFixedSash + 6, 500, 500, "", kOpSash},
        {"second sash inside it", kToolFixedSash, 500, 500,
         "A sash cannot be inserted into area bounded by other sash", 0},
        {"filling inside the sash", kToolFilling, 500, 500, "", kOpFilling},
    };
    for (const TotalsRow& w : wiersze) {
        SCOPED_TRACE(w.co);
        ResetHarness();
        g_parent.notyf.clear();
        const std::vector<unsigned char> przed = ArrayBytes();
        SelectTool(w.narz);
        POINT pt = w.X < 0 ? POINT{(LONG)o[0].rama.zewnUrz.left - 20, Px(0, w.Y).y} : Px(w.X, w.Y);
        Klik(pt);
        if (*w.komunikat) {
            EXPECT_EQ(Komunikaty(), std::vector<std::string>{std::string("Error: ") + w.komunikat});
            EXPECT_EQ(ArrayBytes(), przed);
            EXPECT_TRUE(Kody().empty());
            continue;
        }
        EXPECT_TRUE(g_boxes.empty()) << (g_boxes.empty() ? "" : g_boxes[0].text);
        ASSERT_EQ(o[o.n() - 1].typ, w.newKind);
        EXPECT_EQ(Kody(), std::vector<UINT>{kCanvasCodeChange});
    }
    ASSERT_EQ(o.n(), 5);
    const strOperSkrzydlo& s = o[3].skrzydlo;
    EXPECT_EQ(s.rodzOtw, 3);
    EXPECT_EQ(s.stronaOtw, 1);
    EXPECT_EQ(std::vector<int32_t>(s.ogr, s.ogr + 4), (std::vector<int32_t>{0, 0, 1, 0}));
    EXPECT_STREQ(o[4].wypeln.nazwa, "Float 4mm");
    EXPECT_EQ(std::vector<int32_t>(o[4].wypeln.ogr, o[4].wypeln.ogr + 4), (std::vector<int32_t>{3, 3, 3, 3}));
}

// ---- Rubber band ----------------------------------------------------------------------

TEST_F(CanvasWindowTest, RubberBandInsertsOneElementPerAreaItCrosses) {
    struct NewElement {
        uint32_t typ;
        bool poziomy;
        int32_t pocz, kon;
    };
    struct TotalsRow {
        const char* co;
        bool szklo;  // glass in the right area
        int32_t narz;
        int32_t X0, Y0, X1, Y1;  // mm; -1 / 2100: left / right of the frame
        std::vector<NewElement> nowe;
    } wiersze[] = {
        {"across both areas",
         false,
         kToolFixedMullion,
         -1,
         400,
         2100,
         400,
         {{kOpFixedMullion, true, 0, 1}, {kOpFixedMullion, true, 1, 0}}},
        {"from inside the left area",
         false,
         kToolFixedMullion,
         500,
         400,
         2100,
         400,
         {{kOpFixedMullion, true, 1, 0}}},
        {"ending inside the left area", false, kToolFixedMullion, -1, 400, 500, 400, {}},
        {"false mullion top to bottom",
         false,
         kToolFalseMullion,
         500,
         -1,
         500,
         1100,
         {{kOpFalseMullion, false, 0, 0}}},
        {"mullion skips the glass",
         true,
         kToolFixedMullion,
         -1,
         400,
         2100,
         400,
         {{kOpFixedMullion, true, 0, 1}}},
        {"muntin crosses the glass", true, kToolMuntin, -1, 400, 2100, 400, {{kOpMuntin, true, 1, 0}}},
    };
    for (const TotalsRow& w : wiersze) {
        SCOPED_TRACE(w.co);
        if (rodzic) DestroyWindow(rodzic);
        rodzic = nullptr;
        KvFree(o.r.oper);
        o.r.oper = nullptr;
        o.r.liczbaOper = 0;
        o << DrawFrame(2000, 1000) << DrawMullion(false, 1000, false, 0, 0);
        if (w.szklo) o << DrawFilling(0, "G", 1, 0, 0, 0);
        Geometria();
        OpenNew();
        SelectTool(w.narz);
        const int32_t przed = o.n();
        const strProst f = o[0].rama.zewnUrz;
        auto pkt = [&](int32_t X, int32_t Y) {
            POINT pt = Px(X < 0 ? 0 : X > 2000 ? 2000 : X, Y < 0 ? 0 : Y > 1000 ? 1000 : Y);
            if (X < 0) pt.x = f.left - 20;
            if (X > 2000) pt.x = f.right + 20;
            if (Y < 0) pt.y = f.top - 20;
            if (Y > 1000) pt.y = f.bottom + 20;
            return pt;
        };
        Ciagnij(pkt(w.X0, w.Y0), pkt(w.X1, w.Y1));
        EXPECT_TRUE(g_boxes.empty()) << (g_boxes.empty() ? "" : g_boxes[0].text);
        ASSERT_EQ(o.n() - przed, (int32_t)w.nowe.size());
        for (size_t i = 0; i < w.nowe.size(); i++) {
            const uniOperRys& op = o[przed + (int32_t)i];
            ASSERT_EQ(op.typ, w.nowe[i].typ);
            const bool szpros = op.typ == kOpMuntin;
            EXPECT_EQ((szpros ? op.szpros.poziomy : op.slupek.poziomy) != 0, w.nowe[i].poziomy);
            EXPECT_EQ(szpros ? op.szpros.ogrPocz : op.slupek.ogrPocz, w.nowe[i].pocz);
            EXPECT_EQ(szpros ? op.szpros.ogrKon : op.slupek.ogrKon, w.nowe[i].kon);
            const int32_t poz = szpros ? op.szpros.poz : op.slupek.poz;
            EXPECT_NEAR(poz, w.nowe[i].poziomy ? w.Y0 : w.X0, 5) << "position from the end point";
            if (szpros) {
                EXPECT_EQ(op.szpros.wypeln, 2);
            }
            if (op.typ == kOpFalseMullion) {
                EXPECT_EQ(op.slupek.rodzaj, 1);
            }
        }
        EXPECT_EQ(Kody(), std::vector<UINT>{kCanvasCodeChange});
        EXPECT_EQ(GetCapture(), nullptr);
    }
}

// Alt+Tab or a menu takes the capture in the middle of a band: the drag ends
// storing nothing and the line it drew is painted over again.
TEST_F(CanvasWindowTest, LostCaptureEndsTheBandAndRepaintsItsLine) {
    o << DrawFrame(2000, 1000);
    Geometria();
    OpenNew();
    SelectTool(kToolFixedMullion);
    HWND inny = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(inny);
    struct TotalsRow {
        const char* co;
        std::function<void()> zabierz;
    } wiersze[] = {
        {"capture released", [] { ReleaseCapture(); }},
        {"capture taken by another window", [&] { SetCapture(inny); }},
    };
    const POINT a = Px(1000, 100), b = Px(1000, 900);
    const int srodek = (a.y + b.y) / 2;
    for (const TotalsRow& w : wiersze) {
        SCOPED_TRACE(w.co);
        const int32_t przed = o.n();
        UpdateWindow(obs);
        HDC dc = GetDC(obs);
        const COLORREF obok = GetPixel(dc, a.x + 30, srodek);
        Post(WM_LBUTTONDOWN, MK_LBUTTON, a);
        Post(WM_MOUSEMOVE, MK_LBUTTON, {a.x + 2, b.y});
        Pompuj();
        ASSERT_EQ(GetCapture(), obs);
        RECT r;
        ASSERT_FALSE(GetUpdateRect(obs, &r, FALSE)) << "the band is drawn straight on the screen";
        // A black line three pixels wide over the drawing as it was, which
        // still shows beside it.
        for (int dx = -1; dx <= 1; dx++) EXPECT_EQ(GetPixel(dc, a.x + dx, srodek), RGB(0, 0, 0)) << dx;
        EXPECT_EQ(GetPixel(dc, a.x + 30, srodek), obok);
        EXPECT_NE(GetPixel(dc, a.x + 30, srodek), RGB(0, 0, 0));
        ReleaseDC(obs, dc);
        w.zabierz();
        ASSERT_TRUE(GetUpdateRect(obs, &r, FALSE)) << "the band's line left painted";
        EXPECT_LE(r.left, a.x);
        EXPECT_GE(r.right, a.x + 1);
        EXPECT_LE(r.top, a.y);
        EXPECT_GE(r.bottom, b.y + 1);
        Pompuj();
        // The rest of the gesture belongs to no band.
        Post(WM_MOUSEMOVE, MK_LBUTTON, {a.x, b.y});
        Post(WM_LBUTTONUP, 0, {a.x, b.y});
        Pompuj();
        EXPECT_EQ(o.n(), przed);
        EXPECT_TRUE(Kody().empty());
        EXPECT_TRUE(g_boxes.empty()) << (g_boxes.empty() ? "" : g_boxes[0].text);
        EXPECT_NE(GetCapture(), obs);
        if (GetCapture() == inny) ReleaseCapture();
    }
    DestroyWindow(inny);
}

// ---- Grids ------------------------------------------------------------------------------

TEST_F(CanvasWindowTest, GridByDoubleClick) {
    // Glass on the right of a 2000 x 1200 window with a mullion at 1000.
    o << DrawFrame(2000, 1200) << DrawMullion(false, 1000, false, 0, 0) << DrawFilling(0, "G", 1, 0, 0, 0);
    Geometria();
    OpenNew();
    struct TotalsRow {
        const char* co;
        int32_t narz;
        int32_t X;
        const char* tytul;  // dialog expected, or null
        const char* h;      // typed into the buddy edits
        const char* v;
        const char* komunikat;
        int32_t nowe;
    } wiersze[] = {
        {"mullions on the glass", kToolFixedMullion, 1500, nullptr, "", "",
         "A mullion can be inserted only into area without a filling", 0},
        {"muntins on the empty area", kToolMuntin, 500, nullptr, "", "",
         "A muntin can be set only on a filling of type \"glass\"", 0},
        {"on the mullion", kToolMuntin, 1000, nullptr, "", "", "Incorrect area of the window", 0},
        {"zero and zero", kToolFixedMullion, 500, "Insert mullions", "0", "0", "", 0},
        {"horizontally not a number", kToolMuntin, 1500, "Insert muntins", "x", "1",
         "Incorrect horizontally number", 0},
        {"vertically not a number", kToolMuntin, 1500, "Insert muntins", "1", "x",
         "Incorrect vertically number", 0},
        {"a grid too dense for 20 mm", kToolMuntin, 1500, "Insert muntins", "100", "100",
         "The distance of the profile is too small", 0},
        {"two by one muntins", kToolMuntin, 1500, "Insert muntins", "2", "1", "", 5},
    };
    for (const TotalsRow& w : wiersze) {
        SCOPED_TRACE(w.co);
        ResetHarness();
        g_parent.notyf.clear();
        SelectTool(w.narz);
        const std::vector<unsigned char> przed = ArrayBytes();
        const int32_t n0 = o.n();
        const POINT pt = Px(w.X, 600);
        auto wyslij = [&] {
            Post(WM_LBUTTONDOWN, MK_LBUTTON, pt);
            Post(WM_LBUTTONUP, 0, pt);
            Post(WM_LBUTTONDBLCLK, MK_LBUTTON, pt);
            Post(WM_LBUTTONUP, 0, pt);
        };
        if (!w.tytul) {
            wyslij();
            Pompuj();
        } else {
            ASSERT_TRUE(ZDialogiem(
                w.tytul,
                [&](HWND dlg) {
                    SetDlgItemTextA(dlg, IDC_GRID_HORIZONTAL, w.h);
                    SetDlgItemTextA(dlg, IDC_GRID_VERTICAL, w.v);
                    Przycisk(dlg, IDOK);
                    if (IsWindow(dlg) && IsWindowVisible(dlg)) Przycisk(dlg, IDCANCEL);
                },
                wyslij));
        }
        if (*w.komunikat) {
            EXPECT_EQ(Komunikaty(), std::vector<std::string>{std::string("Error: ") + w.komunikat});
        } else {
            EXPECT_TRUE(g_boxes.empty()) << (g_boxes.empty() ? "" : g_boxes[0].text);
        }
        ASSERT_EQ(o.n() - n0, w.nowe);
        if (!w.nowe) {
            EXPECT_EQ(ArrayBytes(), przed) << "nothing of a refused grid stays";
        }
    }
    // Help from the grid dialog; Cancel inserts nothing.
    g_pomoc.clear();
    SelectTool(kToolFixedMullion);
    const POINT pt = Px(500, 600);
    ASSERT_TRUE(ZDialogiem(
        "Insert mullions",
        [&](HWND dlg) {
            Przycisk(dlg, IDHELP);
            SetDlgItemTextA(dlg, IDC_GRID_HORIZONTAL, "1");
            Przycisk(dlg, IDCANCEL);
        },
        [&] {
            Post(WM_LBUTTONDOWN, MK_LBUTTON, pt);
            Post(WM_LBUTTONUP, 0, pt);
            Post(WM_LBUTTONDBLCLK, MK_LBUTTON, pt);
        }));
    EXPECT_EQ(g_pomoc, std::vector<std::string>{HelpTarget(HELP_GRID)});
    // The five muntins: the vertical at half the area's width, then two
    // horizontals left of it, then two right of it, at thirds of its height.
    ASSERT_EQ(o.n(), 8);
    // The area runs from the mullion's position to the frame's outer edges.
    const int32_t x1 = 1000, x2 = 2000, y1 = 0, y2 = 1200;
    const int32_t X = x1 + (x2 - x1) / 2;
    struct Sz {
        int32_t poz;
        int32_t poziomy, pocz, kon;
    } oczek[] = {{X, 0, 0, 0},
                 {y1 + (y2 - y1) / 3, 1, 1, 3},
                 {y1 + 2 * (y2 - y1) / 3, 1, 1, 3},
                 {y1 + (y2 - y1) / 3, 1, 3, 0},
                 {y1 + 2 * (y2 - y1) / 3, 1, 3, 0}};
    for (int i = 0; i < 5; i++) {
        SCOPED_TRACE(i);
        const strOperSzpros& s = o[3 + i].szpros;
        ASSERT_EQ(s.typ, (uint32_t)kOpMuntin);
        EXPECT_EQ(s.poz, oczek[i].poz);
        EXPECT_EQ(s.poziomy, oczek[i].poziomy);
        EXPECT_EQ(s.ogrPocz, oczek[i].pocz);
        EXPECT_EQ(s.ogrKon, oczek[i].kon);
        EXPECT_EQ(s.wypeln, 2);
    }
}

// ---- In-place dimension editor ---------------------------------------------------------------

class Edytor : public CanvasWindowTest {
protected:
    // The editor's edit control, when shown.
    HWND Ed() { return GetDlgItem(obs, IDC_CANVAS_EDIT); }
    void KliknijEtykiete(const strProst& r) {
        SelectTool(kToolPointer);
        Klik({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    void Wpisz(const char* tekst) {
        SetWindowTextA(Ed(), tekst);
        SendMessageA(Ed(), WM_KEYDOWN, VK_RETURN, 0);
        Pompuj();
    }
};

TEST_F(Edytor, TypedValuesAndTheirChecks) {
    // Vertical muntins at 400 and 700 on glass left of a mullion at 1000;
    // below the glass nothing else.
    struct TotalsRow {
        const char* co;
        int32_t lancuch;  // -1: the frame-width label
        int32_t etykieta;
        const char* tekst;
        const char* komunikat;
        int32_t element, poz;  // the element that must end at poz (or stay there)
    } wiersze[] = {
        {"the width it already has", -1, 0, "2000", "", 0, 2000},
        {"not a number", -1, 0, "abc", "", 0, 2000},
        {"muntins 19 mm apart", kDimensionTop, 1, "39", "The distance of the muntin is too small", 4, 700},
        {"muntin 19 mm from the mullion", kDimensionTop, 2, "1074", "The distance of the profile is too small", 4,
         700},
        {"muntin 20 mm from the mullion", kDimensionTop, 2, "1075", "", 4, 925},
        {"mullion moved by its bottom label", kDimensionBottom, 0, "1100", "", 1, 1100},
        {"a new width", -1, 0, "2400", "", 0, 2400},
    };
    o << DrawFrame(2000, 1000) << DrawMullion(false, 1000, false, 0, 0) << DrawFilling(0, "G", 0, 0, 1, 0)
      << DrawMuntin(400, false, 0, 0, 2) << DrawMuntin(700, false, 0, 0, 2);
    Geometria();
    OpenNew();
    for (const TotalsRow& w : wiersze) {
        SCOPED_TRACE(w.co);
        ResetHarness();
        g_parent.notyf.clear();
        const std::vector<unsigned char> przed = ArrayBytes();
        KliknijEtykiete(w.lancuch < 0 ? p.dimensionSet.widthText : p.dimensionSet.chainSegments[w.lancuch][w.etykieta].tekst);
        ASSERT_TRUE(IsWindowVisible(Ed()));
        EXPECT_EQ(GetFocus(), Ed());
        Wpisz(w.tekst);
        const uniOperRys& op = o[w.element];
        const int32_t poz = w.element == 0 ? op.rama.x1 : BarPosition(&op);
        EXPECT_EQ(poz, w.poz);
        const bool zmiana = ArrayBytes() != przed;
        if (*w.komunikat) {
            EXPECT_EQ(Komunikaty(), std::vector<std::string>{std::string("Error: ") + w.komunikat});
            EXPECT_FALSE(zmiana);
            EXPECT_TRUE(Kody().empty());
        } else {
            EXPECT_TRUE(g_boxes.empty()) << (g_boxes.empty() ? "" : g_boxes[0].text);
            EXPECT_EQ(Kody(), zmiana ? std::vector<UINT>{kCanvasCodeChange} : std::vector<UINT>{});
        }
        if (strcmp(w.tekst, "abc") != 0) {
            EXPECT_FALSE(IsWindowVisible(Ed())) << "Enter closes the editor";
        }
        SendMessageA(obs, UM_OBS_ZAMKNIJ_ED, 0, 0);
    }
    EXPECT_EQ(o[0].rama.x1, 2400);
}

TEST_F(Edytor, SpinBelowZeroClosesAndSpinUpMoves) {
    o << DrawFrame(2000, 1000) << DrawMullion(false, 500, false, 0, 0) << DrawMullion(false, 1500, false, 0, 0);
    Geometria();
    OpenNew();
    // Bottom chain: 500, 1000, 500.
    KliknijEtykiete(p.dimensionSet.chainSegments[kDimensionBottom][0].tekst);
    ASSERT_TRUE(IsWindowVisible(Ed()));
    HWND spin = GetDlgItem(obs, IDC_CANVAS_SPIN);
    EXPECT_EQ(SendMessageA(spin, UDM_GETPOS32, 0, 0), 500);
    SendMessageA(spin, UDM_SETPOS32, 0, 0);
    const std::vector<unsigned char> przed = ArrayBytes();
    SendMessageA(Ed(), WM_KEYDOWN, VK_DOWN, 0);
    Pompuj();
    EXPECT_FALSE(IsWindowVisible(Ed())) << "a position below 0 closes the editor";
    EXPECT_EQ(ArrayBytes(), przed);
    EXPECT_TRUE(g_boxes.empty());
    EXPECT_TRUE(Kody().empty());

    KliknijEtykiete(p.dimensionSet.chainSegments[kDimensionBottom][0].tekst);
    SendMessageA(Ed(), WM_KEYDOWN, VK_UP, 0);
    Pompuj();
    EXPECT_EQ(o[1].slupek.poz, 501);
    EXPECT_EQ(Kody(), std::vector<UINT>{kCanvasCodeChange});
    EXPECT_TRUE(IsWindowVisible(Ed())) << "the editor stays on its label while spinning";
}

TEST_F(Edytor, AChainMoveRefusedOnItsThirdElementMovesNothing) {
    // Three rows, each with a vertical mullion at 1000; the bottom row has a
    // second one at 1300, so the third move to 1290 is refused.
    o << DrawFrame(2000, 1500) << DrawMullion(false, 500, true, 0, 0) << DrawMullion(false, 1000, true, 0, 0)
      << DrawMullion(false, 1000, false, 0, 1) << DrawMullion(false, 1000, false, 1, 2)
      << DrawMullion(false, 1000, false, 2, 0) << DrawMullion(false, 1300, false, 2, 0);
    Geometria();
    OpenNew();
    struct TotalsRow {
        const char* co;
        const char* tekst;
        const char* komunikat;
        int32_t poz;
    } wiersze[] = {
        {"third move refused", "1290", "The distance of the profile is too small", 1000},
        {"all three move", "1100", "", 1100},
    };
    for (const TotalsRow& w : wiersze) {
        SCOPED_TRACE(w.co);
        ResetHarness();
        g_parent.notyf.clear();
        g_parent.limity = 0;
        KliknijEtykiete(p.dimensionSet.chainSegments[kDimensionBottom][0].tekst);
        Wpisz(w.tekst);
        EXPECT_EQ(Komunikaty(), *w.komunikat ? std::vector<std::string>{std::string("Error: ") + w.komunikat}
                                             : std::vector<std::string>{});
        for (int32_t i = 3; i <= 5; i++) EXPECT_EQ(o[i].slupek.poz, w.poz) << i;
        EXPECT_EQ(o[6].slupek.poz, 1300);
        EXPECT_EQ(g_parent.limity, 3) << "each move checked";
    }
}

// ---- Context menu and element operations -----------------------------------------------------

TEST_F(CanvasWindowTest, ContextMenuRequestByElement) {
    o << DrawFrame(2000, 1000) << DrawMullion(false, 1000, false, 0, 0) << DrawFilling(0, "G", 1, 0, 0, 0)
      << DrawMuntin(1500, false, 0, 0, 2);
    Geometria();
    OpenNew();
    struct TotalsRow {
        const char* co;
        int32_t X, Y;
        int32_t element;  // -1: no request
    } wiersze[] = {
        {"mullion", 1000, 500, 1}, {"frame bar", 10, 500, 0},    {"glass", 1200, 500, 2},
        {"muntin", 1500, 500, 3},  {"empty area", 500, 500, -1},
    };
    for (const TotalsRow& w : wiersze) {
        SCOPED_TRACE(w.co);
        g_parent.notyf.clear();
        Post(WM_RBUTTONUP, 0, Px(w.X, w.Y));
        Pompuj();
        if (w.element < 0) {
            EXPECT_TRUE(g_parent.notyf.empty());
        } else {
            ASSERT_EQ(g_parent.notyf.size(), 1u);
            EXPECT_EQ(g_parent.notyf[0].kod, kCanvasCodeMenu);
            EXPECT_EQ(g_parent.notyf[0].element, w.element);
        }
    }
}

TEST_F(CanvasWindowTest, ElementOperations) {
    // Left: a sash with glass; right: glass bounded by the mullion.
    o << DrawFrame(2000, 1000) << DrawMullion(false, 1000, false, 0, 0) << SashElement(2, 0, 0, 0, 1, 0)
      << DrawFilling(0, "A", 2) << DrawFilling(0, "B", 1, 0, 0, 0);
    Geometria();
    OpenNew();
    char msg[KV_MSG_LEN];
    struct TotalsRow {
        const char* co;
        std::function<int()> f;
        const char* komunikat;
        std::function<bool()> sprawdz;
    } wiersze[] = {
        {"mullion made false next to glass", [&] { return CanvasChangeMullion(obs, 1, 1, msg); },
         "A filling cannot be inserted into area bounded by a false mullion",
         [&] { return o[1].typ == kOpFixedMullion && o[1].slupek.rodzaj == 0; }},
        {"sash to tilt & turn left", [&] { return CanvasChangeSash(obs, 2, 3, 0, msg); }, "",
         [&] { return o[2].skrzydlo.rodzOtw == 3 && o[2].skrzydlo.stronaOtw == 0; }},
        {"filling renamed acrylic", [&] { return CanvasChangeFilling(obs, 4, "Plexi", 1, msg); }, "",
         [&] { return o[4].wypeln.typWypeln == 1 && strcmp(o[4].wypeln.nazwa, "Plexi") == 0; }},
        {"delete the mullion", [&] { return CanvasDelete(obs, 1, msg); }, "", [&] { return o.n() == 1; }},
    };
    for (const TotalsRow& w : wiersze) {
        SCOPED_TRACE(w.co);
        g_parent.notyf.clear();
        msg[0] = 0;
        EXPECT_EQ(w.f(), *w.komunikat ? 0 : 1);
        EXPECT_STREQ(msg, w.komunikat);
        EXPECT_TRUE(w.sprawdz());
    }
    EXPECT_EQ(Kody(), std::vector<UINT>{kCanvasCodeFrame}) << "a deletion sends notification 0";
}

TEST_F(CanvasWindowTest, ViewOnlyChangesNothing) {
    o << DrawFrame(2000, 1000) << DrawMullion(false, 1000, false, 0, 0);
    Geometria();
    OpenNew(0);
    const std::vector<unsigned char> przed = ArrayBytes();
    const strProst etykieta = p.dimensionSet.widthText;
    struct TotalsRow {
        const char* co;
        int32_t narz;
        std::function<void()> f;
    } wiersze[] = {
        {"width label", kToolPointer,
         [&] {
             Klik({(etykieta.left + etykieta.right) / 2, (etykieta.top + etykieta.bottom) / 2});
         }},
        {"sash", kToolFixedSash, [&] { Klik(Px(500, 500)); }},
        {"mullion drag", kToolFixedMullion, [&] { Ciagnij(Px(0, 500), Px(2000, 500)); }},
        {"context menu on the mullion", kToolPointer,
         [&] {
             Post(WM_RBUTTONUP, 0, Px(1000, 500));
             Pompuj();
         }},
    };
    for (const TotalsRow& w : wiersze) {
        SCOPED_TRACE(w.co);
        SelectTool(w.narz);
        w.f();
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(obs, IDC_CANVAS_EDIT)));
        EXPECT_EQ(ArrayBytes(), przed);
        EXPECT_TRUE(g_boxes.empty());
        EXPECT_TRUE(g_parent.notyf.empty());
    }
}

// ---- Tooltip ------------------------------------------------------------------------------------

BOOL CALLBACK FindTooltip(HWND h, LPARAM lp) {
    char k[64];
    GetClassNameA(h, k, sizeof k);
    HWND* wynik = (HWND*)lp;
    if (lstrcmpiA(k, TOOLTIPS_CLASSA) == 0 && GetWindow(h, GW_OWNER) == wynik[0]) {
        wynik[1] = h;
        return FALSE;
    }
    return TRUE;
}

TEST_F(CanvasWindowTest, TooltipNamesMullionOrFilling) {
    o << DrawFrame(3000, 1000) << DrawMullion(false, 1000, false, 0, 0) << DrawMullion(true, 2000, false, 0, 0)
      << DrawFilling(0, "Float & low-e", 0, 0, 1, 0);
    Geometria();
    OpenNew();
    // A pop-up's owner is the top-level window of the child it was made for.
    HWND szukane[2] = {rodzic, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindTooltip, (LPARAM)szukane);
    HWND tip = szukane[1];
    ASSERT_TRUE(tip);
    struct TotalsRow {
        int32_t X;
        const char* tekst;  // null: hidden
    } wiersze[] = {{1000, "Fixed mullion"}, {2000, "False mullion"}, {500, "Float & low-e"}, {2500, nullptr}};
    for (const TotalsRow& w : wiersze) {
        SCOPED_TRACE(w.X);
        Post(WM_MOUSEHOVER, 0, Px(w.X, 500));
        Pompuj();
        EXPECT_EQ(IsWindowVisible(tip) != 0, w.tekst != nullptr);
        if (w.tekst) {
            // The text the tooltip asks for.
            NMTTDISPINFOA di = {};
            di.hdr.hwndFrom = tip;
            di.hdr.idFrom = (UINT_PTR)obs;
            di.hdr.code = TTN_GETDISPINFOA;
            SendMessageA(obs, WM_NOTIFY, 0, (LPARAM)&di);
            EXPECT_STREQ(di.lpszText, w.tekst);
        }
    }
    // A button held while hovering shows nothing.
    Post(WM_MOUSEHOVER, MK_LBUTTON, Px(1000, 500));
    Pompuj();
    EXPECT_FALSE(IsWindowVisible(tip));
}

// ---- New filling name ------------------------------------------------------------------------

TEST(DialogNowyWypelnTest, NameTrimmedAndTypeChosen) {
    struct TotalsRow {
        const char* nazwa;
        bool akryl;
        const char* komunikat;
        int wynik;
        const char* oczekiwana;
        int32_t typ;
    } wiersze[] = {
        {"   \t ", false, "Empty name", 0, "", 0},
        {"", true, "Empty name", 0, "", 0},
        {"  Float \"4\" mm ", false, "", 1, "Float \"4\" mm", 0},
        {"Plexi", true, "", 1, "Plexi", 1},
    };
    for (const TotalsRow& w : wiersze) {
        SCOPED_TRACE(w.nazwa);
        ResetHarness();
        NewFilling nw = {};
        nw.typ = -1;
        Akcja a = {"New filling name", [&](HWND dlg) {
                       EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_NEW_FILLING_GLASS), BST_CHECKED);
                       EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_NEW_FILLING_ACRYLIC), BST_UNCHECKED);
                       SetDlgItemTextA(dlg, IDC_NEW_FILLING_NAME, w.nazwa);
                       if (w.akryl) Przycisk(dlg, IDC_NEW_FILLING_ACRYLIC);
                       Przycisk(dlg, IDOK);
                       if (IsWindow(dlg) && IsWindowVisible(dlg)) Przycisk(dlg, IDCANCEL);
                   }};
        LoopProbe probe(DialogProbe, &a, 5000);
        EXPECT_EQ(DialogNewFilling(nullptr, &nw), w.wynik);
        EXPECT_TRUE(a.zrobiona);
        EXPECT_EQ(Komunikaty(), *w.komunikat ? std::vector<std::string>{std::string("Error: ") + w.komunikat}
                                             : std::vector<std::string>{});
        if (w.wynik) {
            EXPECT_STREQ(nw.nazwa, w.oczekiwana);
            EXPECT_EQ(nw.typ, w.typ);
        }
    }
    g_pomoc.clear();
    SetHelpHook(HakPomocy, nullptr);
    NewFilling nw = {};
    Akcja a = {"New filling name", [&](HWND dlg) {
                   Przycisk(dlg, IDHELP);
                   Przycisk(dlg, IDCANCEL);
               }};
    LoopProbe probe(DialogProbe, &a, 5000);
    EXPECT_EQ(DialogNewFilling(nullptr, &nw), 0);
    SetHelpHook(nullptr, nullptr);
    EXPECT_EQ(g_pomoc, std::vector<std::string>{HelpTarget(HELP_NEW_FILLING)});
}

}  // namespace
