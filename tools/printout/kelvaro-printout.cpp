// kelvaro-printout DATABASE ORDER_KEY OUT_FOLDER [--png WIDTH] [--pdf]
//
// Composes the printout of a stored order exactly as "Print" does, without
// showing anything, and writes its pages as page-1.emf, page-2.emf, ... into
// OUT_FOLDER (made when missing); with --png also page-N.png, each page
// played at WIDTH pixels; with --pdf also order.pdf, written by the code of
// "Save as PDF...". Prints the page count on standard output; on an error
// prints the message on standard error and exits 1.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "db/connection.h"
#include "db/orders.h"
#include "db/tables.h"
#include "printout/pdf_win.h"
#include "printout/printout.h"
#include "render/drawset_win.h"
#include "tools/common/png_write.h"
#include "util/heap.h"
#include "util/msgbuf.h"
#include "util/scoped_win.h"

namespace {

// The page played on white at `szer` pixels, as tall as its frame's shape.
bool PageToPng(HENHMETAFILE strona, int szer, const std::string& plik) {
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
    FILE* f = fopen(plik.c_str(), "wb");
    if (!f) return false;
    bool ok = WritePng(dc.bits(), szer, wys, f);
    return fclose(f) == 0 && ok;
}

int Fault(const char* tekst) {
    fprintf(stderr, "%s\n", tekst);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    int szerPng = 0;
    bool pdf = false;
    if (argc < 4) return Fault("usage: kelvaro-printout DATABASE ORDER_KEY OUT_FOLDER [--png WIDTH] [--pdf]");
    for (int i = 4; i < argc; i++) {
        if (strcmp(argv[i], "--pdf") == 0) {
            pdf = true;
        } else if (strcmp(argv[i], "--png") == 0 && i + 1 < argc) {
            char* koniec = nullptr;
            long w = strtol(argv[++i], &koniec, 10);
            if (!*argv[i] || *koniec || w < 16 || w > 10000)
                return Fault("The width of --png is 16 to 10000 pixels");
            szerPng = (int)w;
        } else {
            return Fault("usage: kelvaro-printout DATABASE ORDER_KEY OUT_FOLDER [--png WIDTH] [--pdf]");
        }
    }
    char* koniec = nullptr;
    const long long klucz = strtoll(argv[2], &koniec, 10);
    if (!*argv[2] || *koniec) return Fault("The order key is not a number");
    const std::string folder = argv[3];
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return Fault("The output folder cannot be made");

    char msg[KV_MSG_LEN] = "";
    if (!KvHeapCreate()) return Fault("Error of creating HEAP");
    strZamRob zam;
    memset(&zam, 0, sizeof zam);
    strUstUzytk ust;
    memset(&ust, 0, sizeof ust);
    if (!DbOpen(argv[1], msg)) return Fault(msg);
    int ok = ReadUserSettings(&ust, msg) && LoadOrder(klucz, &zam, msg);
    DbClose();
    if (!ok) return Fault(msg);

    DrawSet ekran, druk;
    if (!CreateDrawSet(GetModuleHandleA(nullptr), &ekran))
        return Fault("Error of creating the drawing resources");
    if (!CreatePrintDrawSet(&ekran, &druk)) {
        DestroyDrawSet(&ekran);
        return Fault("Error of creating the drawing resources");
    }
    PrintoutPages s;
    ok = ComposeOrderPrintout(&zam, &druk, &ust, &s, msg);
    char naglowek[96];
    OrderHeadingText(&zam.zam, naglowek, sizeof naglowek);
    DestroyPrintDrawSet(&druk);
    DestroyDrawSet(&ekran);
    FreeAndZeroOrder(&zam);
    if (!ok) return Fault(msg);

    for (int32_t i = 0; ok && i < s.itemCount; i++) {
        const std::string nazwa = folder + "\\page-" + std::to_string(i + 1);
        HENHMETAFILE kopia = CopyEnhMetaFileA(s.pageFiles[i], (nazwa + ".emf").c_str());
        if (!kopia) {
            KvMsg(msg, "The page %d cannot be written to %s.emf", (int)(i + 1), nazwa.c_str());
            ok = 0;
            break;
        }
        DeleteEnhMetaFile(kopia);
        if (szerPng && !PageToPng(s.pageFiles[i], szerPng, nazwa + ".png")) {
            KvMsg(msg, "The page %d cannot be written to %s.png", (int)(i + 1), nazwa.c_str());
            ok = 0;
        }
    }
    if (ok && pdf) ok = SavePagesPdf(&s, naglowek, (folder + "\\order.pdf").c_str(), msg);
    const int32_t liczba = s.itemCount;
    FreePrintoutPages(&s);
    if (!ok) return Fault(msg);
    // A bare number and a newline, the same for a script on any system.
    _setmode(_fileno(stdout), _O_BINARY);
    printf("%d\n", (int)liczba);
    return 0;
}
