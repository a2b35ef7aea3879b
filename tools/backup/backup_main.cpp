// kelvaro-backup: see backup_tool.h.
#include <stdio.h>

#include "tools/backup/backup_tool.h"

int main(int argc, char** argv) { return BackupToolMain(argc, argv, stdout, stderr); }
