#pragma once
// Windows-1250 ↔ UTF-8 for the texts that cross between point files (8-bit)
// and the user interface (UTF-8).
#include <string>
#include <string_view>

namespace kolvedir {

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

}  // namespace kolvedir
