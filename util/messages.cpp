// Error messages: the system's texts and the library's own numbering.
#include "kvutil.h"
#include "platform.h"

#include <string.h>

static char g_message[1024];

// Own codes carry the customer bit 0x20000000.
static const char* OwnMessage(uint32_t code) {
    switch (code) {
        case 0xE0000000u: return "Forbidden character after the character CR";
        case 0xE0000001u: return "Enable service TFTP while changing its settings is forbidden";
        default: return nullptr;
    }
}

extern "C" const char* DajKomunBledu(uint32_t code, int keepLastError) {
    g_message[0] = 0;
    if (code & 0x20000000u) {
        const char* own = OwnMessage(code);
        if (own) strcpy(g_message, own);
    } else {
        kvplat::SystemMessage(code, g_message, (int)sizeof(g_message));
    }
    if (keepLastError) kvplat::SetLastError(code);
    return g_message;
}
