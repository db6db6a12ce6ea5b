#include "engine/program_places.h"

#include <dlfcn.h>
#include <link.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include "engine/atomic_file.h"
#include "grid/correction_grid.h"
#include "grid/regular_file.h"

namespace kolvedir {

namespace {

namespace fs = std::filesystem;

// The folders of an installed tree, relative to its prefix, as the build's
// install rules lay them out (set by the build).
constexpr std::string_view kInstalledProgramDir = KOLVEDIR_INSTALL_BINDIR;
constexpr std::string_view kInstalledLibraryDir = KOLVEDIR_INSTALL_LIBDIR;
constexpr std::string_view kInstalledPythonDir = KOLVEDIR_INSTALL_PYTHONDIR;
constexpr std::string_view kInstalledDataDir = KOLVEDIR_INSTALL_DATADIR;
constexpr std::string_view kInstalledHelperDir = KOLVEDIR_INSTALL_HELPERDIR;
// The Python package inside the portable folder's bin/.
constexpr std::string_view kPortablePythonDir = "python/kolvedir";
constexpr std::string_view kObjectsFolderName = "OBIEKTY";
constexpr std::string_view kUserDataName = "kolvedir";
constexpr std::size_t kCopyChunk = 1 << 16;

// folder without its trailing components tail, when it ends with them.
std::optional<fs::path> WithoutTail(fs::path folder, const fs::path& tail) {
  folder = folder.lexically_normal();
  if (!folder.has_filename()) folder = folder.parent_path();
  const std::vector<fs::path> parts(folder.begin(), folder.end());
  const std::vector<fs::path> tailParts(tail.begin(), tail.end());
  if (tailParts.empty() || tailParts.size() >= parts.size() ||
      !std::equal(tailParts.rbegin(), tailParts.rend(), parts.rbegin()))
    return std::nullopt;
  fs::path head;
  for (std::size_t i = 0; i + tailParts.size() < parts.size(); ++i) head /= parts[i];
  return head;
}

bool IsFolder(const fs::path& path) {
  std::error_code ignored;
  return fs::is_directory(path, ignored);
}

fs::path ExecutableFolder() {
  std::error_code error;
  const fs::path exe = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::current_path(error) : exe.parent_path();
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
  std::vector<char> buffer(1 << 14);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found)
    return found->pw_dir;
  return {};
}

// The whole content of a regular file; none when it cannot be read.
std::optional<std::string> ReadWhole(const fs::path& path) {
  RegularFile file(path);
  std::string content;
  char chunk[kCopyChunk];
  for (;;) {
    const std::optional<std::size_t> got = file.Read(chunk, sizeof chunk);
    if (!got) return std::nullopt;
    if (*got == 0) return content;
    content.append(chunk, *got);
  }
}

// Creates folder and the folders missing above it, readable by the user
// alone, as XDG's base directories ask of a data folder that is missing.
bool CreatePrivateFolders(const fs::path& folder) {
  if (folder.empty() || IsFolder(folder)) return true;
  return CreatePrivateFolders(folder.parent_path()) &&
         (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST);
}

// The entries of folder; empty when it cannot be listed whole.
std::vector<fs::directory_entry> Entries(const fs::path& folder) {
  std::vector<fs::directory_entry> entries;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error))
    entries.push_back(*entry);
  if (error) entries.clear();
  return entries;
}

// Copies the regular files of the sample object folder `object` into the new
// folder `into`.
bool CopyObject(const fs::path& object, const fs::path& into) {
  std::error_code error;
  if (!fs::create_directory(into, error)) return false;
  bool copied = true;
  for (const fs::directory_entry& entry : Entries(object)) {
    if (!entry.is_regular_file(error)) continue;
    const std::optional<std::string> content = ReadWhole(entry.path());
    AtomicFile file;
    copied = content && file.Replace(into / entry.path().filename(), *content) && copied;
  }
  return copied;
}

}  // namespace

