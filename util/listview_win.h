// listview_win.h - a report list view's columns made from a table.
#ifndef KV_UTIL_LISTVIEW_WIN_H
#define KV_UTIL_LISTVIEW_WIN_H

#include <windows.h>
#include <commctrl.h>

struct ListColumn {
    const char* header;
    int width;   // pixels at 96 dpi
    int format;  // LVCFMT_LEFT, LVCFMT_RIGHT
};

// Appends `count` columns to `list`, column i with sub-item i; the widths
// are given at 96 dpi and made at `dpi`.
inline void InsertListColumns(HWND list, const ListColumn* columns, int count, int dpi = 96) {
    for (int i = 0; i < count; i++) {
        LVCOLUMNA c = {};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        c.pszText = (char*)columns[i].header;
        c.cx = MulDiv(columns[i].width, dpi, 96);
        c.fmt = columns[i].format;
        c.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, (LPARAM)&c);
    }
}

// Sets the columns' widths again for `dpi` (a move to another display scale).
inline void SetListColumnWidths(HWND list, const ListColumn* columns, int count, int dpi) {
    for (int i = 0; i < count; i++)
        SendMessageA(list, LVM_SETCOLUMNWIDTH, i, MulDiv(columns[i].width, dpi, 96));
}

#endif  // KV_UTIL_LISTVIEW_WIN_H
