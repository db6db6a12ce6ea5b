// kolvedir-batch when the file system lets it down: folders and files that
// cannot be written or read, files that vanish or change their nature, a full
// disk, a damaged grid. Every such job must end with a clear message and exit
// status 1, announce no success, not crash or hang, leave no temporary file
// and keep the earlier result file as it was.
//
// The tests may run as root, whom permission bits do not stop, so they use
// means that hold for root too: a folder or a link loop in place of a file,
// the immutable attribute, read-only bind mounts and a small tmpfs. A case
// whose means this machine does not offer is skipped with the reason.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "grid/correction_grid.h"
#include "engine/point_files.h"
#include "grid/model_grid.h"
#include "tests/engine/job_fixture.h"

namespace kolvedir {
namespace {

namespace fs = std::filesystem;
using testing::JobFixture;

constexpr std::string_view kEarlierResult = "EARLIER RESULT\r\n";
constexpr auto kHangLimit = std::chrono::seconds(60);

struct BatchRun {
  bool exited = false;  // false: killed by a signal or stopped for hanging
  int status = -1;
  std::string out, err;
};

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string SystemError(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

std::string SanitizerOptions() {
  const char* options = std::getenv("ASAN_OPTIONS");
  return options ? options : "";
}

// A working object with an input file and an earlier result, and the faults
// laid on it; every fault is undone when the scene goes, so that the
// temporary folder can be removed.
class FaultScene {
 public:
  FaultScene() {
    grid = fixture_.gridFile();
    Populate();
  }
  FaultScene(const FaultScene&) = delete;
  FaultScene& operator=(const FaultScene&) = delete;
  ~FaultScene() {
    for (auto undo = undo_.rbegin(); undo != undo_.rend(); ++undo) (*undo)();
  }

  const JobFixture& fixture() const { return fixture_; }
  fs::path object() const { return fixture_.object(); }
  fs::path input() const { return object() / "xy92"; }
  fs::path result() const { return object() / "xy92.1"; }
  fs::path secondInput() const { return object() / "xy92b"; }
  fs::path secondResult() const { return object() / "xy92b.1"; }
  std::vector<std::string> environment;  // extra NAME=value for the runner
  std::optional<rlim_t> addressSpace;     // the runner's limit, bytes

  // `count` points in xy92 (3000: about 390 kB of result) and the earlier result.
  void Populate(int count = 3000) const {
    std::string points;
    for (int i = 0; i < count; ++i) points += "P" + std::to_string(i) + " 500000.000 600000.000\r\n";
    fixture_.WriteInput("xy92", points);
    fixture_.WriteInput("xy92.1", std::string(kEarlierResult));
  }

  // A second input with an earlier result of its own, which the runner is
  // given after the first: --input xy92 --input xy92b --output-dir OBJ.
  void AddSecondInput() {
    fixture_.WriteInput("xy92b", "B1 500000.000 600000.000\r\n");
    fixture_.WriteInput("xy92b.1", std::string(kEarlierResult));
    twoInputs_ = true;
  }

  void OnExit(std::function<void()> undo) { undo_.push_back(std::move(undo)); }

  // The immutable attribute: no writing, renaming over or removing, for root too.
  std::string SetImmutable(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return SystemError("open");
    int flags = 0;
    std::string refused;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0) {
      refused = SystemError("immutable attribute");
    } else {
      flags |= FS_IMMUTABLE_FL;
      if (::ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0) refused = SystemError("immutable attribute");
    }
    ::close(fd);
    if (refused.empty()) {
      OnExit([path] {
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
          flags &= ~FS_IMMUTABLE_FL;
          ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        if (fd >= 0) ::close(fd);
      });
    }
    return refused;
  }

  std::string MountReadOnly(const fs::path& folder) {
    if (::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) {
      return SystemError("bind mount");
    }
    OnExit([folder] { ::umount2(folder.c_str(), MNT_DETACH); });
    if (::mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
      return SystemError("read-only remount");
    }
    return {};
  }

  std::string MountSmallTmpfs(const fs::path& folder, const char* size) {
    const std::string options = std::string("size=") + size;
    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0) {
      return SystemError("tmpfs mount");
    }
    OnExit([folder] { ::umount2(folder.c_str(), MNT_DETACH); });
    return {};
  }

  // Appends a line of length bytes to the input, after its points.
  void AppendLine(std::size_t length) const {
    std::ofstream(input(), std::ios::binary | std::ios::app) << std::string(length, 'x') << "\r\n";
  }

