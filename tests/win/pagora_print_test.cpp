// Printing real jobs through pagora.dll to the CUPS PDF queue: the print
// dialog answered from a second thread, the PDF read back page by page.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/win/harness.h"
#include "tests/win/pagora_testutil.h"

namespace {

class PagoraPrinting : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        RoutePagoraBoxes();
        std::string why;
        ASSERT_TRUE(PdfQueueReady(&why)) << "the print tests need the PDF queue: " << why;
    }
};

// The range, copies and collation the user picks come out of the printer
// in the right order, every copy made by the program itself; the owner is
// disabled only when it was enabled, and left as it was found.
TEST_F(PagoraPrinting, RangeCopiesAndCollationComeOutInOrder) {
    struct Case {
        const char* what;
        int pages;
        PrintAnswer answer;
        bool ownerDisabled;
        const char* printed;
    };
    auto answer = [](int from, int to, int copies, bool collate) {
        PrintAnswer a;
        a.from = from;
        a.to = to;
        a.copies = copies;
        a.collate = collate;
        return a;
    };
    const Case cases[] = {
        {"pages 2-4 of 5, two copies collated", 5, answer(2, 4, 2, true), false, "2 3 4 2 3 4"},
        {"pages 2-4 of 5, two copies not collated", 5, answer(2, 4, 2, false), false, "2 2 3 3 4 4"},
        {"one page, three copies", 3, answer(2, 2, 3, true), false, "2 2 2"},
        {"all of two pages, three copies, owner already disabled", 2, answer(0, 0, 3, true), true,
         "1 2 1 2 1 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<HENHMETAFILE> pages = MakeTestPages(c.pages);
        HWND owner = CreateOwnerWindow();
        EnableWindow(owner, !c.ownerDisabled);
        std::string name = UniqueDocName("range");
        strZadDruk job = MakeJob(owner, name.c_str(), pages, PAGORA_REPORT_ERROR);

        PrintDialogAnswerer answerer(c.answer);
        int result = PagoraPrint(owner, &job, 0, 0);
        std::string error;
        EXPECT_TRUE(answerer.Finish(&error)) << error;
        EXPECT_EQ(1, result);
        EXPECT_EQ(!c.ownerDisabled, IsWindowEnabled(owner) != 0) << "owner's state changed";
        EXPECT_EQ(nullptr, hDlgPostep);
        EXPECT_EQ(0, przerwijDruk);

        std::string pdf = WaitForPdf(name, 20000);
        ASSERT_FALSE(pdf.empty()) << "no PDF of " << name;
        std::vector<std::string> text = PdfPages(pdf, &error);
        EXPECT_EQ("", error);
        EXPECT_EQ(c.printed, PageNumbersOf(text));
        RemovePdf(pdf);
        EXPECT_TRUE(g_boxes.empty());
        DestroyWindow(owner);
        DeletePages(pages);
    }
}

// Cancel in the progress dialog enables the owner at once and abandons the
// job in the spooler: no document, not even the pages made before Cancel.
// A cancelled print dialog prints nothing and is not a failure.
TEST_F(PagoraPrinting, CancelledJobsLeaveNoDocument) {
    struct Case {
        const char* what;
        bool cancelDialog, cancelJob;
    };
    const Case cases[] = {
        {"Cancel in the progress dialog", false, true},
        {"Cancel in the print dialog", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<HENHMETAFILE> pages = MakeTestPages(10);
        HWND owner = CreateOwnerWindow();
        std::string name = UniqueDocName("cancel");
        strZadDruk job = MakeJob(owner, name.c_str(), pages, PAGORA_REPORT_ERROR);
        PrintAnswer a;
        a.cancel = c.cancelDialog;
        a.cancelJob = c.cancelJob;
        a.owner = owner;
        PrintDialogAnswerer answerer(a);
        int result = PagoraDoPrint(owner, &job);
        std::string error;
        EXPECT_TRUE(answerer.Finish(&error)) << error;
        EXPECT_EQ(1, result);
        if (c.cancelJob) {
            EXPECT_EQ(1, przerwijDruk);
            // The bar counts the sheets; the owner is disabled while they go.
            EXPECT_EQ(10, answerer.progress().barMax);
            EXPECT_EQ("Cancel", answerer.progress().cancelText);
            EXPECT_EQ(0, answerer.progress().ownerEnabled);
        }
        EXPECT_TRUE(IsWindowEnabled(owner));
        EXPECT_EQ(nullptr, hDlgPostep);
        // A finished job shows up well within this time (see the other test).
        std::string pdf = WaitForPdf(name, 4000);
        EXPECT_EQ("", pdf) << "a cancelled job came out of the printer";
        RemovePdf(pdf);
        EXPECT_TRUE(g_boxes.empty());
        DestroyWindow(owner);
        DeletePages(pages);
    }
}

// A failure is reported as the job asks (flag bit 4) and returns 0; the
// mode and extra flags are merged into the record first.
TEST_F(PagoraPrinting, FailuresAreReportedOnlyWhenAsked) {
    struct Case {
        uint32_t flags;
        int extra;
        uint32_t expectFlags;
        size_t boxes;
    };
    const Case cases[] = {
        {0x07, 0x10, 0x10, 1},  // mode bits and bit 2 cleared, extra added: reported
        {0x10, 0, 0x10, 1},
        {0x08, 0, 0x08, 0},  // not asked: silent
    };
    for (const Case& c : cases) {
        ResetHarness();
        std::vector<HENHMETAFILE> none;
        strZadDruk job = MakeJob(nullptr, "empty", none, c.flags);  // no pages: cannot print
        EXPECT_EQ(0, PagoraPrint(nullptr, &job, 0, c.extra));
        EXPECT_EQ(c.expectFlags, job.flagi);
        ASSERT_EQ(c.boxes, g_boxes.size());
        if (c.boxes) {
            EXPECT_EQ("Error", g_boxes[0].caption);
            EXPECT_EQ(0u, g_boxes[0].text.find("Error of printing\r\n"));
            EXPECT_NE(std::string::npos, g_boxes[0].text.find(" - 87"));
            EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING), g_boxes[0].type);
        }
    }
}

