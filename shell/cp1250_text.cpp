#include "shell/cp1250_text.h"

#include <QHash>

#include <array>

#include "engine/text_encoding.h"

namespace kolvedir {

namespace {

// Characters of the bytes 0x80..0xFF. A byte without a character in the code
// page maps to the control character of the same number, so it comes back.
const std::array<QChar, 128>& HighHalf() {
  static const std::array<QChar, 128> table = [] {
    std::array<QChar, 128> chars;
    for (int i = 0; i < 128; ++i) {
      const char byte = static_cast<char>(0x80 + i);
      const QString decoded = QString::fromStdString(Win1250ToUtf8(std::string(1, byte)));
      const bool defined = decoded.size() == 1 && decoded[0] != QChar::ReplacementCharacter;
      chars[i] = defined ? decoded[0] : QChar(0x80 + i);
    }
    return chars;
  }();
  return table;
}

const QHash<QChar, char>& EncodingTable() {
  static const QHash<QChar, char> table = [] {
    QHash<QChar, char> bytes;
    for (int i = 0; i < 128; ++i) bytes.insert(HighHalf()[i], static_cast<char>(0x80 + i));
    return bytes;
  }();
  return table;
}

}  // namespace

QString Cp1250ToText(const QByteArray& bytes) {
  QString text;
  text.reserve(bytes.size());
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text.append(byte < 0x80 ? QChar(byte) : HighHalf()[byte - 0x80]);
  }
  return text;
}

bool TextToCp1250(const QString& text, QByteArray& bytes, QString& rejected) {
  bytes.clear();
  rejected.clear();
  bytes.reserve(text.size() + text.count('\n') + 2);
  for (const QChar c : text) {
    if (c == '\n') {
      bytes.append("\r\n");
    } else if (c.unicode() < 0x80) {
      bytes.append(static_cast<char>(c.unicode()));
    } else if (const auto found = EncodingTable().find(c); found != EncodingTable().end()) {
      bytes.append(found.value());
    } else if (!rejected.contains(c)) {
      rejected.append(c);
    }
  }
  if (!text.isEmpty() && !text.endsWith('\n')) bytes.append("\r\n");
  return rejected.isEmpty();
}

EditorFileText FileBytesToText(const QByteArray& bytes) {
  const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  Utf8Scan scan;
  scan.Add(view);
  const bool byteOrderMark = view.starts_with(kUtf8ByteOrderMark);
  // A byte-order mark before bytes that are not UTF-8: read as Windows-1250,
  // which keeps every byte, rather than replace those bytes for good.
  if (!scan.Valid() || scan.Detected(byteOrderMark) == TextEncoding::kWindows1250) {
    return {Cp1250ToText(bytes)};
  }
  const qsizetype skipped = byteOrderMark ? qsizetype(kUtf8ByteOrderMark.size()) : 0;
  QString text = QString::fromUtf8(bytes.mid(skipped));
  return {text.replace("\r\n", "\n"), TextEncoding::kUtf8, byteOrderMark};
}

bool TextToFileBytes(const EditorFileText& file, QByteArray& bytes, QString& rejected) {
  if (file.encoding != TextEncoding::kUtf8) return TextToCp1250(file.text, bytes, rejected);
  rejected.clear();
  QString text = file.text;
  if (!text.isEmpty() && !text.endsWith('\n')) text.append('\n');
  bytes = file.byteOrderMark ? QByteArray(kUtf8ByteOrderMark.data(), kUtf8ByteOrderMark.size())
                             : QByteArray();
  bytes.append(text.replace("\n", "\r\n").toUtf8());
  return true;
}

}  // namespace kolvedir
