// The register of orders as the main window shows it: its controls, the
// rows of orders with the filter, the status bar and the notifications.
#include "app/order_register.h"

#include "app/register_internal.h"

namespace {

const int kCommandsOfOneRow[] = {CMD_PREVIEW, CMD_EDIT_AS_NEW, CMD_CORRECT, CMD_PRINT, CMD_SAVE_PDF};

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
    KvToolbarSetup setup = {};
    setup.instance = g_app.instance;
    setup.parent = w->hwnd;
    setup.id = IDC_TOOLBAR;
    setup.style = TBSTYLE_FLAT | TBSTYLE_TOOLTIPS;
    setup.imagesId = IDB_TOOLBAR;
    setup.disabledImagesId = IDB_TOOLBAR_DISABLED;
    static_assert(IDB_TOOLBAR_DISABLED_200 == IDB_TOOLBAR_150 + 3, "the four larger strips in a row");
    setup.largerStripsId = IDB_TOOLBAR_150;
    setup.buttons = kButtons;
    setup.buttonCount = (int)(sizeof kButtons / sizeof kButtons[0]);
    if (!KvCreateToolbar(setup, &w->bar)) {
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

// A measure given at 96 dpi, at the window's dpi.
int Px(const MainWindow* w, int px) { return KvScale(px, w->dpi); }

void SetStatusParts(MainWindow* w) {
    int parts[3] = {Px(w, 250), Px(w, 600), -1};
    SendMessageA(w->status, SB_SETPARTS, 3, (LPARAM)parts);
}

bool CreateStatusBar(MainWindow* w, char* msg) {
    w->status = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0,
                                0, w->hwnd, (HMENU)(INT_PTR)IDC_STATUSBAR, g_app.instance, nullptr);
    if (!w->status) {
        KvMsg(msg, "Error of creating the status bar");
        return false;
    }
    SetStatusParts(w);
    OrderListShowYearAndNumber(w);
    OrderListShowCurrency(w);
    return true;
}

int HeightOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r.bottom - r.top;
}

}  // namespace

// The status names go into "Change status to" of the main menu (Order,
// position 5) and of the pop-up menu, and into the filter box.
void NameStatusItems(HMENU statusMenu) {
    for (int s = 1; s <= kStatusCount; s++) {
        ModifyMenuA(statusMenu, CMD_STATUS_FIRST + s - 1, MF_BYCOMMAND | MF_STRING, CMD_STATUS_FIRST + s - 1,
                    StatusName(&g_app.settings, s));
    }
}

namespace {

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

HWND Child(MainWindow* w, const char* cls, const char* text, DWORD style, int id, int cx, int cy,
           DWORD exStyle = 0) {
    HWND hwnd = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, Px(w, cx), Px(w, cy),
                                w->hwnd, (HMENU)(INT_PTR)id, g_app.instance, nullptr);
    SendMessageA(hwnd, WM_SETFONT, (WPARAM)KvGuiFont(w->font.get()), FALSE);
    return hwnd;
}

// The headers are the CSV export's (valuation/register_csv.h), so that the
// file and the list cannot disagree.
const ListColumn kColumns[] = {
    {"", 20, LVCFMT_LEFT},
    {kRegisterColumnTexts[0], 100, LVCFMT_LEFT},  // "Status"
    {kRegisterColumnTexts[1], 100, LVCFMT_LEFT},  // "Order No."
    {kRegisterColumnTexts[2], 100, LVCFMT_LEFT},  // "Order symbol"
    {kRegisterColumnTexts[3], 150, LVCFMT_LEFT},  // "Buyer"
    {kRegisterColumnTexts[4], 90, LVCFMT_LEFT},   // "Date of order"
    {kRegisterColumnTexts[5], 90, LVCFMT_LEFT},   // "Date of fulfilment"
    {kRegisterColumnTexts[6], 90, LVCFMT_RIGHT},  // "Total"
    {kRegisterColumnTexts[7], 80, LVCFMT_RIGHT},  // "Qty of windows"
    {kRegisterColumnTexts[8], 200, LVCFMT_LEFT},  // "Notes"
};
const int kColumnCount = (int)(sizeof kColumns / sizeof kColumns[0]);

void CreateColumns(MainWindow* w) { InsertListColumns(w->list, kColumns, kColumnCount, w->dpi); }

