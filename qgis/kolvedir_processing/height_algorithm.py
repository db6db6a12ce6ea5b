"""„Przelicz wysokości”: TRANS-H and the quasigeoid tasks on the Z of a layer's
vertices or on a numeric field of its points."""
import kolvedir
import numpy as np
from qgis.core import (QgsFeature, QgsFeatureSink, QgsField, QgsFields, QgsProcessingException,
                       QgsProcessingParameterEnum, QgsProcessingParameterFeatureSource,
                       QgsProcessingParameterField, QgsProcessingParameterString, QgsWkbTypes)
from qgis.PyQt.QtCore import QVariant

from . import common, systems
from .vertices import UnsupportedGeometry, VertexBatch, engine_geometry

# (input system, output system, what the user reads); the quasigeoid tasks
# have no output system of their own.
TASKS = [
    ("BLH_K86", "BLH_EVRF", "PL-KRON86-NH → PL-EVRF2007-NH"),
    ("BLH_EVRF", "BLH_K86", "PL-EVRF2007-NH → PL-KRON86-NH"),
    ("BLH_K2006", "BLH_EVRF", "PL-KRON2006-NH → PL-EVRF2007-NH"),
    ("BLH_EVRF", "BLH_K2006", "PL-EVRF2007-NH → PL-KRON2006-NH"),
    ("BLH_K86", "BLH_K2006", "PL-KRON86-NH → PL-KRON2006-NH"),
    ("BLH_K2006", "BLH_K86", "PL-KRON2006-NH → PL-KRON86-NH"),
    ("BL", "", "anomalia wysokości PL-geoid-2011 (wysokość wejściowa pomijana)"),
    ("BLH_e", "", "wysokość elipsoidalna → normalna (PL-geoid-2011)"),
    ("BLH_n", "", "wysokość normalna → elipsoidalna (PL-geoid-2011)"),
]
QUASIGEOID_FRAMES = ["PL-ETRF2000", "PL-ETRF89"]
HEIGHT_FROM = ["współrzędna Z wierzchołków", "pole atrybutu (warstwa punktowa)"]
NO_POSITION = "obiekt bez geometrii: położenie punktu jest nieznane"
HELP = """Przelicza wysokości tak jak zadania TRANS-H i quasigeoidy programu: między \
PL-KRON86-NH, PL-KRON2006-NH i PL-EVRF2007-NH oraz między wysokością elipsoidalną \
a normalną z quasigeoidą PL-geoid-2011 (albo samą anomalię wysokości).

Wysokość jest współrzędną Z każdego wierzchołka (wynik zastępuje Z) albo polem \
atrybutu warstwy punktowej (wynik trafia do nowego pola). Położenie B, L punktu \
wynika z układu warstwy (tabela „kolvedir-batch --list-systems”), przeliczone do \
wybranego układu odniesienia. Geometria poza Z i atrybuty przechodzą bez zmian.

Obiekt, którego punkt nie daje wyniku, trafia do warstwy „Błędne obiekty” albo przerywa \
algorytm; przy siatce modelowej dziennik ostrzega, że wyniki nie są wynikami siatki \
urzędowej."""


class HeightAlgorithm(common.Algorithm):
    ID, NAME, HELP = "transformheights", "Przelicz wysokości", HELP

    def initAlgorithm(self, config=None):  # noqa: N802 (QGIS's name)
        self.addParameter(QgsProcessingParameterFeatureSource("INPUT", "Warstwa wejściowa"))
        self.addParameter(QgsProcessingParameterEnum(
            "TASK", "Przeliczenie", options=[label for _, _, label in TASKS], defaultValue=0))
        self.addParameter(QgsProcessingParameterEnum(
            "FRAME", "Układ odniesienia położenia B, L i wysokości elipsoidalnych",
            options=QUASIGEOID_FRAMES, defaultValue=0))
        self.addParameter(QgsProcessingParameterEnum(
            "HEIGHT_FROM", "Wysokość wejściowa", options=HEIGHT_FROM, defaultValue=0))
        self.addParameter(QgsProcessingParameterField(
            "FIELD", "Pole wysokości wejściowej", parentLayerParameterName="INPUT",
            type=QgsProcessingParameterField.Numeric, optional=True))
        self.addParameter(QgsProcessingParameterString(
            "RESULT_FIELD", "Pole wyniku (przy wysokości z pola)", defaultValue="H_wynik"))
        common.add_layer_outputs(self)

    def processAlgorithm(self, parameters, context, feedback):  # noqa: N802 (QGIS's name)
        source = common.input_layer(self, parameters, context)
        task = TASKS[self.parameterAsEnum(parameters, "TASK", context)]
        frame = QUASIGEOID_FRAMES[self.parameterAsEnum(parameters, "FRAME", context)]
        grid = self.parameterAsFile(parameters, "GRID", context) or None
        named = systems.layer_system(source.sourceCrs(), "położenie B, L punktów jest nieznane.")
        position = common.transformer(
            source=named["name"], source_zone=named["zone"], source_frame=named["frame"],
            target="BLH_GRS", target_frame=frame, grid=grid)
        # The frame of the quasigeoid's ellipsoidal heights; TRANS-H takes none.
        height = common.transformer(source=task[0], source_frame=None if task[1] else frame,
                                    target=task[1] or None, grid=grid)
        common.report_grid(feedback, height)  # both read the one grid
        feedback.pushInfo("Przeliczenie: %s (%s → %s)" % (task[2], task[0],
                                                           task[1] or "wynik quasigeoidy"))

        heights = HeightTransformation(self, parameters, context, source, position, height)
        output, destination = self.parameterAsSink(
            parameters, "OUTPUT", context, heights.fields, heights.output_type,
            source.sourceCrs())
        failures = common.Failures(self, parameters, context, source, source.fields())
        for batch in common.batches(source, feedback):
            for feature, result, status, message in heights.transform(batch):
                if status:
                    failures.add(feature, status, message)
                else:
                    output.addFeature(result, QgsFeatureSink.FastInsert)
        results = {"OUTPUT": destination}
        failures.report(feedback, results)
        return results


