#include "zam_testowe.h"

#include <stdio.h>
#include <string.h>

#include "dodatki.h"
#include "heap.h"
#include "okno.h"
#include "oper.h"
#include "tables.h"
#include "zamowienia.h"

namespace {

uniOperRys Op(uint32_t typ) {
    uniOperRys op;
    memset(&op, 0, sizeof op);
    op.typ = typ;
    return op;
}

uniOperRys Slupek(int32_t poz, bool poziomy, int32_t pocz, int32_t kon) {
    uniOperRys op = Op(kOperSlupekStaly);
    op.slupek.poz = poz;
    op.slupek.poziomy = poziomy;
    op.slupek.ogrPocz = pocz;
    op.slupek.ogrKon = kon;
    return op;
}

uniOperRys Wypeln(const char* nazwa, int32_t l, int32_t g, int32_t p, int32_t d) {
    uniOperRys op = Op(kOperWypeln);
    strcpy(op.wypeln.nazwa, nazwa);
    op.wypeln.ogr[0] = l;
    op.wypeln.ogr[1] = g;
    op.wypeln.ogr[2] = p;
    op.wypeln.ogr[3] = d;
    return op;
}

uniOperRys Szpros(int32_t poz, bool poziomy, int32_t pocz, int32_t kon, int32_t wypeln) {
    uniOperRys op = Op(kOperSzpros);
    op.szpros.poz = poz;
    op.szpros.poziomy = poziomy;
    op.szpros.ogrPocz = pocz;
    op.szpros.ogrKon = kon;
    op.szpros.wypeln = wypeln;
    return op;
}

}  // namespace

void OknoDziesieciu(strOkno* o, int64_t cena, int32_t ilosc) {
    memset(o, 0, sizeof *o);
    o->status = 4;
    o->iProfSch = 0;
    strcpy(o->nazProfil, "Veka 70");
    strcpy(o->nazOkucie, "Roto NT");
    strcpy(o->nazKolor, "White");
    strcpy(o->nazListwa, "Round");
    strcpy(o->nazSzpros, "Georgian 20");
    o->sGrubProf = strGrubProf{70, 80, 90, 60};
    o->grubSzpros = 20;
    o->ilOkien = ilosc;
    o->cenaZReki = cena;
    o->sWspUw = strWspUw{130, 140, 150, 160, 110, 600, 250, 900};
    strcpy(o->uwagi, "Fitted from outside");

    uniOperRys ops[10];
    ops[0] = Op(kOperRama);
    ops[0].rama.x1 = 1500;
    ops[0].rama.y1 = 1400;
    ops[1] = Slupek(750, false, 0, 0);
    ops[2] = Slupek(700, true, 0, 1);
    ops[3] = Wypeln("Float 4/16/4", 0, 0, 1, 2);
    ops[4] = Wypeln("Float 4/16/4", 0, 2, 1, 0);
    ops[5] = Op(kOperSkrzydlo);
    ops[5].skrzydlo.rodzOtw = 3;
    ops[5].skrzydlo.stronaOtw = 1;
    ops[5].skrzydlo.ogr[0] = 1;
    ops[6] = Wypeln("Ornament", 5, 5, 5, 5);
    ops[7] = Szpros(1100, false, 5, 5, 6);
    ops[8] = Szpros(360, true, 0, 1, 3);
    ops[9] = Szpros(1000, true, 0, 1, 4);
    for (const uniOperRys& op : ops) DodajOperRys(&o->oper, &o->liczbaOper, &op, nullptr);
}

int64_t ZapiszZamTestowe(int32_t okien, int32_t dodatkow, int32_t status, char* msg) {
    strZmienne zm;
    strUstUzytk ust;
    if (!ReadZmienne(&zm, msg) || !ReadUstUzytk(&ust, msg)) return 0;
    strZamRob z;
    memset(&z, 0, sizeof z);
    PrzenumerujZam(&z, &zm, &ust);
    DomyslneZam(&z, &ust);
    snprintf(z.zam.nazwaNabyw, sizeof z.zam.nazwaNabyw, "Buyer \"%d\"", (int)(zm.idZam + 1));
    int ok = 1;
    for (int32_t i = 0; ok && i < okien; i++) {
        strOkno o;
        OknoDziesieciu(&o, 100000 + 10000 * i, i + 1);
        ok = DodajOkno(&z.zam.okna, &z.zam.liczbaOkien, &o, msg);
        KvFree(o.oper);
    }
    for (int32_t i = 0; ok && i < dodatkow; i++) {
        strDodatZam d;
        memset(&d, 0, sizeof d);
        snprintf(d.nazwa, sizeof d.nazwa, "Sill %d", (int)i);
        d.iKolej = i;
        d.ilWym = 1;
        strcpy(d.jm, "m");
        d.wymiar[0] = 15000;  // 1,5 m
        d.ilosc = 2;
        d.cenaZReki = 2550;
        ok = DodajDodatek(&z.zam.dodatki, &z.zam.liczbaDodat, &d, msg);
    }
    int64_t klucz = 0;
    if (ok && ZapiszNoweZam(&z, &zm, msg) && (status == 0 || ZmienStatusZam(z.zam.kluczZam, status, msg)))
        klucz = z.zam.kluczZam;
    ZwolnijZam(&z);
    return klucz;
}
