#!/usr/bin/env python3
"""1,000,000 PL-2000 zone 18 points to PL-1992: kolvedir against pyproj, side by side.

Run with Debian's interpreter and the program folder on the path:
    PYTHONPATH=build/Kolvedir/bin/python /usr/bin/python3 bench/python_transform.py
"""
import os
import time
from concurrent.futures import ThreadPoolExecutor

import numpy as np
import pyproj

import kolvedir

POINTS = 1_000_000
REPEATS = 3


def best_time(function):
    times = []
    for _ in range(REPEATS):
        start = time.perf_counter()
        result = function()
        times.append(time.perf_counter() - start)
    return min(times), result


def pyproj_threaded(x, y, threads):
    parts = np.array_split(np.arange(len(x)), threads)

    def part(indices):  # one pyproj transformer per thread
        t = pyproj.Transformer.from_crs(2177, 2180)
        return t.transform(x[indices], y[indices])

    with ThreadPoolExecutor(threads) as pool:
        results = list(pool.map(part, parts))
    return np.concatenate([r[0] for r in results]), np.concatenate([r[1] for r in results])


def main():
    rng = np.random.default_rng(1)
    x = rng.uniform(5450000, 6070000, POINTS)  # northing
    y = rng.uniform(6400000, 6600000, POINTS)  # easting, zone 18
    threads = os.cpu_count() or 1
    ours = kolvedir.Transformer(source="xy2000", source_zone=18, source_frame="PL-ETRF2000",
                                target="xy92", target_frame="PL-ETRF2000", method="theoretical")
    theirs = pyproj.Transformer.from_crs(2177, 2180)  # EPSG axis order: northing, easting

    ours_one, (ox, oy, *_) = best_time(lambda: ours.transform(x, y, threads=1))
    ours_many, _ = best_time(lambda: ours.transform(x, y, threads=threads))
    theirs_one, (px, py) = best_time(lambda: theirs.transform(x, y))
    theirs_many, _ = best_time(lambda: pyproj_threaded(x, y, threads))

    print(f"{POINTS:,} points xy2000 zone 18 -> xy92, best of {REPEATS}, {threads} threads")
    print(f"{'':24}{'kolvedir':>12}{'pyproj':>12}{'ratio':>8}")
    for label, a, b in (("single thread, s", ours_one, theirs_one),
                        (f"{threads} threads, s", ours_many, theirs_many)):
        print(f"{label:24}{a:12.3f}{b:12.3f}{b / a:8.2f}")
    print(f"largest difference from pyproj: {max(np.abs(ox - px).max(), np.abs(oy - py).max()) * 1000:.3f} mm")


if __name__ == "__main__":
    main()
