#include "drawset.h"

#include <string.h>

#include "resource.h"

static HFONT ArialFont(int escapement) {
    LOGFONTA lf = {};
    lf.lfHeight = -10;
    lf.lfEscapement = escapement;
    lf.lfOrientation = escapement;
    lf.lfCharSet = DEFAULT_CHARSET;
    strcpy(lf.lfFaceName, "Arial");
    return CreateFontIndirectA(&lf);
}

bool CreateDrawSet(HINSTANCE instance, DrawSet* s) {
    memset(s, 0, sizeof *s);
    s->fontNormal = ArialFont(0);
    s->fontVertical = ArialFont(900);
    s->penNavy = CreatePen(PS_SOLID, 0, RGB(0, 0, 128));
    s->penGreen = CreatePen(PS_SOLID, 0, RGB(0, 128, 0));
    s->penDotted = CreatePen(PS_DOT, 0, RGB(0, 0, 0));
    s->penRed = CreatePen(PS_SOLID, 0, RGB(255, 0, 0));
    s->brushCanvas = CreateSolidBrush(RGB(255, 236, 221));
    s->brushGreen = CreateSolidBrush(RGB(204, 237, 192));
    s->brushCyan = CreateSolidBrush(RGB(198, 234, 236));
    s->brushRed = CreateSolidBrush(RGB(255, 0, 0));
    s->brushGlass = CreateSolidBrush(RGB(217, 217, 255));
    s->brushWhite = (HBRUSH)GetStockObject(WHITE_BRUSH);
    for (int i = 0; i < 12; i++) {
        s->cursors[i] = (HCURSOR)LoadImageA(instance, MAKEINTRESOURCEA(IDC_TOOL_FIRST + i),
                                            IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE);
    }
    s->penThick = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));

    const HANDLE* h = (const HANDLE*)s;
    for (size_t i = 0; i < sizeof *s / sizeof(HANDLE); i++) {
        if (!h[i]) {
            DestroyDrawSet(s);
            return false;
        }
    }
    return true;
}

void DestroyDrawSet(DrawSet* s) {
    HGDIOBJ created[] = {s->fontNormal, s->fontVertical, s->penNavy,   s->penGreen,
                         s->penDotted,  s->penRed,       s->brushCanvas, s->brushGreen,
                         s->brushCyan,  s->brushRed,     s->brushGlass};
    for (HGDIOBJ o : created) {
        if (o) DeleteObject(o);
    }
    for (HCURSOR c : s->cursors) {
        if (c) DestroyCursor(c);
    }
    if (s->penThick) DeleteObject(s->penThick);
    memset(s, 0, sizeof *s);
}
