// file_dialog_win.h - the one way the program asks for a file to open or a
// name to save under, through a hook that tests replace so that no person
// is needed to answer.
#ifndef KV_UTIL_FILE_DIALOG_WIN_H
#define KV_UTIL_FILE_DIALOG_WIN_H

#include <windows.h>

struct KvFileQuestion {
    bool save;              // a name to save under (the system asks before replacing a file)
    const char* title;      // the dialog's caption
    const char* filter;     // "CSV files (*.csv)\0*.csv\0All files\0*.*\0"
    const char* extension;  // added to a typed name without one ("csv"), or null
    const char* folder;     // where the dialog opens (relative to the working directory), or null
};

// Shows the standard dialog; `path` holds the proposed name on entry and
// the chosen one on return. False when the user cancels.
bool KvAskFileSystem(HWND owner, const KvFileQuestion& q, char* path, int size);

// Every question for a file goes through this hook; KvAskFileSystem unless a
// test has put its own answer there.
typedef bool (*KvAskFileFn)(HWND owner, const KvFileQuestion& q, char* path, int size);
extern KvAskFileFn g_kvAskFile;

inline bool KvAskFile(HWND owner, const KvFileQuestion& q, char* path, int size) {
    return g_kvAskFile(owner, q, path, size);
}

#endif  // KV_UTIL_FILE_DIALOG_WIN_H
