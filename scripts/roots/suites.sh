#!/usr/bin/env bash
# Builds Kestrin for a Debian release (build/RELEASE) and runs its suites there, passing any
# arguments to CTest (e.g. `-L labwc` for one desktop's suite):
#   suites.sh RELEASE [CTEST ARG...]     RELEASE is debian13 or sid (unstable)
#   suites.sh RELEASE prepare            only makes sure its root is there (where one is needed)
#   suites.sh RELEASE build              only the build
#   suites.sh RELEASE package            the build's Debian package, for that release
#   suites.sh RELEASE bench              the benchmark's rows for the desktops of that release
# On a host of that release they run natively; elsewhere, such as on our Debian 12 machines,
# inside the release's root (root.sh), made first when it is not cached. The release is read
# from /etc/debian_version: Debian 13 has a number 13.x, unstable the codename "…/sid" (which
# testing shares).
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
checkout="$(cd "$here/../.." && pwd)"
release="${1:-}"
case "$release" in
    debian13) pattern='^13[.]' ;;
    sid) pattern='/sid$' ;;
    *) echo "usage: $0 debian13|sid [prepare|build|package|bench|CTEST ARG...]" >&2; exit 2 ;;
esac
shift

native() { grep -q "$pattern" /etc/debian_version 2>/dev/null; }

# A host of that release builds and runs these suites as its own (`make test`'s first half).
if native && [[ "${1:-}" != @(bench|package) ]]; then
    [ "${1:-}" = prepare ] || echo "kestrin: this machine runs $release: its suites are this machine's"
    exit 0
fi
if [ "${1:-}" = prepare ]; then
    native || "$here/root.sh" "$release" path >/dev/null
    exit
fi
target=root-suites
case "${1:-}" in
    build|package) target=root-$1; shift ;;
    bench) target=root-bench; shift ;;
esac
# Quoted for the shell that runs make's recipe: `-L 'labwc|wayfire'` stays one pattern.
ctest_args="$(printf '%q ' "$@")"
if native; then
    "$checkout/scripts/install-deps.sh" "$release"
    exec make -C "$checkout" --no-print-directory $target RELEASE="$release" CTEST_ARGS="$ctest_args"
fi
exec "$here/run.sh" "$release" make --no-print-directory $target RELEASE="$release" \
    CTEST_ARGS="$ctest_args"
