// The page "Defaults": what every new order starts with.
#include <new>

#include <stdio.h>

#include "ui/settings/currencies.h"
#include "ui/settings/settings_page_util.h"
#include "ui/settings/settings_pages.h"
#include "ui/settings/settings_rc.h"
#include "util/msgbox_win.h"
#include "valuation/valuation.h"
#include "widgora/widgora.h"

namespace {

// The allowed decimal counts of the numeric edits: a price may end without
// decimals, a rate or a weight also with one.
const char kPriceDecimals[] = "0";
const char kRateDecimals[] = "01";
const int kRateEdits[] = {IDC_VAT_ASSEMBLY, IDC_VAT_WINDOWS, IDC_VAT_ACCESSORIES, IDC_WEIGHT};

// One of the two price groups: three radios (mode 0, 1, 2), the price edit
// and its unit label. The modes sit in the flags word at `shift`.
struct PriceGroup {
    int firstRadio;  // "without", then "price acc. a size", then "fixed price"
    int edit;
    int unit;
    int shift;            // 0 for assembly (modes 1, 2), 2 for disassembly (4, 8)
    const char* refusal;  // a price beyond what an order takes
};
const PriceGroup kAssembly = {IDC_ASM_NONE, IDC_ASM_PRICE, IDC_ASM_UNIT, 0,
                              "Wrong default price of assembly"};
const PriceGroup kDisassembly = {IDC_DIS_NONE, IDC_DIS_PRICE, IDC_DIS_UNIT, 2,
                                 "Wrong default price of disassembly"};

struct DefaultsPage {
    strUstUzytk* s;  // the caller's copy of the settings
};

// 0, 1 or 2 by the radio that is checked; -1 when none is.
int CheckedMode(HWND dlg, const PriceGroup& g) {
    for (int m = 0; m < 3; m++) {
        if (IsDlgButtonChecked(dlg, g.firstRadio + m) == BST_CHECKED) return m;
    }
    return -1;
}

const char* SelectedCurrency(HWND dlg) {
    return CurrencyCodeAt((int)SendDlgItemMessageA(dlg, IDC_CURRENCY, CB_GETCURSEL, 0, 0));
}

// Shows the price and its unit as the group's mode says: nothing without
// the service, a price per metre by size, a bare sum for a fixed price.
void ApplyMode(HWND dlg, const PriceGroup& g) {
    const int mode = CheckedMode(dlg, g);
    const int show = mode == 1 || mode == 2 ? SW_SHOW : SW_HIDE;
    ShowWindow(GetDlgItem(dlg, g.edit), show);
    ShowWindow(GetDlgItem(dlg, g.unit), show);
    if (show == SW_HIDE) return;
    char unit[16];
    snprintf(unit, sizeof unit, mode == 1 ? "%s/m" : "%s", SelectedCurrency(dlg));
    SetDlgItemTextA(dlg, g.unit, unit);
}

void SetFixedPointItem(HWND dlg, int id, int64_t hundredths) {
    char text[32];
    FixedPointText(hundredths, 100, 2, text);
    SetDlgItemTextA(dlg, id, text);
}

void LoadGroup(HWND dlg, const PriceGroup& g, int32_t flags, int64_t price) {
    const int mode = (flags >> g.shift) & 3;
    for (int m = 0; m < 3; m++) {
        CheckDlgButton(dlg, g.firstRadio + m, m == mode ? BST_CHECKED : BST_UNCHECKED);
    }
    SetFixedPointItem(dlg, g.edit, price);
}

void OnLoad(DefaultsPage* p, HWND dlg) {
    const strUstUzytk& s = *p->s;
    const strWycenZamParam& w = s.sWycenZamParam;
    // The currency first: the unit labels show its code.
    SendDlgItemMessageA(dlg, IDC_CURRENCY, CB_SETCURSEL, (WPARAM)s.idWalPrg, 0);
    LoadGroup(dlg, kAssembly, w.flagi, w.cenaMont);
    LoadGroup(dlg, kDisassembly, w.flagi, w.cenaDemont);
    ApplyMode(dlg, kAssembly);
    ApplyMode(dlg, kDisassembly);
    SetFixedPointItem(dlg, IDC_VAT_ASSEMBLY, w.vatMont);
    SetFixedPointItem(dlg, IDC_VAT_WINDOWS, w.vatOkna);
    SetFixedPointItem(dlg, IDC_VAT_ACCESSORIES, w.vatDodat);
    SetSpin(dlg, IDC_DISCOUNT_SPIN, 0, 100, w.rabat);
    SetSpin(dlg, IDC_FULFILMENT_SPIN, 0, 1000, s.czasReal);
    SetFixedPointItem(dlg, IDC_WEIGHT, s.waga);
}

// The mode bits and the price of one group; without the service the price
// is 0 whatever the hidden edit still holds. A price no order could take
// (beyond the highest a seller may type there) is refused and the old one
// stays.
void StoreGroup(HWND dlg, const PriceGroup& g, int32_t* flags, int64_t* price) {
    const int mode = CheckedMode(dlg, g);
    if (mode != 1 && mode != 2) {
        *price = 0;
        return;
    }
    *flags |= mode << g.shift;
    if (KvReadAmount(GetDlgItem(dlg, g.edit), 100, 0, kMaxEnteredPrice, price)) return;
    char text[256];
    PriceRefusalText(g.refusal, text, sizeof text);
    KvShowError(GetAncestor(dlg, GA_ROOT), text);
}

void OnStore(DefaultsPage* p, HWND dlg) {
    strUstUzytk& s = *p->s;
    strWycenZamParam& w = s.sWycenZamParam;
    HWND owner = GetAncestor(dlg, GA_ROOT);
    w.flagi = 0;
    StoreGroup(dlg, kAssembly, &w.flagi, &w.cenaMont);
    StoreGroup(dlg, kDisassembly, &w.flagi, &w.cenaDemont);
    KvReadAmount32(GetDlgItem(dlg, IDC_VAT_ASSEMBLY), 100, 0, INT32_MAX, &w.vatMont);
    KvReadAmount32(GetDlgItem(dlg, IDC_VAT_ACCESSORIES), 100, 0, INT32_MAX, &w.vatDodat);
    KvReadAmount32(GetDlgItem(dlg, IDC_VAT_WINDOWS), 100, 0, INT32_MAX, &w.vatOkna);
    if (!ReadSpinValue(dlg, IDC_DISCOUNT, 0, 100, &w.rabat)) KvShowError(owner, "Wrong buyer's discount");
    if (!ReadSpinValue(dlg, IDC_FULFILMENT, 0, 1000, &s.czasReal))
        KvShowError(owner, "Wrong default orders' fulfilment time");
    const int currency = (int)SendDlgItemMessageA(dlg, IDC_CURRENCY, CB_GETCURSEL, 0, 0);
    if (currency != CB_ERR) s.idWalPrg = currency;
    KvReadAmount32(GetDlgItem(dlg, IDC_WEIGHT), 100, 0, INT32_MAX, &s.waga);
}

void OnCommand(DefaultsPage*, HWND dlg, int id, int code) {
    if (id >= IDC_ASM_NONE && id <= IDC_ASM_FIXED && code == BN_CLICKED) {
        ApplyMode(dlg, kAssembly);
    } else if (id >= IDC_DIS_NONE && id <= IDC_DIS_FIXED && code == BN_CLICKED) {
        ApplyMode(dlg, kDisassembly);
    } else if (id == IDC_CURRENCY && code == CBN_SELCHANGE) {
        ApplyMode(dlg, kAssembly);
        ApplyMode(dlg, kDisassembly);
    }
}

BOOL OnInitDialog(DefaultsPage* p, HWND dlg) {
    ZalozPdklEdL2mPoPrzec(GetDlgItem(dlg, IDC_ASM_PRICE), kPriceDecimals);
    ZalozPdklEdL2mPoPrzec(GetDlgItem(dlg, IDC_DIS_PRICE), kPriceDecimals);
    for (int id : kRateEdits) {
        ZalozPdklEdL2mPoPrzec(GetDlgItem(dlg, id), kRateDecimals);
    }
    // Lengths whose every number fits its field: a price in 64-bit
    // hundredths (its bound is checked on OK), a rate or a weight in 32-bit
    // hundredths.
    SendDlgItemMessageA(dlg, IDC_ASM_PRICE, EM_LIMITTEXT, 16, 0);
    SendDlgItemMessageA(dlg, IDC_DIS_PRICE, EM_LIMITTEXT, 16, 0);
    for (int id : kRateEdits) {
        SendDlgItemMessageA(dlg, id, EM_LIMITTEXT, 7, 0);
    }
    SendDlgItemMessageA(dlg, IDC_DISCOUNT, EM_LIMITTEXT, 3, 0);
    SendDlgItemMessageA(dlg, IDC_FULFILMENT, EM_LIMITTEXT, 4, 0);
    FillCurrencyList(dlg, IDC_CURRENCY);
    OnLoad(p, dlg);
    return FALSE;
}

const KvPageHandlers<DefaultsPage> kHandlers = {OnInitDialog, OnLoad,  OnStore, OnCommand, nullptr,
                                                nullptr,      nullptr, false,   false};

}  // namespace

HWND CreateDefaultsPage(HWND parent, strUstUzytk* settings) {
    if (!settings) return nullptr;
    return CreatePageDialog(parent, IDD_PAGE_DEFAULTS, KvPageProc<DefaultsPage, kHandlers>,
                            new (std::nothrow) DefaultsPage{settings});
}
