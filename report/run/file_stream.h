#pragma once
// A page store or saved report file on disk.
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "report/run/byte_stream.h"
#include "report/run/rep_error.h"
#include "ui/handles.h"

namespace rep {

// A file operation the system refused; the message names the file and gives the
// system's text, Code() the system's error code.
class EFileAccessError : public ERepError {
public:
    EFileAccessError(const std::string& message, DWORD code);
    DWORD Code() const noexcept { return code_; }

private:
    DWORD code_;
};

// The file's name and the system's text for `code` ("Cannot open file "x": ...").
[[noreturn]] void ThrowFileError(const wchar_t* what, const std::wstring& name, DWORD code);

// A ByteStream over a file handle. No lock of its own: TRepStream locks around it.
// Writes go straight to the file; reads come through a few cached blocks, because a
// page walk reads many 4-byte fields close to each other.
class FileStream final : public ByteStream {
public:
    enum class Mode {
        // An existing file, read-only. Others may read it too, but nobody may write
        // it while it is open: a loaded report cannot be overwritten under the preview.
        OpenRead,
        // Created or truncated, read and write; others may only read it.
        Create,
        // As Create, for a page store that spilled to disk.
        CreateTemporary,
    };

    FileStream(std::wstring name, Mode mode);

    void Read(void* data, std::size_t size) override;
    void Write(const void* data, std::size_t size) override;
    void Seek(std::int64_t position) override;
    std::int64_t Position() const override { return position_; }
    std::int64_t Size() const override { return size_; }

    const std::wstring& Name() const { return name_; }
    // Puts what was written on the disk (a file about to replace another); throws on failure.
    void FlushToDisk();
    // System read calls made so far; for the benchmarks.
    std::uint64_t ReadCalls() const { return readCalls_; }

    static constexpr std::size_t kBlockSize = 4096;
    static constexpr std::size_t kBlockCount = 4;

private:
    struct Block {
        std::int64_t start = -1;  // -1: empty
        std::size_t length = 0;   // less than kBlockSize only for the block at the end
        std::uint64_t used = 0;
    };

    const std::uint8_t* CachedBlock(std::int64_t start, std::size_t& length);
    void ReadAt(std::int64_t offset, void* data, std::size_t size);
    void MoveTo(std::int64_t offset);

    std::wstring name_;
    ui::FileHandle file_;
    std::int64_t position_ = 0;
    std::int64_t size_ = 0;
    std::int64_t filePointer_ = 0;  // where the system's file pointer stands; -1: unknown
    std::array<Block, kBlockCount> blocks_{};
    std::vector<std::uint8_t> cache_;
    std::uint64_t clock_ = 0;
    std::uint64_t readCalls_ = 0;
};

}  // namespace rep
