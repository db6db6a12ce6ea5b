"""What the layer algorithms share: the transformer with the engine's own
messages, the log of the grid, and the features that give no result."""
import warnings

import kolvedir
import numpy as np
from qgis.core import (QgsFeature, QgsFeatureSink, QgsField, QgsFields, QgsProcessing,
                       QgsProcessingAlgorithm, QgsProcessingException,
                       QgsProcessingOutputNumber, QgsProcessingParameterEnum,
                       QgsProcessingParameterFeatureSink, QgsProcessingParameterFile,
                       QgsProcessingParameterDefinition)
from qgis.PyQt.QtCore import QVariant

ON_FAILURE = ["zapisz je do warstwy „Błędne obiekty” (ze statusem i komunikatem)",
              "przerwij algorytm z komunikatem programu"]
FAILED_LAYER = "Błędne obiekty"
# Features handed to the engine at once.
FEATURES_PER_BATCH = 4096


class Algorithm(QgsProcessingAlgorithm):
    """An algorithm of the provider: its id, name and help as class attributes."""
    ID = NAME = HELP = ""

    def name(self):
        return self.ID

    def displayName(self):  # noqa: N802 (QGIS's name)
        return self.NAME

    def shortHelpString(self):  # noqa: N802 (QGIS's name)
        return self.HELP

    def createInstance(self):  # noqa: N802 (QGIS's name)
        return type(self)()


def input_layer(algorithm, parameters, context):
    source = algorithm.parameterAsSource(parameters, "INPUT", context)
    if source is None:
        raise QgsProcessingException("Nie wskazano warstwy wejściowej.")
    return source


def add_layer_outputs(algorithm):
    """The transformed layer, the choice for failing features and their layer,
    the grid, and the count of failed features."""
    # The output first: QGIS lists the layers a run writes in this order.
    algorithm.addParameter(QgsProcessingParameterFeatureSink("OUTPUT", "Warstwa przeliczona"))
    algorithm.addParameter(QgsProcessingParameterEnum(
        "ON_FAILURE", "Obiekty, których punktu nie da się przeliczyć", options=ON_FAILURE,
        defaultValue=0))
    algorithm.addParameter(QgsProcessingParameterFeatureSink(
        "FAILED", FAILED_LAYER, QgsProcessing.TypeVectorAnyGeometry, None, True, True))
    add_grid_parameter(algorithm)
    algorithm.addOutput(QgsProcessingOutputNumber("FAILED_COUNT", "Liczba błędnych obiektów"))


def add_grid_parameter(algorithm):
    grid = QgsProcessingParameterFile(
        "GRID", "Plik siatki PL_grid_001.bin (puste: siatka programu)",
        optional=True, fileFilter="Siatka interpolacyjna (*.bin)")
    grid.setFlags(grid.flags() | QgsProcessingParameterDefinition.FlagAdvanced)
    algorithm.addParameter(grid)


def transformer(**description):
    """kolvedir.Transformer(**description) on the grid given or the default
    one; a refusal fails the algorithm with the engine's message."""
    grid = description.get("grid") or kolvedir.default_grid()
    try:
        with warnings.catch_warnings():
            warnings.simplefilter("ignore", kolvedir.ModelGridWarning)
            return kolvedir.Transformer(**dict(description, grid=grid))
    except kolvedir.Error as error:
        raise QgsProcessingException(str(error)) from None


def report_grid(feedback, made):
    """The grid a run reads into the log, and the model grid's notice as a warning."""
    feedback.pushInfo("Siatka interpolacyjna: " + made.description["grid"])
    if made.model_grid:
        feedback.pushWarning(kolvedir.MODEL_GRID_NOTICE)


def failure_fields(fields):
    failed = QgsFields(fields)
    failed.append(QgsField("status", QVariant.Int))
    failed.append(QgsField("message", QVariant.String))
    return failed


def first_failed(status, owner):
    """(feature index, vertex index) of the first failed vertex of each feature
    with one, in feature order."""
    failed = np.flatnonzero(status)
    owners, first = np.unique(owner[failed], return_index=True)
    return list(zip(owners.tolist(), failed[first].tolist()))


class Failures:
    """Features with a point that gives no result: written to the failure
    layer, or the end of the algorithm with the engine's message."""

    def __init__(self, algorithm, parameters, context, source, fields):
        self.fail = algorithm.parameterAsEnum(parameters, "ON_FAILURE", context) == 1
        self.sink, self.destination = (None, None) if self.fail else algorithm.parameterAsSink(
            parameters, "FAILED", context, failure_fields(fields), source.wkbType(),
            source.sourceCrs())
        self.count = 0

    def add(self, feature, status, message):
        self.count += 1
        if self.fail:
            raise QgsProcessingException("Obiekt %d: %s" % (feature.id(), message))
        if self.sink is not None:
            failed = QgsFeature(feature)
            failed.setAttributes(feature.attributes() + [int(status), message])
            self.sink.addFeature(failed, QgsFeatureSink.FastInsert)

    def report(self, feedback, results):
        """Says how many features failed, and adds the count (and the layer) to results."""
        results["FAILED_COUNT"] = self.count
        if self.destination is not None:
            results["FAILED"] = self.destination
        if self.count:
            where = ("w warstwie „%s”" % FAILED_LAYER if self.sink is not None
                     else "warstwa „%s” nie jest tworzona" % FAILED_LAYER)
            feedback.pushWarning("Obiekty, których nie przeliczono: %d (%s)." % (self.count, where))


def batches(source, feedback):
    """The source's features in lists of FEATURES_PER_BATCH, with progress."""
    total = source.featureCount() or 1
    batch, done = [], 0
    for feature in source.getFeatures():
        if feedback.isCanceled():
            return
        batch.append(feature)
        if len(batch) == FEATURES_PER_BATCH:
            yield batch
            done += len(batch)
            feedback.setProgress(100.0 * done / total)
            batch = []
    if batch:
        yield batch
    feedback.setProgress(100.0)

