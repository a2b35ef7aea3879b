// backend.h - what the statement front and the connection need of each
// backend; private to db/.
#ifndef KV_DB_BACKEND_H
#define KV_DB_BACKEND_H

#include <stdint.h>

#include <string>
#include <vector>

struct sqlite3;
class StmtBackend;

// A prepared statement of the SQLite connection, or null (the text in
// sqlite3_errmsg).
StmtBackend* SqlitePrepare(sqlite3* db, const char* sql);

// ---- The server connection (db/server.cpp) ----------------------------------

// A statement of the server connection, or null when there is none. The
// server checks the text when it first runs, so a bad statement fails at
// its first Step.
StmtBackend* ServerPrepare(const char* sql);
// True while the program's connection is to a server.
bool ServerOpen();
// Runs statements without parameters or result. False with the server's text.
bool ServerExec(const char* sql);
// Rows changed by the last statement run.
int64_t ServerChanges();
// True when the last failure was a text the code page cannot convert.
bool ServerFailedOnACharacter();
// The text of the connection's last failure.
const char* ServerErrorText();
// True inside a transaction block (a failed one included).
bool ServerInTransaction();
// What the connection's transactions do (DbBegin and the read transaction
// report a BEGIN that succeeded, DbCommit and DbRollback every end), so
// that a connection lost inside one is not made anew until it ends.
void ServerTransactionBegun();
void ServerTransactionEnded();
// True inside a transaction block a statement has failed in.
bool ServerTransactionFailed();
void ServerClose();
// Connects (a ServerOpenResult); the failure's text in *err.
int ServerConnect(const char* conninfo, std::string* err);
// ServerConnect, then the client encoding of the desk's code page: texts
// travel in it, the server keeps them in UTF-8. A code page the server has
// no encoding for fails (kServerFailed, the connection closed).
int ServerConnectAsDesk(const char* conninfo, std::string* err);
// The program's tables (T_...) in the database; -1 with the message on failure.
int64_t ServerProgramTables(char* msg);
// Sets the client encoding of the connection. False when refused.
bool ServerSetEncoding(const char* encoding);

// Listens on `channel` (a plain name) from now on, again after the
// connection is made anew. False with the server's text.
bool ServerListen(const char* channel);
enum { kNotificationsNone, kNotificationsMissed, kNotificationsLost };
// Adds the payloads other connections sent on the channel since the last
// call, reading what has arrived without waiting. kNotificationsMissed: the
// connection was made anew since, and what was sent in between is lost;
// kNotificationsLost: the connection is lost (with `reconnect`, after one
// try to make it anew). Nothing is read inside a transaction.
int ServerTakeNotifications(std::vector<std::string>* payloads, bool reconnect);

// The statement text with SQLite's parameters written as "$n": "?NNN" keeps
// its number, a bare "?" takes the next one, a named ":x" or "@x" or "$x"
// the number SQLite gives it (the next unused on its first appearance).
// Quoted texts and names are copied as they stand. Portable, for the tests.
std::string ServerStatementText(const char* sql, int* params);

#endif  // KV_DB_BACKEND_H
