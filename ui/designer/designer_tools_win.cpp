// The designer's toolbar, its tools, the drop-down and context menus and the
// filling menu.

#include "ui/designer/designer_internal_win.h"

namespace {

const int kToolButtons[] = {CMD_DES_POINTER, CMD_DES_FRAME,   CMD_DES_MULLION,
                            CMD_DES_SASH,    CMD_DES_FILLING, CMD_DES_MUNTIN};

struct ButtonText {
    int command;
    const char* tip;
};
const ButtonText kTips[] = {
    {CMD_DES_POINTER, "Pointer"},
    {CMD_DES_FRAME, "Add a frame"},
    {CMD_DES_MULLION, "Add a mullion"},
    {CMD_DES_SASH, "Add a sash"},
    {CMD_DES_FILLING, "Add a filling"},
    {CMD_DES_MUNTIN, "Add a muntin"},
    {CMD_DES_FACTORS, "Thermal transmittance factor"},
    {CMD_DES_UNDO, "Undo"},
    {CMD_DES_REDO, "Redo"},
    {CMD_DES_SAVE, "Save window"},
    {CMD_DES_CANCEL, "Cancel"},
    {CMD_DES_HELP, "Help"},
};

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
    {10, CMD_DES_UNDO, 0, BTNS_BUTTON, "Undo"},
    {11, CMD_DES_REDO, 0, BTNS_BUTTON, "Redo"},
    {0, 0, 0, BTNS_SEP, nullptr},
    {7, CMD_DES_SAVE, TBSTATE_ENABLED, BTNS_BUTTON, "Save"},
    {8, CMD_DES_CANCEL, TBSTATE_ENABLED, BTNS_BUTTON, "Cancel"},
    {0, 0, 0, BTNS_SEP, nullptr},
    {9, CMD_DES_HELP, TBSTATE_ENABLED, BTNS_BUTTON, "Help"},
};

}  // namespace

bool CreateToolbar(DesignerState* s) {
    KvToolbarSetup setup = {};
    setup.instance = Instance();
    setup.parent = s->hwnd;
    setup.id = IDC_DES_TOOLBAR;
    setup.style = WS_BORDER | TBSTYLE_TOOLTIPS | CCS_TOP;
    setup.imagesId = IDB_DES_TOOLBAR;
    setup.disabledImagesId = IDB_DES_TOOLBAR_DISABLED;
    static_assert(IDB_DES_TOOLBAR_DISABLED_200 == IDB_DES_TOOLBAR_150 + 3, "the four larger strips in a row");
    setup.largerStripsId = IDB_DES_TOOLBAR_150;
    setup.imageWidth = 26;
    setup.imageHeight = 25;
    setup.buttons = kToolbarButtons;
    setup.buttonCount = (int)(sizeof kToolbarButtons / sizeof kToolbarButtons[0]);
    if (!KvCreateToolbar(setup, &s->bar)) return false;
    s->toolbarHeight = KvToolbarHeight(s->bar);
    return true;
}

const char* TipText(int command) {
    for (const ButtonText& t : kTips)
        if (t.command == command) return t.tip;
    return nullptr;
}

namespace {

int ButtonOfTool(int32_t tool) {
    if (tool == kToolPointer) return CMD_DES_POINTER;
    if (tool == kToolFrame) return CMD_DES_FRAME;
    if (tool == kToolFixedMullion || tool == kToolFalseMullion) return CMD_DES_MULLION;
    if (tool >= kToolFixedSash && tool <= kToolLastSash) return CMD_DES_SASH;
    if (tool == kToolFilling) return CMD_DES_FILLING;
    return CMD_DES_MUNTIN;
}

// ---- Tools -------------------------------------------------------------------

void SetTool(DesignerState* s, int32_t tool) {
    s->param.flagi = WithTool(s->param.flagi, tool);
    ShowToolCursor(s);
    SendMessageA(s->bar.hwnd, TB_CHECKBUTTON, ButtonOfTool(tool), TRUE);
}

}  // namespace

namespace {

// The frame's tool while the window has no frame, the others once it has.
void EnableTools(DesignerState* s) {
    const bool empty = s->windowRec->liczbaOper == 0;
    SendMessageA(s->bar.hwnd, TB_ENABLEBUTTON, CMD_DES_FRAME, empty);
    for (int id : {CMD_DES_MULLION, CMD_DES_SASH, CMD_DES_FILLING, CMD_DES_MUNTIN})
        SendMessageA(s->bar.hwnd, TB_ENABLEBUTTON, id, !empty);
}

}  // namespace

void KeepToolState(DesignerState* s) {
    if (!s->editable) return;
    const int32_t tool = CanvasTool(s->param.flagi);
    const bool empty = s->windowRec->liczbaOper == 0;
    const bool offered = tool == kToolPointer || (tool == kToolFrame) == empty;
    EnableTools(s);
    SetTool(s, offered ? tool : kToolPointer);
}

