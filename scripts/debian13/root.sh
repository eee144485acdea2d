#!/usr/bin/env bash
# The Debian 13 (trixie) root the newer desktops' suites run in, made with mmdebstrap from the
# package list beside this script and kept outside the checkout, in the machine's cache:
#   root.sh path    makes the root if it is missing, brings it up to date when it is more
#                   than a week old, and prints its path
#   root.sh clean   removes every root but the one the list names now
# The root is named by a hash of the suite and the list, so a changed list makes a new one.
# It is made in a temporary folder beside the cache and renamed into place only once
# mmdebstrap has succeeded: an interrupted build leaves nothing a later run takes for a root.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
suite=trixie
cache="${KESTRIN_ROOT_CACHE:-/var/cache/kestrin}"
list="$here/packages"
mirror=http://deb.debian.org/debian
need_mb=4096          # the root is about 2 GB; mmdebstrap needs room for the downloads too
max_age_days=7

fail() { echo "kestrin: Debian 13 root: $*" >&2; exit 1; }

if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || fail "making and entering it needs root, and sudo is not installed: run as root"
    exec sudo --preserve-env=KESTRIN_ROOT_CACHE "$0" "$@"
fi

# Everything below runs in mount and pid namespaces of its own: however this script ends
# (Ctrl+C, a kill, a timeout), mmdebstrap, apt and their mounts end with it, and the lock
# it holds is released.
if [ -z "${KESTRIN_ROOT_NAMESPACES:-}" ]; then
    KESTRIN_ROOT_NAMESPACES=1 exec unshare --mount --pid --fork --kill-child \
        --propagation private "$0" "$@"
fi

hash="$( { echo "$suite"; grep -v '^#' "$list"; } | sha256sum | cut -c1-16)"
name="debian13-$suite-$hash"
root="$cache/$name"

packages() { grep -v -e '^#' -e '^[[:space:]]*$' "$list" | paste -sd, -; }

archive_reachable() {
    timeout 20 bash -c 'exec 3<>/dev/tcp/deb.debian.org/80' 2>/dev/null
}

make_root() {
    command -v mmdebstrap >/dev/null || fail "mmdebstrap is missing (apt-get install mmdebstrap)"
    local free
    free="$(df --output=avail -BM "$cache" | tail -1 | tr -dc 0-9)"
    [ "$free" -ge "$need_mb" ] || fail "too little disk: ${free} MB free in $cache, $need_mb MB needed"
    archive_reachable || fail "the package archive $mirror is unreachable"
    local building="$cache/.building-$name"
    rm -rf --one-file-system "$building"
    echo "kestrin: making the Debian 13 root $root (about 3 minutes, 2 GB)" >&2
    if ! mmdebstrap --quiet --mode=root --variant=apt --include="$(packages)" \
            --customize-hook='tr -d - < /proc/sys/kernel/random/uuid > "$1/etc/machine-id"' \
            "$suite" "$building" \
            "deb $mirror $suite main" "deb $mirror $suite-updates main" \
            "deb http://deb.debian.org/debian-security $suite-security main" >&2; then
        rm -rf --one-file-system "$building"
        fail "mmdebstrap failed (its messages are above)"
    fi
    touch "$building/.kestrin-updated"
    mv -T "$building" "$root"
}

update_root() {
    if ! archive_reachable; then
        echo "kestrin: Debian 13 root: the package archive is unreachable; using the root as it is" >&2
        return
    fi
    echo "kestrin: bringing the Debian 13 root up to date" >&2
    SUDO_UID= "$here/run.sh" --root "$root" sh -c \
        'apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get dist-upgrade -y -qq && apt-get clean' >&2 ||
        fail "updating it failed (apt's messages are above)"
    touch "$root/.kestrin-updated"
}

mkdir -p "$cache"
case "${1:-path}" in
    path)
        # One build or update at a time; a second make waits for the first.
        exec 9>"$cache/.lock"
        flock 9
        [ -d "$root" ] || make_root
        [ -n "$(find "$root/.kestrin-updated" -mtime -"$max_age_days")" ] || update_root
        echo "$root"
        ;;
    clean)
        exec 9>"$cache/.lock"
        flock 9
        for old in "$cache"/debian13-* "$cache"/.building-*; do
            [ -e "$old" ] && [ "$old" != "$root" ] || continue
            echo "removing $old"
            rm -rf --one-file-system "$old"
        done
        ;;
    *) echo "usage: $0 path|clean" >&2; exit 2 ;;
esac
