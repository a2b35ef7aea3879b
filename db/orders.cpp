// Whole orders in the database.
//
// Every multi-statement change runs inside one named transaction and jumps
// to the roll-back at its first failure: a half-saved order costs the user
// more than a refused one.
#include "db/orders.h"

#include <inttypes.h>
#include <stdio.h>
#include <string.h>

#include <new>
#include <string>
#include <vector>

#include "db/accessories.h"
#include "db/backend.h"
#include "db/connection.h"
#include "db/desks.h"
#include "db/stmt.h"
#include "db/tables.h"
#include "model/operations.h"
#include "model/structure.h"
#include "model/window.h"
#include "util/heap.h"
#include "util/kvutil.h"
#include "util/msgbuf.h"

// The column part of the order record: everything before the in-memory lists.
static const size_t kOrderColumnBytes = offsetof(strZam, liczbaOkien);

// ---- Release, copy, compare ----------------------------------------------

void FreeOrder(strZamRob* z) {
    if (z->zam.okna) FreeWindows(z->zam.okna, z->zam.liczbaOkien);
    z->zam.okna = nullptr;
    z->zam.liczbaOkien = 0;
    KvFree(z->zam.dodatki);
    z->zam.dodatki = nullptr;
    z->zam.liczbaDodat = 0;
}

void FreeAndZeroOrder(strZamRob* z) {
    FreeOrder(z);
    memset(z, 0, sizeof *z);
}

int CopyOrder(strZamRob* cel, const strZamRob* zrodlo, char* msg) {
    if (cel == zrodlo) return 1;
    memcpy(&cel->zam, &zrodlo->zam, kOrderColumnBytes);
    cel->zam.okna = nullptr;
    cel->zam.liczbaOkien = 0;
    cel->zam.dodatki = nullptr;
    cel->zam.liczbaDodat = 0;
    for (int32_t i = 0; zrodlo->zam.okna && i < zrodlo->zam.liczbaOkien; i++) {
        if (!AddWindow(&cel->zam.okna, &cel->zam.liczbaOkien, &zrodlo->zam.okna[i], msg)) {
            FreeOrder(cel);
            return 0;
        }
    }
    for (int32_t i = 0; zrodlo->zam.dodatki && i < zrodlo->zam.liczbaDodat; i++) {
        if (!AppendAccessory(&cel->zam.dodatki, &cel->zam.liczbaDodat, &zrodlo->zam.dodatki[i], msg)) {
            FreeOrder(cel);
            return 0;
        }
    }
    return 1;
}

// ---- Load -----------------------------------------------------------------

// Reads the operations of one window into its own list.
static int LoadWindowOps(strOkno* o, char* msg) {
    o->oper = nullptr;
    o->liczbaOper = 0;
    strOperRysDb* wiersze = nullptr;
    int n = CountReadDrawingOps(o->kluczOkno, &wiersze, msg);
    if (n < 0) return 0;
    if (n == 0) return 1;
    uniOperRys* lista = (uniOperRys*)KvAlloc((size_t)n * sizeof(uniOperRys));
    if (!lista) {
        KvFree(wiersze);
        KvMsg(msg, "Error of allocation the uniOperRys union");
        return 0;
    }
    for (int i = 0; i < n; i++) BlobToDrawOp(wiersze[i].uOperRysDb, kDrawingOpDbLen, &lista[i]);
    KvFree(wiersze);
    o->oper = lista;
    o->liczbaOper = n;
    return 1;
}

// Recomputes the derived geometry from the defining parts and checks that
// the areas build: a window the designer could not show is refused here.
static int RebuildWindow(strOkno* o, char* msg) {
    const int32_t format = StructureFormat(o->status);
    if (!ComputeGeometry(o->oper, o->liczbaOper, format, o, msg)) return 0;
    strObsOkno* tab = nullptr;
    int32_t n = 0;
    if (!BuildStructure(o->oper, o->liczbaOper, 0, 0, 1, &tab, &n, msg)) return 0;
    FreeStructure(tab);
    return 1;
}

// The load reads one snapshot: each count and the read that follows it see the
// same rows even if another process writes in between, and SQLite takes its
// file lock once per order instead of once per statement.
static const char kTrLoadOrder[] = "WczytanieZamowieniaSq";

static int LoadOrderInTransaction(int64_t klucz, strZamRob* z, char* msg);

