// Where the parts of a portable program folder and of an installed tree find
// "katal", OBIEKTY, the grid and the sample objects.
#include "engine/program_places.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "tests/grid/grid_test_files.h"

namespace kolvedir {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;

// Sets an environment variable (unsets it for nullopt) while it lives.
class Environment {
 public:
  Environment(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~Environment() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

void WriteText(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ProgramPlacesTest, APartTellsItsLayoutFromItsOwnFolder) {
  TemporaryFolder temp;
  const fs::path root = temp.path();
  const fs::path user = root / "home" / "kolvedir";
  const Environment data("XDG_DATA_HOME", (root / "home").string());
  fs::create_directories(root / "usr" / KOLVEDIR_INSTALL_DATADIR);
  fs::create_directories(root / "bare" / "bin");
  const ProgramPlaces portable = PortablePlaces(root / "Kolvedir" / "bin");
  const ProgramPlaces installed = InstalledPlaces(root / "usr", user);
  const struct {
    fs::path partFolder;
    ProgramPlaces expected;
  } kCases[] = {
      {root / "Kolvedir" / "bin", portable},
      {root / "Kolvedir" / "bin" / "python" / "kolvedir", portable},
      {root / "usr" / "bin", installed},
      {root / "usr" / "bin" / "", installed},
      {root / "usr" / KOLVEDIR_INSTALL_LIBDIR, installed},
      {root / "usr" / KOLVEDIR_INSTALL_PYTHONDIR, installed},
      // No installed data folder beside it: a program folder of its own.
      {root / "bare" / "bin", PortablePlaces(root / "bare" / "bin")},
      {root / "usr" / "share", PortablePlaces(root / "usr" / "share")},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.partFolder);
    const ProgramPlaces places = PlacesAround(c.partFolder);
    EXPECT_EQ(places.installed, c.expected.installed);
    EXPECT_EQ(places.settingsFolder, c.expected.settingsFolder);
    EXPECT_EQ(places.objectsRoot, c.expected.objectsRoot);
    EXPECT_EQ(places.gridCandidates, c.expected.gridCandidates);
    EXPECT_EQ(places.programFolder, c.expected.programFolder);
    EXPECT_EQ(places.helperFolder, c.expected.helperFolder);
    EXPECT_EQ(places.sampleObjects, c.expected.sampleObjects);
  }

  // The layouts themselves: the portable folder keeps everything in it.
  EXPECT_EQ(portable.settingsFolder, root / "Kolvedir" / "bin");
  EXPECT_EQ(portable.objectsRoot, root / "Kolvedir" / "OBIEKTY");
  EXPECT_EQ(portable.gridCandidates,
            std::vector<fs::path>{root / "Kolvedir" / "bin" / "PL_grid_001.bin"});
  EXPECT_EQ(installed.settingsFolder, user);
  EXPECT_EQ(installed.objectsRoot, user / "OBIEKTY");
  EXPECT_EQ(installed.gridCandidates,
            (std::vector<fs::path>{user / "PL_grid_001.bin",
                                   root / "usr" / KOLVEDIR_INSTALL_DATADIR / "PL_grid_001.bin"}));
  EXPECT_EQ(portable.programFolder, root / "Kolvedir" / "bin");
  EXPECT_EQ(installed.programFolder, root / "usr" / KOLVEDIR_INSTALL_BINDIR);
  EXPECT_EQ(installed.helperFolder, root / "usr" / KOLVEDIR_INSTALL_HELPERDIR);
  EXPECT_EQ(installed.sampleObjects, root / "usr" / KOLVEDIR_INSTALL_DATADIR / "OBIEKTY");
}

TEST(ProgramPlacesTest, TheUserDataFolderFollowsXdgDataHome) {
  const struct {
    std::optional<std::string> xdg;
    const char* expected;
  } kCases[] = {
      {"/data/ja", "/data/ja/kolvedir"},
      // Relative or empty: not a valid XDG_DATA_HOME, the default holds.
      {"dane", "/home/ja/.local/share/kolvedir"},
      {"", "/home/ja/.local/share/kolvedir"},
      {std::nullopt, "/home/ja/.local/share/kolvedir"},
  };
  const Environment home("HOME", "/home/ja");
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.xdg.value_or("(unset)"));
    const Environment data("XDG_DATA_HOME", c.xdg);
    EXPECT_EQ(UserDataFolder(), fs::path(c.expected));
  }
}

