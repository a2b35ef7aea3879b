// listview_win.h - a report list view's columns made from a table.
#ifndef KV_UTIL_LISTVIEW_WIN_H
#define KV_UTIL_LISTVIEW_WIN_H

#include <windows.h>
#include <commctrl.h>

struct ListColumn {
    const char* header;
    int width;   // pixels
    int format;  // LVCFMT_LEFT, LVCFMT_RIGHT
};

// Appends `count` columns to `list`, column i with sub-item i.
inline void InsertListColumns(HWND list, const ListColumn* columns, int count) {
    for (int i = 0; i < count; i++) {
        LVCOLUMNA c = {};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        c.pszText = (char*)columns[i].header;
        c.cx = columns[i].width;
        c.fmt = columns[i].format;
        c.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, (LPARAM)&c);
    }
}

#endif  // KV_UTIL_LISTVIEW_WIN_H
