#include "shell/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kolvedir {

QStringList QtTranslationFolders(const QString& programFolder) {
  return {programFolder, QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

bool InstallQtPolishTranslations(const QStringList& folders) {
  auto* translator = new QTranslator(QCoreApplication::instance());
  for (const QString& folder : folders) {
    if (translator->load(QStringLiteral("qtbase_pl"), folder) &&
        QCoreApplication::installTranslator(translator))
      return true;
  }
  delete translator;
  return false;
}

}  // namespace kolvedir
