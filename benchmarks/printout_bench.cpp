// printout_bench: composing the printout of a 50-window order (pages and
// their metafiles, page numbers included), writing it as a PDF file (pages
// composed and written, as "Save as PDF..." does, target under a second,
// and under 100 KB a page), and the time from "Print" to the preview's
// first page on the screen. Plain timed loops run by hand under
// Wine (with a display for the preview):
//   wine build/win/bin/printout_bench.exe [ROUNDS]
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "benchmarks/bench_timer.h"
#include "printout/pdf_win.h"
#include "printout/printout.h"
#include "render/drawset_win.h"
#include "tests/native/order_patterns.h"
#include "util/heap.h"
#include "util/msgbuf.h"

namespace {

// 50 windows of three kinds (sash beside a mullion, two and four fields with
// a muntin), three accessories and two lines of notes.
void Zamowienie50(strZamRob* z) {
    InitTestOrder(z, 50, "Benchmark Builders Ltd.");
    z->zam.waga = 2500;
    for (int i = 0; i < 50; i++) {
        TestWindow o;
        if (i % 3 == 0) WindowWithSash(o);
        else WindowWithPanes(o, i % 3 == 1 ? 1 : 3, true);
        o.r.ilOkien = 1 + i % 4;
        AddTestWindow(z, o, "Norvel Line 70", 30000 + 125 * i);
    }
    for (int i = 0; i < 3; i++) AddTestAccessory(z, i, "Window sill", i + 1);
}

// The preview's page card has painted: note the time and close the preview.
double g_pokazana = 0;
LRESULT CALLBACK PoMalowaniu(int kod, WPARAM wp, LPARAM lp) {
    const CWPRETSTRUCT* c = (const CWPRETSTRUCT*)lp;
    if (kod == HC_ACTION && c->message == WM_PAINT && g_pokazana == 0) {
        char klasa[32] = "";
        GetClassNameA(c->hwnd, klasa, sizeof klasa);
        if (strcmp(klasa, "pdglDrukKrt") == 0) {
            g_pokazana = NowMs();
            PostMessageA(GetAncestor(c->hwnd, GA_ROOT), WM_COMMAND, 1011, 0);  // "Close"
        }
    }
    return CallNextHookEx(nullptr, kod, wp, lp);
}

}  // namespace

int main(int argc, char** argv) {
    const int rundy = argc > 1 ? atoi(argv[1]) : 20;
    KvHeapCreate();
    strZamRob z;
    Zamowienie50(&z);
    DrawSet ekran, druk;
    if (!CreateDrawSet(GetModuleHandleA(nullptr), &ekran)) return 1;
    if (!CreatePrintDrawSet(&ekran, &druk)) return 1;
    strUstUzytk ust;
    memset(&ust, 0, sizeof ust);
    ust.wysNaglDruk = 30;
    char msg[KV_MSG_LEN] = "";

    RoundTimes composing;
    int strony = 0;
    for (int i = 0; i < rundy + 2; i++) {
        PrintoutPages s;
        const double t0 = NowMs();
        if (!ComposeOrderPrintout(&z, &druk, &ust, &s, msg)) {
            fprintf(stderr, "printout_bench: %s\n", msg);
            return 1;
        }
        const double t = NowMs() - t0;
        strony = s.itemCount;
        FreePrintoutPages(&s);
        if (i < 2) continue;  // warm-up: fonts and glyph caches
        composing.Add(t);
    }
    printf("order of %d windows and %d accessories: %d pages\n", (int)z.zam.liczbaOkien,
           (int)z.zam.liczbaDodat, strony);
    printf("  composing (pages, drawings, page numbers): mean %.1f ms, best %.1f ms, %d rounds\n",
           composing.Mean(), composing.best, rundy);

    // "Save as PDF...": composing and writing the file.
    RoundTimes pdf;
    long long bytes = 0;
    for (int i = 0; i < rundy + 1; i++) {
        PrintoutPages s;
        const double t0 = NowMs();
        if (!ComposeOrderPrintout(&z, &druk, &ust, &s, msg) ||
            !SavePagesPdf(&s, "Benchmark", "printout_bench.pdf", msg)) {
            fprintf(stderr, "printout_bench: %s\n", msg);
            return 1;
        }
        const double t = NowMs() - t0;
        FreePrintoutPages(&s);
        if (i < 1) continue;
        pdf.Add(t);
    }
    if (FILE* f = fopen("printout_bench.pdf", "rb")) {
        fseek(f, 0, SEEK_END);
        bytes = ftell(f);
        fclose(f);
    }
    DeleteFileA("printout_bench.pdf");
    printf(
        "  Save as PDF (composing and writing): mean %.1f ms, best %.1f ms, %d rounds; %lld bytes, %lld a "
        "page\n",
        pdf.Mean(), pdf.best, rundy, bytes, strony ? bytes / strony : 0);

    // "Print": composing, handing over, and the modal preview up to its
    // first page painted.
    HHOOK hak = SetWindowsHookExA(WH_CALLWNDPROCRET, PoMalowaniu, nullptr, GetCurrentThreadId());
    const int podglady = rundy < 5 ? rundy : 5;
    RoundTimes preview;
    for (int i = 0; i < podglady + 1; i++) {
        g_pokazana = 0;
        const double t0 = NowMs();
        if (!PreviewOrderPrintout(nullptr, &z, &druk, &ust, msg)) {
            fprintf(stderr, "printout_bench: %s\n", msg);
            return 1;
        }
        if (g_pokazana == 0) {
            fprintf(stderr, "printout_bench: the preview's page was never painted\n");
            return 1;
        }
        const double t = g_pokazana - t0;
        if (i < 1) continue;
        preview.Add(t);
    }
    UnhookWindowsHookEx(hak);
    printf("  Print to the preview's first page painted: mean %.1f ms, best %.1f ms, %d rounds\n",
           preview.Mean(), preview.best, podglady);

    DestroyPrintDrawSet(&druk);
    DestroyDrawSet(&ekran);
    FreeAndZeroOrder(&z);
    return 0;
}
