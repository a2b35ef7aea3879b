// order_rc.h - resource identifiers and private messages of the order
// window, its tab pages and the accessory dialog.
#ifndef KV_UI_ORDER_RC_H
#define KV_UI_ORDER_RC_H

// ---- Order window ----------------------------------------------------------
#define IDM_ORDER 10043
#define ORD_SAVE 1              // Order > Save (also Enter)
#define ORD_CANCEL 2            // Order > Cancel / Exit, the close box
#define ORD_HELP 9              // Help > Help, F1
#define ORD_STATUS_FIRST 10022  // Order > Change status to > status 1-6
#define ORD_STATUS_LAST 10027
#define ORD_DELETE 10020  // Order > Delete
#define ORD_CORRECT 10028
#define ORD_PRINT 10029
#define ORD_SAVE_PDF 13413  // Order > "Save as PDF...", after "Print"
#define ORD_PRICES_FROM_LIST 13416  // Order > "Prices from the price list...", after "Save as PDF..."
#define ORD_SAVE_AS_FIRST 10044  // Order > Save as > status 1-6
#define ORD_SAVE_AS_LAST 10049
#define ORD_WIN_ADD 10050
#define ORD_WIN_EDIT 10051
#define ORD_WIN_EDIT_AS_NEW 10052
#define ORD_WIN_DELETE 10053
#define ORD_ACC_ADD 10054  // menu item, toolbar button and push button
#define ORD_ACC_EDIT 10055
#define ORD_ACC_DELETE 10056
#define ORD_CHANGE_STATUS 10061  // the toolbar's drop-down button

#define IDB_ORDER_BAR 10065
#define IDB_ORDER_BAR_DISABLED 10066
#define IDB_ORDER_BAR_150 10404  // the strips at 150 % and 200 % of the display scale
#define IDB_ORDER_BAR_200 10405
#define IDB_ORDER_BAR_DISABLED_150 10406
#define IDB_ORDER_BAR_DISABLED_200 10407

#define IDC_ORD_TOOLBAR 10127
#define IDC_ORD_NUMBER_CAPTION 10128
#define IDC_ORD_NUMBER 10129
#define IDC_ORD_NET_CAPTION 10130
#define IDC_ORD_NET 10131
#define IDC_ORD_NET_CUR 10132
#define IDC_ORD_GROSS_CAPTION 10133
#define IDC_ORD_GROSS 10134
#define IDC_ORD_GROSS_CUR 10135
#define IDC_ORD_DISCOUNT_CAPTION 10136
#define IDC_ORD_DISCOUNT 10137
#define IDC_ORD_DISCOUNT_CUR 10138
#define IDC_ORD_TAB 10139
#define IDC_ORD_ACC_GROUP 10140
#define IDC_ORD_ACC_LIST 10141
#define IDC_ORD_ACC_NET_CAPTION 10142
#define IDC_ORD_ACC_NET 10143
#define IDC_ORD_ACC_NET_CUR 10144
#define IDC_ORD_ACC_GROSS_CAPTION 10145
#define IDC_ORD_ACC_GROSS 10146
#define IDC_ORD_ACC_GROSS_CUR 10147
#define IDC_ORD_WINDOWS 10187

// ---- Page "General" ----------------------------------------------------------
#define IDD_ORD_GENERAL 10148
#define IDC_GEN_STATUS 10149
#define IDC_GEN_DATE 10150
#define IDC_GEN_DATE_REAL 10151
#define IDC_GEN_DAYS 10152
#define IDC_GEN_DAYS_SPIN 10153
#define IDC_GEN_SYMBOL 10155
#define IDC_GEN_BUYER 10156
#define IDC_GEN_ADDRESS 10157
#define IDC_GEN_INFO 10158

