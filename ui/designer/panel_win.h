// panel_win.h - the window data panel: the scrolling column on the right of the
// designer with the window's descriptive fields. It holds no data of its
// own: the designer fills it, reads it back on Save and hears about every
// change that matters to the drawing through its private messages.
#ifndef KV_UI_DESIGNER_PANEL_WIN_H
#define KV_UI_DESIGNER_PANEL_WIN_H

#include <windows.h>

#include "db/registers.h"
#include "widgora/widgora.h"

extern const char kPanelClass[];  // "oknoDowOknoDane"

// The six edit-with-spin pairs, in this order.
enum PanelSpin { kSpinFrame, kSpinSash, kSpinFixed, kSpinFalse, kSpinMuntin, kSpinQuantity, kSpinCount };

// Whether the panel shows the price list's lines under the net price.
enum PanelPriceList { kPriceListNone, kPriceListWithUse, kPriceListViewOnly };

// The creation values: the registers (all counts 0 for a window opened for
// viewing only), the six spin records, which the designer owns, and the
// price list's lines.
struct PanelCreate {
    const WindowRegisters* registers;
    strEdUd* spins[kSpinCount];
    PanelPriceList priceList;
};

// Content height of the panel in pixels; a shorter panel scrolls. The
// price list's lines, when shown, add their height below the price box and
// move everything under it down by as much.
enum { kPanelContentHeight = 632, kPanelLine = 10, kPriceListHeight = 66 };

// Registers the class once per process. False when the system refuses.
bool RegisterPanelClass(HINSTANCE instance);

// Creates the panel (identifier 10234) as a child of `designer`.
HWND CreatePanel(HWND designer, HINSTANCE instance, const PanelCreate* values);

#endif  // KV_UI_DESIGNER_PANEL_WIN_H
