// The register of orders: the controls of the main window and the commands
// that do not need an order loaded.
#include "orderlist.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include "app.h"
#include "connection.h"
#include "help.h"
#include "kvutil.h"
#include "msgbox.h"
#include "msgbuf.h"
#include "names.h"
#include "resource.h"
#include "tables.h"

namespace {

struct OrderListWindow {
    HWND main;
    HWND toolbar, status, group, list, label, filter;
    HWND buttons[5];  // Search, New, Preview, Print, Help
    HIMAGELIST images, disabledImages, stateImages;
    HMENU popup;
    int toolbarHeight, statusHeight;  // device pixels, measured once
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

}  // namespace

// The order window, the printout and the settings dialog are not part of the
// program yet; their commands say so instead of doing nothing.
static void NotAvailableYet() {
    KvShowInfo(g_ol.main, "The order window is not available yet");
}

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

bool OrderListCommand(int id) {
    switch (id) {
        case CMD_NEW:
        case CMD_PREVIEW:
        case CMD_EDIT_AS_NEW:
        case CMD_CORRECT:
        case CMD_PRINT:
        case CMD_SETTINGS: NotAvailableYet(); return true;
        case CMD_HELP:
        case IDC_HELP_BUTTON: OpenHelp(g_ol.main, 0); return true;
        case CMD_NEXT_NUMBER: NextOrderNumber(); return true;
        case CMD_CLOSE_YEAR: CloseTheYear(); return true;
        case CMD_ABOUT:
            DialogBoxParamA(g_app.instance, MAKEINTRESOURCEA(IDD_ABOUT), g_ol.main, AboutProc, 0);
            return true;
    }
    if (id >= CMD_DEL_REG_FIRST && id <= CMD_DEL_REG_LAST) {
        DeleteRegister(kRegisters[id - CMD_DEL_REG_FIRST]);
        return true;
    }
    return false;
}
