// The accessories of an order: the list on the order window, its commands
// and the "Accessory" dialog with the register of used accessories.
#include <stdio.h>
#include <initializer_list>
#include <string.h>

#include "db/accessories.h"
#include "db/registers.h"
#include "db/tables.h"
#include "model/comparison.h"
#include "ui/order/order_rc.h"
#include "ui/order/order_window_internal.h"
#include "util/dialog_fields_win.h"
#include "util/amounttext.h"
#include "util/heap.h"
#include "util/help_win.h"
#include "util/kvutil.h"
#include "util/listview_win.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "util/window_win.h"
#include "valuation/valuation.h"

namespace {

// ---- The list --------------------------------------------------------------------

void SetCell(HWND list, int row, int column, const char* text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = (char*)text;
    SendMessageA(list, LVM_SETITEMTEXTA, row, (LPARAM)&item);
}

void SetTotalCell(HWND list, int row, const strZamRob* z, const strDodatZam& d) {
    // The column shows what the buyer pays for the line: its gross.
    ValuationLine line = {};
    AccessoryLine(&line, z, &d, kLineUnitNet | kLineNet | kLineUnitGross | kLineGross);
    char text[64];
    if (line.przepelnione & kLineGross) snprintf(text, sizeof text, "%s", kAmountTooLarge);
    else AmountDisplayText(line.lineGross, text, sizeof text);
    SetCell(list, row, 3, text);
}

void SetRow(HWND list, int row, const strZamRob* z, int index) {
    const strDodatZam& d = z->zam.dodatki[index];
    char text[256];
    snprintf(text, sizeof text, "%.*s", (int)sizeof d.nazwa, d.nazwa);
    SetCell(list, row, 0, text);
    AccessorySizeText(&d, text, sizeof text);
    SetCell(list, row, 1, text);
    snprintf(text, sizeof text, "%u", (unsigned)d.ilosc);
    SetCell(list, row, 2, text);
    SetTotalCell(list, row, z, d);
}

void AppendRow(HWND list, const strZamRob* z, int index) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    item.pszText = (char*)"";
    item.lParam = index;
    int row = (int)SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    if (row >= 0) SetRow(list, row, z, index);
}

int RowParam(HWND list, int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, (LPARAM)&item);
    return (int)item.lParam;
}

void SetRowParam(HWND list, int row, int param) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = param;
    SendMessageA(list, LVM_SETITEMA, 0, (LPARAM)&item);
}

// Removes the row and keeps every later row's parameter equal to its
// accessory's new index.
void DeleteRow(HWND list, int row, int index) {
    SendMessageA(list, LVM_DELETEITEM, row, 0);
    int rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int r = 0; r < rows; r++) {
        int param = RowParam(list, r);
        if (param > index) SetRowParam(list, r, param - 1);
    }
}

int SelectedRow(HWND list) { return (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED); }

void AfterChange(OrderWindow* w) {
    RecomputeOrder(w->z, kRecomputeAccessories);
    SendMessageA(w->hwnd, UM_SHOW_TOTALS, 0, 0);
}

// ---- The dialog ------------------------------------------------------------------

struct AccessoryDialog {
    strDodatZam* d;
    const strZamRob* z;
    int editable;
    int result;
    strZstDodat* reg;
    int regCount;
    bool filling;
};

const char kArrowMarker[] = "KvArrowUsed";

// Typed, or moved by the up-down's arrow; both marks are cleared.
bool UserChanged(HWND dlg, int editId, int spinId) {
    HWND edit = GetDlgItem(dlg, editId);
    bool typed = SendMessageA(edit, EM_GETMODIFY, 0, 0) != 0;
    bool arrow = spinId && RemovePropA(GetDlgItem(dlg, spinId), kArrowMarker) != nullptr;
    SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
    return typed || arrow;
}

void Show(HWND dlg, int id, bool show) { ShowWindow(GetDlgItem(dlg, id), show ? SW_SHOW : SW_HIDE); }

