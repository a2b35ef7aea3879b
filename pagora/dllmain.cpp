// pagora.dll start-up: its module handle and private heap.
#include "library_win.h"
#include "pagora.h"

extern "C" {
HINSTANCE hInstDll;
HANDLE hHeapDll;
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    switch (reason) {
        case DLL_PROCESS_ATTACH: return KvLibraryAttach(module, &hInstDll, &hHeapDll);
        case DLL_PROCESS_DETACH: KvLibraryDetach(&hInstDll, &hHeapDll); break;
    }
    return TRUE;
}
