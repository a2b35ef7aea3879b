// Windows path validation, the directory part, and testing and creating
// the directories of a path in a scratch directory.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <filesystem>
#include <string>
#include <vector>

#include "util/kvutil.h"
#include "util/platform.h"

namespace fs = std::filesystem;

namespace {

TEST(CzyPoprawnaSciezkaWin, ValidPaths) {
    const char* valid[] = {
        "C:\\dir\\file.txt", "dir\\file", "file",           "C:\\", "C:\\dir\\", "..\\x", ".\\x", "a b\\c",
        "z:\\COM10\\LPT0",   "C:\\con1",  "C:\\dir\\a.b.c", "..",
    };
    for (const char* p : valid) EXPECT_EQ(1, CzyPoprawnaSciezkaWin(p)) << p;
    EXPECT_EQ(1, CzyPoprawnaSciezkaWin(std::string(KV_MAX_PATH - 1, 'n').c_str()));
}

TEST(CzyPoprawnaSciezkaWin, InvalidPaths) {
    const char* invalid[] = {
        "C:\\dir\\CON",
        "C:\\dir\\con",
        "C:",
        "C:dir",
        "C:\\\\dir",
        "dir\\\\x",
        "\\dir",
        "C:\\COM1",
        "C:\\LPT9\\x",
        "C:\\AUX",
        "C:\\PRN",
        "C:\\NUL",
        "C:\\CLOCK$",
        "C:\\con.txt",  // still the device
        "C:\\dir\\.hidden",
        "C:\\dir\\name.",
        ".x",
        "x.",
        " lead",
        "trail ",
        "a\\ b",
        "a<b",
        "a>b",
        "a|b",
        "a\"b",
        "a/b",
        "a:b",
        "a*b",
        "a?b",
        "x\x01y",
        "x\ty",
        "",
        "1:\\x",
        "C:\\dir\\\\",
    };
    for (const char* p : invalid) EXPECT_EQ(0, CzyPoprawnaSciezkaWin(p)) << p;
    EXPECT_EQ(0, CzyPoprawnaSciezkaWin(nullptr));
    EXPECT_EQ(0, CzyPoprawnaSciezkaWin(std::string(KV_MAX_PATH, 'n').c_str()));
}

TEST(WytnijKatalog, DirectoryAndFileParts) {
    char dir[KV_MAX_PATH];
    const char* path = "C:\\dir\\sub\\f.txt";
    EXPECT_EQ(path + 11, WytnijKatalog(path, dir, 1));
    EXPECT_STREQ("C:\\dir\\sub", dir);
    path = "f.txt";
    EXPECT_EQ(path, WytnijKatalog(path, dir, 1));
    EXPECT_STREQ("", dir);
    EXPECT_EQ(nullptr, WytnijKatalog("C:\\CON\\x", dir, 1));
    EXPECT_STREQ("", dir);
    EXPECT_STREQ("x", WytnijKatalog("C:\\CON\\x", dir, 0));
    EXPECT_STREQ("C:\\CON", dir);
}

TEST(WytnijKatalog, LongDirectoryIsCut) {
    std::string path = std::string(400, 'd') + "\\file";
    std::vector<char> dir(KV_MAX_PATH + 8, 'z');
    EXPECT_STREQ("file", WytnijKatalog(path.c_str(), dir.data(), 0));
    EXPECT_EQ((size_t)KV_MAX_PATH - 1, strlen(dir.data()));
    EXPECT_EQ('z', dir[KV_MAX_PATH]);
}

// Runs each test in a fresh scratch directory, with relative paths.
class PathsOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = fs::current_path();
        dir_ = fs::temp_directory_path() /
               ("kv_paths_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(old_);
        fs::remove_all(dir_);
    }
    static void MakeFile(const char* name, size_t bytes) {
        FILE* f = fopen(name, "wb");
        ASSERT_NE(nullptr, f);
        std::vector<char> data(bytes, 'x');
        if (bytes) fwrite(data.data(), 1, bytes, f);
        fclose(f);
    }
    fs::path old_, dir_;
};

