// The window data panel.
#include "ui/designer/panel_win.h"

#include <commctrl.h>
#include <new>

#include "ui/designer/designer_rc.h"
#include "util/dpi_win.h"
#include "util/scoped_win.h"
#include "util/text_fit_win.h"
#include "util/window_win.h"

const char kPanelClass[] = "oknoDowOknoDane";

namespace {

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
int Px(const PanelState* s, int px) { return KvScale(px, s->dpi); }
int ContentHeight(const PanelState* s) {
    return Px(s, kPanelContentHeight + (s->v.priceList != kPriceListNone ? kPriceListHeight : 0));
}

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

bool CreateProfileBlock(PanelState* s) {
    HWND p = s->hwnd;
    const strRejestryOkna* r = s->v.registers;
    Label(p, IDC_PNL_PROFILE_LABEL, "Profile", 240);
    if (!Name(p, IDC_PNL_PROFILE_LIST, IDC_PNL_PROFILE_EDIT, r->profile, r->liczbaProfili,
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
    const strRejestryOkna* r = s->v.registers;
    Label(p, IDC_PNL_COLOR_LABEL, "Color", 240);
    if (!Name(p, IDC_PNL_COLOR_LIST, IDC_PNL_COLOR_EDIT, r->kolory, r->liczbaKolorow, sizeof(strZstKolor)))
        return false;
    Group(p, IDC_PNL_COLOR_TYPE, "Color type", 242, 58);
    Radio(p, IDC_PNL_WHITE, "White", 110, true);
    Radio(p, IDC_PNL_INTERNAL, "Internal", 110, false);
    Radio(p, IDC_PNL_EXTERNAL, "External", 110, false);
    Radio(p, IDC_PNL_DOUBLE, "Double-sided", 110, false);
    Label(p, IDC_PNL_MUNTIN_LABEL, "Muntin", 240);
    if (!Name(p, IDC_PNL_MUNTIN_LIST, IDC_PNL_MUNTIN_EDIT, r->szprosy, r->liczbaSzprosow,
              sizeof(strZstSzpros)))
        return false;
    Label(p, IDC_PNL_MUNTIN_TH_LABEL, "Muntin's thickness:", 194, SS_RIGHT);
    if (!Spin(s, kSpinMuntin, IDC_PNL_MUNTIN_TH_EDIT, 5, 100)) return false;
    Label(p, IDC_PNL_HARDWARE_LABEL, "Hardware", 240);
    if (!Name(p, IDC_PNL_HARDWARE_LIST, IDC_PNL_HARDWARE_EDIT, r->okucia, r->liczbaOkuc,
              sizeof(strZstOkucie)))
        return false;
    Label(p, IDC_PNL_BEAD_LABEL, "Glazing bead", 240);
    return Name(p, IDC_PNL_BEAD_LIST, IDC_PNL_BEAD_EDIT, r->listwy, r->liczbaListew, sizeof(strZstListwa));
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

void ScrollTo(PanelState* s, int pos) {
    const int content = ContentHeight(s);
    if (!s->bar) return;
    if (pos > content - s->page) pos = content - s->page;
    if (pos < 0) pos = 0;
    if (pos == s->pos) return;
    s->pos = pos;
    SetScrollPos(s->hwnd, SB_VERT, pos, TRUE);
    PlaceControls(s);
    InvalidateRect(s->hwnd, nullptr, TRUE);
    UpdateWindow(s->hwnd);
}

void OnVScroll(PanelState* s, int code) {
    SCROLLINFO si = {sizeof si, SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(s->hwnd, SB_VERT, &si);
    switch (code) {
        case SB_LINEUP: ScrollTo(s, s->pos - Px(s, kPanelLine)); break;
        case SB_LINEDOWN: ScrollTo(s, s->pos + Px(s, kPanelLine)); break;
        case SB_PAGEUP: ScrollTo(s, s->pos - s->page); break;
        case SB_PAGEDOWN: ScrollTo(s, s->pos + s->page); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: ScrollTo(s, si.nTrackPos); break;
        case SB_TOP: ScrollTo(s, 0); break;
        case SB_BOTTOM: ScrollTo(s, ContentHeight(s)); break;
    }
}

void OnKeyDown(PanelState* s, WPARAM key) {
    if (key == VK_PRIOR) ScrollTo(s, s->pos - s->page);
    if (key == VK_NEXT) ScrollTo(s, s->pos + s->page);
}

void OnWheel(PanelState* s, int delta) {
    UINT lines = 3;
    if (!SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 3;
    if (lines == 0 || !s->bar) {
        s->wheelRest = 0;
        return;
    }
    // A page per notch when the system says so; the unit never falls to 0.
    int step = lines == WHEEL_PAGESCROLL ? s->page : Px(s, kPanelLine);
    int unit = lines == WHEEL_PAGESCROLL ? WHEEL_DELTA : WHEEL_DELTA / (int)lines;
    if (unit < 1) unit = 1;
    s->wheelRest += delta;
    int count = s->wheelRest / unit;
    s->wheelRest -= count * unit;
    if (count) ScrollTo(s, s->pos - count * step);
}

// Top of a child in the panel's client coordinates.
RECT ChildRect(PanelState* s, int id) {
    RECT r = {};
    HWND c = GetDlgItem(s->hwnd, id);
    if (!c) return r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, s->hwnd, (POINT*)&r, 2);
    return r;
}

void BringTopInView(PanelState* s, int id, int margin) {
    RECT r = ChildRect(s, id);
    if (r.top < 0) ScrollTo(s, s->pos + r.top - Px(s, margin));
}

void BringBottomInView(PanelState* s, int id) {
    RECT r = ChildRect(s, id);
    RECT rc;
    GetClientRect(s->hwnd, &rc);
    if (r.bottom > rc.bottom) ScrollTo(s, s->pos + r.bottom - rc.bottom + Px(s, 2));
}

void OnFocusChild(PanelState* s, int id) {
    switch (id) {
        case IDC_PNL_PROFILE_LIST:
        case IDC_PNL_PROFILE_EDIT: BringTopInView(s, IDC_PNL_PROFILE_LABEL, 4); break;
        case IDC_PNL_PVC:
        case IDC_PNL_WOOD:
        case IDC_PNL_ALUMINIUM: BringTopInView(s, IDC_PNL_PROFILE_TYPE, 2); break;
        case IDC_PNL_FRAME_EDIT:
        case IDC_PNL_SASH_EDIT:
        case IDC_PNL_FIXED_EDIT:
        case IDC_PNL_FALSE_EDIT: BringTopInView(s, IDC_PNL_THICKNESS, 2); break;
        case CMD_DES_FACTORS:
        case IDC_PNL_NOTES: BringBottomInView(s, id); break;
    }
}

void CheckRadio(PanelState* s, int id) {
    if (id >= IDC_PNL_PVC && id <= IDC_PNL_ALUMINIUM)
        CheckRadioButton(s->hwnd, IDC_PNL_PVC, IDC_PNL_ALUMINIUM, id);
    else CheckRadioButton(s->hwnd, IDC_PNL_WHITE, IDC_PNL_DOUBLE, id);
}

KeptName* KeptOf(PanelState* s, int listId) {
    return listId == IDC_PNL_PROFILE_LIST  ? &s->profile
           : listId == IDC_PNL_MUNTIN_LIST ? &s->muntin
                                           : nullptr;
}

// Remembers what the list shows now; `chosen` takes the text of the chosen
// entry, which the combo box writes into its field only after telling of
// the choice.
void KeepName(PanelState* s, int listId, bool chosen) {
    KeptName* k = KeptOf(s, listId);
    HWND list = GetDlgItem(s->hwnd, listId);
    if (!k || !list) return;
    k->sel = (int)SendMessageA(list, CB_GETCURSEL, 0, 0);
    k->text[0] = 0;
    const LRESULT len = chosen && k->sel >= 0 ? SendMessageA(list, CB_GETLBTEXTLEN, k->sel, 0) : CB_ERR;
    if (len >= 0 && len < (LRESULT)sizeof k->text) SendMessageA(list, CB_GETLBTEXT, k->sel, (LPARAM)k->text);
    else GetWindowTextA(list, k->text, (int)sizeof k->text);
}

// A refused choice changes nothing: the selection and the text come back.
// Posted, because the combo box rewrites its field after the notification
// that carried the choice has returned.
void PutBack(PanelState* s, int listId) {
    const KeptName* k = KeptOf(s, listId);
    HWND list = GetDlgItem(s->hwnd, listId);
    if (!k || !list) return;
    SendMessageA(list, CB_SETCURSEL, (WPARAM)k->sel, 0);
    SetWindowTextA(list, k->text);
}

// A choice in a name list whose choices the designer may refuse; it hears
// what the list showed before, which undoing the choice brings back.
void OnNameChosen(PanelState* s, int listId, UINT message) {
    const KeptName* k = KeptOf(s, listId);
    if (SendMessageA(GetParent(s->hwnd), message, 0, k ? (LPARAM)k->text : 0))
        PostMessageA(s->hwnd, UM_PNL_PUT_BACK, listId, 0);
    else KeepName(s, listId, true);
}

// The five names' lists and plain fields.
bool IsNameControl(int id) {
    return (id >= IDC_PNL_PROFILE_LIST && id <= IDC_PNL_PROFILE_EDIT) ||
           (id >= IDC_PNL_COLOR_LIST && id <= IDC_PNL_COLOR_EDIT) ||
           (id >= IDC_PNL_MUNTIN_LIST && id <= IDC_PNL_MUNTIN_EDIT) ||
           (id >= IDC_PNL_HARDWARE_LIST && id <= IDC_PNL_HARDWARE_EDIT) ||
           (id >= IDC_PNL_BEAD_LIST && id <= IDC_PNL_BEAD_EDIT);
}

void OnCommand(PanelState* s, int id, int code, HWND ctl) {
    HWND parent = GetParent(s->hwnd);
    bool radio =
        (id >= IDC_PNL_PVC && id <= IDC_PNL_ALUMINIUM) || (id >= IDC_PNL_WHITE && id <= IDC_PNL_DOUBLE);
    if (code == EN_SETFOCUS || code == (int)CBN_SETFOCUS ||
        (code == BN_SETFOCUS && (radio || id == CMD_DES_FACTORS)))
        OnFocusChild(s, id);
    if (code == (int)CBN_SELCHANGE) {
        if (id == IDC_PNL_PROFILE_LIST) OnNameChosen(s, id, UM_DES_PROFILE_CHOSEN);
        if (id == IDC_PNL_COLOR_LIST) SendMessageA(parent, UM_DES_COLOR_CHOSEN, 0, 0);
        if (id == IDC_PNL_MUNTIN_LIST) OnNameChosen(s, id, UM_DES_MUNTIN_CHOSEN);
    }
    // A typed name is the one to come back to.
    if (code == (int)CBN_EDITCHANGE) KeepName(s, id, false);
    // Arrowing through a list chooses each entry; the choices of one pass
    // are one step of the designer's history, which ends here.
    if ((id == IDC_PNL_PROFILE_LIST || id == IDC_PNL_MUNTIN_LIST) &&
        (code == (int)CBN_DROPDOWN || code == (int)CBN_CLOSEUP || code == (int)CBN_KILLFOCUS))
        SendMessageA(parent, UM_DES_CHOICES_END, 0, 0);
    if (IsNameControl(id) && (code == (int)CBN_EDITCHANGE || code == (int)CBN_SELCHANGE || code == EN_CHANGE))
        PostMessageA(parent, UM_DES_NAMES, 0, 0);  // after a chosen entry's text is in the field
    if (id == IDC_PNL_PRICE_LIST_USE && code == BN_CLICKED)
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)ctl);
    if (id == IDC_PNL_NET && code == EN_CHANGE && SendMessageA(ctl, EM_GETMODIFY, 0, 0)) {
        SendMessageA(parent, UM_DES_PRICE, 0, 0);
        SendMessageA(ctl, EM_SETMODIFY, FALSE, 0);
    }
    if (code == BN_CLICKED && radio) {
        CheckRadio(s, id);
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)ctl);
    }
    if (code == BN_CLICKED && id == CMD_DES_FACTORS)
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)ctl);
}

