#include "report/run/rep_stream.h"

#include "ui/error.h"
#include "ui/utf8.h"

namespace rep {

TRepStream::TRepStream(std::int64_t memoryLimit)
    : memoryLimit_(memoryLimit), memory_(std::make_unique<MemoryStream>()) {}

TRepStream::TRepStream(OpenTag, const std::wstring& name)
    : memoryLimit_(0), file_(std::make_unique<FileStream>(name, FileStream::Mode::OpenRead)) {}

std::unique_ptr<TRepStream> TRepStream::OpenFile(const std::wstring& name) {
    return std::make_unique<TRepStream>(OpenTag{}, name);
}

TRepStream::~TRepStream() {
    ui::CsLock guard(lock_);
    memory_.reset();
    file_.reset();
    tempFile_.remove();
}

ByteStream& TRepStream::Current() const {
    if (memory_) return *memory_;
    return *file_;
}

void TRepStream::Read(void* data, std::size_t size) {
    ui::CsLock guard(lock_);
    Current().Read(data, size);
}

void TRepStream::Write(const void* data, std::size_t size) {
    ui::CsLock guard(lock_);
    Current().Write(data, size);
    if (memory_ && memory_->Size() > memoryLimit_) Spill();
}

// Moves the whole store into a new temporary file; the position stays where it was.
void TRepStream::Spill() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, folder);
    if (n == 0 || n > MAX_PATH) {
        const DWORD code = GetLastError();
        throw EFileAccessError(
            "Cannot find the temporary folder: " + ui::toUtf8(ui::systemMessage(code)), code);
    }
    wchar_t name[MAX_PATH + 1] = {};
    if (!GetTempFileNameW(folder, L"REP", 0, name))
        ThrowFileError(L"Cannot create a temporary file in", folder, GetLastError());
    // The system has created the file: from here on it is ours to delete.
    ui::TempFile temp(name);
    auto file = std::make_unique<FileStream>(name, FileStream::Mode::CreateTemporary);
    const auto bytes = memory_->Bytes();
    file->Write(bytes.data(), bytes.size());
    file->Seek(memory_->Position());

    tempFile_ = std::move(temp);
    file_ = std::move(file);
    memory_.reset();
}

void TRepStream::Seek(std::int64_t position) {
    ui::CsLock guard(lock_);
    Current().Seek(position);
}

std::int64_t TRepStream::Position() const {
    ui::CsLock guard(lock_);
    return Current().Position();
}

std::int64_t TRepStream::Size() const {
    ui::CsLock guard(lock_);
    return Current().Size();
}

bool TRepStream::InMemory() const {
    ui::CsLock guard(lock_);
    return memory_ != nullptr;
}

std::wstring TRepStream::TempFileName() const {
    ui::CsLock guard(lock_);
    return tempFile_.path();
}

std::wstring TRepStream::FileName() const {
    ui::CsLock guard(lock_);
    return file_ ? file_->Name() : std::wstring();
}

std::uint64_t TRepStream::FileReadCalls() const {
    ui::CsLock guard(lock_);
    return file_ ? file_->ReadCalls() : 0;
}

}  // namespace rep
