// Filling the registers of used elements.
#include "db/registers.h"

#include <stdio.h>
#include <string.h>

#include "db/connection.h"
#include "db/tables.h"
#include "model/structure.h"
#include "util/heap.h"
#include "util/kvutil.h"
#include "util/msgbuf.h"

// Code page 1250: the user's names may hold Polish letters.
enum { kCharsetEe = 238 };

void KluczRejestru(const char* nazwa, char klucz[128]) {
    size_t n = strnlen(nazwa, 127);
    memcpy(klucz, nazwa, n);
    klucz[n] = 0;
    mojLtrim(klucz);
    mojPtrim(klucz);
    for (char* p = klucz; *p; p++) *p = (char)ToUpperStrKod((unsigned char)*p, kCharsetEe);
}

// The name as it will be stored: trimmed, within the 128-byte field.
static void Przytnij(const char* nazwa, char wynik[128]) {
    size_t n = strnlen(nazwa, 127);
    memcpy(wynik, nazwa, n);
    wynik[n] = 0;
    mojLtrim(wynik);
    mojPtrim(wynik);
}

// Index of the row whose key equals `klucz`, or -1. Rows are records of
// `rozmiar` bytes beginning with their 128-byte name.
static int32_t Znajdz(const void* wiersze, int32_t n, size_t rozmiar, const char* klucz) {
    char k[128];
    for (int32_t i = 0; i < n; i++) {
        KluczRejestru((const char*)wiersze + (size_t)i * rozmiar, k);
        if (strcmp(k, klucz) == 0) return i;
    }
    return -1;
}

// One name: rewrite the matching row (when `update` is given) or insert.
template <class Rec>
static int Zapisz(const Rec* wiersze, int32_t n, Rec& nowy, int (*update)(const Rec*, const char*, char*),
                  int (*insert)(int, Rec*, char*), char* msg) {
    char klucz[128];
    KluczRejestru(nowy.nazwa, klucz);
    if (!klucz[0]) return 1;
    char nazwa[128];
    Przytnij(nowy.nazwa, nazwa);
    memcpy(nowy.nazwa, nazwa, sizeof nazwa);
    int32_t i = Znajdz(wiersze, n, sizeof(Rec), klucz);
    if (i >= 0) return update ? update(&nowy, wiersze[i].nazwa, msg) : 1;
    return insert(1, &nowy, msg);
}

int WczytajRejestryOkna(strRejestryOkna* r, char* msg) {
    memset(r, 0, sizeof *r);
    if ((r->liczbaProfili = CountReadZstProfil(&r->profile, msg)) >= 0 &&
        (r->liczbaKolorow = CountReadZstKolor(&r->kolory, msg)) >= 0 &&
        (r->liczbaSzprosow = CountReadZstSzpros(&r->szprosy, msg)) >= 0 &&
        (r->liczbaOkuc = CountReadZstOkucie(&r->okucia, msg)) >= 0 &&
        (r->liczbaListew = CountReadZstListwa(&r->listwy, msg)) >= 0 &&
        (r->liczbaWypeln = CountReadZstWypeln(&r->wypeln, msg)) >= 0)
        return 1;
    ZwolnijRejestryOkna(r);
    return 0;
}

void ZwolnijRejestryOkna(strRejestryOkna* r) {
    KvFree(r->profile);
    KvFree(r->kolory);
    KvFree(r->szprosy);
    KvFree(r->okucia);
    KvFree(r->listwy);
    KvFree(r->wypeln);
    memset(r, 0, sizeof *r);
}

static void Kopiuj(char (&cel)[128], const char* zrodlo) {
    size_t n = strnlen(zrodlo, 127);
    memcpy(cel, zrodlo, n);
    memset(cel + n, 0, sizeof cel - n);
}