int LoadOrder(int64_t klucz, strZamRob* z, char* msg) {
    memset(z, 0, sizeof *z);
    // Inside a caller's transaction the snapshot is already the caller's.
    DbReadTransaction odczyt(kTrLoadOrder, msg);
    if (odczyt.failed()) return 0;
    return LoadOrderInTransaction(klucz, z, msg);
}

static int LoadOrderInTransaction(int64_t klucz, strZamRob* z, char* msg) {
    if (!ReadOrderRow(klucz, &z->zam, msg)) {
        memset(z, 0, sizeof *z);
        return 0;
    }
    int n = CountReadOrderAccessories(klucz, &z->zam.dodatki, msg);
    if (n < 0) {
        memset(z, 0, sizeof *z);
        return 0;
    }
    z->zam.liczbaDodat = n;

    n = CountReadWindows(klucz, &z->zam.okna, msg);
    bool ok = n >= 0;
    if (ok) {
        z->zam.liczbaOkien = n;
        // Every window's list starts empty, so a failure part-way releases only what was read.
        for (int32_t i = 0; i < n; i++) {
            z->zam.okna[i].oper = nullptr;
            z->zam.okna[i].liczbaOper = 0;
        }
        for (int32_t i = 0; ok && i < n; i++) ok = LoadWindowOps(&z->zam.okna[i], msg);
        for (int32_t i = 0; ok && i < n; i++) ok = RebuildWindow(&z->zam.okna[i], msg);
    }
    if (!ok) {
        FreeAndZeroOrder(z);
        return 0;
    }
    z->flagiWidoku = 0;
    // In the load's own snapshot: what a later write compares with.
    if (!DbOrderPrint(klucz, &z->loadedPrint, msg)) {
        FreeAndZeroOrder(z);
        return 0;
    }
    return 1;
}

// ---- What the stored order is ------------------------------------------------

bool DbOrderPrint(int64_t klucz, uint64_t* print, char* msg) {
    static const char* const kParts[] = {
        "SELECT * FROM T_Zam WHERE kluczZam = ?1",
        "SELECT kluczOkno FROM T_Okno WHERE kluczZam = ?1 ORDER BY kluczOkno",
        "SELECT * FROM T_DodatZam WHERE kluczZam = ?1 ORDER BY iKolej",
    };
    RowPrint f;
    for (const char* sql : kParts) {
        Stmt st;
        if (!st.Prepare(sql) || !st.BindInt(1, klucz) || !f.Add(st)) {
            KvMsg(msg, "Error of reading T_%s table from the database\r\n%s", "Zam", DbErrorText());
            return false;
        }
        f.EndPart();
    }
    *print = f.value();
    return true;
}

// Inside a write transaction: true when the stored order is what the record
// was loaded from (or the record was never loaded). A server's row is
// locked first, so no other desk writes it between the check and the write;
// the file's write lock is the transaction's own.
static int StillAsLoaded(const strZamRob* z, char* msg) {
    if (!z->loadedPrint) return 1;
    // An order deleted meanwhile: the write's own check says so.
    char gone[64];
    snprintf(gone, sizeof gone, "kluczZam = %" PRId64, z->zam.kluczZam);
    if (DbCountRows("T_Zam", nullptr, gone) == 0) return 1;
    if (DbBackendInUse() == kDbServer) {
        Stmt lock;
        if (!lock.Prepare("SELECT kluczZam FROM T_Zam WHERE kluczZam = ?1 FOR UPDATE") ||
            !lock.BindInt(1, z->zam.kluczZam) || lock.Step() == kStepError) {
            KvMsg(msg, "Error of SQL command\r\n%s", DbErrorText());
            return 0;
        }
    }
    uint64_t now = 0;
    if (!DbOrderPrint(z->zam.kluczZam, &now, msg)) return 0;
    if (now == z->loadedPrint) return 1;
    char number[64] = "";
    DbComposedNumber(z->zam.idZam, &z->zam.sDaneUzytk, (int)sizeof z->zam.sDaneUzytk, z->zam.rok, number);
    KvMsg(msg,
          "The order %s was changed at another desk after it was opened: nothing has been written.\r\n"
          "To see the other change, close this window (what was typed here is then dropped) and open the order "
          "again.",
          number);
    return 0;
}

// ---- Save -----------------------------------------------------------------

