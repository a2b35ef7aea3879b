// The server backend: the program's connection to a PostgreSQL server and
// its statements, run through libpq with bound parameters and binary
// results. A query inside a transaction is read through a cursor a few
// hundred rows at a time, so a pass over a register of any size holds only
// those rows, and several such passes can run side by side on the one
// connection.
#ifdef _WIN32
#include <winsock2.h>
#else
#include <poll.h>
#endif
#include <libpq-fe.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "db/backend.h"
#include "db/connection.h"
#include "db/server.h"
#include "db/stmt.h"
#include "util/platform.h"

namespace {

PGconn* g_pg;
std::string g_err;
int64_t g_changes;  // of the last statement run
// A transaction this side began and has not ended, whether or not the
// connection still lives: a connection lost inside one is never made anew
// until it ends, so no later statement of it runs outside it.
bool g_began;
std::string g_encoding;  // the client encoding set, again after a reconnection
int g_cursors;  // names the cursors of the connection's life apart

// Type numbers of the server's built-in types (pg_type.oid).
enum : Oid { kOidBool = 16, kOidBytea = 17, kOidInt8 = 20, kOidInt2 = 21, kOidInt4 = 23 };
enum { kFetchRows = 4096 };

std::string g_state;  // the SQLSTATE of the last failure
std::string g_channel;  // the channel the connection listens on, "" for none
bool g_missed;          // a connection made anew may have missed notifications
bool g_resetting;       // a connection is being made anew without waiting
PostgresPollingStatusType g_poll;  // and what it waits for

// After the connection was made anew: its settings and its listening.
void Renewed() {
    if (!g_encoding.empty()) PQsetClientEncoding(g_pg, g_encoding.c_str());
    if (!g_channel.empty()) {
        PQclear(PQexec(g_pg, ("LISTEN " + g_channel).c_str()));
        g_missed = true;
    }
}

// Before a statement: a connection the server dropped is made anew, with
// the same settings, unless a transaction of this side was open on it (the
// statements that follow in it fail until it ends: nothing is retried).
// Its failure leaves the message for the statement's own.
void Reconnect() {
    if (!g_pg || PQstatus(g_pg) == CONNECTION_OK || g_began) return;
    g_resetting = false;
    PQreset(g_pg);
    if (PQstatus(g_pg) == CONNECTION_OK) Renewed();
}

bool SocketReady(int socket, bool forWriting) {
#ifdef _WIN32
    fd_set set;
    FD_ZERO(&set);
    FD_SET((SOCKET)socket, &set);
    timeval now = {0, 0};
    return select(0, forWriting ? nullptr : &set, forWriting ? &set : nullptr, &set, &now) > 0;
#else
    pollfd p = {socket, (short)(forWriting ? POLLOUT : POLLIN), 0};
    return poll(&p, 1, 0) > 0;
#endif
}

// The same between statements, a step at a time, never waiting for the
// server: a desk whose server is away stays responsive while it tries.
// True once the connection is there again.
bool ReconnectWithoutWaiting() {
    if (!g_resetting) {
        if (!PQresetStart(g_pg)) return false;
        g_resetting = true;
        g_poll = PGRES_POLLING_WRITING;
    }
    while (g_poll != PGRES_POLLING_OK) {
        if (g_poll == PGRES_POLLING_FAILED) {
            g_resetting = false;
            return false;
        }
        if (!SocketReady(PQsocket(g_pg), g_poll == PGRES_POLLING_WRITING)) return false;
        g_poll = PQresetPoll(g_pg);
    }
    g_resetting = false;
    Renewed();
    return true;
}

void NoteFailure(const PGresult* r) {
    const char* state = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
    g_state = state ? state : "";
    const char* primary = r ? PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    g_err = primary ? primary : (g_pg ? PQerrorMessage(g_pg) : "The database is not open");
    while (!g_err.empty() && (g_err.back() == '\n' || g_err.back() == '\r')) g_err.pop_back();
    // libpq's words for a cut line ("server closed the connection
    // unexpectedly", "SSL SYSCALL error: EOF detected") say little to a user.
    if (g_pg && PQstatus(g_pg) != CONNECTION_OK)
        g_err = "The connection to the database server was lost; the server keeps nothing of what was being "
                "written. The next action connects again.\r\n(" + g_err + ")";
}

struct Result {
    PGresult* r = nullptr;
    ~Result() { PQclear(r); }
    void Reset(PGresult* n) {
        PQclear(r);
        r = n;
    }
};

uint64_t BigEndian(const unsigned char* p, int n) {
    uint64_t v = 0;
    for (int i = 0; i < n; i++) v = v << 8 | p[i];
    return v;
}

class ServerStmt final : public StmtBackend {
public:
    ServerStmt(std::string sql, int params) : sql_(std::move(sql)), values_((size_t)params) {}
    ~ServerStmt() override { CloseCursor(); }

