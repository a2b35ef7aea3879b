// canvas_win.h - the design canvas (window class "obsProj"): the child window of
// the designer on which a window is drawn and edited with the mouse.
//
// The canvas turns clicks and drags into drawing operations, checks each one
// with the structure rules and, through its parent (UM_OBS_LIMITY), with the
// size limits, appends it to the designer's operation list and redraws. It
// acts only on the messages it receives: mouse coordinates from lParam,
// button flags from wParam.
#ifndef KV_UI_DESIGNER_CANVAS_WIN_H
#define KV_UI_DESIGNER_CANVAS_WIN_H

#include <windows.h>

#include <stdint.h>

#include "db/records.h"
#include "model/operations.h"
#include "render/drawing.h"
#include "render/drawset_win.h"
#include "ui/designer/designer_rc.h"

#define CANVAS_CLASS "obsProj"

// Bits of the flags word of CanvasParams (the designer sets 27).
enum : uint32_t {
    kCanvasNotifyFrame = 1,    // frame inserted or element deleted: notification 0
    kCanvasNotifyChange = 2,  // any other change of the list: notification 1
    kCanvasAskNew = 4,    // before a new operation is filled in: UM_OBS_NOWA_OPER
    kCanvasLimits = 8,       // ask the parent's limit check (UM_OBS_LIMITY); clear: accept
    kCanvasMenu = 16,        // context-menu click over an element: notification 2
    kCanvasToolShift = 5,    // bits 5-8 hold the tool code
    kCanvasToolMask = 0xFu << 5,
    kCanvasDesignerFlags = 27,
};

// Tool codes (bits 5-8 of the flags word).
enum : int32_t {
    kToolPointer = 0,
    kToolFrame = 1,
    kToolFixedMullion = 2,
    kToolFalseMullion = 3,
    kToolFixedSash = 4,  // fixed sash; 4-10 the seven sash kinds
    kToolLastSash = 10,
    kToolFilling = 11,
    kToolMuntin = 12,
};

inline int32_t CanvasTool(uint32_t flagi) { return (int32_t)((flagi & kCanvasToolMask) >> kCanvasToolShift); }
inline uint32_t WithTool(uint32_t flagi, int32_t narz) {
    return (flagi & ~kCanvasToolMask) | (((uint32_t)narz << kCanvasToolShift) & kCanvasToolMask);
}

// Notification codes (WM_NOTIFY to the parent, idFrom 10303).
enum : UINT { kCanvasCodeFrame = 0, kCanvasCodeChange = 1, kCanvasCodeMenu = 2 };

// Notification 2: the element under a context-menu click and the click's
// screen point.
struct CanvasNotification {
    NMHDR hdr;
    int32_t element;  // index in the operation list
    POINT curPoint;        // screen coordinates
};

// The canvas parameter record, owned by the designer for the canvas's life.
struct CanvasParams {
    int32_t controlId;                    // 10303, the identifier in the notifications
    int32_t* iProfSch;                  // profile type of the window record
    int32_t* iSzpros;                   // muntin choice of the window record
    int32_t mullionKind;                 // mullion kind for new mullions: 0 fixed, 1 false (-1 none yet)
    int32_t typWypeln;                  // filling type for new fillings: 0 glass, 1 acrylic (-1 none yet)
    char fillingName[kFillingNameLen];  // filling name for new fillings
    int32_t format;                     // structure format, 5
    strOkno* windowRec;                      // the window record (default thicknesses, limit check)
    int32_t* liczbaOper;                // operation count of the list being edited
    uniOperRys** oper;                  // the list being edited
    DimensionSet dimensionSet;          // dimension set, owned by the canvas
    const DrawSet* ds;                  // drawing resource set
    uint32_t flagi;                     // kObs... bits; tool code in bits 5-8
};

// The two creation values: lpCreateParams of CreateWindowEx("obsProj").
struct CanvasCreateParams {
    CanvasParams* param;
    int edytowalny;  // 1 the window may be changed, 0 view only
};

// lParam of UM_OBS_LIMITY: the new or changed operations, their count, the
// index they replace (-1 appended) and the buffer (KV_MSG_LEN) for the
// refusal's text. The parent answers 1 (accepted) or 0 (refused).
struct CanvasLimitQuery {
    const uniOperRys* oper;
    int32_t itemCount;
    int32_t indeks;
    char* msg;
};

// Registers the class once per process (later calls do nothing), with the
// canvas brush of the drawing set (item 7) as its background. False when the
// registration failed.
bool RegisterCanvas(HINSTANCE instance, HBRUSH tlo);

// Registers the class when needed and creates the canvas: a visible child of
// `parent` with a sunken client edge and identifier 10303 at (x, y, w, h).
// Null when the creation failed (its message has been shown).
HWND CreateCanvasWindow(HWND parent, int x, int y, int w, int h, CanvasParams* param, int edytowalny);

// The answer to UM_OBS_LIMITY on `okno`: the limit check of the request.
int AnswerLimits(const strOkno* okno, const CanvasLimitQuery* arg);

// The limit check of the canvas's parent for `n` operations (indeks -1
// appended, 0 or more replacing that element); 1 when the parent accepts or
// the canvas does not ask (flag 8 clear). Used by the frame dialog.
int CanvasCheckLimits(HWND obs, const uniOperRys* ops, int32_t n, int32_t indeks, char* msg);

// Element operations of the designer's context menu, on element `indeks` of
// the canvas's list. Each returns 1, or 0 with a message in `msg`
// (KV_MSG_LEN) and the list unchanged; the changes work on a copy of the
// element and write it back only when every check accepts it.
int CanvasDelete(HWND obs, int32_t indeks, char* msg);
int CanvasChangeSash(HWND obs, int32_t indeks, int32_t rodzOtw, int32_t stronaOtw, char* msg);
int CanvasChangeFilling(HWND obs, int32_t indeks, const char* nazwa, int32_t typ, char* msg);
int CanvasChangeMullion(HWND obs, int32_t indeks, int32_t rodzaj, char* msg);

#endif  // KV_UI_DESIGNER_CANVAS_WIN_H
