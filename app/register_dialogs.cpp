// The small dialogs of the register of orders. Each keeps what it edits in
// a record of the caller's, attached at WM_INITDIALOG.
#include "app/register_dialogs.h"

#include <commctrl.h>
#include <limits.h>

#include <string>

#include "db/connection.h"
#include "db/server.h"
#include "resources/resource.h"
#include "util/help_win.h"
#include "util/kvutil.h"
#include "util/msgbox_win.h"
#include "util/window_win.h"

namespace {

// ---- Next order's number ------------------------------------------------------

struct NextNumberDialog {
    int32_t last;  // the last order number used so far
};

void OnInitNextNumber(NextNumberDialog* d, HWND dlg) {
    HWND spin = GetDlgItem(dlg, IDC_NEXT_NUMBER_SPIN);
    SendMessageA(spin, UDM_SETRANGE32, d->last + 1, INT_MAX);
    SendMessageA(spin, UDM_SETPOS32, 0, d->last + 1);
}

void OnNextNumberOk(NextNumberDialog* d, HWND dlg) {
    BOOL error = FALSE;
    int value = (int)SendDlgItemMessageA(dlg, IDC_NEXT_NUMBER_SPIN, UDM_GETPOS32, 0, (LPARAM)&error);
    if (error || value <= d->last) {
        KvShowError(dlg, "Wrong value in the field Next order's number");
        return;
    }
    EndDialog(dlg, value - 1);
}

bool OnNextNumberCommand(NextNumberDialog* d, HWND dlg, int id) {
    switch (id) {
        case IDOK: OnNextNumberOk(d, dlg); return true;
        case IDCANCEL: EndDialog(dlg, -1); return true;
        case IDC_HELP_BUTTON: OpenHelp(dlg, 8); return true;
    }
    return false;
}

INT_PTR CALLBACK NextNumberProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
    NextNumberDialog* d = KvDialogState<NextNumberDialog>(dlg, message, lParam);
    if (!d) return FALSE;
    switch (message) {
        case WM_INITDIALOG: OnInitNextNumber(d, dlg); return TRUE;
        case WM_COMMAND: return OnNextNumberCommand(d, dlg, LOWORD(wParam));
    }
    return FALSE;
}

// ---- Search -------------------------------------------------------------------

struct SearchDialog {
    char* text;  // 65 bytes of the caller's
};

void OnSearchOk(SearchDialog* d, HWND dlg) {
    GetDlgItemTextA(dlg, IDC_SEARCH_TEXT, d->text, 65);
    mojLtrim(d->text);
    mojPtrim(d->text);
    EndDialog(dlg, IDOK);
}

bool OnSearchCommand(SearchDialog* d, HWND dlg, int id) {
    switch (id) {
        case IDOK: OnSearchOk(d, dlg); return true;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); return true;
    }
    return false;
}

INT_PTR CALLBACK SearchProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
    SearchDialog* d = KvDialogState<SearchDialog>(dlg, message, lParam);
    if (!d) return FALSE;
    switch (message) {
        case WM_INITDIALOG: SendDlgItemMessageA(dlg, IDC_SEARCH_TEXT, EM_LIMITTEXT, 64, 0); return TRUE;
        case WM_COMMAND: return OnSearchCommand(d, dlg, LOWORD(wParam));
    }
    return FALSE;
}

// ---- About --------------------------------------------------------------------

// On a server the box tells which database the program works on: one line
// more under the others, the dialog grown to hold it.
void AddDatabaseLine(HWND dlg) {
    const std::string server = ServerDescription();
    if (server.empty()) return;
    RECT line = {44, 76, 194, 86};
    MapDialogRect(dlg, &line);
    const std::string text = "Database: " + server;
    HWND label = CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                 line.left, line.top, line.right - line.left, line.bottom - line.top, dlg,
                                 (HMENU)(INT_PTR)IDC_ABOUT_DATABASE, nullptr, nullptr);
    SendMessageA(label, WM_SETFONT, SendMessageA(dlg, WM_GETFONT, 0, 0), FALSE);
    RECT grow = {0, 0, 0, 12};
    MapDialogRect(dlg, &grow);
    RECT box;
    GetWindowRect(dlg, &box);
    SetWindowPos(dlg, nullptr, 0, 0, box.right - box.left, box.bottom - box.top + grow.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK AboutProc(HWND dlg, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemTextA(dlg, IDC_ABOUT_VERSION, DajWersje(kVersionTag));
            AddDatabaseLine(dlg);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
            EndDialog(dlg, IDOK);
            return TRUE;
    }
    return FALSE;
}

}  // namespace

int64_t AskNextOrderNumber(HINSTANCE instance, HWND owner, int32_t lastNumber) {
    NextNumberDialog d = {lastNumber};
    INT_PTR last =
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_NEXT_NUMBER), owner, NextNumberProc, (LPARAM)&d);
    return last < 0 ? -1 : (int64_t)last;
}

bool AskSearchText(HINSTANCE instance, HWND owner, char text[65]) {
    SearchDialog d = {text};
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SEARCH), owner, SearchProc, (LPARAM)&d) == IDOK;
}

void ShowAboutBox(HINSTANCE instance, HWND owner) {
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutProc, 0);
}