TEST_F(PathsOnDisk, TworzKatalogCreatesWhatIsMissing) {
    EXPECT_EQ(1, TworzKatalog("t1\\a\\b"));
    EXPECT_TRUE(fs::is_directory("t1/a/b"));
    kvplat::SetLastError(0);
    EXPECT_EQ(0, TworzKatalog("t1\\a\\b"));
    EXPECT_EQ(183u, kvplat::LastError());  // all existed
    EXPECT_EQ(1, TworzKatalog("t1\\a\\c\\"));
    EXPECT_TRUE(fs::is_directory("t1/a/c"));

    MakeFile("t2", 1);
    kvplat::SetLastError(0);
    EXPECT_EQ(0, TworzKatalog("t2\\x"));
    EXPECT_NE(183u, kvplat::LastError());  // a failure, not "all existed"
    EXPECT_FALSE(fs::exists("t2/x"));

    EXPECT_EQ(0, TworzKatalog(std::string(300, 'n').c_str()));
    EXPECT_EQ(0, TworzKatalog(""));
    EXPECT_EQ(0, TworzKatalog(nullptr));
}

TEST_F(PathsOnDisk, TestSciezkiWalksThePrefixes) {
    fs::create_directories("t1/a/b");
    MakeFile("t1/file", 1);
    int all = -1;
    EXPECT_EQ(1, TestSciezki("t1\\a\\b", 0, 1, &all));
    EXPECT_EQ(1, all);
    all = -1;
    EXPECT_EQ(1, TestSciezki("t1\\a\\zz\\yy", 0, 1, &all));
    EXPECT_EQ(0, all);
    EXPECT_EQ(0, TestSciezki("t1\\file\\x", 0, 1, &all));  // a file where a folder must be
    EXPECT_EQ(0, TestSciezki("t1\\file", 0, 1, &all));
    EXPECT_EQ(1, TestSciezki("t1\\a\\", 0, 1, nullptr));
    // The validation only on request.
    EXPECT_EQ(0, TestSciezki("t1\\\\a", 0, 1, &all));
    EXPECT_EQ(0, TestSciezki("t1\\CON", 0, 1, &all));
    // A drive that does not exist.
    EXPECT_EQ(0, TestSciezki("Q:\\x", 0, 1, &all));
    EXPECT_EQ(0, TestSciezki(std::string(300, 'n').c_str(), 0, 0, &all));
    EXPECT_EQ(0, TestSciezki("", 0, 0, &all));
}

#if !defined(_WIN32)
// The stand-in can have a floppy drive; a Windows machine under test has none.
TEST(TestSciezki, FloppyDrivesOnlyWhenAllowed) {
    kvplat::SetTestDrives("ABC");
    int all = -1;
    const char* path = "a:\\kv_no_such_folder\\x";
    EXPECT_EQ(0, TestSciezki(path, 0, 1, &all));
    EXPECT_EQ(0, TestSciezki("B:\\kv_no_such_folder", 0, 1, &all));
    EXPECT_EQ(1, TestSciezki(path, 1, 1, &all));
    EXPECT_EQ(0, all);
    kvplat::SetTestDrives("C");
    EXPECT_EQ(0, TestSciezki(path, 1, 1, &all));  // allowed, but not there
}
#endif

TEST_F(PathsOnDisk, DajRozmPliku) {
    MakeFile("sized", 1234);
    FILE* f = fopen("sized", "rb");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(1234, DajRozmPliku(f));
    fclose(f);
    MakeFile("empty", 0);
    f = fopen("empty", "rb");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(0, DajRozmPliku(f));
    fclose(f);
    EXPECT_EQ(-1, DajRozmPliku(nullptr));
}

}  // namespace
