// The smaller controls of widgora.dll: read-only switching, the default
// button, fixed list-view columns, the edit with its up-down, text in a
// chosen code page, and the login dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <string.h>

#include <string>
#include <vector>

#include "tests/win/harness.h"
#include "tests/win/testutil.h"
#include "tests/win/widgora_test_rc.h"
#include "tests/win/widgora_testutil.h"
#include "util/scoped_win.h"
#include "widgora/widgora.h"
#include "widgora/widgora_rc.h"

namespace {

int g_commands[3];  // WM_COMMAND of IDOK, IDC_TEST_OTHER, IDCANCEL seen by the dialog

INT_PTR CALLBACK TestDialogProc(HWND, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_INITDIALOG) return TRUE;
    if (msg == WM_COMMAND) {
        switch (LOWORD(wParam)) {
            case IDOK: g_commands[0]++; break;
            case IDC_TEST_OTHER: g_commands[1]++; break;
            case IDCANCEL: g_commands[2]++; break;
        }
        return TRUE;
    }
    return FALSE;
}

class Controls : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        RouteLibraryBoxes();
        memset(g_commands, 0, sizeof g_commands);
        dlg_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEST), nullptr,
                                  TestDialogProc, 0);
        ASSERT_NE(nullptr, dlg_);
        SetWindowPos(dlg_, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(dlg_);
        PumpMessages(30);
    }
    void TearDown() override {
        DestroyWindow(dlg_);
        EXPECT_TRUE(g_boxes.empty());
    }
    HWND Item(int id) { return GetDlgItem(dlg_, id); }
    // A real click of the mouse at the middle of a window, through the input
    // queue (a disabled window never gets it).
    void Click(HWND w) {
        RECT r;
        GetWindowRect(w, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PumpMessages(20);
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_MOUSE;
        in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, in, sizeof(INPUT));
        PumpMessages(100);
    }

    HWND dlg_ = nullptr;
};

