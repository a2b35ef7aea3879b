// The register of orders: the controls of the main window and the commands
// that do not need an order loaded.
#include "orderlist.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include "amounttext.h"
#include "app.h"
#include "connection.h"
#include "help_win.h"
#include "kvutil.h"
#include "msgbox.h"
#include "msgbuf.h"
#include "lista.h"
#include "names.h"
#include "pending.h"
#include "resource.h"
#include "tables.h"
#include "wycena.h"
#include "zamowienia.h"

namespace {

struct OrderListWindow {
    HWND main;
    HWND toolbar, status, group, list, label, filter;
    HWND buttons[5];  // Search, New, Preview, Print, Help
    HIMAGELIST images, disabledImages, stateImages;
    HMENU popup;
    int toolbarHeight, statusHeight;  // device pixels, measured once
    int32_t shownStatus;              // the filter: 0 "All" or a status 1-6
};

OrderListWindow g_ol;

const int kCommandsOfOneRow[] = {CMD_PREVIEW, CMD_EDIT_AS_NEW, CMD_CORRECT, CMD_PRINT};

// ---- Building ----------------------------------------------------------------

bool CreateToolbar(char* msg) {
    g_ol.toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS,
                                   0, 0, 0, 0, g_ol.main, (HMENU)(INT_PTR)IDC_TOOLBAR,
                                   g_app.instance, nullptr);
    if (!g_ol.toolbar) {
        KvMsg(msg, "Error of creating the toolbar");
        return false;
    }
    SendMessageA(g_ol.toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(g_ol.toolbar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    g_ol.images = ImageList_LoadImageA(g_app.instance, MAKEINTRESOURCEA(IDB_TOOLBAR), 16, 0,
                                       RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION);
    g_ol.disabledImages = ImageList_LoadImageA(g_app.instance, MAKEINTRESOURCEA(IDB_TOOLBAR_DISABLED),
                                               16, 0, RGB(255, 0, 255), IMAGE_BITMAP,
                                               LR_CREATEDIBSECTION);
    SendMessageA(g_ol.toolbar, TB_SETIMAGELIST, 0, (LPARAM)g_ol.images);
    SendMessageA(g_ol.toolbar, TB_SETDISABLEDIMAGELIST, 0, (LPARAM)g_ol.disabledImages);
    struct Button {
        int image, command;
        BYTE state, style;
        const char* text;
    } const kButtons[] = {
        {0, CMD_NEW, TBSTATE_ENABLED, BTNS_BUTTON, "New"},
        {1, CMD_PREVIEW, 0, BTNS_BUTTON, "Preview"},
        {2, CMD_CHANGE_STATUS, 0, BTNS_DROPDOWN, "Change status"},
        {3, CMD_PRINT, 0, BTNS_BUTTON, "Print"},
        {0, 0, 0, BTNS_SEP, nullptr},
        {4, CMD_SETTINGS, TBSTATE_ENABLED, BTNS_BUTTON, "Settings"},
        {0, 0, 0, BTNS_SEP, nullptr},
        {5, CMD_EXIT, TBSTATE_ENABLED, BTNS_BUTTON, "Exit"},
        {6, CMD_HELP, TBSTATE_ENABLED, BTNS_BUTTON, "Help"},
    };
    TBBUTTON tb[sizeof kButtons / sizeof kButtons[0]] = {};
    for (size_t i = 0; i < sizeof kButtons / sizeof kButtons[0]; i++) {
        tb[i].iBitmap = kButtons[i].style == BTNS_SEP ? 6 : kButtons[i].image;
        tb[i].idCommand = kButtons[i].command;
        tb[i].fsState = kButtons[i].state;
        tb[i].fsStyle = kButtons[i].style;
        tb[i].iString = kButtons[i].text ? (INT_PTR)kButtons[i].text : -1;
    }
    SendMessageA(g_ol.toolbar, TB_ADDBUTTONSA, sizeof tb / sizeof tb[0], (LPARAM)tb);
    SendMessageA(g_ol.toolbar, TB_AUTOSIZE, 0, 0);
    return true;
}

const char* Tooltip(int command) {
    switch (command) {
        case CMD_NEW: return "New order";
        case CMD_PREVIEW: return "Order preview";
        case CMD_CHANGE_STATUS: return "Change order status";
        case CMD_PRINT: return "Print the order";
        case CMD_SETTINGS: return "User's settings";
        case CMD_EXIT: return "Exit program";
        case CMD_HELP: return "Help";
        default: return nullptr;
    }
}

bool CreateStatusBar(char* msg) {
    g_ol.status = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP,
                                  0, 0, 0, 0, g_ol.main, (HMENU)(INT_PTR)IDC_STATUSBAR,
                                  g_app.instance, nullptr);
    if (!g_ol.status) {
        KvMsg(msg, "Error of creating the status bar");
        return false;
    }
    int parts[3] = {250, 600, -1};
    SendMessageA(g_ol.status, SB_SETPARTS, 3, (LPARAM)parts);
    OrderListShowYearAndNumber();
    OrderListShowCurrency();
    return true;
}

int HeightOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r.bottom - r.top;
}