// "Print" in a preview prints the preview's job through the same path.
TEST_F(PagoraPrinting, PrintFromPreview) {
    std::vector<HENHMETAFILE> pages = MakeTestPages(3);
    HWND owner = CreateOwnerWindow();
    std::string name = UniqueDocName("preview");
    strZadDruk job = MakeJob(owner, name.c_str(), pages, 0);
    ASSERT_EQ(2, PagoraPrint(owner, &job, 2, 0));
    HWND preview = FindWindowA("podgladDruk", ("Print preview - " + name).c_str());
    ASSERT_TRUE(preview);
    PrintDialogAnswerer answerer(PrintAnswer{});
    SendMessageA(preview, WM_COMMAND, 1010, 0);
    std::string error;
    EXPECT_TRUE(answerer.Finish(&error)) << error;
    EXPECT_TRUE(IsWindowEnabled(preview));
    std::string pdf = WaitForPdf(name, 20000);
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ("1 2 3", PageNumbersOf(PdfPages(pdf, &error)));
    EXPECT_EQ("", error);
    RemovePdf(pdf);
    SendMessageA(preview, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(preview));
    DestroyWindow(owner);
    DeletePages(pages);
}

// What the owner of a printing preview saw when it was closed mid-print.
struct ClosedMidPrint {
    HWND preview = nullptr;
    std::vector<HENHMETAFILE> pages;
    bool closed = false, previewGone = false;
    int pagesAlive = -1;
};
ClosedMidPrint g_closed;

