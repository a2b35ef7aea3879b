// limits.h - the size limits of a window, checked on a copy before any new
// element, changed element or thickness change is accepted. Portable.
#ifndef KV_UI_DESIGNER_LIMITS_H
#define KV_UI_DESIGNER_LIMITS_H

#include <stdint.h>

#include "db/records.h"
#include "model/operations.h"

// Limits, mm.
enum : int32_t {
    kMinFrameThickness = 10,
    kMaxFrameThickness = 500,
    kMinSashThickness = 10,
    kMaxSashThickness = 500,
    kMinMullionThickness = 10,
    kMaxMullionThickness = 400,
    kMinMuntinThickness = 5,
    kMaxMuntinThickness = 100,
    kMaxFrameSize = 10000,
    kMinClearance = 20,
};

// Index values for CheckLimits.
enum : int32_t { kLimAppend = -1, kLimNoChange = -2 };

// The limit check: 1 when the window with the change (the `n` elements of
// `nowe` appended for indeks -1, the one element replacing element `indeks`
// for 0 or more, nothing for -2) and the candidate thicknesses (`grub` the
// four profile thicknesses, `grubSzpros` the muntin's; either may be null)
// keeps every thickness, the frame size and every area's clear width and
// height within the limits; 0 with the first refusal's message in `msg`
// (KV_MSG_LEN). `okno` is never changed.
int CheckLimits(const strOkno* okno, int32_t n, const uniOperRys* nowe, int32_t indeks,
                  const strGrubProf* grub, const int32_t* grubSzpros, char* msg);

// Gives the window the profile thicknesses `profile` and the muntin
// thickness `muntin` (mm) and computes the geometry of its elements again. 1 on
// success; 0 with the pass's message when the geometry cannot be computed,
// the thicknesses and the geometry then as they were, so that a refused
// change leaves nothing half done.
int ApplyThicknesses(strOkno* window, const strGrubProf& profile, int32_t muntin, char* msg);

#endif  // KV_UI_DESIGNER_LIMITS_H
