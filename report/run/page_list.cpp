#include "report/run/page_list.h"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <climits>
#include <ctime>

#include "report/run/compress.h"
#include "report/run/emf_check.h"
#include "report/run/rep_error.h"

namespace rep {

namespace {

constexpr std::int64_t kMaxPosition = INT32_MAX;  // record links are 32-bit
// Page number, next-record position, record-start position.
constexpr std::int64_t kRecordFrame = 12;
constexpr std::int64_t kMinPlainData = kMinEmfSize;
// Length field, then at least one bit for every byte of the smallest metafile.
constexpr std::int64_t kMinCodedData = 4 + (kMinEmfSize + 7) / 8;

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void PutU16(std::uint8_t* at, std::uint16_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace

double DaysSince1899(int year, int month, int day, int hour, int minute, int second,
                     int millisecond) {
    const std::int64_t days = DaysFromCivil(year, month, day) - DaysFromCivil(1899, 12, 30);
    const double ms = ((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond;
    return static_cast<double>(days) + ms / 86400000.0;
}

double LocalNowAsDays() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto whole = floor<seconds>(now);
    const auto ms = duration_cast<milliseconds>(now - whole).count();
    const std::time_t t = system_clock::to_time_t(whole);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    return DaysSince1899(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                         tm.tm_sec, static_cast<int>(ms));
}

TRepPageList::TRepPageList(Clock clock) : clock_(std::move(clock)) {}

ByteStream& TRepPageList::Stream() const {
    if (!stream_)
        throw ERepError("The page list has no page store");
    return *stream_;
}

void TRepPageList::Attach(ByteStream& stream) {
    std::lock_guard guard(lock_);
    stream_ = &stream;
    pageCount_ = 0;
    end_ = 0;
}

void TRepPageList::Open(ByteStream& stream) {
    std::lock_guard guard(lock_);
    stream_ = &stream;
    try {
        ReadHeaderLocked();
    } catch (...) {
        stream_ = nullptr;
        throw;
    }
}

void TRepPageList::Detach() {
    std::lock_guard guard(lock_);
    stream_ = nullptr;
    pageCount_ = 0;
    end_ = 0;
}

void TRepPageList::SetCompression(bool on) {
    std::lock_guard guard(lock_);
    if (on != compression_ && pageCount_ > 0)
        throw ERepError("The compression of a page store that holds pages cannot change");
    compression_ = on;
}

bool TRepPageList::Compression() const {
    std::lock_guard guard(lock_);
    return compression_;
}

int TRepPageList::PageCount() const {
    std::lock_guard guard(lock_);
    return pageCount_;
}

void TRepPageList::AddPage(std::span<const std::uint8_t> metafile) {
    std::lock_guard guard(lock_);
    ByteStream& s = Stream();
    if (metafile.size() > static_cast<std::size_t>(kMaxPosition))
        throw ERepError("The page is too large for the page store");

    // A failed append leaves its bytes beyond end_, where no walk goes; the next
    // append writes over them.
    const int oldCount = pageCount_;
    try {
        ++pageCount_;
        if (pageCount_ == 1)
            WriteHeaderLocked();
        const std::int64_t recordStart = end_;
        s.Seek(recordStart);
        WriteI32(s, pageCount_);
        const std::int64_t linkAt = s.Position();
        WriteI32(s, static_cast<std::int32_t>(linkAt));
        if (!compression_) {
            s.Write(metafile.data(), metafile.size());
        } else {
            WriteI32(s, static_cast<std::int32_t>(metafile.size()));
            TRepCompress coder(s, TRepCompress::Mode::Compress);
            coder.Compress(metafile);
            coder.Finish();
        }
        WriteI32(s, static_cast<std::int32_t>(recordStart));
        const std::int64_t recordEnd = s.Position();
        if (recordEnd > kMaxPosition)
            throw ERepError("The page store is full");
        s.Seek(linkAt);
        WriteI32(s, static_cast<std::int32_t>(recordEnd));
        s.Seek(recordEnd);
        end_ = recordEnd;
    } catch (...) {
        pageCount_ = oldCount;
        try {
            s.Seek(std::min(end_, s.Size()));
        } catch (...) {
            // The first failure is the one to report.
        }
        throw;
    }
}

void TRepPageList::WriteHeader() {
    std::lock_guard guard(lock_);
    WriteHeaderLocked();
}

std::array<std::uint8_t, kPageHeaderSize> TRepPageList::HeaderBytes() const {
    std::array<std::uint8_t, kPageHeaderSize> h{};
    PutU16(h.data() + 0, kPageFormatVersion);
    PutU16(h.data() + 2, kEngineVersion);
    StoreU32(h.data() + 8, static_cast<std::uint32_t>(pageCount_));
    const auto time = std::bit_cast<std::uint64_t>(clock_ ? clock_() : LocalNowAsDays());
    StoreU32(h.data() + 12, static_cast<std::uint32_t>(time));
    StoreU32(h.data() + 16, static_cast<std::uint32_t>(time >> 32));
    h[21] = compression_ ? 1 : 0;
    return h;
}

void TRepPageList::WriteHeaderLocked() {
    ByteStream& s = Stream();
    const auto h = HeaderBytes();
    s.Seek(0);
    s.Write(h.data(), h.size());
    end_ = std::max(end_, std::int64_t{kPageHeaderSize});
}

void TRepPageList::ReadHeader() {
    std::lock_guard guard(lock_);
    ReadHeaderLocked();
}

void TRepPageList::ReadHeaderLocked() {
    ByteStream& s = Stream();
    pageCount_ = 0;
    end_ = 0;
    const std::int64_t size = s.Size();
    if (size < kPageHeaderSize || size > kMaxPosition)
        throw ERepFileError(0);
    std::uint8_t h[kPageHeaderSize];
    s.Seek(0);
    s.Read(h, sizeof h);
    const auto count = static_cast<std::int32_t>(LoadU32(h + 8));
    const bool compressed = h[21] != 0;

    compression_ = compressed;
    if (count < 0 || (count == 0 && size != kPageHeaderSize))
        throw ERepFileError(0);

    try {
        pageCount_ = count;
        end_ = size;
        if (count > 0)
            CheckEnds();
        s.Seek(kPageHeaderSize);
    } catch (...) {
        pageCount_ = 0;
        end_ = 0;
        throw;
    }
}

// The first and the last record are where every walk starts, so a truncated or foreign
// file shows here rather than at some later page.
void TRepPageList::CheckEnds() {
    const std::int64_t minRecord = MinRecordSize();
    // More pages than any store could hold: no report wrote this header.
    if (pageCount_ > (kMaxPosition - kPageHeaderSize) / minRecord)
        throw ERepFileError(0);
    const std::optional<int> last = EndRecordPage();
    if (!last)
        ExplainBrokenEnd(pageCount_ <= (end_ - kPageHeaderSize) / minRecord);
    // A sound last record with a lower number: the pages after it are missing.
    if (*last < pageCount_)
        throw ERepFileError(*last + 1, ERepFileError::Fault::EndsEarly);
    CheckRecord(kPageHeaderSize, 1);
    LastRecordStart();
}

// The number of the record that ends the store, when its frame holds up: the store's
// last field points at a record whose forward link is the end of the store.
std::optional<int> TRepPageList::EndRecordPage() {
    ByteStream& s = Stream();
    const std::int64_t minRecord = MinRecordSize();
    if (end_ < kPageHeaderSize + minRecord)
        return std::nullopt;
    s.Seek(end_ - 4);
    const std::int64_t start = ReadI32(s);
    if (start < kPageHeaderSize || start > end_ - minRecord)
        return std::nullopt;
    s.Seek(start);
    const std::int64_t page = ReadI32(s);
    const std::int64_t next = ReadI32(s);
    // The records before it need room too.
    if (page < 1 || next != end_ || page - 1 > (start - kPageHeaderSize) / minRecord)
        return std::nullopt;
    return static_cast<int>(page);
}

// The end of the store is not the end of a record: either the file was cut short or a
// record is damaged. Walks from page 1 to the first record that does not hold up and
// says which. A file whose first record is no page 1 and whose page count it could never
// hold is no report at all: that is put down to the header.
void TRepPageList::ExplainBrokenEnd(bool countFits) {
    ByteStream& s = Stream();
    const std::int64_t minRecord = MinRecordSize();
    const auto cut = [](int page) { return ERepFileError(page, ERepFileError::Fault::EndsEarly); };
    const auto damaged = [countFits](int page) { return ERepFileError(countFits || page > 1 ? page : 0); };
    std::int64_t at = kPageHeaderSize;
    for (int page = 1; page <= pageCount_; ++page) {
        if (at > end_ - 8)
            throw cut(page);
        s.Seek(at);
        if (ReadI32(s) != page)
            throw damaged(page);
        const std::int64_t next = ReadI32(s);
        if (next > end_)
            throw cut(page);
        // A whole record with no room after it for the next one.
        if (page < pageCount_ && next > end_ - minRecord && next >= at + minRecord) {
            s.Seek(next - 4);
            if (ReadI32(s) == at)
                throw cut(page + 1);
        }
        try {
            at = CheckRecord(at, page);
        } catch (const ERepFileError&) {
            throw damaged(page);
        }
    }
    throw damaged(pageCount_);
}

std::int64_t TRepPageList::MinRecordSize() const {
    return kRecordFrame + (compression_ ? kMinCodedData : kMinPlainData);
}

// Checks the frame of the record that should hold page `page` at `start`: its page
// number, a forward link that ends inside the store (at its end for the last page),
// and a trailing field that points back at `start`. Returns the forward link.
std::int64_t TRepPageList::CheckRecord(std::int64_t start, int page) {
    ByteStream& s = Stream();
    const std::int64_t minRecord = MinRecordSize();
    if (start < kPageHeaderSize || start > end_ - minRecord)
        throw ERepFileError(page);
    s.Seek(start);
    if (ReadI32(s) != page)
        throw ERepFileError(page);
    const std::int64_t next = ReadI32(s);
    const bool last = page == pageCount_;
    if (next < start + minRecord || (last ? next != end_ : next > end_ - minRecord))
        throw ERepFileError(page);
    s.Seek(next - 4);
    if (ReadI32(s) != start)
        throw ERepFileError(page);
    return next;
}

std::int64_t TRepPageList::LastRecordStart() {
    ByteStream& s = Stream();
    if (end_ < kPageHeaderSize + MinRecordSize())
        throw ERepFileError(pageCount_);
    s.Seek(end_ - 4);
    const std::int64_t start = ReadI32(s);
    CheckRecord(start, pageCount_);
    return start;
}

void TRepPageList::SeekToPage(int n) {
    std::lock_guard guard(lock_);
    if (n < 1 || n > pageCount_)
        throw ERepError("Page number out of range");
    SeekToPageLocked(n);
}

void TRepPageList::SeekToPageLocked(int n) {
    ByteStream& s = Stream();
    if (n == 1) {
        CheckRecord(kPageHeaderSize, 1);
        s.Seek(kPageHeaderSize);
        return;
    }
    if (n == pageCount_) {
        s.Seek(LastRecordStart());
        return;
    }

    // Between operations the stream stands at a record or at the end of the store.
    std::int64_t at = s.Position();
    int page = 0;
    std::int64_t next = 0;
    if (at >= kPageHeaderSize && at <= end_ - MinRecordSize()) {
        page = ReadI32(s);
        try {
            if (page >= 1 && page <= pageCount_)
                next = CheckRecord(at, page);
        } catch (const ERepFileError&) {
            page = 0;  // start again from the last record, which names the true damage
        }
        if (page < 1 || page > pageCount_)
            page = 0;
    }
    if (page == 0) {
        at = LastRecordStart();
        page = pageCount_;
        next = end_;
    }

    // Each step moves one page and checks the record it lands on, so a walk takes at
    // most pageCount_ steps whatever the links say.
    while (page < n) {
        at = next;
        ++page;
        next = CheckRecord(at, page);
    }
    while (page > n) {
        if (at - MinRecordSize() < kPageHeaderSize)
            throw ERepFileError(page - 1);
        s.Seek(at - 4);
        const std::int64_t previous = ReadI32(s);
        --page;
        if (CheckRecord(previous, page) != at)
            throw ERepFileError(page);
        at = previous;
    }
    s.Seek(at);
}

std::optional<std::vector<std::uint8_t>> TRepPageList::GetPage(int n) {
    std::lock_guard guard(lock_);
    if (n < 1 || n > pageCount_)
        return std::nullopt;
    try {
        SeekToPageLocked(n);
        return ReadPageData(n);
    } catch (...) {
        // Leave the stream where a walk may start; a damaged page must not spoil the others.
        try {
            if (stream_)
                stream_->Seek(std::min(end_, stream_->Size()));
        } catch (...) {
            // The first failure is the one to report.
        }
        throw;
    }
}

// Reads the record the stream stands at, whose frame SeekToPage has checked, and
// leaves the stream at the next record.
std::vector<std::uint8_t> TRepPageList::ReadPageData(int n) {
    ByteStream& s = Stream();
    const std::int64_t start = s.Position();
    ReadI32(s);
    const std::int64_t next = ReadI32(s);
    const std::int64_t dataSize = next - start - kRecordFrame;

    std::vector<std::uint8_t> page;
    if (!compression_) {
        page.resize(static_cast<std::size_t>(dataSize));
        s.Read(page.data(), page.size());
    } else {
        const std::int64_t expanded = ReadI32(s);
        const std::int64_t codeSize = dataSize - 4;
        // Every byte costs at least one bit, so U can never exceed 8 bits per code byte.
        if (expanded < static_cast<std::int64_t>(kMinEmfSize) || expanded > 8 * codeSize)
            throw ERepFileError(n);
        std::vector<std::uint8_t> code(static_cast<std::size_t>(codeSize));
        s.Read(code.data(), code.size());
        MemoryStream codeStream(std::move(code));
        page.resize(static_cast<std::size_t>(expanded));
        try {
            TRepCompress coder(codeStream, TRepCompress::Mode::Expand);
            coder.Expand(page);
        } catch (const ERepError&) {
            throw ERepFileError(n);
        }
        // The coder wrote exactly the bytes the code needs, not one more.
        if (codeStream.Position() != codeStream.Size())
            throw ERepFileError(n);
    }
    ReadI32(s);
    if (!IsWellFormedEmf(page))
        throw ERepFileError(n);
    return page;
}

void TRepPageList::CopyTo(ByteStream& out) {
    std::lock_guard guard(lock_);
    ByteStream& s = Stream();
    if (end_ < kPageHeaderSize) {
        // A store that never received a page has no header yet; its file still needs one
        // to load as a report of no pages.
        const auto h = HeaderBytes();
        out.Write(h.data(), h.size());
        return;
    }
    const std::int64_t position = s.Position();
    try {
        std::vector<std::uint8_t> chunk(kCopyChunk);
        s.Seek(0);
        for (std::int64_t left = end_; left > 0;) {
            const auto n = static_cast<std::size_t>(
                std::min<std::int64_t>(left, static_cast<std::int64_t>(chunk.size())));
            s.Read(chunk.data(), n);
            out.Write(chunk.data(), n);
            left -= static_cast<std::int64_t>(n);
        }
        s.Seek(position);
    } catch (...) {
        try {
            s.Seek(position);
        } catch (...) {
            // The first failure is the one to report.
        }
        throw;
    }
}

}  // namespace rep
