// The demo orders. Every window is built element by element through the
// model's change check, as the designer would, so a rule the demo breaks
// stops the tool instead of shipping a window the program refuses to load.
#include "tools/mkdb/demo.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "db/accessories.h"
#include "db/connection.h"
#include "db/orders.h"
#include "db/registers.h"
#include "db/tables.h"
#include "model/operations.h"
#include "model/structure.h"
#include "model/window.h"
#include "util/heap.h"
#include "util/kvutil.h"
#include "util/msgbuf.h"

namespace {

// A window being designed: every element passes the change check first.
struct Projekt {
    strOkno o;
    bool ok = true;
    char msg[KV_MSG_LEN] = {};
    Projekt(const char* profil, int32_t typProfilu, const char* kolor, int32_t typKoloru, int64_t cena) {
        memset(&o, 0, sizeof o);
        o.status = 4;  // structure format 5, the designer's own
        snprintf(o.nazProfil, sizeof o.nazProfil, "%s", profil);
        o.iProfSch = typProfilu;
        snprintf(o.nazKolor, sizeof o.nazKolor, "%s", kolor);
        o.iKolor = typKoloru;
        snprintf(o.nazOkucie, sizeof o.nazOkucie, "Tilvo NT");
        snprintf(o.nazListwa, sizeof o.nazListwa, "Rounded bead");
        snprintf(o.nazSzpros, sizeof o.nazSzpros, "Duplex 26 mm");
        o.sGrubProf = {70, 78, 84, 64};  // frame, sash, fixed, false mullion, mm
        o.grubSzpros = 26;               // mm
        o.ilOkien = 1;
        o.cenaZReki = cena;  // hundredths of EUR
        o.sWspUw = {130, 140, 150, 150, 110, 600, 250, 400};
    }
    ~Projekt() { KvFree(o.oper); }
    Projekt& operator<<(const uniOperRys& op) {
        if (!ok) return *this;
        const int32_t format = StructureFormat(o.status);
        if (o.liczbaOper > 0 && !CheckChange(o.oper, o.liczbaOper, &op, -1, format, msg)) {
            ok = false;
            char m[KV_MSG_LEN];
            snprintf(m, sizeof m, "%s", msg);
            KvMsg(msg, "demo window \"%s\", element %d: %s", o.nazProfil, (int)o.liczbaOper, m);
            return *this;
        }
        ok = AddDrawOp(&o.oper, &o.liczbaOper, &op, msg) != 0;
        return *this;
    }
};

struct NewAccessory {
    const char* nazwa;
    const char* jm;
    int32_t ilWym;
    int64_t wymiar[3];  // ten-thousandths
    int32_t ilosc;
    int64_t cena;  // hundredths of EUR
};

struct Nabywca {
    const char* nazwa;
    const char* adres;
    const char* inf;
    const char* symbol;
    int32_t status;  // 0 new, 1-6 the user's
    int32_t rabat;   // whole percent
};

}  // namespace

// The windows of the demo, by kind.
static bool Okno(int rodzaj, Projekt& p) {
    switch (rodzaj) {
        case 0:  // one tilt-and-turn sash with a vertical muntin
            p << OpFrame(900, 1200) << OpSash(3, 1, 0, 0, 0, 0)
              << OpFilling(0, "4/16/4 Ug 1.1", 1, 1, 1, 1) << OpMuntin(450, false, 1, 1, 2);
            break;
        case 1:  // two sashes either side of a fixed mullion
            p << OpFrame(1500, 1400) << OpMullion(false, 750, false, 0, 0) << OpSash(3, 0, 0, 0, 1, 0)
              << OpSash(2, 1, 1, 0, 0, 0) << OpFilling(0, "4/16/4 Ug 1.1", 2, 2, 2, 2)
              << OpFilling(0, "4/16/4 Ug 1.1", 3, 3, 3, 3);
            break;
        case 2:  // balcony door pair under a transom, false mullion between the sashes
            p << OpFrame(1800, 2300) << OpMullion(false, 400, true, 0, 0)
              << OpFilling(1, "Acrylic 4 mm", 0, 0, 0, 1) << OpMullion(true, 900, false, 1, 0)
              << OpSash(3, 0, 0, 1, 3, 0) << OpSash(2, 1, 3, 1, 0, 0)
              << OpFilling(0, "4/16/4 safety glass", 4, 4, 4, 4)
              << OpFilling(0, "4/16/4 safety glass", 5, 5, 5, 5) << OpMuntin(1300, true, 4, 4, 6)
              << OpMuntin(1300, true, 5, 5, 7);
            break;
        case 3:  // fixed window with a cross of muntins
            p << OpFrame(600, 600) << OpFilling(0, "Ornament glass", 0, 0, 0, 0)
              << OpMuntin(300, false, 0, 0, 1) << OpMuntin(300, true, 0, 2, 1)
              << OpMuntin(300, true, 2, 0, 1);
            break;
        default:  // three fields: fixed, tilt-and-turn, fixed
            p << OpFrame(2400, 1500) << OpMullion(false, 800, false, 0, 0)
              << OpMullion(false, 1600, false, 0, 0) << OpFilling(0, "4/16/4 Ug 1.1", 0, 0, 1, 0)
              << OpSash(3, 1, 1, 0, 2, 0) << OpFilling(0, "4/16/4 Ug 1.1", 4, 4, 4, 4)
              << OpFilling(0, "4/16/4 Ug 1.1", 2, 0, 0, 0);
            break;
    }
    return p.ok;
}

