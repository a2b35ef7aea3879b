// What the desks on one server tell each other: a one-letter kind and a
// key, "O 12", on one channel of the database.
#include "db/desks.h"

#include <inttypes.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "db/backend.h"
#include "db/connection.h"
#include "db/stmt.h"
#include "util/msgbuf.h"

// Channels are per database, so desks of other databases never hear it.
#define KV_DESKS_CHANNEL "kelvaro_register"

int DbTellDesks(char kind, int64_t key, char* msg) {
    if (DbBackendInUse() != kDbServer) return 1;
    char text[32];
    snprintf(text, sizeof text, "%c %" PRId64, kind, key);
    Stmt st;
    if (st.Prepare("SELECT pg_notify('" KV_DESKS_CHANNEL "', ?1)") && st.BindText(1, text) && st.Step() == kStepRow)
        return 1;
    KvMsg(msg, "Error of telling the other desks\r\n%s", DbErrorText());
    return 0;
}

bool DbListenToDesks() { return DbBackendInUse() == kDbServer && ServerListen(KV_DESKS_CHANNEL); }

DeskLine DbTakeDeskNews(std::vector<DeskNews>* news, bool reconnect) {
    if (DbBackendInUse() != kDbServer) return kDeskLineUp;
    std::vector<std::string> payloads;
    const int taken = ServerTakeNotifications(&payloads, reconnect);
    if (taken == kNotificationsMissed) news->push_back(DeskNews{kNewsEverything, 0});
    for (const std::string& p : payloads) {
        DeskNews n;
        if (ParseDeskNews(p.c_str(), &n)) news->push_back(n);
    }
    return taken == kNotificationsLost ? kDeskLineDown : kDeskLineUp;
}

bool ParseDeskNews(const char* text, DeskNews* out) {
    switch (text[0]) {
        case kNewsOrder:
        case kNewsOrderDeleted:
        case kNewsNumbering:
        case kNewsSettings:
        case kNewsEverything: break;
        default: return false;
    }
    if (text[1] != ' ' || text[2] < '0' || text[2] > '9') return false;
    char* end = nullptr;
    const long long key = strtoll(text + 2, &end, 10);
    if (*end != '\0' || key < 0) return false;
    out->kind = text[0];
    out->key = key;
    return true;
}