TEST_F(Controls, AReadOnlyEditCanStillBeSelectedAndCopied) {
    HWND e = Item(IDC_TEST_EDIT);
    SetWindowTextA(e, "1234,50");
    AktDeaktKntrl(e, 0);
    EXPECT_TRUE(GetWindowLongA(e, GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(IsWindowEnabled(e));
    SendMessageA(e, EM_SETSEL, 0, 4);
    SendMessageA(e, WM_CHAR, '9', 1);
    EXPECT_EQ("1234,50", WindowText(e));  // no typing
    DWORD start = 0, end = 0;
    SendMessageA(e, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(0u, start);
    EXPECT_EQ(4u, end);
    ASSERT_TRUE(SetClipboardText("empty"));
    SendMessageA(e, WM_COPY, 0, 0);
    EXPECT_EQ("1234", ClipboardText());
    // And back to writable.
    AktDeaktKntrl(e, 1);
    EXPECT_FALSE(GetWindowLongA(e, GWL_STYLE) & ES_READONLY);
    SendMessageA(e, EM_SETSEL, 0, 4);
    SendMessageA(e, WM_CHAR, '9', 1);
    EXPECT_EQ("9,50", WindowText(e));
}

TEST_F(Controls, ADisabledButtonCannotBePressed) {
    HWND other = Item(IDC_TEST_OTHER);
    Click(other);
    ASSERT_EQ(1, g_commands[1]) << "the click does not reach an enabled button";
    AktDeaktKntrl(other, 0);
    EXPECT_FALSE(IsWindowEnabled(other));
    Click(other);
    EXPECT_EQ(1, g_commands[1]);
    AktDeaktKntrl(other, 1);
    EXPECT_TRUE(IsWindowEnabled(other));
    Click(other);
    EXPECT_EQ(2, g_commands[1]);
}

TEST_F(Controls, TheDefaultButtonMovesAndEnterFollowsIt) {
    auto isDefault = [&](int id) { return (GetWindowLongA(Item(id), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON; };
    auto pressEnter = [&] {
        SetFocus(Item(IDC_TEST_EDIT));
        MSG m = {Item(IDC_TEST_EDIT), WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
        IsDialogMessageA(dlg_, &m);
    };
    ASSERT_TRUE(isDefault(IDOK));
    pressEnter();
    ASSERT_EQ(1, g_commands[0]);

    PrzestawDomyslPb(dlg_, IDOK, IDC_TEST_OTHER);
    EXPECT_FALSE(isDefault(IDOK));
    EXPECT_TRUE(isDefault(IDC_TEST_OTHER));
    EXPECT_EQ(MAKELONG(IDC_TEST_OTHER, DC_HASDEFID), SendMessageA(dlg_, DM_GETDEFID, 0, 0));
    pressEnter();
    EXPECT_EQ(1, g_commands[1]) << "Enter still presses the old default";
    EXPECT_EQ(1, g_commands[0]);

    PrzestawDomyslFokus(dlg_, IDC_TEST_OTHER, IDCANCEL);
    EXPECT_EQ(Item(IDCANCEL), GetFocus());
    EXPECT_FALSE(isDefault(IDC_TEST_OTHER));
    EXPECT_TRUE(isDefault(IDCANCEL));

    PrzestawDomyslPb(dlg_, IDCANCEL, 0);  // no default at all
    EXPECT_FALSE(isDefault(IDCANCEL));
    EXPECT_FALSE(isDefault(IDOK));
    EXPECT_FALSE(isDefault(IDC_TEST_OTHER));
}

class InAWindow : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = CreateParentWindow(500, 300);
        ASSERT_NE(nullptr, parent_);
    }
    void TearDown() override { DestroyWindow(parent_); }
    HWND NewList() {
        HWND lv = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 10, 400, 200,
                                  parent_, (HMENU)7, GetModuleHandleA(nullptr), nullptr);
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 100;
        col.pszText = (char*)"Window";
        SendMessageA(lv, LVM_INSERTCOLUMNA, 0, (LPARAM)&col);
        col.pszText = (char*)"Price";
        SendMessageA(lv, LVM_INSERTCOLUMNA, 1, (LPARAM)&col);
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.pszText = (char*)"A very long description of a kitchen window with muntins";
        SendMessageA(lv, LVM_INSERTITEMA, 0, (LPARAM)&item);
        return lv;
    }
    static int Width(HWND lv) { return (int)SendMessageA(lv, LVM_GETCOLUMNWIDTH, 0, 0); }
    // Drags the divider after the first column from x = 100 to x = 160.
    static void Drag(HWND header) {
        SendMessageA(header, WM_SETCURSOR, (WPARAM)header, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(100, 5));
        SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 5));
        for (int x = 110; x <= 160; x += 10) SendMessageA(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 5));
        SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(160, 5));
        ReleaseCapture();
    }
    static void DoubleClickDivider(HWND header) {
        SendMessageA(header, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 5));
        SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(100, 5));
        ReleaseCapture();
    }
    HWND parent_ = nullptr;
};

TEST_F(InAWindow, DraggingOrDoubleClickingADividerResizesNothing) {
    // Without the block the same mouse work does resize: the test can fail.
    HWND free = NewList();
    HWND freeHeader = (HWND)SendMessageA(free, LVM_GETHEADER, 0, 0);
    Drag(freeHeader);
    ASSERT_NE(100, Width(free)) << "the drag does not resize an ordinary list view";
    SendMessageA(free, LVM_SETCOLUMNWIDTH, 0, 100);
    DoubleClickDivider(freeHeader);
    ASSERT_NE(100, Width(free)) << "the double click does not fit an ordinary column";

    HWND fixed = NewList();
    HWND header = (HWND)SendMessageA(fixed, LVM_GETHEADER, 0, 0);
    WNDPROC headerProc = (WNDPROC)GetWindowLongPtrA(header, GWLP_WNDPROC);
    EXPECT_EQ(headerProc, ZablokujRozmKolLst(fixed));
    Drag(header);
    EXPECT_EQ(100, Width(fixed));
    DoubleClickDivider(header);
    EXPECT_EQ(100, Width(fixed));
    // A program may still size its columns.
    SendMessageA(fixed, LVM_SETCOLUMNWIDTH, 0, 120);
    EXPECT_EQ(120, Width(fixed));
}

