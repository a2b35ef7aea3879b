// The print preview of pagora.dll driven through its real windows: the
// toolbar and status bar, turning pages by command, key and wheel, the
// three zoom modes, the owner and the pages on close, a failed creation;
// and the library's measuring functions.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/win/harness.h"
#include "tests/win/pagora_testutil.h"
#include "util/toolbar_win.h"

namespace {

struct Preview {
    HWND wnd = nullptr, toolbar = nullptr, status = nullptr, work = nullptr;
    HWND vbar = nullptr, hbar = nullptr, corner = nullptr, card = nullptr;
};

Preview FindPreview(const std::string& name) {
    Preview p;
    p.wnd = FindWindowA("podgladDruk", ("Print preview - " + name).c_str());
    if (!p.wnd) return p;
    p.toolbar = GetDlgItem(p.wnd, 1002);
    p.status = GetDlgItem(p.wnd, 1001);
    p.work = FindWindowExA(p.wnd, nullptr, "obsRobPdglDruk", nullptr);
    p.vbar = GetDlgItem(p.work, 1012);
    p.hbar = GetDlgItem(p.work, 1013);
    p.corner = GetDlgItem(p.work, 1014);
    p.card = FindWindowExA(p.work, nullptr, "pdglDrukKrt", nullptr);
    return p;
}

std::string StatusText(HWND status, int part) {
    char text[256] = "";
    SendMessageA(status, SB_GETTEXTA, part, (LPARAM)text);
    return text;
}

int VPos(const Preview& p) { return GetScrollPos(p.vbar, SB_CTL); }

int VBottom(const Preview& p) {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(p.vbar, SB_CTL, &si);
    return si.nMax - (int)si.nPage + 1;
}

int VPage(const Preview& p) {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_PAGE;
    GetScrollInfo(p.vbar, SB_CTL, &si);
    return (int)si.nPage;
}

// The card's rectangle in the work window's client coordinates.
RECT CardRect(const Preview& p) {
    RECT r;
    GetWindowRect(p.card, &r);
    MapWindowPoints(nullptr, p.work, (POINT*)&r, 2);
    return r;
}

int Dpi(bool horizontal) {
    HDC dc = GetDC(nullptr);
    int d = GetDeviceCaps(dc, horizontal ? LOGPIXELSX : LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return d;
}

class PagoraPreview : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        RoutePagoraBoxes();
        owner_ = CreateOwnerWindow();
    }
    void TearDown() override {
        if (p_.wnd && IsWindow(p_.wnd)) DestroyWindow(p_.wnd);
        DestroyWindow(owner_);
        DeletePages(pages_);
        UstawAwarieAlokacjiPodgladu(0);
    }
    // A modeless preview of `count` pages in an 800 x 600 window.
    Preview Open(int count, uint32_t flags = 0) {
        pages_ = MakeTestPages(count);
        name_ = UniqueDocName("pv");
        job_ = MakeJob(owner_, name_.c_str(), pages_, flags);
        EXPECT_EQ(2, PagoraPrint(owner_, &job_, 2, 0));
        p_ = FindPreview(name_);
        EXPECT_TRUE(p_.wnd && p_.toolbar && p_.status && p_.work && p_.vbar && p_.hbar && p_.corner &&
                    p_.card);
        SetWindowPos(p_.wnd, nullptr, 0, 0, 800, 600, SWP_NOZORDER);
        PumpMessages(50);
        return p_;
    }
    HWND owner_ = nullptr;
    std::vector<HENHMETAFILE> pages_;
    std::string name_;
    strZadDruk job_;
    Preview p_;
};

