// What the pagora tests share: test pages made as enhanced metafiles, a
// plain owner window, the print dialog answered from a second thread, and
// the PDF queue's output read back with poppler's pdftotext.
#ifndef KV_TESTS_WIN_PAGORA_TESTUTIL_H
#define KV_TESTS_WIN_PAGORA_TESTUTIL_H

#include <windows.h>

#include <string>
#include <vector>

#include "pagora/pagora.h"
#include "tests/win/testutil.h"

// pagora.dll has its own message-box seam: route it into the harness's.
void RoutePagoraBoxes();

// A page of 8 x 10 inches (frame in 1/100 mm) made against the display,
// with "kvpage N" written large on it.
HENHMETAFILE MakeTestPage(int number);
// `count` pages numbered 1..count; the caller deletes them.
std::vector<HENHMETAFILE> MakeTestPages(int count);
void DeletePages(std::vector<HENHMETAFILE>& pages);
bool PageAlive(HENHMETAFILE page);

// A visible top-level window to own the print dialog and the preview.
HWND CreateOwnerWindow();

// A job over `pages` (owner, name, flags as given).
strZadDruk MakeJob(HWND owner, const char* name, std::vector<HENHMETAFILE>& pages, uint32_t flags);

// A document name no other run uses ("kvt<pid>x<n>"), so that each test
// finds its own PDF among everyone's.
std::string UniqueDocName(const char* tag);

// What the answering thread does with the print dialog.
struct PrintAnswer {
    int from = 0, to = 0;  // 0: all pages
    int copies = 1;
    bool collate = true;
    bool cancel = false;                // press Cancel instead of OK
    bool cancelJob = false;             // then press Cancel in the progress dialog once it shows
    HWND owner = nullptr;               // looked at while the progress dialog shows
    HWND closeWhilePrinting = nullptr;  // sent WM_CLOSE (posted) once pages are going out
};

// What the answering thread saw of the progress dialog (cancelJob only).
struct ProgressSeen {
    int barMax = -1;         // the bar's upper limit
    std::string cancelText;  // text of its button IDCANCEL
    int ownerEnabled = -1;   // the owner's state meanwhile
};

// Answers the next print dialog of this process from a second thread.
class PrintDialogAnswerer {
public:
    explicit PrintDialogAnswerer(const PrintAnswer& a);
    ~PrintDialogAnswerer();
    // Joins the thread; whether it found and answered the dialog (and the
    // progress dialog, when asked), with what went wrong otherwise.
    bool Finish(std::string* error);
    // Tick count when OK was pressed.
    DWORD okTick() const { return okTick_; }
    const ProgressSeen& progress() const { return seen_; }

private:
    static DWORD WINAPI Run(LPVOID self);
    PrintAnswer a_;
    HANDLE thread_ = nullptr;
    bool ok_ = false;
    std::string error_;
    DWORD okTick_ = 0;
    ProgressSeen seen_;
};

// The default printer is the PDF queue; otherwise the reason, for a clear
// failure (the queue must run before Wine starts).
bool PdfQueueReady(std::string* why);

// Waits up to `ms` for the PDF of document `name` in the PDF queue's output
// folder; returns its Windows path or "" .
std::string WaitForPdf(const std::string& name, DWORD ms);
// Whether a PDF of `name` exists now.
bool PdfExists(const std::string& name);
// The text of each page of a PDF (pdftotext), or an error in *error.
std::vector<std::string> PdfPages(const std::string& path, std::string* error);
// The page numbers "kvpage N" found on each page, in order ("?" when none).
std::string PageNumbersOf(const std::vector<std::string>& pages);
void RemovePdf(const std::string& path);

#endif
