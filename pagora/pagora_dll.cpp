// pagora.dll start-up: its module handle and private heap, and the road of
// its message boxes.
#include "pagora/pagora.h"
#include "util/library_win.h"
#include "util/msgbox_win.h"

extern "C" {
HINSTANCE hInstDll;
HANDLE hHeapDll;

PagoraMessageHook UstawHakKomunikatow(PagoraMessageHook hook, void* context) {
    return KvSetMessageBoxHook(hook, context);
}
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    switch (reason) {
        case DLL_PROCESS_ATTACH: return KvLibraryAttach(module, &hInstDll, &hHeapDll);
        case DLL_PROCESS_DETACH: KvLibraryDetach(&hInstDll, &hHeapDll); break;
    }
    return TRUE;
}