// The toolbar's buttons in order, with their texts and states; the page
// buttons that lead nowhere are disabled; the status text names the page.
TEST_F(PagoraPreview, ToolbarAndStatusOfOneAndThreePageJobs) {
    struct Case {
        int pages;
        bool backEnabled, nextEnabled;
        const char* status;
    };
    const Case cases[] = {
        {1, false, false, "\t\tpage 1/1                   "},
        {3, false, true, "\t\tpage 1/3                   "},
    };
    struct Button {
        int id;
        const char* text;
    };
    const Button buttons[] = {
        {1003, "Complete view"},
        {1004, "Natural size"},
        {1005, "The maximum width"},
        {0, ""},
        {1006, "Back to beginning"},
        {1007, "Back page"},
        {1008, "Next page"},
        {1009, "To the end"},
        {0, ""},
        {1010, "Print"},
        {0, ""},
        {1011, "Close"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pages);
        Preview p = Open(c.pages);
        ASSERT_TRUE(p.wnd);
        ASSERT_EQ(12, (int)SendMessageA(p.toolbar, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < 12; i++) {
            TBBUTTON b = {};
            SendMessageA(p.toolbar, TB_GETBUTTON, i, (LPARAM)&b);
            if (buttons[i].id == 0) {
                EXPECT_TRUE(b.fsStyle & BTNS_SEP) << i;
                continue;
            }
            EXPECT_EQ(buttons[i].id, b.idCommand) << i;
            char text[64] = "";
            SendMessageA(p.toolbar, TB_GETBUTTONTEXTA, b.idCommand, (LPARAM)text);
            EXPECT_STREQ(buttons[i].text, text);
            EXPECT_EQ(b.idCommand == 1004, (b.fsState & TBSTATE_CHECKED) != 0) << b.idCommand;
        }
        for (int id : {1006, 1007})
            EXPECT_EQ(c.backEnabled, SendMessageA(p.toolbar, TB_ISBUTTONENABLED, id, 0) != 0) << id;
        for (int id : {1008, 1009})
            EXPECT_EQ(c.nextEnabled, SendMessageA(p.toolbar, TB_ISBUTTONENABLED, id, 0) != 0) << id;
        EXPECT_EQ(c.status, StatusText(p.status, 1));
        EXPECT_EQ(2, (int)SendMessageA(p.status, SB_GETPARTS, 0, 0));
        EXPECT_TRUE(GetClassLongPtrA(p.wnd, GCLP_HICON));
        // It cannot be made narrower than 45 average characters and 20 lines.
        MINMAXINFO mm = {};
        SendMessageA(p.wnd, WM_GETMINMAXINFO, 0, (LPARAM)&mm);
        HDC dc = GetDC(p.wnd);
        TEXTMETRICA tm;
        GetTextMetricsA(dc, &tm);
        ReleaseDC(p.wnd, dc);
        EXPECT_GT(mm.ptMinTrackSize.x, 45 * tm.tmAveCharWidth);
        EXPECT_GT(mm.ptMinTrackSize.y, 20 * tm.tmHeight);
        EXPECT_EQ(Dpi(true), rozmCalLogX);
        EXPECT_EQ(Dpi(false), rozmCalLogY);
        // A one-page job has nowhere to go by key either.
        SendMessageA(p.wnd, WM_KEYDOWN, VK_NEXT, 0);
        SendMessageA(p.wnd, WM_KEYDOWN, VK_END, 0);
        SendMessageA(p.wnd, WM_KEYDOWN, VK_NEXT, 0);
        if (c.pages == 1) {
            EXPECT_EQ(c.status, StatusText(p.status, 1));
        }
        DestroyWindow(p.wnd);
        DeletePages(pages_);
    }
}

// Pages turned by the toolbar and the keys: Page Down at the bottom of a
// page shows the next one from its top, Page Up at the top the previous one
// from its bottom, and the card follows the scroll position.
TEST_F(PagoraPreview, TurningPagesByToolbarAndKeys) {
    Preview p = Open(3);
    ASSERT_TRUE(p.wnd);
    ASSERT_TRUE(IsWindowVisible(p.vbar)) << "natural size in 800 x 600 must scroll";
    const int unit = rozmCalLogY / 4;
    enum { TOP = -1, BOTTOM = -2, ONE_PAGE = -3 };
    struct Step {
        const char* what;
        UINT msg;
        WPARAM wp;
        int page;  // 1-based
        int pos;   // TOP, BOTTOM, ONE_PAGE
    };
    const Step steps[] = {
        {"Next page", WM_COMMAND, 1008, 2, TOP},
        {"End", WM_KEYDOWN, VK_END, 2, BOTTOM},
        {"Page Down at the bottom of page 2", WM_KEYDOWN, VK_NEXT, 3, TOP},
        {"Page Up at the top of page 3", WM_KEYDOWN, VK_PRIOR, 2, BOTTOM},
        {"Home", WM_KEYDOWN, VK_HOME, 2, TOP},
        {"Page Down inside page 2", WM_KEYDOWN, VK_NEXT, 2, ONE_PAGE},
        {"Back to beginning", WM_COMMAND, 1006, 1, TOP},
        {"Page Up at the top of page 1", WM_KEYDOWN, VK_PRIOR, 1, TOP},
        {"To the end", WM_COMMAND, 1009, 3, TOP},
        {"Page Down at the top of page 3", WM_KEYDOWN, VK_NEXT, 3, ONE_PAGE},
        {"Back page", WM_COMMAND, 1007, 2, TOP},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        SendMessageA(p.wnd, s.msg, s.wp, 0);
        PumpMessages(20);
        char status[64];
        snprintf(status, sizeof status, "\t\tpage %d/3                   ", s.page);
        EXPECT_EQ(status, StatusText(p.status, 1));
        int expect = s.pos == TOP ? 0 : s.pos == BOTTOM ? VBottom(p) : VPage(p);
        EXPECT_EQ(expect, VPos(p));
        EXPECT_GT(VBottom(p), VPage(p));  // the positions above are distinct
        EXPECT_EQ(-unit * VPos(p), CardRect(p).top) << "the card did not follow";
        EXPECT_EQ(s.page > 1, SendMessageA(p.toolbar, TB_ISBUTTONENABLED, 1007, 0) != 0);
        EXPECT_EQ(s.page < 3, SendMessageA(p.toolbar, TB_ISBUTTONENABLED, 1008, 0) != 0);
    }
}

// The three zoom modes: the whole card with no scroll bar, the sheet at its
// true 8.5 x 11 inches, and the card as wide as the window.
TEST_F(PagoraPreview, ZoomModesAtEveryScale) {
    Preview p = Open(3);
    ASSERT_TRUE(p.wnd);
    const int dx = Dpi(true), dy = Dpi(false);
    RECT client;
    GetClientRect(p.work, &client);
    const int availW = client.right - GetSystemMetrics(SM_CXVSCROLL);
    const int availH = client.bottom - GetSystemMetrics(SM_CYHSCROLL);
    struct Case {
        int command;
        bool hbar, vbar;
        int width, height;  // expected card size in pixels, 0: not checked
    };
    const Case cases[] = {
        {1003, false, false, 0, 0},
        {1004, true, true, dx * 17 / 2, dy * 11},
        {1005, false, true, availW - dx / 2, 0},
        {1004, true, true, dx * 17 / 2, dy * 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        SendMessageA(p.wnd, WM_COMMAND, c.command, 0);
        PumpMessages(20);
        for (int id = 1003; id <= 1005; id++)
            EXPECT_EQ(id == c.command, SendMessageA(p.toolbar, TB_ISBUTTONCHECKED, id, 0) != 0);
        EXPECT_EQ(c.hbar, IsWindowVisible(p.hbar) != 0);
        EXPECT_EQ(c.vbar, IsWindowVisible(p.vbar) != 0);
        EXPECT_EQ(c.hbar && c.vbar, IsWindowVisible(p.corner) != 0);
        RECT card = CardRect(p);
        int w = card.right - card.left, h = card.bottom - card.top;
        if (c.width) {
            EXPECT_EQ(c.width, w);
        }
        if (c.height) {
            EXPECT_EQ(c.height, h);
        }
        // Always the sheet's proportions, 8.5 : 11.
        EXPECT_NEAR(8.5 / 11.0, (double)w / h, 0.01);
        if (c.command == 1003) {
            EXPECT_GE(card.left, 0);
            EXPECT_GE(card.top, 0);
            EXPECT_LE(card.right, availW);
            EXPECT_LE(card.bottom, availH);
            EXPECT_NEAR((card.left + card.right) / 2, availW / 2, 1);
        }
        if (c.command == 1005) {
            EXPECT_EQ(dy / 4, card.top);
        }
    }
}

// Wine sends no WM_DPICHANGED: the message of a move to a monitor of half as
// much dpi again is sent by hand. The natural size is the sheet's inches at
// the new dpi, the toolbar has that scale's pictures and keeps its checks.
TEST_F(PagoraPreview, AMoveToAnotherDpiGivesTheCardItsInchesAtEveryScale) {
    Preview p = Open(3);
    ASSERT_TRUE(p.wnd);
    const int to = Dpi(true) * 3 / 2;
    RECT suggested = {0, 0, to * 8, to * 6};
    SendMessageA(p.wnd, WM_DPICHANGED, MAKEWPARAM(to, to), (LPARAM)&suggested);
    PumpMessages(20);
    RECT r;
    GetWindowRect(p.wnd, &r);
    EXPECT_EQ(to * 8, r.right - r.left);
    RECT card = CardRect(p);
    EXPECT_EQ(to * 17 / 2, card.right - card.left);
    EXPECT_EQ(to * 11, card.bottom - card.top);
    EXPECT_TRUE(SendMessageA(p.toolbar, TB_ISBUTTONCHECKED, 1004, 0));
    EXPECT_FALSE(SendMessageA(p.toolbar, TB_ISBUTTONENABLED, 1006, 0));  // the first page: no way back
    int cx = 0, cy = 0;
    ImageList_GetIconSize((HIMAGELIST)SendMessageA(p.toolbar, TB_GETIMAGELIST, 0, 0), &cx, &cy);
    EXPECT_EQ(16 * (2 + KvPictureScaleIndex(to)) / 2, cx);
    SendMessageA(p.wnd, WM_COMMAND, 1005, 0);  // the maximum width: its margin at the new inch
    PumpMessages(20);
    EXPECT_EQ(to / 4, CardRect(p).top);
}

// The wheel scrolls 120 / (wheel-scroll lines) of delta per line, keeping
// what is left over; a setting of 0 turns it off; a system that scrolls
// pages makes a notch one screen.
TEST_F(PagoraPreview, WheelStepFollowsTheSetting) {
    Preview p = Open(2);
    ASSERT_TRUE(p.wnd);
    UINT saved = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &saved, 0);
    // Where the bar ends up: lines, or screens (its page) when the system
    // scrolls a screen per notch (WHEEL_PAGESCROLL, or more than 120 lines).
    struct Case {
        UINT lines;
        std::vector<int> deltas;
        int pos, screens;
    };
    const Case cases[] = {
        {3, {-120}, 3, 0},      // one notch: three lines
        {3, {-120, 40}, 2, 0},  // a step of 40 back up
        {3, {-60, -60}, 3, 0},  // the remainder carries over
        {3, {-30}, 0, 0},       // under a step: nothing yet
        {1, {-120}, 1, 0},
        {0, {-120, -120}, 0, 0},  // wheel off
        {WHEEL_PAGESCROLL, {-120}, 0, 1},
        {WHEEL_PAGESCROLL, {-60, -60}, 0, 1},
        {WHEEL_PAGESCROLL, {-120, 60}, 0, 1},  // half a notch back: not yet
        {121, {-120}, 0, 1},
        {500, {-60}, 0, 0},
    };
    const int screen = VPage(p);
    ASSERT_GT(screen, 1);
    ASSERT_GT(VBottom(p), screen) << "the card must be taller than two screens";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, c.lines, nullptr, 0);
        SendMessageA(p.wnd, WM_SETTINGCHANGE, SPI_SETWHEELSCROLLLINES, 0);
        SendMessageA(p.wnd, WM_KEYDOWN, VK_HOME, 0);
        for (int d : c.deltas) SendMessageA(p.wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)d), 0);
        EXPECT_EQ(c.pos + c.screens * screen, VPos(p));
    }
    SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, saved, nullptr, 0);
}

