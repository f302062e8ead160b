# shellcheck shell=bash
# Debian packages the launcher needs, installed on demand.
#
# Sourced by scripts/run, scripts/test and scripts/lib/curl-mingw.sh. Machines
# come and go, so nothing may be assumed installed; but most runs find
# everything in place, so the happy path is one dpkg-query and one `locale -a`.
# Must run as root (we always are, here and in CI).

TAVRIN_DEB_PACKAGES=(
  cmake ninja-build g++
  clang libclang-rt-14-dev          # libFuzzer and the sanitizer runtimes
  clang-format clang-tidy           # scripts/check: layout and static analysis
  shellcheck pyflakes3              # scripts/check: the shell scripts and the Python harness
  g++-mingw-w64-i686-posix          # the 32-bit Windows cross compiler
  libgtest-dev googletest libgmock-dev libbenchmark-dev
  libcurl4-openssl-dev libcpp-httplib-dev
  wine wine64 wine32:i386           # the .exe and its tests run under Wine
  xvfb x11-utils xdotool imagemagick  # real windows, driven and screenshotted
  fonts-wqy-microhei locales        # the UI is Traditional Chinese
  iproute2 dpkg-dev util-linux
  python3                           # the end-to-end harness and the Wine prefix set-up
  zip nsis                          # the release zip and its installer (scripts/package)
)

# `apt-get update` is slow and needed at most once per process, however many
# helpers ask for it. A mirror caught mid-sync serves some indexes that fail
# their checksums, sometimes for hours: apt then keeps the others, and so do
# we, after one more try. Whether what was fetched is enough, the install says.
_tavrin_apt_updated=
_tavrin_apt_update() {
  [[ -n $_tavrin_apt_updated ]] && return 0
  echo "deps: apt-get update" >&2
  if DEBIAN_FRONTEND=noninteractive apt-get update -qq ||
     { sleep 30; DEBIAN_FRONTEND=noninteractive apt-get update -qq; }; then
    _tavrin_apt_updated=1
  else
    echo "deps: some package indexes could not be fetched; going on with the others" >&2
    _tavrin_apt_updated=partial
  fi
}

# Installs the packages. Without one architecture's index of the security
# suite, the i386 libraries lag their amd64 twins, which multi-arch requires
# to be the same version: the release's own suite holds both alike.
_tavrin_apt_install() {
  local codename
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@" && return 0
  [[ $_tavrin_apt_updated == partial ]] || return 1
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  echo "deps: installing from $codename alone, as its indexes are complete" >&2
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -t "$codename" "$@"
}

# Prints the packages of TAVRIN_DEB_PACKAGES that are not fully installed.
# dpkg-query names multi-arch packages "name:arch" only sometimes, so index
# every installed one under both spellings before comparing.
_tavrin_missing_packages() {
  local native status pkg arch want
  local -A have=()
  native=$(dpkg --print-architecture)
  while read -r status pkg arch; do
    [[ $status == ii ]] || continue
    have["$pkg:$arch"]=1
    [[ $arch == "$native" || $arch == all ]] && have["$pkg"]=1
  done < <(dpkg-query -W -f='${db:Status-Abbrev} ${Package} ${Architecture}\n' \
             "${TAVRIN_DEB_PACKAGES[@]}" 2>/dev/null)
  for want in "${TAVRIN_DEB_PACKAGES[@]}"; do
    [[ -n ${have[$want]:-} ]] || echo "$want"
  done
}

ensure_deps() {
  # wine32 is an i386 package; without the architecture apt cannot see it.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "deps: adding the i386 architecture" >&2
    dpkg --add-architecture i386 || return 1
    _tavrin_apt_updated=   # the package lists now lack i386
  fi

  local missing
  mapfile -t missing < <(_tavrin_missing_packages)
  if ((${#missing[@]})); then
    echo "deps: installing ${#missing[@]} Debian packages (minutes on a fresh machine): ${missing[*]}" >&2
    _tavrin_apt_update || return 1
    _tavrin_apt_install "${missing[@]}" || return 1
  fi

  # glibc spells it zh_TW.utf8 in `locale -a`.
  if ! locale -a 2>/dev/null | grep -qix 'zh_TW\.utf-\?8'; then
    echo "deps: generating the zh_TW.UTF-8 locale" >&2
    localedef -i zh_TW -f UTF-8 zh_TW.UTF-8 || return 1
  fi
}

# Makes `apt-get source` work. Only the cross build of curl needs it, so
# curl-mingw.sh calls this rather than ensure_deps. Debian images ship binary
# entries only; we add source entries for the same Debian mirrors and suites
# in a file of our own, leaving the system's files untouched.
TAVRIN_DEB_SRC_FILE=/etc/apt/sources.list.d/tavrin-deb-src
ensure_deb_src() {
  local f lists=() sources=()
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f $f ]] && lists+=("$f")
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -f $f ]] && sources+=("$f")
  done

  if ! grep -qsE '^[[:space:]]*deb-src[[:space:]]' "${lists[@]}" /dev/null &&
     ! grep -qsiE '^Types:.*\<deb-src\>' "${sources[@]}" /dev/null; then
    echo "deps: enabling deb-src entries" >&2
    # One-line format: mirror every Debian "deb" line as "deb-src".
    if ((${#lists[@]})); then
      sed -nE '/^[[:space:]]*deb[[:space:]].*debian/s/^([[:space:]]*)deb([[:space:]])/\1deb-src\2/p' \
        "${lists[@]}" > "$TAVRIN_DEB_SRC_FILE.list"
      [[ -s $TAVRIN_DEB_SRC_FILE.list ]] || rm -f "$TAVRIN_DEB_SRC_FILE.list"
    fi
    # deb822 format: copy each Debian stanza with its Types turned into
    # deb-src. Third-party repositories often publish no sources, and a 404
    # there would fail `apt-get update`, hence the URIs filter.
    if ((${#sources[@]})); then
      awk 'BEGIN { RS = ""; ORS = "\n\n" }
           /(^|\n)URIs:[^\n]*debian/ && /(^|\n)Types:[^\n]*deb/ && !/(^|\n)Enabled:[ \t]*no/ {
             sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print
           }' "${sources[@]}" > "$TAVRIN_DEB_SRC_FILE.sources"
      [[ -s $TAVRIN_DEB_SRC_FILE.sources ]] || rm -f "$TAVRIN_DEB_SRC_FILE.sources"
    fi
    if [[ ! -f $TAVRIN_DEB_SRC_FILE.list && ! -f $TAVRIN_DEB_SRC_FILE.sources ]]; then
      echo "deps: found no Debian entry to mirror as deb-src" >&2
      return 1
    fi
    _tavrin_apt_updated=   # the new entries have no index yet
  fi

  # Entries can exist without their index (fresh machine, or added above).
  if [[ -z $(apt-cache showsrc curl 2>/dev/null) ]]; then
    _tavrin_apt_update || return 1
  fi
}
