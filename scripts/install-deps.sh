#!/usr/bin/env bash
# Installs the Debian packages a make target needs, only those that are missing, without their
# Recommends:
#   scripts/install-deps.sh run|linux|windows|sanitize|test|bench|package|screenshots
#   scripts/install-deps.sh --list TARGET     prints the names instead, one a line
#   scripts/install-deps.sh debian13|sid      a root's list (scripts/roots), for a host of that
#                                             release that runs the root's work natively
# The names hold on Debian 12 (bookworm), Debian 13 (trixie) and unstable (sid): where Debian
# kept a name stable across releases (the default toolchain's clang, libclang-rt-dev), it is
# used; the few that differ are chosen by the release in `by_release` below.
set -euo pipefail

# The release's major number, from /etc/debian_version: "12.8" is 12; testing and unstable
# have a codename there ("forky/sid"), and count as newer than any numbered release.
release() {
    local version
    version="$(cat /etc/debian_version 2>/dev/null || echo 0)"
    case "$version" in
        [0-9]*) echo "${version%%.*}" ;;
        *) echo 99 ;;
    esac
}

# The names that differ by release, and the desktops a host of that release tests on itself:
# on Debian 13 and unstable, those its root would have (scripts/roots), as a host of that
# release runs the root's suites itself.
by_release() {
    if [ "$(release)" -ge 13 ]; then
        wlr_protocols=librust-wayland-protocols-wlr-dev   # the wlroots protocols' XML files
        libei=(libei-dev)                                 # clicks through EIS
        local root=sid
        [ "$(release)" -eq 13 ] && root=debian13
        mapfile -t desktops < <("$(dirname "$0")/roots/root.sh" "$root" packages)
    else
        wlr_protocols=librust-wayland-protocols-dev       # Debian 12 keeps them there
        libei=()                                          # no libei before Debian 13
        # Plasma 5.27's portal backend is a Qt 5 program: it needs Qt 5's Wayland plugin.
        desktops=(kwin-wayland kwin-common xdg-desktop-portal-kde qtwayland5
                  gnome-shell xdg-desktop-portal-gnome gnome-settings-daemon)
    fi
}
by_release

tools=(cmake ninja-build make pkg-config)
# Building and running the Linux program (`make run`): nothing for its tests, Windows or the
# sanitizers.
run=("${tools[@]}" g++ qt6-base-dev qt6-wayland libgl-dev libxtst-dev libxi-dev libxfixes-dev
     libx11-dev libx11-xcb-dev libxcb1-dev libxcb-xkb-dev libwayland-dev wayland-protocols
     "$wlr_protocols" libxkbcommon-dev libdbus-1-dev "${libei[@]}" fonts-wqy-microhei xdg-utils)
linux=("${run[@]}" libgtest-dev)
windows=("${tools[@]}" g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64)
sanitize=("${tools[@]}" clang libclang-rt-dev libgtest-dev)
test=("${linux[@]}" "${windows[@]}" "${sanitize[@]}" python3 python3-dbus python3-gi xvfb xauth
      x11-utils wine wine64 fonts-wine lintian dpkg-dev appstream dbus-daemon util-linux
      libglib2.0-bin xdg-desktop-portal sway mmdebstrap "${desktops[@]}")
bench=("${test[@]}" xdotool gnuplot-nox)
package=("${test[@]}" zip unzip)
screenshots=("${linux[@]}" "${windows[@]}" python3 xvfb imagemagick wine wine64 fonts-wine)

targets="run|linux|windows|sanitize|test|bench|package|screenshots|debian13|sid"
list=false
if [ "${1:-}" = --list ]; then
    list=true
    shift
fi
case "${1:-test}" in
    run | linux | windows | sanitize | test | bench | package | screenshots)
        declare -n chosen="${1:-test}"
        mapfile -t wanted < <(printf '%s\n' "${chosen[@]}" | sort -u) ;;
    debian13 | sid) mapfile -t wanted < <("$(dirname "$0")/roots/root.sh" "$1" packages) ;;
    *) echo "usage: $0 [--list] $targets" >&2; exit 2 ;;
esac

if $list; then
    printf '%s\n' "${wanted[@]}"
    exit 0
fi

missing=()
for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
