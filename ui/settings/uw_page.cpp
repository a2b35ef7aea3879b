// The page "Default Uw rates": the thermal factors a new window starts with.
#include <new>

#include <string.h>

#include "ui/settings/settings_page_util.h"
#include "ui/settings/settings_pages.h"
#include "ui/settings/settings_rc.h"
#include "util/dpi_win.h"
#include "util/psi_win.h"
#include "util/scoped_win.h"
#include "widgora/widgora.h"

namespace {

// The eight edits in the order of the factor block, with the places each
// shows and the scale its field is kept in.
struct Factor {
    int edit;
    int decimals;
    int scale;      // 100: hundredths of W/(m2*K); 10000: ten-thousandths of W/(m*K)
    int maxLength;  // the longest text whose every number fits 32 bits at the scale
};
const Factor kFactors[8] = {
    {IDC_UF_FRAME, 2, 100, 7},         {IDC_UF_FRAME_SASH, 2, 100, 7}, {IDC_UF_FIXED_MULLION, 2, 100, 7},
    {IDC_UF_FALSE_MULLION, 2, 100, 7}, {IDC_UG_GLASS, 1, 100, 7},      {IDC_PSI_GLASS, 3, 10000, 5},
    {IDC_UG_ACRYLIC, 1, 100, 7},       {IDC_PSI_ACRYLIC, 3, 10000, 5},
};
static_assert(sizeof(strWspUw) == sizeof(int32_t) * 8, "one edit per factor");

struct UwPage {
    strWspUw* uw;       // the caller's block
    char shown[8][32];  // the texts the edits were filled with
};

int32_t* FactorField(strWspUw* uw, int i) { return (int32_t*)uw + i; }

void OnLoad(UwPage* p, HWND dlg) {
    for (int i = 0; i < 8; i++) {
        const Factor& f = kFactors[i];
        FixedPointText(*FactorField(p->uw, i), f.scale, f.decimals, p->shown[i]);
        SetDlgItemTextA(dlg, f.edit, p->shown[i]);
    }
}

void OnStore(UwPage* p, HWND dlg) {
    for (int i = 0; i < 8; i++) {
        const Factor& f = kFactors[i];
        char text[32] = "";
        GetDlgItemTextA(dlg, f.edit, text, sizeof text);
        // A factor with more places than its edit shows (1.15 in a
        // one-place edit) keeps its value unless the user changed the text.
        if (strcmp(text, p->shown[i]) == 0) continue;
        KvReadAmount32(GetDlgItem(dlg, f.edit), f.scale, 0, INT32_MAX, FactorField(p->uw, i));
    }
}

void OnDrawItem(UwPage*, const DRAWITEMSTRUCT* di) {
    char text[64] = "";
    GetWindowTextA(di->hwndItem, text, sizeof text);
    FillRect(di->hDC, &di->rcItem, GetSysColorBrush(COLOR_BTNFACE));
    HFONT font = (HFONT)SendMessageA(di->hwndItem, WM_GETFONT, 0, 0);
    ScopedSelect selectFont(di->hDC, font);
    PaintPsiLabel(di->hDC, di->rcItem, text, KvDpiForWindow(di->hwndItem));
}

// The labels of the column are left-aligned; a linear factor's label is
// narrowed to its psi and its text, so that the text, right-aligned in it,
// lines up with them and the psi stands where their first letter does.
void FitPsiLabel(HWND label) {
    char text[64] = "";
    GetWindowTextA(label, text, sizeof text);
    SIZE size = {};
    {
        ScopedWindowDC dc(label);
        ScopedSelect font(dc, (HFONT)SendMessageA(label, WM_GETFONT, 0, 0));
        GetTextExtentPoint32A(dc, text, (int)strlen(text), &size);
    }
    RECT r;
    GetWindowRect(label, &r);
    SetWindowPos(label, nullptr, 0, 0, size.cx + KvPsiWidth(KvDpiForWindow(label)), r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL OnInitDialog(UwPage* p, HWND dlg) {
    FitPsiLabel(GetDlgItem(dlg, IDC_PSI_GLASS_LABEL));
    FitPsiLabel(GetDlgItem(dlg, IDC_PSI_ACRYLIC_LABEL));
    for (const Factor& f : kFactors) {
        HWND edit = GetDlgItem(dlg, f.edit);
        if (f.decimals == 1) ZalozPdklEdL1mPoPrzec(edit, nullptr);
        else if (f.decimals == 2) ZalozPdklEdL2mPoPrzec(edit, nullptr);
        else ZalozPdklEdL3mPoPrzec(edit, nullptr);
        SendMessageA(edit, EM_LIMITTEXT, f.maxLength, 0);
    }
    OnLoad(p, dlg);
    return FALSE;
}

const KvPageHandlers<UwPage> kHandlers = {OnInitDialog, OnLoad,  OnStore, nullptr, OnDrawItem,
                                          nullptr,      nullptr, false,   false};

}  // namespace

void PaintPsiLabel(HDC dc, const RECT& r, const char* text, int dpi) {
    RECT measure = r;
    DrawTextA(dc, text, -1, &measure, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const int textWidth = measure.right - measure.left;
    RECT box = r;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextA(dc, text, -1, &box, DT_RIGHT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    KvPaintPsi(dc, r.right - textWidth, r.top, dpi, KvPsiForm::kSquare, GetSysColor(COLOR_WINDOWTEXT));
}

HWND CreateUwPage(HWND parent, strWspUw* factors) {
    if (!factors) return nullptr;
    UwPage* p = new (std::nothrow) UwPage;
    if (!p) return nullptr;
    p->uw = factors;
    memset(p->shown, 0, sizeof p->shown);
    return CreatePageDialog(parent, IDD_PAGE_UW, KvPageProc<UwPage, kHandlers>, p);
}
