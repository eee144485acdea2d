#!/usr/bin/env bash
# Makes the Debian package, checks it with lintian, unpacks it into a throwaway root and
# starts the installed program under an Xvfb of its own until its window shows.
#   deb_test.sh LINUX_BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" || {
    cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/kestrin_*.deb)
echo "package: $(basename "$deb")"

# Errors fail the test; warnings are printed for the reader.
lintian --fail-on error --suppress-tags dir-or-file-in-opt "$deb"

dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' || {
    echo "Depends lacks Qt 6 Widgets"; exit 1; }
dpkg-deb --field "$deb" Depends | grep -q 'libxtst6' || { echo "Depends lacks libxtst"; exit 1; }
dpkg -x "$deb" "$work/root"
for f in usr/bin/kestrin usr/share/applications/kestrin.desktop \
         usr/share/icons/hicolor/16x16/apps/kestrin.png \
         usr/share/icons/hicolor/32x32/apps/kestrin.png \
         usr/share/icons/hicolor/48x48/apps/kestrin.png; do
    [ -e "$work/root/$f" ] || { echo "missing in package: $f"; exit 1; }
done
grep -qx 'Comment=Kestrin，解放你的双手' "$work/root/usr/share/applications/kestrin.desktop"
grep -qx 'Categories=Utility;' "$work/root/usr/share/applications/kestrin.desktop"

exec 3<> "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    display=$(head -n 1 "$work/displayfd" 2>/dev/null || true)
    [ -n "$display" ] && break
    sleep 0.1
done
[ -n "${display:-}" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$display"

"$work/root/usr/bin/kestrin" > "$work/app.log" 2>&1 &
app_pid=$!
for _ in $(seq 150); do
    if xwininfo -root -tree 2>/dev/null | grep -q '"Kestrin"'; then
        echo "the installed program opened its window"
        exit 0
    fi
    kill -0 "$app_pid" 2>/dev/null || { echo "the program exited"; cat "$work/app.log"; exit 1; }
    sleep 0.1
done
echo "no window titled Kestrin within 15 s"
cat "$work/app.log"
exit 1
