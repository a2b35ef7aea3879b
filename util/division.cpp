// The rounding divisions of every price computation. Both work on unsigned
// magnitudes: that keeps -2^63 and a divisor of -1 away from the overflow
// of signed division, and lets the ratio be exact without a wider type.
#include "util/kvutil.h"

static uint64_t Magnitude(int64_t v) { return v < 0 ? 0 - (uint64_t)v : (uint64_t)v; }

// A magnitude with a sign, saturating at +-(2^63-1): no result of these
// routines is -2^63, which the amount scale leaves out.
static int64_t Signed(uint64_t mag, bool negative) {
    int64_t v = mag > (uint64_t)INT64_MAX ? INT64_MAX : (int64_t)mag;
    return negative ? -v : v;
}

// Rounding rule: the remainder (which has the sign of the dividend) raises
// the quotient when it is above half the divisor. So a positive dividend
// rounds to nearest with exact halves down, and a negative one is truncated
// toward zero. A negative divisor negates the result of its magnitude; no
// caller passes one, and this keeps the magnitude of a result independent
// of signs.
extern "C" int64_t DzielKwote(int64_t dividend, int64_t divisor) {
    if (divisor == 0) return 0;
    const uint64_t a = Magnitude(dividend), d = Magnitude(divisor);
    uint64_t q = a / d;
    if (dividend > 0 && a % d > d / 2) q++;
    return Signed(q, (dividend < 0) != (divisor < 0));
}

extern "C" int64_t DzielKwotaKursWal(int64_t dividend, int64_t divisor) {
    if (divisor == 0) return 0;
    const uint64_t a = Magnitude(dividend), d = Magnitude(divisor);
    const uint64_t q = a / d;
    uint64_t r = a % d;
    // Four decimal digits of r / d by long division. r < d <= 2^63, so
    // adding r to a running remainder below d never leaves 64 bits, where
    // r * 10 could.
    uint64_t frac = 0;
    for (int digit = 0; digit < 4; digit++) {
        uint64_t next = 0, count = 0;
        for (int i = 0; i < 10; i++) {
            next += r;
            if (next >= d) {
                next -= d;
                count++;
            }
        }
        frac = frac * 10 + count;
        r = next;
    }
    uint64_t mag;
    if (q > ((uint64_t)INT64_MAX - frac) / 10000) {
        mag = (uint64_t)INT64_MAX;
    } else {
        mag = q * 10000 + frac;
        if (dividend > 0 && r > d / 2) mag++;
    }
    return Signed(mag, (dividend < 0) != (divisor < 0));
}
