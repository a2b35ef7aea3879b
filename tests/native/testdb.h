// Helpers for tests that need a database file of their own.
#ifndef KV_TESTS_TESTDB_H
#define KV_TESTS_TESTDB_H

#include <gtest/gtest.h>

#include <map>
#include <string>

// A fresh folder per test, removed afterwards; `Path(name)` is a file in it.
class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string Path(const char* name) const { return dir_ + "/" + name; }

private:
    std::string dir_;
};

// The keys of the test server's connection when the tests run against one
// (KV_PG_CONNFILE names its file of "key=value" lines: host, port, dbname,
// user, password), else none; and the same as one connection string ("").
std::map<std::string, std::string> TestServerKeys();
std::string TestServerConnInfo();
// Empties the test server's database and makes the program's tables anew
// (year 2010); the program's connection is left closed.
void ResetTestServerDatabase();
// Runs SQL on the test server as its owner, beside the program's connection.
void TestServerSql(const char* sql);

// A new database from the program's own schema and defaults, year 2010,
// opened as the program's connection: a file, or with a test server the
// server's database emptied and made anew, so every test of the family runs
// on both backends.
class DbTest : public TempDirTest {
protected:
    void SetUp() override;
    void TearDown() override;
    bool OnServer() const { return !server_.empty(); }
    std::string server_;
    // Runs SQL on the program's connection and fails the test if it fails.
    void Sql(const char* sql);
    std::string path_;
    char msg_[2048] = {};
};

// For a test of what only a file does (its path, its locks, its pages).
#define KV_FILE_ONLY() \
    if (OnServer()) GTEST_SKIP() << "a database file's own behaviour"

// Runs SQL on a connection of its own (the program's is not touched); fails
// the test if it fails.
void RawSql(const std::string& path, const char* sql);

#endif
