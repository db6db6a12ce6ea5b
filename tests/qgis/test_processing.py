# The three algorithms of the provider "Kolvedir" run by processing.run on a
# GeoPackage of points, lines and polygons with and without Z: the numbers
# equal the library's, the output CRS is the expected EPSG one, attributes are
# kept, failing features go to "Błędne obiekty" or fail the algorithm, and
# wrong parameters give the engine's Polish message.
import contextlib
import io
import os
import re
import subprocess
import warnings
import zipfile

import kolvedir
import numpy as np
import processing
import pytest
from qgis.core import (QgsApplication, QgsFeature, QgsGeometry, QgsProcessingException,
                       QgsProcessingFeedback, QgsProject, QgsVectorFileWriter, QgsVectorLayer)

from conftest import LOG, PLUGIN_STARTED

warnings.simplefilter("ignore", kolvedir.ModelGridWarning)

# QGIS's x is the easting (or longitude): (x, y) = (y, x) of the engine.
LAYERS = {
    "punkty": ("Point?crs=EPSG:2177", [
        ("Gdańsk", 1, "Point(6540000 6025000)"),
        ("Łódź", 2, "Point(6570000 5740000)"),
        ("inna strefa", 3, "Point(7500457.726 5788701.2165)"),
        ("bez wysokości", 4, "Point(6545000 6020000)", None),
    ]),
    "punkty_z": ("PointZ?crs=EPSG:2177", [
        ("Toruń", 1, "PointZ(6530000 5875000 65.5)"),
        ("Opole", 2, "PointZ(6450000 5615000 176.25)"),
    ]),
    "linie": ("LineString?crs=EPSG:2177", [
        ("droga", 1, "LineString(6500000 5800000, 6510000 5810000, 6520000 5805000)"),
        ("przez strefę", 2, "LineString(6500000 5800000, 7510000 5810000)"),
    ]),
    "poligony_z": ("MultiPolygonZ?crs=EPSG:2177", [
        ("działka", 1, "MultiPolygonZ(((6500000 5800000 10, 6500100 5800000 11, "
                       "6500100 5800100 12, 6500000 5800100 13, 6500000 5800000 10), "
                       "(6500010 5800010 1, 6500050 5800010 1, 6500050 5800050 1, "
                       "6500010 5800010 1)), "
                       "((6501000 5801000 5, 6501100 5801000 5, 6501000 5801100 5, "
                       "6501000 5801000 5)))"),
    ]),
    "geodezyjne_z": ("PointZ?crs=EPSG:9701", [
        ("Kraków", 1, "PointZ(19.94 50.06 250)"),
        ("Warszawa", 2, "PointZ(21.01 52.23 110)"),
    ]),
    "wgs84": ("Point?crs=EPSG:4326", [("Poznań", 1, "Point(16.93 52.41)")]),
}


@pytest.fixture(scope="module")
def geopackage(tmp_path_factory):
    path = str(tmp_path_factory.mktemp("gpkg") / "dane.gpkg")
    for name, (uri, rows) in LAYERS.items():
        layer = QgsVectorLayer(uri + "&field=nazwa:string&field=kod:integer&field=H:double",
                               name, "memory")
        features = []
        for label, code, wkt, *height in rows:  # H 100 + code unless given (None: NULL)
            feature = QgsFeature(layer.fields())
            feature.setAttributes([label, code, height[0] if height else 100.0 + code])
            feature.setGeometry(QgsGeometry.fromWkt(wkt))
            features.append(feature)
        layer.dataProvider().addFeatures(features)
        options = QgsVectorFileWriter.SaveVectorOptions()
        options.driverName = "GPKG"
        options.layerName = name
        if os.path.exists(path):
            options.actionOnExistingFile = QgsVectorFileWriter.CreateOrOverwriteLayer
        error = QgsVectorFileWriter.writeAsVectorFormatV3(
            layer, path, QgsProject.instance().transformContext(), options)
        assert error[0] == QgsVectorFileWriter.NoError, error
    return path


