# shellcheck shell=bash
# The private network namespace the launcher runs in, and the simulated LAN inside it. The
# launcher broadcasts a LAN search at every start, so we run it only in a namespace of its own;
# there a veth pair leads to a second namespace where simulated devices answer. Both namespaces
# die with the processes in them, so the broadcast reaches nothing else.
#
# Sourced by scripts/run, tests/netns/broadcast-search and tests/e2e/run. The end-to-end
# harness runs it as a command instead (see the end of this file).

LAN_LAUNCHER_ADDRESS=10.77.0.1
LAN_DEVICE_ADDRESS=10.77.0.2
# The devices' side has a second address, so that a second device can announce one of its own.
LAN_SECOND_DEVICE_ADDRESS=10.77.0.3

# Exits with a message unless this process sits in a namespace that lan_private made, with
# nothing in it but loopback.
lan_require_private() {  # the command's name, for the message
    if [ -z "${TAVRIN_OUTER_NETNS:-}" ] || [ "$(readlink /proc/self/ns/net)" = "$TAVRIN_OUTER_NETNS" ] ||
        [ "$(ip -o link show | wc -l)" -ne 1 ]; then
        echo "$1: the network namespace is not a private one; not running" >&2
        exit 1
    fi
}

lan_require_root() {  # the command's name, for the message
    if [ "$(id -u)" -ne 0 ]; then
        echo "$1 needs root for its private network namespace (unshare -n)" >&2
        exit 1
    fi
}

# The first time, runs COMMAND (the calling script again, or the part of it that runs inside)
# in place of this process, in a fresh network namespace. In that command it returns, once it
# has checked where it runs and brought loopback up.
lan_private() {  # the command's name as the user typed it, COMMAND...
    local name=$1
    shift
    # unshare and the command keep this process's id: that tells the command it is the inside.
    if [ "${TAVRIN_NETNS_PID:-}" != $$ ] && [ $# -gt 0 ]; then
        lan_require_root "$name"
        # The end-to-end harness checks against the namespace noted here that it runs in another.
        TAVRIN_OUTER_NETNS=$(readlink /proc/self/ns/net) TAVRIN_NETNS_PID=$$ \
            exec unshare -n -- "$@"
    fi
    lan_require_private "$name"
    ip link set lo up
}

# The simulated LAN, made from a private namespace with nothing in it but loopback: the devices'
# namespace, held by a process that only sleeps (LAN_HOLDER), and a veth pair to it. This side
# gets LAN_LAUNCHER_ADDRESS and a default route through the pair, so the limited broadcast
# leaves through it and reaches the devices.
lan_up() {
    lan_require_private "simulated LAN"
    unshare -n -- sleep infinity </dev/null >/dev/null 2>&1 &
    LAN_HOLDER=$!
    # $! is still in this namespace for a moment, before unshare has made its own.
    local own
    own=$(readlink /proc/self/ns/net)
    for _ in $(seq 500); do
        [ "$(readlink "/proc/$LAN_HOLDER/ns/net")" != "$own" ] && break
        sleep 0.01
    done
    if [ "$(readlink "/proc/$LAN_HOLDER/ns/net")" = "$own" ]; then
        echo "simulated LAN: the devices' namespace did not come" >&2
        exit 1
    fi
    ip link add v0 type veth peer name v1 netns "$LAN_HOLDER"
    ip addr add "$LAN_LAUNCHER_ADDRESS/24" dev v0
    ip link set v0 up
    ip route add default dev v0
    # shellcheck disable=SC2016  # $1 and $2 are the inner shell's: the addresses after the script
    nsenter -t "$LAN_HOLDER" -n sh -c 'ip link set lo up && ip addr add "$1/24" dev v1 &&
        ip addr add "$2/24" dev v1 && ip link set v1 up && ip route add default dev v1' \
        sh "$LAN_DEVICE_ADDRESS" "$LAN_SECOND_DEVICE_ADDRESS"
}

# Becomes (exec) the device simulator, in the devices' namespace: at LAN_DEVICE_ADDRESS unless
# the options say --ip, listening on every address of that side. Start it in the background.
lan_device() {  # the simulator, its options...
    local simulator=$1
    shift
    exec nsenter -t "$LAN_HOLDER" -n "$simulator" --bind 0.0.0.0 --ip "$LAN_DEVICE_ADDRESS" "$@"
}

# Takes the LAN away; the devices are the caller's to stop.
lan_down() {
    [ -n "${LAN_HOLDER:-}" ] || return 0
    # Our end of the pair takes the other with it at once, so a next LAN can have the name.
    ip link del v0 2>/dev/null || true
    kill "$LAN_HOLDER" 2>/dev/null || true
}

# Under Wine the wineserver makes every socket, so a program's broadcast goes out wherever its
# server runs: ends any server of $WINEPREFIX (it may sit in another namespace), starts one
# here (LAN_WINESERVER) and exits unless it really runs in this namespace.
lan_wineserver() {  # the command's name, for the message
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    wineserver -f -p &
    LAN_WINESERVER=$!
    sleep 0.5
    if ! kill -0 "$LAN_WINESERVER" 2>/dev/null ||
        [ "$(readlink "/proc/$LAN_WINESERVER/ns/net")" != "$(readlink /proc/self/ns/net)" ]; then
        echo "$1: could not start a wineserver inside the private network namespace" >&2
        kill "$LAN_WINESERVER" 2>/dev/null || true
        exit 1
    fi
}

# As a command, for the harness: `up` makes the LAN and prints its holder's process id, which
# `down HOLDER` and `device HOLDER SIMULATOR OPTIONS...` take.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -euo pipefail
    case ${1:-} in
        up)
            lan_up
            echo "$LAN_HOLDER"
            ;;
        down)
            LAN_HOLDER=$2
            lan_down
            ;;
        device)
            LAN_HOLDER=$2
            shift 2
            lan_device "$@"
            ;;
        *)
            echo "usage: $0 up | down HOLDER | device HOLDER SIMULATOR OPTIONS..." >&2
            exit 2
            ;;
    esac
fi
