#pragma once
// Where the program's parts find their files, in either of two layouts.
//
// The portable program folder (what the build makes): bin/ holds the
// programs, the copy library, the grid PL_grid_001.bin and "katal", and
// python/kolvedir the Python package; the objects folder OBIEKTY lies beside
// bin/. Everything stays inside the folder.
//
// An installed tree under a prefix P (cmake --install, the Debian package):
// the programs in P/bin, the library in P/lib/<arch>, the Python package in
// P/lib/python3/dist-packages/kolvedir, the copy library in
// P/lib/<arch>/kolvedir, and the grid and the sample objects in
// P/share/kolvedir. That tree is not the user's to write: "katal" and OBIEKTY
// live in the user's data folder ($XDG_DATA_HOME/kolvedir), which is also
// searched for the grid first, so that the official grid can be put there
// without root.
//
// A part tells the layout from its own location: a part standing in its
// installed folder of a tree that holds P/share/kolvedir is installed, any
// other is in a portable program folder. So an unpacked tree works under any
// prefix.
#include <filesystem>
#include <string>
#include <vector>

namespace kolvedir {

struct ProgramPlaces {
  bool installed = false;
  // Where "katal" is kept: the program folder, or the user's data folder.
  std::filesystem::path settingsFolder;
  // The objects folder OBIEKTY.
  std::filesystem::path objectsRoot;
  // Where the grid is looked for, in order; the first name that exists (of
  // any kind, so that a broken grid is reported rather than passed over) is
  // the grid in use.
  std::vector<std::filesystem::path> gridCandidates;
  // The folder of the programs kolvedir and kolvedir-batch.
  std::filesystem::path programFolder;
  // The folder of the copy library libkopy.so.
  std::filesystem::path helperFolder;
  // The sample objects copied into a new user's OBIEKTY; empty when portable.
  std::filesystem::path sampleObjects;
};

// The portable program folder whose bin/ is programFolder.
ProgramPlaces PortablePlaces(const std::filesystem::path& programFolder);
// The tree installed under prefix, for the user whose data folder is userData.
ProgramPlaces InstalledPlaces(const std::filesystem::path& prefix,
                              const std::filesystem::path& userData);
// The places of a part that stands in partFolder (an absolute path): the
// folder of a program, of the shared library or of the Python package.
ProgramPlaces PlacesAround(const std::filesystem::path& partFolder);
// The places of the running code: the folder of the shared object that holds
// this function (the library, the Python extension), or of the executable.
ProgramPlaces PlacesOfThisPart();

// $XDG_DATA_HOME/kolvedir when XDG_DATA_HOME is an absolute path, otherwise
// the home folder's .local/share/kolvedir.
std::filesystem::path UserDataFolder();

// The grid file in use: the first candidate that exists, else the last one
// (so that the message of a missing grid names the installed place).
std::filesystem::path GridInUse(const ProgramPlaces& places);
// "Siatka interpolacyjna: " and the grid file, as the runner and the window
// name it.
std::string GridInUseText(const std::filesystem::path& gridFile);

// On a user's first start of an installed program: when the objects folder
// does not exist yet, creates it and copies every sample object into it (each
// file written atomically). Returns false when something could not be
// created or copied; what was copied stays. Does nothing for a portable
// folder or when the objects folder exists.
bool PrepareObjectsFolder(const ProgramPlaces& places);

}  // namespace kolvedir
