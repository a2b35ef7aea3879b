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
enum Fault {
    kNoError = 0,
    kErrorAllocation,
    kErrorStructure,
    kErrorFrame,
    kErrorMullion,
    kErrorSash,
    kErrorFilling,
    kErrorMuntin,
};

void WriteError(int blad, char* msg) {
    switch (blad) {
        case kErrorAllocation: KvMsg(msg, "Error of allocation the table of strObsOkno structures"); break;
        case kErrorStructure: KvMsg(msg, "Wrong structure of the window"); break;
        case kErrorFrame: KvMsg(msg, "Wrong structure of the window\r\nIncorrect frame"); break;
        case kErrorMullion: KvMsg(msg, "Wrong structure of the window\r\nIncorrect mullion"); break;
        case kErrorSash: KvMsg(msg, "Wrong structure of the window\r\nIncorrect sash"); break;
        case kErrorFilling: KvMsg(msg, "Wrong structure of the window\r\nIncorrect filling"); break;
        case kErrorMuntin: KvMsg(msg, "Wrong structure of the window\r\nIncorrect muntin"); break;
        default: break;
    }
}

// Whether element j can take part in a structure at all: element 0 is the
// one frame, and every index it holds names an earlier element (a muntin's
// filling index an earlier filling). Geometry is not looked at.
int ExamineElement(const uniOperRys* lista, int32_t j) {
    const uniOperRys& op = lista[j];
    if (j == 0 && op.typ != kOpFrame) return kErrorStructure;
    switch (op.typ) {
        case kOpFrame:
            if (j != 0) return kErrorFrame;
            if ((int64_t)op.rama.x1 - op.rama.x0 <= 0 || (int64_t)op.rama.y1 - op.rama.y0 <= 0)
                return kErrorFrame;
            return kNoError;
        case kOpFixedMullion:
        case kOpFalseMullion:
            return IsEarlier(op.slupek.ogrPocz, j) && IsEarlier(op.slupek.ogrKon, j) ? kNoError
                                                                                           : kErrorMullion;
        case kOpSash:
            for (int32_t s = 0; s < 4; s++)
                if (!IsEarlier(op.skrzydlo.ogr[s], j)) return kErrorSash;
            return kNoError;
        case kOpFilling:
            for (int32_t s = 0; s < 4; s++)
                if (!IsEarlier(op.wypeln.ogr[s], j)) return kErrorFilling;
            return kNoError;
        case kOpMuntin:
            if (!IsEarlier(op.szpros.ogrPocz, j) || !IsEarlier(op.szpros.ogrKon, j))
                return kErrorMuntin;
            if (!IsEarlier(op.szpros.wypeln, j) || lista[op.szpros.wypeln].typ != kOpFilling)
                return kErrorMuntin;
            return kNoError;
        default: return kNoError;
    }
}

// A structure under construction, one element at a time. The change check
// keeps two of these (muntins dividing and not) and advances them together
// instead of rebuilding every prefix of the list; a failure is remembered so
// that it is reported exactly where a fresh build would report it.
struct StructureBuilder {
    strObsOkno* tab = nullptr;
    int32_t itemCount = 0;
    int32_t allocCount = 0;
    bool muntinsDivide = false;
    int errorCode = kNoError;
};

bool DividesArea(uint32_t typ, bool muntinsDivide) {
    return IsMullion(typ) || (typ == kOpMuntin && muntinsDivide);
}

int32_t Capacity(const uniOperRys* lista, int32_t n, bool muntinsDivide) {
    int32_t c = 0;
    for (int32_t j = 0; j < n; j++)
        if (lista[j].typ == kOpFrame || DividesArea(lista[j].typ, muntinsDivide)) c++;
    return c;
}

