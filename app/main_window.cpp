// The main window: its creation step (everything the program needs before
// the user can work), its commands and the shut-down.
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>

#include <new>

#include "app/app.h"
#include "app/backup_commands.h"
#include "app/database_start.h"
#include "app/export_commands.h"
#include "app/order_register.h"
#include "db/connection.h"
#include "db/order_record.h"
#include "db/tables.h"
#include "resources/resource.h"
#include "util/heap.h"
#include "util/keys_win.h"
#include "util/kvutil.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "util/window_win.h"

static_assert(IDC_TOOL_FIRST == kDrawSetFirstCursor &&
                  IDC_TOOL_LAST == kDrawSetFirstCursor + kDrawSetCursorCount - 1,
              "the drawing set loads the program's tool cursors");

const char kMainClass[] = "kelvaro";
const char kMainTitle[] = "Quarvel";

namespace {

const int kMinWidth = 800;  // device pixels
const int kMinHeight = 600;

// Asks about a working year older than the calendar year and, on Yes, starts
// the calendar year with order number 0. False only when that write fails.
bool CheckWorkingYear(char* msg) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (g_app.vars.rok >= now.wYear) return true;
    char question[256];
    snprintf(question, sizeof question,
             "Current year of the program (%4d) is not compatible with the current year (%4d)\r\n"
             "Do you want to close the year ?",
             g_app.vars.rok, now.wYear);
    if (!KvAskYesNo(nullptr, question)) return true;
    strZmienne next = {0, now.wYear};
    if (!UpdateVariables(&next, msg)) return false;
    g_app.vars = next;
    return true;
}

// The creation step, in order; the first failure stops it with its message.
bool CreationStep(MainWindow* w, char* msg) {
    g_app.mainWindow = w->hwnd;
    if (!CreateDrawSet(g_app.instance, &g_app.draw)) {
        KvSystemErrorText("Error of creating the drawing resources", GetLastError(), msg, KV_MSG_LEN);
        return false;
    }
    if (!OpenTheDatabase(msg)) return false;
    if (!DbRegisterFunctions(msg)) return false;
    if (!KvHeapCreate()) {
        KvSystemErrorText("Error of creating the HEAP", GetLastError(), msg, KV_MSG_LEN);
        return false;
    }
    if (DbCountRows("T_Zmienne", nullptr, nullptr) != 1) {
        KvMsg(msg, "Wrong content of table T_Zmienne");
        return false;
    }
    if (!ReadVariables(&g_app.vars, msg)) return false;
    if (!CheckWorkingYear(msg)) return false;
    if (DbCountRows("T_UstUzytk", nullptr, nullptr) != 1) {
        KvMsg(msg, "Wrong content of table T_UstUzytk");
        return false;
    }
    if (!ReadUserSettings(&g_app.settings, msg)) return false;
    if (!OrderListCreate(w, msg)) return false;
    if (DbBackendInUse() == kDbServer)
        EnableMenuItem(GetMenu(w->hwnd), CMD_RESTORE_BACKUP, MF_BYCOMMAND | MF_GRAYED);
    if (!OrderListFill(w, msg)) return false;
    OrderListListenToDesks(w);
    BackupShowStartNote();
    return true;
}

void OnNcCreate(MainWindow* w, HWND hwnd) { w->hwnd = hwnd; }

LRESULT OnCreate(MainWindow* w) {
    w->icons.Apply(w->hwnd, g_app.instance, IDI_APP, KvDpiForWindow(w->hwnd));
    char msg[KV_MSG_LEN] = "";
    if (CreationStep(w, msg)) return 0;
    if (msg[0]) KvShowError(nullptr, msg);  // none after a cancelled login
    return -1;  // the failed creation destroys the window, which ends the program
}

// WM_NCDESTROY, not WM_DESTROY: it also comes after a failed creation.
void OnNcDestroy(MainWindow* w, HWND hwnd) {
    OrderListDestroy(w);
    g_app.selectedCount = 0;
    KvHeapDestroy();
    DbClose();
    DestroyDrawSet(&g_app.draw);
    g_app.mainWindow = nullptr;
    KvDetachState(hwnd);
    delete w;
    PostQuitMessage(0);
}

// Comes ahead of WM_NCCREATE as well: needs no state.
void OnGetMinMaxInfo(HWND hwnd, MINMAXINFO* info) {
    KvSetMinimumTrackSize(info, kMinWidth, kMinHeight, KvDpiForWindow(hwnd));
}

