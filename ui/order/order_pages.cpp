// The order window's tab pages of its own: General, Valuation and Notes.
// Each is a modeless child dialog of the tab control, filled on
// UM_PAGE_LOAD, written back on UM_PAGE_STORE and switched by UM_PAGE_ENABLE.
#include <stdio.h>
#include <initializer_list>
#include <string.h>

#include "db/names.h"
#include "ui/order/order_rc.h"
#include "ui/order/order_window_internal.h"
#include "ui/settings/currencies.h"
#include "ui/settings/settings_page_util.h"
#include "util/amounttext.h"
#include "util/kvutil.h"
#include "util/msgbox_win.h"
#include "util/tab_pages_win.h"
#include "valuation/valuation.h"

static_assert(UM_PAGE_LOAD == kUmPageLoad && UM_PAGE_STORE == kUmPageStore && UM_PAGE_ENABLE == kUmPageEnable,
              "the order pages answer the page messages");

namespace {

// Set on an up-down when its arrow was used, so that the change of its
// buddy's text counts as the user's.
const char kArrowMarker[] = "KvArrowUsed";

// The change of an edit's text is the user's when it was typed or came from
// the arrow of `spin` (may be null); either mark is cleared.
bool UserChanged(HWND dlg, int editId, int spinId) {
    HWND edit = GetDlgItem(dlg, editId);
    bool typed = SendMessageA(edit, EM_GETMODIFY, 0, 0) != 0;
    bool arrow = false;
    if (spinId) {
        HWND spin = GetDlgItem(dlg, spinId);
        arrow = RemovePropA(spin, kArrowMarker) != nullptr;
    }
    SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
    return typed || arrow;
}

void MarkArrow(const NMHDR* nm) {
    if (nm->code == UDN_DELTAPOS) SetPropA(nm->hwndFrom, kArrowMarker, (HANDLE)1);
}

void Switch(HWND dlg, int id, int enable) { AktDeaktKntrl(GetDlgItem(dlg, id), enable); }

void ShowItem(HWND dlg, int id, bool show) { ShowWindow(GetDlgItem(dlg, id), show ? SW_SHOW : SW_HIDE); }

// Hundredths as text with the decimals cut to the allowed counts.
void SetHundredths(HWND dlg, int id, int64_t value, const char* allowed) {
    char text[KV_AMOUNT_LEN + 8];
    DajNapKwotaZl(value, text);
    DopasujCzDzies(text, 2, allowed);
    SetDlgItemTextA(dlg, id, text);
}

// A price typed into a price edit: false, and *price untouched, when it
// is beyond the largest price a seller may type.
bool ReadPrice(HWND dlg, int id, int64_t* price) { return KvReadAmount(GetDlgItem(dlg, id), 100, 0, kMaxEnteredPrice, price); }

// The order window, the page's grandparent (the page sits in the tab control).
void Recompute(OrderPage* p, HWND dlg, uint32_t mask) {
    SendMessageA(dlg, UM_PAGE_STORE, 0, 0);
    RecomputeOrder(p->z, mask);
    SendMessageA(p->orderWnd, UM_SHOW_TOTALS, 0, 0);
}

// ---- General -----------------------------------------------------------------

bool PickerDate(HWND dlg, int id, char text[KV_DATA_LEN]) {
    SYSTEMTIME st = {};
    if (SendDlgItemMessageA(dlg, id, DTM_GETSYSTEMTIME, 0, (LPARAM)&st) != GDT_VALID) return false;
    StDataNaNap((const KvTime*)&st, text);
    return true;
}

void SetPickerDate(HWND dlg, int id, const char* text) {
    KvTime t = {};
    NapNaStData(text, &t);
    SendDlgItemMessageA(dlg, id, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&t);
}

// The fulfilment date may not come before the order date.
void LimitFulfilment(HWND dlg, const char* orderDate) {
    SYSTEMTIME range[2] = {};
    NapNaStData(orderDate, (KvTime*)&range[0]);
    SendDlgItemMessageA(dlg, IDC_GEN_DATE_REAL, DTM_SETRANGE, GDTR_MIN, (LPARAM)range);
}

void ShowDays(OrderPage* p, HWND dlg) {
    char order[KV_DATA_LEN], real[KV_DATA_LEN];
    if (!PickerDate(dlg, IDC_GEN_DATE, order) || !PickerDate(dlg, IDC_GEN_DATE_REAL, real)) return;
    const bool was = p->loading;
    p->loading = true;
    SendDlgItemMessageA(dlg, IDC_GEN_DAYS_SPIN, UDM_SETPOS32, 0, (LPARAM)RoznicaDatNap(real, order));
    p->loading = was;
}

void GeneralLoad(OrderPage* p, HWND dlg) {
    const strZam& o = p->z->zam;
    p->loading = true;
    SetPickerDate(dlg, IDC_GEN_DATE, o.dataZam);
    LimitFulfilment(dlg, o.dataZam);
    SetPickerDate(dlg, IDC_GEN_DATE_REAL, o.dataReal);
    SendDlgItemMessageA(dlg, IDC_GEN_DAYS_SPIN, UDM_SETPOS32, 0,
                        (LPARAM)RoznicaDatNap(o.dataReal, o.dataZam));
    SetDlgItemTextA(dlg, IDC_GEN_SYMBOL, o.dodOznaczZam);
    SetDlgItemTextA(dlg, IDC_GEN_BUYER, o.nazwaNabyw);
    SetDlgItemTextA(dlg, IDC_GEN_ADDRESS, o.adresNabyw);
    SetDlgItemTextA(dlg, IDC_GEN_INFO, o.infDodatNabyw);
    p->loading = false;
}

void GeneralStore(OrderPage* p, HWND dlg) {
    strZam& o = p->z->zam;
    PickerDate(dlg, IDC_GEN_DATE, o.dataZam);
    PickerDate(dlg, IDC_GEN_DATE_REAL, o.dataReal);
    GetDlgItemTextA(dlg, IDC_GEN_SYMBOL, o.dodOznaczZam, sizeof o.dodOznaczZam);
    GetDlgItemTextA(dlg, IDC_GEN_BUYER, o.nazwaNabyw, sizeof o.nazwaNabyw);
    GetDlgItemTextA(dlg, IDC_GEN_ADDRESS, o.adresNabyw, sizeof o.adresNabyw);
    GetDlgItemTextA(dlg, IDC_GEN_INFO, o.infDodatNabyw, sizeof o.infDodatNabyw);
}

void OnOrderDateChanged(OrderPage* p, HWND dlg) {
    char order[KV_DATA_LEN];
    if (!PickerDate(dlg, IDC_GEN_DATE, order)) return;
    LimitFulfilment(dlg, order);
    ShowDays(p, dlg);
}

void OnDaysChanged(OrderPage* p, HWND dlg) {
    if (!UserChanged(dlg, IDC_GEN_DAYS, IDC_GEN_DAYS_SPIN) || p->loading) return;
    BOOL error = FALSE;
    int days = (int)SendDlgItemMessageA(dlg, IDC_GEN_DAYS_SPIN, UDM_GETPOS32, 0, (LPARAM)&error);
    char date[KV_DATA_LEN];
    if (error || !PickerDate(dlg, IDC_GEN_DATE, date)) return;
    if (DodajDniDoDataNap(date, days)) SetPickerDate(dlg, IDC_GEN_DATE_REAL, date);
}

void GeneralEnable(OrderPage*, HWND dlg, int enable) {
    for (int id = IDC_GEN_DATE; id <= IDC_GEN_DAYS_SPIN; id++) Switch(dlg, id, enable);
    for (int id = IDC_GEN_SYMBOL; id <= IDC_GEN_INFO; id++) Switch(dlg, id, enable);
}

BOOL GeneralInit(OrderPage*, HWND dlg) {
    SendDlgItemMessageA(dlg, IDC_GEN_DAYS_SPIN, UDM_SETRANGE32, 0, 10000);
    SendDlgItemMessageA(dlg, IDC_GEN_SYMBOL, EM_LIMITTEXT, 31, 0);
    SendDlgItemMessageA(dlg, IDC_GEN_BUYER, EM_LIMITTEXT, 255, 0);
    SendDlgItemMessageA(dlg, IDC_GEN_ADDRESS, EM_LIMITTEXT, 255, 0);
    SendDlgItemMessageA(dlg, IDC_GEN_INFO, EM_LIMITTEXT, 1023, 0);
    return FALSE;
}

void GeneralNotify(OrderPage* p, HWND dlg, const NMHDR* nm) {
    if (nm->code == DTN_DATETIMECHANGE && !p->loading) {
        if (nm->idFrom == IDC_GEN_DATE) OnOrderDateChanged(p, dlg);
        else if (nm->idFrom == IDC_GEN_DATE_REAL) ShowDays(p, dlg);
    } else if (nm->idFrom == IDC_GEN_DAYS_SPIN) {
        MarkArrow(nm);
    }
}

// ---- Valuation ---------------------------------------------------------------

// Assembly and disassembly have the same controls 8 apart.
struct Fitting {
    int none, size, fixed, price;  // radio buttons and the price edit
    int32_t mask;                  // bits of the flags word
    int32_t bySize, fixedPrice;    // their values
    uint32_t recompute;
    const char* refusal;  // the message of a price beyond the highest
};
const Fitting kAssembly = {
    IDC_VAL_ASSEMBLY_NONE, IDC_VAL_ASSEMBLY_SIZE,        IDC_VAL_ASSEMBLY_FIXED, IDC_VAL_ASSEMBLY_PRICE, kAssemblyMask, 1, 2,
    kRecomputeAssemblyPrice,      "Wrong price of assembly"};
const Fitting kDisassembly = {IDC_VAL_DISASSEMBLY_NONE,
                              IDC_VAL_DISASSEMBLY_SIZE,
                              IDC_VAL_DISASSEMBLY_FIXED,
                              IDC_VAL_DISASSEMBLY_PRICE,
                              kDisassemblyMask,
                              4,
                              8,
                              kRecomputeDisassemblyPrice,
                              "Wrong price of disassembly"};

// The rates and the weight: hundredths kept in 32 bits, so their edits take
// as many characters as the settings' edits of the same fields.
struct RateField {
    int id;
    const char* refusal;
};
const RateField kRates[] = {{IDC_VAL_VAT_ASSEMBLY, "Wrong VAT rate of assembly and disassembly"},
                            {IDC_VAL_VAT_WINDOWS, "Wrong VAT rate of windows"},
                            {IDC_VAL_VAT_ACC, "Wrong VAT rate of accessories"},
                            {IDC_VAL_WEIGHT, "Wrong weight of window"}};
const int kRateLength = 7;  // characters: every such number fits 32 bits
const int kPriceLength = 16;

// The price, its unit, the cost caption, the cost and its currency show
// only with a price mode.
void ShowPriceOf(HWND dlg, const Fitting& f, bool show) {
    for (int id = f.price; id <= f.price + 4; id++) ShowItem(dlg, id, show);
}

void CheckMode(HWND dlg, const Fitting& f, int chosen) {
    CheckRadioButton(dlg, f.none, f.fixed, chosen);
    ShowPriceOf(dlg, f, chosen != f.none);
}

void LoadFitting(HWND dlg, const Fitting& f, int32_t flags, int64_t price) {
    const int32_t mode = flags & f.mask;
    const int chosen = mode == f.bySize ? f.size : mode == f.fixedPrice ? f.fixed : f.none;
    CheckMode(dlg, f, chosen);
    if (chosen != f.none) SetHundredths(dlg, f.price, price, "0");
    else SetDlgItemTextA(dlg, f.price, "");
}

// The mode bits and the price; false when the typed price is not one (the
// stored price stays).
bool StoreFitting(HWND dlg, const Fitting& f, int32_t* flags, int64_t* price) {
    if (IsDlgButtonChecked(dlg, f.size) == BST_CHECKED) {
        *flags |= f.bySize;
    } else if (IsDlgButtonChecked(dlg, f.fixed) == BST_CHECKED) {
        *flags |= f.fixedPrice;
    } else {
        *price = 0;
        return true;
    }
    return ReadPrice(dlg, f.price, price);
}

void ValuationLoad(OrderPage* p, HWND dlg) {
    const strZam& o = p->z->zam;
    const strWycenZamParam& v = o.sWycenZamParam;
    p->loading = true;
    LoadFitting(dlg, kAssembly, v.flagi, v.cenaMont);
    LoadFitting(dlg, kDisassembly, v.flagi, v.cenaDemont);
    SendDlgItemMessageA(dlg, IDC_VAL_DISCOUNT_SPIN, UDM_SETPOS32, 0, v.rabat);
    SetHundredths(dlg, IDC_VAL_VAT_ASSEMBLY, v.vatMont, "01");
    SetHundredths(dlg, IDC_VAL_VAT_WINDOWS, v.vatOkna, "01");
    SetHundredths(dlg, IDC_VAL_VAT_ACC, v.vatDodat, "01");
    SetHundredths(dlg, IDC_VAL_WEIGHT, o.waga, "01");
    SendDlgItemMessageA(dlg, IDC_VAL_CURRENCY, CB_SETCURSEL, o.idWalZam, 0);
    p->loading = false;
}

// Writes the page into the order. A number that does not fit its field is
// not stored (the field keeps its value); the first such field's refusal
// goes into p->refused for Save to show, or null when all were taken.
void ValuationStore(OrderPage* p, HWND dlg) {
    strZam& o = p->z->zam;
    strWycenZamParam& v = o.sWycenZamParam;
    p->refused = nullptr;
    // The first refusal is the one Save shows.
    auto Refuse = [p](const char* text) {
        if (p->refused) return;
        snprintf(p->refusal, sizeof p->refusal, "%s", text);
        p->refused = p->refusal;
    };
    // The word holds only the two modes: it is rebuilt from the buttons.
    v.flagi = 0;
    for (const Fitting* f : {&kAssembly, &kDisassembly}) {
        int64_t* price = f == &kAssembly ? &v.cenaMont : &v.cenaDemont;
        if (StoreFitting(dlg, *f, &v.flagi, price)) continue;
        char text[sizeof p->refusal];
        PriceRefusalText(f->refusal, text, sizeof text);
        Refuse(text);
    }
    int32_t* const rates[] = {&v.vatMont, &v.vatOkna, &v.vatDodat, &o.waga};
    for (int i = 0; i < 4; i++) {
        if (!KvReadAmount32(GetDlgItem(dlg, kRates[i].id), 100, 0, INT32_MAX, rates[i])) Refuse(kRates[i].refusal);
    }
    BOOL error = FALSE;
    int discount = (int)SendDlgItemMessageA(dlg, IDC_VAL_DISCOUNT_SPIN, UDM_GETPOS32, 0, (LPARAM)&error);
    if (error) KvShowError(dlg, "Wrong buyer's discount");
    else v.rabat = discount;
    int currency = (int)SendDlgItemMessageA(dlg, IDC_VAL_CURRENCY, CB_GETCURSEL, 0, 0);
    if (currency >= 0 && currency < kCurrencyCount) o.idWalZam = currency;
}

BOOL ValuationInit(OrderPage*, HWND dlg) {
    ZalozPdklEdL2mPoPrzec(GetDlgItem(dlg, IDC_VAL_ASSEMBLY_PRICE), "0");
    ZalozPdklEdL2mPoPrzec(GetDlgItem(dlg, IDC_VAL_DISASSEMBLY_PRICE), "0");
    for (const RateField& r : kRates) {
        ZalozPdklEdL2mPoPrzec(GetDlgItem(dlg, r.id), "01");
        SendDlgItemMessageA(dlg, r.id, EM_LIMITTEXT, kRateLength, 0);
    }
    SendDlgItemMessageA(dlg, IDC_VAL_ASSEMBLY_PRICE, EM_LIMITTEXT, kPriceLength, 0);
    SendDlgItemMessageA(dlg, IDC_VAL_DISASSEMBLY_PRICE, EM_LIMITTEXT, kPriceLength, 0);
    SendDlgItemMessageA(dlg, IDC_VAL_DISCOUNT_SPIN, UDM_SETRANGE32, 0, 100);
    FillCurrencyList(dlg, IDC_VAL_CURRENCY);
    return FALSE;
}

void OnFittingClicked(OrderPage* p, HWND dlg, const Fitting& f, int id) {
    CheckMode(dlg, f, id);
    if (!p->loading) Recompute(p, dlg, f.recompute);
}

// A typed change of a rate or a price recomputes what depends on it.
void OnValuationEdit(OrderPage* p, HWND dlg, int id, int spinId, uint32_t mask) {
    if (!UserChanged(dlg, id, spinId) || p->loading) return;
    Recompute(p, dlg, mask);
}

void ValuationCommand(OrderPage* p, HWND dlg, int id, int code) {
    if (code == BN_CLICKED && id >= kAssembly.none && id <= kAssembly.fixed) {
        OnFittingClicked(p, dlg, kAssembly, id);
    } else if (code == BN_CLICKED && id >= kDisassembly.none && id <= kDisassembly.fixed) {
        OnFittingClicked(p, dlg, kDisassembly, id);
    } else if (code == EN_CHANGE) {
        switch (id) {
            case IDC_VAL_ASSEMBLY_PRICE: OnValuationEdit(p, dlg, id, 0, kRecomputeAssemblyPrice); break;
            case IDC_VAL_DISASSEMBLY_PRICE: OnValuationEdit(p, dlg, id, 0, kRecomputeDisassemblyPrice); break;
            case IDC_VAL_VAT_ASSEMBLY: OnValuationEdit(p, dlg, id, 0, kRecomputeAssemblyVat); break;
            case IDC_VAL_VAT_WINDOWS: OnValuationEdit(p, dlg, id, 0, kRecomputeWindowsVat); break;
            case IDC_VAL_VAT_ACC: OnValuationEdit(p, dlg, id, 0, kRecomputeAccessoriesVat); break;
            case IDC_VAL_DISCOUNT: OnValuationEdit(p, dlg, id, IDC_VAL_DISCOUNT_SPIN, kRecomputeDiscount); break;
        }
    } else if (code == CBN_SELCHANGE && id == IDC_VAL_CURRENCY && !p->loading) {
        Recompute(p, dlg, kRecomputeAll);
    }
}

void ValuationEnable(OrderPage*, HWND dlg, int enable) {
    const int ids[] = {IDC_VAL_ASSEMBLY_NONE,   IDC_VAL_ASSEMBLY_SIZE,     IDC_VAL_ASSEMBLY_FIXED,   IDC_VAL_ASSEMBLY_PRICE,
                       IDC_VAL_DISASSEMBLY_NONE, IDC_VAL_DISASSEMBLY_SIZE,   IDC_VAL_DISASSEMBLY_FIXED, IDC_VAL_DISASSEMBLY_PRICE,
                       IDC_VAL_DISCOUNT,    IDC_VAL_DISCOUNT_SPIN, IDC_VAL_VAT_ASSEMBLY,     IDC_VAL_VAT_WINDOWS,
                       IDC_VAL_VAT_ACC,     IDC_VAL_CURRENCY,      IDC_VAL_WEIGHT};
    for (int id : ids) Switch(dlg, id, enable);
}

void GeneralCommand(OrderPage* p, HWND dlg, int id, int code) {
    if (id == IDC_GEN_DAYS && code == EN_CHANGE) OnDaysChanged(p, dlg);
    else if (id == IDC_GEN_BUYER && code == EN_CHANGE && !p->loading) OfferBuyers(p->orderWnd, dlg);
}

void ValuationNotify(OrderPage*, HWND, const NMHDR* nm) {
    if (nm->idFrom == IDC_VAL_DISCOUNT_SPIN) MarkArrow(nm);
}

BOOL NotesInit(OrderPage* p, HWND dlg) {
    SendDlgItemMessageA(dlg, IDC_NOTES_TEXT, EM_LIMITTEXT, sizeof p->z->zam.uwagi - 1, 0);
    return FALSE;
}
void NotesLoad(OrderPage* p, HWND dlg) { SetDlgItemTextA(dlg, IDC_NOTES_TEXT, p->z->zam.uwagi); }
void NotesStore(OrderPage* p, HWND dlg) {
    GetDlgItemTextA(dlg, IDC_NOTES_TEXT, p->z->zam.uwagi, sizeof p->z->zam.uwagi);
}
void NotesEnable(OrderPage*, HWND dlg, int enable) { Switch(dlg, IDC_NOTES_TEXT, enable); }

// The order window keeps the pages' states; Enter in a page stores nothing.
const KvPageHandlers<OrderPage> kGeneral = {GeneralInit,    GeneralLoad, GeneralStore,
                                            GeneralCommand, nullptr,     GeneralEnable,
                                            GeneralNotify,  true,        true};
const KvPageHandlers<OrderPage> kValuation = {ValuationInit,    ValuationLoad, ValuationStore,
                                              ValuationCommand, nullptr,       ValuationEnable,
                                              ValuationNotify,  true,          true};
const KvPageHandlers<OrderPage> kNotes = {NotesInit,   NotesLoad, NotesStore, nullptr, nullptr,
                                          NotesEnable, nullptr,   true,       true};

}  // namespace

// ---- Page procedures -----------------------------------------------------------

INT_PTR CALLBACK GeneralPageProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    return KvPageProc<OrderPage, kGeneral>(dlg, msg, wParam, lParam);
}

INT_PTR CALLBACK ValuationPageProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    return KvPageProc<OrderPage, kValuation>(dlg, msg, wParam, lParam);
}

INT_PTR CALLBACK NotesPageProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    return KvPageProc<OrderPage, kNotes>(dlg, msg, wParam, lParam);
}

const char* StorePages(OrderWindow* w) {
    const char* refused = nullptr;
    for (int i = kPageGeneral; i <= kPageNotes; i++) {
        if (!w->pages[i]) continue;
        w->pageState[i].refused = nullptr;
        SendMessageA(w->pages[i], UM_PAGE_STORE, 0, 0);
        if (!refused) refused = w->pageState[i].refused;
    }
    return refused;
}
