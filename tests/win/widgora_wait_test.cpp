// The wait dialog of widgora.dll: a real worker thread and a real modal
// dialog, driven from inside the dialog's loop (LoopProbe). Each race is run
// many times; the counts are printed.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "tests/win/harness.h"
#include "tests/win/widgora_testutil.h"
#include "util/scoped_win.h"
#include "widgora/widgora.h"
#include "widgora/widgora_rc.h"

namespace {

const char kTitle[] = "Counting the order";
const char kTimeoutText[] = "Exceeded the waiting time for closing the waiting thread\r\nin the dialog box";

// Times the dialog was seen visible (WM_SHOWWINDOW / WM_WINDOWPOSCHANGED
// after which it was visible), over the whole life of each dialog.
int g_shown;
DWORD g_firstShownTick;
HHOOK g_retHook;

LRESULT CALLBACK AfterEachMessage(int code, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT* r = (const CWPRETSTRUCT*)lParam;
    if (code == HC_ACTION && (r->message == WM_SHOWWINDOW || r->message == WM_WINDOWPOSCHANGED) &&
        IsWindowVisible(r->hwnd)) {
        char text[64] = "";
        GetWindowTextA(r->hwnd, text, sizeof text);
        if (strcmp(text, kTitle) == 0 && g_shown++ == 0) g_firstShownTick = GetTickCount();
    }
    return CallNextHookEx(g_retHook, code, wParam, lParam);
}

// Which squares of the animation (a row of eight, one of them lit, in a
// 96 x 16 picture centred in the control) show the lit colour now; a bit
// per square.
unsigned LitSquares(HWND anim) {
    RECT rc;
    GetClientRect(anim, &rc);
    int left = (rc.right - 96) / 2, top = (rc.bottom - 16) / 2;
    ScopedWindowDC dc(anim);
    unsigned lit = 0;
    for (int s = 0; s < 8; s++) {
        if (GetPixel(dc, left + s * 12 + 6, top + 8) == RGB(0x1E, 0x64, 0xC8)) lit |= 1u << s;
    }
    return lit;
}

int Bits(unsigned v) {
    int n = 0;
    for (; v; v &= v - 1) n++;
    return n;
}

// One job: what the work and cancel functions do and what they saw.
struct Job {
    int result = 0;                    // what the work returns
    DWORD sleepMs = 0;                 // how long the work takes, when it waits for nothing
    HANDLE go = nullptr;               // the work waits for it, when set
    HANDLE release = nullptr;          // ... or for this one (set after the call)
    HANDLE cancelled = nullptr;        // set by cancel; the work may wait for it
    HANDLE volatile thread = nullptr;  // the worker, duplicated by the work
    LONG volatile works = 0;
    LONG volatile cancels = 0;
};

int Work(void* arg, char*) {
    Job* j = (Job*)arg;
    InterlockedIncrement(&j->works);
    HANDLE self = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, SYNCHRONIZE, FALSE,
                    0);
    InterlockedExchangePointer((PVOID volatile*)&j->thread, self);
    HANDLE waits[2];
    int n = 0;
    if (j->go) waits[n++] = j->go;
    if (j->release) waits[n++] = j->release;
    if (j->cancelled) waits[n++] = j->cancelled;
    if (n) WaitForMultipleObjects(n, waits, FALSE, 60000);
    if (j->sleepMs) Sleep(j->sleepMs);
    return j->result;
}

void Cancel(void* arg, char*) {
    Job* j = (Job*)arg;
    InterlockedIncrement(&j->cancels);
    if (j->cancelled) SetEvent(j->cancelled);
}

class WaitDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        RouteLibraryBoxes();
        owner_ = CreateParentWindow(400, 300);
        g_retHook = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterEachMessage, nullptr, GetCurrentThreadId());
        ASSERT_NE(nullptr, g_retHook);
    }
    void TearDown() override {
        UnhookWindowsHookEx(g_retHook);
        UstawCzasCzekaniaNaWtk(0);
        DestroyWindow(owner_);
    }
    strDlgCzekaj Block(Job* j, DWORD delay) {
        strDlgCzekaj b = {};
        b.tytul = kTitle;
        b.opoznienie = delay;
        b.praca = Work;
        b.argPraca = j;
        b.anuluj = Cancel;
        b.argAnuluj = j;
        b.komunikat = msg_;
        msg_[0] = 0;
        return b;
    }
    // Waits for the worker of job j to be gone, so that nothing of one
    // round runs into the next.
    static void AwaitWorker(Job* j) {
        ASSERT_TRUE(PumpUntil([&] { return j->thread != nullptr; }, 5000));
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(j->thread, 5000));
        CloseHandle(j->thread);
    }

    HWND owner_ = nullptr;
    char msg_[2048];
};

TEST_F(WaitDialog, AJobShorterThanTheDelayNeverShowsItAndGivesItsResult) {
    const int kRounds = 200;
    int good = 0;
    for (int i = 0; i < kRounds; i++) {
        Job j;
        j.result = 1000 + i;
        j.sleepMs = 10 + i % 4 * 10;  // long enough for the dialog's loop to go idle
        g_shown = 0;
        strDlgCzekaj b = Block(&j, 5000);
        int r = WolajDlgCzekaj(owner_, &b);
        AwaitWorker(&j);
        EXPECT_EQ(1000 + i, r);
        EXPECT_EQ(0, g_shown) << "round " << i;
        EXPECT_EQ(1, j.works);
        EXPECT_EQ(0, j.cancels);
        EXPECT_EQ(nullptr, b.hDlg);
        EXPECT_STREQ("", msg_);
        if (r == 1000 + i && g_shown == 0 && j.cancels == 0) good++;
    }
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_TRUE(g_boxes.empty());
    printf("short job: %d of %d rounds never showed the dialog and gave the result\n", good, kRounds);
}

TEST_F(WaitDialog, ALongerJobShowsItWithTheAnimationAfterTheDelay) {
    const int kRounds = 20;
    int good = 0;
    for (int i = 0; i < kRounds; i++) {
        Job j;
        j.result = 3;
        j.go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        g_shown = 0;
        const DWORD kDelay = 150;
        strDlgCzekaj b = Block(&j, kDelay);
        struct Seen {
            strDlgCzekaj* b;
            Job* j;
            bool visible, playing;
            unsigned lit;
            std::string caption;
        } seen = {&b, &j, false, false, 0, ""};
        // Watches the shown dialog until its animation has lit two different
        // squares (it runs), then lets the job end.
        LoopProbe probe(
            [](void* c) {
                Seen* s = (Seen*)c;
                HWND dlg = s->b->hDlg;
                if (!dlg || !IsWindowVisible(dlg)) return false;
                s->visible = true;
                s->caption = WindowText(dlg);
                s->lit |= LitSquares(GetDlgItem(dlg, IDC_WAIT_ANIMATION));
                if (Bits(s->lit) < 2) return false;
                s->playing = true;
                SetEvent(s->j->go);
                return true;
            },
            &seen, 5000);
        DWORD t0 = GetTickCount();
        int r = WolajDlgCzekaj(owner_, &b);
        SetEvent(j.go);
        AwaitWorker(&j);
        CloseHandle(j.go);
        EXPECT_EQ(3, r);
        // Not before the delay (less the tick counter's coarseness).
        EXPECT_GE(g_firstShownTick - t0, kDelay - 20);
        EXPECT_TRUE(seen.visible);
        EXPECT_TRUE(seen.playing) << "the animation is not playing";
        EXPECT_EQ(kTitle, seen.caption);
        EXPECT_GT(g_shown, 0);
        if (r == 3 && seen.visible && seen.playing && g_firstShownTick - t0 >= kDelay - 20) good++;
    }
    printf("long job: %d of %d rounds showed the playing dialog after the %lu ms delay\n", good, kRounds,
           150ul);
}

