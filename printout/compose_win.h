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
enum Wyrownanie { kDoLewej, kDoSrodka, kDoPrawej };

// One record for the whole document. Coordinates are page pixels.
struct Sklad {
    strZamRob* z;
    const DrawSet* ds;
    strStronyWydruku strony;  // closed pages; the slot of the page being drawn stays null
    HDC dc;                   // the page being drawn, or null
    RECT ramka;               // every page's frame, hundredths of a mm
    int32_t y;                // lowest y used on the current page
    int32_t stopka;           // footer height: its text block + 2
    int32_t wiersz;           // height of every table row except window rows
    int32_t gora;             // heading top T
    int32_t naglowekDol;      // y of the heading's line, the same on every page
    int32_t wysNaglMm;        // the heading height it came from, mm
    ScopedFont normal;        // 14, 400: values
    ScopedFont gruby;         // 14, 700: labels, table heads
    ScopedFont maly;          // 10, 400: footer, page numbers
    ScopedFont duzy;          // 18, 700: heading
    char naglowek[96];        // the order number and symbol
    const char* status;       // the order's status name
    char dataDruku[64];       // today in the user's short date format
    char* msg;
};

// y where the body of a page ends.
inline int32_t KoniecStrony(const Sklad& s) { return kStronaKoniec - s.stopka; }

// Makes sure `potrzeba` pixels are left below s.y: starts a new page when
// they are not, and fails (message naming `co` and the heading height) when
// they would not be left on an empty page either, so that nothing waits for
// room that can never come. *nowa tells whether a page was started.
bool Miejsce(Sklad& s, int32_t potrzeba, const char* co, bool* nowa);

// ---- Text -------------------------------------------------------------------
// Every text is one ExtTextOutA per line, left and top aligned at the point
// computed here, never glyph indexes.

int32_t WysLinii(HDC dc);                          // of the selected font
int32_t SzerTekstu(HDC dc, const char* t, int n);  // of the selected font
void Pisz(HDC dc, int32_t x, int32_t y, const char* t, int n);
// One line in the cell l..r (inclusive) at top y, cut to the cell's width.
void PiszWKomorce(HDC dc, int32_t l, int32_t r, int32_t y, const char* t, Wyrownanie w);
// The same centred vertically in a band top..bottom.
void PiszWPasie(HDC dc, int32_t l, int32_t r, int32_t gora, int32_t dol, const char* t, Wyrownanie w);

// The next line of `t` in `szer` pixels: up to the text's own line break, or
// broken at the last blank that fits (a word wider than the line is cut
// where it stops fitting). Sets *start and *dl; returns where the following
// line starts, or null when `t` is at its end.
const char* NastepnaLinia(HDC dc, const char* t, int32_t szer, const char** start, int* dl);
// Lines of `t` in `szer` pixels.
int32_t LiczLinie(HDC dc, const char* t, int32_t szer);

// ---- Lines --------------------------------------------------------------------
// With the pen selected; both ends drawn.
void Pozioma(HDC dc, int32_t x1, int32_t x2, int32_t y);
void Pionowa(HDC dc, int32_t x, int32_t y1, int32_t y2);

// ---- Blocks -------------------------------------------------------------------
bool TabelaOkien(Sklad& s);
bool TabelaDodatkow(Sklad& s);
bool TabelaSum(Sklad& s);

// Amount texts of the tables.
void Kwota(int64_t kwota, char* tekst, int rozmiar);

#endif  // KV_PRINTOUT_COMPOSE_WIN_H
