#include "engine/atomic_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>

namespace kolvedir {

namespace {

constexpr mode_t kPermissionBits = 0777;
constexpr mode_t kWriteBits = 0222;
// Bytes of the destination's name kept in its hidden name, so that
// "." + name + "." + suffix stays within NAME_MAX.
constexpr std::size_t kNameBytesInHiddenName = 200;
constexpr std::size_t kSuffixLength = 6;
constexpr int kNameAttempts = 100;

// The hidden named files not yet committed or discarded, for
// RemoveUnfinishedFiles. A slot belongs to one AtomicFile while `taken`; its
// `folder` is set after the name and cleared first, so a signal handler sees
// either no name or a whole one.
struct PendingFile {
  std::atomic<bool> taken{false};
  std::atomic<int> folder{-1};
  char name[NAME_MAX + 1] = {};
};
static_assert(std::atomic<int>::is_always_lock_free, "read by a signal handler");
std::array<PendingFile, 8> pendingFiles;

int RememberPending(int folder, const std::string& name) {
  for (std::size_t i = 0; i < pendingFiles.size(); ++i) {
    PendingFile& slot = pendingFiles[i];
    if (slot.taken.exchange(true)) continue;
    std::memcpy(slot.name, name.c_str(), name.size() + 1);
    slot.folder.store(folder);
    return static_cast<int>(i);
  }
  return -1;  // all slots in use: a signal handler will not find this one
}

void ForgetPending(int slot) {
  if (slot < 0) return;
  pendingFiles[slot].folder.store(-1);
  pendingFiles[slot].taken.store(false);
}

std::uint64_t RandomBits() {
  std::uint64_t bits = 0;
  if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) == sizeof bits) return bits;
  static std::atomic<std::uint64_t> counter{0};
  return (static_cast<std::uint64_t>(::getpid()) << 40) ^ (counter++ << 20) ^
         static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

// A fresh hidden name for new content of the file `name`: ".NAME.XXXXXX".
std::string HiddenName(const std::string& name) {
  static constexpr std::string_view kLetters =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string hidden = "." + name.substr(0, kNameBytesInHiddenName) + ".";
  std::uint64_t bits = RandomBits();
  for (std::size_t i = 0; i < kSuffixLength; ++i, bits /= kLetters.size()) {
    hidden += kLetters[bits % kLetters.size()];
  }
  return hidden;
}

}  // namespace

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::Fail(Failure step, int error) {
  if (failure_ == Failure::kNone) {
    failure_ = step;
    error_ = error;
  }
  return false;
}

bool AtomicFile::Create(const std::filesystem::path& destination, mode_t newFileMode) {
  Discard();
  failure_ = Failure::kNone;
  error_ = 0;
  size_ = writtenBack_ = 0;
  name_ = destination.filename().string();
  if (name_.empty() || name_ == "." || name_ == "..") return Fail(Failure::kCreate, EISDIR);
  const std::filesystem::path folder =
      destination.has_parent_path() ? destination.parent_path() : std::filesystem::path(".");
  folder_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder_ < 0) return Fail(Failure::kCreate, errno);
  // Through a link: the file it leads to decides the refusal and the mode.
  struct stat existing {};
  replacing_ = ::fstatat(folder_, name_.c_str(), &existing, 0) == 0 && S_ISREG(existing.st_mode);
  if (replacing_) {
    if ((existing.st_mode & kWriteBits) == 0) return Fail(Failure::kReadOnly, 0);
    keptMode_ = existing.st_mode & kPermissionBits;
    keptOwner_ = existing.st_uid;
    keptGroup_ = existing.st_gid;
  }
  return CreateContent(replacing_ ? keptMode_ : newFileMode & kPermissionBits);
}

bool AtomicFile::CreateContent(mode_t mode) {
  file_ = ::openat(folder_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
  if (file_ >= 0) return true;
  // A file system without unnamed files: the content is named from the start.
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string hidden = HiddenName(name_);
    file_ = ::openat(folder_, hidden.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, mode);
    if (file_ >= 0) {
      temporaryName_ = hidden;
      pendingSlot_ = RememberPending(folder_, temporaryName_);
      return true;
    }
    if (errno != EEXIST) break;
  }
  return Fail(Failure::kCreate, errno);
}

bool AtomicFile::Write(std::string_view bytes) {
  if (file_ < 0 || failure_ != Failure::kNone) return false;
  while (!bytes.empty()) {
    const ssize_t written = ::write(file_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return Fail(Failure::kWrite, written < 0 ? errno : EIO);
    bytes.remove_prefix(static_cast<std::size_t>(written));
    size_ += written;
  }
  // A large content goes to the disk while the rest is still being made, so
  // that the flush in Commit waits for its tail only. Commit's fsync alone
  // decides whether the content is durable: a failure here changes nothing.
  if (size_ - writtenBack_ >= kWritebackBytes) {
    ::sync_file_range(file_, writtenBack_, size_ - writtenBack_, SYNC_FILE_RANGE_WRITE);
    writtenBack_ = size_;
  }
  return true;
}

// Gives the unnamed content a hidden name, the step before the rename (a link
// cannot replace an existing name).
bool AtomicFile::NameContent() {
  const std::string self = "/proc/self/fd/" + std::to_string(file_);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string hidden = HiddenName(name_);
    if (::linkat(AT_FDCWD, self.c_str(), folder_, hidden.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      temporaryName_ = hidden;
      pendingSlot_ = RememberPending(folder_, temporaryName_);
      return true;
    }
    if (errno != EEXIST) break;
  }
  return Fail(Failure::kReplace, errno);
}

bool AtomicFile::Commit() {
  if (file_ < 0) Fail(Failure::kCreate, EBADF);
  if (failure_ == Failure::kNone && replacing_) {
    // A process that may not give the file away keeps it as its own.
    if (::fchown(file_, keptOwner_, keptGroup_) != 0 && errno != EPERM) Fail(Failure::kWrite, errno);
    if (::fchmod(file_, keptMode_) != 0) Fail(Failure::kWrite, errno);
  }
  if (failure_ == Failure::kNone && ::fsync(file_) != 0) Fail(Failure::kWrite, errno);
  if (failure_ == Failure::kNone && temporaryName_.empty()) NameContent();
  if (failure_ == Failure::kNone &&
      ::renameat(folder_, temporaryName_.c_str(), folder_, name_.c_str()) != 0) {
    Fail(Failure::kReplace, errno);
  }
  if (failure_ != Failure::kNone) {
    Discard();
    return false;
  }
  ForgetTemporaryName();
  // The content is on the disk; flushing the folder makes the rename durable.
  // Where that fails a crash brings back the old file, never part of the new.
  ::fsync(folder_);
  Discard();
  return true;
}

void AtomicFile::ForgetTemporaryName() {
  ForgetPending(pendingSlot_);
  pendingSlot_ = -1;
  temporaryName_.clear();
}

void AtomicFile::Discard() {
  if (!temporaryName_.empty()) ::unlinkat(folder_, temporaryName_.c_str(), 0);
  ForgetTemporaryName();
  if (file_ >= 0) ::close(file_);
  if (folder_ >= 0) ::close(folder_);
  file_ = folder_ = -1;
}

bool AtomicFile::Replace(const std::filesystem::path& destination, std::string_view bytes) {
  if (Create(destination) && Write(bytes)) return Commit();
  Discard();
  return false;
}

void RemoveUnfinishedFiles() noexcept {
  for (const PendingFile& slot : pendingFiles) {
    const int folder = slot.folder.load();
    if (folder >= 0) ::unlinkat(folder, slot.name, 0);
  }
}

}  // namespace kolvedir
