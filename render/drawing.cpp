#include "render/drawing.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include "util/heap.h"
#include "util/msgbuf.h"

static bool JestSlupek(const uniOperRys* op) {
    return op->typ == kOperSlupekStaly || op->typ == kOperSlupekRuch;
}

static int32_t SzerPiora(const uniOperRys* op, const strPiora* p) {
    switch (op->typ) {
        case kOperRama:
        case kOperSlupekStaly: return p->rama;
        case kOperSlupekRuch: return p->ruchomy;
        case kOperSkrzydlo: return p->skrzydlo;
        case kOperSzpros: return p->szpros;
        default: return 0;
    }
}

static int32_t Nadmiar(int32_t szer) { return szer > 1 ? szer - 1 : 0; }

int32_t PolSzerokosci(const uniOperRys* op, int32_t strona, const strPiora* piora) {
    int32_t e = Nadmiar(SzerPiora(op, piora));
    return (strona == kLewa || strona == kGora) ? e / 2 : e / 2 + e % 2;
}

// ---- Placement -------------------------------------------------------------

int UstalSkale(int32_t W, int32_t H, const strProst* cel, int32_t margines, strSkala* sk) {
    if (W <= 0 || H <= 0) return 0;
    int64_t szer = (int64_t)cel->right - cel->left - 2 * (int64_t)margines;
    int64_t wys = (int64_t)cel->bottom - cel->top - 2 * (int64_t)margines;
    if (szer <= 0 || wys <= 0) return 0;
    double sx = (double)szer / W, sy = (double)wys / H;
    sk->s = sx < sy ? sx : sy;
    sk->W = W;
    sk->H = H;
    sk->srodekX = (int32_t)(cel->left + ((int64_t)cel->right - cel->left) / 2);
    sk->srodekY = (int32_t)(cel->top + ((int64_t)cel->bottom - cel->top) / 2);
    return 1;
}

// A stored window may hold any numbers; converting a double outside int32 is
// undefined, so clamp first.
static int32_t Obetnij(double v) {
    if (!(v > -2147483648.0)) return INT32_MIN;
    if (v >= 2147483647.0) return INT32_MAX;
    return (int32_t)v;  // truncation toward zero
}

int32_t MmNaUrzX(const strSkala* sk, int32_t X) {
    return Obetnij(((double)X - sk->W / 2) * sk->s + sk->srodekX);
}

int32_t MmNaUrzY(const strSkala* sk, int32_t Y) {
    return Obetnij(((double)Y - sk->H / 2) * sk->s + sk->srodekY);
}

static strProst MapujProst(const strSkala* sk, const strProst& p) {
    return strProst{MmNaUrzX(sk, p.left), MmNaUrzY(sk, p.top), MmNaUrzX(sk, p.right), MmNaUrzY(sk, p.bottom)};
}

static int32_t Przeciwna(int32_t strona) { return (strona + 2) & 3; }

static int32_t& Bok(strProst& p, int32_t strona) {
    switch (strona) {
        case kLewa: return p.left;
        case kGora: return p.top;
        case kPrawa: return p.right;
        default: return p.bottom;
    }
}

// Moves side `strona` of a device rectangle inward by d pixels.
static void Wciagnij(strProst& p, int32_t strona, int32_t d) {
    if (strona == kLewa || strona == kGora) Bok(p, strona) += d;
    else Bok(p, strona) -= d;
}

// Places a mullion (own half-widths count) or a muntin (they do not); `dosc`
// tells which bound types meet it without an overlapping outline.
static void RozmiescListwe(uniOperRys* lista, int32_t i, int32_t ogrPocz, int32_t ogrKon, bool poziomy,
                           const strProst& mm, strProst* urz, int32_t* os, bool szpros, const strSkala* sk,
                           const strPiora* piora) {
    strProst p = MapujProst(sk, mm);
    const int32_t pocz = poziomy ? kLewa : kGora, kon = poziomy ? kPrawa : kDol;
    const int32_t ogr[2] = {ogrPocz, ogrKon};
    const int32_t strony[2] = {pocz, kon};
    for (int k = 0; k < 2; k++) {
        const uniOperRys* b = &lista[ogr[k]];
        bool styk = JestSlupek(b) || (szpros && b->typ == kOperSzpros);
        int32_t d = styk ? 0 : 1;
        d += PolSzerokosci(b, Przeciwna(strony[k]), piora);
        if (!szpros) d += PolSzerokosci(&lista[i], strony[k], piora);
        Wciagnij(p, strony[k], d);
    }
    *urz = p;
    *os = poziomy ? (int32_t)(((int64_t)p.top + p.bottom) / 2) : (int32_t)(((int64_t)p.left + p.right) / 2);
}

