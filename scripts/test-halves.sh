#!/usr/bin/env bash
# make test's three halves: this machine's suites (BUILD/linux), Debian 13's and Debian
# unstable's (scripts/roots/suites.sh). First the builds: this machine's, and beside them the
# roots (made when missing), then the Debian builds in them. Then the three CTest runs side by
# side, as each mostly waits for its desktops. Each writes its log to BUILD/test-logs, printed
# here half after half, each with its own CTest summary, once all have ended. Every half runs
# whatever another did; a failure in any fails the whole.
#   test-halves.sh BUILD
set -uo pipefail
# Every job in a process group of its own, waited for in the background: a terminal's Ctrl+C
# reaches this script alone, which passes it on to each job, whole, and ends.
set -m

here="$(cd "$(dirname "$0")" && pwd)"
build="$1"
logs="$build/test-logs"
mkdir -p "$logs"
halves=(linux debian13 sid)
titles=("this machine's suites" "Debian 13's suites" "Debian unstable's suites")

half() {  # runs one half's suites
    if [ "$1" = linux ]; then
        cd "$build/linux" && ctest --output-on-failure --timeout 300
    else
        "$here/roots/suites.sh" "$1"
    fi
}

jobs_to_stop=()
trap 'for job in "${jobs_to_stop[@]}"; do kill -INT -- -"$job" 2>/dev/null; done; wait; exit 130' INT TERM

status=0
(for release in "${halves[@]:1}"; do
    "$here/roots/suites.sh" "$release" build > "$logs/$release-build.log" 2>&1 ||
        echo "kestrin: the $release build failed: $logs/$release-build.log"
done) &
debian_builds=$!
jobs_to_stop+=($debian_builds)
make -C "$here/.." --no-print-directory windows sanitize linux &
jobs_to_stop+=($!)
wait $! || status=1
wait $debian_builds

echo "kestrin: the three halves run side by side, their logs in $logs"
pids=()
for name in "${halves[@]}"; do
    half "$name" > "$logs/$name.log" 2>&1 &
    pids+=($!)
    jobs_to_stop+=($!)
done
for i in "${!halves[@]}"; do
    wait "${pids[$i]}" || status=1
done
for i in "${!halves[@]}"; do
    echo "== ${titles[$i]}"
    cat "$logs/${halves[$i]}.log"
done
exit $status
