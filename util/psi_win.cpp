// The psi of the linear factors' labels.
#include "util/psi_win.h"

#include "util/dpi_win.h"
#include "util/scoped_win.h"

namespace {

// One pixel at 96 dpi in whole pixels at `dpi`: 1 up to 191 dpi, 2 from
// 192, and so on. Rounding 1.5 up would make the strokes heavier than the
// text beside them.
int StrokeWidth(int dpi) { return dpi < 2 * kKvBaseDpi ? 1 : dpi / kKvBaseDpi; }

}  // namespace

void KvPaintPsi(HDC dc, int x, int y, int dpi, KvPsiForm form, COLORREF ink) {
    const int t = StrokeWidth(dpi);
    const int step = KvScale(3, dpi);  // from one vertical to the next
    const int top = y + KvScale(2, dpi), bowl = y + KvScale(8, dpi);
    const int right = x - t, stem = right - step, left = stem - step;  // the verticals' left columns
    const bool square = form == KvPsiForm::kSquare;
    const RECT strokes[] = {
        {right, top, x, square ? bowl + t : bowl},                               // right arm
        {left, top, left + t, square ? bowl + t : bowl},                          // left arm
        {square ? left : left + t, bowl, right, bowl + t},                        // bowl
        {stem, top, stem + t, y + KvScale(square ? 11 : 10, dpi) + t},            // stem
    };
    ScopedBrush brush(CreateSolidBrush(ink));
    for (const RECT& r : strokes) FillRect(dc, &r, brush);
}

int KvPsiWidth(int dpi) { return 2 * StrokeWidth(dpi) + 2 * KvScale(3, dpi); }
