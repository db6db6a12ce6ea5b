# kolvedir.dask: the other columns and the index of the input kept beside the
# results; on a LocalCluster of two worker processes, 2,000,000 generated
# points in 8 partitions give the numbers of the single-process transformer,
# and every worker builds its transformer (and reads the grid) once.
import dask.dataframe as dd
import numpy as np
import pandas as pd
import pytest
from distributed import Client, LocalCluster

import kolvedir
import kolvedir.dask

PARTITIONS = 8
POINTS_PER_PARTITION = 250_000
DESCRIPTION = dict(source="xy2000", source_zone=18, source_frame="PL-ETRF2000",
                   target="BLH_KRA", target_frame="PULKOWO", method="empirical")


def generated_partition(seed):
    """PL-2000 zone 18 points, some beyond the grid; the same for a seed wherever made."""
    rng = np.random.default_rng(seed)
    return pd.DataFrame({"north": rng.uniform(5350000, 6150000, POINTS_PER_PARTITION),
                         "east": rng.uniform(6350000, 6650000, POINTS_PER_PARTITION)})


@pytest.mark.parametrize("target", [dict(target="BLH_KRA", target_frame="PULKOWO"),
                                    dict(target="xy92", target_frame="PL-ETRF2000")],
                         ids=["geodetic", "plane"])
def test_other_columns_and_the_index_stay_beside_the_results(monkeypatch, target):
    description = dict(DESCRIPTION, **target)
    points = pd.DataFrame({"id": ["P1", "P2", "P3"], "north": [5547000.0, 6030000.0, 0.0],
                           "code": [7, 8, 9], "east": [6566000.0, 6472000.0, 0.0]},
                          index=pd.Index([30, 10, 20], name="row"))
    frame = dd.from_pandas(points, npartitions=2, sort=False)
    monkeypatch.setattr(kolvedir, "_model_grid_told", False)
    with pytest.warns(kolvedir.ModelGridWarning) as told:  # on the client, at once
        lazy = kolvedir.dask.transform(frame, "north", "east", **description)
    assert len(told) == 1
    result = lazy.compute()
    transformer = kolvedir.Transformer(**description)
    names = list(kolvedir.dask.output_columns(transformer))
    expected = transformer.transform(points["north"], points["east"])

    assert list(result.columns) == ["id", "code"] + names
    assert result.index.equals(points.index)
    assert (lazy.index.dtype, lazy.index.name) == (result.index.dtype, "row")
    assert result[["id", "code"]].equals(points[["id", "code"]])
    assert dict(lazy.dtypes) == dict(result.dtypes)
    assert result["status"].dtype == np.int32 and result[names[0]].dtype == np.float64
    for name, values in zip(names, expected):
        np.testing.assert_array_equal(result[name].to_numpy(), values)
    assert result["status"].tolist()[2] != 0


@pytest.mark.parametrize("names, refusal", [
    (("x", "y", "h"), "4 result names needed"),
    (("id", "b", "c", "status"), "already has the columns"),
])
def test_result_names_that_lose_data_are_refused(names, refusal):
    frame = dd.from_pandas(pd.DataFrame({"id": ["P1"], "north": [5547000.0],
                                         "east": [6566000.0]}), npartitions=1)
    with pytest.raises(ValueError, match=refusal):
        kolvedir.dask.transform(frame, "north", "east", names=names, **DESCRIPTION)


@pytest.mark.cluster
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
