// The PostgreSQL client library against the private server of
// tools/pg-server.sh, natively and under Wine. KV_PG_CONNFILE names the
// server's connection file; its certificate, root.crt, lies beside it.
#include <gtest/gtest.h>
#include <libpq-fe.h>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/select.h>
#endif

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using Params = std::map<std::string, std::string>;

std::string ConnFile() {
  const char* f = std::getenv("KV_PG_CONNFILE");
  return f ? f : "";
}

// The file's "key=value" lines, with `changes` over them (an empty value
// drops the key).
Params ServerParams(const Params& changes = {}) {
  Params p;
  std::ifstream in(ConnFile());
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto eq = line.find('=');
    if (eq != std::string::npos) p[line.substr(0, eq)] = line.substr(eq + 1);
  }
  for (const auto& [k, v] : changes) {
    if (v.empty()) p.erase(k); else p[k] = v;
  }
  return p;
}

std::string RootCert() {
  std::string f = ConnFile();
  auto slash = f.find_last_of("/\\");
  return (slash == std::string::npos ? std::string(".") : f.substr(0, slash)) + "/root.crt";
}

std::string ConnInfo(const Params& p) {
  std::string s;
  for (const auto& [k, v] : p) {
    s += k + "='";
    for (char c : v) {
      if (c == '\'' || c == '\\') s += '\\';
      s += c;
    }
    s += "' ";
  }
  return s;
}

struct ConnClose { void operator()(PGconn* c) const { PQfinish(c); } };
struct ResultClear { void operator()(PGresult* r) const { PQclear(r); } };
using Conn = std::unique_ptr<PGconn, ConnClose>;
using Result = std::unique_ptr<PGresult, ResultClear>;

Conn Connect(const Params& changes = {}) {
  return Conn(PQconnectdb(ConnInfo(ServerParams(changes)).c_str()));
}

// Runs a statement with text parameters and returns the one value it yields.
std::string Value(PGconn* c, const char* sql, const std::vector<std::string>& params = {}) {
  std::vector<const char*> values;
  for (const auto& v : params) values.push_back(v.c_str());
  Result r(PQexecParams(c, sql, static_cast<int>(values.size()), nullptr, values.data(), nullptr, nullptr, 0));
  EXPECT_EQ(PQresultStatus(r.get()), PGRES_TUPLES_OK) << sql << ": " << PQerrorMessage(c);
  if (PQresultStatus(r.get()) != PGRES_TUPLES_OK || PQntuples(r.get()) != 1) return "<none>";
  return PQgetvalue(r.get(), 0, 0);
}

void ExpectCommand(PGconn* c, const char* sql) {
  Result r(PQexec(c, sql));
  EXPECT_EQ(PQresultStatus(r.get()), PGRES_COMMAND_OK) << sql << ": " << PQerrorMessage(c);
}

class PqServer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(ConnFile().empty()) << "KV_PG_CONNFILE is not set: start the server with tools/pg-server.sh";
    ASSERT_TRUE(ServerParams().count("port")) << "no connection file at " << ConnFile();
  }
};

TEST_F(PqServer, PasswordLoginIsScramOverPlainTcp) {
  Conn c = Connect({{"sslmode", "disable"}});
  ASSERT_EQ(PQstatus(c.get()), CONNECTION_OK) << PQerrorMessage(c.get());
  EXPECT_EQ(PQconnectionUsedPassword(c.get()), 1);
  EXPECT_EQ(PQsslInUse(c.get()), 0);
  EXPECT_EQ(Value(c.get(), "SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()"), "f");
  // The server keeps a SCRAM verifier and asks for it on every TCP line.
  EXPECT_EQ(Value(c.get(), "SELECT rolpassword LIKE 'SCRAM-SHA-256$%' FROM pg_authid WHERE rolname = current_user"), "t");
  EXPECT_EQ(Value(c.get(), "SELECT string_agg(DISTINCT auth_method, ',') FROM pg_hba_file_rules WHERE type LIKE 'host%'"),
            "scram-sha-256");
}

TEST_F(PqServer, WrongPasswordIsRefused) {
  Conn c = Connect({{"sslmode", "disable"}, {"password", "not-the-password"}});
  EXPECT_EQ(PQstatus(c.get()), CONNECTION_BAD);
  EXPECT_NE(std::strstr(PQerrorMessage(c.get()), "password authentication failed"), nullptr) << PQerrorMessage(c.get());
}

TEST_F(PqServer, SslModeRequireGivesTls) {
  Conn c = Connect({{"sslmode", "require"}});
  ASSERT_EQ(PQstatus(c.get()), CONNECTION_OK) << PQerrorMessage(c.get());
  EXPECT_EQ(PQsslInUse(c.get()), 1);
  const char* library = PQsslAttribute(c.get(), "library");
  const char* protocol = PQsslAttribute(c.get(), "protocol");
  EXPECT_STREQ(library ? library : "", "OpenSSL");
  EXPECT_EQ(std::string(protocol ? protocol : "").rfind("TLSv1.", 0), 0u) << (protocol ? protocol : "no protocol");
  EXPECT_EQ(Value(c.get(), "SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()"), "t");
}

