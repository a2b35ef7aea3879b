// backup_tool.h - kelvaro-backup, the command-line face of db/backup.h for
// scheduled copies and for bringing a copy back when the program cannot
// start.
#ifndef KV_TOOLS_BACKUP_TOOL_H
#define KV_TOOLS_BACKUP_TOOL_H

#include <stdio.h>

// The whole tool, with its streams given so that tests can run it in their
// own process:
//   kelvaro-backup DATABASE [FOLDER]           a checked copy made now, named
//                                              with the date and time, into
//                                              FOLDER (default: "backups"
//                                              beside DATABASE); its path on out
//   kelvaro-backup --restore BACKUP DATABASE   the checks, the safety copy and
//                                              the replacement of the program's
//                                              "Restore a backup..." command,
//                                              without its question
// Exit status: 0 success; 1 the copy or the restore failed (the message on
// err, nothing changed); 2 wrong arguments. Opens connections of its own.
int BackupToolMain(int argc, char** argv, FILE* out, FILE* err);

#endif  // KV_TOOLS_BACKUP_TOOL_H
