// resource.h - resource identifiers of kelvaro.exe, grouped by window.
#ifndef KV_RESOURCE_H
#define KV_RESOURCE_H

// Application
#define IDI_APP 10000
#define IDC_TOOL_FIRST 10001  // twelve tool cursors 10001-10012
#define IDC_TOOL_LAST 10012
#define IDB_START 10013  // start window picture, 360 x 270

// Main window: menu 10014 and its commands
#define IDM_MAIN 10014
#define IDC_FILTER_LABEL 10015
#define IDC_FILTER 10016
#define CMD_NEW 10017
#define CMD_PREVIEW 10018
#define CMD_EDIT_AS_NEW 10019
#define CMD_DELETE 10020
#define CMD_SEARCH 10021
#define CMD_STATUS_FIRST 10022  // "Change status to" 1-6: 10022-10027
#define CMD_STATUS_LAST 10027
#define CMD_CORRECT 10028
#define CMD_PRINT 10029
#define CMD_NEXT_NUMBER 10030
#define CMD_CLOSE_YEAR 10031
#define CMD_SETTINGS 10032
#define CMD_DEL_REG_FIRST 10033  // "Delete register of used ..." 10033-10039
#define CMD_DEL_REG_LAST 10039
#define CMD_HELP 10040
#define CMD_ABOUT 10042
#define CMD_EXIT 2
#define IDC_HELP_BUTTON 9
#define IDC_TOOLBAR 10057
#define IDC_STATUSBAR 10058
#define IDC_GROUP 10059
#define IDC_ORDERS 10060
#define CMD_CHANGE_STATUS 10061
#define IDB_TOOLBAR 10062
#define IDB_TOOLBAR_DISABLED 10063
#define IDB_STATUS 10064

// Backups of the database ("Settings" menu)
#define CMD_BACKUP_NOW 10901
#define CMD_RESTORE_BACKUP 10902
#define CMD_REFILL 10903  // F5: the list filled again with the current filter
#define CMD_PRICE_LIST 13410  // "Price list...", after "User's settings..."
#define CMD_EXPORT_CSV 13411        // Order menu: "Export to CSV...", before "Print"
#define CMD_EXPORT_LINES_CSV 13412  // Order menu: "Export order lines to CSV..."
#define CMD_SAVE_PDF 13414          // Order menu: "Save as PDF...", after "Print"
#define CMD_SALES_OVERVIEW 13415    // Order menu: "Sales overview...", after "Export order lines to CSV..."

// Sales overview window (app/sales_window.cpp)
#define IDC_SALES_MONTHS_LABEL 13420
#define IDC_SALES_MONTHS 13421  // combo box: 12, 24 or 36 months
#define IDC_SALES_CHART 13422
#define IDC_SALES_NOTE 13423    // the orders left out for their currency
#define IDC_SALES_TABLE 13424   // list view: month, orders, net, gross
#define IDC_SALES_COPY 13425
#define IDC_SALES_PRINT 13426
#define IDC_SALES_PDF 13427
#define IDC_SALES_CLOSE 13428

// Order window toolbar pictures
#define IDB_ORDER_TOOLBAR 10065
#define IDB_ORDER_TOOLBAR_DISABLED 10066
// The toolbar strips at 150 % and 200 % of the display scale.
#define IDB_TOOLBAR_150 10400
#define IDB_TOOLBAR_200 10401
#define IDB_TOOLBAR_DISABLED_150 10402
#define IDB_TOOLBAR_DISABLED_200 10403
#define IDB_ORDER_TOOLBAR_150 10404
#define IDB_ORDER_TOOLBAR_200 10405
#define IDB_ORDER_TOOLBAR_DISABLED_150 10406
#define IDB_ORDER_TOOLBAR_DISABLED_200 10407
// The status pictures at 150 % and 200 % (24 and 32 pixels each).
#define IDB_STATUS_150 10412
#define IDB_STATUS_200 10413

// Next order's number dialog
#define IDD_NEXT_NUMBER 10067
#define IDC_NEXT_NUMBER 10068
#define IDC_NEXT_NUMBER_SPIN 10069

// About box
#define IDD_ABOUT 10070
#define IDC_ABOUT_VERSION 10071
#define IDC_ABOUT_DATABASE 10072  // added at run time on a server

// Search dialog
#define IDD_SEARCH 10322
#define IDC_SEARCH_TEXT 10323
#define IDC_SEARCH_LABEL 10324

// Messages of the order window to the register of orders: wParam the working
// order record, lParam a pointer to the order's row index (-1 for none).
#define UM_ORDER_SAVED (WM_APP + 4)
#define UM_ORDER_STATUS (WM_APP + 5)

#endif  // KV_RESOURCE_H
