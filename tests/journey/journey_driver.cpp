// journey_driver - plays a seller's day on the installed program from a
// separate process, through the real windows' messages only: a new order
// from the register, two windows drawn in the designer, one accessory, a
// save with a status, the order found again in the register, its preview
// and its printout sent to the printer. Prints what it saw as "key: value"
// lines for the calling script, which checks them against the database and
// the printed PDF.
//
//   journey_driver --lnk SHORTCUT.lnk [--shots DIR]
//   journey_driver --exe PROGRAM.exe --cwd FOLDER [--shots DIR] [--no-print]
//
// With --shots every window met on the way is also saved as DIR/<name>.bmp
// (the pictures of the help page). Every wait has a time-out; a failure
// prints "FAILED: ..." and ends with exit status 1.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <ctype.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// Commands and control ids of the program's windows.
enum : int {
    kCmdExit = 2,
    kCmdOk = 1,
    kRegNew = 10017,
    kRegPreview = 10018,
    kRegSettings = 10032,
    kRegPriceList = 13410,
    kRegList = 10060,
    kRegSearch = 10021,
    kRegAbout = 10042,
    kAboutDatabase = 10072,
    kRegStatus3 = 10024,
    kRegCorrect = 10028,
    kSearchText = 10323,
    kOrdSave = 1,
    kOrdNumber = 10129,
    kOrdNet = 10131,
    kOrdGross = 10134,
    kOrdCancel = 2,
    kOrdPrint = 10029,
    kOrdSaveAsFirst = 10044,
    kOrdWinAdd = 10050,
    kOrdWinEdit = 10051,
    kOrdWindows = 10187,
    kOrdAccAdd = 10054,
    kOrdTab = 10139,
    kGenBuyer = 10156,
    kGenSymbol = 10155,
    kDesFrame = 10217,
    kDesPointer = 10216,
    kDesFixedMullion = 10224,
    kDesTiltLeft = 10231,
    kDesTiltRight = 10232,
    kDesNewFilling = 10233,
    kDesFactors = 10222,
    kDesSave = 1,
    kPnlProfile = 10237,
    kPnlColor = 10257,
    kPnlHardware = 10271,
    kPnlBead = 10274,
    kPnlNet = 10277,
    kPnlNotes = 10292,
    kFrameWidth = 10296,
    kFrameHeight = 10297,
    kFillingName = 10319,
    kFillingGlass = 10320,
    kAccName = 10189,
    kAccNameCombo = 10190,
    kAccUnit = 10193,
    kAccPrice = 10203,
    kAccQuantity = 10207,
    kPrvPrint = 1010,
    kPrvClose = 1011,
};

DWORD g_pid;
HANDLE g_process;
std::string g_shots;
bool g_print = true;
std::string g_password;     // answers the login dialog of a register on a server
bool g_serverSteps = false;  // a correction, a search and a status change after the printout
bool g_wrongFirst = false;   // a refused password before the right one
bool g_startFails = false;   // the start is to end with an error box
bool g_cancelLogin = false;  // the login is cancelled: the program ends without a box
bool g_startOnly = false;    // the register shows (no login dialog), then the program is closed
const DWORD kWait = 20000;

void Say(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    vprintf(fmt, ap);
    va_end(ap);
    printf("\n");
    fflush(stdout);
}

std::string ClassOf(HWND h);
std::string TextOf(HWND h);
bool OfProgram(HWND h);

[[noreturn]] void Fail(const char* fmt, ...) {
    char text[1024];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(text, sizeof text, fmt, ap);
    va_end(ap);
    Say("FAILED: %s", text);
    EnumWindows(
        [](HWND h, LPARAM) -> BOOL {
            if (OfProgram(h) && IsWindowVisible(h))
                Say("  open: %s \"%s\"", ClassOf(h).c_str(), TextOf(h).c_str());
            return TRUE;
        },
        0);
    // The program stays as it is for the caller's screenshot.
    exit(1);
}

std::string ClassOf(HWND h) {
    char c[64] = "";
    GetClassNameA(h, c, sizeof c);
    return c;
}

