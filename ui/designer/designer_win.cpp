// The designer window: toolbar, canvas and data panel around one window record.
#include "ui/designer/designer_win.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include "db/connection.h"
#include "db/names.h"
#include "db/order_record.h"
#include "db/registers.h"
#include "model/structure.h"
#include "model/uw.h"
#include "ui/designer/canvas_win.h"
#include "ui/designer/designer_dialogs_win.h"
#include "ui/designer/designer_rc.h"
#include "ui/designer/factors_win.h"
#include "ui/designer/limits.h"
#include "ui/designer/panel_win.h"
#include "util/amounttext.h"
#include "util/heap.h"
#include "util/help_win.h"
#include "util/kvutil.h"
#include "util/modal_loop_win.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "util/toolbar_win.h"
#include "util/window_win.h"
#include "valuation/valuation.h"

namespace {

const char kDesignerClass[] = "oknoOkTrDowOkno";

enum {
    kPanelWidth = 248,            // pixels, plus the width of a scroll bar
    kMinWidth = 800,              // smallest tracking size, pixels
    kMinHeight = 600,
    kMaxFillingEntries = CMD_DES_FILLING_LAST - CMD_DES_FILLING_FIRST + 1,
};

// One entry of the filling menu.
struct strMenuWypeln {
    char nazwa[kNazwaWypelnLen];
    int32_t typ;  // 0 glass, 1 acrylic
};

struct DesignerState {
    HWND hwnd;
    HWND owner;
    KvToolbar bar;  // its image lists go with the state, after the window
    HWND canvas;
    HWND panel;
    int toolbarHeight;  // pixels
    strOkno* okno;
    const strZam* zam;
    const DrawSet* draw;
    int editable;
    int saved;
    strParamObsProj param;
    strRejestryOkna rej;
    HMENU context;  // editable only; its submenus below
    HMENU ctxMullion;
    HMENU ctxSash;
    HMENU ctxFilling;
    HMENU dropMullion;  // the toolbar's drop-down menus
    HMENU dropSash;
    HMENU dropFilling;
    strMenuWypeln* wypeln;
    int32_t liczbaWypeln;
    strEdUd spins[kSpinCount];
    strZamRob wycena;  // the order's valuation parameters for the panel's prices
};

// Opening kind and side of the seven sash kinds, in menu order.
const int32_t kSashKinds[7][2] = {{0, 0}, {1, 0}, {1, 1}, {2, 0}, {2, 1}, {3, 0}, {3, 1}};
const char* const kSashNames[7] = {
    "Fixed sash", "Top hung sash (V)", "Bottom hung sash (^)", "Left-side hung sash (>)",
    "Right-side hung sash (<)", "Tilt && turn sash - left (>^)", "Tilt && turn sash - right (<^)",
};

const int kToolButtons[] = {CMD_DES_POINTER, CMD_DES_FRAME,   CMD_DES_MULLION,
                            CMD_DES_SASH,    CMD_DES_FILLING, CMD_DES_MUNTIN};

struct ButtonText {
    int command;
    const char* tip;
};
const ButtonText kTips[] = {
    {CMD_DES_POINTER, "Pointer"},     {CMD_DES_FRAME, "Add a frame"},
    {CMD_DES_MULLION, "Add a mullion"}, {CMD_DES_SASH, "Add a sash"},
    {CMD_DES_FILLING, "Add a filling"}, {CMD_DES_MUNTIN, "Add a muntin"},
    {CMD_DES_FACTORS, "Thermal transmittance factor"}, {CMD_DES_SAVE, "Save window"},
    {CMD_DES_CANCEL, "Cancel"},       {CMD_DES_HELP, "Help"},
};

inline HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

inline HWND PanelItem(DesignerState* s, int id) { return GetDlgItem(s->panel, id); }

// The name control that exists: the register's list or the plain field.
inline HWND NameControl(DesignerState* s, int listId) {
    HWND c = PanelItem(s, listId);
    return c ? c : PanelItem(s, listId + 1);
}

// ---- Toolbar -----------------------------------------------------------------

const BYTE kCheck = BTNS_CHECKGROUP, kDrop = BTNS_CHECKGROUP | BTNS_DROPDOWN;
const KvToolButton kToolbarButtons[] = {
    {0, CMD_DES_POINTER, TBSTATE_ENABLED, kCheck, "Pointer"},
    {1, CMD_DES_FRAME, TBSTATE_ENABLED, kCheck, "Frame"},
    {2, CMD_DES_MULLION, TBSTATE_ENABLED, kDrop, "Mullion"},
    {3, CMD_DES_SASH, TBSTATE_ENABLED, kDrop, "Sash"},
    {4, CMD_DES_FILLING, TBSTATE_ENABLED, kDrop, "Filling"},
    {5, CMD_DES_MUNTIN, TBSTATE_ENABLED, kCheck, "Muntin"},
    {0, 0, 0, BTNS_SEP, nullptr},
    {6, CMD_DES_FACTORS, TBSTATE_ENABLED, BTNS_BUTTON, "Factors"},
    {0, 0, 0, BTNS_SEP, nullptr},
    {7, CMD_DES_SAVE, TBSTATE_ENABLED, BTNS_BUTTON, "Save"},
    {8, CMD_DES_CANCEL, TBSTATE_ENABLED, BTNS_BUTTON, "Cancel"},
    {0, 0, 0, BTNS_SEP, nullptr},
    {9, CMD_DES_HELP, TBSTATE_ENABLED, BTNS_BUTTON, "Help"},
};

bool CreateToolbar(DesignerState* s) {
    KvToolbarSpec spec = {};
    spec.instance = Instance();
    spec.parent = s->hwnd;
    spec.id = IDC_DES_TOOLBAR;
    spec.style = WS_BORDER | TBSTYLE_TOOLTIPS | CCS_TOP;
    spec.imagesId = IDB_DES_TOOLBAR;
    spec.disabledImagesId = IDB_DES_TOOLBAR_DISABLED;
    spec.imageWidth = 26;
    spec.imageHeight = 25;
    spec.buttons = kToolbarButtons;
    spec.buttonCount = (int)(sizeof kToolbarButtons / sizeof kToolbarButtons[0]);
    if (!KvCreateToolbar(spec, &s->bar)) return false;
    s->toolbarHeight = KvToolbarHeight(s->bar);
    return true;
}

const char* TipText(int command) {
    for (const ButtonText& t : kTips)
        if (t.command == command) return t.tip;
    return nullptr;
}

int ButtonOfTool(int32_t tool) {
    if (tool == kNarzWskaznik) return CMD_DES_POINTER;
    if (tool == kNarzRama) return CMD_DES_FRAME;
    if (tool == kNarzSlupekStaly || tool == kNarzSlupekRuch) return CMD_DES_MULLION;
    if (tool >= kNarzSkrzydloStale && tool <= kNarzSkrzydloOstatnie) return CMD_DES_SASH;
    if (tool == kNarzWypeln) return CMD_DES_FILLING;
    return CMD_DES_MUNTIN;
}

// ---- Tools -------------------------------------------------------------------

void SetTool(DesignerState* s, int32_t tool) {
    s->param.flagi = ZNarzedziem(s->param.flagi, tool);
    HCURSOR cursor = tool == kNarzWskaznik || !s->draw ? LoadCursorA(nullptr, IDC_ARROW)
                                                        : s->draw->cursors[tool - 1];
    if (s->canvas) SetClassLongPtrA(s->canvas, GCLP_HCURSOR, (LONG_PTR)cursor);
    SendMessageA(s->bar.hwnd, TB_CHECKBUTTON, ButtonOfTool(tool), TRUE);
}

void ApplyToolState(DesignerState* s) {
    if (s->editable) {
        SetTool(s, kNarzWskaznik);
        bool empty = s->okno->liczbaOper == 0;
        SendMessageA(s->bar.hwnd, TB_ENABLEBUTTON, CMD_DES_FRAME, empty);
        for (int id : {CMD_DES_MULLION, CMD_DES_SASH, CMD_DES_FILLING, CMD_DES_MUNTIN})
            SendMessageA(s->bar.hwnd, TB_ENABLEBUTTON, id, !empty);
        return;
    }
    for (int id : kToolButtons) SendMessageA(s->bar.hwnd, TB_ENABLEBUTTON, id, FALSE);
    SendMessageA(s->bar.hwnd, TB_ENABLEBUTTON, CMD_DES_SAVE, FALSE);
    TBBUTTONINFOA bi = {};
    bi.cbSize = sizeof bi;
    bi.dwMask = TBIF_TEXT;
    bi.pszText = (LPSTR) "Exit";
    SendMessageA(s->bar.hwnd, TB_SETBUTTONINFOA, CMD_DES_CANCEL, (LPARAM)&bi);
}

// ---- Filling menu ----------------------------------------------------------------

bool SameFilling(const strMenuWypeln& e, const char* nazwa, int32_t typ) {
    char a[128], b[128];
    KluczRejestru(e.nazwa, a);
    KluczRejestru(nazwa, b);
    return e.typ == typ && strcmp(a, b) == 0;
}

int32_t FindFilling(const DesignerState* s, const char* nazwa, int32_t typ) {
    for (int32_t i = 0; i < s->liczbaWypeln; i++)
        if (SameFilling(s->wypeln[i], nazwa, typ)) return i;
    return -1;
}

// Adds an entry at `at` (0 the top, liczbaWypeln the end).
int InsertFilling(DesignerState* s, int32_t at, const char* nazwa, int32_t typ, char* msg) {
    if (s->liczbaWypeln >= kMaxFillingEntries) return 1;  // no command left to name it by
    strMenuWypeln* grown =
        (strMenuWypeln*)KvRealloc(s->wypeln, sizeof(strMenuWypeln) * (size_t)(s->liczbaWypeln + 1));
    if (!grown) {
        KvMsg(msg, s->wypeln ? "Error of reallocation the str%s structure" : "Error of allocation of str%s structure",
              "MenuWypeln");
        return 0;
    }
    s->wypeln = grown;
    memmove(&grown[at + 1], &grown[at], sizeof(strMenuWypeln) * (size_t)(s->liczbaWypeln - at));
    memset(&grown[at], 0, sizeof grown[at]);
    strncpy(grown[at].nazwa, nazwa, sizeof grown[at].nazwa - 1);
    grown[at].typ = typ;
    s->liczbaWypeln++;
    return 1;
}

void FillMenu(HMENU menu, const DesignerState* s) {
    while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
    for (int32_t i = 0; i < s->liczbaWypeln; i++) {
        char text[kNazwaWypelnLen + 32];
        snprintf(text, sizeof text, "%s - [%s]", s->wypeln[i].nazwa, s->wypeln[i].typ == 0 ? "Glass" : "Acrylic");
        AppendMenuA(menu, MF_STRING, CMD_DES_FILLING_FIRST + i, text);
    }
    if (s->liczbaWypeln > 0) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, CMD_DES_NEW_FILLING, "Enter new name...");
}

