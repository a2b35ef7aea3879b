// The print preview window: one page of the job on a white card with a
// shadow, in three zoom modes, turned by toolbar, keys and wheel, and
// printed through PagoraDoPrint.
//
// Three windows: the preview ("podgladDruk": toolbar, status bar, work
// window), the work window ("obsRobPdglDruk": the card, two scroll bars and
// the corner filler) and the card ("pdglDrukKrt": plays the page). All three
// share the preview's one state record, allocated from the library's heap
// because a modeless preview outlives the call that opened it.
//
// This file: PodgladDruku and the test seams; the preview window is in
// preview_window.cpp, the work window and the card in preview_pages.cpp.
#include "pagora/pagora.h"

#include "pagora/preview_internal.h"

// Test seam: the n-th next allocation of a preview fails as if the heap
// were exhausted (0 turns it off).
void UstawAwarieAlokacjiPodgladu(int n) { g_allocationFailure = n; }

void UstawAwarieOknaPodgladu(int n) { g_windowFailure = n; }

int PodgladDruku(strZadDruk* zad) {
    if (!zad || zad->liczbaStr < 1 || !zad->strony) {
        SetLastError(ERROR_INVALID_PARAMETER);
        ShowLastSystemError(nullptr, "Error of printing");
        return -1;
    }
    static bool registered;
    if (!registered) {
        WNDCLASSEXA wc;
        memset(&wc, 0, sizeof wc);
        wc.cbSize = sizeof wc;
        wc.hInstance = hInstDll;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpfnWndProc = ProcOknoPodgladDruk;
        wc.lpszClassName = kPreviewClass;
        wc.hIcon = LoadIconA(hInstDll, MAKEINTRESOURCEA(IDI_PREVIEW));
        wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
        RegisterClassExA(&wc);
        wc.hIcon = nullptr;
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ProcOknoObsRobPdglDruk;
        wc.lpszClassName = kWorkAreaClass;
        RegisterClassExA(&wc);
        wc.lpfnWndProc = ProcOknoPdglDrukKrt;
        wc.lpszClassName = kCardClass;
        wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
        RegisterClassExA(&wc);
        registered = true;
    }
    int mode = (int)(zad->flagi & PAGORA_MODE_MASK);
    char title[PAGORA_NAME_LEN + 32];
    snprintf(title, sizeof title, "Print preview - %.*s", PAGORA_NAME_LEN - 1, zad->nazwa);
    HWND hwnd = CreateWindowExA(0, kPreviewClass, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, zad->wlasciciel, nullptr, hInstDll, zad);
    // A failed creation has shown its box and released what it took (the
    // window's destruction did); the owner is as it was.
    if (!hwnd) return -1;
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    if (mode != PAGORA_MODE_MODAL) return mode;

    // The state is the window's (freed at its destruction, or by a print
    // still running then): nothing here outlives the loop.
    KvRunModalLoop(hwnd, nullptr, nullptr);
    return 0;
}
