; The Quarvel setup program: a per-user, 64-bit installer made with makensis
; by tools/release.sh, which passes
;   /DVERSION=x.y.z  the version of the binaries (their version resource)
;   /DSTAGE=folder   the staged program files
;   /DOUTFILE=file   the setup program to write
;
; Program files go to the user's program folder; the database lives in a
; data folder of the user's, made at the first install only and never
; removed, so that an upgrade or an uninstall keeps every order.

Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Quarvel"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quarvel"
!define DATA_DIR "$APPDATA\Quarvel"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quarvel"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PRODUCT}"
VIAddVersionKey "LegalCopyright" "Quarvel"

!define MUI_ICON "${STAGE}\setup.ico"
!define MUI_UNICON "${STAGE}\setup.ico"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Quarvel"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

; The program opens the database of its working directory.
Function StartProgram
  SetOutPath "${DATA_DIR}"
  Exec '"$INSTDIR\kelvaro.exe"'
FunctionEnd

Section "Quarvel" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\kelvaro.exe"
  File "${STAGE}\pagora.dll"
  File "${STAGE}\widgora.dll"
  File "${STAGE}\kelvaro-mkdb.exe"
  File "${STAGE}\kelvaro-backup.exe"
  File "${STAGE}\kelvaro-prices.exe"
  File "${STAGE}\sample-prices.csv"
  File "${STAGE}\kelvaro-help.html"
  File "${STAGE}\LiberationSans-Regular.ttf"
  File "${STAGE}\LiberationSans-Bold.ttf"
  File "${STAGE}\LiberationSans-LICENSE.txt"
  File "${STAGE}\PostgreSQL-COPYRIGHT.txt"
  File "${STAGE}\OpenSSL-LICENSE.txt"
  File /nonfatal /r "${STAGE}\help"

  ; The database: made once, kept by every later install and by the uninstall.
  CreateDirectory "${DATA_DIR}"
  ${IfNot} ${FileExists} "${DATA_DIR}\kelvaroDemo.db"
    nsExec::ExecToLog '"$INSTDIR\kelvaro-mkdb.exe" "${DATA_DIR}\kelvaroDemo.db"'
    Pop $0
    ${If} $0 != 0
      MessageBox MB_ICONSTOP|MB_OK "The database could not be made in ${DATA_DIR} (code $0)." /SD IDOK
      Abort
    ${EndIf}
  ${EndIf}

  ; The shortcut starts the program in the data folder (its working directory).
  CreateDirectory "$SMPROGRAMS\Quarvel"
  SetOutPath "${DATA_DIR}"
  CreateShortCut "$SMPROGRAMS\Quarvel\Quarvel.lnk" "$INSTDIR\kelvaro.exe" "" "$INSTDIR\kelvaro.exe" 0
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\kelvaro.exe"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\kelvaro.exe"
  Delete "$INSTDIR\pagora.dll"
  Delete "$INSTDIR\widgora.dll"
  Delete "$INSTDIR\kelvaro-mkdb.exe"
  Delete "$INSTDIR\kelvaro-backup.exe"
  Delete "$INSTDIR\kelvaro-prices.exe"
  Delete "$INSTDIR\sample-prices.csv"
  Delete "$INSTDIR\kelvaro-help.html"
  Delete "$INSTDIR\LiberationSans-Regular.ttf"
  Delete "$INSTDIR\LiberationSans-Bold.ttf"
  Delete "$INSTDIR\LiberationSans-LICENSE.txt"
  Delete "$INSTDIR\PostgreSQL-COPYRIGHT.txt"
  Delete "$INSTDIR\OpenSSL-LICENSE.txt"
  RMDir /r "$INSTDIR\help"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Quarvel\Quarvel.lnk"
  RMDir "$SMPROGRAMS\Quarvel"
  DeleteRegKey HKCU "${UNINST_KEY}"
  ; The data folder with the database stays.
SectionEnd
