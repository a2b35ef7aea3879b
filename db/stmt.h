// stmt.h - a statement of the program's connection, whichever database
// holds the register (the SQLite file or a PostgreSQL server), finalized on
// every path; and the column readers that keep a value inside its field.
//
// The SQL is written once, in SQLite's dialect with the parameters the
// tables use (":1_idZam", ":nazwa", "?1", "?"); on a server the parameters
// become "$n" in the order SQLite numbers them, so the same Bind calls serve
// both. Integers and texts are bound and read the same way on both; a text
// travels in the desk's code page, a blob byte for byte.
#ifndef KV_DB_STMT_H
#define KV_DB_STMT_H

#include <stddef.h>
#include <stdint.h>

#include <memory>

// What Step answers.
enum StepResult {
    kStepError = -1,  // the failure's code in Error(), its text in DbErrorText()
    kStepDone = 0,    // no (more) rows
    kStepRow = 1,     // a row to read
};

// The failure codes callers tell apart (SQLite's primary codes; a server's
// failure is always kDbErrGeneric, with the server's text).
enum DbErrorCode {
    kDbErrNone = 0,
    kDbErrGeneric = 1,  // with a text worth showing (SQLite's SQLITE_ERROR)
    kDbErrBusy = 5,     // another program holds the file's lock
    kDbErrMisuse = 21,  // stepped without a prepared statement
};

class StmtBackend;

class Stmt {
public:
    Stmt();
    ~Stmt();
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;

    // Prepares the whole text on the program's connection; false when there
    // is none or the database refuses it (the text in DbErrorText()).
    bool Prepare(const char* sql);
    bool Prepared() const { return b_ != nullptr; }

    // Parameters count from 1. False when the index is out of range.
    bool BindInt(int i, int64_t v);
    bool BindText(int i, const char* text, int len = -1);  // len < 0: up to the terminator
    bool BindBlob(int i, const void* data, int len);
    bool BindNull(int i);

    // The next row, or the end, or a failure (kStepError).
    int Step();
    // Ready to run again; the bindings stay until bound anew.
    void Reset();
    // The failure code of the last Step (kDbErrNone after a success).
    int Error() const { return err_; }
    // Rows the last statement inserted, updated or deleted.
    int64_t Changes() const;
    // The key the database gave the row the last Step inserted (a server's
    // insert hands it back as its one column).
    int64_t InsertedKey() const;

    // The columns of the current row.
    int ColumnCount() const;
    bool ColumnIsNull(int col) const;
    int64_t ColumnInt64(int col) const;
    int32_t ColumnInt32(int col) const { return (int32_t)ColumnInt64(col); }
    // Text or blob bytes (null for NULL), valid until the next Step.
    const char* ColumnBytes(int col, int* len) const;
    // What the column holds in this row: StmtBackend::kBindNull, kBindInt,
    // kBindText or kBindBlob.
    int ColumnType(int col) const;

private:
    std::unique_ptr<StmtBackend> b_;
    int err_ = kDbErrNone;
};

// The statement of one backend. Its Step answers a StepResult and sets
// *err on a failure.
class StmtBackend {
public:
    virtual ~StmtBackend() = default;
    virtual bool Bind(int i, int type, const void* data, int64_t len) = 0;  // type: kBind*
    virtual int Step(int* err) = 0;
    virtual void Reset() = 0;
    virtual int64_t Changes() const = 0;
    virtual int64_t InsertedKey() const = 0;
    virtual int ColumnCount() const = 0;
    virtual bool ColumnIsNull(int col) const = 0;
    virtual int64_t ColumnInt64(int col) const = 0;
    virtual const char* ColumnBytes(int col, int* len) const = 0;
    virtual int ColumnType(int col) const = 0;

    enum { kBindNull, kBindInt, kBindText, kBindBlob };
};

// A print of rows (FNV-1a over every value with its kind and length): two
// reads of the same rows print alike, any change prints otherwise.
class RowPrint {
public:
    // Steps `st` to its end, adding each row; false (its failure in
    // DbErrorText) when a step fails.
    bool Add(Stmt& st);
    // Ends a part, so that rows cannot move from one part to the next unseen.
    void EndPart() { AddBytes("|", 1); }
    uint64_t value() const { return h_ ? h_ : 1; }  // never 0, which means "none"

private:
    void AddBytes(const void* p, size_t n);
    uint64_t h_ = 1469598103934665603ull;
};

// Copies a text column into a field of `width` bytes: a NULL reads as "", a
// longer text is cut to width-1 characters; the field is always terminated.
void ColumnText(const Stmt& st, int col, char* field, int width);

// Copies a blob column into a field of `width` bytes: a longer blob is cut, a
// shorter one fills the start and the rest is zeroed, a NULL zero-fills.
void ColumnBlob(const Stmt& st, int col, void* field, int width);

#endif  // KV_DB_STMT_H
