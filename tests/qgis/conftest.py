# QGIS headless with the plugin loaded as Debian's QGIS loads a system plugin:
# from the folder KOLVEDIR_QGIS_PLUGINS of an installed tree, whose Python
# module PYTHONPATH names (CTest sets both). QGIS must be up before the tests
# import anything of it, so this runs at import.
import os
import sys
import tempfile

# The user's data folder is empty: the installed tree's grid is read.
os.environ["XDG_DATA_HOME"] = tempfile.mkdtemp(prefix="kolvedir-qgis-data-")
sys.path.append("/usr/share/qgis/python/plugins")
sys.path.insert(0, os.environ["KOLVEDIR_QGIS_PLUGINS"])

from qgis.core import QgsApplication  # noqa: E402

APPLICATION = QgsApplication([], False)
APPLICATION.initQgis()
# Every message of QGIS's log from here on: (tag, level, text).
LOG = []
QgsApplication.messageLog().messageReceived.connect(
    lambda text, tag, level: LOG.append((tag, int(level), text)))

from processing.core.Processing import Processing  # noqa: E402
import qgis.utils  # noqa: E402

Processing.initialize()
PLUGIN_STARTED = (qgis.utils.loadPlugin("kolvedir_processing") and
                  qgis.utils.startProcessingPlugin("kolvedir_processing"))
