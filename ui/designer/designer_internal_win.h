// designer_internal_win.h - what the designer window's files share: its
// state, the sash kinds and the handlers one file calls in another
// (designer_win.cpp the window, designer_tools_win.cpp the toolbar, tools
// and menus, designer_save_win.cpp the panel's figures, its messages and
// Save).
#ifndef KV_UI_DESIGNER_DESIGNER_INTERNAL_WIN_H
#define KV_UI_DESIGNER_DESIGNER_INTERNAL_WIN_H

#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include "db/connection.h"
#include "db/names.h"
#include "db/order_record.h"
#include "db/registers.h"
#include "model/structure.h"
#include "model/uw.h"
#include "ui/designer/canvas_win.h"
#include "ui/designer/designer_dialogs_win.h"
#include "ui/designer/designer_rc.h"
#include "ui/designer/designer_win.h"
#include "ui/designer/factors_win.h"
#include "ui/designer/history.h"
#include "ui/designer/limits.h"
#include "ui/designer/panel_win.h"
#include "util/amounttext.h"
#include "util/dpi_win.h"
#include "util/heap.h"
#include "util/help_win.h"
#include "util/keys_win.h"
#include "util/kvutil.h"
#include "util/modal_loop_win.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "util/toolbar_win.h"
#include "util/window_win.h"
#include "valuation/price_list.h"
#include "valuation/valuation.h"

const char kDesignerClass[] = "oknoOkTrDowOkno";

enum {
    kPanelWidth = 248,  // pixels, plus the width of a scroll bar
    kMinWidth = 800,    // smallest tracking size, pixels
    kMinHeight = 600,
    kMaxFillingEntries = CMD_DES_FILLING_LAST - CMD_DES_FILLING_FIRST + 1,
};

// One entry of the filling menu.
struct strMenuWypeln {
    char nazwa[kFillingNameLen];
    int32_t typ;  // 0 glass, 1 acrylic
};

struct DesignerState {
    HWND hwnd;
    HWND owner;
    KvToolbar bar;  // its image lists go with the state, after the window
    HWND canvas;
    HWND panel;
    int toolbarHeight;  // pixels
    int dpi;            // the dpi the window is laid out for
    strOkno* windowRec;
    const strZam* zam;
    const DrawSet* draw;      // the start-up set, at 96 dpi (its cursors at the system's)
    ScaledDrawSet drawAtDpi;  // the canvas's set and the tools' cursors at the designer's dpi
    int editable;
    int saved;
    CanvasParams param;
    WindowRegisters regs;
    HMENU context;  // editable only; its submenus below
    HMENU ctxMullion;
    HMENU ctxSash;
    HMENU ctxFilling;
    HMENU dropMullion;  // the toolbar's drop-down menus
    HMENU dropSash;
    HMENU dropFilling;
    strMenuWypeln* wypeln;
    int32_t fillingCount;
    strEdUd spins[kSpinCount];
    strZamRob orderValuation;         // the order's valuation parameters for the panel's prices
    DesignHistory history;    // the steps of this opening (editable only)
    PriceList prices;         // the seller's price list, read at the start
    int32_t programCurrency;  // the currency its rates are in, or -1 when unknown
    bool suggestionOk;        // the window has a suggested price ...
    int64_t suggestion;       // ... of this many hundredths
};

// Opening kind and side of the seven sash kinds, in menu order.
const int32_t kSashKinds[7][2] = {{0, 0}, {1, 0}, {1, 1}, {2, 0}, {2, 1}, {3, 0}, {3, 1}};
const char* const kSashNames[7] = {
    "Fixed sash",
    "Top hung sash (V)",
    "Bottom hung sash (^)",
    "Left-side hung sash (>)",
    "Right-side hung sash (<)",
    "Tilt && turn sash - left (>^)",
    "Tilt && turn sash - right (<^)",
};

inline HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

inline HWND PanelItem(DesignerState* s, int id) { return GetDlgItem(s->panel, id); }

// The name control that exists: the register's list or the plain field.
inline HWND NameControl(DesignerState* s, int listId) {
    HWND c = PanelItem(s, listId);
    return c ? c : PanelItem(s, listId + 1);
}

// designer_tools_win.cpp
void ApplyToolState(DesignerState* s);
// After undo or redo: the chosen tool stays while the window offers it
// (the frame's tool only without a frame, the others only with one).
void KeepToolState(DesignerState* s);
int BuildFillingList(DesignerState* s, char* msg);
bool BuildMenus(DesignerState* s);
void CmdFactors(DesignerState* s);
void CmdTool(DesignerState* s, int id);
bool CreateToolbar(DesignerState* s);
void DestroyMenus(DesignerState* s);
void OnMenuCommand(DesignerState* s, int pos, HMENU menu);
void ShowContextMenu(DesignerState* s, const CanvasNotification* n);
void ShowDropMenu(DesignerState* s, int button);
// Gives the canvas the cursor of the chosen tool at the designer's dpi.
void ShowToolCursor(DesignerState* s);
const char* TipText(int command);

// designer_save_win.cpp
void CmdSave(DesignerState* s);
void FillPanel(DesignerState* s);
void OnColourChosen(DesignerState* s);
LRESULT OnMuntinChosen(DesignerState* s, const char* before);
void OnPrice(DesignerState* s);
LRESULT OnProfileChosen(DesignerState* s, const char* before);
LRESULT OnQuantity(DesignerState* s, int32_t value);
LRESULT OnThickness(DesignerState* s, int32_t value, int spinId);
void RefreshCanvas(DesignerState* s);
void SwitchOffPanel(DesignerState* s);
void UpdateFigures(DesignerState* s);
// The price list: read at the start, its line after every change that may
// move the suggestion, and "Use".
void LoadPriceList(DesignerState* s);
void UpdatePriceList(DesignerState* s);
void CmdUsePriceList(DesignerState* s);
// The profile and muntin names the panel shows now.
DesignNames CurrentNames(DesignerState* s);
// After an accepted change of the drawing: one step of the history.
void RecordStep(DesignerState* s);
// Takes the last step back (or does again the one taken back).
void CmdUndo(DesignerState* s, bool redo);
// Undo and Redo enabled as the history allows.
void UpdateUndoButtons(DesignerState* s);

#endif  // KV_UI_DESIGNER_DESIGNER_INTERNAL_WIN_H