void RebuildFillingMenus(DesignerState* s) {
    FillMenu(s->dropFilling, s);
    FillMenu(s->ctxFilling, s);
}

// The window's own distinct fillings first, then the register's that are
// not there yet (same name in any letter case and blanks, and same type).
int BuildFillingList(DesignerState* s, char* msg) {
    int32_t poz = 0, typ = 0;
    char nazwa[kNazwaWypelnLen];
    while (NastRozneWypeln(&poz, s->okno->oper, s->okno->liczbaOper, nazwa, &typ))
        if (!InsertFilling(s, s->liczbaWypeln, nazwa, typ, msg)) return 0;
    for (int32_t i = 0; i < s->rej.liczbaWypeln; i++) {
        const strZstWypeln& w = s->rej.wypeln[i];
        char klucz[128];
        KluczRejestru(w.nazwa, klucz);
        if (!klucz[0] || FindFilling(s, w.nazwa, w.typ) >= 0) continue;
        if (!InsertFilling(s, s->liczbaWypeln, w.nazwa, w.typ, msg)) return 0;
    }
    RebuildFillingMenus(s);
    return 1;
}

HMENU KindMenu(bool sash) {
    HMENU m = CreatePopupMenu();
    if (!m) return nullptr;
    if (sash) {
        for (int i = 0; i < 7; i++) AppendMenuA(m, MF_STRING, CMD_DES_SASH_FIRST + i, kSashNames[i]);
    } else {
        AppendMenuA(m, MF_STRING, CMD_DES_FIXED_MULLION, "Fixed mullion");
        AppendMenuA(m, MF_STRING, CMD_DES_FALSE_MULLION, "False mullion");
    }
    return m;
}

