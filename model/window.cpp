// Window records, their operation lists and the lists of windows of an order.
//
// Every function that grows or shrinks an array does its allocation before it
// touches the caller's data, or undoes what it moved when the allocation
// fails, so the caller always keeps a valid array and count.
#include "model/window.h"

#include <stdint.h>
#include <string.h>

#include "util/heap.h"
#include "util/msgbuf.h"

// n elements of `size` bytes, or false when that many cannot be addressed
// (a count read from a damaged database can be anything; size_t is 32-bit
// in the Windows build).
static bool ArrayBytes(int64_t n, size_t size, size_t* out) {
    if (n < 0 || (uint64_t)n > SIZE_MAX / size) return false;
    *out = (size_t)n * size;
    return true;
}

// ---- Operation lists -------------------------------------------------------

int CopyOpList(const uniOperRys* zrodlo, int32_t liczba, uniOperRys** wynik, int32_t* liczbaWyn,
                    char* msg) {
    if (liczba <= 0) {
        *wynik = nullptr;
        *liczbaWyn = 0;
        return 1;
    }
    size_t n;
    void* p = nullptr;
    if (zrodlo && ArrayBytes(liczba, sizeof(uniOperRys), &n)) p = KvAlloc(n);
    if (!p) {
        KvMsg(msg, "Error of allocation and copying uniOperRys union");
        return 0;
    }
    memcpy(p, zrodlo, n);
    *wynik = (uniOperRys*)p;
    *liczbaWyn = liczba;
    return 1;
}

int AddDrawOp(uniOperRys** lista, int32_t* liczba, const uniOperRys* op, char* msg) {
    // The operation may live in the list that is about to move.
    uniOperRys kopia = *op;
    int32_t n = *lista && *liczba > 0 ? *liczba : 0;
    size_t bytes;
    if (n > 0) {
        void* p = nullptr;
        if (n < INT32_MAX && ArrayBytes((int64_t)n + 1, sizeof(uniOperRys), &bytes)) p = KvRealloc(*lista, bytes);
        if (!p) {
            KvMsg(msg, "Error of reallocation of uniOperRys union");
            return 0;
        }
        *lista = (uniOperRys*)p;
    } else {
        void* p = KvAlloc(sizeof(uniOperRys));
        if (!p) {
            KvMsg(msg, "Error of allocation the uniOperRys union");
            return 0;
        }
        KvFree(*lista);  // a stray array with count 0 would otherwise leak
        *lista = (uniOperRys*)p;
    }
    (*lista)[n] = kopia;
    *liczba = n + 1;
    return 1;
}

void OverwriteDrawOp(uniOperRys* lista, int32_t liczba, int32_t indeks, const uniOperRys* op) {
    if (!lista || indeks < 0 || indeks >= liczba) return;
    memmove(&lista[indeks], op, sizeof *op);
}

// Removes entry i of an array of n records of `size` bytes; see DeleteDrawOp.
// `removed` receives the removed record. False when shrinking failed, with
// the array as it was.
static bool DeleteFromArray(void** tab, int32_t n, int32_t i, size_t size, void* removed) {
    unsigned char* p = (unsigned char*)*tab;
    memcpy(removed, p + (size_t)i * size, size);
    memmove(p + (size_t)i * size, p + (size_t)(i + 1) * size, (size_t)(n - 1 - i) * size);
    if (n == 1) {
        KvFree(p);
        *tab = nullptr;
        return true;
    }
    void* q = KvRealloc(p, (size_t)(n - 1) * size);
    if (!q) {
        memmove(p + (size_t)(i + 1) * size, p + (size_t)i * size, (size_t)(n - 1 - i) * size);
        memcpy(p + (size_t)i * size, removed, size);
        return false;
    }
    *tab = q;
    return true;
}

int DeleteDrawOp(uniOperRys** lista, int32_t* liczba, int32_t indeks, char* msg) {
    if (!*lista || indeks < 0 || indeks >= *liczba) {
        KvMsg(msg, "Wrong index of the uniOperRys union");
        return 0;
    }
    uniOperRys removed;
    void* tab = *lista;
    if (!DeleteFromArray(&tab, *liczba, indeks, sizeof(uniOperRys), &removed)) {
        KvMsg(msg, "Error of reallocation of uniOperRys union");
        return 0;
    }
    *lista = (uniOperRys*)tab;
    --*liczba;
    return 1;
}

// ---- One window ------------------------------------------------------------

int AllocWindow(strOkno** wynik, char* msg) {
    void* p = KvAlloc(sizeof(strOkno));
    if (!p) {
        KvMsg(msg, "Error of allocation of str%s structure", "Okno");
        return 0;
    }
    *wynik = (strOkno*)p;
    return 1;
}

int CopyWindow(strOkno** cel, const strOkno* zrodlo, char* msg) {
    strOkno* nowe;
    if (!AllocWindow(&nowe, msg)) return 0;
    *nowe = *zrodlo;
    nowe->oper = nullptr;
    nowe->liczbaOper = 0;
    if (!CopyOpList(zrodlo->oper, zrodlo->liczbaOper, &nowe->oper, &nowe->liczbaOper, msg)) {
        KvFree(nowe);
        return 0;
    }
    if (*cel) FreeWindow(*cel);
    *cel = nowe;
    return 1;
}

