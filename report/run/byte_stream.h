#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace rep {

// A seekable stream of bytes: what the page store, a saved report file and the
// compressor work on. Failures throw ERepError. Implementations that are shared
// between threads lock inside each call; this interface promises nothing more.
class ByteStream {
public:
    ByteStream() = default;
    ByteStream(const ByteStream&) = delete;
    ByteStream& operator=(const ByteStream&) = delete;
    virtual ~ByteStream() = default;

    // Reads exactly size bytes, or throws and leaves the position unspecified.
    virtual void Read(void* data, std::size_t size) = 0;
    virtual void Write(const void* data, std::size_t size) = 0;
    // Absolute; 0 <= position <= Size().
    virtual void Seek(std::int64_t position) = 0;
    virtual std::int64_t Position() const = 0;
    virtual std::int64_t Size() const = 0;
};

// Little-endian integers, as every report file field is stored.
inline std::uint32_t LoadU32(const std::uint8_t* at) {
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 | std::uint32_t{at[3]} << 24;
}
inline void StoreU32(std::uint8_t* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::int32_t ReadI32(ByteStream& stream);
void WriteI32(ByteStream& stream, std::int32_t value);

// A stream over bytes held in memory. No lock: one owner at a time.
class MemoryStream final : public ByteStream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<std::uint8_t> bytes);

    void Read(void* data, std::size_t size) override;
    void Write(const void* data, std::size_t size) override;
    void Seek(std::int64_t position) override;
    std::int64_t Position() const override { return static_cast<std::int64_t>(position_); }
    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }

    std::span<const std::uint8_t> Bytes() const { return bytes_; }
    // Hands the bytes over and leaves the stream empty.
    std::vector<std::uint8_t> Release();

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

}  // namespace rep
