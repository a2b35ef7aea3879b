// Handing the composed pages to the print library's modal preview, the
// program's "Print" seam, and the print copy of the drawing set.
#include <stdio.h>
#include <string.h>

#include "heap.h"
#include "msgbox.h"
#include "msgbuf.h"
#include "pagora.h"
#include "tables.h"
#include "wydruk.h"

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

bool ZestawDruku(const DrawSet* ekran, DrawSet* druk) {
    *druk = *ekran;
    LOGBRUSH lb = {BS_SOLID, RGB(0, 0, 0), 0};
    HPEN czarne = CreatePen(PS_SOLID, 0, RGB(0, 0, 0));
    HPEN kreski = ExtCreatePen(PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT, 1, &lb, 0, nullptr);
    if (!czarne || !kreski) {
        if (czarne) DeleteObject(czarne);
        if (kreski) DeleteObject(kreski);
        return false;
    }
    druk->penNavy = czarne;
    druk->penGreen = czarne;
    druk->penDotted = kreski;
    druk->penRed = (HPEN)GetStockObject(BLACK_PEN);
    druk->brushRed = (HBRUSH)GetStockObject(BLACK_BRUSH);
    druk->brushGlass = (HBRUSH)GetStockObject(WHITE_BRUSH);
    druk->brushWhite = (HBRUSH)GetStockObject(WHITE_BRUSH);
    return true;
}

void ZwolnijZestawDruku(DrawSet* druk) {
    if (druk->penNavy) DeleteObject(druk->penNavy);
    if (druk->penDotted) DeleteObject(druk->penDotted);
    druk->penNavy = druk->penGreen = druk->penDotted = nullptr;
}
