// libkopy.so: the copy library of the program. `kopiuj` copies the file named
// by its first argument to the path named by its second; each argument is a
// length-prefixed string (one length byte, then up to 255 bytes of the path).
// An existing destination is replaced. An empty, missing or unreadable source,
// or a source that is the destination itself, copies nothing. Nothing is
// reported: the caller sees the result in the folder.
#include <filesystem>
#include <string>

namespace {

std::filesystem::path FromShortString(const unsigned char* text) {
  return std::filesystem::path(std::string(reinterpret_cast<const char*>(text + 1), text[0]));
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void kopiuj(const unsigned char* source,
                                                               const unsigned char* destination) {
  if (source == nullptr || destination == nullptr || source[0] == 0 || destination[0] == 0) return;
  std::error_code error;
  const std::filesystem::path from = FromShortString(source);
  const std::filesystem::path to = FromShortString(destination);
  if (!std::filesystem::is_regular_file(from, error)) return;
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
}
