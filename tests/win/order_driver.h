// order_driver.h - driving the order window from inside its own message loop:
// a list of steps run one per timer tick, each acting through messages.
// A step that opens a modal dialog posts its command, so that the next step
// runs inside the dialog's loop and works the dialog.
#ifndef KV_TESTS_WIN_ORDER_DRIVER_H
#define KV_TESTS_WIN_ORDER_DRIVER_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/win/testutil.h"

// A step gets the order window; true when it is done, false to be called
// again at the next tick (waiting for a dialog, say).
typedef std::function<bool(HWND)> Step;

struct Script {
    std::vector<Step> steps;
    size_t next = 0;
    bool busy = false;
    HWND window = nullptr;
    bool finished() const { return next >= steps.size(); }
};

// Runs `open` (which shows the order window and returns when it closes)
// while the script's steps run; fails the test when the steps do not all
// run within the time. Returns what `open` returned.
int RunScripted(const std::function<int()>& open, Script* script, DWORD timeoutMs = 15000);

HWND FindOrderWindow();
// The page of the order window that holds control `id`.
HWND PageWith(HWND window, int id);
HWND Dialog(const char* title);

std::string TextOf(HWND hwnd);
std::string ItemText(HWND parent, int id);
bool MenuEnabled(HWND window, int id);
// Submenu `sub` of the menu bar, item at `pos`.
bool MenuEnabledAt(HWND window, int sub, int pos);
std::string MenuText(HWND window, int id);
bool ToolEnabled(HWND window, int id);
std::string ToolText(HWND window, int id);
bool Visible(HWND parent, int id);
bool ReadOnly(HWND parent, int id);

// Types `text` into the edit as the keyboard would: the old text selected
// and replaced character by character.
void Type(HWND edit, const std::string& text);
void Command(HWND window, int id);
void Post(HWND window, int id);
// A step that posts command `id` to the window (Save, Cancel...), so that
// what it opens or closes happens after the step.
Step CloseWith(int id);
// Selects entry `entry` of the windows list and tells the window, as a click does.
void SelectWindowEntry(HWND window, int entry);
// Selects (or clears) row `row` of a list view.
void SelectRow(HWND list, int row, bool on = true);
LPARAM RowParam(HWND list, int row);

#endif
