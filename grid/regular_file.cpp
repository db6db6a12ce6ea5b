#include "grid/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kolvedir {

RegularFile::RegularFile(const std::filesystem::path& path) {
  // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; fstat then
  // refuses it. A regular file ignores the flag.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    status_ = errno == ENOENT || errno == ENOTDIR ? RegularFileStatus::kMissing
                                                 : RegularFileStatus::kCannotOpen;
    return;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    status_ = RegularFileStatus::kCannotOpen;
  } else if (!S_ISREG(info.st_mode)) {
    status_ = RegularFileStatus::kNotAFile;
  } else {
    status_ = RegularFileStatus::kOpen;
    size_ = static_cast<std::uintmax_t>(info.st_size);
    fd_ = fd;
    return;
  }
  ::close(fd);
}

RegularFile::~RegularFile() {
  if (fd_ >= 0) ::close(fd_);
}

std::optional<std::size_t> RegularFile::Read(void* buffer, std::size_t count) {
  if (fd_ < 0) return std::nullopt;
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got = ::read(fd_, static_cast<char*>(buffer) + done, count - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

}  // namespace kolvedir
