"""Plots a review recording with matplotlib (Agg) at a given pixel size and prints the seconds
taken (wall and processor time), for the side-by-side comparison of review_render_bench.

    review_render_matplotlib.py SAMPLES.u16 WIDTH HEIGHT [REPEATS]

SAMPLES.u16 holds the samples as little-endian 16-bit values (read with numpy.fromfile)."""
import sys
import time

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402


def main():
    path, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    repeats = int(sys.argv[4]) if len(sys.argv) > 4 else 1
    samples = np.fromfile(path, dtype="<u2")
    best = None
    best_cpu = None
    for _ in range(repeats):
        start = time.perf_counter()
        start_cpu = time.process_time()
        fig = plt.figure(figsize=(width / 100, height / 100), dpi=100)
        ax = fig.add_axes([0, 0, 1, 1])
        ax.set_axis_off()
        ax.set_xlim(0, len(samples))
        ax.plot(samples, linewidth=1)
        fig.canvas.draw()
        elapsed = time.perf_counter() - start
        elapsed_cpu = time.process_time() - start_cpu
        plt.close(fig)
        best = elapsed if best is None else min(best, elapsed)
        best_cpu = elapsed_cpu if best_cpu is None else min(best_cpu, elapsed_cpu)
    print(f"{best:.6f} {best_cpu:.6f}")


if __name__ == "__main__":
    main()
