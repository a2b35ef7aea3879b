// compose_win.h - the composition state of one printout and the page and text
// routines the blocks share (internal to the printout).
#ifndef KV_PRINTOUT_COMPOSE_WIN_H
#define KV_PRINTOUT_COMPOSE_WIN_H

#include <windows.h>

#include <stdint.h>

#include "db/order_record.h"
#include "db/records.h"
#include "printout/printout.h"
#include "render/drawset_win.h"
#include "util/scoped_win.h"

// Horizontal placement of a text in a cell.
enum Alignment { kAlignLeft, kAlignCentre, kAlignRight };

// One record for the whole document. Coordinates are page pixels.
struct Composition {
    strZamRob* z;
    const DrawSet* ds;
    PrintoutPages closedPages;  // closed pages; the slot of the page being drawn stays null
    HDC dc;                   // the page being drawn, or null
    RECT pageFrame;               // every page's frame, hundredths of a mm
    int32_t y;                // lowest y used on the current page
    int32_t footerHeight;           // footer height: its text block + 2
    int32_t rowHeight;           // height of every table row except window rows
    int32_t headingTop;             // heading top T
    int32_t headingBottom;      // y of the heading's line, the same on every page
    int32_t headingHeightMm;        // the heading height it came from, mm
    ScopedFont normal;        // 14, 400: values
    ScopedFont fontBold;         // 14, 700: labels, table heads
    ScopedFont fontSmall;          // 10, 400: footer, page numbers
    ScopedFont fontLarge;          // 18, 700: heading
    char headingText[96];        // the order number and symbol
    const char* status;       // the order's status name
    char printDate[64];       // today in the user's short date format
    char* msg;
};

// y where the body of a page ends.
inline int32_t PageBodyEnd(const Composition& s) { return kPageBodyEnd - s.footerHeight; }

// Makes sure `potrzeba` pixels are left below s.y: starts a new page when
// they are not, and fails (message naming `co` and the heading height) when
// they would not be left on an empty page either, so that nothing waits for
// room that can never come. *nowa tells whether a page was started.
bool EnsureRoom(Composition& s, int32_t potrzeba, const char* co, bool* nowa);

// ---- Text -------------------------------------------------------------------
// Every text is one ExtTextOutA per line, left and top aligned at the point
// computed here, never glyph indexes.

int32_t LineHeight(HDC dc);                          // of the selected font
int32_t TextWidth(HDC dc, const char* t, int n);  // of the selected font
void WriteText(HDC dc, int32_t x, int32_t y, const char* t, int n);
// One line in the cell l..r (inclusive) at top y, cut to the cell's width.
void WriteInCell(HDC dc, int32_t l, int32_t r, int32_t y, const char* t, Alignment w);
// The same centred vertically in a band top..bottom.
void WriteInBand(HDC dc, int32_t l, int32_t r, int32_t gora, int32_t dol, const char* t, Alignment w);

// The next line of `t` in `szer` pixels: up to the text's own line break, or
// broken at the last blank that fits (a word wider than the line is cut
// where it stops fitting). Sets *start and *dl; returns where the following
// line starts, or null when `t` is at its end.
const char* NextLine(HDC dc, const char* t, int32_t szer, const char** start, int* dl);
// Lines of `t` in `szer` pixels.
int32_t CountLines(HDC dc, const char* t, int32_t szer);

// ---- Lines --------------------------------------------------------------------
// With the pen selected; both ends drawn.
void HorizontalLine(HDC dc, int32_t x1, int32_t x2, int32_t y);
void VerticalLine(HDC dc, int32_t x, int32_t y1, int32_t y2);

// ---- Blocks -------------------------------------------------------------------
bool WindowsTable(Composition& s);
bool AccessoriesTable(Composition& s);
bool TotalsTable(Composition& s);

// Amount texts of the tables.
void FormatAmount(int64_t kwota, char* tekst, int rozmiar);

#endif  // KV_PRINTOUT_COMPOSE_WIN_H
