// Handing the composed pages to the print library's modal preview, and the
// program's "Print" seam.
#include <stdio.h>
#include <string.h>

#include "db/tables.h"
#include "pagora/pagora.h"
#include "printout/printout.h"
#include "util/heap.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"

void PreviewPrintoutPages(HWND owner, PrintoutPages* pages, const char* title) {
    strZadDruk zad;
    PagoraInitializePagoraprint(&zad);
    zad.wlasciciel = owner;
    zad.formatStr = 0;
    zad.liczbaStr = pages->itemCount;
    zad.biezStr = 0;
    snprintf(zad.nazwa, sizeof zad.nazwa, "%s", title);
    zad.strony = pages->pageFiles;
    zad.flagi = PAGORA_JOB_OWNS_PAGES | PAGORA_REPORT_ERROR;
    if (PagoraPrint(owner, &zad, PAGORA_MODE_MODAL, 0) < 0) {
        // A preview that could not open has said why, and never took the
        // pages over.
        FreePrintoutPages(pages);
        return;
    }
    // The metafiles belonged to the preview, which deleted them as it
    // closed; only the array is ours.
    KvFree(pages->pageFiles);
    pages->pageFiles = nullptr;
    pages->itemCount = 0;
}

int PreviewOrderPrintout(HWND owner, strZamRob* z, const DrawSet* ds, const strUstUzytk* ust, char* msg) {
    PrintoutPages s;
    if (!ComposeOrderPrintout(z, ds, ust, &s, msg)) return 0;
    char naglowek[96];
    OrderHeadingText(&z->zam, naglowek, sizeof naglowek);
    char title[128];
    snprintf(title, sizeof title, "Order %s", naglowek);
    PreviewPrintoutPages(owner, &s, title);
    return 1;
}

void PrintOrder(HWND owner, strZamRob* order, const DrawSet* printSet) {
    char msg[KV_MSG_LEN] = "";
    strUstUzytk ust;
    memset(&ust, 0, sizeof ust);
    if (!ReadUserSettings(&ust, msg) || !PreviewOrderPrintout(owner, order, printSet, &ust, msg)) KvShowError(owner, msg);
}
