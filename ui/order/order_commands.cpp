// The order window's commands: saving, status changes, correction, deletion,
// printing, and adding, editing and deleting windows.

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

// ---- Order commands ----------------------------------------------------------------------

namespace {

void Saved(OrderWindow* w, const char* text) {
    SendMessageA(w->hwnd, UM_SHOW_STATUS, 0, 0);
    SendMessageA(w->owner, UM_ORDER_SAVED, (WPARAM)w->z, (LPARAM)w->row);
    KvShowInfo(w->hwnd, text);
    w->saved = 1;
    Close(w);
}

// An order of status 0 that is already in the database under its own key
// and number (a "NEW" order opened from the register): saving it again must
// rewrite it, not add a second order with the same number and take the
// last order number back to it. An order made by "Edit as new" still has
// its source's key but a number of its own, and is inserted.
bool StoredUnderItsNumber(const strZam& o) { return DbOrderStoredUnderNumber(o.kluczZam, o.idZam, o.rok); }

}  // namespace

// Save (status 0) or Save as (status 1-6): an order kept before is
// overwritten, a new one inserted; a failure puts the old status back.
void CmdSave(OrderWindow* w, int32_t newStatus) {
    if (ModeOf(w) == kModePreview) return;
    if (const char* refused = StorePages(w)) {
        KvShowError(w->hwnd, refused);
        return;
    }
    strZam& o = w->z->zam;
    if (o.liczbaOkien == 0 && o.liczbaDodat == 0) {
        KvShowError(w->hwnd, "The order is empty");
        return;
    }
    // An order whose totals cannot be computed could not be listed or
    // printed either.
    if (!OrderTotalsExact(&w->z->sumy)) {
        KvShowError(w->hwnd, kTotalsTooLarge);
        return;
    }
    char number[64], text[512], msg[KV_MSG_LEN];
    OrderNumber(o, number, sizeof number);
    const int32_t old = o.status;
    o.status = newStatus ? newStatus : (old == 0 ? 1 : old);
    const bool insert = old == 0 && !StoredUnderItsNumber(o);
    const int ok = insert ? SaveNewOrderNumbered(w->z, msg) : OverwriteOrder(w->z, msg);
    if (!ok) {
        o.status = old;
        KvShowError(w->hwnd, msg);
        return;
    }
    // On a server the save may have given the order another number.
    char shown[64];
    snprintf(shown, sizeof shown, "%s", number);
    const int32_t shownYear = o.rok;
    OrderNumber(o, number, sizeof number);
    if (!newStatus) {
        snprintf(text, sizeof text,
                 old != 0 ? "The order %s has been corrected" : "The order %s has been saved", number);
    } else {
        snprintf(text, sizeof text,
                 old != 0 ? "The order %s has been corrected with status %s"
                          : "The order %s has been saved with status %s",
                 number, Status(w, newStatus));
    }
    if (strcmp(shown, number) != 0) {
        const size_t n = strlen(text);
        if (o.rok != shownYear)
            snprintf(text + n, sizeof text - n,
                     "\r\nThe year %4d was closed at another desk meanwhile: the order is numbered in the year %4d.",
                     (int)shownYear, (int)o.rok);
        else
            snprintf(text + n, sizeof text - n, "\r\nThe number %s was taken at another desk meanwhile.", shown);
    }
    Saved(w, text);
}

void CmdChangeStatus(OrderWindow* w, int32_t status) {
    if (ModeOf(w) != kModePreview) return;
    strZam& o = w->z->zam;
    const int32_t old = o.status;
    o.status = status;
    char msg[KV_MSG_LEN];
    if (!ChangeLoadedOrderStatus(w->z, status, msg)) {
        o.status = old;
        KvShowError(w->hwnd, msg);
        return;
    }
    SendMessageA(w->hwnd, UM_SHOW_STATUS, 0, 0);
    SendMessageA(w->owner, UM_ORDER_STATUS, (WPARAM)w->z, (LPARAM)w->row);
    char number[64], text[256];
    OrderNumber(o, number, sizeof number);
    snprintf(text, sizeof text, "Status of the order %s has been changed to %s", number, Status(w, status));
    KvShowInfo(w->hwnd, text);
}

