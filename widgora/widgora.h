// widgora.h - the control library: numeric and spin edits, control
// switching, list-box tooltips and menus, the wait and login dialogs; it also
// exports the utility library (kvutil.h).
#ifndef WIDGORA_H
#define WIDGORA_H

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

#endif  // WIDGORA_H
