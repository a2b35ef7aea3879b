// order_window_bench: how long the register's "Preview" takes until the
// order window has painted itself and its strip of window cells, for an
// order of 20 windows. Run by hand under Wine in an empty folder (it makes
// kelvaroDemo.db there):
//   wine order_window_bench.exe [ROUNDS]
// Each round prints when the order window began to be made (the order
// loaded and valued), when it had made its controls, when it was shown,
// when the windows list had painted its cells with nothing of the window
// left to paint, and when the first cell's colour was on the screen; with
// this thread's processor time up to the paint. The first round also loads what the later ones find ready, so
// the summary leaves it out.
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>

#include "app/app.h"
#include "db/connection.h"
#include "db/newdb.h"
#include "resources/resource.h"
#include "tests/native/sample_orders.h"
#include "ui/order/order_rc.h"

namespace {

struct Round {
    double created, made, shown, painted, onScreen;  // ms from the command
    double cpu;                                      // ms of this thread's processor time
};

LARGE_INTEGER g_freq, g_start, g_created, g_made, g_shown, g_painted;
double g_paintedCpu;
HWND g_order;
WNDPROC g_orderProc, g_listProc;
int g_rounds, g_done;
Round g_round[64];
HHOOK g_cbt;

// The screen watch: the point of the first cell and the colour the list
// painted there, handed to a thread that reads the screen until it shows it.
std::atomic<LONGLONG> g_onScreen{0};
std::atomic<int> g_watchX{0}, g_watchY{0};
std::atomic<COLORREF> g_watchColour{CLR_INVALID};
HANDLE g_watchStart;

// User and kernel time of this thread, ms: what the window costs apart from
// waiting for a busy machine.
double ThreadCpuMs() {
    FILETIME c, e, k, u;
    GetThreadTimes(GetCurrentThread(), &c, &e, &k, &u);
    ULARGE_INTEGER kk = {{k.dwLowDateTime, k.dwHighDateTime}}, uu = {{u.dwLowDateTime, u.dwHighDateTime}};
    return (double)(kk.QuadPart + uu.QuadPart) / 10000.0;
}

double MsSinceStart(LONGLONG t) { return 1000.0 * (double)(t - g_start.QuadPart) / (double)g_freq.QuadPart; }

// Whether `hwnd` or a window inside it still has something to paint.
bool LeftToPaint(HWND hwnd) {
    if (GetUpdateRect(hwnd, nullptr, FALSE)) return true;
    for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (IsWindowVisible(c) && LeftToPaint(c)) return true;
    }
    return false;
}

void EndMeasure() {
    g_paintedCpu = ThreadCpuMs();
    PostMessageA(g_order, WM_COMMAND, ORD_CANCEL, 0);
}

// The first cell's colour as the list painted it, and where it is on the
// screen: the watch thread waits for the screen to show it.
void WatchFirstCell(HWND list) {
    HDC dc = GetDC(list);
    const COLORREF colour = GetPixel(dc, 3, 3);
    ReleaseDC(list, dc);
    POINT p = {3, 3};
    ClientToScreen(list, &p);
    g_watchX = p.x;
    g_watchY = p.y;
    g_watchColour = colour;
    SetEvent(g_watchStart);
}

// The list's first paint: the measure ends here when nothing else of the
// window waits to be painted, otherwise at the first timer (below).
LRESULT CALLBACK TimedList(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT r = CallWindowProcA(g_listProc, hwnd, msg, wp, lp);
    if (msg == WM_PAINT && !g_painted.QuadPart) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        if (!LeftToPaint(g_order)) {
            g_painted = now;
            EndMeasure();
        }
        WatchFirstCell(hwnd);
    }
    return r;
}

// The order window's own messages: its controls are made when WM_CREATE
// returns, and it is shown at its first WM_SHOWWINDOW.
LRESULT CALLBACK TimedOrder(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SHOWWINDOW && wp && !g_shown.QuadPart) QueryPerformanceCounter(&g_shown);
    LRESULT r = CallWindowProcA(g_orderProc, hwnd, msg, wp, lp);
    if (msg == WM_CREATE) QueryPerformanceCounter(&g_made);
    return r;
}

// A timer message comes only when no window of the thread has anything left
// to paint.
void CALLBACK AllPainted(HWND, UINT, UINT_PTR timer, DWORD) {
    if (!g_shown.QuadPart || g_painted.QuadPart) {
        if (g_painted.QuadPart) KillTimer(nullptr, timer);
        return;
    }
    KillTimer(nullptr, timer);
    QueryPerformanceCounter(&g_painted);
    EndMeasure();
}

bool IsOrderWindowClass(const char* cls) {
    return cls && HIWORD((ULONG_PTR)cls) && lstrcmpA(cls, "oknoZamowienia") == 0;
}

// The list is subclassed as it is made, before anything paints it.
LRESULT CALLBACK Cbt(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND) {
        const CBT_CREATEWNDA* c = (const CBT_CREATEWNDA*)lp;
        if (!(c->lpcs->style & WS_CHILD) && IsOrderWindowClass(c->lpcs->lpszClass)) {
            QueryPerformanceCounter(&g_created);
            g_order = (HWND)wp;
            g_orderProc = (WNDPROC)SetWindowLongPtrA(g_order, GWLP_WNDPROC, (LONG_PTR)TimedOrder);
            SetTimer(nullptr, 0, USER_TIMER_MINIMUM, AllPainted);
        }
        if ((c->lpcs->style & WS_CHILD) && (INT_PTR)c->lpcs->hMenu == IDC_ORD_WINDOWS) {
            g_listProc = (WNDPROC)SetWindowLongPtrA((HWND)wp, GWLP_WNDPROC, (LONG_PTR)TimedList);
        }
    }
    return CallNextHookEx(g_cbt, code, wp, lp);
}

