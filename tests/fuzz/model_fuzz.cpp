// Fuzz target: random operation lists through the window model.
//
// The input decodes into a window record and its operations: as raw 152-byte
// stored blobs (what a damaged database hands over), in a compact form whose
// indices and positions land near plausible values, or grown area by area so
// that large windows reach the deeper paths (areas, rules, deletion). Besides "no crash,
// no sanitizer report", it checks what must always hold: the one-pass change
// check answers as rebuilding every prefix would, a copy and a blob round
// trip compare equal, and deletion leaves a list whose indices are sound.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "model/description.h"
#include "model/operations.h"
#include "model/structure.h"
#include "model/uw.h"
#include "model/window.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/native/model_reference.h"
#include "util/heap.h"
#include "util/msgbuf.h"

namespace {

int32_t AnyThickness(Wejscie& in) {
    const uint8_t b = in.U8();
    switch (b) {
        case 255: return -1;
        case 254: return INT32_MAX;
        case 253: return INT32_MIN;
        case 252: return 100000;
        default: return b;
    }
}

// An index as element j may hold it: mostly earlier elements, sometimes
// itself, a later one, negative or far out.
int32_t AnyIndex(Wejscie& in, int32_t j) {
    const uint8_t b = in.U8();
    switch (b) {
        case 255: return INT32_MAX;
        case 254: return INT32_MIN;
        case 253: return j + 5;
        case 252: return -1;
        case 251: return j;
        default: return j > 0 ? b % j : 0;
    }
}

int32_t ElementPosition(Wejscie& in) {
    const uint16_t v = in.U16();
    if (v == 0xFFFF) return INT32_MAX;
    if (v == 0xFFFE) return INT32_MIN;
    return (int32_t)(v % 2400) - 100;
}

uniOperRys Element(Wejscie& in, int32_t j) {
    uniOperRys op;
    memset(&op, 0, sizeof op);
    const uint8_t t = in.U8();
    op.typ = j == 0 && !(t & 0x80) ? kOpFrame : (uint32_t)(t % 7);
    if (op.typ == 6) op.typ = 6 + (t >> 4);
    const bool wlasna = (t & 0x40) != 0;
    switch (op.typ) {
        case kOpFrame:
            op.rama.x1 = (int32_t)in.U16() - 8;
            op.rama.y1 = (int32_t)in.U16() - 8;
            op.rama.flagi = wlasna;
            op.rama.grub = AnyThickness(in);
            break;
        case kOpFixedMullion:
        case kOpFalseMullion:
            op.slupek.rodzaj = t & 0x20 ? (int32_t)in.U8() : (int32_t)op.typ - 1;
            op.slupek.poz = ElementPosition(in);
            op.slupek.poziomy = t & 8;
            op.slupek.ogrPocz = AnyIndex(in, j);
            op.slupek.ogrKon = AnyIndex(in, j);
            op.slupek.flagi = wlasna;
            op.slupek.grub = AnyThickness(in);
            break;
        case kOpSash:
            op.skrzydlo.rodzOtw = in.U8() % 5;
            op.skrzydlo.stronaOtw = t & 8 ? 1 : 0;
            for (int s = 0; s < 4; s++) op.skrzydlo.ogr[s] = AnyIndex(in, j);
            op.skrzydlo.flagi = wlasna;
            op.skrzydlo.grub = AnyThickness(in);
            break;
        case kOpFilling: {
            op.wypeln.typWypeln = t & 8 ? 1 : (t & 0x20 ? 7 : 0);
            const uint8_t dl = in.U8();
            if (dl == 255) {
                memset(op.wypeln.nazwa, 'N', sizeof op.wypeln.nazwa);
            } else {
                for (int k = 0; k < dl % 8; k++) op.wypeln.nazwa[k] = " \tgGlasA"[in.U8() % 8];
            }
            for (int s = 0; s < 4; s++) op.wypeln.ogr[s] = AnyIndex(in, j);
            break;
        }
        case kOpMuntin:
            op.szpros.poz = ElementPosition(in);
            op.szpros.poziomy = t & 8;
            op.szpros.ogrPocz = AnyIndex(in, j);
            op.szpros.ogrKon = AnyIndex(in, j);
            op.szpros.wypeln = AnyIndex(in, j);
            op.szpros.flagi = wlasna;
            op.szpros.grub = AnyThickness(in);
            break;
        default: break;
    }
    return op;
}

// An element placed in an area of the window so far (muntins dividing), as
// the designer would place it but with the rules left to the check: this
// grows windows of many sound elements, which byte-level decoding rarely does.
uniOperRys Rosnij(Wejscie& in, const strOkno& o) {
    char msg[KV_MSG_LEN];
    strObsOkno* tab;
    int32_t c;
    if (!BuildStructure(o.oper, o.liczbaOper, 0, 0, 1, &tab, &c, msg) || c == 0)
        return Element(in, o.liczbaOper);
    const strObsOkno a = tab[in.U8() % (uint32_t)c];
    FreeStructure(tab);
    const uint8_t t = in.U8();
    const bool poziomy = (t & 8) != 0;
    const int32_t lo = a.os[poziomy ? kSideTop : kSideLeft], hi = a.os[poziomy ? kSideBottom : kSideRight];
    const int32_t poz = hi > lo ? lo + (int32_t)(in.U16() % (uint32_t)(hi - lo + 1)) : lo;
    const int32_t pocz = a.ogr[poziomy ? kSideLeft : kSideTop], kon = a.ogr[poziomy ? kSideRight : kSideBottom];
    uniOperRys op;
    memset(&op, 0, sizeof op);
    switch (t % 6) {
        case 0:
        case 1:
            op.slupek = strOperSlupek{
                kOpFixedMullion + t % 2u, (int32_t)(t % 2), poz, poziomy, pocz, kon, 0, 0, {}, 0, {}};
            break;
        case 2:
            op.skrzydlo.typ = kOpSash;
            op.skrzydlo.rodzOtw = (t >> 4) % 4;
            memcpy(op.skrzydlo.ogr, a.ogr, sizeof a.ogr);
            break;
        case 3:
            op.wypeln.typ = kOpFilling;
            op.wypeln.typWypeln = (t >> 4) & 1;
            op.wypeln.nazwa[0] = "GgAa"[(t >> 5) & 3];
            memcpy(op.wypeln.ogr, a.ogr, sizeof a.ogr);
            break;
        case 4:
            op.szpros = strOperSzpros{kOpMuntin, poz, poziomy, pocz, kon, a.hasFilling ? a.wypeln : 0,
                                      0,           0,   {},      0,    {}};
            break;
        default: return Element(in, o.liczbaOper);
    }
    return op;
}

// Whether every index of the list names an earlier element (a muntin's
// filling an earlier filling) and the one frame comes first with a size.
bool Zdrowa(const uniOperRys* l, int32_t n) {
    auto wcz = [](int32_t i, int32_t j) { return i >= 0 && i < j; };
    for (int32_t j = 0; j < n; j++) {
        const uniOperRys& e = l[j];
        if ((j == 0) != (e.typ == kOpFrame)) return false;
        switch (e.typ) {
            case kOpFrame:
                if ((int64_t)e.rama.x1 - e.rama.x0 <= 0 || (int64_t)e.rama.y1 - e.rama.y0 <= 0) return false;
                break;
            case kOpFixedMullion:
            case kOpFalseMullion:
                if (!wcz(e.slupek.ogrPocz, j) || !wcz(e.slupek.ogrKon, j)) return false;
                break;
            case kOpSash:
                for (int s = 0; s < 4; s++)
                    if (!wcz(e.skrzydlo.ogr[s], j)) return false;
                break;
            case kOpFilling:
                for (int s = 0; s < 4; s++)
                    if (!wcz(e.wypeln.ogr[s], j)) return false;
                break;
            case kOpMuntin:
                if (!wcz(e.szpros.ogrPocz, j) || !wcz(e.szpros.ogrKon, j) || !wcz(e.szpros.wypeln, j) ||
                    l[e.szpros.wypeln].typ != kOpFilling)
                    return false;
                break;
            default: break;
        }
    }
    return true;
}

void Fault(const char* co, const std::string& a, const std::string& b) {
    fprintf(stderr, "model_fuzz: %s\n  %s\n  %s\n", co, a.c_str(), b.c_str());
    abort();
}

std::string CheckedChange(const uniOperRys* l, int32_t n, const uniOperRys* op, int32_t poz, int32_t format) {
    char msg[KV_MSG_LEN] = "";
    return CheckChange(l, n, op, poz, format, msg) ? "ok" : msg;
}

void Structures(const strOkno& o) {
    char msg[KV_MSG_LEN];
    for (int dziela = 0; dziela < 2; dziela++) {
        for (int32_t limit : {0, o.liczbaOper / 2}) {
            strObsOkno* tab;
            int32_t c;
            if (!BuildStructure(o.oper, o.liczbaOper, limit, dziela, dziela, &tab, &c, msg)) continue;
            for (int32_t i = 0; i < c; i++) {
                CheckClearance(&tab[i], o.oper, o.liczbaOper, 20, 20);
                for (uint32_t t = kOpFixedMullion; t <= kOpMuntin; t++)
                    CheckInsertion(t, (int32_t)i & 15, &tab[i], o.oper, o.liczbaOper, 5, msg);
            }
            for (int32_t j = 0; j < o.liczbaOper; j++) {
                DividedArea(&o.oper[j], tab, c);
                BoundedArea(&o.oper[j], tab, c);
            }
            FreeStructure(tab);
        }
    }
}

void Describe(strOkno& o, Wejscie& in) {
    static strZam zam;
    zam.okna = &o;
    zam.liczbaOkien = 1;
    const size_t dl = in.U8() % sizeof o.uwagi;
    memset(o.uwagi, 0, sizeof o.uwagi);
    for (size_t k = 0; k < dl; k++) o.uwagi[k] = "ab \t\r\nxyz"[in.U8() % 9];
    if (in.U8() == 255) memset(o.uwagi, 'w', sizeof o.uwagi);
    o.iProfSch = (int8_t)in.U8();
    std::vector<char> buf(1 + in.U8() * 8u);
    DescribeWindow(&zam, 0, buf.data(), (int32_t)buf.size());
    AddWindowNotes(&zam, 0, buf.data(), (int32_t)buf.size(), (int8_t)in.U8());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Wejscie in{data, size};
    char msg[KV_MSG_LEN];
    const uint8_t tryb = in.U8();
    strOkno o;
    memset(&o, 0, sizeof o);
    o.status = tryb & 0x10 ? (int32_t)(in.U8() & 7) : 4;
    const int32_t format = StructureFormat(o.status);
    o.sGrubProf = strGrubProf{AnyThickness(in), AnyThickness(in), AnyThickness(in), AnyThickness(in)};
    o.grubSzpros = AnyThickness(in);

    const int32_t ile = in.U8() % 64;
    for (int32_t j = 0; j < ile && in.n; j++) {
        uniOperRys op;
        if (tryb & 1) {
            const size_t dl = in.n < (size_t)kOpBlobLen ? in.n : (size_t)kOpBlobLen;
            BlobToDrawOp(in.p, (int32_t)dl, &op);
            in.p += dl;
            in.n -= dl;
        } else if ((tryb & 6) == 6 && j > 0) {
            op = Rosnij(in, o);
        } else {
            op = Element(in, j);
        }
        if (!AddDrawOp(&o.oper, &o.liczbaOper, &op, msg)) abort();
    }
    const int32_t n = o.liczbaOper;

    ComputeGeometry(o.oper, n, format, &o, msg);
    Structures(o);

    const std::string zmiana = CheckedChange(o.oper, n, nullptr, -2, format);
    if (Zdrowa(o.oper, n)) {
        const std::string wzorzec = ReferenceChange(o.oper, n, format);
        if (wzorzec != zmiana) Fault("change check differs from rebuilding", wzorzec, zmiana);
    }
    const uniOperRys dodany = Element(in, n);
    CheckedChange(o.oper, n, &dodany, -1, format);
    if (n > 0) CheckedChange(o.oper, n, &dodany, (int32_t)(in.U8() % n), format);

    // Copies and stored forms are the same window.
    strOkno* kopia = nullptr;
    if (!CopyWindow(&kopia, &o, msg)) abort();
    bool znaneTypy = true;
    for (int32_t j = 0; j < n; j++) znaneTypy = znaneTypy && o.oper[j].typ <= kOpMuntin;
    if (CompareWindows(kopia, &o) != (znaneTypy ? 1 : 0)) Fault("copy compares wrong", "", "");
    for (int32_t j = 0; j < n; j++) {
        unsigned char blob[kOpBlobLen];
        DrawOpToBlob(&o.oper[j], blob);
        BlobToDrawOp(blob, kOpBlobLen, &kopia->oper[j]);
    }
    if (CompareWindows(kopia, &o) != (znaneTypy ? 1 : 0)) Fault("blob round trip compares wrong", "", "");
    FreeWindow(kopia);

    // Queries.
    char nazwa[kFillingNameLen];
    int32_t typ, poz = 0, rozne = 0;
    while (NextDistinctFilling(&poz, o.oper, n, nazwa, &typ)) {
        if (strlen(nazwa) >= kFillingNameLen) abort();
        rozne++;
    }
    for (int32_t j = 0; j < n; j++) {
        const int32_t nr = FillingNumber(o.oper, n, j);
        if (nr < 0 || nr > rozne)
            Fault("filling number out of range", std::to_string(nr), std::to_string(rozne));
        for (int s = 0; s < 4; s++) ElementEdge(j, s, o.oper, n);
    }
    WindowWeight(&o, (int32_t)in.I32());
    FrameAndSashCount(&o);
    Describe(o, in);

    // Uw: with every U factor equal and no edge term, a window that passes
    // the check is exactly that factor (its frame, mullion, sash and glass
    // areas tile it once), or cannot be computed.
    bool szklaneLubAkryl = true;
    for (int32_t j = 0; j < n; j++)
        if (o.oper[j].typ == kOpFilling && (uint32_t)o.oper[j].wypeln.typWypeln > 1) szklaneLubAkryl = false;
    o.sWspUw = strWspUw{137, 137, 137, 137, 137, 0, 137, 0};
    const int32_t uw = WindowUw(&o);
    if (zmiana == "ok" && szklaneLubAkryl && uw != 137 && uw != -1)
        Fault("the areas of the Uw do not tile the window", std::to_string(uw), "");
    o.sWspUw = strWspUw{(int32_t)in.I32(), (int32_t)in.I32(), (int32_t)in.I32(), (int32_t)in.I32(),
                        (int32_t)in.I32(), (int32_t)in.I32(), (int32_t)in.I32(), (int32_t)in.I32()};
    WindowUw(&o);

    // Deletion: a sound list stays sound and passes the check if it did.
    if (n > 0) {
        const bool zdrowa = Zdrowa(o.oper, n);
        if (!DeleteElement(&o.oper, &o.liczbaOper, (int32_t)(in.U8() % n), msg)) abort();
        if (o.liczbaOper >= n) abort();
        if (zdrowa && o.liczbaOper > 0 && !Zdrowa(o.oper, o.liczbaOper))
            Fault("deletion broke the indices", "", "");
        if (zdrowa && zmiana == "ok" && CheckedChange(o.oper, o.liczbaOper, nullptr, -2, format) != "ok")
            Fault("deletion made a sound window fail", zmiana, "");
        ComputeGeometry(o.oper, o.liczbaOper, format, &o, msg);
        Structures(o);
    }
    KvFree(o.oper);
    return 0;
}
