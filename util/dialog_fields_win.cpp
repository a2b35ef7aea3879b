// What dialogs do with their fields.
#include "util/dialog_fields_win.h"

#include <commctrl.h>
#include <stdlib.h>
#include <string.h>

#include "util/kvutil.h"

void SetFieldText(HWND dlg, int id, const char* field, size_t width) {
    char text[1024];
    size_t n = strnlen(field, width < sizeof text ? width : sizeof text);
    if (n >= width) n = width - 1;
    memcpy(text, field, n);
    text[n] = 0;
    SetDlgItemTextA(dlg, id, text);
}

void GetFieldText(HWND dlg, int id, char* field, size_t width) {
    // GetDlgItemText cuts to the buffer and always terminates it.
    if (!GetDlgItemTextA(dlg, id, field, (int)width)) field[0] = 0;
}

void FixedPointText(int64_t value, int scale, int decimals, char* text) {
    if (scale == 10000) {
        LLX10000NaNap(value, text);
        if (decimals != 4) DopasujCzDzies(text, decimals, nullptr);
    } else {
        LLX100NaNap(value, text);
        if (decimals != 2) DopasujCzDzies(text, decimals, nullptr);
    }
}

bool KvReadAmountText(const char* text, int scale, int64_t lo, int64_t hi, int64_t* value) {
    // The readers stop at 63 characters; an integer part of more than 15
    // digits would not fit the scale, whatever reached the edit.
    const char* digits = text;
    if (*digits == '-') digits++;
    size_t n = 0;
    while (digits[n] >= '0' && digits[n] <= '9') n++;
    if (n > 15) return false;
    const int64_t v = scale == 10000 ? NapNaLLX10000(text) : NapNaLLX100(text);
    if (v < lo || v > hi) return false;
    *value = v;
    return true;
}

bool KvReadAmount(HWND control, int scale, int64_t lo, int64_t hi, int64_t* value) {
    char text[64] = "";
    GetWindowTextA(control, text, sizeof text);
    return KvReadAmountText(text, scale, lo, hi, value);
}

bool KvReadAmount32(HWND control, int scale, int32_t lo, int32_t hi, int32_t* value) {
    int64_t v = 0;
    if (!KvReadAmount(control, scale, lo, hi, &v)) return false;
    *value = (int32_t)v;
    return true;
}

bool ReadSpinValue(HWND dlg, int editId, int lo, int hi, int32_t* value) {
    char text[32] = "";
    GetDlgItemTextA(dlg, editId, text, sizeof text);
    mojLtrim(text);
    mojPtrim(text);
    const size_t len = strlen(text);
    if (len == 0 || len > 9 || !CzyNapLiczba(text)) return false;
    long v = strtol(text, nullptr, 10);
    if (v < lo || v > hi) return false;
    *value = (int32_t)v;
    return true;
}

void SetSpin(HWND dlg, int spinId, int lo, int hi, int value) {
    HWND spin = GetDlgItem(dlg, spinId);
    SendMessageA(spin, UDM_SETRANGE32, lo, hi);
    SendMessageA(spin, UDM_SETPOS32, 0, value);
    // A stored value outside the range is shown as it is, so that the user
    // sees it; the up-down itself would have clamped it.
    HWND buddy = (HWND)SendMessageA(spin, UDM_GETBUDDY, 0, 0);
    if (buddy && (value < lo || value > hi)) SetDlgItemInt(dlg, GetDlgCtrlID(buddy), value, TRUE);
}
