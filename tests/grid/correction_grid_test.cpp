#include "grid/correction_grid.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <string>

#include "tests/grid/grid_test_files.h"

namespace kolvedir {
namespace {

using testing::ConstantLayers;
using testing::FileIndex;
using testing::GridBytes;
using testing::LoadSyntheticGrid;
using testing::TemporaryFolder;
using testing::WriteBytes;

// Nodes of the file (i ≤ 600, j ≤ 1020): each layer reads back its own index.
TEST(CorrectionGridLoad, ValueLayerFollowsFromPositionAlone) {
  LoadSyntheticGrid(FileIndex);
  const int nodes[][2] = {{0, 0}, {0, 1}, {1, 0}, {0, 1020}, {600, 0}, {600, 1020}, {317, 555}};
  for (const auto& [i, j] : nodes) {
    for (int layer = 1; layer <= kGridLayers; ++layer) {
      EXPECT_EQ(CorrectionGridValue(layer, i, j), 8 * (1021 * i + j) + layer - 1)
          << "node " << i << ", " << j << " layer " << layer;
    }
  }
}

TEST(CorrectionGridLoad, EdgeCopiesRepeatLastRowAndColumn) {
  LoadSyntheticGrid(FileIndex);
  for (int j = 0; j <= 1020; ++j) EXPECT_EQ(CorrectionGridNode(601, j), CorrectionGridNode(600, j)) << j;
  for (int i = 0; i <= 600; ++i) EXPECT_EQ(CorrectionGridNode(i, 1021), CorrectionGridNode(i, 1020)) << i;
  EXPECT_EQ(CorrectionGridNode(601, 1021), CorrectionGridNode(600, 1020));
}

// Two's complement little-endian, written byte by byte into the first node
// and the last node of the file.
TEST(CorrectionGridLoad, BytesDecodeAsLittleEndianTwosComplement) {
  struct Case {
    unsigned char bytes[4];
    std::int32_t value;
  };
  const Case cases[kGridLayers] = {
      {{0xFF, 0xFF, 0xFF, 0xFF}, -1},        {{0x00, 0x00, 0x00, 0x80}, INT32_MIN},
      {{0xC3, 0xFD, 0xFF, 0xFF}, -573},      {{0x04, 0x03, 0x02, 0x01}, 0x01020304},
      {{0xFF, 0xFF, 0xFF, 0x7F}, INT32_MAX}, {{0x01, 0x00, 0x00, 0x00}, 1},
      {{0x00, 0x01, 0x00, 0x00}, 256},       {{0x00, 0x00, 0x00, 0x00}, 0},
  };
  std::vector<unsigned char> bytes(kGridFileBytes, 0);
  for (int layer = 0; layer < kGridLayers; ++layer) {
    std::copy_n(cases[layer].bytes, 4, bytes.begin() + 4 * layer);
    std::copy_n(cases[layer].bytes, 4, bytes.end() - 32 + 4 * layer);
  }
  TemporaryFolder folder;
  const std::filesystem::path file = CorrectionGridPath(folder.path());
  WriteBytes(file, bytes);
  ASSERT_EQ(LoadCorrectionGrid(file), GridLoadResult::kLoaded);
  for (int layer = 1; layer <= kGridLayers; ++layer) {
    EXPECT_EQ(CorrectionGridValue(layer, 0, 0), cases[layer - 1].value) << layer;
    EXPECT_EQ(CorrectionGridValue(layer, 600, 1020), cases[layer - 1].value) << layer;
    EXPECT_EQ(CorrectionGridValue(layer, 601, 1021), cases[layer - 1].value) << layer;
    EXPECT_EQ(CorrectionGridValue(layer, 0, 1), 0) << layer;
  }
}

TEST(CorrectionGridLoad, FileNameIsInTheGivenFolder) {
  EXPECT_EQ(CorrectionGridPath(std::filesystem::path("/opt/prog/bin")),
            std::filesystem::path("/opt/prog/bin/PL_grid_001.bin"));
}

// A refused file leaves the store exactly as the previous load left it.
void ExpectStoreHoldsConstant(std::int32_t value) {
  const int nodes[][2] = {{0, 0}, {0, 1021}, {300, 500}, {600, 1020}, {601, 1021}};
  for (const auto& [i, j] : nodes) {
    for (int layer = 1; layer <= kGridLayers; ++layer) {
      ASSERT_EQ(CorrectionGridValue(layer, i, j), value) << i << ", " << j << " layer " << layer;
    }
  }
}

struct RefusedFile {
  const char* name;
  GridLoadResult expected;
  const char* relativePath;  // of the grid file inside a fresh folder
  // Puts something (or nothing) under the grid's name in folder.
  void (*prepare)(const std::filesystem::path& file);
};

std::vector<unsigned char> Bytes(std::uintmax_t count) {
  return std::vector<unsigned char>(count, 0x63);
}

constexpr const char* kName = "PL_grid_001.bin";

const RefusedFile kRefusedFiles[] = {
    {"missing", GridLoadResult::kMissing, kName, [](const std::filesystem::path&) {}},
    {"missing folder on the way", GridLoadResult::kMissing, "no such folder/PL_grid_001.bin",
     [](const std::filesystem::path&) {}},
    {"empty", GridLoadResult::kTooShort, kName, [](const auto& file) { WriteBytes(file, Bytes(0)); }},
    {"one byte short", GridLoadResult::kTooShort, kName,
     [](const auto& file) { WriteBytes(file, Bytes(kGridFileBytes - 1)); }},
    {"one node short", GridLoadResult::kTooShort, kName,
     [](const auto& file) { WriteBytes(file, Bytes(kGridFileBytes - 32)); }},
    {"one byte long", GridLoadResult::kTooLong, kName,
     [](const auto& file) { WriteBytes(file, Bytes(kGridFileBytes + 1)); }},
    {"twice as long", GridLoadResult::kTooLong, kName,
     [](const auto& file) { WriteBytes(file, Bytes(2 * kGridFileBytes)); }},
    {"folder", GridLoadResult::kNotAFile, kName,
     [](const auto& file) { std::filesystem::create_directory(file); }},
    {"named pipe", GridLoadResult::kNotAFile, kName,
     [](const auto& file) { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); }},
    {"link to an endless device", GridLoadResult::kNotAFile, kName,
     [](const auto& file) { std::filesystem::create_symlink("/dev/zero", file); }},
    {"symbolic link loop", GridLoadResult::kCannotOpen, kName,
     [](const auto& file) { std::filesystem::create_symlink(file, file); }},
    {"dangling symbolic link", GridLoadResult::kMissing, kName,
     [](const auto& file) { std::filesystem::create_symlink(file.string() + ".gone", file); }},
};

void PrintTo(const RefusedFile& file, std::ostream* out) { *out << file.name; }

class RefusedGridFile : public ::testing::TestWithParam<RefusedFile> {};

TEST_P(RefusedGridFile, KeepsPreviousStoreAndSaysWhy) {
  LoadSyntheticGrid(ConstantLayers(7, 7, 7));
  TemporaryFolder folder;
  const std::filesystem::path file = folder.path() / GetParam().relativePath;
  GetParam().prepare(file);
  EXPECT_EQ(LoadCorrectionGrid(file), GetParam().expected);
  ExpectStoreHoldsConstant(7);
}

INSTANTIATE_TEST_SUITE_P(Files, RefusedGridFile, ::testing::ValuesIn(kRefusedFiles),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             if (c == ' ') c = '_';
                           }
                           return name;
                         });

