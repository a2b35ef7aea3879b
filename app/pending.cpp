// The windows that are not part of the program yet say so.
#include "pending.h"

#include "msgbox.h"
#include "settings_dialog.h"

static int OrderWindowNotYet(HWND owner, strZamRob*, int*, const DrawSet*) {
    KvShowInfo(owner, "The order window is not available yet");
    return 0;
}

static void PrintNotYet(HWND owner, strZamRob*, const DrawSet*) {
    KvShowInfo(owner, "The printout of an order is not available yet");
}

OrderWindowFn g_orderWindow = OrderWindowNotYet;
PrintOrderFn g_printOrder = PrintNotYet;
SettingsDialogFn g_settingsDialog = RunSettingsDialog;