LRESULT CALLBACK ClosingOwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) {
        // Runs inside the print's own message pump, the print loop below.
        DestroyWindow(hwnd);
        g_closed.closed = true;
        g_closed.previewGone = !IsWindow(g_closed.preview);
        g_closed.pagesAlive = 0;
        for (HENHMETAFILE page : g_closed.pages) g_closed.pagesAlive += PageAlive(page) ? 1 : 0;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// The owner of a modeless preview closed while the preview prints takes
// the preview with it; the print stops cleanly after the page in progress
// (no document), the pages it plays stay alive until it returns and are
// deleted then (they belong to the job), and the library's heap is sound.
TEST_F(PagoraPrinting, OwnerClosedWhileItsPreviewPrints) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ClosingOwnerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "kvClosingOwner";
    RegisterClassA(&wc);
    HWND owner = CreateWindowA("kvClosingOwner", "Closing owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                               300, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(owner);
    std::vector<HENHMETAFILE> pages = MakeTestPages(12);
    std::string name = UniqueDocName("gone");
    strZadDruk job = MakeJob(owner, name.c_str(), pages, PAGORA_JOB_OWNS_PAGES | PAGORA_REPORT_ERROR);
    ASSERT_EQ(2, PagoraPrint(owner, &job, 2, 0));
    HWND preview = FindWindowA("podgladDruk", ("Print preview - " + name).c_str());
    ASSERT_TRUE(preview);
    g_closed = ClosedMidPrint();
    g_closed.preview = preview;
    g_closed.pages = pages;

    PrintAnswer a;
    a.closeWhilePrinting = owner;
    PrintDialogAnswerer answerer(a);
    SendMessageA(preview, WM_COMMAND, 1010, 0);  // returns when the print does
    std::string error;
    EXPECT_TRUE(answerer.Finish(&error)) << error;

    ASSERT_TRUE(g_closed.closed) << "the owner was not closed during the print";
    EXPECT_TRUE(g_closed.previewGone);
    EXPECT_EQ((int)pages.size(), g_closed.pagesAlive) << "pages deleted under the running print";
    EXPECT_FALSE(IsWindow(owner));
    EXPECT_FALSE(IsWindow(preview));
    for (HENHMETAFILE page : pages) EXPECT_FALSE(PageAlive(page)) << "the job's pages were left behind";
    EXPECT_EQ(nullptr, hDlgPostep);
    EXPECT_EQ(1, przerwijDruk);
    EXPECT_TRUE(HeapValidate(hHeapDll, 0, nullptr));
    EXPECT_TRUE(g_boxes.empty());
    std::string pdf = WaitForPdf(name, 4000);
    EXPECT_EQ("", pdf) << "a print stopped with its window came out of the printer";
    RemovePdf(pdf);
}

// The pixels of a window's client area, or of page `emf` played as the
// card plays it into a client area of that size (white, the page's frame
// scaled by the client's pixels per hundredth of a millimetre, centred).
std::vector<DWORD> Pixels(HWND wnd, HENHMETAFILE emf, int cw, int ch) {
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = cw;
    bi.bmiHeader.biHeight = -ch;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    RECT all = {0, 0, cw, ch};
    FillRect(mem, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    if (wnd) {
        HDC dc = GetDC(wnd);
        BitBlt(mem, 0, 0, cw, ch, dc, 0, 0, SRCCOPY);
        ReleaseDC(wnd, dc);
    } else {
        ENHMETAHEADER h;
        GetEnhMetaFileHeader(emf, sizeof h, &h);
        const long long cardW = (long long)(MmForInch(nullptr, 1) * 5100 * 100 / 600);
        const long long cardH = (long long)(MmForInch(nullptr, 0) * 6600 * 100 / 600);
        const int w = (int)((long long)(h.rclFrame.right - h.rclFrame.left) * cw / cardW);
        const int hg = (int)((long long)(h.rclFrame.bottom - h.rclFrame.top) * ch / cardH);
        RECT r = {(cw - w) / 2, (ch - hg) / 2, 0, 0};
        r.right = r.left + w;
        r.bottom = r.top + hg;
        PlayEnhMetaFile(mem, emf, &r);
    }
    GdiFlush();
    std::vector<DWORD> px((const DWORD*)bits, (const DWORD*)bits + (size_t)cw * ch);
    for (DWORD& v : px) v &= 0xFFFFFF;
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return px;
}

size_t Differing(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
    size_t n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); i++) n += a[i] != b[i];
    return n;
}

