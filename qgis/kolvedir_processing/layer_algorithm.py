"""„Przelicz współrzędne warstwy”: every vertex of a vector layer through one
transformation of the engine."""
import kolvedir
import numpy as np
from qgis.core import (QgsFeature, QgsFeatureSink, QgsProcessingException,
                       QgsProcessingParameterCrs, QgsProcessingParameterEnum,
                       QgsProcessingParameterFeatureSource, QgsWkbTypes)

from . import common, systems
from .vertices import UnsupportedGeometry, VertexBatch, engine_geometry

FROM_LAYER = "z układu warstwy (kod EPSG albo układ z tabeli programu)"
HELP = """Przelicza współrzędne każdego wierzchołka warstwy (punkty, linie, poligony, także \
z Z) tak jak zadanie TRANS 2D/3D programu: metodą empiryczną (z siatką poprawek \
PL_grid_001.bin) albo teoretyczną.

Układ źródłowy domyślnie wynika z układu warstwy (kody EPSG z tabeli \
„kolvedir-batch --list-systems”); strefa lub układ odniesienia podane obok muszą się \
z nim zgadzać. Układ źródłowy wybrany inny niż układ warstwy jest stosowany \
z ostrzeżeniem w dzienniku. Układ docelowy wybiera się z listy albo jako układ EPSG.

Z jest współrzędną Z wyniku X Y Z oraz wysokością elipsoidalną wyniku B L h z danych \
B L h lub X Y Z (warstwa bez Z dostaje Z; wysokość wejściowa 0); w pozostałych \
przypadkach Z przechodzi bez zmian. Atrybuty przechodzą bez zmian; warstwa wynikowa ma układ docelowy.

Obiekt, którego wierzchołek nie daje wyniku (poza obszarem, z innej strefy, poza siatką), \
trafia do warstwy „Błędne obiekty” ze statusem i komunikatem programu albo przerywa \
algorytm. Przy siatce modelowej dziennik ostrzega, że wyniki nie są wynikami siatki \
urzędowej."""


class LayerAlgorithm(common.Algorithm):
    ID, NAME, HELP = "transformlayer", "Przelicz współrzędne warstwy", HELP

    def initAlgorithm(self, config=None):  # noqa: N802 (QGIS's name)
        self.addParameter(QgsProcessingParameterFeatureSource("INPUT", "Warstwa wejściowa"))
        add_side(self, "SOURCE", "źródłowy", [FROM_LAYER] + systems.labels(
            systems.PLANE_AND_SPATIAL), 0, 0)
        add_side(self, "TARGET", "docelowy", systems.labels(systems.PLANE_AND_SPATIAL), 1, 1)
        self.addParameter(QgsProcessingParameterCrs(
            "TARGET_CRS", "Układ docelowy jako układ EPSG (zastępuje trzy powyższe)",
            optional=True))
        self.addParameter(QgsProcessingParameterEnum(
            "METHOD", "Metoda", options=systems.labels(systems.METHODS), defaultValue=0))
        common.add_layer_outputs(self)

    def processAlgorithm(self, parameters, context, feedback):  # noqa: N802 (QGIS's name)
        source = common.input_layer(self, parameters, context)
        side_from = source_side(self, parameters, context, source.sourceCrs())
        side_to, target_crs = target_side(self, parameters, context)
        transformer = common.transformer(
            source=side_from["name"], source_zone=side_from["zone"],
            source_frame=side_from["frame"], target=side_to["name"],
            target_zone=side_to["zone"], target_frame=side_to["frame"],
            method=systems.value(systems.METHODS,
                                 self.parameterAsEnum(parameters, "METHOD", context)),
            grid=self.parameterAsFile(parameters, "GRID", context) or None)
        common.report_grid(feedback, transformer)
        feedback.pushInfo("Z układu %s do układu %s" % (side_text(side_from), side_text(side_to)))
        layer_crs = source.sourceCrs()
        if (self.parameterAsEnum(parameters, "SOURCE", context) > 0 and layer_crs.isValid() and
                not systems.is_crs_of(layer_crs, side_from["name"], side_from["zone"],
                                      side_from["frame"])):
            feedback.pushWarning(
                "Warstwa ma układ „%s”, a wybrano układ źródłowy %s: współrzędne są czytane "
                "w wybranym układzie." % (layer_crs.userFriendlyIdentifier(), side_text(side_from)))

        layer = LayerTransformation(transformer, source.wkbType())
        if target_crs is None:
            target_crs = systems.crs_of_system(side_to["name"], side_to["zone"], side_to["frame"],
                                               QgsWkbTypes.hasZ(layer.output_type))
        output, destination = self.parameterAsSink(
            parameters, "OUTPUT", context, source.fields(), layer.output_type, target_crs)
        failures = common.Failures(self, parameters, context, source, source.fields())
        for batch in common.batches(source, feedback):
            for feature, geometry, status, message in layer.transform(batch):
                if status:
                    failures.add(feature, status, message)
                    continue
                transformed = QgsFeature(feature)
                if geometry is not None:
                    transformed.setGeometry(geometry)
                output.addFeature(transformed, QgsFeatureSink.FastInsert)
        results = {"OUTPUT": destination}
        failures.report(feedback, results)
        return results


