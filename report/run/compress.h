#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "report/run/byte_stream.h"

namespace rep {

// The page coder: an adaptive splay-tree prefix code over byte values, bits packed
// least significant first. One instance codes one page; the code has no end marker,
// so the reader must know how many bytes to expand.
class TRepCompress {
public:
    enum class Mode { Compress, Expand };

    TRepCompress(ByteStream& stream, Mode mode);
    TRepCompress(const TRepCompress&) = delete;
    TRepCompress& operator=(const TRepCompress&) = delete;
    // In compress mode writes whatever Finish() has not written yet. Errors cannot
    // leave a destructor, so code that wants them calls Finish() first.
    ~TRepCompress();

    void Compress(std::uint8_t symbol);
    void Compress(std::span<const std::uint8_t> symbols);
    // Writes the buffered code and the last partly filled byte; further Compress()
    // calls are refused.
    void Finish();

    // Reads as few bytes as the code needs, never ahead. Throws ERepError when the
    // stream ends or the bits lead to no byte value.
    std::uint8_t Expand();
    void Expand(std::span<std::uint8_t> out);

private:
    void Splay(int symbol);
    void Emit(bool bit);
    void FlushOutput();

    ByteStream& stream_;
    Mode mode_;
    bool finished_ = false;
    std::array<std::uint8_t, 513> up_;
    std::array<std::uint16_t, 256> left_;
    std::array<std::uint16_t, 256> right_;
    int bitPos_;
    std::uint8_t byte_ = 0;
    // Whole code bytes not yet written; writing them one by one would take the
    // page store's lock for every byte.
    std::vector<std::uint8_t> pending_;
};

}  // namespace rep
