#include "render/drawset_win.h"

#include <string.h>

#include "util/dpi_win.h"

static HFONT ArialFont(int escapement, int height = -10) {
    LOGFONTA lf = {};
    lf.lfHeight = height;
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
    for (int i = 0; i < kDrawSetCursorCount; i++) {
        s->cursors[i] = (HCURSOR)LoadImageA(instance, MAKEINTRESOURCEA(kDrawSetFirstCursor + i), IMAGE_CURSOR,
                                            0, 0, LR_DEFAULTSIZE);
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
    HGDIOBJ created[] = {s->fontNormal,  s->fontVertical, s->penNavy,   s->penGreen, s->penDotted, s->penRed,
                         s->brushCanvas, s->brushGreen,   s->brushCyan, s->brushRed, s->brushGlass};
    for (HGDIOBJ o : created) {
        if (o) DeleteObject(o);
    }
    for (HCURSOR c : s->cursors) {
        if (c) DestroyCursor(c);
    }
    if (s->penThick) DeleteObject(s->penThick);
    memset(s, 0, sizeof *s);
}

bool CreatePrintDrawSet(const DrawSet* from, DrawSet* copy) {
    *copy = *from;
    HPEN black = CreatePen(PS_SOLID, 0, RGB(0, 0, 0));
    // A cosmetic dotted pen prints as dots a printer's pixel apart, which
    // read as a grey line: the copy uses a geometric dash instead.
    LOGBRUSH lb = {BS_SOLID, RGB(0, 0, 0), 0};
    HPEN dashed = ExtCreatePen(PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT, 1, &lb, 0, nullptr);
    if (!black || !dashed) {
        if (black) DeleteObject(black);
        if (dashed) DeleteObject(dashed);
        memset(copy, 0, sizeof *copy);
        return false;
    }
    copy->penNavy = black;
    copy->penGreen = black;
    copy->penDotted = dashed;
    copy->penRed = (HPEN)GetStockObject(BLACK_PEN);
    copy->brushRed = (HBRUSH)GetStockObject(BLACK_BRUSH);
    copy->brushGlass = (HBRUSH)GetStockObject(WHITE_BRUSH);
    copy->brushWhite = (HBRUSH)GetStockObject(WHITE_BRUSH);
    return true;
}

void DestroyPrintDrawSet(DrawSet* copy) {
    if (copy->penNavy) DeleteObject(copy->penNavy);
    if (copy->penDotted) DeleteObject(copy->penDotted);
    memset(copy, 0, sizeof *copy);
}

namespace {

// The pieces of a scaled set that are its own, deleted or destroyed.
void DeleteFonts(DrawSet* s) {
    HGDIOBJ made[] = {s->fontNormal, s->fontVertical, s->penThick};
    for (HGDIOBJ o : made) {
        if (o) DeleteObject(o);
    }
}

void DestroyCursors(DrawSet* s) {
    for (HCURSOR c : s->cursors) {
        if (c) DestroyCursor(c);
    }
}

}  // namespace

bool ScaledDrawSet::Make(const DrawSet* from, int dpi, HINSTANCE module) {
    DrawSet s = *from;
    const bool fonts = dpi != kKvBaseDpi, cursors = dpi != KvSystemDpi();
    bool made = true;
    if (fonts) {
        s.fontNormal = ArialFont(0, -KvScale(10, dpi));
        s.fontVertical = ArialFont(900, -KvScale(10, dpi));
        s.penThick = CreatePen(PS_SOLID, KvScale(3, dpi), RGB(0, 0, 0));
        made = s.fontNormal && s.fontVertical && s.penThick;
    }
    if (cursors) {
        const int size = KvSystemMetricForDpi(SM_CXCURSOR, dpi);
        for (int i = 0; i < kDrawSetCursorCount; i++) {
            s.cursors[i] = (HCURSOR)LoadImageA(module, MAKEINTRESOURCEA(kDrawSetFirstCursor + i), IMAGE_CURSOR,
                                               size, size, 0);
            made = made && s.cursors[i];
        }
    }
    if (!made) {
        if (fonts) DeleteFonts(&s);
        if (cursors) DestroyCursors(&s);
        if (!from_) from_ = from;
        return false;
    }
    Release();
    from_ = from;
    set_ = s;
    ownFonts_ = fonts;
    ownCursors_ = cursors;
    return true;
}

void ScaledDrawSet::Release() {
    if (ownFonts_) DeleteFonts(&set_);
    if (ownCursors_) DestroyCursors(&set_);
    set_ = DrawSet{};
    ownFonts_ = ownCursors_ = false;
}
