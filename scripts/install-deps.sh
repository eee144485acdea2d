#!/usr/bin/env bash
# Installs the Debian packages a make target needs, only those that are missing.
#   scripts/install-deps.sh build|test|run|bench|package|screenshots|debian13|sid
# Without their Recommends: what a suite needs beyond a package's Depends is named here.
set -euo pipefail

build=(cmake ninja-build g++ make pkg-config clang libclang-rt-14-dev libgtest-dev
       qt6-base-dev libgl-dev libxtst-dev libxi-dev libxfixes-dev libx11-dev libx11-xcb-dev libxcb1-dev libxcb-xkb-dev
       g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 fonts-wqy-microhei
       libwayland-dev wayland-protocols librust-wayland-protocols-dev libxkbcommon-dev libdbus-1-dev)
run=("${build[@]}" xdg-utils qt6-wayland)
test=("${build[@]}" python3 xvfb xauth wine wine64 fonts-wine x11-utils lintian dpkg-dev
      qt6-wayland sway dbus-daemon util-linux xdg-desktop-portal python3-dbus python3-gi libglib2.0-bin
      appstream mmdebstrap
      kwin-wayland kwin-common xdg-desktop-portal-kde qtwayland5
      gnome-shell xdg-desktop-portal-gnome gnome-settings-daemon)
bench=("${test[@]}" xdotool gnuplot-nox)
package=("${test[@]}" zip unzip)
screenshots=("${build[@]}" python3 xvfb imagemagick wine wine64 fonts-wine)

case "${1:-test}" in
    build) wanted=("${build[@]}") ;;
    run) wanted=("${run[@]}") ;;
    test) wanted=("${test[@]}") ;;
    bench) wanted=("${bench[@]}") ;;
    package) wanted=("${package[@]}") ;;
    screenshots) wanted=("${screenshots[@]}") ;;
    # A Debian 13 or unstable host runs those suites natively, with that root's packages.
    debian13|sid) mapfile -t wanted < <("$(dirname "$0")/roots/root.sh" "$1" packages) ;;
    *) echo "usage: $0 build|test|run|bench|package|screenshots|debian13|sid" >&2; exit 2 ;;
esac

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