// The status names go into "Change status to" of the main menu (Order,
// position 5) and of the pop-up menu, and into the filter box.
void NameStatusItems(HMENU statusMenu) {
    for (int s = 1; s <= kStatusCount; s++) {
        ModifyMenuA(statusMenu, CMD_STATUS_FIRST + s - 1, MF_BYCOMMAND | MF_STRING,
                    CMD_STATUS_FIRST + s - 1, StatusName(&g_app.settings, s));
    }
}

HMENU MainStatusMenu() { return GetSubMenu(GetSubMenu(GetMenu(g_ol.main), 0), 5); }

void CreatePopupMenuOfList() {
    g_ol.popup = CreatePopupMenu();
    AppendMenuA(g_ol.popup, MF_STRING, CMD_NEW, "New");
    AppendMenuA(g_ol.popup, MF_STRING, CMD_PREVIEW, "Preview");
    AppendMenuA(g_ol.popup, MF_STRING, CMD_EDIT_AS_NEW, "Edit as new");
    AppendMenuA(g_ol.popup, MF_STRING, CMD_DELETE, "Delete");
    AppendMenuA(g_ol.popup, MF_SEPARATOR, 0, nullptr);
    HMENU statuses = CreatePopupMenu();
    for (int s = 1; s <= kStatusCount; s++) {
        AppendMenuA(statuses, MF_STRING, CMD_STATUS_FIRST + s - 1, StatusName(&g_app.settings, s));
    }
    AppendMenuA(g_ol.popup, MF_POPUP, (UINT_PTR)statuses, "Change status to");
    AppendMenuA(g_ol.popup, MF_STRING, CMD_CORRECT, "Correct");
    AppendMenuA(g_ol.popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(g_ol.popup, MF_STRING, CMD_PRINT, "Print");
}

HWND Child(const char* cls, const char* text, DWORD style, int id, int w, int h, DWORD exStyle = 0) {
    HWND hwnd = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, w, h,
                                g_ol.main, (HMENU)(INT_PTR)id, g_app.instance, nullptr);
    SendMessageA(hwnd, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
    return hwnd;
}

void CreateColumns() {
    struct Column {
        const char* header;
        int width;
        int format;
    } const kColumns[] = {
        {"", 20, LVCFMT_LEFT},
        {"Status", 100, LVCFMT_LEFT},
        {"Order No.", 100, LVCFMT_LEFT},
        {"Order symbol", 100, LVCFMT_LEFT},
        {"Buyer", 150, LVCFMT_LEFT},
        {"Date of order", 90, LVCFMT_LEFT},
        {"Date of fulfilment", 90, LVCFMT_LEFT},
        {"Total", 90, LVCFMT_RIGHT},
        {"Qty of windows", 80, LVCFMT_RIGHT},
        {"Notes", 200, LVCFMT_LEFT},
    };
    for (int i = 0; i < (int)(sizeof kColumns / sizeof kColumns[0]); i++) {
        LVCOLUMNA c = {};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        c.pszText = (char*)kColumns[i].header;
        c.cx = kColumns[i].width;
        c.fmt = kColumns[i].format;
        c.iSubItem = i;
        SendMessageA(g_ol.list, LVM_INSERTCOLUMNA, i, (LPARAM)&c);
    }
}

// ---- Commands that need no order ------------------------------------------

void CloseTheYear() {
    char text[128];
    snprintf(text, sizeof text, "Do you want to close the year %4d ?", g_app.vars.rok);
    if (!KvAskYesNo(g_ol.main, text)) return;
    strZmienne next = {0, g_app.vars.rok + 1};
    char msg[KV_MSG_LEN];
    if (!UpdateZmienne(&next, msg)) {
        KvShowError(g_ol.main, msg);
        return;
    }
    g_app.vars = next;
    OrderListShowYearAndNumber();
}

INT_PTR CALLBACK NextNumberProc(HWND dlg, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            HWND spin = GetDlgItem(dlg, IDC_NEXT_NUMBER_SPIN);
            SendMessageA(spin, UDM_SETRANGE32, g_app.vars.idZam + 1, INT_MAX);
            SendMessageA(spin, UDM_SETPOS32, 0, g_app.vars.idZam + 1);
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: {
                    BOOL error = FALSE;
                    int value = (int)SendDlgItemMessageA(dlg, IDC_NEXT_NUMBER_SPIN, UDM_GETPOS32, 0,
                                                         (LPARAM)&error);
                    if (error || value <= g_app.vars.idZam) {
                        KvShowError(dlg, "Wrong value in the field Next order's number");
                        return TRUE;
                    }
                    EndDialog(dlg, value - 1);
                    return TRUE;
                }
                case IDCANCEL: EndDialog(dlg, -1); return TRUE;
                case IDC_HELP_BUTTON: OpenHelp(dlg, 8); return TRUE;
            }
            break;
    }
    return FALSE;
}

