# The package kolvedir is found through PYTHONPATH (the program folder of the
# build); KOLVEDIR_BATCH names the runner kolvedir-batch. CTest sets both.
import os

import pytest


def pytest_configure(config):
    config.addinivalue_line("markers", "cluster: starts a Dask LocalCluster (slow)")


@pytest.fixture(scope="session")
def batch():
    path = os.environ.get("KOLVEDIR_BATCH")
    if not path:
        pytest.fail("KOLVEDIR_BATCH must name the kolvedir-batch program")
    return path
