// The statement front shared by both backends, and the SQLite backend.
#include "db/stmt.h"

#include <sqlite3.h>
#include <string.h>

#include "db/backend.h"
#include "db/connection.h"

namespace {

class SqliteStmt final : public StmtBackend {
public:
    explicit SqliteStmt(sqlite3_stmt* st) : st_(st) {}
    ~SqliteStmt() override { sqlite3_finalize(st_); }

    bool Bind(int i, int type, const void* data, int64_t len) override {
        if (i < 1 || i > sqlite3_bind_parameter_count(st_)) return false;
        int rc;
        switch (type) {
            case kBindInt: rc = sqlite3_bind_int64(st_, i, *(const int64_t*)data); break;
            case kBindText: rc = sqlite3_bind_text(st_, i, (const char*)data, (int)len, SQLITE_TRANSIENT); break;
            case kBindBlob: rc = sqlite3_bind_blob(st_, i, data, (int)len, SQLITE_TRANSIENT); break;
            default: rc = sqlite3_bind_null(st_, i); break;
        }
        return rc == SQLITE_OK;
    }
    int Step(int* err) override {
        const int rc = sqlite3_step(st_);
        if (rc == SQLITE_ROW) return kStepRow;
        if (rc == SQLITE_DONE) {
            changes_ = sqlite3_changes64(sqlite3_db_handle(st_));
            return kStepDone;
        }
        *err = rc & 0xFF;
        return kStepError;
    }
    void Reset() override { sqlite3_reset(st_); }
    int64_t Changes() const override { return changes_; }
    int64_t InsertedKey() const override { return sqlite3_last_insert_rowid(sqlite3_db_handle(st_)); }
    int ColumnCount() const override { return sqlite3_column_count(st_); }
    bool ColumnIsNull(int col) const override { return sqlite3_column_type(st_, col) == SQLITE_NULL; }
    int64_t ColumnInt64(int col) const override { return sqlite3_column_int64(st_, col); }
    const char* ColumnBytes(int col, int* len) const override {
        // A blob's bytes as stored; a text without a conversion to UTF-16.
        const char* p = sqlite3_column_type(st_, col) == SQLITE_TEXT
                            ? (const char*)sqlite3_column_text(st_, col)
                            : (const char*)sqlite3_column_blob(st_, col);
        *len = p ? sqlite3_column_bytes(st_, col) : 0;
        return p;
    }

    int ColumnType(int col) const override {
        switch (sqlite3_column_type(st_, col)) {
            case SQLITE_NULL: return kBindNull;
            case SQLITE_INTEGER: return kBindInt;
            case SQLITE_BLOB: return kBindBlob;
            default: return kBindText;  // a real number too, as its text
        }
    }

private:
    sqlite3_stmt* st_;
    int64_t changes_ = 0;
};

}  // namespace

StmtBackend* SqlitePrepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK || !st) {
        sqlite3_finalize(st);
        return nullptr;
    }
    return new SqliteStmt(st);
}

Stmt::Stmt() = default;
Stmt::~Stmt() = default;

bool Stmt::Prepare(const char* sql) {
    b_.reset();
    err_ = kDbErrNone;
    if (DbHandle()) b_.reset(SqlitePrepare(DbHandle(), sql));
    else if (DbBackendInUse() == kDbServer) b_.reset(ServerPrepare(sql));
    return b_ != nullptr;
}

bool Stmt::BindInt(int i, int64_t v) { return b_ && b_->Bind(i, StmtBackend::kBindInt, &v, 8); }
bool Stmt::BindText(int i, const char* text, int len) {
    if (!text) return BindNull(i);
    return b_ && b_->Bind(i, StmtBackend::kBindText, text, len < 0 ? (int64_t)strlen(text) : len);
}
bool Stmt::BindBlob(int i, const void* data, int len) {
    return b_ && b_->Bind(i, StmtBackend::kBindBlob, data ? data : "", data ? len : 0);
}
bool Stmt::BindNull(int i) { return b_ && b_->Bind(i, StmtBackend::kBindNull, nullptr, 0); }

int Stmt::Step() {
    err_ = kDbErrNone;
    if (!b_) {
        err_ = kDbErrMisuse;
        return kStepError;
    }
    return b_->Step(&err_);
}

void Stmt::Reset() {
    if (b_) b_->Reset();
}
int64_t Stmt::Changes() const { return b_ ? b_->Changes() : 0; }
int64_t Stmt::InsertedKey() const { return b_ ? b_->InsertedKey() : 0; }
int Stmt::ColumnCount() const { return b_ ? b_->ColumnCount() : 0; }
bool Stmt::ColumnIsNull(int col) const { return !b_ || b_->ColumnIsNull(col); }
int64_t Stmt::ColumnInt64(int col) const { return b_ ? b_->ColumnInt64(col) : 0; }
const char* Stmt::ColumnBytes(int col, int* len) const {
    *len = 0;
    return b_ ? b_->ColumnBytes(col, len) : nullptr;
}

int Stmt::ColumnType(int col) const { return b_ ? b_->ColumnType(col) : StmtBackend::kBindNull; }

void ColumnText(const Stmt& st, int col, char* field, int width) {
    if (!field || width <= 0) return;
    int n;
    const char* text = st.ColumnBytes(col, &n);
    if (!text) n = 0;
    if (n > width - 1) n = width - 1;
    if (n > 0) memcpy(field, text, (size_t)n);
    field[n] = 0;
}

void ColumnBlob(const Stmt& st, int col, void* field, int width) {
    if (!field || width <= 0) return;
    int n;
    const char* blob = st.ColumnBytes(col, &n);
    if (!blob) n = 0;
    if (n > width) n = width;
    if (n > 0) memcpy(field, blob, (size_t)n);
    memset((char*)field + n, 0, (size_t)(width - n));
}

void RowPrint::AddBytes(const void* p, size_t n) {
    for (size_t i = 0; i < n; i++) h_ = (h_ ^ ((const unsigned char*)p)[i]) * 1099511628211ull;
}

bool RowPrint::Add(Stmt& st) {
    int rc;
    while ((rc = st.Step()) == kStepRow) {
        for (int c = 0; c < st.ColumnCount(); c++) {
            const int type = st.ColumnType(c);
            AddBytes(&type, sizeof type);
            if (type == StmtBackend::kBindInt) {
                const int64_t v = st.ColumnInt64(c);
                AddBytes(&v, sizeof v);
            } else {
                int len = 0;
                const char* p = st.ColumnBytes(c, &len);
                AddBytes(&len, sizeof len);
                if (p) AddBytes(p, (size_t)len);
            }
        }
        AddBytes("\n", 1);
    }
    return rc == kStepDone;
}
