"""The vertices of many features at once: their coordinates are read from the
geometries' WKB into NumPy arrays, transformed together, and written back in
place, so that Python touches each ring, never each vertex.

QGIS writes ISO WKB: a byte-order byte, a type code (+1000 Z, +2000 M,
+3000 ZM), then the geometry's body; only x, y and z are changed, M stays.
"""
import struct

import numpy as np
from qgis.core import QgsGeometry

_POINT = 1
_POINT_ARRAYS = {2, 8}             # LineString, CircularString
_RING_ARRAYS = {3, 17}             # Polygon, Triangle
_COLLECTIONS = {4, 5, 6, 7, 9, 10, 11, 12, 15, 16}


class UnsupportedGeometry(ValueError):
    """A WKB this module cannot walk (big-endian or an unknown type)."""


def _blocks(wkb, position, found):
    """Appends (offset, count, dimensions, has_z) of every coordinate array of
    the geometry at `position`; returns the position after it."""
    if wkb[position] != 1:
        raise UnsupportedGeometry("WKB big-endian")
    (code,) = struct.unpack_from("<I", wkb, position + 1)
    position += 5
    kind, flavour = code % 1000, code // 1000
    has_z, has_m = flavour in (1, 3), flavour in (2, 3)
    dimensions = 2 + has_z + has_m
    if kind == _POINT:
        found.append((position, 1, dimensions, has_z))
        return position + 8 * dimensions
    (count,) = struct.unpack_from("<I", wkb, position)
    position += 4
    if kind in _POINT_ARRAYS:
        found.append((position, count, dimensions, has_z))
        return position + 8 * dimensions * count
    if kind in _RING_ARRAYS:
        for _ in range(count):
            (points,) = struct.unpack_from("<I", wkb, position)
            found.append((position + 4, points, dimensions, has_z))
            position += 4 + 8 * dimensions * points
        return position
    if kind in _COLLECTIONS:
        for _ in range(count):
            position = _blocks(wkb, position, found)
        return position
    raise UnsupportedGeometry("WKB type %d" % code)


def engine_geometry(feature, add_z):
    """The feature's geometry as the engine reads it (None for none or an
    empty one); add_z gives a geometry without Z a Z of 0."""
    if not feature.hasGeometry() or feature.geometry().isEmpty():
        return None
    geometry = feature.geometry()
    if add_z and not geometry.constGet().is3D():
        with_z = geometry.constGet().clone()
        with_z.addZValue(0.0)
        geometry = QgsGeometry(with_z)
    return geometry


class VertexBatch:
    """The vertices of a list of geometries as arrays x, y, z (z NaN where a
    geometry has no Z), with each vertex's geometry in `owner`."""

    def __init__(self, geometries):
        self._wkbs = [bytearray(g.asWkb()) if g is not None else None for g in geometries]
        self._blocks = []
        arrays, owners = [], []
        for index, wkb in enumerate(self._wkbs):
            found = []
            if wkb is not None:
                _blocks(wkb, 0, found)
            self._blocks.append(found)
            for offset, count, dimensions, has_z in found:
                coordinates = np.frombuffer(wkb, "<f8", count * dimensions, offset)
                block = coordinates.reshape(count, dimensions)
                arrays.append(block[:, :3] if has_z else
                              np.column_stack((block[:, :2], np.full(count, np.nan))))
                owners.append(np.full(count, index, dtype=np.int64))
        stacked = np.concatenate(arrays) if arrays else np.empty((0, 3))
        self.x, self.y, self.z = (np.ascontiguousarray(stacked[:, k]) for k in range(3))
        self.owner = np.concatenate(owners) if owners else np.empty(0, dtype=np.int64)

    def geometries(self, x, y, z):
        """The geometries with their vertices replaced by x, y and (where a
        geometry has Z) z, in the order of the vertices."""
        result, start = [], 0
        for wkb, found in zip(self._wkbs, self._blocks):
            if wkb is None:
                result.append(None)
                continue
            for offset, count, dimensions, has_z in found:
                block = np.frombuffer(wkb, "<f8", count * dimensions, offset).reshape(
                    count, dimensions)
                block[:, 0] = x[start:start + count]
                block[:, 1] = y[start:start + count]
                if has_z:
                    block[:, 2] = z[start:start + count]
                start += count
            geometry = QgsGeometry()
            geometry.fromWkb(bytes(wkb))
            result.append(geometry)
        return result