// Reads the screen at the watched point every millisecond until it
// shows the watched colour (two seconds at most).
DWORD WINAPI ScreenWatch(void*) {
    HDC screen = GetDC(nullptr);
    while (WaitForSingleObject(g_watchStart, INFINITE) == WAIT_OBJECT_0) {
        const COLORREF want = g_watchColour;
        if (want == CLR_INVALID) break;
        const DWORD until = GetTickCount() + 2000;
        LARGE_INTEGER now = {};
        while (GetTickCount() < until) {
            if (GetPixel(screen, g_watchX, g_watchY) == want) {
                QueryPerformanceCounter(&now);
                break;
            }
            Sleep(1);
        }
        g_onScreen = now.QuadPart;
    }
    ReleaseDC(nullptr, screen);
    return 0;
}

// Between rounds the register repaints and the screen shows it, as it does
// before a person's next click.
void Settle() {
    const DWORD until = GetTickCount() + 150;
    MSG m;
    while (GetTickCount() < until) {
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        Sleep(5);
    }
}

void CALLBACK Drive(HWND, UINT, UINT_PTR, DWORD) {
    static bool busy = false;
    HWND main = FindWindowA("kelvaro", "Quarvel");
    if (busy || !main || !IsWindowVisible(main)) return;
    busy = true;
    HWND list = GetDlgItem(main, IDC_ORDERS);
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, (LPARAM)&item);
    for (; g_done < g_rounds; g_done++) {
        Settle();
        g_created.QuadPart = g_made.QuadPart = g_shown.QuadPart = g_painted.QuadPart = 0;
        g_onScreen = 0;
        g_order = nullptr;
        const double cpu = ThreadCpuMs();
        QueryPerformanceCounter(&g_start);
        SendMessageA(main, WM_COMMAND, CMD_PREVIEW, 0);
        if (!g_painted.QuadPart) break;
        for (int i = 0; i < 400 && !g_onScreen; i++) Sleep(5);
        Round& r = g_round[g_done];
        r.created = MsSinceStart(g_created.QuadPart);
        r.made = MsSinceStart(g_made.QuadPart);
        r.shown = MsSinceStart(g_shown.QuadPart);
        r.painted = MsSinceStart(g_painted.QuadPart);
        r.onScreen = g_onScreen ? MsSinceStart(g_onScreen) : -1;
        r.cpu = g_paintedCpu - cpu;
    }
    PostMessageA(main, WM_CLOSE, 0, 0);
}

double Median(double* v, int n) {
    std::sort(v, v + n);
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    g_rounds = argc > 1 ? atoi(argv[1]) : 5;
    if (g_rounds < 1 || g_rounds > 64) g_rounds = 5;
    QueryPerformanceFrequency(&g_freq);
    char msg[2048];
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (GetFileAttributesA("kelvaroDemo.db") != INVALID_FILE_ATTRIBUTES) {
        fprintf(stderr, "order_window_bench: run it in an empty folder\n");
        return 1;
    }
    if (!DbCreateFile("kelvaroDemo.db", now.wYear, msg) || !DbOpen("kelvaroDemo.db", msg) ||
        !SaveTestOrder(20, 3, 1, msg)) {
        fprintf(stderr, "order_window_bench: %s\n", msg);
        return 1;
    }
    DbClose();
    g_watchStart = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE watch = CreateThread(nullptr, 0, ScreenWatch, nullptr, 0, nullptr);
    g_app.startWindowMs = 1;
    g_cbt = SetWindowsHookExA(WH_CBT, Cbt, nullptr, GetCurrentThreadId());
    UINT_PTR timer = SetTimer(nullptr, 0, 50, Drive);
    KelvaroMain(GetModuleHandleA(nullptr));
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(g_cbt);
    g_watchColour = CLR_INVALID;
    SetEvent(g_watchStart);
    WaitForSingleObject(watch, 3000);
    if (g_done < g_rounds) {
        fprintf(stderr, "order_window_bench: the order window was not opened or not painted\n");
        return 1;
    }
    double made[64], shown[64], painted[64], onScreen[64], cpu[64];
    for (int i = 0; i < g_rounds; i++) {
        const Round& r = g_round[i];
        printf(
            "round %d: made from %.0f to %.0f ms, shown at %.0f ms, painted at %.0f ms, on the screen at "
            "%.0f ms "
            "(%.0f ms of this thread's processor time)\n",
            i + 1, r.created, r.made, r.shown, r.painted, r.onScreen, r.cpu);
        made[i] = r.made;
        shown[i] = r.shown;
        painted[i] = r.painted;
        onScreen[i] = r.onScreen;
        cpu[i] = r.cpu;
    }
    if (g_rounds > 2) {
        const int n = g_rounds - 1;
        const double madeMedian = Median(made + 1, n), shownMedian = Median(shown + 1, n),
                     paintedMedian = Median(painted + 1, n), screenMedian = Median(onScreen + 1, n),
                     cpuMedian = Median(cpu + 1, n);
        printf(
            "Preview of an order of 20 windows, rounds 2-%d, medians: made after %.0f ms, shown after %.0f "
            "ms, "
            "painted after %.0f ms (%.0f to %.0f), on the screen after %.0f ms, %.0f ms of processor time\n",
            g_rounds, madeMedian, shownMedian, paintedMedian, painted[1], painted[n], screenMedian,
            cpuMedian);
    }
    return 0;
}
