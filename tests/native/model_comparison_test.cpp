// An accessory's size: exact at every edge, refused only when the result
// itself does not fit.
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include "model/comparison.h"

namespace {

constexpr int64_t kMax = INT64_MAX;

TEST(AccessorySize, ExactUpToTheLargestResultThatFits) {
    struct {
        int32_t ilWym;
        int64_t w[3];  // ten-thousandths
        int fits;
        int64_t size;  // ten-thousandths
    } cases[] = {
        // No dimensions, whatever the fields hold.
        {0, {5, 5, 5}, 1, 0},
        {0, {kMax, kMax, kMax}, 1, 0},
        // Typical sizes and their rounding (half away from zero).
        {1, {12500, 0, 0}, 1, 12500},
        {2, {12500, 8000, 0}, 1, 10000},
        {2, {3333, 3333, 0}, 1, 1111},  // 0.11108889
        {2, {15, 3333, 0}, 1, 5},       // 0.00049995
        {2, {-15, 3333, 0}, 1, -5},
        {3, {20000, 15000, 5000}, 1, 15000},
        {3, {kMax, kMax, 0}, 1, 0},  // a zero factor after a huge product
        // Products far beyond 64 bits whose result fits.
        {3, {kMax / 2, 4, 1}, 1, 184467440737},  // (2^64 - 4) / 10^8
        {2, {kMax, 10000, 0}, 1, kMax},
        {3, {kMax, 10000, 10000}, 1, kMax},
        // kMax + 0.4998 rounds down to the largest result; kMax + 0.5 rounds
        // up to one beyond it.
        {2, {10318, 8939108390051149261, 0}, 1, kMax},
        {3, {10318, 8939108390051149261, 10000}, 1, kMax},
        {2, {327675000, 281479271743489, 0}, 0, 0},
        {3, {327675000, 281479271743489, 10000}, 0, 0},
        // Results that do not fit.
        {1, {INT64_MIN, 0, 0}, 0, 0},
        {2, {kMax, 10001, 0}, 0, 0},
        {3, {kMax, 10000, 10001}, 0, 0},
        {3, {kMax, kMax, kMax}, 0, 0},
        {3, {kMax, kMax, -kMax}, 0, 0},
        // Not a number of dimensions.
        {4, {1, 1, 1}, 0, 0},
        {-1, {1, 1, 1}, 0, 0},
    };
    for (const auto& c : cases) {
        strDodatZam d{};
        d.ilWym = c.ilWym;
        memcpy(d.wymiar, c.w, sizeof d.wymiar);
        int64_t size = -7;
        EXPECT_EQ(c.fits, ComputeAccessorySize(&d, &size))
            << c.ilWym << ": " << c.w[0] << " " << c.w[1] << " " << c.w[2];
        EXPECT_EQ(c.fits ? c.size : -7, size) << c.ilWym << ": " << c.w[0] << " " << c.w[1] << " " << c.w[2];
    }
}

}  // namespace
