#include "ui/settings/currencies.h"

#include "db/names.h"

const char* CurrencyCodeAt(int index) { return CurrencyCode(index); }

void FillCurrencyList(HWND dlg, int id) {
    HWND box = GetDlgItem(dlg, id);
    char cls[16] = "";
    GetClassNameA(box, cls, sizeof cls);
    // The same filling serves a drop-down list and a plain list box.
    const bool combo = lstrcmpiA(cls, "ComboBox") == 0;
    SendMessageA(box, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    // Inserted at their positions, so that a sorted box keeps index order too.
    for (int i = 0; i < kCurrencyCount; i++) {
        SendMessageA(box, combo ? CB_INSERTSTRING : LB_INSERTSTRING, i, (LPARAM)CurrencyCodeAt(i));
    }
}
