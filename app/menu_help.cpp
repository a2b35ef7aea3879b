// What a menu item of the register does, and its key, in the status bar
// while the item is highlighted (the menu bar, the list's pop-up menu and
// the toolbar's drop-down). The status bar turns to its simple form for
// the text and back to its three parts, whose texts it keeps, when the
// menu closes.
#include "app/register_internal.h"

namespace {

struct ItemHelp {
    int command;  // of the item, or of the first item of a submenu
    bool submenu;
    const char* text;
};

const ItemHelp kHelp[] = {
    {CMD_NEW, true, "Create, open, change, find, export and print orders"},
    {CMD_NEXT_NUMBER, true, "Numbering, the working year, settings, the price list, registers and backups"},
    {CMD_HELP, true, "The help page and the program's version"},
    {CMD_STATUS_FIRST, true, "Give the selected orders another status"},
    {CMD_DEL_REG_FIRST, true, "Empty a register of the names used before"},
    {CMD_NEW, false, "Create a new order (Ctrl+N)"},
    {CMD_PREVIEW, false, "Open the selected order for viewing (Enter)"},
    {CMD_EDIT_AS_NEW, false, "Make a new order from a copy of the selected one (Ctrl+E)"},
    {CMD_DELETE, false, "Delete the selected orders (Delete)"},
    {CMD_CORRECT, false, "Open the selected order for correction"},
    {CMD_SEARCH, false, "Find an order by its number (Ctrl+F)"},
    {CMD_EXPORT_CSV, false, "Write the orders the list shows to a CSV file"},
    {CMD_EXPORT_LINES_CSV, false, "Write the windows and accessories of the orders the list shows to a CSV file"},
    {CMD_SALES_OVERVIEW, false, "The orders' totals by month and status, as a chart and a table"},
    {CMD_PRINT, false, "Print the selected order, with a preview first (Ctrl+P)"},
    {CMD_SAVE_PDF, false, "Save the printout of the selected order as a PDF file"},
    {CMD_EXIT, false, "Close the program (Alt+F4)"},
    {CMD_NEXT_NUMBER, false, "Set the number that the next new order gets"},
    {CMD_CLOSE_YEAR, false, "End the working year and number the orders of the next one from 1"},
    {CMD_SETTINGS, false, "The seller's data, the status names, the currency and the other settings"},
    {CMD_PRICE_LIST, false, "The rates from which the designer prices a window"},
    {CMD_DEL_REG_FIRST + 0, false, "Empty the register of the used profiles"},
    {CMD_DEL_REG_FIRST + 1, false, "Empty the register of the used hardware"},
    {CMD_DEL_REG_FIRST + 2, false, "Empty the register of the used colors"},
    {CMD_DEL_REG_FIRST + 3, false, "Empty the register of the used glazing beads"},
    {CMD_DEL_REG_FIRST + 4, false, "Empty the register of the used muntins"},
    {CMD_DEL_REG_FIRST + 5, false, "Empty the register of the used fillings"},
    {CMD_DEL_REG_FIRST + 6, false, "Empty the register of the used accessories"},
    {CMD_BACKUP_NOW, false, "Write a checked copy of the database now"},
    {CMD_RESTORE_BACKUP, false, "Bring the database back from a backup copy"},
    {CMD_HELP, false, "Open the help page"},
    {CMD_ABOUT, false, "The program's name and version"},
};

const char* HelpOf(int command, bool submenu) {
    for (const ItemHelp& h : kHelp)
        if (h.command == command && h.submenu == submenu) return h.text;
    return nullptr;
}

// The text for item `item` (a command, or for a submenu its position) of
// `menu`; empty when the item has none (a separator).
void ItemText(UINT item, UINT flags, HMENU menu, char* text, int size) {
    text[0] = 0;
    if (flags & MF_POPUP) {
        const HMENU sub = GetSubMenu(menu, (int)item);
        const int first = sub ? (int)GetMenuItemID(sub, 0) : -1;
        if (const char* t = first >= 0 ? HelpOf(first, true) : nullptr) snprintf(text, (size_t)size, "%s", t);
        return;
    }
    const int command = (int)item;
    if (command >= CMD_STATUS_FIRST && command <= CMD_STATUS_LAST) {
        snprintf(text, (size_t)size, "Give the selected orders the status \"%s\"",
                 StatusName(&g_app.settings, command - CMD_STATUS_FIRST + 1));
        return;
    }
    if (const char* t = HelpOf(command, false)) snprintf(text, (size_t)size, "%s", t);
}

}  // namespace

void OrderListMenuSelect(MainWindow* w, UINT item, UINT flags, HMENU menu) {
    // The menu closed, or the system menu: the three parts again.
    if ((flags == 0xFFFF && !menu) || (flags & MF_SYSMENU)) {
        OrderListMenuHelpEnd(w);
        return;
    }
    char text[256];
    ItemText(item, flags, menu, text, (int)sizeof text);
    SendMessageA(w->status, SB_SIMPLE, TRUE, 0);
    SendMessageA(w->status, SB_SETTEXTA, SB_SIMPLEID | SBT_NOBORDERS, (LPARAM)text);
}

void OrderListMenuHelpEnd(MainWindow* w) {
    if (SendMessageA(w->status, SB_ISSIMPLE, 0, 0)) SendMessageA(w->status, SB_SIMPLE, FALSE, 0);
}
