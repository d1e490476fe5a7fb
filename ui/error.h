#pragma once
#include <windows.h>

#include <stdexcept>
#include <string>

namespace ui {

// The program's failures: what() holds UTF-8, shown by the application's error box.
class Error : public std::runtime_error {
public:
    explicit Error(const std::wstring& message);
    std::wstring message() const;
};

// The system's text for a Win32 error code, without the trailing line break.
std::wstring systemMessage(DWORD code);

// The system's text for GetLastError().
inline std::wstring lastErrorMessage() { return systemMessage(GetLastError()); }

// Throws Error("<what>: <system message>") for GetLastError().
[[noreturn]] void throwLastError(const std::wstring& what);

// The message of any exception, as the error box shows it.
std::wstring messageOf(const std::exception& e);

}  // namespace ui