bool BuildMenus(DesignerState* s) {
    s->dropMullion = KindMenu(false);
    s->dropSash = KindMenu(true);
    s->dropFilling = CreatePopupMenu();
    s->context = CreatePopupMenu();
    s->ctxMullion = KindMenu(false);
    s->ctxSash = KindMenu(true);
    s->ctxFilling = CreatePopupMenu();
    if (!s->dropMullion || !s->dropSash || !s->dropFilling || !s->context || !s->ctxMullion || !s->ctxSash ||
        !s->ctxFilling)
        return false;
    AppendMenuA(s->context, MF_STRING, CMD_DES_DELETE, "Delete the window element");
    AppendMenuA(s->context, MF_POPUP, (UINT_PTR)s->ctxMullion, "Change type of the mullion");
    AppendMenuA(s->context, MF_POPUP, (UINT_PTR)s->ctxSash, "Change type of the sash");
    AppendMenuA(s->context, MF_POPUP, (UINT_PTR)s->ctxFilling, "Change the filling");
    // Notified by position: the context menu's items do not collide with the
    // same commands used as tools.
    MENUINFO mi = {};
    mi.cbSize = sizeof mi;
    mi.fMask = MIM_STYLE | MIM_APPLYTOSUBMENUS;
    mi.dwStyle = MNS_NOTIFYBYPOS;
    SetMenuInfo(s->context, &mi);
    return true;
}

void DestroyMenus(DesignerState* s) {
    for (HMENU* m : {&s->context, &s->dropMullion, &s->dropSash, &s->dropFilling}) {
        if (*m) DestroyMenu(*m);
        *m = nullptr;
    }
    s->ctxMullion = s->ctxSash = s->ctxFilling = nullptr;  // went with the context menu
    KvFree(s->wypeln);
    s->wypeln = nullptr;
    s->liczbaWypeln = 0;
}

// ---- Panel figures -----------------------------------------------------------------

// An amount of the window's line, or what says that it does not fit.
void SetAmount(DesignerState* s, int id, const strLinia& l, uint32_t bit, int64_t amount) {
    char text[64];
    if (l.przepelnione & bit) snprintf(text, sizeof text, "%s", kKwotaZaDuza);
    else if (!DajNapKwotaPokaz(amount, text, (int)sizeof text)) LLX100NaNap(amount, text);
    SetWindowTextA(PanelItem(s, id), text);
}

// The unit gross, the line net and gross for the quantity, and the Uw.
void UpdateFigures(DesignerState* s) {
    strLinia l = {};
    LiniaOkna(&l, &s->wycena, s->okno, kLiniaJednNetto | kLiniaNetto | kLiniaJednBrutto | kLiniaBrutto);
    SetAmount(s, IDC_PNL_GROSS, l, kLiniaJednBrutto, l.jednBrutto);
    SetAmount(s, IDC_PNL_TOTAL_NET, l, kLiniaNetto, l.liniaNetto);
    SetAmount(s, IDC_PNL_TOTAL_GROSS, l, kLiniaBrutto, l.liniaBrutto);
    int32_t uw = OknoUw(s->okno);
    char text[KV_KWOTA_LEN] = "-";
    if (uw >= 0) LLX100NaNap(uw, text);
    SetWindowTextA(PanelItem(s, IDC_PNL_UW), text);
}

void SetSpin(DesignerState* s, int which, int32_t value) {
    SendMessageA(s->spins[which].hUd, UDM_SETPOS32, 0, value);
}

void CheckProfileType(DesignerState* s) {
    if (s->okno->iProfSch >= 0 && s->okno->iProfSch <= 2)
        CheckRadioButton(s->panel, IDC_PNL_PVC, IDC_PNL_ALUMINIUM, IDC_PNL_PVC + s->okno->iProfSch);
}

void CheckColourType(DesignerState* s) {
    if (s->okno->iKolor >= 0 && s->okno->iKolor <= 3)
        CheckRadioButton(s->panel, IDC_PNL_WHITE, IDC_PNL_DOUBLE, IDC_PNL_WHITE + s->okno->iKolor);
}

void SetThicknessSpins(DesignerState* s) {
    const strGrubProf& g = s->okno->sGrubProf;
    SetSpin(s, kSpinFrame, g.rama);
    SetSpin(s, kSpinSash, g.skrzydlo);
    SetSpin(s, kSpinFixed, g.slupekStaly);
    SetSpin(s, kSpinFalse, g.slupekRuchomy);
}

