#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "report/run/byte_stream.h"

namespace rep {

// Layout of the page store and of a saved report file.
constexpr int kPageHeaderSize = 124;
constexpr std::uint16_t kPageFormatVersion = 3;
constexpr std::uint16_t kEngineVersion = 203;
constexpr std::size_t kCopyChunk = 10240;

// Local date and time as days since 1899-12-30, time of day as the fraction.
double DaysSince1899(int year, int month, int day, int hour, int minute, int second,
                     int millisecond);
double LocalNowAsDays();

// The pages of one report: a header, then one linked record per page, each holding
// one serialised enhanced metafile, optionally coded with TRepCompress. The stream is
// not owned. The page-list lock is held around every operation; a stream with a lock
// of its own takes it inside each call, so the order is always page list, then stream.
class TRepPageList {
public:
    using Clock = std::function<double()>;

    explicit TRepPageList(Clock clock = LocalNowAsDays);
    TRepPageList(const TRepPageList&) = delete;
    TRepPageList& operator=(const TRepPageList&) = delete;

    // A new, empty page store for a run.
    void Attach(ByteStream& stream);
    // An existing store or saved file: reads and checks its header (ReadHeader).
    void Open(ByteStream& stream);
    // Forgets the stream; the page count drops to 0.
    void Detach();

    // Only while the store holds no pages: one flag in the header covers every record.
    void SetCompression(bool on);
    bool Compression() const;
    int PageCount() const;

    // Appends one page (the bytes of one metafile); writes the header for page 1.
    void AddPage(std::span<const std::uint8_t> metafile);
    // Header at offset 0 with the current page count, the clock's time and the flag.
    void WriteHeader();
    // Takes page count and compression from the header; throws ERepFileError when the
    // stream cannot be a page store, naming the damaged page or the page a file cut
    // short ends in. The version fields are not looked at.
    void ReadHeader();
    // Leaves the stream at the start of record n, walking from the current record.
    void SeekToPage(int n);
    // The metafile of page n, or none when n is not a stored page. Damaged records
    // throw ERepFileError carrying the page number.
    std::optional<std::vector<std::uint8_t>> GetPage(int n);
    // The whole store, byte for byte, as a saved report file; a store that never held a
    // page gives a header of no pages.
    void CopyTo(ByteStream& out);

private:
    ByteStream& Stream() const;
    std::array<std::uint8_t, kPageHeaderSize> HeaderBytes() const;
    void WriteHeaderLocked();
    void ReadHeaderLocked();
    void SeekToPageLocked(int n);
    std::int64_t MinRecordSize() const;
    void CheckEnds();
    std::optional<int> EndRecordPage();
    [[noreturn]] void ExplainBrokenEnd(bool countFits);
    std::int64_t CheckRecord(std::int64_t start, int page);
    std::int64_t LastRecordStart();
    std::vector<std::uint8_t> ReadPageData(int n);

    mutable std::mutex lock_;
    Clock clock_;
    ByteStream* stream_ = nullptr;
    int pageCount_ = 0;
    bool compression_ = false;
    // End of the last complete record: the stream's size unless an append failed.
    std::int64_t end_ = 0;
};

}  // namespace rep
