// desks.h - several desks on one server tell each other what they changed,
// so that each register shows the others' work as it happens. A change
// is told inside the transaction that makes it and reaches the other desks
// when that commits (the server's notifications); a desk reads what it was
// told between its own statements, never waiting. On a database file there
// is one desk: nothing is told or heard.
#ifndef KV_DB_DESKS_H
#define KV_DB_DESKS_H

#include <stdint.h>

#include <vector>

enum DeskNewsKind : char {
    kNewsOrder = 'O',         // the order `key` was saved, overwritten or got another status
    kNewsOrderDeleted = 'D',  // the order `key` was deleted
    kNewsNumbering = 'Y',     // the last order number or the working year changed
    kNewsSettings = 'U',      // the user's settings changed
    kNewsEverything = 'R',    // read everything again (a restore, or news missed)
};

struct DeskNews {
    char kind;
    int64_t key;  // the order's, for kNewsOrder and kNewsOrderDeleted; else 0
};

// Tells the other desks, within the caller's transaction (or at once
// outside one). 1 on a file; 0 with the message when the server refuses.
int DbTellDesks(char kind, int64_t key, char* msg);

// The program's connection listens from now on (again after a connection
// made anew). False on a file, or with the server's text in DbErrorText.
bool DbListenToDesks();

enum DeskLine { kDeskLineUp, kDeskLineDown };
// Appends what other desks committed since the last call to *news and says
// whether the connection is there. Reads only what has arrived, and
// nothing inside a transaction. A lost connection is tried again, without
// waiting, when `reconnect`; news that may have been missed meanwhile
// comes as one kNewsEverything.
DeskLine DbTakeDeskNews(std::vector<DeskNews>* news, bool reconnect);

// "O 12" and the like; false for a text that is none (another program's).
bool ParseDeskNews(const char* text, DeskNews* out);

#endif  // KV_DB_DESKS_H
