#!/usr/bin/env python3
"""A 1,000,000-vertex layer in PL-2000 zone 18 to PL-1992 inside QGIS: the
plugin's "Przelicz współrzędne warstwy" against QGIS's own "Reproject layer"
(native:reprojectlayer, EPSG:2177 -> EPSG:2180), side by side, each writing a
memory layer.

Run headless with Debian's interpreter, the module and the plugin of a build:
    QT_QPA_PLATFORM=offscreen PYTHONPATH=build/Kolvedir/bin/python \\
        /usr/bin/python3 bench/qgis_reproject.py build/qgis-plugins
"""
import os
import sys
import time
import warnings

import numpy as np

sys.dont_write_bytecode = True  # the build's plugin folder is what its zip holds
sys.path.append("/usr/share/qgis/python/plugins")
sys.path.insert(0, sys.argv[1] if len(sys.argv) > 1 else "build/qgis-plugins")

from qgis.core import (QgsApplication, QgsFeature, QgsGeometry, QgsLineString,  # noqa: E402
                       QgsVectorLayer)

LINES = 10_000
VERTICES_PER_LINE = 100
REPEATS = 3


def layer_of_lines():
    """LINES random walks of VERTICES_PER_LINE vertices inside zone 18."""
    layer = QgsVectorLayer("LineString?crs=EPSG:2177&field=nr:integer", "linie", "memory")
    rng = np.random.default_rng(1)
    starts = np.column_stack((rng.uniform(6420000, 6580000, LINES),
                              rng.uniform(5500000, 6000000, LINES)))
    steps = rng.uniform(-50, 50, (LINES, VERTICES_PER_LINE, 2))
    walks = starts[:, None, :] + np.cumsum(steps, axis=1)
    features = []
    for number, walk in enumerate(walks):
        feature = QgsFeature(layer.fields())
        feature.setAttributes([number])
        feature.setGeometry(QgsGeometry(QgsLineString(walk[:, 0].tolist(), walk[:, 1].tolist())))
        features.append(feature)
    layer.dataProvider().addFeatures(features)
    return layer


def best_time(run):
    times = []
    for _ in range(REPEATS):
        start = time.perf_counter()
        result = run()
        times.append(time.perf_counter() - start)
    return min(times), result


def main():
    application = QgsApplication([], False)
    application.initQgis()
    import processing
    import qgis.utils
    from processing.core.Processing import Processing
    Processing.initialize()
    qgis.utils.loadPlugin("kolvedir_processing")
    qgis.utils.startProcessingPlugin("kolvedir_processing")
    warnings.simplefilter("ignore")

    layer = layer_of_lines()
    vertices = LINES * VERTICES_PER_LINE
    runs = {
        "kolvedir, empirical": ("kolvedir:transformlayer", {"INPUT": layer, "OUTPUT": "memory:"}),
        "kolvedir, theoretical": ("kolvedir:transformlayer",
                                  {"INPUT": layer, "METHOD": 1, "OUTPUT": "memory:"}),
        "QGIS Reproject layer": ("native:reprojectlayer",
                                 {"INPUT": layer, "TARGET_CRS": "EPSG:2180",
                                  "OUTPUT": "memory:"}),
    }
    times, outputs = {}, {}
    for label, (algorithm, parameters) in runs.items():
        times[label], results = best_time(lambda: processing.run(algorithm, parameters))
        outputs[label] = results["OUTPUT"]
    print(f"{vertices:,} vertices ({LINES:,} lines) EPSG:2177 -> EPSG:2180, best of {REPEATS}, "
          f"{os.cpu_count()} cores")
    reference = times["QGIS Reproject layer"]
    for label, seconds in times.items():
        print(f"{label:24}{seconds:8.2f} s{reference / seconds:8.2f}x")
    ours = [f.geometry().asPolyline() for f in outputs["kolvedir, theoretical"].getFeatures()]
    theirs = [f.geometry().asPolyline() for f in outputs["QGIS Reproject layer"].getFeatures()]
    largest = max(max(abs(a.x() - b.x()), abs(a.y() - b.y()))
                  for line_a, line_b in zip(ours[:200], theirs[:200])
                  for a, b in zip(line_a, line_b))
    print(f"largest difference from QGIS (theoretical, first 200 lines): {largest * 1000:.3f} mm")


if __name__ == "__main__":
    main()
