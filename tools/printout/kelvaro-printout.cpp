// kelvaro-printout DATABASE ORDER_KEY OUT_FOLDER [--png WIDTH]
//
// Composes the printout of a stored order exactly as "Print" does, without
// showing anything, and writes its pages as page-1.emf, page-2.emf, ... into
// OUT_FOLDER (made when missing); with --png also page-N.png, each page
// played at WIDTH pixels. Prints the page count on standard output; on an
// error prints the printout's message on standard error and exits 1.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "connection.h"
#include "heap.h"
#include "msgbuf.h"
#include "scoped_win.h"
#include "tables.h"
#include "printset.h"
#include "wydruk.h"
#include "zamowienia.h"

namespace {

void Zapisz32(std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 3; i >= 0; i--) v.push_back((uint8_t)(x >> (8 * i)));
}

uint32_t Crc(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; i++) {
        c ^= p[i];
        for (int k = 0; k < 8; k++) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return c ^ 0xFFFFFFFFu;
}

void Kawalek(std::vector<uint8_t>& png, const char* typ, const std::vector<uint8_t>& dane) {
    Zapisz32(png, (uint32_t)dane.size());
    std::vector<uint8_t> t(typ, typ + 4);
    t.insert(t.end(), dane.begin(), dane.end());
    png.insert(png.end(), t.begin(), t.end());
    Zapisz32(png, Crc(t.data(), t.size()));
}

// 24-bit PNG of 0x00RRGGBB pixels, top row first. No compressor: the image
// data is a zlib stream of stored deflate blocks, which every reader takes.
bool ZapiszPng(const DWORD* px, int w, int h, const std::string& plik) {
    std::vector<uint8_t> surowe;
    surowe.reserve((size_t)h * (1 + 3 * (size_t)w));
    for (int y = 0; y < h; y++) {
        surowe.push_back(0);  // no filter
        for (int x = 0; x < w; x++) {
            const DWORD p = px[(size_t)y * w + x];
            surowe.insert(surowe.end(), {(uint8_t)(p >> 16), (uint8_t)(p >> 8), (uint8_t)p});
        }
    }
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t poz = 0;
    do {
        size_t n = surowe.size() - poz < 65535 ? surowe.size() - poz : 65535;
        z.push_back(poz + n == surowe.size() ? 1 : 0);
        z.insert(z.end(), {(uint8_t)n, (uint8_t)(n >> 8), (uint8_t)~n, (uint8_t)(~n >> 8)});
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
    Zapisz32(ihdr, (uint32_t)w);
    Zapisz32(ihdr, (uint32_t)h);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    Kawalek(png, "IHDR", ihdr);
    Kawalek(png, "IDAT", z);
    Kawalek(png, "IEND", {});
    FILE* f = fopen(plik.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(png.data(), 1, png.size(), f) == png.size();
    return fclose(f) == 0 && ok;
}

// The page played on white at `szer` pixels, as tall as its frame's shape.
bool StronaNaPng(HENHMETAFILE strona, int szer, const std::string& plik) {
    ENHMETAHEADER nag;
    if (!GetEnhMetaFileHeader(strona, sizeof nag, &nag)) return false;
    const LONG fw = nag.rclFrame.right - nag.rclFrame.left, fh = nag.rclFrame.bottom - nag.rclFrame.top;
    if (fw <= 0 || fh <= 0) return false;
    const int wys = (int)((int64_t)szer * fh / fw);
    MemoryDC dc(nullptr, szer, wys);
    if (!dc.ok()) return false;
    PatBlt(dc, 0, 0, szer, wys, WHITENESS);
    const RECT cel = {0, 0, szer, wys};
    PlayEnhMetaFile(dc, strona, &cel);
    GdiFlush();
    return ZapiszPng(dc.bits(), szer, wys, plik);
}

int Blad(const char* tekst) {
    fprintf(stderr, "%s\n", tekst);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    int szerPng = 0;
    if (argc == 6 && strcmp(argv[4], "--png") == 0) {
        char* koniec = nullptr;
        long w = strtol(argv[5], &koniec, 10);
        if (!*argv[5] || *koniec || w < 16 || w > 10000) return Blad("The width of --png is 16 to 10000 pixels");
        szerPng = (int)w;
    } else if (argc != 4) {
        return Blad("usage: kelvaro-printout DATABASE ORDER_KEY OUT_FOLDER [--png WIDTH]");
    }
    char* koniec = nullptr;
    const long long klucz = strtoll(argv[2], &koniec, 10);
    if (!*argv[2] || *koniec) return Blad("The order key is not a number");
    const std::string folder = argv[3];
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return Blad("The output folder cannot be made");

    char msg[KV_MSG_LEN] = "";
    if (!KvHeapCreate()) return Blad("Error of creating HEAP");
    strZamRob zam;
    memset(&zam, 0, sizeof zam);
    strUstUzytk ust;
    memset(&ust, 0, sizeof ust);
    if (!DbOpen(argv[1], msg)) return Blad(msg);
    int ok = ReadUstUzytk(&ust, msg) && WczytajZam(klucz, &zam, msg);
    DbClose();
    if (!ok) return Blad(msg);

    DrawSet ekran, druk;
    if (!CreateDrawSet(GetModuleHandleA(nullptr), &ekran)) return Blad("Error of creating the drawing resources");
    MakePrintDrawSet(&ekran, &druk);
    strStronyWydruku s;
    ok = ZlozWydrukZam(&zam, &druk, &ust, &s, msg);
    ReleasePrintDrawSet(&druk);
    DestroyDrawSet(&ekran);
    ZwolnijIZerujZam(&zam);
    if (!ok) return Blad(msg);

    for (int32_t i = 0; ok && i < s.liczba; i++) {
        const std::string nazwa = folder + "\\page-" + std::to_string(i + 1);
        HENHMETAFILE kopia = CopyEnhMetaFileA(s.strony[i], (nazwa + ".emf").c_str());
        if (!kopia) {
            KvMsg(msg, "The page %d cannot be written to %s.emf", (int)(i + 1), nazwa.c_str());
            ok = 0;
            break;
        }
        DeleteEnhMetaFile(kopia);
        if (szerPng && !StronaNaPng(s.strony[i], szerPng, nazwa + ".png")) {
            KvMsg(msg, "The page %d cannot be written to %s.png", (int)(i + 1), nazwa.c_str());
            ok = 0;
        }
    }
    const int32_t liczba = s.liczba;
    ZwolnijStronyWydruku(&s);
    if (!ok) return Blad(msg);
    // A bare number and a newline, the same for a script on any system.
    _setmode(_fileno(stdout), _O_BINARY);
    printf("%d\n", (int)liczba);
    return 0;
}
