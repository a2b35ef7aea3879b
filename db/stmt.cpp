#include "db/stmt.h"

#include <string.h>

void ColumnText(sqlite3_stmt* st, int col, char* field, int width) {
    if (!field || width <= 0) return;
    const unsigned char* text = sqlite3_column_text(st, col);
    int n = text ? sqlite3_column_bytes(st, col) : 0;
    if (n > width - 1) n = width - 1;
    if (n > 0) memcpy(field, text, (size_t)n);
    field[n] = 0;
}

void ColumnBlob(sqlite3_stmt* st, int col, void* field, int width) {
    if (!field || width <= 0) return;
    const void* blob = sqlite3_column_blob(st, col);
    int n = blob ? sqlite3_column_bytes(st, col) : 0;
    if (n > width) n = width;
    if (n > 0) memcpy(field, blob, (size_t)n);
    memset((char*)field + n, 0, (size_t)(width - n));
}
