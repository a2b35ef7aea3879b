// psi_win.h - the psi the labels of the linear thermal factors draw ahead of
// their text, at the label's dpi.
//
// At 96 dpi it is four one-pixel strokes: two arms and a stem three pixels
// apart and the bowl joining the arms. At another dpi the distances scale
// and every stroke is as many whole pixels wide as the dpi allows, so the
// glyph keeps its shape instead of being stretched.
#ifndef KV_UTIL_PSI_WIN_H
#define KV_UTIL_PSI_WIN_H

#include <windows.h>

enum class KvPsiForm {
    kSquare,  // arms down to the bowl's row, stem to row 11 (the settings' Uw page)
    kRound,   // arms stop above the bowl, stem to row 10 (the Factors dialog)
};

// Draws the psi in `ink` with its right edge at x (exclusive: the text
// starts there) and its top row counted from y, the label's top.
void KvPaintPsi(HDC dc, int x, int y, int dpi, KvPsiForm form, COLORREF ink);

// The pixels the psi and the gap ahead of it take at `dpi` (8 at 96 dpi).
int KvPsiWidth(int dpi);

#endif  // KV_UTIL_PSI_WIN_H
