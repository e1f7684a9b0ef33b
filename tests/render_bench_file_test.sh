#!/usr/bin/env bash
# The render benchmark measures a review file of any length without writing to it or beside it,
# and what it generates itself stays in a temporary folder it removes.
# Usage: render_bench_file_test.sh BENCH SAMPLE_FILE
set -euo pipefail
bench=$1
sample=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/given" "$work/tmp"
cp "$sample" "$work/given/three_minutes.dat"
before=$(sha256sum <"$work/given/three_minutes.dat")
out=$(TMPDIR="$work/tmp" "$bench" --file "$work/given/three_minutes.dat" --no-matplotlib)
status=0
grep -q "36000 samples" <<<"$out" || { echo "the three-minute file was not measured:" >&2; echo "$out" >&2; status=1; }
[[ "$(sha256sum <"$work/given/three_minutes.dat")" == "$before" ]] || { echo "the given file changed" >&2; status=1; }
[[ "$(ls -A "$work/given")" == "three_minutes.dat" ]] || { echo "files appeared beside it: $(ls -A "$work/given")" >&2; status=1; }
TMPDIR="$work/tmp" "$bench" --hours 0.05 --no-matplotlib >/dev/null
[[ -z "$(ls -A "$work/tmp")" ]] || { echo "left in the temporary folder: $(ls -A "$work/tmp")" >&2; status=1; }
exit $status