LRESULT OnNotify(PanelState* s, NMHDR* nm) {
    if (KvAnswerFullTextTip(nm, GetDlgItem(s->hwnd, IDC_PNL_PRICE_LIST_MISSING), &s->missingTip)) return 0;
    if (nm->code != UDN_DELTAPOS) return 0;
    NMUPDOWN* ud = (NMUPDOWN*)nm;
    int id = (int)nm->idFrom;
    int candidate = ud->iPos + ud->iDelta;
    HWND parent = GetParent(s->hwnd);
    switch (id) {
        case IDC_PNL_FRAME_SPIN:
        case IDC_PNL_SASH_SPIN:
        case IDC_PNL_FIXED_SPIN:
        case IDC_PNL_FALSE_SPIN:
        case IDC_PNL_MUNTIN_TH_SPIN:
            return SendMessageA(parent, UM_DES_THICKNESS, (WPARAM)candidate, id) ? 1 : 0;
        case IDC_PNL_QTY_SPIN: return SendMessageA(parent, UM_DES_QUANTITY, (WPARAM)candidate, 0) ? 1 : 0;
    }
    return 0;
}

// The price list's missing line, fitted into its box.
void OnDrawItem(const DRAWITEMSTRUCT* di) {
    if (di->CtlID != IDC_PNL_PRICE_LIST_MISSING) return;
    FillRect(di->hDC, &di->rcItem, GetSysColorBrush(COLOR_BTNFACE));
    ScopedSelect font(di->hDC, (HFONT)SendMessageA(di->hwndItem, WM_GETFONT, 0, 0));
    SetTextColor(di->hDC, GetSysColor(COLOR_BTNTEXT));
    KvDrawFittedText(di->hDC, di->rcItem, KvWindowText(di->hwndItem));
}

