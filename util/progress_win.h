// progress_win.h - how far a long fill has come, in a small window of the
// program's own that shows only once the work has taken half a second.
//
// The work runs on the window thread and calls Step as it goes; the window
// is painted there (WM_PAINT of this thread's windows only), and no input is
// dispatched, so nothing the user does can act on a half-filled window.
#ifndef KV_UTIL_PROGRESS_WIN_H
#define KV_UTIL_PROGRESS_WIN_H

#include <windows.h>

#include "util/scoped_win.h"

class KvFillProgress {
public:
    // `owner` (may be null) is centred on; `text` is the line over the bar.
    KvFillProgress(HWND owner, const char* text);
    ~KvFillProgress();
    KvFillProgress(const KvFillProgress&) = delete;
    KvFillProgress& operator=(const KvFillProgress&) = delete;

    // Whether the work has run long enough for the window to show: the
    // caller counts what the bar needs only then.
    bool Due() const { return GetTickCount() - start_ >= delayMs; }
    // `done` of `total` items are through.
    void Step(long long done, long long total);
    // Whether the window has been shown (the work took long enough).
    bool Shown() const { return window_ != nullptr; }

    // Milliseconds the work runs before the window shows (500); a test
    // sets another.
    static DWORD delayMs;

private:
    HWND owner_;
    const char* text_;
    DWORD start_;
    DWORD lastPaint_ = 0;
    HWND window_ = nullptr;
    HWND bar_ = nullptr;
    ScopedFont font_;  // the window's font at its dpi (none: the stock one)
};

#endif  // KV_UTIL_PROGRESS_WIN_H
