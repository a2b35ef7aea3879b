// The settings dialog: a tab control over five pages, all created at the
// start so that OK can ask each of them to write its fields.
#include "ui/settings/settings_dialog.h"

#include <commctrl.h>

#include "ui/settings/seller_page.h"
#include "ui/settings/settings_page_util.h"
#include "ui/settings/settings_pages.h"
#include "ui/settings/settings_rc.h"
#include "util/help_win.h"
#include "util/keys_win.h"
#include "util/msgbox_win.h"
#include "util/window_win.h"

namespace {

const int kHelpTopic = 7;
enum { kPageCount = 5 };
const char* const kTabTexts[kPageCount] = {"Seller's details", "Defaults", "Default Uw rates",
                                           "Orders' statuses", "Others"};

struct SettingsDialog {
    strUstUzytk* s;  // the caller's copy
    HWND tab = nullptr;
    HWND pages[kPageCount] = {};
    int shown = 0;  // index of the visible page
};

HWND CreatePage(SettingsDialog* d, HWND dlg, int index) {
    strUstUzytk* s = d->s;
    switch (index) {
        case 0: return CreateSellerPage(dlg, &s->sDaneUzytk, 1);
        case 1: return CreateDefaultsPage(dlg, s);
        case 2: return CreateUwPage(dlg, &s->sWspUw);
        case 3: return CreateStatusesPage(dlg, s);
        default: return CreateOthersPage(dlg, s);
    }
}

// The rectangle under the tab headers, in the dialog's client coordinates.
RECT PageArea(SettingsDialog* d, HWND dlg) {
    RECT r;
    GetClientRect(d->tab, &r);
    TabCtrl_AdjustRect(d->tab, FALSE, &r);
    MapWindowPoints(d->tab, dlg, (POINT*)&r, 2);
    return r;
}

void ShowPage(SettingsDialog* d, int index) {
    if (index < 0 || index >= kPageCount) return;
    if (d->shown != index) ShowWindow(d->pages[d->shown], SW_HIDE);
    d->shown = index;
    HWND page = d->pages[index];
    ShowWindow(page, SW_SHOW);
    HWND first = GetNextDlgTabItem(page, nullptr, FALSE);
    SetFocus(first ? first : page);
}

void CloseDialog(SettingsDialog* d, HWND dlg, int result) {
    for (HWND& page : d->pages) {
        if (page) DestroyWindow(page);
        page = nullptr;
    }
    EndDialog(dlg, result);
}

void CmdOk(SettingsDialog* d, HWND dlg) {
    // Each page writes its fields; one whose entry is refused says so and
    // keeps the old value, and the dialog still closes with OK.
    for (HWND page : d->pages) SendMessageA(page, WM_COMMAND, IDOK, 0);
    CloseDialog(d, dlg, 1);
}

BOOL OnInitDialog(SettingsDialog* d, HWND dlg) {
    d->tab = GetDlgItem(dlg, IDC_SETTINGS_TAB);
    for (int i = 0; i < kPageCount; i++) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = (char*)kTabTexts[i];
        SendMessageA(d->tab, TCM_INSERTITEMA, i, (LPARAM)&item);
    }
    const RECT area = PageArea(d, dlg);
    for (int i = 0; i < kPageCount; i++) {
        d->pages[i] = CreatePage(d, dlg, i);
        if (!d->pages[i]) {
            KvShowError(dlg, "Error of creating the settings dialog");
            CloseDialog(d, dlg, 0);
            return FALSE;
        }
        // Above the tab control, which would otherwise paint over it.
        SetWindowPos(d->pages[i], HWND_TOP, area.left, area.top, area.right - area.left,
                     area.bottom - area.top, SWP_NOACTIVATE);
    }
    ShowPage(d, 0);
    KvTurnTabsWithKeys(dlg, d->tab);
    return FALSE;  // the focus is on the first page
}

void OnCommand(SettingsDialog* d, HWND dlg, int id) {
    switch (id) {
        case IDOK: CmdOk(d, dlg); return;
        case IDCANCEL: CloseDialog(d, dlg, 0); return;
        case IDC_SETTINGS_HELP: OpenHelp(dlg, kHelpTopic); return;
    }
}

BOOL OnNotify(SettingsDialog* d, const NMHDR* nm) {
    if (nm->idFrom == IDC_SETTINGS_TAB && nm->code == TCN_SELCHANGE) {
        ShowPage(d, (int)SendMessageA(d->tab, TCM_GETCURSEL, 0, 0));
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK SettingsDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    SettingsDialog* d = KvDialogState<SettingsDialog>(dlg, msg, lp);
    if (!d) return FALSE;
    switch (msg) {
        case WM_INITDIALOG: return OnInitDialog(d, dlg);
        case WM_COMMAND: OnCommand(d, dlg, LOWORD(wp)); return TRUE;
        case WM_NOTIFY: return OnNotify(d, (const NMHDR*)lp);
        case WM_HELP: OpenHelp(dlg, kHelpTopic); return TRUE;
    }
    return FALSE;
}

}  // namespace

int RunSettingsDialog(HWND owner, strUstUzytk* settings) {
    if (!settings) return 0;
    // The state lives on this stack for the whole modal run.
    SettingsDialog d;
    d.s = settings;
    INT_PTR r = DialogBoxParamA(PageInstance(), MAKEINTRESOURCEA(IDD_SETTINGS), owner, SettingsDialogProc,
                                (LPARAM)&d);
    return r == 1 ? 1 : 0;
}
