// The numeric edits of widgora.dll, typed into with WM_CHAR in a comma and a
// point locale, pasted into, and left (focus loss tidying).
//
// In the tables "S" stands for the locale's decimal separator, in texts and
// as the typed character.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/win/harness.h"
#include "tests/win/widgora_testutil.h"
#include "widgora/widgora.h"

namespace {

using Installer = WNDPROC (*)(HWND, const char*);
const Installer kInstall[5] = {nullptr, ZalozPdklEdL1mPoPrzec, ZalozPdklEdL2mPoPrzec, ZalozPdklEdL3mPoPrzec,
                               ZalozPdklEdL4mPoPrzec};

std::string WithSep(const char* s, char sep) {
    std::string r = s;
    for (char& c : r) {
        if (c == 'S') c = sep;
    }
    return r;
}

class NumericEdit : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ResetHarness();
        RouteLibraryBoxes();
        locale_ = new ScopedDecimal(GetParam());
        sep_ = GetParam()[0];
        ASSERT_EQ(sep_, DajSepDziesLocale()) << "the locale did not take the separator";
        parent_ = CreateParentWindow(300, 200);
        ASSERT_NE(nullptr, parent_);
    }
    void TearDown() override {
        DestroyWindow(parent_);
        delete locale_;
        EXPECT_TRUE(g_boxes.empty());
    }
    HWND NewEdit(int n, const char* allowed, const char* text, int* count = nullptr) {
        HWND e = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10,
                                 10 + 25 * (count ? *count : 0), 150, 22, parent_, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        WNDPROC editProc = (WNDPROC)GetWindowLongPtrA(e, GWLP_WNDPROC);
        EXPECT_EQ(editProc, kInstall[n](e, allowed));
        SetWindowTextA(e, WithSep(text, sep_).c_str());
        return e;
    }
    void Type(HWND e, char c) { SendMessageA(e, WM_CHAR, (WPARAM)(unsigned char)(c == 'S' ? sep_ : c), 1); }

    ScopedDecimal* locale_ = nullptr;
    char sep_ = 0;
    HWND parent_ = nullptr;
};

struct TypingCase {
    int n;             // decimals of the variant
    const char* text;  // before
    int selStart, selEnd;
    char typed;
    const char* after;
    const char* what;
};

const TypingCase kTyping[] = {
    {2, "12S34", 5, 5, '5', "12S34", "a third decimal is refused"},
    {2, "12S34", 1, 1, '7', "172S34", "a digit in the integer part is taken"},
    {2, "12S3", 4, 4, '4', "12S34", "a second decimal is taken"},
    {2, "1S23", 2, 2, '9', "1S23", "a digit right after the separator that makes three decimals"},
    {1, "1234", 1, 1, 'S', "1234", "one decimal: three digits would follow"},
    {2, "1234", 1, 1, 'S', "1234", "two decimals: three digits would follow"},
    {3, "1234", 1, 1, 'S', "1S234", "three decimals: three digits may follow"},
    {4, "1234", 1, 1, 'S', "1S234", "four decimals: three digits may follow"},
    {1, "5S", 2, 2, '1', "5S1", "the one decimal"},
    {1, "5S1", 3, 3, '2', "5S1", "no second decimal in a one-decimal edit"},
    {4, "1S234", 5, 5, '5', "1S2345", "the fourth decimal"},
    {4, "1S2345", 6, 6, '6', "1S2345", "no fifth decimal"},
    {2, "", 0, 0, 'S', "", "the separator cannot come first"},
    {2, "12", 0, 0, 'S', "12", "nor before the digits"},
    {3, "12S3", 4, 4, 'S', "12S3", "nor twice"},
    {2, "12", 2, 2, '-', "12", "no minus"},
    {2, "12", 0, 0, '-', "12", "no minus in front"},
    {2, "12", 2, 2, '+', "12", "no plus"},
    {2, "12", 2, 2, 'a', "12", "no letters"},
    {2, "12", 2, 2, ' ', "12", "no blanks"},
    {2, "12", 2, 2, '\t', "12", "no tabs"},
    {2, "1", 1, 1, '\xB9', "1", "no letters of the code page"},
    {2, "12S3", 4, 4, '\b', "12S", "backspace still works"},
    {2, "123S4", 1, 3, 'S', "1S4", "a second separator over a selection clears it and adds nothing"},
    {2, "12S34", 3, 5, '9', "12S9", "a digit replaces the selected decimals"},
    {2, "12S34", 1, 4, 'S', "1S4", "a separator replaces a selection holding the old one"},
    {2, "12S34", 0, 5, '7', "7", "a digit over everything"},
};

TEST_P(NumericEdit, TypingKeepsANumberWithAtMostNDecimals) {
    int row = 0;
    for (const TypingCase& c : kTyping) {
        HWND e = NewEdit(c.n, nullptr, c.text, &row);
        SendMessageA(e, EM_SETSEL, c.selStart, c.selEnd);
        Type(e, c.typed);
        EXPECT_EQ(WithSep(c.after, sep_), WindowText(e))
            << c.what << " (N=" << c.n << ", \"" << WithSep(c.text, sep_) << "\")";
        DestroyWindow(e);
    }
}

