// price_list_dialog.h - the dialog "Price list" (Settings > Price list...),
// in which the seller keeps the rates the designer prices windows from: one
// tab per kind of entry, Add, Edit and Delete, Import and Export of a CSV
// file. Changes are the dialog's own until OK saves the whole list.
#ifndef KV_UI_SETTINGS_PRICE_LIST_DIALOG_H
#define KV_UI_SETTINGS_PRICE_LIST_DIALOG_H

#include <windows.h>

// Runs the dialog modally on the open database. Returns 1 when OK saved a
// price list; 0 after Cancel, the close box, or a database that cannot be
// written (the list is shown, nothing can change it).
int RunPriceListDialog(HWND owner);

#endif  // KV_UI_SETTINGS_PRICE_LIST_DIALOG_H
