// seller_page.h - the page "Seller's details": the seller's name,
// abbreviation, address and other information. The settings dialog edits the
// settings' block with it; the order window shows an order's block read-only.
#ifndef KV_UI_SETTINGS_SELLER_PAGE_H
#define KV_UI_SETTINGS_SELLER_PAGE_H

#include <windows.h>

#include "db/records.h"

// Creates the page (template 10074) as a modeless child of `parent`, filled
// from *seller. The page fills itself again on UM_PAGE_LOAD and writes the
// four texts back into *seller on UM_PAGE_STORE (or the OK command), cut to
// their field widths. With `editable` 0 the name, address and other
// information are read-only, the abbreviation and its label are hidden, and
// the page never writes. *seller must outlive the page. Returns null when the
// page cannot be created.
HWND CreateSellerPage(HWND parent, strDaneUzytk* seller, int editable);

#endif  // KV_UI_SETTINGS_SELLER_PAGE_H
