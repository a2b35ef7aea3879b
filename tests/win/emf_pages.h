// emf_pages.h - a page metafile read back record by record: its frame, its
// text lines with the font each was written in, and its straight lines.
#ifndef KV_TESTS_WIN_EMF_PAGES_H
#define KV_TESTS_WIN_EMF_PAGES_H

#include <windows.h>

#include <string>
#include <vector>

struct EmfText {
    std::string t;  // the characters as written
    int x, y;       // reference point (left, top), page pixels
    int wys;        // the font's height as created (negative: character height)
    int waga;       // the font's weight
    std::vector<int> dx;  // GDI's spacing: each character's advance, page pixels
};

struct EmfLine {
    int x1, y1, x2, y2;  // from MoveToEx to LineTo, page pixels
};

struct EmfPage {
    RECTL ramka;                   // the header's frame, hundredths of a mm
    std::vector<EmfText> teksty;  // in drawing order
    std::vector<EmfLine> linie;
    int glify = 0;                 // text records written as glyph indexes
    int ansiTexts = 0, wideTexts = 0;  // text records of each kind
};

EmfPage ReadPage(HENHMETAFILE h);

// Texts equal to `t` (all of them, in order).
std::vector<EmfText> MatchingTexts(const EmfPage& s, const std::string& t);
// The first text starting with `poczatek`; null when there is none.
const EmfText* TextAt(const EmfPage& s, const std::string& poczatek);
// Width in page pixels of a text in "Arial" of that height and weight, as
// the display measures it.
int ArialTextWidth(const std::string& t, int wys, int waga);

#endif
