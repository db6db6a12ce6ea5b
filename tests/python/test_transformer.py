# The Python module: descriptions refused as kolvedir-batch refuses them, the
# model grid, the handling of arrays, and the statuses of points a job writes
# as error records.
import json
import os
import shutil
import subprocess
import sys

import numpy as np
import pytest

import kolvedir

XY2000 = dict(source="xy2000", source_zone=18, source_frame="PL-ETRF2000")
TO_XY92 = dict(target="xy92", target_frame="PL-ETRF2000")
# Two points of zone 18 (Kraków, Gdańsk area).
X = np.array([5547000.0, 6030000.0])
Y = np.array([6566000.0, 6472000.0])
# B, L (degrees) of two points, for geodetic input, which reads z as h.
B = np.array([52.0, 50.5])
L = np.array([19.0, 21.0])


KNOWN_INPUTS = ("xy2000, xy92, UTM, BLH_GRS, XYZ_GRS, xy65, xy42_3, xy42_6, xy42_83_3, "
                "xy42_83_6, xyTARVO80, BLH_KRA, XYZ_KRA, BLH_K86, BLH_K2006, BLH_EVRF, BL, BLH_e, "
                "BLH_n")
KNOWN_OUTPUTS = ("xy2000, xy92, UTM, BLH_GRS, XYZ_GRS, xy65, xy42_3, xy42_6, xy42_83_3, "
                 "xy42_83_6, xyTARVO80, BLH_KRA, XYZ_KRA, BLH_K86, BLH_K2006, BLH_EVRF, BLn, "
                 'BLH_n, BLH_e (z ".1" lub bez)')
XY2000_ZONES = "--from-zone: xy2000 ma strefy 15, 18, 21, 24"
NOT_A_NUMBER = "--from-zone: wartość nie jest liczbą całkowitą"
RUNNER_OPTIONS = dict(source="--from", source_zone="--from-zone", source_frame="--from-frame",
                      target="--to", target_zone="--to-zone", target_frame="--to-frame",
                      method="--method", grid="--grid", threads="--threads")

