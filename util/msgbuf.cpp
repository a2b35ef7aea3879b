#include "util/msgbuf.h"

#include <stdarg.h>
#include <stdio.h>

void KvMsg(char* msg, const char* fmt, ...) {
    if (!msg) return;
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(msg, KV_MSG_LEN, fmt, ap);
    va_end(ap);
}
