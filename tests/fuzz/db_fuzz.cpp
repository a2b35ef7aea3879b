// Fuzz target: orders loaded from a database damaged as the input says.
//
// A database with a few whole orders is made once. Each input is a list of
// damages (a table, a row, a column and a value of any storage class, or a
// deleted operation row) applied inside a savepoint; every order is then
// loaded and the savepoint rolled back. Besides "no crash, no sanitizer
// report": an order either loads whole (it copies, and equals its copy when
// all its operations are of known types) or is refused with a message and an
// empty record.
#include <sqlite3.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>

#include "db/accessories.h"
#include "db/connection.h"
#include "db/newdb.h"
#include "db/orders.h"
#include "model/comparison.h"
#include "model/window.h"
#include "tests/fuzz/fuzz_input.h"
#include "util/heap.h"
#include "util/msgbuf.h"

namespace {

struct TableColumns {
    const char* nazwa;
    const char* kolumny[20];
    int liczba;
};

const TableColumns kTabele[] = {
    {"T_Zam",
     {"idZam", "rok", "dodOznaczZam", "idWalZam", "dataZam", "dataReal", "nazwaNabyw", "adresNabyw",
      "infDodatNabyw", "waga", "uwagi", "status", "sDaneUzytk", "sWycenZamParam"},
     14},
    {"T_Okno",
     {"kluczZam", "iProfSch", "iOkucie", "iKolor", "iListwa", "iSzpros", "nazProfil", "nazOkucie", "nazKolor",
      "nazListwa", "nazSzpros", "sGrubProf", "grubSzpros", "ilOkien", "cenaZReki", "sWspUw", "uwZReki",
      "uwagi", "status"},
     19},
    {"T_OperRysDb", {"kluczOkno", "indeks", "uOperRysDb"}, 3},
    {"T_DodatZam", {"kluczZam", "iKolej", "nazwa", "ilWym", "jm", "wymiar", "ilosc", "cenaZReki"}, 8},
};

uniOperRys Op(uint32_t typ) {
    uniOperRys op;
    memset(&op, 0, sizeof op);
    op.typ = typ;
    return op;
}

char g_path[256];

void Sprzatnij() {
    DbClose();
    remove(g_path);
}

// Orders of windows with every kind of element.
bool Przygotuj(char* msg) {
    char* path = g_path;
    snprintf(path, sizeof g_path, "%s/kv-db-fuzz-%ld.db", getenv("TMPDIR") ? getenv("TMPDIR") : "/tmp",
             (long)getpid());
    remove(path);
    if (!DbCreateFile(path, 2026, msg) || !DbOpen(path, msg)) return false;
    atexit(Sprzatnij);  // SQLite refuses to write a file unlinked under it
    // Every input is rolled back: durability would only slow the runs down.
    if (!DbExec("PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY;", msg)) return false;
    strZmienne zm{0, 2026};
    for (int n = 0; n < 4; n++) {
        strZamRob z;
        memset(&z, 0, sizeof z);
        z.zam.idZam = n + 1;
        for (int w = 0; w <= n % 3; w++) {
            strOkno o;
            memset(&o, 0, sizeof o);
            o.status = 4;
            o.sGrubProf = {70, 78, 84, 64};
            o.grubSzpros = 26;
            uniOperRys r = Op(0);
            r.rama.x1 = 1200;
            r.rama.y1 = 1000;
            uniOperRys s = Op(1);
            s.slupek.poz = 600;
            uniOperRys k = Op(3);
            k.skrzydlo.rodzOtw = 3;
            k.skrzydlo.ogr[2] = 1;
            uniOperRys f1 = Op(4);
            strcpy(f1.wypeln.nazwa, "Glass");
            for (int i = 0; i < 4; i++) f1.wypeln.ogr[i] = 2;
            uniOperRys f2 = Op(4);
            f2.wypeln.ogr[0] = 1;
            uniOperRys m = Op(5);
            m.szpros.poz = 500;
            m.szpros.poziomy = 1;
            m.szpros.ogrPocz = 2;
            m.szpros.ogrKon = 2;
            m.szpros.wypeln = 3;
            const uniOperRys ops[] = {r, s, k, f1, f2, m};
            for (const uniOperRys& op : ops) AddDrawOp(&o.oper, &o.liczbaOper, &op, nullptr);
            AddWindow(&z.zam.okna, &z.zam.liczbaOkien, &o, nullptr);
            KvFree(o.oper);
        }
        for (int d = 0; d < n; d++) {
            strDodatZam a{};
            a.iKolej = d;
            strcpy(a.nazwa, "Sill");
            a.ilWym = d;
            a.wymiar[0] = 12500;
            AppendAccessory(&z.zam.dodatki, &z.zam.liczbaDodat, &a, nullptr);
        }
        int ok = SaveNewOrder(&z, &zm, msg);
        FreeOrder(&z);
        if (!ok) return false;
    }
    return true;
}

void Uszkodz(Wejscie& in) {
    const uint8_t rodzaj = in.U8();
    const TableColumns& t = kTabele[rodzaj % 4];
    const uint8_t wiersz = in.U8();
    std::string sql;
    if (rodzaj & 0x80) {
        sql = std::string("DELETE FROM ") + t.nazwa;
    } else {
        sql = std::string("UPDATE ") + t.nazwa + " SET " + t.kolumny[(rodzaj >> 2) % t.liczba] + " = ?1";
    }
    sql += std::string(" WHERE rowid = (SELECT rowid FROM ") + t.nazwa + " LIMIT 1 OFFSET ?2)";
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(DbHandle(), sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return;
    const uint8_t typ = in.U8();
    uint8_t bufor[256];
    const size_t dl = in.U8() % 200;
    for (size_t i = 0; i < dl; i++) bufor[i] = in.U8();
    if (!(rodzaj & 0x80)) {
        switch (typ % 4) {
            case 0: sqlite3_bind_null(st, 1); break;
            case 1: {
                int64_t v = 0;
                memcpy(&v, bufor, dl < 8 ? dl : 8);
                sqlite3_bind_int64(st, 1, v);
                break;
            }
            case 2: sqlite3_bind_text(st, 1, (const char*)bufor, (int)dl, SQLITE_TRANSIENT); break;
            default: sqlite3_bind_blob(st, 1, bufor, (int)dl, SQLITE_TRANSIENT); break;
        }
    }
    sqlite3_bind_int(st, 2, wiersz % 32);
    sqlite3_step(st);  // a refused damage (a duplicate key) is no damage
    sqlite3_finalize(st);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool gotowe = false;
    char msg[KV_MSG_LEN];
    if (!gotowe) {
        if (!Przygotuj(msg)) {
            fprintf(stderr, "db_fuzz: %s\n", msg);
            abort();
        }
        gotowe = true;
    }
    if (!DbExec("SAVEPOINT fuzz;", msg)) abort();
    Wejscie in{data, size};
    for (int i = 0; i < 8 && in.n; i++) Uszkodz(in);
    for (int64_t klucz = 1; klucz <= 4; klucz++) {
        strZamRob z;
        memset(&z, 0x6B, sizeof z);
        msg[0] = 0;
        if (LoadOrder(klucz, &z, msg)) {
            strZamRob kopia{};
            if (!CopyOrder(&kopia, &z, msg)) abort();
            bool znane = true;
            for (int32_t i = 0; i < z.zam.liczbaOkien; i++)
                for (int32_t j = 0; j < z.zam.okna[i].liczbaOper; j++)
                    znane = znane && z.zam.okna[i].oper[j].typ <= kOpMuntin;
            if (znane && !OrderUnchanged(&z, &kopia)) abort();
            FreeOrder(&kopia);
            FreeOrder(&z);
        } else {
            static const strZamRob pusty{};
            if (!msg[0] || memcmp(&pusty, &z, sizeof z) != 0) abort();
        }
    }
    if (!DbExec("ROLLBACK TO fuzz; RELEASE fuzz;", msg)) abort();
    return 0;
}
