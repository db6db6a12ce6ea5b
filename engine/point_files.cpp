#include "engine/point_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/system_error_text.h"

namespace kolvedir {

namespace {
constexpr char kCtrlZ = 26;
}

LineSource::~LineSource() { Close(); }

// Closes the file read before and forgets all that was known of it.
void LineSource::Restart() {
  Close();
  begin_ = end_ = lineNumber_ = 0;
  consumed_ = size_ = 0;
  eof_ = failed_ = tooLong_ = false;
}

bool LineSource::Open(const std::filesystem::path& path) {
  Restart();
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

bool LineSource::Attach(std::FILE* stream) {
  Restart();
  file_ = stream;
  struct stat info {};
  if (file_ && ::fstat(::fileno(file_), &info) == 0 && S_ISREG(info.st_mode)) {
    size_ = static_cast<std::uint64_t>(info.st_size - std::ftell(file_));
  }
  return file_ != nullptr;
}

void LineSource::SkipPrefix(std::string_view prefix) {
  while (end_ - begin_ < prefix.size() && Refill()) {
  }
  if (std::string_view(buffer_.data() + begin_, end_ - begin_).starts_with(prefix)) {
    begin_ += prefix.size();
  }
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
  // A CR never belongs to the line, whether it ends it or stands alone; most
  // lines have one CR, at their end.
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.find('\r') != std::string::npos) std::erase(line, '\r');
  return true;
}

void OutputSink::NoteFailure() {
  if (!error_.empty()) return;
  const std::string reason = SystemErrorText(file_.SystemError());
  switch (file_.FailedStep()) {
    case AtomicFile::Failure::kNone: break;
    case AtomicFile::Failure::kReadOnly: error_ = "zbiór wynikowy jest tylko do odczytu"; break;
    case AtomicFile::Failure::kCreate: error_ = "nie można utworzyć pliku tymczasowego: " + reason; break;
    case AtomicFile::Failure::kWrite: error_ = "błąd zapisu: " + reason; break;
    case AtomicFile::Failure::kReplace: error_ = "nie można zastąpić zbioru wynikowego: " + reason; break;
  }
}

bool OutputSink::Create(const std::filesystem::path& result) {
  Discard();
  error_.clear();
  created_ = file_.Create(result);
  if (!created_) NoteFailure();
  return created_;
}

void OutputSink::CreateStream(std::FILE* stream) {
  Discard();
  error_.clear();
  stream_ = stream;
  created_ = true;
}

void OutputSink::WriteLine(std::string_view line) {
  if (!created_) return;
  pending_.append(line);
  pending_.append("\r\n");
  if (pending_.size() >= kPendingBytes) WritePending();
}

void OutputSink::WriteBlock(std::string_view lines) {
  if (!created_) return;
  // A block as large as the buffer goes out as it stands, without a copy.
  if (pending_.empty() && lines.size() >= kPendingBytes) return Send(lines);
  pending_.append(lines);
  if (pending_.size() >= kPendingBytes) WritePending();
}

void OutputSink::WritePending() {
  Send(pending_);
  pending_.clear();
}

void OutputSink::Send(std::string_view bytes) {
  if (!stream_) {
    file_.Write(bytes);
  } else if (error_.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size()) {
    error_ = "błąd zapisu: " + SystemErrorText(errno);
  }
}

bool OutputSink::Commit() {
  if (!created_) {
    if (error_.empty()) error_ = "zbiór wynikowy nie został utworzony";
    return false;
  }
  WritePending();
  created_ = false;
  if (stream_) {
    if (error_.empty() && std::fflush(stream_) != 0) error_ = "błąd zapisu: " + SystemErrorText(errno);
    stream_ = nullptr;
    return error_.empty();
  }
  if (file_.Commit()) return true;
  NoteFailure();
  return false;
}

void OutputSink::Discard() {
  pending_.clear();
  created_ = false;
  stream_ = nullptr;
  file_.Discard();
}

}  // namespace kolvedir
