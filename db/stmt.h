// stmt.h - a prepared statement that is finalized on every path, and the
// column readers that keep a value inside its field.
#ifndef KV_DB_STMT_H
#define KV_DB_STMT_H

#include <sqlite3.h>

class Stmt {
public:
    Stmt() = default;
    ~Stmt() { sqlite3_finalize(st_); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;

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

// Copies a text column into a field of `width` bytes: a NULL reads as "", a
// longer text is cut to width-1 characters; the field is always terminated.
void ColumnText(sqlite3_stmt* st, int col, char* field, int width);

// Copies a blob column into a field of `width` bytes: a longer blob is cut, a
// shorter one fills the start and the rest is zeroed, a NULL zero-fills.
void ColumnBlob(sqlite3_stmt* st, int col, void* field, int width);

#endif  // KV_DB_STMT_H