# Descriptions kolvedir-batch refuses, as keywords of kolvedir.Transformer
# (threads: of transform), and the message both give.
REFUSED = [
    (dict(source=None, **TO_XY92), "brak opcji --from"),
    (dict(source="xy1992", source_frame="PL-ETRF2000", **TO_XY92),
     f'nieznany układ wejściowy "xy1992"; znane: {KNOWN_INPUTS}'),
    (dict(XY2000, target="xy93", target_frame="PL-ETRF2000"),
     f'nieznany układ wynikowy "xy93"; znane: {KNOWN_OUTPUTS}'),
    (dict(XY2000, source_frame="ETRF2000", **TO_XY92),
     "--from-frame: ETRF2000 nie jest jedną z wartości PL-ETRF2000|PL-ETRF89|PULKOWO"),
    (dict(XY2000, target="xy92", target_frame="etrf89"),
     "--to-frame: etrf89 nie jest jedną z wartości PL-ETRF2000|PL-ETRF89|PULKOWO"),
    (dict(XY2000, method="exact", **TO_XY92),
     "--method: exact nie jest jedną z wartości empirical|theoretical"),
    (dict(XY2000, source_zone=19, **TO_XY92), XY2000_ZONES),
    (dict(XY2000, source_zone=17, **TO_XY92), XY2000_ZONES),
    (dict(XY2000, source_zone=5, **TO_XY92), XY2000_ZONES),
    (dict(XY2000, source_zone=-18, **TO_XY92), XY2000_ZONES),
    (dict(XY2000, source_zone=99, **TO_XY92), XY2000_ZONES),
    (dict(XY2000, source_zone=0, **TO_XY92), XY2000_ZONES),
    (dict(XY2000, source_zone="0x12", **TO_XY92), NOT_A_NUMBER),
    (dict(XY2000, source_zone=18.0, **TO_XY92), NOT_A_NUMBER),
    (dict(XY2000, source_zone=" 18", **TO_XY92), NOT_A_NUMBER),
    (dict(XY2000, target="UTM", target_zone="18", target_frame="PL-ETRF2000"),
     "--to-zone: UTM ma strefy 15, 21"),
    (dict(XY2000, target="UTM", target_zone="1e1", target_frame="PL-ETRF2000"),
     "--to-zone: wartość nie jest liczbą całkowitą"),
    (dict(source="xy92", source_zone=18, source_frame="PL-ETRF2000", **TO_XY92),
     "--from-zone: xy92 nie ma stref"),
    (dict(XY2000, target="xy92", target_zone=18, target_frame="PL-ETRF2000"),
     "--to-zone: xy92 nie ma stref"),
    (dict(source="xy65", source_zone=6, **TO_XY92), "--from-zone: xy65 ma strefy 1, 2, 3, 4, 5"),
    (dict(source="xy65", source_zone=1, source_frame="PL-ETRF89", **TO_XY92),
     "--from-frame: xy65 jest układem PULKOWO"),
    (dict(XY2000, target="xy92", target_frame="PULKOWO"),
     "--to-frame: xy92 wymaga PL-ETRF2000 lub PL-ETRF89"),
    (dict(XY2000, target="BLH_K86"), "--to BLH_K86: inny moduł niż --from xy2000"),
    (dict(source="BLH_K86", target="xy92"), "--to xy92: inny moduł niż --from BLH_K86"),
    (dict(source="BLH_K86", target="BLH_EVRF", source_frame="PL-ETRF89"),
     "--from-frame/--to-frame nie dotyczy TRANS-H"),
    (dict(source="BLH_K86", target="BLH_EVRF", target_zone=18),
     "--from-zone/--to-zone nie dotyczy TRANS-H"),
    (dict(source="BL", source_frame="PL-ETRF2000", target="BLH_n"), "wynikiem BL jest BLn.1"),
    (dict(source="BL", source_frame="PULKOWO"), "--from-frame PULKOWO nie dotyczy quasigeoidy"),
    (dict(source="BLH_e", source_frame="PL-ETRF89", target_frame="PL-ETRF89"),
     "--to-frame nie dotyczy quasigeoidy"),
    (dict(source="BLH_n", source_frame="PL-ETRF89", source_zone=18),
     "--from-zone/--to-zone nie dotyczy quasigeoidy"),
    # A missing target is told before any missing frame.
    (dict(source="xy92"), "Nie określono zbioru wynikowego"),
    (dict(source="BLH_K86"), "Nie określono zbioru wynikowego"),
    (dict(XY2000, **TO_XY92, threads=-1), "--threads: -1 nie jest liczbą wątków"),
    (dict(XY2000, **TO_XY92, threads=10000), "--threads: 10000 nie jest liczbą wątków"),
    # Choices left to the job: its own messages.
    (dict(source="xy2000", source_frame="PL-ETRF2000", **TO_XY92), "Nie określono strefy na wejściu"),
    (dict(source="xy2000", source_zone=18, **TO_XY92), "Nie określono układu odniesienia na wejściu"),
    (dict(XY2000, target="xy92"), "Nie określono układu odniesienia na wyjściu"),
    (dict(source="xy65", **TO_XY92), "Nie określono strefy na wejściu"),
    (dict(XY2000, target="xy42_3", target_frame="PULKOWO"), "Nie określono strefy na wyjściu"),
    (dict(source="BL"), "ale najpierw określ układ odniesienia"),
    (dict(XY2000, grid="/nonexistent/PL_grid_001.bin", **TO_XY92),
     " *** Brak pliku bazowego /nonexistent/PL_grid_001.bin"),
]


def runner_message(batch, tmp_path, description):
    """What kolvedir-batch says of the description on standard error, but the notes."""
    command = [batch, "--input", "/dev/null", "--output", str(tmp_path / "wynik")]
    for key, value in dict(dict(grid=kolvedir.default_grid()), **description).items():
        command += [] if value is None else [RUNNER_OPTIONS[key], str(value)]
    finished = subprocess.run(command, capture_output=True, text=True)
    assert finished.returncode in (1, 2), finished.stderr
    notes = (kolvedir._kolvedir.MODEL_GRID_NOTICE, "Więcej: kolvedir-batch --help")
    lines = [line for line in finished.stderr.splitlines() if line not in notes]
    assert len(lines) == 1, finished.stderr
    return lines[0].removeprefix("kolvedir-batch: ")


@pytest.mark.parametrize("description, message", REFUSED)
def test_what_the_runner_refuses_raises_the_runners_message(batch, tmp_path, description,
                                                             message):
    assert runner_message(batch, tmp_path, description) == message
    keywords = dict(description)
    threads = keywords.pop("threads", None)
    with pytest.raises(kolvedir.Error) as refused:
        kolvedir.Transformer(**keywords).transform([], [], threads=threads)
    assert str(refused.value) == message
    assert isinstance(refused.value, ValueError)


