// backup_bench: how long a checked backup and a restore of the database in
// the working folder take, and how much of it the copy alone is. Run by hand
// (under Wine for the Windows build) in a folder whose kelvaroDemo.db holds
// the orders; the copies go to bench-backups/ and are deleted afterwards:
//   backup_bench [ROUNDS]
#include <sqlite3.h>
#include <stdio.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>

#include "db/backup.h"
#include "db/connection.h"
#include "util/msgbuf.h"

namespace fs = std::filesystem;

static double MsSince(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? atoi(argv[1]) : 3;
    const char* path = DbDefaultPath();
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path, &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        fprintf(stderr, "backup_bench: %s cannot be opened\n", path);
        return 1;
    }
    char msg[KV_MSG_LEN];
    BackupInfo info{};
    auto t = std::chrono::steady_clock::now();
    if (!BackupCheck(path, &info, msg)) {
        fprintf(stderr, "backup_bench: %s\n", msg);
        return 1;
    }
    std::error_code ec;
    printf("%lld orders, %lld bytes; the check alone: %.0f ms\n", (long long)info.orders,
           (long long)fs::file_size(path, ec), MsSince(t));
    fs::create_directory("bench-backups", ec);
    for (int r = 0; r < rounds; r++) {
        const char* plain = "bench-backups/plain.db";
        t = std::chrono::steady_clock::now();
        if (!BackupCopy(db, plain, false, msg)) break;
        const double copy = MsSince(t);
        char made[kBackupPathLen];
        t = std::chrono::steady_clock::now();
        if (!BackupNow(db, path, "bench-backups", made, msg)) break;
        const double backup = MsSince(t);
        char safety[kBackupPathLen];
        t = std::chrono::steady_clock::now();
        if (!BackupRestore(db, path, made, &info, safety, msg)) break;
        const double restore = MsSince(t);
        printf(
            "round %d: copy alone %.0f ms, checked backup %.0f ms, restore (check, safety copy, "
            "replacement) %.0f ms\n",
            r + 1, copy, backup, restore);
        fs::remove(plain, ec);
        fs::remove(fs::u8path(made), ec);
        fs::remove(fs::u8path(safety), ec);
        msg[0] = 0;
    }
    sqlite3_close_v2(db);
    fs::remove_all("bench-backups", ec);
    if (msg[0]) {
        fprintf(stderr, "backup_bench: %s\n", msg);
        return 1;
    }
    return 0;
}