void ShowToolCursor(DesignerState* s) {
    const int32_t tool = s->editable ? CanvasTool(s->param.flagi) : kToolPointer;
    const DrawSet* set = s->param.ds ? s->param.ds : s->draw;
    // The canvas class outlives the designer: a view never keeps the cursor
    // of a tool (or of a set) from an earlier opening.
    HCURSOR cursor = tool == kToolPointer || !set ? LoadCursorA(nullptr, IDC_ARROW) : set->cursors[tool - 1];
    if (s->canvas) SetClassLongPtrA(s->canvas, GCLP_HCURSOR, (LONG_PTR)cursor);
}

void ApplyToolState(DesignerState* s) {
    if (s->editable) {
        SetTool(s, kToolPointer);
        EnableTools(s);
        return;
    }
    ShowToolCursor(s);
    for (int id : kToolButtons) SendMessageA(s->bar.hwnd, TB_ENABLEBUTTON, id, FALSE);
    SendMessageA(s->bar.hwnd, TB_ENABLEBUTTON, CMD_DES_SAVE, FALSE);
    TBBUTTONINFOA bi = {};
    bi.cbSize = sizeof bi;
    bi.dwMask = TBIF_TEXT;
    bi.pszText = (LPSTR) "Exit";
    SendMessageA(s->bar.hwnd, TB_SETBUTTONINFOA, CMD_DES_CANCEL, (LPARAM)&bi);
}

// ---- Filling menu ----------------------------------------------------------------

namespace {

bool SameFilling(const strMenuWypeln& e, const char* nazwa, int32_t typ) {
    char a[128], b[128];
    RegisterKey(e.nazwa, a);
    RegisterKey(nazwa, b);
    return e.typ == typ && strcmp(a, b) == 0;
}

int32_t FindFilling(const DesignerState* s, const char* nazwa, int32_t typ) {
    for (int32_t i = 0; i < s->fillingCount; i++)
        if (SameFilling(s->wypeln[i], nazwa, typ)) return i;
    return -1;
}

// Adds an entry at `at` (0 the top, fillingCount the end).
int InsertFilling(DesignerState* s, int32_t at, const char* nazwa, int32_t typ, char* msg) {
    if (s->fillingCount >= kMaxFillingEntries) return 1;  // no command left to name it by
    strMenuWypeln* grown =
        (strMenuWypeln*)KvRealloc(s->wypeln, sizeof(strMenuWypeln) * (size_t)(s->fillingCount + 1));
    if (!grown) {
        KvMsg(msg,
              s->wypeln ? "Error of reallocation the str%s structure"
                        : "Error of allocation of str%s structure",
              "MenuWypeln");
        return 0;
    }
    s->wypeln = grown;
    memmove(&grown[at + 1], &grown[at], sizeof(strMenuWypeln) * (size_t)(s->fillingCount - at));
    memset(&grown[at], 0, sizeof grown[at]);
    strncpy(grown[at].nazwa, nazwa, sizeof grown[at].nazwa - 1);
    grown[at].typ = typ;
    s->fillingCount++;
    return 1;
}

void FillMenu(HMENU menu, const DesignerState* s) {
    while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
    for (int32_t i = 0; i < s->fillingCount; i++) {
        char text[kFillingNameLen + 32];
        snprintf(text, sizeof text, "%s - [%s]", s->wypeln[i].nazwa,
                 s->wypeln[i].typ == 0 ? "Glass" : "Acrylic");
        AppendMenuA(menu, MF_STRING, CMD_DES_FILLING_FIRST + i, text);
    }
    if (s->fillingCount > 0) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, CMD_DES_NEW_FILLING, "Enter new name...");
}

void RebuildFillingMenus(DesignerState* s) {
    FillMenu(s->dropFilling, s);
    FillMenu(s->ctxFilling, s);
}

}  // namespace

// The window's own distinct fillings first, then the register's that are
// not there yet (same name in any letter case and blanks, and same type).
int BuildFillingList(DesignerState* s, char* msg) {
    int32_t poz = 0, typ = 0;
    char nazwa[kFillingNameLen];
    while (NextDistinctFilling(&poz, s->windowRec->oper, s->windowRec->liczbaOper, nazwa, &typ))
        if (!InsertFilling(s, s->fillingCount, nazwa, typ, msg)) return 0;
    for (int32_t i = 0; i < s->regs.fillingCount; i++) {
        const strZstWypeln& w = s->regs.wypeln[i];
        char klucz[128];
        RegisterKey(w.nazwa, klucz);
        if (!klucz[0] || FindFilling(s, w.nazwa, w.typ) >= 0) continue;
        if (!InsertFilling(s, s->fillingCount, w.nazwa, w.typ, msg)) return 0;
    }
    RebuildFillingMenus(s);
    return 1;
}

namespace {

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

}  // namespace

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
    s->fillingCount = 0;
}

// ---- Commands ---------------------------------------------------------------------------

