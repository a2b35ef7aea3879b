// demo.h - the demo orders of a new database.
#ifndef KV_TOOLS_MKDB_DEMO_H
#define KV_TOOLS_MKDB_DEMO_H

// Opens the new database at `path` as the program's connection, writes a
// handful of orders (several statuses; windows with sashes, mullions,
// fillings and muntins; accessories with 0-3 dimensions) through the
// program's own save path and files their names in the registers, then
// closes it. Returns the number of orders written, or -1 with msg.
int ZapiszZamowieniaDemo(const char* path, char* msg);

#endif
