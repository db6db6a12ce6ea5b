#pragma once
// Qt's own Polish texts: the standard buttons (Tak/Nie/Anuluj), the file,
// font and print dialogs.
#include <QString>
#include <QStringList>

namespace kolvedir {

// The folders searched for qtbase_pl.qm, in order: the program folder (a copy
// shipped with the program wins), then Qt's translations folder.
QStringList QtTranslationFolders(const QString& programFolder);

// Installs into the running application the first qtbase_pl.qm found in
// `folders`. Returns false when none is found or loads; the dialogs then keep
// Qt's English texts and everything else works as before.
bool InstallQtPolishTranslations(const QStringList& folders);

}  // namespace kolvedir
