// Expands arbitrary bytes as page code, and checks that compressing the input and
// expanding it again gives the input back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "report/run/byte_stream.h"
#include "report/run/compress.h"
#include "report/run/rep_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    // The first two bytes say how many bytes to expand from the rest.
    const std::size_t count = std::size_t{data[0]} | std::size_t{data[1]} << 8;
    const std::vector<std::uint8_t> input(data + 2, data + size);

    rep::MemoryStream code(input);
    rep::TRepCompress expander(code, rep::TRepCompress::Mode::Expand);
    std::vector<std::uint8_t> out(count);
    try {
        expander.Expand(out);
    } catch (const rep::ERepError&) {
    }
    if (code.Position() > code.Size())
        std::abort();

    rep::MemoryStream packed;
    {
        rep::TRepCompress coder(packed, rep::TRepCompress::Mode::Compress);
        coder.Compress(input);
    }
    packed.Seek(0);
    rep::TRepCompress back(packed, rep::TRepCompress::Mode::Expand);
    std::vector<std::uint8_t> again(input.size());
    back.Expand(again);
    if (again != input || packed.Position() != packed.Size())
        std::abort();
    return 0;
}
