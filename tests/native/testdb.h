// Helpers for tests that need a database file of their own.
#ifndef KV_TESTS_TESTDB_H
#define KV_TESTS_TESTDB_H

#include <gtest/gtest.h>

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

// A new database from the program's own schema and defaults, year 2010,
// opened as the program's connection.
class DbTest : public TempDirTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Runs SQL on the program's connection and fails the test if it fails.
    void Sql(const char* sql);
    std::string path_;
    char msg_[2048] = {};
};

// Runs SQL on a connection of its own (the program's is not touched); fails
// the test if it fails.
void RawSql(const std::string& path, const char* sql);

#endif
