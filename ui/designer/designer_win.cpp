// The designer window: toolbar, canvas and data panel around one window record;
// its creation, layout, commands and message loop.
#include "ui/designer/designer_win.h"

#include "ui/designer/designer_internal_win.h"

// ---- Creation and destruction ----------------------------------------------------------

namespace {

// The canvas draws with fonts and lays out its dimension chains for `dpi`;
// should the scaled fonts fail, it draws with the start-up ones.
void TakeDpi(DesignerState* s, int dpi) {
    s->dpi = dpi;
    if (!s->drawAtDpi.Make(s->draw, dpi, Instance())) s->drawAtDpi.Make(s->draw, kKvBaseDpi, Instance());
    s->param.ds = s->drawAtDpi.get();
    s->param.dimensionSet.dpi = dpi;
}

void FillCanvasParam(DesignerState* s) {
    s->param = CanvasParams{};
    s->param.controlId = IDC_CANVAS;
    s->param.iProfSch = &s->windowRec->iProfSch;
    s->param.iSzpros = &s->windowRec->iSzpros;
    s->param.mullionKind = -1;
    s->param.typWypeln = -1;
    s->param.format = 5;
    s->param.windowRec = s->windowRec;
    s->param.liczbaOper = &s->windowRec->liczbaOper;
    s->param.oper = &s->windowRec->oper;
    s->param.flagi = kCanvasDesignerFlags;
    TakeDpi(s, KvDpiForWindow(s->hwnd));
}

bool CreateCanvas(DesignerState* s) {
    FillCanvasParam(s);
    s->canvas = CreateCanvasWindow(s->hwnd, 0, s->toolbarHeight, 100, 100, &s->param, s->editable);
    return s->canvas != nullptr;
}

LRESULT OnCreate(DesignerState* s, HWND hwnd) {
    s->hwnd = hwnd;
    char msg[KV_MSG_LEN] = "";
    if (!CreateToolbar(s)) return -1;
    if (!CreateCanvas(s)) return -1;
    if (s->editable) {
        if (!LoadWindowRegisters(&s->regs, msg)) {
            KvShowError(hwnd, msg);
            return -1;
        }
        if (!BuildMenus(s)) return -1;
        if (!BuildFillingList(s, msg)) {
            KvShowError(hwnd, msg);
            return -1;
        }
    }
    LoadPriceList(s);
    PanelCreate values = {&s->regs,
                          {},
                          s->prices.empty() ? kPriceListNone
                          : s->editable     ? kPriceListWithUse
                                            : kPriceListViewOnly};
    for (int i = 0; i < kSpinCount; i++) values.spins[i] = &s->spins[i];
    if (!RegisterPanelClass(Instance())) return -1;
    s->panel = CreatePanel(hwnd, Instance(), &values);
    if (!s->panel) return -1;
    FillPanel(s);
    if (!s->editable) SwitchOffPanel(s);
    ApplyToolState(s);
    if (s->editable) s->history.Reset(*s->windowRec, CurrentNames(s));  // without memory there is no undo
    UpdateUndoButtons(s);
    return 0;
}

void OnDestroy(DesignerState* s) {
    FreeWindowRegisters(&s->regs);
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
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    const int panelWidth = KvScale(kPanelWidth, s->dpi);
    int canvasWidth = width - bar - panelWidth;
    int below = height - s->toolbarHeight;
    if (s->canvas)
        MoveWindow(s->canvas, 0, s->toolbarHeight, canvasWidth > 0 ? canvasWidth : 0, below, FALSE);
    if (s->panel)
        MoveWindow(s->panel, width - bar - panelWidth, s->toolbarHeight, panelWidth + bar, below, FALSE);
    InvalidateRect(s->hwnd, nullptr, TRUE);
}

// Moved to a monitor of another dpi: pictures, canvas and panel for it, in
// the rectangle the system suggests.
void OnDpiChanged(DesignerState* s, WPARAM wParam, LPARAM lParam) {
    const int dpi = KvDpiOfDpiChanged(wParam);
    TakeDpi(s, dpi);
    ShowToolCursor(s);
    KvToolbarApplyDpi(&s->bar, dpi);
    s->toolbarHeight = KvToolbarHeight(s->bar);
    if (s->canvas) SendMessageA(s->canvas, UM_OBS_ODSWIEZ, 0, 0);
    if (s->panel) SendMessageA(s->panel, UM_PNL_APPLY_DPI, (WPARAM)dpi, 0);
    KvTakeSuggestedRect(s->hwnd, lParam);
    RECT client;
    GetClientRect(s->hwnd, &client);
    OnSize(s, client.right, client.bottom);
}

void OnMinMaxInfo(const DesignerState* s, HWND hwnd, MINMAXINFO* mm) {
    KvSetMinimumTrackSize(mm, kMinWidth, kMinHeight, s && s->dpi ? s->dpi : KvDpiForWindow(hwnd));
}

void OnCommand(DesignerState* s, int id) {
    switch (id) {
        case CMD_DES_SAVE: CmdSave(s); return;
        case CMD_DES_CANCEL: DestroyWindow(s->hwnd); return;
        case CMD_DES_HELP: OpenHelp(s->hwnd, HELP_DESIGNER); return;
        case CMD_DES_FACTORS: CmdFactors(s); return;
        case CMD_DES_UNDO: CmdUndo(s, false); return;
        case CMD_DES_REDO: CmdUndo(s, true); return;
        case IDC_PNL_PRICE_LIST_USE: CmdUsePriceList(s); return;
        case IDC_PNL_PVC:
        case IDC_PNL_WOOD:
        case IDC_PNL_ALUMINIUM:
            s->windowRec->iProfSch = id - IDC_PNL_PVC;
            RefreshCanvas(s);
            RecordStep(s);
            return;
        case IDC_PNL_WHITE:
        case IDC_PNL_INTERNAL:
        case IDC_PNL_EXTERNAL:
        case IDC_PNL_DOUBLE: s->windowRec->iKolor = id - IDC_PNL_WHITE; return;
    }
    CmdTool(s, id);
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
            MultiByteToWideChar(CP_ACP, 0, tip, -1, di->szText,
                                (int)(sizeof di->szText / sizeof di->szText[0]));
            di->lpszText = di->szText;
        }
        return 0;
    }
    if (nm->idFrom != IDC_CANVAS || nm->hwndFrom != s->canvas) return 0;
    if (nm->code == kCanvasCodeFrame) ApplyToolState(s);
    if (nm->code == kCanvasCodeFrame || nm->code == kCanvasCodeChange) {
        UpdateFigures(s);
        RecordStep(s);  // a deletion tells only of the frame; a new frame of both (one step)
    }
    if (nm->code == kCanvasCodeMenu) ShowContextMenu(s, (const CanvasNotification*)nm);
    return 0;
}