static bool OgrOk(int32_t ogr, int32_t i) { return ogr >= 0 && ogr < i; }

int RozmiescOkno(uniOperRys* lista, int32_t liczba, const strProst* cel, int32_t margines,
                 const strPiora* piora) {
    if (!lista || liczba < 1 || lista[0].typ != kOperRama) return 0;
    strOperRama& rama = lista[0].rama;
    strSkala sk;
    if (!UstalSkale(rama.x1, rama.y1, cel, margines, &sk)) return 0;
    for (int32_t i = 0; i < liczba; i++) {
        uniOperRys& op = lista[i];
        switch (op.typ) {
            case kOperRama:
                if (i != 0) break;
                op.rama.zewnUrz = MapujProst(&sk, strProst{op.rama.x0, op.rama.y0, op.rama.x1, op.rama.y1});
                op.rama.wewnUrz = MapujProst(&sk, op.rama.wewn);
                break;
            case kOperSlupekStaly:
            case kOperSlupekRuch: {
                strOperSlupek& s = op.slupek;
                if (!OgrOk(s.ogrPocz, i) || !OgrOk(s.ogrKon, i)) break;
                RozmiescListwe(lista, i, s.ogrPocz, s.ogrKon, s.poziomy != 0, s.prost, &s.prostUrz, &s.osUrz,
                               false, &sk, piora);
                break;
            }
            case kOperSzpros: {
                strOperSzpros& s = op.szpros;
                if (!OgrOk(s.ogrPocz, i) || !OgrOk(s.ogrKon, i)) break;
                RozmiescListwe(lista, i, s.ogrPocz, s.ogrKon, s.poziomy != 0, s.prost, &s.prostUrz, &s.osUrz,
                               true, &sk, piora);
                break;
            }
            case kOperSkrzydlo: {
                strOperSkrzydlo& s = op.skrzydlo;
                bool ok = true;
                for (int32_t k = 0; k < 4; k++) ok = ok && OgrOk(s.ogr[k], i);
                if (!ok) break;
                strProst p = MapujProst(&sk, s.zewn);
                for (int32_t k = 0; k < 4; k++) {
                    const uniOperRys* b = &lista[s.ogr[k]];
                    int32_t d = JestSlupek(b) ? 0 : 1;
                    d += PolSzerokosci(b, Przeciwna(k), piora) + PolSzerokosci(&op, k, piora);
                    Wciagnij(p, k, d);
                }
                s.zewnUrz = p;
                s.wewnUrz = MapujProst(&sk, s.wewn);
                break;
            }
            case kOperWypeln: {
                strOperWypeln& w = op.wypeln;
                bool ok = true;
                for (int32_t k = 0; k < 4; k++) ok = ok && OgrOk(w.ogr[k], i);
                if (!ok) break;
                strProst p = MapujProst(&sk, w.prost);
                for (int32_t k = 0; k < 4; k++) {
                    const uniOperRys* b = &lista[w.ogr[k]];
                    Wciagnij(p, k, (JestSlupek(b) ? 0 : 1) + PolSzerokosci(b, Przeciwna(k), piora));
                }
                w.prostUrz = p;
                break;
            }
            default: break;
        }
    }
    return 1;
}

int UrzNaMm(int32_t x, int32_t y, int32_t W, int32_t H, const strProst* cel, int32_t margines, int32_t* X,
            int32_t* Y) {
    strSkala sk;
    if (!UstalSkale(W, H, cel, margines, &sk)) return 0;
    // Millimetres per pixel: the larger of W / width and H / height, divided
    // from the integers themselves. 1 / s is the same number mathematically
    // but rounds twice, and a point near a millimetre boundary could then
    // land on the neighbouring millimetre.
    const double szer = (double)((int64_t)cel->right - cel->left - 2 * (int64_t)margines);
    const double wys = (double)((int64_t)cel->bottom - cel->top - 2 * (int64_t)margines);
    const double qx = (double)W / szer, qy = (double)H / wys;
    const double q = qx > qy ? qx : qy;
    *X = Obetnij(((double)x - sk.srodekX) * q + W / 2);
    *Y = Obetnij(((double)y - sk.srodekY) * q + H / 2);
    return 1;
}