class Feedback(QgsProcessingFeedback):
    def __init__(self):
        super().__init__()
        self.infos, self.warnings = [], []

    def pushInfo(self, text):  # noqa: N802 (QGIS's name)
        self.infos.append(text)

    def pushWarning(self, text):  # noqa: N802 (QGIS's name)
        self.warnings.append(text)


def run(algorithm, parameters, geopackage=None, layer=None):
    if layer is not None:
        parameters = dict(parameters, INPUT="%s|layername=%s" % (geopackage, layer))
    feedback = Feedback()
    results = processing.run("kolvedir:" + algorithm,
                             dict(dict(OUTPUT="memory:", FAILED="memory:"), **parameters),
                             feedback=feedback)
    return results, feedback


def vertices(geometry):
    return np.array([(v.x(), v.y(), v.z()) for v in geometry.vertices()])


def by_name(layer):
    return {f["nazwa"]: f for f in layer.getFeatures()}


def input_layer(geopackage, name):
    layer = QgsVectorLayer("%s|layername=%s" % (geopackage, name), name, "ogr")
    assert layer.isValid()
    return layer


def test_plugin_loads_without_errors():
    assert PLUGIN_STARTED
    provider = QgsApplication.processingRegistry().providerById("kolvedir")
    assert provider.name() == "Kolvedir"
    assert sorted(a.displayName() for a in provider.algorithms()) == [
        "Przelicz plik punktów", "Przelicz współrzędne warstwy", "Przelicz wysokości"]
    ours = [entry for entry in LOG
            if entry[0] in ("Kolvedir", "Python error", "Python warning") or "kolvedir" in entry[2]]
    assert ours == []


MISSING_MODULE_RUN = """
import sys
sys.path.append("/usr/share/qgis/python/plugins")
sys.path.insert(0, sys.argv[1])
from qgis.core import QgsApplication
application = QgsApplication([], False)
application.initQgis()
log = []
QgsApplication.messageLog().messageReceived.connect(lambda text, tag, level: log.append(text))
import qgis.utils
qgis.utils.loadPlugin("kolvedir_processing")
qgis.utils.startProcessingPlugin("kolvedir_processing")
print(QgsApplication.processingRegistry().providerById("kolvedir") is None, log)
"""


def test_without_the_module_the_plugin_says_so_in_the_log():
    environment = {k: v for k, v in os.environ.items() if k != "PYTHONPATH"}
    done = subprocess.run(["/usr/bin/python3", "-c", MISSING_MODULE_RUN,
                           os.environ["KOLVEDIR_QGIS_PLUGINS"]], env=environment,
                          capture_output=True, text=True, check=True)
    assert done.stdout.startswith("True [\"Kolvedir: brak modułu Pythona kolvedir")


def test_the_zip_holds_the_installed_plugin():
    installed = os.path.join(os.environ["KOLVEDIR_QGIS_PLUGINS"], "kolvedir_processing")
    with zipfile.ZipFile(os.environ["KOLVEDIR_QGIS_ZIP"]) as plugin_zip:
        names = {n for n in plugin_zip.namelist() if not n.endswith("/")}
        metadata = plugin_zip.read("kolvedir_processing/metadata.txt").decode("utf-8")
    assert names == {"kolvedir_processing/" + name for name in os.listdir(installed)
                     if name != "__pycache__"}
    assert "\nversion=%s\n" % kolvedir.__version__ in metadata


