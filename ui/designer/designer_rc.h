// designer_rc.h - resource identifiers and private messages of the designer's
// windows: the designer window, its data panel and the Factors dialog, the
// design canvas and its in-place editor, the designer's small dialogs.
// Numbered as the rest of the program knows them; grouped by window.
#ifndef KV_UI_DESIGNER_RC_H
#define KV_UI_DESIGNER_RC_H

// Design canvas (window class "obsProj") and its in-place dimension editor.
#define IDC_CANVAS 10303
#define IDC_CANVAS_EDIT 10293
#define IDC_CANVAS_SPIN 10294

// "Dimension of frame"
#define IDD_FRAME_DIMENSION 10295
#define IDC_DIMENSION_WIDTH 10296
#define IDC_DIMENSION_HEIGHT 10297

// Grid of mullions or muntins ("Insert mullions" / "Insert muntins")
#define IDD_GRID 10298
#define IDC_GRID_HORIZONTAL 10299
#define IDC_GRID_HORIZONTAL_SPIN 10300
#define IDC_GRID_VERTICAL 10301
#define IDC_GRID_VERTICAL_SPIN 10302

// "New filling name"
#define IDD_NEW_FILLING 10318
#define IDC_NEW_FILLING_NAME 10319
#define IDC_NEW_FILLING_GLASS 10320
#define IDC_NEW_FILLING_ACRYLIC 10321

// Help topics of the dialogs.
#define HELP_FRAME_DIMENSION 4
#define HELP_GRID 5
#define HELP_NEW_FILLING 10

// Private messages between the designer, its canvas and the canvas's editor
// (WM_APP + 7 to + 11; the panel's follow from + 12).
#define UM_OBS_ZAMKNIJ_ED (WM_APP + 7)   // close the in-place editor
#define UM_OBS_ZASTOSUJ_ED (WM_APP + 8)  // Enter in the editor: apply the typed value; 1 = applied
#define UM_OBS_ODSWIEZ (WM_APP + 9)      // the designer changed the window: re-place and repaint
#define UM_OBS_NOWA_OPER (WM_APP + 10)   // to the parent: wParam the new operation, lParam its type
#define UM_OBS_LIMITY (WM_APP + 11)      // to the parent: lParam a CanvasLimitQuery*, answer 1/0

// ---- Designer window ---------------------------------------------------------
#define IDC_DES_TOOLBAR 10213
#define IDB_DES_TOOLBAR 10214  // 26 x 25 images on magenta
#define IDB_DES_TOOLBAR_DISABLED 10215
#define IDB_DES_TOOLBAR_150 10408  // the strips at 150 % (39 x 37) and 200 % (52 x 50)
#define IDB_DES_TOOLBAR_200 10409
#define IDB_DES_TOOLBAR_DISABLED_150 10410
#define IDB_DES_TOOLBAR_DISABLED_200 10411
#define CMD_DES_POINTER 10216
#define CMD_DES_FRAME 10217
#define CMD_DES_MULLION 10218  // drop-down: mullion kinds
#define CMD_DES_SASH 10219     // drop-down: sash kinds
#define CMD_DES_FILLING 10220  // drop-down: the filling menu
#define CMD_DES_MUNTIN 10221
#define CMD_DES_FACTORS 10222  // toolbar and the panel's "Factors"
#define CMD_DES_DELETE 10223   // context menu: delete the element
#define CMD_DES_FIXED_MULLION 10224
#define CMD_DES_FALSE_MULLION 10225
#define CMD_DES_SASH_FIRST 10226  // seven sash kinds 10226-10232
#define CMD_DES_SASH_LAST 10232
#define CMD_DES_NEW_FILLING 10233    // "Enter new name..."
#define CMD_DES_FILLING_FIRST 10325  // filling menu entries 10325 + index
#define CMD_DES_FILLING_LAST 13324
#define CMD_DES_SAVE 1
#define CMD_DES_CANCEL 2
#define CMD_DES_HELP 9
// The price list's lines under the net price (shown when the price list has entries).
#define IDC_PNL_PRICE_LIST_LABEL 13400    // "Price list:"
#define IDC_PNL_PRICE_LIST 13401          // the suggested price and the program currency's code
#define IDC_PNL_PRICE_LIST_USE 13402      // "Use": the suggestion into the net price
#define IDC_PNL_PRICE_LIST_MISSING 13403  // "No price for: ..." or empty
#define CMD_DES_UNDO 13420                // toolbar "Undo", Ctrl+Z
#define CMD_DES_REDO 13421                // toolbar "Redo", Ctrl+Y and Ctrl+Shift+Z

// Help topic of the designer.
#define HELP_DESIGNER 3

