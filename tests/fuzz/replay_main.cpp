// Runs a fuzz target without libFuzzer: over the files named on the command
// line, or over seeded random inputs, so that every test run (and the mingw
// build) exercises the target briefly.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    if (argc > 1) {
        for (int i = 1; i < argc; i++) {
            FILE* f = fopen(argv[i], "rb");
            if (!f) {
                fprintf(stderr, "cannot open %s\n", argv[i]);
                return 1;
            }
            std::vector<uint8_t> d;
            int c;
            while ((c = fgetc(f)) != EOF) d.push_back((uint8_t)c);
            fclose(f);
            LLVMFuzzerTestOneInput(d.data(), d.size());
        }
        return 0;
    }
    std::mt19937 rng(1208);
    for (int i = 0; i < 20000; i++) {
        std::vector<uint8_t> d(rng() % 2048);
        // Mostly small bytes, so that indices and sizes land near real ones.
        for (auto& b : d) b = (uint8_t)(rng() % 4 ? rng() % 16 : rng());
        LLVMFuzzerTestOneInput(d.data(), d.size());
    }
    printf("20000 inputs\n");
    return 0;
}
