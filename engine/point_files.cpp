#include "engine/point_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace kolvedir {

namespace {
constexpr char kCtrlZ = 26;
}

LineSource::~LineSource() { Close(); }

bool LineSource::Open(const std::filesystem::path& path) {
  Close();
  begin_ = end_ = lineNumber_ = 0;
  consumed_ = size_ = 0;
  eof_ = failed_ = tooLong_ = false;
  // A FIFO would block the job until some program writes to it, a device may
  // never end: only a regular file (or a folder, which fails on reading) is
  // opened. O_NONBLOCK lets the test be made without blocking.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info {};
  const bool pointFile = ::fstat(fd, &info) == 0 && (S_ISREG(info.st_mode) || S_ISDIR(info.st_mode));
  if (pointFile && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0) {
    file_ = ::fdopen(fd, "rb");
    size_ = S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
  }
  if (!file_) ::close(fd);
  return file_ != nullptr;
}

void LineSource::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

// Moves the unread bytes to the front and reads more behind them; false when
// nothing more could be read.
bool LineSource::Refill() {
  if (eof_ || !file_) return false;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    consumed_ += begin_;
    begin_ = 0;
  }
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
  const std::size_t n = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
  end_ += n;
  if (n == 0) {
    eof_ = true;
    failed_ = std::ferror(file_) != 0;
  }
  return n > 0;
}

bool LineSource::Append(std::string& line, const char* bytes, std::size_t count) {
  if (count > kMaxLineBytes - line.size()) {
    tooLong_ = true;
    return false;
  }
  line.append(bytes, count);
  return true;
}

bool LineSource::NextLine(std::string& line) {
  line.clear();
  if (tooLong_) return false;
  ++lineNumber_;
  std::size_t scanned = 0;  // bytes after begin_ already known to hold no LF
  for (;;) {
    const char* start = buffer_.data() + begin_;
    const void* lf = std::memchr(start + scanned, '\n', end_ - begin_ - scanned);
    if (lf) {
      const std::size_t length = static_cast<const char*>(lf) - start;
      if (!Append(line, start, length)) return false;
      begin_ += length + 1;
      break;
    }
    scanned = end_ - begin_;
    // Keep at most the current line in the buffer: hand long lines over in parts.
    if (scanned > (1 << 20)) {
      if (!Append(line, start, scanned - 1)) return false;  // the last byte may be the CR of a CR LF
      begin_ += scanned - 1;
      scanned = 1;
    }
    if (!Refill()) {
      if (begin_ == end_ && line.empty()) return false;
      if (!Append(line, buffer_.data() + begin_, end_ - begin_)) return false;
      begin_ = end_;
      if (!line.empty() && line.back() == kCtrlZ) line.pop_back();
      if (line.empty()) return false;
      break;
    }
  }
  // A CR never belongs to the line, whether it ends it or stands alone.
  std::erase(line, '\r');
  return true;
}

OutputSink::~OutputSink() { Discard(); }

void OutputSink::Fail(const char* what) {
  if (error_.empty()) error_ = std::string(what) + ": " + std::strerror(errno);
}

namespace {

// A result file marked read-only (no write bit at all) is the user's way to
// protect it: it is never replaced, whatever the privileges of the job.
bool IsMarkedReadOnly(const std::filesystem::path& path) {
  std::error_code error;
  const auto status = std::filesystem::symlink_status(path, error);
  if (error || !std::filesystem::is_regular_file(status)) return false;
  using std::filesystem::perms;
  return (status.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) ==
         perms::none;
}

}  // namespace

bool OutputSink::Create(const std::filesystem::path& result) {
  Discard();
  error_.clear();
  result_ = result;
  if (IsMarkedReadOnly(result)) {
    error_ = "zbiór wynikowy jest tylko do odczytu";
    return false;
  }
  std::string pattern = (result.parent_path() / ("." + result.filename().string() + ".XXXXXX"));
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    Fail("nie można utworzyć pliku tymczasowego");
    return false;
  }
  temporary_ = pattern;
  // mkstemp creates the file for its owner only; a result gets the usual mode.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  file_ = ::fdopen(fd, "wb");
  if (!file_) {
    Fail("nie można otworzyć pliku tymczasowego");
    ::close(fd);
    return false;
  }
  return true;
}

void OutputSink::WriteLine(std::string_view line) {
  if (!file_ || !error_.empty()) return;
  pending_.append(line);
  pending_.append("\r\n");
  if (pending_.size() >= kPendingBytes) WritePending();
}

void OutputSink::WriteBlock(std::string_view lines) {
  if (!file_ || !error_.empty()) return;
  pending_.append(lines);
  if (pending_.size() >= kPendingBytes) WritePending();
}

void OutputSink::WritePending() {
  if (file_ && error_.empty() &&
      std::fwrite(pending_.data(), 1, pending_.size(), file_) != pending_.size()) {
    Fail("błąd zapisu");
  }
  pending_.clear();
}

bool OutputSink::Commit() {
  if (!file_) {
    if (error_.empty()) error_ = "zbiór wynikowy nie został utworzony";
    return false;
  }
  WritePending();
  if (error_.empty() && std::fflush(file_) != 0) Fail("błąd zapisu");
  const int closed = std::fclose(file_);
  file_ = nullptr;
  if (closed != 0) Fail("błąd zapisu");
  if (error_.empty() && std::rename(temporary_.c_str(), result_.c_str()) != 0) {
    Fail("nie można zastąpić zbioru wynikowego");
  }
  if (!error_.empty()) {
    Discard();
    return false;
  }
  temporary_.clear();
  return true;
}

void OutputSink::Discard() {
  pending_.clear();
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
    temporary_.clear();
  }
}

}  // namespace kolvedir
