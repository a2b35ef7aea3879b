// The grouped form drops the decimals of a whole amount; here they are put
// back after the last digit, so that the locale's own negative forms
// ("-1 188", "(1 188)", "1 188-") keep their sign where the locale puts it.
#include "amounttext.h"

#include <string.h>

#include "kvutil.h"

int KwotaNaTekst2(int64_t amount, char* dest, int destSize) {
    if (!dest || destSize <= 0) return 0;
    dest[0] = 0;
    char buf[96];
    if (DajNapKwotaZlSepTys(amount, buf, (int)sizeof buf - 3) <= 0) return 0;
    if (amount % 100 == 0) {
        char* last = nullptr;
        for (char* p = buf; *p; p++)
            if (*p >= '0' && *p <= '9') last = p;
        if (!last) return 0;
        memmove(last + 4, last + 1, strlen(last + 1) + 1);
        last[1] = DajSepDziesLocale();
        last[2] = '0';
        last[3] = '0';
    }
    const int n = (int)strlen(buf);
    if (n + 1 > destSize) return 0;
    memcpy(dest, buf, (size_t)n + 1);
    return n + 1;
}
