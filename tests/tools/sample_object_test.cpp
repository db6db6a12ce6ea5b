// The sample objects (tools/make-sample-object.sh) tell the truth in their
// notes: every point file with B L is described in the BL format its records
// are written in, and the notes name the input format that reads them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "engine/text_encoding.h"

namespace kolvedir {
namespace {

const std::filesystem::path kSampleObjects = KOLVEDIR_SAMPLE_OBJECTS;

// The lines of a Windows-1250 file with CR LF line ends, in UTF-8; a line end
// without its CR fails the test.
std::vector<std::string> FileLines(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), {}};
  EXPECT_FALSE(bytes.empty()) << path;
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t end = bytes.find('\n', start);
    EXPECT_NE(end, std::string::npos) << path << ": the last line has no line end";
    if (end == std::string::npos) break;
    EXPECT_TRUE(end > start && bytes[end - 1] == '\r') << path << ": LF without CR";
    lines.push_back(Win1250ToUtf8(bytes.substr(start, end - start - 1)));
    start = end + 1;
  }
  return lines;
}

TEST(SampleObjects, NotesTellTheBlFormatOfEveryFileAndWhichToChoose) {
  const struct {
    const char* object;
    bool dms;  // B L in degrees, minutes and seconds
    const char* choose;
  } kObjects[] = {{"PRZYKLAD", true, "wybierz format danych BL \"[stopnie min sek]\""},
                  {"PRZYKLAD_STOPNIE", false, "wybierz format danych BL \"[stopnie]\""}};
  const std::regex described(R"(^  (\S+) +.*B L w stopniach(, minutach i sekundach| dziesiętnych))");
  const std::regex dmsRecord(R"(^\S+ -?\d+ \d+ \d+\.\d+ -?\d+ \d+ \d+\.\d+( .*)?$)");
  const std::regex decimalRecord(R"(^\S+ -?\d+\.\d+ -?\d+\.\d+( .*)?$)");
  for (const auto& o : kObjects) {
    SCOPED_TRACE(o.object);
    const std::filesystem::path folder = kSampleObjects / o.object;
    std::string notes;
    std::set<std::string> describedFiles;
    for (const std::string& line : FileLines(folder / "notatnik.txt")) {
      notes += line + ' ';
      std::smatch match;
      if (!std::regex_search(line, match, described)) continue;
      const std::string file = match[1];
      describedFiles.insert(file);
      const bool dms = match[2] == ", minutach i sekundach";
      EXPECT_EQ(dms, o.dms) << file << ": the notes name another format than the object's";
      for (const std::string& record : FileLines(folder / file)) {
        EXPECT_TRUE(std::regex_match(record, dms ? dmsRecord : decimalRecord))
            << file << ": " << record;
      }
    }
    EXPECT_NE(notes.find(o.choose), std::string::npos) << notes;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("BL", 0) == 0) {
        EXPECT_TRUE(describedFiles.count(name)) << name;
      }
    }
  }
}

}  // namespace
}  // namespace kolvedir
