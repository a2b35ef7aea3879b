// server_backup.h - moving a register between a server and a file: a
// checked backup file of the server's database, and a backup file (or a
// desk's database) loaded into a server's database. Private to db/: the
// public entry points are in db/backup.h.
#ifndef KV_DB_SERVER_BACKUP_H
#define KV_DB_SERVER_BACKUP_H

struct sqlite3;

// Fills the new, empty file `out` with the program's schema and every row
// of the server database the program's connection is to, all read from one
// snapshot. 1, or 0 with the message.
int CopyServerRows(sqlite3* out, char* msg);

#endif  // KV_DB_SERVER_BACKUP_H