# (layer, parameters, library description, output CRS, Z of the output:
#  "none", "kept" or "engine")
LAYER_CASES = [
    ("punkty", {}, dict(source="EPSG:2177", target="xy92", target_frame="PL-ETRF2000"),
     "EPSG:2180", "none"),
    ("punkty_z", {}, dict(source="EPSG:2177", target="xy92", target_frame="PL-ETRF2000"),
     "EPSG:2180", "kept"),
    ("linie", {"TARGET": 3}, dict(source="EPSG:2177", target="BLH_GRS",
                                  target_frame="PL-ETRF2000"), "EPSG:9702", "none"),
    ("poligony_z", {"TARGET": 4, "TARGET_FRAME": 2},
     dict(source="EPSG:2177", target="XYZ_GRS", target_frame="PL-ETRF89"), "EPSG:4936",
     "engine"),
    ("poligony_z", {"TARGET": 5, "TARGET_ZONE": 7, "TARGET_FRAME": 0, "METHOD": 1},
     dict(source="EPSG:2177", target="xy65", target_zone=3, method="theoretical"),
     "EPSG:2173", "kept"),
    ("geodezyjne_z", {"TARGET": 0, "TARGET_ZONE": 2},
     dict(source="EPSG:9701", target="xy2000", target_zone=18, target_frame="PL-ETRF2000"),
     "EPSG:2177", "kept"),
    ("geodezyjne_z", {"TARGET": 11, "TARGET_FRAME": 0},
     dict(source="EPSG:9701", target="BLH_KRA"), "EPSG:4179", "engine"),
    ("punkty_z", {"SOURCE": 1, "SOURCE_ZONE": 2, "SOURCE_FRAME": 1, "TARGET_CRS": "EPSG:2178"},
     dict(source="xy2000", source_zone=18, source_frame="PL-ETRF2000", target="EPSG:2178"),
     "EPSG:2178", "kept"),
]


@pytest.mark.parametrize("layer, parameters, description, crs, z", LAYER_CASES)
def test_layer_equals_the_library(geopackage, layer, parameters, description, crs, z):
    results, feedback = run("transformlayer", parameters, geopackage, layer)
    output = results["OUTPUT"]
    assert output.crs().authid() == crs
    assert feedback.warnings[0] == kolvedir.MODEL_GRID_NOTICE
    assert not any(w.startswith("Warstwa ma układ") for w in feedback.warnings)
    transformer = kolvedir.Transformer(**description)
    source = by_name(input_layer(geopackage, layer))
    transformed = by_name(output)
    good = [name for name in source if name not in by_name(results["FAILED"])]
    assert sorted(transformed) == sorted(good)
    for name in good:
        assert transformed[name].attributes()[1:] == source[name].attributes()[1:]
        before, after = vertices(source[name].geometry()), vertices(transformed[name].geometry())
        geodetic_in = transformer.source_kind == kolvedir.CoordinateKind.GEODETIC
        a, b, c, status = transformer.transform(before[:, 1], before[:, 0],
                                                before[:, 2] if geodetic_in else None)[:4]
        assert not status.any()
        cartesian = transformer.target_kind == kolvedir.CoordinateKind.CARTESIAN
        np.testing.assert_array_equal(after[:, :2], np.column_stack((a, b) if cartesian else (b, a)))
        expected_z = {"none": np.full(len(a), np.nan), "kept": before[:, 2], "engine": c}[z]
        np.testing.assert_array_equal(after[:, 2], expected_z)


@pytest.mark.parametrize("layer, failed_name, input_easting", [
    ("punkty", "inna strefa", 7500457.726), ("linie", "przez strefę", 7510000.0)])
def test_failing_features(geopackage, layer, failed_name, input_easting):
    message = kolvedir.Transformer(source="EPSG:2177", target="xy92",
                                   target_frame="PL-ETRF2000").point_message(4, input_easting)
    results, feedback = run("transformlayer", {}, geopackage, layer)
    failed = by_name(results["FAILED"])
    assert list(failed) == [failed_name] and results["FAILED_COUNT"] == 1
    assert failed[failed_name]["status"] == 4 and failed[failed_name]["message"] == message
    assert failed[failed_name].geometry().equals(
        by_name(input_layer(geopackage, layer))[failed_name].geometry())
    assert results["FAILED"].crs().authid() == "EPSG:2177"
    assert "Obiekty, których nie przeliczono: 1 (w warstwie „Błędne obiekty”)." in feedback.warnings
    with pytest.raises(QgsProcessingException, match=message):
        run("transformlayer", {"ON_FAILURE": 1}, geopackage, layer)


