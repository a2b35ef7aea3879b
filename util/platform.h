// platform.h - the system services behind the portable utility code.
//
// platform_win.cpp implements them with Win32; platform_native.cpp gives the
// native build (and its tests) a small stand-in whose state a test can set.
#ifndef KV_UTIL_PLATFORM_H
#define KV_UTIL_PLATFORM_H

#include <stdint.h>

namespace kvplat {

uint32_t LastError();
void SetLastError(uint32_t code);

// The system's message text for an error code, in the user's language, with
// the trailing line break removed. Returns false (and an empty text) when the
// system has none. Writes at most size bytes, terminator included.
bool SystemMessage(uint32_t code, char* buf, int size);

// Upper-cases an ANSI text in place the way the system does (CharUpperA on
// Windows; ASCII letters natively).
void UpperCaseAnsi(char* text);

}  // namespace kvplat

#endif  // KV_UTIL_PLATFORM_H
