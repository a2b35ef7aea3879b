// The accessory array of an order.
#include "db/accessories.h"

#include <string.h>

#include "util/heap.h"
#include "util/msgbuf.h"

// The column is read and written as the record's bytes; both targets are
// little-endian, which is what keeps a database portable between them.
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "the wymiar column is stored little-endian"
#endif

int AppendAccessory(strDodatZam** lista, int32_t* liczba, const strDodatZam* d, char* msg) {
    const int32_t n = (*lista && *liczba > 0) ? *liczba : 0;
    strDodatZam* nowa;
    if (n == 0) {
        nowa = (strDodatZam*)KvAlloc(sizeof(strDodatZam));
        if (!nowa) {
            KvMsg(msg, "Error of allocation of str%s structure", "DodatZam");
            return 0;
        }
        KvFree(*lista);  // an empty array that somehow kept its block
    } else {
        nowa = (strDodatZam*)KvRealloc(*lista, (size_t)(n + 1) * sizeof(strDodatZam));
        if (!nowa) {
            KvMsg(msg, "Error of reallocation the str%s structure", "DodatZam");
            return 0;
        }
    }
    memcpy(&nowa[n], d, sizeof *d);
    *lista = nowa;
    *liczba = n + 1;
    return 1;
}

int DeleteAccessory(strDodatZam** lista, int32_t* liczba, int32_t k, char* msg) {
    const int32_t n = *liczba;
    if (!*lista || k < 0 || k >= n) {
        KvMsg(msg, "Error of reallocation the str%s structure", "DodatZam");
        return 0;
    }
    if (n == 1) {
        KvFree(*lista);
        *lista = nullptr;
        *liczba = 0;
        return 1;
    }
    strDodatZam kopia;
    memcpy(&kopia, &(*lista)[k], sizeof kopia);
    memmove(&(*lista)[k], &(*lista)[k + 1], (size_t)(n - 1 - k) * sizeof(strDodatZam));
    strDodatZam* nowa = (strDodatZam*)KvRealloc(*lista, (size_t)(n - 1) * sizeof(strDodatZam));
    if (!nowa) {
        // The block is still whole: put record k back where it was.
        memmove(&(*lista)[k + 1], &(*lista)[k], (size_t)(n - 1 - k) * sizeof(strDodatZam));
        memcpy(&(*lista)[k], &kopia, sizeof kopia);
        KvMsg(msg, "Error of reallocation the str%s structure", "DodatZam");
        return 0;
    }
    *lista = nowa;
    *liczba = n - 1;
    return 1;
}

void OverwriteAccessory(strDodatZam* lista, int32_t liczba, int32_t k, const strDodatZam* d) {
    if (!lista || k < 0 || k >= liczba || &lista[k] == d) return;
    memcpy(&lista[k], d, sizeof *d);
}

void ZeroExtraDimensions(strDodatZam* d) {
    int32_t od = d->ilWym < 0 ? 0 : d->ilWym > 3 ? 3 : d->ilWym;
    for (int32_t i = od; i < 3; i++) d->wymiar[i] = 0;
}
