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
enum { kEdZamkniety = 0, kEdSzer = 1, kEdWys = 2, kEdPrawy = 3, kEdDolny = 4, kEdLewy = 5, kEdGorny = 6 };
enum { kEdSzerPx = 60, kEdWysPx = 22, kMaxWymiar = 10000 };  // the editor's size at 96 dpi
enum { kGrubGumki = 3 };  // pixels at 96 dpi: the band's pen (penThick) and a margin for its ends

struct ObsProj {
    HWND hwnd = nullptr;
    strParamObsProj* p = nullptr;
    int edytowalny = 0;
    RECT prost = {0, 0, 0, 0};  // drawing rectangle: the client rectangle, device pixels
    // In-place dimension editor.
    strEdUd ed = {nullptr, nullptr, 0};
    WNDPROC edProc = nullptr;
    int stanEd = kEdZamkniety;
    int32_t indeksEd = -1;  // label index within its chain
    int dpiEd = 0;          // the dpi the editor was sized for ...
    ScopedFont edFont;      // ... and its font for it (none: the stock one)
    // Tooltip naming the mullion or filling under the mouse.
    HWND tip = nullptr;
    int32_t tipElement = -1;
    bool sledzNad = false, sledzWyj = false;
    char tipTekst[kNazwaWypelnLen] = {};
    // Rubber band.
    bool gumka = false;
    POINT start = {0, 0};
    POINT koniec = {0, 0};            // end of the line last drawn (start: none drawn)
    std::unique_ptr<MemoryDC> obraz;  // the canvas as it was when the drag began
    std::unique_ptr<MaskDC> maska;    // one-bit mask the line is drawn on
};

inline ObsProj* Stan(HWND hwnd) { return (ObsProj*)GetWindowLongPtrA(hwnd, GWLP_USERDATA); }

inline int32_t Liczba(const ObsProj* w) { return w->p->liczbaOper ? *w->p->liczbaOper : 0; }
inline uniOperRys* Lista(const ObsProj* w) { return w->p->oper ? *w->p->oper : nullptr; }
// The dpi the canvas is laid out for: its dimension set's, set by the owner
// together with the drawing set's fonts.
inline int Dpi(const ObsProj* w) { return w->p->wym.dpi > 0 ? w->p->wym.dpi : kKvBaseDpi; }
// A measure given at 96 dpi, at the canvas's dpi.
inline int Px(const ObsProj* w, int px) { return KvScale(px, Dpi(w)); }
inline int32_t ProfSch(const ObsProj* w) { return w->p->iProfSch ? *w->p->iProfSch : 0; }

inline strProst Prost(const RECT& r) {
    return {(int32_t)r.left, (int32_t)r.top, (int32_t)r.right, (int32_t)r.bottom};
}

// canvas_win.cpp
int Limity(ObsProj* w, const uniOperRys* ops, int32_t n, int32_t indeks, char* msg);
void NowaOper(ObsProj* w, uniOperRys* op);
void PaintObs(HDC dc, const RECT& r, ObsProj* w);
void PoZmianie(ObsProj* w, UINT kod);
void Podmien(ObsProj* w, uniOperRys* nowa, int32_t n);
void Powiadom(ObsProj* w, UINT kod);
void RozmiescWszystko(ObsProj* w, uniOperRys* lista, int32_t n);
void Sledz(ObsProj* w);
void UkryjTip(ObsProj* w);
int Wymiary(ObsProj* w, char* msg);

// canvas_editor_win.cpp
LRESULT OnSpin(ObsProj* w, NMUPDOWN* ud);
void OnZamknijEd(ObsProj* w);
LRESULT OnZastosujEd(ObsProj* w);
void OtworzEdytor(ObsProj* w, int stan, int32_t indeks);
void PrzesunEdytor(ObsProj* w);
// Sizes the editor for the canvas's dpi when it was made for another.
void PrzeskalujEdytor(ObsProj* w);
bool TworzEdytor(ObsProj* w, HINSTANCE inst);

// canvas_tools_win.cpp
void OnCaptureChanged(ObsProj* w, HWND nowy);
void OnLButtonDblClk(ObsProj* w, int x, int y);
void OnLButtonDown(ObsProj* w, int x, int y);
void OnLButtonUp(ObsProj* w, int x, int y);
void OnMouseMove(ObsProj* w, int x, int y);
void OnRButtonUp(ObsProj* w, int x, int y);
void ZwolnijGumke(ObsProj* w);

#endif  // KV_UI_DESIGNER_CANVAS_INTERNAL_WIN_H
