// Another program holding the database's write lock: every write waits for
// it (within kDbBusyWaitMs), and one held past the wait is told as such.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string.h>

#include <chrono>
#include <functional>
#include <thread>

#include "db/connection.h"
#include "db/orders.h"
#include "db/price_list.h"
#include "db/registers.h"
#include "tests/native/order_patterns.h"
#include "tests/native/testdb.h"

namespace {

using Clock = std::chrono::steady_clock;

// A second connection that takes the write lock `how` and gives it back
// after `hold` from a thread of its own, or (hold 0) when it goes.
class OtherWriter {
public:
    OtherWriter(const std::string& path, const char* how, std::chrono::milliseconds hold) {
        EXPECT_EQ(SQLITE_OK, sqlite3_open(path.c_str(), &db_));
        EXPECT_EQ(SQLITE_OK, sqlite3_exec(db_, how, nullptr, nullptr, nullptr));
        if (hold.count() > 0)
            thread_ = std::thread([this, hold] {
                std::this_thread::sleep_for(hold);
                sqlite3_exec(db_, "COMMIT;", nullptr, nullptr, nullptr);
            });
    }
    ~OtherWriter() {
        if (thread_.joinable()) thread_.join();
        else sqlite3_exec(db_, "COMMIT;", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
    }

private:
    sqlite3* db_ = nullptr;
    std::thread thread_;
};

const std::chrono::milliseconds kUntilDone(0);

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class DbBusyTest : public DbTest {
protected:
    void TearDown() override {
        ZwolnijRejestryOkna(&rej_);
        ZwolnijZam(&z_);
        DbTest::TearDown();
    }
    strRejestryOkna rej_{};
    strZamRob z_{};
    TestOkno okno_;
    const std::string busyLine_ = std::string("\r\n") + kDbBusyText;
};

// Each write path that reads before it writes, with the lock held for 1 s.
TEST_F(DbBusyTest, WritesThatReadFirstWaitForAnotherProgramsLock) {
    ZamTest(&z_, 1, "Edda Varnholt");
    OknoZeSkrzydlem(okno_);
    DodajOknoTest(&z_, okno_, "Orvel 70", 48900);
    strZmienne zm{0, 2010};
    ASSERT_EQ(1, ZapiszNoweZam(&z_, &zm, msg_)) << msg_;
    ASSERT_EQ(1, WczytajRejestryOkna(&rej_, msg_)) << msg_;
    const struct {
        const char* what;
        std::function<int()> write;
    } kCases[] = {
        {"price list save", [&] { return DbSavePriceList({PriceEntry{kPriceBead, "Bead 12", {500}}}, msg_); }},
        {"registers' update", [&] { return DbSaveWindowRegisters(&z_.zam.okna[0], &rej_, msg_); }},
        {"order save", [&] { return ZapiszNoweZam(&z_, &zm, msg_); }},
        {"order overwrite", [&] { return NadpiszZam(&z_, msg_); }},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        OtherWriter other(path_, "BEGIN IMMEDIATE;", std::chrono::milliseconds(1000));
        const Clock::time_point start = Clock::now();
        EXPECT_EQ(1, c.write()) << msg_;
        // It did meet the lock.
        EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(500));
    }
}

// Past the wait the operation's own message comes first, then the line that
// says why; nothing is half written.
TEST_F(DbBusyTest, LockHeldPastTheWaitIsToldAfterTheMessage) {
    ASSERT_EQ(1, DbSavePriceList({PriceEntry{kPriceBead, "Bead 12", {500}}}, msg_)) << msg_;
    sqlite3_busy_timeout(DbHandle(), 100);
    std::vector<PriceEntry> read;
    const struct {
        const char* lock;  // the other program's
        std::function<int()> run;
        const char* first;  // the message's first line
    } kCases[] = {
        {"BEGIN IMMEDIATE;", [&] { return DbSavePriceList({}, msg_); }, "Error of opening a database transaction"},
        {"BEGIN EXCLUSIVE;", [&] { return DbLoadPriceList(&read, msg_); }, "Error of SQL command"},
        {"BEGIN EXCLUSIVE;", [&] { return DbExec("UPDATE T_Zam SET status = 2", msg_); }, "Error of SQL command"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.first);
        {
            OtherWriter other(path_, c.lock, kUntilDone);
            EXPECT_EQ(0, c.run());
        }
        const std::string text = msg_;
        EXPECT_EQ(0u, text.find(std::string(c.first) + "\r\ndatabase is locked")) << text;
        EXPECT_TRUE(EndsWith(text, busyLine_)) << text;
    }
    ASSERT_EQ(1, DbLoadPriceList(&read, msg_)) << msg_;
    EXPECT_EQ(1u, read.size());
    // Any other failure says nothing of a lock.
    EXPECT_EQ(0, DbExec("UPDATE T_Nothing SET a = 1", msg_));
    EXPECT_EQ(std::string::npos, std::string(msg_).find(kDbBusyText));
}

TEST_F(DbBusyTest, OpeningALockedFileIsNotWrongContent) {
    DbClose();
    {
        OtherWriter other(path_, "BEGIN EXCLUSIVE;", kUntilDone);
        EXPECT_EQ(0, DbOpen(path_.c_str(), msg_));
        EXPECT_EQ(nullptr, DbHandle());
    }
    const std::string text = msg_;
    EXPECT_EQ(0u, text.find("Error of opening the database\r\ndatabase is locked")) << text;
    EXPECT_TRUE(EndsWith(text, busyLine_)) << text;
    // Once the other program is done the file opens.
    ASSERT_EQ(1, DbOpen(path_.c_str(), msg_)) << msg_;
}

}  // namespace
