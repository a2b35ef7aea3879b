// The version text shown in the start window and the about box.
#include "util/kvutil.h"

#include <string.h>

static char g_version[128];

extern "C" const char* DajWersje(const char* tag) {
    static const char kPrefix[] = "version: ";
    strcpy(g_version, kPrefix);
    size_t out = sizeof(kPrefix) - 1;
    const char* p = tag ? strchr(tag, '-') : nullptr;
    if (p) {
        for (p++; *p && *p != ' ' && *p != '\t' && out + 1 < sizeof(g_version); p++) {
            g_version[out++] = (*p == '-') ? '.' : *p;
        }
    }
    g_version[out] = 0;
    return g_version;
}