TEST_F(WaitDialog, StopAfterTheJobEndedDoesNotCancel) {
    const int kRounds = 200;
    int good = 0;
    for (int i = 0; i < kRounds; i++) {
        Job j;
        j.result = 7;
        j.go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        strDlgCzekaj b = Block(&j, 5000);
        struct Ctx {
            strDlgCzekaj* b;
            Job* j;
            bool pressed;
        } ctx = {&b, &j, false};
        LoopProbe probe(
            [](void* c) {
                Ctx* x = (Ctx*)c;
                HWND dlg = x->b->hDlg;
                if (!dlg || !x->j->thread) return false;
                // Let the job end and its worker finish: its close request is
                // now posted and not yet handled when "Stop" comes.
                SetEvent(x->j->go);
                WaitForSingleObject(x->j->thread, 5000);
                SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                             (LPARAM)GetDlgItem(dlg, IDCANCEL));
                SendMessageA(dlg, WM_CLOSE, 0, 0);
                x->pressed = true;
                return true;
            },
            &ctx, 5000);
        int r = WolajDlgCzekaj(owner_, &b);
        AwaitWorker(&j);
        CloseHandle(j.go);
        EXPECT_TRUE(ctx.pressed);
        EXPECT_EQ(7, r);
        EXPECT_EQ(0, j.cancels) << "round " << i;
        EXPECT_STREQ("", msg_);
        if (ctx.pressed && r == 7 && j.cancels == 0) good++;
    }
    printf("stop after the job's end: %d of %d rounds gave the result without cancelling\n", good, kRounds);
}

TEST_F(WaitDialog, StopDuringTheJobCancelsExactlyOnce) {
    const int kRounds = 200;
    int good = 0;
    for (int i = 0; i < kRounds; i++) {
        Job j;
        j.result = 99;
        j.cancelled = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        strDlgCzekaj b = Block(&j, 5000);
        struct Ctx {
            strDlgCzekaj* b;
            Job* j;
            bool pressed, stopDisabled, closeBoxFirst;
        } ctx = {&b, &j, false, false, i % 2 == 1};
        LoopProbe probe(
            [](void* c) {
                Ctx* x = (Ctx*)c;
                HWND dlg = x->b->hDlg;
                if (!dlg || !x->j->thread) return false;
                HWND stop = GetDlgItem(dlg, IDCANCEL);
                // "Stop" pressed three times and the close box once, the
                // close box first in every other round.
                if (x->closeBoxFirst) SendMessageA(dlg, WM_CLOSE, 0, 0);
                for (int k = 0; k < 3; k++)
                    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)stop);
                SendMessageA(dlg, WM_CLOSE, 0, 0);
                x->stopDisabled = IsWindow(stop) && !IsWindowEnabled(stop);
                x->pressed = true;
                return true;
            },
            &ctx, 5000);
        int r = WolajDlgCzekaj(owner_, &b);
        AwaitWorker(&j);
        CloseHandle(j.cancelled);
        EXPECT_TRUE(ctx.pressed);
        EXPECT_EQ(1, j.cancels) << "round " << i;
        EXPECT_EQ(99, r);  // the work ended (cancelled) in time: its result
        EXPECT_TRUE(ctx.stopDisabled);
        EXPECT_STREQ("", msg_);
        if (ctx.pressed && j.cancels == 1 && r == 99) good++;
    }
    printf("stop during the job: %d of %d rounds cancelled exactly once\n", good, kRounds);
}

