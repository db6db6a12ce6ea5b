// Preloaded into kolvedir-batch by the fault tests, faults of opening and
// flushing files:
// - KOLVEDIR_REMOVE_ON_OPEN=PATH removes PATH just before the program opens
//   it, as if another program had deleted it between the job's checks and its
//   reading;
// - KOLVEDIR_REFUSE_TMPFILE=1 refuses files without a name (O_TMPFILE) as a
//   file system without them does, so the result is written under a hidden name;
// - KOLVEDIR_FAIL_FSYNC=1 fails every fsync with EIO, as a disk that cannot
//   take the content does;
// - KOLVEDIR_INTERRUPT_IN_FSYNC=1 raises SIGINT in the first fsync, before it
//   flushes, as a Ctrl+C pressed while a finished result goes to the disk.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void RemoveIfVictim(const char* path) {
  const char* victim = std::getenv("KOLVEDIR_REMOVE_ON_OPEN");
  if (victim && path && std::strcmp(path, victim) == 0) ::unlink(path);
}

bool Refused(int flags) {
  return (flags & O_TMPFILE) == O_TMPFILE && std::getenv("KOLVEDIR_REFUSE_TMPFILE") != nullptr;
}

bool TakesMode(int flags) { return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE; }

template <typename Function>
Function Next(const char* symbol) {
  return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, symbol));
}

using FopenFunction = std::FILE* (*)(const char*, const char*);
using OpenFunction = int (*)(const char*, int, ...);
using OpenatFunction = int (*)(int, const char*, int, ...);
using FsyncFunction = int (*)(int);

int FaultyOpen(const char* symbol, const char* path, int flags, mode_t mode) {
  RemoveIfVictim(path);
  if (Refused(flags)) {
    errno = EOPNOTSUPP;
    return -1;
  }
  return Next<OpenFunction>(symbol)(path, flags, mode);
}

int FaultyOpenat(const char* symbol, int folder, const char* path, int flags, mode_t mode) {
  if (Refused(flags)) {
    errno = EOPNOTSUPP;
    return -1;
  }
  return Next<OpenatFunction>(symbol)(folder, path, flags, mode);
}

}  // namespace

extern "C" std::FILE* fopen(const char* path, const char* mode) {
  RemoveIfVictim(path);
  return Next<FopenFunction>("fopen")(path, mode);
}

extern "C" std::FILE* fopen64(const char* path, const char* mode) {
  RemoveIfVictim(path);
  return Next<FopenFunction>("fopen64")(path, mode);
}

extern "C" int open(const char* path, int flags, ...) {
  va_list rest;
  va_start(rest, flags);
  const mode_t mode = TakesMode(flags) ? va_arg(rest, mode_t) : 0;
  va_end(rest);
  return FaultyOpen("open", path, flags, mode);
}

extern "C" int openat(int folder, const char* path, int flags, ...) {
  va_list rest;
  va_start(rest, flags);
  const mode_t mode = TakesMode(flags) ? va_arg(rest, mode_t) : 0;
  va_end(rest);
  return FaultyOpenat("openat", folder, path, flags, mode);
}

extern "C" int fsync(int fd) {
  if (std::getenv("KOLVEDIR_FAIL_FSYNC") != nullptr) {
    errno = EIO;
    return -1;
  }
  static bool interrupted = false;
  if (!interrupted && std::getenv("KOLVEDIR_INTERRUPT_IN_FSYNC") != nullptr) {
    interrupted = true;
    ::raise(SIGINT);
  }
  return Next<FsyncFunction>("fsync")(fd);
}
