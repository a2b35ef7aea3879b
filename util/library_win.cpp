#include "util/library_win.h"

#include <stdio.h>

#include "util/kvutil.h"
#include "util/msgbox_win.h"

BOOL KvLibraryAttach(HINSTANCE module, HINSTANCE* instance, HANDLE* heap) {
    *instance = module;
    *heap = HeapCreate(0, 0, 0);
    if (!*heap) {
        DWORD code = GetLastError();
        char text[1024];
        snprintf(text, sizeof text, "Error of creating HEAP\r\n%s - %d", DajKomunBledu(code, 1),
                 (int)code);
        KvMessageBox(nullptr, text, "Error", MB_OK | MB_ICONWARNING);
        *instance = nullptr;
        return FALSE;
    }
    return TRUE;
}

void KvLibraryDetach(HINSTANCE* instance, HANDLE* heap) {
    *instance = nullptr;
    if (*heap) HeapDestroy(*heap);
    *heap = nullptr;
}