void FillPanel(DesignerState* s) {
    strOkno* o = s->okno;
    SetWindowTextA(NameControl(s, IDC_PNL_PROFILE_LIST), o->nazProfil);
    CheckProfileType(s);
    SetThicknessSpins(s);
    SetWindowTextA(NameControl(s, IDC_PNL_COLOR_LIST), o->nazKolor);
    CheckColourType(s);
    SetWindowTextA(NameControl(s, IDC_PNL_MUNTIN_LIST), o->nazSzpros);
    SetSpin(s, kSpinMuntin, o->grubSzpros);
    SetWindowTextA(NameControl(s, IDC_PNL_HARDWARE_LIST), o->nazOkucie);
    SetWindowTextA(NameControl(s, IDC_PNL_BEAD_LIST), o->nazListwa);
    const char* currency = s->zam ? CurrencyCode(s->zam->idWalZam) : "";
    char text[64];
    snprintf(text, sizeof text, "Price (%s)", currency);
    SetWindowTextA(PanelItem(s, IDC_PNL_PRICE_BOX), text);
    char price[KV_KWOTA_LEN];
    LLX100NaNap(o->cenaZReki, price);
    SetWindowTextA(PanelItem(s, IDC_PNL_NET), price);
    SendMessageA(PanelItem(s, IDC_PNL_NET), EM_SETMODIFY, FALSE, 0);
    SetSpin(s, kSpinQuantity, o->ilOkien);
    snprintf(text, sizeof text, "Total (%s)", currency);
    SetWindowTextA(PanelItem(s, IDC_PNL_TOTAL_BOX), text);
    SetWindowTextA(PanelItem(s, IDC_PNL_NOTES), o->uwagi);
    SendMessageA(s->panel, UM_PNL_KEEP_NAMES, 0, 0);
    UpdateFigures(s);
}

// View only: every input is switched off (edits stay selectable).
void SwitchOffPanel(DesignerState* s) {
    const int ids[] = {IDC_PNL_PROFILE_LIST, IDC_PNL_PROFILE_EDIT, IDC_PNL_PVC, IDC_PNL_WOOD, IDC_PNL_ALUMINIUM,
                       IDC_PNL_COLOR_LIST, IDC_PNL_COLOR_EDIT, IDC_PNL_WHITE, IDC_PNL_INTERNAL, IDC_PNL_EXTERNAL,
                       IDC_PNL_DOUBLE, IDC_PNL_MUNTIN_LIST, IDC_PNL_MUNTIN_EDIT, IDC_PNL_HARDWARE_LIST,
                       IDC_PNL_HARDWARE_EDIT, IDC_PNL_BEAD_LIST, IDC_PNL_BEAD_EDIT, IDC_PNL_NET, IDC_PNL_NOTES};
    for (int id : ids)
        if (HWND c = PanelItem(s, id)) AktDeaktKntrl(c, 0);
    for (strEdUd& e : s->spins) {
        AktDeaktKntrl(e.hEd, 0);
        AktDeaktKntrl(e.hUd, 0);
    }
}

// ---- Creation and destruction ----------------------------------------------------------

void FillCanvasParam(DesignerState* s) {
    s->param = strParamObsProj{};
    s->param.idKntrl = IDC_OBSPROJ;
    s->param.iProfSch = &s->okno->iProfSch;
    s->param.iSzpros = &s->okno->iSzpros;
    s->param.rodzSlupka = -1;
    s->param.typWypeln = -1;
    s->param.format = 5;
    s->param.okno = s->okno;
    s->param.liczbaOper = &s->okno->liczbaOper;
    s->param.oper = &s->okno->oper;
    s->param.ds = s->draw;
    s->param.flagi = kObsFlagiProjektanta;
}

bool CreateCanvas(DesignerState* s) {
    FillCanvasParam(s);
    s->canvas = TworzObsProj(s->hwnd, 0, s->toolbarHeight, 100, 100, &s->param, s->editable);
    return s->canvas != nullptr;
}

LRESULT OnCreate(DesignerState* s, HWND hwnd) {
    s->hwnd = hwnd;
    char msg[KV_MSG_LEN] = "";
    if (!CreateToolbar(s)) return -1;
    if (!CreateCanvas(s)) return -1;
    if (s->editable) {
        if (!WczytajRejestryOkna(&s->rej, msg)) {
            KvShowError(hwnd, msg);
            return -1;
        }
        if (!BuildMenus(s)) return -1;
        if (!BuildFillingList(s, msg)) {
            KvShowError(hwnd, msg);
            return -1;
        }
    }
    PanelCreate values = {&s->rej, {}};
    for (int i = 0; i < kSpinCount; i++) values.spins[i] = &s->spins[i];
    if (!RegisterPanelClass(Instance())) return -1;
    s->panel = CreatePanel(hwnd, Instance(), &values);
    if (!s->panel) return -1;
    FillPanel(s);
    if (!s->editable) SwitchOffPanel(s);
    ApplyToolState(s);
    return 0;
}

void OnDestroy(DesignerState* s) {
    ZwolnijRejestryOkna(&s->rej);
    if (s->canvas) DestroyWindow(s->canvas);
    s->canvas = nullptr;
    DestroyMenus(s);
    if (s->owner) {
        EnableWindow(s->owner, TRUE);
        SetForegroundWindow(s->owner);
    }
}

void OnSize(DesignerState* s, int width, int height) {
    SendMessageA(s->bar.hwnd, TB_AUTOSIZE, 0, 0);
    RECT rc;
    GetWindowRect(s->bar.hwnd, &rc);
    s->toolbarHeight = rc.bottom - rc.top;
    int bar = GetSystemMetrics(SM_CXVSCROLL);
    int canvasWidth = width - bar - kPanelWidth;
    int below = height - s->toolbarHeight;
    if (s->canvas) MoveWindow(s->canvas, 0, s->toolbarHeight, canvasWidth > 0 ? canvasWidth : 0, below, FALSE);
    if (s->panel) MoveWindow(s->panel, width - bar - kPanelWidth, s->toolbarHeight, kPanelWidth + bar, below, FALSE);
    InvalidateRect(s->hwnd, nullptr, TRUE);
}

void OnMinMaxInfo(MINMAXINFO* mm) {
    mm->ptMinTrackSize.x = kMinWidth;
    mm->ptMinTrackSize.y = kMinHeight;
}

// ---- Save ------------------------------------------------------------------------

void ReadName(DesignerState* s, int listId, char (&field)[128]) {
    char text[128] = "";
    GetWindowTextA(NameControl(s, listId), text, (int)sizeof text);
    memcpy(field, text, sizeof field);
}

