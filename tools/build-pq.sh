#!/usr/bin/env bash
# Builds the PostgreSQL client library for the Windows build: static OpenSSL
# (libssl, libcrypto) and a static libpq on top of it, with the build's
# mingw-w64 compiler, from the sources tools/fetch-deps.sh put in .deps/.
# Called by cmake/Pq.cmake once per build folder; each stage keeps a stamp
# naming its source, so a rerun only redoes a stage whose source changed.
#   tools/build-pq.sh OUT_DIR OPENSSL_SRC POSTGRESQL_SRC CC [LAUNCHER]
# Leaves OUT_DIR/lib/*.a and OUT_DIR/include/ (libpq-fe.h and what it includes).
set -euo pipefail
out=$(mkdir -p "$1" && cd "$1" && pwd)
ssl_src=$(cd "$2" && pwd)
pg_src=$(cd "$3" && pwd)
cc="$4"
[ -n "${5:-}" ] && cc="$5 $cc"
host=x86_64-w64-mingw32
jobs=$(nproc 2>/dev/null || echo 2)
tools="AR=$host-ar RANLIB=$host-ranlib RC=$host-windres WINDRES=$host-windres PKG_CONFIG=false"
# A stage is redone when its source or this script changes.
script=$(sha256sum < "$0" | cut -c1-16)

stamp_ok() {  # STAGE SOURCE: the stage was built from this source
  [ -f "$out/$1.stamp" ] && [ "$(cat "$out/$1.stamp")" = "$2" ]
}

mkdir -p "$out/lib" "$out/include"

# OpenSSL: the libraries only (no programs, tests, engines or modules).
if ! stamp_ok openssl "$ssl_src $script"; then
  echo "build-pq: OpenSSL from $ssl_src"
  rm -rf "$out/openssl" "$out/openssl.stamp"; mkdir -p "$out/openssl"
  (cd "$out/openssl" &&
   env CC="$cc" $tools perl "$ssl_src/Configure" mingw64 no-shared no-tests no-engine no-module \
     >configure.log 2>&1 ||
     { cat configure.log >&2; exit 1; }
   make -j"$jobs" build_libs >build.log 2>&1 || { tail -n 40 build.log >&2; exit 1; })
  cp "$out/openssl/libssl.a" "$out/openssl/libcrypto.a" "$out/lib/"
  echo "$ssl_src $script" > "$out/openssl.stamp"
fi

# libpq: configured against that OpenSSL, outside the source tree; only the
# objects of libpq itself and the two support libraries it links are built.
pg_key="$pg_src $ssl_src $script"
if ! stamp_ok libpq "$pg_key"; then
  echo "build-pq: libpq from $pg_src"
  rm -rf "$out/postgresql" "$out/libpq.stamp"; mkdir -p "$out/postgresql"
  pg="$out/postgresql"
  (cd "$pg" &&
   env CC="$cc" $tools "$pg_src/configure" --host=$host \
     --without-readline --without-zlib --without-icu --without-ldap --without-gssapi --with-ssl=openssl \
     CPPFLAGS="-I$ssl_src/include -I$out/openssl/include" LDFLAGS="-L$out/openssl" \
     LIBS="-lcrypt32 -lws2_32" >configure.log 2>&1 || { tail -n 40 configure.log >&2; exit 1; })
  # The libpq objects its own Makefile lists, less the DLL's version resource.
  cat > "$pg/objs.mk" <<'MK'
kv-objs: $(filter-out $(WIN32RES),$(OBJS))
	@echo $^ > objs.txt
MK
  {
    make -C "$pg/src/backend" generated-headers
    make -C "$pg/src/common" -j"$jobs" libpgcommon_shlib.a
    make -C "$pg/src/port" -j"$jobs" libpgport_shlib.a
    make -C "$pg/src/interfaces/libpq" -j"$jobs" -f Makefile -f "$pg/objs.mk" kv-objs
  } >"$pg/build.log" 2>&1 || { tail -n 40 "$pg/build.log" >&2; exit 1; }
  objs=$(cat "$pg/src/interfaces/libpq/objs.txt")
  [ -n "$objs" ] || { echo "build-pq: libpq lists no objects" >&2; exit 1; }
  rm -f "$out/lib/libpq.a"
  (cd "$pg/src/interfaces/libpq" && $host-ar rcs "$out/lib/libpq.a" $objs)
  # libpq carries a small pthread stand-in of its own (pthread-win32.o) under
  # winpthreads' names, which the C++ runtime links too: libpq's calls go to
  # its own functions, renamed.
  $host-nm -g --defined-only "$out/lib/libpq.a" | awk '$3 ~ /^pthread_/ { print $3, "kv_pq_" $3 }' > "$pg/pthread.syms"
  $host-objcopy --redefine-syms="$pg/pthread.syms" "$out/lib/libpq.a"
  cp "$pg/src/common/libpgcommon_shlib.a" "$pg/src/port/libpgport_shlib.a" "$out/lib/"
  cp "$pg_src/src/interfaces/libpq/libpq-fe.h" "$pg_src/src/include/postgres_ext.h" \
     "$pg/src/include/pg_config_ext.h" "$out/include/"
  echo "$pg_key" > "$out/libpq.stamp"
fi

# Newer than the script, so that the build sees its outputs as made.
touch "$out"/lib/*.a "$out"/include/*.h
