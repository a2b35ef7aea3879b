// Editing and queries of a window's operation list: deleting an element
// with what depends on it, edges, fillings, frames and sashes, weight.
#include <string.h>

#include "model/structure.h"
#include "model/structure_internal.h"
#include "util/heap.h"
#include "util/msgbuf.h"
#include "util/platform.h"

using namespace structure_internal;

namespace {

// Refers to the elements an element depends on: the bounds (and a muntin's
// filling). Returns how many pointers it put into refs.
int References(uniOperRys& op, int32_t* refs[5]) {
    switch (op.typ) {
        case kOpFixedMullion:
        case kOpFalseMullion:
            refs[0] = &op.slupek.ogrPocz;
            refs[1] = &op.slupek.ogrKon;
            return 2;
        case kOpSash:
            for (int s = 0; s < 4; s++) refs[s] = &op.skrzydlo.ogr[s];
            return 4;
        case kOpFilling:
            for (int s = 0; s < 4; s++) refs[s] = &op.wypeln.ogr[s];
            return 4;
        case kOpMuntin:
            refs[0] = &op.szpros.ogrPocz;
            refs[1] = &op.szpros.ogrKon;
            refs[2] = &op.szpros.wypeln;
            return 3;
        default: return 0;
    }
}

// Trimmed, upper-cased filling name: what makes two fillings the same.
void FillingKey(const strOperWypeln& w, char klucz[kFillingNameLen]) {
    char nazwa[kFillingNameLen];
    int32_t len = GetFillingName(&w, nazwa);
    int32_t a = 0;
    while (a < len && (nazwa[a] == ' ' || nazwa[a] == '\t')) a++;
    while (len > a && (nazwa[len - 1] == ' ' || nazwa[len - 1] == '\t')) len--;
    memcpy(klucz, nazwa + a, (size_t)(len - a));
    klucz[len - a] = 0;
    kvplat::UpperCaseAnsi(klucz);
}

// Whether filling j repeats an earlier filling (same key and type).
bool IsRepeated(const uniOperRys* lista, int32_t j, const char* klucz) {
    char k2[kFillingNameLen];
    for (int32_t i = 0; i < j; i++) {
        if (lista[i].typ != kOpFilling || lista[i].wypeln.typWypeln != lista[j].wypeln.typWypeln) continue;
        FillingKey(lista[i].wypeln, k2);
        if (strcmp(k2, klucz) == 0) return true;
    }
    return false;
}

}  // namespace

// ---- Editing and queries ---------------------------------------------------

int DeleteElement(uniOperRys** lista, int32_t* liczba, int32_t indeks, char* msg) {
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
            const int k = References((*lista)[j], refs);
            for (int r = 0; r < k && !idzie; r++) idzie = IsEarlier(*refs[r], j) && usuniety(*refs[r]);
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
            const int c = References(op, refs);
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

int32_t ElementEdge(int32_t indeks, int32_t strona, const uniOperRys* lista, int32_t liczba) {
    if (!lista || indeks < 0 || indeks >= liczba || strona < 0 || strona > 3) return -1;
    const uniOperRys& op = lista[indeks];
    switch (op.typ) {
        case kOpFrame: {
            const strProst r{op.rama.x0, op.rama.y0, op.rama.x1, op.rama.y1};
            return RectSide(r, strona);
        }
        case kOpFixedMullion:
        case kOpFalseMullion: return op.slupek.poz;
        case kOpMuntin: return op.szpros.poz;
        case kOpSash: return RectSide(op.skrzydlo.zewn, strona);
        default: return -1;
    }
}

int NextDistinctFilling(int32_t* pozycja, const uniOperRys* lista, int32_t liczba, char nazwa[kFillingNameLen],
                    int32_t* typ) {
    if (*pozycja < 0) *pozycja = 0;
    char klucz[kFillingNameLen];
    while (lista && *pozycja < liczba) {
        const int32_t j = (*pozycja)++;
        if (lista[j].typ != kOpFilling) continue;
        FillingKey(lista[j].wypeln, klucz);
        if (!klucz[0] || IsRepeated(lista, j, klucz)) continue;
        GetFillingName(&lista[j].wypeln, nazwa);
        if (typ) *typ = lista[j].wypeln.typWypeln;
        return 1;
    }
    return 0;
}

int GetDistinctFilling(int restart, const uniOperRys* lista, int32_t liczba, char nazwa[kFillingNameLen],
                   int32_t* typ) {
    static int32_t pozycja;
    if (restart) pozycja = 0;
    return NextDistinctFilling(&pozycja, lista, liczba, nazwa, typ);
}

int32_t FillingNumber(const uniOperRys* lista, int32_t liczba, int32_t indeks) {
    if (!lista || indeks < 0 || indeks >= liczba || lista[indeks].typ != kOpFilling) return 0;
    char szukany[kFillingNameLen], klucz[kFillingNameLen];
    FillingKey(lista[indeks].wypeln, szukany);
    if (!szukany[0]) return 0;
    int32_t numer = 0;
    for (int32_t j = 0; j <= indeks; j++) {
        if (lista[j].typ != kOpFilling) continue;
        FillingKey(lista[j].wypeln, klucz);
        if (!klucz[0] || IsRepeated(lista, j, klucz)) continue;
        numer++;
        if (lista[j].wypeln.typWypeln == lista[indeks].wypeln.typWypeln && strcmp(klucz, szukany) == 0)
            return numer;
    }
    return 0;
}

int32_t FrameAndSashCount(const strOkno* okno) {
    int32_t c = 0;
    for (int32_t i = 0; okno->oper && i < okno->liczbaOper; i++)
        if (okno->oper[i].typ == kOpFrame || okno->oper[i].typ == kOpSash) c++;
    return c;
}

int64_t WindowWeight(const strOkno* okno, int32_t waga) {
    if (!okno->oper || okno->liczbaOper <= 0 || okno->oper[0].typ != kOpFrame) return 0;
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
