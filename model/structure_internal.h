// structure_internal.h - what the three files of the window structure
// (structure.cpp, structure_geometry.cpp, structure_edit.cpp) share: the
// sides of a rectangle, the facing edges of bounding elements and the
// checks of an element's references.
#ifndef KV_MODEL_STRUCTURE_INTERNAL_H
#define KV_MODEL_STRUCTURE_INTERNAL_H

#include <stdint.h>

#include "model/structure.h"

namespace structure_internal {

inline bool JestSlupek(uint32_t t) { return t == kOperSlupekStaly || t == kOperSlupekRuch; }

inline int32_t Bok(const strProst& r, int32_t s) {
    switch (s) {
        case kLewa: return r.left;
        case kGora: return r.top;
        case kPrawa: return r.right;
        default: return r.bottom;
    }
}

inline void UstawBok(strProst& r, int32_t s, int32_t v) {
    switch (s) {
        case kLewa: r.left = v; break;
        case kGora: r.top = v; break;
        case kPrawa: r.right = v; break;
        default: r.bottom = v; break;
    }
}

inline int32_t Przeciwny(int32_t s) { return (s + 2) & 3; }

// Facing edge, mm, of bounding element b for what it bounds on side s.
inline int32_t Krawedz(const uniOperRys& b, int32_t s) {
    switch (b.typ) {
        case kOperRama: return Bok(b.rama.wewn, s);
        case kOperSkrzydlo: return Bok(b.skrzydlo.wewn, s);
        case kOperSlupekStaly:
        case kOperSlupekRuch: return Bok(b.slupek.prost, Przeciwny(s));
        case kOperSzpros: return Bok(b.szpros.prost, Przeciwny(s));
        default: return 0;
    }
}

// The same on the device.
inline int32_t KrawedzUrz(const uniOperRys& b, int32_t s) {
    switch (b.typ) {
        case kOperRama: return Bok(b.rama.wewnUrz, s);
        case kOperSkrzydlo: return Bok(b.skrzydlo.wewnUrz, s);
        case kOperSlupekStaly:
        case kOperSlupekRuch: return Bok(b.slupek.prostUrz, Przeciwny(s));
        case kOperSzpros: return Bok(b.szpros.prostUrz, Przeciwny(s));
        default: return 0;
    }
}

// An index that a sound list may hold in element j: an earlier element.
inline bool Wczesniejszy(int32_t idx, int32_t j) { return idx >= 0 && idx < j; }

inline bool W32(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

// Bound type masks of the geometry pass.
inline uint32_t Bit(uint32_t t) { return t < 32 ? 1u << t : 0; }
const uint32_t kOgrSlupka =
    (1u << kOperRama) | (1u << kOperSlupekStaly) | (1u << kOperSlupekRuch) | (1u << kOperSkrzydlo);
const uint32_t kOgrWypeln =
    (1u << kOperRama) | (1u << kOperSlupekStaly) | (1u << kOperSzpros) | (1u << kOperSkrzydlo);
const uint32_t kOgrSzprosu = kOgrSlupka | (1u << kOperSzpros);

inline bool OgrOk(const uniOperRys* lista, int32_t j, int32_t idx, uint32_t maska) {
    return Wczesniejszy(idx, j) && (Bit(lista[idx].typ) & maska) != 0;
}

}  // namespace structure_internal

#endif  // KV_MODEL_STRUCTURE_INTERNAL_H
