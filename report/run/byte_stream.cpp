#include "report/run/byte_stream.h"

#include <cstring>
#include <utility>

#include "report/run/rep_error.h"

namespace rep {

std::int32_t ReadI32(ByteStream& stream) {
    std::uint8_t b[4];
    stream.Read(b, sizeof b);
    return static_cast<std::int32_t>(LoadU32(b));
}

void WriteI32(ByteStream& stream, std::int32_t value) {
    std::uint8_t b[4];
    StoreU32(b, static_cast<std::uint32_t>(value));
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
