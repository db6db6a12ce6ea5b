#!/usr/bin/env python3
"""kolvedir.dask on a LocalCluster of 1 and of 2 worker processes, side by side.

    PYTHONPATH=build/Kolvedir/bin/python /usr/bin/python3 bench/dask_transform.py [POINTS] [PARTITIONS]

The points (PL-2000 zone 18 to BLH_KRA in Pulkovo'42, empirical method) are
generated on the workers, partition by partition; the time is that of the
whole computation, the grid read by each worker included.
"""
import sys
import time

import dask.dataframe as dd
import numpy as np
import pandas as pd
from distributed import Client, LocalCluster

import kolvedir.dask

DESCRIPTION = dict(source="xy2000", source_zone=18, source_frame="PL-ETRF2000",
                   target="BLH_KRA", target_frame="PULKOWO", method="empirical")


def make_partition(seed, size):
    rng = np.random.default_rng(seed)
    return pd.DataFrame({"x": rng.uniform(5450000, 6070000, size),
                         "y": rng.uniform(6400000, 6600000, size)})


def timed_run(workers, points, partitions):
    size = points // partitions
    with LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                      dashboard_address=None) as cluster, Client(cluster):
        frame = dd.from_map(make_partition, range(partitions), args=(size,))
        start = time.perf_counter()
        good = (kolvedir.dask.transform(frame, "x", "y", **DESCRIPTION)["status"] == 0).sum().compute()
        return time.perf_counter() - start, good


def main():
    points = int(sys.argv[1]) if len(sys.argv) > 1 else 4_000_000
    partitions = int(sys.argv[2]) if len(sys.argv) > 2 else 16
    print(f"{points:,} points in {partitions} partitions, xy2000 zone 18 -> BLH_KRA (empirical)")
    for workers in (1, 2):
        seconds, good = timed_run(workers, points, partitions)
        print(f"{workers} worker(s): {seconds:7.2f} s  {points / seconds / 1e6:6.2f} M points/s  ({good:,} good)")


if __name__ == "__main__":
    main()
