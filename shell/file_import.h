#pragma once
// "&Importuj pliki...": copies files chosen by the user into the working
// object through the copy library. A file of the same name in the object is
// replaced only when the user agrees, and then goes to the trash first.
#include <QString>
#include <QStringList>

class QWidget;

namespace kolvedir {

// Copies every file of sources into objectFolder under its own name. For a
// file the object holds already asks "Tak", "Nie", "Tak dla wszystkich" or
// "Anuluj" (which leaves the rest uncopied); a replaced file is moved to the
// trash (where there is none, the user is asked again) and brought back when
// the copy fails. A source that is the object's file itself is skipped.
// Problems are reported through the dialog service.
void ImportFiles(QWidget* parent, const QStringList& sources, const QString& objectFolder);

}  // namespace kolvedir
