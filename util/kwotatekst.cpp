// Amounts shown with two decimals.
#include "kwotatekst.h"

#include <string.h>

#include "kvutil.h"

int KwotaGrupDwaMiejsca(int64_t amount, char* dest, int destSize) {
    int n = DajNapKwotaZlSepTys(amount, dest, destSize);
    if (n <= 0) return 0;
    char sep = DajSepDziesLocale();
    if (strchr(dest, sep)) return n;
    // A whole amount: the decimals go right after the last digit, ahead of a
    // trailing sign or bracket of the locale's negative form.
    int len = (int)strlen(dest);
    int at = len;
    while (at > 0 && !(dest[at - 1] >= '0' && dest[at - 1] <= '9')) at--;
    if (at == 0 || len + 3 >= destSize) {
        dest[0] = 0;
        return 0;
    }
    memmove(dest + at + 3, dest + at, (size_t)(len - at) + 1);
    dest[at] = sep;
    dest[at + 1] = '0';
    dest[at + 2] = '0';
    return len + 4;
}
