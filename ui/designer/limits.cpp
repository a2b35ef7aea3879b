// limits.cpp - the size-limit check. Everything happens on a copy of the
// window and its list, so a refusal leaves the caller's window as it was.
#include "ui/designer/limits.h"

#include <string.h>

#include "model/structure.h"
#include "util/heap.h"
#include "util/msgbuf.h"

namespace {

// The four profile thicknesses against their limits, in the order the user
// reads them: frame, sash, fixed mullion, false mullion.
int CheckThicknesses(const strGrubProf* g, char* msg) {
    struct Limit {
        int32_t newValue, min, max;
        const char* tooNarrow;
        const char* tooThick;
    };
    const Limit limity[] = {
        {g->rama, kMinFrameThickness, kMaxFrameThickness,
         "The frame is too narrow\r\nThe minimum allowed thickness of a frame is %d mm",
         "The frame is too thick\r\nThe maximum allowed thickness of a frame is %d mm"},
        {g->skrzydlo, kMinSashThickness, kMaxSashThickness,
         "The sash is too narrow\r\nThe minimum allowed thickness of a sash is %d mm",
         "The sash is too thick\r\nThe maximum allowed thickness of a sash is %d mm"},
        {g->slupekStaly, kMinMullionThickness, kMaxMullionThickness,
         "The fixed mullion is too narrow\r\nThe minimum allowed thickness of a fixed mullion is %d mm",
         "The fixed mullion is too thick\r\nThe maximum allowed thickness of a fixed mullion is %d mm"},
        {g->slupekRuchomy, kMinMullionThickness, kMaxMullionThickness,
         "The false mullion is too narrow\r\nThe minimum allowed thickness of a false mullion is %d mm",
         "The false mullion is too thick\r\nThe maximum allowed thickness of a false mullion is %d mm"},
    };
    for (const Limit& l : limity) {
        if (l.newValue < l.min) {
            KvMsg(msg, l.tooNarrow, (int)l.min);
            return 0;
        }
        if (l.newValue > l.max) {
            KvMsg(msg, l.tooThick, (int)l.max);
            return 0;
        }
    }
    return 1;
}

int CheckMuntinThickness(int32_t g, char* msg) {
    if (g < kMinMuntinThickness) {
        KvMsg(msg, "The muntin is too narrow\r\nThe minimum allowed thickness of a muntin is %d mm",
              (int)kMinMuntinThickness);
        return 0;
    }
    if (g > kMaxMuntinThickness) {
        KvMsg(msg, "The muntin is too thick\r\nThe maximum allowed thickness of muntin is %d mm",
              (int)kMaxMuntinThickness);
        return 0;
    }
    return 1;
}

// The frame size and every area's clear width and height, on a list whose
// geometry is computed.
int CheckAreas(const uniOperRys* lista, int32_t liczba, char* msg) {
    strObsOkno* tab = nullptr;
    int32_t ile = 0;
    if (!BuildStructure(lista, liczba, 0, 0, 1, &tab, &ile, msg)) return 0;
    int wynik = 1;
    const strOperRama& r = lista[0].rama;
    if ((int64_t)r.x1 - r.x0 > kMaxFrameSize) {
        KvMsg(msg, "The frame is too wide\r\nThe maximum allowed width of a frame is %d mm",
              (int)kMaxFrameSize);
        wynik = 0;
    } else if ((int64_t)r.y1 - r.y0 > kMaxFrameSize) {
        KvMsg(msg, "The frame is too high\r\nThe maximum allowed height of a frame is %d mm",
              (int)kMaxFrameSize);
        wynik = 0;
    }
    for (int32_t i = 0; wynik && i < ile; i++) {
        switch (CheckClearance(&tab[i], lista, liczba, kMinClearance, kMinClearance)) {
            case 0: break;
            case 1:
                KvMsg(msg, "The distance of the profile is too small");
                wynik = 0;
                break;
            case 2:
                KvMsg(msg, "The distance of the muntin is too small");
                wynik = 0;
                break;
            default:
                KvMsg(msg, "Incorrect area of the window");
                wynik = 0;
                break;
        }
    }
    FreeStructure(tab);
    return wynik;
}

}  // namespace

