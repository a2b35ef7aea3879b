// testutil.h - small helpers of the Windows tests and benchmarks that need
// nothing of the test runner (the benchmarks link them without GoogleTest).
#ifndef KV_TESTS_WIN_TESTUTIL_H
#define KV_TESTS_WIN_TESTUTIL_H

#include <windows.h>

#include <string>
#include <vector>

#include "util/scoped_win.h"

// Dispatches the thread's messages for `ms` milliseconds.
void PumpMessages(DWORD ms);

// `window` brought to the front with `focus` focused, then the key pressed
// and released as keyboard input (SendInput), with Ctrl, Shift and Alt held
// as asked. The messages come through the loop that runs: the caller lets it
// run before looking at the result.
void PressKey(HWND window, HWND focus, WORD vk, bool ctrl = false, bool shift = false, bool alt = false);

// The whole content of a file, or an empty string when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// Runs one of poppler's programs (a Linux program, which Wine starts) on the
// PDF at `pdf`, a path on Wine's Z: drive ("Z:\\tmp\\x.pdf"): `tool` with
// `options`, then the PDF's Unix path and a file of its own to write, whose
// content is returned (pdftotext's text; with `suffix`, as pdftoppm names its
// pictures, the file of that suffix). Empty, with *error, when it fails.
std::string RunPoppler(const std::string& tool, const std::string& options, const std::string& pdf,
                       std::string* error, const std::string& suffix = "");

// The text of a list view's cell (at most 255 characters).
std::string ListCell(HWND list, int row, int column);

// A number text with the locale's decimal separator: Dec("1.25").
std::string Dec(const char* text);

// The static texts, push buttons, check boxes, radio buttons and group boxes
// among the visible descendants of `parent` whose text, measured in the
// control's own font, does not fit the control; one line per control
// ("id 1234 \"text\": 120 x 16 in 100 x 15").
std::vector<std::string> TextsThatDoNotFit(HWND parent);

// The width in pixels of an icon or a cursor (0 for none).
int IconWidth(HICON icon);

// The psi a linear factor's label draws left of its text (which starts at
// x), read back from the label drawn into `dc` (its background at 0, 0)
// along the row KvScale(5, dpi) and down the stem: the width of its three
// verticals (0 unless there are three alike), the pixels from its left edge
// to its right one, and the last row of its stem.
struct PsiSeen {
    int stroke = 0;
    int width = 0;
    int stemBottom = -1;
};
PsiSeen ReadPsi(const MemoryDC& dc, int x, int dpi);

#endif  // KV_TESTS_WIN_TESTUTIL_H
