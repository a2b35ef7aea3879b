// The lookup indexes: made at the open of a database that lacks them, and a
// file that cannot be written now still opens and lists its orders.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <chrono>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "db/connection.h"
#include "tests/native/sample_orders.h"
#include "tests/native/testdb.h"
#include "valuation/order_list.h"

namespace {

const char kDropIndexes[] =
    "DROP INDEX I_Okno_kluczZam; DROP INDEX I_OperRysDb_kluczOkno; DROP INDEX I_DodatZam_kluczZam;";

bool Zbierz(const strZamRob* z, void* ctx) {
    ((std::vector<int64_t>*)ctx)->push_back(z->zam.kluczZam);
    return true;
}

// Makes the file unwritable for this process, also for root (which ignores
// the mode bits: the immutable flag stops it). False when neither works.
bool MakeReadOnly(const std::string& path, bool on) {
#ifdef _WIN32
    return SetFileAttributesA(path.c_str(), on ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL) != 0;
#else
    chmod(path.c_str(), on ? 0444 : 0644);
    if (geteuid() != 0) return true;
    int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    close(fd);
    return ok;
#endif
}

// Whether the file can still be opened for writing (Wine run by root keeps
// a read-only file writable: then that case cannot be made here).
bool Writable(const std::string& path) {
#ifdef _WIN32
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
#else
    int fd = open(path.c_str(), O_WRONLY);
    if (fd < 0) return false;
    close(fd);
    return true;
#endif
}

class DbIndexes : public DbTest {
protected:
    // Three saved orders in a file whose lookup indexes were dropped, closed.
    void SetUp() override {
        DbTest::SetUp();
        for (int i = 0; i < 3; i++) {
            int64_t k = SaveTestOrder(2, 1, 0, msg_);
            ASSERT_NE(0, k) << msg_;
            keys_.push_back(k);
        }
        DbClose();
        RawSql(path_, kDropIndexes);
    }
    void TearDown() override {
        if (readOnly_) MakeReadOnly(path_, false);
        if (other_) {
            sqlite3_exec(other_, "ROLLBACK;", nullptr, nullptr, nullptr);
            sqlite3_close(other_);
        }
        DbTest::TearDown();
    }
    int64_t Indexes() {
        int64_t n = -1;
        EXPECT_EQ(kDbQueryValue,
                  DbQueryValue("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND name IN "
                               "('I_Okno_kluczZam', 'I_OperRysDb_kluczOkno', 'I_DodatZam_kluczZam')",
                               kDbInt64, &n, sizeof n, msg_))
            << msg_;
        return n;
    }
    std::vector<int64_t> Listed() {
        std::vector<int64_t> seen;
        EXPECT_EQ(1, ListOrders(0, Zbierz, &seen, msg_)) << msg_;
        return seen;
    }
    std::vector<int64_t> keys_;
    bool readOnly_ = false;
    sqlite3* other_ = nullptr;
};

TEST_F(DbIndexes, OpenMakesTheMissingOnesAndKeepsTheVersion) {
    ASSERT_EQ(1, DbOpen(path_.c_str(), msg_)) << msg_;
    EXPECT_EQ(3, Indexes());
    char version[16] = "";
    EXPECT_EQ(kDbQueryValue,
              DbQueryValue("SELECT werBaza FROM T_WerBaza", kDbText, version, sizeof version, msg_));
    EXPECT_STREQ("1-8", version);
    EXPECT_EQ(keys_, Listed());
    // A second open finds them there and changes nothing.
    DbClose();
    ASSERT_EQ(1, DbOpen(path_.c_str(), msg_)) << msg_;
    EXPECT_EQ(3, Indexes());
}

// Each way a file can refuse the index: it opens anyway (within the bounded
// wait), lists every order and is left without the indexes.
TEST_F(DbIndexes, FileThatCannotBeWrittenStillListsItsOrders) {
    enum Way { kLockedByAnother, kReadOnly };
    for (Way way : {kLockedByAnother, kReadOnly}) {
        SCOPED_TRACE(way == kReadOnly ? "read-only file" : "write lock held by another connection");
        if (way == kLockedByAnother) {
            ASSERT_EQ(SQLITE_OK, sqlite3_open(path_.c_str(), &other_));
            ASSERT_EQ(SQLITE_OK, sqlite3_exec(other_, "BEGIN IMMEDIATE;", nullptr, nullptr, nullptr));
        } else {
            readOnly_ = MakeReadOnly(path_, true);
            if (!readOnly_ || Writable(path_)) GTEST_SKIP() << "this process cannot make a file read-only";
        }
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(1, DbOpen(path_.c_str(), msg_)) << msg_;
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_LT(waited, std::chrono::milliseconds(kDbBusyWaitMs + 10000));
        EXPECT_EQ(keys_, Listed());
        EXPECT_EQ(0, Indexes());
        DbClose();
        if (other_) {
            sqlite3_exec(other_, "ROLLBACK;", nullptr, nullptr, nullptr);
            sqlite3_close(other_);
            other_ = nullptr;
        }
    }
}

}  // namespace
