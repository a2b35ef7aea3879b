// panel_internal_win.h - what the two files of the window data panel
// share: its state (panel_win.cpp, its messages) and the making and placing
// of its controls (panel_layout_win.cpp).
#ifndef KV_UI_DESIGNER_PANEL_INTERNAL_WIN_H
#define KV_UI_DESIGNER_PANEL_INTERNAL_WIN_H

#include <windows.h>

#include <string>

#include "ui/designer/panel_win.h"
#include "util/dpi_win.h"
#include "util/scoped_win.h"

namespace panel {

// The last accepted state of a name list whose choices the designer may
// refuse: a refusal puts this back, so the list shows what the record will
// get on Save.
struct KeptName {
    int sel;         // the list's selection, or CB_ERR
    char text[128];  // the text of its field
};

struct PanelState {
    HWND hwnd;
    KeptName profile, muntin;
    PanelCreate v;
    int pos;          // scroll position, pixels from the content's top
    int page;         // client height while the bar shows, pixels
    int spread;       // surplus per block step, pixels (e of the layout)
    bool bar;         // the scroll bar shows
    int wheelRest;    // wheel movement not yet turned into lines, wheel units
    int dpi;          // the dpi the panel is laid out for
    ScopedFont font;  // the controls' font at that dpi (none: the stock one)
    std::string missingTip;  // the price list's whole missing line while its tip shows
};

// A measure given at 96 dpi (the layout's numbers), at the panel's dpi.
inline int Px(const PanelState* s, int px) { return KvScale(px, s->dpi); }
inline int ContentHeight(const PanelState* s) {
    return Px(s, kPanelContentHeight + (s->v.priceList != kPriceListNone ? kPriceListHeight : 0));
}

// The controls of each block, made at the panel's dpi; false when one fails.
bool CreateProfileBlock(PanelState* s);
bool CreateColourAndMuntinBlocks(PanelState* s);
bool CreatePriceBlocks(PanelState* s);
// Places every control for the current spread and scroll position.
void PlaceControls(PanelState* s);
// The scroll bar and the spread for the client height, then every control.
void Layout(PanelState* s);

}  // namespace panel

#endif  // KV_UI_DESIGNER_PANEL_INTERNAL_WIN_H