TEST_F(WaitDialog, StopRacingTheJobsEndClosesOnceEitherWay) {
    const int kRounds = 200;
    int good = 0, cancelled = 0;
    for (int i = 0; i < kRounds; i++) {
        Job j;
        j.result = 5;
        j.go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        strDlgCzekaj b = Block(&j, 5000);
        struct Ctx {
            strDlgCzekaj* b;
            Job* j;
            int spin;
        } ctx = {&b, &j, i % 8};
        LoopProbe probe(
            [](void* c) {
                Ctx* x = (Ctx*)c;
                HWND dlg = x->b->hDlg;
                if (!dlg || !x->j->thread) return false;
                SetEvent(x->j->go);  // the job ends now...
                for (volatile int k = 0; k < x->spin * 2000; k++) {}
                // ... while "Stop" is pressed
                SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                             (LPARAM)GetDlgItem(dlg, IDCANCEL));
                return true;
            },
            &ctx, 5000);
        int r = WolajDlgCzekaj(owner_, &b);
        AwaitWorker(&j);
        CloseHandle(j.go);
        EXPECT_EQ(5, r);
        EXPECT_LE(j.cancels, 1);
        EXPECT_TRUE(probe.done());
        if (r == 5 && j.cancels <= 1 && probe.done()) good++;
        cancelled += j.cancels;
    }
    printf("stop racing the job's end: %d of %d rounds closed once with the result (%d cancelled)\n", good,
           kRounds, cancelled);
}

// The worker outlives the wait: Stop claims the dialog, cancel does not end
// the work, and closing gives up after the waiting time.
int OutlivingRound(HWND owner, strDlgCzekaj* b, DWORD* elapsedMs) {
    LoopProbe probe(
        [](void* c) {
            strDlgCzekaj* blk = (strDlgCzekaj*)c;
            Job* job = (Job*)blk->argPraca;
            HWND dlg = blk->hDlg;
            if (!dlg || !job->thread) return false;
            SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         (LPARAM)GetDlgItem(dlg, IDCANCEL));
            return true;
        },
        b, 20000);
    DWORD t0 = GetTickCount();
    int r = WolajDlgCzekaj(owner, b);
    *elapsedMs = GetTickCount() - t0;
    return r;
}

TEST_F(WaitDialog, AWorkerOutlivingTheTenSecondWaitGivesZeroAndTheTimeOutText) {
    const int kRounds = 2;
    int good = 0;
    for (int i = 0; i < kRounds; i++) {
        Job j;
        j.result = 11;
        j.release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        strDlgCzekaj b = Block(&j, 5000);
        DWORD ms = 0;
        int r = OutlivingRound(owner_, &b, &ms);
        // The block may go now: the late worker must not need it.
        memset(&b, 0xCD, sizeof b);
        SetEvent(j.release);
        AwaitWorker(&j);
        CloseHandle(j.release);
        EXPECT_EQ(0, r);
        EXPECT_STREQ(kTimeoutText, msg_);
        EXPECT_EQ(1, j.cancels);
        EXPECT_GE(ms, 9900u);
        EXPECT_LT(ms, 15000u);
        if (r == 0 && strcmp(kTimeoutText, msg_) == 0 && ms >= 9900) good++;
    }
    printf("worker outliving the 10 s wait: %d of %d rounds gave 0 and the time-out text\n", good, kRounds);
}

TEST_F(WaitDialog, AShorterWaitingTimeTimesOutTheSameWay) {
    const int kRounds = 200;
    EXPECT_EQ(10000u, UstawCzasCzekaniaNaWtk(30));
    int good = 0;
    for (int i = 0; i < kRounds; i++) {
        Job j;
        j.result = 11;
        j.release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        strDlgCzekaj b = Block(&j, 5000);
        DWORD ms = 0;
        int r = OutlivingRound(owner_, &b, &ms);
        memset(&b, 0xCD, sizeof b);
        SetEvent(j.release);
        AwaitWorker(&j);
        CloseHandle(j.release);
        EXPECT_EQ(0, r);
        EXPECT_STREQ(kTimeoutText, msg_);
        EXPECT_EQ(1, j.cancels);
        if (r == 0 && strcmp(kTimeoutText, msg_) == 0 && j.cancels == 1) good++;
    }
    EXPECT_EQ(30u, UstawCzasCzekaniaNaWtk(0));
    printf("worker outliving a 30 ms wait: %d of %d rounds gave 0 and the time-out text\n", good, kRounds);
}