def height_of(feature, field):
    """The feature's height in field (m); NaN, which the engine refuses, for a
    NULL or no field."""
    try:
        return float(feature.attribute(field)) if field else np.nan
    except (TypeError, ValueError):  # QGIS's NULL
        return np.nan


class HeightTransformation:
    """The height change applied to lists of features: B, L of each point from
    the position transformer, the height from Z or a field."""

    def __init__(self, algorithm, parameters, context, source, position, height):
        self.position, self.height = position, height
        self.from_field = algorithm.parameterAsEnum(parameters, "HEIGHT_FROM", context) == 1
        if position.source_kind == kolvedir.CoordinateKind.CARTESIAN:
            raise QgsProcessingException(
                "Warstwa w układzie X Y Z: wysokości przelicza się na warstwie B L lub płaskiej.")
        input_type = source.wkbType()
        needs_height = height.description["source"] != "BL"
        self.fields = QgsFields(source.fields())
        self.output_type = input_type
        self.add_z = False
        if self.from_field:
            if QgsWkbTypes.geometryType(input_type) != QgsWkbTypes.PointGeometry:
                raise QgsProcessingException(
                    "Wysokość z pola atrybutu: warstwa musi być punktowa.")
            self.field = algorithm.parameterAsString(parameters, "FIELD", context)
            if needs_height and source.fields().lookupField(self.field) < 0:
                raise QgsProcessingException("Nie wskazano pola wysokości wejściowej.")
            result = algorithm.parameterAsString(parameters, "RESULT_FIELD", context).strip()
            if not result or source.fields().lookupField(result) >= 0:
                raise QgsProcessingException(
                    "Pole wyniku „%s” jest puste albo już jest w warstwie: podaj nową nazwę."
                    % result)
            self.fields.append(QgsField(result, QVariant.Double))
        elif not QgsWkbTypes.hasZ(input_type):
            if needs_height:
                raise QgsProcessingException(
                    "Warstwa nie ma współrzędnej Z: wskaż pole wysokości wejściowej.")
            self.add_z = True
            self.output_type = QgsWkbTypes.addZ(input_type)

    def transform(self, features):
        """(feature, result feature, status, message) for each feature."""
        try:
            batch = VertexBatch([engine_geometry(f, self.add_z) for f in features])
        except UnsupportedGeometry as error:
            raise QgsProcessingException("Nieobsługiwana geometria: %s." % error) from None
        # In a field's job only the first vertex of each point feature counts.
        if self.from_field:
            owner, first = np.unique(batch.owner, return_index=True)
            x, y = batch.x[first], batch.y[first]
            h = np.array([height_of(features[i], self.field) for i in owner.tolist()])
        else:
            owner, x, y, h = batch.owner, batch.x, batch.y, batch.z
        # QGIS keeps easting or longitude as x; the engine takes northing or B first.
        position = self.position.transform(y, x, threads=0)
        changed = self.height.transform(position[0], position[1], h, threads=0)
        status = np.where(position[3] != 0, position[3], changed[3])
        failed = {}
        for feature_index, k in common.first_failed(status, owner):
            which = self.position if position[3][k] else self.height
            failed[feature_index] = (int(status[k]),
                                     which.point_message(int(status[k]), float(x[k])))
        if self.from_field:
            for index in set(range(len(features))) - set(owner.tolist()):
                failed[index] = (int(kolvedir.PointResult.FAILED), NO_POSITION)
        new_heights = dict(zip(owner.tolist(), changed[2].tolist())) if self.from_field else None
        geometries = (None if self.from_field else
                      batch.geometries(batch.x, batch.y, changed[2]))
        for index, feature in enumerate(features):
            status_message = failed.get(index)
            if status_message:
                yield feature, None, status_message[0], status_message[1]
                continue
            result = QgsFeature(self.fields)
            result.setId(feature.id())
            if self.from_field:
                result.setGeometry(feature.geometry())
                result.setAttributes(feature.attributes() + [new_heights.get(index)])
            else:
                result.setGeometry(geometries[index] or feature.geometry())
                result.setAttributes(feature.attributes())
            yield feature, result, 0, ""
