#include "report/run/rep_error.h"

namespace rep {

std::string DamagedPart(int page, ERepFileError::Fault fault) {
    if (fault == ERepFileError::Fault::EndsEarly)
        return "it ends before the end of page " + std::to_string(page);
    if (page <= 0) return "the header is damaged";
    return "page " + std::to_string(page) + " is damaged";
}

ERepFileError::ERepFileError(int page, Fault fault)
    : ERepError("The file is not a valid report file: " + DamagedPart(page, fault)), page_(page), fault_(fault) {}

}  // namespace rep