TEST_F(WaitDialog, ASecondDialogWhileOneIsOpenIsRefusedWithAMessage) {
    const int kRounds = 20;
    int good = 0;
    for (int i = 0; i < kRounds; i++) {
        ResetHarness();
        Job first, second;
        first.result = 21;
        first.go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        second.result = 22;
        strDlgCzekaj b = Block(&first, 5000);
        struct Ctx {
            strDlgCzekaj* b;
            Job* first;
            Job* second;
            HWND owner;
            int secondResult;
            char secondMsg[2048];
        } ctx = {&b, &first, &second, owner_, -1, ""};
        LoopProbe probe(
            [](void* c) {
                Ctx* x = (Ctx*)c;
                if (!x->b->hDlg) return false;
                strDlgCzekaj b2 = {};
                b2.tytul = "Another job";
                b2.praca = Work;
                b2.argPraca = x->second;
                b2.komunikat = x->secondMsg;
                x->secondResult = WolajDlgCzekaj(x->owner, &b2);
                SetEvent(x->first->go);
                return true;
            },
            &ctx, 5000);
        int r = WolajDlgCzekaj(owner_, &b);
        AwaitWorker(&first);
        CloseHandle(first.go);
        EXPECT_EQ(21, r);  // the first dialog went on undisturbed
        EXPECT_EQ(0, ctx.secondResult);
        EXPECT_EQ(0, second.works);
        EXPECT_STREQ("The waiting dialog box is already open", ctx.secondMsg);
        ASSERT_EQ(1u, g_boxes.size());
        EXPECT_EQ("Error", g_boxes[0].caption);
        EXPECT_EQ("The waiting dialog box is already open", g_boxes[0].text);
        if (r == 21 && ctx.secondResult == 0 && second.works == 0 && g_boxes.size() == 1) good++;
    }
    // And once closed, the next one runs.
    Job j;
    j.result = 4;
    strDlgCzekaj b = Block(&j, 5000);
    EXPECT_EQ(4, WolajDlgCzekaj(owner_, &b));
    AwaitWorker(&j);
    printf("second dialog while one is open: %d of %d rounds refused it\n", good, kRounds);
}

TEST_F(WaitDialog, TheLibrarysAnimationPlaysInAnAnimationControl) {
    HMODULE lib = GetModuleHandleA("widgora.dll");
    ASSERT_NE(nullptr, lib);
    EXPECT_NE(nullptr, FindResourceA(lib, MAKEINTRESOURCEA(IDR_AVI_WAIT), "AVI"));
    HWND anim = CreateWindowExA(0, ANIMATE_CLASSA, nullptr, WS_CHILD | WS_VISIBLE | ACS_CENTER, 0, 0, 200, 60,
                                owner_, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, anim);
    ASSERT_TRUE(Animate_OpenEx(anim, lib, MAKEINTRESOURCEA(IDR_AVI_WAIT)));
    ASSERT_TRUE(Animate_Play(anim, 0, -1, -1));
    // Eight frames a second, one lit square each: in a second and a half
    // most squares have been lit.
    unsigned lit = 0;
    DWORD end = GetTickCount() + 1500;
    while ((int)(GetTickCount() - end) < 0) {
        PumpMessages(20);
        lit |= LitSquares(anim);
    }
    EXPECT_GE(Bits(lit), 4) << "lit squares seen: " << std::hex << lit;
    EXPECT_TRUE(Animate_Stop(anim));
    // A resource that is not an animation is refused: the check can fail.
    EXPECT_FALSE(Animate_OpenEx(anim, lib, MAKEINTRESOURCEA(IDD_DLG_WAIT)));
}

}  // namespace