TEST_F(PqServer, VerifyFullChecksCertificateAndName) {
  struct Case { const char* host; bool ok; };
  for (Case k : {Case{"127.0.0.1", true}, Case{"localhost", true}, Case{"kv-other.invalid", false}}) {
    // hostaddr keeps the line on the loopback; host is the name checked.
    Conn c = Connect({{"sslmode", "verify-full"}, {"sslrootcert", RootCert()}, {"host", k.host},
                      {"hostaddr", "127.0.0.1"}});
    EXPECT_EQ(PQstatus(c.get()) == CONNECTION_OK, k.ok) << k.host << ": " << PQerrorMessage(c.get());
    if (!k.ok) {
      EXPECT_NE(std::strstr(PQerrorMessage(c.get()), "does not match host name"), nullptr) << PQerrorMessage(c.get());
    }
  }
}

TEST_F(PqServer, BoundParametersAreNeverPartOfTheStatement) {
  Conn c = Connect();
  ASSERT_EQ(PQstatus(c.get()), CONNECTION_OK) << PQerrorMessage(c.get());
  ExpectCommand(c.get(), "CREATE TEMP TABLE t_kv (id bigserial PRIMARY KEY, name text, amount bigint)");
  const std::string name = "O'Rourke\"); DROP TABLE t_kv; --";
  const std::string amount = "-9007199254740993";  // no double holds it
  std::string id = Value(c.get(), "INSERT INTO t_kv (name, amount) VALUES ($1, $2) RETURNING id", {name, amount});
  EXPECT_EQ(id, "1");
  EXPECT_EQ(Value(c.get(), "SELECT amount FROM t_kv WHERE name = $1", {name}), amount);
  EXPECT_EQ(Value(c.get(), "SELECT name FROM t_kv WHERE id = $1 AND amount = $2", {id, amount}), name);
  EXPECT_EQ(Value(c.get(), "SELECT amount + $1 FROM t_kv", {"2"}), "-9007199254740991");
  EXPECT_EQ(Value(c.get(), "SELECT count(*) FROM t_kv"), "1");
}

TEST_F(PqServer, ByteaRoundTripsEveryByteValue) {
  Conn c = Connect();
  ASSERT_EQ(PQstatus(c.get()), CONNECTION_OK) << PQerrorMessage(c.get());
  std::string bytes(256, '\0');
  for (int i = 0; i < 256; ++i) bytes[i] = static_cast<char>(i);
  const char* values[] = {bytes.data()};
  const int lengths[] = {256};
  const int binary[] = {1};

  ExpectCommand(c.get(), "CREATE TEMP TABLE t_blob (b bytea)");
  Result ins(PQexecParams(c.get(), "INSERT INTO t_blob VALUES ($1::bytea)", 1, nullptr, values, lengths, binary, 0));
  ASSERT_EQ(PQresultStatus(ins.get()), PGRES_COMMAND_OK) << PQerrorMessage(c.get());
  // The server holds exactly the bytes 0..255 in order.
  EXPECT_EQ(Value(c.get(), "SELECT b = decode(string_agg(lpad(to_hex(i), 2, '0'), '' ORDER BY i), 'hex') "
                           "FROM t_blob, generate_series(0, 255) i GROUP BY b"), "t");

  for (int format : {1, 0}) {
    Result r(PQexecParams(c.get(), "SELECT b FROM t_blob", 0, nullptr, nullptr, nullptr, nullptr, format));
    ASSERT_EQ(PQresultStatus(r.get()), PGRES_TUPLES_OK) << PQerrorMessage(c.get());
    ASSERT_EQ(PQntuples(r.get()), 1);
    std::string back;
    if (format == 1) {
      back.assign(PQgetvalue(r.get(), 0, 0), PQgetlength(r.get(), 0, 0));
    } else {
      size_t n = 0;
      unsigned char* raw = PQunescapeBytea(reinterpret_cast<const unsigned char*>(PQgetvalue(r.get(), 0, 0)), &n);
      ASSERT_NE(raw, nullptr);
      back.assign(reinterpret_cast<char*>(raw), n);
      PQfreemem(raw);
    }
    EXPECT_EQ(back, bytes) << (format ? "binary" : "text") << " result";
  }
}

// Waits for the connection's socket to be readable, up to `ms`.
bool WaitReadable(PGconn* c, int ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(PQsocket(c), &set);
  timeval tv{ms / 1000, (ms % 1000) * 1000};
  return select(PQsocket(c) + 1, &set, nullptr, nullptr, &tv) > 0;
}

TEST_F(PqServer, ListenReceivesNotifyFromAnotherConnection) {
  Conn listener = Connect();
  Conn sender = Connect();
  ASSERT_EQ(PQstatus(listener.get()), CONNECTION_OK) << PQerrorMessage(listener.get());
  ASSERT_EQ(PQstatus(sender.get()), CONNECTION_OK) << PQerrorMessage(sender.get());
  ExpectCommand(listener.get(), "LISTEN kv_orders");
  const std::string payload = "order 5/2024 saved";
  Value(sender.get(), "SELECT pg_notify('kv_orders', $1)", {payload});

  std::unique_ptr<PGnotify, void (*)(void*)> note(nullptr, PQfreemem);
  for (int i = 0; i < 100 && !note; ++i) {
    if (!WaitReadable(listener.get(), 100)) continue;
    ASSERT_EQ(PQconsumeInput(listener.get()), 1) << PQerrorMessage(listener.get());
    note.reset(PQnotifies(listener.get()));
  }
  ASSERT_TRUE(note) << "no notification within 10 s";
  EXPECT_STREQ(note->relname, "kv_orders");
  EXPECT_EQ(note->extra, payload);
  EXPECT_EQ(note->be_pid, PQbackendPID(sender.get()));
}

}  // namespace
