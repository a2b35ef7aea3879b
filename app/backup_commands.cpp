// The backups as the user meets them. The copying, checking and restoring
// is db/backup.h's; this file adds the questions, the file dialogs and the
// reload of what the program holds in memory after a restore.
#include "app/backup_commands.h"

#include <stdio.h>
#include <string.h>

#include <string>

#include "app/app.h"
#include "app/order_register.h"
#include "db/backup.h"
#include "db/connection.h"
#include "db/server.h"
#include "db/tables.h"
#include "resources/resource.h"
#include "util/kvutil.h"
#include "util/file_dialog_win.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "util/platform.h"
#include "util/scoped_win.h"

namespace {

const char kFilter[] = "Database backups (*.db)\0*.db\0All files (*.*)\0*.*\0";

// SQLite and db/backup.h take UTF-8; the dialogs and boxes speak ANSI.
std::string Convert(const char* text, UINT from, UINT to) {
    int n = MultiByteToWideChar(from, 0, text, -1, nullptr, 0);
    if (n <= 0) return std::string();
    std::wstring w((size_t)n, L'\0');
    MultiByteToWideChar(from, 0, text, -1, &w[0], n);
    int m = WideCharToMultiByte(to, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (m <= 0) return std::string();
    std::string s((size_t)m, '\0');
    WideCharToMultiByte(to, 0, w.c_str(), -1, &s[0], m, nullptr, nullptr);
    s.resize((size_t)m - 1);
    return s;
}

std::string ToUtf8(const char* ansi) { return Convert(ansi, CP_ACP, CP_UTF8); }
std::string ToAnsi(const char* utf8) { return Convert(utf8, CP_UTF8, CP_ACP); }

// The folder of backups beside the program's database, made if missing so
// that the dialogs open there.
std::string BackupFolder() {
    char folder[kBackupPathLen];
    BackupFolderOf(DbDefaultPath(), folder, sizeof folder);
    kvplat::MakeDir(folder);
    return folder;
}

// When the file was last written, as the user's locale shows a date and time.
std::string WrittenAt(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    FILETIME local;
    SYSTEMTIME st;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
        !FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &st))
        return "an unknown date";
    KvTime t;
    memcpy(&t, &st, sizeof t);
    char buf[KV_DATE_TIME_STR_LEN];
    return DajDataCzasStr(buf, &t);
}

void BackUpNow(HWND main) {
    const std::string folder = BackupFolder();
    char path[MAX_PATH];
    // A server's copy is named after its database.
    const std::string server = DbBackendInUse() == kDbServer ? ServerDatabaseName() + ".db" : "";
    BackupNowName(server.empty() ? DbDefaultPath() : server.c_str(), path, sizeof path);
    const KvFileQuestion q = {true, "Back up the database", kFilter, "db", folder.c_str()};
    if (!KvAskFile(main, q, path, sizeof path)) return;
    char msg[KV_MSG_LEN];
    int ok;
    {
        ScopedWaitCursor wait;  // a database of some ten thousand orders takes seconds
        ok = BackupCopy(DbHandle(), ToUtf8(path).c_str(), true, msg);
    }
    if (!ok) {
        KvShowError(main, ToAnsi(msg).c_str());
        return;
    }
    char text[KV_MSG_LEN];
    snprintf(text, sizeof text, "The database has been backed up to\r\n%s", path);
    KvShowInfo(main, text);
}

// Reads the variables and the settings of the restored database and shows
// the register as at start-up.
bool ReloadAfterRestore(MainWindow* w, char* msg) {
    strZmienne vars;
    strUstUzytk settings;
    if (!ReadVariables(&vars, msg) || !ReadUserSettings(&settings, msg)) return false;
    g_app.vars = vars;
    g_app.settings = settings;
    OrderListShowYearAndNumber(w);
    OrderListShowCurrency(w);
    OrderListRenameStatuses(w);
    SendMessageA(w->filter, CB_SETCURSEL, 0, 0);
    const bool filled = OrderListFill(w, msg);
    OrderListEnableForSelection(w, 0);
    return filled;
}

void RestoreBackup(MainWindow* w) {
    HWND main = w->hwnd;
    // A server's database is restored by kelvaro-backup, never under the
    // other desks: the command is disabled there (the help says why).
    if (DbBackendInUse() != kDbFile) return;
    const std::string folder = BackupFolder();
    char path[MAX_PATH] = "";
    const KvFileQuestion q = {false, "Restore a backup", kFilter, nullptr, folder.c_str()};
    if (!KvAskFile(main, q, path, sizeof path)) return;
    const std::string file = ToUtf8(path);
    char msg[KV_MSG_LEN];
    BackupInfo info{};
    int ok;
    {
        ScopedWaitCursor wait;  // a database of some ten thousand orders takes seconds
        ok = BackupCheck(file.c_str(), &info, msg);
    }
    if (ok && BackupIsTheDatabase(file.c_str(), DbDefaultPath())) {
        snprintf(msg, sizeof msg, "The file %s is the database itself", file.c_str());
        ok = 0;
    }
    if (!ok) {
        KvShowError(main, ToAnsi(msg).c_str());
        return;
    }
    char text[KV_MSG_LEN];
    snprintf(text, sizeof text,
             "Do you want to restore the backup of %s holding %lld orders ?\r\n"
             "The current database will be kept in the folder of backups and then replaced.",
             WrittenAt(path).c_str(), (long long)info.orders);
    if (!KvAskYesNo(main, text)) return;
    char safety[kBackupPathLen];
    {
        ScopedWaitCursor wait;  // a database of some ten thousand orders takes seconds
        // A failed reload leaves the restored database in place: its message
        // says what could not be read.
        ok = BackupRestore(DbHandle(), DbDefaultPath(), file.c_str(), &info, safety, msg) &&
             ReloadAfterRestore(w, msg);
    }
    if (!ok) {
        KvShowError(main, ToAnsi(msg).c_str());
        return;
    }
    snprintf(text, sizeof text,
             "The database has been restored from the backup of %s (%lld orders).\r\n"
             "The previous database has been kept as %s",
             WrittenAt(path).c_str(), (long long)info.orders, ToAnsi(safety).c_str());
    KvShowInfo(main, text);
}

}  // namespace

// Why today's copy failed, until the start-up can say so.
static std::string g_startNote;

void BackupAtStart() {
    g_startNote.clear();
    char msg[KV_MSG_LEN];
    if (BackupDaily(DbHandle(), DbDefaultPath(), nullptr, msg) != kBackupDailyFailed) return;
    g_startNote = "The daily backup of the database has not been made\r\n" + ToAnsi(msg);
}

void BackupShowStartNote() {
    if (g_startNote.empty()) return;
    KvMessageBox(nullptr, g_startNote.c_str(), "Note", MB_OK | MB_ICONWARNING);
    g_startNote.clear();
}

bool BackupCommand(MainWindow* w, int id) {
    switch (id) {
        case CMD_BACKUP_NOW: BackUpNow(w->hwnd); return true;
        case CMD_RESTORE_BACKUP: RestoreBackup(w); return true;
    }
    return false;
}
