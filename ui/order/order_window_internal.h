// order_window_internal.h - what the files of the order window share: its state
// record and the routines each file gives the others. Not for outside use.
#ifndef KV_UI_ORDER_ORDER_WINDOW_INTERNAL_H
#define KV_UI_ORDER_ORDER_WINDOW_INTERNAL_H

#include <windows.h>
#include <commctrl.h>

#include "db/order_record.h"
#include "db/records.h"
#include "render/drawset_win.h"
#include "util/toolbar_win.h"
#include "widgora/widgora.h"

enum OrderMode { kModeNew, kModeCorrection, kModePreview };

// A tab page's state: the order it shows, and whether it is being filled
// (changes made by the filling itself are not the user's).
struct OrderPage {
    strZamRob* z;
    HWND orderWnd;
    bool loading;
    const char* refused;  // after a store: the first field not taken, or null
    char refusal[256];    // the text `refused` points to when it is built
};

enum { kPageGeneral, kPageValuation, kPageNotes, kPageSeller, kPageCount };

struct OrderWindow {
    HWND hwnd = nullptr;
    HWND owner = nullptr;
    strZamRob* z = nullptr;      // the caller's working order, edited in place
    int* row = nullptr;          // the order's row in the owner's list, or -1
    const DrawSet* draw = nullptr;
    strUstUzytk settings = {};   // status names, default Uw factors
    int saved = 0;               // 1 after Save / Save as
    int toolbarHeight = 0;       // device pixels
    int defId = 0;               // default push button (DM_SETDEFID), 0 none
    strZamRob snapshot = {};     // the order when correction began
    bool hasSnapshot = false;
    bool totalsTooLarge = false;  // the totals shown do not fit: told once until they fit again
    HMENU menu = nullptr;
    KvToolbar bar;  // its image lists go with the record, after the window
    HWND tab = nullptr, accList = nullptr, winList = nullptr;
    HWND pages[kPageCount] = {};
    OrderPage pageState[3] = {};
    strTtLbx tip = {};
    char tipText[8192] = {};     // answers the tooltip; outlives the request
    wchar_t tipTextW[8192] = {};
};

OrderMode ModeOf(const OrderWindow* w);

// ---- Pages (pages.cpp) ---------------------------------------------------------
INT_PTR CALLBACK GeneralPageProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ValuationPageProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NotesPageProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
// Writes the three editable pages into the order. A typed number that does
// not fit its field is not written; the message of the first such field is
// returned (null when every field was taken).
const char* StorePages(OrderWindow* w);

// ---- Window cells (cells.cpp) --------------------------------------------------
// Paints the cell of window `index` of the order (index < 0: the empty
// list's cell) into `cell` of `dc`. `focused` and `selected` as the list box
// reports them.
void PaintWindowCell(HDC dc, const RECT& cell, const strZamRob* z, int index, const DrawSet* draw,
                     bool focused, bool selected);

// ---- Accessories (accessories.cpp) -----------------------------------------------
void AccListCreateColumns(HWND list);
void AccListFill(HWND list, const strZamRob* z);
void AccListRefreshTotals(HWND list, const strZamRob* z);
void CmdAccessoryAdd(OrderWindow* w);
void CmdAccessoryEdit(OrderWindow* w);
void CmdAccessoryDelete(OrderWindow* w);
// Runs the "Accessory" dialog on `d`; 1 after OK with `d` filled.
int RunAccessoryDialog(HWND owner, strDodatZam* d, const strZamRob* z, int editable);

// ---- Order window (orderwnd.cpp) -------------------------------------------------
void ApplySelectionEnabling(OrderWindow* w);
// The currency code of the order.
const char* OrderCurrency(const strZamRob* z);

#endif  // KV_UI_ORDER_ORDER_WINDOW_INTERNAL_H
