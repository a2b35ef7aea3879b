// Element geometry, areas, insertion rules, the change check and deletion.
//
// An operation list read from a damaged or foreign database can hold any
// bit pattern, so nothing here follows an index before checking that it
// names an earlier element: a sound list only ever refers backwards, which
// also keeps every walk over it finite.
#include "model/structure.h"

#include <string.h>

#include "util/heap.h"
#include "util/msgbuf.h"
#include "util/platform.h"

namespace {

bool JestSlupek(uint32_t t) { return t == kOperSlupekStaly || t == kOperSlupekRuch; }

int32_t Bok(const strProst& r, int32_t s) {
    switch (s) {
        case kLewa: return r.left;
        case kGora: return r.top;
        case kPrawa: return r.right;
        default: return r.bottom;
    }
}

void UstawBok(strProst& r, int32_t s, int32_t v) {
    switch (s) {
        case kLewa: r.left = v; break;
        case kGora: r.top = v; break;
        case kPrawa: r.right = v; break;
        default: r.bottom = v; break;
    }
}

int32_t Przeciwny(int32_t s) { return (s + 2) & 3; }

// Facing edge, mm, of bounding element b for what it bounds on side s.
int32_t Krawedz(const uniOperRys& b, int32_t s) {
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
int32_t KrawedzUrz(const uniOperRys& b, int32_t s) {
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
bool Wczesniejszy(int32_t idx, int32_t j) { return idx >= 0 && idx < j; }

bool W32(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

// Bound type masks of the geometry pass.
uint32_t Bit(uint32_t t) { return t < 32 ? 1u << t : 0; }
const uint32_t kOgrSlupka =
    (1u << kOperRama) | (1u << kOperSlupekStaly) | (1u << kOperSlupekRuch) | (1u << kOperSkrzydlo);
const uint32_t kOgrWypeln =
    (1u << kOperRama) | (1u << kOperSlupekStaly) | (1u << kOperSzpros) | (1u << kOperSkrzydlo);
const uint32_t kOgrSzprosu = kOgrSlupka | (1u << kOperSzpros);

bool OgrOk(const uniOperRys* lista, int32_t j, int32_t idx, uint32_t maska) {
    return Wczesniejszy(idx, j) && (Bit(lista[idx].typ) & maska) != 0;
}

// Failures of structure building, written out only when reported.
enum Blad {
    kBrak = 0,
    kBladAlokacji,
    kBladStruktury,
    kBladRamy,
    kBladSlupka,
    kBladSkrzydla,
    kBladWypeln,
    kBladSzprosu,
};

void PiszBlad(int blad, char* msg) {
    switch (blad) {
        case kBladAlokacji: KvMsg(msg, "Error of allocation the table of strObsOkno structures"); break;
        case kBladStruktury: KvMsg(msg, "Wrong structure of the window"); break;
        case kBladRamy: KvMsg(msg, "Wrong structure of the window\r\nIncorrect frame"); break;
        case kBladSlupka: KvMsg(msg, "Wrong structure of the window\r\nIncorrect mullion"); break;
        case kBladSkrzydla: KvMsg(msg, "Wrong structure of the window\r\nIncorrect sash"); break;
        case kBladWypeln: KvMsg(msg, "Wrong structure of the window\r\nIncorrect filling"); break;
        case kBladSzprosu: KvMsg(msg, "Wrong structure of the window\r\nIncorrect muntin"); break;
        default: break;
    }
}

// Whether element j can take part in a structure at all: element 0 is the
// one frame, and every index it holds names an earlier element (a muntin's
// filling index an earlier filling). Geometry is not looked at.
int ZbadajElement(const uniOperRys* lista, int32_t j) {
    const uniOperRys& op = lista[j];
    if (j == 0 && op.typ != kOperRama) return kBladStruktury;
    switch (op.typ) {
        case kOperRama:
            if (j != 0) return kBladRamy;
            if ((int64_t)op.rama.x1 - op.rama.x0 <= 0 || (int64_t)op.rama.y1 - op.rama.y0 <= 0)
                return kBladRamy;
            return kBrak;
        case kOperSlupekStaly:
        case kOperSlupekRuch:
            return Wczesniejszy(op.slupek.ogrPocz, j) && Wczesniejszy(op.slupek.ogrKon, j) ? kBrak
                                                                                           : kBladSlupka;
        case kOperSkrzydlo:
            for (int32_t s = 0; s < 4; s++)
                if (!Wczesniejszy(op.skrzydlo.ogr[s], j)) return kBladSkrzydla;
            return kBrak;
        case kOperWypeln:
            for (int32_t s = 0; s < 4; s++)
                if (!Wczesniejszy(op.wypeln.ogr[s], j)) return kBladWypeln;
            return kBrak;
        case kOperSzpros:
            if (!Wczesniejszy(op.szpros.ogrPocz, j) || !Wczesniejszy(op.szpros.ogrKon, j))
                return kBladSzprosu;
            if (!Wczesniejszy(op.szpros.wypeln, j) || lista[op.szpros.wypeln].typ != kOperWypeln)
                return kBladSzprosu;
            return kBrak;
        default: return kBrak;
    }
}

// A structure under construction, one element at a time. The change check
// keeps two of these (muntins dividing and not) and advances them together
// instead of rebuilding every prefix of the list; a failure is remembered so
// that it is reported exactly where a fresh build would report it.
struct Budowa {
    strObsOkno* tab = nullptr;
    int32_t liczba = 0;
    int32_t pojemnosc = 0;
    bool szprosyDziela = false;
    int blad = kBrak;
};

bool Dzieli(uint32_t typ, bool szprosyDziela) {
    return JestSlupek(typ) || (typ == kOperSzpros && szprosyDziela);
}

int32_t Pojemnosc(const uniOperRys* lista, int32_t n, bool szprosyDziela) {
    int32_t c = 0;
    for (int32_t j = 0; j < n; j++)
        if (lista[j].typ == kOperRama || Dzieli(lista[j].typ, szprosyDziela)) c++;
    return c;
}

// Divides the area that element j (a mullion or muntin) lies in.
int Podziel(Budowa& b, const uniOperRys& op, int32_t j, int bladBrakuObszaru) {
    if (b.liczba >= b.pojemnosc) return kBladStruktury;
    int32_t i = ObszarPodzialu(&op, b.tab, b.liczba);
    if (i < 0) return bladBrakuObszaru;
    const bool poziomy = op.typ == kOperSzpros ? op.szpros.poziomy != 0 : op.slupek.poziomy != 0;
    const int32_t poz = op.typ == kOperSzpros ? op.szpros.poz : op.slupek.poz;
    strObsOkno& stary = b.tab[i];
    strObsOkno& nowy = b.tab[b.liczba++];
    nowy = stary;
    const int32_t koniec = poziomy ? kDol : kPrawa;
    const int32_t pocz = poziomy ? kGora : kLewa;
    stary.ogr[koniec] = j;
    stary.os[koniec] = poz;
    nowy.ogr[pocz] = j;
    nowy.os[pocz] = poz;
    return kBrak;
}

int Zastosuj(Budowa& b, const uniOperRys* lista, int32_t j) {
    if (b.blad) return b.blad;
    int blad = ZbadajElement(lista, j);
    if (!blad) {
        const uniOperRys& op = lista[j];
        switch (op.typ) {
            case kOperRama: {
                strObsOkno& o = b.tab[0];
                memset(&o, 0, sizeof o);
                o.os[kLewa] = op.rama.x0;
                o.os[kGora] = op.rama.y0;
                o.os[kPrawa] = op.rama.x1;
                o.os[kDol] = op.rama.y1;
                b.liczba = 1;
                break;
            }
            case kOperSlupekStaly:
            case kOperSlupekRuch: blad = Podziel(b, op, j, kBladSlupka); break;
            case kOperSkrzydlo: {
                int32_t i = ObszarOgraniczony(&op, b.tab, b.liczba);
                if (i < 0) {
                    blad = kBladSkrzydla;
                    break;
                }
                for (int32_t s = 0; s < 4; s++) b.tab[i].ogr[s] = j;
                break;
            }
            case kOperWypeln: {
                int32_t i = ObszarOgraniczony(&op, b.tab, b.liczba);
                if (i < 0) {
                    blad = kBladWypeln;
                    break;
                }
                b.tab[i].wypelniony = 1;
                b.tab[i].wypeln = j;
                break;
            }
            case kOperSzpros:
                if (b.szprosyDziela) blad = Podziel(b, op, j, kBladSzprosu);
                break;
            default: break;
        }
    }
    b.blad = blad;
    return blad;
}

void Prostokaty(strObsOkno* tab, int32_t n, const uniOperRys* lista, bool zUrz) {
    for (int32_t i = 0; i < n; i++) {
        strObsOkno& o = tab[i];
        for (int32_t s = 0; s < 4; s++) {
            const uniOperRys& b = lista[o.ogr[s]];
            UstawBok(o.prost, s, Krawedz(b, s));
            if (zUrz) UstawBok(o.prostUrz, s, KrawedzUrz(b, s));
        }
    }
}

// Refers to the elements an element depends on: the bounds (and a muntin's
// filling). Returns how many pointers it put into refs.
int Odniesienia(uniOperRys& op, int32_t* refs[5]) {
    switch (op.typ) {
        case kOperSlupekStaly:
        case kOperSlupekRuch:
            refs[0] = &op.slupek.ogrPocz;
            refs[1] = &op.slupek.ogrKon;
            return 2;
        case kOperSkrzydlo:
            for (int s = 0; s < 4; s++) refs[s] = &op.skrzydlo.ogr[s];
            return 4;
        case kOperWypeln:
            for (int s = 0; s < 4; s++) refs[s] = &op.wypeln.ogr[s];
            return 4;
        case kOperSzpros:
            refs[0] = &op.szpros.ogrPocz;
            refs[1] = &op.szpros.ogrKon;
            refs[2] = &op.szpros.wypeln;
            return 3;
        default: return 0;
    }
}

// Trimmed, upper-cased filling name: what makes two fillings the same.
void KluczWypeln(const strOperWypeln& w, char klucz[kNazwaWypelnLen]) {
    char nazwa[kNazwaWypelnLen];
    int32_t len = DajNazweWypeln(&w, nazwa);
    int32_t a = 0;
    while (a < len && (nazwa[a] == ' ' || nazwa[a] == '\t')) a++;
    while (len > a && (nazwa[len - 1] == ' ' || nazwa[len - 1] == '\t')) len--;
    memcpy(klucz, nazwa + a, (size_t)(len - a));
    klucz[len - a] = 0;
    kvplat::UpperCaseAnsi(klucz);
}

// Whether filling j repeats an earlier filling (same key and type).
bool Powtorzone(const uniOperRys* lista, int32_t j, const char* klucz) {
    char k2[kNazwaWypelnLen];
    for (int32_t i = 0; i < j; i++) {
        if (lista[i].typ != kOperWypeln || lista[i].wypeln.typWypeln != lista[j].wypeln.typWypeln) continue;
        KluczWypeln(lista[i].wypeln, k2);
        if (strcmp(k2, klucz) == 0) return true;
    }
    return false;
}

}  // namespace

// ---- Thickness -------------------------------------------------------------

int32_t FormatStruktury(int32_t status) {
    switch (status & 7) {
        case 0: return 0;
        case 1: return 1;
        case 2: return 2;
        case 4: return 5;
        default: return -1;
    }
}

int32_t GruboscElementu(const uniOperRys* op, int32_t format, const strOkno* okno) {
    int32_t wlasna, flagi;
    switch (op->typ) {
        case kOperRama:
            wlasna = op->rama.grub;
            flagi = op->rama.flagi;
            break;
        case kOperSlupekStaly:
        case kOperSlupekRuch:
            wlasna = op->slupek.grub;
            flagi = op->slupek.flagi;
            break;
        case kOperSkrzydlo:
            wlasna = op->skrzydlo.grub;
            flagi = op->skrzydlo.flagi;
            break;
        case kOperSzpros:
            wlasna = op->szpros.grub;
            flagi = op->szpros.flagi;
            break;
        case kOperWypeln: return 0;
        default: return -1;
    }
    if ((flagi & kFlagaWlGrub) || format == 2) return wlasna;
    if (format != 5 || !okno) return -1;
    switch (op->typ) {
        case kOperRama: return okno->sGrubProf.rama;
        case kOperSkrzydlo: return okno->sGrubProf.skrzydlo;
        case kOperSzpros: return okno->grubSzpros;
        default:
            if (op->slupek.rodzaj == 0) return okno->sGrubProf.slupekStaly;
            if (op->slupek.rodzaj == 1) return okno->sGrubProf.slupekRuchomy;
            return -1;
    }
}

// ---- Element geometry ------------------------------------------------------

// Rectangle of a mullion or muntin: along it between the facing edges of its
// end bounds, across it from position - t/2 for t millimetres.
static bool Listwa(const uniOperRys* lista, int32_t poczIdx, int32_t konIdx, int32_t poz, bool poziomy,
                   int32_t t, strProst* r) {
    const int64_t lo = (int64_t)poz - t / 2;
    const int64_t hi = lo + t;
    if (!W32(lo) || !W32(hi)) return false;
    if (poziomy) {
        r->left = Krawedz(lista[poczIdx], kLewa);
        r->right = Krawedz(lista[konIdx], kPrawa);
        r->top = (int32_t)lo;
        r->bottom = (int32_t)hi;
    } else {
        r->top = Krawedz(lista[poczIdx], kGora);
        r->bottom = Krawedz(lista[konIdx], kDol);
        r->left = (int32_t)lo;
        r->right = (int32_t)hi;
    }
    return true;
}

// r inset by t on every side; false when a side leaves 32 bits.
static bool Wciecie(const strProst& r, int32_t t, strProst* w) {
    const int64_t l = (int64_t)r.left + t, g = (int64_t)r.top + t;
    const int64_t p = (int64_t)r.right - t, d = (int64_t)r.bottom - t;
    if (!W32(l) || !W32(g) || !W32(p) || !W32(d)) return false;
    *w = strProst{(int32_t)l, (int32_t)g, (int32_t)p, (int32_t)d};
    return true;
}

int ObliczElement(uniOperRys* lista, int32_t liczba, int32_t j, int32_t format, const strOkno* okno,
                  char* msg) {
    if (!lista || j < 0 || j >= liczba) {
        KvMsg(msg, "Wrong structure of the window");
        return 0;
    }
    uniOperRys& op = lista[j];
    const int32_t t = GruboscElementu(&op, format, okno);
    switch (op.typ) {
        case kOperRama: {
            strOperRama& r = op.rama;
            const strProst zewn{r.x0, r.y0, r.x1, r.y1};
            if (j != 0 || t < 0 || (int64_t)r.x1 - r.x0 <= 0 || (int64_t)r.y1 - r.y0 <= 0 ||
                !Wciecie(zewn, t, &r.wewn)) {
                KvMsg(msg, "Wrong definition of the frame");
                return 0;
            }
            return 1;
        }
        case kOperSlupekStaly:
        case kOperSlupekRuch: {
            strOperSlupek& s = op.slupek;
            if (t < 0 || !OgrOk(lista, j, s.ogrPocz, kOgrSlupka) || !OgrOk(lista, j, s.ogrKon, kOgrSlupka) ||
                !Listwa(lista, s.ogrPocz, s.ogrKon, s.poz, s.poziomy != 0, t, &s.prost)) {
                KvMsg(msg, "Wrong definition of the mullion");
                return 0;
            }
            return 1;
        }
        case kOperSkrzydlo: {
            strOperSkrzydlo& s = op.skrzydlo;
            bool ok = t >= 0;
            for (int32_t k = 0; k < 4 && ok; k++) ok = OgrOk(lista, j, s.ogr[k], kOgrSlupka);
            if (ok) {
                for (int32_t k = 0; k < 4; k++) UstawBok(s.zewn, k, Krawedz(lista[s.ogr[k]], k));
                ok = Wciecie(s.zewn, t, &s.wewn);
            }
            if (!ok) {
                KvMsg(msg, "Wrong definition of the sash");
                return 0;
            }
            return 1;
        }
        case kOperWypeln: {
            strOperWypeln& w = op.wypeln;
            for (int32_t k = 0; k < 4; k++) {
                if (!OgrOk(lista, j, w.ogr[k], kOgrWypeln)) {
                    KvMsg(msg, "Wrong definition of the filling");
                    return 0;
                }
            }
            for (int32_t k = 0; k < 4; k++) UstawBok(w.prost, k, Krawedz(lista[w.ogr[k]], k));
            return 1;
        }
        case kOperSzpros: {
            strOperSzpros& s = op.szpros;
            if (t < 0 || !OgrOk(lista, j, s.ogrPocz, kOgrSzprosu) ||
                !OgrOk(lista, j, s.ogrKon, kOgrSzprosu) || !OgrOk(lista, j, s.wypeln, Bit(kOperWypeln)) ||
                !Listwa(lista, s.ogrPocz, s.ogrKon, s.poz, s.poziomy != 0, t, &s.prost)) {
                KvMsg(msg, "Wrong definition of the muntin");
                return 0;
            }
            return 1;
        }
        default: return 1;
    }
}

int ObliczGeometrie(uniOperRys* lista, int32_t liczba, int32_t format, const strOkno* okno, char* msg) {
    for (int32_t j = 0; j < liczba; j++)
        if (!ObliczElement(lista, liczba, j, format, okno, msg)) return 0;
    return 1;
}

// ---- Structure -------------------------------------------------------------

int BudujStrukture(const uniOperRys* lista, int32_t liczba, int32_t limit, int zUrz, int szprosyDziela,
                   strObsOkno** tabela, int32_t* liczbaObs, char* msg) {
    *tabela = nullptr;
    *liczbaObs = 0;
    if (!lista || liczba <= 0) return 1;
    const int32_t n = limit <= 0 || limit > liczba ? liczba : limit;
    Budowa b;
    b.szprosyDziela = szprosyDziela != 0;
    b.pojemnosc = Pojemnosc(lista, n, b.szprosyDziela);
    if (b.pojemnosc == 0) return 1;
    b.tab = (strObsOkno*)KvAlloc((size_t)b.pojemnosc * sizeof(strObsOkno));
    if (!b.tab) {
        PiszBlad(kBladAlokacji, msg);
        return 0;
    }
    for (int32_t j = 0; j < n; j++) {
        if (Zastosuj(b, lista, j)) {
            PiszBlad(b.blad, msg);
            KvFree(b.tab);
            return 0;
        }
    }
    Prostokaty(b.tab, b.liczba, lista, zUrz != 0);
    *tabela = b.tab;
    *liczbaObs = b.liczba;
    return 1;
}

void ZwolnijStrukture(strObsOkno* tabela) { KvFree(tabela); }

int32_t ObszarPodzialu(const uniOperRys* op, const strObsOkno* tab, int32_t n) {
    int32_t pocz, kon, poz;
    bool poziomy;
    if (JestSlupek(op->typ)) {
        pocz = op->slupek.ogrPocz;
        kon = op->slupek.ogrKon;
        poz = op->slupek.poz;
        poziomy = op->slupek.poziomy != 0;
    } else if (op->typ == kOperSzpros) {
        pocz = op->szpros.ogrPocz;
        kon = op->szpros.ogrKon;
        poz = op->szpros.poz;
        poziomy = op->szpros.poziomy != 0;
    } else {
        return -1;
    }
    // A horizontal element runs from the left bound to the right one and
    // must lie strictly between the area's top and bottom; a vertical one the
    // other way round.
    const int32_t a = poziomy ? kLewa : kGora, b = poziomy ? kPrawa : kDol;
    const int32_t c = poziomy ? kGora : kLewa, d = poziomy ? kDol : kPrawa;
    for (int32_t i = 0; i < n; i++) {
        const strObsOkno& o = tab[i];
        if (o.ogr[a] == pocz && o.ogr[b] == kon && o.os[c] < poz && poz < o.os[d]) return i;
    }
    return -1;
}

int32_t ObszarOgraniczony(const uniOperRys* op, const strObsOkno* tab, int32_t n) {
    const int32_t* ogr;
    if (op->typ == kOperSkrzydlo) ogr = op->skrzydlo.ogr;
    else if (op->typ == kOperWypeln) ogr = op->wypeln.ogr;
    else return -1;
    for (int32_t i = 0; i < n; i++) {
        const strObsOkno& o = tab[i];
        if (o.ogr[0] == ogr[0] && o.ogr[1] == ogr[1] && o.ogr[2] == ogr[2] && o.ogr[3] == ogr[3]) return i;
    }
    return -1;
}

// ---- Rules -----------------------------------------------------------------

int32_t KodRodzaju(const uniOperRys* op) {
    switch (op->typ) {
        case kOperSlupekStaly:
        case kOperSlupekRuch: return op->slupek.poziomy != 0 ? 1 : 0;
        case kOperSzpros: return op->szpros.poziomy != 0 ? 1 : 0;
        case kOperSkrzydlo:
            // Unsigned, so that a stored opening kind of any size cannot overflow.
            return (int32_t)((uint32_t)op->skrzydlo.rodzOtw * 2u + (op->skrzydlo.stronaOtw == 1 ? 8u : 0u));
        default: return 0;
    }
}

// Type of the element bounding an area on side s; a type no element has when
// the index is not in the list.
static uint32_t TypOgr(const strObsOkno* obs, const uniOperRys* lista, int32_t liczba, int32_t s) {
    const int32_t i = obs->ogr[s];
    return lista && i >= 0 && i < liczba ? lista[i].typ : UINT32_MAX;
}

int SprawdzWstawienie(uint32_t typ, int32_t kod, const strObsOkno* obs, const uniOperRys* lista,
                      int32_t liczba, int32_t format, char* msg) {
    uint32_t t[4];
    for (int32_t s = 0; s < 4; s++) t[s] = TypOgr(obs, lista, liczba, s);
    auto dowolny = [&](uint32_t x) { return t[0] == x || t[1] == x || t[2] == x || t[3] == x; };
    // The two bounds at the ends of a mullion or muntin.
    const bool poziomy = (kod & 1) != 0;
    const uint32_t konA = t[poziomy ? kLewa : kGora], konB = t[poziomy ? kPrawa : kDol];
    const char* odmowa = nullptr;
    switch (typ) {
        case kOperSlupekStaly:
        case kOperSlupekRuch:
            if (obs->wypelniony) odmowa = "A mullion can be inserted only into area without a filling";
            else if (konA == kOperSzpros || konB == kOperSzpros)
                odmowa = "A mullion cannot be inserted into area bounded by a muntin";
            break;
        case kOperSkrzydlo:
            if (obs->wypelniony) odmowa = "A sash cannot be inserted into area with filling";
            else if (dowolny(kOperSzpros))
                odmowa = "A sash cannot be inserted into area bounded by the muntin";
            else if (dowolny(kOperSkrzydlo))
                odmowa = "A sash cannot be inserted into area bounded by other sash";
            break;
        case kOperWypeln:
            if (obs->wypelniony) odmowa = "A filling can be inserted only into area without another filling";
            else if (dowolny(kOperSzpros))
                odmowa = "A filling cannot be inserted into area bounded by a muntin";
            else if (dowolny(kOperSlupekRuch))
                odmowa = "A filling cannot be inserted into area bounded by a false mullion";
            break;
        case kOperSzpros: {
            const int32_t w = obs->wypeln;
            const bool szklo = obs->wypelniony && format == 5 && lista && w >= 0 && w < liczba &&
                               lista[w].typ == kOperWypeln && lista[w].wypeln.typWypeln == 0;
            if (!szklo) odmowa = "A muntin can be set only on a filling of type \"glass\"";
            else if (konA == kOperSlupekRuch || konB == kOperSlupekRuch)
                odmowa = "A muntin cannot be bounded by the false mullion";
            break;
        }
        default: break;
    }
    if (odmowa) {
        KvMsg(msg, "%s", odmowa);
        return 0;
    }
    return 1;
}

int SprawdzZmiane(const uniOperRys* lista, int32_t liczba, const uniOperRys* op, int32_t pozycja,
                  int32_t format, char* msg) {
    const int32_t n = lista && liczba > 0 ? liczba : 0;
    int32_t m;
    if (pozycja == -2) m = n;
    else if (pozycja == -1 && op && n < INT32_MAX) m = n + 1;
    else if (pozycja >= 0 && pozycja < n && op) m = n;
    else {
        KvMsg(msg, "Wrong structure of the window");
        return 0;
    }
    if (m == 0) return 1;

    uniOperRys* kopia = (uniOperRys*)KvAlloc((size_t)m * sizeof(uniOperRys));
    if (!kopia) {
        KvMsg(msg, "Error of allocation and copying uniOperRys union");
        return 0;
    }
    if (n > 0) memcpy(kopia, lista, (size_t)n * sizeof(uniOperRys));
    if (pozycja == -1) kopia[n] = *op;
    else if (pozycja >= 0) kopia[pozycja] = *op;

    int wynik = 1;
    Budowa zwykla, zeSzpros;
    zeSzpros.szprosyDziela = true;
    // A damaged index anywhere stops the check before any walk follows it.
    for (int32_t j = 0; j < m && wynik; j++) {
        int blad = ZbadajElement(kopia, j);
        if (blad) {
            PiszBlad(blad, msg);
            wynik = 0;
        }
    }
    if (wynik) {
        zwykla.pojemnosc = Pojemnosc(kopia, m, false);
        zeSzpros.pojemnosc = Pojemnosc(kopia, m, true);
        zwykla.tab = (strObsOkno*)KvAlloc((size_t)zwykla.pojemnosc * sizeof(strObsOkno));
        zeSzpros.tab = (strObsOkno*)KvAlloc((size_t)zeSzpros.pojemnosc * sizeof(strObsOkno));
        if (!zwykla.tab || !zeSzpros.tab) {
            PiszBlad(kBladAlokacji, msg);
            wynik = 0;
        }
    }
    for (int32_t j = 0; j < m && wynik; j++) {
        const uniOperRys& e = kopia[j];
        if (j > 0 && e.typ >= kOperSlupekStaly && e.typ <= kOperSzpros) {
            // The structure of the elements before this one.
            Budowa& b = e.typ == kOperSzpros ? zeSzpros : zwykla;
            if (b.blad) {
                PiszBlad(b.blad, msg);
                wynik = 0;
                break;
            }
            int32_t i;
            const char* co;
            if (e.typ == kOperSkrzydlo) i = ObszarOgraniczony(&e, b.tab, b.liczba), co = "sash";
            else if (e.typ == kOperWypeln) i = ObszarOgraniczony(&e, b.tab, b.liczba), co = "filling";
            else if (e.typ == kOperSzpros) i = ObszarPodzialu(&e, b.tab, b.liczba), co = "muntin";
            else i = ObszarPodzialu(&e, b.tab, b.liczba), co = "mullion";
            if (i < 0) {
                KvMsg(msg, "Error of trying to find area for the %s", co);
                wynik = 0;
                break;
            }
            if (!SprawdzWstawienie(e.typ, KodRodzaju(&e), &b.tab[i], kopia, m, format, msg)) {
                wynik = 0;
                break;
            }
        }
        Zastosuj(zwykla, kopia, j);
        Zastosuj(zeSzpros, kopia, j);
    }
    KvFree(zwykla.tab);
    KvFree(zeSzpros.tab);
    KvFree(kopia);
    return wynik;
}

int SprawdzPrzeswit(const strObsOkno* obs, const uniOperRys* lista, int32_t liczba, int32_t minProfil,
                    int32_t minSzpros) {
    uint32_t t[4];
    for (int32_t s = 0; s < 4; s++) {
        t[s] = TypOgr(obs, lista, liczba, s);
        if (t[s] > kOperSzpros || t[s] == kOperWypeln) return 3;
    }
    for (int32_t para = 0; para < 2; para++) {
        const int32_t a = para == 0 ? kLewa : kGora, b = para == 0 ? kPrawa : kDol;
        const int64_t d = (int64_t)Krawedz(lista[obs->ogr[b]], b) - Krawedz(lista[obs->ogr[a]], a);
        const bool szprosA = t[a] == kOperSzpros, szprosB = t[b] == kOperSzpros;
        if (!(szprosA && szprosB) && d < minProfil) return 1;
        if ((szprosA || szprosB) && d < minSzpros) return 2;
    }
    return 0;
}

// ---- Editing and queries ---------------------------------------------------

int UsunElement(uniOperRys** lista, int32_t* liczba, int32_t indeks, char* msg) {
    const int32_t n = *lista ? *liczba : 0;
    if (indeks < 0 || indeks >= n) {
        KvMsg(msg, "Wrong index of the uniOperRys union");
        return 0;
    }
    // usun[j]: how many elements up to and including j go. An element depends
    // on a deleted one that comes before it; following only earlier indices
    // makes the cascade a single forward pass that always ends.
    int32_t* usun = (int32_t*)KvAlloc((size_t)n * sizeof(int32_t));
    if (!usun) {
        KvMsg(msg, "Error of reallocation of uniOperRys union");
        return 0;
    }
    auto usuniety = [&](int32_t r) { return usun[r] != (r > 0 ? usun[r - 1] : 0); };
    for (int32_t j = 0; j < n; j++) {
        // Everything stands in the frame, even an element of a type this
        // version does not know and so cannot see the bounds of.
        bool idzie = j == indeks || indeks == 0;
        if (j > indeks) {
            int32_t* refs[5];
            const int k = Odniesienia((*lista)[j], refs);
            for (int r = 0; r < k && !idzie; r++) idzie = Wczesniejszy(*refs[r], j) && usuniety(*refs[r]);
        }
        usun[j] = (j > 0 ? usun[j - 1] : 0) + (idzie ? 1 : 0);
    }
    const int32_t zostaje = n - usun[n - 1];
    uniOperRys* nowa = nullptr;
    if (zostaje > 0) {
        nowa = (uniOperRys*)KvAlloc((size_t)zostaje * sizeof(uniOperRys));
        if (!nowa) {
            KvFree(usun);
            KvMsg(msg, "Error of reallocation of uniOperRys union");
            return 0;
        }
        int32_t k = 0;
        for (int32_t j = 0; j < n; j++) {
            if (usuniety(j)) continue;
            uniOperRys& op = nowa[k++];
            op = (*lista)[j];
            int32_t* refs[5];
            const int c = Odniesienia(op, refs);
            // Each removal closes up the indices above it.
            for (int r = 0; r < c; r++) {
                const int32_t v = *refs[r];
                if (v >= n) *refs[r] = v - usun[n - 1];
                else if (v > 0) *refs[r] = v - usun[v - 1];
            }
        }
    }
    KvFree(usun);
    KvFree(*lista);
    *lista = nowa;
    *liczba = zostaje;
    return 1;
}

int32_t KrawedzElementu(int32_t indeks, int32_t strona, const uniOperRys* lista, int32_t liczba) {
    if (!lista || indeks < 0 || indeks >= liczba || strona < 0 || strona > 3) return -1;
    const uniOperRys& op = lista[indeks];
    switch (op.typ) {
        case kOperRama: {
            const strProst r{op.rama.x0, op.rama.y0, op.rama.x1, op.rama.y1};
            return Bok(r, strona);
        }
        case kOperSlupekStaly:
        case kOperSlupekRuch: return op.slupek.poz;
        case kOperSzpros: return op.szpros.poz;
        case kOperSkrzydlo: return Bok(op.skrzydlo.zewn, strona);
        default: return -1;
    }
}

int NastRozneWypeln(int32_t* pozycja, const uniOperRys* lista, int32_t liczba, char nazwa[kNazwaWypelnLen],
                    int32_t* typ) {
    if (*pozycja < 0) *pozycja = 0;
    char klucz[kNazwaWypelnLen];
    while (lista && *pozycja < liczba) {
        const int32_t j = (*pozycja)++;
        if (lista[j].typ != kOperWypeln) continue;
        KluczWypeln(lista[j].wypeln, klucz);
        if (!klucz[0] || Powtorzone(lista, j, klucz)) continue;
        DajNazweWypeln(&lista[j].wypeln, nazwa);
        if (typ) *typ = lista[j].wypeln.typWypeln;
        return 1;
    }
    return 0;
}

int DajRozneWypeln(int restart, const uniOperRys* lista, int32_t liczba, char nazwa[kNazwaWypelnLen],
                   int32_t* typ) {
    static int32_t pozycja;
    if (restart) pozycja = 0;
    return NastRozneWypeln(&pozycja, lista, liczba, nazwa, typ);
}

int32_t NumerWypeln(const uniOperRys* lista, int32_t liczba, int32_t indeks) {
    if (!lista || indeks < 0 || indeks >= liczba || lista[indeks].typ != kOperWypeln) return 0;
    char szukany[kNazwaWypelnLen], klucz[kNazwaWypelnLen];
    KluczWypeln(lista[indeks].wypeln, szukany);
    if (!szukany[0]) return 0;
    int32_t numer = 0;
    for (int32_t j = 0; j <= indeks; j++) {
        if (lista[j].typ != kOperWypeln) continue;
        KluczWypeln(lista[j].wypeln, klucz);
        if (!klucz[0] || Powtorzone(lista, j, klucz)) continue;
        numer++;
        if (lista[j].wypeln.typWypeln == lista[indeks].wypeln.typWypeln && strcmp(klucz, szukany) == 0)
            return numer;
    }
    return 0;
}

int32_t LiczbaRamISkrzydel(const strOkno* okno) {
    int32_t c = 0;
    for (int32_t i = 0; okno->oper && i < okno->liczbaOper; i++)
        if (okno->oper[i].typ == kOperRama || okno->oper[i].typ == kOperSkrzydlo) c++;
    return c;
}

int64_t WagaOkna(const strOkno* okno, int32_t waga) {
    if (!okno->oper || okno->liczbaOper <= 0 || okno->oper[0].typ != kOperRama) return 0;
    const int64_t w = okno->oper[0].rama.x1, h = okno->oper[0].rama.y1;
    // Past a kilometre a frame is damaged data, not a window; bounding the
    // sides keeps the product inside 64 bits.
    if (w <= 0 || h <= 0 || w > 1000000 || h > 1000000) return 0;
    const int64_t pole = w * h;  // mm2
    const int64_t mag = waga < 0 ? -(int64_t)waga : waga;
    // pole * mag / 1e6 taken in two parts so no product leaves 64 bits.
    const int64_t reszta = pole % 1000000 * mag;
    const int64_t wynik = pole / 1000000 * mag + reszta / 1000000 + (reszta % 1000000 >= 500000 ? 1 : 0);
    return waga < 0 ? -wynik : wynik;
}
