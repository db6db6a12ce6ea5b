#include "engine/text_encoding.h"

#include <iconv.h>

#include <cerrno>

namespace kolvedir {

namespace {

// Converts with glibc's iconv; a byte sequence the source cannot decode, or a
// character the target cannot hold, becomes `replacement` and conversion goes on.
std::string Convert(std::string_view text, const char* from, const char* to,
                    std::string_view replacement) {
  std::string out;
  if (text.empty()) return out;
  const iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(text);
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, outPtr - buffer);
    if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out.append(replacement);
      // Skip one byte, or a whole UTF-8 character when decoding UTF-8.
      std::size_t skip = 1;
      if (std::string_view(from) == "UTF-8") {
        while (skip < inLeft && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80) ++skip;
      }
      in += skip;
      inLeft -= skip;
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string Win1250ToUtf8(std::string_view text) {
  return Convert(text, "WINDOWS-1250", "UTF-8", "\xEF\xBF\xBD");
}

std::string Utf8ToWin1250(std::string_view text) {
  return Convert(text, "UTF-8", "WINDOWS-1250", "?");
}

}  // namespace kolvedir
