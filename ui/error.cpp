#include "ui/error.h"

#include "ui/utf8.h"

namespace ui {

Error::Error(const std::wstring& message) : std::runtime_error(toUtf8(message)) {}

std::wstring Error::message() const { return fromUtf8(what()); }

std::wstring systemMessage(DWORD code) {
    wchar_t* buf = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
    std::wstring text;
    if (n && buf) text.assign(buf, n);
    if (buf) LocalFree(buf);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    if (text.empty()) text = L"error " + std::to_wstring(code);
    return text;
}

void throwLastError(const std::wstring& what) {
    DWORD code = GetLastError();
    throw Error(what + L": " + systemMessage(code));
}

std::wstring messageOf(const std::exception& e) { return fromUtf8(e.what()); }

}  // namespace ui
