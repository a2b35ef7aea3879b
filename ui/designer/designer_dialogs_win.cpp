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

HINSTANCE Modul() { return GetModuleHandleA(nullptr); }

// Moves the dialog's top-left corner to `pkt` when its bottom then stays
// above the bottom of the screen.
void NaPunkt(HWND dlg, POINT pkt, bool zawsze) {
    RECT r;
    GetWindowRect(dlg, &r);
    if (zawsze || pkt.y + (r.bottom - r.top) < GetSystemMetrics(SM_CYSCREEN))
        SetWindowPos(dlg, nullptr, pkt.x, pkt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A field read as an unsigned number: digits only (blanks around allowed),
// at most 9 of them so that the value fits; 0 when it is not such a number.
bool CzytajLiczbe(HWND dlg, int id, int32_t* v) {
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

struct WymiarRamy {
    HWND obs;
    strParamObsProj* p;
    uniOperRys* rama;
    POINT pkt;
};

void WymiarOk(HWND dlg, WymiarRamy* s) {
    char msg[KV_MSG_LEN];
    int32_t szer = 0, wys = 0;
    if (!CzytajLiczbe(dlg, IDC_WYMIAR_SZER, &szer) || szer == 0) {
        KvShowError(dlg, "Incorrect value in the field Width");
        return;
    }
    if (!CzytajLiczbe(dlg, IDC_WYMIAR_WYS, &wys) || wys == 0) {
        KvShowError(dlg, "Incorrect value in the field Height");
        return;
    }
    uniOperRys r = *s->rama;
    r.rama.x0 = r.rama.y0 = 0;
    r.rama.x1 = szer;
    r.rama.y1 = wys;
    // The inner outline from the frame's thickness: the frame alone is a
    // list of one.
    if (!ObliczElement(&r, 1, 0, s->p->format, s->p->okno, msg) ||
        !ObsProjSprawdzLimity(s->obs, &r, 1, kLimDolacz, msg)) {
        KvShowError(dlg, msg);
        return;
    }
    *s->rama = r;
    EndDialog(dlg, 1);
}

INT_PTR CALLBACK WymiarProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    WymiarRamy* s = KvDialogState<WymiarRamy>(dlg, msg, lp);
    if (!s) return FALSE;
    switch (msg) {
        case WM_INITDIALOG:
            NaPunkt(dlg, s->pkt, false);
            s->rama->rama.x0 = s->rama->rama.y0 = 0;
            SendDlgItemMessageA(dlg, IDC_WYMIAR_SZER, EM_LIMITTEXT, 9, 0);
            SendDlgItemMessageA(dlg, IDC_WYMIAR_WYS, EM_LIMITTEXT, 9, 0);
            SetFocus(GetDlgItem(dlg, IDC_WYMIAR_SZER));
            return FALSE;
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case IDOK: WymiarOk(dlg, s); return TRUE;
                case IDCANCEL: EndDialog(dlg, 0); return TRUE;
                case IDHELP: OpenHelp(dlg, HELP_WYMIAR_RAMY); return TRUE;
            }
            return FALSE;
        case WM_HELP: OpenHelp(dlg, HELP_WYMIAR_RAMY); return TRUE;
    }
    return FALSE;
}

// ---- Grid --------------------------------------------------------------------

void SiatkaOk(HWND dlg, strSiatka* s) {
    BOOL blad = FALSE;
    const int h = (int)SendDlgItemMessageA(dlg, IDC_SIATKA_POZ_SPIN, UDM_GETPOS32, 0, (LPARAM)&blad);
    if (blad || h < 0 || h > 100) {
        KvShowError(dlg, "Incorrect horizontally number");
        return;
    }
    const int v = (int)SendDlgItemMessageA(dlg, IDC_SIATKA_PION_SPIN, UDM_GETPOS32, 0, (LPARAM)&blad);
    if (blad || v < 0 || v > 100) {
        KvShowError(dlg, "Incorrect vertically number");
        return;
    }
    s->poziomo = h;
    s->pionowo = v;
    EndDialog(dlg, 1);
}

INT_PTR CALLBACK SiatkaProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    strSiatka* s = KvDialogState<strSiatka>(dlg, msg, lp);
    if (!s) return FALSE;
    switch (msg) {
        case WM_INITDIALOG:
            SetWindowTextA(dlg, s->slupki ? "Insert mullions" : "Insert muntins");
            NaPunkt(dlg, s->pkt, true);
            SendDlgItemMessageA(dlg, IDC_SIATKA_POZ_SPIN, UDM_SETRANGE32, 0, 100);
            SendDlgItemMessageA(dlg, IDC_SIATKA_PION_SPIN, UDM_SETRANGE32, 0, 100);
            SendDlgItemMessageA(dlg, IDC_SIATKA_POZ_SPIN, UDM_SETPOS32, 0, 0);
            SendDlgItemMessageA(dlg, IDC_SIATKA_PION_SPIN, UDM_SETPOS32, 0, 0);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case IDOK: SiatkaOk(dlg, s); return TRUE;
                case IDCANCEL: EndDialog(dlg, 0); return TRUE;
                case IDHELP: OpenHelp(dlg, HELP_SIATKA); return TRUE;
            }
            return FALSE;
        case WM_HELP: OpenHelp(dlg, HELP_SIATKA); return TRUE;
    }
    return FALSE;
}

