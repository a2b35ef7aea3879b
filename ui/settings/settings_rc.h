// settings_rc.h - resource identifiers of the settings dialog, its five pages
// and the page messages, grouped by window.
#ifndef KV_UI_SETTINGS_RC_H
#define KV_UI_SETTINGS_RC_H

// Messages every dialog page answers: fill the controls from the record the
// page was given, and write them back into it.
#ifndef UM_PAGE_LOAD
#define UM_PAGE_LOAD (WM_APP + 0)
#endif
#ifndef UM_PAGE_STORE
#define UM_PAGE_STORE (WM_APP + 1)
#endif

// Settings dialog
#define IDD_SETTINGS 10072
#define IDC_SETTINGS_TAB 10073
#define IDC_SETTINGS_HELP 9

// Page "Seller's details" (also the order window's "Seller" page)
#define IDD_PAGE_SELLER 10074
#define IDC_SELLER_NAME 10075
#define IDC_SELLER_ABBR_LABEL 10076
#define IDC_SELLER_ABBR 10077
#define IDC_SELLER_ADDRESS 10078
#define IDC_SELLER_OTHER 10079

// Page "Defaults"
#define IDD_PAGE_DEFAULTS 10080
#define IDC_ASM_NONE 10081
#define IDC_ASM_BY_SIZE 10082
#define IDC_ASM_FIXED 10083
#define IDC_ASM_PRICE 10084
#define IDC_ASM_UNIT 10085
#define IDC_DIS_NONE 10086
#define IDC_DIS_BY_SIZE 10087
#define IDC_DIS_FIXED 10088
#define IDC_DIS_PRICE 10089
#define IDC_DIS_UNIT 10090
#define IDC_DISCOUNT 10091
#define IDC_DISCOUNT_SPIN 10092
#define IDC_VAT_ASSEMBLY 10093
#define IDC_VAT_WINDOWS 10094
#define IDC_VAT_ACCESSORIES 10095
#define IDC_FULFILMENT 10096
#define IDC_FULFILMENT_SPIN 10097
#define IDC_CURRENCY 10098
#define IDC_WEIGHT 10099

// Page "Default Uw rates"
#define IDD_PAGE_UW 10100
#define IDC_UF_FRAME 10101
#define IDC_UF_FRAME_SASH 10102
#define IDC_UF_FIXED_MULLION 10103
#define IDC_UF_FALSE_MULLION 10104
#define IDC_UG_GLASS 10105
#define IDC_PSI_GLASS_LABEL 10106
#define IDC_PSI_GLASS 10107
#define IDC_UG_ACRYLIC 10108
#define IDC_PSI_ACRYLIC_LABEL 10109
#define IDC_PSI_ACRYLIC 10110

// Page "Orders' statuses": picture 10112 + 2(n-1), edit 10113 + 2(n-1)
#define IDD_PAGE_STATUSES 10111
#define IDC_STATUS_PICTURE_FIRST 10112
#define IDC_STATUS_NAME_FIRST 10113

// Page "Others"
#define IDD_PAGE_OTHERS 10124
#define IDC_HEADING 10125
#define IDC_HEADING_SPIN 10126

// Dialog "Price list" (Settings > Price list...): one tab per kind of entry
#define IDD_PRICE_LIST 13430
#define IDC_PRICE_LIST_TAB 13431
#define IDC_PRICE_LIST_ITEMS 13432
#define IDC_PRICE_LIST_ADD 13433
#define IDC_PRICE_LIST_EDIT 13434
#define IDC_PRICE_LIST_DELETE 13435
#define IDC_PRICE_LIST_IMPORT 13436
#define IDC_PRICE_LIST_EXPORT 13437
#define IDC_PRICE_LIST_NOTE 13438
#define IDC_PRICE_LIST_HELP 13439
#define HELP_PRICE_LIST 20

// Dialog "Price list entry": the kind, the name and up to four rates
#define IDD_PRICE_ENTRY 13440
#define IDC_PRE_KIND 13441
#define IDC_PRE_NAME 13442
#define IDC_PRE_LABEL1 13443
#define IDC_PRE_LABEL2 13444
#define IDC_PRE_LABEL3 13445
#define IDC_PRE_LABEL4 13446
#define IDC_PRE_RATE1 13447
#define IDC_PRE_RATE2 13448
#define IDC_PRE_RATE3 13449
#define IDC_PRE_RATE4 13450
#define IDC_PRE_UNIT1 13451
#define IDC_PRE_UNIT2 13452
#define IDC_PRE_UNIT3 13453
#define IDC_PRE_UNIT4 13454

#endif  // KV_UI_SETTINGS_RC_H
