// The cells of the order window's windows list: the window drawn small, its
// quantity and unit prices under it.
#include <stdio.h>

#include "model/structure.h"
#include "model/window.h"
#include "render/drawing_win.h"
#include "ui/order/order_window_internal.h"
#include "util/amounttext.h"
#include "util/msgbuf.h"
#include "util/scoped_win.h"
#include "valuation/valuation.h"

namespace {

// The cell's background for a window of structure format `format`: the
// drawing set's green for formats 1, 3 and 4, its canvas colour for 0, 2
// and 5, white otherwise.
HBRUSH FormatBrush(const DrawSet* draw, int32_t format) {
    switch (format) {
        case 1:
        case 3:
        case 4: return draw->brushGreen;
        case 0:
        case 2:
        case 5: return draw->brushCanvas;
        default: return (HBRUSH)GetStockObject(WHITE_BRUSH);
    }
}

void DottedFrame(HDC dc, const DrawSet* draw, int left, int top, int right, int bottom) {
    ScopedSelect pen(dc, draw->penDotted);
    ScopedSelect brush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, left, top, right, bottom);
}

void CellText(HDC dc, const RECT& cell, const strZamRob* z, const strOkno& okno, bool focused, int textHeight,
              int margin) {
    ValuationLine line = {};
    WindowLine(&line, z, &okno, kLineUnitNet | kLineUnitGross);
    char net[64], gross[64];
    AmountDisplayText(line.unitNet, net, sizeof net);
    if (line.przepelnione & kLineUnitGross) snprintf(gross, sizeof gross, "%s", kAmountTooLarge);
    else AmountDisplayText(line.unitGross, gross, sizeof gross);
    const char* code = OrderCurrency(z);
    char text[256];
    snprintf(text, sizeof text, "%d pcs\r\nNet: %s %s\r\nGross: %s %s", okno.ilOkien, net, code, gross, code);
    RECT r = {cell.left + margin, cell.bottom - margin - textHeight, cell.right - margin,
              cell.bottom - margin};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, focused ? RGB(255, 255, 255) : GetSysColor(COLOR_WINDOWTEXT));
    DrawTextA(dc, text, -1, &r, DT_CENTER | DT_NOPREFIX);
}

}  // namespace

void PaintWindowCell(HDC dc, const RECT& cell, const strZamRob* z, int index, const DrawSet* draw,
                     bool focused, bool selected, int dpi, HFONT font) {
    const int margin = KvScale(5, dpi), frame = KvScale(4, dpi);
    ScopedSaveDC saved(dc);
    const bool real = index >= 0 && index < z->zam.liczbaOkien;
    HBRUSH background;
    if (!real) background = GetSysColorBrush(COLOR_BTNFACE);
    else if (focused) background = GetSysColorBrush(COLOR_HIGHLIGHT);
    else if (selected) background = (HBRUSH)GetStockObject(LTGRAY_BRUSH);
    else background = FormatBrush(draw, StructureFormat(z->zam.okna[index].status));
    FillRect(dc, &cell, background);
    if (!real) {
        if (focused)
            DottedFrame(dc, draw, cell.left + frame, cell.top + frame, cell.right - frame,
                        cell.top + KvScale(20, dpi));
        return;
    }
    ScopedSelect cellFont(dc, KvGuiFont(font));
    char msg[KV_MSG_LEN];
    strOkno* copy = nullptr;
    if (!CopyWindow(&copy, &z->zam.okna[index], msg)) {
        RECT r = cell;
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, msg, -1, &r, DT_WORDBREAK | DT_NOPREFIX);
        return;
    }
    RECT measure = {0, 0, cell.right - cell.left, 0};
    DrawTextA(dc, "pcs\r\nNet:\r\nGross:", -1, &measure, DT_CALCRECT | DT_NOPREFIX);
    const int textHeight = measure.bottom - measure.top;
    RECT picture = {cell.left, cell.top, cell.right, cell.bottom - margin - textHeight};
    if (picture.bottom > picture.top &&
        !DrawWindowInRect(dc, copy, &picture, KvScale(6, dpi), draw, kStyleCell, kDimensionsNone, msg)) {
        RECT r = picture;
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, msg, -1, &r, DT_WORDBREAK | DT_NOPREFIX);
    }
    if (selected)
        DottedFrame(dc, draw, cell.left + frame, cell.top + frame, cell.right - frame, cell.bottom - frame);
    CellText(dc, cell, z, *copy, focused, textHeight, margin);
    FreeWindow(copy);
}
