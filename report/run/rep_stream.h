#pragma once
// The page store of a report printer.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "report/run/byte_stream.h"
#include "report/run/file_stream.h"
#include "ui/handles.h"

namespace rep {

// Holds the pages of a run in memory while they are few; once the store grows past
// MemoryLimit bytes it moves, whole, into a temporary file "REP*.tmp" in the system's
// temporary folder, which is deleted with the stream. Opened on a saved report it
// reads that file in place and never deletes it. Every call takes the stream's lock.
class TRepStream final : public ByteStream {
public:
    static constexpr std::int64_t kMemoryLimit = 100000;

    // An empty store for a run, in memory.
    explicit TRepStream(std::int64_t memoryLimit = kMemoryLimit);
    // A saved report file, read-only; nobody may write the file while it is open.
    static std::unique_ptr<TRepStream> OpenFile(const std::wstring& name);
    ~TRepStream() override;

private:
    struct OpenTag {};

public:
    // For OpenFile only: the tag cannot be named outside.
    TRepStream(OpenTag, const std::wstring& name);

    void Read(void* data, std::size_t size) override;
    // A temporary file that cannot be created fails the write with EFileAccessError;
    // the store then stays in memory, holding the written bytes.
    void Write(const void* data, std::size_t size) override;
    void Seek(std::int64_t position) override;
    std::int64_t Position() const override;
    std::int64_t Size() const override;

    bool InMemory() const;
    std::int64_t MemoryLimit() const { return memoryLimit_; }
    // The spilled store's file; empty while in memory or when opened on a saved file.
    std::wstring TempFileName() const;
    // The file being read or written, or empty while in memory.
    std::wstring FileName() const;
    // System read calls on the file so far; for the benchmarks.
    std::uint64_t FileReadCalls() const;

    // Held around one call; re-entrant, so a caller can hold it around several.
    ui::CriticalSection& Lock() const { return lock_; }

private:
    void Spill();
    ByteStream& Current() const;

    mutable ui::CriticalSection lock_;
    std::int64_t memoryLimit_;
    std::unique_ptr<MemoryStream> memory_;
    ui::TempFile tempFile_;  // declared before file_: the file closes before it is deleted
    std::unique_ptr<FileStream> file_;
};

}  // namespace rep
