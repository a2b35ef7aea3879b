// drawing.h - the arithmetic of drawing a window: placement on a device,
// the inverse mapping, the dimension set (`strWym` chains) and the placement
// of dimension texts. Portable: the GDI half is render/drawing_win.h.
//
// Callers run, in this order: the element geometry pass (model/structure.h,
// millimetres), LayOutWindow (device pixels), BuildDimensions, then the text
// placement with the device's fonts, then the drawing.
//
// Device rectangles are left, top, right, bottom with right and bottom
// exclusive, as the platform's rectangle drawing uses them.
#ifndef KV_RENDER_DRAWING_H
#define KV_RENDER_DRAWING_H

#include <stdint.h>

#include "model/operations.h"

// Widths of the pens that outline the elements, device pixels (0 and 1 are
// both a one-pixel pen). Entries 3, 4, 5 and 6 of the drawing resource set.
struct PenWidths {
    int32_t rama;      // frame and fixed mullion (entry 3)
    int32_t skrzydlo;  // sash (entry 4)
    int32_t falseMullion;   // false mullion; also the opening symbols (entry 5)
    int32_t szpros;    // muntin (entry 6)
};

// Half of the width that a pen adds to an element on side `strona`
// (kSideLeft..kSideBottom): with e = max(w - 1, 0), e / 2 on the left and top and
// e / 2 + e % 2 on the right and bottom. 0 for fillings and unknown types.
int32_t HalfPenWidth(const uniOperRys* op, int32_t strona, const PenWidths* piora);

// ---- Placement -------------------------------------------------------------

// Maps a window of W x H mm into target rectangle `cel` with margin
// `margines` pixels: uniform scale, centred.
struct DrawingScale {
    double s;         // device pixels per mm
    int32_t W, H;     // frame width and height, mm
    int32_t centreX;  // l + (r - l) / 2, device
    int32_t centreY;  // t + (b - t) / 2, device
};

// The scale for a frame of W x H mm in `cel` less the margin on every side.
// 0 (and nothing set) when W or H is not positive or no room is left.
int ComputeScale(int32_t W, int32_t H, const strProst* cel, int32_t margines, DrawingScale* sk);

// Millimetres to device: trunc((X - W/2) * s + centreX), likewise y; a result
// outside 32 bits is clamped.
int32_t MmToDeviceX(const DrawingScale* sk, int32_t X);
int32_t MmToDeviceY(const DrawingScale* sk, int32_t Y);

// Placement: the device coordinates of every element of a list whose
// millimetre geometry is computed (ComputeGeometry). Frame: outer and inner
// rectangle; mullion and muntin: rectangle with its ends pulled in where they
// meet something drawn with an outline that would overlap (1 pixel, plus pen
// half-widths), and its centre line; sash: outer rectangle likewise pulled
// in, inner rectangle; filling: rectangle likewise. Elements whose bounds are
// not earlier elements are left as they were. Returns 0 when the list has no
// frame at index 0 or the target has no room (see ComputeScale).
int LayOutWindow(uniOperRys* lista, int32_t liczba, const strProst* cel, int32_t margines,
                 const PenWidths* piora);

// Device point to mm for a frame of W x H mm in the same target: the inverse
// of the mapping, X = trunc((x - centreX) / s + W/2). 0 when there is no
// room (nothing written).
int DeviceToMm(int32_t x, int32_t y, int32_t W, int32_t H, const strProst* cel, int32_t margines, int32_t* X,
            int32_t* Y);

// ---- Dimension set ---------------------------------------------------------

// One segment of a chain.
struct strWym {
    strProst tekst;   // the segment's text, device
    int32_t dlugosc;  // length, mm
    int32_t element;  // element that ends the segment (the last repeats the one before)
};
static_assert(sizeof(strWym) == 24, "a dimension record is six 32-bit values");

// Chains: right (horizontal mullions, largest position first), bottom
// (vertical mullions, smallest first), left (horizontal muntins, largest
// first), top (vertical muntins, smallest first).
enum { kDimensionRight = 0, kDimensionBottom = 1, kDimensionLeft = 2, kDimensionTop = 3, kDimensionChains = 4 };

struct DimensionSet {
    strWym* chainSegments[kDimensionChains];     // from the private heap; null when the chain is empty
    int32_t itemCount[kDimensionChains];  // records in each chain: elements + 1, or 0
    strProst widthText;             // overall width's text, device
    strProst heightText;              // overall height's text, device (vertical)
    int32_t dpi;                    // display scale of the screen distances; 0 counts as 96
};

// Builds the four chains of a list whose millimetre geometry is computed,
// reusing or replacing the arrays the set already holds. Lengths run from one
// outer edge of the frame to the other, muntins included. 0 with "Error of
// allocation the table of strWym structures" or "Error of reallocation the
// table of strWym structures"; the chains built before stay valid.
int BuildDimensions(const uniOperRys* lista, int32_t liczba, DimensionSet* w, char* msg);

// Releases the four arrays; counts and rectangles become zero.
void FreeDimensions(DimensionSet* w);

// A screen measure of `px` pixels at 96 dpi, in pixels at `dpi` (0 or 96:
// unchanged), rounded to the nearest pixel.
int32_t ScreenPixels(int32_t px, int32_t dpi);

// Distances from the frame's outer device rectangle, pixels: d1 for the
// overall dimensions, d2 for the chains (screen 30 and 15 at 96 dpi, scaled
// by `dpi`; printout 28 and 14 at any dpi).
void DimensionDistances(int ekran, int32_t dpi, int32_t* d1, int32_t* d2);

// Measures a text on the device: its length along the text and its height,
// with the normal font (pionowy 0) or the vertical one (1).
typedef void (*MeasureTextFn)(void* ctx, int pionowy, const char* tekst, int32_t* dl, int32_t* wys);

// Text of a dimension: the length in mm as a decimal number.
void DimensionText(int32_t mm, char tekst[16]);

// Places the texts of the set for a placed list: the overall width under the
// frame (normal font), the overall height right of it (vertical font), every
// segment centred between the centre lines (or frame edges) that bound it.
// `ekran` chooses the screen (1) or printout (0) distances.
void LayOutDimensionTexts(DimensionSet* w, const uniOperRys* lista, int32_t liczba, int ekran,
                            MeasureTextFn mierz, void* ctx);

#endif  // KV_RENDER_DRAWING_H
