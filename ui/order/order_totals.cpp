// What the order window shows of its order: the modes and what they enable,
// the amounts, the status and the title.

#include <initializer_list>
#include <stdio.h>
#include <string.h>

#include "db/connection.h"
#include "db/names.h"
#include "db/orders.h"
#include "db/tables.h"
#include "model/comparison.h"
#include "model/description.h"
#include "model/window.h"
#include "ui/order/order_rc.h"
#include "ui/order/order_window.h"
#include "ui/order/order_window_internal.h"
#include "ui/settings/seller_page.h"
#include "util/amounttext.h"
#include "util/heap.h"
#include "util/help_win.h"
#include "util/kvutil.h"
#include "util/modal_loop_win.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "util/scoped_win.h"
#include "util/window_win.h"
#include "valuation/valuation.h"

// ---- Modes and enabling ------------------------------------------------------------

void ApplyMode(OrderWindow* w) {
    const OrderMode mode = ModeOf(w);
    const bool edit = mode != kModePreview;
    HMENU order = OrderMenu(w), win = WindowMenu(w), acc = AccessoryMenu(w);
    Enable(order, ORD_SAVE, edit);
    SendMessageA(w->bar.hwnd, TB_ENABLEBUTTON, ORD_SAVE, edit);
    EnableAt(order, kPosSaveAs, edit);
    EnableAt(order, kPosChangeStatus, !edit);
    SendMessageA(w->bar.hwnd, TB_ENABLEBUTTON, ORD_CHANGE_STATUS, !edit);
    Enable(order, ORD_CORRECT, !edit);
    Enable(order, ORD_DELETE, mode != kModeNew);
    const char* cancel = edit ? "Cancel" : "Exit";
    Rename(order, ORD_CANCEL, cancel);
    ToolbarText(w, ORD_CANCEL, cancel);
    Enable(win, ORD_WIN_ADD, edit);
    SendMessageA(w->bar.hwnd, TB_ENABLEBUTTON, ORD_WIN_ADD, edit);
    Rename(win, ORD_WIN_EDIT, edit ? "Edit" : "Preview");
    Enable(acc, ORD_ACC_ADD, edit);
    SendMessageA(w->bar.hwnd, TB_ENABLEBUTTON, ORD_ACC_ADD, edit);
    EnableWindow(GetDlgItem(w->hwnd, ORD_ACC_ADD), edit);
    Rename(acc, ORD_ACC_EDIT, edit ? "Edit" : "Preview");
    SetDlgItemTextA(w->hwnd, ORD_ACC_EDIT, edit ? "Edit" : "Preview");
    if (!edit) {
        Enable(win, ORD_WIN_EDIT_AS_NEW, false);
        Enable(win, ORD_WIN_DELETE, false);
        Enable(acc, ORD_ACC_DELETE, false);
        EnableWindow(GetDlgItem(w->hwnd, ORD_ACC_DELETE), FALSE);
    }
    EnablePages(w, kPageGeneral);
    UpdatePricesFromListItem(w);
    // A window not shown yet draws its bar when it is shown.
    if (IsWindowVisible(w->hwnd)) DrawMenuBar(w->hwnd);
    ApplySelectionEnabling(w);
}

void EnablePages(OrderWindow* w, int first) {
    const bool edit = ModeOf(w) != kModePreview;
    for (int i = first; i <= kPageNotes; i++) {
        if (w->pages[i]) SendMessageA(w->pages[i], UM_PAGE_ENABLE, edit, 0);
    }
}

// ---- Shown amounts and status ---------------------------------------------------------

namespace {

// An amount of the totals, or what says that it does not fit.
void SetTotal(HWND parent, int id, const strSumyZam& s, uint32_t bit, int64_t amount) {
    if (s.przepelnione & bit) SetDlgItemTextA(parent, id, kAmountTooLarge);
    else SetAmount(parent, id, amount);
}

void SetDiscount(HWND parent, int id, const strSumyZam& s) {
    int64_t discount = 0;
    if (OrderDiscount(&s, &discount)) SetAmount(parent, id, discount);
    else SetDlgItemTextA(parent, id, kAmountTooLarge);
}

}  // namespace