# Two transformers in a fresh interpreter: their model_grid, then the
# categories of the warnings given.
TWO_TRANSFORMERS = """
import json, sys, warnings
import kolvedir
warnings.simplefilter("always")
with warnings.catch_warnings(record=True) as caught:
    warnings.simplefilter("always")
    flags = [kolvedir.Transformer(source="BL", source_frame="PL-ETRF2000", grid=sys.argv[1]).model_grid
             for _ in range(2)]
print(json.dumps([flags, [(w.category.__name__, str(w.message)) for w in caught]]))
"""


@pytest.mark.parametrize("marked, told", [
    (True, [["ModelGridWarning", kolvedir._kolvedir.MODEL_GRID_NOTICE]]),  # once per process
    (False, []),  # an official grid: the model's bytes without the model's marker
])
def test_the_model_grid_is_told_once_per_process(tmp_path, marked, told):
    grid = tmp_path / "PL_grid_001.bin"
    shutil.copyfile(kolvedir.default_grid(), grid)
    if marked:
        shutil.copyfile(os.path.join(os.path.dirname(kolvedir.default_grid()), "PL_grid_001.model"),
                        tmp_path / "PL_grid_001.model")
    run = subprocess.run([sys.executable, "-c", TWO_TRANSFORMERS, str(grid)], capture_output=True,
                         text=True, check=True)
    assert json.loads(run.stdout) == [[marked, marked], told]


@pytest.fixture(scope="module")
def to_xy92():
    return kolvedir.Transformer(**XY2000, **TO_XY92)


def test_plane_output_carries_distortion_and_convergence(to_xy92):
    x, y, h, status, distortion, convergence = to_xy92.transform(X, Y)
    assert status.tolist() == [0, 0]
    assert all(a.dtype == np.float64 and a.shape == (2,) for a in (x, y, h, distortion, convergence))
    assert np.all((x > 100000) & (x < 800000)) and np.all(np.abs(distortion) < 100)


@pytest.mark.parametrize("bad", [np.nan, np.inf, -np.inf])
def test_a_non_finite_coordinate_fails_only_its_point(to_xy92, bad):
    x, y, h, status, distortion, convergence = to_xy92.transform(np.append(X, bad), np.append(Y, 6500000.0))
    assert status.tolist() == [0, 0, int(kolvedir.PointResult.FAILED)]
    assert all(np.isnan(a[2]) for a in (x, y, h, distortion, convergence))
    assert not np.isnan(x[:2]).any()


def test_arrays_of_any_layout_give_the_same_numbers(to_xy92):
    expected = to_xy92.transform(X, Y)
    wide = np.zeros((2, 3))
    wide[:, 0], wide[:, 2] = X, Y
    strided = to_xy92.transform(wide[:, 0], wide[:, 2])  # not contiguous
    assert not wide[:, 0].flags.c_contiguous
    grid = to_xy92.transform(X.reshape(2, 1), Y.reshape(2, 1))  # shape kept
    as_lists = to_xy92.transform(X.tolist(), Y.tolist())
    for result in (strided, grid, as_lists):
        for got, want in zip(result, expected):
            np.testing.assert_array_equal(got.ravel(), want)
    assert grid[0].shape == (2, 1)


def test_empty_arrays_give_empty_results(to_xy92):
    result = to_xy92.transform(np.array([]), np.array([]))
    assert len(result) == 6 and all(a.size == 0 for a in result)


@pytest.mark.parametrize("b, l, h", [
    (B, L[:1], None),
    (B, L, np.array([100.0, 200.0, 300.0])),
    (B, L, np.array([100.0])),
    (B.reshape(2, 1), L.reshape(2, 1), np.zeros((1, 2))),
], ids=["y of another length", "longer z", "shorter z", "z (1, 2) for x (2, 1)"])
def test_arrays_of_different_shapes_are_refused(b, l, h):
    from_blh = kolvedir.Transformer(source="BLH_GRS", source_frame="PL-ETRF2000", **TO_XY92)
    assert from_blh.transform(B, L, np.zeros(2))[3].tolist() == [0, 0]
    with pytest.raises(ValueError):
        from_blh.transform(b, l, h)


def test_threads_give_the_numbers_of_one_thread(to_xy92):
    rng = np.random.default_rng(7)
    x = rng.uniform(5450000, 6070000, 200_000)
    y = rng.uniform(6380000, 6620000, 200_000)
    one = to_xy92.transform(x, y, threads=1)
    four = to_xy92.transform(x, y, threads=4)
    for a, b in zip(one, four):
        np.testing.assert_array_equal(a, b)


