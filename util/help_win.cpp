#include "util/help_win.h"

#include <shellapi.h>

static HelpHook g_hook;
static void* g_hookContext;

void SetHelpHook(HelpHook hook, void* context) {
    g_hook = hook;
    g_hookContext = context;
}

std::string HelpTarget(int context) {
    char exe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string dir = exe;
    dir = dir.substr(0, dir.find_last_of("\\/") + 1);
    // A file URL, so that the anchor survives the trip through the shell.
    std::string url = "file:///";
    for (char c : dir + "kelvaro-help.html") url += (c == '\\') ? '/' : c;
    switch (context) {
        case 3:
        case 4:
        case 5:
        case 9:
        case 10: url += "#modProj"; break;
        case 20: url += "#prices"; break;
    }
    return url;
}

void OpenHelp(HWND owner, int context) {
    std::string target = HelpTarget(context);
    if (g_hook) {
        g_hook(target.c_str(), g_hookContext);
        return;
    }
    ShellExecuteA(owner, "open", target.c_str(), nullptr, ".", SW_SHOWNORMAL);
}
