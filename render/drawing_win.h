// drawing_win.h - drawing a window with GDI on any device context (window,
// memory bitmap, enhanced metafile, printer), with the drawing resource set.
// The arithmetic behind it is render/drawing.h.
#ifndef KV_RENDER_DRAWING_WIN_H
#define KV_RENDER_DRAWING_WIN_H

#include <windows.h>

#include "db/records.h"
#include "render/drawing.h"
#include "render/drawset_win.h"

// Drawing styles: the designer's canvas, a cell of the order window's list,
// the printout.
enum { kStyleCanvas = 0, kStyleCell = 1, kStylePrintout = 2 };
// Dimension modes: none, screen distances, printout distances.
enum { kDimensionsNone = 0, kDimensionsScreen = 1, kDimensionsPrintout = 2 };

// Widths of the set's outline pens (entries 3-6), for the placement.
void DrawSetPenWidths(const DrawSet* ds, PenWidths* piora);

// Placement with the set's pens into a device rectangle.
int LayOutWindowOnDevice(uniOperRys* lista, int32_t liczba, const RECT* cel, int margines, const DrawSet* ds);

// Places the dimension texts, measured with the set's fonts (entries 1 and 2)
// on `hdc`; `ekran` 1 for screen distances, 0 for the printout's.
void LayOutDimensionTextsDC(HDC hdc, const DrawSet* ds, DimensionSet* w, const uniOperRys* lista,
                              int32_t liczba, int ekran);
// The same on a window's device context, borrowed and released.
void LayOutDimensionTextsOnWindow(HWND okno, const DrawSet* ds, DimensionSet* w, const uniOperRys* lista,
                                int32_t liczba, int ekran);

// Draws a placed window: the elements in list order in style `styl`, then
// (dimension mode 1 or 2) the dimension lines of `w`, whose texts must be
// placed. `iProfSch` chooses the joints (1 wood: butt joints, else mitres) and
// the profile name of style 0; `format` the structure format, which chooses
// the background colour. The device context's selected objects, colours and
// modes are as they were afterwards.
void DrawWindow(HDC hdc, const uniOperRys* lista, int32_t liczba, int32_t iProfSch, int32_t format,
               const DimensionSet* w, const DrawSet* ds, int styl, int trybWym);

// All steps for one window record into rectangle `cel` of `hdc`: element
// geometry, placement with `margines`, the dimension set (when trybWym is
// not 0), text placement and drawing. The record's derived values change.
// 0 with the geometry's or the dimension set's message.
int DrawWindowInRect(HDC hdc, strOkno* okno, const RECT* cel, int margines, const DrawSet* ds, int styl,
                    int trybWym, char* msg);

#endif  // KV_RENDER_DRAWING_WIN_H
