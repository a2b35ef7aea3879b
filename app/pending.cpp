// The windows that are not part of the program yet say so.
#include "pending.h"

#include "msgbox.h"
#include "orderwnd.h"

static void PrintNotYet(HWND owner, strZamRob*, const DrawSet*) {
    KvShowInfo(owner, "The printout of an order is not available yet");
}

static int SettingsNotYet(HWND owner, strUstUzytk*) {
    KvShowInfo(owner, "The settings dialog is not available yet");
    return 0;
}

OrderWindowFn g_orderWindow = RunOrderWindow;
PrintOrderFn g_printOrder = PrintNotYet;
SettingsDialogFn g_settingsDialog = SettingsNotYet;
