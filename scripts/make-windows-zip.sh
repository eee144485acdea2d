#!/usr/bin/env bash
# The Windows release: kestrin.exe and a short Chinese-and-English read-me in one zip.
#   make-windows-zip.sh WINDOWS_BUILD_DIR [OUTPUT_DIR]
# The zip goes into OUTPUT_DIR, by default the build directory; its path is printed.
set -euo pipefail
build=$1
out=$(cd "${2:-$build}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^#define KESTRIN_VERSION_TEXT "\(.*\)"/\1/p' "$root/res/version.h")
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/kestrin-$version"
cp "$build/kestrin.exe" "$stage/kestrin-$version/"
# Windows editors read a UTF-8 text best with CRLF line ends.
sed 's/$/\r/' "$root/packaging/windows-readme.txt" > "$stage/kestrin-$version/README.txt"
zip="$out/kestrin-$version-windows.zip"
rm -f "$zip"
(cd "$stage" && zip -qX -r "$zip" "kestrin-$version")
echo "$zip"
