// Preloaded into kolvedir-batch by the fault tests: removes the file named by
// KOLVEDIR_REMOVE_ON_OPEN just before the program opens it with fopen, as if
// another program had deleted it between the job's checks and its reading.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using FopenFunction = std::FILE* (*)(const char*, const char*);

std::FILE* RemoveThenOpen(const char* symbol, const char* path, const char* mode) {
  const char* victim = std::getenv("KOLVEDIR_REMOVE_ON_OPEN");
  if (victim && path && std::strcmp(path, victim) == 0) ::unlink(path);
  const auto next = reinterpret_cast<FopenFunction>(::dlsym(RTLD_NEXT, symbol));
  return next(path, mode);
}

}  // namespace

extern "C" std::FILE* fopen(const char* path, const char* mode) {
  return RemoveThenOpen("fopen", path, mode);
}

extern "C" std::FILE* fopen64(const char* path, const char* mode) {
  return RemoveThenOpen("fopen64", path, mode);
}