  // The runner with the preloaded faults of opening and flushing files;
  // `fault` sets them.
  void PreloadFileFaults(const std::string& fault) {
    environment = {std::string("LD_PRELOAD=") + KOLVEDIR_FILE_FAULTS, fault,
                   // Sanitizer builds: the preloaded library comes before their runtime.
                   "ASAN_OPTIONS=" + SanitizerOptions() + ":verify_asan_link_order=0"};
  }

  // Runs kolvedir-batch from xy92 to xy92 in PL-ETRF89 (theoretical) on the
  // object, or on its two inputs; stops it if it runs longer than kHangLimit.
  BatchRun Run() const { return Finish(Start()); }

  pid_t Start() const {
    std::vector<std::string> args = {KOLVEDIR_BATCH, "--from", "xy92", "--from-frame", "PL-ETRF89",
                                     "--to", "xy92", "--to-frame", "PL-ETRF89", "--method",
                                     "theoretical", "--grid", grid.string()};
    if (twoInputs_) {
      args.insert(args.end(), {"--input", input().string(), "--input", secondInput().string(),
                               "--output-dir", object().string()});
    } else {
      args.insert(args.end(), {"--object", object().string()});
    }
    const pid_t child = ::fork();
    if (child == 0) {
      const int out = ::open(StreamFile("stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err = ::open(StreamFile("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int in = ::open("/dev/null", O_RDONLY);
      if (out < 0 || err < 0 || in < 0) ::_exit(127);
      ::dup2(in, 0), ::dup2(out, 1), ::dup2(err, 2);
      for (const std::string& variable : environment) ::putenv(const_cast<char*>(variable.c_str()));
      if (addressSpace) {
        const rlimit limit{*addressSpace, *addressSpace};
        if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(127);
      }
      std::vector<char*> argv;
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    return child;
  }

  BatchRun Finish(pid_t child) const {
    BatchRun run;
    int raw = 0;
    const auto deadline = std::chrono::steady_clock::now() + kHangLimit;
    while (::waitpid(child, &raw, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &raw, 0);
        run.err = "(stopped after " + std::to_string(kHangLimit.count()) + " s) ";
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    run.exited = WIFEXITED(raw);
    run.status = run.exited ? WEXITSTATUS(raw) : -WTERMSIG(raw);
    run.out = Slurp(StreamFile("stdout"));
    run.err += Slurp(StreamFile("stderr"));
    return run;
  }

  // Where the runner's standard output or error goes, beside the objects folder.
  fs::path StreamFile(const char* stream) const { return fixture_.objectsRoot().parent_path() / stream; }

  fs::path grid;  // the grid the runner is given

 private:
  JobFixture fixture_;
  std::vector<std::function<void()>> undo_;
  bool twoInputs_ = false;
};

bool IsRoot() { return ::geteuid() == 0; }

// Read-only for root too: the immutable attribute, else a read-only bind mount.
std::string MakeFolderReadOnly(FaultScene& s, const fs::path& folder) {
  if (!IsRoot()) {
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
    s.OnExit([folder] { fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add); });
    return {};
  }
  const std::string immutable = s.SetImmutable(folder);
  if (immutable.empty()) return {};
  const std::string mounted = s.MountReadOnly(folder);
  return mounted.empty() ? std::string() : immutable + "; " + mounted;
}

void WriteGridOfLength(const fs::path& file, std::uintmax_t length) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  const std::string block(1 << 20, '\x01');
  for (std::uintmax_t done = 0; done < length; done += block.size()) {
    out.write(block.data(), static_cast<std::streamsize>(std::min<std::uintmax_t>(block.size(), length - done)));
  }
}

// The path of a grid in a folder of its own, beside a model marker that
// records a fingerprint.
fs::path GridBesideAModelMarker(FaultScene& s) {
  const fs::path grid = s.object().parent_path().parent_path() / "marked" / kGridFileName;
  fs::create_directories(grid.parent_path());
  std::ofstream(ModelMarkerPath(grid)) << "model\nfingerprint 0123456789abcdef\n";
  return grid;
}

struct FaultCase {
  const char* name;
  // Lays the fault; gives the reason why it cannot be laid here, or "".
  std::string (*lay)(FaultScene&);
  const char* message;  // part of the runner's message on standard error
};

const FaultCase kFaultCases[] = {
    {"OutputFolderReadOnly",
     [](FaultScene& s) { return MakeFolderReadOnly(s, s.object()); },
     " *** Nie można utworzyć zbioru wynikowego: "},
    {"OutputFileImmutable",
     [](FaultScene& s) {
       // Permission bits do not keep a file from being replaced by renaming.
       const std::string refused = s.SetImmutable(s.result());
       return refused.empty() ? refused : refused + " (a read-only result needs the immutable attribute)";
     },
     "nie można zastąpić zbioru wynikowego"},
    {"ResultLinksToReadOnlyFile",  // the file behind the link is protected, not detached
     [](FaultScene& s) {
       const fs::path outside = s.object().parent_path().parent_path() / "outside.1";
       fs::rename(s.result(), outside);
       fs::permissions(outside, fs::perms::owner_read | fs::perms::group_read);
       fs::create_symlink(outside, s.result());
       return std::string();
     },
     "zbiór wynikowy jest tylko do odczytu"},
    {"OutputFileIsFolder",
     [](FaultScene& s) {
       fs::remove(s.result());
       fs::create_directory(s.result());
       std::ofstream(s.result() / "keep") << kEarlierResult;
       return std::string();
     },
     "nie można zastąpić zbioru wynikowego"},
    {"InputIsFolder",
     [](FaultScene& s) {
       fs::remove(s.input());
       fs::create_directory(s.input());
       return std::string();
     },
     " *** Błąd odczytu zbioru wejściowego: "},
    {"InputUnreadable",
     [](FaultScene& s) {
       if (IsRoot()) return std::string("permission bits do not stop root (InputIsFolder covers it)");
       fs::permissions(s.input(), fs::perms::none);
       return std::string();
     },
     " *** Nie można otworzyć zbioru wejściowego: "},
    {"InputIsLinkLoop",
     [](FaultScene& s) {
       fs::remove(s.input());
       fs::create_symlink("xy92", s.input());
       return std::string();
     },
     " *** Nie można otworzyć zbioru wejściowego: "},
    {"InputIsFifo",  // used to wait for a writer for ever
     [](FaultScene& s) {
       fs::remove(s.input());
       if (::mkfifo(s.input().c_str(), 0644) != 0) return SystemError("mkfifo");
       return std::string();
     },
     " *** Nie można otworzyć zbioru wejściowego: "},
    {"InputIsEndlessDevice",  // used to read /dev/zero until memory ran out
     [](FaultScene& s) {
       fs::remove(s.input());
       fs::create_symlink("/dev/zero", s.input());
       return std::string();
     },
     " *** Nie można otworzyć zbioru wejściowego: "},
    {"InputRemovedBeforeReading",
     [](FaultScene& s) {
       s.PreloadFileFaults("KOLVEDIR_REMOVE_ON_OPEN=" + s.input().string());
       return std::string();
     },
     " *** Nie można otworzyć zbioru wejściowego: "},
    {"DiskFull",
     [](FaultScene& s) {
       const std::string refused = s.MountSmallTmpfs(s.object(), "160k");
       if (refused.empty()) s.Populate();  // the mount hides the files laid before
       return refused;
     },
     " *** Błąd zapisu zbioru wynikowego: "},
    // Flushing the result to the disk fails: it is not durable, no success.
    {"ResultCannotBeFlushed",
     [](FaultScene& s) {
       s.PreloadFileFaults("KOLVEDIR_FAIL_FSYNC=1");
       return std::string();
     },
     "/OBJ/xy92.1 (błąd zapisu: błąd wejścia-wyjścia)"},
    {"DiskFullNamedTemporary",  // a file system without unnamed files
     [](FaultScene& s) {
       const std::string refused = s.MountSmallTmpfs(s.object(), "160k");
       if (refused.empty()) s.Populate();
       s.PreloadFileFaults("KOLVEDIR_REFUSE_TMPFILE=1");
       return refused;
     },
     "brak miejsca na dysku"},
    // A line over the limit (64 MiB) refuses the job: no point file holds one.
    {"InputLineOverTheLimit",
     [](FaultScene& s) {
       s.AppendLine(kMaxLineBytes + 1);
       return std::string();
     },
     " jest dłuższy niż 64 MiB - to nie jest zbiór punktów"},
    // A line that does fit the limit, but not the memory the runner may have.
    {"OutOfMemory",
     [](FaultScene& s) {
#if defined(__SANITIZE_ADDRESS__)
       return std::string("AddressSanitizer needs more address space than the limit leaves");
#else
       s.AppendLine(60 << 20);
       s.addressSpace = rlim_t{96} << 20;  // the runner alone takes about 40 MiB
       return std::string();
#endif
     },
     " *** Za mało pamięci do wykonania zadania"},
    // Grid messages name the file given with --grid, not the standard name.
    {"GridTruncated",
     [](FaultScene& s) {
       s.grid = s.object().parent_path().parent_path() / "grids" / "short.bin";
       fs::create_directories(s.grid.parent_path());
       WriteGridOfLength(s.grid, kGridFileBytes - 4096);
       return std::string();
     },
     "/grids/short.bin jest za krótki"},
    {"GridIsFolder",
     [](FaultScene& s) {
       s.grid = s.object().parent_path().parent_path() / "grids" / "folder.bin";
       fs::create_directories(s.grid);
       return std::string();
     },
     "/grids/folder.bin nie jest plikiem"},
    // With a model marker beside it, the grid used to be read whole for its
    // fingerprint before any check: a FIFO blocked, /dev/zero never ended.
    {"GridIsFifoBesideAModelMarker",
     [](FaultScene& s) {
       s.grid = GridBesideAModelMarker(s);
       if (::mkfifo(s.grid.c_str(), 0644) != 0) return SystemError("mkfifo");
       return std::string();
     },
     "/PL_grid_001.bin nie jest plikiem"},
    {"GridLinksToDevZeroBesideAModelMarker",
     [](FaultScene& s) {
       s.grid = GridBesideAModelMarker(s);
       fs::create_symlink("/dev/zero", s.grid);
       return std::string();
     },
     "/PL_grid_001.bin nie jest plikiem"},
};

void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.name; }

class BatchFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(BatchFaultTest, FailsClearlyAndKeepsTheEarlierResult) {
  FaultScene s;
  const std::string refused = GetParam().lay(s);
  if (!refused.empty()) GTEST_SKIP() << refused;

