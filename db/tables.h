// tables.h - one family of operations per table (read, count and read,
// update, insert), all driven by a description of the table's columns.
#ifndef KV_DB_TABLES_H
#define KV_DB_TABLES_H

#include <stddef.h>
#include <stdint.h>

#include "records.h"

enum ColType {
    kColInt32,       // integer, signed 32-bit field
    kColInt64,       // integer, signed 64-bit field
    kColKey,         // rowid alias: inserted as NULL, the assigned key written back
    kColText,        // zero-terminated text in a fixed array
    kColBlob,        // fixed-length block
    kColPackedText,  // table of string slots stored packed (the status names)
};

struct ColumnDef {
    const char* name;   // column name, also the parameter name after ":n_"
    ColType type;
    size_t offset;      // of the field in the record
    int width;          // bytes of a text, blob or packed field
    int rows;           // slots of a packed field
};

struct TableDef {
    const char* name;   // without "T_": "Zam", "ZstProfil"
    size_t recordSize;
    const ColumnDef* cols;
    int colCount;
};

extern const TableDef kTabZmienne, kTabUstUzytk, kTabZam, kTabOkno, kTabOperRysDb, kTabDodatZam,
    kTabZstProfil, kTabZstOkucie, kTabZstKolor, kTabZstListwa, kTabZstSzpros, kTabZstWypeln,
    kTabZstDodat;

// Reads every row of "SELECT * FROM T_x [WHERE cond] [ORDER BY order]" into
// consecutive records at dest. REQUIRES: room for every row (counted first).
int TblRead(const TableDef& t, void* dest, const char* cond, const char* order, char* msg);

// Counts the rows, allocates that many zeroed records from the private heap
// and reads them. Returns the count (0: nothing allocated, *out null), or -1
// on failure with nothing left allocated.
int TblCountRead(const TableDef& t, void** out, const char* cond, const char* order, char* msg);

// Updates every column of the rows matching cond (all rows without one).
int TblUpdate(const TableDef& t, const void* rec, const char* cond, char* msg);

// Inserts n records; keys assigned by the database are written back into them.
// Stops at the first failure.
int TblInsert(const TableDef& t, int n, void* recs, char* msg);

// The one-row tables read at start-up and written by the year closing and the
// settings dialog.
int ReadZmienne(strZmienne* z, char* msg);
int UpdateZmienne(const strZmienne* z, char* msg);
int ReadUstUzytk(strUstUzytk* u, char* msg);
int UpdateUstUzytk(const strUstUzytk* u, char* msg);

#endif  // KV_DB_TABLES_H