// Moves a control to x (dialog units), keeping its y and size.
void MoveX(HWND dlg, int id, int x) {
    HWND c = GetDlgItem(dlg, id);
    RECT r = {x, 0, 0, 0};
    MapDialogRect(dlg, &r);
    RECT now;
    GetWindowRect(c, &now);
    MapWindowPoints(HWND_DESKTOP, dlg, (POINT*)&now, 2);
    SetWindowPos(c, nullptr, r.left, now.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetWidth(HWND dlg, int id, int width) {
    HWND c = GetDlgItem(dlg, id);
    RECT r = {0, 0, width, 0};
    MapDialogRect(dlg, &r);
    RECT now;
    GetWindowRect(c, &now);
    SetWindowPos(c, nullptr, 0, 0, r.right, now.bottom - now.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The fields for n dimensions.
void LayOut(HWND dlg, int n) {
    Show(dlg, IDC_ACC_UNIT_CAPTION, n >= 1);
    Show(dlg, IDC_ACC_UNIT, n >= 1);
    Show(dlg, IDC_ACC_GROUP, n >= 1);
    Show(dlg, IDC_ACC_DIM1, n >= 1);
    Show(dlg, IDC_ACC_X1, n >= 2);
    Show(dlg, IDC_ACC_DIM2, n >= 2);
    Show(dlg, IDC_ACC_X2, n >= 3);
    Show(dlg, IDC_ACC_DIM3, n >= 3);
    Show(dlg, IDC_ACC_EQUALS, n >= 2);
    Show(dlg, IDC_ACC_RESULT, n >= 1);
    if (n < 1 || n > 3) return;
    static const struct {
        const char* caption;
        int width, equalsX, resultX;
    } kLayouts[] = {{"Size", 110, 0, 60}, {"Dimension", 186, 123, 136}, {"Dimension", 292, 186, 199}};
    const auto& l = kLayouts[n - 1];
    SetDlgItemTextA(dlg, IDC_ACC_GROUP, l.caption);
    SetWidth(dlg, IDC_ACC_GROUP, l.width);
    if (n >= 2) MoveX(dlg, IDC_ACC_EQUALS, l.equalsX);
    MoveX(dlg, IDC_ACC_RESULT, l.resultX);
    InvalidateRect(dlg, nullptr, TRUE);
}

// The unit alone for one dimension, the size text for two or three.
void ShowResult(AccessoryDialog* a, HWND dlg) {
    char text[256] = "";
    if (a->d->ilWym == 1) snprintf(text, sizeof text, "%.*s", (int)sizeof a->d->jm, a->d->jm);
    else if (a->d->ilWym >= 2) AccessorySizeText(a->d, text, sizeof text);
    SetDlgItemTextA(dlg, IDC_ACC_RESULT, text);
}

void SetRate(HWND dlg, int id, int64_t value) {
    char text[KV_AMOUNT_LEN + 8];
    DajNapKursWalZl(value, text);
    DopasujCzDzies(text, 4, "0123");
    SetDlgItemTextA(dlg, id, text);
}

int64_t ReadDimension(HWND dlg, int id) {
    char text[80] = "";
    GetDlgItemTextA(dlg, id, text, 64);
    DopasujCzDzies(text, 4, "0");
    return DajKursWalGrZNap(text);
}

const int kDimensionIds[3] = {IDC_ACC_DIM1, IDC_ACC_DIM2, IDC_ACC_DIM3};

// An amount of the line, or what says that it does not fit.
void ShowAmount(HWND dlg, int id, const ValuationLine& line, uint32_t bit, int64_t amount) {
    char text[64];
    if (line.przepelnione & bit) snprintf(text, sizeof text, "%s", kAmountTooLarge);
    else AmountDisplayText(amount, text, sizeof text);
    SetDlgItemTextA(dlg, id, text);
}

void Fill(AccessoryDialog* a, HWND dlg) {
    strDodatZam* d = a->d;
    a->filling = true;
    char name[sizeof d->nazwa + 1] = "";
    memcpy(name, d->nazwa, sizeof d->nazwa);
    SetDlgItemTextA(dlg, a->regCount > 0 ? IDC_ACC_NAME_COMBO : IDC_ACC_NAME_EDIT, name);
    SendDlgItemMessageA(dlg, IDC_ACC_DIMS_SPIN, UDM_SETPOS32, 0, d->ilWym);
    char unit[sizeof d->jm + 1] = "";
    memcpy(unit, d->jm, sizeof d->jm);
    SetDlgItemTextA(dlg, IDC_ACC_UNIT, unit);
    for (int i = 0; i < 3; i++) SetRate(dlg, kDimensionIds[i], d->wymiar[i]);
    ShowResult(a, dlg);
    char price[KV_AMOUNT_LEN + 8];
    DajNapKwotaZl(d->cenaZReki, price);
    DopasujCzDzies(price, 2, "0");
    SetDlgItemTextA(dlg, IDC_ACC_PRICE, price);
    ValuationLine line = {};
    AccessoryLine(&line, a->z, d, kLineUnitNet | kLineNet | kLineUnitGross | kLineGross);
    ShowAmount(dlg, IDC_ACC_GROSS, line, kLineUnitGross, line.unitGross);
    ShowAmount(dlg, IDC_ACC_TOTAL_NET, line, kLineNet, line.lineNet);
    ShowAmount(dlg, IDC_ACC_TOTAL_GROSS, line, kLineGross, line.lineGross);
    for (int id : {IDC_ACC_PRICE_CUR, IDC_ACC_GROSS_CUR, IDC_ACC_TOTAL_NET_CUR, IDC_ACC_TOTAL_GROSS_CUR}) {
        SetDlgItemTextA(dlg, id, OrderCurrency(a->z));
    }
    SendDlgItemMessageA(dlg, IDC_ACC_QUANTITY_SPIN, UDM_SETPOS32, 0, d->ilosc);
    LayOut(dlg, d->ilWym);
    a->filling = false;
}

void MakeReadOnly(HWND dlg) {
    const int ids[] = {IDC_ACC_NAME_EDIT, IDC_ACC_DIMS,         IDC_ACC_DIMS_SPIN, IDC_ACC_DIM1,
                       IDC_ACC_DIM2,      IDC_ACC_DIM3,         IDC_ACC_UNIT,      IDC_ACC_PRICE,
                       IDC_ACC_QUANTITY,  IDC_ACC_QUANTITY_SPIN};
    for (int id : ids) AktDeaktKntrl(GetDlgItem(dlg, id), 0);
    Show(dlg, IDOK, false);
    SetDlgItemTextA(dlg, IDCANCEL, "Exit");
}

BOOL OnInit(AccessoryDialog* a, HWND dlg) {
    for (int id : kDimensionIds) ZalozPdklEdL4mPoPrzec(GetDlgItem(dlg, id), "0123");
    ZalozPdklEdL2mPoPrzec(GetDlgItem(dlg, IDC_ACC_PRICE), "0");
    SendDlgItemMessageA(dlg, IDC_ACC_DIMS_SPIN, UDM_SETRANGE32, 0, 3);
    SendDlgItemMessageA(dlg, IDC_ACC_QUANTITY_SPIN, UDM_SETRANGE32, 1, 500000);
    SendDlgItemMessageA(dlg, IDC_ACC_UNIT, EM_LIMITTEXT, sizeof a->d->jm - 1, 0);
    SendDlgItemMessageA(dlg, IDC_ACC_NAME_EDIT, EM_LIMITTEXT, sizeof a->d->nazwa - 1, 0);
    SendDlgItemMessageA(dlg, IDC_ACC_NAME_COMBO, CB_LIMITTEXT, sizeof a->d->nazwa - 1, 0);
    if (a->editable) {
        char msg[KV_MSG_LEN];
        a->regCount = CountReadAccessoryRegister(&a->reg, msg);
        if (a->regCount < 0) {
            a->regCount = 0;
            KvShowError(dlg, msg);
            EndDialog(dlg, 0);
            return TRUE;
        }
    }
    Show(dlg, IDC_ACC_NAME_COMBO, a->regCount > 0);
    Show(dlg, IDC_ACC_NAME_EDIT, a->regCount == 0);
    for (int i = 0; i < a->regCount; i++) {
        char name[sizeof a->reg[i].nazwa + 1] = "";
        memcpy(name, a->reg[i].nazwa, sizeof a->reg[i].nazwa);
        SendDlgItemMessageA(dlg, IDC_ACC_NAME_COMBO, CB_ADDSTRING, 0, (LPARAM)name);
    }
    Fill(a, dlg);
    if (!a->editable) MakeReadOnly(dlg);
    return TRUE;
}

void OnDimensionCount(AccessoryDialog* a, HWND dlg) {
    if (!UserChanged(dlg, IDC_ACC_DIMS, IDC_ACC_DIMS_SPIN) || a->filling) return;
    BOOL error = FALSE;
    int n = (int)SendDlgItemMessageA(dlg, IDC_ACC_DIMS_SPIN, UDM_GETPOS32, 0, (LPARAM)&error);
    a->d->ilWym = error ? 0 : n;
    LayOut(dlg, a->d->ilWym);
    ShowResult(a, dlg);
}

void OnDimension(AccessoryDialog* a, HWND dlg, int i) {
    if (!UserChanged(dlg, kDimensionIds[i], 0) || a->filling) return;
    a->d->wymiar[i] = ReadDimension(dlg, kDimensionIds[i]);
    ShowResult(a, dlg);
}

void OnUnit(AccessoryDialog* a, HWND dlg) {
    if (!UserChanged(dlg, IDC_ACC_UNIT, 0) || a->filling) return;
    GetDlgItemTextA(dlg, IDC_ACC_UNIT, a->d->jm, sizeof a->d->jm);
    ShowResult(a, dlg);  // the result names the unit
}

// The typed price; false when it is beyond the largest price a seller may
// type.
bool ReadPrice(HWND dlg, int64_t* price) {
    return KvReadAmount(GetDlgItem(dlg, IDC_ACC_PRICE), 100, -kMaxEnteredPrice, kMaxEnteredPrice, price);
}

void OnPrice(AccessoryDialog* a, HWND dlg) {
    if (!UserChanged(dlg, IDC_ACC_PRICE, 0) || a->filling) return;
    ReadPrice(dlg, &a->d->cenaZReki);  // OK refuses one that does not fit
}

void OnQuantity(AccessoryDialog* a, HWND dlg) {
    if (!UserChanged(dlg, IDC_ACC_QUANTITY, IDC_ACC_QUANTITY_SPIN) || a->filling) return;
    BOOL error = FALSE;
    int n = (int)SendDlgItemMessageA(dlg, IDC_ACC_QUANTITY_SPIN, UDM_GETPOS32, 0, (LPARAM)&error);
    a->d->ilosc = error ? 0 : n;
}

void OnRegisterChoice(AccessoryDialog* a, HWND dlg) {
    int i = (int)SendDlgItemMessageA(dlg, IDC_ACC_NAME_COMBO, CB_GETCURSEL, 0, 0);
    if (i < 0 || i >= a->regCount) {
        KvShowError(dlg, "Error of selecting accessory from the list");
        return;
    }
    a->d->ilWym = a->reg[i].ilWym;
    memcpy(a->d->jm, a->reg[i].jm, sizeof a->d->jm);
    a->d->jm[sizeof a->d->jm - 1] = 0;
    a->filling = true;
    SendDlgItemMessageA(dlg, IDC_ACC_DIMS_SPIN, UDM_SETPOS32, 0, a->d->ilWym);
    SetDlgItemTextA(dlg, IDC_ACC_UNIT, a->d->jm);
    a->filling = false;
    LayOut(dlg, a->d->ilWym);
    ShowResult(a, dlg);
}

void Trim(char* text) {
    mojLtrim(text);
    mojPtrim(text);
}

// The checks of OK in their order; the first failure keeps the dialog open.
bool Accept(AccessoryDialog* a, HWND dlg) {
    strDodatZam* d = a->d;
    char name[sizeof d->nazwa] = "";
    GetDlgItemTextA(dlg, a->regCount > 0 ? IDC_ACC_NAME_COMBO : IDC_ACC_NAME_EDIT, name, sizeof name);
    Trim(name);
    if (!name[0]) {
        KvShowError(dlg, "Incorrectly defined the name of the accessory");
        return false;
    }
    BOOL error = FALSE;
    int n = (int)SendDlgItemMessageA(dlg, IDC_ACC_DIMS_SPIN, UDM_GETPOS32, 0, (LPARAM)&error);
    if (error || n < 0 || n > 3) {
        KvShowError(dlg, "Inorrectly defined number of dimension for the accessory");
        return false;
    }
    char unit[sizeof d->jm] = "";
    GetDlgItemTextA(dlg, IDC_ACC_UNIT, unit, sizeof unit);
    Trim(unit);
    int64_t dims[3] = {0, 0, 0};
    for (int i = 0; i < n; i++) dims[i] = ReadDimension(dlg, kDimensionIds[i]);
    // A size beyond 64 bits would be stored wrapped: refuse it.
    strDodatZam probe = *d;
    probe.ilWym = n;
    memcpy(probe.wymiar, dims, sizeof dims);
    int64_t size;
    if (!ComputeAccessorySize(&probe, &size)) {
        KvShowError(dlg, "The size of the accessory is too large.\r\nEnter smaller dimensions.");
        return false;
    }
    error = FALSE;
    int quantity = (int)SendDlgItemMessageA(dlg, IDC_ACC_QUANTITY_SPIN, UDM_GETPOS32, 0, (LPARAM)&error);
    if (error) {
        KvShowError(dlg, "Incorrectly defined the quantity of the accessory");
        return false;
    }
    int64_t price = 0;
    if (!ReadPrice(dlg, &price)) {
        char text[KV_MSG_LEN];
        PriceRefusalText("Incorrectly defined the price of the accessory", text, sizeof text);
        KvShowError(dlg, text);
        return false;
    }
    // Everything read: only now does the record change.
    memset(d->nazwa, 0, sizeof d->nazwa);
    strcpy(d->nazwa, name);
    d->ilWym = n;
    memset(d->jm, 0, sizeof d->jm);
    strcpy(d->jm, unit);
    memcpy(d->wymiar, dims, sizeof dims);
    d->ilosc = quantity;
    d->cenaZReki = price;
    char msg[KV_MSG_LEN];
    if (!SaveAccessoryRegister(d, a->reg, a->regCount, msg)) {
        KvShowError(dlg, msg);
        return false;
    }
    return true;
}

void OnCommand(AccessoryDialog* a, HWND dlg, int id, int code) {
    switch (id) {
        case IDOK:
            if (a->editable && Accept(a, dlg)) {
                a->result = 1;
                EndDialog(dlg, 1);
            }
            return;
        case IDCANCEL: EndDialog(dlg, a->result); return;
        case IDC_ACC_HELP: OpenHelp(dlg, 6); return;
        case IDC_ACC_DIMS:
            if (code == EN_CHANGE) OnDimensionCount(a, dlg);
            return;
        case IDC_ACC_DIM1:
            if (code == EN_CHANGE) OnDimension(a, dlg, 0);
            return;
        case IDC_ACC_DIM2:
            if (code == EN_CHANGE) OnDimension(a, dlg, 1);
            return;
        case IDC_ACC_DIM3:
            if (code == EN_CHANGE) OnDimension(a, dlg, 2);
            return;
        case IDC_ACC_UNIT:
            if (code == EN_CHANGE) OnUnit(a, dlg);
            return;
        case IDC_ACC_PRICE:
            if (code == EN_CHANGE) OnPrice(a, dlg);
            return;
        case IDC_ACC_QUANTITY:
            if (code == EN_CHANGE) OnQuantity(a, dlg);
            return;
        case IDC_ACC_NAME_COMBO:
            if (code == CBN_SELCHANGE) OnRegisterChoice(a, dlg);
            return;
    }
}

INT_PTR CALLBACK AccessoryProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    AccessoryDialog* a = KvDialogState<AccessoryDialog>(dlg, msg, lParam);
    if (!a) return FALSE;
    switch (msg) {
        case WM_INITDIALOG: return OnInit(a, dlg);
        case WM_COMMAND: OnCommand(a, dlg, LOWORD(wParam), HIWORD(wParam)); return TRUE;
        case WM_NOTIFY: {
            const NMHDR* nm = (const NMHDR*)lParam;
            if (nm->code == UDN_DELTAPOS) SetPropA(nm->hwndFrom, kArrowMarker, (HANDLE)1);
            return FALSE;
        }
        case WM_HELP: OpenHelp(dlg, 6); return TRUE;
    }
    return FALSE;
}

}  // namespace

int RunAccessoryDialog(HWND owner, strDodatZam* d, const strZamRob* z, int editable) {
    AccessoryDialog a = {d, z, editable, 0, nullptr, 0, false};
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ACCESSORY), owner, AccessoryProc,
                    (LPARAM)&a);
    KvFree(a.reg);
    return a.result;
}

