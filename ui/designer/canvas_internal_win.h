// canvas_internal_win.h - what the design canvas's files share: its state
// and the handlers one file calls in another (canvas_win.cpp the window,
// canvas_editor_win.cpp the in-place dimension editor, canvas_tools_win.cpp
// the mouse, the tools and the rubber band, canvas_elements_win.cpp the
// operations on one element).
#ifndef KV_UI_DESIGNER_CANVAS_INTERNAL_WIN_H
#define KV_UI_DESIGNER_CANVAS_INTERNAL_WIN_H

#include <windows.h>
#include <commctrl.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <memory>
#include <new>

#include "model/structure.h"
#include "model/window.h"
#include "render/drawing_win.h"
#include "ui/designer/canvas_geometry.h"
#include "ui/designer/canvas_win.h"
#include "ui/designer/designer_dialogs_win.h"
#include "ui/designer/limits.h"
#include "util/dpi_win.h"
#include "util/heap.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "util/scoped_win.h"
#include "util/window_win.h"
#include "widgora/widgora.h"

// Which dimension the in-place editor edits.
enum { kEdClosed = 0, kEdWidth = 1, kEdHeight = 2, kEdRight = 3, kEdBottom = 4, kEdLeft = 5, kEdTop = 6 };
enum { kEdWidthPx = 60, kEdHeightPx = 22, kMaxDimension = 10000 };  // the editor's size at 96 dpi
enum { kBandThickness = 3 };  // pixels at 96 dpi: the band's pen (penThick) and a margin for its ends

struct CanvasState {
    HWND hwnd = nullptr;
    CanvasParams* p = nullptr;
    int edytowalny = 0;
    RECT prost = {0, 0, 0, 0};  // drawing rectangle: the client rectangle, device pixels
    // In-place dimension editor.
    strEdUd ed = {nullptr, nullptr, 0};
    WNDPROC edProc = nullptr;
    int edState = kEdClosed;
    int32_t edIndex = -1;  // label index within its chain
    int dpiEd = 0;          // the dpi the editor was sized for ...
    ScopedFont edFont;      // ... and its font for it (none: the stock one)
    // Tooltip naming the mullion or filling under the mouse.
    HWND tip = nullptr;
    int32_t tipElement = -1;
    bool trackingHover = false, trackingLeave = false;
    char tooltipText[kFillingNameLen] = {};
    // Rubber band.
    bool banding = false;
    POINT start = {0, 0};
    POINT lineEnd = {0, 0};            // end of the line last drawn (start: none drawn)
    std::unique_ptr<MemoryDC> savedImage;  // the canvas as it was when the drag began
    std::unique_ptr<MaskDC> bitMask;    // one-bit mask the line is drawn on
};

inline CanvasState* StateOf(HWND hwnd) { return (CanvasState*)GetWindowLongPtrA(hwnd, GWLP_USERDATA); }

inline int32_t OpCount(const CanvasState* w) { return w->p->liczbaOper ? *w->p->liczbaOper : 0; }
inline uniOperRys* OpList(const CanvasState* w) { return w->p->oper ? *w->p->oper : nullptr; }
// The dpi the canvas is laid out for: its dimension set's, set by the owner
// together with the drawing set's fonts.
inline int Dpi(const CanvasState* w) { return w->p->dimensionSet.dpi > 0 ? w->p->dimensionSet.dpi : kKvBaseDpi; }
// A measure given at 96 dpi, at the canvas's dpi.
inline int Px(const CanvasState* w, int px) { return KvScale(px, Dpi(w)); }
inline int32_t ProfileScheme(const CanvasState* w) { return w->p->iProfSch ? *w->p->iProfSch : 0; }

inline strProst ToRect(const RECT& r) {
    return {(int32_t)r.left, (int32_t)r.top, (int32_t)r.right, (int32_t)r.bottom};
}

// canvas_win.cpp
int AskLimits(CanvasState* w, const uniOperRys* ops, int32_t n, int32_t indeks, char* msg);
void AnnounceNewOp(CanvasState* w, uniOperRys* op);
void PaintCanvas(HDC dc, const RECT& r, CanvasState* w);
void AfterCanvasChange(CanvasState* w, UINT kod);
void ReplaceList(CanvasState* w, uniOperRys* nowa, int32_t n);
void NotifyParent(CanvasState* w, UINT kod);
void LayOutAll(CanvasState* w, uniOperRys* lista, int32_t n);
void TrackMouse(CanvasState* w);
void HideTooltip(CanvasState* w);
int DrawDimensions(CanvasState* w, char* msg);

// canvas_editor_win.cpp
LRESULT OnSpin(CanvasState* w, NMUPDOWN* ud);
void OnCloseEditor(CanvasState* w);
LRESULT OnApplyEditor(CanvasState* w);
void OpenEditor(CanvasState* w, int stan, int32_t indeks);
void MoveEditor(CanvasState* w);
// Sizes the editor for the canvas's dpi when it was made for another.
void RescaleEditor(CanvasState* w);
bool CreateEditor(CanvasState* w, HINSTANCE inst);

// canvas_tools_win.cpp
void OnCaptureChanged(CanvasState* w, HWND nowy);
void OnLButtonDblClk(CanvasState* w, int x, int y);
void OnLButtonDown(CanvasState* w, int x, int y);
void OnLButtonUp(CanvasState* w, int x, int y);
void OnMouseMove(CanvasState* w, int x, int y);
void OnRButtonUp(CanvasState* w, int x, int y);
void FreeBand(CanvasState* w);

#endif  // KV_UI_DESIGNER_CANVAS_INTERNAL_WIN_H
