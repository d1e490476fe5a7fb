#include "report/run/byte_stream.h"

#include <cstring>
#include <utility>

#include "report/run/rep_error.h"

namespace rep {

std::int32_t ReadI32(ByteStream& stream) {
    std::uint8_t b[4];
    stream.Read(b, sizeof b);
    const std::uint32_t v = std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 |
                            std::uint32_t{b[2]} << 16 | std::uint32_t{b[3]} << 24;
    return static_cast<std::int32_t>(v);
}

void WriteI32(ByteStream& stream, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                               static_cast<std::uint8_t>(v >> 16),
                               static_cast<std::uint8_t>(v >> 24)};
    stream.Write(b, sizeof b);
}

MemoryStream::MemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

void MemoryStream::Read(void* data, std::size_t size) {
    if (size > bytes_.size() - position_)
        throw ERepError("Stream read error");
    if (size > 0)
        std::memcpy(data, bytes_.data() + position_, size);
    position_ += size;
}

void MemoryStream::Write(const void* data, std::size_t size) {
    if (size == 0)
        return;
    if (size > bytes_.max_size() - position_)
        throw ERepError("Stream write error");
    if (position_ + size > bytes_.size())
        bytes_.resize(position_ + size);
    std::memcpy(bytes_.data() + position_, data, size);
    position_ += size;
}

void MemoryStream::Seek(std::int64_t position) {
    if (position < 0 || position > Size())
        throw ERepError("Stream seek error");
    position_ = static_cast<std::size_t>(position);
}

std::vector<std::uint8_t> MemoryStream::Release() {
    position_ = 0;
    return std::exchange(bytes_, {});
}

}  // namespace rep