TEST_F(InAWindow, AClickOnAColumnStillReachesTheParent) {
    HWND lv = NewList();
    ZablokujRozmKolLst(lv);
    HWND header = (HWND)SendMessageA(lv, LVM_GETHEADER, 0, 0);
    g_parentLog.clear();
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 5));
    SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(150, 5));
    ReleaseCapture();
    int clicks = 0;
    for (const Recorded& r : g_parentLog) {
        if (r.msg == WM_NOTIFY && r.code == (UINT)LVN_COLUMNCLICK) clicks++;
    }
    EXPECT_EQ(1, clicks);
}

TEST_F(InAWindow, TheEditAndItsUpDownMoveAsOnePiece) {
    strEdUd eu;
    const DWORD style =
        WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
    ASSERT_EQ(1, TworzEdUd(&eu, style, 20, 30, 90, 22, parent_, 41, 42, GetModuleHandleA(nullptr), -5, 100000,
                           70000));
    EXPECT_EQ(GetDlgItem(parent_, 41), eu.hEd);
    EXPECT_EQ(GetDlgItem(parent_, 42), eu.hUd);
    EXPECT_EQ(90, eu.szer);
    const LONG es = GetWindowLongA(eu.hEd, GWL_STYLE);
    EXPECT_TRUE(es & ES_NUMBER);
    EXPECT_TRUE(es & ES_RIGHT);
    EXPECT_TRUE(es & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongA(eu.hEd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ((LRESULT)GetStockObject(DEFAULT_GUI_FONT), SendMessageA(eu.hEd, WM_GETFONT, 0, 0));
    EXPECT_EQ((LRESULT)eu.hEd, SendMessageA(eu.hUd, UDM_GETBUDDY, 0, 0));
    int lo = 0, hi = 0;
    SendMessageA(eu.hUd, UDM_GETRANGE32, (WPARAM)&lo, (LPARAM)&hi);
    EXPECT_EQ(-5, lo);
    EXPECT_EQ(100000, hi);  // beyond 16 bits
    EXPECT_EQ(70000, (int)SendMessageA(eu.hUd, UDM_GETPOS32, 0, 0));
    EXPECT_EQ("70000", WindowText(eu.hEd));

    auto rectIn = [&](HWND w) {
        RECT r;
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, parent_, (POINT*)&r, 2);
        return r;
    };
    RECT e0 = rectIn(eu.hEd), u0 = rectIn(eu.hUd);
    EXPECT_EQ(20, e0.left);
    // Edit and up-down take the width together (the up-down sits over the
    // edit's border, a pixel or two inside).
    EXPECT_NEAR(20 + 90, u0.right, 2);

    ASSERT_EQ(1, PrzesunEdUd(&eu, 200, 120));
    RECT e1 = rectIn(eu.hEd), u1 = rectIn(eu.hUd);
    EXPECT_EQ(200, e1.left);
    EXPECT_EQ(120, e1.top);
    EXPECT_EQ(200 + 90, u1.right);
    EXPECT_EQ(120, u1.top);
    EXPECT_EQ(e0.right - e0.left, e1.right - e1.left);
    EXPECT_EQ(u0.right - u0.left, u1.right - u1.left);

    strEdUd copy;
    IniEdUd(&copy, eu.hEd, eu.hUd, eu.szer);
    ASSERT_EQ(1, PrzesunEdUdFlg(&copy, 50, 60, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    EXPECT_EQ(50, rectIn(eu.hEd).left);
    EXPECT_EQ(50 + 90, rectIn(eu.hUd).right);
}

TEST_F(Controls, TextInACodePageReachesTheControlAsItsCharacters) {
    // a-ogonek and c-acute in code page 1250; e-acute in 1252.
    ASSERT_TRUE(SetDlgItemTextAJakoW(dlg_, IDC_TEST_TEXT, "\xB9\xE6 okno", 1250));
    WCHAR w[32] = L"";
    GetDlgItemTextW(dlg_, IDC_TEST_TEXT, w, 32);
    EXPECT_EQ(std::wstring(L"\u0105\u0107 okno"), std::wstring(w));
    ASSERT_TRUE(SetDlgItemTextAJakoW(dlg_, IDC_TEST_TEXT, "caf\xE9", 1252));
    GetDlgItemTextW(dlg_, IDC_TEST_TEXT, w, 32);
    EXPECT_EQ(std::wstring(L"caf\u00E9"), std::wstring(w));
}

TEST_F(Controls, DrawingInACodePageMeasuresAsTheWideText) {
    MemoryDC dc(nullptr, 100, 30);
    ScopedSelect font(dc, GetStockObject(DEFAULT_GUI_FONT));
    auto calc = [&](const WCHAR* w, int n) {
        RECT r = {0, 0, 0, 0};
        DrawTextW(dc, w, n, &r, DT_CALCRECT | DT_SINGLELINE);
        return r;
    };
    RECT whole = {0, 0, 0, 0};
    int h = DrawTextAJakoW(dc, "\xA3\xF3\x9F", -1, &whole, DT_CALCRECT | DT_SINGLELINE, 1250);
    RECT want = calc(L"\u0141\u00F3\u017A", -1);
    EXPECT_GT(h, 0);
    EXPECT_EQ(want.right, whole.right);
    EXPECT_EQ(want.bottom, whole.bottom);
    RECT first = {0, 0, 0, 0};
    DrawTextAJakoW(dc, "\xA3\xF3\x9F", 1, &first, DT_CALCRECT | DT_SINGLELINE, 1250);
    EXPECT_EQ(calc(L"\u0141", 1).right, first.right);
    EXPECT_LT(first.right, whole.right);
    // Drawn, not only measured.
    RECT box = {0, 0, 100, 30};
    FillRect(dc, &box, (HBRUSH)GetStockObject(WHITE_BRUSH));
    EXPECT_GT(DrawTextAJakoW(dc, "\xA3\xF3\x9F", -1, &box, DT_SINGLELINE, 1250), 0);
    int dark = 0;
    for (int y = 0; y < 30; y++)
        for (int x = 0; x < 100; x++)
            if (GetPixel(dc, x, y) != RGB(255, 255, 255)) dark++;
    EXPECT_GT(dark, 10);
}

// ---- Login dialog -------------------------------------------------------------------

struct LoginScript {
    const char* login;  // set with WM_SETTEXT (null: typed)
    const char* password;
    int typeChars;                        // characters typed into each edit instead
    int button;                           // IDOK, IDCANCEL, or 0 for the close box
    int loginLen = -1, passwordLen = -1;  // lengths the edits held before the button
    bool seen = false;
    std::vector<std::string> tooLong = {};  // the dialog's texts that do not fit their controls
};

std::string g_processed;
int g_processCalls;
void Process(const char* password, char* out) {
    g_processCalls++;
    g_processed = password;
    // A hex digest-like result: two characters per character, as the half
    // capacity allows.
    static const char hex[] = "0123456789ABCDEF";
    size_t n = strlen(password);
    for (size_t i = 0; i < n; i++) {
        out[2 * i] = hex[(unsigned char)password[i] >> 4];
        out[2 * i + 1] = hex[(unsigned char)password[i] & 15];
    }
    out[2 * n] = 0;
}

bool DriveLogin(void* c) {
    LoginScript* s = (LoginScript*)c;
    HWND dlg = FindWindowA("#32770", "Login and password");
    if (!dlg || !IsWindowVisible(dlg)) return false;
    s->seen = true;
    s->tooLong = TextsThatDoNotFit(dlg);
    HWND login = GetDlgItem(dlg, IDC_ED_USER), password = GetDlgItem(dlg, IDC_ED_PASSWORD);
    if (s->typeChars) {
        for (int i = 0; i < s->typeChars; i++) {
            SendMessageA(login, WM_CHAR, 'a' + i % 26, 1);
            SendMessageA(password, WM_CHAR, 'A' + i % 26, 1);
        }
    } else {
        SetWindowTextA(login, s->login);
        SetWindowTextA(password, s->password);
    }
    s->loginLen = GetWindowTextLengthA(login);
    s->passwordLen = GetWindowTextLengthA(password);
    if (s->button)
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(s->button, BN_CLICKED), (LPARAM)GetDlgItem(dlg, s->button));
    else PostMessageA(dlg, WM_CLOSE, 0, 0);
    return true;
}

class LoginDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        RouteLibraryBoxes();
        g_processed.clear();
        g_processCalls = 0;
        owner_ = CreateParentWindow(300, 200);
        memset(login_, 0x7E, sizeof login_);
        memset(out_, 0x7E, sizeof out_);
    }
    void TearDown() override {
        DestroyWindow(owner_);
        EXPECT_TRUE(g_boxes.empty());
    }
    int Run(LoginScript* s, int loginCap, int passCap) {
        LoopProbe probe(DriveLogin, s, 5000);
        int r = WolajDlgUzytkHaslo(owner_, login_, loginCap, out_, passCap, Process);
        EXPECT_TRUE(s->seen);
        EXPECT_FALSE(probe.timedOut());
        return r;
    }
    // Bytes past `from` still hold the filler: nothing was written there.
    bool UntouchedFrom(const char* buf, int from, int size) {
        for (int i = from; i < size; i++) {
            if (buf[i] != 0x7E) return false;
        }
        return true;
    }

    HWND owner_ = nullptr;
    char login_[64];
    char out_[64];
};

