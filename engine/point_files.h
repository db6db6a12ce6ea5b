#pragma once
// The input and output point files of a job. Bytes pass through unchanged
// (Windows-1250 or UTF-8).
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/atomic_file.h"

namespace kolvedir {

// The longest input line read, in bytes before its LF (CRs included): far
// beyond any point record, yet a bound on what one line may take from memory.
inline constexpr std::size_t kMaxLineBytes = std::size_t{64} << 20;  // 64 MiB

// Reads a point file line by line. A line ends at LF or CR LF, neither of
// which belongs to it; a CR not followed by LF is dropped; a Ctrl+Z (byte 26)
// as the very last byte of the file ends the input and is not a line. A last
// line without a line end is a line like any other.
class LineSource {
 public:
  LineSource() = default;
  LineSource(const LineSource&) = delete;
  LineSource& operator=(const LineSource&) = delete;
  ~LineSource();

  // Opens path for reading; false when it cannot be opened or is a FIFO,
  // socket or device (which could block the job or never end).
  bool Open(const std::filesystem::path& path);
  // Reads an open stream (standard input, a copy of it) from where it stands;
  // takes it over and closes it. False for a null stream.
  bool Attach(std::FILE* stream);
  // Drops prefix (a byte-order mark) when the input starts with it.
  void SkipPrefix(std::string_view prefix);
  // The next line into line (reusing its storage); false at the end of input,
  // and from a line longer than kMaxLineBytes on, which is not read.
  bool NextLine(std::string& line);
  // True when a read failed (as opposed to the end of the file).
  bool Failed() const { return failed_; }
  // True when reading stopped at a line longer than kMaxLineBytes.
  bool LineTooLong() const { return tooLong_; }
  // Number of the line NextLine read last, from 1; after LineTooLong(), that
  // of the over-long line.
  std::size_t LineNumber() const { return lineNumber_; }
  // Bytes of the file handed out as lines so far, line ends included.
  std::uint64_t BytesRead() const { return consumed_ + begin_; }
  // Size of the file when it was opened (attached: what is left of it; 0 for a pipe).
  std::uint64_t Size() const { return size_; }
  void Close();

 private:
  bool Refill();
  void Restart();
  // Appends count bytes to line unless that makes it longer than kMaxLineBytes.
  bool Append(std::string& line, const char* bytes, std::size_t count);

  std::FILE* file_ = nullptr;
  std::vector<char> buffer_ = std::vector<char>(1 << 16);
  std::size_t begin_ = 0, end_ = 0;
  std::uint64_t consumed_ = 0;  // bytes dropped from the front of buffer_
  std::uint64_t size_ = 0;
  std::size_t lineNumber_ = 0;
  bool eof_ = false, failed_ = false, tooLong_ = false;
};

// Writes a result file through an AtomicFile: an earlier result of that name
// is replaced only by a whole, durable new one, never written through a link,
// and a result marked read-only is refused. Every line ends with CR LF.
class OutputSink {
 public:
  OutputSink() = default;
  OutputSink(const OutputSink&) = delete;
  OutputSink& operator=(const OutputSink&) = delete;

  // Starts the new result; false (with ErrorText()) when it cannot be created.
  bool Create(const std::filesystem::path& result);
  // Writes to an open stream (standard output) instead, straight on: there is
  // no earlier result to keep, and what was written stays written. Commit
  // flushes the stream and leaves it open.
  void CreateStream(std::FILE* stream);
  // Appends line and CR LF. A write error is remembered and reported by Commit.
  void WriteLine(std::string_view line);
  // Appends whole lines, each already ending with CR LF.
  void WriteBlock(std::string_view lines);
  // Puts the new content in place of the result. False when anything failed
  // since Create; the result is then left as it was.
  bool Commit();
  // Drops the new content without touching the result.
  void Discard();
  // What failed, in UTF-8 and Polish, for a message.
  const std::string& ErrorText() const { return error_; }

 private:
  void WritePending();
  // Hands bytes to the file or the stream.
  void Send(std::string_view bytes);
  void NoteFailure();

  static constexpr std::size_t kPendingBytes = 1 << 16;
  AtomicFile file_;
  bool created_ = false;
  std::FILE* stream_ = nullptr;  // CreateStream's stream, written instead of file_
  std::string pending_;  // whole lines not yet handed to file_
  std::string error_;
};

}  // namespace kolvedir
