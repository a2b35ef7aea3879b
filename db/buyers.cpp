// The buyers of earlier orders, in one statement that means the same on the
// file and on a server. The database only filters: sorting 100,000 rows with
// their addresses costs more than keeping each name's latest order here and
// sorting the few thousand buyers that remain.
#include "db/buyers.h"

#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <unordered_map>

#include "db/connection.h"
#include "db/records.h"
#include "db/stmt.h"
#include "util/msgbuf.h"

namespace {

const char kBuyersSql[] =
    "SELECT nazwaNabyw, adresNabyw, infDodatNabyw, dataZam, kluczZam FROM T_Zam "
    "WHERE COALESCE(status, 0) <> -1 AND nazwaNabyw <> ''";

// A text column cut to the order record's field of `width` bytes, as a
// loaded order would hold it.
std::string Text(const Stmt& st, int col, size_t width) {
    int len = 0;
    const char* p = st.ColumnBytes(col, &len);
    if (!p || len <= 0) return std::string();
    return std::string(p, strnlen(p, std::min((size_t)len, width - 1)));
}

// A buyer's latest order so far: a missing date is the oldest, and of one
// day the higher key is the later.
struct Latest {
    std::string date;
    int64_t key = 0;
    Buyer buyer;
    bool Before(const std::string& d, int64_t k) const { return date < d || (date == d && key < k); }
};

bool MoreRecent(const Latest* a, const Latest* b) { return b->Before(a->date, a->key); }

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
    std::unordered_map<std::string, Latest> latest;
    int rc;
    while ((rc = st.Step()) == kStepRow) {
        std::string name = Text(st, 0, sizeof(strZam::nazwaNabyw));
        std::string date = Text(st, 3, sizeof(strZam::dataZam));
        const int64_t key = st.ColumnInt64(4);
        Latest& l = latest[name];
        if (!l.buyer.name.empty() && !l.Before(date, key)) continue;
        l.date = std::move(date);
        l.key = key;
        l.buyer.name = std::move(name);
        l.buyer.address = Text(st, 1, sizeof(strZam::adresNabyw));
        l.buyer.info = Text(st, 2, sizeof(strZam::infDodatNabyw));
    }
    if (rc != kStepDone) {
        KvMsg(msg, kFailed, DbErrorText());
        DbAddBusyLine(msg);
        return 0;
    }
    std::vector<Latest*> order;
    order.reserve(latest.size());
    for (auto& entry : latest) order.push_back(&entry.second);
    std::sort(order.begin(), order.end(), MoreRecent);
    buyers->reserve(order.size());
    for (Latest* l : order) buyers->push_back(std::move(l->buyer));
    return 1;
}
