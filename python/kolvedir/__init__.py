"""Coordinate transformations between Poland's geodetic systems.

The numbers are those a Kolvedir job writes. Units: B, L in decimal degrees;
x (northing), y (easting), X, Y, Z and heights in metres; scale distortion in
cm/km; meridian convergence in grads.

    t = kolvedir.Transformer(source="xy2000", source_zone=18, source_frame="PL-ETRF2000",
                             target="BLH_KRA", target_frame="PULKOWO")
    B, L, h, status = t.transform(x, y)

A point the job would write as an error record has a non-zero status
(kolvedir.PointResult) and NaN outputs. A description kolvedir-batch refuses
raises kolvedir.Error with the runner's message. The first transformer built
on the model grid warns once per process with kolvedir.ModelGridWarning.
"""
import collections
import enum
import os
import warnings

from . import _kolvedir
from ._kolvedir import MODEL_GRID_NOTICE, Error, PointResult, __version__

__all__ = ["CoordinateKind", "Error", "MODEL_GRID_NOTICE", "ModelGridWarning", "PointResult", "System", "Transformer",
           "batch_program", "default_grid", "systems", "__version__"]

# Taken at import, before anything may change the current folder.
_PACKAGE_FOLDER = os.path.dirname(os.path.abspath(__file__))


def default_grid():
    """The grid file that grid=None reads.

    In a portable program folder (the package in its bin/python) the folder's
    bin/PL_grid_001.bin. Installed (the package in <prefix>/lib/python3/
    dist-packages): the user's $XDG_DATA_HOME/kolvedir/PL_grid_001.bin (by
    default under ~/.local/share) when it exists, else <prefix>/share/
    kolvedir/PL_grid_001.bin.
    """
    return _kolvedir.default_grid(_PACKAGE_FOLDER)


def batch_program():
    """The runner kolvedir-batch of the same program folder or installed tree."""
    return _kolvedir.batch_program(_PACKAGE_FOLDER)


class CoordinateKind(enum.IntEnum):
    """What the coordinates a, b, c of one side of a Transformer are."""
    GEODETIC = 1   # B, L (degrees), h (m)
    PLANE = 2      # x northing, y easting (m); h (m)
    CARTESIAN = 3  # X, Y, Z (m)


System = collections.namedtuple(
    "System", "system zone frame epsg dimensions epsg_name axes difference_mm note wkt")
System.__doc__ = """One row of `kolvedir-batch --list-systems`.

system, zone, frame: the standard file name, zone (0: none) and frame
    ("PL-ETRF2000", "PL-ETRF89", "PULKOWO"; "" for the height datums).
epsg: the EPSG code of the same system, 0 for none; dimensions: its number
    of coordinates; epsg_name: its name (or the name of the WKT written instead).
axes: the EPSG system's axis order, e.g. "N, E" (northing first) or "B, L, h".
difference_mm: the largest difference from PROJ's definition, in millimetres.
note: what differs, in Polish. wkt: the system as WKT2 ("" for none).
"""


def systems():
    """Every row of the table of systems, each system's EPSG row first."""
    return [System(*row) for row in _kolvedir.crs_rows()]


class ModelGridWarning(UserWarning):
    """The grid is the model grid: its numbers are not those of the official grid."""


_model_grid_told = False


def _tell_model_grid(transformer):
    """Warns of the model grid once per process, as kolvedir-batch tells it once per run."""
    global _model_grid_told
    if transformer.model_grid and not _model_grid_told:
        _model_grid_told = True
        warnings.warn(_kolvedir.MODEL_GRID_NOTICE, ModelGridWarning, stacklevel=3)


def _model_grid_told_elsewhere():
    """No warning in this process: another (a Dask client) has given it."""
    global _model_grid_told
    _model_grid_told = True


def _as_typed(value):
    """A name or zone as kolvedir-batch would read it from its command line."""
    return "" if value is None else str(value)


class Transformer(_kolvedir.Transformer):
    """One transformation, refused where kolvedir-batch refuses it.

    source, target: standard file names ("xy2000", "xy92", "UTM", "BLH_GRS",
        "XYZ_GRS", "xy65", "xy42_3", "xy42_6", "xy42_83_3", "xy42_83_6",
        "xyTARVO80", "BLH_KRA", "XYZ_KRA"; TRANS-H "BLH_K86", "BLH_K2006",
        "BLH_EVRF"; quasigeoid "BL", "BLH_e", "BLH_n" with target omitted),
        or EPSG and common names as from_crs takes them.
    source_zone, target_zone: central meridian (15, 18, 21, 24) or "1965"
        zone (1-5), as a number or as its text ("18"); None for systems
        without zones.
    source_frame, target_frame: "PL-ETRF2000", "PL-ETRF89" or "PULKOWO"
        (implied for the Pulkovo'42 systems).
    method: "empirical" (grid corrections; also for None) or "theoretical".
    grid: the PL_grid_001.bin file; None for default_grid().

    A refused description raises kolvedir.Error with the message of
    kolvedir-batch, which names its options (--from-zone for source_zone).
    model_grid tells whether the grid is the model grid; source_kind and
    target_kind (CoordinateKind) what the coordinates of either side are;
    point_message(status, input_easting) what a job says of a failed point.
    """

    def __init__(self, source, source_zone=None, source_frame=None, target=None,
                 target_zone=None, target_frame=None, method="empirical", grid=None):
        self.description = dict(source=source, source_zone=source_zone,
                                source_frame=source_frame, target=target,
                                target_zone=target_zone, target_frame=target_frame,
                                method=method, grid=grid)
        super().__init__(source=_as_typed(source), source_zone=_as_typed(source_zone),
                         source_frame=_as_typed(source_frame), target=_as_typed(target),
                         target_zone=_as_typed(target_zone),
                         target_frame=_as_typed(target_frame),
                         method="empirical" if method is None else _as_typed(method),
                         grid=os.fspath(grid) if grid is not None else default_grid())
        _tell_model_grid(self)

    @classmethod
    def from_crs(cls, source, target, method="empirical", grid=None):
        """A transformer between systems named as GIS tools name them.

        source, target: an EPSG code ("EPSG:2177" or 2177) or a common name
            ("PL-2000/18", "CS92", "1965 strefa III") of a system of
            `kolvedir-batch --list-systems`; an EPSG code also gives the
            frame, a common name of a PL-ETRF system does not (give the
            standard names with frames instead). The computation stays the
            program's own, whatever the name.
        """
        def name(crs):
            return "EPSG:%d" % crs if isinstance(crs, int) else str(crs)
        return cls(source=name(source), target=name(target), method=method, grid=grid)

    def transform(self, x, y, z=None, threads=None):
        """Transforms arrays of one shape; float64 results of that shape.

        x, y, z: the input coordinates a, b, c (B, L in degrees and h; x, y;
            or X, Y, Z). z is needed for Cartesian input and the height jobs,
            optional (h = 0) for geodetic input, ignored for plane input.
        threads: number of threads, 0 to 9999 (None or 0: one per core).
        Returns (a, b, c, status), and for plane output (x, y, h, status,
        distortion, convergence); h of a plane output is the ellipsoidal height
        in the output frame.
        """
        return super().transform(x, y, z, threads)

    @property
    def source_kind(self):
        return CoordinateKind(super().source_kind)

    @property
    def target_kind(self):
        return CoordinateKind(super().target_kind)
