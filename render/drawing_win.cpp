#include "render/drawing_win.h"

#include <stdio.h>
#include <string.h>

#include "model/structure.h"
#include "util/msgbuf.h"
#include "util/scoped_win.h"

static int32_t PenWidth(HPEN pen) {
    LOGPEN lp;
    if (pen && GetObjectA(pen, sizeof lp, &lp) == (int)sizeof lp) return lp.lopnWidth.x;
    return 1;
}

void DrawSetPenWidths(const DrawSet* ds, PenWidths* p) {
    p->rama = PenWidth(ds->penNavy);
    p->skrzydlo = PenWidth(ds->penGreen);
    p->falseMullion = PenWidth(ds->penDotted);
    p->szpros = PenWidth(ds->penRed);
}

int LayOutWindowOnDevice(uniOperRys* drawOps, int32_t liczba, const RECT* cel, int margines, const DrawSet* ds) {
    PenWidths p;
    DrawSetPenWidths(ds, &p);
    const strProst c = {(int32_t)cel->left, (int32_t)cel->top, (int32_t)cel->right, (int32_t)cel->bottom};
    return LayOutWindow(drawOps, liczba, &c, margines, &p);
}

// ---- Dimension texts -------------------------------------------------------

namespace {

struct TextMeasurer {
    HDC dc;
    const DrawSet* ds;
};

void MeasureOnDC(void* ctx, int pionowy, const char* tekst, int32_t* dl, int32_t* wys) {
    TextMeasurer* m = (TextMeasurer*)ctx;
    ScopedSelect font(m->dc, pionowy ? m->ds->fontVertical : m->ds->fontNormal);
    SIZE sz = {0, 0};
    GetTextExtentPoint32A(m->dc, tekst, (int)strlen(tekst), &sz);
    *dl = sz.cx;
    *wys = sz.cy;
}

}  // namespace

void LayOutDimensionTextsDC(HDC hdc, const DrawSet* ds, DimensionSet* w, const uniOperRys* drawOps,
                              int32_t liczba, int ekran) {
    TextMeasurer m = {hdc, ds};
    LayOutDimensionTexts(w, drawOps, liczba, ekran, MeasureOnDC, &m);
}

void LayOutDimensionTextsOnWindow(HWND okno, const DrawSet* ds, DimensionSet* w, const uniOperRys* drawOps,
                                int32_t liczba, int ekran) {
    ScopedWindowDC dc(okno);
    if (!dc) return;
    LayOutDimensionTextsDC(dc, ds, w, drawOps, liczba, ekran);
}

// ---- Drawing ---------------------------------------------------------------

