// The main window: its creation step (everything the program needs before
// the user can work), its commands and the shut-down.
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>

#include "app.h"
#include "backupcmds.h"
#include "connection.h"
#include "heap.h"
#include "kvutil.h"
#include "msgbox.h"
#include "msgbuf.h"
#include "orderlist.h"
#include "resource.h"
#include "tables.h"
#include "zamowienie.h"

const char kMainClass[] = "kelvaro";
const char kMainTitle[] = "Quarvel";

namespace {

const int kMinWidth = 800;   // device pixels
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
    if (!UpdateZmienne(&next, msg)) return false;
    g_app.vars = next;
    return true;
}

// The creation step, in order; the first failure stops it with its message.
bool CreationStep(HWND hwnd, char* msg) {
    g_app.mainWindow = hwnd;
    if (!CreateDrawSet(g_app.instance, &g_app.draw)) {
        KvMsg(msg, "Error of creating the drawing resources\r\n%s",
              DajKomunBledu(GetLastError(), 1));
        return false;
    }
    if (!DbOpen(DbDefaultPath(), msg)) return false;
    BackupAtStart();
    if (!DbRegisterFunctions(msg)) return false;
    if (!KvHeapCreate()) {
        DWORD code = GetLastError();
        KvMsg(msg, "Error of creating the HEAP\r\n%s - %d", DajKomunBledu(code, 1), (int)code);
        return false;
    }
    if (DbCountRows("T_Zmienne", nullptr, nullptr) != 1) {
        KvMsg(msg, "Wrong content of table T_Zmienne");
        return false;
    }
    if (!ReadZmienne(&g_app.vars, msg)) return false;
    if (!CheckWorkingYear(msg)) return false;
    if (DbCountRows("T_UstUzytk", nullptr, nullptr) != 1) {
        KvMsg(msg, "Wrong content of table T_UstUzytk");
        return false;
    }
    if (!ReadUstUzytk(&g_app.settings, msg)) return false;
    if (!OrderListCreate(hwnd, msg)) return false;
    if (!OrderListFill(msg)) return false;
    BackupShowStartNote();
    return true;
}

LRESULT OnCreate(HWND hwnd) {
    char msg[KV_MSG_LEN] = "";
    if (CreationStep(hwnd, msg)) return 0;
    KvShowError(nullptr, msg);
    return -1;  // the failed creation destroys the window, which ends the program
}

void OnDestroy() {
    OrderListDestroy();
    g_app.selectedCount = 0;
    KvHeapDestroy();
    DbClose();
    DestroyDrawSet(&g_app.draw);
    g_app.mainWindow = nullptr;
    PostQuitMessage(0);
}

void OnGetMinMaxInfo(MINMAXINFO* info) {
    info->ptMinTrackSize.x = kMinWidth;
    info->ptMinTrackSize.y = kMinHeight;
}

void OnCommand(HWND hwnd, int id, int code, HWND control) {
    if (control && code != BN_CLICKED) {
        OrderListControlNotice(id, code);
        return;
    }
    if (id == CMD_EXIT) {
        DestroyWindow(hwnd);
        return;
    }
    if (BackupCommand(hwnd, id)) return;
    OrderListCommand(id);
}

LRESULT OnNotify(NMHDR* header) {
    LRESULT result = 0;
    OrderListNotify(header, &result);
    return result;
}

}  // namespace

bool RegisterMainClass(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
    wc.hIconSm = (HICON)LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, 16, 16, 0);
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainClass;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return OnCreate(hwnd);
        // WM_NCDESTROY, not WM_DESTROY: it also comes after a failed creation.
        case WM_NCDESTROY: OnDestroy(); return 0;
        case WM_GETMINMAXINFO: OnGetMinMaxInfo((MINMAXINFO*)lParam); return 0;
        case WM_COMMAND: OnCommand(hwnd, LOWORD(wParam), HIWORD(wParam), (HWND)lParam); return 0;
        case UM_ORDER_SAVED: OrderListOrderSaved((const strZamRob*)wParam, (int*)lParam, false); return 0;
        case UM_ORDER_STATUS: OrderListOrderSaved((const strZamRob*)wParam, (int*)lParam, true); return 0;
        case WM_NOTIFY: return OnNotify((NMHDR*)lParam);
        case WM_SIZE: OrderListLayout(LOWORD(lParam), HIWORD(lParam)); return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
