// The generic table family. Each table is described once by its columns in
// table order; reading, counting, updating and inserting walk that list, so
// a record and its statements cannot disagree about the column order.
#include "db/tables.h"

#include <inttypes.h>
#include <stdio.h>
#include <string.h>
#include <string>

#include "db/connection.h"
#include "db/desks.h"
#include "db/stmt.h"
#include "util/heap.h"
#include "util/kvutil.h"
#include "util/msgbuf.h"

#define FIELD_W(rec, f) (int)sizeof(((rec*)nullptr)->f)
#define COL_I32(rec, f) \
    { #f, kColInt32, offsetof(rec, f), 4, 0 }
#define COL_I64(rec, f) \
    { #f, kColInt64, offsetof(rec, f), 8, 0 }
#define COL_KEY(rec, f) \
    { #f, kColKey, offsetof(rec, f), 8, 0 }
#define COL_TXT(rec, f) \
    { #f, kColText, offsetof(rec, f), FIELD_W(rec, f), 0 }
#define COL_BLB(rec, f) \
    { #f, kColBlob, offsetof(rec, f), FIELD_W(rec, f), 0 }
#define TABLE(var, nm, rec, cols) \
    const TableDef var = {nm, sizeof(rec), cols, (int)(sizeof(cols) / sizeof(cols[0]))}

static const ColumnDef kColsVariables[] = {COL_I32(strZmienne, idZam), COL_I32(strZmienne, rok)};
TABLE(kTabZmienne, "Zmienne", strZmienne, kColsVariables);

static const ColumnDef kColsUserSettings[] = {
    COL_I32(strUstUzytk, idWalPrg),
    COL_I32(strUstUzytk, czasReal),
    COL_I32(strUstUzytk, waga),
    COL_BLB(strUstUzytk, sDaneUzytk),
    COL_BLB(strUstUzytk, sWspUw),
    COL_BLB(strUstUzytk, sWycenZamParam),
    {"stanyZam", kColPackedText, offsetof(strUstUzytk, stanyZam), FIELD_W(strUstUzytk, stanyZam),
     kStatusCount},
    COL_I32(strUstUzytk, wysNaglDruk),
    COL_I32(strUstUzytk, status),
};
TABLE(kTabUstUzytk, "UstUzytk", strUstUzytk, kColsUserSettings);

static const ColumnDef kColsOrder[] = {
    COL_KEY(strZam, kluczZam),      COL_I32(strZam, idZam),      COL_I32(strZam, rok),
    COL_TXT(strZam, dodOznaczZam),  COL_I32(strZam, idWalZam),   COL_TXT(strZam, dataZam),
    COL_TXT(strZam, dataReal),      COL_TXT(strZam, nazwaNabyw), COL_TXT(strZam, adresNabyw),
    COL_TXT(strZam, infDodatNabyw), COL_I32(strZam, waga),       COL_TXT(strZam, uwagi),
    COL_I32(strZam, status),        COL_BLB(strZam, sDaneUzytk), COL_BLB(strZam, sWycenZamParam),
};
TABLE(kTabZam, "Zam", strZam, kColsOrder);

static const ColumnDef kColsWindow[] = {
    COL_KEY(strOkno, kluczOkno), COL_I64(strOkno, kluczZam),   COL_I32(strOkno, iProfSch),
    COL_I32(strOkno, iOkucie),   COL_I32(strOkno, iKolor),     COL_I32(strOkno, iListwa),
    COL_I32(strOkno, iSzpros),   COL_TXT(strOkno, nazProfil),  COL_TXT(strOkno, nazOkucie),
    COL_TXT(strOkno, nazKolor),  COL_TXT(strOkno, nazListwa),  COL_TXT(strOkno, nazSzpros),
    COL_BLB(strOkno, sGrubProf), COL_I32(strOkno, grubSzpros), COL_I32(strOkno, ilOkien),
    COL_I64(strOkno, cenaZReki), COL_BLB(strOkno, sWspUw),     COL_I32(strOkno, uwZReki),
    COL_TXT(strOkno, uwagi),     COL_I32(strOkno, status),
};
TABLE(kTabOkno, "Okno", strOkno, kColsWindow);

static const ColumnDef kColsDrawingOp[] = {
    COL_I64(strOperRysDb, kluczOkno),
    COL_I32(strOperRysDb, indeks),
    COL_BLB(strOperRysDb, uOperRysDb),
};
TABLE(kTabOperRysDb, "OperRysDb", strOperRysDb, kColsDrawingOp);

static const ColumnDef kColsOrderAccessory[] = {
    COL_I64(strDodatZam, kluczZam), COL_I32(strDodatZam, iKolej),    COL_TXT(strDodatZam, nazwa),
    COL_I32(strDodatZam, ilWym),    COL_TXT(strDodatZam, jm),        COL_BLB(strDodatZam, wymiar),
    COL_I32(strDodatZam, ilosc),    COL_I64(strDodatZam, cenaZReki),
};
TABLE(kTabDodatZam, "DodatZam", strDodatZam, kColsOrderAccessory);

static const ColumnDef kColsProfileRegister[] = {COL_TXT(strZstProfil, nazwa), COL_I32(strZstProfil, typ),
                                           COL_BLB(strZstProfil, sGrubProf)};
TABLE(kTabZstProfil, "ZstProfil", strZstProfil, kColsProfileRegister);
static const ColumnDef kColsHardwareRegister[] = {COL_TXT(strZstOkucie, nazwa)};
TABLE(kTabZstOkucie, "ZstOkucie", strZstOkucie, kColsHardwareRegister);
static const ColumnDef kColsColourRegister[] = {COL_TXT(strZstKolor, nazwa), COL_I32(strZstKolor, typ)};
TABLE(kTabZstKolor, "ZstKolor", strZstKolor, kColsColourRegister);
static const ColumnDef kColsBeadRegister[] = {COL_TXT(strZstListwa, nazwa)};
TABLE(kTabZstListwa, "ZstListwa", strZstListwa, kColsBeadRegister);
static const ColumnDef kColsMuntinRegister[] = {COL_TXT(strZstSzpros, nazwa), COL_I32(strZstSzpros, grubSzpros)};
TABLE(kTabZstSzpros, "ZstSzpros", strZstSzpros, kColsMuntinRegister);
static const ColumnDef kColsFillingRegister[] = {COL_TXT(strZstWypeln, nazwa), COL_I32(strZstWypeln, typ)};
TABLE(kTabZstWypeln, "ZstWypeln", strZstWypeln, kColsFillingRegister);
static const ColumnDef kColsAccessoryRegister[] = {COL_TXT(strZstDodat, nazwa), COL_I32(strZstDodat, ilWym),
                                          COL_TXT(strZstDodat, jm)};
TABLE(kTabZstDodat, "ZstDodat", strZstDodat, kColsAccessoryRegister);

// ---- Statement texts ------------------------------------------------------

static std::string SelectText(const TableDef& t, const char* cond, const char* order) {
    std::string sql = "SELECT * FROM T_";
    sql += t.name;
    if (cond) (sql += " WHERE ") += cond;
    if (order) (sql += " ORDER BY ") += order;
    return sql;
}

// "UPDATE T_x SET a = :1_a,b = :2_b[ WHERE cond];"
static std::string UpdateText(const TableDef& t, const char* cond) {
    std::string sql = "UPDATE T_";
    sql += t.name;
    sql += " SET ";
    for (int i = 0; i < t.colCount; i++) {
        if (i) sql += ",";
        sql += t.cols[i].name;
        sql += " = :" + std::to_string(i + 1) + "_" + t.cols[i].name;
    }
    if (cond) (sql += " WHERE ") += cond;
    sql += ";";
    return sql;
}

// "INSERT INTO T_x VALUES (:1_a,:2_b);". A server generates a key itself
// ("DEFAULT", no parameter) and hands it back (RETURNING).
static std::string InsertText(const TableDef& t, bool server) {
    std::string sql = "INSERT INTO T_";
    sql += t.name;
    sql += " VALUES (";
    const char* key = nullptr;
    for (int i = 0; i < t.colCount; i++) {
        if (i) sql += ",";
        if (server && t.cols[i].type == kColKey) {
            sql += "DEFAULT";
            key = t.cols[i].name;
            continue;
        }
        sql += ":" + std::to_string(i + 1) + "_" + t.cols[i].name;
    }
    sql += ")";
    if (key) (sql += " RETURNING ") += key;
    sql += ";";
    return sql;
}

// ---- Rows and records -----------------------------------------------------

static void ReadRow(const TableDef& t, const Stmt& st, char* rec) {
    const int columns = st.ColumnCount();
    for (int i = 0; i < t.colCount && i < columns; i++) {
        const ColumnDef& c = t.cols[i];
        char* f = rec + c.offset;
        switch (c.type) {
            case kColInt32: {
                int32_t v = st.ColumnInt32(i);
                memcpy(f, &v, sizeof v);
                break;
            }
            case kColInt64:
            case kColKey: {
                int64_t v = st.ColumnInt64(i);
                memcpy(f, &v, sizeof v);
                break;
            }
            case kColText: ColumnText(st, i, f, c.width); break;
            case kColBlob: ColumnBlob(st, i, f, c.width); break;
            case kColPackedText: {
                int len;
                const char* packed = st.ColumnBytes(i, &len);
                T2TekstNaTNapN(packed, len, c.width, c.rows, f);
                break;
            }
        }
    }
}

// Binds every column of rec; on failure writes the binding message. An
// insert binds a key as NULL so the file assigns it (a server's insert has
// no parameter for it); an update binds its current value, which leaves the
// row's key as it is.
static bool BindRow(const TableDef& t, Stmt& st, const char* rec, bool insert, char* msg) {
    const bool server = DbBackendInUse() == kDbServer;
    int param = 0;
    for (int i = 0; i < t.colCount; i++) {
        const ColumnDef& c = t.cols[i];
        const char* f = rec + c.offset;
        if (insert && server && c.type == kColKey) continue;
        ++param;
        bool ok = false;
        switch (c.type) {
            case kColInt32: {
                int32_t v;
                memcpy(&v, f, sizeof v);
                ok = st.BindInt(param, v);
                break;
            }
            case kColKey:
                if (insert) {
                    ok = st.BindNull(param);
                    break;
                }
                [[fallthrough]];
            case kColInt64: {
                int64_t v;
                memcpy(&v, f, sizeof v);
                ok = st.BindInt(param, v);
                break;
            }
            case kColText: {
                // A field is never read past its width, terminated or not.
                const void* nul = memchr(f, 0, (size_t)c.width);
                int len = nul ? (int)((const char*)nul - f) : c.width - 1;
                ok = st.BindText(param, f, len);
                break;
            }
            case kColBlob: ok = st.BindBlob(param, f, c.width); break;
            case kColPackedText: {
                char packed[512];
                int len = (c.width <= (int)sizeof packed) ? TNapNaT2Tekst(f, c.width, c.rows, packed) : 0;
                ok = st.BindBlob(param, packed, len);
                break;
            }
        }
        if (!ok) {
            KvMsg(msg, "Error of binding the %s field", c.name);
            return false;
        }
    }
    return true;
}

// Writes "<what>\r\n<the database's text>" for a generic error, "<what>" otherwise.
static void FailText(char* msg, int err, const char* what) {
    if (err == kDbErrGeneric && DbBackendInUse() != kDbClosed) KvMsg(msg, "%s\r\n%s", what, DbErrorText());
    else KvMsg(msg, "%s", what);
    DbAddBusyLine(msg);
}

// Reads at most maxRows rows into consecutive records at dest; *read gets
// how many were read.
static int ReadRows(const TableDef& t, void* dest, const char* cond, const char* order, int64_t maxRows,
                    int* read, char* msg) {
    char what[128];
    snprintf(what, sizeof what, "Error of reading T_%s table from the database", t.name);
    *read = 0;
    Stmt st;
    if (!st.Prepare(SelectText(t, cond, order).c_str())) {
        FailText(msg, kDbErrGeneric, what);
        return 0;
    }
    char* rec = (char*)dest;
    while (*read < maxRows) {
        const int rc = st.Step();
        if (rc == kStepDone) break;
        if (rc != kStepRow) {
            FailText(msg, st.Error(), what);
            return 0;
        }
        ReadRow(t, st, rec);
        rec += t.recordSize;
        ++*read;
    }
    return 1;
}

int TblRead(const TableDef& t, void* dest, const char* cond, const char* order, char* msg) {
    int read;
    return ReadRows(t, dest, cond, order, INT64_MAX, &read, msg);
}

void TblCursor::Fail(int err, char* msg) const {
    char what[128];
    if (what_) snprintf(what, sizeof what, "%s", what_);
    else snprintf(what, sizeof what, "Error of reading T_%s table from the database", t_.name);
    FailText(msg, err, what);
}

bool TblCursor::Open(const char* sql, char* msg) {
    if (st_.Prepare(sql)) return true;
    Fail(kDbErrGeneric, msg);
    return false;
}

int TblCursor::Next(void* rec, char* msg) {
    const int rc = st_.Step();
    if (rc == kStepDone) return 0;
    if (rc != kStepRow) {
        Fail(st_.Error(), msg);
        return -1;
    }
    ReadRow(t_, st_, (char*)rec);
    return 1;
}

int64_t TblCursor::Extra(int i) const { return st_.ColumnInt64(t_.colCount + i); }

int TblCountRead(const TableDef& t, void** out, const char* cond, const char* order, char* msg) {
    *out = nullptr;
    std::string sql = std::string("SELECT COUNT(*) FROM T_") + t.name;
    if (cond) (sql += " WHERE ") += cond;
    int64_t count = 0;
    if (DbQueryValue(sql.c_str(), kDbInt64, &count, sizeof count, nullptr) != kDbQueryValue || count < 0 ||
        count > INT32_MAX / (int64_t)t.recordSize) {
        KvMsg(msg, "Error of reading the number of records in the table T_%s", t.name);
        return -1;
    }
    if (count == 0) return 0;
    void* recs = KvAlloc((size_t)count * t.recordSize);
    if (!recs) {
        KvMsg(msg, "Error of allocation of str%s structure", t.name);
        return -1;
    }
    // Never more rows than were counted, so the array cannot be overrun.
    int read;
    if (!ReadRows(t, recs, cond, order, count, &read, msg)) {
        KvFree(recs);
        return -1;
    }
    *out = recs;
    return (int)count;
}

int TblUpdate(const TableDef& t, const void* rec, const char* cond, char* msg) {
    char what[128];
    snprintf(what, sizeof what, "Error of updating str%s in the database", t.name);
    Stmt st;
    if (!st.Prepare(UpdateText(t, cond).c_str())) {
        FailText(msg, kDbErrGeneric, what);
        return 0;
    }
    if (!BindRow(t, st, (const char*)rec, false, msg)) return 0;
    if (st.Step() != kStepError) return 1;
    FailText(msg, st.Error(), what);
    return 0;
}

int TblUpdateByName(const TableDef& t, const void* rec, const char* storedName, char* msg) {
    char what[128];
    snprintf(what, sizeof what, "Error of updating str%s in the database", t.name);
    Stmt st;
    if (!st.Prepare(UpdateText(t, "nazwa=:nazwa").c_str())) {
        FailText(msg, kDbErrGeneric, what);
        return 0;
    }
    if (!BindRow(t, st, (const char*)rec, false, msg)) return 0;
    // The name's parameter follows the columns'.
    if (!st.BindText(t.colCount + 1, storedName ? storedName : "")) {
        FailText(msg, kDbErrNone, "Error of binding the nazwa field");
        return 0;
    }
    if (st.Step() != kStepError) return 1;
    FailText(msg, st.Error(), what);
    return 0;
}

int TblInsert(const TableDef& t, int n, void* recs, char* msg) {
    char what[128];
    snprintf(what, sizeof what, "Error of inserting str%s into the database", t.name);
    Stmt st;
    if (!st.Prepare(InsertText(t, DbBackendInUse() == kDbServer).c_str())) {
        FailText(msg, kDbErrGeneric, what);
        return 0;
    }
    for (int r = 0; r < n; r++) {
        char* rec = (char*)recs + (size_t)r * t.recordSize;
        if (!BindRow(t, st, rec, true, msg)) return 0;
        const int rc = st.Step();
        if (rc == kStepError) {
            FailText(msg, st.Error(), what);
            return 0;
        }
        for (int i = 0; i < t.colCount; i++) {
            if (t.cols[i].type == kColKey) {
                const int64_t key = st.InsertedKey();
                memcpy(rec + t.cols[i].offset, &key, sizeof key);
            }
        }
        st.Reset();
    }
    return 1;
}

// The one-row tables are read into a single record: a second row, which the
// start-up refuses anyway, can never overrun it.
int ReadVariables(strZmienne* z, char* msg) {
    int read;
    return ReadRows(kTabZmienne, z, nullptr, nullptr, 1, &read, msg);
}
int UpdateVariables(const strZmienne* z, char* msg) {
    return TblUpdate(kTabZmienne, z, nullptr, msg) && DbTellDesks(kNewsNumbering, 0, msg);
}
int ReadUserSettings(strUstUzytk* u, char* msg) {
    int read;
    return ReadRows(kTabUstUzytk, u, nullptr, nullptr, 1, &read, msg);
}
int UpdateUserSettings(const strUstUzytk* u, char* msg) {
    return TblUpdate(kTabUstUzytk, u, nullptr, msg) && DbTellDesks(kNewsSettings, 0, msg);
}

static bool SettingsPrint(uint64_t* print, bool lock, char* msg) {
    Stmt st;
    RowPrint f;
    if (!st.Prepare(lock ? "SELECT * FROM T_UstUzytk FOR UPDATE" : "SELECT * FROM T_UstUzytk") || !f.Add(st)) {
        KvMsg(msg, "Error of reading T_%s table from the database\r\n%s", "UstUzytk", DbErrorText());
        return false;
    }
    *print = f.value();
    return true;
}

int ReadUserSettingsWithPrint(strUstUzytk* u, uint64_t* print, char* msg) {
    DbReadTransaction read("OdczytUstawien", msg);
    if (read.failed()) return 0;
    return ReadUserSettings(u, msg) && SettingsPrint(print, false, msg);
}

int UpdateUserSettingsIfUnchanged(const strUstUzytk* u, uint64_t print, char* msg) {
    static const char kTr[] = "ZapisUstawien";
    if (!DbBegin(kTr, msg)) return 0;
    uint64_t now = 0;
    // A server's row is locked by the read; the file's write lock is the transaction's.
    if (!SettingsPrint(&now, DbBackendInUse() == kDbServer, msg)) {
        DbRollback(kTr, nullptr);
        return 0;
    }
    if (now != print) {
        DbRollback(kTr, nullptr);
        KvMsg(msg,
              "The settings were changed at another desk after they were opened here: nothing has been written."
              "\r\nOpen the settings again to see the other change.");
        return 0;
    }
    if (!UpdateUserSettings(u, msg) || !DbCommit(kTr, msg)) {
        DbRollback(kTr, nullptr);
        return 0;
    }
    return 1;
}

// ---- Orders and their children -------------------------------------------

static std::string KeyCond(const char* column, int64_t key) {
    char buf[64];
    snprintf(buf, sizeof buf, "%s = %" PRId64, column, key);
    return buf;
}

int ReadOrderRow(int64_t kluczZam, strZam* z, char* msg) {
    // Only the columns are read; the in-memory lists after them stay as they are.
    int read = 0;
    if (!ReadRows(kTabZam, z, KeyCond("kluczZam", kluczZam).c_str(), nullptr, 1, &read, msg)) return 0;
    if (read == 1) return 1;
    KvMsg(msg, "Error of reading T_Zam table from the database");
    return 0;
}

int UpdateOrderRow(const strZam* z, char* msg) {
    return TblUpdate(kTabZam, z, KeyCond("kluczZam", z->kluczZam).c_str(), msg);
}
int InsertOrderRow(strZam* z, char* msg) { return TblInsert(kTabZam, 1, z, msg); }

int CountReadWindows(int64_t kluczZam, strOkno** out, char* msg) {
    return TblCountRead(kTabOkno, (void**)out, KeyCond("kluczZam", kluczZam).c_str(), "kluczOkno", msg);
}
int InsertWindows(int n, strOkno* okna, char* msg) { return TblInsert(kTabOkno, n, okna, msg); }

int CountReadDrawingOps(int64_t kluczOkno, strOperRysDb** out, char* msg) {
    return TblCountRead(kTabOperRysDb, (void**)out, KeyCond("kluczOkno", kluczOkno).c_str(), "indeks", msg);
}
int InsertDrawingOps(int n, strOperRysDb* rows, char* msg) { return TblInsert(kTabOperRysDb, n, rows, msg); }

int CountReadOrderAccessories(int64_t kluczZam, strDodatZam** out, char* msg) {
    return TblCountRead(kTabDodatZam, (void**)out, KeyCond("kluczZam", kluczZam).c_str(), "iKolej", msg);
}
int InsertOrderAccessories(int n, strDodatZam* rows, char* msg) { return TblInsert(kTabDodatZam, n, rows, msg); }

// ---- Registers of used elements -------------------------------------------

// A register is offered to the user as a list, so it is read in name order,
// never in the order its names were first used.
#define REGISTER_READ_INSERT(Name, Rec, Tab)                          \
    int CountRead##Name##Register(str##Rec** out, char* msg) {        \
        return TblCountRead(Tab, (void**)out, nullptr, "nazwa", msg); \
    }                                                                 \
    int Insert##Name##Register(int n, str##Rec* rows, char* msg) { return TblInsert(Tab, n, rows, msg); }
#define REGISTER_UPDATE(Name, Rec, Tab)                                               \
    int Update##Name##Register(const str##Rec* r, const char* storedName, char* msg) { \
        return TblUpdateByName(Tab, r, storedName, msg);                              \
    }

REGISTER_READ_INSERT(Profile, ZstProfil, kTabZstProfil)
REGISTER_UPDATE(Profile, ZstProfil, kTabZstProfil)
REGISTER_READ_INSERT(Colour, ZstKolor, kTabZstKolor)
REGISTER_UPDATE(Colour, ZstKolor, kTabZstKolor)
REGISTER_READ_INSERT(Muntin, ZstSzpros, kTabZstSzpros)
REGISTER_UPDATE(Muntin, ZstSzpros, kTabZstSzpros)
REGISTER_READ_INSERT(Filling, ZstWypeln, kTabZstWypeln)
REGISTER_UPDATE(Filling, ZstWypeln, kTabZstWypeln)
REGISTER_READ_INSERT(Hardware, ZstOkucie, kTabZstOkucie)
REGISTER_READ_INSERT(Bead, ZstListwa, kTabZstListwa)
REGISTER_READ_INSERT(Accessory, ZstDodat, kTabZstDodat)
REGISTER_UPDATE(Accessory, ZstDodat, kTabZstDodat)