TEST_F(LoginDialog, OkGivesTheLoginAndTheProcessedPasswordAtEveryScale) {
    LoginScript s = {"jkowalski", "tajne", 0, IDOK};
    EXPECT_EQ(1, Run(&s, 32, 32));
    for (const std::string& t : s.tooLong) ADD_FAILURE() << "does not fit: " << t;
    EXPECT_STREQ("jkowalski", login_);
    EXPECT_EQ(1, g_processCalls);
    EXPECT_EQ("tajne", g_processed);
    EXPECT_STREQ("74616A6E65", out_);
}

TEST_F(LoginDialog, CancelAndTheCloseBoxGiveZeroAndTouchNothing) {
    for (int button : {IDCANCEL, 0}) {
        LoginScript s = {"jkowalski", "tajne", 0, button};
        EXPECT_EQ(0, Run(&s, 32, 32)) << button;
        EXPECT_EQ(0, g_processCalls);
        EXPECT_TRUE(UntouchedFrom(login_, 0, sizeof login_));
        EXPECT_TRUE(UntouchedFrom(out_, 0, sizeof out_));
    }
}

TEST_F(LoginDialog, NoTextOverflowsEitherBuffer) {
    // Set from outside the keyboard, longer than anything fits.
    std::string longLogin(200, 'L'), longPassword(200, 'p');
    LoginScript s = {longLogin.c_str(), longPassword.c_str(), 0, IDOK};
    EXPECT_EQ(1, Run(&s, 8, 10));
    EXPECT_EQ(200, s.loginLen);
    EXPECT_STREQ("LLLLLLL", login_);  // cut to its capacity
    EXPECT_TRUE(UntouchedFrom(login_, 8, sizeof login_));
    EXPECT_EQ("pppp", g_processed);  // half the password's capacity
    EXPECT_STREQ("70707070", out_);
    EXPECT_TRUE(UntouchedFrom(out_, 10, sizeof out_));
}

TEST_F(LoginDialog, TheEditsTakeNoMoreTypedCharactersThanFit) {
    LoginScript s = {nullptr, nullptr, 40, IDOK};
    EXPECT_EQ(1, Run(&s, 8, 10));
    EXPECT_EQ(7, s.loginLen);
    EXPECT_EQ(4, s.passwordLen);
    EXPECT_STREQ("abcdefg", login_);
    EXPECT_EQ("ABCD", g_processed);
    EXPECT_TRUE(UntouchedFrom(out_, 10, sizeof out_));
}

TEST_F(LoginDialog, CapacitiesWithNoRoomAreRefusedAtOnce) {
    EXPECT_EQ(0, WolajDlgUzytkHaslo(owner_, login_, 0, out_, 32, Process));
    EXPECT_EQ(0, WolajDlgUzytkHaslo(owner_, login_, 32, out_, 1, Process));
    EXPECT_EQ(0, g_processCalls);
}

}  // namespace