LRESULT OnLimitCheck(DesignerState* s, const CanvasLimitQuery* arg) {
    return arg ? AnswerLimits(s->windowRec, arg) : 0;
}

LRESULT CALLBACK DesignerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    DesignerState* s = KvWindowState<DesignerState>(hwnd, msg, lp);
    if (msg == WM_GETMINMAXINFO) {  // comes before the state is attached, too
        OnMinMaxInfo(s, hwnd, (MINMAXINFO*)lp);
        return 0;
    }
    if (!s) return DefWindowProcA(hwnd, msg, wp, lp);
    switch (msg) {
        case WM_CREATE: return OnCreate(s, hwnd);
        case WM_SIZE: OnSize(s, LOWORD(lp), HIWORD(lp)); return 0;
        case WM_DPICHANGED: OnDpiChanged(s, wp, lp); return 0;
        case WM_COMMAND: OnCommand(s, LOWORD(wp)); return 0;
        case WM_MENUCOMMAND: OnMenuCommand(s, (int)wp, (HMENU)lp); return 0;
        case WM_NOTIFY: return OnNotify(s, (NMHDR*)lp);
        case WM_CLOSE: OnCommand(s, CMD_DES_CANCEL); return 0;
        case WM_HELP: OpenHelp(hwnd, HELP_DESIGNER); return TRUE;
        case UM_OBS_LIMITY: return OnLimitCheck(s, (const CanvasLimitQuery*)lp);
        case UM_DES_PROFILE_CHOSEN: return OnProfileChosen(s, (const char*)lp);
        case UM_DES_COLOR_CHOSEN: OnColourChosen(s); return 0;
        case UM_DES_MUNTIN_CHOSEN: return OnMuntinChosen(s, (const char*)lp);
        case UM_DES_CHOICES_END: s->history.EndPass(); return 0;
        case UM_DES_THICKNESS: return OnThickness(s, (int32_t)wp, (int)lp);
        case UM_DES_PRICE: OnPrice(s); return 0;
        case UM_DES_QUANTITY: return OnQuantity(s, (int32_t)wp);
        case UM_DES_NAMES: UpdatePriceList(s); return 0;
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

// The designer's keys: Ctrl+S, and on the canvas the tools' letters.
const KvKey kDesignerKeys[] = {
    {'S', true, false, CMD_DES_SAVE, 0},
    {'P', false, false, CMD_DES_POINTER, IDC_CANVAS},
    {'F', false, false, CMD_DES_FRAME, IDC_CANVAS},
    {'M', false, false, CMD_DES_MULLION, IDC_CANVAS},
    {'S', false, false, CMD_DES_SASH, IDC_CANVAS},
    {'G', false, false, CMD_DES_FILLING, IDC_CANVAS},
    {'U', false, false, CMD_DES_MUNTIN, IDC_CANVAS},
};

bool IsClass(HWND h, const char* name) {
    char cls[16] = "";
    return h && GetClassNameA(h, cls, (int)sizeof cls) && !lstrcmpiA(cls, name);
}

// An edit that takes typing: its own Ctrl+Z undoes the typing. The
// thickness fields are read-only edits, moved only by their spins.
bool IsTypingEdit(HWND h) { return IsClass(h, "Edit") && !(GetWindowLongA(h, GWL_STYLE) & ES_READONLY); }

// A drop-down list that is open takes its Escape itself.
bool InOpenDropDown(HWND h) {
    HWND combo = IsClass(h, "ComboBox") ? h : GetParent(h);
    return IsClass(combo, "ComboBox") && SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0);
}

