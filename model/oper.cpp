// The stored form of an operation and which of its bytes define it.
#include "oper.h"

#include <string.h>

int32_t DlugoscDefinicji(uint32_t typ) {
    switch (typ) {
    case kOperRama: return 28;
    case kOperSlupekStaly:
    case kOperSlupekRuch: return 32;
    case kOperSkrzydlo: return 36;
    case kOperWypeln: return kOperBlobLen;
    case kOperSzpros: return 32;
    default: return 0;
    }
}

void OperRysNaBlob(const uniOperRys* op, unsigned char blob[kOperBlobLen]) {
    memcpy(blob, op->bajty, kOperBlobLen);
}

void BlobNaOperRys(const void* blob, int32_t dlugosc, uniOperRys* op) {
    memset(op, 0, sizeof *op);
    if (!blob || dlugosc <= 0) return;
    if (dlugosc > kOperBlobLen) dlugosc = kOperBlobLen;
    memcpy(op->bajty, blob, (size_t)dlugosc);
    // Derived values in a blob are whatever the saving version had computed,
    // possibly for another screen; dropping them means a record that is used
    // before it is rebuilt shows zeros rather than stale geometry.
    int32_t def = DlugoscDefinicji(op->typ);
    if (def > 0) memset(op->bajty + def, 0, sizeof op->bajty - (size_t)def);
}

int32_t DajNazweWypeln(const strOperWypeln* w, char nazwa[kNazwaWypelnLen]) {
    const void* nul = memchr(w->nazwa, 0, kNazwaWypelnLen);
    size_t len = nul ? (size_t)((const char*)nul - w->nazwa) : kNazwaWypelnLen - 1;
    memcpy(nazwa, w->nazwa, len);
    nazwa[len] = 0;
    return (int32_t)len;
}