// ---- The list and the commands -----------------------------------------------------

namespace {

const ListColumn kAccColumns[] = {{"Name", 210, LVCFMT_LEFT},
                                  {"Size", 60, LVCFMT_RIGHT},
                                  {"Quantity", 40, LVCFMT_RIGHT},
                                  {"Total", 90, LVCFMT_RIGHT}};

}  // namespace

void AccListCreateColumns(HWND list, int dpi) { InsertListColumns(list, kAccColumns, 4, dpi); }

void AccListApplyDpi(HWND list, int dpi) { SetListColumnWidths(list, kAccColumns, 4, dpi); }

void AccListFill(HWND list, const strZamRob* z) {
    for (int i = 0; i < z->zam.liczbaDodat; i++) AppendRow(list, z, i);
}

void AccListRefreshTotals(HWND list, const strZamRob* z) {
    int rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int r = 0; r < rows; r++) {
        int index = RowParam(list, r);
        if (index >= 0 && index < z->zam.liczbaDodat) SetTotalCell(list, r, z, z->zam.dodatki[index]);
    }
}

void CmdAccessoryAdd(OrderWindow* w) {
    strDodatZam d = {};
    d.iKolej = w->z->zam.liczbaDodat;
    d.ilosc = 1;
    if (!RunAccessoryDialog(w->hwnd, &d, w->z, 1)) return;
    char msg[KV_MSG_LEN];
    if (!AppendAccessory(&w->z->zam.dodatki, &w->z->zam.liczbaDodat, &d, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    AppendRow(w->accList, w->z, w->z->zam.liczbaDodat - 1);
    AfterChange(w);
}

void CmdAccessoryEdit(OrderWindow* w) {
    int row = SelectedRow(w->accList);
    int index = row >= 0 ? RowParam(w->accList, row) : -1;
    if (index < 0 || index >= w->z->zam.liczbaDodat) {
        KvShowError(w->hwnd, "Error of data reading of the accessory from the order");
        return;
    }
    strDodatZam copy = w->z->zam.dodatki[index];
    const int editable = ModeOf(w) == kModePreview ? 0 : 1;
    if (!RunAccessoryDialog(w->hwnd, &copy, w->z, editable)) return;
    OverwriteAccessory(w->z->zam.dodatki, w->z->zam.liczbaDodat, index, &copy);
    SetRow(w->accList, row, w->z, index);
    AfterChange(w);
}

void CmdAccessoryDelete(OrderWindow* w) {
    if (!KvAskYesNo(w->hwnd, "Do you want to delete the accessory from the order ?")) return;
    int row = SelectedRow(w->accList);
    int index = row >= 0 ? RowParam(w->accList, row) : -1;
    char msg[KV_MSG_LEN];
    if (index < 0 || index >= w->z->zam.liczbaDodat) {
        KvShowError(w->hwnd, "Error of removing accessory from the order");
        return;
    }
    if (!DeleteAccessory(&w->z->zam.dodatki, &w->z->zam.liczbaDodat, index, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    DeleteRow(w->accList, row, index);
    AfterChange(w);
    PrzestawDomyslPb(w->hwnd, ORD_ACC_DELETE, ORD_ACC_ADD);
    // The window's own dialog navigation asks it for the default (Enter).
    w->defId = ORD_ACC_ADD;
}
