// order_window_internal.h - what the files of the order window share: its state
// record and the routines each file gives the others. Not for outside use.
#ifndef KV_UI_ORDER_ORDER_WINDOW_INTERNAL_H
#define KV_UI_ORDER_ORDER_WINDOW_INTERNAL_H

#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include <vector>

#include "db/buyers.h"
#include "db/names.h"
#include "db/order_record.h"
#include "db/records.h"
#include "render/drawset_win.h"
#include "util/amounttext.h"
#include "util/dpi_win.h"
#include "util/scoped_win.h"
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

// What the buyer field offers (order_buyers.cpp).
struct BuyerSuggestions {
    HWND list = nullptr;        // the drop-down under the field, made at the first typing
    HWND page = nullptr;        // the General page
    bool loaded = false;        // the buyers were read (or failed to read: none offered then)
    bool filling = false;       // the fields are being set from a choice
    std::vector<Buyer> all;     // the buyers of earlier orders, most recent first
    std::vector<size_t> shown;  // the entries of `all` the list shows
    unsigned char upper[256] = {};  // the code page's upper-casing
};

struct OrderWindow {
    HWND hwnd = nullptr;
    HWND owner = nullptr;
    strZamRob* z = nullptr;  // the caller's working order, edited in place
    int* row = nullptr;      // the order's row in the owner's list, or -1
    const DrawSet* draw = nullptr;
    strUstUzytk settings = {};  // status names, default Uw factors
    int saved = 0;              // 1 after Save / Save as
    int toolbarHeight = 0;      // device pixels
    SIZE laidOut = {-1, -1};    // the client size the controls were last placed for, device pixels
    int dpi = kKvBaseDpi;       // the dpi the window is laid out for
    ScopedFont font;            // its controls' font at that dpi (none: the stock one)
    KvWindowIcons icons;        // its icons at that dpi
    // Each child made by Child with its place at 96 dpi, to place it again
    // when the window moves to a monitor of another dpi.
    struct Placed {
        HWND hwnd;
        RECT at96;
    };
    std::vector<Placed> placed;
    int defId = 0;            // default push button (DM_SETDEFID), 0 none
    strZamRob snapshot = {};  // the order when correction began
    bool hasSnapshot = false;
    bool totalsTooLarge = false;  // the totals shown do not fit: told once until they fit again
    HMENU menu = nullptr;
    size_t priceListEntries = 0;  // as read when the window opened
    KvToolbar bar;  // its image lists go with the record, after the window
    HWND tab = nullptr, accList = nullptr, winList = nullptr;
    HWND pages[kPageCount] = {};
    OrderPage pageState[3] = {};
    strTtLbx tip = {};
    char tipText[8192] = {};  // answers the tooltip; outlives the request
    wchar_t tipTextW[8192] = {};
    BuyerSuggestions buyers;
};

OrderMode ModeOf(const OrderWindow* w);

// ---- Pages (order_pages.cpp) ---------------------------------------------------------
INT_PTR CALLBACK GeneralPageProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ValuationPageProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NotesPageProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
// Writes the three editable pages into the order. A typed number that does
// not fit its field is not written; the message of the first such field is
// returned (null when every field was taken).
const char* StorePages(OrderWindow* w);

// ---- Returning buyers (order_buyers.cpp) --------------------------------------------
// The buyer field of the General page `page` changed: offers the buyers
// whose names begin with its text, unless the window only shows the order.
void OfferBuyers(HWND orderWnd, HWND page);

// ---- Window cells (order_cells.cpp) --------------------------------------------------
// Paints the cell of window `index` of the order (index < 0: the empty
// list's cell) into `cell` of `dc`. `focused` and `selected` as the list box
// reports them.
void PaintWindowCell(HDC dc, const RECT& cell, const strZamRob* z, int index, const DrawSet* draw,
                     bool focused, bool selected, int dpi = kKvBaseDpi, HFONT font = nullptr);

// ---- Accessories (accessory_list.cpp) -----------------------------------------------
void AccListCreateColumns(HWND list, int dpi);
// Sets the columns' widths again for `dpi`.
void AccListApplyDpi(HWND list, int dpi);
void AccListFill(HWND list, const strZamRob* z);
void AccListRefreshTotals(HWND list, const strZamRob* z);
void CmdAccessoryAdd(OrderWindow* w);
void CmdAccessoryEdit(OrderWindow* w);
void CmdAccessoryDelete(OrderWindow* w);
// Runs the "Accessory" dialog on `d`; 1 after OK with `d` filled.
int RunAccessoryDialog(HWND owner, strDodatZam* d, const strZamRob* z, int editable);

// ---- Order window (order_window.cpp, order_commands.cpp, order_totals.cpp) ----
void ApplySelectionEnabling(OrderWindow* w);
// The currency code of the order.
const char* OrderCurrency(const strZamRob* z);

const char kClassName[] = "oknoZamowienia";

// ---- Small helpers -------------------------------------------------------------

inline HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

