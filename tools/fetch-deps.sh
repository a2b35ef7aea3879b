#!/usr/bin/env bash
# Fetches the pinned third-party sources into .deps/ (ignored by git).
# SQLite comes as the amalgamation carried inside the npm package better-sqlite3;
# the tarball is checked against its sha256 before anything is unpacked.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/.deps"

SQLITE_PKG="better-sqlite3@12.11.1"
SQLITE_TGZ_SHA256="ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835"
SQLITE_VERSION="3.53.2"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

dest="$deps/sqlite-$SQLITE_VERSION"
if ! [ -f "$dest/.verified" ] || ! [ -f "$dest/sqlite3.c" ] || ! [ -f "$dest/sqlite3.h" ]; then
echo "fetch-deps: fetching $SQLITE_PKG"
(cd "$tmp" && npm pack --silent "$SQLITE_PKG" >/dev/null)
tgz=$(ls "$tmp"/*.tgz)
echo "$SQLITE_TGZ_SHA256  $tgz" | sha256sum -c --quiet - || {
  echo "fetch-deps: checksum mismatch for $SQLITE_PKG" >&2; exit 1; }
tar xzf "$tgz" -C "$tmp" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
grep -q "#define SQLITE_VERSION *\"$SQLITE_VERSION\"" "$tmp/package/deps/sqlite3/sqlite3.h" || {
  echo "fetch-deps: the package does not hold SQLite $SQLITE_VERSION" >&2; exit 1; }
rm -rf "$dest"; mkdir -p "$dest"
cp "$tmp/package/deps/sqlite3/sqlite3.c" "$tmp/package/deps/sqlite3/sqlite3.h" "$dest/"
touch "$dest/.verified"
echo "fetch-deps: SQLite $SQLITE_VERSION ready in $dest"
fi

# libharu, the PDF writer of "Save as PDF...", from Debian's source archive
# (zlib licence); only its headers and sources are kept.
HARU_URL="http://deb.debian.org/debian/pool/main/libh/libharu/libharu_2.3.0+dfsg.orig.tar.xz"
HARU_SHA256="87e8269d4b1b333a6e44168b4209bc6442ae3a11557cc8dc386fed65400bd34e"
dest="$deps/libharu-2.3.0"
if ! [ -f "$dest/.verified" ]; then
  echo "fetch-deps: fetching libharu 2.3.0"
  curl -fsSL -o "$tmp/haru.tar.xz" "$HARU_URL"
  echo "$HARU_SHA256  $tmp/haru.tar.xz" | sha256sum -c --quiet - || {
    echo "fetch-deps: checksum mismatch for libharu" >&2; exit 1; }
  tar xJf "$tmp/haru.tar.xz" -C "$tmp"
  rm -rf "$dest"; mkdir -p "$dest"
  cp -r "$tmp"/libharu-RELEASE_2_3_0/{include,src,README} "$dest/"  # README holds the licence
  touch "$dest/.verified"
  echo "fetch-deps: libharu 2.3.0 ready in $dest"
fi
