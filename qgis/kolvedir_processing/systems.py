"""The systems, zones and frames the algorithms offer, and the QGIS coordinate
reference systems of the program's table of systems."""
import functools

import kolvedir
from qgis.core import QgsCoordinateReferenceSystem, QgsProcessingException

# (standard file name, what the user reads) of the TRANS 2D/3D systems.
PLANE_AND_SPATIAL = [
    ("xy2000", "PL-2000 (xy2000)"),
    ("xy92", "PL-1992 (xy92)"),
    ("UTM", "PL-UTM (UTM)"),
    ("BLH_GRS", "B L h, GRS 80 (BLH_GRS)"),
    ("XYZ_GRS", "X Y Z, GRS 80 (XYZ_GRS)"),
    ("xy65", "„1965” (xy65)"),
    ("xy42_3", "„1942”, strefy 3° (xy42_3)"),
    ("xy42_6", "„1942”, strefy 6° (xy42_6)"),
    ("xy42_83_3", "„1942/83”, strefy 3° (xy42_83_3)"),
    ("xy42_83_6", "„1942/83”, strefy 6° (xy42_83_6)"),
    ("xyTARVO80", "TARVO80 (xyTARVO80)"),
    ("BLH_KRA", "B L h, elipsoida Krasowskiego (BLH_KRA)"),
    ("XYZ_KRA", "X Y Z, elipsoida Krasowskiego (XYZ_KRA)"),
]
# The height systems and quasigeoid tasks of a point file.
HEIGHTS = [
    ("BLH_K86", "B L H w PL-KRON86-NH (BLH_K86)"),
    ("BLH_K2006", "B L H w PL-KRON2006-NH (BLH_K2006)"),
    ("BLH_EVRF", "B L H w PL-EVRF2007-NH (BLH_EVRF)"),
    ("BL", "B L: anomalia wysokości PL-geoid-2011 (BL)"),
    ("BLH_e", "B L h elipsoidalna → normalna (BLH_e)"),
    ("BLH_n", "B L H normalna → elipsoidalna (BLH_n)"),
]
# Zone texts as kolvedir-batch takes them ("" none).
ZONES = [("", "brak (układ bez stref albo strefa z kodu EPSG)"),
         ("15", "15°"), ("18", "18°"), ("21", "21°"), ("24", "24°"),
         ("1", "„1965”: strefa 1"), ("2", "„1965”: strefa 2"), ("3", "„1965”: strefa 3"),
         ("4", "„1965”: strefa 4"), ("5", "„1965”: strefa 5 (GUGiK-80)")]
FRAMES = [("", "z układu (Pułkowo’42 dla układów na elipsoidzie Krasowskiego, z kodu EPSG)"),
          ("PL-ETRF2000", "PL-ETRF2000"), ("PL-ETRF89", "PL-ETRF89"), ("PULKOWO", "Pułkowo’42")]
METHODS = [("empirical", "empiryczna (z siatką poprawek)"), ("theoretical", "teoretyczna")]


def labels(choices):
    return [label for _, label in choices]


def value(choices, index):
    return choices[index][0]


@functools.lru_cache(maxsize=None)
def table():
    return tuple(kolvedir.systems())


@functools.lru_cache(maxsize=None)
def _crs_of_wkt(wkt):
    return QgsCoordinateReferenceSystem.fromWkt(wkt)


def name_of_crs(crs):
    """The name the engine takes for a layer's CRS: its EPSG code, or the
    standard name, zone and frame of the table's row whose WKT it is; None for
    a CRS the table does not hold."""
    if not crs.isValid():
        return None
    authid = crs.authid()
    if authid.upper().startswith("EPSG:"):
        return dict(name=authid, zone="", frame="")
    for row in table():
        if row.wkt and _crs_of_wkt(row.wkt) == crs:
            return dict(name=row.system, zone=str(row.zone or ""), frame=row.frame)
    return None


def layer_system(crs, what):
    """name_of_crs(crs) of a layer; a CRS outside the table fails the
    algorithm with a message that ends with `what` the user is to do."""
    named = name_of_crs(crs)
    if named is None:
        raise QgsProcessingException(
            "Układ warstwy „%s” nie jest układem z tabeli programu (kolvedir-batch "
            "--list-systems): %s" % (crs.userFriendlyIdentifier() or "nieokreślony", what))
    return named


def _rows_of(system, zone, frame):
    zone = int(zone or 0)
    return [row for row in table() if row.system == system and row.zone == zone and
            (not frame or row.frame == frame) and (row.epsg or row.wkt)]


def _crs_of_row(row):
    if row.epsg:
        return QgsCoordinateReferenceSystem("EPSG:%d" % row.epsg)
    return _crs_of_wkt(row.wkt)


def is_crs_of(crs, system, zone, frame):
    """Whether crs is one of the table's CRSs of the system with its zone and frame."""
    return any(_crs_of_row(row) == crs for row in _rows_of(system, zone, frame))


def crs_of_system(system, zone, frame, has_z):
    """The QGIS CRS of a system with its zone and frame ("" where the system
    implies it): the table's row of it with a third coordinate as has_z says
    (else its first row), by its EPSG code or its WKT; an invalid CRS when the
    table has none."""
    rows = sorted(_rows_of(system, zone, frame), key=lambda row: (row.dimensions == 3) != has_z)
    return _crs_of_row(rows[0]) if rows else QgsCoordinateReferenceSystem()
