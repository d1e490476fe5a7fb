#include "shell/state/list_items.h"

namespace MainSet {

const std::array<const wchar_t*, 2>& TrialItems() {
    static const std::array<const wchar_t*, 2> items = {L"прошел", L"прошла"};
    return items;
}

const std::array<const wchar_t*, kGradeCount>& GradeItems() {
    static const std::array<const wchar_t*, kGradeCount> items = {
        L"5 (пять)", L"4 (четыре)", L"3 (три)", L"5 (отлично)", L"4 (хорошо)", L"3 (удовлетворительно)",
        L"3 (удовл.)", L"отлично", L"хорошо", L"удовлетворительно", L"удовл.", L"зачет", L"xxxxxxxxxxxxxxxxx",
    };
    return items;
}

}  // namespace MainSet