void NextOrderNumber() {
    INT_PTR last = DialogBoxParamA(g_app.instance, MAKEINTRESOURCEA(IDD_NEXT_NUMBER), g_ol.main,
                                   NextNumberProc, 0);
    if (last < 0) return;
    char msg[KV_MSG_LEN];
    if (!DbSaveLastOrderNumber((int32_t)last, msg)) {
        KvShowError(g_ol.main, msg);
        return;
    }
    g_app.vars.idZam = (int32_t)last;
    OrderListShowYearAndNumber();
    KvShowInfo(g_ol.main, "The next order's number has been saved");
}

struct Register {
    const char* table;
    const char* what;  // "profiles", "hardware", ...
};

const Register kRegisters[] = {
    {"T_ZstProfil", "profiles"},      {"T_ZstOkucie", "hardware"}, {"T_ZstKolor", "colors"},
    {"T_ZstListwa", "glazing beads"}, {"T_ZstSzpros", "muntins"},  {"T_ZstWypeln", "fillings"},
    {"T_ZstDodat", "accessories"},
};

void DeleteRegister(const Register& r) {
    char text[256];
    int64_t count = DbCountRows(r.table, nullptr, nullptr);
    if (count == 0) {
        snprintf(text, sizeof text, "The register of the used %s is empty", r.what);
        KvShowError(g_ol.main, text);
        return;
    }
    snprintf(text, sizeof text,
             "There are %lld used %s in the register.\r\nDo you want to delete them ?",
             (long long)count, r.what);
    if (!KvAskYesNo(g_ol.main, text)) return;
    char sql[64], msg[KV_MSG_LEN];
    snprintf(sql, sizeof sql, "DELETE FROM %s;", r.table);
    if (!DbExec(sql, msg)) {
        KvShowError(g_ol.main, msg);
        return;
    }
    snprintf(text, sizeof text, "The register of the used %s has been deleted", r.what);
    KvShowInfo(g_ol.main, text);
}

INT_PTR CALLBACK AboutProc(HWND dlg, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemTextA(dlg, IDC_ABOUT_VERSION, DajWersje(kVersionTag));
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dlg, IDOK);
                return TRUE;
            }
            break;
    }
    return FALSE;
}

