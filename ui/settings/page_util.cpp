#include "page_util.h"

#include <string.h>

void SetFieldText(HWND dlg, int id, const char* field, size_t width) {
    char text[1024];
    size_t n = strnlen(field, width < sizeof text ? width : sizeof text);
    if (n >= width) n = width - 1;
    memcpy(text, field, n);
    text[n] = 0;
    SetDlgItemTextA(dlg, id, text);
}

void GetFieldText(HWND dlg, int id, char* field, size_t width) {
    // GetDlgItemText cuts to the buffer and always terminates it.
    if (!GetDlgItemTextA(dlg, id, field, (int)width)) field[0] = 0;
}

HINSTANCE PageInstance() { return GetModuleHandleA(nullptr); }
