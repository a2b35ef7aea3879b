// orders.h - whole orders in the database: load, save new, overwrite,
// delete, change status; and the copy, comparison and release of working
// order records.
//
// An order lives in four tables: its T_Zam row, its accessories (T_DodatZam),
// its windows (T_Okno) and each window's drawing operations (T_OperRysDb).
// Save, overwrite and delete each run in one named transaction and roll back
// on the first failure, so the tables never hold half an order.
//
// Functions that can fail return 1 on success and 0 on failure with the
// failing step's message in `msg` (KV_MSG_LEN bytes, may be null).
#ifndef KV_DB_ORDERS_H
#define KV_DB_ORDERS_H

#include <stdint.h>

#include <memory>

#include "db/order_record.h"
#include "db/records.h"

// Loads the order `klucz` into *z, which is zero-filled first (whatever it
// held is not released: pass an empty record). Accessories come in iKolej
// order, windows in key order, operations in indeks order; every window's
// derived geometry is recomputed and its structure rebuilt, and a window
// whose structure does not build refuses the order. On failure *z is empty
// and nothing is allocated. A missing key: "Error of reading T_Zam table
// from the database". The rows are read in one read transaction
// ("WczytanieZamowieniaSq") unless the caller has one open.
int LoadOrder(int64_t klucz, strZamRob* z, char* msg);

// Saves a new order: inserts its row, accessories, windows and operations
// and stores its number as the last order number, all in the transaction
// "ZachowanieZamowieniaSq". On success the record holds the assigned order
// and window keys and zmienne->idZam = z->zam.idZam. On failure the
// database and *zmienne are as they were. The order keeps the number it has.
int SaveNewOrder(strZamRob* z, strZmienne* zmienne, char* msg);

// The desk's save of a new order, whose number was given when the order was
// begun. On a file, SaveNewOrder. On a server other desks number orders
// too: the number is taken with the variables row locked, so one another
// desk took meanwhile becomes the next free one, and a year closed
// meanwhile gives the new year's numbering; the record then holds the
// number and year it got (on failure, the ones it had).
int SaveNewOrderNumbered(strZamRob* z, char* msg);

// Rewrites the stored order z->zam.kluczZam: its children are replaced (the
// windows get new keys) and its row updated, in "NadpisanieZamowieniaSq".
// The last order number is not touched. Refused, nothing written, when
// another desk wrote the order since the record was loaded (loadedPrint).
int OverwriteOrder(strZamRob* z, char* msg);

// Deletes the order and its children in "UsuniecieZamowieniaSq". The last
// order number is not lowered, so a number is never given out twice.
int DeleteOrder(int64_t klucz, char* msg);

// True when the order `klucz` is stored with the number `idZam` of the year
// `rok`: a "NEW" order opened from the register is rewritten on Save, while
// one made by "Edit as new" keeps its source's key under a number of its own
// and is inserted. False for key 0 and on any failure.
bool DbOrderStoredUnderNumber(int64_t klucz, int32_t idZam, int32_t rok);

// Sets the order's status, outside any transaction.
int ChangeOrderStatus(int64_t klucz, int32_t status, char* msg);

// A print of the stored order `klucz`: its T_Zam row, its windows' keys (an
// overwrite gives every window new ones) and its accessories' rows. Another
// value means another desk wrote the order. False with the message on a
// failure to read; an order that is gone has a print of its own.
bool DbOrderPrint(int64_t klucz, uint64_t* print, char* msg);

// The order window's status change and deletion of the order it loaded:
// like ChangeOrderStatus and DeleteOrder, in one transaction, refused when the
// stored order is no longer what the record was loaded from (its
// loadedPrint): "The order %s was changed at another desk after it was
// opened ..." and nothing written. The overwrite (OverwriteOrder) checks the
// same; a save or a status change brings the record's print up to date.
int ChangeLoadedOrderStatus(strZamRob* z, int32_t status, char* msg);
int DeleteLoadedOrder(strZamRob* z, char* msg);

