// help_win.h - the program's help page, opened with the shell at a topic.
#ifndef KV_UTIL_HELP_WIN_H
#define KV_UTIL_HELP_WIN_H

#include <windows.h>

#include <string>

// The address the help request opens for a context number: the page shipped
// beside the program, at the anchor "#modProj" for contexts 3, 4, 5, 9, 10
// and "#prices" for context 20 (the price list).
std::string HelpTarget(int context);

// Opens the help page with the shell's "open" verb.
void OpenHelp(HWND owner, int context);

// Test seam: receives the address instead of the shell (null restores it).
typedef void (*HelpHook)(const char* target, void* context);
void SetHelpHook(HelpHook hook, void* context);

#endif
