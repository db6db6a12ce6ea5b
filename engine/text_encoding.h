#pragma once
// Windows-1250 ↔ UTF-8 for the texts that cross between point files (8-bit
// Windows-1250 or UTF-8) and the user interface (UTF-8), and the test that
// tells which of the two a point file uses.
#include <string>
#include <string_view>

namespace kolvedir {

// The encoding of a point file. kAuto asks for detection: a file that starts
// with a UTF-8 byte-order mark, or is valid UTF-8 and holds bytes beyond
// ASCII, is UTF-8; any other file is Windows-1250.
enum class TextEncoding { kAuto, kWindows1250, kUtf8 };

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Bytes of Windows-1250 to UTF-8. Bytes without a character in the code page
// (0x81, 0x83, 0x88, 0x90, 0x98) become U+FFFD.
std::string Win1250ToUtf8(std::string_view text);
// UTF-8 to Windows-1250; a character outside the code page becomes "?".
std::string Utf8ToWin1250(std::string_view text);

// Bytes that may be UTF-8 or Windows-1250, as file and folder names are (a
// folder copied from an old installation keeps its Windows-1250 name), to
// UTF-8 for display: valid UTF-8 stays as it is, every other byte is read as
// Windows-1250.
std::string Utf8OrWin1250ToUtf8(std::string_view bytes);

// text (UTF-8, where point names and paths may bring anything) made safe to
// print on a terminal: control characters, which could move the cursor or
// start an escape sequence, become \xNN (C0 and DEL) or \u00NN (C1), and a
// byte that is not part of valid UTF-8 becomes \xNN. Everything else is kept.
std::string EscapeControlCharacters(std::string_view text);

// text with the ASCII letters A-Z in lower case; every other byte kept (names
// of columns and file extensions compared without regard to case).
std::string AsciiLower(std::string_view text);

// A text of the program (UTF-8) as it is written into a file of `encoding`
// (kWindows1250 or kUtf8).
std::string TextForFile(std::string_view utf8, TextEncoding encoding);
// Bytes of a file of `encoding` (kWindows1250 or kUtf8) as UTF-8 for the user.
// A UTF-8 file may still hold bytes that are not UTF-8 (a byte-order mark
// before Windows-1250 text): those are read as Windows-1250, so the user
// never gets a text that is not UTF-8.
std::string TextFromFile(std::string_view bytes, TextEncoding encoding);

// Reads a file's bytes in any number of parts and tells whether they are
// valid UTF-8 and whether they hold any byte beyond ASCII.
class Utf8Scan {
 public:
  // The next bytes of the file; a character may be split between two parts.
  void Add(std::string_view bytes);
  // After the last part: valid UTF-8 to the end (no character left unfinished).
  bool Valid() const { return valid_ && unfinished_.empty(); }
  bool BeyondAscii() const { return beyondAscii_; }
  // The encoding detection gives for the bytes seen; `byteOrderMark`: the
  // file started with a UTF-8 byte-order mark.
  TextEncoding Detected(bool byteOrderMark) const;

 private:
  void Check(std::string_view bytes);

  std::string unfinished_;  // the bytes of a character split by the end of a part
  bool valid_ = true, beyondAscii_ = false;
};

}  // namespace kolvedir