TEST(ProgramPlacesTest, TheUsersGridComesFirstEvenWhenBroken) {
  enum class UserGrid { kNone, kFile, kDanglingLink, kFolder };
  const struct {
    UserGrid user;
    bool usersIsInUse;
  } kCases[] = {
      {UserGrid::kNone, false},
      {UserGrid::kFile, true},
      // Named as it stands, so that the job reports it rather than quietly
      // reading the installed model grid.
      {UserGrid::kDanglingLink, true},
      {UserGrid::kFolder, true},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(static_cast<int>(c.user));
    TemporaryFolder temp;
    const ProgramPlaces places = InstalledPlaces(temp.path() / "usr", temp.path() / "user");
    const fs::path users = places.gridCandidates.front();
    fs::create_directories(users.parent_path());
    if (c.user == UserGrid::kFile) WriteText(users, "grid");
    if (c.user == UserGrid::kDanglingLink) fs::create_symlink(temp.path() / "none", users);
    if (c.user == UserGrid::kFolder) fs::create_directory(users);
    EXPECT_EQ(GridInUse(places), c.usersIsInUse ? users : places.gridCandidates.back());
  }
  const ProgramPlaces portable = PortablePlaces("/nowhere/bin");
  EXPECT_EQ(GridInUse(portable), fs::path("/nowhere/bin/PL_grid_001.bin"));
}

TEST(ProgramPlacesTest, AFirstStartCopiesTheSampleObjectsOnce) {
  TemporaryFolder temp;
  const ProgramPlaces places = InstalledPlaces(temp.path() / "usr", temp.path() / "user");
  WriteText(places.sampleObjects / "PRZYKLAD" / "xy2000", "1 5800000 7500000\r\n");
  WriteText(places.sampleObjects / "PRZYKLAD" / "notatnik.txt", "notatki\r\n");
  WriteText(places.sampleObjects / "STOPNIE" / "BL", "1 52 21\r\n");

  ASSERT_TRUE(PrepareObjectsFolder(places));
  EXPECT_EQ(ReadText(places.objectsRoot / "PRZYKLAD" / "xy2000"), "1 5800000 7500000\r\n");
  EXPECT_EQ(ReadText(places.objectsRoot / "PRZYKLAD" / "notatnik.txt"), "notatki\r\n");
  EXPECT_EQ(ReadText(places.objectsRoot / "STOPNIE" / "BL"), "1 52 21\r\n");
  // Nothing is left beside OBIEKTY; the new data folder is the user's alone.
  EXPECT_EQ(std::distance(fs::directory_iterator(temp.path() / "user"), fs::directory_iterator()), 1);
  EXPECT_EQ(fs::status(temp.path() / "user").permissions() & fs::perms::all, fs::perms::owner_all);

  // The user's own choices stay: a deleted sample is not brought back.
  fs::remove_all(places.objectsRoot / "STOPNIE");
  ASSERT_TRUE(PrepareObjectsFolder(places));
  EXPECT_FALSE(fs::exists(places.objectsRoot / "STOPNIE"));

  // A portable folder has its OBIEKTY beside bin/ and nothing to copy.
  const ProgramPlaces portable = PortablePlaces(temp.path() / "Kolvedir" / "bin");
  EXPECT_TRUE(PrepareObjectsFolder(portable));
  EXPECT_FALSE(fs::exists(portable.objectsRoot));

  // Without the installed samples the start says so.
  const ProgramPlaces bare = InstalledPlaces(temp.path() / "bare", temp.path() / "other");
  EXPECT_FALSE(PrepareObjectsFolder(bare));
}

}  // namespace
}  // namespace kolvedir
