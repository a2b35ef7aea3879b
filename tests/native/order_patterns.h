// Orders built for the persistence tests and benchmarks: windows that pass
// the structure build, accessories with 0-3 dimensions.
#ifndef KV_TESTS_NATIVE_ORDER_PATTERNS_H
#define KV_TESTS_NATIVE_ORDER_PATTERNS_H

#include <stdio.h>
#include <string.h>

#include "db/accessories.h"
#include "db/orders.h"
#include "tests/native/sample_windows.h"

// A sash with a filling and a muntin beside a fixed mullion (6 operations).
inline void WindowWithSash(TestWindow& o) {
    o << DrawFrame(1000, 800) << DrawMullion(false, 500, false, 0, 0) << DrawMullion(true, 401, true, 0, 1)
      << SashElement(2, 1, 0, 2, 1, 0) << DrawFilling(0, "Glass 4/16/4", 3) << DrawMuntin(250, false, 3, 3, 4);
}

// A frame divided by `slupki` fixed mullions, a filling in every field, and a
// muntin on the first filling when `szpros`: 2 * slupki + 2 (+1) operations.
inline void WindowWithPanes(TestWindow& o, int slupki, bool szpros) {
    const int32_t w = 400 * (slupki + 1);
    o << DrawFrame(w, 1200);
    for (int i = 1; i <= slupki; i++) o << DrawMullion(false, 400 * i, false, 0, 0);
    for (int i = 0; i <= slupki; i++)
        o << DrawFilling(i % 2, i % 2 ? "Acrylic" : "Glass", i == 0 ? 0 : i, 0, i == slupki ? 0 : i + 1, 0);
    if (szpros) o << DrawMuntin(600, true, 0, 1, slupki + 1);
}

// Appends the window (a deep copy) with names and a price.
inline void AddTestWindow(strZamRob* z, TestWindow& o, const char* profil, int64_t cena) {
    snprintf(o.r.nazProfil, sizeof o.r.nazProfil, "%s", profil);
    snprintf(o.r.nazKolor, sizeof o.r.nazKolor, "White");
    snprintf(o.r.nazOkucie, sizeof o.r.nazOkucie, "Tilvo NT");
    o.r.cenaZReki = cena;  // hundredths
    AddWindow(&z->zam.okna, &z->zam.liczbaOkien, &o.r, nullptr);
}

// Appends an accessory with `ilWym` dimensions (ten-thousandths).
inline void AddTestAccessory(strZamRob* z, int32_t iKolej, const char* nazwa, int32_t ilWym) {
    strDodatZam d{};
    d.iKolej = iKolej;
    snprintf(d.nazwa, sizeof d.nazwa, "%s", nazwa);
    d.ilWym = ilWym;
    snprintf(d.jm, sizeof d.jm, "%s", ilWym ? "m" : "");
    for (int i = 0; i < ilWym; i++) d.wymiar[i] = 12500 + 1000 * i;
    d.ilosc = 2;
    d.cenaZReki = 4550 + iKolej;  // hundredths
    AppendAccessory(&z->zam.dodatki, &z->zam.liczbaDodat, &d, nullptr);
}

// An order with its columns filled; number `nr` of year 2010.
inline void InitTestOrder(strZamRob* z, int32_t nr, const char* nabywca) {
    memset(z, 0, sizeof *z);
    z->zam.idZam = nr;
    z->zam.rok = 2010;
    snprintf(z->zam.dataZam, sizeof z->zam.dataZam, "2010-03-01");
    snprintf(z->zam.dataReal, sizeof z->zam.dataReal, "2010-03-15");
    snprintf(z->zam.nazwaNabyw, sizeof z->zam.nazwaNabyw, "%s", nabywca);
    snprintf(z->zam.uwagi, sizeof z->zam.uwagi, "Ground floor\r\nentrance from the yard");
    snprintf(z->zam.sDaneUzytk.skrot, sizeof z->zam.sDaneUzytk.skrot, "QW");
    z->zam.idWalZam = 12;
    z->zam.sWycenZamParam.vatOkna = 2300;
}

#endif  // KV_TESTS_NATIVE_ORDER_PATTERNS_H
