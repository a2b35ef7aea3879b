// The windows that are not part of the program yet say so.
#include "pending.h"

#include "msgbox.h"
#include "orderwnd.h"
#include "settings_dialog.h"

static void PrintNotYet(HWND owner, strZamRob*, const DrawSet*) {
    KvShowInfo(owner, "The printout of an order is not available yet");
}

OrderWindowFn g_orderWindow = RunOrderWindow;
PrintOrderFn g_printOrder = PrintNotYet;
SettingsDialogFn g_settingsDialog = RunSettingsDialog;