// ---- New filling name ------------------------------------------------------------

void NazwaOk(HWND dlg, strNowyWypeln* w) {
    char t[kNazwaWypelnLen];
    GetDlgItemTextA(dlg, IDC_NOWY_WYPELN_NAZWA, t, sizeof t);
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
    w->typ = IsDlgButtonChecked(dlg, IDC_NOWY_WYPELN_SZKLO) == BST_CHECKED ? 0 : 1;
    EndDialog(dlg, 1);
}

INT_PTR CALLBACK NazwaProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    strNowyWypeln* w = KvDialogState<strNowyWypeln>(dlg, msg, lp);
    if (!w) return FALSE;
    switch (msg) {
        case WM_INITDIALOG:
            SendDlgItemMessageA(dlg, IDC_NOWY_WYPELN_NAZWA, EM_LIMITTEXT, kNazwaWypelnLen - 1, 0);
            CheckRadioButton(dlg, IDC_NOWY_WYPELN_SZKLO, IDC_NOWY_WYPELN_AKRYL, IDC_NOWY_WYPELN_SZKLO);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case IDC_NOWY_WYPELN_SZKLO:
                case IDC_NOWY_WYPELN_AKRYL:
                    CheckRadioButton(dlg, IDC_NOWY_WYPELN_SZKLO, IDC_NOWY_WYPELN_AKRYL, LOWORD(wp));
                    return TRUE;
                case IDOK: NazwaOk(dlg, w); return TRUE;
                case IDCANCEL: EndDialog(dlg, 0); return TRUE;
                case IDHELP: OpenHelp(dlg, HELP_NOWY_WYPELN); return TRUE;
            }
            return FALSE;
        case WM_HELP: OpenHelp(dlg, HELP_NOWY_WYPELN); return TRUE;
    }
    return FALSE;
}

}  // namespace

int DialogWymiarRamy(HWND obs, strParamObsProj* param, uniOperRys* rama, POINT pkt) {
    if (!param || !rama) return 0;
    WymiarRamy s = {obs, param, rama, pkt};
    return DialogBoxParamA(Modul(), MAKEINTRESOURCEA(IDD_WYMIAR_RAMY), obs, WymiarProc, (LPARAM)&s) == 1;
}

int DialogSiatka(HWND owner, strSiatka* s) {
    if (!s) return 0;
    return DialogBoxParamA(Modul(), MAKEINTRESOURCEA(IDD_SIATKA), owner, SiatkaProc, (LPARAM)s) == 1;
}

int DialogNowyWypeln(HWND owner, strNowyWypeln* w) {
    if (!w) return 0;
    return DialogBoxParamA(Modul(), MAKEINTRESOURCEA(IDD_NOWY_WYPELN), owner, NazwaProc, (LPARAM)w) == 1;
}