std::string TextOf(HWND h) {
    char t[2048] = "";
    SendMessageTimeoutA(h, WM_GETTEXT, sizeof t, (LPARAM)t, SMTO_ABORTIFHUNG, 5000, nullptr);
    return t;
}

bool OfProgram(HWND h) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    return pid == g_pid;
}

// A visible top-level window of the program with this class (and title, when given).
HWND Top(const char* cls, const char* title = nullptr) {
    struct Q {
        const char* cls;
        const char* title;
        HWND found;
    } q = {cls, title, nullptr};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            Q* q = (Q*)lp;
            if (!IsWindowVisible(h) || !OfProgram(h) || ClassOf(h) != q->cls) return TRUE;
            if (q->title && TextOf(h) != q->title) return TRUE;
            q->found = h;
            return FALSE;
        },
        (LPARAM)&q);
    return q.found;
}

// The descendant of `parent` with control id `id` (the pages of a window are
// children of children).
HWND Item(HWND parent, int id) {
    struct Q {
        int id;
        HWND found;
    } q = {id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM lp) -> BOOL {
            Q* q = (Q*)lp;
            if (GetDlgCtrlID(h) != q->id) return TRUE;
            q->found = h;
            return FALSE;
        },
        (LPARAM)&q);
    if (!q.found) Fail("no control %d in \"%s\"", id, TextOf(parent).c_str());
    return q.found;
}

// A name the panel offers either as a list of the names used before or, with
// none used yet, as a plain edit.
HWND ItemEither(HWND parent, int list, int edit) {
    HWND found = nullptr;
    for (int id : {list, edit}) {
        EnumChildWindows(
            parent,
            [](HWND h, LPARAM lp) -> BOOL {
                HWND* f = (HWND*)lp;
                if (GetDlgCtrlID(h) != (int)(INT_PTR)*f) return TRUE;
                *f = h;
                return FALSE;
            },
            (LPARAM) & (found = (HWND)(INT_PTR)id));
        if (found && found != (HWND)(INT_PTR)id) return found;
        found = nullptr;
    }
    Fail("neither control %d nor %d in \"%s\"", list, edit, TextOf(parent).c_str());
}

HWND ChildOfClass(HWND parent, const char* cls) {
    struct Q {
        const char* cls;
        HWND found;
    } q = {cls, nullptr};
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM lp) -> BOOL {
            Q* q = (Q*)lp;
            if (ClassOf(h) != q->cls) return TRUE;
            q->found = h;
            return FALSE;
        },
        (LPARAM)&q);
    return q.found;
}

// A message box of the program: a dialog holding the static text 0xFFFF.
HWND MessageBoxOpen() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            if (!IsWindowVisible(h) || !OfProgram(h) || ClassOf(h) != "#32770") return TRUE;
            if (!GetDlgItem(h, 0xFFFF) || TextOf(h).empty()) return TRUE;
            *(HWND*)lp = h;
            return FALSE;
        },
        (LPARAM)&found);
    return found;
}

std::string BoxText(HWND box) { return TextOf(box) + ": " + TextOf(GetDlgItem(box, 0xFFFF)); }

// Polls `ready` until it gives a window; a message box nobody expected, the
// program's end or the time-out fails the journey.
HWND WaitFor(const char* what, const std::function<HWND()>& ready, bool boxesAllowed = false) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND h = ready()) return h;
        if (!boxesAllowed)
            if (HWND box = MessageBoxOpen())
                Fail("%s: unexpected message \"%s\"", what, BoxText(box).c_str());
        if (WaitForSingleObject(g_process, 0) == WAIT_OBJECT_0) Fail("%s: the program ended", what);
        if (GetTickCount() - start > kWait) Fail("%s: not within %lu ms", what, (unsigned long)kWait);
        Sleep(50);
    }
}

HWND WaitTop(const char* cls, const char* title = nullptr) {
    std::string what = std::string("window ") + cls + (title ? std::string(" \"") + title + "\"" : "");
    return WaitFor(what.c_str(), [=] { return Top(cls, title); });
}

