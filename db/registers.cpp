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

void RegisterKey(const char* nazwa, char klucz[128]) {
    size_t n = strnlen(nazwa, 127);
    memcpy(klucz, nazwa, n);
    klucz[n] = 0;
    mojLtrim(klucz);
    mojPtrim(klucz);
    for (char* p = klucz; *p; p++) *p = (char)ToUpperStrKod((unsigned char)*p, kCharsetEe);
}

// The name as it will be stored: trimmed, within the 128-byte field.
static void TrimName(const char* nazwa, char wynik[128]) {
    size_t n = strnlen(nazwa, 127);
    memcpy(wynik, nazwa, n);
    wynik[n] = 0;
    mojLtrim(wynik);
    mojPtrim(wynik);
}

// Index of the row whose key equals `klucz`, or -1. Rows are records of
// `rozmiar` bytes beginning with their 128-byte name.
static int32_t Lookup(const void* wiersze, int32_t n, size_t rozmiar, const char* klucz) {
    char k[128];
    for (int32_t i = 0; i < n; i++) {
        RegisterKey((const char*)wiersze + (size_t)i * rozmiar, k);
        if (strcmp(k, klucz) == 0) return i;
    }
    return -1;
}

// One name: rewrite the matching row (when `update` is given) or insert.
template <class Rec>
static int Store(const Rec* wiersze, int32_t n, Rec& nowy, int (*update)(const Rec*, const char*, char*),
                  int (*insert)(int, Rec*, char*), char* msg) {
    char klucz[128];
    RegisterKey(nowy.nazwa, klucz);
    if (!klucz[0]) return 1;
    char nazwa[128];
    TrimName(nowy.nazwa, nazwa);
    memcpy(nowy.nazwa, nazwa, sizeof nazwa);
    int32_t i = Lookup(wiersze, n, sizeof(Rec), klucz);
    if (i >= 0) return update ? update(&nowy, wiersze[i].nazwa, msg) : 1;
    return insert(1, &nowy, msg);
}

int LoadWindowRegisters(WindowRegisters* r, char* msg) {
    memset(r, 0, sizeof *r);
    if ((r->profileCount = CountReadProfileRegister(&r->profile, msg)) >= 0 &&
        (r->colourCount = CountReadColourRegister(&r->colourRows, msg)) >= 0 &&
        (r->muntinCount = CountReadMuntinRegister(&r->muntinRows, msg)) >= 0 &&
        (r->hardwareCount = CountReadHardwareRegister(&r->hardwareRows, msg)) >= 0 &&
        (r->beadCount = CountReadBeadRegister(&r->beadRows, msg)) >= 0 &&
        (r->fillingCount = CountReadFillingRegister(&r->wypeln, msg)) >= 0)
        return 1;
    FreeWindowRegisters(r);
    return 0;
}

void FreeWindowRegisters(WindowRegisters* r) {
    KvFree(r->profile);
    KvFree(r->colourRows);
    KvFree(r->muntinRows);
    KvFree(r->hardwareRows);
    KvFree(r->beadRows);
    KvFree(r->wypeln);
    memset(r, 0, sizeof *r);
}

static void CopyName(char (&cel)[128], const char* zrodlo) {
    size_t n = strnlen(zrodlo, 127);
    memcpy(cel, zrodlo, n);
    memset(cel + n, 0, sizeof cel - n);
}

int SaveWindowRegisters(const strOkno* o, const WindowRegisters* r, char* msg) {
    strZstProfil p{};
    CopyName(p.nazwa, o->nazProfil);
    p.typ = o->iProfSch;
    p.sGrubProf = o->sGrubProf;
    if (!Store<strZstProfil>(r->profile, r->profileCount, p, UpdateProfileRegister, InsertProfileRegister, msg))
        return 0;
    strZstKolor k{};
    CopyName(k.nazwa, o->nazKolor);
    k.typ = o->iKolor;
    if (!Store<strZstKolor>(r->colourRows, r->colourCount, k, UpdateColourRegister, InsertColourRegister, msg)) return 0;
    strZstSzpros s{};
    CopyName(s.nazwa, o->nazSzpros);
    s.grubSzpros = o->grubSzpros;
    if (!Store<strZstSzpros>(r->muntinRows, r->muntinCount, s, UpdateMuntinRegister, InsertMuntinRegister, msg))
        return 0;
    strZstOkucie ok{};
    CopyName(ok.nazwa, o->nazOkucie);
    if (!Store<strZstOkucie>(r->hardwareRows, r->hardwareCount, ok, nullptr, InsertHardwareRegister, msg)) return 0;
    strZstListwa l{};
    CopyName(l.nazwa, o->nazListwa);
    if (!Store<strZstListwa>(r->beadRows, r->beadCount, l, nullptr, InsertBeadRegister, msg)) return 0;

    int32_t poz = 0;
    char nazwa[kFillingNameLen];
    int32_t typ = 0;
    while (NextDistinctFilling(&poz, o->oper, o->liczbaOper, nazwa, &typ)) {
        strZstWypeln w{};
        CopyName(w.nazwa, nazwa);
        w.typ = typ;
        if (!Store<strZstWypeln>(r->wypeln, r->fillingCount, w, UpdateFillingRegister, InsertFillingRegister, msg))
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
    WindowRegisters fresh{};
    if (!LoadWindowRegisters(&fresh, msg)) return 0;
    const int ok = SaveWindowRegisters(o, &fresh, msg);
    FreeWindowRegisters(&fresh);
    return ok;
}

int DbSaveWindowRegisters(const strOkno* o, const WindowRegisters* r, char* msg) {
    static const char kTransaction[] = "ZapisRejestrowOkna";
    if (!DbBegin(kTransaction, msg)) return 0;
    const int ok = DbBackendInUse() == kDbServer ? SaveAgainstFreshRegisters(o, msg) : SaveWindowRegisters(o, r, msg);
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

int SaveAccessoryRegister(const strDodatZam* d, const strZstDodat* rej, int32_t n, char* msg) {
    strZstDodat z{};
    CopyName(z.nazwa, d->nazwa);
    z.ilWym = d->ilWym;
    size_t j = strnlen(d->jm, sizeof z.jm - 1);
    memcpy(z.jm, d->jm, j);
    if (DbBackendInUse() != kDbServer) return Store<strZstDodat>(rej, n, z, UpdateAccessoryRegister, InsertAccessoryRegister, msg);
    // As the window's registers: locked and read again inside a transaction.
    static const char kTransaction[] = "ZapisRejestruDodatkow";
    if (!DbBegin(kTransaction, msg)) return 0;
    strZstDodat* fresh = nullptr;
    int rows = -1;
    int ok = DbExec("LOCK TABLE T_ZstDodat IN SHARE ROW EXCLUSIVE MODE;", msg) &&
             (rows = CountReadAccessoryRegister(&fresh, msg)) >= 0 &&
             Store<strZstDodat>(fresh, rows, z, UpdateAccessoryRegister, InsertAccessoryRegister, msg) && DbCommit(kTransaction, msg);
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
