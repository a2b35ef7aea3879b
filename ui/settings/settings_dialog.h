// settings_dialog.h - the dialog "Settings" in which the user edits the
// settings record: seller's details, defaults of a new order, default Uw
// rates, status names and the printout's heading height.
#ifndef KV_UI_SETTINGS_SETTINGS_DIALOG_H
#define KV_UI_SETTINGS_SETTINGS_DIALOG_H

#include <windows.h>

#include "db/records.h"

// Runs the dialog modally over `settings`, the caller's copy of the
// settings record. Returns 1 after OK, every page having written its fields
// into the copy (a field whose entry was refused keeps its value and says
// so in a box); 0 after Cancel or the close box. Nothing is saved here: the
// caller saves the copy and only then makes it the program's settings.
int RunSettingsDialog(HWND owner, strUstUzytk* settings);

#endif  // KV_UI_SETTINGS_SETTINGS_DIALOG_H
