"""The QGIS plugin Kolvedir: a Processing provider over the installed module kolvedir."""


def classFactory(iface):  # noqa: N802 (QGIS's name)
    from .plugin import KolvedirPlugin
    return KolvedirPlugin(iface)