void SetFontOfChildren(PanelState* s) {
    const HFONT font = KvGuiFont(s->font.get());
    for (HWND c = GetWindow(s->hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        SendMessageA(c, WM_SETFONT, (WPARAM)font, FALSE);
}

// Every control at the new dpi: the font for it, each size scaled from the
// old dpi's (a drop-down list's height and a spin edit's width from their
// 96-dpi measures), then the layout again.
void OnApplyDpi(PanelState* s, int dpi) {
    if (dpi <= 0 || dpi == s->dpi) return;
    const int old = s->dpi;
    s->dpi = dpi;
    s->font.reset(KvCreateGuiFont(dpi));
    SetFontOfChildren(s);
    for (HWND c = GetWindow(s->hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[16] = "";
        GetClassNameA(c, cls, (int)sizeof cls);
        if (!lstrcmpiA(cls, UPDOWN_CLASSA)) continue;  // sized with its edit below
        RECT r;
        GetWindowRect(c, &r);
        const int h = !lstrcmpiA(cls, "ComboBox") ? Px(s, 200) : MulDiv(r.bottom - r.top, dpi, old);
        SetWindowPos(c, nullptr, 0, 0, MulDiv(r.right - r.left, dpi, old), h,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (int i = 0; i < kSpinCount; i++) {
        strEdUd* eu = s->v.spins[i];
        eu->szer = Px(s, 44);
        SetWindowPos(eu->hEd, nullptr, 0, 0, eu->szer, Px(s, 20), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageA(eu->hUd, UDM_SETBUDDY, (WPARAM)eu->hEd, 0);
    }
    Layout(s);
}

LRESULT OnCreate(PanelState* s, HWND hwnd) {
    s->hwnd = hwnd;
    s->dpi = KvDpiForWindow(hwnd);
    if (!CreateProfileBlock(s) || !CreateColourAndMuntinBlocks(s) || !CreatePriceBlocks(s)) return -1;
    // The controls come with the system's font; a panel on a monitor of
    // another scale takes the font of its own.
    s->font.reset(KvCreateGuiFont(s->dpi));
    if (s->font) SetFontOfChildren(s);
    Layout(s);
    return 0;
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    PanelState* s = KvWindowState<PanelState>(hwnd, msg, lp);
    if (!s) return DefWindowProcA(hwnd, msg, wp, lp);
    switch (msg) {
        case WM_CREATE: return OnCreate(s, hwnd);
        case WM_SIZE: Layout(s); return 0;
        case WM_VSCROLL: OnVScroll(s, LOWORD(wp)); return 0;
        case WM_KEYDOWN: OnKeyDown(s, wp); return 0;
        case WM_MOUSEWHEEL: OnWheel(s, GET_WHEEL_DELTA_WPARAM(wp)); return 0;
        case WM_COMMAND: OnCommand(s, LOWORD(wp), HIWORD(wp), (HWND)lp); return 0;
        case WM_NOTIFY: return OnNotify(s, (NMHDR*)lp);
        case WM_DRAWITEM: OnDrawItem((const DRAWITEMSTRUCT*)lp); return TRUE;
        case UM_PNL_KEEP_NAMES:
            KeepName(s, IDC_PNL_PROFILE_LIST, false);
            KeepName(s, IDC_PNL_MUNTIN_LIST, false);
            return 0;
        case UM_PNL_PUT_BACK: PutBack(s, (int)wp); return 0;
        case UM_PNL_APPLY_DPI: OnApplyDpi(s, (int)wp); return 0;
        case WM_NCDESTROY:
            KvDetachState(hwnd);
            delete s;
            return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

bool RegisterPanelClass(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    if (GetClassInfoExA(instance, kPanelClass, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kPanelClass;
    return RegisterClassExA(&wc) != 0;
}

HWND CreatePanel(HWND designer, HINSTANCE instance, const PanelCreate* values) {
    PanelState* s = new (std::nothrow) PanelState();
    if (!s) return nullptr;
    s->v = *values;
    HWND h = KvCreateWindowWithState(s, 0, kPanelClass, "OknoDowOknoDane", WS_CHILD | WS_VISIBLE | WS_VSCROLL,
                                     0, 0, 0, 0, designer, (HMENU)(INT_PTR)IDC_PANEL, instance);
    return h;
}
