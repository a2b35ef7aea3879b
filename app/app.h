// app.h - the application state: everything that lives for the whole run.
#ifndef KV_APP_APP_H
#define KV_APP_APP_H

#include <windows.h>

#include "db/records.h"
#include "render/drawset_win.h"

extern const char kMainClass[];  // "kelvaro"
extern const char kMainTitle[];  // "Quarvel"

struct AppState {
    HINSTANCE instance;  // loads every resource
    HWND mainWindow;
    strZmienne vars;       // last order number and working year, as in T_Zmienne
    strUstUzytk settings;  // the T_UstUzytk row
    DrawSet draw;          // the drawing resource set
    int selectedCount;     // rows selected in the order list
    DWORD startWindowMs;   // how long the start window stays; tests shorten it
};

extern AppState g_app;

// The program entry: single-instance guard, start window, main window and
// its message loop. Returns the exit code (0 on every path).
int KelvaroMain(HINSTANCE instance);

// Shows the start window and runs its message loop until it closes.
void RunStartWindow(HINSTANCE instance);

// The register's keyboard shortcut in `m`, sent as its command (when the
// command is enabled); true when the key was one.
bool MainWindowKey(const MSG* m);

// Registers the main window class (once per process).
bool RegisterMainClass(HINSTANCE instance);
// Creates the main window (class kMainClass, title kMainTitle) with its own
// state record; its creation step opens the database and fills the register.
// Null when the creation failed (the reason has been shown).
HWND CreateMainWindow(HINSTANCE instance, HMENU menu, int x, int y, int cx, int cy);

#endif  // KV_APP_APP_H