// Modal previews disable an enabled owner and enable it again on close;
// modeless ones leave it alone. The pages are deleted on close only when
// they belong to the job (flag bit 3).
TEST_F(PagoraPreview, OwnerAndPagesOnClose) {
    struct Case {
        const char* what;
        int mode;
        bool ownerEnabled;
        uint32_t flags;
        UINT closeMsg;
        WPARAM closeWp;
        int result;
        bool ownerDuring, pagesDeleted;
    };
    const Case cases[] = {
        {"modeless, enabled owner, job's pages", 2, true, 0x08, WM_COMMAND, 1011, 2, true, true},
        {"modeless, disabled owner, caller's pages", 2, false, 0x00, WM_CLOSE, 0, 2, false, false},
        {"modeless mode 3", 3, true, 0x10, WM_SYSCOMMAND, SC_CLOSE, 3, true, false},
        {"modal, enabled owner, job's pages", 1, true, 0x18, WM_COMMAND, 1011, 0, false, true},
        {"modal, disabled owner, caller's pages", 1, false, 0x00, WM_CLOSE, 0, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetHarness();
        std::vector<HENHMETAFILE> pages = MakeTestPages(2);
        std::string name = UniqueDocName("own");
        strZadDruk job = MakeJob(owner_, name.c_str(), pages, c.flags);
        EnableWindow(owner_, c.ownerEnabled);
        struct Probe {
            const Case* c;
            std::string name;
            HWND owner;
            int ownerDuring = -1;
        } probe{&c, name, owner_};
        auto look = [](void* ctx) {
            Probe* pr = (Probe*)ctx;
            HWND w = FindWindowA("podgladDruk", ("Print preview - " + pr->name).c_str());
            if (!w || !IsWindowVisible(w)) return false;
            pr->ownerDuring = IsWindowEnabled(pr->owner) != 0;
            PostMessageA(w, pr->c->closeMsg, pr->c->closeWp, 0);
            return true;
        };
        int result;
        {
            LoopProbe lp(look, &probe, 10000);
            result = PagoraPrint(owner_, &job, c.mode, c.flags & 0x18);
            if (c.mode != 1) {
                DWORD end = GetTickCount() + 5000;
                while (!lp.done() && (int)(GetTickCount() - end) < 0) PumpMessages(20);
                PumpMessages(50);  // the close message
            }
            EXPECT_TRUE(lp.done());
        }
        EXPECT_EQ(c.result, result);
        EXPECT_EQ(c.ownerDuring, probe.ownerDuring == 1);
        EXPECT_FALSE(FindWindowA("podgladDruk", ("Print preview - " + name).c_str()));
        EXPECT_EQ(c.ownerEnabled, IsWindowEnabled(owner_) != 0);
        for (HENHMETAFILE page : pages) EXPECT_EQ(c.pagesDeleted, !PageAlive(page));
        EXPECT_TRUE(g_boxes.empty());
        DeletePages(pages);
    }
    EnableWindow(owner_, TRUE);
}

// A preview that cannot get its memory or one of its child windows (the
// toolbar, the status bar, the work window, the card, the two scroll bars,
// the corner) says so, hands control back and leaves the owner and the
// caller's pages as they were, modal or not.
TEST_F(PagoraPreview, FailedCreationHandsBackControl) {
    struct Case {
        bool window;  // a child window fails, else an allocation
        int failing;  // the n-th one
        int mode;
    };
    std::vector<Case> cases = {{false, 1, 1}, {false, 2, 1}, {false, 1, 2}};
    for (int n = 1; n <= 7; n++) cases.push_back({true, n, n % 2 ? 1 : 2});
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.window ? "child window " : "allocation ") + std::to_string(c.failing) +
                     ", mode " + std::to_string(c.mode));
        ResetHarness();
        std::vector<HENHMETAFILE> pages = MakeTestPages(2);
        std::string name = UniqueDocName("fail");
        strZadDruk job = MakeJob(owner_, name.c_str(), pages, 0x18);
        if (c.window) UstawAwarieOknaPodgladu(c.failing);
        else UstawAwarieAlokacjiPodgladu(c.failing);
        EXPECT_EQ(-1, PagoraPrint(owner_, &job, c.mode, 0x18));
        UstawAwarieOknaPodgladu(0);
        UstawAwarieAlokacjiPodgladu(0);
        ASSERT_EQ(1u, g_boxes.size());
        EXPECT_EQ("Error", g_boxes[0].caption);
        EXPECT_EQ(0u, g_boxes[0].text.find("Error of allocation of memory space\r\n"));
        EXPECT_NE(std::string::npos, g_boxes[0].text.find(" - 8")) << g_boxes[0].text;
        EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING), g_boxes[0].type);
        EXPECT_TRUE(IsWindowEnabled(owner_));
        EXPECT_FALSE(FindWindowA("podgladDruk", nullptr));
        for (HENHMETAFILE page : pages) EXPECT_TRUE(PageAlive(page));
        EXPECT_TRUE(HeapValidate(hHeapDll, 0, nullptr));
        DeletePages(pages);
    }
    // Past the seventh child nothing fails: the seam counts exactly those.
    ResetHarness();
    UstawAwarieOknaPodgladu(8);
    Preview p = Open(2);
    UstawAwarieOknaPodgladu(0);
    EXPECT_TRUE(p.wnd);
    EXPECT_TRUE(g_boxes.empty());
}

