// The windows the register of orders opens.
#include "app/pending.h"

#include "printout/pdf_win.h"
#include "printout/printout.h"
#include "ui/designer/designer_win.h"
#include "ui/order/order_window.h"
#include "ui/settings/seller_page.h"
#include "ui/settings/settings_dialog.h"
#include "util/msgbox_win.h"

OrderWindowFn g_orderWindow = RunOrderWindow;
PrintOrderFn g_printOrder = PrintOrder;
PrintOrderFn g_saveOrderPdf = SaveOrderAsPdf;
SettingsDialogFn g_settingsDialog = RunSettingsDialog;

// What the order window opens in turn.
OrderDesignerFn g_orderDesigner = RunDesigner;
OrderPrintFn g_orderPrint = PrintOrder;
OrderPrintFn g_orderSavePdf = SaveOrderAsPdf;
SellerPageFn g_orderSellerPage = CreateSellerPage;
