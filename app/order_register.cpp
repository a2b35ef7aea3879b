// The register of orders: the controls of the main window and the commands
// that do not need an order loaded.
#include "app/order_register.h"

#include <commctrl.h>
#include <new>
#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/pending.h"
#include "app/register_dialogs.h"
#include "db/connection.h"
#include "db/names.h"
#include "db/orders.h"
#include "db/registers.h"
#include "db/tables.h"
#include "resources/resource.h"
#include "util/amounttext.h"
#include "util/help_win.h"
#include "util/kvutil.h"
#include "util/listview_win.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "valuation/order_list.h"
#include "valuation/valuation.h"

namespace {

const int kCommandsOfOneRow[] = {CMD_PREVIEW, CMD_EDIT_AS_NEW, CMD_CORRECT, CMD_PRINT};

// ---- Building ----------------------------------------------------------------

bool CreateToolbar(MainWindow* w, char* msg) {
    static const KvToolButton kButtons[] = {
        {0, CMD_NEW, TBSTATE_ENABLED, BTNS_BUTTON, "New"},
        {1, CMD_PREVIEW, 0, BTNS_BUTTON, "Preview"},
        {2, CMD_CHANGE_STATUS, 0, BTNS_DROPDOWN, "Change status"},
        {3, CMD_PRINT, 0, BTNS_BUTTON, "Print"},
        {6, 0, 0, BTNS_SEP, nullptr},
        {4, CMD_SETTINGS, TBSTATE_ENABLED, BTNS_BUTTON, "Settings"},
        {6, 0, 0, BTNS_SEP, nullptr},
        {5, CMD_EXIT, TBSTATE_ENABLED, BTNS_BUTTON, "Exit"},
        {6, CMD_HELP, TBSTATE_ENABLED, BTNS_BUTTON, "Help"},
    };
    KvToolbarSpec spec = {};
    spec.instance = g_app.instance;
    spec.parent = w->hwnd;
    spec.id = IDC_TOOLBAR;
    spec.style = TBSTYLE_FLAT | TBSTYLE_TOOLTIPS;
    spec.imagesId = IDB_TOOLBAR;
    spec.disabledImagesId = IDB_TOOLBAR_DISABLED;
    spec.buttons = kButtons;
    spec.buttonCount = (int)(sizeof kButtons / sizeof kButtons[0]);
    if (!KvCreateToolbar(spec, &w->bar)) {
        KvMsg(msg, "Error of creating the toolbar");
        return false;
    }
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

bool CreateStatusBar(MainWindow* w, char* msg) {
    w->status = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP,
                                  0, 0, 0, 0, w->hwnd, (HMENU)(INT_PTR)IDC_STATUSBAR,
                                  g_app.instance, nullptr);
    if (!w->status) {
        KvMsg(msg, "Error of creating the status bar");
        return false;
    }
    int parts[3] = {250, 600, -1};
    SendMessageA(w->status, SB_SETPARTS, 3, (LPARAM)parts);
    OrderListShowYearAndNumber(w);
    OrderListShowCurrency(w);
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

HMENU MainStatusMenu(MainWindow* w) { return GetSubMenu(GetSubMenu(GetMenu(w->hwnd), 0), 5); }

void CreatePopupMenuOfList(MainWindow* w) {
    w->popup = CreatePopupMenu();
    AppendMenuA(w->popup, MF_STRING, CMD_NEW, "New");
    AppendMenuA(w->popup, MF_STRING, CMD_PREVIEW, "Preview");
    AppendMenuA(w->popup, MF_STRING, CMD_EDIT_AS_NEW, "Edit as new");
    AppendMenuA(w->popup, MF_STRING, CMD_DELETE, "Delete");
    AppendMenuA(w->popup, MF_SEPARATOR, 0, nullptr);
    HMENU statuses = CreatePopupMenu();
    for (int s = 1; s <= kStatusCount; s++) {
        AppendMenuA(statuses, MF_STRING, CMD_STATUS_FIRST + s - 1, StatusName(&g_app.settings, s));
    }
    AppendMenuA(w->popup, MF_POPUP, (UINT_PTR)statuses, "Change status to");
    AppendMenuA(w->popup, MF_STRING, CMD_CORRECT, "Correct");
    AppendMenuA(w->popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(w->popup, MF_STRING, CMD_PRINT, "Print");
}

HWND Child(MainWindow* w, const char* cls, const char* text, DWORD style, int id, int cx, int cy, DWORD exStyle = 0) {
    HWND hwnd = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, cx, cy,
                                w->hwnd, (HMENU)(INT_PTR)id, g_app.instance, nullptr);
    SendMessageA(hwnd, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
    return hwnd;
}

void CreateColumns(MainWindow* w) {
    const ListColumn kColumns[] = {
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
    InsertListColumns(w->list, kColumns, (int)(sizeof kColumns / sizeof kColumns[0]));
}

// ---- Commands that need no order ------------------------------------------

void CloseTheYear(MainWindow* w) {
    char text[128];
    snprintf(text, sizeof text, "Do you want to close the year %4d ?", g_app.vars.rok);
    if (!KvAskYesNo(w->hwnd, text)) return;
    strZmienne next = {0, g_app.vars.rok + 1};
    char msg[KV_MSG_LEN];
    if (!UpdateZmienne(&next, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    g_app.vars = next;
    OrderListShowYearAndNumber(w);
}

void NextOrderNumber(MainWindow* w) {
    int64_t last = AskNextOrderNumber(g_app.instance, w->hwnd, g_app.vars.idZam);
    if (last < 0) return;
    char msg[KV_MSG_LEN];
    if (!DbSaveLastOrderNumber((int32_t)last, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    g_app.vars.idZam = (int32_t)last;
    OrderListShowYearAndNumber(w);
    KvShowInfo(w->hwnd, "The next order's number has been saved");
}

// What each register of used elements holds, in the menu's order.
static_assert(CMD_DEL_REG_LAST - CMD_DEL_REG_FIRST + 1 == kDbRegisterCount, "one command per register");
const char* const kRegisterContents[kDbRegisterCount] = {
    "profiles", "hardware", "colors", "glazing beads", "muntins", "fillings", "accessories",
};

void DeleteRegister(MainWindow* w, int which) {
    const char* what = kRegisterContents[which];
    char text[256];
    int64_t count = DbRegisterRows(which);
    if (count == 0) {
        snprintf(text, sizeof text, "The register of the used %s is empty", what);
        KvShowError(w->hwnd, text);
        return;
    }
    snprintf(text, sizeof text,
             "There are %lld used %s in the register.\r\nDo you want to delete them ?",
             (long long)count, what);
    if (!KvAskYesNo(w->hwnd, text)) return;
    char msg[KV_MSG_LEN];
    if (!DbWipeRegister(which, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    snprintf(text, sizeof text, "The register of the used %s has been deleted", what);
    KvShowInfo(w->hwnd, text);
}

void ShowStatusMenuBelowButton(MainWindow* w, const NMTOOLBARA* nm) {
    RECT r = nm->rcButton;
    MapWindowPoints(w->bar.hwnd, HWND_DESKTOP, (POINT*)&r, 2);
    TPMPARAMS tpm = {sizeof tpm, r};
    TrackPopupMenuEx(MainStatusMenu(w), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL, r.left, r.bottom,
                     w->hwnd, &tpm);
}

// ---- Rows of orders ---------------------------------------------------------

// A status passes the filter when it is not "deleted" and the filter is
// "All" or that status.
bool PassesFilter(MainWindow* w, int32_t status) {
    return status != -1 && (w->shownStatus == 0 || w->shownStatus == status);
}

void SetCell(MainWindow* w, int row, int column, const char* text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = (char*)text;
    SendMessageA(w->list, LVM_SETITEMTEXTA, row, (LPARAM)&item);
}

// The status image (1-6 shows its image, 0 none) and the status name.
void SetRowStatus(MainWindow* w, int row, int32_t status) {
    LVITEMA item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = (status >= 1 && status <= kStatusCount) ? INDEXTOSTATEIMAGEMASK(status) : 0;
    SendMessageA(w->list, LVM_SETITEMSTATE, row, (LPARAM)&item);
    SetCell(w, row, 1, StatusName(&g_app.settings, status));
}

// Writes every column of `row` from the order.
void SetRow(MainWindow* w, int row, const strZamRob* z) {
    const strZam& o = z->zam;
    char text[128];
    snprintf(text, sizeof text, "%lld", (long long)o.kluczZam);
    SetCell(w, row, 0, text);
    SetRowStatus(w, row, o.status);
    char abbrev[sizeof o.sDaneUzytk.skrot + 1] = "";
    memcpy(abbrev, o.sDaneUzytk.skrot, sizeof o.sDaneUzytk.skrot);
    snprintf(text, sizeof text, "%d-%s-%4d", o.idZam, abbrev, o.rok);
    SetCell(w, row, 2, text);
    SetCell(w, row, 3, o.dodOznaczZam);
    SetCell(w, row, 4, o.nazwaNabyw);
    SetCell(w, row, 5, DajFormatData(o.dataZam, text, sizeof text) ? text : "");
    SetCell(w, row, 6, DajFormatData(o.dataReal, text, sizeof text) ? text : "");
    if (z->sumy.przepelnione & kSumaZamBrutto) snprintf(text, sizeof text, "%s", kKwotaZaDuza);
    else DajNapKwotaPokaz(z->sumy.zamBrutto, text, sizeof text);
    SetCell(w, row, 7, text);
    long long windows = 0;
    for (int i = 0; i < o.liczbaOkien; i++) windows += o.okna[i].ilOkien;
    snprintf(text, sizeof text, "%lld", windows);
    SetCell(w, row, 8, text);
    SetCell(w, row, 9, o.uwagi);
}

int AppendRow(MainWindow* w, const strZamRob* z) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = (int)SendMessageA(w->list, LVM_GETITEMCOUNT, 0, 0);
    item.pszText = (char*)"";
    int row = (int)SendMessageA(w->list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    if (row >= 0) SetRow(w, row, z);
    return row;
}

bool AddRowOfOrder(const strZamRob* z, void* w) { return AppendRow((MainWindow*)w, z) >= 0; }

// The key of a row, read back from the text of its first column.
int64_t RowKey(MainWindow* w, int row) {
    char text[32] = "";
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(w->list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
    return atollNull(text);
}

int RowOfKey(MainWindow* w, int64_t key) {
    int rows = (int)SendMessageA(w->list, LVM_GETITEMCOUNT, 0, 0);
    for (int row = 0; row < rows; row++) {
        if (RowKey(w, row) == key) return row;
    }
    return -1;
}

int FirstSelectedRow(MainWindow* w) { return (int)SendMessageA(w->list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED); }

void RemoveRow(MainWindow* w, int row) {
    SendMessageA(w->list, LVM_DELETEITEM, row, 0);
    // Whether deleting a selected row reports its deselection differs between
    // list view versions: take the count from the list itself.
    g_app.selectedCount = (int)SendMessageA(w->list, LVM_GETSELECTEDCOUNT, 0, 0);
}

// Fills the list with the orders that pass `filter` (0 "All", 1-6 a status).
bool FillList(MainWindow* w, int32_t filter, char* msg) {
    SendMessageA(w->list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(w->list, LVM_DELETEALLITEMS, 0, 0);
    g_app.selectedCount = 0;
    w->shownStatus = filter;
    bool ok = ListaZamowien(filter, AddRowOfOrder, w, msg) != 0;
    g_app.selectedCount = 0;
    SendMessageA(w->list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(w->list, nullptr, TRUE);
    return ok;
}

void OnFilterChanged(MainWindow* w) {
    int filter = (int)SendMessageA(w->filter, CB_GETCURSEL, 0, 0);
    char msg[KV_MSG_LEN];
    if (filter < 0 || filter > kStatusCount) {
        KvShowError(w->hwnd, "Error of selecting order type");
        return;
    }
    if (!FillList(w, filter, msg)) KvShowError(w->hwnd, msg);
    OrderListEnableForSelection(w, 0);
}

// ---- Commands on orders -------------------------------------------------------

enum OpenMode { kOpenPreview, kOpenAsNew, kOpenCorrect };

// A zeroed working record, or null after saying that there was no memory.
strZamRob* NewOrderRecord(MainWindow* w) {
    strZamRob* z = new (std::nothrow) strZamRob();
    if (!z) KvShowError(w->hwnd, "Error of allocation of strZamRob structure");
    return z;
}

// Loads the order of the current (first selected) row with its totals.
bool LoadCurrentOrder(MainWindow* w, strZamRob* z, int* row) {
    *row = FirstSelectedRow(w);
    char msg[KV_MSG_LEN];
    if (*row < 0) {
        KvShowError(w->hwnd, "Error of reading the order from the list");
        return false;
    }
    if (!WczytajZam(RowKey(w, *row), z, msg)) {
        KvShowError(w->hwnd, msg);
        return false;
    }
    PrzeliczZam(z, 0x11);
    return true;
}

void OpenCurrentOrder(MainWindow* w, OpenMode mode) {
    strZamRob* z = NewOrderRecord(w);
    if (!z) return;
    int row;
    if (LoadCurrentOrder(w, z, &row)) {
        if (mode == kOpenAsNew) {
            row = -1;
            PrzenumerujZam(z, &g_app.vars, &g_app.settings);
            PrzeliczZam(z, 0x11);
        } else if (mode == kOpenCorrect) {
            z->flagiWidoku = kWidokKorekta;
        }
        if (g_orderWindow(w->hwnd, z, &row, &g_app.draw) && mode == kOpenAsNew) {
            g_app.vars.idZam = z->zam.idZam;  // the order window stored it as the last number
            OrderListShowYearAndNumber(w);
        }
    }
    ZwolnijIZerujZam(z);
    delete z;
}

void NewOrder(MainWindow* w) {
    strZamRob* z = NewOrderRecord(w);
    if (!z) return;
    PrzenumerujZam(z, &g_app.vars, &g_app.settings);
    DomyslneZam(z, &g_app.settings);
    PrzeliczZam(z, 0x11);
    int row = -1;
    if (g_orderWindow(w->hwnd, z, &row, &g_app.draw)) {
        g_app.vars.idZam = z->zam.idZam;  // the order window stored it as the last number
        OrderListShowYearAndNumber(w);
    }
    ZwolnijIZerujZam(z);
    delete z;
}

// The printout gets the print copy of the drawing set (black where the
// screen uses colour).
void PrintCurrentOrder(MainWindow* w) {
    strZamRob* z = NewOrderRecord(w);
    if (!z) return;
    int row;
    if (LoadCurrentOrder(w, z, &row)) {
        DrawSet print;
        if (CreatePrintDrawSet(&g_app.draw, &print)) {
            g_printOrder(w->hwnd, z, &print);
            DestroyPrintDrawSet(&print);
        } else {
            KvShowError(w->hwnd, DajKomunBledu(GetLastError(), 1));
        }
    }
    ZwolnijIZerujZam(z);
    delete z;
}

void DeleteSelectedOrders(MainWindow* w) {
    if (!KvAskYesNo(w->hwnd, "Do you want to delete selected orders definitely ?")) return;
    char msg[KV_MSG_LEN];
    for (int row = FirstSelectedRow(w); row >= 0; row = FirstSelectedRow(w)) {
        if (!UsunZam(RowKey(w, row), msg)) {
            KvShowError(w->hwnd, msg);
            break;
        }
        RemoveRow(w, row);
    }
    OrderListEnableForSelection(w, g_app.selectedCount);
}

void ChangeStatusOfSelected(MainWindow* w, int32_t status) {
    char msg[KV_MSG_LEN];
    bool removed = false;
    for (int row = FirstSelectedRow(w); row >= 0;
         row = (int)SendMessageA(w->list, LVM_GETNEXTITEM, row, LVNI_SELECTED)) {
        if (!ZmienStatusZam(RowKey(w, row), status, msg)) {
            KvShowError(w->hwnd, msg);
            break;
        }
        if (PassesFilter(w, status)) {
            SetRowStatus(w, row, status);
        } else {
            RemoveRow(w, row);
            removed = true;
            row--;  // the next selected row has moved into this place
        }
    }
    if (removed) OrderListEnableForSelection(w, g_app.selectedCount);
}

void SearchOrder(MainWindow* w) {
    char text[65] = "";
    if (!AskSearchText(g_app.instance, w->hwnd, text)) return;
    CharUpperA(text);
    int64_t key = 0;
    char msg[KV_MSG_LEN];
    switch (SzukajZamWgNumeru(text, &key, msg)) {
        case kDbQueryValue: break;
        case kDbQueryNoRow: {
            char notFound[128];
            snprintf(notFound, sizeof notFound, "The order %s has not been found", text);
            KvShowError(w->hwnd, notFound);
            return;
        }
        case kDbQueryNull: return;
        default: KvShowError(w->hwnd, msg); return;
    }
    strZamRob* z = NewOrderRecord(w);
    if (!z) return;
    int row = RowOfKey(w, key);  // -1 when the filter hides it
    if (WczytajZam(key, z, msg)) {
        PrzeliczZam(z, 0x11);
        g_orderWindow(w->hwnd, z, &row, &g_app.draw);
    } else {
        KvShowError(w->hwnd, msg);
    }
    ZwolnijIZerujZam(z);
    delete z;
}

void RenameStatuses(MainWindow* w) {
    NameStatusItems(MainStatusMenu(w));
    NameStatusItems(GetSubMenu(w->popup, 5));
    int selected = (int)SendMessageA(w->filter, CB_GETCURSEL, 0, 0);
    for (int s = 1; s <= kStatusCount; s++) {
        SendMessageA(w->filter, CB_DELETESTRING, s, 0);
        SendMessageA(w->filter, CB_INSERTSTRING, s, (LPARAM)StatusName(&g_app.settings, s));
    }
    SendMessageA(w->filter, CB_SETCURSEL, selected, 0);
    int rows = (int)SendMessageA(w->list, LVM_GETITEMCOUNT, 0, 0);
    for (int row = 0; row < rows; row++) {
        int image = (int)(SendMessageA(w->list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) >> 12);
        // Status 0 has no image; its name does not come from the settings.
        if (image >= 1) SetCell(w, row, 1, StatusName(&g_app.settings, image));
    }
}

void EditSettings(MainWindow* w) {
    strUstUzytk copy = g_app.settings;
    if (!g_settingsDialog(w->hwnd, &copy)) return;
    char msg[KV_MSG_LEN];
    if (!UpdateUstUzytk(&copy, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    g_app.settings = copy;
    OrderListShowCurrency(w);
    RenameStatuses(w);
    KvShowInfo(w->hwnd, "The user's settings have been updated");
}

// ---- Notifications ------------------------------------------------------------

void OnToolbarTip(NMTBGETINFOTIPA* tip) {
    const char* text = Tooltip(tip->iItem);
    if (text && tip->pszText && tip->cchTextMax > 0) lstrcpynA(tip->pszText, text, tip->cchTextMax);
}

// Counts selections as they change, so the commands follow without asking
// the list for its whole selection on every click.
bool OnListItemChanged(MainWindow* w, const NMLISTVIEW* nm) {
    if (!(nm->uChanged & LVIF_STATE)) return true;
    bool was = (nm->uOldState & LVIS_SELECTED) != 0;
    bool is = (nm->uNewState & LVIS_SELECTED) != 0;
    if (is == was) return true;
    g_app.selectedCount += is ? 1 : -1;
    OrderListEnableForSelection(w, g_app.selectedCount);
    return true;
}

// The pop-up menu opens where the click was (the notification's own point,
// in the list's client coordinates), only on a row.
bool OnListRightClick(MainWindow* w, const NMITEMACTIVATE* nm) {
    if (nm->iItem < 0) return false;
    POINT pt = nm->ptAction;
    ClientToScreen(w->list, &pt);
    TrackPopupMenu(w->popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, w->hwnd, nullptr);
    return true;
}

bool OnListDoubleClick(MainWindow* w, const NMITEMACTIVATE* nm) {
    if (nm->iItem < 0) return false;
    OrderListCommand(w, CMD_PREVIEW);
    return true;
}

}  // namespace

bool OrderListCreate(MainWindow* w, char* msg) {
    if (!CreateToolbar(w, msg) || !CreateStatusBar(w, msg)) return false;
    w->toolbarHeight = HeightOf(w->bar.hwnd);
    w->statusHeight = HeightOf(w->status);
    w->stateImages = ImageList_LoadImageA(g_app.instance, MAKEINTRESOURCEA(IDB_STATUS), 16, 0,
                                            RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION);
    NameStatusItems(MainStatusMenu(w));
    CreatePopupMenuOfList(w);

    w->group = Child(w, WC_BUTTONA, "List of orders", BS_GROUPBOX, IDC_GROUP, 0, 0);
    w->list = Child(w, WC_LISTVIEWA, "", LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP, IDC_ORDERS, 0, 0,
                      WS_EX_CLIENTEDGE);
    w->label = Child(w, WC_STATICA, "Show orders according to type", SS_RIGHT, IDC_FILTER_LABEL, 160, 15);
    w->filter = Child(w, WC_COMBOBOXA, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, IDC_FILTER, 120, 120);
    w->buttons[0] = Child(w, WC_BUTTONA, "Search...", BS_PUSHBUTTON | WS_TABSTOP, CMD_SEARCH, 75, 23);
    w->buttons[1] = Child(w, WC_BUTTONA, "New", BS_PUSHBUTTON | WS_TABSTOP, CMD_NEW, 90, 23);
    w->buttons[2] = Child(w, WC_BUTTONA, "Preview", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED,
                            CMD_PREVIEW, 90, 23);
    w->buttons[3] = Child(w, WC_BUTTONA, "Print", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, CMD_PRINT,
                            90, 23);
    w->buttons[4] = Child(w, WC_BUTTONA, "Help", BS_PUSHBUTTON | WS_TABSTOP, IDC_HELP_BUTTON, 90, 23);
    if (!w->list || !w->filter) {
        KvMsg(msg, "Error of creating the list of orders");
        return false;
    }

    SendMessageA(w->filter, CB_ADDSTRING, 0, (LPARAM) "All");
    for (int s = 1; s <= kStatusCount; s++) {
        SendMessageA(w->filter, CB_ADDSTRING, 0, (LPARAM)StatusName(&g_app.settings, s));
    }
    SendMessageA(w->filter, CB_SETCURSEL, 0, 0);
    SendMessageA(w->list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    SendMessageA(w->list, LVM_SETIMAGELIST, LVSIL_STATE, (LPARAM)w->stateImages);
    CreateColumns(w);

    RECT client;
    GetClientRect(w->hwnd, &client);
    OrderListLayout(w, client.right, client.bottom);
    return true;
}

void OrderListDestroy(MainWindow* w) {
    if (w->popup) DestroyMenu(w->popup);
    // The list view does not own its state image list (no LVS_SHAREIMAGELISTS
    // either way): it is released here. The toolbar's go with the record.
    if (w->list) SendMessageA(w->list, LVM_SETIMAGELIST, LVSIL_STATE, 0);
    if (w->stateImages) ImageList_Destroy(w->stateImages);
    w->popup = nullptr;
    w->stateImages = nullptr;
    w->list = nullptr;
}

void OrderListLayout(MainWindow* w, int cx, int cy) {
    if (!w->list) return;
    const int t = w->toolbarHeight, s = w->statusHeight;  // device pixels
    SendMessageA(w->bar.hwnd, TB_AUTOSIZE, 0, 0);
    SendMessageA(w->status, WM_SIZE, 0, 0);
    MoveWindow(w->group, 4, t + 10, cx - 8, cy - t - s - 20, TRUE);
    MoveWindow(w->list, 14, t + 34, cx - 28, cy - t - s - 112, TRUE);
    SetWindowPos(w->label, nullptr, 14, cy - s - 62, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(w->filter, nullptr, 178, cy - s - 65, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(w->buttons[0], nullptr, 310, cy - s - 65, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    for (int i = 1; i < 5; i++) {
        SetWindowPos(w->buttons[i], nullptr, cx - 392 + 96 * (i - 1), cy - s - 65, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    }
}

void OrderListRenameStatuses(MainWindow* w) { RenameStatuses(w); }

void OrderListShowYearAndNumber(MainWindow* w) {
    char text[64];
    snprintf(text, sizeof text, "\tCurrent year: %4d", g_app.vars.rok);
    SendMessageA(w->status, SB_SETTEXTA, 0, (LPARAM)text);
    snprintf(text, sizeof text, "\tLast order number: %d", g_app.vars.idZam);
    SendMessageA(w->status, SB_SETTEXTA, 1, (LPARAM)text);
}

void OrderListShowCurrency(MainWindow* w) {
    char text[64];
    snprintf(text, sizeof text, "\tProgram currency: %s", CurrencyCode(g_app.settings.idWalPrg));
    SendMessageA(w->status, SB_SETTEXTA, 2, (LPARAM)text);
}

void OrderListEnableForSelection(MainWindow* w, int selected) {
    const UINT one = selected == 1 ? MF_ENABLED : MF_GRAYED;
    const UINT any = selected >= 1 ? MF_ENABLED : MF_GRAYED;
    HMENU orderMenu = GetSubMenu(GetMenu(w->hwnd), 0);
    for (int id : kCommandsOfOneRow) {
        EnableMenuItem(orderMenu, id, MF_BYCOMMAND | one);
        EnableMenuItem(w->popup, id, MF_BYCOMMAND | one);
        SendMessageA(w->bar.hwnd, TB_ENABLEBUTTON, id, selected == 1);
    }
    EnableWindow(w->buttons[2], selected == 1);
    EnableWindow(w->buttons[3], selected == 1);
    EnableMenuItem(orderMenu, CMD_DELETE, MF_BYCOMMAND | any);
    EnableMenuItem(w->popup, CMD_DELETE, MF_BYCOMMAND | any);
    EnableMenuItem(orderMenu, 5, MF_BYPOSITION | any);
    EnableMenuItem(w->popup, 5, MF_BYPOSITION | any);
    SendMessageA(w->bar.hwnd, TB_ENABLEBUTTON, CMD_CHANGE_STATUS, selected >= 1);
    DrawMenuBar(w->hwnd);
}

bool OrderListNotify(MainWindow* w, NMHDR* header, LRESULT* result) {
    *result = 0;
    const bool fromList = header->hwndFrom == w->list;
    switch (header->code) {
        case TBN_GETINFOTIPA: OnToolbarTip((NMTBGETINFOTIPA*)header); return true;
        case TBN_DROPDOWN:
            if (header->hwndFrom != w->bar.hwnd) return false;
            ShowStatusMenuBelowButton(w, (NMTOOLBARA*)header);
            *result = TBDDRET_DEFAULT;
            return true;
        case LVN_ITEMCHANGED: return fromList && OnListItemChanged(w, (const NMLISTVIEW*)header);
        case NM_RCLICK: return fromList && OnListRightClick(w, (const NMITEMACTIVATE*)header);
        case NM_DBLCLK: return fromList && OnListDoubleClick(w, (const NMITEMACTIVATE*)header);
    }
    return false;
}

void OrderListOrderSaved(MainWindow* w, const strZamRob* z, int* row, bool statusOnly) {
    int index = row ? *row : -1;
    if (PassesFilter(w, z->zam.status)) {
        if (index < 0) {
            index = AppendRow(w, z);
        } else if (statusOnly) {
            SetRowStatus(w, index, z->zam.status);
        } else {
            SetRow(w, index, z);
        }
    } else if (index >= 0) {
        RemoveRow(w, index);
        index = -1;
        OrderListEnableForSelection(w, g_app.selectedCount);
    }
    if (row) *row = index;
}

bool OrderListFill(MainWindow* w, char* msg) { return FillList(w, 0, msg); }

bool OrderListCommand(MainWindow* w, int id) {
    switch (id) {
        case CMD_NEW: NewOrder(w); return true;
        case CMD_PREVIEW: OpenCurrentOrder(w, kOpenPreview); return true;
        case CMD_EDIT_AS_NEW: OpenCurrentOrder(w, kOpenAsNew); return true;
        case CMD_CORRECT: OpenCurrentOrder(w, kOpenCorrect); return true;
        case CMD_PRINT: PrintCurrentOrder(w); return true;
        case CMD_DELETE: DeleteSelectedOrders(w); return true;
        case CMD_SEARCH: SearchOrder(w); return true;
        case CMD_SETTINGS: EditSettings(w); return true;
        case CMD_HELP:
        case IDC_HELP_BUTTON: OpenHelp(w->hwnd, 0); return true;
        case CMD_NEXT_NUMBER: NextOrderNumber(w); return true;
        case CMD_CLOSE_YEAR: CloseTheYear(w); return true;
        case CMD_ABOUT: ShowAboutBox(g_app.instance, w->hwnd); return true;
    }
    if (id >= CMD_STATUS_FIRST && id <= CMD_STATUS_LAST) {
        ChangeStatusOfSelected(w, id - CMD_STATUS_FIRST + 1);
        return true;
    }
    if (id >= CMD_DEL_REG_FIRST && id <= CMD_DEL_REG_LAST) {
        DeleteRegister(w, id - CMD_DEL_REG_FIRST);
        return true;
    }
    return false;
}

void OrderListControlNotice(MainWindow* w, int id, int code) {
    if (id == IDC_FILTER && code == CBN_SELCHANGE) OnFilterChanged(w);
}