// The sizes the controls are made with, at 96 dpi.
struct ControlSize {
    int id, cx, cy;
};
const ControlSize kControlSizes[] = {
    {IDC_FILTER_LABEL, 160, 15}, {IDC_FILTER, 120, 120}, {CMD_SEARCH, 75, 23},      {CMD_NEW, 90, 23},
    {CMD_PREVIEW, 90, 23},       {CMD_PRINT, 90, 23},    {IDC_HELP_BUTTON, 90, 23},
};

// ---- Rows of orders ---------------------------------------------------------

}  // namespace

// A status passes the filter when it is not "deleted" and the filter is
// "All" or that status.
bool PassesFilter(MainWindow* w, int32_t status) {
    return status != -1 && (w->shownStatus == 0 || w->shownStatus == status);
}

void RedrawRow(MainWindow* w, int row) { SendMessageA(w->list, LVM_REDRAWITEMS, row, row); }

// The status image and name come from the row when the list draws it.
void SetRowStatus(MainWindow* w, int row, int32_t status) {
    if (row < 0 || (size_t)row >= w->rows.size()) return;
    w->rows.SetStatus((size_t)row, status);
    RedrawRow(w, row);
}

namespace {

// The list's row count follows the rows; the selection stays where it is.
void ShowRowCount(MainWindow* w) {
    SendMessageA(w->list, LVM_SETITEMCOUNT, (WPARAM)w->rows.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

int AppendRow(MainWindow* w, const strZamRob* z) {
    if (!w->rows.Append(*z)) return -1;
    ShowRowCount(w);
    return (int)w->rows.size() - 1;
}

// The fill's progress: the orders through of those the pass will give.
struct Filling {
    MainWindow* w;
    KvFillProgress* progress;
    const char* cond;  // the filter's condition on T_Zam, or ""
    long long total;   // the orders the pass gives, -1 until counted
    long long done;
    bool noMemory;
};

bool AddRowOfOrder(const strZamRob* z, void* ctx) {
    Filling* f = (Filling*)ctx;
    if (!f->w->rows.Append(*z)) {
        f->noMemory = true;
        return false;
    }
    ++f->done;
    if (!f->progress->Due()) return true;
    // Counted once, and only for a fill long enough to show its progress.
    if (f->total < 0) f->total = DbCountRows("T_Zam", nullptr, f->cond[0] ? f->cond : nullptr);
    f->progress->Step(f->done, f->total);
    return true;
}

}  // namespace

int64_t RowKey(MainWindow* w, int row) {
    return row >= 0 && (size_t)row < w->rows.size() ? w->rows[(size_t)row].key : 0;
}

int RowOfKey(MainWindow* w, int64_t key) { return w->rows.Find(key); }

void RemoveRow(MainWindow* w, int row) {
    if (row < 0 || (size_t)row >= w->rows.size()) return;
    w->rows.Remove((size_t)row);
    // The list moves the selection and the focus of the rows below up one.
    SendMessageA(w->list, LVM_DELETEITEM, row, 0);
    g_app.selectedCount = (int)SendMessageA(w->list, LVM_GETSELECTEDCOUNT, 0, 0);
}

namespace {

// Fills the list with the orders that pass `filter` (0 "All", 1-6 a status).
// The list holds no copy of the rows: it is told their count once the pass
// is through (or stopped), and asks for what it draws.
bool FillList(MainWindow* w, int32_t filter, char* msg) {
    SendMessageA(w->list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(w->list, LVM_DELETEALLITEMS, 0, 0);
    w->rows.Clear();
    g_app.selectedCount = 0;
    w->shownStatus = filter;
    char cond[32] = "";
    if (filter >= 1 && filter <= kStatusCount) snprintf(cond, sizeof cond, "status = %d", (int)filter);
    KvFillProgress progress(w->hwnd, "Reading the orders...");
    Filling f = {w, &progress, cond, -1, 0, false};
    // The rows need the totals, not the drawings: an order whose drawing
    // is damaged is listed, and says so when it is opened.
    bool ok = ListOrders(filter, AddRowOfOrder, &f, msg, kListTotals) != 0;
    if (f.noMemory) {
        KvMsg(msg, "Error of allocation of the list of orders");
        ok = false;
    }
    SendMessageA(w->list, LVM_SETITEMCOUNT, (WPARAM)w->rows.size(), 0);
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

// ---- Notifications ------------------------------------------------------------

void OnToolbarTip(NMTBGETINFOTIPA* tip) {
    const char* text = Tooltip(tip->iItem);
    if (text && tip->pszText && tip->cchTextMax > 0) lstrcpynA(tip->pszText, text, tip->cchTextMax);
}

// The selection changed (one row, every row as item -1, or a range of an
// owner-data list): the commands follow the count the list itself keeps.
void OnSelectionChanged(MainWindow* w) {
    const int count = (int)SendMessageA(w->list, LVM_GETSELECTEDCOUNT, 0, 0);
    if (count == g_app.selectedCount) return;
    g_app.selectedCount = count;
    OrderListEnableForSelection(w, count);
}

bool OnListItemChanged(MainWindow* w, const NMLISTVIEW* nm) {
    if ((nm->uChanged & LVIF_STATE) && ((nm->uOldState ^ nm->uNewState) & LVIS_SELECTED)) OnSelectionChanged(w);
    return true;
}

// What the list draws or another program reads: the text is copied into
// the caller's buffer, the status image given as the row's state image.
bool OnGetDispInfo(MainWindow* w, NMLVDISPINFOA* di) {
    LVITEMA& item = di->item;
    if (item.iItem < 0 || (size_t)item.iItem >= w->rows.size()) return true;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        w->rows.CellText((size_t)item.iItem, item.iSubItem, g_app.settings, item.pszText, item.cchTextMax);
    if (item.mask & LVIF_STATE) {
        const int32_t status = w->rows[(size_t)item.iItem].status;
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) |
                     ((status >= 1 && status <= kStatusCount) ? INDEXTOSTATEIMAGEMASK(status) : 0);
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
    return true;
}

// LVM_FINDITEM (typing on the list, or a script): the first row from
// `start` on (round to it with LVFI_WRAP) whose key text is, or with
// LVFI_PARTIAL starts with, `text`, letter case ignored.
LRESULT FindRow(MainWindow* w, int start, UINT flags, const char* text) {
    if (!(flags & (LVFI_STRING | LVFI_PARTIAL)) || !text) return -1;
    const int n = (int)w->rows.size();
    const size_t len = strlen(text);
    char key[32];
    for (int k = 0; k < n; k++) {
        const int row = (start < 0 ? 0 : start) + k;
        if (row >= n && !(flags & LVFI_WRAP)) break;
        const int at = row % n;
        w->rows.CellText((size_t)at, kRegColKey, g_app.settings, key, sizeof key);
        if ((flags & LVFI_PARTIAL) ? _strnicmp(key, text, len) == 0 : _stricmp(key, text) == 0) return at;
    }
    return -1;
}

// The list asks in either character set, whatever the caller used.
LRESULT OnFindItem(MainWindow* w, const NMHDR* header) {
    if (header->code == LVN_ODFINDITEMA) {
        const NMLVFINDITEMA* f = (const NMLVFINDITEMA*)header;
        return FindRow(w, f->iStart, f->lvfi.flags, f->lvfi.psz);
    }
    const NMLVFINDITEMW* f = (const NMLVFINDITEMW*)header;
    char text[64] = "";
    if (f->lvfi.psz && !WideCharToMultiByte(CP_ACP, 0, f->lvfi.psz, -1, text, sizeof text, nullptr, nullptr))
        return -1;
    return FindRow(w, f->iStart, f->lvfi.flags, f->lvfi.psz ? text : nullptr);
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

// The status pictures drawn for `dpi`: 16, 24 or 32 pixels.
HIMAGELIST LoadStatusPictures(int dpi) {
    static const int strips[] = {IDB_STATUS, IDB_STATUS_150, IDB_STATUS_200};
    const int scale = KvPictureScaleIndex(dpi);
    return ImageList_LoadImageA(g_app.instance, MAKEINTRESOURCEA(strips[scale]), 16 * (2 + scale) / 2, 0,
                                RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION);
}

}  // namespace

void OrderListRefill(MainWindow* w) { OnFilterChanged(w); }

bool OrderListCreate(MainWindow* w, char* msg) {
    w->dpi = KvDpiForWindow(w->hwnd);
    w->font.reset(KvCreateGuiFont(w->dpi));
    if (!CreateToolbar(w, msg) || !CreateStatusBar(w, msg)) return false;
    w->toolbarHeight = HeightOf(w->bar.hwnd);
    w->statusHeight = HeightOf(w->status);
    w->stateImages = LoadStatusPictures(w->dpi);
    NameStatusItems(MainStatusMenu(w));
    CreatePopupMenuOfList(w);

    w->group = Child(w, WC_BUTTONA, "List of orders", BS_GROUPBOX, IDC_GROUP, 0, 0);
    // Owner data: the list holds no copy of the rows and asks for each cell.
    w->list = Child(w, WC_LISTVIEWA, "", LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA | WS_TABSTOP, IDC_ORDERS,
                    0, 0, WS_EX_CLIENTEDGE);
    w->label = Child(w, WC_STATICA, "Show orders according to type", SS_RIGHT, IDC_FILTER_LABEL, 160, 15);
    w->filter = Child(w, WC_COMBOBOXA, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, IDC_FILTER, 120, 120);
    w->buttons[0] = Child(w, WC_BUTTONA, "Search...", BS_PUSHBUTTON | WS_TABSTOP, CMD_SEARCH, 75, 23);
    w->buttons[1] = Child(w, WC_BUTTONA, "New", BS_PUSHBUTTON | WS_TABSTOP, CMD_NEW, 90, 23);
    w->buttons[2] =
        Child(w, WC_BUTTONA, "Preview", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, CMD_PREVIEW, 90, 23);
    w->buttons[3] =
        Child(w, WC_BUTTONA, "Print", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, CMD_PRINT, 90, 23);
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
    // The status is the rows' state image, asked for as the text is.
    SendMessageA(w->list, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
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
    MoveWindow(w->group, Px(w, 4), t + Px(w, 10), cx - Px(w, 8), cy - t - s - Px(w, 20), TRUE);
    MoveWindow(w->list, Px(w, 14), t + Px(w, 34), cx - Px(w, 28), cy - t - s - Px(w, 112), TRUE);
    const int row = cy - s - Px(w, 65);
    SetWindowPos(w->label, nullptr, Px(w, 14), cy - s - Px(w, 62), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(w->filter, nullptr, Px(w, 178), row, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(w->buttons[0], nullptr, Px(w, 310), row, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    for (int i = 1; i < 5; i++) {
        SetWindowPos(w->buttons[i], nullptr, cx - Px(w, 392) + Px(w, 96) * (i - 1), row, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    }
}

void OrderListApplyDpi(MainWindow* w, int dpi) {
    if (dpi <= 0 || !w->list) return;
    w->dpi = dpi;
    w->font.reset(KvCreateGuiFont(dpi));
    const HFONT font = KvGuiFont(w->font.get());
    for (HWND c : {w->group, w->list, w->label, w->filter}) SendMessageA(c, WM_SETFONT, (WPARAM)font, TRUE);
    for (HWND b : w->buttons) SendMessageA(b, WM_SETFONT, (WPARAM)font, TRUE);
    for (const ControlSize& c : kControlSizes) {
        SetWindowPos(GetDlgItem(w->hwnd, c.id), nullptr, 0, 0, Px(w, c.cx), Px(w, c.cy),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetListColumnWidths(w->list, kColumns, kColumnCount, dpi);
    if (HIMAGELIST pictures = LoadStatusPictures(dpi)) {
        SendMessageA(w->list, LVM_SETIMAGELIST, LVSIL_STATE, (LPARAM)pictures);
        if (w->stateImages) ImageList_Destroy(w->stateImages);
        w->stateImages = pictures;
    }
    SetStatusParts(w);
    KvToolbarApplyDpi(&w->bar, dpi);
    SendMessageA(w->status, WM_SIZE, 0, 0);
    w->toolbarHeight = HeightOf(w->bar.hwnd);
    w->statusHeight = HeightOf(w->status);
    RECT client;
    GetClientRect(w->hwnd, &client);
    OrderListLayout(w, client.right, client.bottom);
}

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
        case LVN_ODSTATECHANGED:
            if (fromList) OnSelectionChanged(w);
            return fromList;
        case LVN_GETDISPINFOA: return fromList && OnGetDispInfo(w, (NMLVDISPINFOA*)header);
        case LVN_ODFINDITEMA:
        case LVN_ODFINDITEMW:
            if (!fromList) return false;
            *result = OnFindItem(w, header);
            return true;
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
        } else if ((size_t)index < w->rows.size() && w->rows.Rewrite((size_t)index, *z)) {
            RedrawRow(w, index);
        }
    } else if (index >= 0) {
        RemoveRow(w, index);
        index = -1;
        OrderListEnableForSelection(w, g_app.selectedCount);
    }
    if (row) *row = index;
}

bool OrderListFill(MainWindow* w, char* msg) { return FillList(w, 0, msg); }

void OrderListControlNotice(MainWindow* w, int id, int code) {
    if (id == IDC_FILTER && code == CBN_SELCHANGE) OnFilterChanged(w);
}
