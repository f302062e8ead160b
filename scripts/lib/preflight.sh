# shellcheck shell=bash
# What scripts/run and scripts/test need and cannot install themselves, checked within
# seconds, before anything is installed or built. Sourced by both.

# Exits with a message that says what to do when this machine cannot run the command.
tavrin_preflight() {  # the command's name, as the user typed it
  local name=$1
  if [[ ! -x /usr/bin/apt-get || ! -f /etc/debian_version ]]; then
    cat >&2 <<EOF
$name: this is not a Debian system. It installs what it needs with apt-get from
Debian's packages: run it on Debian 12 (bookworm).
EOF
    exit 1
  fi
  if [[ $(id -u) -ne 0 ]]; then
    cat >&2 <<EOF
$name: needs root. It installs Debian packages with apt-get, and it runs the launcher
in a private network namespace, so that the LAN search the launcher broadcasts at every
start never leaves this machine. Run it as root:
    sudo $name
EOF
    exit 1
  fi
  if ! unshare -n true 2>/dev/null; then
    cat >&2 <<EOF
$name: cannot make a private network namespace here ('unshare -n' was refused), and
it never runs the launcher without one. In a container, start the container with that
permission (docker run --privileged, or --cap-add SYS_ADMIN --security-opt
seccomp=unconfined); otherwise run it on a Debian 12 machine or virtual machine.
EOF
    exit 1
  fi
}

# One line before a first run, which installs and builds everything before it starts.
tavrin_first_run_note() {  # the command's name, what a first run does
  if [[ ! -f build/win/bin/Tavrin.exe ]]; then
    echo "$1: first run on this machine: $2" >&2
  fi
}
