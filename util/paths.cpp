// Windows paths: validation, the directory part, testing and creating the
// directories of a path. The file system is reached through the platform
// seam, so the walk over the prefixes is the same code in both builds.
#include "util/kvutil.h"
#include "util/platform.h"

#include <stdio.h>
#include <string.h>

static const uint32_t kErrorAlreadyExists = 183;
static const uint32_t kErrorFilenameTooLong = 206;

static char Upper(char c) { return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c; }
static bool Letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

static bool SameNoCase(const char* a, size_t n, const char* b) {
    if (strlen(b) != n) return false;
    for (size_t i = 0; i < n; i++) {
        if (Upper(a[i]) != b[i]) return false;
    }
    return true;
}

// Windows opens the device for "CON" and for "CON.txt" alike, so the name
// before the first dot is what must not be a device.
static bool ReservedName(const char* c, size_t n) {
    const char* dot = (const char*)memchr(c, '.', n);
    const size_t base = dot ? (size_t)(dot - c) : n;
    static const char* const kNames[] = {"CON", "PRN", "AUX", "CLOCK$", "NUL"};
    for (const char* name : kNames) {
        if (SameNoCase(c, base, name)) return true;
    }
    if (base == 4 && (SameNoCase(c, 3, "COM") || SameNoCase(c, 3, "LPT")) && c[3] >= '1' && c[3] <= '9') {
        return true;
    }
    return false;
}

static bool ValidComponent(const char* c, size_t n) {
    if (n == 0 || n > KV_MAX_PATH - 1) return false;
    if (ReservedName(c, n)) return false;
    if (n > 2 && (c[0] == '.' || c[n - 1] == '.')) return false;
    if (n == 2 && ((c[0] == '.') != (c[1] == '.'))) return false;
    if (c[0] == ' ' || c[n - 1] == ' ') return false;
    for (size_t i = 0; i < n; i++) {
        const unsigned char ch = (unsigned char)c[i];
        // "*" and "?" too: a name holding a wildcard cannot be created.
        if (ch < 32 || strchr("\"/:<>\\|*?", ch)) return false;
    }
    return true;
}

// Length of a "X:\" drive prefix (3), or 0 when the path has none.
static size_t DrivePrefix(const char* path) {
    return (Letter(path[0]) && path[1] == ':' && path[2] == '\\') ? 3 : 0;
}

extern "C" int CzyPoprawnaSciezkaWin(const char* path) {
    if (!path || !*path) return 0;
    if (path[0] && path[1] == ':' && !DrivePrefix(path)) return 0;
    const char* p = path + DrivePrefix(path);
    // "C:\" alone is the root; a single trailing backslash marks a folder.
    while (*p) {
        const char* end = strchr(p, '\\');
        const size_t n = end ? (size_t)(end - p) : strlen(p);
        if (!ValidComponent(p, n)) return 0;
        if (!end) break;
        p = end + 1;
    }
    return 1;
}

extern "C" const char* WytnijKatalog(const char* path, char* dir, int validate) {
    if (dir) dir[0] = 0;
    if (!path || (validate && !CzyPoprawnaSciezkaWin(path))) return nullptr;
    const char* slash = strrchr(path, '\\');
    if (!slash) return path;
    if (dir) {
        size_t n = (size_t)(slash - path);
        if (n > KV_MAX_PATH - 1) n = KV_MAX_PATH - 1;
        memcpy(dir, path, n);
        dir[n] = 0;
    }
    return slash + 1;
}

// Calls visit(prefix) for each directory prefix of the path, the whole path
// last (without a trailing backslash); the drive root itself is skipped.
// Stops when visit returns false. False when the path is too long.
template <typename F>
static bool WalkPrefixes(const char* path, F visit) {
    const size_t len = strlen(path);
    if (len >= KV_MAX_PATH) return false;
    char buf[KV_MAX_PATH];
    memcpy(buf, path, len + 1);
    const size_t start = DrivePrefix(path);
    for (size_t i = start; i <= len; i++) {
        if (buf[i] != '\\' && buf[i] != 0) continue;
        if (i == start || buf[i - 1] == '\\') {
            if (buf[i] == 0) break;
            continue;
        }
        const char saved = buf[i];
        buf[i] = 0;
        const bool go = visit(buf);
        buf[i] = saved;
        if (!go) break;
    }
    return true;
}

extern "C" int TestSciezki(const char* path, int allowFloppy, int validate, int* allExist) {
    if (allExist) *allExist = 0;
    if (!path || !*path) return 0;
    if (validate && !CzyPoprawnaSciezkaWin(path)) return 0;
    if (path[1] == ':') {
        const char drive = Upper(path[0]);
        if ((drive == 'A' || drive == 'B') && !allowFloppy) return 0;
        if (!kvplat::DriveExists(drive)) return 0;
    }
    int result = 1;
    bool all = true;
    bool walked = WalkPrefixes(path, [&](const char* prefix) {
        switch (kvplat::Kind(prefix)) {
            case kvplat::PathKind::Directory: return true;
            case kvplat::PathKind::File: result = 0; break;
            case kvplat::PathKind::Missing: all = false; break;
        }
        return false;
    });
    if (!walked) return 0;
    if (result && allExist) *allExist = all ? 1 : 0;
    return result;
}

extern "C" int TworzKatalog(const char* path) {
    if (!path || !*path) return 0;
    bool created = false, failed = false;
    if (!WalkPrefixes(path, [&](const char* prefix) {
            switch (kvplat::MakeDir(prefix)) {
                case kvplat::MakeDirResult::Created: created = true; return true;
                case kvplat::MakeDirResult::Exists: return true;
                case kvplat::MakeDirResult::Failed: failed = true; return false;
            }
            return false;
        })) {
        kvplat::SetLastError(kErrorFilenameTooLong);
        return 0;
    }
    if (failed) return 0;
    if (!created) {
        kvplat::SetLastError(kErrorAlreadyExists);
        return 0;
    }
    return 1;
}

extern "C" int64_t DajRozmPliku(FILE* file) { return kvplat::FileSize(file); }