// Page Up and Page Down scroll the panel unless the notes take them; the
// wheel always scrolls the panel; F1 opens the designer's help; Ctrl+Z
// undoes and Ctrl+Y or Ctrl+Shift+Z redoes a step, except in an edit that
// takes typing, where Ctrl+Z is the edit's own. Ctrl+Alt is AltGr on many
// keyboards (AltGr+Z types a letter), so it never undoes.
bool KeyFilter(DesignerState* s, MSG* m) {
    if (m->hwnd != s->hwnd && !IsChild(s->hwnd, m->hwnd)) return false;
    if (m->message == WM_KEYDOWN && (m->wParam == 'Z' || m->wParam == 'Y') && GetKeyState(VK_CONTROL) < 0 &&
        GetKeyState(VK_MENU) >= 0 && !IsTypingEdit(GetFocus())) {
        CmdUndo(s, m->wParam == 'Y' || GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    // Escape closes the canvas's dimension editor when it is open, else the
    // designer, as Cancel (Exit) does.
    if (m->message == WM_KEYDOWN && m->wParam == VK_ESCAPE && GetKeyState(VK_CONTROL) >= 0 &&
        !InOpenDropDown(m->hwnd)) {
        HWND editor = s->canvas ? GetDlgItem(s->canvas, IDC_CANVAS_EDIT) : nullptr;
        if (editor && IsWindowVisible(editor)) SendMessageA(s->canvas, UM_OBS_ZAMKNIJ_ED, 0, 0);
        else PostMessageA(s->hwnd, WM_COMMAND, CMD_DES_CANCEL, 0);
        return true;
    }
    if (KvDispatchKey(s->hwnd, s->bar.hwnd, kDesignerKeys,
                      (int)(sizeof kDesignerKeys / sizeof kDesignerKeys[0]), m))
        return true;
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
    s.windowRec = window;
    s.zam = order;
    s.draw = draw;
    s.editable = editable ? 1 : 0;
    if (order) s.orderValuation.zam.sWycenZamParam = order->sWycenZamParam;
    if (owner) EnableWindow(owner, FALSE);
    if (!RegisterDesignerClass()) {
        if (owner) EnableWindow(owner, TRUE);
        return 0;
    }
    HWND hwnd = CreateWindowExA(
        0, kDesignerClass, "Window", WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MAXIMIZE,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, Instance(), &s);
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
