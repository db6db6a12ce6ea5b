# The Python module: descriptions the engine refuses, the handling of arrays,
# and the statuses of points a job writes as error records.
import numpy as np
import pytest

import kolvedir

XY2000 = dict(source="xy2000", source_zone=18, source_frame="PL-ETRF2000")
TO_XY92 = dict(target="xy92", target_frame="PL-ETRF2000")
# Two points of zone 18 (Kraków, Gdańsk area).
X = np.array([5547000.0, 6030000.0])
Y = np.array([6566000.0, 6472000.0])


@pytest.mark.parametrize("description, message", [
    (dict(source="xy2001", source_frame="PL-ETRF2000", **TO_XY92), "Nie określono zbioru wejściowego"),
    (dict(XY2000, target="xy93", target_frame="PL-ETRF2000"), "Nie określono zbioru wynikowego"),
    (dict(XY2000, target="BLH_K86", target_frame="PL-ETRF2000"), "Nie określono zbioru wynikowego"),
    (dict(source="xy2000", source_frame="PL-ETRF2000", **TO_XY92), "Nie określono strefy na wejściu"),
    (dict(source="xy2000", source_zone=18, **TO_XY92), "Nie określono układu odniesienia na wejściu"),
    (dict(XY2000, target="xy92"), "Nie określono układu odniesienia na wyjściu"),
    (dict(XY2000, target="xy92", target_frame="PULKOWO"), "Nie określono układu odniesienia na wyjściu"),
    (dict(source="xy65", **TO_XY92), "Nie określono strefy na wejściu"),
    (dict(XY2000, target="xy42_3", target_frame="PULKOWO"), "Nie określono strefy na wyjściu"),
    (dict(source="BLH_K86", target="xy92"), "Nie określono zbioru wynikowego"),
    (dict(source="BL"), "ale najpierw określ układ odniesienia"),
    (dict(source="BL", source_frame="PL-ETRF2000", target="BLH_n"), "Nie określono zbioru wynikowego"),
    (dict(XY2000, method="exact", **TO_XY92), 'Nieznana metoda obliczeń: "exact" (empirical lub theoretical)'),
    (dict(XY2000, grid="/nonexistent/PL_grid_001.bin", **TO_XY92),
     " *** Brak pliku bazowego /nonexistent/PL_grid_001.bin"),
])
def test_refused_descriptions_raise_the_engines_message(description, message):
    with pytest.raises(kolvedir.Error) as refused:
        kolvedir.Transformer(**description)
    assert str(refused.value) == message
    assert isinstance(refused.value, ValueError)


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


def test_arrays_of_different_shapes_are_refused(to_xy92):
    with pytest.raises(ValueError):
        to_xy92.transform(X, Y[:1])


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
    # An easting of zone 21 (7 500 000 m) read in zone 18.
    (dict(source="xy2000", source_zone=18, source_frame="PL-ETRF2000", **TO_XY92), [5547000.0],
     [7500457.726], None, ["WRONG_ZONE"]),
    # A zone outside the tables fails every point (an easting of no zone's band).
    (dict(source="xy2000", source_zone=17, source_frame="PL-ETRF2000", **TO_XY92), [5547000.0],
     [566000.0], None, ["FAILED"]),
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
