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
grid=None each worker reads the PL_grid_001.bin of its own program folder.
"""
import functools

import numpy as np
import pandas as pd

from . import Transformer

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
    return Transformer(**dict(description))


def _transform_partition(part, columns, names, description, threads):
    transformer = _worker_transformer(description)
    arrays = [part[c].to_numpy(dtype=np.float64) for c in columns]
    if len(arrays) == 2:
        arrays.append(None)
    results = transformer.transform(*arrays, threads=threads)
    return pd.DataFrame(dict(zip(names, results)), index=part.index)


def transform(frame, x, y, z=None, *, names=None, threads=1, **description):
    """Transforms the columns x, y (and z) of the Dask DataFrame `frame`.

    description: the keywords of kolvedir.Transformer (source, source_zone,
        source_frame, target, target_zone, target_frame, method, grid).
    names: the result columns; default ("a", "b", "c", "status"), for plane
        output ("x", "y", "h", "status", "distortion", "convergence").
    threads: threads of one partition's transform (Dask already runs
        partitions side by side).
    Returns a Dask DataFrame with the partitions and index of `frame`. The
    description is checked here first: a refused one raises kolvedir.Error.
    """
    names = tuple(names or output_columns(Transformer(**description)))
    columns = (x, y) if z is None else (x, y, z)
    meta = pd.DataFrame({n: pd.Series(dtype=np.int32 if n == "status" else np.float64)
                         for n in names})
    frozen = tuple(sorted(description.items()))
    return frame.map_partitions(_transform_partition, columns, names, frozen, threads,
                                meta=meta)
