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

# PostgreSQL 15 (for libpq) and OpenSSL 3.0, which the Windows build compiles
# into a static client library (tools/build-pq.sh). Both come from Debian's
# source archive, which deletes a superseded version from its pool at a point
# release: a pinned tarball would stop downloading. So the version is the
# newest that bookworm, bookworm-updates and bookworm-security list in their
# source indexes, and its orig tarball is checked against the sha256 the
# index gives; each index is checked against its suite's InRelease, whose
# signature gpgv checks with the Debian archive keyring. A verified copy in
# .deps/ is used as it is, with no download; KV_DEPS_REFRESH=1 looks again.
DEBIAN=http://deb.debian.org
DEBIAN_SUITES=(debian/dists/bookworm debian/dists/bookworm-updates debian-security/dists/bookworm-security)
DEBIAN_KEYRING=/usr/share/keyrings/debian-archive-keyring.gpg

debian_indexes() {  # fetches and checks the suites' source indexes into $tmp once
  [ -f "$tmp/indexes.ok" ] && return 0
  local i=0 suite sha
  for suite in "${DEBIAN_SUITES[@]}"; do
    curl -fsSL -o "$tmp/InRelease" "$DEBIAN/$suite/InRelease"
    gpgv --quiet --keyring "$DEBIAN_KEYRING" --output "$tmp/Release" "$tmp/InRelease" 2>/dev/null || {
      echo "fetch-deps: the signature of $suite/InRelease does not verify" >&2; exit 1; }
    sha=$(awk '$3 == "main/source/Sources.xz" && length($1) == 64 { print $1 }' "$tmp/Release")
    [ -n "$sha" ] || { echo "fetch-deps: $suite lists no source index" >&2; exit 1; }
    # By hash, so that an index replaced since InRelease was read still matches.
    curl -fsSL -o "$tmp/Sources.xz" "$DEBIAN/$suite/main/source/by-hash/SHA256/$sha"
    echo "$sha  $tmp/Sources.xz" | sha256sum -c --quiet - || {
      echo "fetch-deps: checksum mismatch for $suite's source index" >&2; exit 1; }
    # Each paragraph of the package kept with the archive it lives in.
    xz -dc "$tmp/Sources.xz" > "$tmp/Sources.$i"
    echo "${suite%%/*}" > "$tmp/archive.$i"
    i=$((i + 1))
  done
  touch "$tmp/indexes.ok"
}

debian_candidates() {  # PACKAGE: "archive directory version file sha256" per listed source, newest first
  local pkg=$1 i line out=()
  for i in "${!DEBIAN_SUITES[@]}"; do
    while read -r line; do
      [ -n "$line" ] && out+=("$(cat "$tmp/archive.$i") $line")
    done < <(awk -v pkg="$pkg" '
      function flush() { if (p && v != "" && f != "") print d, v, f, h; p = 0; v = d = f = h = ""; s = 0 }
      /^$/ { flush(); next }
      /^Package: / { p = ($2 == pkg); next }
      !p { next }
      /^Version: / { v = $2; s = 0; next }
      /^Directory: / { d = $2; s = 0; next }
      /^Checksums-Sha256:/ { s = 1; next }
      s && /^ / { if ($3 ~ /\.orig\.tar\.(gz|bz2|xz)$/) { h = $1; f = $3 } next }
      { s = 0 }
      END { flush() }' "$tmp/Sources.$i")
  done
  # Newest first in Debian's version order: repeatedly take the newest left.
  local sorted=() k best
  while [ ${#out[@]} -gt 0 ]; do
    best=0
    for k in "${!out[@]}"; do
      dpkg --compare-versions "$(cut -d' ' -f3 <<<"${out[k]}")" gt "$(cut -d' ' -f3 <<<"${out[best]}")" && best=$k
    done
    sorted+=("${out[best]}")
    unset 'out[best]'
    out=("${out[@]}")
  done
  printf '%s\n' "${sorted[@]}"
}

fetch_debian_source() {  # PACKAGE NAME UPSTREAM_PREFIX: unpacks the newest NAME-VERSION into .deps/
  local pkg=$1 name=$2 want=$3
  if [ -z "${KV_DEPS_REFRESH:-}" ] && compgen -G "$deps/$name-$want*/.verified" >/dev/null; then
    return 0
  fi
  debian_indexes
  # The newest listed version whose tarball the archive hands out: a mirror
  # may list a security update whose sources it does not carry.
  local archive dir version file sha upstream dest="" line
  while read -r line; do
    read -r archive dir version file sha <<<"$line"
    upstream=${version#*:}
    upstream=${upstream%-*}
    case "$upstream" in "$want"*) ;; *) continue ;; esac
    dest="$deps/$name-$upstream"
    [ -f "$dest/.verified" ] && break
    echo "fetch-deps: fetching $pkg $version"
    if ! curl -fsSL -o "$tmp/$file" "$DEBIAN/$archive/$dir/$file"; then
      echo "fetch-deps: $file is not served; trying an older version" >&2
      dest=""; continue
    fi
    echo "$sha  $tmp/$file" | sha256sum -c --quiet - || {
      echo "fetch-deps: checksum mismatch for $file" >&2; exit 1; }
    rm -rf "$dest" "$tmp/unpack"; mkdir -p "$tmp/unpack"
    tar xf "$tmp/$file" -C "$tmp/unpack" --no-same-owner --no-same-permissions
    mv "$tmp/unpack"/* "$dest"
    rm -f "$tmp/$file"
    printf '%s %s\n%s  %s\n' "$pkg" "$version" "$sha" "$file" > "$dest/.verified"
    echo "fetch-deps: $name $upstream ready in $dest"
    break
  done < <(debian_candidates "$pkg")
  [ -n "$dest" ] || { echo "fetch-deps: no source of $pkg $want could be fetched" >&2; exit 1; }
  # Older copies are left to no build: the build takes the newest.
  local old
  for old in "$deps/$name-$want"*; do
    [ "$old" = "$dest" ] || rm -rf "$old"
  done
}

fetch_debian_source postgresql-15 postgresql 15.
fetch_debian_source openssl openssl 3.0.
