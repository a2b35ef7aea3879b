#include "util/msgbox_win.h"

#include <stdio.h>

#include "util/kvutil.h"

static KvMessageBoxHook g_hook;
static void* g_hookContext;

KvMessageBoxHook KvSetMessageBoxHook(KvMessageBoxHook hook, void* context) {
    KvMessageBoxHook previous = g_hook;
    g_hook = hook;
    g_hookContext = context;
    return previous;
}

int KvMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    if (g_hook) return g_hook(owner, text, caption, type, g_hookContext);
    return MessageBoxA(owner, text, caption, type);
}

void KvShowError(HWND owner, const char* text) { KvMessageBox(owner, text, "Error", MB_OK | MB_ICONERROR); }

void KvShowInfo(HWND owner, const char* text) {
    KvMessageBox(owner, text, "Information", MB_OK | MB_ICONINFORMATION);
}

bool KvAskYesNo(HWND owner, const char* text) {
    return KvMessageBox(owner, text, "Note", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

char* KvSystemErrorText(const char* what, DWORD code, char* buf, int size) {
    if (!buf || size <= 0) return buf;
    snprintf(buf, (size_t)size, "%s\r\n%s - %d", what, DajKomunBledu(code, 1), (int)code);
    return buf;
}

void KvShowSystemText(HWND owner, DWORD code) { KvShowError(owner, DajKomunBledu(code, 1)); }

void KvShowSystemError(HWND owner, const char* what, DWORD code) {
    char text[1024];
    KvMessageBox(owner, KvSystemErrorText(what, code, text, (int)sizeof text), "Error",
                 MB_OK | MB_ICONWARNING);
}
