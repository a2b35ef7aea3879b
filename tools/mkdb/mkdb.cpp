// kelvaro-mkdb FILE: makes a new, empty order database for the program.
#include <stdio.h>
#include <string.h>
#include <time.h>

#include "msgbuf.h"
#include "newdb.h"

static int CurrentYear() {
    time_t now = time(nullptr);
    struct tm* t = localtime(&now);
    return t ? t->tm_year + 1900 : 2026;
}

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '-') {
        fprintf(stderr, "usage: kelvaro-mkdb FILE\n"
                        "Creates a new Quarvel database FILE (it must not exist yet).\n");
        return 2;
    }
    char msg[KV_MSG_LEN];
    if (!DbCreateFile(argv[1], CurrentYear(), msg)) {
        fprintf(stderr, "kelvaro-mkdb: %s\n", msg);
        return 1;
    }
    printf("kelvaro-mkdb: created %s\n", argv[1]);
    return 0;
}
