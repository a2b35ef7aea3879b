// settings_pages.h - the settings dialog's pages besides the Seller page. Each is a
// modeless child dialog over the fields of the settings record it edits,
// filled at its start and on UM_PAGE_LOAD, written back on UM_PAGE_STORE
// or the OK command. The record must outlive the page.
#ifndef KV_UI_SETTINGS_SETTINGS_PAGES_H
#define KV_UI_SETTINGS_SETTINGS_PAGES_H

#include <windows.h>

#include "db/records.h"

// "Defaults" (10080): assembly and disassembly modes and prices, VAT rates,
// discount, fulfilment time, program currency, window weight.
HWND CreateDefaultsPage(HWND parent, strUstUzytk* settings);

// "Default Uw rates" (10100): the eight thermal factors.
HWND CreateUwPage(HWND parent, strWspUw* factors);

// "Orders' statuses" (10111): the names of statuses 1-6.
HWND CreateStatusesPage(HWND parent, strUstUzytk* settings);

// "Others" (10124): the printout heading height.
HWND CreateOthersPage(HWND parent, strUstUzytk* settings);

// Draws a linear factor's label: `text` right-aligned in `r` and, left of
// it, a psi of four strokes in the text colour, at `dpi` (device pixels).
void PaintPsiLabel(HDC dc, const RECT& r, const char* text, int dpi);

#endif  // KV_UI_SETTINGS_SETTINGS_PAGES_H
