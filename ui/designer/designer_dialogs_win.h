// designer_dialogs_win.h - the designer's small modal dialogs: the frame size, the grid of
// mullions or muntins, a new filling name.
#ifndef KV_UI_DESIGNER_DESIGNER_DIALOGS_WIN_H
#define KV_UI_DESIGNER_DESIGNER_DIALOGS_WIN_H

#include <windows.h>

#include <stdint.h>

#include "ui/designer/canvas_win.h"

// "Dimension of frame": fills in the width and height of the new frame
// `rama` (type 0, placed at 0, 0) and checks it with the limit check of the
// canvas's parent. Opens with its top-left corner at `pkt` (screen) when it
// then fits above the bottom of the screen. 1 when the frame was accepted.
int DialogFrameDimension(HWND obs, CanvasParams* param, uniOperRys* rama, POINT pkt);

// Grid dialog: on entry the kind and the screen point, on OK the counts
// (0-100 each).
struct GridDialogData {
    int32_t mullionGrid;   // 1 mullions ("Insert mullions"), 0 muntins ("Insert muntins")
    POINT curPoint;        // screen point where it opens
    int32_t horizontalCount;  // out: horizontal elements per column
    int32_t verticalCount;  // out: vertical elements
};
int DialogGrid(HWND owner, GridDialogData* s);

// "New filling name": on OK the trimmed name and the type (0 glass, 1 acrylic).
struct NewFilling {
    char nazwa[kFillingNameLen];
    int32_t typ;
};
int DialogNewFilling(HWND owner, NewFilling* w);

#endif  // KV_UI_DESIGNER_DESIGNER_DIALOGS_WIN_H
