#include "engine/system_error_text.h"

#include <cerrno>
#include <cstring>

namespace kolvedir {

std::string SystemErrorText(int error) {
  switch (error) {
    case ENOSPC: return "brak miejsca na dysku";
    case EACCES: return "brak dostępu";
    case EPERM: return "operacja niedozwolona";
    case EROFS: return "system plików tylko do odczytu";
    case ENOENT: return "nie ma takiego pliku ani folderu";
    case EISDIR: return "to jest folder";
    case EFBIG: return "plik za duży";
    case EIO: return "błąd wejścia-wyjścia";
    default: return std::strerror(error);
  }
}

}  // namespace kolvedir
