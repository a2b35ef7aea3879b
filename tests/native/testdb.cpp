#include "tests/native/testdb.h"

#include <sqlite3.h>

#include <filesystem>
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

void DbTest::SetUp() {
    TempDirTest::SetUp();
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
