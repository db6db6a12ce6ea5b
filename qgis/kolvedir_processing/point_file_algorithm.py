"""„Przelicz plik punktów”: a point file in the program's own format through a
job of the runner kolvedir-batch, its monitor lines in the Processing log.

The job runs in a process of its own: a job reads the grid of its own, which
must not mix with the transformers of the other algorithms in QGIS's process.
Cancelling stops it as Ctrl+C does: the earlier result file stays."""
import signal
import subprocess

import kolvedir
from qgis.core import (QgsProcessingException, QgsProcessingParameterEnum,
                       QgsProcessingParameterFile, QgsProcessingParameterFileDestination)

from . import common, layer_algorithm, systems

SYSTEMS = systems.PLANE_AND_SPATIAL + systems.HEIGHTS
TARGETS = [("", "brak (zadanie quasigeoidy: wynik z zadania)")] + SYSTEMS
BL_FORMATS = [("dms", "stopnie, minuty, sekundy"), ("deg", "stopnie")]
HELP = """Przelicza zbiór punktów w formacie programu (nazwa i współrzędne w wierszu, \
Windows-1250 albo UTF-8) tak jak „Wykonaj obliczenia”: zadanie TRANS 2D/3D, TRANS-H \
albo quasigeoidy, wybrane z układów wejściowego i wyjściowego. Wynik, z błędnymi \
punktami opisanymi w rekordach, trafia do pliku wynikowego; wcześniejszy plik jest \
zastępowany tylko po udanym zadaniu.

Wiersze monitora zadania i komunikaty programu trafiają do dziennika; przy siatce \
modelowej dziennik ostrzega, że wyniki nie są wynikami siatki urzędowej. Anulowanie \
przerywa zadanie po bieżącym bloku rekordów, nie zmieniając pliku wynikowego."""


class PointFileAlgorithm(common.Algorithm):
    ID, NAME, HELP = "transformpointfile", "Przelicz plik punktów", HELP

    def initAlgorithm(self, config=None):  # noqa: N802 (QGIS's name)
        # Point files are named without an extension ("xy2000"), which QGIS's
        # default filter ("*.*") refuses.
        self.addParameter(QgsProcessingParameterFile(
            "INPUT", "Zbiór punktów", fileFilter="Wszystkie pliki (*)"))
        layer_algorithm.add_side(self, "SOURCE", "wejściowy", systems.labels(SYSTEMS), 0, 1)
        layer_algorithm.add_side(self, "TARGET", "wyjściowy", systems.labels(TARGETS), 2, 1)
        self.addParameter(QgsProcessingParameterEnum(
            "METHOD", "Metoda", options=systems.labels(systems.METHODS), defaultValue=0))
        self.addParameter(QgsProcessingParameterEnum(
            "BL_IN", "Format B, L na wejściu", options=systems.labels(BL_FORMATS),
            defaultValue=0))
        self.addParameter(QgsProcessingParameterEnum(
            "BL_OUT", "Format B, L na wyjściu", options=systems.labels(BL_FORMATS),
            defaultValue=0))
        common.add_grid_parameter(self)
        self.addParameter(QgsProcessingParameterFileDestination(
            "OUTPUT", "Zbiór wynikowy", fileFilter="Zbiór wynikowy (*.1);;Wszystkie pliki (*)"))

    def processAlgorithm(self, parameters, context, feedback):  # noqa: N802 (QGIS's name)
        output = self.parameterAsFileOutput(parameters, "OUTPUT", context)
        command = [kolvedir.batch_program(), "--quiet",
                   "--input", self.parameterAsFile(parameters, "INPUT", context),
                   "--output", output] + self._options(parameters, context)
        feedback.pushCommandInfo(" ".join(command))
        lines = run_job(command, feedback)
        # A job that ended before a late cancel has written its result.
        if lines.returncode == 0:
            feedback.setProgress(100.0)
            return {"OUTPUT": output}
        if feedback.isCanceled():
            raise QgsProcessingException("Zadanie przerwane: plik wynikowy nie został zmieniony.")
        raise QgsProcessingException(lines.last_message or "Zadanie nie doszło do końca.")

    def _options(self, parameters, context):
        def chosen(name, choices):
            return systems.value(choices, self.parameterAsEnum(parameters, name, context))

        options = []
        for flag, name, choices in (
                ("--from", "SOURCE", SYSTEMS), ("--from-zone", "SOURCE_ZONE", systems.ZONES),
                ("--from-frame", "SOURCE_FRAME", systems.FRAMES), ("--to", "TARGET", TARGETS),
                ("--to-zone", "TARGET_ZONE", systems.ZONES),
                ("--to-frame", "TARGET_FRAME", systems.FRAMES),
                ("--method", "METHOD", systems.METHODS), ("--bl-in", "BL_IN", BL_FORMATS),
                ("--bl-out", "BL_OUT", BL_FORMATS)):
            text = chosen(name, choices)
            if text:
                options += [flag, text]
        grid = self.parameterAsFile(parameters, "GRID", context)
        return options + (["--grid", grid] if grid else [])


class JobLines:
    """What a finished job printed: its exit status and its messages."""
    returncode = None
    messages = ()

    @property
    def last_message(self):
        return "\n".join(self.messages)


def run_job(command, feedback):
    """Runs the job. Its messages (standard error) go into the log as they
    come, the model grid's notice as a warning; the monitor lines (standard
    output, a few lines written at the end) follow. Cancelling sends Ctrl+C."""
    lines = JobLines()
    with subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          stdin=subprocess.DEVNULL, text=True, encoding="utf-8",
                          errors="replace") as job:
        def interrupt():
            if job.poll() is None:
                job.send_signal(signal.SIGINT)

        feedback.canceled.connect(interrupt)
        messages = []
        try:
            for line in job.stderr:
                line = line.rstrip("\n")
                if "siatką modelową" in line:
                    feedback.pushWarning(line.strip())
                elif line.strip():
                    feedback.pushInfo(line)
                    messages.append(line)
            for line in job.stdout:
                feedback.pushInfo(line.rstrip("\n"))
        finally:
            feedback.canceled.disconnect(interrupt)
        lines.returncode = job.wait()
    lines.messages = [m for m in messages if not m.startswith("Siatka interpolacyjna:")]
    return lines
