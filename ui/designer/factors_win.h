// factors_win.h - the "Factors" dialog: the thermal factors of one window and
// the choice between a computed and an entered Uw.
#ifndef KV_UI_DESIGNER_FACTORS_WIN_H
#define KV_UI_DESIGNER_FACTORS_WIN_H

#include <windows.h>

#include "db/records.h"

// Shows the dialog on `window`. With "Calculate Uw according to rates" OK
// writes the eight factors and clears status bit 3; with "Enter Uw directly"
// it writes uwZReki and sets the bit; nothing else changes. `editable` 0
// shows everything read-only with "Exit". Returns 1 after OK, else 0.
int RunFactorsDialog(HWND owner, strOkno* window, int editable);

#endif  // KV_UI_DESIGNER_FACTORS_WIN_H
