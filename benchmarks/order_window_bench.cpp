// order_window_bench: how long the register's "Preview" takes until the
// order window has painted itself and its strip of window cells for the
// first time, for an order of 20 windows. Run by hand under Wine in an
// empty folder (it makes kelvaroDemo.db there):
//   wine order_window_bench.exe [ROUNDS]
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>

#include "app/app.h"
#include "db/connection.h"
#include "db/newdb.h"
#include "resources/resource.h"
#include "tests/native/sample_orders.h"
#include "ui/order/order_rc.h"

static LARGE_INTEGER g_painted, g_created;
static double g_paintCpu;
static WNDPROC g_listProc;
static int g_rounds, g_done;
static double g_ms[64], g_load[64], g_cpu[64];

static HHOOK g_cbt;

// User and kernel time of this thread, ms: what the window costs apart from
// waiting for a busy machine.
static double ThreadCpuMs() {
    FILETIME c, e, k, u;
    GetThreadTimes(GetCurrentThread(), &c, &e, &k, &u);
    ULARGE_INTEGER kk = {{k.dwLowDateTime, k.dwHighDateTime}}, uu = {{u.dwLowDateTime, u.dwHighDateTime}};
    return (double)(kk.QuadPart + uu.QuadPart) / 10000.0;
}

// The windows list's first paint ends the measure; the window is then closed.
static LRESULT CALLBACK TimedList(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT r = CallWindowProcA(g_listProc, hwnd, msg, wp, lp);
    if (msg == WM_PAINT && !g_painted.QuadPart) {
        QueryPerformanceCounter(&g_painted);
        g_paintCpu = ThreadCpuMs();
        PostMessageA(GetParent(hwnd), WM_COMMAND, ORD_CANCEL, 0);
    }
    return r;
}

// The list is subclassed as it is made: its first paint comes before any
// timer of the order window's loop would.
static LRESULT CALLBACK Cbt(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND) {
        const CBT_CREATEWNDA* c = (const CBT_CREATEWNDA*)lp;
        if (!(c->lpcs->style & WS_CHILD) && c->lpcs->lpszClass && HIWORD((ULONG_PTR)c->lpcs->lpszClass) &&
            lstrcmpA(c->lpcs->lpszClass, "oknoZamowienia") == 0) {
            QueryPerformanceCounter(&g_created);
        }
        if ((c->lpcs->style & WS_CHILD) && (INT_PTR)c->lpcs->hMenu == IDC_ORD_WINDOWS) {
            g_listProc = (WNDPROC)SetWindowLongPtrA((HWND)wp, GWLP_WNDPROC, (LONG_PTR)TimedList);
        }
    }
    return CallNextHookEx(g_cbt, code, wp, lp);
}

static void CALLBACK Drive(HWND, UINT, UINT_PTR, DWORD) {
    static bool busy = false;
    HWND main = FindWindowA("kelvaro", "Quarvel");
    if (busy || !main || !IsWindowVisible(main)) return;
    busy = true;
    HWND list = GetDlgItem(main, IDC_ORDERS);
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, (LPARAM)&item);
    LARGE_INTEGER freq, start;
    QueryPerformanceFrequency(&freq);
    for (; g_done < g_rounds; g_done++) {
        g_painted.QuadPart = 0;
        const double cpu = ThreadCpuMs();
        QueryPerformanceCounter(&start);
        SendMessageA(main, WM_COMMAND, CMD_PREVIEW, 0);
        g_cpu[g_done] = g_paintCpu - cpu;
        g_ms[g_done] = 1000.0 * (double)(g_painted.QuadPart - start.QuadPart) / (double)freq.QuadPart;
        g_load[g_done] = 1000.0 * (double)(g_created.QuadPart - start.QuadPart) / (double)freq.QuadPart;
    }
    PostMessageA(main, WM_CLOSE, 0, 0);
}

int main(int argc, char** argv) {
    g_rounds = argc > 1 ? atoi(argv[1]) : 5;
    if (g_rounds < 1 || g_rounds > 64) g_rounds = 5;
    char msg[2048];
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (GetFileAttributesA("kelvaroDemo.db") != INVALID_FILE_ATTRIBUTES) {
        fprintf(stderr, "order_window_bench: run it in an empty folder\n");
        return 1;
    }
    if (!DbCreateFile("kelvaroDemo.db", now.wYear, msg) || !DbOpen("kelvaroDemo.db", msg) ||
        !ZapiszZamTestowe(20, 3, 1, msg)) {
        fprintf(stderr, "order_window_bench: %s\n", msg);
        return 1;
    }
    DbClose();
    g_app.startWindowMs = 1;
    g_cbt = SetWindowsHookExA(WH_CBT, Cbt, nullptr, GetCurrentThreadId());
    UINT_PTR timer = SetTimer(nullptr, 0, 50, Drive);
    KelvaroMain(GetModuleHandleA(nullptr));
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(g_cbt);
    if (g_done < g_rounds) {
        fprintf(stderr, "order_window_bench: the order window was not opened\n");
        return 1;
    }
    for (int r = 0; r < g_rounds; r++) {
        printf(
            "round %d: Preview of an order of 20 windows painted after %.0f ms (order loaded and valued, "
            "window creation starting, after %.0f ms; %.0f ms of this thread's processor time)\n",
            r + 1, g_ms[r], g_load[r], g_cpu[r]);
    }
    return 0;
}