@pytest.mark.parametrize("description, a, b, c, expected", [
    # Geodetic input outside 49°–55° N, 14°–24.2° E, bounds included.
    (dict(source="BLH_GRS", source_frame="PL-ETRF2000", **TO_XY92), [48.9, 49.0], [19.0, 19.0], None,
     ["OUT_OF_AREA", "GOOD"]),
    # 482 cm/km in the zone of central meridian 15.
    (dict(source="BLH_GRS", source_frame="PL-ETRF2000", target="xy2000", target_zone=15,
          target_frame="PL-ETRF2000"), [51.0], [24.0], None, ["DISTORTED"]),
    (dict(source="XYZ_GRS", source_frame="PL-ETRF89", target="BLH_GRS", target_frame="PL-ETRF89"),
     [0.0], [0.0], [0.0], ["FAILED"]),
    # An easting of zone 21 (7 500 000 m) read in zone 18 (given as the runner's text).
    (dict(source="xy2000", source_zone="18", source_frame="PL-ETRF2000", **TO_XY92), [5547000.0],
     [7500457.726], None, ["WRONG_ZONE"]),
    (dict(source="BLH_K86", target="BLH_EVRF"), [48.0, 52.0], [19.0, 19.0], [100.0, 100.0],
     ["OUT_OF_AREA", "GOOD"]),
    # The anomaly reads no height: not even a NaN one fails its point.
    (dict(source="BL", source_frame="PL-ETRF2000"), [52.0, 52.0], [19.0, 19.0], [np.nan, 1.0],
     ["GOOD", "GOOD"]),
])
def test_error_points_have_a_status_and_nan_outputs(description, a, b, c, expected):
    result = kolvedir.Transformer(**description).transform(a, b, c)
    status = result[3]
    assert [kolvedir.PointResult(s).name for s in status] == expected
    bad = status != 0
    for values in result[:3] + result[4:]:
        assert np.isnan(values[bad]).all() and not np.isnan(values[~bad]).any()


@pytest.mark.parametrize("description", [
    dict(source="XYZ_GRS", source_frame="PL-ETRF2000", **TO_XY92),
    dict(source="BLH_K86", target="BLH_K2006"),
    dict(source="BLH_e", source_frame="PL-ETRF89"),
])
def test_transformations_of_heights_need_z(description):
    with pytest.raises(ValueError, match="c"):
        kolvedir.Transformer(**description).transform([52.0], [19.0])


# EPSG and common names choose our systems; the numbers stay ours.
@pytest.mark.parametrize("named", [
    lambda: kolvedir.Transformer.from_crs("EPSG:2177", "EPSG:2180", method="empirical"),
    lambda: kolvedir.Transformer.from_crs(2177, 2180),
    lambda: kolvedir.Transformer(source="PL-2000/18", source_frame="PL-ETRF2000",
                                 target="PUWG 1992", target_frame="PL-ETRF2000"),
    lambda: kolvedir.Transformer(source="EPSG:2177", target="CS92", target_frame="PL-ETRF2000"),
])
def test_names_are_the_standard_system(named):
    reference = kolvedir.Transformer(**XY2000, **TO_XY92)
    for got, expected in zip(named().transform(X, Y), reference.transform(X, Y)):
        np.testing.assert_array_equal(got, expected)


@pytest.mark.parametrize("description, message", [
    (dict(source="EPSG:2177", source_zone=15, **TO_XY92),
     "--from EPSG:2177 to xy2000, strefa 18, PL-ETRF2000, a --from-zone podaje 15"),
    (dict(source="EPSG:2177", source_frame="PL-ETRF89", **TO_XY92),
     "--from EPSG:2177 to xy2000, strefa 18, PL-ETRF2000, a --from-frame podaje PL-ETRF89"),
])
def test_names_contradicted_are_refused_naming_both(description, message):
    with pytest.raises(kolvedir.Error) as refused:
        kolvedir.Transformer(**description)
    assert str(refused.value) == message


def test_dask_takes_the_names_too():
    import dask.dataframe as dd
    import pandas as pd
    import kolvedir.dask

    frame = dd.from_pandas(pd.DataFrame({"north": X, "east": Y}), npartitions=1)
    named = kolvedir.dask.transform(frame, "north", "east", source="EPSG:2177",
                                    target="EPSG:2180").compute(scheduler="sync")
    standard = kolvedir.dask.transform(frame, "north", "east", **XY2000,
                                       **TO_XY92).compute(scheduler="sync")
    pd.testing.assert_frame_equal(named, standard)
