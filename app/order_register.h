// order_register.h - the register of orders in the main window: toolbar, status
// bar, the list of orders with its filter, the buttons and the commands.
// Everything the main window keeps between messages is its MainWindow
// record (attached at WM_NCCREATE, see main_window.cpp).
#ifndef KV_APP_ORDER_REGISTER_H
#define KV_APP_ORDER_REGISTER_H

#include <windows.h>
#include <commctrl.h>
#include <stdint.h>

#include <vector>

#include "db/desks.h"

#include "util/dpi_win.h"
#include "util/scoped_win.h"
#include "util/toolbar_win.h"
#include "valuation/register_rows.h"

struct MainWindow {
    HWND hwnd;
    KvToolbar bar;
    HWND status, group, list, label, filter;
    HWND buttons[5];  // Search, New, Preview, Print, Help
    HIMAGELIST stateImages;
    HMENU popup;
    int toolbarHeight, statusHeight;  // device pixels, measured at each dpi
    int dpi = kKvBaseDpi;             // the dpi the controls are laid out for
    ScopedFont font;                  // the controls' font at that dpi (none: the stock one)
    KvWindowIcons icons;              // the window's icons at that dpi
    int32_t shownStatus;              // the filter: 0 "All" or a status 1-6
    RegisterRows rows;                // what the list shows: it asks for each cell as it draws it
    // On a server: what the other desks did.
    int orderWindowsOpen = 0;         // order windows opened here and not closed yet
    std::vector<DeskNews> heldNews;   // news that waits for them to close
    int deskTicks = 0;                // of the timer that reads the news
};

// Posted to the main window for each change another desk made on the
// server (wParam a DeskNewsKind, lParam the order's key): the register
// shows it as it shows its own saves.
#define UM_DESK_NEWS (WM_APP + 16)

// Builds the controls of the main window (creation step, step 10).
bool OrderListCreate(MainWindow* w, char* msg);
// Releases the pop-up menu and the image lists (shut-down).
void OrderListDestroy(MainWindow* w);
// Places the controls for a client area of cx x cy pixels.
void OrderListLayout(MainWindow* w, int cx, int cy);
// Lays the controls out again for `dpi` (WM_DPICHANGED): their font, the
// status bar's parts, the columns' widths and the layout.
void OrderListApplyDpi(MainWindow* w, int dpi);

// Rewrites the status bar's parts from the application state.
void OrderListShowYearAndNumber(MainWindow* w);
void OrderListShowCurrency(MainWindow* w);

// Renames the status items of the menus and the filter box and the status
// of every row after the settings changed.
void OrderListRenameStatuses(MainWindow* w);

// WM_MENUSELECT: what the highlighted item of a menu of the register does,
// with its key, in the status bar's simple form; the menu closing
// (0xFFFF flags, no menu) or WM_EXITMENULOOP (OrderListMenuHelpEnd) brings
// the three parts back with their texts.
void OrderListMenuSelect(MainWindow* w, UINT item, UINT flags, HMENU menu);
void OrderListMenuHelpEnd(MainWindow* w);

// Enables the commands for `selected` rows (none, one, several).
void OrderListEnableForSelection(MainWindow* w, int selected);

// WM_NOTIFY and WM_COMMAND of the main window; true when handled.
bool OrderListNotify(MainWindow* w, NMHDR* header, LRESULT* result);
bool OrderListCommand(MainWindow* w, int id);
// A notification of a control (WM_COMMAND with a notification code).
void OrderListControlNotice(MainWindow* w, int id, int code);

// Fills the list with all orders (creation step, step 11).
bool OrderListFill(MainWindow* w, char* msg);
// The list read again from the database with the filter it shows (F5).
void OrderListRefill(MainWindow* w);

struct strZamRob;
// Runs the order window (g_orderWindow) on `order`, whose row is *row;
// after a saved new order (`numbered`), the last number and year as the
// save left them. While it is open, news from other desks that would move
// rows waits.
int OrderListRunOrderWindow(MainWindow* w, strZamRob* order, int* row, bool numbered);

// On a server: starts hearing the other desks (creation step).
void OrderListListenToDesks(MainWindow* w);
// WM_TIMER of the main window.
void OrderListTimer(MainWindow* w, UINT_PTR id);
// UM_DESK_NEWS: the change shown, or held back while an order window is open.
void OrderListDeskNews(MainWindow* w, char kind, int64_t key);

// UM_ORDER_SAVED (statusOnly false) and UM_ORDER_STATUS (true): adds, rewrites
// or removes the order's row as the filter says and writes its index back.
void OrderListOrderSaved(MainWindow* w, const strZamRob* order, int* row, bool statusOnly);

#endif