    bool Bind(int i, int type, const void* data, int64_t len) override {
        if (i < 1 || i > (int)values_.size()) return false;
        Param& p = values_[i - 1];
        p.type = type;
        if (type == kBindInt) {
            char buf[24];
            snprintf(buf, sizeof buf, "%lld", (long long)*(const int64_t*)data);
            p.bytes = buf;
        } else if (type == kBindText || type == kBindBlob) {
            p.bytes.assign((const char*)data, (size_t)len);
        } else {
            p.bytes.clear();
        }
        return true;
    }

    int Step(int* err) override {
        if (!run_) {
            if (!Run()) {
                *err = kDbErrGeneric;
                return kStepError;
            }
            run_ = true;
            row_ = -1;
        }
        if (!res_.r) return kStepDone;
        if (++row_ < PQntuples(res_.r)) return kStepRow;
        if (cursor_.empty() || PQntuples(res_.r) == 0) {
            CloseCursor();
            return kStepDone;
        }
        if (!Fetch()) {
            *err = kDbErrGeneric;
            return kStepError;
        }
        row_ = 0;
        if (PQntuples(res_.r) > 0) return kStepRow;
        CloseCursor();
        return kStepDone;
    }

    void Reset() override {
        CloseCursor();
        res_.Reset(nullptr);
        run_ = false;
    }

    int64_t Changes() const override { return changes_; }
    int64_t InsertedKey() const override { return ColumnInt64(0); }
    int ColumnCount() const override { return res_.r ? PQnfields(res_.r) : 0; }
    bool ColumnIsNull(int col) const override { return !Valid(col) || PQgetisnull(res_.r, row_, col); }

    int64_t ColumnInt64(int col) const override {
        if (ColumnIsNull(col)) return 0;
        const unsigned char* p = (const unsigned char*)PQgetvalue(res_.r, row_, col);
        const int n = PQgetlength(res_.r, row_, col);
        switch (PQftype(res_.r, col)) {
            case kOidInt8: return n == 8 ? (int64_t)BigEndian(p, 8) : 0;
            case kOidInt4: return n == 4 ? (int32_t)(uint32_t)BigEndian(p, 4) : 0;
            case kOidInt2: return n == 2 ? (int16_t)(uint16_t)BigEndian(p, 2) : 0;
            case kOidBool: return n == 1 ? p[0] : 0;
            default: {
                // A text holding a number reads as that number, as in SQLite.
                std::string s((const char*)p, (size_t)n);
                return strtoll(s.c_str(), nullptr, 10);
            }
        }
    }

    const char* ColumnBytes(int col, int* len) const override {
        if (ColumnIsNull(col)) return nullptr;
        *len = PQgetlength(res_.r, row_, col);
        return PQgetvalue(res_.r, row_, col);
    }

