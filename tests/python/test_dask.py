# kolvedir.dask on a LocalCluster of two worker processes: 2,000,000 generated
# points in 8 partitions give the numbers of the single-process transformer,
# and every worker builds its transformer (and reads the grid) once.
import dask.dataframe as dd
import numpy as np
import pandas as pd
import pytest
from distributed import Client, LocalCluster

import kolvedir
import kolvedir.dask

pytestmark = pytest.mark.cluster

PARTITIONS = 8
POINTS_PER_PARTITION = 250_000
DESCRIPTION = dict(source="xy2000", source_zone=18, source_frame="PL-ETRF2000",
                   target="BLH_KRA", target_frame="PULKOWO", method="empirical")


def generated_partition(seed):
    """PL-2000 zone 18 points, some beyond the grid; the same for a seed wherever made."""
    rng = np.random.default_rng(seed)
    return pd.DataFrame({"north": rng.uniform(5350000, 6150000, POINTS_PER_PARTITION),
                         "east": rng.uniform(6350000, 6650000, POINTS_PER_PARTITION)})


def test_two_workers_compute_what_one_process_does():
    frame = dd.from_map(generated_partition, range(PARTITIONS))
    local = pd.concat([generated_partition(seed) for seed in range(PARTITIONS)])
    transformer = kolvedir.Transformer(**DESCRIPTION)
    expected = transformer.transform(local["north"].to_numpy(), local["east"].to_numpy())

    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                      dashboard_address=None) as cluster, Client(cluster) as client:
        result = kolvedir.dask.transform(frame, "north", "east", **DESCRIPTION).compute()
        builds = client.run(lambda: kolvedir.dask._worker_transformer.cache_info().misses)

    assert len(result) == PARTITIONS * POINTS_PER_PARTITION
    assert list(result.columns) == ["a", "b", "c", "status"]
    for name, values in zip(result.columns, expected):
        np.testing.assert_array_equal(result[name].to_numpy(), values)
    assert 0 < (expected[3] != 0).sum() < len(local)  # good and bad points both
    assert sorted(builds.values()) == [1, 1]