bool ReadSpin(DesignerState* s, int which, int32_t* value) {
    BOOL error = FALSE;
    LRESULT pos = SendMessageA(s->spins[which].hUd, UDM_GETPOS32, 0, (LPARAM)&error);
    if (error) return false;
    *value = (int32_t)pos;
    return true;
}

// The typed net price; false (and *price untouched) when it is beyond the
// largest price a seller may type.
bool ReadPrice(DesignerState* s, int64_t* price) {
    char text[64] = "";
    GetWindowTextA(PanelItem(s, IDC_PNL_NET), text, (int)sizeof text);
    const int64_t v = DajKwotaGrZNap(text);
    if (!CenaWZakresie(v)) return false;
    *price = v;
    return true;
}

int FirstChecked(DesignerState* s, int first, int count) {
    for (int i = 0; i < count - 1; i++)
        if (IsDlgButtonChecked(s->panel, first + i) == BST_CHECKED) return i;
    return count - 1;
}

// Reads the panel into the record in the fixed order, stopping at the first
// refusal; what was read before it stays in the record.
bool ReadPanel(DesignerState* s) {
    strOkno* o = s->okno;
    struct SpinField {
        int which;
        int32_t* field;
        const char* refusal;
    };
    ReadName(s, IDC_PNL_PROFILE_LIST, o->nazProfil);
    o->iProfSch = FirstChecked(s, IDC_PNL_PVC, 3);
    const SpinField thick[] = {
        {kSpinFrame, &o->sGrubProf.rama, "Incorrect value in the field Thickness in mm - Frame"},
        {kSpinSash, &o->sGrubProf.skrzydlo, "Incorrect value in the field Thickness in mm - Sash"},
        {kSpinFixed, &o->sGrubProf.slupekStaly, "Incorrect value in the field Thickness in mm - Fixed mullion"},
        {kSpinFalse, &o->sGrubProf.slupekRuchomy, "Incorrect value in the field Thickness in mm - False mullion"},
    };
    for (const SpinField& f : thick) {
        if (!ReadSpin(s, f.which, f.field)) {
            KvShowError(s->hwnd, f.refusal);
            return false;
        }
    }
    ReadName(s, IDC_PNL_COLOR_LIST, o->nazKolor);
    o->iKolor = FirstChecked(s, IDC_PNL_WHITE, 4);
    ReadName(s, IDC_PNL_MUNTIN_LIST, o->nazSzpros);
    if (!ReadSpin(s, kSpinMuntin, &o->grubSzpros)) {
        KvShowError(s->hwnd, "Incorrect value in the field Muntin's thickness");
        return false;
    }
    ReadName(s, IDC_PNL_HARDWARE_LIST, o->nazOkucie);
    ReadName(s, IDC_PNL_BEAD_LIST, o->nazListwa);
    if (!ReadPrice(s, &o->cenaZReki)) {
        char text[KV_MSG_LEN];
        TekstOdmowyCeny("Incorrect value in the field Price - net", text, sizeof text);
        KvShowError(s->hwnd, text);
        return false;
    }
    if (!ReadSpin(s, kSpinQuantity, &o->ilOkien)) {
        KvShowError(s->hwnd, "Incorrect value in the field Quantity");
        return false;
    }
    GetWindowTextA(PanelItem(s, IDC_PNL_NOTES), o->uwagi, (int)sizeof o->uwagi);
    return true;
}

void Trim(char* text) {
    mojLtrim(text);
    mojPtrim(text);
}

// The names are trimmed in the record itself, then filed in the six
// registers in one transaction.
int UpdateRegisters(DesignerState* s, char* msg) {
    strOkno* o = s->okno;
    for (char* name : {o->nazProfil, o->nazKolor, o->nazSzpros, o->nazOkucie, o->nazListwa}) Trim(name);
    for (int32_t i = 0; i < o->liczbaOper; i++)
        if (o->oper[i].typ == kOperWypeln) {
            o->oper[i].wypeln.nazwa[kNazwaWypelnLen - 1] = 0;
            Trim(o->oper[i].wypeln.nazwa);
        }
    return DbSaveWindowRegisters(o, &s->rej, msg);
}

void CmdSave(DesignerState* s) {
    if (!s->editable) return;
    if (s->okno->liczbaOper == 0) {
        KvShowError(s->hwnd, "No window");
        return;
    }
    if (!ReadPanel(s)) return;
    char msg[KV_MSG_LEN] = "";
    if (!UpdateRegisters(s, msg)) {
        KvShowError(s->hwnd, msg);
        return;
    }
    s->saved = 1;
    DestroyWindow(s->hwnd);
}

// ---- Panel messages ------------------------------------------------------------------

void RefreshCanvas(DesignerState* s) {
    if (s->canvas) SendMessageA(s->canvas, UM_OBS_ODSWIEZ, 0, 0);
    UpdateFigures(s);
}

// Reruns the element geometry with the record's thicknesses; false after
// showing the failure.
bool Regeometry(DesignerState* s) {
    char msg[KV_MSG_LEN] = "";
    if (!ObliczGeometrie(s->okno->oper, s->okno->liczbaOper, s->param.format, s->okno, msg)) {
        KvShowError(s->hwnd, msg);
        return false;
    }
    return true;
}

int SelectedEntry(DesignerState* s, int listId, const char* refusal) {
    HWND list = PanelItem(s, listId);
    int sel = list ? (int)SendMessageA(list, CB_GETCURSEL, 0, 0) : CB_ERR;
    if (sel == CB_ERR) KvShowError(s->hwnd, refusal);
    return sel;
}

