// model_reference.h - the change check as it is defined: each element
// against a structure built anew from the elements before it. The model's
// own check does the same in one pass; tests and the fuzz target compare the
// two.
#ifndef KV_TESTS_MODEL_REFERENCE_H
#define KV_TESTS_MODEL_REFERENCE_H

#include <stdint.h>

#include <string>

#include "model/operations.h"
#include "model/structure.h"
#include "util/msgbuf.h"

// "ok", or the message of the first element that the rules refuse.
inline std::string ReferenceChange(const uniOperRys* l, int32_t n, int32_t format) {
    char msg[KV_MSG_LEN] = "";
    for (int32_t j = 1; j < n; j++) {
        const uint32_t t = l[j].typ;
        if (t == kOpFrame || t > kOpMuntin) continue;
        strObsOkno* tab;
        int32_t c;
        if (!BuildStructure(l, n, j, 0, t == kOpMuntin, &tab, &c, msg)) return msg;
        const int32_t i = t == kOpSash || t == kOpFilling ? BoundedArea(&l[j], tab, c)
                                                                 : DividedArea(&l[j], tab, c);
        const char* co = t == kOpSash ? "sash"
                         : t == kOpFilling ? "filling"
                         : t == kOpMuntin ? "muntin"
                                            : "mullion";
        std::string wynik;
        if (i < 0) wynik = std::string("Error of trying to find area for the ") + co;
        else if (!CheckInsertion(t, KindCode(&l[j]), &tab[i], l, n, format, msg)) wynik = msg;
        FreeStructure(tab);
        if (!wynik.empty()) return wynik;
    }
    return "ok";
}

#endif