@pytest.mark.parametrize("layer, parameters, warned", [
    ("punkty", {"SOURCE": 2, "SOURCE_FRAME": 1}, True),                  # xy92 on EPSG:2177
    ("punkty", {"SOURCE": 1, "SOURCE_ZONE": 3, "SOURCE_FRAME": 1}, True),  # zone 21 on zone 18
    ("punkty", {"SOURCE": 1, "SOURCE_ZONE": 2, "SOURCE_FRAME": 2}, True),  # PL-ETRF89
    ("geodezyjne_z", {"SOURCE": 4, "SOURCE_FRAME": 1}, False),           # 2D or 3D row alike
])
def test_a_source_other_than_the_layers_crs_is_warned_of(geopackage, layer, parameters, warned):
    _, feedback = run("transformlayer", parameters, geopackage, layer)
    assert any(w.startswith("Warstwa ma układ") for w in feedback.warnings) == warned


def engine_refusal(**description):
    with pytest.raises(kolvedir.Error) as refused:
        kolvedir.Transformer(**description)
    return str(refused.value)


# Wrong parameters: (algorithm, layer, parameters, the Polish message).
WRONG = [
    ("transformlayer", "punkty", {"TARGET": 0},
     engine_refusal(source="EPSG:2177", target="xy2000", target_frame="PL-ETRF2000")),
    ("transformlayer", "punkty", {"SOURCE_ZONE": 3},
     engine_refusal(source="EPSG:2177", source_zone=21, target="xy92",
                    target_frame="PL-ETRF2000")),
    ("transformlayer", "punkty", {"TARGET": 5, "TARGET_ZONE": 5},
     engine_refusal(source="EPSG:2177", target="xy65", target_zone=1,
                    target_frame="PL-ETRF2000")),
    ("transformlayer", "wgs84", {},
     engine_refusal(source="EPSG:4326", target="xy92", target_frame="PL-ETRF2000")),
    ("transformheights", "linie", {"HEIGHT_FROM": 1, "FIELD": "H"},
     "warstwa musi być punktowa"),
    ("transformheights", "punkty", {}, "Warstwa nie ma współrzędnej Z"),
    ("transformheights", "punkty", {"HEIGHT_FROM": 1, "FIELD": "H", "RESULT_FIELD": "kod"},
     "Pole wyniku „kod” jest puste albo już jest w warstwie"),
]


@pytest.mark.parametrize("algorithm, layer, parameters, message", WRONG)
def test_wrong_parameters_give_a_polish_message(geopackage, algorithm, layer, parameters,
                                                message):
    with pytest.raises(QgsProcessingException) as refused:
        run(algorithm, parameters, geopackage, layer)
    assert message in str(refused.value)


# (layer, parameters, height transformer, frame of B L, Z or field)
HEIGHT_CASES = [
    ("punkty_z", {}, dict(source="BLH_K86", target="BLH_EVRF"), "PL-ETRF2000", "z"),
    ("geodezyjne_z", {"TASK": 3}, dict(source="BLH_EVRF", target="BLH_K2006"), "PL-ETRF2000",
     "z"),
    ("punkty", {"TASK": 7, "FRAME": 1, "HEIGHT_FROM": 1, "FIELD": "H"},
     dict(source="BLH_e", source_frame="PL-ETRF89"), "PL-ETRF89", "field"),
    ("linie", {"TASK": 6}, dict(source="BL", source_frame="PL-ETRF2000"), "PL-ETRF2000", "z"),
]


@pytest.mark.parametrize("layer, parameters, description, frame, height_from", HEIGHT_CASES)
def test_heights_equal_the_library(geopackage, layer, parameters, description, frame,
                                   height_from):
    results, feedback = run("transformheights", parameters, geopackage, layer)
    assert kolvedir.MODEL_GRID_NOTICE in feedback.warnings
    source_layer = input_layer(geopackage, layer)
    source, output = by_name(source_layer), by_name(results["OUTPUT"])
    position = kolvedir.Transformer(source=source_layer.crs().authid(), target="BLH_GRS",
                                    target_frame=frame)
    height = kolvedir.Transformer(**description)
    failed = by_name(results["FAILED"])
    assert output.keys() | failed.keys() == source.keys()
    if height_from == "field":  # a NULL height gives no result
        assert failed["bez wysokości"]["status"] == int(kolvedir.PointResult.FAILED)
    for name, feature in output.items():
        before = vertices(source[name].geometry())
        B, L, _, status = position.transform(before[:, 1], before[:, 0])
        h = (before[:, 2] if height_from == "z" and description["source"] != "BL"
             else np.full(len(B), source[name]["H"]) if height_from == "field"
             else np.zeros(len(B)))
        expected = height.transform(B, L, h)[2]
        if height_from == "field":
            assert feature["H_wynik"] == expected[0]
            assert feature.geometry().equals(source[name].geometry())
        else:
            after = vertices(feature.geometry())
            np.testing.assert_array_equal(after[:, :2], before[:, :2])
            np.testing.assert_array_equal(after[:, 2], expected)
        assert feature.attributes()[:3] == source[name].attributes()[:3]


