#pragma once
// The text label: a caption broken into lines, measured on the screen and drawn on the
// report printer's canvas.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "report/model/printable.h"
#include "report/model/rep_font.h"

namespace rep {

class TRepCustomLabel : public TRepPrintable {
public:
    explicit TRepCustomLabel(const TRepDisplay& display = SystemDisplay());

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& text);
    bool AutoSize = true;
    bool AutoStretch = false;
    bool WordWrap = true;
    bool Transparent = false;
    // The parent's font while ParentFont is on; setting a font switches it off.
    const TRepFont& Font() const;
    void SetFont(const TRepFont& font);
    void SetFontSize(int points);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool on);
    // A smaller size for a value too long for its box: the label prints at it until its
    // caption or font is set again; 0 gives it back its own size. ShrunkSize is 0 while the
    // label keeps its own size.
    void ShrinkFont(int points);
    int ShrunkSize() const { return shrunk_ ? shrunk_->Size : 0; }
    // May replace the text for one print.
    std::function<void(TRepCustomLabel&, std::wstring& text)> OnPrint;
    // The multi-line source used when the caption is empty (empty for a plain label).
    std::vector<std::wstring> Lines;

    const std::vector<std::wstring>& FormattedLines() const { return formatted_; }
    void SetAlignment(TRepAlignment value) override;
    virtual void FormatLines();
    void Print(long double OfsX, long double OfsY) override;

    // Measuring in the report's screen-compatible context, at the label's zoom.
    int TextWidth(const std::wstring& s) const;
    int LineHeight() const;

protected:
    void ParentChanged() override { FormatLines(); }

private:
    std::wstring caption_;
    TRepFont font_;
    bool parentFont_ = true;
    std::optional<TRepFont> shrunk_;
    std::vector<std::wstring> formatted_;
    bool sizing_ = false;
};

class TRepLabel : public TRepCustomLabel {
public:
    using TRepCustomLabel::TRepCustomLabel;
};

}  // namespace rep
