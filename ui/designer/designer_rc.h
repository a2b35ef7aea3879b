// designer_rc.h - resource identifiers and private messages of the designer's
// windows: the design canvas and its in-place editor, the designer's dialogs.
// Numbered as the rest of the program knows them; grouped by window.
#ifndef KV_UI_DESIGNER_RC_H
#define KV_UI_DESIGNER_RC_H

// Design canvas (window class "obsProj") and its in-place dimension editor.
#define IDC_OBSPROJ 10303
#define IDC_OBSPROJ_EDIT 10293
#define IDC_OBSPROJ_SPIN 10294

// "Dimension of frame"
#define IDD_WYMIAR_RAMY 10295
#define IDC_WYMIAR_SZER 10296
#define IDC_WYMIAR_WYS 10297

// Grid of mullions or muntins ("Insert mullions" / "Insert muntins")
#define IDD_SIATKA 10298
#define IDC_SIATKA_POZ 10299
#define IDC_SIATKA_POZ_SPIN 10300
#define IDC_SIATKA_PION 10301
#define IDC_SIATKA_PION_SPIN 10302

// "New filling name"
#define IDD_NOWY_WYPELN 10318
#define IDC_NOWY_WYPELN_NAZWA 10319
#define IDC_NOWY_WYPELN_SZKLO 10320
#define IDC_NOWY_WYPELN_AKRYL 10321

// Help topics of the dialogs.
#define HELP_WYMIAR_RAMY 4
#define HELP_SIATKA 5
#define HELP_NOWY_WYPELN 10

// Private messages between the designer, its canvas and the canvas's editor
// (WM_APP + 7 to + 11; the panel's follow from + 12).
#define UM_OBS_ZAMKNIJ_ED (WM_APP + 7)   // close the in-place editor
#define UM_OBS_ZASTOSUJ_ED (WM_APP + 8)  // Enter in the editor: apply the typed value; 1 = applied
#define UM_OBS_ODSWIEZ (WM_APP + 9)      // the designer changed the window: re-place and repaint
#define UM_OBS_NOWA_OPER (WM_APP + 10)   // to the parent: wParam the new operation, lParam its type
#define UM_OBS_LIMITY (WM_APP + 11)      // to the parent: lParam a strLimitObsProj*, answer 1/0

#endif  // KV_UI_DESIGNER_RC_H
