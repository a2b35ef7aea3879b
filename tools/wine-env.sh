# Sourced by the scripts that run Windows executables: a Wine prefix of the
# build's own, quiet and with no Mono/Gecko prompts, and a fixed locale.
#   source tools/wine-env.sh BUILD_DIR [PREFIX_NAME]
kv_build_dir=$(cd "${1:?build dir}" && pwd)
export WINEPREFIX="$kv_build_dir/${2:-wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
# Wine derives the user's locale from LANG and rewrites it when LANG changes:
# keep it fixed for the whole run.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
unset kv_build_dir

# Makes the prefix once; the registry settings are written every time so an
# old prefix gets them too. With "test": the settings of the test display
# (a comma locale, and no window manager to wait for); with "virtual": only
# the latter, for a virtual display that a person looks at by screenshot.
kv_wine_prefix() {
  local fresh=0
  # A server left running (persistent, from an earlier run) would make the
  # waits below wait forever.
  wineserver -k >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    fresh=1
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 </dev/null || true
    wineserver -w
  fi
  local reg="$WINEPREFIX/kv-settings.reg"
  cat > "$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"Times New Roman"="Liberation Serif"
"Courier New"="Liberation Mono"
REG
  case "${1:-}" in test|virtual) cat >> "$reg" <<'REG'

; No window manager runs in a virtual display: windows are not to wait for one.
[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
REG
  esac
  # The display's dpi (KV_DPI, 96 unless set): Wine reads it when a process
  # starts, so a prefix keeps one dpi and each dpi has a prefix of its own.
  local dpi=${KV_DPI:-96}
  printf '\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n' "$dpi" >> "$reg"
  printf '\n[HKEY_CURRENT_CONFIG\\Software\\Fonts]\n"LogPixels"=dword:%08x\n' "$dpi" >> "$reg"
  [ "${1:-}" = test ] && cat >> "$reg" <<'REG'

[HKEY_CURRENT_USER\Control Panel\International]
"sDecimal"=","
"sThousand"=" "
"sNegativeSign"="-"
"sGrouping"="3;0"
"sShortDate"="dd.MM.yyyy"
"iNegNumber"="1"
REG
  wine regedit /S "$reg" >/dev/null 2>&1 </dev/null || true
  wineserver -w
  [ $fresh -eq 1 ] && echo "wine: prefix ready in $WINEPREFIX" || true
}

# Starts a persistent wineserver and Wine's services with their output away
# from the caller's pipes (ctest would otherwise wait for them).
kv_wine_start() {
  wineserver -p >/dev/null 2>&1 </dev/null
  wine wineboot >/dev/null 2>&1 </dev/null || true
}

kv_wine_stop() {
  wineserver -k >/dev/null 2>&1 || true
}
