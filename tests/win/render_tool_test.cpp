// kelvaro-render, run as a process: the picture it writes is the drawing the
// program makes of the stored window, in BMP and in PNG alike.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "db/connection.h"
#include "db/tables.h"
#include "render/drawing_win.h"
#include "tests/native/order_patterns.h"
#include "tests/native/testdb.h"
#include "tests/win/harness.h"
#include "util/msgbuf.h"
#include "util/scoped_win.h"

namespace {

class RenderToolTest : public DbTest {};

DWORD Uruchom(const std::string& args) {
    std::string exe = BinDir() + "\\kelvaro-render.exe";
    std::string cmd = "\"" + exe + "\" " + args;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    // Wine now and then refuses a start right after the previous child ended.
    bool started = false;
    for (int attempt = 0; attempt < 4 && !started; attempt++) {
        if (attempt) Sleep(250);
        started = CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != 0;
    }
    if (!started) return 9999;
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD rc = 9998;
    GetExitCodeProcess(pi.hProcess, &rc);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return rc;
}

std::vector<uint8_t> ReadAll(const std::string& plik) {
    std::vector<uint8_t> d;
    FILE* f = fopen(plik.c_str(), "rb");
    if (!f) return d;
    int c;
    while ((c = fgetc(f)) != EOF) d.push_back((uint8_t)c);
    fclose(f);
    return d;
}

uint32_t Be32(const uint8_t* p) { return (uint32_t)p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

uint32_t Crc(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; i++) {
        c ^= p[i];
        for (int k = 0; k < 8; k++) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return c ^ 0xFFFFFFFFu;
}

// RGB rows, top first, from a 24-bit bottom-up BMP; empty when it is not one.
std::vector<uint8_t> ZBmp(const std::vector<uint8_t>& d, int w, int h) {
    std::vector<uint8_t> rgb;
    if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') return rgb;
    const BITMAPINFOHEADER* ih = (const BITMAPINFOHEADER*)&d[14];
    if (ih->biWidth != w || ih->biHeight != h || ih->biBitCount != 24) return rgb;
    const size_t wiersz = ((size_t)w * 3 + 3) & ~(size_t)3;
    if (d.size() < 54 + wiersz * h) return rgb;
    for (int y = 0; y < h; y++) {
        const uint8_t* p = &d[54 + wiersz * (h - 1 - y)];
        for (int x = 0; x < w; x++) rgb.insert(rgb.end(), {p[3 * x + 2], p[3 * x + 1], p[3 * x]});
    }
    return rgb;
}

// RGB rows from the tool's PNG (stored deflate blocks, no filters), checking
// every chunk's CRC and the zlib stream's Adler-32; empty when anything is off.
std::vector<uint8_t> ZPng(const std::vector<uint8_t>& d, int w, int h) {
    static const uint8_t sygn[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> z, rgb;
    if (d.size() < 8 || memcmp(d.data(), sygn, 8) != 0) return rgb;
    size_t p = 8;
    bool koniec = false;
    while (p + 12 <= d.size() && !koniec) {
        uint32_t n = Be32(&d[p]);
        if (p + 12 + n > d.size() || Crc(&d[p + 4], n + 4) != Be32(&d[p + 8 + n])) return rgb;
        std::string typ((const char*)&d[p + 4], 4);
        if (typ == "IHDR" && (Be32(&d[p + 8]) != (uint32_t)w || Be32(&d[p + 12]) != (uint32_t)h ||
                              d[p + 16] != 8 || d[p + 17] != 2))
            return rgb;
        if (typ == "IDAT") z.insert(z.end(), d.begin() + p + 8, d.begin() + p + 8 + n);
        koniec = typ == "IEND";
        p += 12 + n;
    }
    if (!koniec || z.size() < 6) return rgb;
    std::vector<uint8_t> surowe;
    size_t q = 2;
    for (bool ostatni = false; !ostatni;) {
        if (q + 5 > z.size() || (z[q] & 6) != 0) return rgb;  // stored blocks only
        ostatni = z[q] & 1;
        uint16_t len = (uint16_t)(z[q + 1] | z[q + 2] << 8), nlen = (uint16_t)(z[q + 3] | z[q + 4] << 8);
        if ((uint16_t)~len != nlen || q + 5 + len > z.size()) return rgb;
        surowe.insert(surowe.end(), z.begin() + q + 5, z.begin() + q + 5 + len);
        q += 5 + len;
    }
    uint32_t a = 1, b = 0;
    for (uint8_t c : surowe) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    if (q + 4 > z.size() || Be32(&z[q]) != (b << 16 | a)) return rgb;
    if (surowe.size() != (size_t)h * (1 + 3 * (size_t)w)) return rgb;
    for (int y = 0; y < h; y++) {
        const uint8_t* r = &surowe[(size_t)y * (1 + 3 * w)];
        if (r[0] != 0) return std::vector<uint8_t>();
        rgb.insert(rgb.end(), r + 1, r + 1 + 3 * w);
    }
    return rgb;
}

// The same window drawn here, as the tool should have drawn it.
std::vector<uint8_t> Oczekiwany(strOkno* okno, int w, int h, int styl, int wym, int margines) {
    DrawSet ds;
    std::vector<uint8_t> rgb;
    if (!CreateDrawSet(GetModuleHandleA(nullptr), &ds)) return rgb;
    {
        MemoryDC dc(nullptr, w, h);
        PatBlt(dc, 0, 0, w, h, WHITENESS);
        RECT cel = {0, 0, w, h};
        char msg[KV_MSG_LEN];
        if (dc.ok() && DrawWindowInRect(dc, okno, &cel, margines, &ds, styl, wym, msg)) {
            GdiFlush();
            const DWORD* px = dc.bits();
            for (int i = 0; i < w * h; i++)
                rgb.insert(rgb.end(), {(uint8_t)(px[i] >> 16), (uint8_t)(px[i] >> 8), (uint8_t)px[i]});
        }
    }
    DestroyDrawSet(&ds);
    return rgb;
}

int PixelCount(const std::vector<uint8_t>& rgb, uint8_t r, uint8_t g, uint8_t b) {
    int n = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) n += rgb[i] == r && rgb[i + 1] == g && rgb[i + 2] == b;
    return n;
}

TEST_F(RenderToolTest, DrawsTheStoredWindowIntoBmpAndPng) {
    strZmienne zm{};
    ASSERT_EQ(1, ReadVariables(&zm, msg_)) << msg_;
    strZamRob z;
    InitTestOrder(&z, zm.idZam + 1, "Render");
    TestWindow a, b;
    WindowWithSash(a);
    WindowWithPanes(b, 2, true);
    AddTestWindow(&z, a, "PVC", 100);
    AddTestWindow(&z, b, "PVC", 100);
    ASSERT_EQ(1, SaveNewOrder(&z, &zm, msg_)) << msg_;
    const int64_t klucz = z.zam.kluczZam;
    FreeOrder(&z);
    strZamRob wczytane{};
    ASSERT_EQ(1, LoadOrder(klucz, &wczytane, msg_)) << msg_;
    DbClose();

    const std::string baza = "\"" + path_ + "\" " + std::to_string((long long)klucz);
    struct {
        int okno, w, h, styl, wym, margines;
    } przypadki[] = {{0, 400, 300, 0, 1, 50}, {1, 240, 180, 1, 0, 6}, {1, 500, 350, 2, 2, 40}};
    for (auto& p : przypadki) {
        std::vector<uint8_t> oczek =
            Oczekiwany(&wczytane.zam.okna[p.okno], p.w, p.h, p.styl, p.wym, p.margines);
        ASSERT_EQ(oczek.size(), (size_t)p.w * p.h * 3);
        for (const char* ext : {".bmp", ".png"}) {
            std::string plik = Path((std::string("out") + ext).c_str());
            std::string args = baza + " " + std::to_string(p.okno) + " \"" + plik + "\" " +
                               std::to_string(p.w) + " " + std::to_string(p.h) + " " +
                               std::to_string(p.styl) + " " + std::to_string(p.wym);
            ASSERT_EQ(0u, Uruchom(args)) << args;
            std::vector<uint8_t> d = ReadAll(plik);
            std::vector<uint8_t> rgb = ext[1] == 'b' ? ZBmp(d, p.w, p.h) : ZPng(d, p.w, p.h);
            ASSERT_EQ(rgb.size(), oczek.size()) << args;
            EXPECT_TRUE(rgb == oczek) << args;
            // Glass shows, except in the printout.
            if (p.styl == 2) EXPECT_EQ(PixelCount(rgb, 217, 217, 255), 0) << args;
            else EXPECT_GT(PixelCount(rgb, 217, 217, 255), 100) << args;
        }
    }
    FreeAndZeroOrder(&wczytane);

    // Defaults: 800 x 600, canvas with dimensions.
    ASSERT_EQ(0u, Uruchom(baza + " 0 \"" + Path("d.bmp") + "\""));
    EXPECT_FALSE(ZBmp(ReadAll(Path("d.bmp")), 800, 600).empty());
    // A window past the end, a missing order, a wrong style, too few arguments.
    EXPECT_EQ(1u, Uruchom(baza + " 2 \"" + Path("x.bmp") + "\""));
    EXPECT_EQ(1u, Uruchom("\"" + path_ + "\" 999 0 \"" + Path("x.bmp") + "\""));
    EXPECT_EQ(1u, Uruchom(baza + " 0 \"" + Path("x.bmp") + "\" 100 100 3 0"));
    EXPECT_EQ(2u, Uruchom(baza + " 0"));
    EXPECT_TRUE(ReadAll(Path("x.bmp")).empty());
}

}  // namespace
