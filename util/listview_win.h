// listview_win.h - a report list view's columns made from a table.
#ifndef KV_UTIL_LISTVIEW_WIN_H
#define KV_UTIL_LISTVIEW_WIN_H

#include <windows.h>
#include <commctrl.h>

#include <string>

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

// Appends a row whose column i shows cells[i]; its index, or -1.
inline int AppendListRow(HWND list, const std::string* cells, int count) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    item.pszText = (char*)cells[0].c_str();
    const int row = (int)SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    for (int c = 1; row >= 0 && c < count; c++) {
        LVITEMA sub = {};
        sub.iSubItem = c;
        sub.pszText = (char*)cells[c].c_str();
        SendMessageA(list, LVM_SETITEMTEXTA, row, (LPARAM)&sub);
    }
    return row;
}

#endif  // KV_UTIL_LISTVIEW_WIN_H
