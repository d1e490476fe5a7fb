#include "report/run/rep_error.h"

namespace rep {

std::string DamagedPart(int page) {
    if (page <= 0) return "the header is damaged";
    return "page " + std::to_string(page) + " is damaged";
}

ERepFileError::ERepFileError(int page)
    : ERepError("The file is not a valid report file: " + DamagedPart(page)), page_(page) {}

}  // namespace rep