    int ColumnType(int col) const override {
        if (ColumnIsNull(col)) return kBindNull;
        switch (PQftype(res_.r, col)) {
            case kOidInt8:
            case kOidInt4:
            case kOidInt2:
            case kOidBool: return kBindInt;
            case kOidBytea: return kBindBlob;
            default: return kBindText;
        }
    }

private:
    struct Param {
        int type = kBindNull;
        std::string bytes;
    };

    bool Valid(int col) const {
        return res_.r && row_ >= 0 && row_ < PQntuples(res_.r) && col >= 0 && col < PQnfields(res_.r);
    }

    // A query without parameters inside a transaction goes through a
    // cursor; everything else runs whole.
    bool Run() {
        changes_ = 0;
        if (!g_pg) {
            NoteFailure(nullptr);
            return false;
        }
        Reconnect();
        if (values_.empty() && ServerInTransaction() && IsQuery()) {
            std::string name = "kv_c" + std::to_string(++g_cursors);
            std::string text = sql_;
            while (!text.empty() && (text.back() == ';' || text.back() == ' ')) text.pop_back();
            Result d;
            d.Reset(PQexec(g_pg, ("DECLARE " + name + " NO SCROLL CURSOR FOR " + text).c_str()));
            if (PQresultStatus(d.r) != PGRES_COMMAND_OK) {
                NoteFailure(d.r);
                return false;
            }
            cursor_ = name;
            return Fetch();
        }
        std::vector<Oid> types(values_.size());
        std::vector<const char*> values(values_.size());
        std::vector<int> lengths(values_.size()), formats(values_.size());
        for (size_t i = 0; i < values_.size(); i++) {
            const Param& p = values_[i];
            if (p.type == kBindNull) continue;
            values[i] = p.bytes.c_str();
            lengths[i] = (int)p.bytes.size();
            if (p.type == kBindInt) types[i] = kOidInt8;
            if (p.type == kBindBlob) {
                types[i] = kOidBytea;
                formats[i] = 1;
            }
        }
        res_.Reset(PQexecParams(g_pg, sql_.c_str(), (int)values_.size(), types.data(), values.data(),
                                lengths.data(), formats.data(), 1));
        const ExecStatusType s = PQresultStatus(res_.r);
        if (s != PGRES_TUPLES_OK && s != PGRES_COMMAND_OK) {
            NoteFailure(res_.r);
            res_.Reset(nullptr);
            return false;
        }
        g_changes = changes_ = atoll(PQcmdTuples(res_.r));
        return true;
    }

    bool Fetch() {
        res_.Reset(PQexecParams(g_pg, ("FETCH " + std::to_string((int)kFetchRows) + " FROM " + cursor_).c_str(), 0,
                                nullptr, nullptr, nullptr, nullptr, 1));
        if (PQresultStatus(res_.r) != PGRES_TUPLES_OK) {
            NoteFailure(res_.r);
            res_.Reset(nullptr);
            cursor_.clear();
            return false;
        }
        return true;
    }

    void CloseCursor() {
        if (cursor_.empty()) return;
        // A cursor ends with its transaction; closing one in a failed
        // transaction would only fail again.
        if (g_pg && PQtransactionStatus(g_pg) == PQTRANS_INTRANS)
            PQclear(PQexec(g_pg, ("CLOSE " + cursor_).c_str()));
        cursor_.clear();
    }

    bool IsQuery() const {
        size_t i = 0;
        while (i < sql_.size() && (sql_[i] == ' ' || sql_[i] == '\n' || sql_[i] == '\t' || sql_[i] == '(')) i++;
        return strncasecmp(sql_.c_str() + i, "SELECT", 6) == 0;
    }

    std::string sql_;
    std::vector<Param> values_;
    Result res_;
    std::string cursor_;
    bool run_ = false;
    int row_ = -1;
    int64_t changes_ = 0;
};

}  // namespace

