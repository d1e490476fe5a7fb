#pragma once
// Exceptions carry UTF-8 in what(); the UI converts at the edge.
#include <string>
#include <string_view>

namespace ui {

std::string toUtf8(std::wstring_view s);
std::wstring fromUtf8(std::string_view s);

}  // namespace ui
