#!/usr/bin/env bash
# Loads the 24-hour review file (17.28 M samples, a "TM" marker every second) with the review
# loader and with numpy.fromfile, alternately in one process, and prints both times and their
# ratio. The file is generated once by the load benchmark program.
# Usage: bench/review_load_compare.sh [build folder] [repetitions]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
reps=${2:-21}
cmake --build "$build" --target review_load_bench review_load_shim >/dev/null
file=${TMPDIR:-/tmp}/somatrix_review_24h.dat
[[ -e "$file" ]] || "$build/bench/review_load_bench" --file "$file" --benchmark_filter=none >/dev/null

# Debian's numpy belongs to the system interpreter, which a user's PATH may hide.
py=python3
if [[ -x /usr/bin/python3 ]] && /usr/bin/python3 -c 'import numpy' 2>/dev/null; then
    py=/usr/bin/python3
fi
"$py" - "$file" "$build/bench/libreview_load_shim.so" "$reps" <<'PY'
import ctypes, os, statistics, sys, time
import numpy as np

path, shim, reps = sys.argv[1], sys.argv[2], int(sys.argv[3])
lib = ctypes.CDLL(os.path.abspath(shim))
lib.SomatrixTimeLoad.restype = ctypes.c_double
lib.SomatrixTimeLoad.argtypes = [ctypes.c_char_p, ctypes.POINTER(ctypes.c_uint32),
                                 ctypes.POINTER(ctypes.c_uint32)]
samples, segments = ctypes.c_uint32(), ctypes.c_uint32()

def ours():
    cpu = time.process_time()
    ms = lib.SomatrixTimeLoad(path.encode(), ctypes.byref(samples), ctypes.byref(segments))
    if ms < 0:
        sys.exit("the loader did not load " + path)
    return ms, (time.process_time() - cpu) * 1000

def numpy():
    cpu, t = time.process_time(), time.perf_counter()
    a = np.fromfile(path, dtype="<u2")
    result = (time.perf_counter() - t) * 1000, (time.process_time() - cpu) * 1000
    del a
    return result

ours(); numpy()  # warm the page cache for both
runs = {ours: [], numpy: []}
for r in range(reps):
    # Alternate which goes first, so that neither always follows the other's frees.
    for f in ((ours, numpy) if r % 2 == 0 else (numpy, ours)):
        runs[f].append(f())
print(f"file: {path} ({os.path.getsize(path) / 1e6:.1f} MB, {samples.value} samples, "
      f"{segments.value} segments), {reps} runs each")
med = lambda f, i: statistics.median(x[i] for x in runs[f])
best = lambda f, i: min(x[i] for x in runs[f])
for f, name in ((ours, "LoadWaveFile  "), (numpy, "numpy.fromfile")):
    print(f"{name}  wall median {med(f, 0):6.1f} ms, best {best(f, 0):6.1f} ms;"
          f"  CPU median {med(f, 1):6.1f} ms, best {best(f, 1):6.1f} ms")
print(f"numpy time / loader time (1 or more: the loader is no slower): "
      f"wall median {med(numpy, 0) / med(ours, 0):.2f}, best {best(numpy, 0) / best(ours, 0):.2f}; "
      f"CPU median {med(numpy, 1) / med(ours, 1):.2f}, best {best(numpy, 1) / best(ours, 1):.2f}")
PY
