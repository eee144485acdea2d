#!/usr/bin/env bash
# Runs a command inside a Debian root (root.sh), in the checkout's folder:
#   run.sh RELEASE COMMAND [ARG...]      in that release's root (debian13, sid), made first
#                                        when it is not cached
#   run.sh --root DIR COMMAND [ARG...]   in the root at DIR
# It runs in mount and pid namespaces of its own, with /proc, /sys, /dev, a fresh /dev/shm,
# /tmp and /run, and the checkout bound at the path it has outside (so CTest's paths hold).
# When the command ends, however it ends (its own end, a signal, the caller killed), the
# kernel ends every process of the pid namespace and drops its mounts: the host sees nothing.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
checkout="$(cd "$here/../.." && pwd)"

if [ "${1:-}" = --inside ]; then
    # Pid 1 of the new namespaces: mount, enter the root, run the command, reap orphans.
    root="$2"; shift 2
    mount -t proc proc "$root/proc"
    mount -t sysfs sysfs "$root/sys"
    mount --rbind /dev "$root/dev"
    for dir in /dev/shm /tmp /run; do
        mount -t tmpfs -o mode=1777 tmpfs "$root$dir"
    done
    mkdir -p "$root$checkout"
    mount --bind "$checkout" "$root$checkout"
    [ -e /etc/resolv.conf ] && mount --bind -o ro "$(readlink -f /etc/resolv.conf)" "$root/etc/resolv.conf"
    # A caller who came through sudo runs the command as themselves, so the build folder
    # stays theirs; root runs it as root.
    as=()
    if [ -n "${SUDO_UID:-}" ] && [ "$SUDO_UID" != 0 ]; then
        as=(setpriv --reuid="$SUDO_UID" --regid="${SUDO_GID:-$SUDO_UID}" --clear-groups)
    fi
    # bash stays pid 1 and waits, so processes orphaned inside are reaped.
    chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" "${as[@]}" /bin/bash -c 'cd "$0" && "$@"' "$checkout" "$@"
    exit $?
fi

if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "kestrin: Debian root: entering it needs root, and sudo is not installed" >&2; exit 1; }
    exec sudo --preserve-env=KESTRIN_ROOT_CACHE "$0" "$@"
fi
if [ $# -lt 2 ]; then
    echo "usage: $0 debian13|sid|--root DIR COMMAND [ARG...]" >&2; exit 2
elif [ "$1" = --root ]; then
    root="$2"; shift 2
else
    root="$("$here/root.sh" "$1" path)"; shift
fi
[ $# -gt 0 ] || { echo "usage: $0 debian13|sid|--root DIR COMMAND [ARG...]" >&2; exit 2; }
# --kill-child: if this process is killed, pid 1 inside gets SIGKILL, and with it every
# process of the namespace.
exec unshare --mount --pid --fork --kill-child --propagation private \
    "$here/run.sh" --inside "$root" "$@"