// ---- Dimension set ---------------------------------------------------------

// Which chain an element belongs to, or -1.
static int Lancuch(const uniOperRys* op) {
    if (JestSlupek(op)) return op->slupek.poziomy ? kWymPrawy : kWymDolny;
    if (op->typ == kOperSzpros) return op->szpros.poziomy ? kWymLewy : kWymGorny;
    return -1;
}

static int32_t Pozycja(const uniOperRys* lista, int32_t i) {
    return lista[i].typ == kOperSzpros ? lista[i].szpros.poz : lista[i].slupek.poz;
}

// Quicksort of the chain's records by the position of their element, middle
// element as pivot. It recurses into the shorter part only, so a chain of
// equal positions cannot run the stack deep.
static void Sortuj(strWym* w, int32_t lo, int32_t hi, const uniOperRys* lista, bool rosnaco) {
    while (lo < hi) {
        int32_t piv = Pozycja(lista, w[lo + (hi - lo) / 2].element);
        int32_t i = lo, j = hi;
        while (i <= j) {
            if (rosnaco) {
                while (Pozycja(lista, w[i].element) < piv) i++;
                while (Pozycja(lista, w[j].element) > piv) j--;
            } else {
                while (Pozycja(lista, w[i].element) > piv) i++;
                while (Pozycja(lista, w[j].element) < piv) j--;
            }
            if (i <= j) {
                strWym t = w[i];
                w[i] = w[j];
                w[j] = t;
                i++;
                j--;
            }
        }
        if (j - lo < hi - i) {
            Sortuj(w, lo, j, lista, rosnaco);
            lo = i;
        } else {
            Sortuj(w, i, hi, lista, rosnaco);
            hi = j;
        }
    }
}

static int32_t Dlugosc(int64_t v) {
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : (int32_t)v;
}

int BudujWymiary(const uniOperRys* lista, int32_t liczba, strWymiary* w, char* msg) {
    if (!lista || liczba < 1 || lista[0].typ != kOperRama) {
        ZwolnijWymiary(w);
        return 1;
    }
    const int64_t W = lista[0].rama.x1, H = lista[0].rama.y1;
    for (int c = 0; c < kWymLancuchow; c++) {
        int32_t k = 0;
        for (int32_t i = 1; i < liczba; i++) k += Lancuch(&lista[i]) == c;
        if (k == 0) {
            KvFree(w->wym[c]);
            w->wym[c] = nullptr;
            w->liczba[c] = 0;
            continue;
        }
        strWym* t = (strWym*)KvRealloc(w->wym[c], (size_t)(k + 1) * sizeof(strWym));
        if (!t) {
            KvMsg(msg, w->wym[c] ? "Error of reallocation the table of strWym structures"
                                 : "Error of allocation the table of strWym structures");
            return 0;
        }
        w->wym[c] = t;
        w->liczba[c] = k + 1;
        memset(t, 0, (size_t)(k + 1) * sizeof(strWym));
        int32_t n = 0;
        for (int32_t i = 1; i < liczba; i++) {
            if (Lancuch(&lista[i]) == c) t[n++].element = i;
        }
        bool rosnaco = c == kWymDolny || c == kWymGorny;
        Sortuj(t, 0, k - 1, lista, rosnaco);
        t[k] = t[k - 1];
        if (rosnaco) {
            t[0].dlugosc = Dlugosc(Pozycja(lista, t[0].element));
            for (int32_t i = 1; i < k; i++)
                t[i].dlugosc =
                    Dlugosc((int64_t)Pozycja(lista, t[i].element) - Pozycja(lista, t[i - 1].element));
            t[k].dlugosc = Dlugosc(W - Pozycja(lista, t[k - 1].element));
        } else {
            t[0].dlugosc = Dlugosc(H - Pozycja(lista, t[0].element));
            for (int32_t i = 1; i < k; i++)
                t[i].dlugosc =
                    Dlugosc((int64_t)Pozycja(lista, t[i - 1].element) - Pozycja(lista, t[i].element));
            t[k].dlugosc = Dlugosc(Pozycja(lista, t[k - 1].element));
        }
    }
    return 1;
}

