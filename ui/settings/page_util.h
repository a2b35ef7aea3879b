// page_util.h - small helpers shared by the settings pages.
#ifndef KV_UI_SETTINGS_PAGE_UTIL_H
#define KV_UI_SETTINGS_PAGE_UTIL_H

#include <windows.h>

#include <stddef.h>

// Sets a control's text from a fixed-width field that may lack its
// terminator (a damaged row): at most width - 1 characters are shown.
void SetFieldText(HWND dlg, int id, const char* field, size_t width);

// Reads a control's text into a fixed-width field, cut to width - 1
// characters and terminated.
void GetFieldText(HWND dlg, int id, char* field, size_t width);

// The module whose resources hold the page templates (the program's own).
HINSTANCE PageInstance();

#endif  // KV_UI_SETTINGS_PAGE_UTIL_H
