// The windows that are not part of the program yet say so.
#include "pending.h"

#include "msgbox.h"
#include "orderwnd.h"
#include "wydruk.h"

static int SettingsNotYet(HWND owner, strUstUzytk*) {
    KvShowInfo(owner, "The settings dialog is not available yet");
    return 0;
}

OrderWindowFn g_orderWindow = RunOrderWindow;
PrintOrderFn g_printOrder = PrintOrder;
SettingsDialogFn g_settingsDialog = SettingsNotYet;
