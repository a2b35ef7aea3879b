// newdb.h - making a new, empty order database.
#ifndef KV_DB_NEWDB_H
#define KV_DB_NEWDB_H

#include "db/records.h"

// The schema of the order database (db/schema.sql).
extern const char kSchemaSql[];

// Sensible settings for a European window seller starting out.
void DefaultSettings(strUstUzytk* u);

// Creates `path` with the schema, the version row "1-8", the variables row
// (last number 0, `year`) and the default settings row, in one transaction.
// Refuses an existing file. Opens and closes its own connection: the
// program's connection (DbHandle) is not touched. 1 on success.
int DbCreateFile(const char* path, int year, char* msg);

#endif  // KV_DB_NEWDB_H
