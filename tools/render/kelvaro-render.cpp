// kelvaro-render DATABASE ORDER_KEY WINDOW_INDEX OUT_FILE [WIDTH HEIGHT STYLE DIMENSIONS]
//
// Developer tool: draws one window of a stored order into a picture, the way
// the program draws it, to look at drawings and compare them across changes.
// WINDOW_INDEX counts the order's windows from 0 in key order. The picture
// is WIDTH x HEIGHT pixels (800 x 600), STYLE 0 canvas, 1 list cell, 2
// printout (0), DIMENSIONS 0 none, 1 screen, 2 printout distances (1). The
// margin is the caller's for that style: 50, 6 or 40 pixels. OUT_FILE ending
// in ".png" is written as PNG (uncompressed deflate), anything else as a
// 24-bit BMP.
#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "connection.h"
#include "heap.h"
#include "msgbuf.h"
#include "rysuj_win.h"
#include "scoped_win.h"
#include "zamowienia.h"

namespace {

// Rows of 24-bit pixels, top row first, as read from a 32-bit DIB section.
struct Obraz {
    int w, h;
    std::vector<uint8_t> rgb;  // w * h * 3, red first
};

void Zapisz32(std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 3; i >= 0; i--) v.push_back((uint8_t)(x >> (8 * i)));
}