// Inserts the accessories, windows and operations of the order whose key is
// in the record. Window keys come back from the database before their
// operations are written, since the operations carry them.
static int SaveOrderChildren(strZam* z, char* msg) {
    for (int32_t i = 0; i < z->liczbaDodat; i++) z->dodatki[i].kluczZam = z->kluczZam;
    if (z->liczbaDodat > 0 && !InsertOrderAccessories(z->liczbaDodat, z->dodatki, msg)) return 0;
    for (int32_t i = 0; i < z->liczbaOkien; i++) z->okna[i].kluczZam = z->kluczZam;
    if (z->liczbaOkien > 0 && !InsertWindows(z->liczbaOkien, z->okna, msg)) return 0;
    for (int32_t i = 0; i < z->liczbaOkien; i++) {
        const strOkno& o = z->okna[i];
        if (!o.oper || o.liczbaOper <= 0) continue;
        strOperRysDb* wiersze = (strOperRysDb*)KvAlloc((size_t)o.liczbaOper * sizeof(strOperRysDb));
        if (!wiersze) {
            KvMsg(msg, "Error of allocation of str%s structure", "OperRysDb");
            return 0;
        }
        for (int32_t j = 0; j < o.liczbaOper; j++) {
            wiersze[j].kluczOkno = o.kluczOkno;
            wiersze[j].indeks = j;
            DrawOpToBlob(&o.oper[j], wiersze[j].uOperRysDb);
        }
        int ok = InsertDrawingOps(o.liczbaOper, wiersze, msg);
        KvFree(wiersze);
        if (!ok) return 0;
    }
    return 1;
}

// Rolls back after a failed step: the step's message stays, the roll-back
// reports nothing of its own (SQLite may already have ended the transaction).
static int RollBackAndFail(const char* nazwa) {
    DbRollback(nazwa, nullptr);
    return 0;
}

// A server keeps its texts in Unicode and refuses a byte the desk's code
// page leaves undefined: the message names the order, so the user knows
// which one to change.
static void NameTheOrderOfABadCharacter(const strZam& z, char* msg) {
    if (!msg || DbBackendInUse() != kDbServer || !ServerFailedOnACharacter()) return;
    char number[64];
    if (!DbComposedNumber(z.idZam, &z.sDaneUzytk, (int)sizeof z.sDaneUzytk, z.rok, number)) return;
    char why[KV_MSG_LEN];
    snprintf(why, sizeof why, "%s", msg);
    KvMsg(msg, "The order %s holds a character that the database cannot store: nothing has been saved.\r\n%s",
          number, why);
}

// On a server another desk may have taken the number the order showed, or
// closed the year, since the order was begun. The variables row is locked
// for the rest of the save's transaction, so two desks saving at once take
// their numbers one after the other; an order whose number was taken gets
// the next free one, in the working year the row holds. The file has one
// desk: its orders keep the number they showed.
static int TakeTheNumber(strZam* z, char* msg) {
    if (DbBackendInUse() != kDbServer) return 1;
    Stmt st;
    if (!st.Prepare("SELECT idZam, rok FROM T_Zmienne FOR UPDATE") || st.Step() != kStepRow) {
        KvMsg(msg, "Error of reading T_%s table from the database\r\n%s", "Zmienne", DbErrorText());
        return 0;
    }
    const int32_t last = st.ColumnInt32(0), year = st.ColumnInt32(1);
    if (z->rok != year) {
        z->rok = year;
        z->idZam = last + 1;
    } else if (z->idZam <= last) {
        z->idZam = last + 1;
    }
    return 1;
}

static int SaveNew(strZamRob* z, strZmienne* zmienne, bool renumber, char* msg) {
    if (!DbBegin(kTrSaveOrder, msg)) return 0;
    const int64_t kluczPrzed = z->zam.kluczZam;
    const int32_t numerPrzed = z->zam.idZam, rokPrzed = z->zam.rok;
    uint64_t print = 0;
    if ((renumber && !TakeTheNumber(&z->zam, msg)) || !InsertOrderRow(&z->zam, msg) || !SaveOrderChildren(&z->zam, msg) ||
        !DbSaveLastOrderNumber(z->zam.idZam, msg) || !DbOrderPrint(z->zam.kluczZam, &print, msg) ||
        !DbTellDesks(kNewsOrder, z->zam.kluczZam, msg) ||
        !DbCommit(kTrSaveOrder, msg)) {
        // A key of a rolled-back row may be given to the next order saved;
        // the record must not point at it, nor keep a number it did not get.
        z->zam.kluczZam = kluczPrzed;
        z->zam.idZam = numerPrzed;
        z->zam.rok = rokPrzed;
        NameTheOrderOfABadCharacter(z->zam, msg);
        return RollBackAndFail(kTrSaveOrder);
    }
    if (zmienne) zmienne->idZam = z->zam.idZam;
    z->loadedPrint = print;
    return 1;
}

