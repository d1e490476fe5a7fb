#include "report/run/rep_error.h"

namespace rep {

namespace {

std::string DamageMessage(int page) {
    std::string text = "The file is not a valid report file: ";
    if (page <= 0)
        return text + "the header is damaged";
    return text + "page " + std::to_string(page) + " is damaged";
}

}  // namespace

ERepFileError::ERepFileError(int page) : ERepError(DamageMessage(page)), page_(page) {}

}  // namespace rep
