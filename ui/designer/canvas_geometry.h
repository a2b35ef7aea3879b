// canvas_geometry.h - the arithmetic of the design canvas: screen placement and
// its inverse, the hit test, the positions of a grid of mullions or muntins,
// and the moves of a dimension-chain label. Portable (no <windows.h>); the
// window itself is canvas_win.cpp.
#ifndef KV_UI_DESIGNER_CANVAS_GEOMETRY_H
#define KV_UI_DESIGNER_CANVAS_GEOMETRY_H

#include <stdint.h>

#include "model/operations.h"
#include "render/drawing.h"

// Margin around the window on the canvas, device pixels at 96 dpi.
enum { kCanvasMargin = 50 };

// The margin at `dpi` (0 counts as 96).
inline int32_t CanvasMargin(int32_t dpi) { return ScreenPixels(kCanvasMargin, dpi); }

// ---- Placement -------------------------------------------------------------

// A point of a W x H mm window in mm to the canvas rectangle `cel` and back,
// with the canvas margin `margines`. 0 when there is no room (nothing
// written).
int CanvasMmToPx(int32_t W, int32_t H, const strProst* cel, int32_t margines, int32_t X, int32_t Y, int32_t* x,
              int32_t* y);
int CanvasPxToMm(int32_t W, int32_t H, const strProst* cel, int32_t margines, int32_t x, int32_t y, int32_t* X,
              int32_t* Y);

// ---- Hit test --------------------------------------------------------------

enum : int32_t {
    kTrNic = 0,       // no frame
    kTrOutside = 1,      // outside the frame on both axes
    kTrLeft = 2,      // left of the frame, within its height
    kTrRight = 3,     // right of it
    kTrNad = 4,       // above the frame, within its width
    kTrPod = 5,       // below it
    kTrWidthLabel = 6,    // the frame-width label
    kTrHeightLabel = 7,     // the frame-height label
    kTrRightLabel = 8,   // a label of the right-hand chain (horizontal mullions)
    kTrBottomLabel = 9,   // bottom chain (vertical mullions)
    kTrLeftLabel = 10,   // left-hand chain (horizontal muntins)
    kTrTopLabel = 11,  // top chain (vertical muntins)
    kTrProfil = 12,   // on the frame bar, a mullion or a sash bar
    kTrArea = 13,   // inside an empty area
    kTrFilling = 14,   // inside a filling
    kTrPole = 15,     // inside a filling, in a field bounded by muntins
    kTrMuntin = 16,   // on a muntin
};

struct HitResult {
    int32_t resultCode;    // kTr...
    int32_t element;  // element (12, 16), filling (14, 15) or label index (8-11); else -1
    int32_t ogr[4];   // 13-15: bounding elements left, top, right, bottom; else -1
};

// Hit test of device point (x, y) against a placed list and its dimension
// set (texts placed). Rectangles count with their edges; a label whose value
// is below 1 is never hit. Returns t->wynik.
int32_t HitTest(const uniOperRys* lista, int32_t liczba, const DimensionSet* wym, int32_t x, int32_t y,
                      HitResult* t);

// Chain (kDimensionRight..kDimensionTop) of a label result 8-11, -1 for anything else.
int32_t HitChain(int32_t wynik);

// ---- Grid ------------------------------------------------------------------

// Number of elements of a grid: v + h * (v + 1).
int32_t GridCount(int32_t h, int32_t v);

// The area a grid goes into.
struct GridArea {
    int32_t ogr[4];          // bounding elements left, top, right, bottom
    int32_t x1, y1, x2, y2;  // their edge coordinates, mm
};

// Fills `wynik` (GridCount(h, v) records) with the grid's elements in
// insertion order: for each column i a vertical element at
// x1 + (i + 1) * W / (v + 1) from the area's top to its bottom bound, then
// the h horizontal elements at y1 + (j + 1) * H / (h + 1) from the current
// left bound to it; finally the h horizontals of the last field to the
// area's right bound. `baza` is the list index the first element will get.
// `typ` 1 (fixed mullion, kind `rodzaj`) or 5 (muntin on filling `wypeln`).
// Returns the count.
int32_t BuildGrid(const GridArea* obs, int32_t h, int32_t v, uint32_t typ, int32_t rodzaj,
                    int32_t wypeln, int32_t baza, uniOperRys* wynik);

// ---- Dimension chains ------------------------------------------------------

// New position of a label's element for the typed distance v: bottom and top
// chains p + v - d (p - d + v for the last label: p + d - v), right and left
// chains the other way round. p the element's position, d the label's length.
int32_t NewLabelPosition(int32_t lancuch, int ostatnia, int32_t p, int32_t d, int32_t v);

// Whether element `op` belongs to chain `lancuch`.
int BelongsToChain(const uniOperRys* op, int32_t lancuch);

// Position (centre line, mm) of a mullion or muntin; 0 for anything else.
int32_t BarPosition(const uniOperRys* op);

// The moves that a value v typed into label `etykieta` of chain `lancuch`
// asks for: every element of that chain at the label element's position
// goes to one new position. Writes up to `max` element indices into
// `elementy` and the new position into *newPos; returns the number of
// elements to move, 0 when the position does not change, -1 when the label
// does not exist.
int32_t LabelMoves(const uniOperRys* lista, int32_t liczba, const DimensionSet* wym, int32_t lancuch,
                      int32_t etykieta, int32_t v, int32_t* elementy, int32_t max, int32_t* newPos);

#endif  // KV_UI_DESIGNER_CANVAS_GEOMETRY_H
