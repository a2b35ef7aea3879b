#include "tests/native/sample_orders.h"

#include <stdio.h>
#include <string.h>

#include "db/accessories.h"
#include "db/orders.h"
#include "db/tables.h"
#include "model/operations.h"
#include "model/window.h"
#include "util/heap.h"

void TenOpWindow(strOkno* o, int64_t cena, int32_t ilosc) {
    memset(o, 0, sizeof *o);
    o->status = 4;
    o->iProfSch = 0;
    strcpy(o->nazProfil, "Norvel 70");
    strcpy(o->nazOkucie, "Tilvo NT");
    strcpy(o->nazKolor, "White");
    strcpy(o->nazListwa, "Round");
    strcpy(o->nazSzpros, "Georgian 20");
    o->sGrubProf = strGrubProf{70, 80, 90, 60};
    o->grubSzpros = 20;
    o->ilOkien = ilosc;
    o->cenaZReki = cena;
    o->sWspUw = strWspUw{130, 140, 150, 160, 110, 600, 250, 900};
    strcpy(o->uwagi, "Fitted from outside");

    const uniOperRys ops[10] = {
        OpFrame(1500, 1400),
        OpMullion(false, 750, false, 0, 0),
        OpMullion(false, 700, true, 0, 1),
        OpFilling(0, "Float 4/16/4", 0, 0, 1, 2),
        OpFilling(0, "Float 4/16/4", 0, 2, 1, 0),
        OpSash(3, 1, 1, 0, 0, 0),
        OpFilling(0, "Ornament", 5, 5, 5, 5),
        OpMuntin(1100, false, 5, 5, 6),
        OpMuntin(360, true, 0, 1, 3),
        OpMuntin(1000, true, 0, 1, 4),
    };
    for (const uniOperRys& op : ops) AddDrawOp(&o->oper, &o->liczbaOper, &op, nullptr);
}

int64_t SaveTestOrder(int32_t okien, int32_t dodatkow, int32_t status, char* msg) {
    strZmienne zm;
    strUstUzytk ust;
    if (!ReadVariables(&zm, msg) || !ReadUserSettings(&ust, msg)) return 0;
    strZamRob z;
    memset(&z, 0, sizeof z);
    RenumberOrder(&z, &zm, &ust);
    SetOrderDefaults(&z, &ust);
    snprintf(z.zam.nazwaNabyw, sizeof z.zam.nazwaNabyw, "Buyer \"%d\"", (int)(zm.idZam + 1));
    int ok = 1;
    for (int32_t i = 0; ok && i < okien; i++) {
        strOkno o;
        TenOpWindow(&o, 100000 + 10000 * i, i + 1);
        ok = AddWindow(&z.zam.okna, &z.zam.liczbaOkien, &o, msg);
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
        ok = AppendAccessory(&z.zam.dodatki, &z.zam.liczbaDodat, &d, msg);
    }
    int64_t klucz = 0;
    if (ok && SaveNewOrder(&z, &zm, msg) && (status == 0 || ChangeOrderStatus(z.zam.kluczZam, status, msg)))
        klucz = z.zam.kluczZam;
    FreeOrder(&z);
    return klucz;
}
