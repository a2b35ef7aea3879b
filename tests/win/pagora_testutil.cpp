#include "tests/win/pagora_testutil.h"

#include <stdio.h>
#include <string.h>
#include <winspool.h>
#include <commctrl.h>

#include "util/msgbox_win.h"
#include "util/scoped_win.h"

static int Forward(HWND owner, const char* text, const char* caption, UINT type, void*) {
    return KvMessageBox(owner, text, caption, type);
}

void RoutePagoraBoxes() { UstawHakKomunikatow(Forward, nullptr); }

HENHMETAFILE MakeTestPage(int number) {
    ScopedWindowDC screen(nullptr);
    RECT frame = {0, 0, 20320, 25400};  // 8 x 10 inches in 1/100 mm
    HDC dc = CreateEnhMetaFileA(screen, nullptr, &frame, "kvtest\0page\0");
    if (!dc) return nullptr;
    // Logical units of the metafile are the display's pixels.
    int pxPerInchX = GetDeviceCaps(screen, LOGPIXELSX);
    int pxPerInchY = GetDeviceCaps(screen, LOGPIXELSY);
    {
        ScopedPen pen(CreatePen(PS_SOLID, 3, RGB(0, 0, 0)));
        ScopedSelect sp(dc, pen);
        ScopedSelect sb(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, 0, 0, 8 * pxPerInchX, 10 * pxPerInchY);
        ScopedFont font(
            CreateFontA(-pxPerInchY / 2, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"));
        ScopedSelect sf(dc, font);
        char text[32];
        snprintf(text, sizeof text, "kvpage %d", number);
        TextOutA(dc, pxPerInchX, pxPerInchY, text, (int)strlen(text));
        MoveToEx(dc, pxPerInchX, 3 * pxPerInchY, nullptr);
        LineTo(dc, 7 * pxPerInchX, 9 * pxPerInchY);
    }
    return CloseEnhMetaFile(dc);
}

std::vector<HENHMETAFILE> MakeTestPages(int count) {
    std::vector<HENHMETAFILE> pages;
    for (int i = 1; i <= count; i++) pages.push_back(MakeTestPage(i));
    return pages;
}

void DeletePages(std::vector<HENHMETAFILE>& pages) {
    for (HENHMETAFILE p : pages) {
        if (p && PageAlive(p)) DeleteEnhMetaFile(p);
    }
    pages.clear();
}

bool PageAlive(HENHMETAFILE page) {
    ENHMETAHEADER h;
    return GetEnhMetaFileHeader(page, sizeof h, &h) != 0;
}

static LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND CreateOwnerWindow() {
    static bool registered;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = OwnerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "kvPagoraOwner";
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        RegisterClassA(&wc);
        registered = true;
    }
    HWND h = CreateWindowExA(0, "kvPagoraOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    return h;
}

strZadDruk MakeJob(HWND owner, const char* name, std::vector<HENHMETAFILE>& pages, uint32_t flags) {
    strZadDruk job;
    memset(&job, 0xCD, sizeof job);
    PagoraInitializePagoraprint(&job);
    job.wlasciciel = owner;
    job.liczbaStr = (int32_t)pages.size();
    snprintf(job.nazwa, sizeof job.nazwa, "%s", name);
    job.strony = pages.data();
    job.flagi = flags;
    return job;
}

std::string UniqueDocName(const char* tag) {
    static int n;
    char s[64];
    snprintf(s, sizeof s, "kvt%lux%d%s", GetCurrentProcessId(), ++n, tag);
    return s;
}

// ---- The print dialog -------------------------------------------------------------

static DWORD g_uiThread;

struct FindDlg {
    const char* title;
    HWND found;
};

static BOOL CALLBACK FindDialogProc(HWND hwnd, LPARAM lp) {
    FindDlg* f = (FindDlg*)lp;
    char cls[32] = "", title[64] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    GetWindowTextA(hwnd, title, sizeof title);
    if (strcmp(cls, "#32770") == 0 && strcmp(title, f->title) == 0 && IsWindowVisible(hwnd)) {
        f->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

static HWND WaitForDialog(const char* title, DWORD ms) {
    DWORD end = GetTickCount() + ms;
    while ((int)(GetTickCount() - end) < 0) {
        FindDlg f = {title, nullptr};
        EnumThreadWindows(g_uiThread, FindDialogProc, (LPARAM)&f);
        if (f.found) return f.found;
        Sleep(20);
    }
    return nullptr;
}

PrintDialogAnswerer::PrintDialogAnswerer(const PrintAnswer& a) : a_(a) {
    g_uiThread = GetCurrentThreadId();
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

PrintDialogAnswerer::~PrintDialogAnswerer() {
    std::string ignored;
    Finish(&ignored);
}

bool PrintDialogAnswerer::Finish(std::string* error) {
    if (thread_) {
        WaitForSingleObject(thread_, 30000);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    *error = error_;
    return ok_;
}

static void SetEditInt(HWND dlg, int id, int value) {
    char s[16];
    snprintf(s, sizeof s, "%d", value);
    SendMessageA(GetDlgItem(dlg, id), WM_SETTEXT, 0, (LPARAM)s);
}

DWORD WINAPI PrintDialogAnswerer::Run(LPVOID self) {
    PrintDialogAnswerer* t = (PrintDialogAnswerer*)self;
    const PrintAnswer& a = t->a_;
    HWND dlg = WaitForDialog("Print", 15000);
    if (!dlg) {
        t->error_ = "the print dialog did not show";
        return 0;
    }
    Sleep(100);  // let it finish its initialisation
    if (a.cancel) {
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(dlg, IDCANCEL));
        t->ok_ = true;
        return 0;
    }
    if (a.from > 0) {
        SendMessageA(GetDlgItem(dlg, 0x422), BM_CLICK, 0, 0);  // "Pages"
        SetEditInt(dlg, 0x480, a.from);
        SetEditInt(dlg, 0x481, a.to);
    }
    SetEditInt(dlg, 0x482, a.copies);
    HWND collate = GetDlgItem(dlg, 0x411);
    bool checked = SendMessageA(collate, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (checked != a.collate) SendMessageA(collate, BM_CLICK, 0, 0);
    checked = SendMessageA(collate, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (checked != a.collate) {
        t->error_ = "the collate box could not be set";
        PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    t->okTick_ = GetTickCount();
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dlg, IDOK));
    if (a.cancelJob || a.closeWhilePrinting) {
        DWORD end = GetTickCount() + 15000;
        HWND progress = nullptr;
        while (!progress && (int)(GetTickCount() - end) < 0) {
            progress = *(HWND volatile*)&hDlgPostep;
            if (!progress) Sleep(1);
        }
        if (!progress) {
            t->error_ = "the progress dialog did not show";
            return 0;
        }
        // Cancel only once some pages have gone to the spooler.
        HWND bar = GetDlgItem(progress, 1016);
        t->seen_.barMax = (int)SendMessageA(bar, PBM_GETRANGE, FALSE, 0);
        char text[32] = "";
        GetWindowTextA(GetDlgItem(progress, IDCANCEL), text, sizeof text);
        t->seen_.cancelText = text;
        if (a.owner) t->seen_.ownerEnabled = IsWindowEnabled(a.owner) != 0;
        while ((int)SendMessageA(bar, PBM_GETPOS, 0, 0) < 3 && (int)(GetTickCount() - end) < 0) Sleep(1);
        if ((int)SendMessageA(bar, PBM_GETPOS, 0, 0) < 3) {
            t->error_ = "the progress bar did not advance";
            return 0;
        }
        if (a.closeWhilePrinting) PostMessageA(a.closeWhilePrinting, WM_CLOSE, 0, 0);
        else PostMessageA(progress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    t->ok_ = true;
    return 0;
}

// ---- The PDF queue ----------------------------------------------------------------

bool PdfQueueReady(std::string* why) {
    char name[256] = "";
    DWORD size = sizeof name;
    if (!GetDefaultPrinterA(name, &size)) {
        *why =
            "no printer at all: the CUPS scheduler must run before Wine starts "
            "(tools/wine-ctest.sh starts it; tools/setup.sh creates the queue \"PDF\")";
        return false;
    }
    if (strcmp(name, "PDF") != 0) {
        *why = std::string("the default printer is \"") + name + "\", not the PDF queue \"PDF\"";
        return false;
    }
    return true;
}

// The queue's output folder: ${HOME}/PDF of the job's owner.
static std::string UnixPdfDir() {
    char home[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("HOME", home, sizeof home) || home[0] != '/') strcpy(home, "/root");
    return std::string(home) + "/PDF";
}

static std::string WinPath(const std::string& unixPath) {
    std::string w = "Z:" + unixPath;
    for (char& c : w) {
        if (c == '/') c = '\\';
    }
    return w;
}

static std::string FindPdf(const std::string& name) {
    std::string dir = WinPath(UnixPdfDir());
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*" + name + "*.pdf").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return "";
    FindClose(h);
    return dir + "\\" + fd.cFileName;
}

bool PdfExists(const std::string& name) { return !FindPdf(name).empty(); }

std::string WaitForPdf(const std::string& name, DWORD ms) {
    DWORD end = GetTickCount() + ms;
    for (;;) {
        std::string p = FindPdf(name);
        if (!p.empty()) {
            // cups-pdf writes the file in place: wait until its size settles.
            WIN32_FILE_ATTRIBUTE_DATA a1, a2;
            Sleep(150);
            if (GetFileAttributesExA(p.c_str(), GetFileExInfoStandard, &a1)) {
                Sleep(150);
                if (GetFileAttributesExA(p.c_str(), GetFileExInfoStandard, &a2) &&
                    a1.nFileSizeLow == a2.nFileSizeLow && a2.nFileSizeLow > 0)
                    return p;
            }
        }
        if ((int)(GetTickCount() - end) > 0) return "";
        Sleep(50);
    }
}

void RemovePdf(const std::string& path) {
    if (!path.empty()) DeleteFileA(path.c_str());
}

std::vector<std::string> PdfPages(const std::string& path, std::string* error) {
    std::vector<std::string> pages;
    const std::string text = RunPoppler("pdftotext", "", path, error);
    if (text.empty()) return pages;
    // pdftotext ends every page with a form feed.
    size_t start = 0, ff;
    while ((ff = text.find('\f', start)) != std::string::npos) {
        pages.push_back(text.substr(start, ff - start));
        start = ff + 1;
    }
    return pages;
}

std::string PageNumbersOf(const std::vector<std::string>& pages) {
    std::string s;
    for (const std::string& p : pages) {
        size_t at = p.find("kvpage ");
        if (!s.empty()) s += " ";
        s += at == std::string::npos ? "?" : std::to_string(atoi(p.c_str() + at + 7));
    }
    return s;
}
