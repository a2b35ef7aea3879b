#include "tests/native/testdb.h"

#include <sqlite3.h>

#include <libpq-fe.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#ifdef _WIN32
#include <process.h>
#define kv_getpid _getpid
#else
#include <unistd.h>
#define kv_getpid getpid
#endif

#include "db/connection.h"
#include "db/newdb.h"
#include "db/server.h"

namespace fs = std::filesystem;

void TempDirTest::SetUp() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // The process id keeps two runs of the same test (two checkouts share the
    // temporary folder) out of each other's files.
    fs::path p = fs::temp_directory_path() / (std::string("kvtest-") + info->test_suite_name() + "-" +
                                              info->name() + "-" + std::to_string((long)kv_getpid()));
    std::error_code ec;
    fs::remove_all(p, ec);
    fs::create_directories(p);
    dir_ = p.string();
}

void TempDirTest::TearDown() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

std::map<std::string, std::string> TestServerKeys() {
    std::map<std::string, std::string> keys;
    const char* file = std::getenv("KV_PG_CONNFILE");
    if (!file || !*file) return keys;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t eq = line.find('=');
        if (eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return keys;
}

std::string TestServerConnInfo() {
    std::string info;
    for (const auto& [key, value] : TestServerKeys()) {
        info += key + "='";
        for (char c : value) {
            if (c == '\'' || c == '\\') info += '\\';
            info += c;
        }
        info += "' ";
    }
    return info;
}

void TestServerSql(const char* sql) {
    PGconn* c = PQconnectdb(TestServerConnInfo().c_str());
    ASSERT_EQ(CONNECTION_OK, PQstatus(c)) << PQerrorMessage(c);
    PGresult* r = PQexec(c, (std::string("SET client_min_messages TO warning;") + sql).c_str());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK;
    PQclear(r);
    EXPECT_TRUE(ok) << sql << "\n" << PQerrorMessage(c);
    PQfinish(c);
}

void ResetTestServerDatabase() {
    DbClose();
    TestServerSql("DROP SCHEMA public CASCADE; CREATE SCHEMA public;");
    char msg[2048];
    ASSERT_EQ(1, DbCreateServer(TestServerConnInfo().c_str(), 2010, msg)) << msg;
}

void DbTest::SetUp() {
    TempDirTest::SetUp();
    server_ = TestServerConnInfo();
    if (OnServer()) {
        ResetTestServerDatabase();
        ASSERT_EQ(kServerConnected, DbOpenServer(server_.c_str(), msg_)) << msg_;
        ASSERT_EQ(1, DbRegisterFunctions(msg_)) << msg_;
        return;
    }
    path_ = Path("test.db");
    ASSERT_EQ(1, DbCreateFile(path_.c_str(), 2010, msg_)) << msg_;
    ASSERT_EQ(1, DbOpen(path_.c_str(), msg_)) << msg_;
    ASSERT_EQ(1, DbRegisterFunctions(msg_)) << msg_;
}

void DbTest::TearDown() {
    DbClose();
    TempDirTest::TearDown();
}

void DbTest::Sql(const char* sql) { ASSERT_EQ(1, DbExec(sql, msg_)) << sql << "\n" << msg_; }

void RawSql(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(path.c_str(), &db));
    char* err = nullptr;
    int rc = sqlite3_exec(db, sql, nullptr, nullptr, &err);
    EXPECT_EQ(SQLITE_OK, rc) << sql << "\n" << (err ? err : "");
    sqlite3_free(err);
    sqlite3_close(db);
}