// (A box being answered may still be on its way out: boxes are let be.)
void WaitGone(HWND h, const char* what) {
    WaitFor(
        what, [h]() -> HWND { return IsWindow(h) && IsWindowVisible(h) ? nullptr : h; }, true);
}

// Lets the program catch up: a message sent to each window's thread returns
// only after the posted ones before it are handled.
void Settle(HWND h) {
    DWORD_PTR r;
    SendMessageTimeoutA(h, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &r);
    Sleep(150);
}

// A window takes a command only once its modal dialogs are gone and it is
// enabled again.
void WaitReady(HWND h, const char* what) {
    WaitFor(what, [h]() -> HWND { return IsWindowEnabled(h) && !Top("oknoOkTrDowOkno") ? h : nullptr; });
    Settle(h);
}

// Answers the next message box with OK and returns its caption and text.
std::string AnswerBox(const char* what) {
    HWND box = WaitFor(what, MessageBoxOpen, true);
    std::string text = BoxText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitGone(box, what);
    return text;
}

void Command(HWND h, int id) { PostMessageA(h, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

// Types `text` into a control: an edit gets it as typing does (the old text
// selected and replaced, the edit marked modified, so that the window
// recomputes what depends on it); any other control gets its text set.
void SetText(HWND h, const char* text) {
    DWORD_PTR r = 0;
    if (ClassOf(h) == "Edit") {
        SendMessageTimeoutA(h, EM_SETSEL, 0, -1, SMTO_ABORTIFHUNG, 5000, &r);
        if (!SendMessageTimeoutA(h, EM_REPLACESEL, TRUE, (LPARAM)text, SMTO_ABORTIFHUNG, 5000, &r))
            Fail("cannot type \"%s\"", text);
        return;
    }
    if (!SendMessageTimeoutA(h, WM_SETTEXT, 0, (LPARAM)text, SMTO_ABORTIFHUNG, 5000, &r))
        Fail("cannot type \"%s\"", text);
}

// The window as it is on the screen, as a BMP file (24 bits).
void Shot(HWND h, const char* name) {
    if (g_shots.empty()) return;
    Settle(h);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    // Only what is on the screen can be read (a maximized window reaches
    // past its edges).
    RECT r, screenRect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    GetWindowRect(h, &r);
    IntersectRect(&r, &r, &screenRect);
    const int w = r.right - r.left, ht = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = ht;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, ht, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((DWORD)w * 3 + 3) & ~3u, size = stride * ht;
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + size;
    std::string path = g_shots + "\\" + name + ".bmp";
    if (FILE* f = fopen(path.c_str(), "wb")) {
        fwrite(&fh, sizeof fh, 1, f);
        fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f);
        fwrite(bits, 1, size, f);
        fclose(f);
        Say("picture: %s (%d x %d at %ld, %ld)", name, w, ht, r.left, r.top);
    } else {
        Fail("cannot write %s", path.c_str());
    }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

// ---- The list view of another process ------------------------------------------

// LVITEM and its text buffer live in the program's memory.
struct Remote {
    void* mem;
    Remote(size_t n) {
        mem = VirtualAllocEx(g_process, nullptr, n, MEM_COMMIT, PAGE_READWRITE);
        if (!mem) Fail("no memory in the program");
    }
    ~Remote() { VirtualFreeEx(g_process, mem, 0, MEM_RELEASE); }
};

std::string Cell(HWND list, int row, int column) {
    Remote r(sizeof(LVITEMA) + 512);
    char* text = (char*)r.mem + sizeof(LVITEMA);
    LVITEMA it = {};
    it.iSubItem = column;
    it.pszText = text;
    it.cchTextMax = 512;
    WriteProcessMemory(g_process, r.mem, &it, sizeof it, nullptr);
    SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)r.mem);
    char local[512] = "";
    ReadProcessMemory(g_process, text, local, sizeof local - 1, nullptr);
    return local;
}