void ZwolnijWymiary(strWymiary* w) {
    for (int c = 0; c < kWymLancuchow; c++) {
        KvFree(w->wym[c]);
        w->wym[c] = nullptr;
        w->liczba[c] = 0;
    }
    w->tekstSzer = strProst{0, 0, 0, 0};
    w->tekstWys = strProst{0, 0, 0, 0};
}

int32_t PikseleEkranu(int32_t px, int32_t dpi) {
    if (dpi <= 0 || dpi == 96) return px;
    const int64_t v = (int64_t)px * dpi;
    return (int32_t)(v >= 0 ? (v + 48) / 96 : (v - 48) / 96);
}

void OdstepyWymiarow(int ekran, int32_t dpi, int32_t* d1, int32_t* d2) {
    *d1 = ekran ? PikseleEkranu(30, dpi) : 28;
    *d2 = ekran ? PikseleEkranu(15, dpi) : 14;
}

void TekstWymiaru(int32_t mm, char tekst[16]) { snprintf(tekst, 16, "%d", (int)mm); }

static int32_t Os(const uniOperRys* op) {
    return op->typ == kOperSzpros ? op->szpros.osUrz : op->slupek.osUrz;
}

// A horizontal text of length `dl` centred between a and b, with its top at `gora`.
static strProst Poziomy(int32_t a, int32_t b, int32_t gora, int32_t dl, int32_t wys) {
    int32_t lewa = (int32_t)(((int64_t)a + b) / 2 - dl / 2);
    return strProst{lewa, gora, lewa + dl, gora + wys};
}

// A vertical text (running upward) centred between a and b, its left at `lewa`.
static strProst Pionowy(int32_t a, int32_t b, int32_t lewa, int32_t dl, int32_t wys) {
    int32_t gora = (int32_t)(((int64_t)a + b) / 2 - dl / 2);
    return strProst{lewa, gora, lewa + wys, gora + dl};
}

void RozmiescTekstyWymiarow(strWymiary* w, const uniOperRys* lista, int32_t liczba, int ekran,
                            MierzTekstFn mierz, void* ctx) {
    if (!lista || liczba < 1 || lista[0].typ != kOperRama) return;
    const strProst z = lista[0].rama.zewnUrz;
    int32_t d1, d2;
    OdstepyWymiarow(ekran, w->dpi, &d1, &d2);
    char tekst[16];
    int32_t dl = 0, wys = 0;

    TekstWymiaru(lista[0].rama.x1, tekst);
    mierz(ctx, 0, tekst, &dl, &wys);
    w->tekstSzer = Poziomy(z.left, z.right, z.bottom + d1 + 1, dl, wys);
    TekstWymiaru(lista[0].rama.y1, tekst);
    mierz(ctx, 1, tekst, &dl, &wys);
    w->tekstWys = Pionowy(z.top, z.bottom, z.right + d1 + 1, dl, wys);

    for (int c = 0; c < kWymLancuchow; c++) {
        const int32_t n = w->liczba[c];
        strWym* t = w->wym[c];
        if (n < 2 || !t) continue;
        const bool poziomyLanc = c == kWymDolny || c == kWymGorny;
        // Segments run from the left edge (bottom and top chains) or from the
        // bottom edge (right and left chains) to the opposite one.
        int32_t poprz = poziomyLanc ? z.left : z.bottom;
        for (int32_t i = 0; i < n; i++) {
            int32_t nast;
            if (i < n - 1 && t[i].element > 0 && t[i].element < liczba) nast = Os(&lista[t[i].element]);
            else nast = poziomyLanc ? z.right : z.top;
            TekstWymiaru(t[i].dlugosc, tekst);
            // Every segment's text is vertical but the overall width's.
            mierz(ctx, 1, tekst, &dl, &wys);
            switch (c) {
                case kWymDolny: t[i].tekst = Poziomy(poprz, nast, z.bottom + d2 + 1, dl, wys); break;
                case kWymGorny: t[i].tekst = Poziomy(poprz, nast, z.top - d2 + 1, dl, wys); break;
                case kWymPrawy: t[i].tekst = Pionowy(poprz, nast, z.right + d2 + 1, dl, wys); break;
                default: t[i].tekst = Pionowy(poprz, nast, z.left - d2 + 1, dl, wys); break;
            }
            poprz = nast;
        }
    }
}
