// The login-and-password dialog. The password goes to the caller's
// processing function and is wiped from our buffer afterwards.
#include "widgora/widgora.h"
#include "widgora/widgora_rc.h"

namespace {

struct LoginParams {
    char* login;
    int loginCap;
    char* out;
    int passCap;
    void (*process)(const char*, char*);
};

// The password is read into half the output's capacity: the processing
// (a hex digest, say) may double its length.
int PasswordCap(const LoginParams* p) { return p->passCap / 2; }

BOOL OnInitDialog(HWND hwnd, LoginParams* p) {
    SetWindowLongPtrA(hwnd, DWLP_USER, (LONG_PTR)p);
    // The user cannot type more than the buffers hold; reading below is
    // bounded as well, for text that arrives some other way.
    SendDlgItemMessageA(hwnd, IDC_ED_USER, EM_LIMITTEXT, (WPARAM)(p->loginCap - 1), 0);
    SendDlgItemMessageA(hwnd, IDC_ED_PASSWORD, EM_LIMITTEXT, (WPARAM)(PasswordCap(p) - 1), 0);
    return TRUE;
}

void OnOk(HWND hwnd, LoginParams* p) {
    int cap = PasswordCap(p);
    char* password = (char*)HeapAlloc(hHeapDll, HEAP_ZERO_MEMORY, (size_t)cap);
    if (!password) {
        EndDialog(hwnd, 0);
        return;
    }
    GetDlgItemTextA(hwnd, IDC_ED_USER, p->login, p->loginCap);
    GetDlgItemTextA(hwnd, IDC_ED_PASSWORD, password, cap);
    if (p->process) p->process(password, p->out);
    SecureZeroMemory(password, (size_t)cap);
    HeapFree(hHeapDll, 0, password);
    EndDialog(hwnd, 1);
}

}  // namespace

extern "C" {

INT_PTR CALLBACK ProcDlgUzytkHaslo(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LoginParams* p = (LoginParams*)GetWindowLongPtrA(hwnd, DWLP_USER);
    switch (msg) {
        case WM_INITDIALOG: return OnInitDialog(hwnd, (LoginParams*)lParam);
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK && p) OnOk(hwnd, p);
            else if (LOWORD(wParam) == IDCANCEL) EndDialog(hwnd, 0);
            return TRUE;
        case WM_CLOSE: EndDialog(hwnd, 0); return TRUE;
    }
    return FALSE;
}

int WolajDlgUzytkHaslo(HWND owner, char* login, int loginCap, char* out, int passCap,
                       void (*process)(const char* password, char* out)) {
    if (!login || loginCap < 1 || passCap < 2) return 0;
    LoginParams p = {login, loginCap, out, passCap, process};
    INT_PTR r = DialogBoxParamA(hInstDll, MAKEINTRESOURCEA(IDD_DLG_USER_PASSWORD), owner, ProcDlgUzytkHaslo,
                                (LPARAM)&p);
    return r == 1 ? 1 : 0;
}

}  // extern "C"
