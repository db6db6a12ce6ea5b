// libkopy.so: the copy library of the program. `kopiuj` copies the file named
// by its first argument to the path named by its second; each argument is a
// length-prefixed string (one length byte, then up to 255 bytes of the path).
//
// The copy is made as every file of the program is written (AtomicFile): the
// destination is afterwards either as it was or a whole copy of the source,
// never a part of it, and a symbolic link at the destination is replaced by
// the copy, never written through. A destination marked read-only, or a link
// to such a file, is not replaced. A replaced destination keeps its
// permission bits; a new one gets the source's, less the umask.
//
// An empty, missing or unreadable source, a source that is not a regular
// file, or a source that is the destination itself copies nothing. Nothing is
// reported: the caller checks the destination.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <string>
#include <string_view>

#include "engine/atomic_file.h"

namespace {

std::string FromShortString(const unsigned char* text) {
  return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

bool IsSameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Copies the open regular file `source` to destination.
void CopyFile(int source, const std::string& destination) {
  struct stat from {}, to {};
  if (::fstat(source, &from) != 0 || !S_ISREG(from.st_mode)) return;
  if (::lstat(destination.c_str(), &to) == 0 && IsSameFile(from, to)) return;
  kolvedir::AtomicFile copy;
  if (!copy.Create(destination, from.st_mode & 0777)) return;
  std::array<char, 1 << 16> buffer;
  for (;;) {
    const ssize_t count = ::read(source, buffer.data(), buffer.size());
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return;  // the copy is discarded
    if (count == 0) break;
    if (!copy.Write(std::string_view(buffer.data(), static_cast<std::size_t>(count)))) return;
  }
  copy.Commit();
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void kopiuj(const unsigned char* source,
                                                               const unsigned char* destination) {
  if (source == nullptr || destination == nullptr || source[0] == 0 || destination[0] == 0) return;
  // O_NONBLOCK: a FIFO under the source's name does not block the opening.
  const int from = ::open(FromShortString(source).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (from < 0) return;
  CopyFile(from, FromShortString(destination));
  ::close(from);
}
