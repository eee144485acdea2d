#!/usr/bin/env bash
# Runs a libFuzzer target for a few seconds from a seed corpus of its own, in a scratch
# directory, so the run leaves no files behind in the tree.
#   run-fuzz.sh FUZZER SECONDS
set -euo pipefail
fuzzer=$1
seconds=${2:-30}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
i=0
for seed in "" "+" "10" "+0010" "1000" "1001" "999999999999" " 10" "1.5" "-3"; do
    printf '%s' "$seed" | iconv -f UTF-8 -t UTF-16LE > "$work/corpus/seed$i"
    i=$((i + 1))
done
cd "$work"
"$fuzzer" -max_total_time="$seconds" -max_len=64 -print_final_stats=1 corpus