  const bool resultWasFolder = fs::is_directory(s.result());
  const BatchRun run = s.Run();
  EXPECT_TRUE(run.exited) << "no clean exit, signal " << -run.status << "\n" << run.err;
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
  EXPECT_EQ(run.out.find("Zadanie wykonano"), std::string::npos) << run.out;
  for (const char* report : {"Sanitizer", "runtime error"}) {
    EXPECT_EQ(run.err.find(report), std::string::npos) << run.err;
  }
  if (resultWasFolder) {
    EXPECT_EQ(Slurp(s.result() / "keep"), kEarlierResult);
  } else {
    EXPECT_EQ(Slurp(s.result()), kEarlierResult);
  }
  std::error_code unreadable;
  for (const auto& entry : fs::directory_iterator(s.object(), unreadable)) {
    EXPECT_NE(entry.path().filename().string().rfind(".xy92.1.", 0), 0u)
        << "temporary file left: " << entry.path();
  }
}

INSTANTIATE_TEST_SUITE_P(FileSystem, BatchFaultTest, ::testing::ValuesIn(kFaultCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Without a fault the same job replaces the result: the cases above fail for
// the fault's sake and not for some other reason.
TEST(BatchFaultTest, WithoutAFaultTheJobReplacesTheResult) {
  FaultScene s;
  const BatchRun run = s.Run();
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Zadanie wykonano"), std::string::npos) << run.out;
  const std::string result = Slurp(s.result());
  EXPECT_EQ(std::count(result.begin(), result.end(), '\n'), 3000);
  EXPECT_EQ(result.rfind("              P0", 0), 0u) << result.substr(0, 80);
}

// A runner ended by a signal while it writes the result leaves nothing in the
// object but the input and the earlier result: an unnamed result file
// vanishes with the process; a named one (file systems without unnamed files)
// is removed by the runner on SIGTERM and SIGHUP. Ctrl+C (SIGINT) stops the
// job at its next block of records, which says so, then ends the runner by
// the same signal; a later input is not started: no monitor of its own, its
// earlier result as it was.
struct KillCase {
  const char* name;
  int signal;
  bool namedTemporary;
  bool twoInputs;       // stopped while the first of two inputs is written
  const char* monitor;  // the start of what the runner prints before it ends
};

constexpr const char* kStoppedMonitor =
    "MONITOR\n Czytanie siatki interpolacyjnej - ok. \n Zadanie przerwane - przeliczono punktów: ";

const KillCase kKillCases[] = {
    {"KillUnnamed", SIGKILL, false, false, ""},
    {"TerminateUnnamed", SIGTERM, false, false, ""},
    {"TerminateNamed", SIGTERM, true, false, ""},
    {"HangUpNamed", SIGHUP, true, false, ""},
    {"InterruptUnnamed", SIGINT, false, false, kStoppedMonitor},
    {"InterruptNamed", SIGINT, true, false, kStoppedMonitor},
    {"InterruptFirstOfTwoUnnamed", SIGINT, false, true, kStoppedMonitor},
    {"InterruptFirstOfTwoNamed", SIGINT, true, true, kStoppedMonitor},
};

void PrintTo(const KillCase& c, std::ostream* out) { *out << c.name; }

// Enough points for the job to be stopped while it writes: about 10 MB of input.
constexpr int kKillPoints = 300000;

// The size of the file the runner holds open in folder besides its input (its
// result, named or not); -1 while it holds none.
off_t ResultBeingWritten(pid_t runner, const fs::path& folder, const fs::path& input) {
  std::error_code error;
  fs::directory_iterator fd("/proc/" + std::to_string(runner) + "/fd", error);
  for (; !error && fd != fs::directory_iterator(); fd.increment(error)) {
    const fs::path target = fs::read_symlink(fd->path(), error);
    struct stat info {};
    if (!error && target.parent_path() == folder && target != input &&
        ::stat(fd->path().c_str(), &info) == 0) {
      return info.st_size;
    }
  }
  return -1;
}

bool HasEnded(pid_t child) {
  siginfo_t info{};
  return ::waitid(P_PID, child, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == child;
}

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class BatchKillTest : public ::testing::TestWithParam<KillCase> {};

TEST_P(BatchKillTest, LeavesOnlyTheInputAndTheEarlierResult) {
  FaultScene s;
  s.Populate(kKillPoints);
  if (GetParam().twoInputs) s.AddSecondInput();
  if (GetParam().namedTemporary) s.PreloadFileFaults("KOLVEDIR_REFUSE_TMPFILE=1");
  const fs::path object = fs::canonical(s.object());
  const pid_t runner = s.Start();
  const auto deadline = std::chrono::steady_clock::now() + kHangLimit;
  while (ResultBeingWritten(runner, object, object / "xy92") <= 0 && !HasEnded(runner) &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  // Stopped mid-write, the runner shows its unfinished result.
  ::kill(runner, SIGSTOP);
  int raw = 0;
  ::waitpid(runner, &raw, WUNTRACED);
  const bool stopped = WIFSTOPPED(raw);
  const off_t written = ResultBeingWritten(runner, object, object / "xy92");
  const std::vector<std::string> whileWriting = Names(object);
  ::kill(runner, GetParam().signal);
  ::kill(runner, SIGCONT);
  const BatchRun run = stopped ? s.Finish(runner) : BatchRun{};
  ASSERT_TRUE(stopped) << "the job ended before it could be stopped";
  EXPECT_GT(written, 0);
  std::vector<std::string> files{"xy92", "xy92.1"};
  if (GetParam().twoInputs) files.insert(files.end(), {"xy92b", "xy92b.1"});
  EXPECT_EQ(whileWriting.size(), files.size() + (GetParam().namedTemporary ? 1 : 0));

  EXPECT_FALSE(run.exited) << run.err;
  EXPECT_EQ(run.status, -GetParam().signal) << run.err;
  const std::string monitor =
      (GetParam().twoInputs ? "Zbiór wejściowy: " + s.input().string() + "\n" : "") +
      GetParam().monitor;
  EXPECT_EQ(run.out.substr(0, monitor.size()), monitor);
  if (monitor.empty()) {
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(run.out.find("MONITOR", monitor.size()), std::string::npos) << run.out;
  EXPECT_EQ(Names(object), files);
  EXPECT_EQ(Slurp(s.result()), kEarlierResult);
  if (GetParam().twoInputs) {
    EXPECT_EQ(Slurp(s.secondResult()), kEarlierResult);
  }
}

// Ctrl+C while the first of two results goes to the disk, after its last
// block: that job is done and its result in place, but the second input is
// not started (no monitor of its own, its earlier result as it was), and the
// runner ends by the interrupt.
TEST(BatchKillTest, InterruptWhileAResultIsFlushedStartsNoLaterInput) {
  FaultScene s;
  s.AddSecondInput();
  s.PreloadFileFaults("KOLVEDIR_INTERRUPT_IN_FSYNC=1");
  const BatchRun run = s.Run();
  EXPECT_FALSE(run.exited) << run.err;
  EXPECT_EQ(run.status, -SIGINT) << run.err;
  EXPECT_NE(run.out.find(" Zadanie wykonano - liczba błędów  0 \n Liczba punktów: 3000\n"),
            std::string::npos) << run.out;
  EXPECT_EQ(run.out.find(s.secondInput().string()), std::string::npos) << run.out;
  const std::string result = Slurp(s.result());
  EXPECT_EQ(std::count(result.begin(), result.end(), '\n'), 3000);
  EXPECT_EQ(Slurp(s.secondResult()), kEarlierResult);
  EXPECT_EQ(Names(s.object()), (std::vector<std::string>{"xy92", "xy92.1", "xy92b", "xy92b.1"}));
}

INSTANTIATE_TEST_SUITE_P(Signals, BatchKillTest, ::testing::ValuesIn(kKillCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kolvedir