ProgramPlaces PortablePlaces(const fs::path& programFolder) {
  fs::path bin = programFolder.lexically_normal();
  if (!bin.has_filename()) bin = bin.parent_path();
  return {.installed = false,
          .settingsFolder = bin,
          .objectsRoot = bin.parent_path() / kObjectsFolderName,
          .gridCandidates = {CorrectionGridPath(bin)},
          .programFolder = bin,
          .helperFolder = bin,
          .sampleObjects = {}};
}

ProgramPlaces InstalledPlaces(const fs::path& prefix, const fs::path& userData) {
  const fs::path data = prefix / kInstalledDataDir;
  return {.installed = true,
          .settingsFolder = userData,
          .objectsRoot = userData / kObjectsFolderName,
          .gridCandidates = {CorrectionGridPath(userData), CorrectionGridPath(data)},
          .programFolder = prefix / kInstalledProgramDir,
          .helperFolder = prefix / kInstalledHelperDir,
          .sampleObjects = data / kObjectsFolderName};
}

ProgramPlaces PlacesAround(const fs::path& partFolder) {
  for (const std::string_view dir : {kInstalledProgramDir, kInstalledLibraryDir, kInstalledPythonDir}) {
    const std::optional<fs::path> prefix = WithoutTail(partFolder, dir);
    if (prefix && IsFolder(*prefix / kInstalledDataDir))
      return InstalledPlaces(*prefix, UserDataFolder());
  }
  return PortablePlaces(WithoutTail(partFolder, kPortablePythonDir).value_or(partFolder));
}

ProgramPlaces PlacesOfThisPart() {
  Dl_info info{};
  link_map* module = nullptr;
  // The main program's entry has an empty name: /proc/self/exe names it.
  if (::dladdr1(reinterpret_cast<void*>(&PlacesOfThisPart), &info,
                reinterpret_cast<void**>(&module), RTLD_DL_LINKMAP) != 0 &&
      module != nullptr && module->l_name != nullptr && module->l_name[0] != '\0') {
    std::error_code error;
    const fs::path file = fs::weakly_canonical(fs::absolute(module->l_name, error), error);
    if (!error) return PlacesAround(file.parent_path());
  }
  return PlacesAround(ExecutableFolder());
}

fs::path UserDataFolder() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/')
    return fs::path(data) / kUserDataName;
  return fs::path(HomeFolder()) / ".local" / "share" / kUserDataName;
}

fs::path GridInUse(const ProgramPlaces& places) {
  for (const fs::path& candidate : places.gridCandidates) {
    std::error_code error;
    const fs::file_type type = fs::symlink_status(candidate, error).type();
    if (type != fs::file_type::not_found && type != fs::file_type::none) return candidate;
  }
  return places.gridCandidates.back();
}

std::string GridInUseText(const fs::path& gridFile) {
  return "Siatka interpolacyjna: " + gridFile.string();
}

bool PrepareObjectsFolder(const ProgramPlaces& places) {
  std::error_code error;
  if (!places.installed || fs::symlink_status(places.objectsRoot, error).type() !=
                               fs::file_type::not_found)
    return true;
  // Filled under a hidden name and renamed at the end, so that a start cut
  // short leaves no half-filled OBIEKTY behind that would never be completed.
  const fs::path filling = places.objectsRoot.parent_path() /
                           ("." + std::string(kObjectsFolderName) + "." + std::to_string(::getpid()));
  fs::remove_all(filling, error);
  if (!CreatePrivateFolders(places.objectsRoot.parent_path()) ||
      !fs::create_directory(filling, error))
    return false;
  const std::vector<fs::directory_entry> samples = Entries(places.sampleObjects);
  bool copied = !samples.empty();
  for (const fs::directory_entry& object : samples) {
    if (object.is_directory(error))
      copied = CopyObject(object.path(), filling / object.path().filename()) && copied;
  }
  fs::rename(filling, places.objectsRoot, error);
  if (error) {
    // Another start of the program made OBIEKTY meanwhile: that one stays.
    fs::remove_all(filling, error);
    return IsFolder(places.objectsRoot);
  }
  return copied;
}

}  // namespace kolvedir
