// printset.h - the print copy of the drawing resource set: black pens and
// stock brushes where the screen uses colour, for the printout and its
// preview.
#ifndef KV_RENDER_PRINTSET_H
#define KV_RENDER_PRINTSET_H

#include <windows.h>

#include "drawset.h"

// *print := *screen with entries 3 and 4 one solid black pen of width 0,
// entry 5 a dashed geometric black pen of width 1 (flat ends), entry 6 the
// stock black pen, entry 10 the stock black brush and entries 11 and 12 the
// stock white brush. Fonts, brushes 7-9, cursors and the width-3 pen are the
// screen's. The two created pens belong to the copy: ReleasePrintDrawSet.
void MakePrintDrawSet(const DrawSet* screen, DrawSet* print);
// Deletes the two pens MakePrintDrawSet created; the copy's entries 3-5
// become null.
void ReleasePrintDrawSet(DrawSet* print);

// The copy for one scope.
class PrintDrawSet {
public:
    PrintDrawSet(const DrawSet& screen, DrawSet* print) : print_(print) { MakePrintDrawSet(&screen, print); }
    ~PrintDrawSet() { ReleasePrintDrawSet(print_); }
    PrintDrawSet(const PrintDrawSet&) = delete;
    PrintDrawSet& operator=(const PrintDrawSet&) = delete;

private:
    DrawSet* print_;
};

#endif  // KV_RENDER_PRINTSET_H