int SaveNewOrder(strZamRob* z, strZmienne* zmienne, char* msg) { return SaveNew(z, zmienne, false, msg); }

int SaveNewOrderNumbered(strZamRob* z, char* msg) { return SaveNew(z, nullptr, true, msg); }

int OverwriteOrder(strZamRob* z, char* msg) {
    if (!DbBegin(kTrOverwriteOrder, msg)) return 0;
    if (!StillAsLoaded(z, msg)) return RollBackAndFail(kTrOverwriteOrder);
    if (!DeleteOrderChildren(z->zam.kluczZam, msg) || !UpdateOrderRow(&z->zam, msg)) {
        NameTheOrderOfABadCharacter(z->zam, msg);
        return RollBackAndFail(kTrOverwriteOrder);
    }
    // An order deleted meanwhile must not come back as orphaned windows.
    if (DbChanges() != 1) {
        KvMsg(msg, "Error of updating str%s in the database", "Zam");
        return RollBackAndFail(kTrOverwriteOrder);
    }
    uint64_t print = 0;
    if (!SaveOrderChildren(&z->zam, msg) || !DbOrderPrint(z->zam.kluczZam, &print, msg) ||
        !DbTellDesks(kNewsOrder, z->zam.kluczZam, msg) || !DbCommit(kTrOverwriteOrder, msg)) {
        NameTheOrderOfABadCharacter(z->zam, msg);
        return RollBackAndFail(kTrOverwriteOrder);
    }
    z->loadedPrint = print;
    return 1;
}

int DeleteOrderChildren(int64_t klucz, char* msg) {
    char sql[256];
    snprintf(sql, sizeof sql, "DELETE FROM T_DodatZam WHERE kluczZam = %" PRId64 ";", klucz);
    if (!DbExec(sql, msg)) return 0;
    snprintf(sql, sizeof sql,
             "DELETE FROM T_OperRysDb WHERE T_OperRysDb.kluczOkno IN (SELECT T_Okno.kluczOkno "
             "FROM T_Okno WHERE T_Okno.kluczZam = %" PRId64 ");",
             klucz);
    if (!DbExec(sql, msg)) return 0;
    snprintf(sql, sizeof sql, "DELETE FROM T_Okno WHERE kluczZam = %" PRId64 ";", klucz);
    return DbExec(sql, msg);
}

int DeleteOrder(int64_t klucz, char* msg) {
    if (!DbBegin(kTrDeleteOrder, msg)) return 0;
    char sql[128];
    snprintf(sql, sizeof sql, "DELETE FROM T_Zam WHERE kluczZam = %" PRId64 ";", klucz);
    if (!DeleteOrderChildren(klucz, msg) || !DbExec(sql, msg) || !DbTellDesks(kNewsOrderDeleted, klucz, msg) ||
        !DbCommit(kTrDeleteOrder, msg))
        return RollBackAndFail(kTrDeleteOrder);
    return 1;
}

int ChangeLoadedOrderStatus(strZamRob* z, int32_t status, char* msg) {
    static const char kTr[] = "ZmianaStanuZamowieniaSq";
    if (!DbBegin(kTr, msg)) return 0;
    uint64_t print = 0;
    if (!StillAsLoaded(z, msg) || !ChangeOrderStatus(z->zam.kluczZam, status, msg) ||
        !DbOrderPrint(z->zam.kluczZam, &print, msg) || !DbCommit(kTr, msg))
        return RollBackAndFail(kTr);
    z->zam.status = status;
    z->loadedPrint = print;
    return 1;
}

