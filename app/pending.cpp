// The windows the register of orders opens.
#include "pending.h"

#include "msgbox.h"
#include "orderwnd.h"
#include "settings_dialog.h"
#include "wydruk.h"

OrderWindowFn g_orderWindow = RunOrderWindow;
PrintOrderFn g_printOrder = PrintOrder;
SettingsDialogFn g_settingsDialog = RunSettingsDialog;
