#!/usr/bin/env python3
"""Pictures of the QGIS plugin as a user sees it: the dialog of each algorithm
of the provider "Kolvedir" and the log of a finished run of the layer and the
point-file algorithms, each window with its frame. Run on an X display with a
window manager (scripts/screenshots-qgis.sh).

Usage: qgis_screenshots.py PLUGINS_FOLDER SAMPLE_OBJECT OUTPUT_FOLDER
"""
import os
import sys
import time

sys.dont_write_bytecode = True  # the build's plugin folder is what its zip holds
sys.path.append("/usr/share/qgis/python/plugins")
sys.path.insert(0, sys.argv[1])

from qgis.core import (QgsApplication, QgsFeature, QgsGeometry, QgsProcessingContext,  # noqa: E402
                       QgsProject, QgsVectorLayer)
from qgis.PyQt.QtWidgets import QApplication, QTextEdit  # noqa: E402

SAMPLE, OUTPUT = sys.argv[2], sys.argv[3]


def wait(seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        QApplication.processEvents()
        time.sleep(0.02)


def picture(window, name):
    """The window with its frame, as the screen shows it."""
    window.raise_()
    window.activateWindow()
    wait(1.0)
    frame = window.frameGeometry()
    shot = QApplication.primaryScreen().grabWindow(0, frame.x(), frame.y(), frame.width(),
                                                   frame.height())
    path = os.path.join(OUTPUT, name)
    shot.save(path)
    print(path)


def sample_layer():
    layer = QgsVectorLayer("PointZ?crs=EPSG:2177&field=nazwa:string&field=kod:integer",
                           "punkty osnowy", "memory")
    features = []
    for name, code, wkt in (("Toruń", 1, "PointZ(6530000 5875000 65.5)"),
                            ("Opole", 2, "PointZ(6450000 5615000 176.25)"),
                            ("inna strefa", 3, "PointZ(7500457.73 5788701.22 100)")):
        feature = QgsFeature(layer.fields())
        feature.setAttributes([name, code])
        feature.setGeometry(QgsGeometry.fromWkt(wkt))
        features.append(feature)
    layer.dataProvider().addFeatures(features)
    QgsProject.instance().addMapLayer(layer)
    return layer


def dialog(algorithm_id, values=None):
    from processing.gui.AlgorithmDialog import AlgorithmDialog
    algorithm = QgsApplication.processingRegistry().createAlgorithmById(algorithm_id)
    window = AlgorithmDialog(algorithm)
    window.resize(980, 720)
    window.show()
    wait(0.5)
    context = QgsProcessingContext()
    for name, value in (values or {}).items():
        window.mainWidget().wrappers[name].setParameterValue(value, context)
    return window


def finished_run(window, name):
    window.runAlgorithm()
    for _ in range(300):
        wait(0.1)
        log = " ".join(w.toPlainText() for w in window.findChildren(QTextEdit))
        if "Results" in log or "failed" in log:
            break
    picture(window, name)


def main():
    os.makedirs(OUTPUT, exist_ok=True)
    application = QgsApplication([], True)
    application.initQgis()
    import qgis.utils
    from processing.core.Processing import Processing
    Processing.initialize()
    qgis.utils.loadPlugin("kolvedir_processing")
    qgis.utils.startProcessingPlugin("kolvedir_processing")
    layer = sample_layer()

    for algorithm, name in (("kolvedir:transformlayer", "qgis-przelicz-warstwe.png"),
                            ("kolvedir:transformheights", "qgis-przelicz-wysokosci.png"),
                            ("kolvedir:transformpointfile", "qgis-przelicz-plik.png")):
        window = dialog(algorithm)
        picture(window, name)
        window.close()

    window = dialog("kolvedir:transformlayer", {"INPUT": layer.id()})
    finished_run(window, "qgis-przelicz-warstwe-dziennik.png")
    window.close()
    result = os.path.join(OUTPUT, "xy92.1")
    window = dialog("kolvedir:transformpointfile", {
        "INPUT": os.path.join(SAMPLE, "xy2000"), "SOURCE_ZONE": 3, "OUTPUT": result})
    finished_run(window, "qgis-przelicz-plik-dziennik.png")
    window.close()


if __name__ == "__main__":
    main()
