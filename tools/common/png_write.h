// png_write.h - the developer tools' picture writer.
#ifndef KV_TOOLS_PNG_WRITE_H
#define KV_TOOLS_PNG_WRITE_H

#include <windows.h>

#include <stdio.h>

// Writes a 24-bit PNG of `w` x `h` pixels 0x00RRGGBB, top row first (as a
// MemoryDC holds them), to `f`. No compressor: the image data is a zlib
// stream of stored deflate blocks, which every reader takes. False when a
// write fails; closing the file is the caller's.
bool WritePng(const DWORD* px, int w, int h, FILE* f);

#endif  // KV_TOOLS_PNG_WRITE_H
