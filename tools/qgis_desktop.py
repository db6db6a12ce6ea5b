"""Run inside the QGIS desktop program (qgis --code) by
scripts/screenshots-qgis.sh: once QGIS has started the plugins its profile
turns on, shows the Processing Toolbox filtered to the provider's
algorithms, then writes a picture of the main window and every tab of QGIS's
log panel into $KOLVEDIR_SCREENSHOTS, and quits."""
import os

from qgis.PyQt.QtCore import QTimer
from qgis.PyQt.QtWidgets import QDockWidget, QLineEdit, QPlainTextEdit, QTabWidget, QTextEdit
from qgis.utils import active_plugins, iface

OUTPUT = os.environ["KOLVEDIR_SCREENSHOTS"]


def docks():
    return {d.objectName(): d for d in iface.mainWindow().findChildren(QDockWidget)}


def show_toolbox():
    toolbox = docks()["ProcessingToolbox"]
    toolbox.show()
    for search in toolbox.findChildren(QLineEdit):
        search.setText("Przelicz")
    QTimer.singleShot(3000, save_and_quit)


def log_text():
    lines = ["active plugins: %s" % sorted(active_plugins)]
    for tabs in docks()["MessageLog"].findChildren(QTabWidget):
        for i in range(tabs.count()):
            lines.append("== %s" % tabs.tabText(i))
            page = tabs.widget(i)  # a text widget itself, or holding one
            texts = [page] if isinstance(page, (QPlainTextEdit, QTextEdit)) else []
            texts += page.findChildren(QPlainTextEdit) + page.findChildren(QTextEdit)
            lines += [text.toPlainText() for text in texts]
    return "\n".join(lines) + "\n"


def save_and_quit():
    iface.mainWindow().grab().save(os.path.join(OUTPUT, "qgis-przybornik.png"))
    with open(os.path.join(OUTPUT, "qgis-dziennik.txt"), "w", encoding="utf-8") as log:
        log.write(log_text())
    iface.actionExit().trigger()


QTimer.singleShot(5000, show_toolbox)