int SaveDemoOrders(const char* path, char* msg) {
    static const Nabywca nabywcy[] = {
        {"Familie Berger", "Lindenstrasse 14\r\n80331 Muenchen", "Phone +49 89 1234567", "", 0, 0},
        {"Brakeveld Bouw B.V.", "Keizersgracht 221\r\n1016 DV Amsterdam", "Site manager: P. de Vries",
         "SITE-7", 1, 5},
        {"Marie Lefebvre", "12 rue des Lilas\r\n69003 Lyon", "", "", 2, 0},
        {"Ristorante \"Da Vellino\"", "Via Roma 8\r\n20121 Milano", "Deliver before 10:00", "RDM", 3, 3},
        {"O'Kelvane Builders Ltd.", "4 Harbour Road\r\nCork", "Invoice to head office", "OSB-22", 4, 8},
        {"Katarzyna Zielinska", "ul. Polna 5\r\n00-625 Warszawa", "", "", 5, 0},
    };
    static const NewAccessory dodatki[] = {
        {"Window sill PVC white", "m", 1, {12500, 0, 0}, 3, 1890},
        {"Handle Korra Safelock", "", 0, {0, 0, 0}, 4, 2450},
        {"Roller blind", "m2", 2, {9000, 12000, 0}, 2, 8900},
        {"Mosquito net", "m2", 2, {8500, 11500, 0}, 2, 3500},
        {"Insulation foam", "m3", 3, {100000, 1000, 500}, 1, 1290},
    };
    // Window kinds, prices in hundredths of EUR, and accessories per order;
    // the builder's order is large enough for a printout of several pages.
    static const int okna[][7] = {{0, 1, -1, -1, -1, -1, -1},  {2, 4, 1, 3, -1, -1, -1},
                                  {1, -1, -1, -1, -1, -1, -1}, {4, 3, 3, -1, -1, -1, -1},
                                  {2, 2, 0, 1, 4, 3, 0},       {0, 3, -1, -1, -1, -1, -1}};
    static const int liczbyDodat[] = {0, 1, 2, 3, 3, 1};
    static const int64_t ceny[] = {38900, 61250, 142000, 12900, 98500};

    if (!DbOpen(path, msg)) return -1;
    strZmienne zm{};
    strUstUzytk ust{};
    if (!ReadVariables(&zm, msg) || !ReadUserSettings(&ust, msg)) {
        DbClose();
        return -1;
    }
    int zapisane = 0;
    for (int n = 0; n < (int)(sizeof nabywcy / sizeof nabywcy[0]); n++) {
        const Nabywca& b = nabywcy[n];
        strZamRob z;
        memset(&z, 0, sizeof z);
        RenumberOrder(&z, &zm, &ust);
        SetOrderDefaults(&z, &ust);
        // Older orders further along: the first was taken six weeks ago.
        const int64_t dni = -7 * (int64_t)(6 - n);
        DodajDniDoDataNap(z.zam.dataZam, dni);
        DodajDniDoDataNap(z.zam.dataReal, dni);
        z.zam.status = b.status;
        z.zam.sWycenZamParam.rabat = b.rabat;
        snprintf(z.zam.nazwaNabyw, sizeof z.zam.nazwaNabyw, "%s", b.nazwa);
        snprintf(z.zam.adresNabyw, sizeof z.zam.adresNabyw, "%s", b.adres);
        snprintf(z.zam.infDodatNabyw, sizeof z.zam.infDodatNabyw, "%s", b.inf);
        snprintf(z.zam.dodOznaczZam, sizeof z.zam.dodOznaczZam, "%s", b.symbol);
        if (n == 1) z.zam.sWycenZamParam.flagi |= 4;  // disassembly by size as well
        if (n == 4)
            snprintf(z.zam.uwagi, sizeof z.zam.uwagi, "%s",
                     "Access to the site through the gate on Harbour Road.\r\n"
                     "Old windows to be taken away; skip on site from Monday.");

        bool ok = true;
        for (int i = 0; ok && i < 7 && okna[n][i] >= 0; i++) {
            // The designer reads the registers as it starts, once per window.
            WindowRegisters rej{};
            if (!LoadWindowRegisters(&rej, msg)) {
                ok = false;
                break;
            }
            const int rodzaj = okna[n][i];
            Projekt p(rodzaj == 2 ? "Arvento Classic 82" : "Norvel Line 70", 0,
                      n % 2 ? "Golden oak" : "White", n % 2 ? 3 : 0, ceny[rodzaj]);
            p.o.ilOkien = 1 + (i + n) % 3;
            ok = Okno(rodzaj, p) && AddWindow(&z.zam.okna, &z.zam.liczbaOkien, &p.o, p.msg) &&
                 SaveWindowRegisters(&p.o, &rej, msg);
            if (!ok && p.msg[0]) KvMsg(msg, "%s", p.msg);
            FreeWindowRegisters(&rej);
        }
        for (int i = 0; ok && i < liczbyDodat[n]; i++) {
            const NewAccessory& d = dodatki[(n + i) % 5];
            strDodatZam r{};
            r.iKolej = z.zam.liczbaDodat;
            snprintf(r.nazwa, sizeof r.nazwa, "%s", d.nazwa);
            snprintf(r.jm, sizeof r.jm, "%s", d.jm);
            r.ilWym = d.ilWym;
            memcpy(r.wymiar, d.wymiar, sizeof r.wymiar);
            r.ilosc = d.ilosc;
            r.cenaZReki = d.cena;
            strZstDodat* rd = nullptr;
            int nd = CountReadAccessoryRegister(&rd, msg);
            ok = nd >= 0 && AppendAccessory(&z.zam.dodatki, &z.zam.liczbaDodat, &r, msg) &&
                 SaveAccessoryRegister(&r, rd, nd, msg);
            KvFree(rd);
        }
        ok = ok && SaveNewOrder(&z, &zm, msg);
        FreeAndZeroOrder(&z);
        if (!ok) {
            DbClose();
            return -1;
        }
        zapisane++;
    }
    DbClose();
    return zapisane;
}

