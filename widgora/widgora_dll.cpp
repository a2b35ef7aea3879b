// widgora.dll start-up: its module handle and private heap, and the road of
// its message boxes.
#include "util/library_win.h"
#include "util/msgbox_win.h"
#include "widgora/widgora.h"

extern "C" {
HINSTANCE hInstDll;
HANDLE hHeapDll;

// The library carries its own copy of the message-box seam; a host program
// (or a test) that wants the library's boxes hooks them here.
WidgoraMessageHook UstawHakKomunikatow(WidgoraMessageHook hook, void* context) {
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