// 1 when the choice is refused (the panel then puts the list back).
LRESULT OnProfileChosen(DesignerState* s) {
    int sel = SelectedEntry(s, IDC_PNL_PROFILE_LIST, "Error of selecting profile from the list");
    if (sel < 0 || sel >= s->rej.liczbaProfili) return 1;
    const strZstProfil& p = s->rej.profile[sel];
    char msg[KV_MSG_LEN] = "";
    if (!SprawdzLimity(s->okno, 0, nullptr, kLimBezZmian, &p.sGrubProf, nullptr, msg)) {
        KvShowError(s->hwnd, msg);
        return 1;
    }
    s->okno->sGrubProf = p.sGrubProf;
    SetThicknessSpins(s);
    s->okno->iProfSch = p.typ;
    CheckProfileType(s);
    if (Regeometry(s)) RefreshCanvas(s);
    return 0;
}

void OnColourChosen(DesignerState* s) {
    int sel = SelectedEntry(s, IDC_PNL_COLOR_LIST, "Error of selecting color from the list");
    if (sel < 0 || sel >= s->rej.liczbaKolorow) return;
    s->okno->iKolor = s->rej.kolory[sel].typ;
    CheckColourType(s);
}

// 1 when the choice is refused, as for the profile.
LRESULT OnMuntinChosen(DesignerState* s) {
    int sel = SelectedEntry(s, IDC_PNL_MUNTIN_LIST, "Error of selecting muntin from the list");
    if (sel < 0 || sel >= s->rej.liczbaSzprosow) return 1;
    int32_t grub = s->rej.szprosy[sel].grubSzpros;
    char msg[KV_MSG_LEN] = "";
    if (!SprawdzLimity(s->okno, 0, nullptr, kLimBezZmian, nullptr, &grub, msg)) {
        KvShowError(s->hwnd, msg);
        return 1;
    }
    s->okno->grubSzpros = grub;
    SetSpin(s, kSpinMuntin, grub);
    if (Regeometry(s)) RefreshCanvas(s);
    return 0;
}

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : v > hi ? hi : v; }

// A thickness spin is about to move to `value`: 1 refuses the move.
LRESULT OnThickness(DesignerState* s, int32_t value, int spinId) {
    strGrubProf g = s->okno->sGrubProf;
    int32_t muntin = s->okno->grubSzpros;
    switch (spinId) {
        case IDC_PNL_FRAME_SPIN: g.rama = Clamp(value, kMinGrubRamy, kMaxGrubRamy); break;
        case IDC_PNL_SASH_SPIN: g.skrzydlo = Clamp(value, kMinGrubSkrz, kMaxGrubSkrz); break;
        case IDC_PNL_FIXED_SPIN: g.slupekStaly = Clamp(value, kMinGrubSlupka, kMaxGrubSlupka); break;
        case IDC_PNL_FALSE_SPIN: g.slupekRuchomy = Clamp(value, kMinGrubSlupka, kMaxGrubSlupka); break;
        case IDC_PNL_MUNTIN_TH_SPIN: muntin = Clamp(value, kMinGrubSzpros, kMaxGrubSzpros); break;
        default: return 1;
    }
    bool isMuntin = spinId == IDC_PNL_MUNTIN_TH_SPIN;
    char msg[KV_MSG_LEN] = "";
    if (!SprawdzLimity(s->okno, 0, nullptr, kLimBezZmian, isMuntin ? nullptr : &g, isMuntin ? &muntin : nullptr,
                       msg)) {
        KvShowError(s->hwnd, msg);
        return 1;
    }
    if (isMuntin) s->okno->grubSzpros = muntin;
    else s->okno->sGrubProf = g;
    if (!Regeometry(s)) return 0;
    RefreshCanvas(s);
    return 0;
}

LRESULT OnQuantity(DesignerState* s, int32_t value) {
    s->okno->ilOkien = Clamp(value, 1, 999);
    UpdateFigures(s);
    return 0;
}

// A price beyond the bound is not taken (Save refuses it); the figures say
// so meanwhile.
void OnPrice(DesignerState* s) {
    if (ReadPrice(s, &s->okno->cenaZReki)) {
        UpdateFigures(s);
        return;
    }
    for (int id : {IDC_PNL_GROSS, IDC_PNL_TOTAL_NET, IDC_PNL_TOTAL_GROSS})
        SetWindowTextA(PanelItem(s, id), kKwotaZaDuza);
}

// ---- Commands ---------------------------------------------------------------------------

void ShowDropMenu(DesignerState* s, int button) {
    HMENU menu = button == CMD_DES_MULLION ? s->dropMullion : button == CMD_DES_SASH ? s->dropSash : s->dropFilling;
    if (!menu) return;
    RECT rc;
    SendMessageA(s->bar.hwnd, TB_GETRECT, button, (LPARAM)&rc);
    MapWindowPoints(s->bar.hwnd, nullptr, (POINT*)&rc, 2);
    TPMPARAMS tpm = {sizeof tpm, rc};
    TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL, rc.left, rc.bottom, s->hwnd, &tpm);
    // Until a choice arrives the check stays with the tool in use.
    SendMessageA(s->bar.hwnd, TB_CHECKBUTTON, ButtonOfTool(NarzedzieObs(s->param.flagi)), TRUE);
}

void ChooseFilling(DesignerState* s, int32_t index) {
    if (index < 0 || index >= s->liczbaWypeln) return;
    s->param.typWypeln = s->wypeln[index].typ;
    memcpy(s->param.nazwaWypeln, s->wypeln[index].nazwa, sizeof s->param.nazwaWypeln);
    SetTool(s, kNarzWypeln);
}

// "New filling name": the name goes to the top of the filling menu unless
// it is there already. Returns its index, or -1.
int32_t AddNewFilling(DesignerState* s, strNowyWypeln* w) {
    *w = strNowyWypeln{};
    if (!DialogNowyWypeln(s->hwnd, w)) return -1;
    int32_t at = FindFilling(s, w->nazwa, w->typ);
    if (at >= 0) return at;
    // Every command of the menu is taken: a new name has no entry to go to.
    if (s->liczbaWypeln >= kMaxFillingEntries) {
        char msg[KV_MSG_LEN];
        KvMsg(msg, "The list of fillings is full (%d names).\r\nChoose a filling from the list.",
              (int)kMaxFillingEntries);
        KvShowError(s->hwnd, msg);
        return -1;
    }
    char msg[KV_MSG_LEN] = "";
    if (!InsertFilling(s, 0, w->nazwa, w->typ, msg)) {
        KvShowError(s->hwnd, msg);
        return -1;
    }
    RebuildFillingMenus(s);
    return 0;
}

