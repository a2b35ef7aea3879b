#include "util/library_win.h"

#include <stdio.h>

#include "util/kvutil.h"
#include "util/msgbox_win.h"

BOOL KvLibraryAttach(HINSTANCE module, HINSTANCE* instance, HANDLE* heap) {
    *instance = module;
    *heap = HeapCreate(0, 0, 0);
    if (!*heap) {
        KvShowSystemError(nullptr, "Error of creating HEAP", GetLastError());
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
