// Win32 half of the utility library's platform seam.
#include "platform.h"

#include <windows.h>
#include <string.h>

namespace kvplat {

uint32_t LastError() { return ::GetLastError(); }
void SetLastError(uint32_t code) { ::SetLastError(code); }

bool SystemMessage(uint32_t code, char* buf, int size) {
    if (!buf || size <= 0) return false;
    buf[0] = 0;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buf, (DWORD)size,
                             nullptr);
    if (n == 0) {
        buf[0] = 0;
        return false;
    }
    while (n > 0 && (buf[n - 1] == '\r' || buf[n - 1] == '\n')) buf[--n] = 0;
    return true;
}

void UpperCaseAnsi(char* text) {
    if (text && *text) CharUpperA(text);
}

}  // namespace kvplat
