// designer_win.h - the designer: the top-level window in which one window of an
// order is drawn (the canvas), described (the data panel) and saved.
#ifndef KV_UI_DESIGNER_DESIGNER_WIN_H
#define KV_UI_DESIGNER_DESIGNER_WIN_H

#include <windows.h>

#include "db/records.h"
#include "render/drawset_win.h"

// Runs the designer on `window` and returns when it closes. `owner` is
// disabled meanwhile, then enabled and brought to the foreground again.
// `window` (its fields and its operation list, which stays in the private
// heap) is edited in place; `order` is read for its currency and its VAT rate
// of windows; `draw` gives the tool cursors and the canvas's brushes;
// `editable` 0 opens the window for viewing only.
// Returns 1 when the user saved (every field accepted, the registers of used
// elements updated), 0 after Cancel, "Exit", the close box or a failed
// creation (its message shown in an "Error" box).
int RunDesigner(HWND owner, strOkno* window, const strZam* order, const DrawSet* draw, int editable);

#endif  // KV_UI_DESIGNER_DESIGNER_WIN_H
