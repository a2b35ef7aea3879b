// The wait dialog: a caller's job on a worker thread, a small animation and
// "Stop" while it runs.
//
// The race between the job's end and "Stop" is settled by one atomic
// compare-and-exchange of the dialog handle; whoever swaps it for null
// closes the dialog, the other does nothing. The handle the worker swaps
// lives in a record of our own heap, not in the caller's block: a worker
// that outlives the wait may end long after the caller has freed its block,
// and must not write into it then.
#include <windows.h>
#include <commctrl.h>

#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "widgora/widgora.h"
#include "widgora/widgora_rc.h"

static_assert(KV_MSG_LEN == 2048, "the header promises callers a 2048-byte message buffer");

namespace {

const UINT UM_PRACA_KONIEC = WM_APP + 1;  // the worker claimed the dialog: close it
const UINT_PTR kShowTimer = 1;
const DWORD kDefaultWaitMs = 10000;

// What the worker shares with the dialog; freed by whichever lets go last.
struct SharedWork {
    int (*workFn)(void*, char*);
    void* arg;
    char* messageText;
    HWND dlg;             // the dialog, fixed before the worker starts
    HWND volatile claim;  // dlg until the job's end or "Stop" takes it
    LONG volatile refs;
};

// One wait dialog at a time: its state is module-wide.
LONG volatile g_busy;
DWORD volatile g_waitMs = kDefaultWaitMs;
strDlgCzekaj* g_job;
SharedWork* g_shared;
HANDLE g_thread;
int g_result;
bool g_mayShow;  // the delay has passed
bool g_closed;   // the closing steps have run

void Release(SharedWork* s) {
    if (s && InterlockedDecrement(&s->refs) == 0) HeapFree(hHeapDll, 0, s);
}

// true when this caller won the dialog away from the other side.
bool Claim(SharedWork* s) {
    return InterlockedCompareExchangePointer((PVOID volatile*)&s->claim, nullptr, s->dlg) == s->dlg;
}

void Close(HWND hwnd) {
    if (g_closed) return;
    g_closed = true;
    g_job->hDlg = nullptr;
    if (g_thread) {
        DWORD w = WaitForSingleObject(g_thread, g_waitMs);
        if (w == WAIT_TIMEOUT) {
            KvMsg(g_job->komunikat,
                  "Exceeded the waiting time for closing the waiting thread\r\nin the dialog box");
            g_result = 0;
        } else if (w != WAIT_OBJECT_0) {
            KvMsg(g_job->komunikat,
                  "Error of waiting to complete the working thread waiting\r\nin the dialog box");
            g_result = 0;
        } else {
            DWORD code = 0;
            GetExitCodeThread(g_thread, &code);
            g_result = (int)code;
        }
        CloseHandle(g_thread);
        g_thread = nullptr;
    }
    KillTimer(hwnd, kShowTimer);
    Animate_Close(GetDlgItem(hwnd, IDC_WAIT_ANIMATION));
    EndDialog(hwnd, g_result);
}

BOOL OnInitDialog(HWND hwnd) {
    g_mayShow = false;
    g_closed = false;
    g_result = 0;
    SetWindowTextA(hwnd, g_job->tytul ? g_job->tytul : "");
    g_shared->dlg = hwnd;
    g_shared->claim = hwnd;
    g_job->hDlg = hwnd;
    Animate_OpenEx(GetDlgItem(hwnd, IDC_WAIT_ANIMATION), hInstDll, MAKEINTRESOURCEA(IDR_AVI_WAIT));
    g_shared->refs = 2;  // the dialog's and the worker's
    g_thread = CreateThread(nullptr, 0, WtkWolajDlgCzekaj, g_shared, 0, nullptr);
    if (!g_thread) {
        DWORD code = GetLastError();
        g_shared->refs = 1;
        g_shared->claim = nullptr;
        KvSystemErrorText("Error of creating a thread", code, g_job->komunikat, KV_MSG_LEN);
        Close(hwnd);
        return TRUE;
    }
    SetTimer(hwnd, kShowTimer, g_job->opoznienie, nullptr);
    return TRUE;
}

void OnStop(HWND hwnd) {
    if (!Claim(g_shared)) return;  // the job has ended: its close request is on the way
    if (g_job->anuluj) g_job->anuluj(g_job->argAnuluj, g_job->komunikat);
    EnableWindow(GetDlgItem(hwnd, IDCANCEL), FALSE);
    Close(hwnd);
}

void OnShowTimer(HWND hwnd) {
    KillTimer(hwnd, kShowTimer);
    // A race already settled is about to close the dialog: do not flash it.
    if (g_closed || g_shared->claim == nullptr) return;
    g_mayShow = true;
    ShowWindow(hwnd, SW_SHOW);
}

// The dialog manager shows a modal dialog as soon as its queue is idle; until
// the delay has passed every attempt to show it is turned down, so a short
// job never shows anything at all.
void OnWindowPosChanging(WINDOWPOS* pos) {
    if (!g_mayShow) pos->flags &= ~SWP_SHOWWINDOW;
}

// Destroyed without closing (its owner went away): the worker must find the
// dialog taken, and the thread is let go without waiting in a dying window.
void OnDestroy() {
    if (g_closed) return;
    g_closed = true;
    Claim(g_shared);
    g_job->hDlg = nullptr;
    if (g_thread) CloseHandle(g_thread);
    g_thread = nullptr;
    g_result = 0;
}

}  // namespace

