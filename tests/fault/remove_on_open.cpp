// Preloaded into kolvedir-batch by the fault tests: removes the file named by
// KOLVEDIR_REMOVE_ON_OPEN just before the program opens it, as if another
// program had deleted it between the job's checks and its reading.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void RemoveIfVictim(const char* path) {
  const char* victim = std::getenv("KOLVEDIR_REMOVE_ON_OPEN");
  if (victim && path && std::strcmp(path, victim) == 0) ::unlink(path);
}

template <typename Function>
Function Next(const char* symbol) {
  return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, symbol));
}

using FopenFunction = std::FILE* (*)(const char*, const char*);
using OpenFunction = int (*)(const char*, int, ...);

int RemoveThenOpen(const char* symbol, const char* path, int flags, va_list rest) {
  RemoveIfVictim(path);
  const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(rest, mode_t) : 0;
  return Next<OpenFunction>(symbol)(path, flags, mode);
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
  const int fd = RemoveThenOpen("open", path, flags, rest);
  va_end(rest);
  return fd;
}

extern "C" int open64(const char* path, int flags, ...) {
  va_list rest;
  va_start(rest, flags);
  const int fd = RemoveThenOpen("open64", path, flags, rest);
  va_end(rest);
  return fd;
}