uint32_t Crc(const uint8_t* p, size_t n) {
    static uint32_t tab[256];
    if (!tab[1]) {
        for (uint32_t i = 0; i < 256; i++) {
            uint32_t c = i;
            for (int k = 0; k < 8; k++) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            tab[i] = c;
        }
    }
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; i++) c = tab[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void Kawalek(std::vector<uint8_t>& png, const char* typ, const std::vector<uint8_t>& dane) {
    Zapisz32(png, (uint32_t)dane.size());
    std::vector<uint8_t> t(typ, typ + 4);
    t.insert(t.end(), dane.begin(), dane.end());
    png.insert(png.end(), t.begin(), t.end());
    Zapisz32(png, Crc(t.data(), t.size()));
}

// PNG without a compressor: the image data is a zlib stream of stored
// deflate blocks, which every reader accepts.
bool ZapiszPng(const Obraz& o, FILE* f) {
    std::vector<uint8_t> surowe;
    for (int y = 0; y < o.h; y++) {
        surowe.push_back(0);  // no filter
        surowe.insert(surowe.end(), o.rgb.begin() + (size_t)y * o.w * 3, o.rgb.begin() + (size_t)(y + 1) * o.w * 3);
    }
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t poz = 0;
    do {
        size_t n = surowe.size() - poz < 65535 ? surowe.size() - poz : 65535;
        z.push_back(poz + n == surowe.size() ? 1 : 0);
        z.push_back((uint8_t)n);
        z.push_back((uint8_t)(n >> 8));
        z.push_back((uint8_t)~n);
        z.push_back((uint8_t)(~n >> 8));
        z.insert(z.end(), surowe.begin() + poz, surowe.begin() + poz + n);
        poz += n;
    } while (poz < surowe.size());
    uint32_t a = 1, b = 0;
    for (uint8_t c : surowe) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    Zapisz32(z, (b << 16) | a);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> ihdr;
    Zapisz32(ihdr, (uint32_t)o.w);
    Zapisz32(ihdr, (uint32_t)o.h);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    Kawalek(png, "IHDR", ihdr);
    Kawalek(png, "IDAT", z);
    Kawalek(png, "IEND", {});
    return fwrite(png.data(), 1, png.size(), f) == png.size();
}

bool ZapiszBmp(const Obraz& o, FILE* f) {
    const uint32_t wiersz = ((uint32_t)o.w * 3 + 3) & ~3u;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + wiersz * (uint32_t)o.h;
    ih.biSize = sizeof ih;
    ih.biWidth = o.w;
    ih.biHeight = o.h;  // bottom row first
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    if (fwrite(&fh, sizeof fh, 1, f) != 1 || fwrite(&ih, sizeof ih, 1, f) != 1) return false;
    std::vector<uint8_t> w(wiersz, 0);
    for (int y = o.h - 1; y >= 0; y--) {
        for (int x = 0; x < o.w; x++) {
            const uint8_t* p = &o.rgb[((size_t)y * o.w + x) * 3];
            w[x * 3] = p[2];
            w[x * 3 + 1] = p[1];
            w[x * 3 + 2] = p[0];
        }
        if (fwrite(w.data(), 1, w.size(), f) != w.size()) return false;
    }
    return true;
}

int Blad(const char* tekst) {
    fprintf(stderr, "kelvaro-render: %s\n", tekst);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 9) {
        fprintf(stderr,
                "usage: kelvaro-render DATABASE ORDER_KEY WINDOW_INDEX OUT_FILE [WIDTH HEIGHT STYLE DIMENSIONS]\n"
                "draws one window of a stored order into a BMP (or .png) picture;\n"
                "WINDOW_INDEX from 0, STYLE 0 canvas / 1 list cell / 2 printout,\n"
                "DIMENSIONS 0 none / 1 screen / 2 printout (default 800 600 0 1)\n");
        return 2;
    }
    const int64_t klucz = _strtoi64(argv[2], nullptr, 10);
    const int indeks = atoi(argv[3]);
    const char* plik = argv[4];
    int w = 800, h = 600, styl = kStylKanwa, wym = kWymEkran;
    if (argc == 9) {
        w = atoi(argv[5]);
        h = atoi(argv[6]);
        styl = atoi(argv[7]);
        wym = atoi(argv[8]);
    }
    if (w < 1 || h < 1 || w > 20000 || h > 20000 || styl < 0 || styl > 2 || wym < 0 || wym > 2)
        return Blad("size 1-20000, style 0-2, dimensions 0-2");

    char msg[KV_MSG_LEN] = "";
    KvHeapCreate();
    if (!DbOpen(argv[1], msg)) return Blad(msg);
    strZamRob zam;
    memset(&zam, 0, sizeof zam);
    int ok = WczytajZam(klucz, &zam, msg);
    DbClose();
    if (!ok) return Blad(msg);
    if (indeks < 0 || indeks >= zam.zam.liczbaOkien) {
        fprintf(stderr, "kelvaro-render: the order has %d windows\n", (int)zam.zam.liczbaOkien);
        ZwolnijIZerujZam(&zam);
        return 1;
    }

    DrawSet ds;
    if (!CreateDrawSet(GetModuleHandleA(nullptr), &ds)) {
        ZwolnijIZerujZam(&zam);
        return Blad("cannot create the drawing resources");
    }
    Obraz o = {w, h, std::vector<uint8_t>((size_t)w * h * 3)};
    {
        MemoryDC dc(nullptr, w, h);
        if (!dc.ok()) {
            DestroyDrawSet(&ds);
            ZwolnijIZerujZam(&zam);
            return Blad("cannot create the bitmap");
        }
        PatBlt(dc, 0, 0, w, h, WHITENESS);
        const RECT cel = {0, 0, w, h};
        const int margines = styl == kStylKanwa ? 50 : styl == kStylKomorka ? 6 : 40;
        ok = RysujOknoWProst(dc, &zam.zam.okna[indeks], &cel, margines, &ds, styl, wym, msg);
        GdiFlush();
        const DWORD* px = dc.bits();
        for (size_t i = 0; i < (size_t)w * h; i++) {
            o.rgb[i * 3] = (uint8_t)(px[i] >> 16);
            o.rgb[i * 3 + 1] = (uint8_t)(px[i] >> 8);
            o.rgb[i * 3 + 2] = (uint8_t)px[i];
        }
    }
    DestroyDrawSet(&ds);
    ZwolnijIZerujZam(&zam);
    if (!ok) return Blad(msg);

    FILE* f = fopen(plik, "wb");
    if (!f) return Blad("cannot open the output file");
    size_t n = strlen(plik);
    bool png = n > 4 && _stricmp(plik + n - 4, ".png") == 0;
    bool zapisany = png ? ZapiszPng(o, f) : ZapiszBmp(o, f);
    if (fclose(f) != 0) zapisany = false;
    if (!zapisany) return Blad("cannot write the output file");
    return 0;
}