// Divides the area that element j (a mullion or muntin) lies in.
int Divide(StructureBuilder& b, const uniOperRys& op, int32_t j, int bladBrakuObszaru) {
    if (b.itemCount >= b.allocCount) return kErrorStructure;
    int32_t i = DividedArea(&op, b.tab, b.itemCount);
    if (i < 0) return bladBrakuObszaru;
    const bool poziomy = op.typ == kOpMuntin ? op.szpros.poziomy != 0 : op.slupek.poziomy != 0;
    const int32_t poz = op.typ == kOpMuntin ? op.szpros.poz : op.slupek.poz;
    strObsOkno& stary = b.tab[i];
    strObsOkno& nowy = b.tab[b.itemCount++];
    nowy = stary;
    const int32_t koniec = poziomy ? kSideBottom : kSideRight;
    const int32_t pocz = poziomy ? kSideTop : kSideLeft;
    stary.ogr[koniec] = j;
    stary.os[koniec] = poz;
    nowy.ogr[pocz] = j;
    nowy.os[pocz] = poz;
    return kNoError;
}

int ApplyElement(StructureBuilder& b, const uniOperRys* lista, int32_t j) {
    if (b.errorCode) return b.errorCode;
    int blad = ExamineElement(lista, j);
    if (!blad) {
        const uniOperRys& op = lista[j];
        switch (op.typ) {
            case kOpFrame: {
                strObsOkno& o = b.tab[0];
                memset(&o, 0, sizeof o);
                o.os[kSideLeft] = op.rama.x0;
                o.os[kSideTop] = op.rama.y0;
                o.os[kSideRight] = op.rama.x1;
                o.os[kSideBottom] = op.rama.y1;
                b.itemCount = 1;
                break;
            }
            case kOpFixedMullion:
            case kOpFalseMullion: blad = Divide(b, op, j, kErrorMullion); break;
            case kOpSash: {
                int32_t i = BoundedArea(&op, b.tab, b.itemCount);
                if (i < 0) {
                    blad = kErrorSash;
                    break;
                }
                for (int32_t s = 0; s < 4; s++) b.tab[i].ogr[s] = j;
                break;
            }
            case kOpFilling: {
                int32_t i = BoundedArea(&op, b.tab, b.itemCount);
                if (i < 0) {
                    blad = kErrorFilling;
                    break;
                }
                b.tab[i].hasFilling = 1;
                b.tab[i].wypeln = j;
                break;
            }
            case kOpMuntin:
                if (b.muntinsDivide) blad = Divide(b, op, j, kErrorMuntin);
                break;
            default: break;
        }
    }
    b.errorCode = blad;
    return blad;
}

void AreaRects(strObsOkno* tab, int32_t n, const uniOperRys* lista, bool zUrz) {
    for (int32_t i = 0; i < n; i++) {
        strObsOkno& o = tab[i];
        for (int32_t s = 0; s < 4; s++) {
            const uniOperRys& b = lista[o.ogr[s]];
            SetRectSide(o.prost, s, FacingEdge(b, s));
            if (zUrz) SetRectSide(o.prostUrz, s, FacingEdgeDevice(b, s));
        }
    }
}

}  // namespace

// ---- Structure -------------------------------------------------------------

int BuildStructure(const uniOperRys* lista, int32_t liczba, int32_t limit, int zUrz, int muntinsDivide,
                   strObsOkno** tabela, int32_t* liczbaObs, char* msg) {
    *tabela = nullptr;
    *liczbaObs = 0;
    if (!lista || liczba <= 0) return 1;
    const int32_t n = limit <= 0 || limit > liczba ? liczba : limit;
    StructureBuilder b;
    b.muntinsDivide = muntinsDivide != 0;
    b.allocCount = Capacity(lista, n, b.muntinsDivide);
    if (b.allocCount == 0) return 1;
    b.tab = (strObsOkno*)KvAlloc((size_t)b.allocCount * sizeof(strObsOkno));
    if (!b.tab) {
        WriteError(kErrorAllocation, msg);
        return 0;
    }
    for (int32_t j = 0; j < n; j++) {
        if (ApplyElement(b, lista, j)) {
            WriteError(b.errorCode, msg);
            KvFree(b.tab);
            return 0;
        }
    }
    AreaRects(b.tab, b.itemCount, lista, zUrz != 0);
    *tabela = b.tab;
    *liczbaObs = b.itemCount;
    return 1;
}

void FreeStructure(strObsOkno* tabela) { KvFree(tabela); }