// ---- Copies for the benchmarks ----------------------------------------------------

namespace {

int CollectKey(int64_t key, void* ctx, char*) {
    ((std::vector<int64_t>*)ctx)->push_back(key);
    return kDbWalkNext;
}

// The date `daysBack` days before today as the database keeps it.
void DateBack(int64_t daysBack, char* date) {
    DajAktualData(date);
    DodajDniDoDataNap(date, -daysBack);
}

int CopyOrders(int64_t total, char* msg) {
    std::vector<int64_t> keys;
    if (!DbWalkOrderKeys(0, CollectKey, &keys, msg)) return -1;
    if (keys.empty()) {
        KvMsg(msg, "The database holds no order to copy");
        return -1;
    }
    std::vector<strZamRob> demo(keys.size());
    for (size_t i = 0; i < keys.size(); i++)
        if (!LoadOrder(keys[i], &demo[i], msg)) return -1;
    // The copies need no journal and no lock taken anew for each order: a
    // tool that fails leaves a file nobody uses.
    DbExec("PRAGMA synchronous = OFF; PRAGMA journal_mode = OFF; PRAGMA locking_mode = EXCLUSIVE;", nullptr);
    const int64_t have = (int64_t)keys.size();
    const int64_t days = 3 * 365;
    strZmienne zm{};
    int added = 0;
    int32_t year = 0, number = 0;
    for (int64_t i = have; i < total; i++) {
        strZamRob& z = demo[(size_t)(i % have)];
        DateBack(days - (i - have) * days / (total - have), z.zam.dataZam);
        memcpy(z.zam.dataReal, z.zam.dataZam, sizeof z.zam.dataReal);
        DodajDniDoDataNap(z.zam.dataReal, 21);
        const int32_t y = atoiNull(z.zam.dataZam);
        number = y == year ? number + 1 : 1;
        year = y;
        z.zam.idZam = number;
        z.zam.rok = year;
        if (!SaveNewOrder(&z, &zm, msg)) break;
        added++;
    }
    for (strZamRob& z : demo) FreeOrder(&z);
    if (added < total - have) return -1;
    zm.idZam = number;
    zm.rok = year;
    return UpdateVariables(&zm, msg) ? added : -1;
}

}  // namespace

int CopyDemoOrders(const char* path, int64_t total, char* msg) {
    if (!DbOpen(path, msg)) return -1;
    const int added = CopyOrders(total, msg);
    DbClose();
    return added;
}
