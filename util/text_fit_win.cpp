// Text fitted into a box, with its whole text in a tooltip.
#include "util/text_fit_win.h"

#include <commctrl.h>

#include "util/scoped_win.h"

namespace {

const UINT kWrap = DT_WORDBREAK | DT_NOPREFIX;

int WrappedHeight(HDC dc, int width, const std::string& text) {
    RECT r = {0, 0, width, 0};
    DrawTextA(dc, text.c_str(), (int)text.size(), &r, DT_CALCRECT | kWrap);
    return r.bottom;
}

std::string Cut(const std::string& text, size_t at) {
    size_t end = at;
    while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == ',')) end--;
    return text.substr(0, end) + "...";
}

}  // namespace

std::string KvFitText(HDC dc, const RECT& box, const std::string& text) {
    const int width = box.right - box.left, height = box.bottom - box.top;
    if (WrappedHeight(dc, width, text) <= height) return text;
    // Longer starts only take more room: the first that overflows ends the
    // search. A first word that does not fit leaves the ellipsis alone.
    std::string best = "...";
    for (size_t at = 1; at < text.size(); at++) {
        if (text[at] != ' ') continue;
        std::string candidate = Cut(text, at);
        if (WrappedHeight(dc, width, candidate) > height) break;
        best.swap(candidate);
    }
    return best;
}

bool KvDrawFittedText(HDC dc, const RECT& box, const std::string& text) {
    const std::string shown = KvFitText(dc, box, text);
    RECT r = box;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, shown.c_str(), (int)shown.size(), &r, kWrap);
    SetBkMode(dc, oldMode);
    return shown.size() == text.size();
}

std::string KvWindowText(HWND control) {
    const int len = GetWindowTextLengthA(control);
    std::string text(len > 0 ? (size_t)len + 1 : 1, '\0');
    const int got = GetWindowTextA(control, &text[0], (int)text.size());
    text.resize(got > 0 ? (size_t)got : 0);
    return text;
}

HWND KvAddFullTextTip(HWND owner, HWND control) {
    HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               (HINSTANCE)GetWindowLongPtrA(owner, GWLP_HINSTANCE), nullptr);
    if (!tip) return nullptr;
    TOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = owner;
    ti.uId = (UINT_PTR)control;
    ti.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(tip, TTM_ADDTOOLA, 0, (LPARAM)&ti);
    // Wide enough for a few names a line, wrapped at words.
    RECT r;
    GetWindowRect(control, &r);
    SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, (LPARAM)(r.right - r.left) * 3 / 2);
    return tip;
}

bool KvAnswerFullTextTip(NMHDR* nm, HWND control, std::string* buffer) {
    if (nm->code != TTN_GETDISPINFOA) return false;
    NMTTDISPINFOA* di = (NMTTDISPINFOA*)nm;
    if (!(di->uFlags & TTF_IDISHWND) || (HWND)di->hdr.idFrom != control) return false;
    *buffer = KvWindowText(control);
    RECT box;
    GetClientRect(control, &box);
    ScopedWindowDC dc(control);
    bool cut = false;
    if (dc.get()) {
        ScopedSelect font(dc.get(), (HFONT)SendMessageA(control, WM_GETFONT, 0, 0));
        cut = KvFitText(dc.get(), box, *buffer).size() != buffer->size();
    }
    if (!cut) buffer->clear();
    di->lpszText = &(*buffer)[0];
    di->szText[0] = 0;
    di->hinst = nullptr;
    return true;
}
