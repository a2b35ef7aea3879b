// kelvaro-printout, run as a process: the page count it prints, the EMF
// pages it writes (the same pages the program composes) and their PNG
// pictures, and what it refuses.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include <sqlite3.h>

#include "db/connection.h"
#include "db/tables.h"
#include "printout/printout.h"
#include "render/drawset_win.h"
#include "tests/native/order_patterns.h"
#include "tests/native/testdb.h"
#include "tests/win/emf_pages.h"
#include "tests/win/harness.h"
#include "tests/win/testutil.h"
#include "util/msgbuf.h"

namespace {

struct Report {
    DWORD kod = 9999;
    std::string wyjscie, bledy;
    std::string start_error;  // why the tool could not be started, if it could not
};

bool Istnieje(const std::string& plik) { return GetFileAttributesA(plik.c_str()) != INVALID_FILE_ATTRIBUTES; }

class PrintoutToolTest : public DbTest {
protected:
    // Runs the tool with its standard output and error going to files.
    Report Uruchom(const std::string& args) {
        Report w;
        const std::string exe = BinDir() + "\\kelvaro-printout.exe";
        std::string cmd = "\"" + exe + "\" " + args;
        SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
        const std::string out = Path("stdout.txt"), err = Path("stderr.txt");
        HANDLE ho = CreateFileA(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
        HANDLE he = CreateFileA(err.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = ho;
        si.hStdError = he;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        PROCESS_INFORMATION pi = {};
        // Wine now and then refuses a start right after the previous child
        // ended; a second try a moment later goes through.
        bool started = false;
        for (int attempt = 0; attempt < 4 && !started; attempt++) {
            if (attempt) Sleep(250);
            started = CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi) != 0;
            if (!started) w.start_error += "CreateProcess failed with " + std::to_string(GetLastError()) + "\n";
        }
        if (started) {
            WaitForSingleObject(pi.hProcess, 60000);
            GetExitCodeProcess(pi.hProcess, &w.kod);
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
        }
        CloseHandle(ho);
        CloseHandle(he);
        w.wyjscie = ReadWholeFile(out);
        w.bledy = ReadWholeFile(err);
        return w;
    }
    // Saves an order of `okien` windows and `dodatkow` accessories; its key.
    int64_t Store(int okien, int dodatkow) {
        strZmienne zm{};
        EXPECT_EQ(1, ReadVariables(&zm, msg_)) << msg_;
        strZamRob z;
        InitTestOrder(&z, zm.idZam + 1, "Tool Buyer");
        for (int i = 0; i < okien; i++) {
            TestWindow o;
            if (i % 2) WindowWithPanes(o, 1 + i % 3, true);
            else WindowWithSash(o);
            AddTestWindow(&z, o, "Norvel", 20000 + 150 * i);
        }
        for (int i = 0; i < dodatkow; i++) AddTestAccessory(&z, i, "Sill", i);
        EXPECT_EQ(1, SaveNewOrder(&z, &zm, msg_)) << msg_;
        const int64_t klucz = z.zam.kluczZam;
        FreeOrder(&z);
        return klucz;
    }
};

TEST_F(PrintoutToolTest, WritesThePagesTheProgramComposes) {
    const int64_t klucz = Store(7, 3);
    // The same order composed here, from what the database holds.
    strZamRob z{};
    ASSERT_EQ(1, LoadOrder(klucz, &z, msg_)) << msg_;
    strUstUzytk ust{};
    ASSERT_EQ(1, ReadUserSettings(&ust, msg_)) << msg_;
    DbClose();
    DrawSet ekran, druk;
    ASSERT_TRUE(CreateDrawSet(GetModuleHandleA(nullptr), &ekran));
    ASSERT_TRUE(CreatePrintDrawSet(&ekran, &druk));
    PrintoutPages s{};
    ASSERT_EQ(1, ComposeOrderPrintout(&z, &druk, &ust, &s, msg_)) << msg_;
    std::vector<EmfPage> oczek;
    for (int32_t i = 0; i < s.itemCount; i++) oczek.push_back(ReadPage(s.pageFiles[i]));
    FreePrintoutPages(&s);
    DestroyPrintDrawSet(&druk);
    DestroyDrawSet(&ekran);
    FreeAndZeroOrder(&z);
    ASSERT_GE(oczek.size(), 3u);

    const std::string folder = Path("pages");  // made by the tool
    Report w =
        Uruchom("\"" + path_ + "\" " + std::to_string((long long)klucz) + " \"" + folder + "\" --png 400");
    ASSERT_EQ(0u, w.kod) << w.bledy;
    EXPECT_EQ(std::to_string(oczek.size()) + "\n", w.wyjscie);
    EXPECT_EQ("", w.bledy);
    for (size_t i = 0; i < oczek.size(); i++) {
        SCOPED_TRACE("page " + std::to_string(i + 1));
        const std::string nazwa = folder + "\\page-" + std::to_string(i + 1);
        HENHMETAFILE h = GetEnhMetaFileA((nazwa + ".emf").c_str());
        ASSERT_NE(nullptr, h);
        EmfPage p = ReadPage(h);
        DeleteEnhMetaFile(h);
        EXPECT_EQ(oczek[i].ramka.right, p.ramka.right);
        EXPECT_EQ(oczek[i].ramka.bottom, p.ramka.bottom);
        ASSERT_EQ(oczek[i].teksty.size(), p.teksty.size());
        for (size_t k = 0; k < p.teksty.size(); k++) {
            EXPECT_EQ(oczek[i].teksty[k].t, p.teksty[k].t);
            EXPECT_EQ(oczek[i].teksty[k].x, p.teksty[k].x);
            EXPECT_EQ(oczek[i].teksty[k].y, p.teksty[k].y);
        }
        EXPECT_EQ(oczek[i].linie.size(), p.linie.size());
        // A PNG as wide as asked, as tall as the page's shape.
        const std::string png = ReadWholeFile(nazwa + ".png");
        ASSERT_GT(png.size(), 24u);
        EXPECT_EQ(0, memcmp(png.data(), "\x89PNG\r\n\x1A\n", 8));
        auto be32 = [&](size_t o) {
            return (uint32_t)(uint8_t)png[o] << 24 | (uint32_t)(uint8_t)png[o + 1] << 16 |
                   (uint32_t)(uint8_t)png[o + 2] << 8 | (uint8_t)png[o + 3];
        };
        EXPECT_EQ(400u, be32(16));
        EXPECT_EQ((uint32_t)(400LL * p.ramka.bottom / p.ramka.right), be32(20));
        // Not a blank picture: the lines and letters are dark.
        EXPECT_GT(png.size(), (size_t)400 * be32(20) * 3);
    }
    EXPECT_FALSE(Istnieje(folder + "\\page-" + std::to_string(oczek.size() + 1) + ".emf"));

    // Without --png: the EMF pages only, into a folder that already exists.
    CreateDirectoryA(Path("emf").c_str(), nullptr);
    w = Uruchom("\"" + path_ + "\" " + std::to_string((long long)klucz) + " \"" + Path("emf") + "\"");
    ASSERT_EQ(0u, w.kod) << w.bledy;
    EXPECT_TRUE(Istnieje(Path("emf") + "\\page-1.emf"));
    EXPECT_FALSE(Istnieje(Path("emf") + "\\page-1.png"));
}

TEST_F(PrintoutToolTest, RefusalsGoToStandardErrorWithExitCode1AndWriteNothing) {
    const int64_t pelne = Store(1, 0);
    // An order without windows and accessories, stored as such.
    Sql("INSERT INTO T_Zam (idZam, rok, dodOznaczZam, idWalZam, dataZam, dataReal, nazwaNabyw, adresNabyw, "
        "infDodatNabyw, waga, uwagi, status, sDaneUzytk, sWycenZamParam) SELECT 99, 2010, '', 12, "
        "'2010-07-20', "
        "'2010-08-03', 'Nobody', '', '', 0, '', 0, sDaneUzytk, sWycenZamParam FROM T_UstUzytk;");
    const int64_t pusty = sqlite3_last_insert_rowid(DbHandle());
    DbClose();
    const std::string baza = "\"" + path_ + "\" ";
    const std::string k = std::to_string((long long)pelne);
    struct {
        std::string args;
        const char* blad;
    } przypadki[] = {
        {baza + std::to_string((long long)pusty) + " out", "The order is empty"},
        {baza + "424242 out", "T_Zam"},
        {baza + "12abc out", "The order key is not a number"},
        {baza + k + " out --png 5", "The width of --png is 16 to 10000 pixels"},
        {baza + k + " out --png", "usage: kelvaro-printout DATABASE ORDER_KEY OUT_FOLDER [--png WIDTH]"},
        {"\"" + Path("missing.db") + "\" " + k + " out", ""},
    };
    for (auto& p : przypadki) {
        SCOPED_TRACE(p.args);
        const std::string out = Path("out");
        std::string a = p.args;
        a.replace(a.rfind("out"), 3, "\"" + out + "\"");
        Report w = Uruchom(a);
        EXPECT_EQ(1u, w.kod) << w.start_error;
        EXPECT_EQ("", w.wyjscie);
        EXPECT_NE(std::string::npos, w.bledy.find(p.blad)) << w.bledy;
        EXPECT_GT(w.bledy.size(), 2u);
        EXPECT_FALSE(Istnieje(out + "\\page-1.emf"));
    }

    // A heading the settings allow at most leaves no room for a window.
    RawSql(path_, "UPDATE T_UstUzytk SET wysNaglDruk = 250;");
    Report w = Uruchom(baza + k + " \"" + Path("out") + "\"");
    EXPECT_EQ(1u, w.kod);
    EXPECT_NE(std::string::npos, w.bledy.find("below a printout heading of 250 mm")) << w.bledy;
    EXPECT_FALSE(Istnieje(Path("out") + "\\page-1.emf"));
}

}  // namespace
