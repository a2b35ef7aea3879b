#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine.
# Idempotent: when every package is present it only checks and returns.
set -euo pipefail

packages=(
  cmake ninja-build g++ ccache python3
  googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth x11-apps x11-utils imagemagick fonts-liberation2
  clang libclang-rt-14-dev sqlite3
  nsis binutils
  cups cups-client printer-driver-cups-pdf poppler-utils locales
  # The PostgreSQL client: the system's libpq natively; the Debian sources of
  # libpq and OpenSSL, checked through the archive's signed indexes and built
  # with make and perl, for Windows; the server and openssl for the tests'
  # private server (tools/pg-server.sh).
  libpq-dev postgresql-15 openssl curl xz-utils gpgv debian-archive-keyring make perl
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

# npm may come with a Node.js that was not installed from Debian: only ask apt for it when absent.
command -v npm >/dev/null || missing+=(npm)

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  # The package starts a cluster of its own where it can; the tests make
  # their own (tools/pg-server.sh) and need that one never.
  if [[ " ${missing[*]} " == *" postgresql-15 "* ]] && command -v pg_ctlcluster >/dev/null; then
    $SUDO pg_ctlcluster 15 main stop >/dev/null 2>&1 || true
  fi
fi

# The mingw compilers must be the posix-thread flavour (std::thread in the widgora worker).
if command -v update-alternatives >/dev/null; then
  for t in gcc g++; do
    alt=$(update-alternatives --query x86_64-w64-mingw32-$t 2>/dev/null | awk '/^Value:/ {print $2}')
    case "$alt" in *posix) ;; *) [ -x /usr/bin/x86_64-w64-mingw32-$t-posix ] && \
      ${SUDO:-} update-alternatives --set x86_64-w64-mingw32-$t /usr/bin/x86_64-w64-mingw32-$t-posix >/dev/null || true ;; esac
  done
fi

# The PDF print queue the print tests print to (made once).
if [ "$(id -u)" -eq 0 ]; then
  source "$(dirname "$0")/cups.sh"
  kv_cups_setup
fi

"$(dirname "$0")/fetch-deps.sh"