TEST_P(NumericEdit, TheOtherLocalesSeparatorIsRefused) {
    const char other = sep_ == ',' ? '.' : ',';
    for (int n = 1; n <= 4; n++) {
        HWND e = NewEdit(n, nullptr, "12");
        SendMessageA(e, EM_SETSEL, 2, 2);
        Type(e, other);
        EXPECT_EQ("12", WindowText(e)) << "N=" << n;
        Type(e, 'S');
        Type(e, '5');
        EXPECT_EQ(WithSep("12S5", sep_), WindowText(e)) << "N=" << n;
        DestroyWindow(e);
    }
}

TEST_P(NumericEdit, PastingIsRefused) {
    ASSERT_TRUE(SetClipboardText("5"));
    // A plain edit takes the clipboard's text: the paste would work.
    HWND plain = CreateWindowExA(0, "Edit", "12", WS_CHILD | WS_VISIBLE, 10, 100, 100, 22, parent_, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    SendMessageA(plain, EM_SETSEL, 2, 2);
    SendMessageA(plain, WM_PASTE, 0, 0);
    ASSERT_EQ("125", WindowText(plain));
    for (int n = 1; n <= 4; n++) {
        HWND e = NewEdit(n, nullptr, "12");
        SendMessageA(e, EM_SETSEL, 2, 2);
        SendMessageA(e, WM_PASTE, 0, 0);
        EXPECT_EQ("12", WindowText(e)) << "WM_PASTE, N=" << n;
        Type(e, 0x16);  // Ctrl+V
        EXPECT_EQ("12", WindowText(e)) << "Ctrl+V, N=" << n;
        DestroyWindow(e);
    }
}

struct TidyCase {
    int n;
    const char* allowed;
    const char* text;
    const char* after;
};

const TidyCase kTidy[] = {
    {2, "0", "12S5", "12S50"},
    {2, "0", "12S00", "12"},
    {2, "0", "12S", "12"},
    {2, "0", "007", "7"},
    {2, "0", "100", "100"},
    {2, "0", "000", "0"},
    {2, "0", "00S5", "0S50"},
    {1, nullptr, "0S5", "0S5"},
    {2, nullptr, "12", "12S00"},
    {2, nullptr, "0012S3", "12S30"},
    {4, "0123", "1S2500", "1S25"},
    {4, "0123", "3", "3"},
    {4, "0123", "0S1234", "0S1234"},
    {3, "0123", "1S000", "1"},
    {3, nullptr, "", ""},
};

TEST_P(NumericEdit, LeavingTheFieldTidiesTheNumber) {
    int row = 0;
    for (const TidyCase& c : kTidy) {
        HWND e = NewEdit(c.n, c.allowed, c.text, &row);
        SendMessageA(e, WM_KILLFOCUS, 0, 0);
        EXPECT_EQ(WithSep(c.after, sep_), WindowText(e))
            << "N=" << c.n << " allowed " << (c.allowed ? c.allowed : "none") << " \""
            << WithSep(c.text, sep_) << "\"";
        DestroyWindow(e);
    }
}

TEST_P(NumericEdit, MovingTheFocusAwayTidies) {
    HWND e = NewEdit(2, "0", "0012S5");
    HWND other = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 10, 100, 100, 22, parent_, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    SetFocus(e);
    ASSERT_EQ(e, GetFocus());
    EXPECT_EQ(WithSep("0012S5", sep_), WindowText(e));
    SetFocus(other);
    ASSERT_EQ(other, GetFocus());
    EXPECT_EQ(WithSep("12S50", sep_), WindowText(e));
}

TEST_P(NumericEdit, InstallingTwiceKeepsTheEditsOwnProcedure) {
    HWND e = CreateWindowExA(0, "Edit", "1", WS_CHILD | WS_VISIBLE, 10, 10, 100, 22, parent_, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    WNDPROC editProc = (WNDPROC)GetWindowLongPtrA(e, GWLP_WNDPROC);
    EXPECT_EQ(editProc, ZalozPdklEdL1mPoPrzec(e, nullptr));
    // The second installation changes the variant, and the edit still works:
    // a procedure that called itself would never return.
    EXPECT_EQ(editProc, ZalozPdklEdL3mPoPrzec(e, nullptr));
    SendMessageA(e, EM_SETSEL, 1, 1);
    for (char c : std::string("S2345")) Type(e, c);
    EXPECT_EQ(WithSep("1S234", sep_), WindowText(e));
}

INSTANTIATE_TEST_SUITE_P(Locales, NumericEdit, ::testing::Values(",", "."),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param[0] == ',' ? "Comma" : "Point");
                         });

}  // namespace