int CheckLimits(const strOkno* okno, int32_t n, const uniOperRys* nowe, int32_t indeks,
                  const strGrubProf* grub, const int32_t* grubSzpros, char* msg) {
    if (grub && !CheckThicknesses(grub, msg)) return 0;
    if (grubSzpros && !CheckMuntinThickness(*grubSzpros, msg)) return 0;
    if (!okno) {
        KvMsg(msg, "Wrong structure of the window");
        return 0;
    }
    const int32_t stare = okno->liczbaOper > 0 && okno->oper ? okno->liczbaOper : 0;
    if (n < 0 || (n > 0 && !nowe) || indeks < kLimNoChange || (indeks >= 0 && (indeks >= stare || n < 1))) {
        KvMsg(msg, "Wrong structure of the window");
        return 0;
    }
    if (stare == 0 && n == 0) return 1;

    // The copy: the record by value, the list in one block large enough for
    // everything appended, so a batch of thousands is copied once.
    const int64_t pojemnosc = (int64_t)stare + (indeks == kLimAppend ? n : 0);
    if (pojemnosc > 0x7fffffff / (int64_t)sizeof(uniOperRys)) {
        KvMsg(msg, "Error of allocation and copying uniOperRys union");
        return 0;
    }
    strOkno kopia = *okno;
    kopia.oper = nullptr;
    kopia.liczbaOper = 0;
    if (pojemnosc > 0) {
        kopia.oper = (uniOperRys*)KvAlloc((size_t)pojemnosc * sizeof(uniOperRys));
        if (!kopia.oper) {
            KvMsg(msg, "Error of allocation and copying uniOperRys union");
            return 0;
        }
        if (stare) memcpy(kopia.oper, okno->oper, (size_t)stare * sizeof(uniOperRys));
    }
    kopia.liczbaOper = stare;
    const int32_t format = 5;
    int wynik = 1;
    if (indeks == kLimAppend) {
        for (int32_t k = 0; k < n && wynik; k++) {
            const int32_t j = kopia.liczbaOper;
            kopia.oper[j] = nowe[k];
            wynik = ComputeElement(kopia.oper, j + 1, j, format, &kopia, msg);
            if (wynik) kopia.liczbaOper = j + 1;
        }
    } else if (indeks >= 0) {
        const uniOperRys stary = kopia.oper[indeks];
        kopia.oper[indeks] = nowe[0];
        wynik = ComputeElement(kopia.oper, kopia.liczbaOper, indeks, format, &kopia, msg);
        if (!wynik) kopia.oper[indeks] = stary;
    }
    if (wynik && kopia.liczbaOper > 0) {
        if (grub) kopia.sGrubProf = *grub;
        if (grubSzpros) kopia.grubSzpros = *grubSzpros;
        // A replaced element moves what is bounded by it, and a new thickness
        // moves everything: both need the whole pass again.
        if (grub || grubSzpros || indeks >= 0)
            wynik = ComputeGeometry(kopia.oper, kopia.liczbaOper, format, &kopia, msg);
        if (wynik) wynik = CheckAreas(kopia.oper, kopia.liczbaOper, msg);
    }
    KvFree(kopia.oper);
    return wynik;
}

int ApplyThicknesses(strOkno* window, const strGrubProf& profile, int32_t muntin, char* msg) {
    const strGrubProf oldProfile = window->sGrubProf;
    const int32_t oldMuntin = window->grubSzpros;
    window->sGrubProf = profile;
    window->grubSzpros = muntin;
    if (ComputeGeometry(window->oper, window->liczbaOper, 5, window, msg)) return 1;
    // The old thicknesses gave this geometry before, so the pass gives it
    // again; the elements after the one that failed were never touched.
    window->sGrubProf = oldProfile;
    window->grubSzpros = oldMuntin;
    char ignored[KV_MSG_LEN];
    ComputeGeometry(window->oper, window->liczbaOper, 5, window, ignored);
    return 0;
}
