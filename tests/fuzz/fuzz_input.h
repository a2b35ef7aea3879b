// fuzz_input.h - reads a fuzzer's bytes as little-endian numbers; past the
// end every read gives 0, so a decoder never needs to check the length.
#ifndef KV_TESTS_FUZZ_INPUT_H
#define KV_TESTS_FUZZ_INPUT_H

#include <stddef.h>
#include <stdint.h>

struct Wejscie {
    const uint8_t* p;
    size_t n;
    uint8_t U8() {
        if (!n) return 0;
        n--;
        return *p++;
    }
    uint16_t U16() { return (uint16_t)(U8() | U8() << 8); }
    int32_t I32() { return (int32_t)((uint32_t)U16() | (uint32_t)U16() << 16); }
};

#endif
