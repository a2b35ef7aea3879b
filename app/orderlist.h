// orderlist.h - the register of orders in the main window: toolbar, status
// bar, the list of orders with its filter, the buttons and the commands.
#ifndef KV_APP_ORDERLIST_H
#define KV_APP_ORDERLIST_H

#include <windows.h>

// Builds the controls of the main window `main` (creation step, step 10).
bool OrderListCreate(HWND main, char* msg);
// Releases the pop-up menu and the image lists (shut-down).
void OrderListDestroy();
// Places the controls for a client area of w x h pixels.
void OrderListLayout(int w, int h);

// Rewrites the status bar's parts from the application state.
void OrderListShowYearAndNumber();
void OrderListShowCurrency();

// Renames the status items of the menus and the filter box and the status
// of every row after the settings changed.
void OrderListRenameStatuses();

// Enables the commands for `selected` rows (none, one, several).
void OrderListEnableForSelection(int selected);

// WM_NOTIFY and WM_COMMAND of the main window; true when handled.
bool OrderListNotify(NMHDR* header, LRESULT* result);
bool OrderListCommand(int id);
// A notification of a control (WM_COMMAND with a notification code).
void OrderListControlNotice(int id, int code);

// Fills the list with all orders (creation step, step 11).
bool OrderListFill(char* msg);

struct strZamRob;
// UM_ORDER_SAVED (statusOnly false) and UM_ORDER_STATUS (true): adds, rewrites
// or removes the order's row as the filter says and writes its index back.
void OrderListOrderSaved(const strZamRob* order, int* row, bool statusOnly);

#endif
