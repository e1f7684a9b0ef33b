#!/usr/bin/env bash
# Opening a review file side by side with numpy.fromfile of the same file: a 24-hour recording
# (17.28 M samples, a "TM" marker every second) and a 30-day one (518 M samples, 1.04 GB). Each
# run is a fresh process, as a window opening a file is: ours loads, builds the pyramid and the
# columns of the first full view (review_first_view_bench); numpy reads the file into an array.
# The two alternate, and the medians and their ratio are printed. The files are written into a
# temporary folder and removed at the end.
# Usage: bench/review_load_compare.sh [build folder] [repetitions] [days...]   (default 24 h, 30 d)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
reps=${2:-9}
shift $(($# < 2 ? $# : 2))
lengths=("$@")
[[ ${#lengths[@]} -gt 0 ]] || lengths=(1 30)
cmake --build "$build" --target review_first_view_bench >/dev/null
work=$(mktemp -d "${TMPDIR:-/tmp}/somatrix-load-compare.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Debian's numpy belongs to the system interpreter, which a user's PATH may hide.
py=python3
if [[ -x /usr/bin/python3 ]] && /usr/bin/python3 -c 'import numpy' 2>/dev/null; then
    py=/usr/bin/python3
fi
# Wall and processor time of one numpy.fromfile, in milliseconds.
numpy_ms() {
    "$py" -c 'import sys, time, numpy as np
c, t = time.process_time(), time.perf_counter(); a = np.fromfile(sys.argv[1], dtype="<u2")
print(f"{(time.perf_counter() - t) * 1000:.2f} {(time.process_time() - c) * 1000:.2f}")' "$1"
}
median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

for days in "${lengths[@]}"; do
    file="$work/recording.dat"
    "$build/bench/review_first_view_bench" --write "$file" --days "$days"
    "$build/bench/review_first_view_bench" --file "$file" >/dev/null  # warm the page cache
    numpy_ms "$file" >/dev/null
    for name in ours load cpu numpy numpycpu; do : >"$work/$name"; done
    for ((r = 0; r < reps; ++r)); do
        if ((r % 2 == 0)); then
            read -r _ load _ view _ cpu _ <<<"$("$build/bench/review_first_view_bench" --file "$file")"
            read -r nwall ncpu <<<"$(numpy_ms "$file")"
        else
            read -r nwall ncpu <<<"$(numpy_ms "$file")"
            read -r _ load _ view _ cpu _ <<<"$("$build/bench/review_first_view_bench" --file "$file")"
        fi
        echo "$load" >>"$work/load"
        echo "$view" >>"$work/ours"
        echo "$cpu" >>"$work/cpu"
        echo "$nwall" >>"$work/numpy"
        echo "$ncpu" >>"$work/numpycpu"
    done
    o=$(median <"$work/ours"); l=$(median <"$work/load"); n=$(median <"$work/numpy")
    c=$(median <"$work/cpu"); nc=$(median <"$work/numpycpu")
    ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
    echo "$days day(s), $(stat -c %s "$file") bytes, $reps fresh processes each," \
        "load average $(cut -d' ' -f1 /proc/loadavg):"
    echo "  wall: load ${l} ms, first full view (load + pyramid + columns) ${o} ms," \
        "numpy.fromfile ${n} ms; first view / numpy = $(ratio "$o" "$n")"
    echo "  processor: first view ${c} ms (both threads), numpy.fromfile ${nc} ms;" \
        "ratio $(ratio "$c" "$nc")"
    rm -f "$file"
done
