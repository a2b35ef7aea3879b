// kelvaro-prices: see prices_tool.h.
#include <stdio.h>

#include "tools/prices/prices_tool.h"
#include "util/heap.h"

int main(int argc, char** argv) {
    KvHeapCreate();
    const int result = PricesMain(argc, argv, stdout, stderr);
    KvHeapDestroy();
    return result;
}