void ShowValuationAmounts(OrderWindow* w) {
    HWND v = w->pages[kPageValuation];
    if (!v) return;
    const strSumyZam& s = w->z->sumy;
    const char* code = OrderCurrency(w->z);
    const int32_t flags = w->z->zam.sWycenZamParam.flagi;
    char perMetre[32];
    snprintf(perMetre, sizeof perMetre, "%s/m", code);
    const int32_t mont = flags & kAssemblyMask, demont = flags & kDisassemblyMask;
    SetDlgItemTextA(v, IDC_VAL_ASSEMBLY_UNIT, mont == 1 ? perMetre : mont == 2 ? code : "");
    SetDlgItemTextA(v, IDC_VAL_DISASSEMBLY_UNIT, demont == 4 ? perMetre : demont == 8 ? code : "");
    SetTotal(v, IDC_VAL_ASSEMBLY_COST, s, kTotalAssemblyNet, s.montNetto);
    SetTotal(v, IDC_VAL_DISASSEMBLY_COST, s, kTotalDisassemblyNet, s.demontNetto);
    SetDiscount(v, IDC_VAL_DISCOUNT_AMOUNT, s);
    for (int id : {IDC_VAL_ASSEMBLY_COST_CUR, IDC_VAL_DISASSEMBLY_COST_CUR, IDC_VAL_DISCOUNT_CUR}) {
        SetDlgItemTextA(v, id, code);
    }
}

void OnShowTotals(OrderWindow* w) {
    const strSumyZam& s = w->z->sumy;
    const char* code = OrderCurrency(w->z);
    SetTotal(w->hwnd, IDC_ORD_NET, s, kTotalOrderNet, s.zamNetto);
    SetTotal(w->hwnd, IDC_ORD_GROSS, s, kTotalOrderGross, s.zamBrutto);
    SetDiscount(w->hwnd, IDC_ORD_DISCOUNT, s);
    ShowValuationAmounts(w);
    AccListRefreshTotals(w->accList, w->z);
    SetTotal(w->hwnd, IDC_ORD_ACC_NET, s, kTotalAccessoriesNet, s.dodatNetto);
    SetTotal(w->hwnd, IDC_ORD_ACC_GROSS, s, kTotalAccessoriesGross, s.dodatBrutto);
    const int currencyIds[] = {IDC_ORD_NET_CUR, IDC_ORD_GROSS_CUR, IDC_ORD_DISCOUNT_CUR, IDC_ORD_ACC_NET_CUR,
                               IDC_ORD_ACC_GROSS_CUR};
    for (int id : currencyIds) SetDlgItemTextA(w->hwnd, id, code);
    InvalidateRect(w->winList, nullptr, TRUE);
    // The windows or the currency may have changed.
    UpdatePricesFromListItem(w);
    // Told once when the totals stop fitting, not at every later change.
    const bool tooLarge = !OrderTotalsExact(&s);
    const bool tell = tooLarge && !w->totalsTooLarge;
    w->totalsTooLarge = tooLarge;
    if (tell) KvShowError(w->hwnd, kTotalsTooLarge);
}

void OnShowStatus(OrderWindow* w) {
    const char* name = Status(w, w->z->zam.status);
    SetDlgItemTextA(w->pages[kPageGeneral], IDC_GEN_STATUS, name);
    char number[64], title[160];
    OrderNumber(w->z->zam, number, sizeof number);
    snprintf(title, sizeof title, "%s [%s]", number, name);
    SetWindowTextA(w->hwnd, title);
    // The number too: a save on a server may have changed it.
    SetDlgItemTextA(w->hwnd, IDC_ORD_NUMBER, number);
}
