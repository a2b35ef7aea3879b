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

#include "db/connection.h"
#include "db/orders.h"
#include "render/drawing_win.h"
#include "tools/common/png_write.h"
#include "util/heap.h"
#include "util/msgbuf.h"
#include "util/scoped_win.h"

namespace {

// Pixels 0x00RRGGBB, top row first, as read from a 32-bit DIB section.
struct PixelImage {
    int w, h;
    std::vector<DWORD> px;  // w * h
};

bool WriteBmp(const PixelImage& o, FILE* f) {
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
            const DWORD p = o.px[(size_t)y * o.w + x];
            w[x * 3] = (uint8_t)p;
            w[x * 3 + 1] = (uint8_t)(p >> 8);
            w[x * 3 + 2] = (uint8_t)(p >> 16);
        }
        if (fwrite(w.data(), 1, w.size(), f) != w.size()) return false;
    }
    return true;
}

int Fault(const char* tekst) {
    fprintf(stderr, "kelvaro-render: %s\n", tekst);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 9) {
        fprintf(
            stderr,
            "usage: kelvaro-render DATABASE ORDER_KEY WINDOW_INDEX OUT_FILE [WIDTH HEIGHT STYLE DIMENSIONS]\n"
            "draws one window of a stored order into a BMP (or .png) picture;\n"
            "WINDOW_INDEX from 0, STYLE 0 canvas / 1 list cell / 2 printout,\n"
            "DIMENSIONS 0 none / 1 screen / 2 printout (default 800 600 0 1)\n");
        return 2;
    }
    const int64_t klucz = _strtoi64(argv[2], nullptr, 10);
    const int indeks = atoi(argv[3]);
    const char* plik = argv[4];
    int w = 800, h = 600, styl = kStyleCanvas, wym = kDimensionsScreen;
    if (argc == 9) {
        w = atoi(argv[5]);
        h = atoi(argv[6]);
        styl = atoi(argv[7]);
        wym = atoi(argv[8]);
    }
    if (w < 1 || h < 1 || w > 20000 || h > 20000 || styl < 0 || styl > 2 || wym < 0 || wym > 2)
        return Fault("size 1-20000, style 0-2, dimensions 0-2");

    char msg[KV_MSG_LEN] = "";
    KvHeapCreate();
    if (!DbOpen(argv[1], msg)) return Fault(msg);
    strZamRob zam;
    memset(&zam, 0, sizeof zam);
    int ok = LoadOrder(klucz, &zam, msg);
    DbClose();
    if (!ok) return Fault(msg);
    if (indeks < 0 || indeks >= zam.zam.liczbaOkien) {
        fprintf(stderr, "kelvaro-render: the order has %d windows\n", (int)zam.zam.liczbaOkien);
        FreeAndZeroOrder(&zam);
        return 1;
    }

    DrawSet ds;
    if (!CreateDrawSet(GetModuleHandleA(nullptr), &ds)) {
        FreeAndZeroOrder(&zam);
        return Fault("cannot create the drawing resources");
    }
    PixelImage o = {w, h, std::vector<DWORD>((size_t)w * h)};
    {
        MemoryDC dc(nullptr, w, h);
        if (!dc.ok()) {
            DestroyDrawSet(&ds);
            FreeAndZeroOrder(&zam);
            return Fault("cannot create the bitmap");
        }
        PatBlt(dc, 0, 0, w, h, WHITENESS);
        const RECT cel = {0, 0, w, h};
        const int margines = styl == kStyleCanvas ? 50 : styl == kStyleCell ? 6 : 40;
        ok = DrawWindowInRect(dc, &zam.zam.okna[indeks], &cel, margines, &ds, styl, wym, msg);
        GdiFlush();
        o.px.assign(dc.bits(), dc.bits() + (size_t)w * h);
    }
    DestroyDrawSet(&ds);
    FreeAndZeroOrder(&zam);
    if (!ok) return Fault(msg);

    FILE* f = fopen(plik, "wb");
    if (!f) return Fault("cannot open the output file");
    size_t n = strlen(plik);
    bool png = n > 4 && _stricmp(plik + n - 4, ".png") == 0;
    bool zapisany = png ? WritePng(o.px.data(), o.w, o.h, f) : WriteBmp(o, f);
    if (fclose(f) != 0) zapisany = false;
    if (!zapisany) return Fault("cannot write the output file");
    return 0;
}
