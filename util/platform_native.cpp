// Native stand-in for the platform seam: the build that runs the portable
// tests under the sanitizers.
#include "platform.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

namespace kvplat {

static thread_local uint32_t t_lastError;

uint32_t LastError() { return t_lastError; }
void SetLastError(uint32_t code) { t_lastError = code; }

bool SystemMessage(uint32_t code, char* buf, int size) {
    if (!buf || size <= 0) return false;
    buf[0] = 0;
    if (code == 0) {
        snprintf(buf, (size_t)size, "The operation completed successfully.");
        return true;
    }
    return false;
}

void UpperCaseAnsi(char* text) {
    for (; text && *text; text++) {
        if (*text >= 'a' && *text <= 'z') *text = (char)(*text - 'a' + 'A');
    }
}

}  // namespace kvplat