std::string ServerStatementText(const char* sql, int* params) {
    std::string out;
    std::vector<std::pair<std::string, int>> named;
    int high = 0;
    auto isName = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    };
    const char* p = sql;
    while (*p) {
        const char c = *p;
        if (c == '\'' || c == '"') {  // a quoted text or name; a doubled quote stays inside
            const char* q = p + 1;
            while (*q && !(*q == c && q[1] != c)) q += (*q == c) ? 2 : 1;
            if (*q) q++;
            out.append(p, (size_t)(q - p));
            p = q;
            continue;
        }
        int n = 0;
        const char* q = p + 1;
        if (c == '?') {
            if (*q >= '0' && *q <= '9') {
                while (*q >= '0' && *q <= '9' && n < 100000) n = n * 10 + (*q++ - '0');
            } else {
                n = high + 1;
            }
        } else if ((c == ':' || c == '@' || c == '$') && isName(*q) && !(c == ':' && p > sql && p[-1] == ':')) {
            while (isName(*q)) q++;
            const std::string name(p + 1, (size_t)(q - p - 1));
            for (const auto& e : named)
                if (e.first == name) n = e.second;
            if (!n) named.emplace_back(name, n = high + 1);
        } else {
            out += c;
            p++;
            continue;
        }
        if (n > high) high = n;
        out += "$" + std::to_string(n);
        p = q;
    }
    if (params) *params = high;
    return out;
}

StmtBackend* ServerPrepare(const char* sql) {
    if (!g_pg) return nullptr;
    int params = 0;
    std::string text = ServerStatementText(sql, &params);
    return new ServerStmt(std::move(text), params);
}

bool ServerOpen() { return g_pg != nullptr; }

bool ServerExec(const char* sql) {
    if (!g_pg) {
        NoteFailure(nullptr);
        return false;
    }
    Reconnect();
    Result r;
    r.Reset(PQexec(g_pg, sql));
    const ExecStatusType s = PQresultStatus(r.r);
    if (s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK || s == PGRES_EMPTY_QUERY) {
        g_changes = atoll(PQcmdTuples(r.r));
        return true;
    }
    NoteFailure(r.r);
    return false;
}

const char* ServerErrorText() { return g_err.c_str(); }
int64_t ServerChanges() { return g_changes; }
// 22P05: a character the other side's encoding has no equivalent for.
bool ServerFailedOnACharacter() { return g_state == "22P05"; }

bool ServerInTransaction() {
    if (!g_pg) return false;
    const PGTransactionStatusType t = PQtransactionStatus(g_pg);
    return g_began || t == PQTRANS_INTRANS || t == PQTRANS_INERROR;
}

void ServerTransactionBegun() { g_began = true; }
void ServerTransactionEnded() { g_began = false; }

bool ServerTransactionFailed() { return g_pg && PQtransactionStatus(g_pg) == PQTRANS_INERROR; }

void ServerClose() {
    if (g_pg) PQfinish(g_pg);
    g_pg = nullptr;
    g_began = false;
    g_encoding.clear();
    g_channel.clear();
    g_missed = false;
    g_resetting = false;
}

// ---- Notifications ------------------------------------------------------------

bool ServerListen(const char* channel) {
    g_channel = channel;
    return ServerExec(("LISTEN " + g_channel).c_str());
}

int ServerTakeNotifications(std::vector<std::string>* payloads, bool reconnect) {
    if (!g_pg || g_channel.empty() || ServerInTransaction()) return kNotificationsNone;
    if (g_resetting || PQstatus(g_pg) != CONNECTION_OK) {
        if (!(reconnect || g_resetting) || !ReconnectWithoutWaiting()) return kNotificationsLost;
    }
    // Reads what the socket holds without waiting for more; a connection
    // the server closed shows here first.
    if (!PQconsumeInput(g_pg) || PQstatus(g_pg) != CONNECTION_OK) return kNotificationsLost;
    int taken = g_missed ? kNotificationsMissed : kNotificationsNone;
    g_missed = false;
    const int self = PQbackendPID(g_pg);
    while (PGnotify* n = PQnotifies(g_pg)) {
        if (n->be_pid != self && g_channel == n->relname) payloads->push_back(n->extra);
        PQfreemem(n);
    }
    return taken;
}