void ShowDropMenu(DesignerState* s, int button) {
    HMENU menu = button == CMD_DES_MULLION ? s->dropMullion
                 : button == CMD_DES_SASH  ? s->dropSash
                                           : s->dropFilling;
    if (!menu) return;
    RECT rc;
    SendMessageA(s->bar.hwnd, TB_GETRECT, button, (LPARAM)&rc);
    MapWindowPoints(s->bar.hwnd, nullptr, (POINT*)&rc, 2);
    TPMPARAMS tpm = {sizeof tpm, rc};
    TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL, rc.left, rc.bottom, s->hwnd, &tpm);
    // Until a choice arrives the check stays with the tool in use.
    SendMessageA(s->bar.hwnd, TB_CHECKBUTTON, ButtonOfTool(CanvasTool(s->param.flagi)), TRUE);
}

namespace {

void ChooseFilling(DesignerState* s, int32_t index) {
    if (index < 0 || index >= s->fillingCount) return;
    s->param.typWypeln = s->wypeln[index].typ;
    memcpy(s->param.fillingName, s->wypeln[index].nazwa, sizeof s->param.fillingName);
    SetTool(s, kToolFilling);
}

// "New filling name": the name goes to the top of the filling menu unless
// it is there already. Returns its index, or -1.
int32_t AddNewFilling(DesignerState* s, NewFilling* w) {
    *w = NewFilling{};
    if (!DialogNewFilling(s->hwnd, w)) return -1;
    int32_t at = FindFilling(s, w->nazwa, w->typ);
    if (at >= 0) return at;
    // Every command of the menu is taken: a new name has no entry to go to.
    if (s->fillingCount >= kMaxFillingEntries) {
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

}  // namespace

void CmdFactors(DesignerState* s) {
    RunFactorsDialog(s->hwnd, s->windowRec, s->editable);
    UpdateFigures(s);
}

void CmdTool(DesignerState* s, int id) {
    if (!s->editable) return;
    if (id == CMD_DES_POINTER) SetTool(s, kToolPointer);
    else if (id == CMD_DES_FRAME) SetTool(s, kToolFrame);
    else if (id == CMD_DES_MUNTIN) SetTool(s, kToolMuntin);
    else if (id == CMD_DES_FIXED_MULLION || id == CMD_DES_FALSE_MULLION) {
        s->param.mullionKind = id == CMD_DES_FIXED_MULLION ? 0 : 1;
        SetTool(s, id == CMD_DES_FIXED_MULLION ? kToolFixedMullion : kToolFalseMullion);
    } else if (id >= CMD_DES_SASH_FIRST && id <= CMD_DES_SASH_LAST) {
        SetTool(s, kToolFixedSash + (id - CMD_DES_SASH_FIRST));
    } else if (id >= CMD_DES_FILLING_FIRST && id <= CMD_DES_FILLING_LAST) {
        ChooseFilling(s, id - CMD_DES_FILLING_FIRST);
    } else if (id == CMD_DES_NEW_FILLING) {
        NewFilling w;
        ChooseFilling(s, AddNewFilling(s, &w));
    } else if (id == CMD_DES_MULLION || id == CMD_DES_SASH || id == CMD_DES_FILLING) {
        ShowDropMenu(s, id);
    }
}

// ---- Context menu ---------------------------------------------------------------------

void ShowContextMenu(DesignerState* s, const CanvasNotification* n) {
    if (!s->editable || !s->context || n->element < 0 || n->element >= s->windowRec->liczbaOper) return;
    uint32_t typ = s->windowRec->oper[n->element].typ;
    const bool enable[4] = {true, typ == kOpFixedMullion || typ == kOpFalseMullion, typ == kOpSash,
                            typ == kOpFilling};
    for (UINT pos = 0; pos < 4; pos++)
        EnableMenuItem(s->context, pos, MF_BYPOSITION | (enable[pos] ? MF_ENABLED : MF_GRAYED));
    MENUINFO mi = {};
    mi.cbSize = sizeof mi;
    mi.fMask = MIM_MENUDATA | MIM_APPLYTOSUBMENUS;
    mi.dwMenuData = (ULONG_PTR)n->element;
    SetMenuInfo(s->context, &mi);
    TrackPopupMenuEx(s->context, TPM_LEFTALIGN | TPM_RIGHTBUTTON, n->curPoint.x, n->curPoint.y, s->hwnd, nullptr);
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
    if (menu == s->context && pos == 0) ok = CanvasDelete(s->canvas, element, msg);
    else if (menu == s->ctxMullion && pos >= 0 && pos <= 1)
        ok = CanvasChangeMullion(s->canvas, element, pos, msg);
    else if (menu == s->ctxSash && pos >= 0 && pos < 7)
        ok = CanvasChangeSash(s->canvas, element, kSashKinds[pos][0], kSashKinds[pos][1], msg);
    else if (menu == s->ctxFilling && pos >= 0) {
        int32_t index = pos < s->fillingCount ? pos : -1;
        NewFilling w;
        if (pos >= s->fillingCount && GetMenuItemID(menu, pos) == CMD_DES_NEW_FILLING)
            index = AddNewFilling(s, &w);
        if (index >= 0)
            ok = CanvasChangeFilling(s->canvas, element, s->wypeln[index].nazwa, s->wypeln[index].typ, msg);
    }
    if (ok == 0) KvShowError(s->canvas, msg);
    if (ok == 1) {
        InvalidateRect(s->canvas, nullptr, TRUE);
        UpdateFigures(s);
    }
}
