// The print copy of the drawing resource set.
#include "printset.h"

void MakePrintDrawSet(const DrawSet* screen, DrawSet* print) {
    *print = *screen;
    HPEN black = CreatePen(PS_SOLID, 0, RGB(0, 0, 0));
    LOGBRUSH lb = {BS_SOLID, RGB(0, 0, 0), 0};
    HPEN dashed = ExtCreatePen(PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT, 1, &lb, 0, nullptr);
    print->penNavy = black;
    print->penGreen = black;
    print->penDotted = dashed;
    print->penRed = (HPEN)GetStockObject(BLACK_PEN);
    print->brushRed = (HBRUSH)GetStockObject(BLACK_BRUSH);
    print->brushGlass = (HBRUSH)GetStockObject(WHITE_BRUSH);
    print->brushWhite = (HBRUSH)GetStockObject(WHITE_BRUSH);
}

void ReleasePrintDrawSet(DrawSet* print) {
    if (print->penNavy) DeleteObject(print->penNavy);  // also entry 4
    if (print->penDotted) DeleteObject(print->penDotted);
    print->penNavy = print->penGreen = print->penDotted = nullptr;
}
