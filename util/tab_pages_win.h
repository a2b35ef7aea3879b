// tab_pages_win.h - the one mechanism for the pages of a tab control: each
// page a modeless child dialog over a record of its owner's, answering the
// same few messages the same way.
//
// A page fills its controls from the record on UM_PAGE_LOAD, writes them
// back on UM_PAGE_STORE and switches them between editable and read-only on
// UM_PAGE_ENABLE (wParam 1 or 0). A page names its handlers in a
// KvPageHandlers table and uses KvPageProc<T, table> as its dialog procedure;
// KvCreatePage makes it. The settings dialog and the order window both run
// their pages this way.
#ifndef KV_UTIL_TAB_PAGES_WIN_H
#define KV_UTIL_TAB_PAGES_WIN_H

#include <windows.h>

#include "util/window_win.h"

// The pages' messages (the numbers the program's modules use for them).
enum : UINT {
    kUmPageLoad = WM_APP + 0,
    kUmPageStore = WM_APP + 1,
    kUmPageEnable = WM_APP + 6,
};

// What a page does with the messages every page answers alike. The page's
// state comes first in each handler; all but the first three may be null.
template <class T>
struct KvPageHandlers {
    BOOL (*onInitDialog)(T*, HWND);                 // after the state is attached
    void (*onLoad)(T*, HWND);                       // the record to the controls
    void (*onStore)(T*, HWND);                      // the controls to the record (and OK)
    void (*onCommand)(T*, HWND, int id, int code);  // any other command
    void (*onDrawItem)(T*, const DRAWITEMSTRUCT*);  // owner-drawn controls
    void (*onEnable)(T*, HWND, int editable);       // UM_PAGE_ENABLE
    void (*onNotify)(T*, HWND, const NMHDR*);       // notifications of its controls
    bool okIgnored;                                 // OK (Enter in the page) does not store the page
    bool stateShared;                               // the state belongs to the owner, not to the page
};

template <class T>
INT_PTR KvPageCommand(const KvPageHandlers<T>& h, T* p, HWND dlg, int id, int code) {
    if (id == IDOK && !h.okIgnored) {
        h.onStore(p, dlg);
        return TRUE;
    }
    if (h.onCommand) h.onCommand(p, dlg, id, code);
    return h.onCommand || !h.okIgnored;
}

// The dialog procedure of a page whose handlers are `H`: the state is
// attached at WM_INITDIALOG and, unless the owner keeps it, deleted at
// WM_NCDESTROY.
template <class T, const KvPageHandlers<T>& H>
INT_PTR CALLBACK KvPageProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    T* p = KvDialogState<T>(dlg, msg, lp);
    if (!p) return FALSE;
    switch (msg) {
        case WM_INITDIALOG: return H.onInitDialog(p, dlg);
        case kUmPageLoad: H.onLoad(p, dlg); return TRUE;
        case kUmPageStore: H.onStore(p, dlg); return TRUE;
        case kUmPageEnable:
            if (!H.onEnable) return FALSE;
            H.onEnable(p, dlg, (int)wp);
            return TRUE;
        case WM_COMMAND: return KvPageCommand(H, p, dlg, LOWORD(wp), HIWORD(wp));
        case WM_NOTIFY:
            if (!H.onNotify) return FALSE;
            H.onNotify(p, dlg, (const NMHDR*)lp);
            return TRUE;
        case WM_DRAWITEM:
            if (!H.onDrawItem) return FALSE;
            H.onDrawItem(p, (const DRAWITEMSTRUCT*)lp);
            return TRUE;
        case WM_NCDESTROY:
            SetWindowLongPtrA(dlg, DWLP_USER, 0);
            if (!H.stateShared) delete p;
            return FALSE;
    }
    return FALSE;
}

// Creates the page `templateId` of `instance` as a child of `parent` over
// `state`. A state of the page's own (allocated with new) belongs to the
// page once it exists and is deleted here when it cannot be made; a shared
// one stays the owner's. The page's control id becomes its template number,
// so that the owner, tests and scripts find it with GetDlgItem.
template <class T>
HWND KvCreatePage(HINSTANCE instance, HWND parent, int templateId, DLGPROC proc, T* state, bool shared) {
    HWND page = shared
                    ? CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent, proc, (LPARAM)state)
                    : KvCreateDialogWithState(state, instance, templateId, parent, proc);
    if (page) SetWindowLongPtrA(page, GWLP_ID, templateId);
    return page;
}

#endif  // KV_UTIL_TAB_PAGES_WIN_H
