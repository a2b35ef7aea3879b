// The Win32-only routines that need no user: waiting on handles that are
// already signalled, and menu item texts. (The time-out shows a message box;
// it is tested once the box can be answered by a test.)
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include "util/kvutil.h"

namespace {

TEST(CzekajNaObiekt, ReportsWhichHandleIsSignalled) {
    HANDLE a = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE b = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(a && b);
    SetEvent(b);
    EXPECT_EQ((uint32_t)WAIT_OBJECT_0 + 1, CzekajNaObiekt(a, b, 1000, nullptr));
    SetEvent(a);
    EXPECT_EQ((uint32_t)WAIT_OBJECT_0, CzekajNaObiekt(a, b, 1000, nullptr));
    CloseHandle(a);
    CloseHandle(b);
}

TEST(UstawNapisOpcMenu, SetsTheTextByPosition) {
    HMENU menu = CreatePopupMenu();
    ASSERT_TRUE(menu);
    AppendMenuA(menu, MF_STRING, 100, "first");
    AppendMenuA(menu, MF_STRING, 101, "second");
    EXPECT_EQ(1, UstawNapisOpcMenu(menu, 1, "changed"));
    char text[64];
    GetMenuStringA(menu, 1, text, (int)sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("changed", text);
    GetMenuStringA(menu, 0, text, (int)sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("first", text);
    EXPECT_EQ(0, UstawNapisOpcMenu(menu, 5, "none"));
    DestroyMenu(menu);
}

}  // namespace
#endif