void FreeWindow(strOkno* okno) {
    if (!okno) return;
    KvFree(okno->oper);
    KvFree(okno);
}

// The record's bytes that take part in the comparison: everything before the
// list pointer except the gap the compiler leaves before the 64-bit price,
// which is not data and is not zero in a record built on the stack.
static const size_t kFirstSpanEnd = offsetof(strOkno, ilOkien) + sizeof(int32_t);
static const size_t kSecondSpanStart = offsetof(strOkno, cenaZReki);
static const size_t kSecondSpanEnd = offsetof(strOkno, oper);

int CompareWindows(const strOkno* kopia, const strOkno* okno) {
    if (!kopia || !okno) return kopia == okno;
    const unsigned char* a = (const unsigned char*)kopia;
    const unsigned char* b = (const unsigned char*)okno;
    if (memcmp(a, b, kFirstSpanEnd) != 0) return 0;
    if (memcmp(a + kSecondSpanStart, b + kSecondSpanStart, kSecondSpanEnd - kSecondSpanStart) != 0) return 0;
    // liczbaOper was compared with the record.
    if (okno->liczbaOper > 0 && (!kopia->oper || !okno->oper)) return kopia->oper == okno->oper;
    for (int32_t i = 0; i < okno->liczbaOper; i++) {
        const uniOperRys& x = kopia->oper[i];
        const uniOperRys& y = okno->oper[i];
        int32_t def = DefinitionLength(x.typ);
        if (x.typ != y.typ || def == 0) return 0;
        if (memcmp(x.rawBytes, y.rawBytes, (size_t)def) != 0) return 0;
    }
    return 1;
}

// ---- Windows of an order ---------------------------------------------------

int AddWindow(strOkno** okna, int32_t* liczba, const strOkno* okno, char* msg) {
    strOkno nowe = *okno;  // `okno` may be an entry of the array that moves
    if (!CopyOpList(okno->oper, okno->liczbaOper, &nowe.oper, &nowe.liczbaOper, nullptr)) {
        KvMsg(msg, "Error of allocation the uniOperRys union");
        return 0;
    }
    int32_t n = *okna && *liczba > 0 ? *liczba : 0;
    void* p = nullptr;
    size_t bytes;
    if (n > 0) {
        if (n < INT32_MAX && ArrayBytes((int64_t)n + 1, sizeof(strOkno), &bytes)) p = KvRealloc(*okna, bytes);
        if (!p) KvMsg(msg, "Error of reallocation the str%s structure", "Okno");
    } else {
        p = KvAlloc(sizeof(strOkno));
        if (!p) KvMsg(msg, "Error of allocation of str%s structure", "Okno");
        else KvFree(*okna);
    }
    if (!p) {
        KvFree(nowe.oper);
        return 0;
    }
    *okna = (strOkno*)p;
    (*okna)[n] = nowe;
    *liczba = n + 1;
    return 1;
}

int ReplaceWindow(strOkno* okna, int32_t liczba, int32_t indeks, const strOkno* okno, char* msg) {
    if (!okna || indeks < 0 || indeks >= liczba) {
        KvMsg(msg, "Wrong index of the str%s structure", "Okno");
        return 0;
    }
    strOkno* e = &okna[indeks];
    if (okno == e) return 1;
    strOkno zr = *okno;
    int32_t n = zr.liczbaOper > 0 && zr.oper ? zr.liczbaOper : 0;
    uniOperRys* nowa = nullptr;
    if (n > 0) {
        size_t bytes = 0;
        bool ok = ArrayBytes(n, sizeof(uniOperRys), &bytes);
        if (e->oper) {
            void* p = ok ? KvRealloc(e->oper, bytes) : nullptr;
            if (!p) {
                KvMsg(msg, "Error of reallocation of uniOperRys union");
                return 0;
            }
            nowa = (uniOperRys*)p;
            // When the record handed in shares this entry's list, the resized
            // block already holds it (and the old pointer may be gone).
            if (zr.oper != e->oper) memcpy(nowa, zr.oper, bytes);
        } else {
            void* p = ok ? KvAlloc(bytes) : nullptr;
            if (!p) {
                KvMsg(msg, "Error of allocation the uniOperRys union");
                return 0;
            }
            nowa = (uniOperRys*)p;
            memcpy(nowa, zr.oper, bytes);
        }
    } else {
        KvFree(e->oper);
    }
    *e = zr;
    e->oper = nowa;
    e->liczbaOper = n;
    return 1;
}

int DeleteWindow(strOkno** okna, int32_t* liczba, int32_t indeks, char* msg) {
    if (!*okna || indeks < 0 || indeks >= *liczba) {
        KvMsg(msg, "Wrong index of the str%s structure", "Okno");
        return 0;
    }
    strOkno removed;
    void* tab = *okna;
    if (!DeleteFromArray(&tab, *liczba, indeks, sizeof(strOkno), &removed)) {
        KvMsg(msg, "Error of reallocation the str%s structure", "Okno");
        return 0;
    }
    *okna = (strOkno*)tab;
    --*liczba;
    KvFree(removed.oper);
    return 1;
}

void FreeWindows(strOkno* okna, int32_t liczba) {
    if (!okna || liczba <= 0) return;
    for (int32_t i = 0; i < liczba; i++) KvFree(okna[i].oper);
    KvFree(okna);
}
