// pending.h - the windows the register of orders opens: the order window,
// the printout and the settings dialog. Each is called through one function
// pointer, so that the window can be plugged in where it is built and tests
// can stand in for the user's work in it.
#ifndef KV_APP_PENDING_H
#define KV_APP_PENDING_H

#include <windows.h>

#include "db/order_record.h"
#include "db/records.h"
#include "render/drawset_win.h"

// Opens the order window on the working record; *rowIndex is the order's
// row in the list (-1 for none) and is kept up to date through the window's
// UM_ORDER_SAVED / UM_ORDER_STATUS messages. Returns 1 when the order was saved.
typedef int (*OrderWindowFn)(HWND owner, strZamRob* order, int* rowIndex, const DrawSet* draw);
// Previews and prints the order with the print copy of the drawing set.
typedef void (*PrintOrderFn)(HWND owner, strZamRob* order, const DrawSet* printSet);
// Runs the settings dialog on a copy of the settings; 1 after OK.
typedef int (*SettingsDialogFn)(HWND owner, strUstUzytk* settings);

extern OrderWindowFn g_orderWindow;
extern PrintOrderFn g_printOrder;
// Writes the order's printout to a PDF file the user names.
extern PrintOrderFn g_saveOrderPdf;
extern SettingsDialogFn g_settingsDialog;

#endif
