// resample.h - resizing a picture smoothly: each pixel of the new size takes
// the four nearest pixels of the old one, weighted by how near they are
// (bilinear), so that a picture drawn for 96 dpi shows without steps at 150
// or 200 %.
#ifndef KV_UTIL_RESAMPLE_H
#define KV_UTIL_RESAMPLE_H

#include <stdint.h>

// `from` is fromW x fromH pixels of 0xAARRGGBB, rows top to bottom; `to`
// receives toW x toH of them. Pixel centres line up, so that corners stay
// the corners' colours and a picture of one colour stays that colour. False
// (nothing written) for an empty size on either side.
bool KvResampleBilinear(const uint32_t* from, int fromW, int fromH, uint32_t* to, int toW, int toH);

#endif  // KV_UTIL_RESAMPLE_H
