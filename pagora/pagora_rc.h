// pagora_rc.h - resource and control identifiers of pagora.dll, grouped by
// window.
#ifndef PAGORA_RC_H
#define PAGORA_RC_H

// Preview window
#define IDI_PDGL_DRUK 1000       // the preview's icon
#define IDC_PDGL_STATUS 1001     // status bar
#define IDC_PDGL_PASEK 1002      // toolbar
#define IDM_PDGL_CALA 1003       // "Complete view"
#define IDM_PDGL_NATUR 1004      // "Natural size"
#define IDM_PDGL_SZER 1005       // "The maximum width"
#define IDM_PDGL_POCZATEK 1006   // "Back to beginning"
#define IDM_PDGL_WSTECZ 1007     // "Back page"
#define IDM_PDGL_DALEJ 1008      // "Next page"
#define IDM_PDGL_KONIEC 1009     // "To the end"
#define IDM_PDGL_DRUKUJ 1010     // "Print"
#define IDM_PDGL_ZAMKNIJ 1011    // "Close"
#define IDC_PDGL_PION_SB 1012    // vertical scroll bar of the work window
#define IDC_PDGL_POZIOM_SB 1013  // horizontal scroll bar
#define IDC_PDGL_ROG 1014        // corner filler
#define IDB_PDGL_PASEK 1017      // toolbar images, nine 16 x 16, magenta transparent
#define IDB_PDGL_PASEK_WYL 1018  // their disabled forms
#define IDB_PDGL_PASEK_150 1019  // the strips at 150 % and 200 % of the display scale
#define IDB_PDGL_PASEK_200 1020
#define IDB_PDGL_PASEK_WYL_150 1021
#define IDB_PDGL_PASEK_WYL_200 1022

// Progress dialog
#define IDD_DLG_POSTEP_DRUK 1015
#define IDC_POSTEP_DRUK 1016  // progress bar
// "Cancel" is IDCANCEL (2)

#endif  // PAGORA_RC_H