void SelectOnly(HWND list, int row) {
    Remote r(sizeof(LVITEMA));
    const int n = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < n; i++) {
        LVITEMA it = {};
        it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        it.state = i == row ? LVIS_SELECTED | LVIS_FOCUSED : 0;
        WriteProcessMemory(g_process, r.mem, &it, sizeof it, nullptr);
        SendMessageA(list, LVM_SETITEMSTATE, i, (LPARAM)r.mem);
    }
}

// Shows page `page` of the order window's tabs by a click on its tab (the
// tab's rectangle asked for in the program's memory).
void ShowPage(HWND order, int page) {
    HWND tab = Item(order, kOrdTab);
    Remote r(sizeof(RECT));
    RECT rc = {};
    if (!SendMessageA(tab, TCM_GETITEMRECT, page, (LPARAM)r.mem)) Fail("no tab %d", page);
    ReadProcessMemory(g_process, r.mem, &rc, sizeof rc, nullptr);
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    PostMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(tab, WM_LBUTTONUP, 0, at);
    Settle(order);
}

// ---- The designer ------------------------------------------------------------------

// Where millimetre (X, Y) of a W x H window lies on the canvas: the frame
// fitted into the client area less a margin each side (50 pixels at 96
// dpi, scaled with the display), centred.
POINT CanvasPoint(HWND canvas, int W, int H, int X, int Y) {
    RECT c;
    GetClientRect(canvas, &c);
    HDC screen = GetDC(nullptr);
    const int margin = MulDiv(50, GetDeviceCaps(screen, LOGPIXELSY), 96);
    ReleaseDC(nullptr, screen);
    const double s =
        std::min((double)(c.right - c.left - 2 * margin) / W, (double)(c.bottom - c.top - 2 * margin) / H);
    POINT p;
    p.x = (LONG)((X - W / 2) * s + c.left + (c.right - c.left) / 2);
    p.y = (LONG)((Y - H / 2) * s + c.top + (c.bottom - c.top) / 2);
    return p;
}

