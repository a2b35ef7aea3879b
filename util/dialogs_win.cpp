// The Win32-only routines of the utility library: waiting with a message on
// failure, the folder and file dialogs, and menu item texts.
#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>
#include <string.h>

#include <type_traits>

#include "util/kvutil.h"
#include "util/msgbox_win.h"

// kvutil.h spells these types out to stay free of <windows.h>.
static_assert(std::is_same<HWND, struct HWND__*>::value, "HWND");
static_assert(std::is_same<HMENU, struct HMENU__*>::value, "HMENU");
static_assert(std::is_same<HANDLE, void*>::value, "HANDLE");

extern "C" uint32_t CzekajNaObiekt(void* handle1, void* handle2, uint32_t timeoutMs, HWND owner) {
    HANDLE handles[2] = {handle1, handle2};
    DWORD r = WaitForMultipleObjects(2, handles, FALSE, timeoutMs);
    if (r == WAIT_TIMEOUT) {
        KvMessageBox(owner, "Exceeded the waiting time", "Error", MB_OK | MB_ICONWARNING);
    } else if (r == WAIT_FAILED) {
        DWORD code = GetLastError();
        char text[512];
        DajKomunBledu2(code, text, (int)sizeof text, 1);
        KvMessageBox(owner, text, "Error", MB_OK | MB_ICONWARNING);
        SetLastError(code);
    }
    return r;
}

// Pre-selects the folder that the buffer names when the browser starts.
static int CALLBACK BrowseCallback(HWND wnd, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data && *(const char*)data) {
        SendMessageA(wnd, BFFM_SETSELECTIONA, TRUE, data);
    }
    return 0;
}

extern "C" int wybierzKatalog(HWND owner, const char* title, char* path) {
    if (!path) return -1;
    BROWSEINFOA bi;
    memset(&bi, 0, sizeof bi);
    char display[MAX_PATH];
    bi.hwndOwner = owner;
    bi.pszDisplayName = display;
    bi.lpszTitle = title;
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    bi.lpfn = BrowseCallback;
    bi.lParam = (LPARAM)path;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    PIDLIST_ABSOLUTE pidl = SHBrowseForFolderA(&bi);
    int result = -1;
    if (pidl) {
        char chosen[MAX_PATH];
        if (SHGetPathFromIDListA(pidl, chosen)) {
            memcpy(path, chosen, strlen(chosen) + 1);
            result = 0;
        }
        CoTaskMemFree(pidl);
    }
    CoUninitialize();
    return result;
}

static void FillOfn(OPENFILENAMEA* ofn, HWND owner, const char* title, char* file, int fileSize,
                    const char* initialDir, const char* filter) {
    memset(ofn, 0, sizeof *ofn);
    ofn->lStructSize = sizeof *ofn;
    ofn->hwndOwner = owner;
    ofn->lpstrTitle = title;
    ofn->lpstrFile = file;
    ofn->nMaxFile = fileSize > 0 ? (DWORD)fileSize : 0;
    ofn->lpstrInitialDir = initialDir;
    ofn->lpstrFilter = filter;
}

extern "C" int wybierzPlik(HWND owner, const char* title, char* file, int fileSize, const char* initialDir,
                           const char* filter) {
    if (!file || fileSize <= 0) return -1;
    OPENFILENAMEA ofn;
    FillOfn(&ofn, owner, title, file, fileSize, initialDir, filter);
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    return GetOpenFileNameA(&ofn) ? 0 : -1;
}

extern "C" int WybierzPlikDoZapisu(HWND owner, const char* title, char* file, int fileSize,
                                   const char* initialDir, const char* filter) {
    if (!file || fileSize <= 0) return 0;
    OPENFILENAMEA ofn;
    FillOfn(&ofn, owner, title, file, fileSize, initialDir, filter);
    ofn.Flags = OFN_HIDEREADONLY;
    return GetSaveFileNameA(&ofn) ? 1 : 0;
}

extern "C" int UstawNapisOpcMenu(HMENU menu, int pos, const char* text) {
    MENUITEMINFOA mii;
    memset(&mii, 0, sizeof mii);
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STRING;
    mii.dwTypeData = const_cast<char*>(text ? text : "");
    return SetMenuItemInfoA(menu, (UINT)pos, TRUE, &mii) ? 1 : 0;
}
