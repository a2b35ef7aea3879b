#include "db/names.h"

#include <stdio.h>

#include "util/platform.h"

const char* StatusName(const strUstUzytk* settings, int status) {
    if (status == 0) return "NEW";
    if (status == -1) return "DELETED";
    if (status >= 1 && status <= kStatusCount && settings) {
        // A slot read from a damaged row may lack its terminator.
        const char* name = settings->stanyZam[status - 1];
        for (int i = 0; i < kStatusNameLen; i++) {
            if (!name[i]) return name;
        }
    }
    return "";
}

const char* FillingTypeName(int type) {
    switch (type) {
        case 0: return "Glass";
        case 1: return "Acrylic";
        default: return "";
    }
}

const char* ProfileTypeName(int type) {
    switch (type) {
        case 0: return "PVC";
        case 1: return "Wood";
        case 2: return "ALU";
        default: return "";
    }
}

const char* CurrencyCode(int index) {
    static const char* const kCodes[kCurrencyCount] = {
        "AUD", "ARS", "BGN", "BRL", "CAD", "CHF", "CLP", "CNY", "CZK", "DDK", "DZD", "EEK",
        "EUR", "GBP", "HRK", "INR", "JPY", "LTL", "LVL", "MKD", "MXN", "NOK", "NZD", "PEN",
        "PHP", "PLN", "RON", "RUB", "SEK", "SGD", "TRY", "UAH", "USD", "TWD", "ZAR"};
    return index >= 0 && index < kCurrencyCount ? kCodes[index] : "";
}

void ComposeOrderNumber(int32_t number, const char* abbrev, size_t width, int32_t year, OrderNumberForm form,
                        char* text, size_t cap) {
    if (!cap) return;
    size_t n = 0;
    while (n + 1 < width && abbrev[n]) n++;
    snprintf(text, cap, "%d-%.*s-%4d", (int)number, (int)n, abbrev, (int)year);
    if (form == kNumberUpperCased) kvplat::UpperCaseAnsi(text);
}