namespace {

COLORREF BrushColour(HBRUSH b) {
    LOGBRUSH lb;
    if (b && GetObjectA(b, sizeof lb, &lb) == (int)sizeof lb) return lb.lbColor;
    return RGB(255, 255, 255);
}

void DrawLine(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void TextAt(HDC dc, int x, int y, const char* t) { TextOutA(dc, x, y, t, (int)strlen(t)); }

SIZE TextSize(HDC dc, const char* t) {
    SIZE sz = {0, 0};
    GetTextExtentPoint32A(dc, t, (int)strlen(t), &sz);
    return sz;
}

// Everything one drawing needs.
struct WindowDrawer {
    HDC dc;
    const uniOperRys* drawOps;
    int32_t itemCount;
    const DrawSet* ds;
    int drawStyle;
    HBRUSH backgroundBrush;  // background brush (white in style 2)
    COLORREF backgroundColour;
    PenWidths penWidths;
    HPEN whiteEndsPen;  // white flat-capped pen that opens a mullion's ends
    bool isWood;      // profile type 1: butt joints instead of mitres

    void DrawFrame(const strOperRama& r, int32_t iProfSch);
    void DrawMullion(const strOperSlupek& s, int32_t indeks);
    void SashElement(const strOperSkrzydlo& s);
    void Symbol(const strOperSkrzydlo& s);
    void DrawFilling(const strOperWypeln& w, int32_t indeks);
    void DrawMuntin(const strOperSzpros& s);
};

void WindowDrawer::DrawFrame(const strOperRama& r, int32_t iProfSch) {
    const strProst& z = r.zewnUrz;
    const strProst& w = r.wewnUrz;
    ScopedSelect pen(dc, ds->penNavy);
    {
        ScopedSelect white(dc, ds->brushWhite);
        Rectangle(dc, z.left, z.top, z.right, z.bottom);
    }
    ScopedSelect background(dc, backgroundBrush);
    Rectangle(dc, w.left, w.top, w.right, w.bottom);
    if (iProfSch == 1) {
        // Wood: the stiles run through, the rails butt against them.
        DrawLine(dc, w.left, z.top + 1, w.left, w.top);
        DrawLine(dc, w.right - 1, z.top + 1, w.right - 1, w.top);
        DrawLine(dc, w.left, z.bottom - 2, w.left, w.bottom - 1);
        DrawLine(dc, w.right - 1, z.bottom - 2, w.right - 1, w.bottom - 1);
    } else {
        DrawLine(dc, z.left + 1, z.top + 1, w.left, w.top);
        DrawLine(dc, z.right - 2, z.top + 1, w.right - 1, w.top);
        DrawLine(dc, z.left + 1, z.bottom - 2, w.left, w.bottom - 1);
        DrawLine(dc, z.right - 2, z.bottom - 2, w.right - 1, w.bottom - 1);
    }
    if (drawStyle == kStyleCanvas) {
        const char* nazwa = iProfSch == 0 ? "PVC" : iProfSch == 1 ? "Wood" : iProfSch == 2 ? "ALU" : "";
        RECT rr = {w.left + 1, z.top + 1, w.right - 1, w.top - 1};
        ScopedSelect font(dc, ds->fontNormal);
        SetBkColor(dc, RGB(255, 255, 255));
        DrawTextA(dc, nazwa, -1, &rr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SetBkColor(dc, backgroundColour);
    }
}

void WindowDrawer::DrawMullion(const strOperSlupek& s, int32_t indeks) {
    const strProst& p = s.prostUrz;
    const uniOperRys& op = drawOps[indeks];
    {
        ScopedSelect pen(dc, s.typ == kOpFixedMullion ? ds->penNavy : ds->penDotted);
        ScopedSelect white(dc, ds->brushWhite);
        Rectangle(dc, p.left, p.top, p.right, p.bottom);
    }
    // Open both ends: the outline of what the mullion meets runs on through.
    ScopedSelect ends(dc, whiteEndsPen);
    if (s.poziomy) {
        int y0 = p.top + 1 + HalfPenWidth(&op, kSideTop, &penWidths);
        int y1 = p.bottom - 1 - HalfPenWidth(&op, kSideBottom, &penWidths);
        int xl = p.left + HalfPenWidth(&op, kSideLeft, &penWidths);
        int xr = p.right - 1 - HalfPenWidth(&op, kSideRight, &penWidths);
        if (y1 > y0) {
            DrawLine(dc, xl, y0, xl, y1);
            DrawLine(dc, xr, y0, xr, y1);
        }
    } else {
        int x0 = p.left + 1 + HalfPenWidth(&op, kSideLeft, &penWidths);
        int x1 = p.right - 1 - HalfPenWidth(&op, kSideRight, &penWidths);
        int yt = p.top + HalfPenWidth(&op, kSideTop, &penWidths);
        int yb = p.bottom - 1 - HalfPenWidth(&op, kSideBottom, &penWidths);
        if (x1 > x0) {
            DrawLine(dc, x0, yt, x1, yt);
            DrawLine(dc, x0, yb, x1, yb);
        }
    }
    if (drawStyle == kStylePrintout) {
        char t[16];
        int n = s.typ == kOpFixedMullion ? 1 : 2;
        ScopedSelect font(dc, ds->fontNormal);
        if (s.poziomy) {
            snprintf(t, sizeof t, "  [%d]", n);
            TextAt(dc, p.left + 10, p.top - 1 - TextSize(dc, t).cy, t);
        } else {
            snprintf(t, sizeof t, "[%d]", n);
            TextAt(dc, p.right + 1, p.top + 10, t);
        }
    }
}

void WindowDrawer::SashElement(const strOperSkrzydlo& s) {
    const strProst& z = s.zewnUrz;
    const strProst& w = s.wewnUrz;
    if (drawStyle == kStylePrintout) SetBkMode(dc, TRANSPARENT);
    {
        ScopedSelect pen(dc, GetStockObject(WHITE_PEN));
        ScopedSelect brush(dc, drawStyle == kStylePrintout ? GetStockObject(NULL_BRUSH) : (HGDIOBJ)ds->brushWhite);
        Rectangle(dc, z.left, z.top, z.right, z.bottom);
    }
    ScopedSelect pen(dc, ds->penGreen);
    ScopedSelect brush(dc, drawStyle == kStylePrintout ? GetStockObject(NULL_BRUSH) : (HGDIOBJ)backgroundBrush);
    Rectangle(dc, w.left, w.top, w.right, w.bottom);
    if (isWood) {
        // Wood: the rails run through to the sash's outer sides.
        DrawLine(dc, z.left, w.top, w.left, w.top);
        DrawLine(dc, w.right, w.top, z.right, w.top);
        DrawLine(dc, z.left, w.bottom - 1, w.left, w.bottom - 1);
        DrawLine(dc, w.right, w.bottom - 1, z.right, w.bottom - 1);
    } else {
        DrawLine(dc, z.left, z.top, w.left, w.top);
        DrawLine(dc, z.right - 1, z.top, w.right - 1, w.top);
        DrawLine(dc, z.left, z.bottom - 1, w.left, w.bottom - 1);
        DrawLine(dc, z.right - 1, z.bottom - 1, w.right - 1, w.bottom - 1);
    }
    Symbol(s);
    SetBkMode(dc, OPAQUE);
}

// The opening symbol: two or four lines between points of the inner
// rectangle, pulled in by the pens' half-widths when they are wider than one
// pixel.
void WindowDrawer::Symbol(const strOperSkrzydlo& s) {
    const uniOperRys* op = (const uniOperRys*)&s;
    int32_t e = penWidths.falseMullion > 1 ? penWidths.falseMullion - 1 : 0;
    const strProst& w = s.wewnUrz;
    int L = w.left + HalfPenWidth(op, kSideLeft, &penWidths) + e / 2;
    int T = w.top + HalfPenWidth(op, kSideTop, &penWidths) + e / 2;
    int R = w.right - HalfPenWidth(op, kSideRight, &penWidths) - (e / 2 + e % 2);
    int B = w.bottom - HalfPenWidth(op, kSideBottom, &penWidths) - (e / 2 + e % 2);
    int cx = L + (R - L) / 2, cy = T + (B - T) / 2;
    bool prawa = s.stronaOtw == 1;
    bool daszek = false, wPrawo = false, wLewo = false;  // "^", ">", "<"
    ScopedSelect dotted(dc, ds->penDotted);
    switch (s.rodzOtw) {
        case 1:
            if (prawa) {
                daszek = true;
            } else {  // top hung: "V"
                DrawLine(dc, L + 1, T + 1, cx, B - 1);
                DrawLine(dc, R - 2, T + 1, cx, B - 1);
            }
            break;
        case 2: (prawa ? wLewo : wPrawo) = true; break;
        case 3:
            daszek = true;
            (prawa ? wLewo : wPrawo) = true;
            break;
        default: return;
    }
    if (daszek) {
        DrawLine(dc, L + 1, B - 2, cx, T);
        DrawLine(dc, R - 2, B - 2, cx, T);
    }
    if (wPrawo) {
        DrawLine(dc, L + 1, T + 1, R - 1, cy);
        DrawLine(dc, L + 1, B - 2, R - 1, cy);
    }
    if (wLewo) {
        DrawLine(dc, R - 2, T + 1, L, cy);
        DrawLine(dc, R - 2, B - 2, L, cy);
    }
}

// A filling colours its rectangle without covering what lies inside it: the
// only thing drawn there before is the opening symbol of the sash it sits
// in, which is drawn again, clipped to the filling. (Reading the pixels back
// would not work on a metafile or a printer.)
void WindowDrawer::DrawFilling(const strOperWypeln& w, int32_t indeks) {
    const strProst& p = w.prostUrz;
    char t[24] = "";
    int32_t nr = FillingNumber(drawOps, itemCount, indeks);
    if (nr > 0) snprintf(t, sizeof t, "(%d)", (int)nr);
    if (drawStyle != kStylePrintout) {
        if (p.right > p.left && p.bottom > p.top) {
            RECT r = {p.left, p.top, p.right, p.bottom};
            FillRect(dc, &r, w.typWypeln == 0 ? ds->brushGlass : ds->brushWhite);
            for (int k = 0; k < 4; k++) {
                int32_t b = w.ogr[k];
                if (b >= 0 && b < indeks && drawOps[b].typ == kOpSash) {
                    ScopedSaveDC zapis(dc);
                    IntersectClipRect(dc, p.left, p.top, p.right, p.bottom);
                    // The dotted symbol's gaps show the filling, not the background.
                    SetBkMode(dc, TRANSPARENT);
                    Symbol(drawOps[b].skrzydlo);
                    break;
                }
            }
        }
        if (drawStyle != kStyleCanvas) return;
    }
    if (!t[0]) return;
    ScopedSelect font(dc, ds->fontNormal);
    SetBkMode(dc, TRANSPARENT);
    TextAt(dc, p.right - 1 - TextSize(dc, t).cx, p.top + 1, t);
    SetBkMode(dc, OPAQUE);
}

void WindowDrawer::DrawMuntin(const strOperSzpros& s) {
    const strProst& p = s.prostUrz;
    ScopedSelect pen(dc, ds->penRed);
    ScopedSelect brush(dc, ds->brushRed);
    Rectangle(dc, p.left, p.top, p.right, p.bottom);
}

// ---- Dimension lines ---------------------------------------------------------

// A tick across a line: `k.tickBefore` pixels before it to `k.za` after (4 and 5
// at 96 dpi, 9 pixels).
struct TickLength {
    int tickBefore, za;
};

void DrawTick(HDC dc, const TickLength& k, bool poziomaLinia, int wzdluz, int przy) {
    if (poziomaLinia) DrawLine(dc, wzdluz, przy - k.tickBefore, wzdluz, przy + k.za);
    else DrawLine(dc, przy - k.tickBefore, wzdluz, przy + k.za, wzdluz);
}

// A dimension line from a to b (b exclusive) at `przy`, with its end ticks.
void DimensionLine(HDC dc, const TickLength& k, bool pozioma, int a, int b, int przy) {
    if (pozioma) DrawLine(dc, a, przy, b, przy);
    else DrawLine(dc, przy, a, przy, b);
    DrawTick(dc, k, pozioma, a, przy);
    DrawTick(dc, k, pozioma, b - 1, przy);
}

void DrawDimensionText(HDC dc, const strProst& r, bool pionowy, int32_t mm) {
    char t[16];
    DimensionText(mm, t);
    TextAt(dc, r.left, pionowy ? r.bottom : r.top, t);
}

void DrawDimensions(HDC dc, const uniOperRys* drawOps, int32_t liczba, const DimensionSet* w, const DrawSet* ds,
             int trybWym) {
    const strProst& z = drawOps[0].rama.zewnUrz;
    int32_t d1, d2;
    const bool ekran = trybWym == kDimensionsScreen;
    DimensionDistances(ekran, w->dpi, &d1, &d2);
    const TickLength k = {ekran ? ScreenPixels(4, w->dpi) : 4, ekran ? ScreenPixels(5, w->dpi) : 5};
    ScopedSelect black(dc, GetStockObject(BLACK_PEN));
    DimensionLine(dc, k, true, z.left, z.right, z.bottom + d1);
    {
        ScopedSelect font(dc, ds->fontNormal);
        DrawDimensionText(dc, w->widthText, false, drawOps[0].rama.x1);
    }
    DimensionLine(dc, k, false, z.top, z.bottom, z.right + d1);
    {
        ScopedSelect font(dc, ds->fontVertical);
        DrawDimensionText(dc, w->heightText, true, drawOps[0].rama.y1);
    }

    // The right and bottom chains in black, the left and top ones in red.
    static const int kolejnosc[4] = {kDimensionRight, kDimensionBottom, kDimensionLeft, kDimensionTop};
    for (int c : kolejnosc) {
        ScopedSelect red(dc, c == kDimensionLeft || c == kDimensionTop ? ds->penRed : nullptr);
        const int32_t n = w->itemCount[c];
        const strWym* t = w->chainSegments[c];
        if (n < 2 || !t) continue;
        bool pozioma = c == kDimensionBottom || c == kDimensionTop;
        int przy = c == kDimensionRight   ? z.right + d2
                   : c == kDimensionBottom ? z.bottom + d2
                   : c == kDimensionLeft  ? z.left - d2
                                    : z.top - d2;
        if (pozioma) DimensionLine(dc, k, true, z.left, z.right, przy);
        else DimensionLine(dc, k, false, z.top, z.bottom, przy);
        for (int32_t i = 0; i < n - 1; i++) {
            int32_t el = t[i].element;
            if (el <= 0 || el >= liczba) continue;
            const uniOperRys& op = drawOps[el];
            DrawTick(dc, k, pozioma, op.typ == kOpMuntin ? op.szpros.osUrz : op.slupek.osUrz, przy);
        }
        ScopedSelect font(dc, pozioma ? ds->fontNormal : ds->fontVertical);
        for (int32_t i = 0; i < n; i++) {
            // A zero segment (two elements in one place) has no text; the
            // last is always labelled so the chain ends with a number.
            if (t[i].dlugosc > 0 || i == n - 1) DrawDimensionText(dc, t[i].tekst, !pozioma, t[i].dlugosc);
        }
    }
}

}  // namespace

void DrawWindow(HDC hdc, const uniOperRys* drawOps, int32_t liczba, int32_t iProfSch, int32_t format,
               const DimensionSet* w, const DrawSet* ds, int styl, int trybWym) {
    if (!drawOps || liczba < 1 || drawOps[0].typ != kOpFrame) return;
    WindowDrawer r;
    r.dc = hdc;
    r.drawOps = drawOps;
    r.itemCount = liczba;
    r.ds = ds;
    r.drawStyle = styl;
    r.isWood = iProfSch == 1;
    if (styl == kStylePrintout) r.backgroundBrush = ds->brushWhite;
    else if (format == 0 || format == 2 || format == 5) r.backgroundBrush = ds->brushCanvas;
    else if (format == 1 || format == 3 || format == 4) r.backgroundBrush = ds->brushGreen;
    else r.backgroundBrush = ds->brushWhite;
    r.backgroundColour = BrushColour(r.backgroundBrush);
    DrawSetPenWidths(ds, &r.penWidths);
    LOGBRUSH lb = {BS_SOLID, RGB(255, 255, 255), 0};
    int32_t szerKonca = r.penWidths.rama > 1 ? r.penWidths.rama : 1;
    ScopedPen whiteEndsPen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, szerKonca, &lb, 0, nullptr));
    r.whiteEndsPen = whiteEndsPen;

