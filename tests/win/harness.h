// harness.h - what the Windows tests share: the message-box recorder that
// answers for the user, a record of the windows a test created, and helpers
// to wait for a window and to work in a folder of the test's own.
#ifndef KV_TESTS_WIN_HARNESS_H
#define KV_TESTS_WIN_HARNESS_H

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

struct ShownBox {
    std::string caption;
    std::string text;
    UINT type;
};

// Every box that went through the program's seam since the last Reset().
extern std::vector<ShownBox> g_boxes;
// Answers given to the boxes in turn (IDYES, IDNO...); when empty, a box
// is answered IDOK for MB_OK and IDNO for a question.
extern std::deque<int> g_answers;
// Classes of the top-level windows created since the last Reset(), in order.
extern std::vector<std::string> g_createdClasses;

void ResetHarness();

// A fresh current directory for one test, removed by the destructor.
class ScopedTempCwd {
public:
    ScopedTempCwd();
    ~ScopedTempCwd();
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

// The folder holding the test executable (and the program and DLLs).
std::string BinDir();

// Calls `probe` every 20 ms from the thread's message loop (whichever loop
// runs) until it returns true or `timeoutMs` passes; returns whether it did.
// Used while the program's own message loop runs inside a test.
class LoopProbe {
public:
    using Fn = bool (*)(void* context);
    LoopProbe(Fn probe, void* context, DWORD timeoutMs);
    ~LoopProbe();
    bool done() const { return done_; }
    bool timedOut() const { return timedOut_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    Fn probe_;
    void* context_;
    DWORD deadline_;
    UINT_PTR timer_;
    bool done_ = false;
    bool timedOut_ = false;
};

#endif
