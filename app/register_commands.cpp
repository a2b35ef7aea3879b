// The register's commands: those that need no order (closing the year, the
// next number, the registers of used elements) and those on the selected
// orders (open, new, print, delete, change status, search, settings).

#include "app/register_internal.h"

// ---- Commands that need no order ------------------------------------------

namespace {

void CloseTheYear(MainWindow* w) {
    char text[128];
    snprintf(text, sizeof text, "Do you want to close the year %4d ?", g_app.vars.rok);
    if (!KvAskYesNo(w->hwnd, text)) return;
    strZmienne next = {0, g_app.vars.rok + 1};
    char msg[KV_MSG_LEN];
    if (!UpdateVariables(&next, msg)) {
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
    snprintf(text, sizeof text, "There are %lld used %s in the register.\r\nDo you want to delete them ?",
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

}  // namespace

void ShowStatusMenuBelowButton(MainWindow* w, const NMTOOLBARA* nm) {
    RECT r = nm->rcButton;
    MapWindowPoints(w->bar.hwnd, HWND_DESKTOP, (POINT*)&r, 2);
    TPMPARAMS tpm = {sizeof tpm, r};
    TrackPopupMenuEx(MainStatusMenu(w), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL, r.left, r.bottom,
                     w->hwnd, &tpm);
}

// ---- Commands on orders -------------------------------------------------------

namespace {

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
    if (!LoadOrder(RowKey(w, *row), z, msg)) {
        KvShowError(w->hwnd, msg);
        return false;
    }
    RecomputeOrder(z, kRecomputeAll);
    return true;
}

void OpenCurrentOrder(MainWindow* w, OpenMode mode) {
    strZamRob* z = NewOrderRecord(w);
    if (!z) return;
    int row;
    if (LoadCurrentOrder(w, z, &row)) {
        if (mode == kOpenAsNew) {
            row = -1;
            RenumberOrder(z, &g_app.vars, &g_app.settings);
            RecomputeOrder(z, kRecomputeAll);
        } else if (mode == kOpenCorrect) {
            z->flagiWidoku = kViewCorrection;
        }
        OrderListRunOrderWindow(w, z, &row, mode == kOpenAsNew);
    }
    FreeAndZeroOrder(z);
    delete z;
}

// On a server other desks number orders too: a new order starts from the
// number and year stored now (the save takes the final one).
void FreshNumbering(MainWindow* w) {
    strZmienne vars;
    char msg[KV_MSG_LEN];
    if (DbBackendInUse() != kDbServer || !ReadVariables(&vars, msg)) return;
    g_app.vars = vars;
    OrderListShowYearAndNumber(w);
}

void NewOrder(MainWindow* w) {
    FreshNumbering(w);
    strZamRob* z = NewOrderRecord(w);
    if (!z) return;
    RenumberOrder(z, &g_app.vars, &g_app.settings);
    SetOrderDefaults(z, &g_app.settings);
    RecomputeOrder(z, kRecomputeAll);
    int row = -1;
    OrderListRunOrderWindow(w, z, &row, true);
    FreeAndZeroOrder(z);
    delete z;
}

// The printout gets the print copy of the drawing set (black where the
// screen uses colour).
// "Print" (g_printOrder) or "Save as PDF..." (g_saveOrderPdf) of the current row.
void PrintCurrentOrder(MainWindow* w, PrintOrderFn how) {
    strZamRob* z = NewOrderRecord(w);
    if (!z) return;
    int row;
    if (LoadCurrentOrder(w, z, &row)) {
        DrawSet print;
        if (CreatePrintDrawSet(&g_app.draw, &print)) {
            how(w->hwnd, z, &print);
            DestroyPrintDrawSet(&print);
        } else {
            KvShowSystemText(w->hwnd, GetLastError());
        }
    }
    FreeAndZeroOrder(z);
    delete z;
}

void DeleteSelectedOrders(MainWindow* w) {
    if (!KvAskYesNo(w->hwnd, "Do you want to delete selected orders definitely ?")) return;
    char msg[KV_MSG_LEN];
    for (int row = FirstSelectedRow(w); row >= 0; row = FirstSelectedRow(w)) {
        if (!DeleteOrder(RowKey(w, row), msg)) {
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
        if (!ChangeOrderStatus(RowKey(w, row), status, msg)) {
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
    switch (FindOrderByNumber(text, &key, msg)) {
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
    if (LoadOrder(key, z, msg)) {
        RecomputeOrder(z, kRecomputeAll);
        OrderListRunOrderWindow(w, z, &row, false);
    } else {
        KvShowError(w->hwnd, msg);
    }
    FreeAndZeroOrder(z);
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
    // The rows' status names come from the settings as they are drawn.
    InvalidateRect(w->list, nullptr, TRUE);
}

void EditSettings(MainWindow* w) {
    char msg[KV_MSG_LEN];
    const bool server = DbBackendInUse() == kDbServer;
    uint64_t print = 0;
    if (server) {
        // Other desks change the settings too: the dialog starts from the
        // stored ones, and OK writes only over those.
        strUstUzytk stored{};
        if (!ReadUserSettingsWithPrint(&stored, &print, msg)) {
            KvShowError(w->hwnd, msg);
            return;
        }
        g_app.settings = stored;
        OrderListShowCurrency(w);
        RenameStatuses(w);
    }
    strUstUzytk copy = g_app.settings;
    if (!g_settingsDialog(w->hwnd, &copy)) return;
    if (!(server ? UpdateUserSettingsIfUnchanged(&copy, print, msg) : UpdateUserSettings(&copy, msg))) {
        KvShowError(w->hwnd, msg);
        return;
    }
    g_app.settings = copy;
    OrderListShowCurrency(w);
    RenameStatuses(w);
    KvShowInfo(w->hwnd, "The user's settings have been updated");
}

}  // namespace

void OrderListRenameStatuses(MainWindow* w) { RenameStatuses(w); }

bool OrderListCommand(MainWindow* w, int id) {
    switch (id) {
        case CMD_NEW: NewOrder(w); return true;
        case CMD_PREVIEW: OpenCurrentOrder(w, kOpenPreview); return true;
        case CMD_EDIT_AS_NEW: OpenCurrentOrder(w, kOpenAsNew); return true;
        case CMD_CORRECT: OpenCurrentOrder(w, kOpenCorrect); return true;
        case CMD_PRINT: PrintCurrentOrder(w, g_printOrder); return true;
        case CMD_SAVE_PDF: PrintCurrentOrder(w, g_saveOrderPdf); return true;
        case CMD_DELETE: DeleteSelectedOrders(w); return true;
        case CMD_SEARCH: SearchOrder(w); return true;
        case CMD_REFILL: OrderListRefill(w); return true;
        case CMD_SETTINGS: EditSettings(w); return true;
        case CMD_PRICE_LIST: RunPriceListDialog(w->hwnd); return true;
        case CMD_SALES_OVERVIEW: RunSalesWindow(w->hwnd, w->shownStatus == 0 ? &w->rows : nullptr); return true;
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