void Click(HWND canvas, POINT p) {
    PostMessageA(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    PostMessageA(canvas, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    Settle(canvas);
}

void Drag(HWND canvas, POINT a, POINT b) {
    PostMessageA(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(a.x, a.y));
    PostMessageA(canvas, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(b.x, b.y));
    PostMessageA(canvas, WM_LBUTTONUP, 0, MAKELPARAM(b.x, b.y));
    Settle(canvas);
}

HWND Dialog(const char* title) {
    return WaitFor(title, [title] { return Top("#32770", title); });
}

struct WindowDesign {
    int width, height;
    const char* profile;
    const char* price;
    const char* glass;
};

// One window: a frame, a vertical mullion in its middle, a tilt & turn sash
// on each side and glass in both sashes, described and saved.
void DesignWindow(HWND order, const WindowDesign& d, bool shots) {
    WaitReady(order, "the order window");
    Command(order, kOrdWinAdd);
    HWND des = WaitTop("oknoOkTrDowOkno");
    HWND canvas = WaitFor("the canvas", [des]() -> HWND {
        HWND c = ChildOfClass(des, "obsProj");
        RECT r = {};
        if (c) GetClientRect(c, &r);
        return r.right > 200 && r.bottom > 200 ? c : nullptr;
    });
    Settle(des);
    const int W = d.width, H = d.height;

    Command(des, kDesFrame);
    Settle(des);
    Click(canvas, CanvasPoint(canvas, W, H, W / 2, H / 2));
    HWND dim = Dialog("Dimension of frame");
    char t[32];
    snprintf(t, sizeof t, "%d", W);
    SetText(GetDlgItem(dim, kFrameWidth), t);
    snprintf(t, sizeof t, "%d", H);
    SetText(GetDlgItem(dim, kFrameHeight), t);
    Command(dim, IDOK);
    WaitGone(dim, "the frame dialog");

    Command(des, kDesFixedMullion);
    Settle(des);
    Drag(canvas, CanvasPoint(canvas, W, H, W / 2, -20), CanvasPoint(canvas, W, H, W / 2, H + 20));

    Command(des, kDesTiltLeft);
    Settle(des);
    Click(canvas, CanvasPoint(canvas, W, H, W / 4, H / 2));
    Command(des, kDesTiltRight);
    Settle(des);
    Click(canvas, CanvasPoint(canvas, W, H, 3 * W / 4, H / 2));

    Command(des, kDesNewFilling);
    HWND fill = Dialog("New filling name");
    SetText(GetDlgItem(fill, kFillingName), d.glass);
    SendMessageA(GetDlgItem(fill, kFillingGlass), BM_SETCHECK, BST_CHECKED, 0);
    Command(fill, IDOK);
    WaitGone(fill, "the filling dialog");
    Click(canvas, CanvasPoint(canvas, W, H, W / 4, H / 2));
    Click(canvas, CanvasPoint(canvas, W, H, 3 * W / 4, H / 2));
    Command(des, kDesPointer);

    SetText(ItemEither(des, kPnlProfile - 1, kPnlProfile), d.profile);
    SetText(ItemEither(des, kPnlColor - 1, kPnlColor), "White");
    SetText(ItemEither(des, kPnlHardware - 1, kPnlHardware), "Standard hardware");
    SetText(ItemEither(des, kPnlBead - 1, kPnlBead), "Round bead");
    SetText(Item(des, kPnlNet), d.price);
    SetText(Item(des, kPnlNotes), "Two sashes on a fixed mullion");
    Settle(des);
    if (HWND box = MessageBoxOpen()) Fail("designer: \"%s\"", BoxText(box).c_str());
    if (shots) {
        Shot(des, "designer");
        // The in-place editor of a dimension: a click with the pointer on the
        // label of the left sash's width, found by walking down from the frame.
        HWND editor = nullptr;
        POINT p = CanvasPoint(canvas, W, H, W / 4, H);
        for (int dy = 4; dy < 60 && !editor; dy += 3) {
            Click(canvas, POINT{p.x, p.y + dy});
            HWND e = GetDlgItem(canvas, 10293);
            if (e && IsWindowVisible(e)) editor = e;
        }
        if (editor) {
            Shot(des, "dimension");
            PostMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 0);
            Settle(des);
        } else {
            Say("no dimension label found below the frame");
        }
        Command(des, kDesFactors);
        HWND f = WaitFor("the Factors dialog", [] { return Top("#32770", "Factors"); });
        Shot(f, "factors");
        Command(f, IDCANCEL);
        WaitGone(f, "the Factors dialog");
    }
    Command(des, kDesSave);
    WaitGone(des, "the designer after Save");
    Say("window: %d x %d mm, %s, price %s", W, H, d.profile, d.price);
}

void Start(int argc, char** argv) {
    std::string lnk, exe, cwd;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        if (a == "--lnk" && i + 1 < argc) lnk = argv[++i];
        else if (a == "--exe" && i + 1 < argc) exe = argv[++i];
        else if (a == "--cwd" && i + 1 < argc) cwd = argv[++i];
        else if (a == "--shots" && i + 1 < argc) g_shots = argv[++i];
        else if (a == "--no-print") g_print = false;
        else if (a == "--password" && i + 1 < argc) g_password = argv[++i];
        else if (a == "--server-steps") g_serverSteps = true;
        else if (a == "--wrong-password-first") g_wrongFirst = true;
        else if (a == "--start-fails") g_startFails = true;
        else if (a == "--cancel-login") g_cancelLogin = true;
        else if (a == "--start-only") g_startOnly = true;
        else Fail("unknown argument %s", a.c_str());
    }
    if (!lnk.empty()) {
        CoInitialize(nullptr);
        IShellLinkA* link = nullptr;
        IPersistFile* file = nullptr;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    (void**)&link)))
            Fail("no shell link object");
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, lnk.c_str(), -1, wide, MAX_PATH);
        if (FAILED(link->QueryInterface(IID_IPersistFile, (void**)&file)) ||
            FAILED(file->Load(wide, STGM_READ)))
            Fail("cannot read the shortcut %s", lnk.c_str());
        char path[MAX_PATH] = "", dir[MAX_PATH] = "";
        link->GetPath(path, MAX_PATH, nullptr, 0);
        link->GetWorkingDirectory(dir, MAX_PATH);
        file->Release();
        link->Release();
        exe = path;
        cwd = dir;
        Say("shortcut: target %s, working directory %s", path, dir);
    }
    if (exe.empty() || cwd.empty()) Fail("no program to start");
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string cmd = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, cwd.c_str(), &si, &pi))
        Fail("cannot start %s (error %lu)", exe.c_str(), GetLastError());
    CloseHandle(pi.hThread);
    g_process = pi.hProcess;
    g_pid = pi.dwProcessId;
}

