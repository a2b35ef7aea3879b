// The page "Others": the printout's heading height.
#include <new>

#include "msgbox.h"
#include "page_util.h"
#include "pages.h"
#include "settings_rc.h"
#include "window_win.h"

namespace {

struct OthersPage {
    strUstUzytk* s;
};

void OnLoad(OthersPage* p, HWND dlg) { SetSpin(dlg, IDC_HEADING_SPIN, 0, 250, p->s->wysNaglDruk); }

void OnStore(OthersPage* p, HWND dlg) {
    if (!ReadSpinValue(dlg, IDC_HEADING, 0, 250, &p->s->wysNaglDruk))
        KvShowError(GetAncestor(dlg, GA_ROOT), "Wrong size of a printout heading");
}

BOOL OnInitDialog(OthersPage* p, HWND dlg) {
    SendDlgItemMessageA(dlg, IDC_HEADING, EM_LIMITTEXT, 3, 0);
    OnLoad(p, dlg);
    return FALSE;
}

INT_PTR CALLBACK OthersPageProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    OthersPage* p = KvDialogState<OthersPage>(dlg, msg, lp);
    if (!p) return FALSE;
    switch (msg) {
        case WM_INITDIALOG: return OnInitDialog(p, dlg);
        case UM_PAGE_LOAD: OnLoad(p, dlg); return TRUE;
        case UM_PAGE_STORE: OnStore(p, dlg); return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK) OnStore(p, dlg);
            return TRUE;
        case WM_NCDESTROY: DestroyPageState(p, dlg); return FALSE;
    }
    return FALSE;
}

}  // namespace

HWND CreateOthersPage(HWND parent, strUstUzytk* settings) {
    if (!settings) return nullptr;
    return CreatePageDialog(parent, IDD_PAGE_OTHERS, OthersPageProc,
                            new (std::nothrow) OthersPage{settings});
}
