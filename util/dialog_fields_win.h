// dialog_fields_win.h - what dialogs do with their fields: the text of a
// fixed-width record field, the one reading of a typed amount, whole
// numbers of an up-down.
#ifndef KV_UTIL_DIALOG_FIELDS_WIN_H
#define KV_UTIL_DIALOG_FIELDS_WIN_H

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

// Sets a control's text from a fixed-width field that may lack its
// terminator (a damaged row): at most width - 1 characters are shown.
void SetFieldText(HWND dlg, int id, const char* field, size_t width);

// Reads a control's text into a fixed-width field, cut to width - 1
// characters and terminated.
void GetFieldText(HWND dlg, int id, char* field, size_t width);

// The text of a value in hundredths (scale 100) or ten-thousandths (scale
// 10000) with `decimals` decimal places in the locale's form; extra places
// are cut, as the edit that shows them would cut them.
void FixedPointText(int64_t value, int scale, int decimals, char* text);

// The one reading of an amount or a rate the user typed: the text (at most
// 63 characters) in hundredths (scale 100) or ten-thousandths (10000), as
// NapNaLLX100 and NapNaLLX10000 read it (the locale's decimal separator,
// extra decimals cut). True with *value when it lies within lo..hi; false,
// *value untouched, for an integer part of more than 15 digits or a value
// out of the range.
bool KvReadAmountText(const char* text, int scale, int64_t lo, int64_t hi, int64_t* value);
// The same of a control's text.
bool KvReadAmount(HWND control, int scale, int64_t lo, int64_t hi, int64_t* value);
bool KvReadAmount32(HWND control, int scale, int32_t lo, int32_t hi, int32_t* value);

// Reads the whole number of an edit with an up-down: true with the value
// when the text is a number from lo to hi, false (value untouched) for an
// empty text, anything but digits, or a number out of range.
bool ReadSpinValue(HWND dlg, int editId, int lo, int hi, int32_t* value);

// Sets the range of an up-down and its buddy's number.
void SetSpin(HWND dlg, int spinId, int lo, int hi, int value);

#endif  // KV_UTIL_DIALOG_FIELDS_WIN_H
