#!/usr/bin/env bash
# Every install list of scripts/install-deps.sh resolves on this machine's Debian release: apt's
# simulation finds each name and a way to install all of them together, with what they depend
# on (so each list alone resolves too). Nothing is installed, nothing changes.
#   install_names_resolve.sh path/to/install-deps.sh
set -uo pipefail

deps="$1"
mapfile -t names < <(for target in run linux windows sanitize test bench package screenshots; do
                         "$deps" --list "$target" || echo "(no $target list)"; done | sort -u)
if ! said="$(apt-get install --simulate --no-install-recommends -qq "${names[@]}" 2>&1)"; then
    echo "the install lists do not resolve on Debian $(cat /etc/debian_version):"
    grep -e '^E:' -e 'Depends:' <<<"$said"
    exit 1
fi
