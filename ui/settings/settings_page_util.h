// settings_page_util.h - small helpers shared by the settings pages.
#ifndef KV_UI_SETTINGS_SETTINGS_PAGE_UTIL_H
#define KV_UI_SETTINGS_SETTINGS_PAGE_UTIL_H

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

#include "ui/settings/settings_rc.h"
#include "util/tab_pages_win.h"

static_assert(UM_PAGE_LOAD == kUmPageLoad && UM_PAGE_STORE == kUmPageStore,
              "the settings pages answer the page messages");

// The module whose resources hold the page templates (the program's own).
HINSTANCE PageInstance();

// Creates the settings page `templateId` of `parent` over `state` (the
// page's own, deleted by it): KvCreatePage of the program's module.
template <class T>
HWND CreatePageDialog(HWND parent, int templateId, DLGPROC proc, T* state) {
    return KvCreatePage(PageInstance(), parent, templateId, proc, state, false);
}

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

// Reads a non-negative number in hundredths or ten-thousandths from an edit.
// False, and *value untouched, when it does not fit `max`.
bool ReadFixedPoint(HWND dlg, int id, int scale, int64_t max, int64_t* value);
bool ReadFixedPoint32(HWND dlg, int id, int scale, int32_t* value);

// Reads the whole number of an edit with an up-down: true with the value
// when the text is a number from lo to hi, false (value untouched) for an
// empty text, anything but digits, or a number out of range.
bool ReadSpinValue(HWND dlg, int editId, int lo, int hi, int32_t* value);

// Sets the range of an up-down and its buddy's number.
void SetSpin(HWND dlg, int spinId, int lo, int hi, int value);

#endif  // KV_UI_SETTINGS_SETTINGS_PAGE_UTIL_H
