"""Coordinate transformations between Poland's geodetic systems.

The numbers are those a Kolvedir job writes. Units: B, L in decimal degrees;
x (northing), y (easting), X, Y, Z and heights in metres; scale distortion in
cm/km; meridian convergence in grads.

    t = kolvedir.Transformer(source="xy2000", source_zone=18, source_frame="PL-ETRF2000",
                             target="BLH_KRA", target_frame="PULKOWO")
    B, L, h, status = t.transform(x, y)

A point the job would write as an error record has a non-zero status
(kolvedir.PointResult) and NaN outputs.
"""
import os

from . import _kolvedir
from ._kolvedir import Error, PointResult

__all__ = ["Error", "PointResult", "Transformer", "DEFAULT_GRID"]

# The program folder's grid: the package lies in the program folder's python/.
DEFAULT_GRID = os.path.join(
    os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
    "PL_grid_001.bin")


class Transformer(_kolvedir.Transformer):
    """One transformation, validated as a job validates it.

    source, target: standard file names ("xy2000", "xy92", "UTM", "BLH_GRS",
        "XYZ_GRS", "xy65", "xy42_3", "xy42_6", "xy42_83_3", "xy42_83_6",
        "xyTARVO80", "BLH_KRA", "XYZ_KRA"; TRANS-H "BLH_K86", "BLH_K2006",
        "BLH_EVRF"; quasigeoid "BL", "BLH_e", "BLH_n" with target omitted).
    source_zone, target_zone: central meridian (15, 18, 21, 24) or "1965"
        zone (1-5); None for systems without zones.
    source_frame, target_frame: "PL-ETRF2000", "PL-ETRF89" or "PULKOWO"
        (implied for the Pulkovo'42 systems).
    method: "empirical" (grid corrections) or "theoretical".
    grid: the PL_grid_001.bin file; None for the program folder's.

    A refused description raises kolvedir.Error with the engine's message.
    """

    def __init__(self, source, source_zone=None, source_frame=None, target=None,
                 target_zone=None, target_frame=None, method="empirical", grid=None):
        self.description = dict(source=source, source_zone=source_zone,
                                source_frame=source_frame, target=target,
                                target_zone=target_zone, target_frame=target_frame,
                                method=method, grid=grid)
        super().__init__(source=source, source_zone=source_zone or 0,
                         source_frame=source_frame or "", target=target or "",
                         target_zone=target_zone or 0, target_frame=target_frame or "",
                         method=method,
                         grid=os.fspath(grid) if grid is not None else DEFAULT_GRID)

    def transform(self, x, y, z=None, threads=None):
        """Transforms arrays of one shape; float64 results of that shape.

        x, y, z: the input coordinates a, b, c (B, L in degrees and h; x, y;
            or X, Y, Z). z is needed for Cartesian input and the height jobs,
            optional (h = 0) for geodetic input, ignored for plane input.
        threads: number of threads (None: one per core).
        Returns (a, b, c, status), and for plane output (x, y, h, status,
        distortion, convergence); h of a plane output is the ellipsoidal height
        in the output frame.
        """
        return super().transform(x, y, z, threads)