// A file without read permission for the user. As root (who reads anything)
// the load runs in a child process that has dropped to an unprivileged user.
TEST(CorrectionGridLoad, UnreadableFileIsRefused) {
  LoadSyntheticGrid(ConstantLayers(7, 7, 7));
  TemporaryFolder folder;
  const std::filesystem::path file = CorrectionGridPath(folder.path());
  WriteBytes(file, GridBytes(ConstantLayers(9, 9, 9)));
  namespace fs = std::filesystem;
  fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  fs::permissions(file, fs::perms::none);

  constexpr int kRefused = 0, kLoaded = 1, kCannotDrop = 2;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ::_exit(kCannotDrop);
    const bool refused = LoadCorrectionGrid(file) == GridLoadResult::kCannotOpen &&
                         CorrectionGridValue(4, 300, 500) == 7;
    ::_exit(refused ? kRefused : kLoaded);
  }
  int wait = 0;
  ASSERT_EQ(::waitpid(child, &wait, 0), child);
  ASSERT_TRUE(WIFEXITED(wait));
  if (WEXITSTATUS(wait) == kCannotDrop) GTEST_SKIP() << "cannot drop to an unprivileged user";
  EXPECT_EQ(WEXITSTATUS(wait), kRefused);
}

// Every refusal names the file actually read, by the path it was given as.
TEST(CorrectionGridLoad, EachOutcomeHasItsOwnMessageNamingTheFileRead) {
  const std::filesystem::path given = "/x/short.bin";
  EXPECT_EQ(GridLoadMessage(GridLoadResult::kLoaded, given), " Czytanie siatki interpolacyjnej - ok. ");
  EXPECT_EQ(GridLoadMessage(GridLoadResult::kMissing, given), " *** Brak pliku bazowego /x/short.bin");
  EXPECT_EQ(GridLoadMessage(GridLoadResult::kMissing, "PL_grid_001.bin"),
            " *** Brak pliku bazowego PL_grid_001.bin");
  const GridLoadResult refusals[] = {GridLoadResult::kNotAFile, GridLoadResult::kCannotOpen,
                                     GridLoadResult::kTooShort, GridLoadResult::kTooLong,
                                     GridLoadResult::kReadFailed};
  std::set<std::string> seen{GridLoadMessage(GridLoadResult::kLoaded, given),
                             GridLoadMessage(GridLoadResult::kMissing, given)};
  for (GridLoadResult result : refusals) {
    const std::string message = GridLoadMessage(result, given);
    EXPECT_TRUE(message.starts_with(" *** ")) << message;
    EXPECT_NE(message.find(" /x/short.bin"), std::string::npos) << message;
    EXPECT_EQ(message.find("PL_grid_001.bin"), std::string::npos) << message;
    EXPECT_TRUE(seen.insert(message).second) << "shared message: " << message;
  }
}

}  // namespace
}  // namespace kolvedir
