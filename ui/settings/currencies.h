// currencies.h - the currency codes, for every currency list and label.
#ifndef KV_UI_SETTINGS_CURRENCIES_H
#define KV_UI_SETTINGS_CURRENCIES_H

#include <windows.h>

// The code of currency index 0-34 ("EUR" is 12); "" for any other index.
// One table serves the whole program (the register's status bar reads it
// through the same function), so a list position always equals the index.
const char* CurrencyCodeAt(int index);

// Empties the combo box (or list box) `id` of `dlg` and adds the 35 codes in
// index order.
void FillCurrencyList(HWND dlg, int id);

#endif  // KV_UI_SETTINGS_CURRENCIES_H
