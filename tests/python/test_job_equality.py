# The library computes what a job writes: for every pair of systems and both
# methods, a job of kolvedir-batch runs on a generated object and every record
# of its result file holds the library's numbers printed with the job's
# decimals; its error records are the library's non-zero statuses.
import re
import subprocess

import numpy as np
import pytest

import kolvedir

# TRANS 2D/3D systems with a frame and a zone each: (name, frame, zone).
GRS80 = [("xy2000", 18), ("xy92", None), ("UTM", 21), ("BLH_GRS", None), ("XYZ_GRS", None)]
PULKOVO = [("xy65", 3), ("xy42_3", 18), ("xy42_6", 21), ("xy42_83_3", 18), ("xy42_83_6", 21),
           ("xyTARVO80", None), ("BLH_KRA", None), ("XYZ_KRA", None)]
SYSTEMS = ([(name, frame, zone) for name, zone in GRS80 for frame in ("PL-ETRF2000", "PL-ETRF89")]
           + [(name, "PULKOWO", zone) for name, zone in PULKOVO])

# PL-ETRF2000 points across the country, one far east (too distorted for the
# zones of the west) and one south of the admissible area.
rng = np.random.default_rng(2026)
B = np.append(rng.uniform(49.3, 54.7, 10), [50.5, 48.8])
L = np.append(rng.uniform(14.3, 23.9, 10), [23.9, 19.0])
H = np.append(rng.uniform(-20.0, 900.0, 10), [150.0, 200.0])


def write_points(folder, name, a, b, c, decimals=10):
    """The input file of a generated object: decimal values, as a job reads them back."""
    lines = [f"P{i} {x:.{decimals}f} {y:.{decimals}f}" + ("" if c is None else f" {z:.4f}")
             for i, (x, y, z) in enumerate(zip(a, b, c if c is not None else a)) if np.isfinite(x)]
    (folder / name).write_bytes(("\r\n".join(lines) + "\r\n").encode())
    values = np.array([[float(t) for t in line.split()[1:]] for line in lines])
    return [values[:, k] for k in range(values.shape[1])]


def source_points(folder, name, frame, zone):
    """The points in system `name`, written as its input file; the values as read."""
    to_source = kolvedir.Transformer(source="BLH_GRS", source_frame="PL-ETRF2000", target=name,
                                     target_zone=zone, target_frame=frame, method="theoretical")
    a, b, c, *_ = to_source.transform(B, L, H)
    plane = to_source.target_is_plane
    return write_points(folder, name, a, b, None if plane else c)


def run_job(batch, folder, source, target, method, grid, height_job=False):
    (name, frame, zone), (out_name, out_frame, out_zone) = source, target
    command = [batch, "--object", str(folder), "--from", name, "--to", out_name,
               "--bl-in", "deg", "--bl-out", "deg", "--grid", grid]
    if not height_job:
        command += ["--method", method, "--from-frame", frame, "--to-frame", out_frame]
        command += ["--from-zone", str(zone)] if zone else []
        command += ["--to-zone", str(out_zone)] if out_zone else []
    elif frame:
        command += ["--from-frame", frame]
    finished = subprocess.run(command, capture_output=True)
    assert finished.returncode == 0, finished.stderr.decode()
    output = out_name if out_name.endswith(".1") else out_name + ".1"
    return (folder / output).read_bytes().decode("cp1250").splitlines()


NUMBER = re.compile(r"-?\d+\.\d+")


def record_numbers(line):
    """The numbers of a good record (after the 16 characters of the name)."""
    return NUMBER.findall(line[16:].split("OPCJA")[0].split(" PL-")[0].split(" PULKOWO")[0])


def check_records(lines, result, formats):
    status = result[3]
    assert len(lines) == len(status)
    for line, i in zip(lines, range(len(status))):
        error = "***" in line or " ! " in line
        assert error == (status[i] != 0), line
        if "! punkt poza" in line:
            assert status[i] == int(kolvedir.PointResult.OUT_OF_AREA), line
        if not error:
            values = [result[k][i] for k, _ in formats]
            expected = [f"{v:.{d}f}" for v, (_, d) in zip(values, formats)]
            assert record_numbers(line)[:len(expected)] == expected, line
    return int((status == 0).sum())


def trans_formats(plane, kind):
    if plane:
        return [(0, 4), (1, 4), (4, 2), (5, 8)]  # x, y, distortion, convergence
    return [(0, 10), (1, 10), (2, 4)] if kind == "BLH" else [(0, 4), (1, 4), (2, 4)]


@pytest.mark.parametrize("method", ["empirical", "theoretical"])
@pytest.mark.parametrize("source", SYSTEMS, ids=lambda s: f"{s[0]}-{s[1]}")
def test_trans_jobs_write_the_librarys_numbers(tmp_path, batch, source, method):
    name, frame, zone = source
    values = source_points(tmp_path, name, frame, zone)
    good = 0
    for target in SYSTEMS:
        out_name, out_frame, out_zone = target
        transformer = kolvedir.Transformer(source=name, source_zone=zone, source_frame=frame,
                                           target=out_name, target_zone=out_zone,
                                           target_frame=out_frame, method=method)
        result = transformer.transform(*values, threads=1)
        lines = run_job(batch, tmp_path, source, target, method, kolvedir.default_grid())
        kind = "BLH" if out_name.startswith("BLH") else "other"
        good += check_records(lines, result, trans_formats(transformer.target_is_plane, kind))
    assert good > len(SYSTEMS) * len(values[0]) // 2  # most points are good ones


HEIGHT_JOBS = ([((a, None, None), (b, None, None)) for a in ("BLH_K86", "BLH_K2006", "BLH_EVRF")
                for b in ("BLH_K86", "BLH_K2006", "BLH_EVRF")]
               + [((task, frame, None), (out, None, None)) for task, out in
                  (("BL", "BLn"), ("BLH_e", "BLH_n"), ("BLH_n", "BLH_e"))
                  for frame in ("PL-ETRF2000", "PL-ETRF89")])


@pytest.mark.parametrize("source, target", HEIGHT_JOBS, ids=lambda s: "-".join(filter(None, s[:2])))
def test_height_jobs_write_the_librarys_heights(tmp_path, batch, source, target):
    (name, frame, _), (out_name, _, _) = source, target
    # 8 decimals: the job writes B, L back with 9, from their degrees, minutes and seconds.
    values = write_points(tmp_path, name, B, L, H, decimals=8)
    transformer = kolvedir.Transformer(source=name, source_frame=frame,
                                       target=out_name if name != "BL" else None)
    result = transformer.transform(*values)
    lines = run_job(batch, tmp_path, source, target, None, kolvedir.default_grid(),
                    height_job=True)
    # Records hold B′, L′ (9 decimals) and the height (4 decimals).
    assert check_records(lines, result, [(0, 9), (1, 9), (2, 4)]) > 0
