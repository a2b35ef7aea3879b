// structure_internal.h - what the three files of the window structure
// (structure.cpp, structure_geometry.cpp, structure_edit.cpp) share: the
// sides of a rectangle, the facing edges of bounding elements and the
// checks of an element's references.
#ifndef KV_MODEL_STRUCTURE_INTERNAL_H
#define KV_MODEL_STRUCTURE_INTERNAL_H

#include <stdint.h>

#include "model/structure.h"

namespace structure_internal {

inline bool IsMullion(uint32_t t) { return t == kOpFixedMullion || t == kOpFalseMullion; }

inline int32_t RectSide(const strProst& r, int32_t s) {
    switch (s) {
        case kSideLeft: return r.left;
        case kSideTop: return r.top;
        case kSideRight: return r.right;
        default: return r.bottom;
    }
}

inline void SetRectSide(strProst& r, int32_t s, int32_t v) {
    switch (s) {
        case kSideLeft: r.left = v; break;
        case kSideTop: r.top = v; break;
        case kSideRight: r.right = v; break;
        default: r.bottom = v; break;
    }
}

inline int32_t Opposite(int32_t s) { return (s + 2) & 3; }

// Facing edge, mm, of bounding element b for what it bounds on side s.
inline int32_t FacingEdge(const uniOperRys& b, int32_t s) {
    switch (b.typ) {
        case kOpFrame: return RectSide(b.rama.wewn, s);
        case kOpSash: return RectSide(b.skrzydlo.wewn, s);
        case kOpFixedMullion:
        case kOpFalseMullion: return RectSide(b.slupek.prost, Opposite(s));
        case kOpMuntin: return RectSide(b.szpros.prost, Opposite(s));
        default: return 0;
    }
}

// The same on the device.
inline int32_t FacingEdgeDevice(const uniOperRys& b, int32_t s) {
    switch (b.typ) {
        case kOpFrame: return RectSide(b.rama.wewnUrz, s);
        case kOpSash: return RectSide(b.skrzydlo.wewnUrz, s);
        case kOpFixedMullion:
        case kOpFalseMullion: return RectSide(b.slupek.prostUrz, Opposite(s));
        case kOpMuntin: return RectSide(b.szpros.prostUrz, Opposite(s));
        default: return 0;
    }
}

// An index that a sound list may hold in element j: an earlier element.
inline bool IsEarlier(int32_t idx, int32_t j) { return idx >= 0 && idx < j; }

inline bool W32(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

// Bound type masks of the geometry pass.
inline uint32_t Bit(uint32_t t) { return t < 32 ? 1u << t : 0; }
const uint32_t kMullionBounds =
    (1u << kOpFrame) | (1u << kOpFixedMullion) | (1u << kOpFalseMullion) | (1u << kOpSash);
const uint32_t kFillingBounds =
    (1u << kOpFrame) | (1u << kOpFixedMullion) | (1u << kOpMuntin) | (1u << kOpSash);
const uint32_t kMuntinBounds = kMullionBounds | (1u << kOpMuntin);

inline bool BoundOk(const uniOperRys* lista, int32_t j, int32_t idx, uint32_t maska) {
    return IsEarlier(idx, j) && (Bit(lista[idx].typ) & maska) != 0;
}

}  // namespace structure_internal

#endif  // KV_MODEL_STRUCTURE_INTERNAL_H
