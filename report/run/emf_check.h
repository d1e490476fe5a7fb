#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace rep {

// The smallest enhanced metafile: the 88-byte header record and a 20-byte end record.
constexpr std::size_t kMinEmfSize = 88 + 20;

// True when bytes hold exactly one well-formed enhanced metafile: a header record that
// announces this total size and record count, records that tile the bytes, and an end
// record last. Nothing is drawn; this only keeps damaged page data away from the
// platform's metafile reader.
bool IsWellFormedEmf(std::span<const std::uint8_t> bytes);

}  // namespace rep