inline HMENU OrderMenu(OrderWindow* w) { return GetSubMenu(w->menu, 0); }
inline HMENU WindowMenu(OrderWindow* w) { return GetSubMenu(w->menu, 1); }
inline HMENU AccessoryMenu(OrderWindow* w) { return GetSubMenu(w->menu, 2); }
// Positions in the "Order" menu.
enum { kPosSaveAs = 1, kPosChangeStatus = 2 };

inline void Enable(HMENU menu, UINT id, bool on) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}
inline void EnableAt(HMENU menu, UINT pos, bool on) {
    EnableMenuItem(menu, pos, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
}
inline void Rename(HMENU menu, UINT id, const char* text) {
    ModifyMenuA(menu, id, MF_BYCOMMAND | MF_STRING, id, text);
}

inline void ToolbarText(OrderWindow* w, int id, const char* text) {
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT;
    info.pszText = (char*)text;
    SendMessageA(w->bar.hwnd, TB_SETBUTTONINFOA, id, (LPARAM)&info);
}

// A measure given at 96 dpi, at the window's dpi.
inline int Px(const OrderWindow* w, int px) { return KvScale(px, w->dpi); }

// A child control at x, y of cx x cy pixels at 96 dpi, placed at the
// window's dpi with its font.
inline HWND Child(OrderWindow* w, const char* cls, const char* text, DWORD style, int id, int x, int y,
                  int cx, int cy, DWORD exStyle = 0) {
    HWND c = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, Px(w, x), Px(w, y), Px(w, cx),
                             Px(w, cy), w->hwnd, (HMENU)(INT_PTR)id, Instance(), nullptr);
    SendMessageA(c, WM_SETFONT, (WPARAM)KvGuiFont(w->font.get()), FALSE);
    if (c) w->placed.push_back({c, {x, y, x + cx, y + cy}});
    return c;
}

inline void OrderNumber(const strZam& o, char* text, size_t cap) { ComposeOrderNumber(o, kNumberUpperCased, text, cap); }

inline const char* Status(OrderWindow* w, int status) { return StatusName(&w->settings, status); }

inline void SetAmount(HWND parent, int id, int64_t amount) {
    char text[64];
    AmountDisplayText(amount, text, sizeof text);
    SetDlgItemTextA(parent, id, text);
}

inline int SelectedWindowEntry(OrderWindow* w) { return (int)SendMessageA(w->winList, LB_GETCURSEL, 0, 0); }

inline int EntryIndex(OrderWindow* w, int entry) {
    return (int)SendMessageA(w->winList, LB_GETITEMDATA, entry, 0);
}

inline void AddWindowEntry(OrderWindow* w, int index) {
    SendMessageA(w->winList, LB_ADDSTRING, 0, (LPARAM)index);
}

inline void Close(OrderWindow* w) { DestroyWindow(w->hwnd); }

// order_window_layout.cpp
const int kOrderWindowIcon = 10000;  // the program's icon
// The controls of a window whose hwnd is set, laid out for its client area.
bool CreateOrderControls(OrderWindow* w);
// The pages made only once the window is painted.
bool CreateHiddenPages(OrderWindow* w);
// WM_SIZE and WM_DPICHANGED.
void OrderWindowSized(OrderWindow* w, int width, int height);
void OrderWindowDpiChanged(OrderWindow* w, WPARAM wParam, LPARAM lParam);
bool TakeSnapshot(OrderWindow* w, char* msg);

// order_commands.cpp
void CmdAddWindow(OrderWindow* w);
void CmdCancel(OrderWindow* w);
void CmdChangeStatus(OrderWindow* w, int32_t status);
void CmdCorrect(OrderWindow* w);
void CmdDeleteOrder(OrderWindow* w);
void CmdDeleteWindow(OrderWindow* w);
void CmdEditWindow(OrderWindow* w, bool asNew);
void CmdPrint(OrderWindow* w);
void CmdSavePdf(OrderWindow* w);
void CmdSave(OrderWindow* w, int32_t newStatus);
void ShowStatusMenuBelowButton(OrderWindow* w);

// order_prices.cpp: "Prices from the price list..."
// Reads whether the price list has entries.
void LoadPriceListState(OrderWindow* w);
// Enables the item when the order has windows, is editable, the list has
// entries and the order is in the program's currency.
void UpdatePricesFromListItem(OrderWindow* w);
void CmdPricesFromList(OrderWindow* w);

// order_totals.cpp
void ApplyMode(OrderWindow* w);
// Sends UM_PAGE_ENABLE for the window's mode to the pages from `first` on
// (General, Valuation, Notes) that exist.
void EnablePages(OrderWindow* w, int first);
// The Valuation page's amounts, units and currency, when the page exists.
void ShowValuationAmounts(OrderWindow* w);
void OnShowStatus(OrderWindow* w);
void OnShowTotals(OrderWindow* w);

#endif  // KV_UI_ORDER_ORDER_WINDOW_INTERNAL_H
