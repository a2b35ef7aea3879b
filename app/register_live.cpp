// register_live.cpp - the register on a server shows what the other desks
// do: a short timer reads the news the server passed on since (never
// waiting for it), posts each to the main window as UM_DESK_NEWS, and the
// window shows it as it shows its own saves. While an order window opened
// from here is open, the rows must stay where they are (it answers with
// its row's index): news that would remove a row, read the list again or
// change the settings under it waits until it closes.

#include "app/register_internal.h"

namespace {

enum {
    kTimerDesks = 1,
    kDeskTickMs = 250,
    kReconnectTicks = 20,  // a lost connection is tried again every 5 s
    kManyNews = 200,       // more in one tick: the list is read again instead
};

void HoldBack(MainWindow* w, char kind, int64_t key) {
    for (const DeskNews& n : w->heldNews)
        if (n.kind == kind && n.key == key) return;
    w->heldNews.push_back(DeskNews{kind, key});
}

// The order's row as the database holds it now. An order that cannot be
// read (deleted since: its news follows) leaves the row as it is.
void ShowOrderAsStored(MainWindow* w, int64_t key) {
    strZamRob* z = new (std::nothrow) strZamRob();
    if (!z) return;
    char msg[KV_MSG_LEN];
    if (LoadOrder(key, z, msg)) {
        RecomputeOrder(z, kRecomputeAll);
        int row = RowOfKey(w, key);
        if (row >= 0 && w->orderWindowsOpen > 0 && !PassesFilter(w, z->zam.status)) {
            HoldBack(w, kNewsOrder, key);  // its removal would move the rows below
        } else {
            OrderListOrderSaved(w, z, &row, false);
        }
    }
    FreeAndZeroOrder(z);
    delete z;
}

void ShowNumbering(MainWindow* w) {
    char msg[KV_MSG_LEN];
    strZmienne vars;
    if (!ReadVariables(&vars, msg)) return;
    g_app.vars = vars;
    OrderListShowYearAndNumber(w);
}

void ShowSettings(MainWindow* w) {
    char msg[KV_MSG_LEN];
    strUstUzytk settings;
    if (!ReadUserSettings(&settings, msg)) return;
    g_app.settings = settings;
    OrderListShowCurrency(w);
    OrderListRenameStatuses(w);
}

void PostNews(MainWindow* w, const DeskNews& n) {
    PostMessageA(w->hwnd, UM_DESK_NEWS, (WPARAM)(unsigned char)n.kind, (LPARAM)n.key);
}

}  // namespace

void OrderListListenToDesks(MainWindow* w) {
    if (DbBackendInUse() != kDbServer || !DbListenToDesks()) return;
    SetTimer(w->hwnd, kTimerDesks, kDeskTickMs, nullptr);
}

void OrderListTimer(MainWindow* w, UINT_PTR id) {
    if (id != kTimerDesks) return;
    std::vector<DeskNews> news;
    const bool reconnect = ++w->deskTicks % kReconnectTicks == 0;
    DbTakeDeskNews(&news, reconnect);
    if (news.size() > kManyNews) {
        PostNews(w, DeskNews{kNewsEverything, 0});
        return;
    }
    for (size_t i = 0; i < news.size(); i++) {
        // A key told twice in one tick is shown once.
        bool again = false;
        for (size_t j = 0; j < i && !again; j++) again = news[j].kind == news[i].kind && news[j].key == news[i].key;
        if (!again) PostNews(w, news[i]);
    }
}

void OrderListDeskNews(MainWindow* w, char kind, int64_t key) {
    const bool held = w->orderWindowsOpen > 0;
    switch (kind) {
        case kNewsOrder: ShowOrderAsStored(w, key); break;
        case kNewsOrderDeleted:
            if (held) {
                HoldBack(w, kind, key);
            } else if (int row = RowOfKey(w, key); row >= 0) {
                RemoveRow(w, row);
                OrderListEnableForSelection(w, g_app.selectedCount);
            }
            break;
        case kNewsNumbering: ShowNumbering(w); break;
        case kNewsSettings: held ? HoldBack(w, kind, key) : ShowSettings(w); break;
        case kNewsEverything:
            if (held) {
                HoldBack(w, kind, key);
            } else {
                ShowNumbering(w);
                ShowSettings(w);
                OrderListRefill(w);
            }
            break;
    }
}

int OrderListRunOrderWindow(MainWindow* w, strZamRob* z, int* row, bool numbered) {
    w->orderWindowsOpen++;
    const int saved = g_orderWindow(w->hwnd, z, row, &g_app.draw);
    w->orderWindowsOpen--;
    if (saved && numbered) {
        // The order window stored its number as the last one; on a server
        // the save may have taken another, in a year another desk closed,
        // and other desks may have saved after it.
        g_app.vars.idZam = z->zam.idZam;
        g_app.vars.rok = z->zam.rok;
        if (DbBackendInUse() == kDbServer) ShowNumbering(w);
        OrderListShowYearAndNumber(w);
    }
    if (w->orderWindowsOpen == 0) {
        for (const DeskNews& n : w->heldNews) PostNews(w, n);
        w->heldNews.clear();
    }
    return saved;
}
