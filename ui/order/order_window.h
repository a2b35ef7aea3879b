// order_window.h - the order window: one order created, corrected or viewed,
// with its tab pages, the strip of window cells and the accessories.
#ifndef KV_UI_ORDER_ORDER_WINDOW_H
#define KV_UI_ORDER_ORDER_WINDOW_H

#include <windows.h>

#include "db/order_record.h"
#include "db/records.h"
#include "render/drawset_win.h"

// Opens the order window on the working record `order` (totals already
// computed with mask 0x11) and runs its message loop with `owner` disabled.
// *rowIndex is the order's row in the owner's list (-1 for none); the owner
// rewrites it when it answers UM_ORDER_SAVED / UM_ORDER_STATUS. Returns 1
// after "Save" or "Save as", else 0. The record stays the caller's.
int RunOrderWindow(HWND owner, strZamRob* order, int* rowIndex, const DrawSet* draw);

// The windows the order window opens, each behind a pointer that tests
// replace (and that the program points at the real window once it exists).
// The designer: 1 when the user saved `window`, which then holds the result.
typedef int (*OrderDesignerFn)(HWND owner, strOkno* window, const strZam* order, const DrawSet* draw,
                               int editable);
// The printout of the order with the print copy of the drawing set.
typedef void (*OrderPrintFn)(HWND owner, strZamRob* order, const DrawSet* printSet);
// The read-only Seller page inside the tab control: a modeless child dialog.
typedef HWND (*SellerPageFn)(HWND parent, strDaneUzytk* seller, int editable);

extern OrderDesignerFn g_orderDesigner;
extern OrderPrintFn g_orderPrint;
// "Save as PDF...": the printout of the order written to a PDF file.
extern OrderPrintFn g_orderSavePdf;
extern SellerPageFn g_orderSellerPage;

#endif  // KV_UI_ORDER_ORDER_WINDOW_H
