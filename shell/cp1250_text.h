#pragma once
// Text files as the point files are kept: Windows-1250 or UTF-8 bytes with
// CR LF line ends. Reading takes LF or CR LF; every byte of a Windows-1250 file
// survives a read and a write unchanged, including the five bytes the code
// page leaves undefined, and so does every valid UTF-8 file.
#include <QByteArray>
#include <QString>

#include "engine/text_encoding.h"

namespace kolvedir {

// File bytes to editor text: Windows-1250 decoded, CR LF turned into LF.
QString Cp1250ToText(const QByteArray& bytes);

// Editor text to file bytes: Windows-1250 with CR LF, the last line ended too.
// Returns false, with the characters the code page cannot hold in rejected,
// when the text cannot be written without changing it.
bool TextToCp1250(const QString& text, QByteArray& bytes, QString& rejected);

// A point file as the editor holds it: its text and how the file keeps it.
struct EditorFileText {
  QString text;
  TextEncoding encoding = TextEncoding::kWindows1250;  // kWindows1250 or kUtf8
  bool byteOrderMark = false;                          // a UTF-8 file starting with one
};

// File bytes to editor text, the encoding told as the jobs tell it (a UTF-8
// byte-order mark, or valid UTF-8 beyond ASCII: UTF-8), CR LF turned into LF.
// A file that is not valid UTF-8 is read as Windows-1250 even after a
// byte-order mark, so that saving it changes no byte the user did not edit.
EditorFileText FileBytesToText(const QByteArray& bytes);

// Editor text to file bytes in file.encoding, with its byte-order mark, CR LF
// and the last line ended; false as TextToCp1250 for Windows-1250.
bool TextToFileBytes(const EditorFileText& file, QByteArray& bytes, QString& rejected);

}  // namespace kolvedir
