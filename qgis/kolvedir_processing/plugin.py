"""Registers the provider with QGIS's Processing, or says why it cannot."""
from qgis.core import Qgis, QgsApplication, QgsMessageLog

MISSING_MODULE = ("Kolvedir: brak modułu Pythona kolvedir ({}). Zainstaluj pakiet kolvedir "
                  "albo dopisz katalog bin/python programu do zmiennej PYTHONPATH "
                  "(Ustawienia › Opcje › System › Środowisko).")


class KolvedirPlugin:
    def __init__(self, iface):
        self.iface = iface
        self.provider = None

    def initProcessing(self):  # noqa: N802 (QGIS's name)
        if self.provider is not None:
            return
        try:
            from .provider import KolvedirProvider
        except ImportError as error:
            QgsMessageLog.logMessage(MISSING_MODULE.format(error), "Kolvedir", Qgis.Critical)
            return
        self.provider = KolvedirProvider()
        QgsApplication.processingRegistry().addProvider(self.provider)

    def initGui(self):  # noqa: N802 (QGIS's name)
        self.initProcessing()

    def unload(self):
        if self.provider is not None:
            QgsApplication.processingRegistry().removeProvider(self.provider)
            self.provider = None
