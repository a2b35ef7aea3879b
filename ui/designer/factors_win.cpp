// The Factors dialog.
#include "ui/designer/factors_win.h"

#include <stdint.h>
#include <string.h>

#include "ui/designer/designer_rc.h"
#include "util/dialog_fields_win.h"
#include "util/dpi_win.h"
#include "util/help_win.h"
#include "util/kvutil.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "util/psi_win.h"
#include "util/scoped_win.h"
#include "util/window_win.h"
#include "widgora/widgora.h"

namespace {

enum : int32_t { kUwEntered = 8 };  // status bit: Uw typed in, not computed

struct FactorsState {
    strOkno* windowRec;
    int editable;
};

// The eight factor fields in the order of the factor block, with their
// decimals as shown and the scale they are kept in (2: hundredths, 4:
// ten-thousandths).
struct Field {
    int id;
    int shown;
    int scale;
    const char* name;  // for the refusal of a number that does not fit
};
const Field kFactorFields[8] = {
    {IDC_FCT_UF_FRAME, 2, 2, "Uf for a frame without a sash"},
    {IDC_FCT_UF_FRAME_SASH, 2, 2, "Uf for a frame with a sash"},
    {IDC_FCT_UF_FIXED, 2, 2, "Uf for a fixed mullion"},
    {IDC_FCT_UF_FALSE, 2, 2, "Uf for a false mullion"},
    {IDC_FCT_UG_GLASS, 1, 2, "Ug for glass"},
    {IDC_FCT_PSI_GLASS, 3, 4, "psi for glass"},
    {IDC_FCT_UG_ACRYLIC, 1, 2, "Ug for acrylic"},
    {IDC_FCT_PSI_ACRYLIC, 3, 4, "psi for acrylic"},
};
const Field kUwField = {IDC_FCT_UW, 2, 2, "Uw"};

// The longest text whose every number fits 32 bits at the field's scale,
// as the settings' edits of the same factors take.
int MaxLength(const Field& f) { return f.scale == 4 ? 5 : 7; }

int32_t* FactorValues(strOkno* o) { return &o->sWspUw.ufRama; }

void Subclass(HWND edit, int decimals) {
    if (decimals == 1) ZalozPdklEdL1mPoPrzec(edit, nullptr);
    else if (decimals == 3) ZalozPdklEdL3mPoPrzec(edit, nullptr);
    else ZalozPdklEdL2mPoPrzec(edit, nullptr);
}

void ShowValue(HWND dlg, int id, int32_t value, int shown, int scale) {
    char text[KV_AMOUNT_LEN + 4];
    if (scale == 4) LLX10000NaNap(value, text);
    else LLX100NaNap(value, text);
    DopasujCzDzies(text, shown, nullptr);
    SetDlgItemTextA(dlg, id, text);
}

// The block holds 32-bit values: a number that does not fit is refused
// (with the field's message) rather than wrapped or cut to the largest.
bool ReadValue(HWND dlg, const Field& f, int32_t* value) {
    char text[64 + 8] = "";
    GetDlgItemTextA(dlg, f.id, text, 64);
    DopasujCzDzies(text, f.scale, nullptr);
    int64_t v = 0;
    if (!KvReadAmountText(text, f.scale == 4 ? 10000 : 100, INT32_MIN, INT32_MAX, &v)) {
        char msg[KV_MSG_LEN];
        KvMsg(msg, "Incorrect value in the field %s", f.name);
        KvShowError(dlg, msg);
        return false;
    }
    *value = (int32_t)v;
    return true;
}

void SwitchFields(FactorsState* s, HWND dlg) {
    bool direct = IsDlgButtonChecked(dlg, IDC_FCT_DIRECTLY) == BST_CHECKED;
    for (const Field& f : kFactorFields) AktDeaktKntrl(GetDlgItem(dlg, f.id), s->editable && !direct);
    AktDeaktKntrl(GetDlgItem(dlg, IDC_FCT_UW), s->editable && direct);
}

BOOL OnInit(FactorsState* s, HWND dlg) {
    const strOkno* o = s->windowRec;
    const int32_t* values = FactorValues(s->windowRec);
    for (int i = 0; i < 8; i++) {
        Subclass(GetDlgItem(dlg, kFactorFields[i].id), kFactorFields[i].shown);
        SendDlgItemMessageA(dlg, kFactorFields[i].id, EM_LIMITTEXT, MaxLength(kFactorFields[i]), 0);
        ShowValue(dlg, kFactorFields[i].id, values[i], kFactorFields[i].shown, kFactorFields[i].scale);
    }
    Subclass(GetDlgItem(dlg, IDC_FCT_UW), 2);
    SendDlgItemMessageA(dlg, IDC_FCT_UW, EM_LIMITTEXT, MaxLength(kUwField), 0);
    ShowValue(dlg, IDC_FCT_UW, o->uwZReki, 2, 2);
    CheckDlgButton(dlg, IDC_FCT_BY_RATES, BST_UNCHECKED);
    CheckDlgButton(dlg, IDC_FCT_DIRECTLY, BST_UNCHECKED);
    CheckDlgButton(dlg, (o->status & kUwEntered) ? IDC_FCT_DIRECTLY : IDC_FCT_BY_RATES, BST_CHECKED);
    SwitchFields(s, dlg);
    if (!s->editable) {
        EnableWindow(GetDlgItem(dlg, IDC_FCT_BY_RATES), FALSE);
        EnableWindow(GetDlgItem(dlg, IDC_FCT_DIRECTLY), FALSE);
        ShowWindow(GetDlgItem(dlg, IDOK), SW_HIDE);
        SetDlgItemTextA(dlg, IDCANCEL, "Exit");
    }
    return TRUE;
}

void CmdOk(FactorsState* s, HWND dlg) {
    if (!s->editable) return;
    strOkno* o = s->windowRec;
    // Everything is read before anything is stored: a refusal keeps the
    // dialog open and the record as it was.
    if (IsDlgButtonChecked(dlg, IDC_FCT_DIRECTLY) == BST_CHECKED) {
        int32_t uw = 0;
        if (!ReadValue(dlg, kUwField, &uw)) return;
        o->status |= kUwEntered;
        o->uwZReki = uw;
    } else {
        int32_t read[8];
        for (int i = 0; i < 8; i++)
            if (!ReadValue(dlg, kFactorFields[i], &read[i])) return;
        o->status &= ~kUwEntered;
        memcpy(FactorValues(o), read, sizeof read);
    }
    EndDialog(dlg, 1);
}

void OnCommand(FactorsState* s, HWND dlg, int id) {
    switch (id) {
        case IDOK: CmdOk(s, dlg); return;
        case IDCANCEL: EndDialog(dlg, 0); return;
        case 9: OpenHelp(dlg, HELP_FACTORS); return;
        case IDC_FCT_BY_RATES:
        case IDC_FCT_DIRECTLY:
            if (!s->editable) return;
            CheckRadioButton(dlg, IDC_FCT_BY_RATES, IDC_FCT_DIRECTLY, id);
            SwitchFields(s, dlg);
            return;
    }
}

// "g for glass:" right-aligned, with a psi ahead of it.
void DrawPsiLabel(const DRAWITEMSTRUCT* di) {
    HDC dc = di->hDC;
    RECT rc = di->rcItem;
    const char* text = di->CtlID == IDC_FCT_PSI_GLASS_LABEL ? "g for glass:" : "g for acrylic:";
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    ScopedSelect font(dc, (HGDIOBJ)SendMessageA(di->hwndItem, WM_GETFONT, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(dc, text, -1, &rc, DT_RIGHT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, (int)strlen(text), &size);
    KvPaintPsi(dc, rc.right - size.cx, rc.top, KvDpiForWindow(di->hwndItem), KvPsiForm::kRound,
               GetSysColor(COLOR_BTNTEXT));
}

INT_PTR CALLBACK FactorsProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    FactorsState* s = KvDialogState<FactorsState>(dlg, msg, lp);
    if (!s) return FALSE;
    switch (msg) {
        case WM_INITDIALOG: return OnInit(s, dlg);
        case WM_COMMAND: OnCommand(s, dlg, LOWORD(wp)); return TRUE;
        case WM_DRAWITEM: DrawPsiLabel((const DRAWITEMSTRUCT*)lp); return TRUE;
        case WM_HELP: OpenHelp(dlg, HELP_FACTORS); return TRUE;
    }
    return FALSE;
}

}  // namespace

int RunFactorsDialog(HWND owner, strOkno* window, int editable) {
    if (!window) return 0;
    FactorsState s = {window, editable ? 1 : 0};
    INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_FACTORS), owner, FactorsProc,
                                (LPARAM)&s);
    return r == 1 ? 1 : 0;
}
