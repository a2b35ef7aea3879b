// register_internal.h - what the two files of the register of orders share:
// register_view.cpp (its controls, rows and notifications) and
// register_commands.cpp (the commands of the main window's menus, toolbar
// and buttons).
#ifndef KV_APP_REGISTER_INTERNAL_H
#define KV_APP_REGISTER_INTERNAL_H

#include <windows.h>
#include <commctrl.h>
#include <new>
#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/order_register.h"
#include "app/pending.h"
#include "app/register_dialogs.h"
#include "app/sales_window.h"
#include "db/connection.h"
#include "db/names.h"
#include "db/orders.h"
#include "db/registers.h"
#include "db/tables.h"
#include "resources/resource.h"
#include "ui/settings/price_list_dialog.h"
#include "util/amounttext.h"
#include "util/help_win.h"
#include "util/kvutil.h"
#include "util/listview_win.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "util/progress_win.h"
#include "valuation/order_list.h"
#include "valuation/register_csv.h"
#include "valuation/valuation.h"

inline HMENU MainStatusMenu(MainWindow* w) { return GetSubMenu(GetSubMenu(GetMenu(w->hwnd), 0), 5); }
inline int FirstSelectedRow(MainWindow* w) {
    return (int)SendMessageA(w->list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

// register_view.cpp
void NameStatusItems(HMENU statusMenu);
bool PassesFilter(MainWindow* w, int32_t status);
void RemoveRow(MainWindow* w, int row);
int64_t RowKey(MainWindow* w, int row);
int RowOfKey(MainWindow* w, int64_t key);
// Draws the row again from what it holds now.
void RedrawRow(MainWindow* w, int row);
void SetRowStatus(MainWindow* w, int row, int32_t status);

// register_commands.cpp
void ShowStatusMenuBelowButton(MainWindow* w, const NMTOOLBARA* nm);

#endif  // KV_APP_REGISTER_INTERNAL_H
