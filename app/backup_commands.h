// backup_commands.h - the program's side of the database backups: the daily copy
// at start-up and the "Back up the database now..." and "Restore a
// backup..." commands of the "Settings" menu.
#ifndef KV_APP_BACKUP_COMMANDS_H
#define KV_APP_BACKUP_COMMANDS_H

#include <windows.h>

// Makes today's copy of the open database unless it exists, before anything
// of the start-up writes to it. Never stops the program: a failure is kept
// for BackupShowStartNote, so that a start-up that fails later shows only
// its "Error" box.
void BackupAtStart();
// At the end of a successful start-up: one "Note" box with the reason when
// today's copy failed.
void BackupShowStartNote();

// Runs CMD_BACKUP_NOW and CMD_RESTORE_BACKUP; false for any other command.
struct MainWindow;
bool BackupCommand(MainWindow* w, int id);
// Both commands ask for their file through KvAskFile (util/file_dialog_win.h),
// starting in the folder of backups.

#endif  // KV_APP_BACKUP_COMMANDS_H
