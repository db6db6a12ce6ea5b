"""Kolvedir over the partitions of a Dask DataFrame.

    import dask.dataframe as dd
    import kolvedir.dask
    points = dd.read_parquet("points/")           # columns x, y
    result = kolvedir.dask.transform(points, "x", "y", source="xy2000", source_zone=18,
                                     source_frame="PL-ETRF2000", target="xy92",
                                     target_frame="PL-ETRF2000")
    result.to_parquet("points-xy92/")

Works with the default scheduler and with a distributed.Client of any size.
Every worker process builds the transformer once and reads its grid once; with
grid=None each worker reads its own kolvedir.default_grid().
"""
import functools

import numpy as np
import pandas as pd

from . import Transformer, _model_grid_told_elsewhere

__all__ = ["transform", "output_columns"]

_KIND_COLUMNS = {
    True: ("x", "y", "h", "status", "distortion", "convergence"),  # plane output
    False: ("a", "b", "c", "status"),
}


def output_columns(transformer):
    """Default names of the result columns of `transformer`."""
    return _KIND_COLUMNS[transformer.target_is_plane]


@functools.lru_cache(maxsize=None)
def _worker_transformer(description):
    # One per worker process and description; the grid is read by the first.
    # The client has already warned of a model grid.
    _model_grid_told_elsewhere()
    return Transformer(**dict(description))


def _transform_partition(part, columns, names, description, threads):
    transformer = _worker_transformer(description)
    arrays = [part[c].to_numpy(dtype=np.float64) for c in columns]
    if len(arrays) == 2:
        arrays.append(None)
    results = transformer.transform(*arrays, threads=threads)
    return _with_results(part, columns, names, results)


def _with_results(part, columns, names, results):
    """The columns of `part` but the coordinates, then the results under `names`."""
    kept = part.drop(columns=list(columns))
    return pd.concat([kept, pd.DataFrame(dict(zip(names, results)), index=part.index)], axis=1)


def transform(frame, x, y, z=None, *, names=None, threads=1, **description):
    """Transforms the columns x, y (and z) of the Dask DataFrame `frame`.

    description: the keywords of kolvedir.Transformer (source, source_zone,
        source_frame, target, target_zone, target_frame, method, grid).
    names: the result columns; default ("a", "b", "c", "status"), for plane
        output ("x", "y", "h", "status", "distortion", "convergence").
    threads: threads of one partition's transform (Dask already runs
        partitions side by side).
    Returns a Dask DataFrame with the partitions and index of `frame`: its
    other columns (point names, attributes) as they were, then the results.
    The description is checked here first: a refused one raises
    kolvedir.Error, and a model grid warns here, once per process.
    """
    transformer = Transformer(**description)
    default_names = output_columns(transformer)
    names = tuple(names or default_names)
    if len(names) != len(default_names):
        raise ValueError(f"kolvedir.dask.transform: {len(default_names)} result names needed "
                         f"({', '.join(default_names)}), {len(names)} given")
    columns = (x, y) if z is None else (x, y, z)
    meta_results = [np.empty(0, dtype=np.int32 if n == "status" else np.float64) for n in names]
    meta = _with_results(frame._meta, columns, names, meta_results)
    if meta.columns.duplicated().any():
        taken = sorted(set(meta.columns[meta.columns.duplicated()]))
        raise ValueError(f"kolvedir.dask.transform: the input already has the columns {taken}; "
                         "choose other result names with names=")
    frozen = tuple(sorted(description.items()))
    return frame.map_partitions(_transform_partition, columns, names, frozen, threads,
                                meta=meta)
