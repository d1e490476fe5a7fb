#include "report/model/format_lines.h"

namespace rep {
namespace {

// Two blanks in a row give an empty word; a trailing blank gives none.
std::vector<std::wstring> SplitWords(const std::wstring& line) {
    std::vector<std::wstring> words;
    std::size_t start = 0;
    while (start < line.size()) {
        const std::size_t blank = line.find(L' ', start);
        if (blank == std::wstring::npos) {
            words.push_back(line.substr(start));
            break;
        }
        words.push_back(line.substr(start, blank - start));
        start = blank + 1;
    }
    return words;
}

void WrapLine(const std::wstring& line, int boxWidth,
              const std::function<int(const std::wstring&)>& measure,
              std::vector<std::wstring>& out) {
    const auto words = SplitWords(line);
    if (words.empty()) {
        out.emplace_back();
        return;
    }
    std::wstring current;
    for (const auto& word : words) {
        // Measured without the separating blank, with one at the end.
        if (measure(current + word + L" ") > boxWidth && !current.empty()) {
            out.push_back(current);
            current.clear();
        }
        if (!current.empty()) current += L' ';
        current += word;
    }
    if (!current.empty()) out.push_back(current);
}

}  // namespace

std::vector<std::wstring> FormatLines(const std::wstring& caption,
                                      const std::vector<std::wstring>& lines, bool autoSize,
                                      bool wordWrap, int boxWidth,
                                      const std::function<int(const std::wstring&)>& measure) {
    const std::vector<std::wstring> source = caption.empty() ? lines : std::vector{caption};
    if (autoSize || !wordWrap) return source;
    std::vector<std::wstring> out;
    for (const auto& line : source) WrapLine(line, boxWidth, measure, out);
    return out;
}

}  // namespace rep
