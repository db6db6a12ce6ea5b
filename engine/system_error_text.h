#pragma once
// System error texts for the program's Polish messages.
#include <string>

namespace kolvedir {

// The text of an errno value in UTF-8: Polish for the errors a user meets
// when saving or copying files (ENOSPC, EACCES, EPERM, EROFS, ENOENT, EISDIR,
// EFBIG, EIO), the system's own text for any other value.
std::string SystemErrorText(int error);

}  // namespace kolvedir
