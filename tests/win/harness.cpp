// The Windows test runner: GoogleTest with the program's message boxes
// answered by the test, a safety net for any box that bypasses the seam,
// and a watchdog so that a window nobody closes fails the run.
#include "tests/win/harness.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <stdio.h>

#include <map>

#include "util/msgbox_win.h"

std::vector<ShownBox> g_boxes;
std::deque<int> g_answers;
std::vector<std::string> g_createdClasses;

void ResetHarness() {
    g_boxes.clear();
    g_answers.clear();
    g_createdClasses.clear();
}

static int RecordBox(HWND, const char* text, const char* caption, UINT type, void*) {
    g_boxes.push_back({caption ? caption : "", text ? text : "", type});
    if (!g_answers.empty()) {
        int a = g_answers.front();
        g_answers.pop_front();
        return a;
    }
    return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
}

// The safety net: a system message box that did not go through the seam is
// recorded as a failure and closed, so it cannot hang the run.
static HHOOK g_cbt;
static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        HWND hwnd = (HWND)wParam;
        CBT_CREATEWNDA* cw = (CBT_CREATEWNDA*)lParam;
        if (!(cw->lpcs->style & WS_CHILD)) {
            char cls[64] = "";
            GetClassNameA(hwnd, cls, sizeof cls);
            g_createdClasses.push_back(cls);
        }
    } else if (code == HCBT_ACTIVATE) {
        HWND hwnd = (HWND)wParam;
        char cls[16] = "";
        GetClassNameA(hwnd, cls, sizeof cls);
        HWND text = GetDlgItem(hwnd, 0xFFFF);
        if (strcmp(cls, "#32770") == 0 && text) {
            char caption[256] = "", body[1024] = "";
            GetWindowTextA(hwnd, caption, sizeof caption);
            GetWindowTextA(text, body, sizeof body);
            ADD_FAILURE() << "message box outside the program's seam: [" << caption << "] " << body;
            PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
            PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(g_cbt, code, wParam, lParam);
}

// Ends the process when a test runs far longer than any test should.
static DWORD WINAPI Watchdog(LPVOID) {
    Sleep(240 * 1000);
    fprintf(stderr, "watchdog: the tests did not finish in 240 s\n");
    fflush(stderr);
    ExitProcess(3);
}

static void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string p = dir + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(p);
            else DeleteFileA(p.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

ScopedTempCwd::ScopedTempCwd() {
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    previous_ = cwd;
    char tmp[MAX_PATH];
    GetTempPathA(sizeof tmp, tmp);
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::string(tmp) + "kvwin-" + std::to_string(GetCurrentProcessId()) + "-" +
            (info ? info->name() : "x");
    for (char& c : path_) {
        if (c == '/') c = '_';
    }
    RemoveTree(path_);  // left over from an earlier run that was killed
    CreateDirectoryA(path_.c_str(), nullptr);
    SetCurrentDirectoryA(path_.c_str());
}

ScopedTempCwd::~ScopedTempCwd() {
    SetCurrentDirectoryA(previous_.c_str());
    RemoveTree(path_);
}

std::string BinDir() {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string s = exe;
    return s.substr(0, s.find_last_of("\\/"));
}

static std::map<UINT_PTR, LoopProbe*> g_probes;

LoopProbe::LoopProbe(Fn probe, void* context, DWORD timeoutMs)
    : probe_(probe), context_(context), deadline_(GetTickCount() + timeoutMs) {
    timer_ = SetTimer(nullptr, 0, 20, Tick);
    g_probes[timer_] = this;
}

LoopProbe::~LoopProbe() {
    KillTimer(nullptr, timer_);
    g_probes.erase(timer_);
}

void CALLBACK LoopProbe::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = g_probes.find(id);
    if (it == g_probes.end()) return;
    LoopProbe* p = it->second;
    if (p->done_ || p->timedOut_) return;
    if (p->probe_(p->context_)) {
        p->done_ = true;
    } else if ((int)(GetTickCount() - p->deadline_) > 0) {
        p->timedOut_ = true;
        PostQuitMessage(0);  // ends whichever loop is running
    }
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    KvSetMessageBoxHook(RecordBox, nullptr);
    g_cbt = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
    int result = RUN_ALL_TESTS();
    UnhookWindowsHookEx(g_cbt);
    return result;
}