def add_side(algorithm, prefix, word, labels, system_default, frame_default):
    algorithm.addParameter(QgsProcessingParameterEnum(
        prefix, "Układ %s" % word, options=labels, defaultValue=system_default))
    algorithm.addParameter(QgsProcessingParameterEnum(
        prefix + "_ZONE", "Strefa (układ %s)" % word, options=systems.labels(systems.ZONES),
        defaultValue=0))
    algorithm.addParameter(QgsProcessingParameterEnum(
        prefix + "_FRAME", "Układ odniesienia (układ %s)" % word,
        options=systems.labels(systems.FRAMES), defaultValue=frame_default))


def chosen_side(algorithm, parameters, context, prefix, system_index):
    return dict(
        name=systems.value(systems.PLANE_AND_SPATIAL, system_index),
        zone=systems.value(systems.ZONES, algorithm.parameterAsEnum(
            parameters, prefix + "_ZONE", context)),
        frame=systems.value(systems.FRAMES, algorithm.parameterAsEnum(
            parameters, prefix + "_FRAME", context)))


def source_side(algorithm, parameters, context, layer_crs):
    """The source's name, zone and frame; from the layer's CRS by default,
    with the zone or frame chosen beside it (the engine checks they agree)."""
    index = algorithm.parameterAsEnum(parameters, "SOURCE", context)
    if index > 0:
        return chosen_side(algorithm, parameters, context, "SOURCE", index - 1)
    named = systems.layer_system(layer_crs, "wybierz układ źródłowy.")
    chosen = chosen_side(algorithm, parameters, context, "SOURCE", 0)
    return dict(name=named["name"], zone=chosen["zone"] or named["zone"],
                frame=chosen["frame"] or named["frame"])


def target_side(algorithm, parameters, context):
    """The target's name, zone and frame, and the CRS chosen for the output
    layer (None: the table's CRS of the target)."""
    crs = algorithm.parameterAsCrs(parameters, "TARGET_CRS", context)
    if crs.isValid():
        named = systems.name_of_crs(crs)
        if named is None:
            raise QgsProcessingException(
                "Układ docelowy „%s” nie jest układem z tabeli programu (kolvedir-batch "
                "--list-systems)." % crs.userFriendlyIdentifier())
        return named, crs
    side = chosen_side(algorithm, parameters, context, "TARGET",
                       algorithm.parameterAsEnum(parameters, "TARGET", context))
    return side, None


def side_text(side):
    return " ".join(filter(None, (side["name"], side["zone"] and "strefa " + side["zone"],
                                  side["frame"])))


class LayerTransformation:
    """One transformation applied to lists of features. QGIS keeps easting
    (or longitude) as x and northing (or latitude) as y; the engine takes the
    northing or B first, X Y Z in their order."""

    def __init__(self, transformer, input_type):
        self.transformer = transformer
        source, target = transformer.source_kind, transformer.target_kind
        if source == kolvedir.CoordinateKind.CARTESIAN and not QgsWkbTypes.hasZ(input_type):
            raise QgsProcessingException(
                "Układ X Y Z wymaga trzech współrzędnych, a warstwa nie ma współrzędnej Z.")
        self.swap_in = source != kolvedir.CoordinateKind.CARTESIAN
        self.swap_out = target != kolvedir.CoordinateKind.CARTESIAN
        # Z becomes the engine's third output where it is a coordinate (X Y Z)
        # or an ellipsoidal height read from the input (B L h, X Y Z); the
        # engine reads no height from plane input, so a geodetic output keeps
        # the layer's Z there.
        self.height_out = (target == kolvedir.CoordinateKind.CARTESIAN or
                           target == kolvedir.CoordinateKind.GEODETIC and
                           source != kolvedir.CoordinateKind.PLANE)
        self.add_z = self.height_out and not QgsWkbTypes.hasZ(input_type)
        self.has_z = QgsWkbTypes.hasZ(input_type) or self.add_z
        self.output_type = QgsWkbTypes.addZ(input_type) if self.add_z else input_type

    def transform(self, features):
        """(feature, new geometry or None, status, message) for each feature;
        a failed feature has the status and message of its first failed vertex."""
        try:
            batch = VertexBatch([engine_geometry(f, self.add_z) for f in features])
        except UnsupportedGeometry as error:
            raise QgsProcessingException("Nieobsługiwana geometria: %s." % error) from None
        a, b = (batch.y, batch.x) if self.swap_in else (batch.x, batch.y)
        out = self.transformer.transform(a, b, batch.z if self.has_z else None, threads=0)
        x, y = (out[1], out[0]) if self.swap_out else (out[0], out[1])
        z = out[2] if self.height_out else batch.z
        failed = {}
        status = out[3]
        if status.any():
            for feature_index, vertex in common.first_failed(status, batch.owner):
                failed[feature_index] = (int(status[vertex]), self.transformer.point_message(
                    int(status[vertex]), float(b[vertex])))
        geometries = batch.geometries(np.asarray(x), np.asarray(y), np.asarray(z))
        for index, (feature, geometry) in enumerate(zip(features, geometries)):
            status_message = failed.get(index, (0, ""))
            yield feature, geometry, status_message[0], status_message[1]
