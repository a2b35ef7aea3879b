// The helpers of the drivers: finding the program's windows from another
// process, waiting for them, typing into them and reading them back.
#include "tests/journey/driver.h"

#include <commctrl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

DWORD g_pid;
HANDLE g_process;
std::string g_shots;

void Say(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    vprintf(fmt, ap);
    va_end(ap);
    printf("\n");
    fflush(stdout);
}

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
HWND Top(const char* cls, const char* title) {
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
HWND WaitFor(const char* what, const std::function<HWND()>& ready, bool boxesAllowed) {
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

HWND WaitTop(const char* cls, const char* title) {
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


HWND Dialog(const char* title) {
    return WaitFor(title, [title] { return Top("#32770", title); });
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

void StartProgram(const std::string& exe, const std::string& cwd) {
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

void AddAccessory(HWND order, const char* quantity, const char* shot) {
    Command(order, kOrdAccAdd);
    HWND acc = Dialog("Accessory");
    HWND name = IsWindowVisible(GetDlgItem(acc, kAccNameCombo)) ? GetDlgItem(acc, kAccNameCombo)
                                                                : GetDlgItem(acc, kAccName);
    SetText(name, "Window sill");
    SetText(GetDlgItem(acc, kAccUnit), "pcs");
    SetText(GetDlgItem(acc, kAccPrice), "45.90");
    SetText(GetDlgItem(acc, kAccQuantity), quantity);
    if (shot) Shot(acc, shot);
    Command(acc, IDOK);
    WaitGone(acc, "the accessory dialog");
}
