#include "tests/win/testutil.h"

#include <commctrl.h>
#include <stdio.h>

#include <utility>

#include "util/dpi_win.h"
#include "util/kvutil.h"

void PumpMessages(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    do {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        Sleep(1);
    } while ((int)(GetTickCount() - end) < 0);
}

std::string ReadWholeFile(const std::string& path) {
    std::string s;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return s;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    fclose(f);
    return s;
}

std::string RunPoppler(const std::string& tool, const std::string& options, const std::string& pdf,
                       std::string* error, const std::string& suffix) {
    std::string unixPdf = pdf.substr(2);
    for (char& c : unixPdf) {
        if (c == '\\') c = '/';
    }
    static int n;
    char out[128];
    snprintf(out, sizeof out, "/tmp/kvpoppler-%lu-%d", GetCurrentProcessId(), ++n);
    std::string cmd = "Z:\\usr\\bin\\" + tool + " " + options + " \"" + unixPdf + "\" " + out;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        *error = tool + " could not be started (" + std::to_string(GetLastError()) + "): install poppler-utils";
        return "";
    }
    WaitForSingleObject(pi.hProcess, 20000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::string file = std::string("Z:") + out + suffix;
    for (char& c : file) {
        if (c == '/') c = '\\';
    }
    std::string text;
    for (int i = 0; i < 100 && text.empty(); i++) {  // the Unix child may end after our wait
        text = ReadWholeFile(file);
        if (text.empty()) Sleep(50);
    }
    DeleteFileA(file.c_str());
    if (text.empty()) *error = tool + " wrote nothing for " + unixPdf;
    return text;
}

std::string Dec(const char* text) {
    std::string s = text;
    for (char& c : s) {
        if (c == '.') c = DajSepDziesLocale();
    }
    return s;
}

std::string ListCell(HWND list, int row, int column) {
    char text[256] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
    return text;
}

namespace {

struct FitCheck {
    std::vector<std::string> out;
};

// The room a control leaves its text: a check box's or radio button's box,
// a group box's frame, a push button's edges.
SIZE TextRoom(HWND c, const char* cls, LONG style, int dpi) {
    RECT r;
    GetClientRect(c, &r);
    SIZE room = {r.right - r.left, r.bottom - r.top};
    if (lstrcmpiA(cls, "Button") != 0) return room;
    const LONG type = style & BS_TYPEMASK;
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
        type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE) {
        room.cx -= MulDiv(13 + 4, dpi, 96);
    } else if (type == BS_GROUPBOX) {
        room.cx -= MulDiv(2 * 8, dpi, 96);
    } else {
        room.cx -= 2 * GetSystemMetrics(SM_CXEDGE);
    }
    return room;
}

BOOL CALLBACK CheckOne(HWND c, LPARAM lp) {
    FitCheck* f = (FitCheck*)lp;
    if (!IsWindowVisible(c)) return TRUE;
    char cls[32] = "";
    GetClassNameA(c, cls, sizeof cls);
    const LONG style = GetWindowLongA(c, GWL_STYLE);
    const bool isStatic = lstrcmpiA(cls, "Static") == 0;
    if (!isStatic && lstrcmpiA(cls, "Button") != 0) return TRUE;
    if (isStatic && (style & SS_TYPEMASK) > SS_RIGHT) return TRUE;  // pictures and frames
    char text[512] = "";
    GetWindowTextA(c, text, sizeof text);
    if (!text[0]) return TRUE;
    HDC dc = GetDC(c);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(c, WM_GETFONT, 0, 0));
    // The widest line, without the mnemonic's ampersands.
    SIZE need = {0, 0};
    std::string line;
    auto measure = [&] {
        std::string shown;
        for (size_t i = 0; i < line.size(); i++) {
            if (line[i] == '&' && !(style & SS_NOPREFIX) && i + 1 < line.size()) i++;
            shown += line[i];
        }
        SIZE s = {0, 0};
        GetTextExtentPoint32A(dc, shown.c_str(), (int)shown.size(), &s);
        if (s.cx > need.cx) need.cx = s.cx;
        need.cy += s.cy;
        line.clear();
    };
    for (const char* p = text; *p; p++) {
        if (*p == '\r') continue;
        if (*p == '\n') measure();
        else line += *p;
    }
    measure();
    SelectObject(dc, old);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(c, dc);
    const SIZE room = TextRoom(c, cls, style, dpi);
    const bool wraps = isStatic && !(style & SS_LEFTNOWORDWRAP) && (style & SS_TYPEMASK) <= SS_RIGHT;
    bool fits = need.cx <= room.cx && need.cy <= room.cy;
    if (!fits && wraps && need.cx > room.cx) {
        // A wrapping static may take more lines if it has the height for them.
        const int lines = (need.cx + room.cx - 1) / (room.cx > 0 ? room.cx : 1);
        fits = room.cx > 0 && need.cy * lines <= room.cy;
    }
    if (!fits) {
        char d[640];
        snprintf(d, sizeof d, "id %d \"%s\": %ld x %ld in %ld x %ld", GetDlgCtrlID(c), text, need.cx, need.cy,
                 room.cx, room.cy);
        f->out.push_back(d);
    }
    return TRUE;
}

}  // namespace

std::vector<std::string> TextsThatDoNotFit(HWND parent) {
    FitCheck f;
    EnumChildWindows(parent, CheckOne, (LPARAM)&f);
    return f.out;
}

void PressKey(HWND window, HWND focus, WORD vk, bool ctrl, bool shift, bool alt) {
    SetForegroundWindow(window);
    if (focus) SetFocus(focus);
    INPUT in[8] = {};
    int n = 0;
    auto key = [&](WORD k, bool up) {
        in[n].type = INPUT_KEYBOARD;
        in[n].ki.wVk = k;
        in[n].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        n++;
    };
    if (ctrl) key(VK_CONTROL, false);
    if (alt) key(VK_MENU, false);
    if (shift) key(VK_SHIFT, false);
    key(vk, false);
    key(vk, true);
    if (shift) key(VK_SHIFT, true);
    if (alt) key(VK_MENU, true);
    if (ctrl) key(VK_CONTROL, true);
    SendInput((UINT)n, in, sizeof(INPUT));
}

int IconWidth(HICON icon) {
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info)) return 0;
    ScopedBitmap colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bm = {};
    GetObjectA(info.hbmMask, sizeof bm, &bm);
    return bm.bmWidth;
}

PsiSeen ReadPsi(const MemoryDC& dc, int x, int dpi) {
    PsiSeen seen;
    const DWORD back = dc.pixel(0, 0);
    const int row = KvScale(5, dpi);
    if (row >= dc.height()) return seen;
    std::vector<std::pair<int, int>> runs;  // first and last column, right to left
    for (int px = x - 1; px >= 0 && runs.size() < 4; px--) {
        if (dc.pixel(px, row) == back) continue;
        if (!runs.empty() && runs.back().first == px + 1) runs.back().first = px;
        else runs.push_back({px, px});
    }
    if (runs.size() < 3) return seen;
    const int stroke = runs[0].second - runs[0].first + 1;
    if (runs.size() == 3 && runs[1].second - runs[1].first + 1 == stroke &&
        runs[2].second - runs[2].first + 1 == stroke)
        seen.stroke = stroke;
    seen.width = runs[0].second - runs[2].first + 1;
    for (int y = row; y < dc.height() && dc.pixel(runs[1].first, y) != back; y++) seen.stemBottom = y;
    return seen;
}
