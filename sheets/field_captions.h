#pragma once
// Fields named as the main window shows them, for the secretary's messages.
#include <string>
#include <string_view>

namespace SetReportCommon {

// The caption beside a field, in «», with its line or its row where it has several, e.g.
// "«Город»", "«Поступил(а) в», строка 2", "«Итоговая оценка» в строке 5 на странице 2".
// An unknown name comes back as it is.
std::wstring FieldCaption(std::string_view fieldName);

}  // namespace SetReportCommon
