#include "msgbox.h"

int KvMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    return MessageBoxA(owner, text, caption, type);
}
