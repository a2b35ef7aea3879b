#include "render/drawing_win.h"

#include <stdio.h>
#include <string.h>

#include "model/structure.h"
#include "util/msgbuf.h"
#include "util/scoped_win.h"

static int32_t SzerPiora(HPEN pen) {
    LOGPEN lp;
    if (pen && GetObjectA(pen, sizeof lp, &lp) == (int)sizeof lp) return lp.lopnWidth.x;
    return 1;
}

void PioraZestawu(const DrawSet* ds, strPiora* p) {
    p->rama = SzerPiora(ds->penNavy);
    p->skrzydlo = SzerPiora(ds->penGreen);
    p->ruchomy = SzerPiora(ds->penDotted);
    p->szpros = SzerPiora(ds->penRed);
}

int RozmiescOknoNaUrz(uniOperRys* lista, int32_t liczba, const RECT* cel, int margines, const DrawSet* ds) {
    strPiora p;
    PioraZestawu(ds, &p);
    const strProst c = {(int32_t)cel->left, (int32_t)cel->top, (int32_t)cel->right, (int32_t)cel->bottom};
    return RozmiescOkno(lista, liczba, &c, margines, &p);
}

// ---- Dimension texts -------------------------------------------------------

namespace {

struct Miarka {
    HDC dc;
    const DrawSet* ds;
};

void MierzDC(void* ctx, int pionowy, const char* tekst, int32_t* dl, int32_t* wys) {
    Miarka* m = (Miarka*)ctx;
    ScopedSelect font(m->dc, pionowy ? m->ds->fontVertical : m->ds->fontNormal);
    SIZE sz = {0, 0};
    GetTextExtentPoint32A(m->dc, tekst, (int)strlen(tekst), &sz);
    *dl = sz.cx;
    *wys = sz.cy;
}

}  // namespace

void RozmiescTekstyWymiarowDC(HDC hdc, const DrawSet* ds, strWymiary* w, const uniOperRys* lista,
                              int32_t liczba, int ekran) {
    Miarka m = {hdc, ds};
    RozmiescTekstyWymiarow(w, lista, liczba, ekran, MierzDC, &m);
}

void RozmiescTekstyWymiarowOkna(HWND okno, const DrawSet* ds, strWymiary* w, const uniOperRys* lista,
                                int32_t liczba, int ekran) {
    ScopedWindowDC dc(okno);
    if (!dc) return;
    RozmiescTekstyWymiarowDC(dc, ds, w, lista, liczba, ekran);
}

// ---- Drawing ---------------------------------------------------------------

