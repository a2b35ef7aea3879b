// The order list's data path: one pass over the orders and their children
// (db/orders.h's OrderStream), each order valued as the order window values
// it. The whole pass is one read transaction (unless the caller has one
// open), so its statements see one state of the database.
#include "valuation/order_list.h"

#include "db/connection.h"
#include "db/orders.h"
#include "valuation/valuation.h"

namespace {
const char kTrOrderList[] = "ListaZamowienSq";
}  // namespace

int ListOrders(int32_t filtr, OrderListFn fn, void* ctx, char* msg, OrderListDepth depth) {
    DbReadTransaction odczyt(kTrOrderList, nullptr);
    OrderStream pass;
    if (!pass.Open(filtr, msg, depth == kListTotals)) return 0;
    strZamRob z;
    for (;;) {
        const int r = pass.Next(&z, msg);
        if (r <= 0) return r == 0 ? 1 : 0;
        RecomputeOrder(&z, kRecomputeAll);
        if (fn && !fn(&z, ctx)) return 1;
    }
}
