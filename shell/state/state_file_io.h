#pragma once
// Whole-file reading and a replacing write that never leaves a half-written file behind.
#include <optional>
#include <string>

#include "shell/state/state_codec.h"

namespace SystemSet {

// The file's bytes, or nullopt when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::wstring& fileName);

// The state file at that path, or why it cannot be had: missing, a folder, unreadable, or
// not a state file (ReadState). Open and the group both read through here.
TDecodedState ReadStateFile(const std::wstring& fileName);

// Writes bytes to a temporary file in the same folder, flushes it, and only then puts it in
// place of fileName. Returns 0, or the error code of the runtime's table (101 for a full
// disk); on failure the old file is untouched and the temporary file is gone.
int WriteFileReplacing(const std::wstring& fileName, const std::string& bytes);

}  // namespace SystemSet
