#pragma once
// Every file the program writes is written whole or not at all, and survives
// a crash once written.
//
// The new content goes to a file without a name in the destination's folder
// (O_TMPFILE; a hidden file ".NAME.XXXXXX" on file systems without it). Commit
// flushes it to the disk, gives it a hidden name, renames that over the
// destination and flushes the folder, so the destination is always either the
// old file or the whole new one. A killed process leaves nothing behind,
// except a hidden named file on file systems without O_TMPFILE, which
// RemoveUnfinishedFiles removes when a termination signal is handled.
//
// The destination's name is replaced, never written through: a symbolic link
// there is replaced by the new file, and the file it pointed to is neither
// opened for writing nor truncated. A destination marked read-only (no write
// permission bit at all), or a link to such a file, is refused whatever the
// privileges of the process. A replaced file keeps its permission bits (for a
// link, those of its target) and, where the process may set them, its owner
// and group; a new file gets the requested mode less the umask.
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace kolvedir {

class AtomicFile {
 public:
  enum class Failure {
    kNone,
    kReadOnly,  // the destination is marked read-only
    kCreate,    // the folder cannot be opened or the new file cannot be created in it
    kWrite,     // the content cannot be written or flushed to the disk
    kReplace,   // the new file cannot be put under the destination's name
  };

  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  // Discards a new content that was not committed.
  ~AtomicFile();

  // Starts the new content of destination (any earlier one is discarded).
  // newFileMode: permission bits 0 to 0777 of a destination that does not
  // exist yet, before the umask. False, with FailedStep(), on failure.
  bool Create(const std::filesystem::path& destination, mode_t newFileMode = 0666);
  // Appends bytes; false once anything failed since Create.
  bool Write(std::string_view bytes);
  // Puts the new content under the destination's name, durably. False when
  // anything failed since Create: the destination is then left as it was.
  bool Commit();
  // Drops the new content; the destination stays as it was.
  void Discard();
  // Create, Write and Commit in one: destination holds exactly bytes.
  bool Replace(const std::filesystem::path& destination, std::string_view bytes);

  Failure FailedStep() const { return failure_; }
  // The errno value of the failure; 0 for kNone and kReadOnly.
  int SystemError() const { return error_; }

 private:
  bool Fail(Failure step, int error);
  bool CreateContent(mode_t mode);
  bool NameContent();
  void ForgetTemporaryName();

  // Bytes handed to the disk at a time while the content is still written.
  static constexpr off_t kWritebackBytes = off_t{8} << 20;
  int folder_ = -1, file_ = -1;
  off_t size_ = 0;         // bytes written since Create
  off_t writtenBack_ = 0;  // bytes already handed to the disk
  std::string name_;           // the destination's name in folder_
  std::string temporaryName_;  // the new content's hidden name in folder_, if it has one
  int pendingSlot_ = -1;       // where RemoveUnfinishedFiles finds temporaryName_
  bool replacing_ = false;     // the destination is a file whose mode and owner are kept
  mode_t keptMode_ = 0;
  uid_t keptOwner_ = 0;
  gid_t keptGroup_ = 0;
  Failure failure_ = Failure::kNone;
  int error_ = 0;
};

// Removes the hidden named files of the AtomicFiles not yet committed or
// discarded. Async-signal-safe: meant for the handlers of termination signals.
void RemoveUnfinishedFiles() noexcept;

}  // namespace kolvedir
