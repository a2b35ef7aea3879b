// The window data panel's controls: made block by block at the panel's
// dpi, and placed for the spread of the client height and the scroll
// position.
#include <windows.h>
#include <commctrl.h>

#include "ui/designer/designer_rc.h"
#include "ui/designer/panel_internal_win.h"
#include "util/dpi_win.h"
#include "util/scoped_win.h"
#include "util/text_fit_win.h"
#include "util/window_win.h"

namespace panel {

namespace {

// Where a control sits: x and its base y (pixels), moved down by k times the
// spread surplus and up by the scroll position.
struct Place {
    int id;
    int x, y;
    int k;
};

const Place kPlaces[] = {
    {IDC_PNL_PROFILE_LABEL, 4, 2, 1},
    {IDC_PNL_PROFILE_LIST, 4, 17, 1},
    {IDC_PNL_PROFILE_EDIT, 4, 17, 1},
    {IDC_PNL_PROFILE_TYPE, 4, 39, 1},
    {IDC_PNL_PVC, 8, 59, 1},
    {IDC_PNL_WOOD, 8, 81, 1},
    {IDC_PNL_ALUMINIUM, 8, 103, 1},
    {IDC_PNL_THICKNESS, 100, 39, 1},
    {IDC_PNL_FRAME_LABEL, 104, 55, 1},
    {IDC_PNL_SASH_LABEL, 104, 77, 1},
    {IDC_PNL_FIXED_LABEL, 104, 99, 1},
    {IDC_PNL_FALSE_LABEL, 104, 121, 1},
    {IDC_PNL_FRAME_EDIT, 196, 53, 1},
    {IDC_PNL_SASH_EDIT, 196, 75, 1},
    {IDC_PNL_FIXED_EDIT, 196, 97, 1},
    {IDC_PNL_FALSE_EDIT, 196, 119, 1},
    {IDC_PNL_COLOR_LABEL, 4, 145, 3},
    {IDC_PNL_COLOR_LIST, 4, 160, 3},
    {IDC_PNL_COLOR_EDIT, 4, 160, 3},
    {IDC_PNL_COLOR_TYPE, 4, 182, 3},
    {IDC_PNL_WHITE, 8, 200, 3},
    {IDC_PNL_INTERNAL, 8, 218, 3},
    {IDC_PNL_EXTERNAL, 127, 200, 3},
    {IDC_PNL_DOUBLE, 127, 218, 3},
    {IDC_PNL_MUNTIN_LABEL, 4, 242, 5},
    {IDC_PNL_MUNTIN_LIST, 4, 257, 5},
    {IDC_PNL_MUNTIN_EDIT, 4, 257, 5},
    {IDC_PNL_MUNTIN_TH_LABEL, 4, 286, 5},
    {IDC_PNL_MUNTIN_TH_EDIT, 202, 283, 5},
    {IDC_PNL_HARDWARE_LABEL, 4, 304, 7},
    {IDC_PNL_HARDWARE_LIST, 4, 319, 7},
    {IDC_PNL_HARDWARE_EDIT, 4, 319, 7},
    {IDC_PNL_BEAD_LABEL, 4, 345, 9},
    {IDC_PNL_BEAD_LIST, 4, 360, 9},
    {IDC_PNL_BEAD_EDIT, 4, 360, 9},
    {IDC_PNL_PRICE_BOX, 4, 386, 11},
    {IDC_PNL_NET_LABEL, 8, 405, 11},
    {IDC_PNL_NET, 74, 401, 11},
    {IDC_PNL_GROSS_LABEL, 8, 424, 11},
    {IDC_PNL_GROSS, 75, 424, 11},
    {IDC_PNL_QTY_LABEL, 148, 405, 11},
    {IDC_PNL_QTY_EDIT, 202, 401, 11},
    {IDC_PNL_TOTAL_BOX, 4, 448, 11},
    {IDC_PNL_TOTAL_NET_LABEL, 8, 465, 11},
    {IDC_PNL_TOTAL_NET, 75, 465, 11},
    {IDC_PNL_TOTAL_GROSS_LABEL, 8, 480, 11},
    {IDC_PNL_TOTAL_GROSS, 75, 480, 11},
    {IDC_PNL_UW_LABEL, 4, 514, 13},
    {IDC_PNL_UW, 58, 514, 13},
    {IDC_PNL_UW_UNIT, 92, 514, 13},
    {CMD_DES_FACTORS, 166, 510, 13},
    {IDC_PNL_NOTES_LABEL, 4, 540, 15},
    {IDC_PNL_NOTES, 4, 555, 15},
};

// The price list's lines: below the price box, in its block.
const Place kPriceListPlaces[] = {
    {IDC_PNL_PRICE_LIST_LABEL, 8, 452, 11},
    {IDC_PNL_PRICE_LIST, 75, 452, 11},
    {IDC_PNL_PRICE_LIST_USE, 192, 448, 11},
    {IDC_PNL_PRICE_LIST_MISSING, 8, 472, 11},
};
// Where the controls start that the lines move down.
const int kBelowPriceBox = 448;

// The spin of each spin edit, for moving the pair as one piece.
const int kSpinEdits[kSpinCount] = {IDC_PNL_FRAME_EDIT, IDC_PNL_SASH_EDIT,      IDC_PNL_FIXED_EDIT,
                                    IDC_PNL_FALSE_EDIT, IDC_PNL_MUNTIN_TH_EDIT, IDC_PNL_QTY_EDIT};

// A control of w x h pixels at 96 dpi, made at the panel's dpi.
HWND Child(HWND parent, const char* cls, const char* text, DWORD style, DWORD exStyle, int id, int w, int h) {
    const int dpi = KvDpiForWindow(parent);
    HWND c = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, KvScale(w, dpi),
                             KvScale(h, dpi), parent, (HMENU)(INT_PTR)id,
                             (HINSTANCE)GetWindowLongPtrA(parent, GWLP_HINSTANCE), nullptr);
    if (c) SendMessageA(c, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
    return c;
}

void Label(HWND p, int id, const char* text, int w, DWORD align = SS_LEFT) {
    Child(p, "STATIC", text, align | SS_NOPREFIX, 0, id, w, 14);
}

void Group(HWND p, int id, const char* text, int w, int h) {
    Child(p, "BUTTON", text, BS_GROUPBOX, 0, id, w, h);
}

void Radio(HWND p, int id, const char* text, int w, bool first) {
    Child(p, "BUTTON", text, BS_RADIOBUTTON | BS_NOTIFY | WS_TABSTOP | (first ? WS_GROUP : 0), 0, id, w, 16);
}

// A name: a drop-down list of the register's entries when it has any,
// else a plain field. Only one of the two identifiers exists.
bool Name(HWND p, int listId, int editId, const void* rows, int count, size_t rowSize) {
    if (count > 0) {
        HWND c = Child(p, "COMBOBOX", "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, listId,
                       242, 200);
        if (!c) return false;
        SendMessageA(c, CB_LIMITTEXT, 127, 0);
        SendMessageA(c, CB_INITSTORAGE, (WPARAM)count, (LPARAM)count * 32);
        for (int i = 0; i < count; i++)
            SendMessageA(c, CB_ADDSTRING, 0, (LPARAM)((const char*)rows + (size_t)i * rowSize));
        return true;
    }
    HWND c = Child(p, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, editId, 242, 20);
    if (c) SendMessageA(c, EM_LIMITTEXT, 127, 0);
    return c != nullptr;
}

bool Spin(PanelState* s, int which, int editId, int lower, int upper) {
    HINSTANCE inst = (HINSTANCE)GetWindowLongPtrA(s->hwnd, GWLP_HINSTANCE);
    strEdUd* eu = s->v.spins[which];
    if (!TworzEdUd(eu,
                   WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                   0, 0, Px(s, 44), Px(s, 20), s->hwnd, editId, editId + 1, inst, lower, upper, lower))
        return false;
    // Values change only through the arrows, so that every change passes the
    // designer's checks.
    SendMessageA(eu->hEd, EM_SETREADONLY, TRUE, 0);
    SetWindowLongPtrA(eu->hEd, GWL_STYLE, GetWindowLongPtrA(eu->hEd, GWL_STYLE) | WS_TABSTOP);
    return true;
}

// Places one control, or the pair of a spin edit.
void PlaceControl(PanelState* s, const Place& pl, int shift) {
    const int x = Px(s, pl.x), y = Px(s, pl.y + shift) + pl.k * s->spread - s->pos;
    for (int i = 0; i < kSpinCount; i++) {
        if (pl.id == kSpinEdits[i]) {
            PrzesunEdUd(s->v.spins[i], x, y);
            return;
        }
    }
    HWND c = GetDlgItem(s->hwnd, pl.id);
    if (c) SetWindowPos(c, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

bool CreateProfileBlock(PanelState* s) {
    HWND p = s->hwnd;
    const WindowRegisters* r = s->v.registers;
    Label(p, IDC_PNL_PROFILE_LABEL, "Profile", 240);
    if (!Name(p, IDC_PNL_PROFILE_LIST, IDC_PNL_PROFILE_EDIT, r->profile, r->profileCount,
              sizeof(strZstProfil)))
        return false;
    Group(p, IDC_PNL_PROFILE_TYPE, "Profile type", 92, 88);
    Radio(p, IDC_PNL_PVC, "PVC", 84, true);
    Radio(p, IDC_PNL_WOOD, "Wood", 84, false);
    Radio(p, IDC_PNL_ALUMINIUM, "Aluminium", 84, false);
    Group(p, IDC_PNL_THICKNESS, "Thickness in mm", 146, 104);
    Label(p, IDC_PNL_FRAME_LABEL, "Frame:", 88, SS_RIGHT);
    Label(p, IDC_PNL_SASH_LABEL, "Sash:", 88, SS_RIGHT);
    Label(p, IDC_PNL_FIXED_LABEL, "Fixed mullion:", 88, SS_RIGHT);
    Label(p, IDC_PNL_FALSE_LABEL, "False mullion:", 88, SS_RIGHT);
    return Spin(s, kSpinFrame, IDC_PNL_FRAME_EDIT, 10, 500) &&
           Spin(s, kSpinSash, IDC_PNL_SASH_EDIT, 10, 500) &&
           Spin(s, kSpinFixed, IDC_PNL_FIXED_EDIT, 10, 400) &&
           Spin(s, kSpinFalse, IDC_PNL_FALSE_EDIT, 10, 400);
}

bool CreateColourAndMuntinBlocks(PanelState* s) {
    HWND p = s->hwnd;
    const WindowRegisters* r = s->v.registers;
    Label(p, IDC_PNL_COLOR_LABEL, "Color", 240);
    if (!Name(p, IDC_PNL_COLOR_LIST, IDC_PNL_COLOR_EDIT, r->colourRows, r->colourCount, sizeof(strZstKolor)))
        return false;
    Group(p, IDC_PNL_COLOR_TYPE, "Color type", 242, 58);
    Radio(p, IDC_PNL_WHITE, "White", 110, true);
    Radio(p, IDC_PNL_INTERNAL, "Internal", 110, false);
    Radio(p, IDC_PNL_EXTERNAL, "External", 110, false);
    Radio(p, IDC_PNL_DOUBLE, "Double-sided", 110, false);
    Label(p, IDC_PNL_MUNTIN_LABEL, "Muntin", 240);
    if (!Name(p, IDC_PNL_MUNTIN_LIST, IDC_PNL_MUNTIN_EDIT, r->muntinRows, r->muntinCount,
              sizeof(strZstSzpros)))
        return false;
    Label(p, IDC_PNL_MUNTIN_TH_LABEL, "Muntin's thickness:", 194, SS_RIGHT);
    if (!Spin(s, kSpinMuntin, IDC_PNL_MUNTIN_TH_EDIT, 5, 100)) return false;
    Label(p, IDC_PNL_HARDWARE_LABEL, "Hardware", 240);
    if (!Name(p, IDC_PNL_HARDWARE_LIST, IDC_PNL_HARDWARE_EDIT, r->hardwareRows, r->hardwareCount,
              sizeof(strZstOkucie)))
        return false;
    Label(p, IDC_PNL_BEAD_LABEL, "Glazing bead", 240);
    return Name(p, IDC_PNL_BEAD_LIST, IDC_PNL_BEAD_EDIT, r->beadRows, r->beadCount, sizeof(strZstListwa));
}

bool CreatePriceBlocks(PanelState* s) {
    HWND p = s->hwnd;
    Group(p, IDC_PNL_PRICE_BOX, "Price", 242, 58);
    Label(p, IDC_PNL_NET_LABEL, "net:", 60);
    HWND net =
        Child(p, "EDIT", "", ES_RIGHT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, IDC_PNL_NET, 64, 20);
    if (!net) return false;
    SendMessageA(net, EM_LIMITTEXT, 63, 0);
    ZalozPdklEdL2mPoPrzec(net, "0");
    Label(p, IDC_PNL_GROSS_LABEL, "gross:", 60);
    Label(p, IDC_PNL_GROSS, "", 64, SS_RIGHT);
    Label(p, IDC_PNL_QTY_LABEL, "Quantity:", 52);
    if (!Spin(s, kSpinQuantity, IDC_PNL_QTY_EDIT, 1, 999)) return false;
    Group(p, IDC_PNL_TOTAL_BOX, "Total", 242, 52);
    Label(p, IDC_PNL_TOTAL_NET_LABEL, "net:", 60);
    Label(p, IDC_PNL_TOTAL_NET, "", 120, SS_RIGHT);
    Label(p, IDC_PNL_TOTAL_GROSS_LABEL, "gross:", 60);
    Label(p, IDC_PNL_TOTAL_GROSS, "", 120, SS_RIGHT);
    Label(p, IDC_PNL_UW_LABEL, "Uw:", 50);
    Label(p, IDC_PNL_UW, "", 32, SS_RIGHT);
    Label(p, IDC_PNL_UW_UNIT, "W/(m2*K)", 70);
    Child(p, "BUTTON", "Factors", BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP, 0, CMD_DES_FACTORS, 76, 24);
    if (s->v.priceList != kPriceListNone) {
        Label(p, IDC_PNL_PRICE_LIST_LABEL, "Price list:", 66);
        Label(p, IDC_PNL_PRICE_LIST, "", 114);
        if (s->v.priceList == kPriceListWithUse)
            Child(p, "BUTTON", "Use", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 0, IDC_PNL_PRICE_LIST_USE, 54,
                  22);
        // Drawn by the panel: the names it lists may need more than its two
        // lines, and then the last one ends in an ellipsis and the tooltip
        // shows them all.
        HWND missing =
            Child(p, "STATIC", "", SS_OWNERDRAW | SS_NOTIFY, 0, IDC_PNL_PRICE_LIST_MISSING, 238, 40);
        if (missing) KvAddFullTextTip(p, missing);
    }
    Label(p, IDC_PNL_NOTES_LABEL, "Notes", 240);
    HWND notes = Child(p, "EDIT", "", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP,
                       WS_EX_CLIENTEDGE, IDC_PNL_NOTES, 242, 73);
    if (!notes) return false;
    SendMessageA(notes, EM_LIMITTEXT, 1023, 0);
    return true;
}

// Places every control for the current spread and scroll position.
void PlaceControls(PanelState* s) {
    const bool lines = s->v.priceList != kPriceListNone;
    for (const Place& pl : kPlaces)
        PlaceControl(s, pl, lines && pl.y >= kBelowPriceBox ? kPriceListHeight : 0);
    if (lines)
        for (const Place& pl : kPriceListPlaces) PlaceControl(s, pl, 0);
}

void Layout(PanelState* s) {
    const int content = ContentHeight(s);
    RECT rc;
    GetClientRect(s->hwnd, &rc);
    int h = rc.bottom;
    if (h < content) {
        s->bar = true;
        s->page = h;
        if (s->pos > content - h) s->pos = content - h;
        if (s->pos < 0) s->pos = 0;
        SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, content, (UINT)h, s->pos, 0};
        ShowScrollBar(s->hwnd, SB_VERT, TRUE);
        SetScrollInfo(s->hwnd, SB_VERT, &si, TRUE);
    } else {
        s->bar = false;
        s->pos = 0;
        s->wheelRest = 0;
        ShowScrollBar(s->hwnd, SB_VERT, FALSE);
    }
    s->spread = h >= content + 1 ? (h - content) / 16 : 0;
    PlaceControls(s);
    InvalidateRect(s->hwnd, nullptr, TRUE);
}

}  // namespace panel