// The row of the order `number` in the register; fails when it is not there.
int RowOf(HWND list, const std::string& number) {
    const int rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < rows; i++)
        if (Cell(list, i, 2) == number) return i;
    Fail("the order %s is not in the register (%d rows)", number.c_str(), rows);
}

// A box that may come: answered (Yes when it asks), its text; "" when none
// came within a few seconds.
std::string AnswerBoxIfAny() {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 3000) {
        if (HWND box = MessageBoxOpen()) {
            const std::string text = BoxText(box);
            PostMessageA(box, WM_COMMAND, GetDlgItem(box, IDYES) ? IDYES : IDOK, 0);
            WaitGone(box, "a message box");
            return text;
        }
        Sleep(50);
    }
    return "";
}

// The register on a server asks for the password first.
void LogIn() {
    HWND login = WaitFor("the login dialog", [] { return Top("#32770", "Login and password"); });
    Settle(login);
    if (g_wrongFirst) {
        SetText(GetDlgItem(login, 1205), "not-the-password");
        Command(login, IDOK);
        WaitGone(login, "the login dialog");
        Say("refused: %s", AnswerBox("the refusal").c_str());
        login = WaitFor("the login dialog again", [] { return Top("#32770", "Login and password"); });
        Settle(login);
    }
    Say("login dialog: login %s", TextOf(GetDlgItem(login, 1204)).c_str());
    Shot(login, "login");
    SetText(GetDlgItem(login, 1205), g_password.c_str());
    Command(login, IDOK);
    WaitGone(login, "the login dialog");
}

// What a second desk's day adds on a server: the order corrected, found by
// its number typed in lower case, and moved to status 3.
void ServerSteps(HWND main, HWND list, const std::string& number) {
    WaitReady(main, "the register");
    SelectOnly(list, RowOf(list, number));
    Command(main, kRegCorrect);
    HWND order = WaitTop("oknoZamowienia");
    WaitReady(order, "the order window in correction");
    SetText(Item(order, kGenSymbol), "Corrected");
    Command(order, kOrdSave);
    Say("corrected: %s", AnswerBoxIfAny().c_str());
    WaitGone(order, "the order window after the correction");

    WaitReady(main, "the register");
    Command(main, kRegSearch);
    HWND search = Dialog("Searched order's number");
    std::string typed = number;
    for (char& c : typed) c = (char)tolower((unsigned char)c);
    SetText(GetDlgItem(search, kSearchText), typed.c_str());
    Command(search, IDOK);
    order = WaitTop("oknoZamowienia");
    WaitReady(order, "the order found");
    Say("found: %s as %s", typed.c_str(), TextOf(Item(order, kOrdNumber)).c_str());
    Command(order, kOrdCancel);
    WaitGone(order, "the order found");

    WaitReady(main, "the register");
    Command(main, kRegAbout);
    HWND about = Dialog("About the program");
    Say("about: %s", TextOf(GetDlgItem(about, kAboutDatabase)).c_str());
    Shot(about, "about-server");
    Command(about, IDOK);
    WaitGone(about, "the about box");

    WaitReady(main, "the register");
    SelectOnly(list, RowOf(list, number));
    Command(main, kRegStatus3);
    const std::string asked = AnswerBoxIfAny();
    Settle(main);
    Say("status changed: %s%s", Cell(list, RowOf(list, number), 1).c_str(), asked.empty() ? "" : " (asked)");
}

