#include "util/modal_loop_win.h"

#include "util/kvutil.h"
#include "util/msgbox_win.h"

static KvMessageFetch g_fetch = GetMessageA;

void KvSetMessageFetchForTest(KvMessageFetch fetch) { g_fetch = fetch ? fetch : GetMessageA; }

int KvRunModalLoop(HWND hwnd, KvPreTranslate preTranslate, void* context) {
    MSG m;
    while (IsWindow(hwnd)) {
        const BOOL got = g_fetch(&m, nullptr, 0, 0);
        if (got == -1) {
            // The code first: the destruction below makes calls of its own.
            const DWORD code = GetLastError();
            HWND owner = GetWindow(hwnd, GW_OWNER);
            DestroyWindow(hwnd);
            KvShowSystemText(owner && IsWindow(owner) ? owner : nullptr, code);
            return 0;
        }
        if (got == 0) {
            // Someone asked the program to end while this window was open:
            // the window closes as it always does, and the loop that runs
            // the program gets the quit, as it would have without us.
            DestroyWindow(hwnd);
            PostQuitMessage((int)m.wParam);
            return 0;
        }
        if (preTranslate && preTranslate(context, &m)) continue;
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return 1;
}