void CmdCorrect(OrderWindow* w) {
    if (ModeOf(w) != kModePreview) return;
    char msg[KV_MSG_LEN];
    if (!TakeSnapshot(w, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    w->z->flagiWidoku |= kViewCorrection;
    ApplyMode(w);
}

void CmdDeleteOrder(OrderWindow* w) {
    if (ModeOf(w) == kModeNew) return;
    strZam& o = w->z->zam;
    char number[64], text[256], msg[KV_MSG_LEN];
    OrderNumber(o, number, sizeof number);
    snprintf(text, sizeof text, "Do you want to delete the order %s ?", number);
    if (!KvAskYesNo(w->hwnd, text)) return;
    if (!DeleteLoadedOrder(w->z, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    o.status = -1;
    SendMessageA(w->hwnd, UM_SHOW_STATUS, 0, 0);
    SendMessageA(w->owner, UM_ORDER_SAVED, (WPARAM)w->z, (LPARAM)w->row);
    snprintf(text, sizeof text, "The order %s has been deleted", number);
    KvShowInfo(w->hwnd, text);
    Close(w);
}

namespace {

// The order as its pages show it, handed to "Print" or "Save as PDF...":
// the fields of the pages stored first, with the print copy of the drawing set.
void PrintoutTo(OrderWindow* w, OrderPrintFn how) {
    ScopedPrintDrawSet print(*w->draw);
    if (!print.ok()) {
        KvShowError(w->hwnd, "Error of creating the drawing set for printing");
        return;
    }
    if (const char* refused = StorePages(w)) {
        KvShowError(w->hwnd, refused);
        return;
    }
    how(w->hwnd, w->z, print.get());
}

}  // namespace

void CmdPrint(OrderWindow* w) { PrintoutTo(w, g_orderPrint); }

void CmdSavePdf(OrderWindow* w) { PrintoutTo(w, g_orderSavePdf); }

void CmdCancel(OrderWindow* w) {
    if (ModeOf(w) == kModeCorrection && w->hasSnapshot) {
        StorePages(w);
        if (!OrderUnchanged(w->z, &w->snapshot) &&
            !KvAskYesNo(w->hwnd, "The order has not been saved !\r\nDo you want to continue ?")) {
            return;
        }
    }
    Close(w);
}

// ---- Window commands ------------------------------------------------------------------------

namespace {

// The template of a new window, kept for the whole run: what the designer
// chose for the previous new window (profile, hardware, colours, ...) is
// offered again.
strOkno g_template;
bool g_templateReady = false;

void PrepareTemplate(OrderWindow* w) {
    if (!g_templateReady) {
        g_template = strOkno();
        g_template.sGrubProf = {50, 50, 30, 20};
        g_template.grubSzpros = 10;
        g_template.ilOkien = 1;
        g_templateReady = true;
    }
    g_template.kluczZam = w->z->zam.kluczZam;
    g_template.ilOkien = 1;
    g_template.cenaZReki = 0;
    g_template.sWspUw = w->settings.sWspUw;
    g_template.uwZReki = 0;
    memset(g_template.uwagi, 0, sizeof g_template.uwagi);
    g_template.oper = nullptr;
    g_template.liczbaOper = 0;
    g_template.status = 4;
}

void AfterWindowsChanged(OrderWindow* w) {
    RecomputeOrder(w->z, kRecomputeAll);
    SendMessageA(w->hwnd, UM_SHOW_TOTALS, 0, 0);
}

bool AppendWindow(OrderWindow* w, const strOkno* okno) {
    char msg[KV_MSG_LEN];
    if (!AddWindow(&w->z->zam.okna, &w->z->zam.liczbaOkien, okno, msg)) {
        KvShowError(w->hwnd, msg);
        return false;
    }
    AddWindowEntry(w, w->z->zam.liczbaOkien - 1);
    AfterWindowsChanged(w);
    return true;
}

}  // namespace

void CmdAddWindow(OrderWindow* w) {
    if (ModeOf(w) == kModePreview) return;
    PrepareTemplate(w);
    if (g_orderDesigner(w->hwnd, &g_template, &w->z->zam, w->draw, 1)) AppendWindow(w, &g_template);
    KvFree(g_template.oper);
    g_template.oper = nullptr;
    g_template.liczbaOper = 0;
}

namespace {

// The order's index of the window selected on the list; -1, told to the
// seller, when none is.
int SelectedWindowIndex(OrderWindow* w) {
    const int entry = SelectedWindowEntry(w);
    const int index = entry >= 0 ? EntryIndex(w, entry) : -1;
    if (index >= 0 && index < w->z->zam.liczbaOkien) return index;
    KvShowError(w->hwnd, "No window is selected on the list of windows");
    return -1;
}

}  // namespace

// Edit (asNew false) or Edit as new of the selected window.
void CmdEditWindow(OrderWindow* w, bool asNew) {
    const OrderMode mode = ModeOf(w);
    if (asNew && mode == kModePreview) return;
    const int index = SelectedWindowIndex(w);
    if (index < 0) return;
    char msg[KV_MSG_LEN];
    strOkno* copy = nullptr;
    if (!CopyWindow(&copy, &w->z->zam.okna[index], msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    if (asNew) copy->ilOkien = 1;
    const int editable = asNew || mode != kModePreview ? 1 : 0;
    if (g_orderDesigner(w->hwnd, copy, &w->z->zam, w->draw, editable)) {
        if (asNew) {
            AppendWindow(w, copy);
        } else if (ReplaceWindow(w->z->zam.okna, w->z->zam.liczbaOkien, index, copy, msg)) {
            AfterWindowsChanged(w);
        } else {
            KvShowError(w->hwnd, msg);
        }
    }
    FreeWindow(copy);
}

void CmdDeleteWindow(OrderWindow* w) {
    if (ModeOf(w) == kModePreview) return;
    if (!KvAskYesNo(w->hwnd, "Do you want to delete the window from the order ?")) return;
    const int index = SelectedWindowIndex(w);
    if (index < 0) return;
    char msg[KV_MSG_LEN];
    if (!DeleteWindow(&w->z->zam.okna, &w->z->zam.liczbaOkien, index, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    SendMessageA(w->winList, LB_DELETESTRING, SelectedWindowEntry(w), 0);
    const int entries = (int)SendMessageA(w->winList, LB_GETCOUNT, 0, 0);
    for (int e = 0; e < entries; e++) {
        const int datum = EntryIndex(w, e);
        if (datum > index) SendMessageA(w->winList, LB_SETITEMDATA, e, datum - 1);
    }
    AfterWindowsChanged(w);
    w->z->flagiWidoku &= ~1;
    ApplySelectionEnabling(w);
}

// The "Change status to" submenu under the toolbar's drop-down button, both
// for its arrow and for the button itself.
void ShowStatusMenuBelowButton(OrderWindow* w) {
    if (ModeOf(w) != kModePreview) return;
    RECT r = {};
    if (!SendMessageA(w->bar.hwnd, TB_GETRECT, ORD_CHANGE_STATUS, (LPARAM)&r)) return;
    MapWindowPoints(w->bar.hwnd, HWND_DESKTOP, (POINT*)&r, 2);
    TPMPARAMS tpm = {sizeof tpm, r};
    TrackPopupMenuEx(GetSubMenu(OrderMenu(w), kPosChangeStatus), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL,
                     r.left, r.bottom, w->hwnd, &tpm);
}
