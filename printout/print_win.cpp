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

int DrukujZam(HWND owner, strZamRob* z, const DrawSet* ds, const strUstUzytk* ust, char* msg) {
    strStronyWydruku s;
    if (!ZlozWydrukZam(z, ds, ust, &s, msg)) return 0;
    char naglowek[96];
    TekstNaglowkaZam(&z->zam, naglowek, sizeof naglowek);
    strZadDruk zad;
    PagoraInitializePagoraprint(&zad);
    zad.wlasciciel = owner;
    zad.formatStr = 0;
    zad.liczbaStr = s.liczba;
    zad.biezStr = 0;
    snprintf(zad.nazwa, sizeof zad.nazwa, "Order %s", naglowek);
    zad.strony = s.strony;
    zad.flagi = PAGORA_STRONY_ZADANIA | PAGORA_ZGLOS_BLAD;
    if (PagoraPrint(owner, &zad, PAGORA_TRYB_MODALNY, 0) < 0) {
        // A preview that could not open has said why, and never took the
        // pages over.
        ZwolnijStronyWydruku(&s);
        return 1;
    }
    // The metafiles belonged to the preview, which deleted them as it
    // closed; only the array is ours.
    KvFree(s.strony);
    return 1;
}

void PrintOrder(HWND owner, strZamRob* order, const DrawSet* printSet) {
    char msg[KV_MSG_LEN] = "";
    strUstUzytk ust;
    memset(&ust, 0, sizeof ust);
    if (!ReadUstUzytk(&ust, msg) || !DrukujZam(owner, order, printSet, &ust, msg)) KvShowError(owner, msg);
}