// Deletes the accessories, operations and windows of the order. Meant for
// inside overwrite and delete, which own the transaction.
int DeleteOrderChildren(int64_t klucz, char* msg);

// Makes *cel a deep copy of the columns and both lists of *zrodlo (own
// lists; the view flags and totals of *cel are kept). Whatever lists *cel
// held are not released. On failure both lists of *cel are empty.
int CopyOrder(strZamRob* cel, const strZamRob* zrodlo, char* msg);

// Releases the window and accessory lists; counts and pointers become 0.
void FreeOrder(strZamRob* z);
// The same, then zero-fills the whole record.
void FreeAndZeroOrder(strZamRob* z);

// The renumbering step of a new order: number = last + 1, the working year,
// today's date and today + the fulfilment time, status 0, no symbol, the
// seller's data, the discount and the three VAT rates from the settings.
void RenumberOrder(strZamRob* z, const strZmienne* zmienne, const strUstUzytk* ust);

// The defaults step: currency, window weight, assembly and disassembly
// prices and the valuation flags from the settings.
void SetOrderDefaults(strZamRob* z, const strUstUzytk* ust);

// The key of the order whose composed number SQL_ZLOZ_NR_ZAM(idZam,
// sDaneUzytk, rok) equals `numer` (already upper-cased), bound as a
// parameter. Returns kDbQueryValue (found), kDbQueryNoRow, kDbQueryNull or
// kDbQueryError (with msg). Needs the SQL functions registered.
int FindOrderByNumber(const char* numer, int64_t* klucz, char* msg);

// What a key walk's callback answers.
enum DbWalkAnswer {
    kDbWalkFail = -1,  // stop; the callback has written its message
    kDbWalkStop = 0,   // stop; the walk succeeded
    kDbWalkNext = 1,   // go on with the next key
};
typedef int (*DbOrderKeyFn)(int64_t klucz, void* ctx, char* msg);

// Hands the keys of the orders to `fn` in key order: every order, or with
// `status` 1-6 only the orders of that status. The query stays open while
// fn runs, so fn may load each order on the same connection (reads only).
// 1 when the walk ended at the last key or on kDbWalkStop; 0 when fn
// answered kDbWalkFail (its message in msg) or the read failed:
// "Error of reading orders from the database\r\n%s" with SQLite's text for
// a generic error, without it for any other failure of a step.
int DbWalkOrderKeys(int32_t status, DbOrderKeyFn fn, void* ctx, char* msg);

// Every order of the register (or of one status) with its accessories,
// windows and drawing operations, read in key order by four statements held
// open side by side, each row once: the passes over a whole register take
// this instead of a load per order. Each order is checked as a load checks
// it (every window's geometry recomputed and its structure built), so a
// pass meets a bad order where the loads would, with the same text.
// REQUIRES: an open database; a read transaction around the pass keeps its
// four statements on one snapshot.
class OrderStream {
public:
    OrderStream();
    ~OrderStream();
    OrderStream(const OrderStream&) = delete;
    OrderStream& operator=(const OrderStream&) = delete;

    // The orders of `status` (1-6; any other value every order), in key order.
    // With `framesOnly` each window comes with its first operation alone
    // (the frame) and its structure is not rebuilt: enough for the order's
    // totals, at a fraction of the reading.
    bool Open(int32_t status, char* msg, bool framesOnly = false);
    // The next order into *z, as LoadOrder would load it (its totals and
    // view flags zero): 1; 0 after the last; -1 with the text the load of
    // that order gives. The lists belong to the stream and hold until the
    // next call: the caller copies what it keeps and never releases them.
    int Next(strZamRob* z, char* msg);

private:
    struct Impl;
    std::unique_ptr<Impl> p_;
};

#endif  // KV_DB_ORDERS_H
