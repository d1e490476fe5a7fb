// The state file reader: no input crashes it, and every file it accepts saves back as the
// same record (Open, then Save, loses and invents nothing). A file it refuses has a reason.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "shell/state/state_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const SystemSet::TDecodedState read = SystemSet::ReadState(bytes);
    if (!read.Record) {
        if (read.Problem.empty()) std::abort();
        return 0;
    }
    std::string saved;
    try {
        saved = SystemSet::EncodeState(*read.Record);
    } catch (const SystemSet::EStateEncodeError&) {
        // Only a UTF-8 file can hold a letter that Windows-1251 lacks; Save names its field.
        if (bytes.substr(0, 3) != "\xEF\xBB\xBF") std::abort();
        return 0;
    }
    const SystemSet::TDecodedState again = SystemSet::ReadState(saved);
    if (!again.Record || !(*again.Record == *read.Record)) std::abort();
    if (SystemSet::EncodeState(*again.Record) != saved) std::abort();
    return 0;
}
