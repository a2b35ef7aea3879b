// Whole-file reads and replacing writes.
#include "util/files.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include "util/msgbuf.h"
#include "util/platform.h"

namespace {

// The reason of a failure: the C library's for its own calls, the system's
// text for the rename.
void Fail(char* msg, const char* what, const char* path, const char* why) {
    if (why && *why) KvMsg(msg, "Cannot %s the file \"%s\".\r\n%s", what, path, why);
    else KvMsg(msg, "Cannot %s the file \"%s\".", what, path);
}

}  // namespace

bool KvReadWholeFile(const char* path, std::string* data, char* msg) {
    data->clear();
    FILE* f = fopen(path, "rb");
    if (!f) {
        Fail(msg, "read", path, strerror(errno));
        return false;
    }
    char block[65536];
    size_t n;
    while ((n = fread(block, 1, sizeof block, f)) > 0) data->append(block, n);
    const bool ok = !ferror(f);
    const int err = errno;
    fclose(f);
    if (!ok) {
        data->clear();
        Fail(msg, "read", path, strerror(err));
    }
    return ok;
}

bool KvWriteWholeFile(const char* path, const void* data, size_t size, char* msg) {
    const std::string part = std::string(path) + ".part";
    FILE* f = fopen(part.c_str(), "wb");
    if (!f) {
        Fail(msg, "write", path, strerror(errno));
        return false;
    }
    bool ok = fwrite(data, 1, size, f) == size;
    int err = errno;
    if (fflush(f) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (fclose(f) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        remove(part.c_str());
        Fail(msg, "write", path, strerror(err));
        return false;
    }
    if (!kvplat::ReplaceFileWith(part.c_str(), path)) {
        char why[512];
        if (!kvplat::SystemMessage(kvplat::LastError(), why, (int)sizeof why))
            snprintf(why, sizeof why, "%s", "");
        remove(part.c_str());
        Fail(msg, "write", path, why);
        return false;
    }
    return true;
}
