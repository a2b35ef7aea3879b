// settings_page_util.h - what the settings pages share: their module and
// their creation (the field helpers are util/dialog_fields_win.h).
#ifndef KV_UI_SETTINGS_SETTINGS_PAGE_UTIL_H
#define KV_UI_SETTINGS_SETTINGS_PAGE_UTIL_H

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

#include "ui/settings/settings_rc.h"
#include "util/dialog_fields_win.h"
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

#endif  // KV_UI_SETTINGS_SETTINGS_PAGE_UTIL_H
