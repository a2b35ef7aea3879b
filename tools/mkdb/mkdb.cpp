// kelvaro-mkdb [--demo | --orders N] FILE: makes a new order database for
// the program, empty, holding a few demo orders, or N orders copied from
// them (for the benchmarks of a large register).
// kelvaro-mkdb --server CONNINFO: makes the program's tables in an empty
// database of a server.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "db/newdb.h"
#include "db/server.h"
#include "tools/mkdb/demo.h"
#include "util/msgbuf.h"

static int CurrentYear() {
    time_t now = time(nullptr);
    struct tm* t = localtime(&now);
    return t ? t->tm_year + 1900 : 2026;
}

int main(int argc, char** argv) {
    if (argc == 3 && strcmp(argv[1], "--server") == 0) {
        char msg[KV_MSG_LEN];
        if (!DbCreateServer(argv[2], CurrentYear(), msg)) {
            for (char* p = msg; *p; p++)
                if (*p == '\r') *p = ' ';
            fprintf(stderr, "kelvaro-mkdb: %s\n", msg);
            return 1;
        }
        printf("kelvaro-mkdb: created the tables on the server\n");
        return 0;
    }
    const bool copies = argc == 4 && strcmp(argv[1], "--orders") == 0;
    const bool demo = (argc == 3 && strcmp(argv[1], "--demo") == 0) || copies;
    const long long orders = copies ? atoll(argv[2]) : 0;
    const char* path = argv[argc - 1];
    if (!(argc == 2 || demo) || path[0] == '-' || (copies && (orders < 1 || orders > 100000000))) {
        fprintf(stderr,
                "usage: kelvaro-mkdb [--demo | --orders N] FILE\n"
                "       kelvaro-mkdb --server CONNINFO\n"
                "Creates a new Quarvel database FILE (it must not exist yet);\n"
                "with --demo it also holds a few demo orders, with --orders N\n"
                "N orders copied from them (1 to 100000000). With --server it makes\n"
                "the tables in the empty database CONNINFO names (libpq's words,\n"
                "\"host=... dbname=... user=...\"), as the role that is to own them.\n");
        return 2;
    }
    char msg[KV_MSG_LEN];
    if (!DbCreateFile(path, CurrentYear(), msg)) {
        fprintf(stderr, "kelvaro-mkdb: %s\n", msg);
        return 1;
    }
    if (demo) {
        int n = SaveDemoOrders(path, msg);
        if (n < 0) {
            fprintf(stderr, "kelvaro-mkdb: demo orders: %s\n", msg);
            remove(path);  // half a demo is no use to anyone
            return 1;
        }
        if (copies && orders > n) {
            const int added = CopyDemoOrders(path, orders, msg);
            if (added < 0) {
                fprintf(stderr, "kelvaro-mkdb: copies of the demo orders: %s\n", msg);
                remove(path);
                return 1;
            }
            n += added;
        }
        printf("kelvaro-mkdb: created %s with %d %sorders\n", path, n, copies ? "" : "demo ");
        return 0;
    }
    printf("kelvaro-mkdb: created %s\n", path);
    return 0;
}