int DeleteLoadedOrder(strZamRob* z, char* msg) {
    // DeleteOrder's transaction, with the check inside it.
    if (!DbBegin(kTrDeleteOrder, msg)) return 0;
    char sql[128];
    snprintf(sql, sizeof sql, "DELETE FROM T_Zam WHERE kluczZam = %" PRId64 ";", z->zam.kluczZam);
    if (!StillAsLoaded(z, msg) || !DeleteOrderChildren(z->zam.kluczZam, msg) || !DbExec(sql, msg) ||
        !DbTellDesks(kNewsOrderDeleted, z->zam.kluczZam, msg) || !DbCommit(kTrDeleteOrder, msg))
        return RollBackAndFail(kTrDeleteOrder);
    z->loadedPrint = 0;
    return 1;
}

int ChangeOrderStatus(int64_t klucz, int32_t status, char* msg) {
    char sql[128];
    snprintf(sql, sizeof sql, "UPDATE T_Zam SET status = %d WHERE kluczZam = %" PRId64 ";", (int)status,
             klucz);
    return DbExec(sql, msg) && DbTellDesks(kNewsOrder, klucz, msg);
}

// ---- The pass over the register ---------------------------------------------

// Each child table is read in the orders' key order; a cursor holds the row
// it read last until the order it belongs to comes. Rows of keys that the
// pass does not visit (another status, an order that is gone) are passed
// over as the orders are.
struct OrderStream::Impl {
    TblCursor orders{kTabZam, "Error of reading orders from the database"};
    TblCursor accessories{kTabDodatZam}, windows{kTabOkno}, operations{kTabOperRysDb};

    struct Pending {
        bool ready = false;  // a row is held
        bool done = false;   // the table has no rows left
        int64_t key = 0;     // the order key of the held row
    };
    Pending acc, win, op;
    bool framesOnly = false;
    strDodatZam accRow;
    strOkno winRow;
    strOperRysDb opRow;

    std::vector<strDodatZam> accList;
    std::vector<strOkno> winList;
    std::vector<uniOperRys> opList;
    std::vector<int32_t> opStart;  // per window: its first operation in opList

    // Steps `c` to the first row of order `key` or past it; -1 on a failure.
    template <class Row>
    int Seek(TblCursor& c, Pending& p, Row* row, int64_t key, int64_t (*keyOf)(const TblCursor&, const Row&),
             char* msg) {
        while (!p.done && (!p.ready || p.key < key)) {
            // Zeroed as the load's records are: a text leaves the bytes after
            // its end as they were.
            memset(row, 0, sizeof *row);
            const int r = c.Next(row, msg);
            if (r < 0) return -1;
            p.done = r == 0;
            p.ready = r == 1;
            if (p.ready) p.key = keyOf(c, *row);
        }
        return 1;
    }
    // Takes the held row of order `key`, if that is whose it is.
    static bool Holds(const Pending& p, int64_t key) { return p.ready && p.key == key; }
    // Every row of order `key` from `c` into `out`; -1 on a failure.
    template <class Row>
    int Collect(TblCursor& c, Pending& p, Row* row, int64_t key, int64_t (*keyOf)(const TblCursor&, const Row&),
                std::vector<Row>* out, char* msg) {
        out->clear();
        for (;;) {
            if (Seek(c, p, row, key, keyOf, msg) < 0) return -1;
            if (!Holds(p, key)) return 1;
            out->push_back(*row);
            p.ready = false;
        }
    }
};

namespace {

int64_t AccessoryOrder(const TblCursor&, const strDodatZam& r) { return r.kluczZam; }
int64_t WindowOrder(const TblCursor&, const strOkno& r) { return r.kluczZam; }
int64_t OperationOrder(const TblCursor& c, const strOperRysDb&) { return c.Extra(0); }

// The condition of a pass over one status, "" for every order: bound by
// value, a small integer.
std::string StatusIn(const char* column, int32_t status) {
    if (status < 1 || status > kStatusCount) return "";
    char cond[96];
    snprintf(cond, sizeof cond, "%s IN (SELECT kluczZam FROM T_Zam WHERE status = %d)", column, (int)status);
    return cond;
}

std::string StatusCond(const char* column, int32_t status) {
    const std::string in = StatusIn(column, status);
    return in.empty() ? in : " WHERE " + in;
}

}  // namespace

OrderStream::OrderStream() : p_(new Impl) {}
OrderStream::~OrderStream() = default;

