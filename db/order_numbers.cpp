// Order numbers in the database: a new order's number and defaults, the
// search by number, and the walk over the orders' keys.
#include <inttypes.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "db/backend.h"
#include "db/connection.h"
#include "db/orders.h"
#include "db/stmt.h"
#include "db/tables.h"
#include "util/kvutil.h"
#include "util/msgbuf.h"
#include "util/platform.h"

// ---- New order ------------------------------------------------------------

void RenumberOrder(strZamRob* z, const strZmienne* zmienne, const strUstUzytk* ust) {
    strZam& r = z->zam;
    r.idZam = zmienne->idZam + 1;
    r.rok = zmienne->rok;
    DajAktualData(r.dataZam);
    memcpy(r.dataReal, r.dataZam, sizeof r.dataReal);
    DodajDniDoDataNap(r.dataReal, ust->czasReal);
    r.status = 0;
    memset(r.dodOznaczZam, 0, sizeof r.dodOznaczZam);
    r.sDaneUzytk = ust->sDaneUzytk;
    r.sWycenZamParam.rabat = ust->sWycenZamParam.rabat;
    r.sWycenZamParam.vatMont = ust->sWycenZamParam.vatMont;
    r.sWycenZamParam.vatDodat = ust->sWycenZamParam.vatDodat;
    r.sWycenZamParam.vatOkna = ust->sWycenZamParam.vatOkna;
}

void SetOrderDefaults(strZamRob* z, const strUstUzytk* ust) {
    strZam& r = z->zam;
    r.idWalZam = ust->idWalPrg;
    r.waga = ust->waga;
    r.sWycenZamParam.cenaMont = ust->sWycenZamParam.cenaMont;
    r.sWycenZamParam.cenaDemont = ust->sWycenZamParam.cenaDemont;
    r.sWycenZamParam.flagi = ust->sWycenZamParam.flagi;
}

// ---- Search by number -----------------------------------------------------

namespace {

// Digits only, as "%d" writes a number of at most nine of them.
bool DecimalText(const char* s, size_t n, int32_t* value) {
    if (n == 0 || n > 9 || (n > 1 && s[0] == '0')) return false;
    int32_t v = 0;
    for (size_t i = 0; i < n; i++) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
    }
    *value = v;
    return true;
}

// The number and the year that a composed number "%d-%s-%4d" can hold, when
// it can hold them in one way only: the text before the first "-" is the
// number as "%d" writes it, the text after the last "-" the year as "%4d"
// does. False for any other text, which the search then compares with
// every order.
bool NumberAndYear(const char* text, int32_t* number, int32_t* year) {
    const char* first = strchr(text, '-');
    const char* last = strrchr(text, '-');
    if (!first || last == first) return false;
    const char* y = last + 1;
    const size_t n = strlen(y);
    size_t blanks = 0;
    while (blanks < n && y[blanks] == ' ') blanks++;
    const size_t digits = n - blanks;
    if (n != (digits < 4 ? 4 : digits)) return false;
    return DecimalText(text, (size_t)(first - text), number) && DecimalText(y + blanks, digits, year);
}

}  // namespace

// A server has no SQL_ZLOZ_NR_ZAM: it hands over the number, year and
// seller record of the candidate rows, and the desk composes each number as
// the file's function does, with the same upper-casing.
static int SearchOnServer(const char* numer, bool narrowed, int32_t number, int32_t year, int64_t* klucz,
                          char* msg) {
    Stmt st;
    const bool ok = st.Prepare(narrowed ? "SELECT kluczZam, idZam, rok, sDaneUzytk FROM T_Zam "
                                          "WHERE rok = ?1 AND idZam = ?2 ORDER BY kluczZam"
                                        : "SELECT kluczZam, idZam, rok, sDaneUzytk FROM T_Zam ORDER BY kluczZam") &&
                    (!narrowed || (st.BindInt(1, year) && st.BindInt(2, number)));
    if (!ok) {
        KvMsg(msg, "Error of SQL command\r\n%s", DbErrorText());
        return kDbQueryError;
    }
    int rc;
    while ((rc = st.Step()) == kStepRow) {
        int len;
        const char* seller = st.ColumnBytes(3, &len);
        char text[64];
        if (!DbComposedNumber(st.ColumnInt32(1), seller, len, st.ColumnInt32(2), text) || strcmp(text, numer) != 0)
            continue;
        *klucz = st.ColumnInt64(0);
        return kDbQueryValue;
    }
    if (rc == kStepDone) {
        KvMsg(msg, "An SQL command has returned no result");
        return kDbQueryNoRow;
    }
    KvMsg(msg, "Error of SQL command\r\n%s", DbErrorText());
    return kDbQueryError;
}