void CmdFactors(DesignerState* s) {
    RunFactorsDialog(s->hwnd, s->okno, s->editable);
    UpdateFigures(s);
}

void CmdTool(DesignerState* s, int id) {
    if (!s->editable) return;
    if (id == CMD_DES_POINTER) SetTool(s, kNarzWskaznik);
    else if (id == CMD_DES_FRAME) SetTool(s, kNarzRama);
    else if (id == CMD_DES_MUNTIN) SetTool(s, kNarzSzpros);
    else if (id == CMD_DES_FIXED_MULLION || id == CMD_DES_FALSE_MULLION) {
        s->param.rodzSlupka = id == CMD_DES_FIXED_MULLION ? 0 : 1;
        SetTool(s, id == CMD_DES_FIXED_MULLION ? kNarzSlupekStaly : kNarzSlupekRuch);
    } else if (id >= CMD_DES_SASH_FIRST && id <= CMD_DES_SASH_LAST) {
        SetTool(s, kNarzSkrzydloStale + (id - CMD_DES_SASH_FIRST));
    } else if (id >= CMD_DES_FILLING_FIRST && id <= CMD_DES_FILLING_LAST) {
        ChooseFilling(s, id - CMD_DES_FILLING_FIRST);
    } else if (id == CMD_DES_NEW_FILLING) {
        strNowyWypeln w;
        ChooseFilling(s, AddNewFilling(s, &w));
    } else if (id == CMD_DES_MULLION || id == CMD_DES_SASH || id == CMD_DES_FILLING) {
        ShowDropMenu(s, id);
    }
}

void OnCommand(DesignerState* s, int id) {
    switch (id) {
        case CMD_DES_SAVE: CmdSave(s); return;
        case CMD_DES_CANCEL: DestroyWindow(s->hwnd); return;
        case CMD_DES_HELP: OpenHelp(s->hwnd, HELP_DESIGNER); return;
        case CMD_DES_FACTORS: CmdFactors(s); return;
        case IDC_PNL_PVC:
        case IDC_PNL_WOOD:
        case IDC_PNL_ALUMINIUM:
            s->okno->iProfSch = id - IDC_PNL_PVC;
            RefreshCanvas(s);
            return;
        case IDC_PNL_WHITE:
        case IDC_PNL_INTERNAL:
        case IDC_PNL_EXTERNAL:
        case IDC_PNL_DOUBLE: s->okno->iKolor = id - IDC_PNL_WHITE; return;
    }
    CmdTool(s, id);
}

// ---- Context menu ---------------------------------------------------------------------

void ShowContextMenu(DesignerState* s, const strNotyfObsProj* n) {
    if (!s->editable || !s->context || n->element < 0 || n->element >= s->okno->liczbaOper) return;
    uint32_t typ = s->okno->oper[n->element].typ;
    const bool enable[4] = {true, typ == kOperSlupekStaly || typ == kOperSlupekRuch, typ == kOperSkrzydlo,
                            typ == kOperWypeln};
    for (UINT pos = 0; pos < 4; pos++)
        EnableMenuItem(s->context, pos, MF_BYPOSITION | (enable[pos] ? MF_ENABLED : MF_GRAYED));
    MENUINFO mi = {};
    mi.cbSize = sizeof mi;
    mi.fMask = MIM_MENUDATA | MIM_APPLYTOSUBMENUS;
    mi.dwMenuData = (ULONG_PTR)n->element;
    SetMenuInfo(s->context, &mi);
    TrackPopupMenuEx(s->context, TPM_LEFTALIGN | TPM_RIGHTBUTTON, n->pkt.x, n->pkt.y, s->hwnd, nullptr);
}

// A context-menu item, by its menu and position; the element index rides
// in the menu's data.
void OnMenuCommand(DesignerState* s, int pos, HMENU menu) {
    if (!s->editable || !menu || !s->canvas) return;
    MENUINFO mi = {};
    mi.cbSize = sizeof mi;
    mi.fMask = MIM_MENUDATA;
    if (!GetMenuInfo(menu, &mi)) return;
    int32_t element = (int32_t)mi.dwMenuData;
    char msg[KV_MSG_LEN] = "";
    int ok = -1;
    if (menu == s->context && pos == 0) ok = ObsProjUsun(s->canvas, element, msg);
    else if (menu == s->ctxMullion && pos >= 0 && pos <= 1) ok = ObsProjZmienSlupek(s->canvas, element, pos, msg);
    else if (menu == s->ctxSash && pos >= 0 && pos < 7)
        ok = ObsProjZmienSkrzydlo(s->canvas, element, kSashKinds[pos][0], kSashKinds[pos][1], msg);
    else if (menu == s->ctxFilling && pos >= 0) {
        int32_t index = pos < s->liczbaWypeln ? pos : -1;
        strNowyWypeln w;
        if (pos >= s->liczbaWypeln && GetMenuItemID(menu, pos) == CMD_DES_NEW_FILLING) index = AddNewFilling(s, &w);
        if (index >= 0) ok = ObsProjZmienWypeln(s->canvas, element, s->wypeln[index].nazwa, s->wypeln[index].typ, msg);
    }
    if (ok == 0) KvShowError(s->canvas, msg);
    if (ok == 1) {
        InvalidateRect(s->canvas, nullptr, TRUE);
        UpdateFigures(s);
    }
}