int ZapiszRejestryOkna(const strOkno* o, const strRejestryOkna* r, char* msg) {
    strZstProfil p{};
    Kopiuj(p.nazwa, o->nazProfil);
    p.typ = o->iProfSch;
    p.sGrubProf = o->sGrubProf;
    if (!Zapisz<strZstProfil>(r->profile, r->liczbaProfili, p, UpdateZstProfil, InsertZstProfil, msg))
        return 0;
    strZstKolor k{};
    Kopiuj(k.nazwa, o->nazKolor);
    k.typ = o->iKolor;
    if (!Zapisz<strZstKolor>(r->kolory, r->liczbaKolorow, k, UpdateZstKolor, InsertZstKolor, msg)) return 0;
    strZstSzpros s{};
    Kopiuj(s.nazwa, o->nazSzpros);
    s.grubSzpros = o->grubSzpros;
    if (!Zapisz<strZstSzpros>(r->szprosy, r->liczbaSzprosow, s, UpdateZstSzpros, InsertZstSzpros, msg))
        return 0;
    strZstOkucie ok{};
    Kopiuj(ok.nazwa, o->nazOkucie);
    if (!Zapisz<strZstOkucie>(r->okucia, r->liczbaOkuc, ok, nullptr, InsertZstOkucie, msg)) return 0;
    strZstListwa l{};
    Kopiuj(l.nazwa, o->nazListwa);
    if (!Zapisz<strZstListwa>(r->listwy, r->liczbaListew, l, nullptr, InsertZstListwa, msg)) return 0;

    int32_t poz = 0;
    char nazwa[kNazwaWypelnLen];
    int32_t typ = 0;
    while (NastRozneWypeln(&poz, o->oper, o->liczbaOper, nazwa, &typ)) {
        strZstWypeln w{};
        Kopiuj(w.nazwa, nazwa);
        w.typ = typ;
        if (!Zapisz<strZstWypeln>(r->wypeln, r->liczbaWypeln, w, UpdateZstWypeln, InsertZstWypeln, msg))
            return 0;
    }
    return 1;
}

// On a server other desks file names too: the registers are locked for the
// transaction and read again inside it, so that two desks filing the same
// new name one after the other leave one row for it.
static int SaveAgainstFreshRegisters(const strOkno* o, char* msg) {
    if (!DbExec("LOCK TABLE T_ZstProfil, T_ZstKolor, T_ZstSzpros, T_ZstOkucie, T_ZstListwa, T_ZstWypeln "
                "IN SHARE ROW EXCLUSIVE MODE;",
                msg))
        return 0;
    strRejestryOkna fresh{};
    if (!WczytajRejestryOkna(&fresh, msg)) return 0;
    const int ok = ZapiszRejestryOkna(o, &fresh, msg);
    ZwolnijRejestryOkna(&fresh);
    return ok;
}

int DbSaveWindowRegisters(const strOkno* o, const strRejestryOkna* r, char* msg) {
    static const char kTransaction[] = "ZapisRejestrowOkna";
    if (!DbBegin(kTransaction, msg)) return 0;
    const int ok = DbBackendInUse() == kDbServer ? SaveAgainstFreshRegisters(o, msg) : ZapiszRejestryOkna(o, r, msg);
    if (!ok) {
        DbRollback(kTransaction, nullptr);
        return 0;
    }
    if (!DbCommit(kTransaction, msg)) {
        DbRollback(kTransaction, nullptr);
        return 0;
    }
    return 1;
}

int ZapiszRejestrDodat(const strDodatZam* d, const strZstDodat* rej, int32_t n, char* msg) {
    strZstDodat z{};
    Kopiuj(z.nazwa, d->nazwa);
    z.ilWym = d->ilWym;
    size_t j = strnlen(d->jm, sizeof z.jm - 1);
    memcpy(z.jm, d->jm, j);
    if (DbBackendInUse() != kDbServer) return Zapisz<strZstDodat>(rej, n, z, UpdateZstDodat, InsertZstDodat, msg);
    // As the window's registers: locked and read again inside a transaction.
    static const char kTransaction[] = "ZapisRejestruDodatkow";
    if (!DbBegin(kTransaction, msg)) return 0;
    strZstDodat* fresh = nullptr;
    int rows = -1;
    int ok = DbExec("LOCK TABLE T_ZstDodat IN SHARE ROW EXCLUSIVE MODE;", msg) &&
             (rows = CountReadZstDodat(&fresh, msg)) >= 0 &&
             Zapisz<strZstDodat>(fresh, rows, z, UpdateZstDodat, InsertZstDodat, msg) && DbCommit(kTransaction, msg);
    if (fresh) KvFree(fresh);
    if (!ok) DbRollback(kTransaction, nullptr);
    return ok;
}

static const char* const kRegisterTables[kDbRegisterCount] = {
    "T_ZstProfil", "T_ZstOkucie", "T_ZstKolor", "T_ZstListwa", "T_ZstSzpros", "T_ZstWypeln", "T_ZstDodat",
};

const char* DbRegisterTable(int which) {
    return which >= 0 && which < kDbRegisterCount ? kRegisterTables[which] : nullptr;
}

int64_t DbRegisterRows(int which) {
    const char* table = DbRegisterTable(which);
    return table ? DbCountRows(table, nullptr, nullptr) : 0;
}

int DbWipeRegister(int which, char* msg) {
    const char* table = DbRegisterTable(which);
    if (!table) {
        KvMsg(msg, "Error of SQL command\r\n%s", "no such register");
        return 0;
    }
    char sql[64];
    snprintf(sql, sizeof sql, "DELETE FROM %s;", table);
    return DbExec(sql, msg);
}
