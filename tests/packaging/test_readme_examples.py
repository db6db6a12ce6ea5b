# The README's examples as they stand, against this build installed into a
# temporary prefix and then moved (an unpacked tree works under any prefix):
# the C++ example built with find_package(Kolvedir) and with pkg-config, the
# Python and Dask examples with PYTHONPATH pointing at the installed tree only,
# and the runner's pipeline. Each example's output is compared with the block
# the README shows after it.
import os
import re
import subprocess

import pandas as pd
import pytest

README = os.environ["KOLVEDIR_README"]
VERSION = os.environ["KOLVEDIR_VERSION"]
LIBDIR = os.environ["KOLVEDIR_LIBDIR"]


def readme_examples():
    """The blocks marked <!-- example: NAME --> in the README, by name."""
    with open(README, encoding="utf-8") as f:
        text = f.read()
    return dict(re.findall(r"<!-- example: (\S+) -->\n```[^\n]*\n(.*?)```", text, re.S))


EXAMPLES = readme_examples()


@pytest.fixture(scope="module")
def prefix(tmp_path_factory):
    root = tmp_path_factory.mktemp("tree")
    subprocess.run([os.environ["CMAKE_COMMAND"], "--install", os.environ["KOLVEDIR_BUILD_DIR"],
                    "--prefix", root / "installed"], check=True, stdout=subprocess.DEVNULL)
    moved = root / "moved"
    (root / "installed").rename(moved)
    return moved


@pytest.fixture
def user(prefix, tmp_path):
    """A user's folder and environment: the installed tree's programs, library
    and Python package, and an empty data folder (so the installed grid is read)."""
    environment = dict(os.environ,
                       PATH=f"{prefix / 'bin'}:{os.environ['PATH']}",
                       PYTHONPATH=str(prefix / os.environ["KOLVEDIR_PYTHONDIR"] / ".."),
                       CMAKE_PREFIX_PATH=str(prefix),
                       PKG_CONFIG_PATH=str(prefix / LIBDIR / "pkgconfig"),
                       LD_LIBRARY_PATH=str(prefix / LIBDIR),
                       XDG_DATA_HOME=str(tmp_path / "data"))
    work = tmp_path / "work"
    work.mkdir()
    return work, environment


def run(command, user, **kwargs):
    work, environment = user
    done = subprocess.run(command, cwd=work, env=environment, capture_output=True, text=True,
                          **kwargs)
    assert done.returncode == 0, done.stdout + done.stderr
    return done.stdout


def lines(text):
    return [line.rstrip() for line in text.splitlines()]


def last_lines(text, expected):
    """The last lines of text, as many as expected has (build tools talk
    first), without the ends of line and the blanks before them."""
    return lines(text)[-len(lines(expected)):]


@pytest.mark.parametrize("build", ["cpp-build-cmake", "cpp-build-pkg-config"])
def test_the_cpp_example_builds_against_the_installed_tree(user, build):
    work, _ = user
    (work / "example.cpp").write_text(EXAMPLES["cpp"])
    (work / "CMakeLists.txt").write_text(EXAMPLES["cpp-cmake"])
    out = run(["bash", "-e", "-c", EXAMPLES[build]], user)
    assert last_lines(out, EXAMPLES["library-output"]) == lines(EXAMPLES["library-output"])


def test_the_python_example_imports_the_installed_package(user):
    out = run(["/usr/bin/python3", "-c", EXAMPLES["python"]], user)
    assert lines(out) == lines(EXAMPLES["library-output"])


def test_the_dask_example_writes_csv(user):
    work, _ = user
    for part, (north, east) in enumerate([(5652126.56, 6429808.46), (5547000.0, 6566000.0)]):
        (work / f"points-{part}.csv").write_text(f"north,east\n{north},{east}\n")
    run(["/usr/bin/python3", "-c", EXAMPLES["dask"]], user)
    results = sorted(work.glob("points-xy92-*.csv"))
    assert len(results) == 2
    for result in results:
        frame = pd.read_csv(result)
        assert {"x", "y", "h", "status"} <= set(frame.columns)
        assert frame["status"].tolist() == [0]


def test_the_runners_pipeline(user):
    out = run(["bash", "-e", "-c", EXAMPLES["runner-pipeline"]], user)
    assert last_lines(out, EXAMPLES["runner-pipeline-output"]) == \
        lines(EXAMPLES["runner-pipeline-output"])


def test_every_face_shows_the_one_version(user, prefix):
    header = (prefix / "include" / "kolvedir" / "version.h").read_text()
    faces = {
        "runner": run(["kolvedir-batch", "--version"], user).strip(),
        "python": run(["/usr/bin/python3", "-c", "import kolvedir; print(kolvedir.__version__)"],
                      user).strip(),
        "pkg-config": run(["pkg-config", "--modversion", "kolvedir"], user).strip(),
        "header": re.search(r'#define KOLVEDIR_VERSION "([^"]*)"', header).group(1),
    }
    assert faces == {"runner": f"kolvedir-batch {VERSION}", "python": VERSION,
                     "pkg-config": VERSION, "header": VERSION}


def test_the_library_exports_its_interface_alone(user, prefix):
    major = VERSION.split(".")[0]
    library = prefix / LIBDIR / f"libkolvedir.so.{major}"
    dynamic = run(["objdump", "-p", str(library)], user)
    assert re.search(rf"SONAME\s+libkolvedir\.so\.{major}\n", dynamic)
    symbols = run(["nm", "-D", "--defined-only", "--demangle", str(library)], user)
    names = [line.split(" ", 2)[2] for line in symbols.splitlines()]
    public = re.compile(r"(kolvedir::(Transformer|TransformerError|DefaultGridFile)\b"
                        r"|(typeinfo|typeinfo name|vtable) for kolvedir::TransformerError@"
                        r"|KOLVEDIR_)")
    assert [n for n in names if not public.match(n)] == []
    assert any(n.startswith("kolvedir::Transformer::Transform(") for n in names)
