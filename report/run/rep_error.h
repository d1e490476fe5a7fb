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
// Page() is the damaged page, or 0 when the header itself is unusable; for a file cut
// short, the page the file ends in (or the first one missing). The caller that knows the
// file name adds it to the message.
class ERepFileError : public ERepError {
public:
    enum class Fault { Damaged, EndsEarly };

    explicit ERepFileError(int page, Fault fault = Fault::Damaged);
    int Page() const noexcept { return page_; }
    Fault Kind() const noexcept { return fault_; }

protected:
    // With the message of a caller that names the file.
    ERepFileError(int page, Fault fault, const std::string& message)
        : ERepError(message), page_(page), fault_(fault) {}

private:
    int page_;
    Fault fault_;
};

// What is wrong: "the header is damaged", "page N is damaged" or
// "it ends before the end of page N".
std::string DamagedPart(int page, ERepFileError::Fault fault = ERepFileError::Fault::Damaged);

}  // namespace rep