// A start that cannot open its database: one error box, then the end.
void StartThatFails() {
    Say("start: %s", AnswerBox("the start's error").c_str());
    if (WaitForSingleObject(g_process, kWait) != WAIT_OBJECT_0) Fail("the program did not end");
    DWORD code = 0;
    GetExitCodeProcess(g_process, &code);
    Say("program ended: exit code %lu", (unsigned long)code);
}

// Waits for the program's end; a message box meanwhile fails the run.
void EndWithoutBox() {
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(g_process, 50) != WAIT_OBJECT_0) {
        if (HWND box = MessageBoxOpen()) Fail("unexpected message \"%s\"", BoxText(box).c_str());
        if (GetTickCount() - start > kWait) Fail("the program did not end");
    }
    DWORD code = 0;
    GetExitCodeProcess(g_process, &code);
    Say("program ended: exit code %lu", (unsigned long)code);
}

void Journey() {
    if (g_startFails) return StartThatFails();
    if (g_cancelLogin) {
        HWND login = WaitFor("the login dialog", [] { return Top("#32770", "Login and password"); });
        Settle(login);
        Command(login, IDCANCEL);
        Say("login cancelled");
        return EndWithoutBox();
    }
    if (g_startOnly) {
        HWND main = WaitTop("kelvaro");
        Settle(main);
        Say("register: %d orders", (int)SendMessageA(Item(main, kRegList), LVM_GETITEMCOUNT, 0, 0));
        Command(main, kCmdExit);
        return EndWithoutBox();
    }
    if (!g_password.empty()) LogIn();
    HWND main = WaitTop("kelvaro");
    HWND list = Item(main, kRegList);
    const int rowsBefore = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    Say("register: %d orders at the start", rowsBefore);
    if (!g_shots.empty()) {
        Command(main, kRegSettings);
        HWND set = WaitFor("the settings", [] { return Top("#32770", "Settings"); });
        Shot(set, "settings");
        Command(set, IDCANCEL);
        WaitGone(set, "the settings");
        Command(main, kRegPriceList);
        HWND prices = WaitFor("the price list", [] { return Top("#32770", "Price list"); });
        Shot(prices, "price-list");
        Command(prices, IDCANCEL);
        WaitGone(prices, "the price list");
    }
    if (!g_shots.empty()) {
        // Demo order 5 in preview, and its first window (two sashes beside a
        // mullion) in the designer.
        const int n = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
        int row = -1;
        for (int i = 0; i < n; i++)
            if (Cell(list, i, 2).rfind("5-", 0) == 0) row = i;
        if (row < 0) Fail("demo order 5 is not in the register");
        SelectOnly(list, row);
        WaitReady(main, "the register");
        Command(main, kRegPreview);
        HWND order = WaitTop("oknoZamowienia");
        WaitReady(order, "demo order 5");
        Shot(order, "order-5");
        HWND windows = Item(order, kOrdWindows);
        PostMessageA(windows, LB_SETCURSEL, 0, 0);
        Command(order, kOrdWinEdit);
        HWND des = WaitTop("oknoOkTrDowOkno");
        Settle(des);
        Shot(des, "designer-two-sashes");
        Shot(GetDlgItem(des, 10234), "designer-panel");  // the data panel with the price list's line
        PostMessageA(des, WM_CLOSE, 0, 0);
        WaitGone(des, "the designer of order 5");
        Command(order, kOrdCancel);
        WaitGone(order, "demo order 5");
    }

    // A new order: the buyer, two windows, one accessory.
    WaitReady(main, "the register");
    Command(main, kRegNew);
    HWND order = WaitTop("oknoZamowienia");
    const std::string number = TextOf(Item(order, kOrdNumber));
    SetText(Item(order, kGenBuyer), "Anna Kowalska");
    SetText(Item(order, kGenSymbol), "Journey");
    DesignWindow(order, {1200, 1400, "PVC 70 journey", "1500", "Glass 4/16/4"}, !g_shots.empty());
    DesignWindow(order, {900, 1100, "PVC 70 journey", "980.50", "Glass 4/16/4"}, false);

    WaitReady(order, "the order window");
    Command(order, kOrdAccAdd);
    HWND acc = Dialog("Accessory");
    HWND name = IsWindowVisible(GetDlgItem(acc, kAccNameCombo)) ? GetDlgItem(acc, kAccNameCombo)
                                                                : GetDlgItem(acc, kAccName);
    SetText(name, "Window sill");
    SetText(GetDlgItem(acc, kAccUnit), "pcs");
    SetText(GetDlgItem(acc, kAccPrice), "45.90");
    SetText(GetDlgItem(acc, kAccQuantity), "2");
    Shot(acc, "accessory");
    Command(acc, IDOK);
    WaitGone(acc, "the accessory dialog");
    Settle(order);
    Shot(order, "order");
    if (!g_shots.empty()) {
        const char* pages[] = {"order-valuation", "order-notes"};
        for (int i = 0; i < 2; i++) {
            ShowPage(order, i + 1);
            Shot(order, pages[i]);
        }
        ShowPage(order, 0);
    }
    Say("order window: net %s, gross %s", TextOf(Item(order, kOrdNet)).c_str(),
        TextOf(Item(order, kOrdGross)).c_str());

    WaitReady(order, "the order window");
    Command(order, kOrdSaveAsFirst);
    Say("saved: %s", AnswerBox("the save's message").c_str());
    WaitGone(order, "the order window after saving");
    Say("order number: %s", number.c_str());

    // The register lists it with its total.
    Settle(main);
    const int rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    int row = -1;
    for (int i = 0; i < rows; i++)
        if (Cell(list, i, 2) == number) row = i;
    if (row < 0) Fail("the order %s is not in the register (%d rows)", number.c_str(), rows);
    Say("register row: key %s, status %s, buyer %s, total %s, windows %s", Cell(list, row, 0).c_str(),
        Cell(list, row, 1).c_str(), Cell(list, row, 4).c_str(), Cell(list, row, 7).c_str(),
        Cell(list, row, 8).c_str());
    Say("register total: %s", Cell(list, row, 7).c_str());
    SelectOnly(list, row);
    Settle(main);
    Shot(main, "register");

    // Its preview, and the printout from the print preview.
    WaitReady(main, "the register");
    Command(main, kRegPreview);
    order = WaitTop("oknoZamowienia");
    WaitReady(order, "the order window in preview");
    Command(order, kOrdPrint);
    HWND preview = WaitTop("podgladDruk");
    Shot(preview, "preview");
    if (g_print) {
        Command(preview, kPrvPrint);
        HWND dlg = Dialog("Print");
        Say("print dialog: printer %s", TextOf(GetDlgItem(dlg, 0x473)).c_str());
        Command(dlg, IDOK);
        WaitGone(dlg, "the print dialog");
        Settle(preview);
        Sleep(500);
        if (HWND box = MessageBoxOpen()) Fail("printing: \"%s\"", BoxText(box).c_str());
        Say("printed");
    }
    if (IsWindow(preview) && IsWindowVisible(preview)) {
        Command(preview, kPrvClose);
        WaitGone(preview, "the print preview");
    }
    WaitReady(order, "the order window in preview");
    Command(order, kOrdCancel);
    WaitGone(order, "the order window");

    if (g_serverSteps) ServerSteps(main, list, number);

    WaitReady(main, "the register");
    Command(main, kCmdExit);
    if (WaitForSingleObject(g_process, kWait) != WAIT_OBJECT_0) Fail("the program did not end");
    DWORD code = 0;
    GetExitCodeProcess(g_process, &code);
    Say("program ended: exit code %lu", (unsigned long)code);
}

}  // namespace

int main(int argc, char** argv) {
    Start(argc, argv);
    Journey();
    return 0;
}
