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
#include "model/structure_internal.h"

namespace {

using namespace structure_internal;

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

}  // namespace

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
