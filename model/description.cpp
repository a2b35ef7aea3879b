// Display names and the description of a window.
#include "model/description.h"

#include <inttypes.h>
#include <stdio.h>
#include <string.h>

#include "model/operations.h"
#include "model/structure.h"
#include "model/uw.h"

namespace {

// Text written into a caller's buffer, cut to fit and always terminated.
struct TextAt {
    char* p;
    size_t cap;  // bytes, terminator included
    size_t len;

    void AppendText(const char* s, size_t n) {
        if (len + 1 >= cap) return;
        if (n > cap - 1 - len) n = cap - 1 - len;
        memcpy(p + len, s, n);
        len += n;
        p[len] = 0;
    }
    void AppendText(const char* s) { AppendText(s, strlen(s)); }
    // A fixed text field of the record, which a damaged row may leave
    // unterminated: read as its first width-1 characters then.
    template <size_t N>
    void Pole(const char (&f)[N]) {
        const void* nul = memchr(f, 0, N);
        AppendText(f, nul ? (size_t)((const char*)nul - f) : N - 1);
    }
};

const strOkno* Okno(const strZam* zam, int32_t indeks) {
    if (!zam || !zam->okna || indeks < 0 || indeks >= zam->liczbaOkien) return nullptr;
    return &zam->okna[indeks];
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

const char* ProfileName(int32_t iProfSch) {
    switch (iProfSch) {
        case 0: return "PVC";
        case 1: return "Wood";
        case 2: return "ALU";
        default: return "";
    }
}

const char* ProfileSuffix(int32_t iProfSch) {
    switch (iProfSch) {
        case 0: return " (PVC)";
        case 1: return " (Wood)";
        case 2: return " (Aluminium)";
        default: return "";
    }
}

const char* FillingKindName(int32_t typWypeln) {
    switch (typWypeln) {
        case 0: return "Glass";
        case 1: return "Acrylic";
        default: return "";
    }
}

const char* MullionKindName(int32_t rodzaj, int32_t format) {
    if (format != 5) return "";
    switch (rodzaj) {
        case 0: return "Fixed mullion";
        case 1: return "False mullion";
        default: return "";
    }
}

void UwToText(int32_t uw, char tekst[KV_AMOUNT_LEN]) {
    if (uw == -1) strcpy(tekst, "-");
    else LLX100NaNap(uw, tekst);
}

int DescribeWindow(const strZam* zam, int32_t indeks, char* cel, int32_t rozmiar) {
    if (!cel || rozmiar <= 0) return 0;
    TextAt t{cel, (size_t)rozmiar, 0};
    cel[0] = 0;
    const strOkno* okno = Okno(zam, indeks);
    if (!okno || !okno->oper || okno->liczbaOper <= 0 || okno->oper[0].typ != kOpFrame) return 0;
    const uniOperRys* lista = okno->oper;
    const int32_t n = okno->liczbaOper;

    bool otwierane = false, szpros = false, wypeln = false;
    for (int32_t i = 0; i < n; i++) {
        if (lista[i].typ == kOpSash && lista[i].skrzydlo.rodzOtw != 0) otwierane = true;
        if (lista[i].typ == kOpMuntin) szpros = true;
        if (lista[i].typ == kOpFilling) wypeln = true;
    }

    char buf[200];
    snprintf(buf, sizeof buf, "Size: %" PRId32 " / %" PRId32, lista[0].rama.x1, lista[0].rama.y1);
    t.AppendText(buf);
    t.AppendText("\r\nProfile: ");
    t.Pole(okno->nazProfil);
    t.AppendText(ProfileSuffix(okno->iProfSch));
    if (otwierane) {
        t.AppendText("\r\nHardware: ");
        t.Pole(okno->nazOkucie);
    }
    t.AppendText("\r\nColor: ");
    t.Pole(okno->nazKolor);
    if (szpros) {
        t.AppendText("\r\nMuntin: ");
        t.Pole(okno->nazSzpros);
    }
    t.AppendText("\r\nGlazing bead: ");
    t.Pole(okno->nazListwa);
    if (wypeln) {
        t.AppendText("\r\nFilling:");
        int32_t pozycja = 0, typ = 0, numer = 0;
        char nazwa[kFillingNameLen];
        while (NextDistinctFilling(&pozycja, lista, n, nazwa, &typ)) {
            snprintf(buf, sizeof buf, "\r\n(%d) - ", (int)++numer);
            t.AppendText(buf);
            t.AppendText(nazwa);
            t.AppendText(" - [");
            t.AppendText(FillingKindName(typ));
            t.AppendText("]");
        }
    }
    char uw[KV_AMOUNT_LEN];
    UwToText(WindowUw(okno), uw);
    t.AppendText("\r\nUw factor: ");
    t.AppendText(uw);
    t.AppendText(" W/(m2*K)");
    return 1;
}

int AddWindowNotes(const strZam* zam, int32_t indeks, char* cel, int32_t rozmiar, int32_t szerokosc) {
    const strOkno* okno = Okno(zam, indeks);
    if (!okno || !cel || rozmiar <= 0) return 0;
    const void* koniecTekstu = memchr(cel, 0, (size_t)rozmiar);
    if (!koniecTekstu) return 0;  // no room after a text that fills the buffer
    TextAt t{cel, (size_t)rozmiar, (size_t)((const char*)koniecTekstu - cel)};
    t.AppendText("\r\n");

    const char* u = okno->uwagi;
    const void* nul = memchr(u, 0, sizeof okno->uwagi);
    const int32_t dl = nul ? (int32_t)((const char*)nul - u) : (int32_t)sizeof okno->uwagi - 1;
    if (szerokosc < 0) {
        t.AppendText(u, (size_t)dl);
        return 1;
    }
    int32_t koniec = 0;
    while (koniec < dl && u[koniec] != '\r' && u[koniec] != '\n') koniec++;
    int32_t poczLinii = 0;  // where the current line starts, in the notes
    int32_t i = 0;
    while (i < koniec) {
        while (i < koniec && IsBlank(u[i])) i++;
        if (i >= koniec) break;
        const int32_t slowo = i;
        while (i < koniec && !IsBlank(u[i])) i++;
        if (i - poczLinii + 1 > szerokosc) {
            t.AppendText("\r\n");
            poczLinii = i;
        }
        const int32_t dlSlowa = i - slowo > 1024 ? 1024 : i - slowo;
        t.AppendText(u + slowo, (size_t)dlSlowa);
        t.AppendText(" ");
    }
    return 1;
}
