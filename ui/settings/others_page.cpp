// The page "Others": the printout's heading height.
#include <new>

#include "ui/settings/settings_page_util.h"
#include "ui/settings/settings_pages.h"
#include "ui/settings/settings_rc.h"
#include "util/msgbox_win.h"

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

const KvPageHandlers<OthersPage> kHandlers = {OnInitDialog, OnLoad,  OnStore, nullptr, nullptr,
                                              nullptr,      nullptr, false,   false};

}  // namespace

HWND CreateOthersPage(HWND parent, strUstUzytk* settings) {
    if (!settings) return nullptr;
    return CreatePageDialog(parent, IDD_PAGE_OTHERS, KvPageProc<OthersPage, kHandlers>,
                            new (std::nothrow) OthersPage{settings});
}
