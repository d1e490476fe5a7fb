#pragma once

#include <stdexcept>
#include <string>

namespace rep {

// The report engine's failures.
class ERepError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A saved report file (or page store) whose structure does not hold up.
// Page() is the damaged page, or 0 when the header itself is unusable; the caller
// that knows the file name adds it to the message.
class ERepFileError : public ERepError {
public:
    explicit ERepFileError(int page);
    int Page() const noexcept { return page_; }

protected:
    // With the message of a caller that names the file.
    ERepFileError(int page, const std::string& message) : ERepError(message), page_(page) {}

private:
    int page_;
};

// What is damaged: "the header is damaged" or "page N is damaged".
std::string DamagedPart(int page);

}  // namespace rep
