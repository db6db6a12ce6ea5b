#pragma once
// Text files as the point files are kept: Windows-1250 bytes with CR LF line
// ends. Reading takes LF or CR LF; every byte survives a read and a write
// unchanged, including the five bytes the code page leaves undefined.
#include <QByteArray>
#include <QString>

namespace kolvedir {

// File bytes to editor text: Windows-1250 decoded, CR LF turned into LF.
QString Cp1250ToText(const QByteArray& bytes);

// Editor text to file bytes: Windows-1250 with CR LF, the last line ended too.
// Returns false, with the characters the code page cannot hold in rejected,
// when the text cannot be written without changing it.
bool TextToCp1250(const QString& text, QByteArray& bytes, QString& rejected);

}  // namespace kolvedir
