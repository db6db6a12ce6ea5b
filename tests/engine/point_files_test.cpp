// Point files: line ends, Ctrl+Z, long lines, and result files that are
// replaced only when written whole, keep their mode and replace links.
#include "engine/point_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/engine/job_fixture.h"

namespace kolvedir {
namespace {

using testing::TemporaryFolder;

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Lines(const std::string& bytes) {
  TemporaryFolder folder;
  WriteFile(folder.path() / "in", bytes);
  LineSource source;
  EXPECT_TRUE(source.Open(folder.path() / "in"));
  std::vector<std::string> lines;
  for (std::string line; source.NextLine(line);) lines.push_back(line);
  EXPECT_FALSE(source.Failed());
  return lines;
}

TEST(LineSourceTest, LineEnds) {
  using V = std::vector<std::string>;
  const struct {
    const char* what;
    std::string bytes;
    V lines;
  } cases[] = {
      {"CR LF", "a 1 2\r\nb 3 4\r\n", {"a 1 2", "b 3 4"}},
      {"LF", "a 1 2\nb 3 4\n", {"a 1 2", "b 3 4"}},
      {"last line without a line end", "a\r\nb", {"a", "b"}},
      {"lone CR dropped", "a\rb\r\nc\r", {"ab", "c"}},
      {"blank lines kept", "\r\n\r\nx\r\n", {"", "", "x"}},
      {"final Ctrl+Z ends the input", "a\r\nb\r\n\x1A", {"a", "b"}},
      {"final Ctrl+Z after a line without an end", "a\r\nb\x1A", {"a", "b"}},
      {"Ctrl+Z inside the file is data", "a\x1A b\r\nc\r\n", {"a\x1A b", "c"}},
      {"NUL bytes pass", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
      {"empty file", "", {}},
      {"Windows-1250 bytes pass", "\xA3\xF3\xE6 1 2\r\n", {"\xA3\xF3\xE6 1 2"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Lines(c.bytes), c.lines) << c.what;
}

TEST(LineSourceTest, LinesOfAnyLength) {
  const std::string longLine(10 << 20, 'x');
  const std::vector<std::string> lines = Lines("a\r\n" + longLine + "\r\nb\r\n" + longLine);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], longLine);
  EXPECT_EQ(lines[2], "b");
  EXPECT_EQ(lines[3], longLine);
  // A CR LF cut by a buffer boundary still ends the line.
  for (std::size_t n : {65535u, 65536u, 65537u, (1u << 20) - 1, (1u << 20) + 1}) {
    const std::string line(n, 'y');
    EXPECT_EQ(Lines(line + "\r\nz\r\n"), (std::vector<std::string>{line, "z"})) << n;
  }
}

// A line longer than kMaxLineBytes ends the input there, unread, and the
// source tells which line it was; one at the limit is read whole.
TEST(LineSourceTest, LineOverTheLimitStopsTheInput) {
  const std::string atLimit(kMaxLineBytes, 'x');
  const struct {
    const char* what;
    std::string bytes;
    std::size_t linesRead;
    bool tooLong;
    std::size_t lineNumber;
  } cases[] = {
      {"at the limit", "a\r\n" + atLimit + "\nb\r\n", 3, false, 3},
      {"over the limit", "a\r\nb\r\n" + atLimit + "x\nc\r\n", 2, true, 3},
      {"over the limit at the end", "a\n" + atLimit + "x", 1, true, 2},
  };
  for (const auto& c : cases) {
    TemporaryFolder folder;
    WriteFile(folder.path() / "in", c.bytes);
    LineSource source;
    ASSERT_TRUE(source.Open(folder.path() / "in")) << c.what;
    std::size_t read = 0;
    for (std::string line; source.NextLine(line);) ++read;
    EXPECT_EQ(read, c.linesRead) << c.what;
    EXPECT_EQ(source.LineTooLong(), c.tooLong) << c.what;
    if (c.tooLong) {
      EXPECT_EQ(source.LineNumber(), c.lineNumber) << c.what;
    }
    EXPECT_FALSE(source.Failed()) << c.what;
    std::string line;
    EXPECT_FALSE(source.NextLine(line)) << c.what << ": reading goes on after the long line";
  }
}

TEST(LineSourceTest, ReadingAFolderFails) {
  TemporaryFolder folder;
  LineSource source;
  ASSERT_TRUE(source.Open(folder.path()));
  std::string line;
  EXPECT_FALSE(source.NextLine(line));
  EXPECT_TRUE(source.Failed());
}

TEST(OutputSinkTest, CommitReplacesTheResultWithCrLfLines) {
  TemporaryFolder folder;
  const auto result = folder.path() / "xy92.1";
  WriteFile(result, "old\r\n");
  OutputSink sink;
  ASSERT_TRUE(sink.Create(result));
  sink.WriteLine("a 1");
  sink.WriteLine("");
  EXPECT_EQ(ReadFile(result), "old\r\n");  // untouched until the commit
  ASSERT_TRUE(sink.Commit());
  EXPECT_EQ(ReadFile(result), "a 1\r\n\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(OutputSinkTest, DiscardLeavesTheEarlierResult) {
  TemporaryFolder folder;
  const auto result = folder.path() / "xy92.1";
  WriteFile(result, "old\r\n");
  {
    OutputSink sink;
    ASSERT_TRUE(sink.Create(result));
    sink.WriteLine("new");
  }  // destroyed without a commit
  EXPECT_EQ(ReadFile(result), "old\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

// A full disk, made with a file-size limit: the write fails, Commit says so
// and the earlier result survives.
TEST(OutputSinkTest, FailedWriteKeepsTheEarlierResult) {
  TemporaryFolder folder;
  const auto result = folder.path() / "xy92.1";
  WriteFile(result, "old\r\n");
  OutputSink sink;
  bool created = false, committed = false;
  {
    testing::FileSizeLimit fullDisk(4096);
    created = sink.Create(result);
    for (int i = 0; created && i < 100000; ++i) sink.WriteLine("1234567890 1234567890 1234567890");
    committed = sink.Commit();
  }
  ASSERT_TRUE(created);
  EXPECT_FALSE(committed);
  EXPECT_EQ(sink.ErrorText(), "błąd zapisu: plik za duży");
  EXPECT_EQ(ReadFile(result), "old\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(OutputSinkTest, ResultThatCannotBeReplacedIsAFailure) {
  TemporaryFolder folder;
  const auto result = folder.path() / "xy92.1";
  std::filesystem::create_directories(result / "inside");  // a folder stands under the name
  OutputSink sink;
  ASSERT_TRUE(sink.Create(result));
  sink.WriteLine("new");
  EXPECT_FALSE(sink.Commit());
  EXPECT_FALSE(sink.ErrorText().empty());
  EXPECT_TRUE(std::filesystem::is_directory(result / "inside"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

// Read-only even for a job run by root: the earlier result stays as it is.
TEST(OutputSinkTest, ReadOnlyResultIsNeverReplaced) {
  TemporaryFolder folder;
  const auto result = folder.path() / "xy92.1";
  WriteFile(result, "old\r\n");
  std::filesystem::permissions(result, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read);
  OutputSink sink;
  EXPECT_FALSE(sink.Create(result));
  EXPECT_EQ(sink.ErrorText(), "zbiór wynikowy jest tylko do odczytu");
  EXPECT_FALSE(sink.Commit());
  EXPECT_EQ(ReadFile(result), "old\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

// A replaced result keeps its permission bits whatever the umask; a new one
// gets the usual mode less the umask.
TEST(OutputSinkTest, ResultKeepsItsPermissionBits) {
  const struct {
    mode_t earlier;  // 0: no earlier result
    mode_t umask;
    mode_t result;
  } cases[] = {
      {0600, 022, 0600}, {0640, 077, 0640}, {0664, 022, 0664}, {0, 022, 0644}, {0, 027, 0640},
  };
  for (const auto& c : cases) {
    TemporaryFolder folder;
    const auto result = folder.path() / "xy92.1";
    if (c.earlier != 0) {
      WriteFile(result, "old\r\n");
      ASSERT_EQ(::chmod(result.c_str(), c.earlier), 0);
    }
    const mode_t previousUmask = ::umask(c.umask);
    OutputSink sink;
    const bool written = sink.Create(result) && (sink.WriteLine("new"), sink.Commit());
    ::umask(previousUmask);
    ASSERT_TRUE(written) << sink.ErrorText();
    struct stat info {};
    ASSERT_EQ(::stat(result.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, c.result) << std::oct << c.earlier << " umask " << c.umask;
  }
}

// A result name that is a symbolic link: the link is replaced by the result,
// the file it led to (here outside the object) is never written, and a link
// to a file marked read-only is refused like a read-only result.
TEST(OutputSinkTest, LinkAtTheResultNameIsReplacedNotWrittenThrough) {
  const struct {
    const char* what;
    mode_t target;  // 0: the link leads nowhere
    bool replaced;
  } cases[] = {
      {"link to a writable file", 0644, true},
      {"link to a read-only file", 0444, false},
      {"link to nothing", 0, true},
  };
  for (const auto& c : cases) {
    TemporaryFolder folder;
    const auto object = folder.path() / "OBJ";
    const auto outside = folder.path() / "outside";
    std::filesystem::create_directory(object);
    if (c.target != 0) {
      WriteFile(outside, "outside\r\n");
      ASSERT_EQ(::chmod(outside.c_str(), c.target), 0);
    }
    std::filesystem::create_symlink("../outside", object / "xy92.1");
    OutputSink sink;
    const bool written = sink.Create(object / "xy92.1") && (sink.WriteLine("new"), sink.Commit());
    EXPECT_EQ(written, c.replaced) << c.what << ": " << sink.ErrorText();
    EXPECT_EQ(std::filesystem::is_symlink(object / "xy92.1"), !c.replaced) << c.what;
    EXPECT_EQ(ReadFile(object / "xy92.1"), c.replaced ? "new\r\n" : "outside\r\n") << c.what;
    if (!c.replaced) {
      EXPECT_EQ(sink.ErrorText(), "zbiór wynikowy jest tylko do odczytu");
    }
    EXPECT_EQ(std::filesystem::exists(outside), c.target != 0) << c.what;
    if (c.target != 0) {
      EXPECT_EQ(ReadFile(outside), "outside\r\n") << c.what;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(object), {}), 1) << c.what;
  }
}

TEST(OutputSinkTest, MissingFolderCannotBeCreated) {
  TemporaryFolder folder;
  OutputSink sink;
  EXPECT_FALSE(sink.Create(folder.path() / "no-such-folder" / "xy92.1"));
  EXPECT_FALSE(sink.ErrorText().empty());
  EXPECT_FALSE(sink.Commit());
}

}  // namespace
}  // namespace kolvedir
