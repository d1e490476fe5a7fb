#include "report/run/emf_check.h"

#include "report/run/byte_stream.h"

namespace rep {

namespace {

constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kMinHeaderRecord = 88;
constexpr std::uint32_t kEofRecord = 20;

std::uint32_t U32At(std::span<const std::uint8_t> b, std::size_t at) { return LoadU32(b.data() + at); }

}  // namespace

bool IsWellFormedEmf(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kMinEmfSize)
        return false;
    const std::uint32_t headerSize = U32At(bytes, 4);
    const std::uint32_t nBytes = U32At(bytes, 48);
    const std::uint32_t nRecords = U32At(bytes, 52);
    if (U32At(bytes, 0) != kEmrHeader || headerSize < kMinHeaderRecord ||
        U32At(bytes, 40) != kEmfSignature || nBytes != bytes.size() || nBytes % 4 != 0 ||
        nRecords < 2)
        return false;

    // Every record at least 8 bytes, so the walk ends after nBytes / 8 steps at most.
    std::size_t at = 0;
    std::uint32_t records = 0;
    std::uint32_t lastType = 0;
    std::uint32_t lastSize = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < 8)
            return false;
        lastType = U32At(bytes, at);
        lastSize = U32At(bytes, at + 4);
        if (lastSize < 8 || lastSize % 4 != 0 || lastSize > bytes.size() - at)
            return false;
        if (records > 0 && lastType == kEmrHeader)
            return false;
        at += lastSize;
        ++records;
    }
    return records == nRecords && lastType == kEmrEof && lastSize >= kEofRecord;
}

}  // namespace rep
