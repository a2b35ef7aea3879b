// file_stmt.h - a statement of a SQLite connection of its own (a new file,
// a backup being checked), finalized on every path; private to db/.
#ifndef KV_DB_FILE_STMT_H
#define KV_DB_FILE_STMT_H

#include <sqlite3.h>

class FileStmt {
public:
    FileStmt() = default;
    ~FileStmt() { sqlite3_finalize(st_); }
    FileStmt(const FileStmt&) = delete;
    FileStmt& operator=(const FileStmt&) = delete;

    // Prepares the whole text; false when SQLite refuses it.
    bool Prepare(sqlite3* db, const char* sql) {
        sqlite3_finalize(st_);
        st_ = nullptr;
        return sqlite3_prepare_v2(db, sql, -1, &st_, nullptr) == SQLITE_OK && st_;
    }
    sqlite3_stmt* get() const { return st_; }

private:
    sqlite3_stmt* st_ = nullptr;
};

#endif  // KV_DB_FILE_STMT_H