// Moved to a monitor of another dpi (or told so by a test).
void OnDpiChanged(MainWindow* w, WPARAM wParam, LPARAM lParam) {
    KvTakeSuggestedRect(w->hwnd, lParam);
    OrderListApplyDpi(w, KvDpiOfDpiChanged(wParam));
    w->icons.Apply(w->hwnd, g_app.instance, IDI_APP, KvDpiOfDpiChanged(wParam));
}

void OnCommand(MainWindow* w, int id, int code, HWND control) {
    if (control && code != BN_CLICKED) {
        OrderListControlNotice(w, id, code);
        return;
    }
    if (id == CMD_EXIT) {
        DestroyWindow(w->hwnd);
        return;
    }
    if (BackupCommand(w, id)) return;
    if (ExportCommand(w, id)) return;
    OrderListCommand(w, id);
}

LRESULT OnNotify(MainWindow* w, NMHDR* header) {
    LRESULT result = 0;
    OrderListNotify(w, header, &result);
    return result;
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETMINMAXINFO) {
        OnGetMinMaxInfo(hwnd, (MINMAXINFO*)lParam);
        return 0;
    }
    MainWindow* w = KvWindowState<MainWindow>(hwnd, message, lParam);
    if (!w) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_NCCREATE: OnNcCreate(w, hwnd); break;
        case WM_CREATE: return OnCreate(w);
        case WM_NCDESTROY: OnNcDestroy(w, hwnd); return 0;
        case WM_COMMAND: OnCommand(w, LOWORD(wParam), HIWORD(wParam), (HWND)lParam); return 0;
        case UM_ORDER_SAVED: OrderListOrderSaved(w, (const strZamRob*)wParam, (int*)lParam, false); return 0;
        case UM_ORDER_STATUS: OrderListOrderSaved(w, (const strZamRob*)wParam, (int*)lParam, true); return 0;
        case UM_DESK_NEWS: OrderListDeskNews(w, (char)wParam, (int64_t)lParam); return 0;
        case WM_TIMER: OrderListTimer(w, wParam); return 0;
        case WM_NOTIFY: return OnNotify(w, (NMHDR*)lParam);
        case WM_SIZE: OrderListLayout(w, LOWORD(lParam), HIWORD(lParam)); return 0;
        case WM_DPICHANGED: OnDpiChanged(w, wParam, lParam); return 0;
        case WM_MENUSELECT: OrderListMenuSelect(w, LOWORD(wParam), HIWORD(wParam), (HMENU)lParam); return 0;
        case WM_EXITMENULOOP: OrderListMenuHelpEnd(w); return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

// The register's keys: Enter and Delete belong to the list.
const KvKey kRegisterKeys[] = {
    {'N', true, false, CMD_NEW, 0},
    {'E', true, false, CMD_EDIT_AS_NEW, 0},
    {'P', true, false, CMD_PRINT, 0},
    {'F', true, false, CMD_SEARCH, 0},
    {VK_F5, false, false, CMD_REFILL, 0},
    {VK_RETURN, false, false, CMD_PREVIEW, IDC_ORDERS},
    {VK_DELETE, false, false, CMD_DELETE, IDC_ORDERS},
};

bool MainWindowKey(const MSG* m) {
    HWND main = g_app.mainWindow;
    if (!main || !m->hwnd || (m->hwnd != main && !IsChild(main, m->hwnd))) return false;
    return KvDispatchKey(main, nullptr, kRegisterKeys, (int)(sizeof kRegisterKeys / sizeof kRegisterKeys[0]),
                         m);
}

bool RegisterMainClass(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
    // Each window gives itself the icons of its dpi; the class has those of the system dpi.
    const int small = GetSystemMetrics(SM_CXSMICON);
    wc.hIconSm = (HICON)LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, small, small, 0);
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainClass;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CreateMainWindow(HINSTANCE instance, HMENU menu, int x, int y, int cx, int cy) {
    MainWindow* w = new (std::nothrow) MainWindow();
    if (!w) {
        KvShowError(nullptr, "Error of allocation of the main window's state");
        return nullptr;
    }
    HWND hwnd = KvCreateWindowWithState(w, 0, kMainClass, kMainTitle, WS_OVERLAPPEDWINDOW, x, y, cx, cy,
                                        nullptr, menu, instance);
    // A window that was made and failed took its menu along; one never made did not.
    if (!hwnd && menu && IsMenu(menu)) DestroyMenu(menu);
    return hwnd;
}
