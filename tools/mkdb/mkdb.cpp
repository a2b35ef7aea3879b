// kelvaro-mkdb [--demo] FILE: makes a new order database for the program,
// empty or holding a few demo orders.
#include <stdio.h>
#include <string.h>
#include <time.h>

#include "db/newdb.h"
#include "tools/mkdb/demo.h"
#include "util/msgbuf.h"

static int CurrentYear() {
    time_t now = time(nullptr);
    struct tm* t = localtime(&now);
    return t ? t->tm_year + 1900 : 2026;
}

int main(int argc, char** argv) {
    const bool demo = argc == 3 && strcmp(argv[1], "--demo") == 0;
    const char* path = argv[argc - 1];
    if (!(argc == 2 || demo) || path[0] == '-') {
        fprintf(stderr,
                "usage: kelvaro-mkdb [--demo] FILE\n"
                "Creates a new Quarvel database FILE (it must not exist yet);\n"
                "with --demo it also holds a few demo orders.\n");
        return 2;
    }
    char msg[KV_MSG_LEN];
    if (!DbCreateFile(path, CurrentYear(), msg)) {
        fprintf(stderr, "kelvaro-mkdb: %s\n", msg);
        return 1;
    }
    if (demo) {
        int n = ZapiszZamowieniaDemo(path, msg);
        if (n < 0) {
            fprintf(stderr, "kelvaro-mkdb: demo orders: %s\n", msg);
            remove(path);  // half a demo is no use to anyone
            return 1;
        }
        printf("kelvaro-mkdb: created %s with %d demo orders\n", path, n);
        return 0;
    }
    printf("kelvaro-mkdb: created %s\n", path);
    return 0;
}
