#include "util/resample.h"

namespace {

// Where the centre of pixel `i` of `toN` falls among `fromN` pixels, in
// 1/256 of a pixel, kept inside the first and last centres.
int32_t Source(int i, int toN, int fromN) {
    int64_t s = ((2 * (int64_t)i + 1) * fromN * 256) / (2 * (int64_t)toN) - 128;
    if (s < 0) s = 0;
    if (s > (int64_t)(fromN - 1) * 256) s = (int64_t)(fromN - 1) * 256;
    return (int32_t)s;
}

uint32_t Channel(uint32_t p, int shift) { return (p >> shift) & 0xff; }

}  // namespace

bool KvResampleBilinear(const uint32_t* from, int fromW, int fromH, uint32_t* to, int toW, int toH) {
    if (!from || !to || fromW <= 0 || fromH <= 0 || toW <= 0 || toH <= 0) return false;
    for (int y = 0; y < toH; y++) {
        const int32_t sy = Source(y, toH, fromH);
        const int y0 = sy >> 8, y1 = y0 + 1 < fromH ? y0 + 1 : y0;
        const uint32_t fy = (uint32_t)(sy & 0xff);
        for (int x = 0; x < toW; x++) {
            const int32_t sx = Source(x, toW, fromW);
            const int x0 = sx >> 8, x1 = x0 + 1 < fromW ? x0 + 1 : x0;
            const uint32_t fx = (uint32_t)(sx & 0xff);
            const uint32_t a = from[(int64_t)y0 * fromW + x0], b = from[(int64_t)y0 * fromW + x1];
            const uint32_t c = from[(int64_t)y1 * fromW + x0], d = from[(int64_t)y1 * fromW + x1];
            uint32_t out = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const uint32_t top = Channel(a, shift) * (256 - fx) + Channel(b, shift) * fx;
                const uint32_t bottom = Channel(c, shift) * (256 - fx) + Channel(d, shift) * fx;
                const uint32_t v = (top * (256 - fy) + bottom * fy + 32768) >> 16;
                out |= v << shift;
            }
            to[(int64_t)y * toW + x] = out;
        }
    }
    return true;
}