int32_t DividedArea(const uniOperRys* op, const strObsOkno* tab, int32_t n) {
    int32_t pocz, kon, poz;
    bool poziomy;
    if (IsMullion(op->typ)) {
        pocz = op->slupek.ogrPocz;
        kon = op->slupek.ogrKon;
        poz = op->slupek.poz;
        poziomy = op->slupek.poziomy != 0;
    } else if (op->typ == kOpMuntin) {
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
    const int32_t a = poziomy ? kSideLeft : kSideTop, b = poziomy ? kSideRight : kSideBottom;
    const int32_t c = poziomy ? kSideTop : kSideLeft, d = poziomy ? kSideBottom : kSideRight;
    for (int32_t i = 0; i < n; i++) {
        const strObsOkno& o = tab[i];
        if (o.ogr[a] == pocz && o.ogr[b] == kon && o.os[c] < poz && poz < o.os[d]) return i;
    }
    return -1;
}

int32_t BoundedArea(const uniOperRys* op, const strObsOkno* tab, int32_t n) {
    const int32_t* ogr;
    if (op->typ == kOpSash) ogr = op->skrzydlo.ogr;
    else if (op->typ == kOpFilling) ogr = op->wypeln.ogr;
    else return -1;
    for (int32_t i = 0; i < n; i++) {
        const strObsOkno& o = tab[i];
        if (o.ogr[0] == ogr[0] && o.ogr[1] == ogr[1] && o.ogr[2] == ogr[2] && o.ogr[3] == ogr[3]) return i;
    }
    return -1;
}

// ---- Rules -----------------------------------------------------------------

int32_t KindCode(const uniOperRys* op) {
    switch (op->typ) {
        case kOpFixedMullion:
        case kOpFalseMullion: return op->slupek.poziomy != 0 ? 1 : 0;
        case kOpMuntin: return op->szpros.poziomy != 0 ? 1 : 0;
        case kOpSash:
            // Unsigned, so that a stored opening kind of any size cannot overflow.
            return (int32_t)((uint32_t)op->skrzydlo.rodzOtw * 2u + (op->skrzydlo.stronaOtw == 1 ? 8u : 0u));
        default: return 0;
    }
}

// Type of the element bounding an area on side s; a type no element has when
// the index is not in the list.
static uint32_t BoundKind(const strObsOkno* obs, const uniOperRys* lista, int32_t liczba, int32_t s) {
    const int32_t i = obs->ogr[s];
    return lista && i >= 0 && i < liczba ? lista[i].typ : UINT32_MAX;
}

int CheckInsertion(uint32_t typ, int32_t kod, const strObsOkno* obs, const uniOperRys* lista,
                      int32_t liczba, int32_t format, char* msg) {
    uint32_t t[4];
    for (int32_t s = 0; s < 4; s++) t[s] = BoundKind(obs, lista, liczba, s);
    auto dowolny = [&](uint32_t x) { return t[0] == x || t[1] == x || t[2] == x || t[3] == x; };
    // The two bounds at the ends of a mullion or muntin.
    const bool poziomy = (kod & 1) != 0;
    const uint32_t konA = t[poziomy ? kSideLeft : kSideTop], konB = t[poziomy ? kSideRight : kSideBottom];
    const char* odmowa = nullptr;
    switch (typ) {
        case kOpFixedMullion:
        case kOpFalseMullion:
            if (obs->hasFilling) odmowa = "A mullion can be inserted only into area without a filling";
            else if (konA == kOpMuntin || konB == kOpMuntin)
                odmowa = "A mullion cannot be inserted into area bounded by a muntin";
            break;
        case kOpSash:
            if (obs->hasFilling) odmowa = "A sash cannot be inserted into area with filling";
            else if (dowolny(kOpMuntin))
                odmowa = "A sash cannot be inserted into area bounded by the muntin";
            else if (dowolny(kOpSash))
                odmowa = "A sash cannot be inserted into area bounded by other sash";
            break;
        case kOpFilling:
            if (obs->hasFilling) odmowa = "A filling can be inserted only into area without another filling";
            else if (dowolny(kOpMuntin))
                odmowa = "A filling cannot be inserted into area bounded by a muntin";
            else if (dowolny(kOpFalseMullion))
                odmowa = "A filling cannot be inserted into area bounded by a false mullion";
            break;
        case kOpMuntin: {
            const int32_t w = obs->wypeln;
            const bool szklo = obs->hasFilling && format == 5 && lista && w >= 0 && w < liczba &&
                               lista[w].typ == kOpFilling && lista[w].wypeln.typWypeln == 0;
            if (!szklo) odmowa = "A muntin can be set only on a filling of type \"glass\"";
            else if (konA == kOpFalseMullion || konB == kOpFalseMullion)
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

int CheckChange(const uniOperRys* lista, int32_t liczba, const uniOperRys* op, int32_t pozycja,
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
    StructureBuilder zwykla, zeSzpros;
    zeSzpros.muntinsDivide = true;
    // A damaged index anywhere stops the check before any walk follows it.
    for (int32_t j = 0; j < m && wynik; j++) {
        int blad = ExamineElement(kopia, j);
        if (blad) {
            WriteError(blad, msg);
            wynik = 0;
        }
    }
    if (wynik) {
        zwykla.allocCount = Capacity(kopia, m, false);
        zeSzpros.allocCount = Capacity(kopia, m, true);
        zwykla.tab = (strObsOkno*)KvAlloc((size_t)zwykla.allocCount * sizeof(strObsOkno));
        zeSzpros.tab = (strObsOkno*)KvAlloc((size_t)zeSzpros.allocCount * sizeof(strObsOkno));
        if (!zwykla.tab || !zeSzpros.tab) {
            WriteError(kErrorAllocation, msg);
            wynik = 0;
        }
    }
    for (int32_t j = 0; j < m && wynik; j++) {
        const uniOperRys& e = kopia[j];
        if (j > 0 && e.typ >= kOpFixedMullion && e.typ <= kOpMuntin) {
            // The structure of the elements before this one.
            StructureBuilder& b = e.typ == kOpMuntin ? zeSzpros : zwykla;
            if (b.errorCode) {
                WriteError(b.errorCode, msg);
                wynik = 0;
                break;
            }
            int32_t i;
            const char* co;
            if (e.typ == kOpSash) i = BoundedArea(&e, b.tab, b.itemCount), co = "sash";
            else if (e.typ == kOpFilling) i = BoundedArea(&e, b.tab, b.itemCount), co = "filling";
            else if (e.typ == kOpMuntin) i = DividedArea(&e, b.tab, b.itemCount), co = "muntin";
            else i = DividedArea(&e, b.tab, b.itemCount), co = "mullion";
            if (i < 0) {
                KvMsg(msg, "Error of trying to find area for the %s", co);
                wynik = 0;
                break;
            }
            if (!CheckInsertion(e.typ, KindCode(&e), &b.tab[i], kopia, m, format, msg)) {
                wynik = 0;
                break;
            }
        }
        ApplyElement(zwykla, kopia, j);
        ApplyElement(zeSzpros, kopia, j);
    }
    KvFree(zwykla.tab);
    KvFree(zeSzpros.tab);
    KvFree(kopia);
    return wynik;
}

int CheckClearance(const strObsOkno* obs, const uniOperRys* lista, int32_t liczba, int32_t minProfil,
                    int32_t minSzpros) {
    uint32_t t[4];
    for (int32_t s = 0; s < 4; s++) {
        t[s] = BoundKind(obs, lista, liczba, s);
        if (t[s] > kOpMuntin || t[s] == kOpFilling) return 3;
    }
    for (int32_t para = 0; para < 2; para++) {
        const int32_t a = para == 0 ? kSideLeft : kSideTop, b = para == 0 ? kSideRight : kSideBottom;
        const int64_t d = (int64_t)FacingEdge(lista[obs->ogr[b]], b) - FacingEdge(lista[obs->ogr[a]], a);
        const bool szprosA = t[a] == kOpMuntin, szprosB = t[b] == kOpMuntin;
        if (!(szprosA && szprosB) && d < minProfil) return 1;
        if ((szprosA || szprosB) && d < minSzpros) return 2;
    }
    return 0;
}
