// kelvaro-inspect: see inspect.h.
#include <stdio.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "tools/inspect/inspect.h"
#include "util/heap.h"

int main(int argc, char** argv) {
#ifdef _WIN32
    // The same bytes on every system: "\n" stays "\n".
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    KvHeapCreate();
    const int wynik = InspectMain(argc, argv, stdout, stderr);
    KvHeapDestroy();
    return wynik;
}
