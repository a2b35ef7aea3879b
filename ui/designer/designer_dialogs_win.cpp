// dialogs_win.cpp - "Dimension of frame", the grid dialog and "New filling
// name". Each keeps its state in the caller's record, attached at
// WM_INITDIALOG; refusals are shown and the dialog stays open.
#include "ui/designer/designer_dialogs_win.h"

#include <commctrl.h>
#include <string.h>

#include "model/structure.h"
#include "ui/designer/limits.h"
#include "util/help_win.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "util/window_win.h"

namespace {

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

// Moves the dialog's top-left corner to `pkt` when its bottom then stays
// above the bottom of the screen.
void MoveToPoint(HWND dlg, POINT pkt, bool zawsze) {
    RECT r;
    GetWindowRect(dlg, &r);
    if (zawsze || pkt.y + (r.bottom - r.top) < GetSystemMetrics(SM_CYSCREEN))
        SetWindowPos(dlg, nullptr, pkt.x, pkt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A field read as an unsigned number: digits only (blanks around allowed),
// at most 9 of them so that the value fits; 0 when it is not such a number.
bool ReadNumber(HWND dlg, int id, int32_t* v) {
    char t[64];
    GetDlgItemTextA(dlg, id, t, sizeof t);
    const char* s = t;
    while (*s == ' ') s++;
    int32_t n = 0;
    int cyfry = 0;
    while (*s >= '0' && *s <= '9') {
        if (++cyfry > 9) return false;
        n = n * 10 + (*s++ - '0');
    }
    while (*s == ' ') s++;
    if (!cyfry || *s) return false;
    *v = n;
    return true;
}

// ---- Dimension of frame ----------------------------------------------------

struct FrameDimensionState {
    HWND canvasWnd;
    CanvasParams* p;
    uniOperRys* rama;
    POINT curPoint;
};

void FrameDimensionOk(HWND dlg, FrameDimensionState* s) {
    char msg[KV_MSG_LEN];
    int32_t szer = 0, wys = 0;
    if (!ReadNumber(dlg, IDC_DIMENSION_WIDTH, &szer) || szer == 0) {
        KvShowError(dlg, "Incorrect value in the field Width");
        return;
    }
    if (!ReadNumber(dlg, IDC_DIMENSION_HEIGHT, &wys) || wys == 0) {
        KvShowError(dlg, "Incorrect value in the field Height");
        return;
    }
    uniOperRys r = *s->rama;
    r.rama.x0 = r.rama.y0 = 0;
    r.rama.x1 = szer;
    r.rama.y1 = wys;
    // The inner outline from the frame's thickness: the frame alone is a
    // list of one.
    if (!ComputeElement(&r, 1, 0, s->p->format, s->p->windowRec, msg) ||
        !CanvasCheckLimits(s->canvasWnd, &r, 1, kLimAppend, msg)) {
        KvShowError(dlg, msg);
        return;
    }
    *s->rama = r;
    EndDialog(dlg, 1);
}

INT_PTR CALLBACK FrameDimensionProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    FrameDimensionState* s = KvDialogState<FrameDimensionState>(dlg, msg, lp);
    if (!s) return FALSE;
    switch (msg) {
        case WM_INITDIALOG:
            MoveToPoint(dlg, s->curPoint, false);
            s->rama->rama.x0 = s->rama->rama.y0 = 0;
            SendDlgItemMessageA(dlg, IDC_DIMENSION_WIDTH, EM_LIMITTEXT, 9, 0);
            SendDlgItemMessageA(dlg, IDC_DIMENSION_HEIGHT, EM_LIMITTEXT, 9, 0);
            SetFocus(GetDlgItem(dlg, IDC_DIMENSION_WIDTH));
            return FALSE;
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case IDOK: FrameDimensionOk(dlg, s); return TRUE;
                case IDCANCEL: EndDialog(dlg, 0); return TRUE;
                case IDHELP: OpenHelp(dlg, HELP_FRAME_DIMENSION); return TRUE;
            }
            return FALSE;
        case WM_HELP: OpenHelp(dlg, HELP_FRAME_DIMENSION); return TRUE;
    }
    return FALSE;
}

// ---- Grid --------------------------------------------------------------------

void GridOk(HWND dlg, GridDialogData* s) {
    BOOL blad = FALSE;
    const int h = (int)SendDlgItemMessageA(dlg, IDC_GRID_HORIZONTAL_SPIN, UDM_GETPOS32, 0, (LPARAM)&blad);
    if (blad || h < 0 || h > 100) {
        KvShowError(dlg, "Incorrect horizontally number");
        return;
    }
    const int v = (int)SendDlgItemMessageA(dlg, IDC_GRID_VERTICAL_SPIN, UDM_GETPOS32, 0, (LPARAM)&blad);
    if (blad || v < 0 || v > 100) {
        KvShowError(dlg, "Incorrect vertically number");
        return;
    }
    s->horizontalCount = h;
    s->verticalCount = v;
    EndDialog(dlg, 1);
}

INT_PTR CALLBACK GridProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    GridDialogData* s = KvDialogState<GridDialogData>(dlg, msg, lp);
    if (!s) return FALSE;
    switch (msg) {
        case WM_INITDIALOG:
            SetWindowTextA(dlg, s->mullionGrid ? "Insert mullions" : "Insert muntins");
            MoveToPoint(dlg, s->curPoint, true);
            SendDlgItemMessageA(dlg, IDC_GRID_HORIZONTAL_SPIN, UDM_SETRANGE32, 0, 100);
            SendDlgItemMessageA(dlg, IDC_GRID_VERTICAL_SPIN, UDM_SETRANGE32, 0, 100);
            SendDlgItemMessageA(dlg, IDC_GRID_HORIZONTAL_SPIN, UDM_SETPOS32, 0, 0);
            SendDlgItemMessageA(dlg, IDC_GRID_VERTICAL_SPIN, UDM_SETPOS32, 0, 0);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case IDOK: GridOk(dlg, s); return TRUE;
                case IDCANCEL: EndDialog(dlg, 0); return TRUE;
                case IDHELP: OpenHelp(dlg, HELP_GRID); return TRUE;
            }
            return FALSE;
        case WM_HELP: OpenHelp(dlg, HELP_GRID); return TRUE;
    }
    return FALSE;
}