bool OrderStream::Open(int32_t status, char* msg, bool framesOnly) {
    p_.reset(new Impl);
    p_->framesOnly = framesOnly;
    const bool one = status >= 1 && status <= kStatusCount;
    char orders[96];
    if (one) snprintf(orders, sizeof orders, "SELECT * FROM T_Zam WHERE status = %d ORDER BY kluczZam", (int)status);
    else snprintf(orders, sizeof orders, "SELECT * FROM T_Zam ORDER BY kluczZam");
    const std::string acc = "SELECT * FROM T_DodatZam" + StatusCond("kluczZam", status) + " ORDER BY kluczZam, iKolej";
    const std::string win = "SELECT * FROM T_Okno" + StatusCond("kluczZam", status) + " ORDER BY kluczZam, kluczOkno";
    // Operations carry their window's key only: the order's comes from the
    // window, and the indexes give the rows in this order without a sort.
    std::string ops = "SELECT r.*, o.kluczZam FROM T_Okno o JOIN T_OperRysDb r ON r.kluczOkno = o.kluczOkno" +
                      StatusCond("o.kluczZam", status) + " ORDER BY o.kluczZam, o.kluczOkno, r.indeks";
    if (framesOnly) {
        // The windows in key order, each one's first operation found by the
        // index (SQLite keeps a CROSS JOIN's order; without it, it scans
        // every operation and sorts).
        const std::string in = StatusIn("o.kluczZam", status);
        ops = "SELECT r.*, o.kluczZam FROM T_Okno o CROSS JOIN T_OperRysDb r WHERE r.kluczOkno = o.kluczOkno AND "
              "r.indeks = 0" + (in.empty() ? in : " AND " + in) + " ORDER BY o.kluczZam, o.kluczOkno, r.indeks";
    }
    return p_->orders.Open(orders, msg) && p_->accessories.Open(acc.c_str(), msg) &&
           p_->windows.Open(win.c_str(), msg) && p_->operations.Open(ops.c_str(), msg);
}

int OrderStream::Next(strZamRob* z, char* msg) {
    Impl& s = *p_;
    memset(z, 0, sizeof *z);
    const int r = s.orders.Next(&z->zam, msg);
    if (r <= 0) {
        memset(z, 0, sizeof *z);
        return r;
    }
    const int64_t key = z->zam.kluczZam;
    try {
        if (s.Collect(s.accessories, s.acc, &s.accRow, key, AccessoryOrder, &s.accList, msg) < 0 ||
            s.Collect(s.windows, s.win, &s.winRow, key, WindowOrder, &s.winList, msg) < 0)
            return -1;
        // The operations come grouped by window in the windows' order.
        s.opList.clear();
        s.opStart.assign(s.winList.size() + 1, 0);
        size_t w = 0;
        if (s.Seek(s.operations, s.op, &s.opRow, key, OperationOrder, msg) < 0) return -1;
        while (Impl::Holds(s.op, key)) {
            while (w < s.winList.size() && s.winList[w].kluczOkno < s.opRow.kluczOkno) s.opStart[++w] = (int32_t)s.opList.size();
            if (w < s.winList.size() && s.winList[w].kluczOkno == s.opRow.kluczOkno) {
                uniOperRys op;
                BlobToDrawOp(s.opRow.uOperRysDb, kDrawingOpDbLen, &op);
                s.opList.push_back(op);
            }
            s.op.ready = false;
            if (s.Seek(s.operations, s.op, &s.opRow, key, OperationOrder, msg) < 0) return -1;
        }
        while (w < s.winList.size()) s.opStart[++w] = (int32_t)s.opList.size();
    } catch (const std::bad_alloc&) {
        KvMsg(msg, "Error of allocation of str%s structure", "Okno");
        memset(z, 0, sizeof *z);
        return -1;
    }
    for (size_t i = 0; i < s.winList.size(); i++) {
        strOkno& o = s.winList[i];
        const int32_t n = s.opStart[i + 1] - s.opStart[i];
        o.oper = n > 0 ? &s.opList[(size_t)s.opStart[i]] : nullptr;
        o.liczbaOper = n;
    }
    for (strOkno& o : s.winList) {
        if (s.framesOnly) continue;
        if (!RebuildWindow(&o, msg)) {
            memset(z, 0, sizeof *z);
            return -1;
        }
    }
    z->zam.dodatki = s.accList.empty() ? nullptr : s.accList.data();
    z->zam.liczbaDodat = (int32_t)s.accList.size();
    z->zam.okna = s.winList.empty() ? nullptr : s.winList.data();
    z->zam.liczbaOkien = (int32_t)s.winList.size();
    return 1;
}
