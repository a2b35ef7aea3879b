// pagora.h - the print library: printing a list of enhanced-metafile pages
// with the print dialog, progress and abort, and the print preview window;
// it also exports the utility library (kvutil.h).
#ifndef PAGORA_H
#define PAGORA_H

#include <windows.h>

#include "kvutil.h"

#ifdef __cplusplus
extern "C" {
#endif

// The library's module and its private heap (valid while it is loaded).
extern HINSTANCE hInstDll;
extern HANDLE hHeapDll;

#ifdef __cplusplus
}
#endif

#endif  // PAGORA_H
