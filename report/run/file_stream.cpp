#include "report/run/file_stream.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "ui/error.h"
#include "ui/utf8.h"

namespace rep {

EFileAccessError::EFileAccessError(const std::string& message, DWORD code)
    : ERepError(message), code_(code) {}

void ThrowFileError(const wchar_t* what, const std::wstring& name, DWORD code) {
    throw EFileAccessError(
        ui::toUtf8(std::wstring(what) + L" \"" + name + L"\": " + ui::systemMessage(code)), code);
}

FileStream::FileStream(std::wstring name, Mode mode) : name_(std::move(name)) {
    HANDLE h = INVALID_HANDLE_VALUE;
    if (mode == Mode::OpenRead) {
        h = CreateFileW(name_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) ThrowFileError(L"Cannot open file", name_, GetLastError());
    } else {
        const DWORD attributes =
            mode == Mode::CreateTemporary ? FILE_ATTRIBUTE_TEMPORARY : FILE_ATTRIBUTE_NORMAL;
        h = CreateFileW(name_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                        CREATE_ALWAYS, attributes, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            ThrowFileError(L"Cannot create file", name_, GetLastError());
    }
    file_.reset(h);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h, &size)) ThrowFileError(L"Cannot read file", name_, GetLastError());
    size_ = size.QuadPart;
}

void FileStream::FlushToDisk() {
    if (!FlushFileBuffers(file_.get())) ThrowFileError(L"Cannot write file", name_, GetLastError());
}

void FileStream::Read(void* data, std::size_t size) {
    if (size > static_cast<std::uint64_t>(size_ - position_)) throw ERepError("Stream read error");
    auto* out = static_cast<std::uint8_t*>(data);
    if (size >= kBlockSize) {
        // Page data: one call straight into the caller's buffer. Writes never wait
        // in memory, so the file itself is always current.
        ReadAt(position_, out, size);
        position_ += static_cast<std::int64_t>(size);
        return;
    }
    while (size > 0) {
        const std::int64_t start = position_ - position_ % static_cast<std::int64_t>(kBlockSize);
        std::size_t length = 0;
        const std::uint8_t* block = CachedBlock(start, length);
        const auto offset = static_cast<std::size_t>(position_ - start);
        if (offset >= length) throw ERepError("Stream read error");  // file shorter than thought
        const std::size_t n = std::min(size, length - offset);
        std::memcpy(out, block + offset, n);
        out += n;
        size -= n;
        position_ += static_cast<std::int64_t>(n);
    }
}

// The block of the file that begins at `start` (a multiple of kBlockSize below size_),
// read in if it is not cached; the least recently used block makes room.
const std::uint8_t* FileStream::CachedBlock(std::int64_t start, std::size_t& length) {
    if (cache_.empty()) cache_.resize(kBlockSize * kBlockCount);
    std::size_t victim = 0;
    for (std::size_t i = 0; i < kBlockCount; ++i) {
        if (blocks_[i].start == start) {
            blocks_[i].used = ++clock_;
            length = blocks_[i].length;
            return cache_.data() + i * kBlockSize;
        }
        if (blocks_[i].used < blocks_[victim].used) victim = i;
    }
    Block& b = blocks_[victim];
    b.start = -1;
    const auto n = static_cast<std::size_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(kBlockSize), size_ - start));
    std::uint8_t* at = cache_.data() + victim * kBlockSize;
    ReadAt(start, at, n);
    b.start = start;
    b.length = n;
    b.used = ++clock_;
    length = n;
    return at;
}

void FileStream::ReadAt(std::int64_t offset, void* data, std::size_t size) {
    MoveTo(offset);
    auto* out = static_cast<std::uint8_t*>(data);
    while (size > 0) {
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD got = 0;
        ++readCalls_;
        if (!ReadFile(file_.get(), out, ask, &got, nullptr)) {
            const DWORD code = GetLastError();
            filePointer_ = -1;
            ThrowFileError(L"Cannot read file", name_, code);
        }
        filePointer_ += got;
        if (got == 0) throw ERepError("Stream read error");
        out += got;
        size -= got;
    }
}

void FileStream::Write(const void* data, std::size_t size) {
    if (size == 0) return;
    if (size > static_cast<std::uint64_t>(INT64_MAX - position_))
        throw ERepError("Stream write error");
    const std::int64_t end = position_ + static_cast<std::int64_t>(size);
    // Cached blocks that the write touches are read again when next needed.
    for (Block& b : blocks_)
        if (b.start >= 0 && b.start < end && b.start + static_cast<std::int64_t>(kBlockSize) > position_)
            b = Block{};
    MoveTo(position_);
    const auto* in = static_cast<const std::uint8_t*>(data);
    std::size_t left = size;
    while (left > 0) {
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 30));
        DWORD put = 0;
        if (!WriteFile(file_.get(), in, ask, &put, nullptr) || put == 0) {
            const DWORD code = GetLastError();
            filePointer_ = -1;
            // What did reach the file is part of it now.
            LARGE_INTEGER now{};
            if (GetFileSizeEx(file_.get(), &now)) size_ = std::max(size_, now.QuadPart);
            ThrowFileError(L"Cannot write file", name_, code ? code : ERROR_WRITE_FAULT);
        }
        filePointer_ += put;
        in += put;
        left -= put;
    }
    position_ = end;
    size_ = std::max(size_, end);
}

void FileStream::Seek(std::int64_t position) {
    if (position < 0 || position > size_) throw ERepError("Stream seek error");
    position_ = position;
}

void FileStream::MoveTo(std::int64_t offset) {
    if (filePointer_ == offset) return;
    LARGE_INTEGER to{};
    to.QuadPart = offset;
    if (!SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN)) {
        const DWORD code = GetLastError();
        filePointer_ = -1;
        ThrowFileError(L"Cannot seek in file", name_, code);
    }
    filePointer_ = offset;
}

}  // namespace rep