// ---- New filling name ------------------------------------------------------------

void NewFillingOk(HWND dlg, NewFilling* w) {
    char t[kFillingNameLen];
    GetDlgItemTextA(dlg, IDC_NEW_FILLING_NAME, t, sizeof t);
    const char* s = t;
    while (*s == ' ' || *s == '\t') s++;
    size_t n = strlen(s);
    while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == '\t')) n--;
    memset(w->nazwa, 0, sizeof w->nazwa);
    memcpy(w->nazwa, s, n);
    if (n == 0) {
        KvShowError(dlg, "Empty name");
        return;
    }
    w->typ = IsDlgButtonChecked(dlg, IDC_NEW_FILLING_GLASS) == BST_CHECKED ? 0 : 1;
    EndDialog(dlg, 1);
}

INT_PTR CALLBACK NewFillingProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    NewFilling* w = KvDialogState<NewFilling>(dlg, msg, lp);
    if (!w) return FALSE;
    switch (msg) {
        case WM_INITDIALOG:
            SendDlgItemMessageA(dlg, IDC_NEW_FILLING_NAME, EM_LIMITTEXT, kFillingNameLen - 1, 0);
            CheckRadioButton(dlg, IDC_NEW_FILLING_GLASS, IDC_NEW_FILLING_ACRYLIC, IDC_NEW_FILLING_GLASS);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case IDC_NEW_FILLING_GLASS:
                case IDC_NEW_FILLING_ACRYLIC:
                    CheckRadioButton(dlg, IDC_NEW_FILLING_GLASS, IDC_NEW_FILLING_ACRYLIC, LOWORD(wp));
                    return TRUE;
                case IDOK: NewFillingOk(dlg, w); return TRUE;
                case IDCANCEL: EndDialog(dlg, 0); return TRUE;
                case IDHELP: OpenHelp(dlg, HELP_NEW_FILLING); return TRUE;
            }
            return FALSE;
        case WM_HELP: OpenHelp(dlg, HELP_NEW_FILLING); return TRUE;
    }
    return FALSE;
}

}  // namespace

int DialogFrameDimension(HWND obs, CanvasParams* param, uniOperRys* rama, POINT pkt) {
    if (!param || !rama) return 0;
    FrameDimensionState s = {obs, param, rama, pkt};
    return DialogBoxParamA(Module(), MAKEINTRESOURCEA(IDD_FRAME_DIMENSION), obs, FrameDimensionProc, (LPARAM)&s) == 1;
}

int DialogGrid(HWND owner, GridDialogData* s) {
    if (!s) return 0;
    return DialogBoxParamA(Module(), MAKEINTRESOURCEA(IDD_GRID), owner, GridProc, (LPARAM)s) == 1;
}

int DialogNewFilling(HWND owner, NewFilling* w) {
    if (!w) return 0;
    return DialogBoxParamA(Module(), MAKEINTRESOURCEA(IDD_NEW_FILLING), owner, NewFillingProc, (LPARAM)w) == 1;
}
