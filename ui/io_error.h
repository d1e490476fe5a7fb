#pragma once
// The runtime's input/output messages by error code, as the error box shows them.
#include <string>

namespace ui {

std::wstring IoErrorMessage(int code);
// The code for a C library errno value (ENOENT -> 2, EACCES -> 5, ENOSPC -> 101, ...).
int IoCodeFromErrno(int err);

}  // namespace ui