@pytest.fixture(scope="module")
def point_file():
    return os.path.join(os.environ["KOLVEDIR_SAMPLE"], "xy2000")


def test_point_file_as_the_runner_writes_it(point_file, tmp_path):
    output = str(tmp_path / "xy92.1")
    results, feedback = run("transformpointfile", {
        "INPUT": point_file, "SOURCE_ZONE": 3, "OUTPUT": output})
    assert results["OUTPUT"] == output
    runner = str(tmp_path / "runner.1")
    subprocess.run([kolvedir.batch_program(), "--quiet", "--input", point_file, "--output",
                    runner, "--from", "xy2000", "--from-zone", "21", "--from-frame",
                    "PL-ETRF2000", "--to", "xy92", "--to-frame", "PL-ETRF2000"], check=True,
                   capture_output=True)
    with open(output, "rb") as ours, open(runner, "rb") as theirs:
        assert ours.read() == theirs.read()
    assert any("KONIEC OBLICZEŃ" in line for line in feedback.infos)
    assert any("siatką modelową" in line for line in feedback.warnings)


def test_point_file_refused_with_the_runners_message(point_file, tmp_path):
    output = tmp_path / "wynik.1"
    output.write_bytes(b"earlier result\r\n")
    with pytest.raises(QgsProcessingException, match="Nie określono strefy na wejściu"):
        run("transformpointfile", {"INPUT": point_file, "OUTPUT": str(output)})
    assert output.read_bytes() == b"earlier result\r\n"


def test_the_readme_example_as_it_stands(geopackage, tmp_path, monkeypatch):
    with open(os.environ["KOLVEDIR_README"], encoding="utf-8") as readme:
        examples = dict(re.findall(r"<!-- example: (\S+) -->\n```[^\n]*\n(.*?)```",
                                   readme.read(), re.S))
    layer = input_layer(geopackage, "punkty_z")
    options = QgsVectorFileWriter.SaveVectorOptions()
    options.driverName, options.layerName = "GPKG", "dzialki"
    QgsVectorFileWriter.writeAsVectorFormatV3(
        layer, str(tmp_path / "dzialki.gpkg"), QgsProject.instance().transformContext(), options)
    monkeypatch.chdir(tmp_path)
    printed = io.StringIO()
    with contextlib.redirect_stdout(printed):
        exec(examples["qgis"], {})
    assert printed.getvalue() == examples["qgis-output"]
    assert input_layer(str(tmp_path / "dzialki-92.gpkg"), "dzialki-92").crs().authid() == "EPSG:2180"


class CancelAtStart(Feedback):
    """Cancels the run at the first line the job prints (the grid it reads)."""

    def pushInfo(self, text):  # noqa: N802 (QGIS's name)
        super().pushInfo(text)
        self.cancel()


def test_cancelling_a_point_file_keeps_the_earlier_result(tmp_path):
    points = tmp_path / "xy2000"
    points.write_bytes(b"".join(b"P%d 5800000.000 6500000.000\r\n" % i for i in range(1_000_000)))
    output = tmp_path / "xy92.1"
    output.write_bytes(b"earlier result\r\n")
    feedback = CancelAtStart()
    with pytest.raises(QgsProcessingException, match="Zadanie przerwane"):
        processing.run("kolvedir:transformpointfile", {
            "INPUT": str(points), "SOURCE_ZONE": 2, "OUTPUT": str(output)}, feedback=feedback)
    assert output.read_bytes() == b"earlier result\r\n"
    assert sorted(p.name for p in tmp_path.iterdir()) == ["xy2000", "xy92.1"]