extern "C" {

DWORD WINAPI WtkWolajDlgCzekaj(LPVOID param) {
    SharedWork* s = (SharedWork*)param;
    int result = s->workFn ? s->workFn(s->arg, s->messageText) : 0;
    if (Claim(s)) PostMessageA(s->dlg, UM_PRACA_KONIEC, 0, 0);
    Release(s);
    return (DWORD)result;
}

INT_PTR CALLBACK ProcDlgCzekaj(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Only WolajDlgCzekaj opens this dialog: without its job there is
    // nothing to wait for.
    if (!g_shared) {
        if (msg == WM_INITDIALOG) EndDialog(hwnd, 0);
        return FALSE;
    }
    switch (msg) {
        case WM_INITDIALOG: return OnInitDialog(hwnd);
        case WM_WINDOWPOSCHANGING: OnWindowPosChanging((WINDOWPOS*)lParam); return FALSE;
        case WM_TIMER:
            if (wParam == kShowTimer) OnShowTimer(hwnd);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) OnStop(hwnd);
            return TRUE;
        case WM_CLOSE: OnStop(hwnd); return TRUE;
        case WM_DESTROY: OnDestroy(); return FALSE;
    }
    if (msg == UM_PRACA_KONIEC) {
        Close(hwnd);
        return TRUE;
    }
    return FALSE;
}

int WolajDlgCzekaj(HWND owner, strDlgCzekaj* job) {
    if (!job) return 0;
    if (InterlockedCompareExchange(&g_busy, 1, 0) != 0) {
        // Its state is module-wide: a second dialog would take it over from
        // under the first one.
        KvMsg(job->komunikat, "The waiting dialog box is already open");
        KvShowError(owner, "The waiting dialog box is already open");
        return 0;
    }
    SharedWork* s = (SharedWork*)HeapAlloc(hHeapDll, HEAP_ZERO_MEMORY, sizeof *s);
    if (!s) {
        KvMsg(job->komunikat, "Error of allocation of the waiting dialog's job");
        InterlockedExchange(&g_busy, 0);
        return 0;
    }
    s->workFn = job->praca;
    s->arg = job->argPraca;
    s->messageText = job->komunikat;
    s->refs = 1;
    g_job = job;
    g_shared = s;
    g_thread = nullptr;
    g_result = 0;
    INT_PTR r = DialogBoxParamA(hInstDll, MAKEINTRESOURCEA(IDD_DLG_WAIT), owner, ProcDlgCzekaj, 0);
    int result = r == -1 ? 0 : g_result;
    if (r == -1) KvMsg(job->komunikat, "Error of creating the waiting dialog box");
    Release(s);
    g_job = nullptr;
    g_shared = nullptr;
    InterlockedExchange(&g_busy, 0);
    return result;
}

DWORD UstawCzasCzekaniaNaWtk(DWORD ms) {
    return InterlockedExchange((LONG volatile*)&g_waitMs, (LONG)(ms ? ms : kDefaultWaitMs));
}

}  // extern "C"
