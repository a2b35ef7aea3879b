// widgora_rc.h - resource identifiers of widgora.dll, grouped by dialog.
#ifndef WIDGORA_RC_H
#define WIDGORA_RC_H

// Wait dialog
#define IDR_AVI_WAIT 1200  // the animation (resource type "AVI")
#define IDD_DLG_WAIT 1201
#define IDC_WAIT_ANIMATION 1202
// "Stop" is IDCANCEL (2)

// Login dialog
#define IDD_DLG_USER_PASSWORD 1203
#define IDC_ED_USER 1204
#define IDC_ED_PASSWORD 1205
// "OK" is IDOK (1), "Cancel" IDCANCEL (2)

#endif  // WIDGORA_RC_H
