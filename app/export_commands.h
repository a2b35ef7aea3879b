// export_commands.h - the register's exports: "Export to CSV..." (the rows
// the register shows, with its filter) and "Export order lines to CSV..."
// (one line per window and accessory of those orders).
#ifndef KV_APP_EXPORT_COMMANDS_H
#define KV_APP_EXPORT_COMMANDS_H

struct MainWindow;

// Runs CMD_EXPORT_CSV and CMD_EXPORT_LINES_CSV; false for any other command.
bool ExportCommand(MainWindow* w, int id);

#endif  // KV_APP_EXPORT_COMMANDS_H
