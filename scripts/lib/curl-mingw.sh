# shellcheck shell=bash
# A static libcurl for the Windows build, made from Debian's own curl source.
#
# Debian packages no mingw libcurl, and nothing may be fetched from outside
# its archive, so we build one: HTTP only (the launcher talks plain HTTP;
# no TLS, compression, IDN, LDAP...), static so Tavrin.exe stays one file.
# cmake/MingwCurl.cmake picks the result up. Takes ~1.5 min on 2 cores, once
# per machine: the install prefix is the cache.

_tavrin_curl_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
declare -F ensure_deb_src >/dev/null || source "$_tavrin_curl_root/scripts/lib/deps.sh"

# ensure_curl_mingw [PREFIX]  (default build/deps/curl-mingw; a relative
# PREFIX is taken from the repo root, as CMake's default is)
ensure_curl_mingw() (
  set -euo pipefail
  local root=$_tavrin_curl_root
  local prefix=${1:-build/deps/curl-mingw}
  [[ $prefix == /* ]] || prefix=$root/$prefix
  [[ -f $prefix/lib/libcurl.a ]] && return 0

  # scripts/run and scripts/test may both get here on a fresh machine.
  mkdir -p "$root/build/deps"
  exec 9>"$root/build/deps/curl-mingw.lock"
  flock 9
  [[ -f $prefix/lib/libcurl.a ]] && return 0

  local tool
  for tool in i686-w64-mingw32-gcc-posix cmake ninja dpkg-source; do
    command -v "$tool" >/dev/null || { ensure_deps; break; }
  done
  ensure_deb_src

  local scratch=$root/build/deps/curl-src
  rm -rf "$scratch" "$prefix.partial"
  mkdir -p "$scratch"
  local log=$scratch/build.log
  trap 'echo "curl-mingw: failed; last lines of $log:" >&2; tail -n 25 "$log" >&2' ERR

  echo "curl-mingw: fetching Debian's curl source" >&2
  # As root apt warns it cannot drop to the _apt user in our directory; harmless.
  (cd "$scratch" && apt-get source -qq curl) >>"$log" 2>&1
  local src
  src=$(find "$scratch" -mindepth 1 -maxdepth 1 -type d -name 'curl-*' | head -n 1)
  [[ -n $src ]] || { echo "curl-mingw: no source tree after apt-get source" >&2; return 1; }

  # CMake rather than autotools: Debian's packaging patches rename the
  # autotools library (libcurl-gnutls...) and configure takes as long as the
  # build itself. Every feature that would pull in another library is off;
  # HTTP_ONLY drops the other protocols. The threaded resolver stays on: on
  # Windows it uses Win32 threads, so the transfer can be cancelled while
  # a name is being looked up.
  echo "curl-mingw: configuring $(basename "$src")" >&2
  cmake -S "$src" -B "$scratch/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-w64-mingw32.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF \
    -DENABLE_MANUAL=OFF -DPICKY_COMPILER=OFF \
    -DHTTP_ONLY=ON -DCURL_DISABLE_LDAP=ON -DCURL_DISABLE_LDAPS=ON \
    -DCURL_ENABLE_SSL=OFF -DCURL_USE_OPENSSL=OFF \
    -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBSSH=OFF -DCURL_USE_GSSAPI=OFF \
    -DCURL_ZLIB=OFF -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF \
    -DUSE_LIBIDN2=OFF -DUSE_WIN32_IDN=OFF -DCURL_USE_LIBPSL=OFF \
    -DUSE_NGHTTP2=OFF -DUSE_NGTCP2=OFF -DUSE_QUICHE=OFF -DUSE_MSH3=OFF \
    -DENABLE_ARES=OFF -DENABLE_IPV6=ON \
    >>"$log" 2>&1

  echo "curl-mingw: building (about 1.5 min)" >&2
  cmake --build "$scratch/build" -j2 >>"$log" 2>&1

  # Install beside the prefix and move it into place, so an interrupted run
  # never leaves a libcurl.a that looks like a finished cache.
  cmake --install "$scratch/build" --prefix "$prefix.partial" >>"$log" 2>&1
  rm -rf "$prefix"
  mv "$prefix.partial" "$prefix"
  trap - ERR
  rm -rf "$scratch"
  echo "curl-mingw: installed $prefix/lib/libcurl.a" >&2
)
