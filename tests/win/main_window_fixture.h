// main_window_fixture.h - the program's main window made in the test's process on a
// database of the test's own, without the program's message loop: a test
// sends it commands and reads its controls.
#ifndef KV_TESTS_WIN_MAIN_WINDOW_FIXTURE_H
#define KV_TESTS_WIN_MAIN_WINDOW_FIXTURE_H

#include <windows.h>

#include <string>

// Creates the main window on "kelvaroDemo.db" of the current folder; the
// working year question, if any, is answered No. Null on failure.
HWND CreateMainWindowForTest();
// Destroys it and drops the quit message its destruction posts.
void DestroyMainWindowForTest(HWND main);

// Text of a status bar part.
std::string StatusBarPart(HWND main, int part);

#endif
