// The standard open and save dialogs behind the file question hook.
#include "util/file_dialog_win.h"

#include <commdlg.h>

bool KvAskFileSystem(HWND owner, const KvFileQuestion& q, char* path, int size) {
    if (!path || size <= 0) return false;
    char initial[MAX_PATH] = "";
    if (q.folder) GetFullPathNameA(q.folder, (DWORD)sizeof initial, initial, nullptr);
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrTitle = q.title;
    ofn.lpstrFilter = q.filter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = (DWORD)size;
    ofn.lpstrDefExt = q.extension;
    ofn.lpstrInitialDir = initial[0] ? initial : nullptr;
    // The working directory stays: the program finds its database there.
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                (q.save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST);
    return (q.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn)) != 0;
}

KvAskFileFn g_kvAskFile = KvAskFileSystem;
