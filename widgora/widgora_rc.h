// widgora_rc.h - resource identifiers of widgora.dll, grouped by dialog.
#ifndef WIDGORA_RC_H
#define WIDGORA_RC_H

// Wait dialog
#define IDR_AVI_CZEKAJ 1200  // the animation (resource type "AVI")
#define IDD_DLG_CZEKAJ 1201
#define IDC_ANIM_CZEKAJ 1202
// "Stop" is IDCANCEL (2)

// Login dialog
#define IDD_DLG_UZYTK_HASLO 1203
#define IDC_ED_UZYTK 1204
#define IDC_ED_HASLO 1205
// "OK" is IDOK (1), "Cancel" IDCANCEL (2)

#endif  // WIDGORA_RC_H