void ShowStatusMenuBelowButton(const NMTOOLBARA* nm) {
    RECT r = nm->rcButton;
    MapWindowPoints(g_ol.toolbar, HWND_DESKTOP, (POINT*)&r, 2);
    TPMPARAMS tpm = {sizeof tpm, r};
    TrackPopupMenuEx(MainStatusMenu(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL, r.left, r.bottom,
                     g_ol.main, &tpm);
}

// ---- Rows of orders ---------------------------------------------------------

// A status passes the filter when it is not "deleted" and the filter is
// "All" or that status.
bool PassesFilter(int32_t status) {
    return status != -1 && (g_ol.shownStatus == 0 || g_ol.shownStatus == status);
}

void SetCell(int row, int column, const char* text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = (char*)text;
    SendMessageA(g_ol.list, LVM_SETITEMTEXTA, row, (LPARAM)&item);
}

// The status image (1-6 shows its image, 0 none) and the status name.
void SetRowStatus(int row, int32_t status) {
    LVITEMA item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = (status >= 1 && status <= kStatusCount) ? INDEXTOSTATEIMAGEMASK(status) : 0;
    SendMessageA(g_ol.list, LVM_SETITEMSTATE, row, (LPARAM)&item);
    SetCell(row, 1, StatusName(&g_app.settings, status));
}

// Writes every column of `row` from the order.
void SetRow(int row, const strZamRob* z) {
    const strZam& o = z->zam;
    char text[128];
    snprintf(text, sizeof text, "%lld", (long long)o.kluczZam);
    SetCell(row, 0, text);
    SetRowStatus(row, o.status);
    char abbrev[sizeof o.sDaneUzytk.skrot + 1] = "";
    memcpy(abbrev, o.sDaneUzytk.skrot, sizeof o.sDaneUzytk.skrot);
    snprintf(text, sizeof text, "%d-%s-%4d", o.idZam, abbrev, o.rok);
    SetCell(row, 2, text);
    SetCell(row, 3, o.dodOznaczZam);
    SetCell(row, 4, o.nazwaNabyw);
    SetCell(row, 5, DajFormatData(o.dataZam, text, sizeof text) ? text : "");
    SetCell(row, 6, DajFormatData(o.dataReal, text, sizeof text) ? text : "");
    DajNapKwotaPokaz(z->sumy.zamBrutto, text, sizeof text);
    SetCell(row, 7, text);
    long long windows = 0;
    for (int i = 0; i < o.liczbaOkien; i++) windows += o.okna[i].ilOkien;
    snprintf(text, sizeof text, "%lld", windows);
    SetCell(row, 8, text);
    SetCell(row, 9, o.uwagi);
}

int AppendRow(const strZamRob* z) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = (int)SendMessageA(g_ol.list, LVM_GETITEMCOUNT, 0, 0);
    item.pszText = (char*)"";
    int row = (int)SendMessageA(g_ol.list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    if (row >= 0) SetRow(row, z);
    return row;
}

bool AddRowOfOrder(const strZamRob* z, void*) { return AppendRow(z) >= 0; }

// The key of a row, read back from the text of its first column.
int64_t RowKey(int row) {
    char text[32] = "";
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(g_ol.list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
    return atollNull(text);
}

int RowOfKey(int64_t key) {
    int rows = (int)SendMessageA(g_ol.list, LVM_GETITEMCOUNT, 0, 0);
    for (int row = 0; row < rows; row++) {
        if (RowKey(row) == key) return row;
    }
    return -1;
}

int FirstSelectedRow() { return (int)SendMessageA(g_ol.list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED); }

void RemoveRow(int row) {
    SendMessageA(g_ol.list, LVM_DELETEITEM, row, 0);
    // Whether deleting a selected row reports its deselection differs between
    // list view versions: take the count from the list itself.
    g_app.selectedCount = (int)SendMessageA(g_ol.list, LVM_GETSELECTEDCOUNT, 0, 0);
}

// Fills the list with the orders that pass `filter` (0 "All", 1-6 a status).
bool FillList(int32_t filter, char* msg) {
    SendMessageA(g_ol.list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(g_ol.list, LVM_DELETEALLITEMS, 0, 0);
    g_app.selectedCount = 0;
    g_ol.shownStatus = filter;
    bool ok = ListaZamowien(filter, AddRowOfOrder, nullptr, msg) != 0;
    g_app.selectedCount = 0;
    SendMessageA(g_ol.list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(g_ol.list, nullptr, TRUE);
    return ok;
}

void OnFilterChanged() {
    int filter = (int)SendMessageA(g_ol.filter, CB_GETCURSEL, 0, 0);
    char msg[KV_MSG_LEN];
    if (filter < 0 || filter > kStatusCount) {
        KvShowError(g_ol.main, "Error of selecting order type");
        return;
    }
    if (!FillList(filter, msg)) KvShowError(g_ol.main, msg);
    OrderListEnableForSelection(0);
}

// ---- Commands on orders -------------------------------------------------------

enum OpenMode { kOpenPreview, kOpenAsNew, kOpenCorrect };

// Loads the order of the current (first selected) row with its totals.
bool LoadCurrentOrder(strZamRob* z, int* row) {
    *row = FirstSelectedRow();
    char msg[KV_MSG_LEN];
    if (*row < 0) {
        KvShowError(g_ol.main, "Error of reading the order from the list");
        return false;
    }
    if (!WczytajZam(RowKey(*row), z, msg)) {
        KvShowError(g_ol.main, msg);
        return false;
    }
    PrzeliczZam(z, 0x11);
    return true;
}

void OpenCurrentOrder(OpenMode mode) {
    strZamRob* z = new strZamRob();
    int row;
    if (LoadCurrentOrder(z, &row)) {
        if (mode == kOpenAsNew) {
            row = -1;
            PrzenumerujZam(z, &g_app.vars, &g_app.settings);
            PrzeliczZam(z, 0x11);
        } else if (mode == kOpenCorrect) {
            z->flagiWidoku = kWidokKorekta;
        }
        if (g_orderWindow(g_ol.main, z, &row, &g_app.draw) && mode == kOpenAsNew) {
            g_app.vars.idZam = z->zam.idZam;  // the order window stored it as the last number
            OrderListShowYearAndNumber();
        }
    }
    ZwolnijIZerujZam(z);
    delete z;
}

void NewOrder() {
    strZamRob* z = new strZamRob();
    PrzenumerujZam(z, &g_app.vars, &g_app.settings);
    DomyslneZam(z, &g_app.settings);
    PrzeliczZam(z, 0x11);
    int row = -1;
    if (g_orderWindow(g_ol.main, z, &row, &g_app.draw)) {
        g_app.vars.idZam = z->zam.idZam;  // the order window stored it as the last number
        OrderListShowYearAndNumber();
    }
    ZwolnijIZerujZam(z);
    delete z;
}

// The print copy of the drawing set: black pens and stock brushes where the
// screen uses colour.
void PrintCurrentOrder() {
    strZamRob* z = new strZamRob();
    int row;
    if (LoadCurrentOrder(z, &row)) {
        DrawSet print = g_app.draw;
        HPEN black = CreatePen(PS_SOLID, 0, RGB(0, 0, 0));
        LOGBRUSH lb = {BS_SOLID, RGB(0, 0, 0), 0};
        HPEN dashed = ExtCreatePen(PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT, 1, &lb, 0, nullptr);
        print.penNavy = black;
        print.penGreen = black;
        print.penDotted = dashed;
        print.penRed = (HPEN)GetStockObject(BLACK_PEN);
        print.brushRed = (HBRUSH)GetStockObject(BLACK_BRUSH);
        print.brushGlass = (HBRUSH)GetStockObject(WHITE_BRUSH);
        print.brushWhite = (HBRUSH)GetStockObject(WHITE_BRUSH);
        g_printOrder(g_ol.main, z, &print);
        DeleteObject(black);
        DeleteObject(dashed);
    }
    ZwolnijIZerujZam(z);
    delete z;
}

void DeleteSelectedOrders() {
    if (!KvAskYesNo(g_ol.main, "Do you want to delete selected orders definitely ?")) return;
    char msg[KV_MSG_LEN];
    for (int row = FirstSelectedRow(); row >= 0; row = FirstSelectedRow()) {
        if (!UsunZam(RowKey(row), msg)) {
            KvShowError(g_ol.main, msg);
            break;
        }
        RemoveRow(row);
    }
    OrderListEnableForSelection(g_app.selectedCount);
}

void ChangeStatusOfSelected(int32_t status) {
    char msg[KV_MSG_LEN];
    bool removed = false;
    for (int row = FirstSelectedRow(); row >= 0;
         row = (int)SendMessageA(g_ol.list, LVM_GETNEXTITEM, row, LVNI_SELECTED)) {
        if (!ZmienStatusZam(RowKey(row), status, msg)) {
            KvShowError(g_ol.main, msg);
            break;
        }
        if (PassesFilter(status)) {
            SetRowStatus(row, status);
        } else {
            RemoveRow(row);
            removed = true;
            row--;  // the next selected row has moved into this place
        }
    }
    if (removed) OrderListEnableForSelection(g_app.selectedCount);
}

INT_PTR CALLBACK SearchProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrA(dlg, DWLP_USER, lParam);
            SendDlgItemMessageA(dlg, IDC_SEARCH_TEXT, EM_LIMITTEXT, 64, 0);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                char* text = (char*)GetWindowLongPtrA(dlg, DWLP_USER);
                GetDlgItemTextA(dlg, IDC_SEARCH_TEXT, text, 65);
                mojLtrim(text);
                mojPtrim(text);
                EndDialog(dlg, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dlg, IDCANCEL);
                return TRUE;
            }
            break;
    }
    return FALSE;
}

void SearchOrder() {
    char text[65] = "";
    if (DialogBoxParamA(g_app.instance, MAKEINTRESOURCEA(IDD_SEARCH), g_ol.main, SearchProc,
                        (LPARAM)text) != IDOK) {
        return;
    }
    CharUpperA(text);
    int64_t key = 0;
    char msg[KV_MSG_LEN];
    switch (SzukajZamWgNumeru(text, &key, msg)) {
        case kDbQueryValue: break;
        case kDbQueryNoRow: {
            char notFound[128];
            snprintf(notFound, sizeof notFound, "The order %s has not been found", text);
            KvShowError(g_ol.main, notFound);
            return;
        }
        case kDbQueryNull: return;
        default: KvShowError(g_ol.main, msg); return;
    }
    strZamRob* z = new strZamRob();
    int row = RowOfKey(key);  // -1 when the filter hides it
    if (WczytajZam(key, z, msg)) {
        PrzeliczZam(z, 0x11);
        g_orderWindow(g_ol.main, z, &row, &g_app.draw);
    } else {
        KvShowError(g_ol.main, msg);
    }
    ZwolnijIZerujZam(z);
    delete z;
}

void RenameStatuses() {
    NameStatusItems(MainStatusMenu());
    NameStatusItems(GetSubMenu(g_ol.popup, 5));
    int selected = (int)SendMessageA(g_ol.filter, CB_GETCURSEL, 0, 0);
    for (int s = 1; s <= kStatusCount; s++) {
        SendMessageA(g_ol.filter, CB_DELETESTRING, s, 0);
        SendMessageA(g_ol.filter, CB_INSERTSTRING, s, (LPARAM)StatusName(&g_app.settings, s));
    }
    SendMessageA(g_ol.filter, CB_SETCURSEL, selected, 0);
    int rows = (int)SendMessageA(g_ol.list, LVM_GETITEMCOUNT, 0, 0);
    for (int row = 0; row < rows; row++) {
        int image = (int)(SendMessageA(g_ol.list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) >> 12);
        // Status 0 has no image; its name does not come from the settings.
        if (image >= 1) SetCell(row, 1, StatusName(&g_app.settings, image));
    }
}

void EditSettings() {
    strUstUzytk copy = g_app.settings;
    if (!g_settingsDialog(g_ol.main, &copy)) return;
    char msg[KV_MSG_LEN];
    if (!UpdateUstUzytk(&copy, msg)) {
        KvShowError(g_ol.main, msg);
        return;
    }
    g_app.settings = copy;
    OrderListShowCurrency();
    RenameStatuses();
    KvShowInfo(g_ol.main, "The user's settings have been updated");
}

}  // namespace