    ScopedSaveDC zapis(hdc);  // before the pen above goes, every selection is put back
    SetBkMode(hdc, OPAQUE);
    SetBkColor(hdc, r.backgroundColour);
    SetTextColor(hdc, RGB(0, 0, 0));
    SetTextAlign(hdc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    ScopedSelect background(hdc, r.backgroundBrush);

    for (int32_t i = 0; i < liczba; i++) {
        const uniOperRys& op = drawOps[i];
        switch (op.typ) {
            case kOpFrame:
                if (i == 0) r.DrawFrame(op.rama, iProfSch);
                break;
            case kOpFixedMullion:
            case kOpFalseMullion: r.DrawMullion(op.slupek, i); break;
            case kOpSash: r.SashElement(op.skrzydlo); break;
            case kOpFilling: r.DrawFilling(op.wypeln, i); break;
            case kOpMuntin: r.DrawMuntin(op.szpros); break;
            default: break;
        }
    }
    if (w && (trybWym == kDimensionsScreen || trybWym == kDimensionsPrintout)) DrawDimensions(hdc, drawOps, liczba, w, ds, trybWym);
}

int DrawWindowInRect(HDC hdc, strOkno* okno, const RECT* cel, int margines, const DrawSet* ds, int styl,
                    int trybWym, char* msg) {
    int32_t format = StructureFormat(okno->status);
    if (!ComputeGeometry(okno->oper, okno->liczbaOper, format, okno, msg)) return 0;
    if (!LayOutWindowOnDevice(okno->oper, okno->liczbaOper, cel, margines, ds)) {
        KvMsg(msg, "The window does not fit the drawing area");
        return 0;
    }
    DimensionSet w;
    memset(&w, 0, sizeof w);
    if (trybWym != kDimensionsNone) {
        if (!BuildDimensions(okno->oper, okno->liczbaOper, &w, msg)) {
            FreeDimensions(&w);
            return 0;
        }
        LayOutDimensionTextsDC(hdc, ds, &w, okno->oper, okno->liczbaOper, trybWym == kDimensionsScreen);
    }
    DrawWindow(hdc, okno->oper, okno->liczbaOper, okno->iProfSch, format, &w, ds, styl, trybWym);
    FreeDimensions(&w);
    return 1;
}
