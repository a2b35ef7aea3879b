// printout.h - the printout of an order: its pages composed as enhanced
// metafiles (heading, dates and parties, windows with their drawings,
// accessories, totals, notes, footer, page numbers) and handed to the print
// library's modal preview.
//
// Page coordinates are the display's pixels of a 768 x 960 page (8 x 10
// inches); each metafile's frame is that page in hundredths of a millimetre.
// Text is written as characters, one text record per line, so that a page
// can be read back and searched.
#ifndef KV_PRINTOUT_PRINTOUT_H
#define KV_PRINTOUT_PRINTOUT_H

#include <windows.h>

#include <stdint.h>

#include "db/order_record.h"
#include "db/records.h"
#include "render/drawset_win.h"

// The composed pages: the array comes from the private heap, each handle is
// a closed metafile.
struct PrintoutPages {
    HENHMETAFILE* pageFiles;
    int32_t itemCount;
};

// Page geometry, device pixels.
enum {
    kPageWidthPx = 768,      // x 0 ... 767
    kPageHeightPx = 960,       // y 0 ... 960
    kPageBodyEnd = 946,    // the body ends at this y less the footer height
    kWindowRowHeight = 210,      // a window row's advance (its box is 211 high)
    kMaxHeadingMm = 250,  // the settings' largest heading height, mm
};

// The maker's address in the footer.
extern const char kMakerAddress[];

// Composes the order's pages with the print drawing set `ds` and the user's
// settings (heading height, status names). The totals are recomputed (mask
// 0x11). Returns 1 with the pages in *wynik, or 0 with the message and
// nothing left allocated: "The order is empty", "Error of allocation of
// HENHMETAFILE", the text of a window's copy or drawing, or a block that
// cannot fit on an empty page below the heading.
int ComposeOrderPrintout(strZamRob* z, const DrawSet* ds, const strUstUzytk* ust, PrintoutPages* wynik,
                  char* msg);

// A page's metafile frame, hundredths of a millimetre: 8 x 10 inches at the
// display's millimetres per inch, each product truncated in float.
RECT PrintoutPageFrame(float mmPoziomo, float mmPionowo);

// A new page for a printout of another kind (the sales overview): an open
// metafile of the printout's frame whose units are the page's 1/96 inch,
// transparent text aligned top left. Null when it cannot be made.
HDC BeginPrintoutPage();

// Deletes every page and the array; the record becomes empty.
void FreePrintoutPages(PrintoutPages* s);

// The heading text: the order number "%d-%s-%4d" upper-cased, then
// " (symbol)" when the order has a symbol. `rozmiar` bytes at most.
void OrderHeadingText(const strZam* zam, char* tekst, int rozmiar);

// Composes the pages and shows them in the print library's modal preview
// (the pages then belong to the preview). 1 once the pages were handed over
// (a preview that cannot open shows its own message and the pages are
// deleted here), 0 with the message when composing failed.
int PreviewOrderPrintout(HWND owner, strZamRob* z, const DrawSet* ds, const strUstUzytk* ust, char* msg);

// Shows the pages in the print library's modal preview under the job name
// `title`; they belong to the preview from then on (a preview that cannot
// open says why itself, and the pages are deleted here). `pages` is empty
// afterwards.
void PreviewPrintoutPages(HWND owner, PrintoutPages* pages, const char* title);

// The program's "Print": reads the user's settings from the database, runs
// PreviewOrderPrintout and shows a failure in an "Error" box owned by `owner`.
void PrintOrder(HWND owner, strZamRob* order, const DrawSet* printSet);

#endif  // KV_PRINTOUT_PRINTOUT_H
