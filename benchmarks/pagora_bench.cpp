// pagora_bench: the print library's timings, plain timed loops run by hand
// under Wine (the CUPS scheduler with the PDF queue must run before Wine):
//   wine build/win/bin/pagora_bench.exe print [PAGES]    OK in the print dialog
//                                                        to the PDF on disk
//   wine build/win/bin/pagora_bench.exe repaint [TIMES]  one page repainted in
//                                                        the preview
//   wine build/win/bin/pagora_bench.exe show MODE SECONDS a three-page preview
//                                                        in zoom MODE (0-2), for
//                                                        screenshots
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tests/win/pagora_testutil.h"

namespace {

double Now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return (double)c.QuadPart / (double)f.QuadPart;
}

int Print(int pages) {
    std::string why;
    if (!PdfQueueReady(&why)) {
        fprintf(stderr, "pagora_bench: %s\n", why.c_str());
        return 2;
    }
    std::vector<HENHMETAFILE> emfs = MakeTestPages(pages);
    HWND owner = CreateOwnerWindow();
    std::string name = UniqueDocName("bench");
    strZadDruk job = MakeJob(owner, name.c_str(), emfs, 0);
    PrintDialogAnswerer answerer(PrintAnswer{});
    int result = PagoraDoPrint(owner, &job);
    double returned = Now();
    DWORD returnedTick = GetTickCount();
    std::string error;
    if (!answerer.Finish(&error) || result != 1) {
        fprintf(stderr, "pagora_bench: printing failed: %s (result %d)\n", error.c_str(), result);
        return 1;
    }
    while (!PdfExists(name) && GetTickCount() - returnedTick < 30000) Sleep(5);
    double appeared = Now();
    std::string pdf = WaitForPdf(name, 30000);
    if (pdf.empty()) {
        fprintf(stderr, "pagora_bench: no PDF\n");
        return 1;
    }
    std::vector<std::string> text = PdfPages(pdf, &error);
    double okToReturn = (returnedTick - answerer.okTick()) / 1000.0;
    printf(
        "print %d pages: OK -> PagoraDoPrint returned %.2f s; -> PDF on disk %.2f s "
        "(%zu pages read back)\n",
        pages, okToReturn, okToReturn + (appeared - returned), text.size());
    RemovePdf(pdf);
    DeletePages(emfs);
    DestroyWindow(owner);
    return 0;
}

HWND OpenPreview(strZadDruk* job, std::vector<HENHMETAFILE>& emfs, HWND owner, int pages) {
    emfs = MakeTestPages(pages);
    *job = MakeJob(owner, "Benchmark document", emfs, 0);
    PagoraPrint(owner, job, 2, 0);
    return FindWindowA("podgladDruk", "Print preview - Benchmark document");
}

int Repaint(int times) {
    HWND owner = CreateOwnerWindow();
    strZadDruk job;
    std::vector<HENHMETAFILE> emfs;
    HWND preview = OpenPreview(&job, emfs, owner, 1);
    if (!preview) return 1;
    ShowWindow(preview, SW_MAXIMIZE);
    PumpMessages(200);
    HWND work = FindWindowExA(preview, nullptr, "obsRobPdglDruk", nullptr);
    HWND card = FindWindowExA(work, nullptr, "pdglDrukKrt", nullptr);
    const struct {
        int command;
        const char* name;
    } modes[] = {{1004, "Natural size"}, {1003, "Complete view"}, {1005, "The maximum width"}};
    for (const auto& m : modes) {
        SendMessageA(preview, WM_COMMAND, m.command, 0);
        PumpMessages(50);
        double t0 = Now();
        for (int i = 0; i < times; i++)
            RedrawWindow(work, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        double t = (Now() - t0) / times * 1000.0;
        RECT r;
        GetWindowRect(card, &r);
        printf("repaint one page, %s (card %ld x %ld px): %.2f ms\n", m.name, r.right - r.left,
               r.bottom - r.top, t);
    }
    DestroyWindow(preview);
    DeletePages(emfs);
    DestroyWindow(owner);
    return 0;
}

int Show(int mode, int seconds) {
    HWND owner = CreateOwnerWindow();
    strZadDruk job;
    std::vector<HENHMETAFILE> emfs;
    HWND preview = OpenPreview(&job, emfs, owner, 3);
    if (!preview) return 1;
    SetWindowPos(preview, HWND_TOP, 0, 0, 1000, 800, 0);
    SendMessageA(preview, WM_COMMAND, 1003 + mode, 0);
    SendMessageA(preview, WM_COMMAND, 1008, 0);  // page 2: every page button enabled
    PumpMessages((DWORD)seconds * 1000);
    DestroyWindow(preview);
    DeletePages(emfs);
    DestroyWindow(owner);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* what = argc > 1 ? argv[1] : "print";
    if (strcmp(what, "print") == 0) return Print(argc > 2 ? atoi(argv[2]) : 10);
    if (strcmp(what, "repaint") == 0) return Repaint(argc > 2 ? atoi(argv[2]) : 200);
    if (strcmp(what, "show") == 0) return Show(argc > 2 ? atoi(argv[2]) : 1, argc > 3 ? atoi(argv[3]) : 5);
    fprintf(stderr, "usage: pagora_bench print [PAGES] | repaint [TIMES] | show MODE SECONDS\n");
    return 2;
}