// ---- Connecting ---------------------------------------------------------------

const char* ServerEncodingOf(int codePage) {
    switch (codePage) {
        case 866: return "WIN866";
        case 874: return "WIN874";
        case 932: return "SJIS";
        case 936: return "GBK";
        case 949: return "UHC";
        case 950: return "BIG5";
        case 1250: return "WIN1250";
        case 1251: return "WIN1251";
        case 1252: return "WIN1252";
        case 1253: return "WIN1253";
        case 1254: return "WIN1254";
        case 1255: return "WIN1255";
        case 1256: return "WIN1256";
        case 1257: return "WIN1257";
        case 1258: return "WIN1258";
    }
    return nullptr;
}

std::string ServerConnInfo(const ServerSettings& s, const char* password) {
    std::string out;
    auto add = [&out](const char* key, const std::string& value) {
        if (value.empty()) return;
        out += key;
        out += "='";
        for (char c : value) {
            if (c == '\'' || c == '\\') out += '\\';
            out += c;
        }
        out += "' ";
    };
    add("host", s.server);
    add("port", s.port.empty() ? std::string("5432") : s.port);
    add("dbname", s.name);
    add("user", s.login);
    add("sslmode", s.sslMode.empty() ? std::string("prefer") : s.sslMode);
    if (password) add("password", password);
    // A server that does not answer must not hang the program's start.
    add("connect_timeout", "10");
    add("application_name", "Quarvel");
    return out;
}

int ServerConnect(const char* conninfo, std::string* err) {
    ServerClose();
    PGconn* c = PQconnectdb(conninfo);
    if (!c) {
        *err = "out of memory";
        return kServerFailed;
    }
    if (PQstatus(c) != CONNECTION_OK) {
        *err = PQerrorMessage(c);
        // None given, or the one given refused: the user may try another.
        const bool password = PQconnectionNeedsPassword(c) != 0 ||
                              (PQconnectionUsedPassword(c) && err->find("password") != std::string::npos);
        while (!err->empty() && (err->back() == '\n' || err->back() == '\r')) err->pop_back();
        PQfinish(c);
        return password ? kServerNeedsPassword : kServerFailed;
    }
    // The server's notices (a warning, a cascade's list) are not the user's.
    PQsetNoticeProcessor(c, [](void*, const char*) {}, nullptr);
    g_pg = c;
    return kServerConnected;
}

int ServerConnectAsDesk(const char* conninfo, std::string* err) {
    const int r = ServerConnect(conninfo, err);
    if (r != kServerConnected) return r;
    const int cp = kvplat::AnsiCodePage();
    const char* encoding = ServerEncodingOf(cp);
    if (encoding && ServerSetEncoding(encoding)) return kServerConnected;
    *err = "The server cannot take the texts of code page " + std::to_string(cp) + ".";
    ServerClose();
    return kServerFailed;
}

int64_t ServerProgramTables(char* msg) {
    int64_t tables = -1;
    if (DbQueryValue("SELECT COUNT(*) FROM pg_tables WHERE schemaname = current_schema() AND tablename LIKE 't\\_%'",
                     kDbInt64, &tables, sizeof tables, msg) != kDbQueryValue)
        return -1;
    return tables;
}

bool ServerSetEncoding(const char* encoding) {
    if (!g_pg || PQsetClientEncoding(g_pg, encoding) != 0) return false;
    g_encoding = encoding;
    return true;
}

std::string ServerDescription() {
    if (!g_pg) return "";
    std::string s = PQdb(g_pg);
    const char* host = PQhost(g_pg);
    if (host && *host) (s += " on ") += host;
    return s;
}

std::string ServerDatabaseName() { return g_pg ? PQdb(g_pg) : ""; }
