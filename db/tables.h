// tables.h - one family of operations per table (read, count and read,
// update, insert), all driven by a description of the table's columns.
#ifndef KV_DB_TABLES_H
#define KV_DB_TABLES_H

#include <stddef.h>
#include <stdint.h>

#include "db/records.h"
#include "db/stmt.h"

enum ColType {
    kColInt32,       // integer, signed 32-bit field
    kColInt64,       // integer, signed 64-bit field
    kColKey,         // rowid alias: inserted as NULL, the assigned key written back
    kColText,        // zero-terminated text in a fixed array
    kColBlob,        // fixed-length block
    kColPackedText,  // table of string slots stored packed (the status names)
};

struct ColumnDef {
    const char* name;  // column name, also the parameter name after ":n_"
    ColType type;
    size_t offset;  // of the field in the record
    int width;      // bytes of a text, blob or packed field
    int rows;       // slots of a packed field
};

struct TableDef {
    const char* name;  // without "T_": "Zam", "ZstProfil"
    size_t recordSize;
    const ColumnDef* cols;
    int colCount;
};

extern const TableDef kTabZmienne, kTabUstUzytk, kTabZam, kTabOkno, kTabOperRysDb, kTabDodatZam,
    kTabZstProfil, kTabZstOkucie, kTabZstKolor, kTabZstListwa, kTabZstSzpros, kTabZstWypeln, kTabZstDodat;

// Reads every row of "SELECT * FROM T_x [WHERE cond] [ORDER BY order]" into
// consecutive records at dest. REQUIRES: room for every row (counted first).
int TblRead(const TableDef& t, void* dest, const char* cond, const char* order, char* msg);

// Counts the rows, allocates that many zeroed records from the private heap
// and reads them. Returns the count (0: nothing allocated, *out null), or -1
// on failure with nothing left allocated.
int TblCountRead(const TableDef& t, void** out, const char* cond, const char* order, char* msg);

// A pass over rows of one table, one record at a time, for the passes over
// a whole register that hold one order at a time. The statement's first
// columns are the table's, in table order ("SELECT r.* ..."); columns after
// them are the caller's (Extra).
class TblCursor {
public:
    // `what` names the failures ("Error of reading T_x table from the
    // database" when null).
    explicit TblCursor(const TableDef& t, const char* what = nullptr) : t_(t), what_(what) {}
    // Prepares `sql`; false with the failure's text and SQLite's.
    bool Open(const char* sql, char* msg);
    // The next row into `rec`: 1, 0 after the last, -1 with the read's
    // message (as a count-and-read of the table gives it).
    int Next(void* rec, char* msg);
    // Integer column `i` after the table's, of the row last read.
    int64_t Extra(int i) const;

private:
    void Fail(int rc, char* msg) const;

    const TableDef& t_;
    const char* what_;
    Stmt st_;
};

// Updates every column of the rows matching cond (all rows without one).
int TblUpdate(const TableDef& t, const void* rec, const char* cond, char* msg);

// Inserts n records; keys assigned by the database are written back into them.
// Stops at the first failure.
int TblInsert(const TableDef& t, int n, void* recs, char* msg);

// Like TblUpdate, but the condition compares the register's `nazwa` with a
// name bound as a parameter (":nazwa"), so a quote in a typed name can
// neither break the statement nor change it.
int TblUpdateByName(const TableDef& t, const void* rec, const char* storedName, char* msg);

// The one-row tables read at start-up and written by the year closing and the
// settings dialog.
int ReadVariables(strZmienne* z, char* msg);
int UpdateVariables(const strZmienne* z, char* msg);
int ReadUserSettings(strUstUzytk* u, char* msg);
int UpdateUserSettings(const strUstUzytk* u, char* msg);

// For the settings dialog of one of several desks: the settings with a print
// of their stored row, then the update written only if the row still prints
// so; otherwise "The settings were changed at another desk ..." and nothing
// written. 1 on success.
int ReadUserSettingsWithPrint(strUstUzytk* u, uint64_t* print, char* msg);
int UpdateUserSettingsIfUnchanged(const strUstUzytk* u, uint64_t print, char* msg);

// ---- Orders and their children -------------------------------------------
// Conditions are "kluczZam = <key>" and "kluczOkno = <key>"; the lists come
// ordered by kluczOkno, indeks and iKolej. Count-and-read members return the
// count (0: *out null) or -1 with nothing allocated.

// The T_Zam row of `kluczZam` into the column part of *z (the lists are not
// touched). A missing row fails with "Error of reading T_Zam table from the
// database" and leaves *z as it was.
int ReadOrderRow(int64_t kluczZam, strZam* z, char* msg);
// All columns of the row whose key is z->kluczZam.
int UpdateOrderRow(const strZam* z, char* msg);
// One new row; the assigned key is written into z->kluczZam.
int InsertOrderRow(strZam* z, char* msg);

int CountReadWindows(int64_t kluczZam, strOkno** out, char* msg);
int InsertWindows(int n, strOkno* okna, char* msg);  // keys written back
int CountReadDrawingOps(int64_t kluczOkno, strOperRysDb** out, char* msg);
int InsertDrawingOps(int n, strOperRysDb* rows, char* msg);
int CountReadOrderAccessories(int64_t kluczZam, strDodatZam** out, char* msg);
int InsertOrderAccessories(int n, strDodatZam* rows, char* msg);

// ---- Registers of used elements -------------------------------------------
// Read whole, in name order (the order the lists offer them in). The updates
// rewrite the row(s) whose stored name equals `storedName` exactly.
int CountReadProfileRegister(strZstProfil** out, char* msg);
int UpdateProfileRegister(const strZstProfil* r, const char* storedName, char* msg);
int InsertProfileRegister(int n, strZstProfil* rows, char* msg);
int CountReadColourRegister(strZstKolor** out, char* msg);
int UpdateColourRegister(const strZstKolor* r, const char* storedName, char* msg);
int InsertColourRegister(int n, strZstKolor* rows, char* msg);
int CountReadMuntinRegister(strZstSzpros** out, char* msg);
int UpdateMuntinRegister(const strZstSzpros* r, const char* storedName, char* msg);
int InsertMuntinRegister(int n, strZstSzpros* rows, char* msg);
int CountReadFillingRegister(strZstWypeln** out, char* msg);
int UpdateFillingRegister(const strZstWypeln* r, const char* storedName, char* msg);
int InsertFillingRegister(int n, strZstWypeln* rows, char* msg);
int CountReadHardwareRegister(strZstOkucie** out, char* msg);
int InsertHardwareRegister(int n, strZstOkucie* rows, char* msg);
int CountReadBeadRegister(strZstListwa** out, char* msg);
int InsertBeadRegister(int n, strZstListwa* rows, char* msg);
int CountReadAccessoryRegister(strZstDodat** out, char* msg);
int UpdateAccessoryRegister(const strZstDodat* r, const char* storedName, char* msg);
int InsertAccessoryRegister(int n, strZstDodat* rows, char* msg);

#endif  // KV_DB_TABLES_H