LRESULT OnNotify(DesignerState* s, NMHDR* nm) {
    if (nm->hwndFrom == s->bar.hwnd && nm->code == TBN_DROPDOWN) {
        ShowDropMenu(s, ((NMTOOLBARA*)nm)->iItem);
        return TBDDRET_DEFAULT;
    }
    if (nm->code == TTN_GETDISPINFOA) {
        NMTTDISPINFOA* di = (NMTTDISPINFOA*)nm;
        if (const char* tip = TipText((int)nm->idFrom)) di->lpszText = (LPSTR)tip;
        return 0;
    }
    if (nm->code == TTN_GETDISPINFOW) {
        NMTTDISPINFOW* di = (NMTTDISPINFOW*)nm;
        if (const char* tip = TipText((int)nm->idFrom)) {
            MultiByteToWideChar(CP_ACP, 0, tip, -1, di->szText, (int)(sizeof di->szText / sizeof di->szText[0]));
            di->lpszText = di->szText;
        }
        return 0;
    }
    if (nm->idFrom != IDC_OBSPROJ || nm->hwndFrom != s->canvas) return 0;
    if (nm->code == kObsKodRama) ApplyToolState(s);
    if (nm->code == kObsKodRama || nm->code == kObsKodZmiana) UpdateFigures(s);
    if (nm->code == kObsKodMenu) ShowContextMenu(s, (const strNotyfObsProj*)nm);
    return 0;
}

LRESULT OnLimitCheck(DesignerState* s, const strLimitObsProj* arg) {
    return arg ? OdpowiedzLimity(s->okno, arg) : 0;
}

LRESULT CALLBACK DesignerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_GETMINMAXINFO) {  // comes before the state is attached
        OnMinMaxInfo((MINMAXINFO*)lp);
        return 0;
    }
    DesignerState* s = KvWindowState<DesignerState>(hwnd, msg, lp);
    if (!s) return DefWindowProcA(hwnd, msg, wp, lp);
    switch (msg) {
        case WM_CREATE: return OnCreate(s, hwnd);
        case WM_SIZE: OnSize(s, LOWORD(lp), HIWORD(lp)); return 0;
        case WM_COMMAND: OnCommand(s, LOWORD(wp)); return 0;
        case WM_MENUCOMMAND: OnMenuCommand(s, (int)wp, (HMENU)lp); return 0;
        case WM_NOTIFY: return OnNotify(s, (NMHDR*)lp);
        case WM_CLOSE: OnCommand(s, CMD_DES_CANCEL); return 0;
        case WM_HELP: OpenHelp(hwnd, HELP_DESIGNER); return TRUE;
        case UM_OBS_LIMITY: return OnLimitCheck(s, (const strLimitObsProj*)lp);
        case UM_DES_PROFILE_CHOSEN: return OnProfileChosen(s);
        case UM_DES_COLOR_CHOSEN: OnColourChosen(s); return 0;
        case UM_DES_MUNTIN_CHOSEN: return OnMuntinChosen(s);
        case UM_DES_THICKNESS: return OnThickness(s, (int32_t)wp, (int)lp);
        case UM_DES_PRICE: OnPrice(s); return 0;
        case UM_DES_QUANTITY: return OnQuantity(s, (int32_t)wp);
        case WM_DESTROY: OnDestroy(s); return 0;
        case WM_NCDESTROY: KvDetachState(hwnd); return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

bool RegisterDesignerClass() {
    WNDCLASSEXA wc = {};
    if (GetClassInfoExA(Instance(), kDesignerClass, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DesignerProc;
    wc.hInstance = Instance();
    wc.hIcon = LoadIconA(Instance(), MAKEINTRESOURCEA(10000));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kDesignerClass;
    return RegisterClassExA(&wc) != 0;
}

// Page Up and Page Down scroll the panel unless the notes take them; the
// wheel always scrolls the panel; F1 opens the designer's help.
bool KeyFilter(DesignerState* s, MSG* m) {
    if (m->hwnd != s->hwnd && !IsChild(s->hwnd, m->hwnd)) return false;
    if (m->message == WM_KEYDOWN && (m->wParam == VK_PRIOR || m->wParam == VK_NEXT)) {
        if (m->hwnd == PanelItem(s, IDC_PNL_NOTES)) return false;
        SendMessageA(s->panel, WM_KEYDOWN, m->wParam, m->lParam);
        return true;
    }
    if (m->message == WM_MOUSEWHEEL) {
        SendMessageA(s->panel, WM_MOUSEWHEEL, m->wParam, m->lParam);
        return true;
    }
    if (m->message == WM_KEYDOWN && m->wParam == VK_F1) {
        OpenHelp(s->hwnd, HELP_DESIGNER);
        return true;
    }
    return false;
}

// The designer's keys first, then the panel's dialog navigation.
bool PreTranslate(void* state, MSG* m) {
    DesignerState* s = (DesignerState*)state;
    if (KeyFilter(s, m)) return true;
    return s->panel && IsDialogMessageA(s->panel, m);
}

}  // namespace

int RunDesigner(HWND owner, strOkno* window, const strZam* order, const DrawSet* draw, int editable) {
    if (!window) return 0;
    DesignerState s = {};
    s.owner = owner;
    s.okno = window;
    s.zam = order;
    s.draw = draw;
    s.editable = editable ? 1 : 0;
    if (order) s.wycena.zam.sWycenZamParam = order->sWycenZamParam;
    if (owner) EnableWindow(owner, FALSE);
    if (!RegisterDesignerClass()) {
        if (owner) EnableWindow(owner, TRUE);
        return 0;
    }
    HWND hwnd = CreateWindowExA(0, kDesignerClass, "Window",
                                WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MAXIMIZE, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, Instance(), &s);
    if (!hwnd) {
        if (owner) EnableWindow(owner, TRUE);
        return 0;
    }
    ShowWindow(hwnd, SW_SHOWMAXIMIZED);
    UpdateWindow(hwnd);
    // Only Save sets the flag, and it closes the window at once: a designer
    // ended by the program's quit or a failed loop has saved nothing.
    KvRunModalLoop(hwnd, PreTranslate, &s);
    return s.saved;
}
