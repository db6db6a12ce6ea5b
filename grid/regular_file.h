#pragma once
// Reading a file that must be a regular file, as the grid and the files beside
// it must be. Whatever else stands under the name (links followed) is refused
// before a byte is read, and the refusal never blocks: a FIFO without a
// writer, a link to /dev/zero or a terminal cannot hold the program up.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace kolvedir {

enum class RegularFileStatus {
  kOpen,        // a regular file, open for reading
  kMissing,     // no such file (or a folder on the way is missing)
  kNotAFile,    // a folder, FIFO, socket or device stands under the name
  kCannotOpen,  // exists but cannot be opened (permissions, a loop of links)
};

// A regular file open for reading; closed with the object.
class RegularFile {
 public:
  explicit RegularFile(const std::filesystem::path& path);
  ~RegularFile();
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  RegularFileStatus status() const { return status_; }
  // Size in bytes when it was opened; 0 unless status() is kOpen.
  std::uintmax_t size() const { return size_; }
  // Reads up to count bytes into buffer, fewer only at the end of the file.
  // Gives the number read, or none when a read fails or the file is not open.
  std::optional<std::size_t> Read(void* buffer, std::size_t count);

 private:
  int fd_ = -1;
  RegularFileStatus status_ = RegularFileStatus::kCannotOpen;
  std::uintmax_t size_ = 0;
};

}  // namespace kolvedir
