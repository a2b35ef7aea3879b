#include "ui/settings/seller_page.h"

#include <new>

#include "ui/settings/settings_page_util.h"
#include "ui/settings/settings_rc.h"
#include "widgora/widgora.h"

namespace {

struct SellerPage {
    strDaneUzytk* seller;  // the caller's block, edited in place
    int editable;          // 0: shown only (the order window)
};

void OnLoad(SellerPage* p, HWND dlg) {
    const strDaneUzytk* s = p->seller;
    SetFieldText(dlg, IDC_SELLER_NAME, s->nazwa, sizeof s->nazwa);
    SetFieldText(dlg, IDC_SELLER_ABBR, s->skrot, sizeof s->skrot);
    SetFieldText(dlg, IDC_SELLER_ADDRESS, s->adres, sizeof s->adres);
    SetFieldText(dlg, IDC_SELLER_OTHER, s->infDodat, sizeof s->infDodat);
}

void OnStore(SellerPage* p, HWND dlg) {
    // A page that only shows an order's seller must not rewrite the block.
    if (!p->editable) return;
    strDaneUzytk* s = p->seller;
    GetFieldText(dlg, IDC_SELLER_NAME, s->nazwa, sizeof s->nazwa);
    GetFieldText(dlg, IDC_SELLER_ABBR, s->skrot, sizeof s->skrot);
    GetFieldText(dlg, IDC_SELLER_ADDRESS, s->adres, sizeof s->adres);
    GetFieldText(dlg, IDC_SELLER_OTHER, s->infDodat, sizeof s->infDodat);
}

BOOL OnInitDialog(SellerPage* p, HWND dlg) {
    const strDaneUzytk& s = *p->seller;
    // The edits take no more than their fields hold.
    SendDlgItemMessageA(dlg, IDC_SELLER_NAME, EM_LIMITTEXT, sizeof s.nazwa - 1, 0);
    SendDlgItemMessageA(dlg, IDC_SELLER_ABBR, EM_LIMITTEXT, sizeof s.skrot - 1, 0);
    SendDlgItemMessageA(dlg, IDC_SELLER_ADDRESS, EM_LIMITTEXT, sizeof s.adres - 1, 0);
    SendDlgItemMessageA(dlg, IDC_SELLER_OTHER, EM_LIMITTEXT, sizeof s.infDodat - 1, 0);
    if (!p->editable) {
        AktDeaktKntrl(GetDlgItem(dlg, IDC_SELLER_NAME), 0);
        AktDeaktKntrl(GetDlgItem(dlg, IDC_SELLER_ADDRESS), 0);
        AktDeaktKntrl(GetDlgItem(dlg, IDC_SELLER_OTHER), 0);
        ShowWindow(GetDlgItem(dlg, IDC_SELLER_ABBR_LABEL), SW_HIDE);
        ShowWindow(GetDlgItem(dlg, IDC_SELLER_ABBR), SW_HIDE);
    }
    OnLoad(p, dlg);
    return FALSE;  // the owner decides where the focus goes
}

const KvPageHandlers<SellerPage> kHandlers = {OnInitDialog, OnLoad,  OnStore, nullptr, nullptr,
                                              nullptr,      nullptr, false,   false};

}  // namespace

HWND CreateSellerPage(HWND parent, strDaneUzytk* seller, int editable) {
    if (!seller) return nullptr;
    return CreatePageDialog(parent, IDD_PAGE_SELLER, KvPageProc<SellerPage, kHandlers>,
                            new (std::nothrow) SellerPage{seller, editable});
}
