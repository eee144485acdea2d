#!/usr/bin/env bash
# Builds Kestrin for Debian 13 (build/debian13) and runs its suites there, passing any
# arguments to CTest (e.g. `-L labwc` for one desktop's suite):
#   suites.sh [CTEST ARG...]
#   suites.sh prepare          only makes sure the root is there (where one is needed)
#   suites.sh bench            the benchmark's rows for the compositors only Debian 13 has
# On a Debian 13 (or later) host they run natively. On an older Debian, such as our
# Debian 12 machines, they run inside the Debian 13 root (root.sh), made first when it is
# not cached. "Debian 13 or later" is read from /etc/debian_version: a release number of 13
# or more, or a codename (testing and unstable have no number).
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
checkout="$(cd "$here/../.." && pwd)"

native() {
    local version
    version="$(cat /etc/debian_version 2>/dev/null || echo 0)"
    case "$version" in
        [0-9]*) [ "${version%%.*}" -ge 13 ] ;;
        *) true ;;
    esac
}

if [ "${1:-}" = prepare ]; then
    native || "$here/root.sh" path >/dev/null
    exit
fi
target=debian13-suites
if [ "${1:-}" = bench ]; then
    target=debian13-bench
    shift
fi
# Quoted for the shell that runs make's recipe: `-L 'labwc|wayfire'` stays one pattern.
ctest_args="$(printf '%q ' "$@")"
if native; then
    "$checkout/scripts/install-deps.sh" debian13
    exec make -C "$checkout" --no-print-directory $target CTEST_ARGS="$ctest_args"
fi
exec "$here/run.sh" make --no-print-directory $target CTEST_ARGS="$ctest_args"