// A modal preview turned to page 2 of 3 shows page 2 on its card (its
// pixels are page 2's, not a neighbour's) and names it in the status bar;
// "Print" in it prints the whole job, and closing it gives the owner back.
TEST_F(PagoraPrinting, PrintFromAModalPreviewThatShowsThePageItNames) {
    std::vector<HENHMETAFILE> pages = MakeTestPages(3);
    HWND owner = CreateOwnerWindow();
    std::string name = UniqueDocName("modal");
    strZadDruk job = MakeJob(owner, name.c_str(), pages, PAGORA_REPORT_ERROR);
    struct Probe {
        std::string name;
        std::vector<HENHMETAFILE>* pages = nullptr;
        HWND owner = nullptr;
        int phase = 0;
        bool ownerDisabled = false, printing = false;
        std::string status;
        size_t diff[3] = {0, 0, 0};
        HWND preview = nullptr;
    };
    Probe probe;
    probe.name = name;
    probe.pages = &pages;
    probe.owner = owner;
    auto look = [](void* ctx) {
        Probe* pr = (Probe*)ctx;
        switch (pr->phase) {
            case 0:
                pr->preview = FindWindowA("podgladDruk", ("Print preview - " + pr->name).c_str());
                if (!pr->preview || !IsWindowVisible(pr->preview)) return false;
                pr->ownerDisabled = !IsWindowEnabled(pr->owner);
                SetWindowPos(pr->preview, HWND_TOP, 0, 0, 800, 700, 0);
                SendMessageA(pr->preview, WM_COMMAND, 1003, 0);  // the whole card in view
                SendMessageA(pr->preview, WM_COMMAND, 1008, 0);  // next page: 2 of 3
                pr->phase = 1;
                return false;
            case 1: {
                HWND work = FindWindowExA(pr->preview, nullptr, "obsRobPdglDruk", nullptr);
                HWND card = FindWindowExA(work, nullptr, "pdglDrukKrt", nullptr);
                RedrawWindow(pr->preview, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                RECT rc;
                GetClientRect(card, &rc);
                char text[128] = "";
                SendMessageA(GetDlgItem(pr->preview, 1001), SB_GETTEXTA, 1, (LPARAM)text);
                pr->status = text;
                std::vector<DWORD> shown = Pixels(card, nullptr, rc.right, rc.bottom);
                for (int i = 0; i < 3; i++)
                    pr->diff[i] = Differing(shown, Pixels(nullptr, (*pr->pages)[i], rc.right, rc.bottom));
                PostMessageA(pr->preview, WM_COMMAND, 1010, 0);  // Print
                pr->phase = 2;
                return false;
            }
            case 2:  // the print dialog and the job disable the preview
                if (!IsWindowEnabled(pr->preview)) pr->printing = true;
                if (!pr->printing || !IsWindowEnabled(pr->preview)) return false;
                PostMessageA(pr->preview, WM_CLOSE, 0, 0);
                return true;
        }
        return false;
    };
    PrintDialogAnswerer answerer{PrintAnswer{}};
    int result;
    {
        LoopProbe lp(look, &probe, 30000);
        result = PagoraPrint(owner, &job, 1, 0);
        EXPECT_TRUE(lp.done());
    }
    std::string error;
    EXPECT_TRUE(answerer.Finish(&error)) << error;
    EXPECT_EQ(0, result);
    EXPECT_TRUE(probe.ownerDisabled) << "a modal preview leaves its owner enabled";
    EXPECT_NE(std::string::npos, probe.status.find("page 2/3")) << probe.status;
    EXPECT_LT(probe.diff[1], probe.diff[0]) << "the card shows page 1";
    EXPECT_LT(probe.diff[1], probe.diff[2]) << "the card shows page 3";
    EXPECT_LT(probe.diff[1], probe.diff[0] / 4) << "the card is not page 2's picture";
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(IsWindow(probe.preview));
    std::string pdf = WaitForPdf(name, 20000);
    ASSERT_FALSE(pdf.empty()) << "nothing printed from the modal preview";
    EXPECT_EQ("1 2 3", PageNumbersOf(PdfPages(pdf, &error)));
    EXPECT_EQ("", error);
    RemovePdf(pdf);
    EXPECT_TRUE(g_boxes.empty());
    DestroyWindow(owner);
    DeletePages(pages);
}

}  // namespace
