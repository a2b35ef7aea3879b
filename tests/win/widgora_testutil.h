// What the widgora tests share: the library's boxes routed into the
// harness's recorder, a locale decimal separator set for one test, a plain
// parent window, and message pumping.
#ifndef KV_TESTS_WIN_WIDGORA_TESTUTIL_H
#define KV_TESTS_WIN_WIDGORA_TESTUTIL_H

#include <windows.h>

#include <string>
#include <vector>

#include "tests/win/testutil.h"

// widgora.dll has its own copy of the message-box seam: route it into the
// harness's (which records the box and answers it).
void RouteLibraryBoxes();

// Sets the user's decimal separator for the life of the object, and
// restores the previous one.
class ScopedDecimal {
public:
    explicit ScopedDecimal(const char* sep);
    ~ScopedDecimal();

private:
    char previous_[8] = "";
};

// A visible top-level window that records the WM_COMMAND and WM_NOTIFY
// messages of its children.
struct Recorded {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    UINT code;  // WM_NOTIFY: the notification code
};
extern std::vector<Recorded> g_parentLog;
HWND CreateParentWindow(int width, int height);

// Dispatches until `done` returns true or `ms` pass; returns done().
template <class F>
bool PumpUntil(F done, DWORD ms) {
    DWORD end = GetTickCount() + ms;
    while (!done()) {
        if ((int)(GetTickCount() - end) > 0) return false;
        PumpMessages(5);
    }
    return true;
}

std::string WindowText(HWND hwnd);
// Puts `text` on the clipboard (CF_TEXT); returns whether it did.
bool SetClipboardText(const char* text);
std::string ClipboardText();

#endif
