#include "engine/text_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

namespace kolvedir {

namespace {

const iconv_t kNoDecoder = reinterpret_cast<iconv_t>(-1);

// Converts with glibc's iconv; a byte sequence the source cannot decode, or a
// character the target cannot hold, becomes `replacement` and conversion goes on.
std::string Convert(std::string_view text, const char* from, const char* to,
                    std::string_view replacement) {
  std::string out;
  if (text.empty()) return out;
  const iconv_t cd = iconv_open(to, from);
  if (cd == kNoDecoder) return std::string(text);
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

// Length of the valid UTF-8 sequence at the start of text (shortest form, no
// surrogates, at most U+10FFFF); 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&text](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  // The sequence length and the range of the second byte, by the lead byte.
  struct Form {
    unsigned char leadLow, leadHigh, secondLow, secondHigh;
    std::size_t length;
  };
  static constexpr Form kForms[] = {
      {0xC2, 0xDF, 0x80, 0xBF, 2}, {0xE0, 0xE0, 0xA0, 0xBF, 3}, {0xE1, 0xEC, 0x80, 0xBF, 3},
      {0xED, 0xED, 0x80, 0x9F, 3}, {0xEE, 0xEF, 0x80, 0xBF, 3}, {0xF0, 0xF0, 0x90, 0xBF, 4},
      {0xF1, 0xF3, 0x80, 0xBF, 4}, {0xF4, 0xF4, 0x80, 0x8F, 4},
  };
  for (const Form& form : kForms) {
    if (lead < form.leadLow || lead > form.leadHigh) continue;
    if (text.size() < form.length || byte(1) < form.secondLow || byte(1) > form.secondHigh) return 0;
    for (std::size_t k = 2; k < form.length; ++k) {
      if ((byte(k) & 0xC0) != 0x80) return 0;
    }
    return form.length;
  }
  return 0;
}

// Whether tail, cut off by the end of a part, starts a valid sequence that
// more bytes could finish: padded with continuation bytes (for the second byte
// one of 0x80, 0x90, 0xA0, which meet every lead byte's range) it is valid.
bool StartsSequence(std::string_view tail) {
  if (tail.size() >= 4) return false;
  for (const char second : {'\x80', '\x90', '\xA0'}) {
    std::string padded(tail);
    if (padded.size() == 1) padded += second;
    padded.resize(4, '\x80');
    if (Utf8SequenceLength(padded) > tail.size()) return true;
  }
  return false;
}

// The number of ASCII bytes at the start of bytes, tested eight at a time.
std::size_t AsciiPrefix(std::string_view bytes) {
  std::size_t n = 0;
  for (std::uint64_t word; n + 8 <= bytes.size(); n += 8) {
    std::memcpy(&word, bytes.data() + n, 8);
    if (word & 0x8080808080808080u) break;
  }
  while (n < bytes.size() && static_cast<unsigned char>(bytes[n]) < 0x80) ++n;
  return n;
}

void AppendEscape(std::string& out, const char* form, unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, form, value);
  out.append(text);
}

}  // namespace

std::string Win1250ToUtf8(std::string_view text) {
  return Convert(text, "WINDOWS-1250", "UTF-8", "\xEF\xBF\xBD");
}

std::string Utf8ToWin1250(std::string_view text) {
  return Convert(text, "UTF-8", "WINDOWS-1250", "?");
}

std::string Utf8OrWin1250ToUtf8(std::string_view bytes) {
  std::string out, invalid;  // invalid: a run of bytes that are not UTF-8
  while (!bytes.empty()) {
    const std::size_t length = Utf8SequenceLength(bytes);
    if (length == 0) {
      invalid += bytes.front();
      bytes.remove_prefix(1);
      continue;
    }
    out += Win1250ToUtf8(invalid);
    invalid.clear();
    out.append(bytes.substr(0, length));
    bytes.remove_prefix(length);
  }
  return out + Win1250ToUtf8(invalid);
}

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

std::string EscapeControlCharacters(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = Utf8SequenceLength(text);
    if (length == 0 || lead < 0x20 || lead == 0x7F) {
      AppendEscape(out, "\\x%02x", lead);
    } else if (lead == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0) {
      AppendEscape(out, "\\u%04x", static_cast<unsigned char>(text[1]));
    } else {
      out.append(text.substr(0, length));
    }
    text.remove_prefix(length == 0 ? 1 : length);
  }
  return out;
}

std::string TextForFile(std::string_view utf8, TextEncoding encoding) {
  return encoding == TextEncoding::kUtf8 ? std::string(utf8) : Utf8ToWin1250(utf8);
}

std::string TextFromFile(std::string_view bytes, TextEncoding encoding) {
  return encoding == TextEncoding::kUtf8 ? Utf8OrWin1250ToUtf8(bytes) : Win1250ToUtf8(bytes);
}

void Utf8Scan::Add(std::string_view bytes) {
  if (!beyondAscii_) beyondAscii_ = AsciiPrefix(bytes) < bytes.size();
  if (!valid_ || bytes.empty()) return;
  if (unfinished_.empty()) {
    Check(bytes);
  } else {
    Check(std::string(std::exchange(unfinished_, {})).append(bytes));
  }
}

// An invalid sequence ends the scan; a sequence cut off at the end of the part
// waits for the next one.
void Utf8Scan::Check(std::string_view bytes) {
  for (;;) {
    bytes.remove_prefix(AsciiPrefix(bytes));
    if (bytes.empty()) return;
    const std::size_t length = Utf8SequenceLength(bytes);
    if (length == 0) {
      if (StartsSequence(bytes)) {
        unfinished_.assign(bytes);
      } else {
        valid_ = false;
      }
      return;
    }
    bytes.remove_prefix(length);
  }
}

TextEncoding Utf8Scan::Detected(bool byteOrderMark) const {
  return byteOrderMark || (Valid() && beyondAscii_) ? TextEncoding::kUtf8
                                                     : TextEncoding::kWindows1250;
}

}  // namespace kolvedir
