#pragma once
// Files for the fuzz targets: a private scratch folder, preferably in memory.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kolvedir {

// A fresh folder under /dev/shm (or the system's temporary folder), removed
// with everything in it when the object goes.
class FuzzFolder {
 public:
  explicit FuzzFolder(std::string_view name);
  FuzzFolder(const FuzzFolder&) = delete;
  FuzzFolder& operator=(const FuzzFolder&) = delete;
  ~FuzzFolder();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Writes `length` bytes: `pattern` repeated from its start (pattern not empty).
void WriteRepeated(const std::filesystem::path& file, const std::vector<std::uint8_t>& pattern,
                   std::uintmax_t length);
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);
// The whole file; empty when it does not exist.
std::string ReadBytes(const std::filesystem::path& file);

}  // namespace kolvedir