// ---- Data panel ----------------------------------------------------------------
#define IDC_PANEL 10234
#define IDC_PNL_PROFILE_LABEL 10235
#define IDC_PNL_PROFILE_LIST 10236
#define IDC_PNL_PROFILE_EDIT 10237
#define IDC_PNL_PROFILE_TYPE 10238
#define IDC_PNL_PVC 10239
#define IDC_PNL_WOOD 10240
#define IDC_PNL_ALUMINIUM 10241
#define IDC_PNL_THICKNESS 10242
#define IDC_PNL_FRAME_LABEL 10243
#define IDC_PNL_SASH_LABEL 10244
#define IDC_PNL_FIXED_LABEL 10245
#define IDC_PNL_FALSE_LABEL 10246
#define IDC_PNL_FRAME_EDIT 10247
#define IDC_PNL_FRAME_SPIN 10248
#define IDC_PNL_SASH_EDIT 10249
#define IDC_PNL_SASH_SPIN 10250
#define IDC_PNL_FIXED_EDIT 10251
#define IDC_PNL_FIXED_SPIN 10252
#define IDC_PNL_FALSE_EDIT 10253
#define IDC_PNL_FALSE_SPIN 10254
#define IDC_PNL_COLOR_LABEL 10255
#define IDC_PNL_COLOR_LIST 10256
#define IDC_PNL_COLOR_EDIT 10257
#define IDC_PNL_COLOR_TYPE 10258
#define IDC_PNL_WHITE 10259
#define IDC_PNL_INTERNAL 10260
#define IDC_PNL_EXTERNAL 10261
#define IDC_PNL_DOUBLE 10262
#define IDC_PNL_MUNTIN_LABEL 10263
#define IDC_PNL_MUNTIN_LIST 10264
#define IDC_PNL_MUNTIN_EDIT 10265
#define IDC_PNL_MUNTIN_TH_LABEL 10266
#define IDC_PNL_MUNTIN_TH_EDIT 10267
#define IDC_PNL_MUNTIN_TH_SPIN 10268
#define IDC_PNL_HARDWARE_LABEL 10269
#define IDC_PNL_HARDWARE_LIST 10270
#define IDC_PNL_HARDWARE_EDIT 10271
#define IDC_PNL_BEAD_LABEL 10272
#define IDC_PNL_BEAD_LIST 10273
#define IDC_PNL_BEAD_EDIT 10274
#define IDC_PNL_PRICE_BOX 10275
#define IDC_PNL_NET_LABEL 10276
#define IDC_PNL_NET 10277
#define IDC_PNL_GROSS_LABEL 10278
#define IDC_PNL_GROSS 10279
#define IDC_PNL_QTY_LABEL 10280
#define IDC_PNL_QTY_EDIT 10281
#define IDC_PNL_QTY_SPIN 10282
#define IDC_PNL_TOTAL_BOX 10283
#define IDC_PNL_TOTAL_NET_LABEL 10284
#define IDC_PNL_TOTAL_NET 10285
#define IDC_PNL_TOTAL_GROSS_LABEL 10286
#define IDC_PNL_TOTAL_GROSS 10287
#define IDC_PNL_UW_LABEL 10288
#define IDC_PNL_UW 10289
#define IDC_PNL_UW_UNIT 10290
#define IDC_PNL_NOTES_LABEL 10291
#define IDC_PNL_NOTES 10292

// ---- Factors dialog --------------------------------------------------------------
#define IDD_FACTORS 10304
#define IDC_FCT_BY_RATES 10305
#define IDC_FCT_DIRECTLY 10306
#define IDC_FCT_UF_FRAME 10307
#define IDC_FCT_UF_FRAME_SASH 10308
#define IDC_FCT_UF_FIXED 10309
#define IDC_FCT_UF_FALSE 10310
#define IDC_FCT_UG_GLASS 10311
#define IDC_FCT_PSI_GLASS_LABEL 10312
#define IDC_FCT_PSI_GLASS 10313
#define IDC_FCT_UG_ACRYLIC 10314
#define IDC_FCT_PSI_ACRYLIC_LABEL 10315
#define IDC_FCT_PSI_ACRYLIC 10316
#define IDC_FCT_UW 10317
#define HELP_FACTORS 9

// ---- Messages of the panel to the designer (the canvas has its own, up to + 11) ------------------------
#define UM_DES_PROFILE_CHOSEN \
    (WM_APP + 12)  // lParam the text shown before (may be null); 1 refuses: the panel puts the list back
#define UM_DES_COLOR_CHOSEN (WM_APP + 13)
#define UM_DES_MUNTIN_CHOSEN (WM_APP + 14)  // 1 refuses, as for the profile
#define UM_DES_THICKNESS (WM_APP + 15)      // wParam new position, lParam spin id; 1 refuses
#define UM_DES_PRICE (WM_APP + 16)
#define UM_DES_QUANTITY (WM_APP + 17)  // wParam new position; 1 refuses

// ---- Messages to the panel ---------------------------------------------------------------------------
#define UM_PNL_KEEP_NAMES \
    (WM_APP + 18)  // the profile and muntin names as filled are the ones a refusal restores
#define UM_PNL_PUT_BACK (WM_APP + 19)   // posted to itself: wParam a name list whose choice was refused
#define UM_PNL_APPLY_DPI (WM_APP + 20)  // wParam the designer's new dpi: the panel lays itself out for it
#define UM_DES_NAMES (WM_APP + 21)      // posted: a name's text changed (the price list's suggestion follows)
#define UM_DES_CHOICES_END (WM_APP + 22)  // the profile or muntin list closed or lost the focus: a pass ends

#endif  // KV_UI_DESIGNER_RC_H
