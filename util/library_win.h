// library_win.h - start-up and shut-down shared by the two DLLs.
#ifndef KV_UTIL_LIBRARY_WIN_H
#define KV_UTIL_LIBRARY_WIN_H

#include <windows.h>

// Process attach: remembers the module and creates the library's private
// heap. On failure shows "Error of creating HEAP" and returns FALSE, which
// refuses the load.
BOOL KvLibraryAttach(HINSTANCE module, HINSTANCE* instance, HANDLE* heap);
// Process detach: forgets the module and destroys the heap.
void KvLibraryDetach(HINSTANCE* instance, HANDLE* heap);

#endif
