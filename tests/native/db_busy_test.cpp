// Another program holding the database's lock: a write waits for it, and a
// lock held past the wait is told as such.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <string>
#include <thread>

#include "db/connection.h"
#include "db/price_table.h"
#include "db/registers.h"
#include "tests/native/order_patterns.h"
#include "tests/native/price_entries.h"
#include "tests/native/testdb.h"

namespace {

using std::chrono::milliseconds;

// Takes the lock `how` on a connection of its own and gives it back after
// `hold` from a thread, or (hold 0) when it goes.
class OtherProgram {
public:
    OtherProgram(const std::string& path, const char* how, milliseconds hold) {
        EXPECT_EQ(SQLITE_OK, sqlite3_open(path.c_str(), &db_));
        EXPECT_EQ(SQLITE_OK, sqlite3_exec(db_, how, nullptr, nullptr, nullptr));
        if (hold.count())
            thread_ = std::thread([this, hold] {
                std::this_thread::sleep_for(hold);
                sqlite3_exec(db_, "COMMIT;", nullptr, nullptr, nullptr);
            });
    }
    ~OtherProgram() {
        if (thread_.joinable()) thread_.join();
        else sqlite3_exec(db_, "COMMIT;", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
    }

private:
    sqlite3* db_ = nullptr;
    std::thread thread_;
};

using DbBusyTest = DbTest;

TEST_F(DbBusyTest, WritesWaitForALockHeldForASecond) {
    strZamRob z{};
    InitTestOrder(&z, 1, "Edda Varnholt");
    TestWindow o;
    WindowWithSash(o);
    AddTestWindow(&z, o, "Orvel 70", 48900);
    WindowRegisters rej{};
    ASSERT_EQ(1, LoadWindowRegisters(&rej, msg_)) << msg_;
    strZmienne zm{0, 2010};
    for (int path = 0; path < 3; path++) {  // price list, registers, order
        SCOPED_TRACE(path);
        OtherProgram other(path_, "BEGIN IMMEDIATE;", milliseconds(1000));
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(1, path == 0   ? DbSavePriceList({Entry(kPriceBead, "Bead 12", 500)}, msg_)
                     : path == 1 ? DbSaveWindowRegisters(&z.zam.okna[0], &rej, msg_)
                                 : SaveNewOrder(&z, &zm, msg_))
            << msg_;
        EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(500));  // it met the lock
    }
    FreeWindowRegisters(&rej);
    FreeOrder(&z);
}

// The operation's own message first, then the line that says why.
TEST_F(DbBusyTest, LockHeldPastTheWaitIsSaidBelowTheMessage) {
    ASSERT_EQ(1, DbSavePriceList({Entry(kPriceBead, "B", 5)}, msg_)) << msg_;
    sqlite3_busy_timeout(DbHandle(), 100);
    const std::string busy = std::string("\r\n") + kDbBusyText;
    std::vector<PriceEntry> read;
    {
        OtherProgram other(path_, "BEGIN IMMEDIATE;", milliseconds(0));
        EXPECT_EQ(0, DbSavePriceList({}, msg_));
    }
    EXPECT_EQ("Error of opening a database transaction\r\ndatabase is locked" + busy, msg_);
    {
        OtherProgram other(path_, "BEGIN EXCLUSIVE;", milliseconds(0));
        EXPECT_EQ(0, DbLoadPriceList(&read, msg_));
    }
    EXPECT_EQ("Error of SQL command\r\ndatabase is locked" + busy, msg_);
    ASSERT_EQ(1, DbLoadPriceList(&read, msg_)) << msg_;
    EXPECT_EQ(1u, read.size());
    // Any other failure says nothing of a lock.
    EXPECT_EQ(0, DbExec("UPDATE T_Nothing SET a = 1", msg_));
    EXPECT_EQ(std::string::npos, std::string(msg_).find(kDbBusyText));
}

TEST_F(DbBusyTest, OpeningALockedFileIsNotWrongContent) {
    DbClose();
    {
        OtherProgram other(path_, "BEGIN EXCLUSIVE;", milliseconds(0));
        EXPECT_EQ(0, DbOpen(path_.c_str(), msg_));
    }
    EXPECT_EQ(std::string("Error of opening the database\r\ndatabase is locked\r\n") + kDbBusyText, msg_);
    EXPECT_EQ(1, DbOpen(path_.c_str(), msg_)) << msg_;
}

}  // namespace
