// printset.h - the print copy of the drawing resource set: black pens and
// stock brushes where the screen uses colour, for the printout and its
// preview.
#ifndef KV_RENDER_PRINTSET_H
#define KV_RENDER_PRINTSET_H

#include <windows.h>

#include "drawset.h"

// *print := the print copy of *screen (CreatePrintDrawSet, drawset.h); an
// all-null set when its pens cannot be made. The two created pens belong to
// the copy: ReleasePrintDrawSet.
void MakePrintDrawSet(const DrawSet* screen, DrawSet* print);
// Deletes the two pens MakePrintDrawSet created; every entry becomes null.
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
