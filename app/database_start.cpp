// The start-up's choice of database and the login to a server.
#include "app/database_start.h"

#include <windows.h>
#include <stdio.h>
#include <string.h>

#include "app/backup_commands.h"
#include "db/connection.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "widgora/widgora.h"

const char kSettingsFile[] = ".\\kelvaro.ini";

namespace {

enum { kLoginTries = 3, kLoginLen = 64, kPasswordLen = 512 };
// The login dialog's login field.
enum { kLoginField = 1204, kPasswordField = 1205 };

std::string Setting(const char* file, const char* key) {
    char value[512] = "";
    GetPrivateProfileStringA("Database", key, "", value, sizeof value, file);
    return value;
}

// The login typed into the dialog once it is up: the library's dialog
// itself starts empty. A hook of this thread sees it activate.
HHOOK g_loginHook;
const char* g_loginText;

LRESULT CALLBACK LoginHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && g_loginText) {
        HWND dlg = (HWND)wParam;
        HWND field = GetDlgItem(dlg, kLoginField);
        if (field && GetDlgItem(dlg, kPasswordField)) {
            SetWindowTextA(field, g_loginText);
            g_loginText = nullptr;
            // The password is what is missing: the caret goes there.
            PostMessageA(dlg, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dlg, kPasswordField), TRUE);
        }
    }
    return CallNextHookEx(g_loginHook, code, wParam, lParam);
}

void CopyPassword(const char* password, char* out) {
    // The dialog reads at most half the output's length.
    snprintf(out, kPasswordLen, "%s", password);
}

// Asks for the login and the password; false when the user cancels.
bool AskPassword(char login[kLoginLen], char password[kPasswordLen]) {
    g_loginText = login;
    g_loginHook = SetWindowsHookExA(WH_CBT, LoginHook, nullptr, GetCurrentThreadId());
    const int ok = WolajDlgUzytkHaslo(nullptr, login, kLoginLen, password, kPasswordLen, CopyPassword);
    if (g_loginHook) UnhookWindowsHookEx(g_loginHook);
    g_loginHook = nullptr;
    g_loginText = nullptr;
    return ok == 1;
}

// Overwrites a text that held a password before it is freed.
void Wipe(std::string* s) {
    if (!s->empty()) SecureZeroMemory(&(*s)[0], s->size());
    s->clear();
}

bool OpenServer(ServerSettings s, char* msg) {
    std::string info = ServerConnInfo(s, nullptr);
    int r = DbOpenServer(info.c_str(), msg);
    char login[kLoginLen];
    snprintf(login, sizeof login, "%s", s.login.c_str());
    for (int tries = 0; r == kServerNeedsPassword && tries < kLoginTries; tries++) {
        // A password that was tried and refused: say why before asking again.
        if (tries > 0 || strstr(msg, "authentication failed")) KvShowError(nullptr, msg);
        char password[kPasswordLen] = "";
        if (!AskPassword(login, password)) {
            msg[0] = 0;  // cancelled: no error box, nothing changed
            return false;
        }
        s.login = login;
        info = ServerConnInfo(s, password);
        SecureZeroMemory(password, sizeof password);
        r = DbOpenServer(info.c_str(), msg);
        Wipe(&info);
    }
    if (r == kServerConnected) return true;
    const size_t n = strlen(msg);
    snprintf(msg + n, KV_MSG_LEN - n, "\r\n\r\nThe database server is named in the settings file %s.", kSettingsFile);
    return false;
}

}  // namespace

ServerSettings ReadDatabaseSettings(const char* file) {
    ServerSettings s;
    s.server = Setting(file, "Server");
    s.port = Setting(file, "Port");
    s.name = Setting(file, "Name");
    s.login = Setting(file, "Login");
    s.sslMode = Setting(file, "SslMode");
    return s;
}

bool OpenTheDatabase(char* msg) {
    const ServerSettings s = ReadDatabaseSettings(kSettingsFile);
    if (!s.server.empty()) return OpenServer(s, msg);
    if (!DbOpen(DbDefaultPath(), msg)) return false;
    BackupAtStart();
    return true;
}
