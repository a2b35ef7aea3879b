// The print copy of the drawing set for one scope, over CreatePrintDrawSet.
#include "printset.h"

#include <string.h>

void MakePrintDrawSet(const DrawSet* screen, DrawSet* print) {
    if (!CreatePrintDrawSet(screen, print)) memset(print, 0, sizeof *print);
}

void ReleasePrintDrawSet(DrawSet* print) { DestroyPrintDrawSet(print); }
