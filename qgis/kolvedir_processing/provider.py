"""The Processing provider "Kolvedir" and its three algorithms."""
import os

import kolvedir
from qgis.core import QgsProcessingProvider
from qgis.PyQt.QtGui import QIcon

from .height_algorithm import HeightAlgorithm
from .layer_algorithm import LayerAlgorithm
from .point_file_algorithm import PointFileAlgorithm


class KolvedirProvider(QgsProcessingProvider):
    def id(self):
        return "kolvedir"

    def name(self):
        return "Kolvedir"

    def longName(self):  # noqa: N802 (QGIS's name)
        return "Kolvedir " + kolvedir.__version__

    def versionInfo(self):  # noqa: N802 (QGIS's name)
        return kolvedir.__version__

    def icon(self):
        return QIcon(os.path.join(os.path.dirname(__file__), "icon.svg"))

    def loadAlgorithms(self):  # noqa: N802 (QGIS's name)
        for algorithm in (LayerAlgorithm(), HeightAlgorithm(), PointFileAlgorithm()):
            self.addAlgorithm(algorithm)
