#!/usr/bin/env bash
# The Debian roots the suites of newer desktops run in, one a release, each made with mmdebstrap
# from its package list beside this script (RELEASE.packages) and kept outside the checkout, in
# the machine's cache:
#   root.sh RELEASE path       makes the root if it is missing (and brings a Debian 13 root up
#                              to date when it is more than a week old); prints its path
#   root.sh RELEASE packages   prints the packages of its list, one a line
#   root.sh clean              removes everything in the cache but the roots the lists name now
# RELEASE is debian13 (trixie, Debian's stable release) or sid (unstable).
# A root is named by a hash of its suite and its list, so a changed list makes a new one. It is
# made in a temporary folder beside the cache and renamed into place only once mmdebstrap has
# succeeded: an interrupted build leaves nothing a later run takes for a root.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
cache="${KESTRIN_ROOT_CACHE:-/var/cache/kestrin}"
mirror=http://deb.debian.org/debian
max_age_days=7
releases=(debian13 sid)

fail() { echo "kestrin: $title root: $*" >&2; exit 1; }

release="${1:-}"
case "$release" in
    debian13)
        title="Debian 13"; suite=trixie; size="about 3 minutes, 2 GB"; need_mb=4096
        sources=("deb $mirror trixie main" "deb $mirror trixie-updates main"
                 "deb http://deb.debian.org/debian-security trixie-security main")
        options=()
        ;;
    sid)
        # The archive we reach serves unstable as it stood at about 2026-10-30 and no longer
        # moves, so its Release file has expired: apt refuses it unless told not to check the
        # expiry. The files themselves are still checked against the archive's signature; only
        # their age is not. Unstable has no -updates or -security suites.
        title="Debian unstable"; suite=sid; size="about 5 minutes, 3.4 GB"; need_mb=6144
        sources=("deb $mirror sid main")
        options=(--aptopt='Acquire::Check-Valid-Until "false"')
        ;;
    clean) title="Debian" ;;
    *) echo "usage: $0 debian13|sid path|packages, or $0 clean" >&2; exit 2 ;;
esac

list() { grep -v -e '^#' -e '^[[:space:]]*$' "$here/$1.packages"; }
if [ "${2:-}" = packages ]; then
    list "$release"
    exit
fi

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

root_of() {  # the cached root of a release's list as it is now
    local suite_of=trixie
    [ "$1" = sid ] && suite_of=sid
    echo "$cache/$1-$( { echo "$suite_of"; list "$1"; } | sha256sum | cut -c1-16)"
}

archive_reachable() {
    timeout 20 bash -c 'exec 3<>/dev/tcp/deb.debian.org/80' 2>/dev/null
}

make_root() {
    command -v mmdebstrap >/dev/null || fail "mmdebstrap is missing (apt-get install mmdebstrap)"
    local free
    free="$(df --output=avail -BM "$cache" | tail -1 | tr -dc 0-9)"
    [ "$free" -ge "$need_mb" ] || fail "too little disk: ${free} MB free in $cache, $need_mb MB needed"
    archive_reachable || fail "the package archive $mirror is unreachable"
    local building="$cache/.building-${root##*/}"
    rm -rf --one-file-system "$building"
    echo "kestrin: making the $title root $root ($size)" >&2
    # apt's package lists stay in the root: the suites check there that the install lists
    # resolve on that release (apt's simulation), with no download.
    if ! mmdebstrap --quiet --mode=root --variant=apt "${options[@]}" --skip=cleanup/apt/lists \
            --include="$(list "$release" | paste -sd, -)" \
            --customize-hook='tr -d - < /proc/sys/kernel/random/uuid > "$1/etc/machine-id"' \
            "$suite" "$building" "${sources[@]}" >&2; then
        rm -rf --one-file-system "$building"
        fail "mmdebstrap failed (its messages are above)"
    fi
    touch "$building/.kestrin-updated"
    mv -T "$building" "$root"
}

# A Debian 13 root takes the release's fixes once a week. An unstable root stays as it was made:
# the archive's unstable does not move, and a moving unstable would change the suites' ground
# under them from one day to the next. A changed list, or `make clean-roots` after removing
# it, makes it anew.
update_root() {
    [ "$release" = debian13 ] || return 0
    if ! archive_reachable; then
        echo "kestrin: $title root: the package archive is unreachable; using the root as it is" >&2
        return
    fi
    echo "kestrin: bringing the $title root up to date" >&2
    SUDO_UID= "$here/run.sh" --root "$root" sh -c \
        'apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get dist-upgrade -y -qq && apt-get clean' >&2 ||
        fail "updating it failed (apt's messages are above)"
    touch "$root/.kestrin-updated"
}

mkdir -p "$cache" 2>/dev/null || fail "cannot make its cache folder $cache"
if [ "$release" = clean ]; then
    kept=()
    for each in "${releases[@]}"; do
        exec {lock}>"$cache/.lock-$each"
        flock "$lock"  # no root is being made or updated while the cache is cleaned
        kept+=("$(root_of "$each")")
    done
    for old in "$cache"/* "$cache"/.building-*; do
        [ -e "$old" ] && [[ " ${kept[*]} " != *" $old "* ]] || continue
        echo "removing $old"
        rm -rf --one-file-system "$old"
    done
    exit
fi
[ "${2:-path}" = path ] || { echo "usage: $0 debian13|sid path|packages, or $0 clean" >&2; exit 2; }
root="$(root_of "$release")"
# One build or update of a root at a time; a second make waits for the first.
exec 9>"$cache/.lock-$release"
flock 9
[ -d "$root" ] || make_root
[ -n "$(find "$root/.kestrin-updated" -mtime -"$max_age_days")" ] || update_root
# A root made before the lists were kept gets them once.
if ! compgen -G "$root/var/lib/apt/lists/*_Packages" >/dev/null; then
    SUDO_UID= "$here/run.sh" --root "$root" apt-get update -qq >&2 ||
        fail "apt-get update failed in it (its messages are above)"
fi
echo "$root"
