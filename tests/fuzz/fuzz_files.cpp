#include "tests/fuzz/fuzz_files.h"

#include <unistd.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace kolvedir {
namespace {

std::filesystem::path ScratchRoot() {
  std::error_code ignored;
  if (std::filesystem::is_directory("/dev/shm", ignored) && ::access("/dev/shm", W_OK) == 0) {
    return "/dev/shm";
  }
  return std::filesystem::temp_directory_path();
}

void Require(bool condition, const char* what) {
  if (!condition) {
    std::perror(what);
    std::abort();
  }
}

}  // namespace

FuzzFolder::FuzzFolder(std::string_view name) {
  std::string pattern = (ScratchRoot() / ("kolvedir-fuzz-" + std::string(name) + "-XXXXXX")).string();
  Require(::mkdtemp(pattern.data()) != nullptr, "mkdtemp");
  path_ = pattern;
}

FuzzFolder::~FuzzFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WriteRepeated(const std::filesystem::path& file, const std::vector<std::uint8_t>& pattern,
                   std::uintmax_t length) {
  std::FILE* out = std::fopen(file.c_str(), "wb");
  Require(out != nullptr, "fopen");
  // One block holding whole copies of the pattern, written until length is reached.
  std::vector<std::uint8_t> block;
  const std::size_t copies = (std::size_t{1} << 20) / pattern.size() + 1;
  block.reserve(copies * pattern.size());
  for (std::size_t c = 0; c < copies; ++c) block.insert(block.end(), pattern.begin(), pattern.end());
  for (std::uintmax_t done = 0; done < length;) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::uintmax_t>(block.size(), length - done));
    Require(std::fwrite(block.data(), 1, n, out) == n, "fwrite");
    done += n;
  }
  Require(std::fclose(out) == 0, "fclose");
}

void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Require(static_cast<bool>(out), "write");
}

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace kolvedir
