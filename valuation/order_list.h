// order_list.h - the data path of the order list: every order of the register
// (or of one status), loaded and valued, one at a time.
#ifndef KV_VALUATION_ORDER_LIST_H
#define KV_VALUATION_ORDER_LIST_H

#include <stdint.h>

#include "db/order_record.h"

// Called once per order with its totals filled; the record is released when
// the call returns, so the callee copies what it keeps. Return false to stop.
typedef bool (*OrderListFn)(const strZamRob* z, void* ctx);

// For each order key in ascending order (filtr 0: every order; 1-6: the
// orders of that status; any other value counts as 0): loads the order,
// recomputes it with mask 0x11, calls fn, releases it. Stops at the first
// error; the orders passed to fn before it stay passed. Returns 1 when the
// walk ended (or fn stopped it), 0 with the message in msg (KV_MSG_LEN
// bytes, may be null): "Error of reading orders from the database\r\n%s"
// when the query cannot be prepared or a step fails with SQLite's generic
// error, "Error of reading orders from the database" for any other step
// failure, and the load's own text when an order does not load.
// What the walk reads of each window.
enum OrderListDepth {
    kListWhole,   // every operation, the structure rebuilt: the order as LoadOrder gives it
    kListTotals,  // the frame alone, no structure: the totals, the windows' quantities and
                  // every field of the order and its lines, not the drawings
};

// REQUIRES: an open database (db/connection.h).
int ListOrders(int32_t filtr, OrderListFn fn, void* ctx, char* msg, OrderListDepth depth = kListWhole);

#endif  // KV_VALUATION_ORDER_LIST_H
