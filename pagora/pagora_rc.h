// pagora_rc.h - resource and control identifiers of pagora.dll, grouped by
// window.
#ifndef PAGORA_RC_H
#define PAGORA_RC_H

// Preview window
#define IDI_PREVIEW 1000       // the preview's icon
#define IDC_PREVIEW_STATUS 1001     // status bar
#define IDC_PREVIEW_TOOLBAR 1002      // toolbar
#define IDM_PREVIEW_COMPLETE 1003       // "Complete view"
#define IDM_PREVIEW_NATURAL 1004      // "Natural size"
#define IDM_PREVIEW_WIDTH 1005       // "The maximum width"
#define IDM_PREVIEW_FIRST 1006   // "Back to beginning"
#define IDM_PREVIEW_BACK 1007     // "Back page"
#define IDM_PREVIEW_NEXT 1008      // "Next page"
#define IDM_PREVIEW_LAST 1009     // "To the end"
#define IDM_PREVIEW_PRINT 1010     // "Print"
#define IDM_PREVIEW_CLOSE 1011    // "Close"
#define IDC_PREVIEW_VERTICAL_SB 1012    // vertical scroll bar of the work window
#define IDC_PREVIEW_HORIZONTAL_SB 1013  // horizontal scroll bar
#define IDC_PREVIEW_CORNER 1014        // corner filler
#define IDB_PREVIEW_TOOLBAR 1017      // toolbar images, nine 16 x 16, magenta transparent
#define IDB_PREVIEW_TOOLBAR_DISABLED 1018  // their disabled forms
#define IDB_PREVIEW_TOOLBAR_150 1019  // the strips at 150 % and 200 % of the display scale
#define IDB_PREVIEW_TOOLBAR_200 1020
#define IDB_PREVIEW_TOOLBAR_DISABLED_150 1021
#define IDB_PREVIEW_TOOLBAR_DISABLED_200 1022

// Progress dialog
#define IDD_DLG_PRINT_PROGRESS 1015
#define IDC_PRINT_PROGRESS 1016  // progress bar
// "Cancel" is IDCANCEL (2)

#endif  // PAGORA_RC_H