namespace {

COLORREF KolorPedzla(HBRUSH b) {
    LOGBRUSH lb;
    if (b && GetObjectA(b, sizeof lb, &lb) == (int)sizeof lb) return lb.lbColor;
    return RGB(255, 255, 255);
}

void Linia(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void Tekst(HDC dc, int x, int y, const char* t) { TextOutA(dc, x, y, t, (int)strlen(t)); }

SIZE Rozmiar(HDC dc, const char* t) {
    SIZE sz = {0, 0};
    GetTextExtentPoint32A(dc, t, (int)strlen(t), &sz);
    return sz;
}

// Everything one drawing needs.
struct Rysownik {
    HDC dc;
    const uniOperRys* lista;
    int32_t liczba;
    const DrawSet* ds;
    int styl;
    HBRUSH tlo;  // background brush (white in style 2)
    COLORREF kolorTla;
    strPiora piora;
    HPEN bialeKonce;  // white flat-capped pen that opens a mullion's ends
    bool drewno;      // profile type 1: butt joints instead of mitres

    void Rama(const strOperRama& r, int32_t iProfSch);
    void Slupek(const strOperSlupek& s, int32_t indeks);
    void Skrzydlo(const strOperSkrzydlo& s);
    void Symbol(const strOperSkrzydlo& s);
    void Wypeln(const strOperWypeln& w, int32_t indeks);
    void Szpros(const strOperSzpros& s);
};

void Rysownik::Rama(const strOperRama& r, int32_t iProfSch) {
    const strProst& z = r.zewnUrz;
    const strProst& w = r.wewnUrz;
    ScopedSelect pen(dc, ds->penNavy);
    {
        ScopedSelect white(dc, ds->brushWhite);
        Rectangle(dc, z.left, z.top, z.right, z.bottom);
    }
    ScopedSelect background(dc, tlo);
    Rectangle(dc, w.left, w.top, w.right, w.bottom);
    if (iProfSch == 1) {
        // Wood: the stiles run through, the rails butt against them.
        Linia(dc, w.left, z.top + 1, w.left, w.top);
        Linia(dc, w.right - 1, z.top + 1, w.right - 1, w.top);
        Linia(dc, w.left, z.bottom - 2, w.left, w.bottom - 1);
        Linia(dc, w.right - 1, z.bottom - 2, w.right - 1, w.bottom - 1);
    } else {
        Linia(dc, z.left + 1, z.top + 1, w.left, w.top);
        Linia(dc, z.right - 2, z.top + 1, w.right - 1, w.top);
        Linia(dc, z.left + 1, z.bottom - 2, w.left, w.bottom - 1);
        Linia(dc, z.right - 2, z.bottom - 2, w.right - 1, w.bottom - 1);
    }
    if (styl == kStylKanwa) {
        const char* nazwa = iProfSch == 0 ? "PVC" : iProfSch == 1 ? "Wood" : iProfSch == 2 ? "ALU" : "";
        RECT rr = {w.left + 1, z.top + 1, w.right - 1, w.top - 1};
        ScopedSelect font(dc, ds->fontNormal);
        SetBkColor(dc, RGB(255, 255, 255));
        DrawTextA(dc, nazwa, -1, &rr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SetBkColor(dc, kolorTla);
    }
}

void Rysownik::Slupek(const strOperSlupek& s, int32_t indeks) {
    const strProst& p = s.prostUrz;
    const uniOperRys& op = lista[indeks];
    {
        ScopedSelect pen(dc, s.typ == kOperSlupekStaly ? ds->penNavy : ds->penDotted);
        ScopedSelect white(dc, ds->brushWhite);
        Rectangle(dc, p.left, p.top, p.right, p.bottom);
    }
    // Open both ends: the outline of what the mullion meets runs on through.
    ScopedSelect ends(dc, bialeKonce);
    if (s.poziomy) {
        int y0 = p.top + 1 + PolSzerokosci(&op, kGora, &piora);
        int y1 = p.bottom - 1 - PolSzerokosci(&op, kDol, &piora);
        int xl = p.left + PolSzerokosci(&op, kLewa, &piora);
        int xr = p.right - 1 - PolSzerokosci(&op, kPrawa, &piora);
        if (y1 > y0) {
            Linia(dc, xl, y0, xl, y1);
            Linia(dc, xr, y0, xr, y1);
        }
    } else {
        int x0 = p.left + 1 + PolSzerokosci(&op, kLewa, &piora);
        int x1 = p.right - 1 - PolSzerokosci(&op, kPrawa, &piora);
        int yt = p.top + PolSzerokosci(&op, kGora, &piora);
        int yb = p.bottom - 1 - PolSzerokosci(&op, kDol, &piora);
        if (x1 > x0) {
            Linia(dc, x0, yt, x1, yt);
            Linia(dc, x0, yb, x1, yb);
        }
    }
    if (styl == kStylWydruk) {
        char t[16];
        int n = s.typ == kOperSlupekStaly ? 1 : 2;
        ScopedSelect font(dc, ds->fontNormal);
        if (s.poziomy) {
            snprintf(t, sizeof t, "  [%d]", n);
            Tekst(dc, p.left + 10, p.top - 1 - Rozmiar(dc, t).cy, t);
        } else {
            snprintf(t, sizeof t, "[%d]", n);
            Tekst(dc, p.right + 1, p.top + 10, t);
        }
    }
}

void Rysownik::Skrzydlo(const strOperSkrzydlo& s) {
    const strProst& z = s.zewnUrz;
    const strProst& w = s.wewnUrz;
    if (styl == kStylWydruk) SetBkMode(dc, TRANSPARENT);
    {
        ScopedSelect pen(dc, GetStockObject(WHITE_PEN));
        ScopedSelect brush(dc, styl == kStylWydruk ? GetStockObject(NULL_BRUSH) : (HGDIOBJ)ds->brushWhite);
        Rectangle(dc, z.left, z.top, z.right, z.bottom);
    }
    ScopedSelect pen(dc, ds->penGreen);
    ScopedSelect brush(dc, styl == kStylWydruk ? GetStockObject(NULL_BRUSH) : (HGDIOBJ)tlo);
    Rectangle(dc, w.left, w.top, w.right, w.bottom);
    if (drewno) {
        // Wood: the rails run through to the sash's outer sides.
        Linia(dc, z.left, w.top, w.left, w.top);
        Linia(dc, w.right, w.top, z.right, w.top);
        Linia(dc, z.left, w.bottom - 1, w.left, w.bottom - 1);
        Linia(dc, w.right, w.bottom - 1, z.right, w.bottom - 1);
    } else {
        Linia(dc, z.left, z.top, w.left, w.top);
        Linia(dc, z.right - 1, z.top, w.right - 1, w.top);
        Linia(dc, z.left, z.bottom - 1, w.left, w.bottom - 1);
        Linia(dc, z.right - 1, z.bottom - 1, w.right - 1, w.bottom - 1);
    }
    Symbol(s);
    SetBkMode(dc, OPAQUE);
}

// The opening symbol: two or four lines between points of the inner
// rectangle, pulled in by the pens' half-widths when they are wider than one
// pixel.
void Rysownik::Symbol(const strOperSkrzydlo& s) {
    const uniOperRys* op = (const uniOperRys*)&s;
    int32_t e = piora.ruchomy > 1 ? piora.ruchomy - 1 : 0;
    const strProst& w = s.wewnUrz;
    int L = w.left + PolSzerokosci(op, kLewa, &piora) + e / 2;
    int T = w.top + PolSzerokosci(op, kGora, &piora) + e / 2;
    int R = w.right - PolSzerokosci(op, kPrawa, &piora) - (e / 2 + e % 2);
    int B = w.bottom - PolSzerokosci(op, kDol, &piora) - (e / 2 + e % 2);
    int cx = L + (R - L) / 2, cy = T + (B - T) / 2;
    bool prawa = s.stronaOtw == 1;
    bool daszek = false, wPrawo = false, wLewo = false;  // "^", ">", "<"
    ScopedSelect dotted(dc, ds->penDotted);
    switch (s.rodzOtw) {
        case 1:
            if (prawa) {
                daszek = true;
            } else {  // top hung: "V"
                Linia(dc, L + 1, T + 1, cx, B - 1);
                Linia(dc, R - 2, T + 1, cx, B - 1);
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
        Linia(dc, L + 1, B - 2, cx, T);
        Linia(dc, R - 2, B - 2, cx, T);
    }
    if (wPrawo) {
        Linia(dc, L + 1, T + 1, R - 1, cy);
        Linia(dc, L + 1, B - 2, R - 1, cy);
    }
    if (wLewo) {
        Linia(dc, R - 2, T + 1, L, cy);
        Linia(dc, R - 2, B - 2, L, cy);
    }
}

// A filling colours its rectangle without covering what lies inside it: the
// only thing drawn there before is the opening symbol of the sash it sits
// in, which is drawn again, clipped to the filling. (Reading the pixels back
// would not work on a metafile or a printer.)
void Rysownik::Wypeln(const strOperWypeln& w, int32_t indeks) {
    const strProst& p = w.prostUrz;
    char t[24] = "";
    int32_t nr = NumerWypeln(lista, liczba, indeks);
    if (nr > 0) snprintf(t, sizeof t, "(%d)", (int)nr);
    if (styl != kStylWydruk) {
        if (p.right > p.left && p.bottom > p.top) {
            RECT r = {p.left, p.top, p.right, p.bottom};
            FillRect(dc, &r, w.typWypeln == 0 ? ds->brushGlass : ds->brushWhite);
            for (int k = 0; k < 4; k++) {
                int32_t b = w.ogr[k];
                if (b >= 0 && b < indeks && lista[b].typ == kOperSkrzydlo) {
                    ScopedSaveDC zapis(dc);
                    IntersectClipRect(dc, p.left, p.top, p.right, p.bottom);
                    // The dotted symbol's gaps show the filling, not the background.
                    SetBkMode(dc, TRANSPARENT);
                    Symbol(lista[b].skrzydlo);
                    break;
                }
            }
        }
        if (styl != kStylKanwa) return;
    }
    if (!t[0]) return;
    ScopedSelect font(dc, ds->fontNormal);
    SetBkMode(dc, TRANSPARENT);
    Tekst(dc, p.right - 1 - Rozmiar(dc, t).cx, p.top + 1, t);
    SetBkMode(dc, OPAQUE);
}

void Rysownik::Szpros(const strOperSzpros& s) {
    const strProst& p = s.prostUrz;
    ScopedSelect pen(dc, ds->penRed);
    ScopedSelect brush(dc, ds->brushRed);
    Rectangle(dc, p.left, p.top, p.right, p.bottom);
}

// ---- Dimension lines ---------------------------------------------------------

// A tick across a line: `k.przed` pixels before it to `k.za` after (4 and 5
// at 96 dpi, 9 pixels).
struct DlKreski {
    int przed, za;
};

void Kreska(HDC dc, const DlKreski& k, bool poziomaLinia, int wzdluz, int przy) {
    if (poziomaLinia) Linia(dc, wzdluz, przy - k.przed, wzdluz, przy + k.za);
    else Linia(dc, przy - k.przed, wzdluz, przy + k.za, wzdluz);
}

// A dimension line from a to b (b exclusive) at `przy`, with its end ticks.
void LiniaWymiaru(HDC dc, const DlKreski& k, bool pozioma, int a, int b, int przy) {
    if (pozioma) Linia(dc, a, przy, b, przy);
    else Linia(dc, przy, a, przy, b);
    Kreska(dc, k, pozioma, a, przy);
    Kreska(dc, k, pozioma, b - 1, przy);
}

void TekstWym(HDC dc, const strProst& r, bool pionowy, int32_t mm) {
    char t[16];
    TekstWymiaru(mm, t);
    Tekst(dc, r.left, pionowy ? r.bottom : r.top, t);
}

void Wymiary(HDC dc, const uniOperRys* lista, int32_t liczba, const strWymiary* w, const DrawSet* ds,
             int trybWym) {
    const strProst& z = lista[0].rama.zewnUrz;
    int32_t d1, d2;
    const bool ekran = trybWym == kWymEkran;
    OdstepyWymiarow(ekran, w->dpi, &d1, &d2);
    const DlKreski k = {ekran ? PikseleEkranu(4, w->dpi) : 4, ekran ? PikseleEkranu(5, w->dpi) : 5};
    ScopedSelect black(dc, GetStockObject(BLACK_PEN));
    LiniaWymiaru(dc, k, true, z.left, z.right, z.bottom + d1);
    {
        ScopedSelect font(dc, ds->fontNormal);
        TekstWym(dc, w->tekstSzer, false, lista[0].rama.x1);
    }
    LiniaWymiaru(dc, k, false, z.top, z.bottom, z.right + d1);
    {
        ScopedSelect font(dc, ds->fontVertical);
        TekstWym(dc, w->tekstWys, true, lista[0].rama.y1);
    }

    // The right and bottom chains in black, the left and top ones in red.
    static const int kolejnosc[4] = {kWymPrawy, kWymDolny, kWymLewy, kWymGorny};
    for (int c : kolejnosc) {
        ScopedSelect red(dc, c == kWymLewy || c == kWymGorny ? ds->penRed : nullptr);
        const int32_t n = w->liczba[c];
        const strWym* t = w->wym[c];
        if (n < 2 || !t) continue;
        bool pozioma = c == kWymDolny || c == kWymGorny;
        int przy = c == kWymPrawy   ? z.right + d2
                   : c == kWymDolny ? z.bottom + d2
                   : c == kWymLewy  ? z.left - d2
                                    : z.top - d2;
        if (pozioma) LiniaWymiaru(dc, k, true, z.left, z.right, przy);
        else LiniaWymiaru(dc, k, false, z.top, z.bottom, przy);
        for (int32_t i = 0; i < n - 1; i++) {
            int32_t el = t[i].element;
            if (el <= 0 || el >= liczba) continue;
            const uniOperRys& op = lista[el];
            Kreska(dc, k, pozioma, op.typ == kOperSzpros ? op.szpros.osUrz : op.slupek.osUrz, przy);
        }
        ScopedSelect font(dc, pozioma ? ds->fontNormal : ds->fontVertical);
        for (int32_t i = 0; i < n; i++) {
            // A zero segment (two elements in one place) has no text; the
            // last is always labelled so the chain ends with a number.
            if (t[i].dlugosc > 0 || i == n - 1) TekstWym(dc, t[i].tekst, !pozioma, t[i].dlugosc);
        }
    }
}

}  // namespace

void RysujOkno(HDC hdc, const uniOperRys* lista, int32_t liczba, int32_t iProfSch, int32_t format,
               const strWymiary* w, const DrawSet* ds, int styl, int trybWym) {
    if (!lista || liczba < 1 || lista[0].typ != kOperRama) return;
    Rysownik r;
    r.dc = hdc;
    r.lista = lista;
    r.liczba = liczba;
    r.ds = ds;
    r.styl = styl;
    r.drewno = iProfSch == 1;
    if (styl == kStylWydruk) r.tlo = ds->brushWhite;
    else if (format == 0 || format == 2 || format == 5) r.tlo = ds->brushCanvas;
    else if (format == 1 || format == 3 || format == 4) r.tlo = ds->brushGreen;
    else r.tlo = ds->brushWhite;
    r.kolorTla = KolorPedzla(r.tlo);
    PioraZestawu(ds, &r.piora);
    LOGBRUSH lb = {BS_SOLID, RGB(255, 255, 255), 0};
    int32_t szerKonca = r.piora.rama > 1 ? r.piora.rama : 1;
    ScopedPen bialeKonce(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, szerKonca, &lb, 0, nullptr));
    r.bialeKonce = bialeKonce;

    ScopedSaveDC zapis(hdc);  // before the pen above goes, every selection is put back
    SetBkMode(hdc, OPAQUE);
    SetBkColor(hdc, r.kolorTla);
    SetTextColor(hdc, RGB(0, 0, 0));
    SetTextAlign(hdc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    ScopedSelect background(hdc, r.tlo);

    for (int32_t i = 0; i < liczba; i++) {
        const uniOperRys& op = lista[i];
        switch (op.typ) {
            case kOperRama:
                if (i == 0) r.Rama(op.rama, iProfSch);
                break;
            case kOperSlupekStaly:
            case kOperSlupekRuch: r.Slupek(op.slupek, i); break;
            case kOperSkrzydlo: r.Skrzydlo(op.skrzydlo); break;
            case kOperWypeln: r.Wypeln(op.wypeln, i); break;
            case kOperSzpros: r.Szpros(op.szpros); break;
            default: break;
        }
    }
    if (w && (trybWym == kWymEkran || trybWym == kWymWydruk)) Wymiary(hdc, lista, liczba, w, ds, trybWym);
}

int RysujOknoWProst(HDC hdc, strOkno* okno, const RECT* cel, int margines, const DrawSet* ds, int styl,
                    int trybWym, char* msg) {
    int32_t format = FormatStruktury(okno->status);
    if (!ObliczGeometrie(okno->oper, okno->liczbaOper, format, okno, msg)) return 0;
    if (!RozmiescOknoNaUrz(okno->oper, okno->liczbaOper, cel, margines, ds)) {
        KvMsg(msg, "The window does not fit the drawing area");
        return 0;
    }
    strWymiary w;
    memset(&w, 0, sizeof w);
    if (trybWym != kWymBrak) {
        if (!BudujWymiary(okno->oper, okno->liczbaOper, &w, msg)) {
            ZwolnijWymiary(&w);
            return 0;
        }
        RozmiescTekstyWymiarowDC(hdc, ds, &w, okno->oper, okno->liczbaOper, trybWym == kWymEkran);
    }
    RysujOkno(hdc, okno->oper, okno->liczbaOper, okno->iProfSch, format, &w, ds, styl, trybWym);
    ZwolnijWymiary(&w);
    return 1;
}