// ---- Page "Valuation" --------------------------------------------------------
#define IDD_ORD_VALUATION 10159
#define IDC_VAL_ASSEMBLY_NONE 10160
#define IDC_VAL_ASSEMBLY_SIZE 10161
#define IDC_VAL_ASSEMBLY_FIXED 10162
#define IDC_VAL_ASSEMBLY_PRICE 10163
#define IDC_VAL_ASSEMBLY_UNIT 10164
#define IDC_VAL_ASSEMBLY_COST_CAPTION 10165
#define IDC_VAL_ASSEMBLY_COST 10166
#define IDC_VAL_ASSEMBLY_COST_CUR 10167
#define IDC_VAL_DISASSEMBLY_NONE 10168
#define IDC_VAL_DISASSEMBLY_SIZE 10169
#define IDC_VAL_DISASSEMBLY_FIXED 10170
#define IDC_VAL_DISASSEMBLY_PRICE 10171
#define IDC_VAL_DISASSEMBLY_UNIT 10172
#define IDC_VAL_DISASSEMBLY_COST_CAPTION 10173
#define IDC_VAL_DISASSEMBLY_COST 10174
#define IDC_VAL_DISASSEMBLY_COST_CUR 10175
#define IDC_VAL_VAT_ASSEMBLY 10176
#define IDC_VAL_VAT_WINDOWS 10177
#define IDC_VAL_VAT_ACC 10178
#define IDC_VAL_DISCOUNT 10179
#define IDC_VAL_DISCOUNT_SPIN 10180
#define IDC_VAL_DISCOUNT_AMOUNT 10181
#define IDC_VAL_DISCOUNT_CUR 10182
#define IDC_VAL_CURRENCY 10183
#define IDC_VAL_WEIGHT 10184

// ---- Page "Notes" ------------------------------------------------------------
#define IDD_ORD_NOTES 10185
#define IDC_NOTES_TEXT 10186

// ---- Dialog "Accessory" --------------------------------------------------------
#define IDD_ACCESSORY 10188
#define IDC_ACC_NAME_EDIT 10189
#define IDC_ACC_NAME_COMBO 10190
#define IDC_ACC_UNIT_CAPTION 10191
#define IDC_ACC_GROUP 10192
#define IDC_ACC_UNIT 10193
#define IDC_ACC_DIMS 10194
#define IDC_ACC_DIMS_SPIN 10195
#define IDC_ACC_DIM1 10196
#define IDC_ACC_X1 10197
#define IDC_ACC_DIM2 10198
#define IDC_ACC_X2 10199
#define IDC_ACC_DIM3 10200
#define IDC_ACC_EQUALS 10201
#define IDC_ACC_RESULT 10202
#define IDC_ACC_PRICE 10203
#define IDC_ACC_PRICE_CUR 10204
#define IDC_ACC_GROSS 10205
#define IDC_ACC_GROSS_CUR 10206
#define IDC_ACC_QUANTITY 10207
#define IDC_ACC_QUANTITY_SPIN 10208
#define IDC_ACC_TOTAL_NET 10209
#define IDC_ACC_TOTAL_NET_CUR 10210
#define IDC_ACC_TOTAL_GROSS 10211
#define IDC_ACC_TOTAL_GROSS_CUR 10212
#define IDC_ACC_HELP 9

// ---- Private messages of the order window and its pages --------------------
#define UM_PAGE_LOAD (WM_APP + 0)    // a page fills its controls from the order
#define UM_PAGE_STORE (WM_APP + 1)   // a page writes its controls into the order
#define UM_SHOW_TOTALS (WM_APP + 2)  // the order window shows every amount again
#define UM_SHOW_STATUS (WM_APP + 3)  // the order window shows status and title again
#ifndef UM_ORDER_SAVED
#define UM_ORDER_SAVED (WM_APP + 4)  // to the owner: saved, overwritten or deleted
#endif
#ifndef UM_ORDER_STATUS
#define UM_ORDER_STATUS (WM_APP + 5)  // to the owner: only the status changed
#endif
#define UM_PAGE_ENABLE (WM_APP + 6)  // wParam 1 editable, 0 read-only

#endif  // KV_UI_ORDER_RC_H
