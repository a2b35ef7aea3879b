// demo.h - the demo orders of a new database.
#ifndef KV_TOOLS_MKDB_DEMO_H
#define KV_TOOLS_MKDB_DEMO_H

#include <stdint.h>

// Opens the new database at `path` as the program's connection, writes a
// handful of orders (several statuses; windows with sashes, mullions,
// fillings and muntins; accessories with 0-3 dimensions) through the
// program's own save path and files their names in the registers, then
// closes it. Returns the number of orders written, or -1 with msg.
int SaveDemoOrders(const char* path, char* msg);

// Opens the database at `path` (holding the demo orders) and adds copies of
// them, each under a number of its own, until it holds `total` orders: the
// registers of tens of thousands of orders that the benchmarks need. The
// copies' dates of order go back evenly over the three years before today,
// numbered per year in date order; the last order number and the working
// year become those of the newest. Returns the number of orders added, or
// -1 with msg.
int CopyDemoOrders(const char* path, int64_t total, char* msg);

#endif
