#include "shell/cp1250_text.h"

#include <gtest/gtest.h>

namespace kolvedir {
namespace {

struct LetterCase {
  const char* letter;  // UTF-8
  unsigned char byte;  // Windows-1250
};

// The Polish letters sit at different places in Windows-1250 and Latin-2.
constexpr LetterCase kPolishLetters[] = {
    {"ą", 0xB9}, {"ć", 0xE6}, {"ę", 0xEA}, {"ł", 0xB3}, {"ń", 0xF1}, {"ó", 0xF3},
    {"ś", 0x9C}, {"ź", 0x9F}, {"ż", 0xBF}, {"Ą", 0xA5}, {"Ć", 0xC6}, {"Ę", 0xCA},
    {"Ł", 0xA3}, {"Ń", 0xD1}, {"Ó", 0xD3}, {"Ś", 0x8C}, {"Ź", 0x8F}, {"Ż", 0xAF},
    {"€", 0x80}, {"°", 0xB0},
};

TEST(Cp1250Text, PolishLettersGoBothWays) {
  for (const LetterCase& c : kPolishLetters) {
    SCOPED_TRACE(c.letter);
    const QByteArray byte(1, static_cast<char>(c.byte));
    EXPECT_EQ(Cp1250ToText(byte), QString::fromUtf8(c.letter));
    QByteArray bytes;
    QString rejected;
    ASSERT_TRUE(TextToCp1250(QString::fromUtf8(c.letter), bytes, rejected));
    EXPECT_EQ(bytes, byte + "\r\n");
  }
}

TEST(Cp1250Text, EveryByteSurvivesReadAndWrite) {
  QByteArray all;
  for (int b = 0; b < 256; ++b)
    if (b != '\r' && b != '\n') all.append(static_cast<char>(b));
  all.append("\r\n");
  QByteArray written;
  QString rejected;
  ASSERT_TRUE(TextToCp1250(Cp1250ToText(all), written, rejected));
  EXPECT_EQ(written, all);
}

TEST(Cp1250Text, LineEnds) {
  struct Case {
    QByteArray file;
    QString text;
    QByteArray written;
  };
  const Case cases[] = {
      {"a\r\nb\r\n", "a\nb\n", "a\r\nb\r\n"},
      {"a\nb\n", "a\nb\n", "a\r\nb\r\n"},          // LF files are read too
      {"a\r\nb", "a\nb", "a\r\nb\r\n"},            // the last line gets its end
      {"a\r\n\r\n", "a\n\n", "a\r\n\r\n"},         // a closing empty line is kept
      {"", "", ""},
      {"a\rb\r\n", "a\rb\n", "a\rb\r\n"},          // a lone CR is text
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file.toStdString());
    EXPECT_EQ(Cp1250ToText(c.file), c.text);
    QByteArray bytes;
    QString rejected;
    ASSERT_TRUE(TextToCp1250(c.text, bytes, rejected));
    EXPECT_EQ(bytes, c.written);
  }
}

TEST(Cp1250Text, CharactersOutsideTheCodePageAreReportedOnce) {
  QByteArray bytes;
  QString rejected;
  EXPECT_FALSE(TextToCp1250(QString::fromUtf8("Łódź ж ж ñ 1234\n"), bytes, rejected));
  EXPECT_EQ(rejected, QString::fromUtf8("жñ"));
}

// The editor tells UTF-8 files as the jobs do and writes them back as read;
// bytes that are not UTF-8 are never replaced.
TEST(EditorFileText, EncodingToldAndKeptOnWriting) {
  const QByteArray bom("\xEF\xBB\xBF");
  const struct {
    const char* what;
    QByteArray file;
    TextEncoding encoding;
    bool byteOrderMark;
    QString text;
  } cases[] = {
      {"UTF-8", "Łódź 1 2\r\n", TextEncoding::kUtf8, false, QString::fromUtf8("Łódź 1 2\n")},
      {"UTF-8 with a byte-order mark", bom + "Łódź 1 2\r\n", TextEncoding::kUtf8, true,
       QString::fromUtf8("Łódź 1 2\n")},
      {"a byte-order mark before ASCII", bom + "Lodz 1 2\r\n", TextEncoding::kUtf8, true,
       "Lodz 1 2\n"},
      {"Windows-1250",
       "\xA3\xF3"
       "d\x9F 1 2\r\n",
       TextEncoding::kWindows1250, false, QString::fromUtf8("Łódź 1 2\n")},
      {"ASCII", "Lodz 1 2\r\n", TextEncoding::kWindows1250, false, "Lodz 1 2\n"},
      // Every byte must survive: the byte-order mark shows as its three characters.
      {"a byte-order mark before Windows-1250",
       bom + "\xA3\xF3"
             "d\x9F 1 2\r\n",
       TextEncoding::kWindows1250, false, QString::fromUtf8("ď»żŁódź 1 2\n")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const EditorFileText read = FileBytesToText(c.file);
    EXPECT_EQ(read.text, c.text);
    EXPECT_EQ(read.encoding, c.encoding);
    EXPECT_EQ(read.byteOrderMark, c.byteOrderMark);
    QByteArray written;
    QString rejected;
    ASSERT_TRUE(TextToFileBytes(read, written, rejected));
    EXPECT_EQ(written, c.file);
  }
}

}  // namespace
}  // namespace kolvedir
