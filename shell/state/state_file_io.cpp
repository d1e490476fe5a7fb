#include "shell/state/state_file_io.h"

#include <windows.h>

#include <algorithm>

#include "ui/atomic_file.h"
#include "ui/handles.h"

namespace SystemSet {

std::optional<std::string> ReadWholeFile(const std::wstring& fileName) {
    ui::FileHandle f(CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f.get(), &size) || size.QuadPart > 256 * 1024 * 1024) return std::nullopt;
    std::string data(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!data.empty() && (!ReadFile(f.get(), data.data(), static_cast<DWORD>(data.size()), &got, nullptr) ||
                          got != data.size()))
        return std::nullopt;
    return data;
}

TDecodedState ReadStateFile(const std::wstring& fileName) {
    TDecodedState out;
    const DWORD attrs = GetFileAttributesW(fileName.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) {
        out.Problem = L"файл не найден";
        return out;
    }
    if (attrs & FILE_ATTRIBUTE_DIRECTORY) {
        out.Problem = L"это папка, а не файл";
        return out;
    }
    const auto bytes = ReadWholeFile(fileName);
    if (!bytes) {
        out.Problem = L"файл не удаётся прочитать (он занят другой программой, недоступен или слишком велик)";
        return out;
    }
    return ReadState(*bytes);
}

int WriteFileReplacing(const std::wstring& fileName, const std::string& bytes) {
    return ui::WriteFileAtomically(fileName, bytes);
}

}  // namespace SystemSet