int FindOrderByNumber(const char* numer, int64_t* klucz, char* msg) {
    *klucz = 0;
    if (!numer) numer = "";
    // The composed number is compared with the text as always; a text that
    // names its number and year also narrows the rows to compare to those
    // of that number (an index), so a register of any size answers at once.
    int32_t number = 0, year = 0;
    const bool narrowed = NumberAndYear(numer, &number, &year);
    if (DbBackendInUse() == kDbServer) return SearchOnServer(numer, narrowed, number, year, klucz, msg);
    Stmt st;
    if (!st.Prepare(narrowed ? "SELECT kluczZam FROM T_Zam WHERE rok = ?2 AND idZam = ?3 AND "
                               "SQL_ZLOZ_NR_ZAM(idZam, sDaneUzytk, rok) = ?1 ORDER BY kluczZam"
                             : "SELECT kluczZam FROM T_Zam WHERE "
                               "SQL_ZLOZ_NR_ZAM(idZam, sDaneUzytk, rok) = ?1 ORDER BY kluczZam")) {
        KvMsg(msg, "Error of SQL command\r\n%s", DbBackendInUse() == kDbClosed ? "" : DbErrorText());
        DbAddBusyLine(msg);
        return kDbQueryError;
    }
    if (narrowed && (!st.BindInt(2, year) || !st.BindInt(3, number))) {
        KvMsg(msg, "Error of binding the %s field", "numer");
        return kDbQueryError;
    }
    if (!st.BindText(1, numer)) {
        KvMsg(msg, "Error of binding the %s field", "numer");
        return kDbQueryError;
    }
    const int rc = st.Step();
    if (rc == kStepRow) {
        if (st.ColumnIsNull(0)) {
            KvMsg(msg, "NULL as a result of SQL command");
            return kDbQueryNull;
        }
        *klucz = st.ColumnInt64(0);
        return kDbQueryValue;
    }
    if (rc == kStepDone) {
        KvMsg(msg, "An SQL command has returned no result");
        return kDbQueryNoRow;
    }
    if (st.Error() == kDbErrGeneric) KvMsg(msg, "Error of SQL command\r\n%s", DbErrorText());
    else KvMsg(msg, "Error of SQL command");
    DbAddBusyLine(msg);
    return kDbQueryError;
}

// ---- Walking the keys -----------------------------------------------------

int DbWalkOrderKeys(int32_t status, DbOrderKeyFn fn, void* ctx, char* msg) {
    static const char kBlad[] = "Error of reading orders from the database";
    char sql[96];
    if (status >= 1 && status <= kStatusCount)
        snprintf(sql, sizeof sql, "SELECT kluczZam FROM T_Zam WHERE status = %d ORDER BY kluczZam;",
                 (int)status);
    else snprintf(sql, sizeof sql, "SELECT kluczZam FROM T_Zam ORDER BY kluczZam;");
    Stmt st;
    if (!st.Prepare(sql)) {
        KvMsg(msg, "%s\r\n%s", kBlad, DbBackendInUse() == kDbClosed ? "no database is open" : DbErrorText());
        DbAddBusyLine(msg);
        return 0;
    }
    for (;;) {
        const int rc = st.Step();
        if (rc == kStepDone) return 1;
        if (rc != kStepRow) {
            if (st.Error() == kDbErrGeneric) KvMsg(msg, "%s\r\n%s", kBlad, DbErrorText());
            else KvMsg(msg, "%s", kBlad);
            DbAddBusyLine(msg);
            return 0;
        }
        switch (fn(st.ColumnInt64(0), ctx, msg)) {
            case kDbWalkNext: break;
            case kDbWalkStop: return 1;
            default: return 0;
        }
    }
}

bool DbOrderStoredUnderNumber(int64_t klucz, int32_t idZam, int32_t rok) {
    if (klucz == 0) return false;
    Stmt st;
    if (!st.Prepare("SELECT COUNT(*) FROM T_Zam WHERE kluczZam = ?1 AND idZam = ?2 AND rok = ?3") ||
        !st.BindInt(1, klucz) || !st.BindInt(2, idZam) || !st.BindInt(3, rok))
        return false;
    return st.Step() == kStepRow && st.ColumnInt64(0) == 1;
}
