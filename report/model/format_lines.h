#pragma once
// Breaking a label's text into the lines it prints.
#include <functional>
#include <string>
#include <vector>

namespace rep {

// Source lines are the caption as one line (a line break inside it is not
// split) or, with an empty caption, `lines`. They come back unchanged when
// `autoSize` is on or `wordWrap` off; otherwise each is wrapped at single
// spaces into `boxWidth` pixels as `measure` reports widths. A word wider
// than the box keeps a line of its own and is not cut.
std::vector<std::wstring> FormatLines(const std::wstring& caption,
                                      const std::vector<std::wstring>& lines, bool autoSize,
                                      bool wordWrap, int boxWidth,
                                      const std::function<int(const std::wstring&)>& measure);

}  // namespace rep
