// The windows that are not part of the program yet say so.
#include "pending.h"

#include "msgbox.h"
#include "wydruk.h"

static int OrderWindowNotYet(HWND owner, strZamRob*, int*, const DrawSet*) {
    KvShowInfo(owner, "The order window is not available yet");
    return 0;
}

static int SettingsNotYet(HWND owner, strUstUzytk*) {
    KvShowInfo(owner, "The settings dialog is not available yet");
    return 0;
}

OrderWindowFn g_orderWindow = OrderWindowNotYet;
PrintOrderFn g_printOrder = PrintOrder;
SettingsDialogFn g_settingsDialog = SettingsNotYet;
