// The buyers of earlier orders, in one statement that means the same on the
// file and on a server (window functions, no NULL ordering left to either).
#include "db/buyers.h"

#include <string.h>

#include <algorithm>

#include "db/connection.h"
#include "db/records.h"
#include "db/stmt.h"
#include "util/msgbuf.h"

namespace {

// Each name's latest order picked by the database, so that only one row per
// buyer travels; a missing date sorts as the oldest on both backends.
const char kBuyersSql[] =
    "SELECT nazwaNabyw, adresNabyw, infDodatNabyw FROM ("
    "SELECT nazwaNabyw, adresNabyw, infDodatNabyw, COALESCE(dataZam, '') AS d, kluczZam, "
    "ROW_NUMBER() OVER (PARTITION BY nazwaNabyw ORDER BY COALESCE(dataZam, '') DESC, kluczZam DESC) AS n "
    "FROM T_Zam WHERE COALESCE(status, 0) <> -1 AND nazwaNabyw <> '') AS latest "
    "WHERE n = 1 ORDER BY d DESC, kluczZam DESC";

// A text column cut to the order record's field of `width` bytes, as a
// loaded order would hold it.
std::string Text(const Stmt& st, int col, size_t width) {
    int len = 0;
    const char* p = st.ColumnBytes(col, &len);
    if (!p || len <= 0) return std::string();
    return std::string(p, strnlen(p, std::min((size_t)len, width - 1)));
}

}  // namespace

int DbLoadBuyers(std::vector<Buyer>* buyers, char* msg) {
    static const char kFailed[] = "Error of reading the buyers of earlier orders\r\n%s";
    buyers->clear();
    if (DbBackendInUse() == kDbClosed) {
        KvMsg(msg, kFailed, "The database is not open");
        return 0;
    }
    Stmt st;
    if (!st.Prepare(kBuyersSql)) {
        KvMsg(msg, kFailed, DbErrorText());
        DbAddBusyLine(msg);
        return 0;
    }
    int rc;
    while ((rc = st.Step()) == kStepRow) {
        buyers->push_back({Text(st, 0, sizeof(strZam::nazwaNabyw)), Text(st, 1, sizeof(strZam::adresNabyw)),
                           Text(st, 2, sizeof(strZam::infDodatNabyw))});
    }
    if (rc == kStepDone) return 1;
    KvMsg(msg, kFailed, DbErrorText());
    DbAddBusyLine(msg);
    buyers->clear();
    return 0;
}