// Millimetres per inch from the display's own figures; the page size for
// any selector; a record made ready for filling.
TEST(PagoraMeasures, MmForInchPageSizeAndRecordStart) {
    HDC ic = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_TRUE(ic);
    for (int horizontal : {1, 0}) {
        SCOPED_TRACE(horizontal);
        float mm = (float)GetDeviceCaps(ic, horizontal ? HORZSIZE : VERTSIZE);
        float px = (float)GetDeviceCaps(ic, horizontal ? HORZRES : VERTRES);
        float dpi = (float)GetDeviceCaps(ic, horizontal ? LOGPIXELSX : LOGPIXELSY);
        EXPECT_FLOAT_EQ(mm / (px / dpi), MmForInch(nullptr, horizontal));
        EXPECT_FLOAT_EQ(mm / (px / dpi), MmForInch(ic, horizontal));
    }
    // The arithmetic on the figures of a display of 1280 pixels, 96 per
    // inch and 338 mm: 338 / 13.333... = 25.35.
    EXPECT_NEAR(25.35, PagoraMmNaCal(338, 1280, 96), 0.005);
    EXPECT_FLOAT_EQ(25.4f, PagoraMmNaCal(338, 0, 96));
    DeleteDC(ic);

    for (int selector : {0, 1, -1, 0x7fffffff}) {
        int w = 0, h = 0;
        UstalRozmKrtCal(&w, &h, selector);
        EXPECT_EQ(5100, w);
        EXPECT_EQ(6600, h);
    }

    strZadDruk job;
    memset(&job, 0xAB, sizeof job);
    EXPECT_EQ(&job, PagoraInitializePagoraprint(&job));
    EXPECT_EQ(nullptr, job.wlasciciel);
    EXPECT_EQ(0, job.formatStr);
    EXPECT_EQ(0, job.liczbaStr);
    EXPECT_EQ(0, job.biezStr);
    EXPECT_EQ(0, job.nazwa[0]);
    EXPECT_EQ((char)0xAB, job.nazwa[1]);  // only the first byte
    EXPECT_EQ(nullptr, job.strony);
    EXPECT_EQ(0, job.zarezerw);
    EXPECT_EQ(0u, job.flagi);
}

}  // namespace
