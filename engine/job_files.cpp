#include "engine/job_files.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

namespace kolvedir {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

constexpr std::size_t kScanBlock = 1 << 16;

// Reads `in` to its end through scan, copying the bytes to `copy` when given.
// False when a read or a copy fails.
bool ScanStream(std::FILE* in, Utf8Scan& scan, bool& byteOrderMark, std::FILE* copy) {
  std::string block(kScanBlock, '\0');
  bool first = true;
  for (;;) {
    const std::size_t n = std::fread(block.data(), 1, block.size(), in);
    if (n == 0) return !std::ferror(in);
    const std::string_view bytes(block.data(), n);
    if (first) byteOrderMark = bytes.starts_with(kUtf8ByteOrderMark);
    first = false;
    scan.Add(bytes);
    if (copy && std::fwrite(bytes.data(), 1, n, copy) != n) return false;
  }
}

// Standard input as a stream of its own (closing it leaves descriptor 0 open).
std::FILE* StandardInput() {
  const int fd = ::dup(STDIN_FILENO);
  std::FILE* stream = fd < 0 ? nullptr : ::fdopen(fd, "rb");
  if (!stream && fd >= 0) ::close(fd);
  return stream;
}

// Attaches source to standard input, through a scanned copy unless the
// encoding is given as Windows-1250.
bool OpenStandardInput(TextEncoding encoding, LineSource& source, Utf8Scan& scan,
                       bool& byteOrderMark) {
  if (encoding == TextEncoding::kWindows1250) return source.Attach(StandardInput());
  FileHandle copy(std::tmpfile());
  if (!copy || !ScanStream(stdin, scan, byteOrderMark, copy.get()) ||
      std::fflush(copy.get()) != 0 || std::fseek(copy.get(), 0, SEEK_SET) != 0) {
    return false;
  }
  return source.Attach(copy.release());
}

// Opens the file as source and, unless the encoding is given as
// Windows-1250, reads it once through scan beforehand.
bool OpenInputFile(const std::filesystem::path& path, TextEncoding encoding, LineSource& source,
                   Utf8Scan& scan, bool& byteOrderMark) {
  if (!source.Open(path)) return false;
  if (encoding == TextEncoding::kWindows1250) return true;
  const FileHandle file(std::fopen(path.c_str(), "rb"));
  // An input that cannot be scanned fails where the job reads it.
  if (file) ScanStream(file.get(), scan, byteOrderMark, nullptr);
  return true;
}

}  // namespace

OpenedInput OpenJobInput(const JobFiles& files, LineSource& source) {
  Utf8Scan scan;
  bool byteOrderMark = false;
  const bool opened =
      files.input.empty()
          ? OpenStandardInput(files.encoding, source, scan, byteOrderMark)
          : OpenInputFile(files.input, files.encoding, source, scan, byteOrderMark);
  if (!opened) return {};
  switch (files.encoding) {
    case TextEncoding::kWindows1250: return {InputOpening::kOpened, TextEncoding::kWindows1250};
    case TextEncoding::kUtf8:
      if (!scan.Valid()) return {InputOpening::kNotUtf8};
      break;
    case TextEncoding::kAuto:
      if (scan.Detected(byteOrderMark) == TextEncoding::kWindows1250) {
        return {InputOpening::kOpened, TextEncoding::kWindows1250};
      }
      break;
  }
  if (byteOrderMark) source.SkipPrefix(kUtf8ByteOrderMark);
  return {InputOpening::kOpened, TextEncoding::kUtf8, byteOrderMark};
}

bool CreateJobOutput(const JobFiles& files, OutputSink& sink) {
  if (!files.output.empty()) return sink.Create(files.output);
  sink.CreateStream(stdout);
  return true;
}

std::string InputText(const JobFiles& files) {
  return files.input.empty() ? "standardowe wejście" : files.input.string();
}

std::string OutputText(const JobFiles& files) {
  return files.output.empty() ? "standardowe wyjście" : files.output.string();
}

}  // namespace kolvedir