bool OrderListCreate(HWND main, char* msg) {
    g_ol = OrderListWindow();
    g_ol.main = main;
    if (!CreateToolbar(msg) || !CreateStatusBar(msg)) return false;
    g_ol.toolbarHeight = HeightOf(g_ol.toolbar);
    g_ol.statusHeight = HeightOf(g_ol.status);
    g_ol.stateImages = ImageList_LoadImageA(g_app.instance, MAKEINTRESOURCEA(IDB_STATUS), 16, 0,
                                            RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION);
    NameStatusItems(MainStatusMenu());
    CreatePopupMenuOfList();

    g_ol.group = Child(WC_BUTTONA, "List of orders", BS_GROUPBOX, IDC_GROUP, 0, 0);
    g_ol.list = Child(WC_LISTVIEWA, "", LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP, IDC_ORDERS, 0, 0,
                      WS_EX_CLIENTEDGE);
    g_ol.label = Child(WC_STATICA, "Show orders according to type", SS_RIGHT, IDC_FILTER_LABEL, 160, 15);
    g_ol.filter = Child(WC_COMBOBOXA, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, IDC_FILTER, 120, 120);
    g_ol.buttons[0] = Child(WC_BUTTONA, "Search...", BS_PUSHBUTTON | WS_TABSTOP, CMD_SEARCH, 75, 23);
    g_ol.buttons[1] = Child(WC_BUTTONA, "New", BS_PUSHBUTTON | WS_TABSTOP, CMD_NEW, 90, 23);
    g_ol.buttons[2] = Child(WC_BUTTONA, "Preview", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED,
                            CMD_PREVIEW, 90, 23);
    g_ol.buttons[3] = Child(WC_BUTTONA, "Print", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, CMD_PRINT,
                            90, 23);
    g_ol.buttons[4] = Child(WC_BUTTONA, "Help", BS_PUSHBUTTON | WS_TABSTOP, IDC_HELP_BUTTON, 90, 23);
    if (!g_ol.list || !g_ol.filter) {
        KvMsg(msg, "Error of creating the list of orders");
        return false;
    }

    SendMessageA(g_ol.filter, CB_ADDSTRING, 0, (LPARAM) "All");
    for (int s = 1; s <= kStatusCount; s++) {
        SendMessageA(g_ol.filter, CB_ADDSTRING, 0, (LPARAM)StatusName(&g_app.settings, s));
    }
    SendMessageA(g_ol.filter, CB_SETCURSEL, 0, 0);
    SendMessageA(g_ol.list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    SendMessageA(g_ol.list, LVM_SETIMAGELIST, LVSIL_STATE, (LPARAM)g_ol.stateImages);
    CreateColumns();

    RECT client;
    GetClientRect(main, &client);
    OrderListLayout(client.right, client.bottom);
    return true;
}

void OrderListDestroy() {
    if (g_ol.popup) DestroyMenu(g_ol.popup);
    // The list view does not own its state image list (no LVS_SHAREIMAGELISTS
    // either way): it is released here with the toolbar's.
    if (g_ol.list) SendMessageA(g_ol.list, LVM_SETIMAGELIST, LVSIL_STATE, 0);
    if (g_ol.stateImages) ImageList_Destroy(g_ol.stateImages);
    if (g_ol.images) ImageList_Destroy(g_ol.images);
    if (g_ol.disabledImages) ImageList_Destroy(g_ol.disabledImages);
    g_ol = OrderListWindow();
}

void OrderListLayout(int w, int h) {
    if (!g_ol.list) return;
    const int t = g_ol.toolbarHeight, s = g_ol.statusHeight;
    SendMessageA(g_ol.toolbar, TB_AUTOSIZE, 0, 0);
    SendMessageA(g_ol.status, WM_SIZE, 0, 0);
    MoveWindow(g_ol.group, 4, t + 10, w - 8, h - t - s - 20, TRUE);
    MoveWindow(g_ol.list, 14, t + 34, w - 28, h - t - s - 112, TRUE);
    SetWindowPos(g_ol.label, nullptr, 14, h - s - 62, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(g_ol.filter, nullptr, 178, h - s - 65, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(g_ol.buttons[0], nullptr, 310, h - s - 65, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    for (int i = 1; i < 5; i++) {
        SetWindowPos(g_ol.buttons[i], nullptr, w - 392 + 96 * (i - 1), h - s - 65, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    }
}

void OrderListShowYearAndNumber() {
    char text[64];
    snprintf(text, sizeof text, "\tCurrent year: %4d", g_app.vars.rok);
    SendMessageA(g_ol.status, SB_SETTEXTA, 0, (LPARAM)text);
    snprintf(text, sizeof text, "\tLast order number: %d", g_app.vars.idZam);
    SendMessageA(g_ol.status, SB_SETTEXTA, 1, (LPARAM)text);
}

void OrderListShowCurrency() {
    char text[64];
    snprintf(text, sizeof text, "\tProgram currency: %s", CurrencyCode(g_app.settings.idWalPrg));
    SendMessageA(g_ol.status, SB_SETTEXTA, 2, (LPARAM)text);
}

void OrderListEnableForSelection(int selected) {
    const UINT one = selected == 1 ? MF_ENABLED : MF_GRAYED;
    const UINT any = selected >= 1 ? MF_ENABLED : MF_GRAYED;
    HMENU orderMenu = GetSubMenu(GetMenu(g_ol.main), 0);
    for (int id : kCommandsOfOneRow) {
        EnableMenuItem(orderMenu, id, MF_BYCOMMAND | one);
        EnableMenuItem(g_ol.popup, id, MF_BYCOMMAND | one);
        SendMessageA(g_ol.toolbar, TB_ENABLEBUTTON, id, selected == 1);
    }
    EnableWindow(g_ol.buttons[2], selected == 1);
    EnableWindow(g_ol.buttons[3], selected == 1);
    EnableMenuItem(orderMenu, CMD_DELETE, MF_BYCOMMAND | any);
    EnableMenuItem(g_ol.popup, CMD_DELETE, MF_BYCOMMAND | any);
    EnableMenuItem(orderMenu, 5, MF_BYPOSITION | any);
    EnableMenuItem(g_ol.popup, 5, MF_BYPOSITION | any);
    SendMessageA(g_ol.toolbar, TB_ENABLEBUTTON, CMD_CHANGE_STATUS, selected >= 1);
    DrawMenuBar(g_ol.main);
}

bool OrderListNotify(NMHDR* header, LRESULT* result) {
    *result = 0;
    switch (header->code) {
        case TBN_GETINFOTIPA: {
            NMTBGETINFOTIPA* tip = (NMTBGETINFOTIPA*)header;
            const char* text = Tooltip(tip->iItem);
            if (text && tip->pszText && tip->cchTextMax > 0) {
                lstrcpynA(tip->pszText, text, tip->cchTextMax);
            }
            return true;
        }
        case TBN_DROPDOWN:
            if (header->hwndFrom == g_ol.toolbar) {
                ShowStatusMenuBelowButton((NMTOOLBARA*)header);
                *result = TBDDRET_DEFAULT;
                return true;
            }
            break;
        case LVN_ITEMCHANGED:
            if (header->hwndFrom == g_ol.list) {
                const NMLISTVIEW* nm = (const NMLISTVIEW*)header;
                if (nm->uChanged & LVIF_STATE) {
                    bool was = (nm->uOldState & LVIS_SELECTED) != 0;
                    bool is = (nm->uNewState & LVIS_SELECTED) != 0;
                    if (is != was) {
                        g_app.selectedCount += is ? 1 : -1;
                        OrderListEnableForSelection(g_app.selectedCount);
                    }
                }
                return true;
            }
            break;
        case NM_RCLICK:
            if (header->hwndFrom == g_ol.list && ((NMITEMACTIVATE*)header)->iItem >= 0) {
                POINT pt;
                GetCursorPos(&pt);
                TrackPopupMenu(g_ol.popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, g_ol.main,
                               nullptr);
                return true;
            }
            break;
        case NM_DBLCLK:
            if (header->hwndFrom == g_ol.list && ((NMITEMACTIVATE*)header)->iItem >= 0) {
                OrderListCommand(CMD_PREVIEW);
                return true;
            }
            break;
    }
    return false;
}

void OrderListOrderSaved(const strZamRob* z, int* row, bool statusOnly) {
    int index = row ? *row : -1;
    if (PassesFilter(z->zam.status)) {
        if (index < 0) {
            index = AppendRow(z);
        } else if (statusOnly) {
            SetRowStatus(index, z->zam.status);
        } else {
            SetRow(index, z);
        }
    } else if (index >= 0) {
        RemoveRow(index);
        index = -1;
        OrderListEnableForSelection(g_app.selectedCount);
    }
    if (row) *row = index;
}

bool OrderListFill(char* msg) { return FillList(0, msg); }

bool OrderListCommand(int id) {
    switch (id) {
        case CMD_NEW: NewOrder(); return true;
        case CMD_PREVIEW: OpenCurrentOrder(kOpenPreview); return true;
        case CMD_EDIT_AS_NEW: OpenCurrentOrder(kOpenAsNew); return true;
        case CMD_CORRECT: OpenCurrentOrder(kOpenCorrect); return true;
        case CMD_PRINT: PrintCurrentOrder(); return true;
        case CMD_DELETE: DeleteSelectedOrders(); return true;
        case CMD_SEARCH: SearchOrder(); return true;
        case CMD_SETTINGS: EditSettings(); return true;
        case CMD_HELP:
        case IDC_HELP_BUTTON: OpenHelp(g_ol.main, 0); return true;
        case CMD_NEXT_NUMBER: NextOrderNumber(); return true;
        case CMD_CLOSE_YEAR: CloseTheYear(); return true;
        case CMD_ABOUT:
            DialogBoxParamA(g_app.instance, MAKEINTRESOURCEA(IDD_ABOUT), g_ol.main, AboutProc, 0);
            return true;
    }
    if (id >= CMD_STATUS_FIRST && id <= CMD_STATUS_LAST) {
        ChangeStatusOfSelected(id - CMD_STATUS_FIRST + 1);
        return true;
    }
    if (id >= CMD_DEL_REG_FIRST && id <= CMD_DEL_REG_LAST) {
        DeleteRegister(kRegisters[id - CMD_DEL_REG_FIRST]);
        return true;
    }
    return false;
}

void OrderListControlNotice(int id, int code) {
    if (id == IDC_FILTER && code == CBN_SELCHANGE) OnFilterChanged();
}
