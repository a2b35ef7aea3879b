// settings_page_util.h - small helpers shared by the settings pages.
#ifndef KV_UI_SETTINGS_SETTINGS_PAGE_UTIL_H
#define KV_UI_SETTINGS_SETTINGS_PAGE_UTIL_H

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

#include "ui/settings/settings_rc.h"
#include "util/window_win.h"

// The module whose resources hold the page templates (the program's own).
HINSTANCE PageInstance();

// Creates the child page `templateId` of `parent` with `state` as its
// dialog state. The state belongs to the page once it exists (the page
// deletes it at WM_NCDESTROY); when the page cannot be made it is deleted
// here. The page's control id becomes its template number, so that the
// owner, tests and scripts find it with GetDlgItem.
template <class T>
HWND CreatePageDialog(HWND parent, int templateId, DLGPROC proc, T* state) {
    HWND page = KvCreateDialogWithState(state, PageInstance(), templateId, parent, proc);
    if (!page) return nullptr;
    SetWindowLongPtrA(page, GWLP_ID, templateId);
    return page;
}

// Deletes a page's state at WM_NCDESTROY and detaches it.
template <class T>
void DestroyPageState(T* state, HWND page) {
    SetWindowLongPtrA(page, DWLP_USER, 0);
    delete state;
}

// What a settings page does with the messages every page answers alike.
// The page's state comes first in each handler; the optional ones may be
// null.
template <class T>
struct PageHandlers {
    BOOL (*onInitDialog)(T*, HWND);  // after the state is attached
    void (*onLoad)(T*, HWND);        // the record to the controls (UM_PAGE_LOAD)
    void (*onStore)(T*, HWND);       // the controls to the record (UM_PAGE_STORE, IDOK)
    void (*onCommand)(T*, HWND, int id, int code);            // any other command
    void (*onDrawItem)(T*, const DRAWITEMSTRUCT*);            // owner-drawn controls
};

// OK (Enter in a page) stores the page; the rest goes to the page's own
// command handler when it has one.
template <class T>
void PageCommand(const PageHandlers<T>& h, T* p, HWND dlg, int id, int code) {
    if (id == IDOK) h.onStore(p, dlg);
    else if (h.onCommand) h.onCommand(p, dlg, id, code);
}

template <class T>
BOOL PageDrawItem(const PageHandlers<T>& h, T* p, const DRAWITEMSTRUCT* di) {
    if (!h.onDrawItem) return FALSE;
    h.onDrawItem(p, di);
    return TRUE;
}

// The dialog procedure of a page whose handlers are `H`: the state is
// attached at WM_INITDIALOG and deleted at WM_NCDESTROY.
template <class T, const PageHandlers<T>& H>
INT_PTR CALLBACK PageProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    T* p = KvDialogState<T>(dlg, msg, lp);
    if (!p) return FALSE;
    switch (msg) {
        case WM_INITDIALOG: return H.onInitDialog(p, dlg);
        case UM_PAGE_LOAD: H.onLoad(p, dlg); return TRUE;
        case UM_PAGE_STORE: H.onStore(p, dlg); return TRUE;
        case WM_COMMAND: PageCommand(H, p, dlg, LOWORD(wp), HIWORD(wp)); return TRUE;
        case WM_DRAWITEM: return PageDrawItem(H, p, (const DRAWITEMSTRUCT*)lp);
        case WM_NCDESTROY: DestroyPageState(p, dlg); return FALSE;
    }
    return FALSE;
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
